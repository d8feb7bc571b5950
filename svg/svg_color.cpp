#include "svg/svg_color.h"

#include "svg/svg_numbers.h"

namespace {

// A hexadecimal digit's value; any other character counts as 0.
uint32_t hex_value(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
  return 0;
}

uint32_t parse_hex(std::string_view digits) {
  if (digits.size() >= 6) {
    uint32_t rgb = 0;
    for (size_t i = 0; i < 6; ++i) rgb = (rgb << 4) | hex_value(digits[i]);
    return rgb;
  }
  if (digits.size() >= 3) {
    return (hex_value(digits[0]) * 17) << 16 | (hex_value(digits[1]) * 17) << 8 |
           hex_value(digits[2]) * 17;
  }
  return 0;
}

// rgb( r , g , b ) after the "rgb": components are numbers, or percentages of
// 255, clamped to 0-255 and truncated.
bool parse_rgb_function(std::string_view text, uint32_t* rgb) {
  size_t position = svg_skip_space(text, 0);
  while (position < text.size() && text[position] == '(') ++position;
  uint32_t result = 0;
  for (int component = 0; component < 3; ++component) {
    if (component > 0) {
      while (position < text.size() && text[position] == ',') ++position;
    }
    double value = 0.0;
    size_t consumed = 0;
    if (!svg_read_number(text.substr(position), &value, &consumed)) return false;
    position = svg_skip_space(text, position + consumed);
    if (position < text.size() && text[position] == '%') {
      ++position;
      // 255 / 100 rather than 2.55, which is not exact in binary and would
      // turn 100% into 254.
      value = value * 255.0 / 100.0;
    }
    position = svg_skip_space(text, position);
    if (value < 0.0) value = 0.0;
    if (value > 255.0) value = 255.0;
    result = (result << 8) | static_cast<uint32_t>(svg_truncate_to_int32(value));
  }
  *rgb = result;
  return true;
}

}  // namespace

SvgStatus SvgColor::parse(std::string_view text) {
  if (text.empty()) {
    is_current_color = 0;
    rgb = 0;
    return SvgStatus::Ok;
  }
  if (text == "currentColor") {
    is_current_color = 1;
    rgb = 0;
    return SvgStatus::Ok;
  }
  if (text[0] == '#') {
    is_current_color = 0;
    rgb = parse_hex(text.substr(1));
    return SvgStatus::Ok;
  }
  std::string_view rest = text.substr(svg_skip_space(text, 0));
  if (rest.substr(0, 3) != "rgb") {
    uint32_t found = 0;
    is_current_color = 0;
    rgb = svg_color_keyword(rest, &found) ? found : 0;
    return SvgStatus::Ok;
  }
  uint32_t value = 0;
  if (!parse_rgb_function(rest.substr(3), &value)) return SvgStatus::Malformed;
  is_current_color = 0;
  rgb = value;
  return SvgStatus::Ok;
}
