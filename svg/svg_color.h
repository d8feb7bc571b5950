#pragma once
// A colour value: an sRGB colour or "currentColor".

#include <cstdint>
#include <string_view>

#include "svg/svg_status.h"

struct SvgColor {
  // 1 when given as "currentColor" (the colour then comes from the color
  // property where it is used), else 0.
  int32_t is_current_color = 0;
  // 0x00RRGGBB; 0 when is_current_color is 1.
  uint32_t rgb = 0;

  // Reads "#rgb", "#rrggbb", "rgb(r, g, b)" (numbers or percentages), one of
  // the 147 colour keywords (ASCII case-insensitive), or "currentColor".
  // Unlisted keywords and malformed hexadecimal give black with Ok; only an
  // rgb() component that is not a number gives Malformed (colour unchanged).
  SvgStatus parse(std::string_view text);

  int red() const { return static_cast<int>((rgb >> 16) & 0xFF); }
  int green() const { return static_cast<int>((rgb >> 8) & 0xFF); }
  int blue() const { return static_cast<int>(rgb & 0xFF); }
};

// Looks a colour keyword up (ASCII case-insensitive, the whole text must
// match). Returns false when it is none of the 147 keywords.
bool svg_color_keyword(std::string_view name, uint32_t* rgb);
