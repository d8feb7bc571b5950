#pragma once
// A small ARGB32 image to play metafiles into, and what reached it.

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "app/cairo_handles.h"
#include "app/renderer_data.h"
#include "wmf/wmf_play.h"

struct WmfInk {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
  bool empty() const { return right < left; }
};

class WmfCanvas {
 public:
  WmfCanvas(int width, int height)
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
        cr_(cairo_create(surface_.get())) {
    data.target = cr_.get();
    data.width = width;
    data.height = height;
  }

  RenderStatus play(const std::vector<std::uint8_t>& file) { return wmf_play(file, data); }

  cairo_t* cr() { return cr_.get(); }

  // The pixel as 0xAARRGGBB (premultiplied).
  std::uint32_t at(int x, int y) {
    cairo_surface_flush(surface_.get());
    const unsigned char* row = cairo_image_surface_get_data(surface_.get()) +
                               y * cairo_image_surface_get_stride(surface_.get());
    std::uint32_t v;
    std::memcpy(&v, row + 4 * x, 4);
    return v;
  }
  bool inked(int x, int y) { return (at(x, y) >> 24) != 0; }

  std::vector<std::uint32_t> pixels() {
    std::vector<std::uint32_t> all;
    int w = cairo_image_surface_get_width(surface_.get());
    int h = cairo_image_surface_get_height(surface_.get());
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) all.push_back(at(x, y));
    }
    return all;
  }

  // The box of every pixel with some alpha.
  WmfInk ink() {
    WmfInk box{cairo_image_surface_get_width(surface_.get()),
               cairo_image_surface_get_height(surface_.get()), -1, -1};
    int w = box.left, h = box.top;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (!inked(x, y)) continue;
        if (x < box.left) box.left = x;
        if (y < box.top) box.top = y;
        if (x > box.right) box.right = x;
        if (y > box.bottom) box.bottom = y;
      }
    }
    return box;
  }

  RendererData data;

 private:
  CairoSurfacePtr surface_;
  CairoContextPtr cr_;
};

inline constexpr std::uint32_t kOpaqueBlack = 0xFF000000;
inline constexpr std::uint32_t kTransparent = 0x00000000;
// 255 / 256 of full intensity, as colours reach cairo.
inline constexpr std::uint32_t kRed = 0xFFFE0000;
inline constexpr std::uint32_t kGreen = 0xFF00FE00;
inline constexpr std::uint32_t kBlue = 0xFF0000FE;
inline constexpr std::uint32_t kWhite = 0xFFFEFEFE;
