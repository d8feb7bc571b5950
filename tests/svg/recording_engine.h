#pragma once
// A RenderEngine for tests: logs every call as one text line, slot name first,
// then the arguments ("path_move_to 10 20", "style_fill_paint #ff0000",
// "draw_rect 0px 0px 50% 10mm 0px 0px"), so tests can assert call sequences.
// Numbers print with %g; lengths as value and unit; colours as #rrggbb or
// currentColor; paints as none, a colour, or "url(gradient)"/"url(pattern)"
// (or what the describe hooks return). Queries answer from a small state stack
// that begin/end slots push and pop. Any slot can be made to fail.

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "svg/render_engine.h"
#include "svg/svg_color.h"
#include "svg/svg_length.h"
#include "svg/svg_paint.h"

class RecordingEngine : public RenderEngine {
 public:
  std::vector<std::string> calls;
  // Measures lengths for position_resolve and viewport_size; font_size and the
  // reference box follow the style_font_size and viewport_size calls.
  SvgLengthContext context{90.0, 10.0, 100.0, 100.0};
  double advance_per_byte = 5.0;  // text_measure's answer per byte of text
  std::function<std::string(const SvgViewBox*)> describe_view_box;
  std::function<std::string(const SvgPaint*)> describe_server;  // types Gradient, Pattern

  // From now on the slot named `slot` returns `status` (after logging).
  void fail_slot(std::string_view slot, SvgStatus status) { failures_[std::string(slot)] = status; }
  // All lines joined with "\n".
  std::string joined() const {
    std::string out;
    for (const std::string& line : calls) {
      if (!out.empty()) out += '\n';
      out += line;
    }
    return out;
  }

  static std::string number(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
  }
  static std::string length(const SvgLength* l) {
    if (l == nullptr) return "null";
    return number(l->value) + std::string(svg_length_unit_text(l->unit()));
  }
  static std::string color(const SvgColor* c) {
    if (c == nullptr) return "null";
    if (c->is_current_color != 0) return "currentColor";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%06x", static_cast<unsigned>(c->rgb));
    return buffer;
  }
  std::string paint(const SvgPaint* p) const {
    if (p == nullptr) return "null";
    switch (p->type) {
      case SvgPaintType::None: return "none";
      case SvgPaintType::Color: return color(&p->color);
      case SvgPaintType::Gradient:
        return describe_server ? describe_server(p) : std::string("url(gradient)");
      case SvgPaintType::Pattern:
        return describe_server ? describe_server(p) : std::string("url(pattern)");
    }
    return "?";
  }

