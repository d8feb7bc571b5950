#include "svg/svg_numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The decimal exponent of the number's leading digit, roughly: enough to tell
// an overflow from an underflow when from_chars reports the value out of range.
long leading_exponent(std::string_view digits_and_point, long exponent) {
  long position = 0;  // digits seen before the point
  bool after_point = false;
  long zeros_after_point = 0;
  for (char c : digits_and_point) {
    if (c == '.') {
      after_point = true;
    } else if (!after_point) {
      if (position > 0 || c != '0') ++position;
    } else if (position == 0) {
      if (c != '0') break;
      ++zeros_after_point;
    }
  }
  return position > 0 ? position + exponent : exponent - zeros_after_point;
}

}  // namespace

bool svg_is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

size_t svg_skip_space(std::string_view text, size_t position) {
  while (position < text.size() && svg_is_space(text[position])) ++position;
  return position;
}

bool svg_read_number(std::string_view text, double* value, size_t* consumed) {
  size_t i = svg_skip_space(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const size_t mantissa_start = i;
  size_t digits = 0;
  while (i < text.size() && is_digit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && is_digit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  const size_t mantissa_end = i;
  long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    bool exponent_negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      exponent_negative = text[j] == '-';
      ++j;
    }
    if (j < text.size() && is_digit(text[j])) {
      while (j < text.size() && is_digit(text[j])) {
        if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
        ++j;
      }
      if (exponent_negative) exponent = -exponent;
      i = j;
    }
  }

  // from_chars takes no leading "+"; the sign is applied afterwards. The
  // extent was checked above, so from_chars sees only the decimal grammar
  // (never "inf", "nan" or hexadecimal).
  const char* first = text.data() + mantissa_start;
  const char* last = text.data() + i;
  double magnitude = 0.0;
  std::from_chars_result result = std::from_chars(first, last, magnitude);
  if (result.ec == std::errc::result_out_of_range) {
    std::string_view mantissa = text.substr(mantissa_start, mantissa_end - mantissa_start);
    magnitude = leading_exponent(mantissa, exponent) > 0 ? std::numeric_limits<double>::max() : 0.0;
  } else if (result.ec != std::errc() || result.ptr != last) {
    return false;
  }
  *value = negative ? -magnitude : magnitude;
  *consumed = i;
  return true;
}

int32_t svg_truncate_to_int32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

SvgStatus scan_numbers(std::string_view text, int count, double* numbers, size_t* end) {
  size_t position = 0;
  for (int n = 0; n < count; ++n) {
    while (position < text.size() && (svg_is_space(text[position]) || text[position] == ',')) {
      ++position;
    }
    size_t consumed = 0;
    if (position >= text.size() ||
        !svg_read_number(text.substr(position), &numbers[n], &consumed)) {
      *end = position;
      return SvgStatus::NumbersEnded;
    }
    position += consumed;
  }
  *end = position;
  return SvgStatus::Ok;
}
