#pragma once
// The object table: create records put an object into the lowest free slot,
// SELECTOBJECT copies it into the drawing state, DELETEOBJECT frees the slot.

#include <cstdint>

#include "app/renderer_data.h"
#include "wmf/wmf_read.h"

// Slots beyond this are refused (a slot index is 16 bits).
inline constexpr std::size_t kWmfMaxObjects = 65535;

// Puts `object` into the lowest free slot; false when the table is full.
bool wmf_object_create(WmfObjectTable& table, const WmfObject& object);
// The object in `slot`, or nullptr for a free or unknown slot.
const WmfObject* wmf_object_get(const WmfObjectTable& table, std::uint16_t slot);
void wmf_object_delete(WmfObjectTable& table, std::uint16_t slot);

void wmf_objects_selectobject(WmfBytes record, RendererData& data);
void wmf_objects_deleteobject(WmfBytes record, RendererData& data);
// Palettes, regions and bitmaps are not drawn, but they take their slots.
void wmf_objects_create_other(WmfBytes record, RendererData& data);
