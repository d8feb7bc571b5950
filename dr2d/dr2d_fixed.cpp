#include "dr2d/dr2d_fixed.h"

Dr2dFixed fixed_from_ieee_bits(std::uint32_t bits) {
  const bool negative = (bits >> 31) != 0;
  const int exponent = int((bits >> 23) & 0xFF);
  if (exponent == 0) return 0;
  const std::uint32_t mantissa = (bits & 0x7FFFFF) | 0x800000;
  // value * 1024 = mantissa * 2^(exponent - 127 - 23 + 10)
  const int shift = exponent - 140;
  std::uint32_t magnitude;
  if (shift >= 8) {
    magnitude = std::uint32_t(kDr2dFixedMax);  // 2^21 drawing units or more, inf, NaN
  } else if (shift >= 0) {
    magnitude = mantissa << shift;  // below 2^31
  } else if (shift > -24) {
    magnitude = mantissa >> -shift;
  } else {
    magnitude = 0;
  }
  const Dr2dFixed value = Dr2dFixed(magnitude);
  return negative ? -value : value;
}

Dr2dFixed fixed_from_ieee(const std::uint8_t bytes[4]) {
  return fixed_from_ieee_bits((std::uint32_t(bytes[0]) << 24) | (std::uint32_t(bytes[1]) << 16) |
                              (std::uint32_t(bytes[2]) << 8) | std::uint32_t(bytes[3]));
}
