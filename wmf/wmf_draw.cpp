#include "wmf/wmf_draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/cairo_handles.h"
#include "wmf/wmf_objects.h"
#include "wmf/wmf_play.h"
#include "wmf/wmf_records.h"

namespace {

void set_source(cairo_t* target, const WmfColor& c) {
  // Components reach cairo divided by 256, as the rest of this player expects.
  cairo_set_source_rgb(target, c.red / 256.0, c.green / 256.0, c.blue / 256.0);
}

WmfColor color_of(const WmfRgb& rgb) { return {rgb.red, rgb.green, rgb.blue}; }

void apply_join_and_cap(cairo_t* target, const WmfPen& pen) {
  switch (pen.join) {
    case 0: cairo_set_line_join(target, CAIRO_LINE_JOIN_ROUND); break;
    case 0x1000: cairo_set_line_join(target, CAIRO_LINE_JOIN_BEVEL); break;
    default: cairo_set_line_join(target, CAIRO_LINE_JOIN_MITER); break;
  }
  switch (pen.cap) {
    case 0: cairo_set_line_cap(target, CAIRO_LINE_CAP_ROUND); break;
    case 0x100: cairo_set_line_cap(target, CAIRO_LINE_CAP_SQUARE); break;
    case 0x200: cairo_set_line_cap(target, CAIRO_LINE_CAP_BUTT); break;
    default: break;  // keep what an escape set
  }
}

// Dash lengths are in device pixels for a one-pixel pen and grow with the width.
void apply_dash(cairo_t* target, std::int32_t dash, double width) {
  static const double kPatterns[4][6] = {{4, 4}, {1, 4}, {4, 4, 1, 4}, {4, 4, 1, 4, 1, 4}};
  static const int kCounts[4] = {2, 2, 4, 6};
  if (dash < 1 || dash > 4) {
    cairo_set_dash(target, nullptr, 0, 0);
    return;
  }
  double scaled[6];
  for (int i = 0; i < kCounts[dash - 1]; ++i) scaled[i] = kPatterns[dash - 1][i] * width;
  cairo_set_dash(target, scaled, kCounts[dash - 1], 0);
}

void mark_partial(RendererData& data) { data.wmf.partial = true; }

// Reads a record with `read`; a record too short for its reader marks the
// playback partial and is skipped.
template <typename Read>
bool read_or_mark(RendererData& data, Read&& read) {
  if (read() != 0) return true;
  mark_partial(data);
  return false;
}

void add_points(cairo_t* target, const WmfPoints& points, std::size_t first, std::size_t count,
                const WmfPlayer& player) {
  for (std::size_t i = 0; i < count; ++i) {
    WmfPointXY p = points.at(first + i);
    double x = wmf_map_x(p.x, player);
    double y = wmf_map_y(p.y, player);
    if (i == 0) {
      cairo_move_to(target, x, y);
    } else {
      cairo_line_to(target, x, y);
    }
  }
}

struct MappedRect {
  double x1, y1, x2, y2;
  double w() const { return x2 - x1; }
  double h() const { return y2 - y1; }
};

MappedRect map_rect(const WmfRect& r, const WmfPlayer& player) {
  return {wmf_map_x(r.left, player), wmf_map_y(r.top, player), wmf_map_x(r.right, player),
          wmf_map_y(r.bottom, player)};
}

// Fill, then outline on top, then forget the path: every shape stands alone.
void paint_shape(cairo_t* target, const WmfPlayer& player) {
  wmf_fill_with_brush(target, player);
  wmf_stroke_with_pen(target, player);
  cairo_new_path(target);
}

// 0xAARRGGBB of an opaque colour.
std::uint32_t opaque_word(const WmfColor& c) {
  return 0xFF000000u | (std::min<std::uint32_t>(c.red, 255) << 16) |
         (std::min<std::uint32_t>(c.green, 255) << 8) | std::min<std::uint32_t>(c.blue, 255);
}

// An 8 x 8 device-pixel tile of a hatch style, in `color` on transparency.
CairoSurfacePtr hatch_tile(std::int32_t hatch, const WmfColor& color) {
  CairoSurfacePtr tile(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8));
  if (cairo_surface_status(tile.get()) != CAIRO_STATUS_SUCCESS) return tile;
  cairo_surface_flush(tile.get());
  unsigned char* bytes = cairo_image_surface_get_data(tile.get());
  int stride = cairo_image_surface_get_stride(tile.get());
  std::uint32_t ink = opaque_word(color);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      bool on = false;
      switch (hatch) {
        case 0: on = y == 4; break;                 // horizontal
        case 1: on = x == 4; break;                 // vertical
        case 2: on = x == y; break;                 // forward diagonal, "\"
        case 3: on = x == 7 - y; break;             // backward diagonal, "/"
        case 4: on = x == 4 || y == 4; break;       // cross
        default: on = x == y || x == 7 - y; break;  // diagonal cross
      }
      std::uint32_t v = on ? ink : 0;
      std::memcpy(bytes + y * stride + 4 * x, &v, 4);
    }
  }
  cairo_surface_mark_dirty(tile.get());
  return tile;
}

