#include "wmf/wmf_draw.h"

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

void apply_dash(cairo_t* target, std::int32_t dash) {
  static const double kDash[] = {4, 4};
  static const double kDot[] = {1, 4};
  static const double kDashDot[] = {4, 4, 1, 4};
  static const double kDashDotDot[] = {4, 4, 1, 4, 1, 4};
  switch (dash) {
    case 1: cairo_set_dash(target, kDash, 2, 0); break;
    case 2: cairo_set_dash(target, kDot, 2, 0); break;
    case 3: cairo_set_dash(target, kDashDot, 4, 0); break;
    case 4: cairo_set_dash(target, kDashDotDot, 6, 0); break;
    default: cairo_set_dash(target, nullptr, 0, 0); break;
  }
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

void stroke_and_fill(cairo_t* target, const WmfPlayer& player) {
  wmf_stroke_with_pen(target, player);
  wmf_fill_with_brush(target, player);
}

}  // namespace

void wmf_stroke_with_pen(cairo_t* target, const WmfPlayer& player) {
  const WmfPen& pen = player.pen;
  if (pen.visible == 0) return;
  apply_join_and_cap(target, pen);
  apply_dash(target, pen.dash);
  set_source(target, pen.color);
  if (pen.width > 0) {
    cairo_set_line_width(target, pen.width);
    cairo_stroke_preserve(target);
    return;
  }
  // A pen of width 0 is one device pixel wide whatever the scale.
  cairo_save(target);
  cairo_identity_matrix(target);
  cairo_set_line_width(target, 1);
  cairo_stroke_preserve(target);
  cairo_restore(target);
}

void wmf_fill_with_brush(cairo_t* target, const WmfPlayer& player) {
  if (player.brush.visible == 0) {
    cairo_new_path(target);
    return;
  }
  apply_join_and_cap(target, player.pen);
  set_source(target, player.brush.color);
  cairo_fill(target);
}

void wmf_draw_createpenindirect(WmfBytes record, RendererData& data) {
  WmfPenRecord rec;
  if (!read_or_mark(data, [&] { return wmf_get_createpenindirect(record, rec); })) return;
  WmfPen& pen = data.wmf.pen;
  std::int32_t kind = rec.style & 0x0F;
  pen.dash = kind <= 4 ? kind : kWmfDashNone;
  pen.visible = kind <= 4 ? 1 : 0;
  std::int32_t cap = rec.style & 0x0F00;
  pen.cap = (cap == 0 || cap == 0x100 || cap == 0x200) ? cap : -1;
  std::int32_t join = rec.style & 0xF000;
  pen.join = (join == 0 || join == 0x1000) ? join : 0x2000;
  pen.width = rec.width_x;
  pen.color = color_of(rec.color);
}

void wmf_draw_createbrushindirect(WmfBytes record, RendererData& data) {
  WmfBrushRecord rec;
  if (!read_or_mark(data, [&] { return wmf_get_createbrushindirect(record, rec); })) return;
  WmfBrush& brush = data.wmf.brush;
  switch (rec.style) {
    case 0:  // solid
    case 2:  // hatched: filled solid in its colour
      brush.color = color_of(rec.color);
      brush.visible = 1;
      break;
    case 1: brush.visible = 0; break;  // null
    case 3:                            // pattern
    case 5:                            // device-independent pattern
    case 6: brush.visible = 1; break;  // packed device-independent pattern
    default: break;
  }
}

void wmf_draw_setbkcolor(WmfBytes record, RendererData& data) {
  WmfRgb rgb;
  if (!read_or_mark(data, [&] { return wmf_get_setbkcolor(record, rgb); })) return;
  data.wmf.brush.color = color_of(rgb);
  data.wmf.brush.visible = 1;
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
  cairo_move_to(data.target, wmf_map_x(x, data.wmf), wmf_map_y(y, data.wmf));
  wmf_stroke_with_pen(data.target, data.wmf);
}

void wmf_draw_lineto(WmfBytes record, RendererData& data) {
  std::int16_t x = 0, y = 0;
  if (!read_or_mark(data, [&] { return wmf_get_point(record, y, x); })) return;
  cairo_line_to(data.target, wmf_map_x(x, data.wmf), wmf_map_y(y, data.wmf));
  wmf_stroke_with_pen(data.target, data.wmf);
}

void wmf_draw_polyline(WmfBytes record, RendererData& data) {
  WmfPoints points;
  bool cut = false;
  if (!read_or_mark(data, [&] { return wmf_get_polyline(record, points, cut); })) return;
  if (cut) mark_partial(data);
  add_points(data.target, points, 0, points.count, data.wmf);
  wmf_stroke_with_pen(data.target, data.wmf);
}

