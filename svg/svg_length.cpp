#include "svg/svg_length.h"

#include <cmath>

#include "svg/svg_numbers.h"

namespace {

struct UnitText {
  std::string_view text;
  SvgLengthUnit unit;
};

constexpr UnitText kUnitTexts[] = {
    {"cm", SvgLengthUnit::Cm},     {"em", SvgLengthUnit::Em}, {"ex", SvgLengthUnit::Ex},
    {"in", SvgLengthUnit::In},     {"mm", SvgLengthUnit::Mm}, {"pc", SvgLengthUnit::Pc},
    {"%", SvgLengthUnit::Percent}, {"pt", SvgLengthUnit::Pt}, {"px", SvgLengthUnit::Px},
};

constexpr uint32_t kUnitShift = 28;
constexpr uint32_t kDirectionShift = 26;
constexpr uint32_t kUnitMask = 0xFu << kUnitShift;
constexpr uint32_t kDirectionMask = 0x3u << kDirectionShift;

}  // namespace

void SvgLength::set(double v, SvgLengthUnit u, SvgLengthDirection d) {
  value = v;
  unit_and_direction = (static_cast<uint32_t>(u) << kUnitShift & kUnitMask) |
                       (static_cast<uint32_t>(d) << kDirectionShift & kDirectionMask);
}

void SvgLength::set_direction(SvgLengthDirection d) {
  unit_and_direction = (unit_and_direction & ~kDirectionMask) |
                       (static_cast<uint32_t>(d) << kDirectionShift & kDirectionMask);
}

SvgStatus SvgLength::parse(std::string_view text) {
  double number = 0.0;
  size_t consumed = 0;
  if (!svg_read_number(text, &number, &consumed)) return SvgStatus::Malformed;
  std::string_view rest = text.substr(consumed);
  SvgLengthUnit unit = SvgLengthUnit::Px;
  for (const UnitText& entry : kUnitTexts) {
    if (rest == entry.text) {
      unit = entry.unit;
      break;
    }
  }
  set(number, unit, direction());
  return SvgStatus::Ok;
}

double SvgLength::measure(const SvgLengthContext& context) const {
  const double dpi = context.dpi;
  switch (unit_code()) {
    case 0: return value / 2.54 * dpi;
    case 1: return value * context.font_size;
    case 2: return value * context.font_size * 0.5;
    case 3: return value * dpi;
    case 4: return value / 25.4 * dpi;
    case 5: return value / 6.0 * dpi;
    case 6: {
      const double w = context.reference_width;
      const double h = context.reference_height;
      double reference = 0.0;
      switch (direction()) {
        case SvgLengthDirection::Horizontal: reference = w; break;
        case SvgLengthDirection::Vertical: reference = h; break;
        default: reference = std::sqrt(w * w + h * h) / std::sqrt(2.0); break;
      }
      return value / 100.0 * reference;
    }
    case 7: return value / 72.0 * dpi;
    default: return value;
  }
}

std::string_view svg_length_unit_text(SvgLengthUnit unit) {
  for (const UnitText& entry : kUnitTexts) {
    if (entry.unit == unit) return entry.text;
  }
  return "px";
}