// Fills the path with a tile repeated in device space.
void fill_with_tile(cairo_t* target, cairo_surface_t* tile) {
  CairoPatternPtr pattern(cairo_pattern_create_for_surface(tile));
  cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern.get(), CAIRO_FILTER_NEAREST);
  cairo_matrix_t ctm;
  cairo_get_matrix(target, &ctm);  // user space to device space = to tile space
  cairo_pattern_set_matrix(pattern.get(), &ctm);
  cairo_set_source(target, pattern.get());
  cairo_fill_preserve(target);
}

void fill_with_pattern(cairo_t* target, const WmfPatternImage& image, const WmfDcState& dc) {
  CairoSurfacePtr tile(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height));
  if (cairo_surface_status(tile.get()) != CAIRO_STATUS_SUCCESS) return;
  cairo_surface_flush(tile.get());
  unsigned char* bytes = cairo_image_surface_get_data(tile.get());
  int stride = cairo_image_surface_get_stride(tile.get());
  std::uint32_t zero = opaque_word(dc.text_color), one = opaque_word(dc.bk_color);
  for (std::int32_t row = 0; row < image.height; ++row) {
    unsigned char* out = bytes + std::size_t(row) * stride;
    const std::uint32_t* in = image.pixels.data() + std::size_t(row) * image.width;
    if (!image.monochrome) {
      std::memcpy(out, in, std::size_t(image.width) * 4);
      continue;
    }
    for (std::int32_t x = 0; x < image.width; ++x) {
      std::uint32_t v = in[x] == kWmfMonoOne ? one : zero;
      std::memcpy(out + 4 * std::size_t(x), &v, 4);
    }
  }
  cairo_surface_mark_dirty(tile.get());
  fill_with_tile(target, tile.get());
}

}  // namespace

void wmf_fill_with_color(cairo_t* target, const WmfColor& color) {
  set_source(target, color);
  cairo_fill_preserve(target);
}

void wmf_stroke_with_pen(cairo_t* target, const WmfPlayer& player) {
  const WmfPen& pen = player.dc.pen;
  if (pen.visible == 0) return;
  // The width is logical, scaled like x; below one device pixel (and for a
  // width of 0) the line is one device pixel wide. The pen is round in device
  // space whatever the stretch of the drawing.
  double width = pen.width * std::fabs(player.scale_x * player.device_scale_x);
  if (!(width >= 1)) width = 1;
  CairoSaveGuard guard(target);
  cairo_set_matrix(target, &player.device_matrix);
  apply_join_and_cap(target, pen);
  cairo_set_line_width(target, width);
  bool on_centres =
      width == 1 && cairo_surface_get_type(cairo_get_target(target)) == CAIRO_SURFACE_TYPE_IMAGE;
  auto stroke = [&] {
    if (on_centres) {
      wmf_stroke_on_pixel_centres(target);
    } else {
      cairo_stroke_preserve(target);
    }
  };
  // In opaque mode the gaps of a dashed line show the background colour:
  // the whole line in that colour first, the dashes over it.
  if (pen.dash >= 1 && pen.dash <= 4 && player.dc.bk_mode == kWmfBkOpaque) {
    set_source(target, player.dc.bk_color);
    stroke();
  }
  apply_dash(target, pen.dash, width);
  set_source(target, pen.color);
  stroke();
}

