#pragma once
// A length as written (value and unit) together with the direction its slot
// measures percentages against. Lengths are stored unmeasured; the render
// engine measures them in its current state with SvgLength::measure.

#include <cstdint>
#include <string_view>

#include "svg/svg_status.h"

enum class SvgLengthUnit : uint32_t {
  Cm = 0,
  Em = 1,
  Ex = 2,
  In = 3,
  Mm = 4,
  Pc = 5,
  Percent = 6,
  Pt = 7,
  Px = 8,  // also: no unit
};

enum class SvgLengthDirection : uint32_t {
  Horizontal = 0,  // percentages of the viewport width
  Vertical = 1,    // percentages of the viewport height
  Other = 2,       // percentages of the normalised viewport diagonal
};

// What a measurement depends on: the document's resolution, the engine's
// current font size and the reference box for percentages (the viewport, or
// 1 x 1 while an objectBoundingBox gradient is set up).
struct SvgLengthContext {
  double dpi = 90.0;
  double font_size = 10.0;
  double reference_width = 0.0;
  double reference_height = 0.0;
};

struct SvgLength {
  double value = 0.0;
  // Unit code in bits 31-28, direction code in bits 27-26; the other bits
  // carry no meaning.
  uint32_t unit_and_direction = (8u << 28) | (2u << 26);

  SvgLength() = default;
  SvgLength(double v, SvgLengthUnit u, SvgLengthDirection d) { set(v, u, d); }

  void set(double v, SvgLengthUnit u, SvgLengthDirection d);
  // The unit code as stored (it may exceed 8 only if set from raw bits).
  uint32_t unit_code() const { return unit_and_direction >> 28; }
  SvgLengthUnit unit() const { return static_cast<SvgLengthUnit>(unit_code()); }
  SvgLengthDirection direction() const {
    return static_cast<SvgLengthDirection>((unit_and_direction >> 26) & 3u);
  }
  void set_direction(SvgLengthDirection d);

  // A number followed directly by a unit text ("cm", "em", "ex", "in", "mm",
  // "pc", "%", "pt", "px"); anything else after the number means px. No number:
  // Malformed and the length is unchanged. The direction is kept.
  SvgStatus parse(std::string_view text);

  // The length in user units.
  double measure(const SvgLengthContext& context) const;
};

// The unit's text as written ("px" for Px).
std::string_view svg_length_unit_text(SvgLengthUnit unit);
