#pragma once
// Decoding of device-independent bitmaps as metafile records embed them: an info header
// (core 12-byte, 40-byte, or the larger V4/V5 forms), a colour table and the pixel bits.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

enum class WmfDibStatus { Ok, Truncated, Unsupported, TooLarge, NoMemory };

std::string_view wmf_dib_status_name(WmfDibStatus status);

// Colour-table interpretation of the records' usage field.
inline constexpr std::uint16_t kWmfDibRgbColors = 0;  // the table holds RGB quads
inline constexpr std::uint16_t kWmfDibPalColors = 1;  // the table holds 16-bit palette indexes

// Largest bitmap decoded: per side and in total.
inline constexpr std::int64_t kWmfDibMaxSide = 16384;
inline constexpr std::int64_t kWmfDibMaxPixels = std::int64_t{64} * 1024 * 1024;

struct WmfDibImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  // Premultiplied native-endian ARGB32 words (cairo's CAIRO_FORMAT_ARGB32), top row first,
  // stride = width * 4 bytes.
  std::vector<std::uint32_t> pixels;
};

// Decodes `dib` (starting at its info header) into `out`. Supports 1, 4 and 8 bits with colour
// tables, 16 bits (5-5-5 or bit fields), 24 bits, 32 bits (opaque, or bit fields with an alpha
// mask), RLE8 and RLE4; rows bottom-up for a positive height, top-down for a negative one.
//
// With kWmfDibPalColors the table entries index a logical palette the player does not keep;
// they are shown as grey levels (index 0 black, the highest index of the table white), which
// keeps two-colour masks and monochrome art legible.
//
// Uncompressed data that is too short gives Truncated and an empty image; RLE data that ends
// early gives Truncated with what was decoded (undecoded pixels transparent). An RLE bitmap of
// more than 4 Mpixels whose data averages more than 1024 pixels per byte gives TooLarge, so a
// few hostile bytes cannot claim a huge allocation.
WmfDibStatus wmf_decode_dib(std::span<const std::uint8_t> dib, std::uint16_t color_usage,
                            WmfDibImage& out);
