#pragma once
// The player: plays a metafile's records onto RendererData's target, mapping
// logical coordinates into the drawing space (the placeable box moved to the
// origin) that one scale fits onto the target.

#include <cstddef>
#include <cstdint>

#include "app/render_status.h"
#include "app/renderer_data.h"
#include "wmf/wmf_read.h"

// Plays every record from the first to the end record. Ok when the end record
// was reached with every record whole; Partial when an invalid record or the
// end of the buffer stopped the playback, or records had to be skipped or cut;
// Malformed when the headers do not fit, the placeable key is missing or the
// box is empty (nothing is drawn then, and the target is not touched).
RenderStatus wmf_play(WmfBytes buffer, RendererData& data);

// Plays the record at `offset`: its size in bytes when playback goes on, 0 at
// the end record, -1 when the record is not valid.
std::int64_t wmf_dispatch_record(WmfBytes buffer, std::size_t offset, RendererData& data);

// Logical coordinates to the drawing space.
double wmf_map_x(std::int32_t x, const WmfPlayer& player);
double wmf_map_y(std::int32_t y, const WmfPlayer& player);
