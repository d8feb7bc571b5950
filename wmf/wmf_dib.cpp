// Device-independent bitmaps to cairo's premultiplied ARGB32. All offsets and sizes are
// computed in 64 bits and checked against the data before anything is read or allocated.
#include "wmf/wmf_dib.h"

#include <array>
#include <cstddef>
#include <new>

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitfields = 6;

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

// Run-length bitmaps larger than this need at least one data byte per kWmfDibRlePixelsPerByte
// pixels.
constexpr std::int64_t kWmfDibRleFreePixels = std::int64_t{4} * 1024 * 1024;
constexpr std::int64_t kWmfDibRlePixelsPerByte = 1024;

std::uint16_t read_u16(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::uint32_t read_u32(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8) |
         (static_cast<std::uint32_t>(d[at + 2]) << 16) |
         (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

std::int32_t read_i32(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::int32_t>(read_u32(d, at));
}

std::uint32_t opaque_rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return kOpaqueBlack | (r << 16) | (g << 8) | b;
}

std::uint32_t premultiplied(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  if (a == 255) return opaque_rgb(r, g, b);
  const auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (mul(r) << 16) | (mul(g) << 8) | mul(b);
}

struct DibHeader {
  std::uint32_t header_size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: rows stored top-down
  std::uint16_t bits = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colors_used = 0;
  std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
  bool has_masks = false;
  bool core = false;
  std::size_t table_offset = 0;  // where the colour table starts
};

WmfDibStatus read_header(std::span<const std::uint8_t> dib, DibHeader& h) {
  if (dib.size() < 4) return WmfDibStatus::Truncated;
  h.header_size = read_u32(dib, 0);
  if (h.header_size == 12) {
    if (dib.size() < 12) return WmfDibStatus::Truncated;
    h.core = true;
    h.width = read_u16(dib, 4);
    h.height = read_u16(dib, 6);
    h.bits = read_u16(dib, 10);
    h.table_offset = 12;
    return WmfDibStatus::Ok;
  }
  if (h.header_size < 40) return WmfDibStatus::Unsupported;
  if (dib.size() < h.header_size) return WmfDibStatus::Truncated;
  h.width = read_i32(dib, 4);
  h.height = read_i32(dib, 8);
  h.bits = read_u16(dib, 14);
  h.compression = read_u32(dib, 16);
  h.colors_used = read_u32(dib, 32);
  h.table_offset = h.header_size;
  if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
    h.has_masks = true;
    const std::size_t mask_count = h.compression == kBiAlphaBitfields ? 4 : 3;
    if (h.header_size >= 52) {
      // The masks are part of the larger headers; the alpha mask from 56 bytes on.
      for (std::size_t i = 0; i < 3; ++i) h.masks[i] = read_u32(dib, 40 + 4 * i);
      if (h.header_size >= 56) h.masks[3] = read_u32(dib, 52);
    } else {
      if (dib.size() < h.header_size + 4 * mask_count) return WmfDibStatus::Truncated;
      for (std::size_t i = 0; i < mask_count; ++i) {
        h.masks[i] = read_u32(dib, h.header_size + 4 * i);
      }
      h.table_offset += 4 * mask_count;
    }
  }
  return WmfDibStatus::Ok;
}

// One bit field of a 16- or 32-bit pixel, scaled to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  unsigned shift = 0;
  std::uint32_t max = 0;  // mask >> shift

  explicit Channel(std::uint32_t m) : mask(m) {
    if (mask == 0) return;
    while (((mask >> shift) & 1u) == 0) ++shift;
    max = mask >> shift;
  }
  std::uint32_t extract(std::uint32_t pixel) const {
    if (max == 0) return 0;
    const std::uint64_t v = (pixel & mask) >> shift;
    return static_cast<std::uint32_t>((v * 255 + max / 2) / max);
  }
};

// Colour table entries as ARGB32; indexes past the table read as black.
struct Palette {
  std::array<std::uint32_t, 256> colors{};
  std::size_t count = 0;

  std::uint32_t at(std::uint32_t index) const {
    return index < count ? colors[index] : kOpaqueBlack;
  }
};