void wmf_stroke_on_pixel_centres(cairo_t* target) {
  // A one-pixel line between two pixel rows paints both half grey; moved to
  // the nearest pixel centres it paints one row in the pen's colour.
  CairoPathPtr path(cairo_copy_path(target));
  if (path->status != CAIRO_STATUS_SUCCESS) {
    cairo_stroke_preserve(target);
    return;
  }
  cairo_new_path(target);
  for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
    const cairo_path_data_t* d = &path->data[i];
    auto snap = [](double v) { return std::floor(v) + 0.5; };
    switch (d->header.type) {
      case CAIRO_PATH_MOVE_TO: cairo_move_to(target, snap(d[1].point.x), snap(d[1].point.y)); break;
      case CAIRO_PATH_LINE_TO: cairo_line_to(target, snap(d[1].point.x), snap(d[1].point.y)); break;
      case CAIRO_PATH_CURVE_TO:
        cairo_curve_to(target, d[1].point.x, d[1].point.y, d[2].point.x, d[2].point.y, d[3].point.x,
                       d[3].point.y);
        break;
      case CAIRO_PATH_CLOSE_PATH: cairo_close_path(target); break;
    }
  }
  cairo_stroke(target);
  cairo_append_path(target, path.get());  // the caller's path, as it was
}

void wmf_fill_with_brush(cairo_t* target, const WmfPlayer& player) {
  const WmfDcState& dc = player.dc;
  const WmfBrush& brush = dc.brush;
  if (brush.visible == 0) return;
  switch (brush.style) {
    case kWmfBrushHatched: {
      if (dc.bk_mode == kWmfBkOpaque) wmf_fill_with_color(target, dc.bk_color);
      CairoSurfacePtr tile = hatch_tile(brush.hatch, brush.color);
      if (cairo_surface_status(tile.get()) == CAIRO_STATUS_SUCCESS) {
        fill_with_tile(target, tile.get());
      }
      return;
    }
    case kWmfBrushPattern:
      if (brush.pattern && brush.pattern->width > 0 && brush.pattern->height > 0) {
        fill_with_pattern(target, *brush.pattern, dc);
        return;
      }
      break;
    default: break;
  }
  wmf_fill_with_color(target, brush.color);
}

void wmf_draw_createpenindirect(WmfBytes record, RendererData& data) {
  WmfPenRecord rec;
  if (!read_or_mark(data, [&] { return wmf_get_createpenindirect(record, rec); })) return;
  WmfObject object;
  object.kind = WmfObjectKind::Pen;
  WmfPen& pen = object.pen;
  // 5 is the null pen. Inside-frame (6), user styles without their entries
  // (7) and any unknown style draw solid; alternate (8) is dotted.
  std::int32_t kind = rec.style & 0x0F;
  pen.visible = kind == 5 ? 0 : 1;
  pen.dash = kind == 5 ? kWmfDashNone : kind <= 4 ? kind : kind == 8 ? 2 : 0;
  std::int32_t cap = rec.style & 0x0F00;
  pen.cap = (cap == 0 || cap == 0x100 || cap == 0x200) ? cap : -1;
  std::int32_t join = rec.style & 0xF000;
  pen.join = (join == 0 || join == 0x1000) ? join : 0x2000;
  pen.width = rec.width_x;
  pen.color = color_of(rec.color);
  if (!wmf_object_create(data.wmf.objects, object)) mark_partial(data);
}

void wmf_draw_createbrushindirect(WmfBytes record, RendererData& data) {
  WmfBrushRecord rec;
  if (!read_or_mark(data, [&] { return wmf_get_createbrushindirect(record, rec); })) return;
  WmfObject object;
  object.kind = WmfObjectKind::Brush;
  WmfBrush& brush = object.brush;
  brush.color = color_of(rec.color);
  switch (rec.style) {
    case 0: brush.style = kWmfBrushSolid; break;
    case 1:
      brush.style = kWmfBrushNull;
      brush.visible = 0;
      break;
    case 2:
      brush.style = kWmfBrushHatched;
      brush.hatch = rec.hatch;
      break;
    default: brush.style = kWmfBrushSolid; break;  // patterns without their image
  }
  if (!wmf_object_create(data.wmf.objects, object)) mark_partial(data);
}

void wmf_draw_setbkcolor(WmfBytes record, RendererData& data) {
  WmfRgb rgb;
  if (!read_or_mark(data, [&] { return wmf_get_setbkcolor(record, rgb); })) return;
  data.wmf.dc.bk_color = color_of(rgb);
}

