#pragma once
// Stored path geometry: a list of absolute commands in blocks of 64 command
// codes and 64 numbers, appended without ever moving stored data, replayed
// into a RenderEngine.

#include <cstdint>
#include <string_view>

#include "svg/render_engine.h"
#include "svg/svg_status.h"

inline constexpr int kSvgPathBlockSize = 64;

// The six stored command codes (all absolute).
enum class SvgPathCommand : int32_t {
  MoveTo = 0,   // x y
  LineTo = 2,   // x y
  CurveTo = 8,  // x1 y1 x2 y2 x y
  QuadTo = 12,  // x1 y1 x y
  ArcTo = 16,   // rx ry rotation large-arc sweep x y
  Close = 18,   // none
};

// How many numbers a stored command carries.
int svg_path_command_numbers(SvgPathCommand command);

struct SvgPathCommandBlock {
  int32_t count = 0;
  int32_t commands[kSvgPathBlockSize];
  SvgPathCommandBlock* next = nullptr;
  SvgPathCommandBlock* previous = nullptr;
};

struct SvgPathNumberBlock {
  int32_t count = 0;
  double numbers[kSvgPathBlockSize];
  SvgPathNumberBlock* next = nullptr;
  SvgPathNumberBlock* previous = nullptr;
};

struct SvgPath {
  double start_x = 0.0;  // start of the current subpath (the last moveto)
  double start_y = 0.0;
  double current_x = 0.0;
  double current_y = 0.0;
  int32_t last_command = 0;                 // code of the last command appended
  double cubic_reflection_x = 0.0;          // last cubic's second control point reflected
  double cubic_reflection_y = 0.0;          // about its end point
  double quad_reflection_x = 0.0;           // last quadratic's control point reflected
  double quad_reflection_y = 0.0;           // about its end point
  SvgPathCommandBlock* commands = nullptr;  // owned, in append order
  SvgPathCommandBlock* commands_last = nullptr;
  SvgPathNumberBlock* numbers = nullptr;  // owned, in append order
  SvgPathNumberBlock* numbers_last = nullptr;

  SvgPath() = default;
  ~SvgPath() { release(); }
  SvgPath(const SvgPath&) = delete;
  SvgPath& operator=(const SvgPath&) = delete;
  SvgPath(SvgPath&& other) noexcept;
  SvgPath& operator=(SvgPath&& other) noexcept;

  bool empty() const { return commands == nullptr; }
  // The bytes of all blocks.
  size_t storage_bytes() const;

  // Builder: each appends one command and keeps the bookkeeping; OutOfMemory
  // when a block cannot be allocated (the path keeps what fit).
  SvgStatus move_to(double x, double y);
  SvgStatus line_to(double x, double y);
  SvgStatus curve_to(double x1, double y1, double x2, double y2, double x, double y);
  SvgStatus quad_to(double x1, double y1, double x, double y);
  SvgStatus arc_to(double rx, double ry, double rotation, int large_arc, int sweep, double x,
                   double y);
  SvgStatus close();

  // Path data (the "d" attribute). An unexpected character gives Malformed,
  // keeping what was appended before it; an incomplete last set of numbers is
  // dropped silently.
  SvgStatus parse_data(std::string_view text);
  // A points list ("points" of polyline, and of polygon with close true).
  // An odd number count or trailing text gives Malformed after the complete
  // pairs were stored (and no close).
  SvgStatus parse_points(std::string_view text, bool close);

  // Calls the path slots for every command, then draw_path. The first
  // non-Ok status stops the replay and is returned.
  SvgStatus replay(RenderEngine& engine) const;

  // Makes `destination` an empty path and replays `source` into it.
  static SvgStatus copy(SvgPath& destination, const SvgPath& source);

  // Releases all blocks and resets the bookkeeping; the path is empty.
  void release();
};

// The path-copy sink: an engine whose path slots append to a destination path.
// draw_path does nothing; a replay calls no other slot, and those return Ok.
class SvgPathCopySink final : public RenderEngine {
 public:
  explicit SvgPathCopySink(SvgPath& destination) : destination_(destination) {}

