#include "wmf/wmf_play.h"

#include "app/cairo_handles.h"
#include "wmf/wmf_bitmap.h"
#include "wmf/wmf_draw.h"
#include "wmf/wmf_records.h"
#include "wmf/wmf_text.h"

double wmf_map_x(std::int32_t x, const WmfPlayer& player) {
  double d = x - player.bbox_left;
  return player.x_no_flip == 1 ? d : player.bbox_width - d;
}

double wmf_map_y(std::int32_t y, const WmfPlayer& player) {
  double d = y - player.bbox_top;
  return player.y_no_flip == 1 ? d : player.bbox_height - d;
}

namespace {

void play_setwindowext(WmfBytes record, RendererData& data) {
  std::int16_t y = 0, x = 0;
  if (wmf_get_point(record, y, x) == 0) {
    data.wmf.partial = true;
    return;
  }
  data.wmf.x_no_flip = x >= 0 ? 1 : 0;
  data.wmf.y_no_flip = y >= 0 ? 1 : 0;
}

// Records that are read but change nothing the player draws.
void play_read_only_mode(WmfBytes record, RendererData& data) {
  std::uint16_t mode = 0;
  if (wmf_get_mode(record, mode) == 0) data.wmf.partial = true;
}

}  // namespace

std::int64_t wmf_dispatch_record(WmfBytes buffer, std::size_t offset, RendererData& data) {
  std::size_t size = wmf_record_size(buffer, offset);
  if (size == 0) return -1;
  WmfBytes record = buffer.subspan(offset, size);
  switch (wmf_record_type(record)) {
    case U_WMR_EOF: return 0;
    case U_WMR_SETBKCOLOR: wmf_draw_setbkcolor(record, data); break;
    case U_WMR_SETMAPMODE: play_read_only_mode(record, data); break;
    case U_WMR_SETPOLYFILLMODE: wmf_draw_setpolyfillmode(record, data); break;
    case U_WMR_SETTEXTCOLOR: wmf_text_settextcolor(record, data); break;
    case U_WMR_SETWINDOWEXT: play_setwindowext(record, data); break;
    case U_WMR_LINETO: wmf_draw_lineto(record, data); break;
    case U_WMR_MOVETO: wmf_draw_moveto(record, data); break;
    case U_WMR_INTERSECTCLIPRECT: wmf_draw_intersectcliprect(record, data); break;
    case U_WMR_ELLIPSE: wmf_draw_ellipse(record, data); break;
    case U_WMR_RECTANGLE: wmf_draw_rectangle(record, data); break;
    case U_WMR_ROUNDRECT: wmf_draw_roundrect(record, data); break;
    case U_WMR_PATBLT: wmf_draw_patblt(record, data); break;
    case U_WMR_TEXTOUT: wmf_text_textout(record, data); break;
    case U_WMR_BITBLT: wmf_bitmap_bitblt(record, data); break;
    case U_WMR_STRETCHBLT: wmf_bitmap_stretchblt(record, data); break;
    case U_WMR_POLYGON: wmf_draw_polygon(record, data); break;
    case U_WMR_POLYLINE: wmf_draw_polyline(record, data); break;
    case U_WMR_ESCAPE: wmf_draw_escape(record, data); break;
    case U_WMR_SETTEXTALIGN: play_read_only_mode(record, data); break;
    case U_WMR_POLYPOLYGON: wmf_draw_polypolygon(record, data); break;
    case U_WMR_CREATEPENINDIRECT: wmf_draw_createpenindirect(record, data); break;
    case U_WMR_CREATEFONTINDIRECT: wmf_text_createfontindirect(record, data); break;
    case U_WMR_CREATEBRUSHINDIRECT: wmf_draw_createbrushindirect(record, data); break;
    default: break;
  }
  return static_cast<std::int64_t>(size);
}

RenderStatus wmf_play(WmfBytes buffer, RendererData& data) {
  data.wmf = WmfPlayer{};
  WmfPlaceableHeader placeable;
  WmfHeader header;
  std::size_t offset = wmf_read_headers(buffer, placeable, header);
  if (offset == 0 || placeable.key != kWmfPlaceableKey) return RenderStatus::Malformed;
  WmfPlayer& player = data.wmf;
  player.bbox_left = placeable.left;
  player.bbox_top = placeable.top;
  player.bbox_width = std::int32_t{placeable.right} - placeable.left;
  player.bbox_height = std::int32_t{placeable.bottom} - placeable.top;
  // An empty box has no scale onto the target: nothing can be drawn.
  if (player.bbox_width == 0 || player.bbox_height == 0) return RenderStatus::Malformed;
  cairo_t* cr = data.target;
  if (cr == nullptr || cairo_status(cr) != CAIRO_STATUS_SUCCESS) return RenderStatus::CairoError;
  if (data.width <= 0 || data.height <= 0) return RenderStatus::Ok;  // an empty target

  std::int64_t step = 0;
  {
    CairoSaveGuard guard(cr);
    cairo_scale(cr, data.width / player.bbox_width, data.height / player.bbox_height);
    while ((step = wmf_dispatch_record(buffer, offset, data)) > 0) {
      offset += static_cast<std::size_t>(step);
    }
    // Leave no path of ours behind in the caller's context.
    cairo_new_path(cr);
  }
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) return RenderStatus::CairoError;
  if (step < 0 || player.partial) return RenderStatus::Partial;
  return RenderStatus::Ok;
}