void wmf_draw_polygon(WmfBytes record, RendererData& data) {
  WmfPoints points;
  bool cut = false;
  if (!read_or_mark(data, [&] { return wmf_get_polygon(record, points, cut); })) return;
  if (cut) mark_partial(data);
  add_points(data.target, points, 0, points.count, data.wmf);
  cairo_close_path(data.target);
  stroke_and_fill(data.target, data.wmf);
}

void wmf_draw_polypolygon(WmfBytes record, RendererData& data) {
  WmfPolyPolygon poly;
  bool cut = false;
  if (!read_or_mark(data, [&] { return wmf_get_polypolygon(record, poly, cut); })) return;
  if (cut) mark_partial(data);
  std::size_t first = 0;
  for (std::size_t i = 0; i < poly.polygon_count && first < poly.points.count; ++i) {
    std::size_t count = poly.count_of(i);
    if (count > poly.points.count - first) count = poly.points.count - first;
    add_points(data.target, poly.points, first, count, data.wmf);
    cairo_close_path(data.target);
    first += count;
  }
  stroke_and_fill(data.target, data.wmf);
}

void wmf_draw_rectangle(WmfBytes record, RendererData& data) {
  WmfRect rect;
  if (!read_or_mark(data, [&] { return wmf_get_rect(record, rect); })) return;
  MappedRect r = map_rect(rect, data.wmf);
  cairo_rectangle(data.target, r.x1, r.y1, r.w(), r.h());
  stroke_and_fill(data.target, data.wmf);
}

void wmf_draw_ellipse(WmfBytes record, RendererData& data) {
  WmfRect rect;
  if (!read_or_mark(data, [&] { return wmf_get_rect(record, rect); })) return;
  MappedRect r = map_rect(rect, data.wmf);
  cairo_t* cr = data.target;
  double x = r.x1, y = r.y1, w = r.w(), h = r.h();
  // Control points a quarter of the side from each midpoint, on the box's edges.
  double w34 = (w / 4) * 3, h34 = (h / 4) * 3;
  cairo_move_to(cr, x, y + h / 2);
  cairo_curve_to(cr, x, y + h / 4, x + w / 4, y, x + w / 2, y);
  cairo_curve_to(cr, x + w34, y, x + w, y + h / 4, x + w, y + h / 2);
  cairo_curve_to(cr, x + w, y + h34, x + w34, y + h, x + w / 2, y + h);
  cairo_curve_to(cr, x + w / 4, y + h, x, y + h34, x, y + h / 2);
  cairo_close_path(cr);
  stroke_and_fill(cr, data.wmf);
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
  double r = corner_width / 2;  // integer halving: a width of 7 gives 3
  constexpr double kPi = 3.1415922, kPi32 = 4.7123883, kPi2 = 6.2831844, kPi12 = 1.5707961;
  cairo_move_to(cr, m.x1, m.y1 + r);
  cairo_arc(cr, m.x1 + r, m.y1 + r, r, kPi, kPi32);
  cairo_line_to(cr, m.x2 - r, m.y1);
  cairo_arc(cr, m.x2 - r, m.y1 + r, r, kPi32, kPi2);
  cairo_line_to(cr, m.x2, m.y2 - r);
  cairo_arc(cr, m.x2 - r, m.y2 - r, r, 0, kPi12);
  cairo_line_to(cr, m.x1 + r, m.y2);
  cairo_arc(cr, m.x1 + r, m.y2 - r, r, kPi12, kPi);
  cairo_close_path(cr);
  stroke_and_fill(cr, data.wmf);
}

void wmf_draw_patblt(WmfBytes record, RendererData& data) {
  std::uint32_t raster_op = 0;
  std::int16_t height = 0, width = 0, y = 0, x = 0;
  if (!read_or_mark(data, [&] { return wmf_get_patblt(record, raster_op, height, width, y, x); })) {
    return;
  }
  cairo_rectangle(data.target, wmf_map_x(x, data.wmf), wmf_map_y(y, data.wmf), width, height);
  stroke_and_fill(data.target, data.wmf);
}

void wmf_draw_intersectcliprect(WmfBytes record, RendererData& data) {
  WmfRect rect;
  if (!read_or_mark(data, [&] { return wmf_get_rect(record, rect); })) return;
  MappedRect r = map_rect(rect, data.wmf);
  cairo_rectangle(data.target, r.x1, r.y1, r.w(), r.h());
  cairo_clip(data.target);
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