void wmf_draw_setbkmode(WmfBytes record, RendererData& data) {
  std::uint16_t mode = 0;
  if (!read_or_mark(data, [&] { return wmf_get_mode(record, mode); })) return;
  if (mode == kWmfBkTransparent || mode == kWmfBkOpaque) data.wmf.dc.bk_mode = mode;
}

void wmf_draw_setpolyfillmode(WmfBytes record, RendererData& data) {
  std::uint16_t mode = 0;
  if (!read_or_mark(data, [&] { return wmf_get_mode(record, mode); })) return;
  if (mode == 1) cairo_set_fill_rule(data.target, CAIRO_FILL_RULE_EVEN_ODD);
  if (mode == 2) cairo_set_fill_rule(data.target, CAIRO_FILL_RULE_WINDING);
}

void wmf_draw_moveto(WmfBytes record, RendererData& data) {
  std::int16_t x = 0, y = 0;
  if (!read_or_mark(data, [&] { return wmf_get_point(record, y, x); })) return;
  data.wmf.dc.pos_x = x;
  data.wmf.dc.pos_y = y;
}

void wmf_draw_lineto(WmfBytes record, RendererData& data) {
  std::int16_t x = 0, y = 0;
  if (!read_or_mark(data, [&] { return wmf_get_point(record, y, x); })) return;
  WmfPlayer& player = data.wmf;
  cairo_t* cr = data.target;
  cairo_new_path(cr);
  cairo_move_to(cr, wmf_map_x(player.dc.pos_x, player), wmf_map_y(player.dc.pos_y, player));
  cairo_line_to(cr, wmf_map_x(x, player), wmf_map_y(y, player));
  wmf_stroke_with_pen(cr, player);
  cairo_new_path(cr);
  player.dc.pos_x = x;
  player.dc.pos_y = y;
}

void wmf_draw_polyline(WmfBytes record, RendererData& data) {
  WmfPoints points;
  bool cut = false;
  if (!read_or_mark(data, [&] { return wmf_get_polyline(record, points, cut); })) return;
  if (cut) mark_partial(data);
  cairo_new_path(data.target);
  add_points(data.target, points, 0, points.count, data.wmf);
  wmf_stroke_with_pen(data.target, data.wmf);
  cairo_new_path(data.target);
}

void wmf_draw_polygon(WmfBytes record, RendererData& data) {
  WmfPoints points;
  bool cut = false;
  if (!read_or_mark(data, [&] { return wmf_get_polygon(record, points, cut); })) return;
  if (cut) mark_partial(data);
  cairo_new_path(data.target);
  add_points(data.target, points, 0, points.count, data.wmf);
  if (points.count > 0) cairo_close_path(data.target);
  paint_shape(data.target, data.wmf);
}

void wmf_draw_polypolygon(WmfBytes record, RendererData& data) {
  WmfPolyPolygon poly;
  bool cut = false;
  if (!read_or_mark(data, [&] { return wmf_get_polypolygon(record, poly, cut); })) return;
  if (cut) mark_partial(data);
  cairo_new_path(data.target);
  std::size_t first = 0;
  for (std::size_t i = 0; i < poly.polygon_count && first < poly.points.count; ++i) {
    std::size_t count = poly.count_of(i);
    if (count > poly.points.count - first) count = poly.points.count - first;
    if (count == 0) continue;
    add_points(data.target, poly.points, first, count, data.wmf);
    cairo_close_path(data.target);
    first += count;
  }
  paint_shape(data.target, data.wmf);
}

void wmf_draw_rectangle(WmfBytes record, RendererData& data) {
  WmfRect rect;
  if (!read_or_mark(data, [&] { return wmf_get_rect(record, rect); })) return;
  MappedRect r = map_rect(rect, data.wmf);
  cairo_new_path(data.target);
  cairo_rectangle(data.target, r.x1, r.y1, r.w(), r.h());
  paint_shape(data.target, data.wmf);
}

