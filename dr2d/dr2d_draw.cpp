#include "dr2d/dr2d_draw.h"

#include <cairo.h>

#include "app/cairo_handles.h"

namespace {

// An index without a colour-map entry (or any index without a CMAP) paints black.
void set_colour(cairo_t* cr, const Dr2dDrawing& drawing, std::size_t index) {
  if (index >= drawing.colour_count) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    return;
  }
  const std::uint8_t* rgb = drawing.colour_rgb.data() + 3 * index;
  cairo_set_source_rgb(cr, rgb[0] / 255.0, rgb[1] / 255.0, rgb[2] / 255.0);
}

bool is_indicator(const Dr2dPoint& point) { return point.x == kDr2dIndicator; }

void build_path(cairo_t* cr, const Dr2dPoint* points, std::size_t count, bool closed) {
  bool starting = true;
  std::size_t i = 0;
  while (i < count) {
    const Dr2dPoint& point = points[i];
    if (!is_indicator(point)) {
      if (starting) {
        cairo_move_to(cr, point.x, point.y);
      } else {
        cairo_line_to(cr, point.x, point.y);
      }
      starting = false;
      ++i;
      continue;
    }
    const std::uint32_t flags = std::uint32_t(point.y);
    if (flags & kDr2dNewSubPolygon) {
      if (closed) cairo_close_path(cr);
      starting = true;
    }
    if (!(flags & kDr2dCurveFollows)) {
      ++i;
      continue;
    }
    // A curve needs its start, two control points and its end; without all
    // four (or with another indicator among them) the path ends here.
    if (count - i < 5) break;
    const Dr2dPoint* curve = points + i + 1;
    if (is_indicator(curve[0]) || is_indicator(curve[1]) || is_indicator(curve[2]) ||
        is_indicator(curve[3])) {
      break;
    }
    if (starting) {
      cairo_move_to(cr, curve[0].x, curve[0].y);
    } else {
      cairo_line_to(cr, curve[0].x, curve[0].y);
    }
    cairo_curve_to(cr, curve[1].x, curve[1].y, curve[2].x, curve[2].y, curve[3].x, curve[3].y);
    starting = false;
    i += 5;
  }
  if (closed) cairo_close_path(cr);
}

void set_join(cairo_t* cr, std::uint8_t join_type) {
  switch (join_type) {
    case 1: cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER); break;
    case 2: cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL); break;
    case 3: cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND); break;
    default: break;  // the join of the objects before stays
  }
}

}  // namespace

void draw_dr2d_polygon(const Dr2dPoint* points, std::size_t count, bool closed,
                       const Dr2dDrawing& drawing, const Dr2dAttributes& attributes,
                       RendererData& data) {
  cairo_t* cr = data.target;
  build_path(cr, points, count, closed);
  const bool outline = attributes.dash_pattern != 0;
  if (closed && attributes.fill_type == 1) {
    // Sub-polygons cut holes into the outer outline, whichever way they run.
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    if (outline) {
      cairo_save(cr);
      set_colour(cr, drawing, attributes.fill_value);
      cairo_fill_preserve(cr);
      cairo_restore(cr);
    } else {
      set_colour(cr, drawing, attributes.fill_value);
      cairo_fill(cr);
    }
  }
  if (outline) {
    // Every outline is solid; the dash tables are not drawn.
    cairo_set_dash(cr, nullptr, 0, 0.0);
    cairo_set_line_width(cr,
                         attributes.edge_thickness > 1 ? double(attributes.edge_thickness) : 1.0);
    set_join(cr, attributes.join_type);
    set_colour(cr, drawing, attributes.edge_value);
    cairo_stroke(cr);
  }
}

void render_dr2d_object(const Dr2dObject& object, RendererData& data, const Dr2dDrawing& drawing) {
  if (const auto* polygon = std::get_if<Dr2dPolygon>(&object.data)) {
    if (object.kind != kDr2dClosedPolygon && object.kind != kDr2dOpenPolygon) return;
    draw_dr2d_polygon(polygon->points.data(), polygon->points.size(),
                      object.kind == kDr2dClosedPolygon, drawing, object.attributes, data);
  } else if (const auto* group = std::get_if<Dr2dGroup>(&object.data)) {
    for (const Dr2dObject& child : group->children) render_dr2d_object(child, data, drawing);
  } else if (const auto* external = std::get_if<Dr2dExternal>(&object.data)) {
    if (external->child) render_dr2d_object(*external->child, data, drawing);
  }
}

RenderStatus render_dr2d_drawing(const Dr2dDrawing& drawing, RendererData& data) {
  cairo_t* cr = data.target;
  if (!cr || cairo_status(cr) != CAIRO_STATUS_SUCCESS) return RenderStatus::CairoError;
  const double doc_width = double(drawing.right) - double(drawing.left);
  const double doc_height = double(drawing.bottom) - double(drawing.top);
  if (doc_width == 0 || doc_height == 0 || data.width <= 0 || data.height <= 0) {
    return RenderStatus::Ok;  // nothing to fit the drawing into
  }
  {
    CairoSaveGuard guard(cr);
    cairo_scale(cr, data.width / doc_width, data.height / doc_height);
    cairo_translate(cr, -double(drawing.left), -double(drawing.top));
    for (std::size_t layer = 0; layer < drawing.layers.size(); ++layer) {
      if (!(drawing.layers[layer].flags & kDr2dLayerVisible)) continue;
      for (const Dr2dObject& object : drawing.layer_objects[layer]) {
        render_dr2d_object(object, data, drawing);
      }
    }
    cairo_new_path(cr);  // an unpainted last object must not leak its path to the caller
  }
  return cairo_status(cr) == CAIRO_STATUS_SUCCESS ? RenderStatus::Ok : RenderStatus::CairoError;
}
