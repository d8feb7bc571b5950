#pragma once
// Bitmap records: the block transfers with a device-dependent bitmap, and the
// conversion of their true-colour pixels into cairo's image layout.

#include <cstdint>
#include <vector>

#include "app/renderer_data.h"
#include "wmf/wmf_read.h"

// Largest bitmap drawn, per side and in total; larger ones are skipped.
inline constexpr std::int64_t kWmfBitmapMaxSide = 16384;
inline constexpr std::int64_t kWmfBitmapMaxPixels = std::int64_t{64} * 1024 * 1024;

// Results of wmf_dib_to_rgba.
inline constexpr int kWmfDibDone = 0;
inline constexpr int kWmfDibEmpty = 1;        // zero width, height, depth or data
inline constexpr int kWmfDibNoMemory = 4;     // or beyond the size limits
inline constexpr int kWmfDibTooShort = 5;     // fewer pixel bytes than the rows need
inline constexpr int kWmfDibUnsupported = 7;  // not 16, 24 or 32 bits per pixel

// Converts 16-, 24- or 32-bit pixel rows (each padded to 4 bytes) into
// premultiplied native-endian ARGB32 words, top row first. A positive height
// stores the rows bottom-up, a negative one top-down. 16 and 24 bits are
// opaque; 32 bits carry alpha, unless every alpha byte is zero, which means
// the fourth byte is unused and the image is opaque.
int wmf_dib_to_rgba(WmfBytes pixels, std::int32_t width, std::int32_t height,
                    std::int32_t bits_per_pixel, std::vector<std::uint32_t>& out);

// Paints `argb` (width x height, top row first) into the drawing-space
// rectangle from (x1, y1) to (x2, y2), scaled to it.
void wmf_paint_image(cairo_t* target, const std::vector<std::uint32_t>& argb, std::int32_t width,
                     std::int32_t height, double x1, double y1, double x2, double y2,
                     cairo_operator_t op = CAIRO_OPERATOR_OVER);

// How a block transfer combines its image with what is drawn.
cairo_operator_t wmf_raster_operator(std::uint32_t raster_op);

void wmf_bitmap_bitblt(WmfBytes record, RendererData& data);
// DIBBITBLT, DIBSTRETCHBLT, STRETCHDIB and SETDIBTODEV.
void wmf_bitmap_dib(WmfBytes record, RendererData& data);
void wmf_bitmap_dibcreatepatternbrush(WmfBytes record, RendererData& data);
// CREATEPATTERNBRUSH with a device-dependent bitmap; monochrome ones are drawn.
void wmf_bitmap_createpatternbrush(WmfBytes record, RendererData& data);
void wmf_bitmap_stretchblt(WmfBytes record, RendererData& data);