void wmf_draw_ellipse(WmfBytes record, RendererData& data) {
  WmfRect rect;
  if (!read_or_mark(data, [&] { return wmf_get_rect(record, rect); })) return;
  MappedRect r = map_rect(rect, data.wmf);
  cairo_t* cr = data.target;
  double x = r.x1, y = r.y1, w = r.w(), h = r.h();
  // Control points a quarter of the side from each midpoint, on the box's edges.
  double w34 = (w / 4) * 3, h34 = (h / 4) * 3;
  cairo_new_path(cr);
  cairo_move_to(cr, x, y + h / 2);
  cairo_curve_to(cr, x, y + h / 4, x + w / 4, y, x + w / 2, y);
  cairo_curve_to(cr, x + w34, y, x + w, y + h / 4, x + w, y + h / 2);
  cairo_curve_to(cr, x + w, y + h34, x + w34, y + h, x + w / 2, y + h);
  cairo_curve_to(cr, x + w / 4, y + h, x, y + h34, x, y + h / 2);
  cairo_close_path(cr);
  paint_shape(cr, data.wmf);
}

void wmf_draw_roundrect(WmfBytes record, RendererData& data) {
  WmfRect rect;
  std::int16_t corner_height = 0, corner_width = 0;
  if (!read_or_mark(data,
                    [&] { return wmf_get_roundrect(record, corner_height, corner_width, rect); })) {
    return;
  }
  MappedRect m = map_rect(rect, data.wmf);
  cairo_t* cr = data.target;
  // The corner width is logical: integer halving (7 gives 3), then the mapping.
  double r = std::fabs((corner_width / 2) * data.wmf.scale_x);
  r = std::min({r, std::fabs(m.w()) / 2, std::fabs(m.h()) / 2});
  // Work on the normalised rectangle, so that a reversed axis keeps the arcs outside-in.
  double x1 = std::min(m.x1, m.x2), x2 = std::max(m.x1, m.x2);
  double y1 = std::min(m.y1, m.y2), y2 = std::max(m.y1, m.y2);
  constexpr double kPi = 3.1415922, kPi32 = 4.7123883, kPi2 = 6.2831844, kPi12 = 1.5707961;
  cairo_new_path(cr);
  cairo_move_to(cr, x1, y1 + r);
  cairo_arc(cr, x1 + r, y1 + r, r, kPi, kPi32);
  cairo_line_to(cr, x2 - r, y1);
  cairo_arc(cr, x2 - r, y1 + r, r, kPi32, kPi2);
  cairo_line_to(cr, x2, y2 - r);
  cairo_arc(cr, x2 - r, y2 - r, r, 0, kPi12);
  cairo_line_to(cr, x1 + r, y2);
  cairo_arc(cr, x1 + r, y2 - r, r, kPi12, kPi);
  cairo_close_path(cr);
  paint_shape(cr, data.wmf);
}

void wmf_draw_arc(WmfBytes record, RendererData& data) {
  WmfRect rect;
  WmfPointXY start, end;
  if (!read_or_mark(data, [&] { return wmf_get_arc(record, rect, start, end); })) return;
  const WmfPlayer& player = data.wmf;
  MappedRect m = map_rect(rect, player);
  double cx = (m.x1 + m.x2) / 2, cy = (m.y1 + m.y2) / 2;
  double rx = std::fabs(m.w()) / 2, ry = std::fabs(m.h()) / 2;
  if (rx == 0 || ry == 0) return;
  // Angles on the unit circle that the ellipse is stretched from.
  double a1 =
      std::atan2((wmf_map_y(start.y, player) - cy) / ry, (wmf_map_x(start.x, player) - cx) / rx);
  double a2 =
      std::atan2((wmf_map_y(end.y, player) - cy) / ry, (wmf_map_x(end.x, player) - cx) / rx);
  if (a2 == a1) a2 = a1 - 2 * M_PI;  // the same point: the whole ellipse
  // Counter-clockwise in logical space: on the y-down drawing space that is
  // decreasing angles, unless the window reverses exactly one axis.
  bool reversed = (player.scale_x < 0) != (player.scale_y < 0);
  cairo_t* cr = data.target;
  std::uint8_t type = wmf_record_type(record);
  cairo_new_path(cr);
  if (type == U_WMR_PIE) cairo_move_to(cr, cx, cy);
  cairo_matrix_t saved;
  cairo_get_matrix(cr, &saved);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  if (reversed) {
    cairo_arc(cr, 0, 0, 1, a1, a2);
  } else {
    cairo_arc_negative(cr, 0, 0, 1, a1, a2);
  }
  cairo_set_matrix(cr, &saved);
  if (type == U_WMR_ARC) {
    wmf_stroke_with_pen(cr, player);
    cairo_new_path(cr);
    return;
  }
  cairo_close_path(cr);
  paint_shape(cr, player);
}