// Reads the colour table and returns the offset of the pixel bits behind it.
WmfDibStatus read_palette(std::span<const std::uint8_t> dib, const DibHeader& h,
                          std::uint16_t color_usage, Palette& palette, std::size_t& bits_offset) {
  const std::uint64_t full = h.bits <= 8 ? (std::uint64_t{1} << h.bits) : 0;
  std::uint64_t entries = h.colors_used != 0 ? h.colors_used : full;
  if (h.core) entries = full;
  const bool pal_indexes = color_usage == kWmfDibPalColors && h.bits <= 8;
  const std::uint64_t entry_size = pal_indexes ? 2 : (h.core ? 3 : 4);
  const std::uint64_t end = h.table_offset + entries * entry_size;
  if (end > dib.size()) return WmfDibStatus::Truncated;
  bits_offset = static_cast<std::size_t>(end);
  if (h.bits > 8) return WmfDibStatus::Ok;  // an optional optimisation table: not used

  palette.count = static_cast<std::size_t>(std::min<std::uint64_t>(entries, full));
  if (pal_indexes) {
    // The logical palette is not known here: show the indexes as grey levels, lowest black.
    std::uint32_t highest = 1;
    for (std::size_t i = 0; i < palette.count; ++i) {
      highest = std::max<std::uint32_t>(highest, read_u16(dib, h.table_offset + 2 * i));
    }
    for (std::size_t i = 0; i < palette.count; ++i) {
      const std::uint32_t v = read_u16(dib, h.table_offset + 2 * i);
      const std::uint32_t grey = (v * 255 + highest / 2) / highest;
      palette.colors[i] = opaque_rgb(grey, grey, grey);
    }
    return WmfDibStatus::Ok;
  }
  for (std::size_t i = 0; i < palette.count; ++i) {
    const std::size_t at = h.table_offset + i * static_cast<std::size_t>(entry_size);
    palette.colors[i] = opaque_rgb(dib[at + 2], dib[at + 1], dib[at]);
  }
  return WmfDibStatus::Ok;
}

bool allocate(WmfDibImage& out, std::int64_t width, std::int64_t height) {
  try {
    out.pixels.assign(static_cast<std::size_t>(width * height), 0u);
  } catch (const std::bad_alloc&) {
    out.pixels.clear();
    return false;
  }
  out.width = static_cast<std::int32_t>(width);
  out.height = static_cast<std::int32_t>(height);
  return true;
}

std::uint32_t indexed_pixel(const std::uint8_t* row, std::int64_t x, unsigned bits) {
  const std::uint64_t bit = static_cast<std::uint64_t>(x) * bits;
  const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
  return (row[bit / 8] >> shift) & ((1u << bits) - 1);
}

void decode_row(const std::uint8_t* row, const DibHeader& h, const Palette& palette,
                const std::array<Channel, 4>& channels, std::uint32_t* out) {
  const std::int64_t width = h.width;
  switch (h.bits) {
    case 1:
    case 2:
    case 4:
    case 8:
      for (std::int64_t x = 0; x < width; ++x) out[x] = palette.at(indexed_pixel(row, x, h.bits));
      return;
    case 24:
      for (std::int64_t x = 0; x < width; ++x) {
        const std::uint8_t* p = row + 3 * x;
        out[x] = opaque_rgb(p[2], p[1], p[0]);
      }
      return;
    default: break;
  }
  const bool wide = h.bits == 32;
  for (std::int64_t x = 0; x < width; ++x) {
    const std::uint8_t* p = row + (wide ? 4 : 2) * x;
    const std::uint32_t v =
        wide ? (p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24))
             : static_cast<std::uint32_t>(p[0] | (p[1] << 8));
    const std::uint32_t a = channels[3].max != 0 ? channels[3].extract(v) : 255;
    out[x] =
        premultiplied(a, channels[0].extract(v), channels[1].extract(v), channels[2].extract(v));
  }
}

std::array<Channel, 4> channels_for(const DibHeader& h) {
  if (h.has_masks) {
    return {Channel(h.masks[0]), Channel(h.masks[1]), Channel(h.masks[2]), Channel(h.masks[3])};
  }
  if (h.bits == 16) return {Channel(0x7C00), Channel(0x03E0), Channel(0x001F), Channel(0)};
  return {Channel(0x00FF0000), Channel(0x0000FF00), Channel(0x000000FF), Channel(0)};
}

WmfDibStatus decode_uncompressed(std::span<const std::uint8_t> dib, std::size_t bits_offset,
                                 const DibHeader& h, const Palette& palette, WmfDibImage& out) {
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  const std::uint64_t row_bits = static_cast<std::uint64_t>(h.width) * h.bits;
  const std::uint64_t stride = (row_bits + 31) / 32 * 4;
  // The last row needs only its pixel bytes, not its padding.
  const std::uint64_t needed = stride * static_cast<std::uint64_t>(rows - 1) + (row_bits + 7) / 8;
  if (bits_offset + needed > dib.size()) return WmfDibStatus::Truncated;
  if (!allocate(out, h.width, rows)) return WmfDibStatus::NoMemory;

  const auto decode_rows = [&](const std::array<Channel, 4>& channels) {
    for (std::int64_t r = 0; r < rows; ++r) {
      const std::uint8_t* row = dib.data() + bits_offset + static_cast<std::size_t>(stride) * r;
      const std::int64_t y = h.height < 0 ? r : rows - 1 - r;
      decode_row(row, h, palette, channels, out.pixels.data() + y * h.width);
    }
  };
  std::array<Channel, 4> channels = channels_for(h);
  decode_rows(channels);
  // Alpha masks are often set although every alpha value is zero: such images are opaque.
  if (channels[3].max != 0) {
    bool any_alpha = false;
    for (const std::uint32_t p : out.pixels) any_alpha = any_alpha || (p >> 24) != 0;
    if (!any_alpha) {
      channels[3] = Channel(0);
      decode_rows(channels);
    }
  }
  return WmfDibStatus::Ok;
}

