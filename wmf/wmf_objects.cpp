#include "wmf/wmf_objects.h"

#include "wmf/wmf_records.h"
#include "wmf/wmf_region.h"

bool wmf_object_create(WmfObjectTable& table, const WmfObject& object) {
  std::size_t slot = table.lowest_free;
  while (slot < table.slots.size() && table.slots[slot].kind != WmfObjectKind::Free) ++slot;
  if (slot >= kWmfMaxObjects) return false;
  if (slot == table.slots.size()) table.slots.emplace_back();
  table.slots[slot] = object;
  table.lowest_free = slot + 1;
  return true;
}

const WmfObject* wmf_object_get(const WmfObjectTable& table, std::uint16_t slot) {
  if (slot >= table.slots.size() || table.slots[slot].kind == WmfObjectKind::Free) return nullptr;
  return &table.slots[slot];
}

void wmf_object_delete(WmfObjectTable& table, std::uint16_t slot) {
  if (slot >= table.slots.size()) return;
  table.slots[slot] = WmfObject{};
  if (slot < table.lowest_free) table.lowest_free = slot;
}

void wmf_objects_selectobject(WmfBytes record, RendererData& data) {
  std::uint16_t slot = 0;
  if (wmf_get_mode(record, slot) == 0) {
    data.wmf.partial = true;
    return;
  }
  const WmfObject* object = wmf_object_get(data.wmf.objects, slot);
  if (object == nullptr) return;
  WmfDcState& dc = data.wmf.dc;
  switch (object->kind) {
    case WmfObjectKind::Pen: dc.pen = object->pen; break;
    case WmfObjectKind::Brush: dc.brush = object->brush; break;
    case WmfObjectKind::Font: dc.font = object->font; break;
    case WmfObjectKind::Region: wmf_region_clip(object->region.get(), data); break;
    default: break;
  }
}

void wmf_objects_deleteobject(WmfBytes record, RendererData& data) {
  std::uint16_t slot = 0;
  if (wmf_get_mode(record, slot) == 0) {
    data.wmf.partial = true;
    return;
  }
  // What is selected stays selected: the drawing state holds its own copy.
  wmf_object_delete(data.wmf.objects, slot);
}

void wmf_objects_create_other(WmfBytes, RendererData& data) {
  WmfObject object;
  object.kind = WmfObjectKind::Other;
  if (!wmf_object_create(data.wmf.objects, object)) data.wmf.partial = true;
}