void wmf_draw_patblt(WmfBytes record, RendererData& data) {
  std::uint32_t raster_op = 0;
  std::int16_t height = 0, width = 0, y = 0, x = 0;
  if (!read_or_mark(data, [&] { return wmf_get_patblt(record, raster_op, height, width, y, x); })) {
    return;
  }
  const WmfPlayer& player = data.wmf;
  double x1 = wmf_map_x(x, player), y1 = wmf_map_y(y, player);
  double x2 = wmf_map_x(std::int32_t{x} + width, player);
  double y2 = wmf_map_y(std::int32_t{y} + height, player);
  cairo_t* cr = data.target;
  cairo_new_path(cr);
  cairo_rectangle(cr, x1, y1, x2 - x1, y2 - y1);
  // A block of the brush, no outline; BLACKNESS and WHITENESS need no brush.
  switch (raster_op) {
    case 0x00000042: wmf_fill_with_color(cr, WmfColor{}); break;
    case 0x00FF0062: wmf_fill_with_color(cr, kWmfWhite); break;
    case 0x00550009: break;  // DSTINVERT: not drawn
    default: wmf_fill_with_brush(cr, player); break;
  }
  cairo_new_path(cr);
}

void wmf_draw_setpixel(WmfBytes record, RendererData& data) {
  WmfRgb rgb;
  std::int16_t y = 0, x = 0;
  if (!read_or_mark(data, [&] { return wmf_get_setpixel(record, rgb, y, x); })) return;
  cairo_t* cr = data.target;
  double dx = wmf_map_x(x, data.wmf), dy = wmf_map_y(y, data.wmf);
  cairo_user_to_device(cr, &dx, &dy);
  CairoSaveGuard guard(cr);
  cairo_identity_matrix(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, std::floor(dx), std::floor(dy), 1, 1);
  wmf_fill_with_color(cr, color_of(rgb));
  cairo_new_path(cr);
}

void wmf_draw_intersectcliprect(WmfBytes record, RendererData& data) {
  WmfRect rect;
  if (!read_or_mark(data, [&] { return wmf_get_rect(record, rect); })) return;
  MappedRect r = map_rect(rect, data.wmf);
  cairo_new_path(data.target);
  cairo_rectangle(data.target, r.x1, r.y1, r.w(), r.h());
  cairo_clip(data.target);
}

void wmf_draw_excludecliprect(WmfBytes record, RendererData& data) {
  WmfRect rect;
  if (!read_or_mark(data, [&] { return wmf_get_rect(record, rect); })) return;
  MappedRect r = map_rect(rect, data.wmf);
  cairo_t* cr = data.target;
  // The clip keeps everything but the rectangle: a frame around the whole
  // drawing with the rectangle as its hole.
  double x1, y1, x2, y2;
  cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
  cairo_fill_rule_t rule = cairo_get_fill_rule(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, x1 - 1, y1 - 1, x2 - x1 + 2, y2 - y1 + 2);
  cairo_rectangle(cr, r.x1, r.y1, r.w(), r.h());
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_clip(cr);
  cairo_set_fill_rule(cr, rule);
}

void wmf_draw_escape(WmfBytes record, RendererData& data) {
  WmfEscape escape;
  bool cut = false;
  if (!read_or_mark(data, [&] { return wmf_get_escape(record, escape, cut); })) return;
  if (cut) mark_partial(data);
  if (escape.data.size() < 4) return;
  std::uint32_t value = wmf_u32(escape.data, 0);
  cairo_t* cr = data.target;
  switch (escape.function) {
    case 21:  // SETLINECAP
      switch (value & 0x0F00) {
        case 0: cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND); break;
        case 0x100: cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE); break;
        case 0x200: cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT); break;
        default: break;
      }
      break;
    case 22:  // SETLINEJOIN
      switch (value & 0xF000) {
        case 0: cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND); break;
        case 0x1000: cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL); break;
        case 0x2000: cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER); break;
        default: break;
      }
      break;
    case 23:  // SETMITERLIMIT
      cairo_set_miter_limit(cr, static_cast<float>(value));
      break;
    default: break;
  }
}
