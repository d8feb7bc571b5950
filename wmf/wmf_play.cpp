#include "wmf/wmf_play.h"

#include "app/cairo_handles.h"
#include "wmf/wmf_bitmap.h"
#include "wmf/wmf_draw.h"
#include "wmf/wmf_objects.h"
#include "wmf/wmf_records.h"
#include "wmf/wmf_region.h"
#include "wmf/wmf_state.h"
#include "wmf/wmf_text.h"

double wmf_map_x(std::int32_t x, const WmfPlayer& player) {
  return (x - player.dc.window_org_x) * player.scale_x;
}

double wmf_map_y(std::int32_t y, const WmfPlayer& player) {
  return (y - player.dc.window_org_y) * player.scale_y;
}

namespace {

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
    case U_WMR_SETBKMODE: wmf_draw_setbkmode(record, data); break;
    case U_WMR_SETMAPMODE: play_read_only_mode(record, data); break;
    case U_WMR_SETPOLYFILLMODE: wmf_draw_setpolyfillmode(record, data); break;
    case U_WMR_SETTEXTCOLOR: wmf_text_settextcolor(record, data); break;
    case U_WMR_SETWINDOWORG: wmf_state_setwindoworg(record, data); break;
    case U_WMR_SETWINDOWEXT: wmf_state_setwindowext(record, data); break;
    case U_WMR_OFFSETWINDOWORG: wmf_state_offsetwindoworg(record, data); break;
    case U_WMR_SCALEWINDOWEXT: wmf_state_scalewindowext(record, data); break;
    case U_WMR_LINETO: wmf_draw_lineto(record, data); break;
    case U_WMR_MOVETO: wmf_draw_moveto(record, data); break;
    case U_WMR_EXCLUDECLIPRECT: wmf_draw_excludecliprect(record, data); break;
    case U_WMR_INTERSECTCLIPRECT: wmf_draw_intersectcliprect(record, data); break;
    case U_WMR_ARC:
    case U_WMR_PIE:
    case U_WMR_CHORD: wmf_draw_arc(record, data); break;
    case U_WMR_ELLIPSE: wmf_draw_ellipse(record, data); break;
    case U_WMR_RECTANGLE: wmf_draw_rectangle(record, data); break;
    case U_WMR_ROUNDRECT: wmf_draw_roundrect(record, data); break;
    case U_WMR_PATBLT: wmf_draw_patblt(record, data); break;
    case U_WMR_SAVEDC: wmf_state_savedc(record, data); break;
    case U_WMR_SETPIXEL: wmf_draw_setpixel(record, data); break;
    case U_WMR_TEXTOUT: wmf_text_textout(record, data); break;
    case U_WMR_EXTTEXTOUT: wmf_text_exttextout(record, data); break;
    case U_WMR_BITBLT: wmf_bitmap_bitblt(record, data); break;
    case U_WMR_STRETCHBLT: wmf_bitmap_stretchblt(record, data); break;
    case U_WMR_DIBBITBLT:
    case U_WMR_DIBSTRETCHBLT:
    case U_WMR_STRETCHDIB:
    case U_WMR_SETDIBTODEV: wmf_bitmap_dib(record, data); break;
    case U_WMR_DIBCREATEPATTERNBRUSH: wmf_bitmap_dibcreatepatternbrush(record, data); break;
    case U_WMR_POLYGON: wmf_draw_polygon(record, data); break;
    case U_WMR_POLYLINE: wmf_draw_polyline(record, data); break;
    case U_WMR_ESCAPE: wmf_draw_escape(record, data); break;
    case U_WMR_RESTOREDC: wmf_state_restoredc(record, data); break;
    case U_WMR_SELECTOBJECT: wmf_objects_selectobject(record, data); break;
    case U_WMR_SETTEXTALIGN: wmf_text_settextalign(record, data); break;
    case U_WMR_POLYPOLYGON: wmf_draw_polypolygon(record, data); break;
    case U_WMR_DELETEOBJECT: wmf_objects_deleteobject(record, data); break;
    case U_WMR_CREATEPALETTE:
    case U_WMR_CREATEBITMAPINDIRECT:
    case U_WMR_CREATEBITMAP: wmf_objects_create_other(record, data); break;
    case U_WMR_CREATEPATTERNBRUSH: wmf_bitmap_createpatternbrush(record, data); break;
    case U_WMR_CREATEREGION: wmf_region_create(record, data); break;
    case U_WMR_FILLREGION: wmf_region_fill(record, data); break;
    case U_WMR_FRAMEREGION: wmf_region_frame(record, data); break;
    case U_WMR_INVERTREGION: wmf_region_invert(record, data); break;
    case U_WMR_PAINTREGION: wmf_region_paint(record, data); break;
    case U_WMR_SELECTCLIPREGION: wmf_region_selectclip(record, data); break;
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

  // Until the file sets its own, the window is the box.
  player.dc.window_org_x = player.bbox_left;
  player.dc.window_org_y = player.bbox_top;
  player.dc.window_ext_x = static_cast<std::int32_t>(player.bbox_width);
  player.dc.window_ext_y = static_cast<std::int32_t>(player.bbox_height);
  wmf_window_update(player);
  player.device_scale_x = data.width / player.bbox_width;
  player.device_scale_y = data.height / player.bbox_height;

  std::int64_t step = 0;
  {
    CairoSaveGuard guard(cr);
    cairo_get_matrix(cr, &player.device_matrix);
    cairo_identity_matrix(cr);
    cairo_clip_extents(cr, &player.base_clip_x1, &player.base_clip_y1, &player.base_clip_x2,
                       &player.base_clip_y2);
    cairo_set_matrix(cr, &player.device_matrix);
    cairo_scale(cr, player.device_scale_x, player.device_scale_y);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);  // the format's default, alternate
    while ((step = wmf_dispatch_record(buffer, offset, data)) > 0) {
      offset += static_cast<std::size_t>(step);
    }
    wmf_state_unwind(data);
    // Leave no path of ours behind in the caller's context.
    cairo_new_path(cr);
  }
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) return RenderStatus::CairoError;
  if (step < 0 || player.partial) return RenderStatus::Partial;
  return RenderStatus::Ok;
}
