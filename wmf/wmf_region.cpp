#include "wmf/wmf_region.h"

#include <cmath>
#include <memory>

#include "app/cairo_handles.h"
#include "wmf/wmf_draw.h"
#include "wmf/wmf_objects.h"
#include "wmf/wmf_play.h"

namespace {

constexpr std::size_t kScanCountAt = kWmfRecordHeadSize + 10;
constexpr std::size_t kScansAt = kWmfRecordHeadSize + 22;
constexpr std::size_t kScanHeadSize = 6;  // count, top, bottom

void add_rect(WmfRegion& region, std::int16_t left, std::int16_t top, std::int16_t right,
              std::int16_t bottom) {
  if (left < right && top < bottom) region.rects.push_back({left, top, right, bottom});
}

// The region's rectangles as one path, moved by (dx, dy) in drawing space.
void add_region_path(cairo_t* cr, const WmfRegion& region, const WmfPlayer& player, double dx = 0,
                     double dy = 0) {
  for (const WmfRegionRect& r : region.rects) {
    double x1 = wmf_map_x(r.left, player) + dx, y1 = wmf_map_y(r.top, player) + dy;
    double x2 = wmf_map_x(r.right, player) + dx, y2 = wmf_map_y(r.bottom, player) + dy;
    cairo_rectangle(cr, x1, y1, x2 - x1, y2 - y1);
  }
}

// The region in `slot`, or nullptr when the slot holds something else.
const WmfRegion* region_at(const RendererData& data, std::uint16_t slot) {
  const WmfObject* object = wmf_object_get(data.wmf.objects, slot);
  if (object == nullptr || object->kind != WmfObjectKind::Region) return nullptr;
  return object->region.get();
}

const WmfBrush* brush_at(const RendererData& data, std::uint16_t slot) {
  const WmfObject* object = wmf_object_get(data.wmf.objects, slot);
  if (object == nullptr || object->kind != WmfObjectKind::Brush) return nullptr;
  return &object->brush;
}

// The region of the record's first parameter, for records at least
// `min_size` long; a short record marks the playback partial.
const WmfRegion* region_of(WmfBytes record, std::size_t min_size, RendererData& data) {
  if (record.size() < min_size) {
    data.wmf.partial = true;
    return nullptr;
  }
  return region_at(data, wmf_u16(record, kWmfRecordHeadSize));
}

// Fills the region with `brush` (the current brush when nullptr). Rectangles
// that overlap are filled once.
void fill_region(const WmfRegion& region, const WmfBrush* brush, RendererData& data) {
  cairo_t* cr = data.target;
  WmfPlayer& player = data.wmf;
  CairoSaveGuard guard(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_new_path(cr);
  add_region_path(cr, region, player);
  if (brush == nullptr) {
    wmf_fill_with_brush(cr, player);
  } else {
    // The fill reads the brush from the drawing state: lend it this one.
    WmfBrush current = std::move(player.dc.brush);
    player.dc.brush = *brush;
    wmf_fill_with_brush(cr, player);
    player.dc.brush = std::move(current);
  }
  cairo_new_path(cr);
}

}  // namespace

std::size_t wmf_get_createregion(WmfBytes record, WmfRegion& region, bool& cut) {
  cut = false;
  region.rects.clear();
  if (record.size() == kWmfRecordHeadSize + 8) {
    add_rect(region, wmf_s16(record, 12), wmf_s16(record, 10), wmf_s16(record, 8),
             wmf_s16(record, 6));
    return record.size();
  }
  if (record.size() < kScansAt) return 0;
  std::size_t scans = wmf_u16(record, kScanCountAt);
  std::size_t at = kScansAt;
  for (std::size_t i = 0; i < scans; ++i) {
    std::size_t room = record.size() - at;
    if (room < kScanHeadSize) {
      cut = true;
      break;
    }
    std::size_t count = wmf_u16(record, at);
    std::int16_t top = wmf_s16(record, at + 2), bottom = wmf_s16(record, at + 4);
    room -= kScanHeadSize;
    std::size_t pairs = count / 2;
    if (pairs > room / 4) {
      pairs = room / 4;
      cut = true;
    }
    for (std::size_t p = 0; p < pairs; ++p) {
      std::size_t x = at + kScanHeadSize + 4 * p;
      add_rect(region, wmf_s16(record, x), top, wmf_s16(record, x + 2), bottom);
    }
    // The x coordinates and the count repeated after them.
    std::size_t scan_size = kScanHeadSize + 2 * count + 2;
    if (cut || scan_size > record.size() - at) {
      cut = true;
      break;
    }
    at += scan_size;
  }
  return record.size();
}

void wmf_region_clip(const WmfRegion* region, RendererData& data) {
  cairo_t* cr = data.target;
  const WmfPlayer& player = data.wmf;
  cairo_new_path(cr);
  cairo_reset_clip(cr);
  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  cairo_identity_matrix(cr);
  cairo_rectangle(cr, player.base_clip_x1, player.base_clip_y1,
                  player.base_clip_x2 - player.base_clip_x1,
                  player.base_clip_y2 - player.base_clip_y1);
  cairo_clip(cr);
  cairo_set_matrix(cr, &matrix);
  if (region == nullptr || region->rects.empty()) return;
  cairo_fill_rule_t rule = cairo_get_fill_rule(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  add_region_path(cr, *region, player);
  cairo_clip(cr);
  cairo_set_fill_rule(cr, rule);
}

void wmf_region_create(WmfBytes record, RendererData& data) {
  auto region = std::make_shared<WmfRegion>();
  bool cut = false;
  // A region too short to read still takes its slot, so later slots stay right.
  if (wmf_get_createregion(record, *region, cut) == 0 || cut) data.wmf.partial = true;
  WmfObject object;
  object.kind = WmfObjectKind::Region;
  object.region = std::move(region);
  if (!wmf_object_create(data.wmf.objects, object)) data.wmf.partial = true;
}

void wmf_region_fill(WmfBytes record, RendererData& data) {
  const WmfRegion* region = region_of(record, kWmfRecordHeadSize + 4, data);
  const WmfBrush* brush = brush_at(data, wmf_u16(record, kWmfRecordHeadSize + 2));
  if (region != nullptr && brush != nullptr) fill_region(*region, brush, data);
}

void wmf_region_frame(WmfBytes record, RendererData& data) {
  const WmfRegion* region = region_of(record, kWmfRecordHeadSize + 8, data);
  const WmfBrush* brush = brush_at(data, wmf_u16(record, kWmfRecordHeadSize + 2));
  if (region == nullptr || brush == nullptr || region->rects.empty()) return;
  const WmfPlayer& player = data.wmf;
  // The frame's logical height and width, in drawing space.
  double height = std::fabs(wmf_s16(record, kWmfRecordHeadSize + 4) * player.scale_y);
  double width = std::fabs(wmf_s16(record, kWmfRecordHeadSize + 6) * player.scale_x);
  cairo_t* cr = data.target;
  CairoSaveGuard guard(cr);
  // The group covers no more than the region.
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_new_path(cr);
  add_region_path(cr, *region, player);
  cairo_clip(cr);
  cairo_push_group(cr);
  fill_region(*region, brush, data);
  // The inside is what stays in the region when moved by the frame's size
  // each way; it is erased, leaving the frame along the region's edges.
  cairo_save(cr);
  for (double dx : {-width, width}) {
    for (double dy : {-height, height}) {
      cairo_new_path(cr);
      add_region_path(cr, *region, player, dx, dy);
      cairo_clip(cr);
    }
  }
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_pop_group_to_source(cr);
  cairo_paint(cr);
}

void wmf_region_invert(WmfBytes record, RendererData& data) {
  const WmfRegion* region = region_of(record, kWmfRecordHeadSize + 2, data);
  if (region == nullptr) return;
  cairo_t* cr = data.target;
  CairoSaveGuard guard(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_new_path(cr);
  add_region_path(cr, *region, data.wmf);
  cairo_fill(cr);
}

void wmf_region_paint(WmfBytes record, RendererData& data) {
  const WmfRegion* region = region_of(record, kWmfRecordHeadSize + 2, data);
  if (region != nullptr) fill_region(*region, nullptr, data);
}

void wmf_region_selectclip(WmfBytes record, RendererData& data) {
  if (record.size() < kWmfRecordHeadSize + 2) {
    data.wmf.partial = true;
    return;
  }
  wmf_region_clip(region_at(data, wmf_u16(record, kWmfRecordHeadSize)), data);
}
