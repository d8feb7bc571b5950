#pragma once
// DR2D coordinates: signed 32-bit fixed point with 10 fraction bits.

#include <cstdint>
#include <limits>

using Dr2dFixed = std::int32_t;

inline constexpr int kDr2dFractionBits = 10;
// x of a polygon point that is not a point but carries flags in its y.
inline constexpr Dr2dFixed kDr2dIndicator = std::numeric_limits<std::int32_t>::min();
// Values too large to hold saturate here; the most negative number is kept
// free for the indicator, so both signs saturate at the same magnitude.
inline constexpr Dr2dFixed kDr2dFixedMax = std::numeric_limits<std::int32_t>::max();

// The IEEE single whose big-endian bytes are given, times 1024, truncated
// toward zero. Zeros and denormals give 0; magnitudes of 2^21 or more,
// infinities and NaNs saturate to +-kDr2dFixedMax by their sign bit.
Dr2dFixed fixed_from_ieee(const std::uint8_t bytes[4]);
Dr2dFixed fixed_from_ieee_bits(std::uint32_t bits);
