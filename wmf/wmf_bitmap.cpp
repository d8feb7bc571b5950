#include "wmf/wmf_bitmap.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "app/cairo_handles.h"
#include "wmf/wmf_dib.h"
#include "wmf/wmf_draw.h"
#include "wmf/wmf_objects.h"
#include "wmf/wmf_play.h"
#include "wmf/wmf_records.h"

namespace {

std::uint32_t argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  // Premultiplied, as CAIRO_FORMAT_ARGB32 wants it.
  if (a != 255) {
    r = (r * a + 127) / 255;
    g = (g * a + 127) / 255;
    b = (b * a + 127) / 255;
  }
  return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace

int wmf_dib_to_rgba(WmfBytes pixels, std::int32_t width, std::int32_t height,
                    std::int32_t bits_per_pixel, std::vector<std::uint32_t>& out) {
  out.clear();
  if (width == 0 || height == 0 || bits_per_pixel == 0 || pixels.empty()) return kWmfDibEmpty;
  if (bits_per_pixel != 16 && bits_per_pixel != 24 && bits_per_pixel != 32) {
    return kWmfDibUnsupported;
  }
  bool bottom_up = height > 0;
  std::int64_t w = width, h = height < 0 ? -std::int64_t{height} : height;
  if (w < 0 || w > kWmfBitmapMaxSide || h > kWmfBitmapMaxSide || w * h > kWmfBitmapMaxPixels) {
    return kWmfDibNoMemory;
  }
  std::int64_t row_bytes = (w * bits_per_pixel + 31) / 32 * 4;
  if (static_cast<std::int64_t>(pixels.size()) < row_bytes * h) return kWmfDibTooShort;
  try {
    out.resize(static_cast<std::size_t>(w * h));
  } catch (const std::bad_alloc&) {
    return kWmfDibNoMemory;
  }
  bool any_alpha = false;
  for (std::int64_t row = 0; row < h; ++row) {
    const std::uint8_t* src = pixels.data() + row * row_bytes;
    std::int64_t dst_row = bottom_up ? h - 1 - row : row;
    std::uint32_t* dst = out.data() + dst_row * w;
    for (std::int64_t col = 0; col < w; ++col) {
      switch (bits_per_pixel) {
        case 16: {
          std::uint32_t b0 = src[2 * col], b1 = src[2 * col + 1];
          std::uint32_t red = (b1 * 2) & 0xF8;
          std::uint32_t green = (((b0 >> 5) | ((b1 & 3) << 3)) << 3) & 0xF8;
          std::uint32_t blue = (b0 * 8) & 0xF8;
          dst[col] = argb(255, red, green, blue);
          break;
        }
        case 24: {
          const std::uint8_t* p = src + 3 * col;
          dst[col] = argb(255, p[2], p[1], p[0]);
          break;
        }
        default: {
          const std::uint8_t* p = src + 4 * col;
          any_alpha = any_alpha || p[3] != 0;
          dst[col] = argb(p[3], p[2], p[1], p[0]);
          break;
        }
      }
    }
  }
  if (bits_per_pixel == 32 && !any_alpha) {
    // The fourth byte was unused: read the pixels again as opaque.
    for (std::int64_t row = 0; row < h; ++row) {
      const std::uint8_t* src = pixels.data() + row * row_bytes;
      std::uint32_t* dst = out.data() + (bottom_up ? h - 1 - row : row) * w;
      for (std::int64_t col = 0; col < w; ++col) {
        const std::uint8_t* p = src + 4 * col;
        dst[col] = argb(255, p[2], p[1], p[0]);
      }
    }
  }
  return kWmfDibDone;
}

void wmf_paint_image(cairo_t* target, const std::vector<std::uint32_t>& argb_pixels,
                     std::int32_t width, std::int32_t height, double x1, double y1, double x2,
                     double y2, cairo_operator_t op) {
  if (width <= 0 || height <= 0 || argb_pixels.size() < std::size_t(width) * std::size_t(height)) {
    return;
  }
  double sx = (x2 - x1) / width, sy = (y2 - y1) / height;
  if (sx == 0 || sy == 0) return;  // a singular scale would put cairo in an error state
  // The surface owns a copy: vector targets may read the image after this record.
  CairoSurfacePtr image(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) return;
  cairo_surface_flush(image.get());
  unsigned char* data = cairo_image_surface_get_data(image.get());
  int stride = cairo_image_surface_get_stride(image.get());
  for (std::int32_t row = 0; row < height; ++row) {
    std::memcpy(data + std::size_t(row) * stride, argb_pixels.data() + std::size_t(row) * width,
                std::size_t(width) * 4);
  }
  cairo_surface_mark_dirty(image.get());

  CairoSaveGuard guard(target);
  cairo_set_operator(target, op);
  cairo_new_path(target);
  cairo_translate(target, x1, y1);
  cairo_scale(target, sx, sy);
  cairo_set_source_surface(target, image.get(), 0, 0);
  // Edge pixels keep their colour when scaled up instead of fading out.
  cairo_pattern_set_extend(cairo_get_source(target), CAIRO_EXTEND_PAD);
  cairo_rectangle(target, 0, 0, width, height);
  cairo_fill(target);
}

namespace {

void play_block_transfer(const WmfBlockTransfer& blt, RendererData& data) {
  cairo_t* cr = data.target;
  const WmfPlayer& player = data.wmf;
  double x1 = wmf_map_x(blt.dst_x, player), y1 = wmf_map_y(blt.dst_y, player);
  double x2 = wmf_map_x(std::int32_t{blt.dst_x} + blt.dst_width, player);
  double y2 = wmf_map_y(std::int32_t{blt.dst_y} + blt.dst_height, player);
  if (blt.bitmap.bits_per_pixel <= 15) {
    // Palette bitmaps, and the form without a bitmap, paint a block of the brush.
    cairo_new_path(cr);
    cairo_rectangle(cr, x1, y1, x2 - x1, y2 - y1);
    wmf_fill_with_brush(cr, player);
    cairo_new_path(cr);
    return;
  }
  std::vector<std::uint32_t> pixels;
  int status = wmf_dib_to_rgba(blt.pixels, blt.bitmap.width, blt.bitmap.height,
                               blt.bitmap.bits_per_pixel, pixels);
  if (status != kWmfDibDone) {
    if (status != kWmfDibUnsupported) data.wmf.partial = true;
    return;
  }
  std::int32_t h = blt.bitmap.height < 0 ? -std::int32_t{blt.bitmap.height} : blt.bitmap.height;
  wmf_paint_image(cr, pixels, blt.bitmap.width, h, x1, y1, x2, y2,
                  wmf_raster_operator(blt.raster_op));
}

}  // namespace

void wmf_bitmap_bitblt(WmfBytes record, RendererData& data) {
  WmfBlockTransfer blt;
  if (wmf_get_bitblt(record, blt) == 0) {
    data.wmf.partial = true;
    return;
  }
  play_block_transfer(blt, data);
}

void wmf_bitmap_stretchblt(WmfBytes record, RendererData& data) {
  WmfBlockTransfer blt;
  if (wmf_get_stretchblt(record, blt) == 0) {
    data.wmf.partial = true;
    return;
  }
  play_block_transfer(blt, data);
}

cairo_operator_t wmf_raster_operator(std::uint32_t raster_op) {
  switch (raster_op) {
    case 0x008800C6: return CAIRO_OPERATOR_MULTIPLY;    // SRCAND: masks darken
    case 0x00EE0086: return CAIRO_OPERATOR_LIGHTEN;     // SRCPAINT: images over their mask
    case 0x00660046: return CAIRO_OPERATOR_DIFFERENCE;  // SRCINVERT
    default: return CAIRO_OPERATOR_OVER;
  }
}

namespace {

// Whether the bitmap's rows are stored bottom-up (the usual, positive height).
bool dib_bottom_up(WmfBytes dib) {
  std::uint32_t header = wmf_u32(dib, 0);
  if (header == 12) return true;
  return static_cast<std::int32_t>(wmf_u32(dib, 8)) >= 0;
}

// The part of `image` that the source rectangle names; the whole image when
// the rectangle is empty or covers it.
void crop(WmfDibImage& image, const WmfDibTransfer& blt, bool bottom_up) {
  std::int64_t w = blt.src_width, h = blt.src_height;
  if (w <= 0 || h <= 0 || (w >= image.width && h >= image.height)) return;
  std::int64_t x0 = blt.src_x;
  // A bottom-up bitmap counts its source rows from the bottom.
  std::int64_t y0 = bottom_up ? image.height - (std::int64_t{blt.src_y} + h) : blt.src_y;
  if (x0 < 0) x0 = 0;
  if (y0 < 0) y0 = 0;
  w = std::min<std::int64_t>(w, image.width - x0);
  h = std::min<std::int64_t>(h, image.height - y0);
  if (w <= 0 || h <= 0) return;
  std::vector<std::uint32_t> part(static_cast<std::size_t>(w * h));
  for (std::int64_t row = 0; row < h; ++row) {
    std::memcpy(part.data() + row * w, image.pixels.data() + (y0 + row) * image.width + x0,
                static_cast<std::size_t>(w) * 4);
  }
  image.pixels = std::move(part);
  image.width = static_cast<std::int32_t>(w);
  image.height = static_cast<std::int32_t>(h);
}

bool read_dib_transfer(WmfBytes record, WmfDibTransfer& blt) {
  switch (wmf_record_type(record)) {
    case U_WMR_DIBBITBLT: return wmf_get_dibbitblt(record, blt) != 0;
    case U_WMR_DIBSTRETCHBLT: return wmf_get_dibstretchblt(record, blt) != 0;
    case U_WMR_STRETCHDIB: return wmf_get_stretchdib(record, blt) != 0;
    default: return wmf_get_setdibtodev(record, blt) != 0;
  }
}

}  // namespace

void wmf_bitmap_dib(WmfBytes record, RendererData& data) {
  WmfDibTransfer blt;
  if (!read_dib_transfer(record, blt)) {
    data.wmf.partial = true;
    return;
  }
  cairo_t* cr = data.target;
  const WmfPlayer& player = data.wmf;
  double x1 = wmf_map_x(blt.dst_x, player), y1 = wmf_map_y(blt.dst_y, player);
  double x2 = wmf_map_x(std::int32_t{blt.dst_x} + blt.dst_width, player);
  double y2 = wmf_map_y(std::int32_t{blt.dst_y} + blt.dst_height, player);
  if (blt.dib.empty()) {
    // Without a bitmap the transfer paints the brush, or black or white.
    cairo_new_path(cr);
    cairo_rectangle(cr, x1, y1, x2 - x1, y2 - y1);
    switch (blt.raster_op) {
      case 0x00000042: wmf_fill_with_color(cr, WmfColor{}); break;
      case 0x00FF0062: wmf_fill_with_color(cr, kWmfWhite); break;
      case 0x00550009:
      case 0x00AA0029: break;  // DSTINVERT, and the no-operation
      default: wmf_fill_with_brush(cr, player); break;
    }
    cairo_new_path(cr);
    return;
  }
  WmfDibImage image;
  WmfDibStatus status = wmf_decode_dib(blt.dib, blt.color_usage, image);
  if (status != WmfDibStatus::Ok) {
    data.wmf.partial = true;
    if (image.pixels.empty()) return;  // a cut-short RLE bitmap still shows what it has
  }
  crop(image, blt, dib_bottom_up(blt.dib));
  std::uint32_t op = blt.raster_op;
  if (op == 0x00330008) {  // NOTSRCCOPY
    for (std::uint32_t& p : image.pixels) p = (p & 0xFF000000u) | (~p & 0x00FFFFFFu);
  }
  wmf_paint_image(cr, image.pixels, image.width, image.height, x1, y1, x2, y2,
                  wmf_raster_operator(op));
}

namespace {

// The bit count of a device-independent bitmap, or 0 when its header is unknown.
std::uint16_t dib_bit_count(WmfBytes dib) {
  std::uint32_t header = wmf_u32(dib, 0);
  if (header == 12) return wmf_u16(dib, 10);
  if (header >= 40 && header <= dib.size()) return wmf_u16(dib, 14);
  return 0;
}

// A monochrome pattern keeps its bits, not the colours of its table: a copy
// of the bitmap with a black and white table decodes 0 bits as black and 1
// bits as white, which become the two mask values.
bool decode_monochrome_dib(WmfBytes dib, WmfPatternImage& image) {
  std::uint32_t header = wmf_u32(dib, 0);
  std::size_t entry = header == 12 ? 3 : 4;
  if (header < 12 || header > dib.size() || dib.size() - header < 2 * entry) return false;
  std::vector<std::uint8_t> copy(dib.begin(), dib.end());
  std::memset(copy.data() + header, 0, entry);
  std::memset(copy.data() + header + entry, 0xFF, entry);
  if (entry == 4) copy[header + 7] = 0;  // the quad's reserved byte
  WmfDibImage decoded;
  if (wmf_decode_dib(copy, kWmfDibRgbColors, decoded) != WmfDibStatus::Ok || decoded.width <= 0 ||
      decoded.height <= 0) {
    return false;
  }
  image.width = decoded.width;
  image.height = decoded.height;
  image.pixels = std::move(decoded.pixels);
  for (std::uint32_t& p : image.pixels) p = (p & 0x00FFFFFFu) != 0 ? kWmfMonoOne : kWmfMonoZero;
  image.monochrome = true;
  return true;
}

void create_pattern_brush(std::shared_ptr<WmfPatternImage> image, RendererData& data) {
  WmfObject object;
  object.kind = WmfObjectKind::Brush;
  object.brush.style = kWmfBrushSolid;
  object.brush.color = {128, 128, 128};  // what shows when the pattern cannot
  if (image) {
    object.brush.style = kWmfBrushPattern;
    object.brush.pattern = std::move(image);
  }
  if (!wmf_object_create(data.wmf.objects, object)) data.wmf.partial = true;
}

}  // namespace

void wmf_bitmap_dibcreatepatternbrush(WmfBytes record, RendererData& data) {
  std::uint16_t style = 0, usage = 0;
  WmfBytes dib;
  if (wmf_get_dibcreatepatternbrush(record, style, usage, dib) == 0) {
    data.wmf.partial = true;
    return;
  }
  auto image = std::make_shared<WmfPatternImage>();
  // The plain pattern style is how a brush made from a monochrome device
  // bitmap is recorded: its bits take the text and background colours when
  // it is used, whatever its table says. A bitmap of the DIB pattern style
  // keeps its table's colours.
  if (style == kWmfBrushPattern && usage == kWmfDibRgbColors && dib_bit_count(dib) == 1 &&
      decode_monochrome_dib(dib, *image)) {
    create_pattern_brush(std::move(image), data);
    return;
  }
  // Writers put a device-independent bitmap here whatever the style says, even
  // for the plain pattern style; whatever decodes is the brush's tile.
  WmfDibImage decoded;
  if (wmf_decode_dib(dib, usage, decoded) == WmfDibStatus::Ok && decoded.width > 0 &&
      decoded.height > 0) {
    image->width = decoded.width;
    image->height = decoded.height;
    image->pixels = std::move(decoded.pixels);
  } else {
    image.reset();
    if (style != kWmfBrushPattern) data.wmf.partial = true;
  }
  create_pattern_brush(std::move(image), data);
}

void wmf_bitmap_createpatternbrush(WmfBytes record, RendererData& data) {
  // A 10-byte bitmap head, 18 bytes nobody reads, then rows top-down of
  // `bytes_per_row` bytes each.
  constexpr std::size_t kBitsAt = kWmfRecordHeadSize + 10 + 18;
  if (record.size() < kBitsAt) {
    data.wmf.partial = true;
    return;
  }
  std::int32_t width = wmf_s16(record, 8), height = wmf_s16(record, 10);
  std::int32_t bytes_per_row = wmf_s16(record, 12);
  std::uint8_t planes = wmf_u8(record, 14), bits = wmf_u8(record, 15);
  WmfBytes rows = record.subspan(kBitsAt);
  std::shared_ptr<WmfPatternImage> image;
  // Only monochrome bitmaps are drawn; others keep the grey stand-in.
  bool mono = planes == 1 && bits == 1 && width > 0 && height > 0;
  if (mono && width <= kWmfBitmapMaxSide && height <= kWmfBitmapMaxSide &&
      std::int64_t{width} * height <= kWmfBitmapMaxPixels && bytes_per_row >= (width + 7) / 8 &&
      rows.size() / static_cast<std::size_t>(bytes_per_row) >= static_cast<std::size_t>(height)) {
    image = std::make_shared<WmfPatternImage>();
    image->width = width;
    image->height = height;
    image->monochrome = true;
    image->pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::int32_t y = 0; y < height; ++y) {
      WmfBytes row = rows.subspan(static_cast<std::size_t>(y) * bytes_per_row);
      for (std::int32_t x = 0; x < width; ++x) {
        bool one = (row[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
        image->pixels[static_cast<std::size_t>(y) * width + x] = one ? kWmfMonoOne : kWmfMonoZero;
      }
    }
  } else if (mono) {
    data.wmf.partial = true;  // rows missing or absurd sizes
  }
  create_pattern_brush(std::move(image), data);
}
