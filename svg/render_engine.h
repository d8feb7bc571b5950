#pragma once
// The interface through which the SVG document model drives a renderer. The
// document model never draws: it reports groups, elements, style properties,
// path commands, shapes, text and images as calls on a RenderEngine. The
// engine object is its own closure.
//
// The 40 slots are declared in their fixed order (the slot number is given in
// each comment). Every slot returns an SvgStatus; Ok means go on. Lengths
// arrive as SvgLength pointers and are converted to user units by the engine
// in its current state (SvgLength::measure); plain doubles are already user
// units of the current coordinate system. An engine reads the pointed-to
// values during the call only and copies what it needs later.
//
// Codes passed as int:
//   fill rule   0 nonzero, 1 evenodd
//   line cap    0 butt, 1 round, 2 square
//   line join   0 bevel, 1 miter, 2 round
//   font style  0 normal, 1 italic, 2 oblique
//   text anchor 0 start, 1 middle, 2 end
// An engine leaves a setting unchanged for a code outside its list.

#include <cstdint>
#include <string_view>

#include "svg/svg_status.h"

struct SvgColor;
struct SvgLength;
struct SvgPaint;
struct SvgViewBox;

inline constexpr int kRenderEngineSlotCount = 40;

class RenderEngine {
 public:
  virtual ~RenderEngine() = default;

  // 0: open a group ("svg", "g", "text") whose content is composited with
  // `opacity` when it closes; the new state inherits everything.
  virtual SvgStatus group_begin(double opacity) = 0;
  // 1: open the state of one element that is not a group.
  virtual SvgStatus element_begin() = 0;
  // 2: close the state opened by element_begin.
  virtual SvgStatus element_end() = 0;
  // 3: close the state opened by group_begin, compositing with `opacity`.
  virtual SvgStatus group_end(double opacity) = 0;

  // 4: start a new sub-path at (x, y).
  virtual SvgStatus path_move_to(double x, double y) = 0;
  // 5: straight segment to (x, y).
  virtual SvgStatus path_line_to(double x, double y) = 0;
  // 6: cubic Bezier segment with control points (x1, y1), (x2, y2) to (x3, y3).
  virtual SvgStatus path_curve_to(double x1, double y1, double x2, double y2, double x3,
                                  double y3) = 0;
  // 7: quadratic Bezier segment with control point (x1, y1) to (x, y).
  virtual SvgStatus path_quad_to(double x1, double y1, double x, double y) = 0;
  // 8: elliptical arc from the current point to (x, y); rotation in degrees.
  virtual SvgStatus path_arc_to(double rx, double ry, double rotation, int large_arc, int sweep,
                                double x, double y) = 0;
  // 9: close the current sub-path.
  virtual SvgStatus path_close() = 0;

  // 10: the current colour, used by paints that say "currentColor".
  virtual SvgStatus style_color(const SvgColor* color) = 0;
  // 11
  virtual SvgStatus style_fill_opacity(double opacity) = 0;
  // 12
  virtual SvgStatus style_fill_paint(const SvgPaint* paint) = 0;
  // 13
  virtual SvgStatus style_fill_rule(int code) = 0;
  // 14: the family exactly as the document wrote it.
  virtual SvgStatus style_font_family(std::string_view family) = 0;
  // 15: font size in user units.
  virtual SvgStatus style_font_size(double size) = 0;
  // 16
  virtual SvgStatus style_font_style(int code) = 0;
  // 17: 100 to 900.
  virtual SvgStatus style_font_weight(int weight) = 0;
  // 18: the element's own opacity.
  virtual SvgStatus style_opacity(double opacity) = 0;
  // 19: dash lengths; a count of 0 means no dashing.
  virtual SvgStatus style_dash_array(const double* dashes, int count) = 0;
  // 20
  virtual SvgStatus style_dash_offset(const SvgLength* offset) = 0;
  // 21
  virtual SvgStatus style_line_cap(int code) = 0;
  // 22
  virtual SvgStatus style_line_join(int code) = 0;
  // 23
  virtual SvgStatus style_miter_limit(double limit) = 0;
  // 24
  virtual SvgStatus style_stroke_opacity(double opacity) = 0;
  // 25
  virtual SvgStatus style_stroke_paint(const SvgPaint* paint) = 0;
  // 26
  virtual SvgStatus style_stroke_width(const SvgLength* width) = 0;
  // 27
  virtual SvgStatus style_text_anchor(int code) = 0;

  // 28: multiply the current transformation by (a, b, c, d, e, f), which maps
  // (x, y) to (a x + c y + e, b x + d y + f).
  virtual SvgStatus transform_concat(double a, double b, double c, double d, double e,
                                     double f) = 0;
  // 29: map the view box onto a viewport of that width and height, honouring
  // its alignment and meet-or-slice codes.
  virtual SvgStatus viewbox_apply(const SvgViewBox* view_box, const SvgLength* width,
                                  const SvgLength* height) = 0;
  // 30: the viewport that percentages refer to from here on.
  virtual SvgStatus viewport_size(const SvgLength* width, const SvgLength* height) = 0;

  // 31: paint a line.
  virtual SvgStatus draw_line(const SvgLength* x1, const SvgLength* y1, const SvgLength* x2,
                              const SvgLength* y2) = 0;
  // 32: paint the path built by slots 4 to 9 since the last paint, then
  // discard it.
  virtual SvgStatus draw_path() = 0;
  // 33: paint an ellipse (a circle has rx equal to ry).
  virtual SvgStatus draw_ellipse(const SvgLength* cx, const SvgLength* cy, const SvgLength* rx,
                                 const SvgLength* ry) = 0;
  // 34: paint a rectangle, with rounded corners when rx or ry is above 0.
  virtual SvgStatus draw_rect(const SvgLength* x, const SvgLength* y, const SvgLength* width,
                              const SvgLength* height, const SvgLength* rx,
                              const SvgLength* ry) = 0;
  // 35: paint UTF-8 text starting at (x, y).
  virtual SvgStatus draw_text(std::string_view text, double x, double y) = 0;
  // 36: paint an image of pixel_width x pixel_height premultiplied ARGB
  // words (rows top to bottom, no padding) into the rectangle.
  virtual SvgStatus draw_image(const uint32_t* pixels, unsigned pixel_width, unsigned pixel_height,
                               const SvgLength* x, const SvgLength* y, const SvgLength* width,
                               const SvgLength* height) = 0;

  // 37: how far the text would advance the current point in the current font.
  virtual SvgStatus text_measure(std::string_view text, double* advance_x, double* advance_y) = 0;
  // 38: two lengths converted to user units in the current state.
  virtual SvgStatus position_resolve(const SvgLength* x, const SvgLength* y, double* out_x,
                                     double* out_y) = 0;
  // 39: the text anchor code currently in force.
  virtual SvgStatus text_anchor_query(int* code) = 0;
};