  SvgStatus group_begin(double opacity) override {
    push();
    return log("group_begin " + number(opacity));
  }
  SvgStatus element_begin() override {
    push();
    return log("element_begin");
  }
  SvgStatus element_end() override {
    pop();
    return log("element_end");
  }
  SvgStatus group_end(double opacity) override {
    pop();
    return log("group_end " + number(opacity));
  }
  SvgStatus path_move_to(double x, double y) override {
    return log("path_move_to " + number(x) + " " + number(y));
  }
  SvgStatus path_line_to(double x, double y) override {
    return log("path_line_to " + number(x) + " " + number(y));
  }
  SvgStatus path_curve_to(double x1, double y1, double x2, double y2, double x3,
                          double y3) override {
    return log("path_curve_to " + number(x1) + " " + number(y1) + " " + number(x2) + " " +
               number(y2) + " " + number(x3) + " " + number(y3));
  }
  SvgStatus path_quad_to(double x1, double y1, double x, double y) override {
    return log("path_quad_to " + number(x1) + " " + number(y1) + " " + number(x) + " " + number(y));
  }
  SvgStatus path_arc_to(double rx, double ry, double rotation, int large_arc, int sweep, double x,
                        double y) override {
    return log("path_arc_to " + number(rx) + " " + number(ry) + " " + number(rotation) + " " +
               std::to_string(large_arc) + " " + std::to_string(sweep) + " " + number(x) + " " +
               number(y));
  }
  SvgStatus path_close() override { return log("path_close"); }
  SvgStatus style_color(const SvgColor* c) override { return log("style_color " + color(c)); }
  SvgStatus style_fill_opacity(double v) override { return log("style_fill_opacity " + number(v)); }
  SvgStatus style_fill_paint(const SvgPaint* p) override {
    return log("style_fill_paint " + paint(p));
  }
  SvgStatus style_fill_rule(int code) override {
    return log("style_fill_rule " + std::to_string(code));
  }
  SvgStatus style_font_family(std::string_view family) override {
    return log("style_font_family " + std::string(family));
  }
  SvgStatus style_font_size(double size) override {
    state().font_size = size;
    return log("style_font_size " + number(size));
  }
  SvgStatus style_font_style(int code) override {
    return log("style_font_style " + std::to_string(code));
  }
  SvgStatus style_font_weight(int weight) override {
    return log("style_font_weight " + std::to_string(weight));
  }
  SvgStatus style_opacity(double v) override { return log("style_opacity " + number(v)); }
  SvgStatus style_dash_array(const double* dashes, int count) override {
    std::string line = "style_dash_array " + std::to_string(count);
    for (int i = 0; i < count && dashes != nullptr; ++i) line += " " + number(dashes[i]);
    return log(line);
  }
  SvgStatus style_dash_offset(const SvgLength* offset) override {
    return log("style_dash_offset " + length(offset));
  }
  SvgStatus style_line_cap(int code) override {
    return log("style_line_cap " + std::to_string(code));
  }
  SvgStatus style_line_join(int code) override {
    return log("style_line_join " + std::to_string(code));
  }
  SvgStatus style_miter_limit(double v) override { return log("style_miter_limit " + number(v)); }
  SvgStatus style_stroke_opacity(double v) override {
    return log("style_stroke_opacity " + number(v));
  }
  SvgStatus style_stroke_paint(const SvgPaint* p) override {
    return log("style_stroke_paint " + paint(p));
  }
  SvgStatus style_stroke_width(const SvgLength* width) override {
    return log("style_stroke_width " + length(width));
  }
  SvgStatus style_text_anchor(int code) override {
    state().text_anchor = code;
    return log("style_text_anchor " + std::to_string(code));
  }
  SvgStatus transform_concat(double a, double b, double c, double d, double e, double f) override {
    return log("transform_concat " + number(a) + " " + number(b) + " " + number(c) + " " +
               number(d) + " " + number(e) + " " + number(f));
  }
  SvgStatus viewbox_apply(const SvgViewBox* view_box, const SvgLength* width,
                          const SvgLength* height) override {
    std::string box = describe_view_box ? describe_view_box(view_box) : std::string("viewbox");
    return log("viewbox_apply " + box + " " + length(width) + " " + length(height));
  }
  SvgStatus viewport_size(const SvgLength* width, const SvgLength* height) override {
    SvgLengthContext now = current_context();
    if (width != nullptr) state().reference_width = width->measure(now);
    if (height != nullptr) state().reference_height = height->measure(now);
    return log("viewport_size " + length(width) + " " + length(height));
  }
  SvgStatus draw_line(const SvgLength* x1, const SvgLength* y1, const SvgLength* x2,
                      const SvgLength* y2) override {
    return log("draw_line " + length(x1) + " " + length(y1) + " " + length(x2) + " " + length(y2));
  }
  SvgStatus draw_path() override { return log("draw_path"); }
  SvgStatus draw_ellipse(const SvgLength* cx, const SvgLength* cy, const SvgLength* rx,
                         const SvgLength* ry) override {
    return log("draw_ellipse " + length(cx) + " " + length(cy) + " " + length(rx) + " " +
               length(ry));
  }
  SvgStatus draw_rect(const SvgLength* x, const SvgLength* y, const SvgLength* width,
                      const SvgLength* height, const SvgLength* rx, const SvgLength* ry) override {
    return log("draw_rect " + length(x) + " " + length(y) + " " + length(width) + " " +
               length(height) + " " + length(rx) + " " + length(ry));
  }
  SvgStatus draw_text(std::string_view text, double x, double y) override {
    return log("draw_text " + std::string(text) + " " + number(x) + " " + number(y));
  }
  SvgStatus draw_image(const uint32_t* pixels, unsigned pixel_width, unsigned pixel_height,
                       const SvgLength* x, const SvgLength* y, const SvgLength* width,
                       const SvgLength* height) override {
    std::string line =
        "draw_image " + std::to_string(pixel_width) + "x" + std::to_string(pixel_height);
    if (pixels != nullptr && pixel_width > 0 && pixel_height > 0) {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, " %08x", static_cast<unsigned>(pixels[0]));
      line += buffer;
    }
    return log(line + " " + length(x) + " " + length(y) + " " + length(width) + " " +
               length(height));
  }
  SvgStatus text_measure(std::string_view text, double* advance_x, double* advance_y) override {
    if (advance_x != nullptr) *advance_x = advance_per_byte * static_cast<double>(text.size());
    if (advance_y != nullptr) *advance_y = 0.0;
    return log("text_measure " + std::string(text));
  }
  SvgStatus position_resolve(const SvgLength* x, const SvgLength* y, double* out_x,
                             double* out_y) override {
    SvgLengthContext now = current_context();
    if (x != nullptr && out_x != nullptr) *out_x = x->measure(now);
    if (y != nullptr && out_y != nullptr) *out_y = y->measure(now);
    return log("position_resolve " + length(x) + " " + length(y));
  }
  SvgStatus text_anchor_query(int* code) override {
    if (code != nullptr) *code = state().text_anchor;
    return log("text_anchor_query");
  }

 private:
  struct State {
    double font_size;
    double reference_width;
    double reference_height;
    int text_anchor;
  };

  SvgStatus log(std::string line) {
    std::string slot = line.substr(0, line.find(' '));
    calls.push_back(std::move(line));
    auto found = failures_.find(slot);
    return found == failures_.end() ? SvgStatus::Ok : found->second;
  }
  State& state() {
    if (states_.empty()) {
      states_.push_back({context.font_size, context.reference_width, context.reference_height, 0});
    }
    return states_.back();
  }
  void push() {
    State copy = state();
    states_.push_back(copy);
  }
  void pop() {
    if (states_.size() > 1) states_.pop_back();
  }
  SvgLengthContext current_context() {
    const State& s = state();
    return SvgLengthContext{context.dpi, s.font_size, s.reference_width, s.reference_height};
  }

  std::map<std::string, SvgStatus> failures_;
  std::vector<State> states_;
};
