// The SVG value grammars on arbitrary text: path data and points lists
// (replayed, copied and replayed again), transformation lists, colours,
// lengths, paints and the number scanner. Traps when an invariant breaks.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "svg/render_engine.h"
#include "svg/svg_color.h"
#include "svg/svg_length.h"
#include "svg/svg_matrix.h"
#include "svg/svg_numbers.h"
#include "svg/svg_paint.h"
#include "svg/svg_path.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

// Records the path slots as numbers (slot number, then the arguments) and
// traps on any slot a path replay must not call.
class TraceEngine final : public RenderEngine {
 public:
  std::vector<double> trace;
  int draws = 0;

  SvgStatus path_move_to(double x, double y) override { return add({4, x, y}); }
  SvgStatus path_line_to(double x, double y) override { return add({5, x, y}); }
  SvgStatus path_curve_to(double x1, double y1, double x2, double y2, double x3,
                          double y3) override {
    return add({6, x1, y1, x2, y2, x3, y3});
  }
  SvgStatus path_quad_to(double x1, double y1, double x, double y) override {
    return add({7, x1, y1, x, y});
  }
  SvgStatus path_arc_to(double rx, double ry, double rotation, int large_arc, int sweep, double x,
                        double y) override {
    return add(
        {8, rx, ry, rotation, static_cast<double>(large_arc), static_cast<double>(sweep), x, y});
  }
  SvgStatus path_close() override { return add({9}); }
  SvgStatus draw_path() override {
    require(draws == 0);
    ++draws;
    return SvgStatus::Ok;
  }

  SvgStatus group_begin(double) override { return unexpected(); }
  SvgStatus element_begin() override { return unexpected(); }
  SvgStatus element_end() override { return unexpected(); }
  SvgStatus group_end(double) override { return unexpected(); }
  SvgStatus style_color(const SvgColor*) override { return unexpected(); }
  SvgStatus style_fill_opacity(double) override { return unexpected(); }
  SvgStatus style_fill_paint(const SvgPaint*) override { return unexpected(); }
  SvgStatus style_fill_rule(int) override { return unexpected(); }
  SvgStatus style_font_family(std::string_view) override { return unexpected(); }
  SvgStatus style_font_size(double) override { return unexpected(); }
  SvgStatus style_font_style(int) override { return unexpected(); }
  SvgStatus style_font_weight(int) override { return unexpected(); }
  SvgStatus style_opacity(double) override { return unexpected(); }
  SvgStatus style_dash_array(const double*, int) override { return unexpected(); }
  SvgStatus style_dash_offset(const SvgLength*) override { return unexpected(); }
  SvgStatus style_line_cap(int) override { return unexpected(); }
  SvgStatus style_line_join(int) override { return unexpected(); }
  SvgStatus style_miter_limit(double) override { return unexpected(); }
  SvgStatus style_stroke_opacity(double) override { return unexpected(); }
  SvgStatus style_stroke_paint(const SvgPaint*) override { return unexpected(); }
  SvgStatus style_stroke_width(const SvgLength*) override { return unexpected(); }
  SvgStatus style_text_anchor(int) override { return unexpected(); }
  SvgStatus transform_concat(double, double, double, double, double, double) override {
    return unexpected();
  }
  SvgStatus viewbox_apply(const SvgViewBox*, const SvgLength*, const SvgLength*) override {
    return unexpected();
  }
  SvgStatus viewport_size(const SvgLength*, const SvgLength*) override { return unexpected(); }
  SvgStatus draw_line(const SvgLength*, const SvgLength*, const SvgLength*,
                      const SvgLength*) override {
    return unexpected();
  }
  SvgStatus draw_ellipse(const SvgLength*, const SvgLength*, const SvgLength*,
                         const SvgLength*) override {
    return unexpected();
  }
  SvgStatus draw_rect(const SvgLength*, const SvgLength*, const SvgLength*, const SvgLength*,
                      const SvgLength*, const SvgLength*) override {
    return unexpected();
  }
  SvgStatus draw_text(std::string_view, double, double) override { return unexpected(); }
  SvgStatus draw_image(const uint32_t*, unsigned, unsigned, const SvgLength*, const SvgLength*,
                       const SvgLength*, const SvgLength*) override {
    return unexpected();
  }
  SvgStatus text_measure(std::string_view, double*, double*) override { return unexpected(); }
  SvgStatus position_resolve(const SvgLength*, const SvgLength*, double*, double*) override {
    return unexpected();
  }
  SvgStatus text_anchor_query(int*) override { return unexpected(); }

 private:
  SvgStatus add(std::initializer_list<double> values) {
    require(draws == 0);
    trace.insert(trace.end(), values);
    return SvgStatus::Ok;
  }
  static SvgStatus unexpected() {
    __builtin_trap();
    return SvgStatus::Malformed;
  }
};

class OneServer final : public SvgPaintServers {
 public:
  SvgPaintServer find_paint_server(std::string_view id) const override {
    if (id != "g") return {};
    return {SvgPaintType::Gradient, reinterpret_cast<const SvgGradient*>(this), nullptr};
  }
};

// Replays the path, copies it, replays the copy: both traces must agree bit
// for bit.
void check_path(const SvgPath& path) {
  TraceEngine original;
  require(path.replay(original) == SvgStatus::Ok);
  require(original.draws == 1);
  SvgPath copy;
  require(SvgPath::copy(copy, path) == SvgStatus::Ok);
  TraceEngine copied;
  require(copy.replay(copied) == SvgStatus::Ok);
  require(original.trace.size() == copied.trace.size());
  require(original.trace.empty() || std::memcmp(original.trace.data(), copied.trace.data(),
                                                original.trace.size() * sizeof(double)) == 0);
}

void check_numbers(std::string_view text) {
  double value = 0.0;
  size_t consumed = 0;
  if (svg_read_number(text, &value, &consumed)) {
    require(consumed > 0 && consumed <= text.size());
    require(std::isfinite(value));
  }
  double numbers[7];
  size_t end = 0;
  SvgStatus status = scan_numbers(text, 7, numbers, &end);
  require(status == SvgStatus::Ok || status == SvgStatus::NumbersEnded);
  require(end <= text.size());
  if (status == SvgStatus::Ok) {
    for (double n : numbers) require(std::isfinite(n));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  SvgPath path;
  SvgStatus status = path.parse_data(text);
  require(status == SvgStatus::Ok || status == SvgStatus::Malformed);
  check_path(path);

  SvgPath polygon;
  status = polygon.parse_points(text, true);
  require(status == SvgStatus::Ok || status == SvgStatus::Malformed);
  check_path(polygon);

  SvgMatrix matrix;
  status = matrix.parse(text);
  require(status == SvgStatus::Ok || status == SvgStatus::Malformed);

  SvgColor color;
  status = color.parse(text);
  require(status == SvgStatus::Ok || status == SvgStatus::Malformed);
  require(color.rgb <= 0xFFFFFF);
  require(color.is_current_color == 0 || color.rgb == 0);

  SvgLength length;
  if (length.parse(text) == SvgStatus::Ok) {
    (void)length.measure(SvgLengthContext{90.0, 10.0, 640.0, 480.0});
  }

  SvgPaint paint;
  status = paint.parse(OneServer{}, text);
  require(status == SvgStatus::Ok || status == SvgStatus::Malformed);

  check_numbers(text);
  return 0;
}