// Run-length encoded bitmaps: rows bottom-up, pixels outside the bitmap dropped, pixels never
// written transparent.
WmfDibStatus decode_rle(std::span<const std::uint8_t> dib, std::size_t pos, const DibHeader& h,
                        const Palette& palette, WmfDibImage& out) {
  const bool four = h.compression == kBiRle4;
  if (!allocate(out, h.width, h.height)) return WmfDibStatus::NoMemory;
  const std::int64_t width = h.width;
  const std::int64_t height = h.height;
  std::int64_t x = 0;
  std::int64_t y = 0;
  const auto put = [&](std::uint32_t index) {
    if (x < width && y < height) out.pixels[(height - 1 - y) * width + x] = palette.at(index);
    ++x;
  };
  const std::size_t size = dib.size();
  while (y < height) {
    if (pos + 2 > size) return WmfDibStatus::Truncated;
    const std::uint8_t count = dib[pos];
    const std::uint8_t value = dib[pos + 1];
    pos += 2;
    if (count > 0) {
      // Runs past the row's end only advance x; stop touching pixels once outside.
      for (unsigned i = 0; i < count && x < width; ++i) {
        put(four ? ((i % 2 == 0) ? (value >> 4) : (value & 0x0F)) : value);
      }
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return WmfDibStatus::Ok;
    } else if (value == 2) {  // delta
      if (pos + 2 > size) return WmfDibStatus::Truncated;
      x += dib[pos];
      y += dib[pos + 1];
      pos += 2;
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      const std::size_t bytes = four ? (value + 1u) / 2 : value;
      const std::size_t padded = (bytes + 1) & ~std::size_t{1};
      if (pos + bytes > size) return WmfDibStatus::Truncated;
      for (unsigned i = 0; i < value && x < width; ++i) {
        const std::uint8_t b = dib[pos + (four ? i / 2 : i)];
        put(four ? ((i % 2 == 0) ? (b >> 4) : (b & 0x0F)) : b);
      }
      pos += std::min(padded, size - pos);
    }
  }
  return WmfDibStatus::Ok;
}

}  // namespace

std::string_view wmf_dib_status_name(WmfDibStatus status) {
  switch (status) {
    case WmfDibStatus::Ok: return "ok";
    case WmfDibStatus::Truncated: return "truncated bitmap";
    case WmfDibStatus::Unsupported: return "unsupported bitmap format";
    case WmfDibStatus::TooLarge: return "bitmap too large";
    case WmfDibStatus::NoMemory: return "out of memory";
  }
  return "unknown";
}

WmfDibStatus wmf_decode_dib(std::span<const std::uint8_t> dib, std::uint16_t color_usage,
                            WmfDibImage& out) {
  out = WmfDibImage{};
  DibHeader h;
  if (const WmfDibStatus s = read_header(dib, h); s != WmfDibStatus::Ok) return s;

  if (h.compression == kBiJpeg || h.compression == kBiPng) return WmfDibStatus::Unsupported;
  const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
  const bool masked = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
  if (h.compression != kBiRgb && !rle && !masked) return WmfDibStatus::Unsupported;
  if (rle && (h.bits != (h.compression == kBiRle8 ? 8 : 4) || h.height < 0)) {
    return WmfDibStatus::Unsupported;
  }
  if (masked && h.bits != 16 && h.bits != 32) return WmfDibStatus::Unsupported;
  switch (h.bits) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return WmfDibStatus::Unsupported;
  }

  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  if (h.width <= 0 || rows == 0) return WmfDibStatus::Unsupported;
  if (h.width > kWmfDibMaxSide || rows > kWmfDibMaxSide || h.width * rows > kWmfDibMaxPixels) {
    return WmfDibStatus::TooLarge;
  }

  Palette palette;
  std::size_t bits_offset = 0;
  if (const WmfDibStatus s = read_palette(dib, h, color_usage, palette, bits_offset);
      s != WmfDibStatus::Ok) {
    return s;
  }
  // Run-length data cannot be checked against the size up front, but an encoder's runs cover
  // at most a few hundred pixels per byte: a large bitmap from a few bytes is not allocated.
  if (rle && h.width * rows > kWmfDibRleFreePixels &&
      h.width * rows / kWmfDibRlePixelsPerByte >
          static_cast<std::int64_t>(dib.size() - bits_offset)) {
    return WmfDibStatus::TooLarge;
  }
  const WmfDibStatus status = rle ? decode_rle(dib, bits_offset, h, palette, out)
                                  : decode_uncompressed(dib, bits_offset, h, palette, out);
  if (status == WmfDibStatus::NoMemory || (status != WmfDibStatus::Ok && !rle)) {
    out = WmfDibImage{};
  }
  return status;
}