  SvgStatus path_move_to(double x, double y) override { return destination_.move_to(x, y); }
  SvgStatus path_line_to(double x, double y) override { return destination_.line_to(x, y); }
  SvgStatus path_curve_to(double x1, double y1, double x2, double y2, double x3,
                          double y3) override {
    return destination_.curve_to(x1, y1, x2, y2, x3, y3);
  }
  SvgStatus path_quad_to(double x1, double y1, double x, double y) override {
    return destination_.quad_to(x1, y1, x, y);
  }
  SvgStatus path_arc_to(double rx, double ry, double rotation, int large_arc, int sweep, double x,
                        double y) override {
    return destination_.arc_to(rx, ry, rotation, large_arc, sweep, x, y);
  }
  SvgStatus path_close() override { return destination_.close(); }
  SvgStatus draw_path() override { return SvgStatus::Ok; }

  SvgStatus group_begin(double) override { return SvgStatus::Ok; }
  SvgStatus element_begin() override { return SvgStatus::Ok; }
  SvgStatus element_end() override { return SvgStatus::Ok; }
  SvgStatus group_end(double) override { return SvgStatus::Ok; }
  SvgStatus style_color(const SvgColor*) override { return SvgStatus::Ok; }
  SvgStatus style_fill_opacity(double) override { return SvgStatus::Ok; }
  SvgStatus style_fill_paint(const SvgPaint*) override { return SvgStatus::Ok; }
  SvgStatus style_fill_rule(int) override { return SvgStatus::Ok; }
  SvgStatus style_font_family(std::string_view) override { return SvgStatus::Ok; }
  SvgStatus style_font_size(double) override { return SvgStatus::Ok; }
  SvgStatus style_font_style(int) override { return SvgStatus::Ok; }
  SvgStatus style_font_weight(int) override { return SvgStatus::Ok; }
  SvgStatus style_opacity(double) override { return SvgStatus::Ok; }
  SvgStatus style_dash_array(const double*, int) override { return SvgStatus::Ok; }
  SvgStatus style_dash_offset(const SvgLength*) override { return SvgStatus::Ok; }
  SvgStatus style_line_cap(int) override { return SvgStatus::Ok; }
  SvgStatus style_line_join(int) override { return SvgStatus::Ok; }
  SvgStatus style_miter_limit(double) override { return SvgStatus::Ok; }
  SvgStatus style_stroke_opacity(double) override { return SvgStatus::Ok; }
  SvgStatus style_stroke_paint(const SvgPaint*) override { return SvgStatus::Ok; }
  SvgStatus style_stroke_width(const SvgLength*) override { return SvgStatus::Ok; }
  SvgStatus style_text_anchor(int) override { return SvgStatus::Ok; }
  SvgStatus transform_concat(double, double, double, double, double, double) override {
    return SvgStatus::Ok;
  }
  SvgStatus viewbox_apply(const SvgViewBox*, const SvgLength*, const SvgLength*) override {
    return SvgStatus::Ok;
  }
  SvgStatus viewport_size(const SvgLength*, const SvgLength*) override { return SvgStatus::Ok; }
  SvgStatus draw_line(const SvgLength*, const SvgLength*, const SvgLength*,
                      const SvgLength*) override {
    return SvgStatus::Ok;
  }
  SvgStatus draw_ellipse(const SvgLength*, const SvgLength*, const SvgLength*,
                         const SvgLength*) override {
    return SvgStatus::Ok;
  }
  SvgStatus draw_rect(const SvgLength*, const SvgLength*, const SvgLength*, const SvgLength*,
                      const SvgLength*, const SvgLength*) override {
    return SvgStatus::Ok;
  }
  SvgStatus draw_text(std::string_view, double, double) override { return SvgStatus::Ok; }
  SvgStatus draw_image(const uint32_t*, unsigned, unsigned, const SvgLength*, const SvgLength*,
                       const SvgLength*, const SvgLength*) override {
    return SvgStatus::Ok;
  }
  SvgStatus text_measure(std::string_view, double*, double*) override { return SvgStatus::Ok; }
  SvgStatus position_resolve(const SvgLength*, const SvgLength*, double*, double*) override {
    return SvgStatus::Ok;
  }
  SvgStatus text_anchor_query(int*) override { return SvgStatus::Ok; }

 private:
  SvgPath& destination_;
};
