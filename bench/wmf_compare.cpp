// Compares a reference rendering with ours for the WMF fidelity script.
//
//   wmf_compare REFERENCE.png OURS.png SIDE_BY_SIDE.png [TOLERANCE]
//
// Both images are composited on white at the reference's size (ours is scaled to it; a missing
// or unreadable OURS counts as a blank page) and smoothed by a 3x3 mean, so that antialiased and
// aliased edges of the same shape compare equal. A pixel agrees when its colour in each image is
// within TOLERANCE (per channel, 0-255, default 48) of the other image's colour at the same place
// or at one of its 8 neighbours, which absorbs antialiasing and one-pixel rounding differences.
// "ink" pixels are those that are not near-white in either image; their share of agreement is the
// stricter figure for sparse drawings. Ours is placed either frame onto frame or by the boxes
// around the ink of both (libwmf frames the drawn extents, not the file's bounding box), and the
// better placement counts. Prints one line:
//   all=PERCENT ink=PERCENT ref=WxH ours=WxH align=frame|ink
// The side-by-side image shows reference | ours | differences (red: ink only in the reference,
// blue: ink only in ours, orange: different colours, grey: agreeing ink).
#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/cairo_handles.h"

namespace {

struct Rgb {
  int r = 255, g = 255, b = 255;
};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> px;
  const Rgb& at(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x]; }
};

CairoSurfacePtr load_png(const char* path) {
  CairoSurfacePtr s(cairo_image_surface_create_from_png(path));
  if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  return s;
}

struct Placement {
  double sx = 1, sy = 1, tx = 0, ty = 0;
};

// `source` (may be null) drawn on white into width x height, placed by `at`.
Picture flatten(cairo_surface_t* source, int width, int height, const Placement& at) {
  CairoSurfacePtr canvas(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  CairoContextPtr cr(cairo_create(canvas.get()));
  cairo_set_source_rgb(cr.get(), 1, 1, 1);
  cairo_paint(cr.get());
  if (source != nullptr) {
    cairo_translate(cr.get(), at.tx, at.ty);
    cairo_scale(cr.get(), at.sx, at.sy);
    cairo_set_source_surface(cr.get(), source, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_GOOD);
    cairo_paint(cr.get());
  }
  cairo_surface_flush(canvas.get());
  Picture p{width, height, std::vector<Rgb>(static_cast<std::size_t>(width) * height)};
  const unsigned char* data = cairo_image_surface_get_data(canvas.get());
  const int stride = cairo_image_surface_get_stride(canvas.get());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t v;
      std::copy_n(data + static_cast<std::size_t>(y) * stride + 4 * x, 4,
                  reinterpret_cast<unsigned char*>(&v));
      p.px[static_cast<std::size_t>(y) * width + x] =
          Rgb{static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
              static_cast<int>(v & 0xFF)};
    }
  }
  return p;
}

bool close(const Rgb& a, const Rgb& b, int tol) {
  return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol;
}

bool near_white(const Rgb& c) { return c.r > 230 && c.g > 230 && c.b > 230; }

bool matches_nearby(const Rgb& c, const Picture& other, int x, int y, int tol) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int nx = x + dx;
      const int ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= other.width || ny >= other.height) continue;
      if (close(c, other.at(nx, ny), tol)) return true;
    }
  }
  return false;
}

void put(unsigned char* data, int stride, int x, int y, const Rgb& c) {
  const std::uint32_t v = 0xFF000000u | (static_cast<std::uint32_t>(c.r) << 16) |
                          (static_cast<std::uint32_t>(c.g) << 8) | static_cast<std::uint32_t>(c.b);
  std::copy_n(reinterpret_cast<const unsigned char*>(&v), 4,
              data + static_cast<std::size_t>(y) * stride + 4 * x);
}

// Mean of each pixel's 3x3 neighbourhood: antialiased edges (cairo) and aliased ones (libgd)
// then differ far less than a missing or misplaced shape does.
Picture smooth(const Picture& p) {
  Picture out = p;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      int r = 0, g = 0, b = 0, n = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= p.width || ny >= p.height) continue;
          const Rgb& c = p.at(nx, ny);
          r += c.r;
          g += c.g;
          b += c.b;
          ++n;
        }
      }
      out.px[static_cast<std::size_t>(y) * p.width + x] = Rgb{r / n, g / n, b / n};
    }
  }
  return out;
}

struct Box {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1, y1 exclusive; empty when x1 <= x0
  bool empty() const { return x1 <= x0 || y1 <= y0; }
};

Box ink_box(const Picture& p) {
  Box b{p.width, p.height, 0, 0};
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      if (near_white(p.at(x, y))) continue;
      b.x0 = std::min(b.x0, x);
      b.y0 = std::min(b.y0, y);
      b.x1 = std::max(b.x1, x + 1);
      b.y1 = std::max(b.y1, y + 1);
    }
  }
  return b;
}

struct Score {
  std::int64_t agree = 0, ink = 0, ink_agree = 0;
  double all_share(const Picture& p) const {
    return p.px.empty() ? 0.0
                        : 100.0 * static_cast<double>(agree) / static_cast<double>(p.px.size());
  }
  double ink_share() const { return ink > 0 ? 100.0 * ink_agree / ink : 100.0; }
};

bool pixel_agrees(const Picture& ref, const Picture& ours, int x, int y, int tol) {
  return matches_nearby(ref.at(x, y), ours, x, y, tol) &&
         matches_nearby(ours.at(x, y), ref, x, y, tol);
}

Score score(const Picture& ref, const Picture& ours, int tol) {
  Score s;
  for (int y = 0; y < ref.height; ++y) {
    for (int x = 0; x < ref.width; ++x) {
      const bool ok = pixel_agrees(ref, ours, x, y, tol);
      const bool inked = !near_white(ref.at(x, y)) || !near_white(ours.at(x, y));
      s.agree += ok;
      s.ink += inked;
      s.ink_agree += inked && ok;
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: wmf_compare REFERENCE.png OURS.png SIDE.png [TOLERANCE]\n");
    return 2;
  }
  const int tol = argc > 4 ? std::atoi(argv[4]) : 48;
  CairoSurfacePtr ref_png = load_png(argv[1]);
  if (!ref_png) {
    std::printf("all=na ink=na ref=none ours=none align=none\n");
    return 1;
  }
  CairoSurfacePtr ours_png = load_png(argv[2]);
  const int w = cairo_image_surface_get_width(ref_png.get());
  const int h = cairo_image_surface_get_height(ref_png.get());
  const Picture ref = flatten(ref_png.get(), w, h, Placement{});
  const Picture ref_smooth = smooth(ref);
  const int ow = ours_png ? cairo_image_surface_get_width(ours_png.get()) : 0;
  const int oh = ours_png ? cairo_image_surface_get_height(ours_png.get()) : 0;

  // Frame alignment: our whole picture onto the reference's. Ink alignment: the box around
  // our ink onto the box around the reference's, for readers that frame the drawn extents
  // rather than the file's bounding box. The better of the two is reported.
  Placement frame;
  if (ow > 0 && oh > 0) frame = Placement{static_cast<double>(w) / ow, static_cast<double>(h) / oh};
  Picture ours = flatten(ours_png.get(), w, h, frame);
  Picture ours_smooth = smooth(ours);
  Score best = score(ref_smooth, ours_smooth, tol);
  const char* align = "frame";
  const Box ref_box = ink_box(ref);
  const Box our_box = ours_png ? ink_box(flatten(ours_png.get(), ow, oh, Placement{})) : Box{};
  if (!ref_box.empty() && !our_box.empty()) {
    // Both readers keep the aspect ratio, so a uniform scale is tried from each axis as well
    // as the one that maps the boxes exactly; the boxes' centres coincide.
    const double sx = static_cast<double>(ref_box.x1 - ref_box.x0) / (our_box.x1 - our_box.x0);
    const double sy = static_cast<double>(ref_box.y1 - ref_box.y0) / (our_box.y1 - our_box.y0);
    const double scales[3][2] = {{sx, sy}, {sx, sx}, {sy, sy}};
    for (const auto& scale : scales) {
      Placement ink;
      ink.sx = scale[0];
      ink.sy = scale[1];
      ink.tx = (ref_box.x0 + ref_box.x1) / 2.0 - (our_box.x0 + our_box.x1) / 2.0 * ink.sx;
      ink.ty = (ref_box.y0 + ref_box.y1) / 2.0 - (our_box.y0 + our_box.y1) / 2.0 * ink.sy;
      Picture moved = flatten(ours_png.get(), w, h, ink);
      Picture moved_smooth = smooth(moved);
      const Score s = score(ref_smooth, moved_smooth, tol);
      if (s.agree > best.agree) {
        best = s;
        ours = std::move(moved);
        ours_smooth = std::move(moved_smooth);
        align = "ink";
      }
    }
  }

  const int gap = 4;
  CairoSurfacePtr side(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 3 * w + 2 * gap, h));
  cairo_surface_flush(side.get());
  unsigned char* out = cairo_image_surface_get_data(side.get());
  const int stride = cairo_image_surface_get_stride(side.get());
  std::fill_n(out, static_cast<std::size_t>(stride) * h, 0x80);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const Rgb& a = ref.at(x, y);
      const Rgb& b = ours.at(x, y);
      Rgb mark{255, 255, 255};
      const Rgb& sa = ref_smooth.at(x, y);
      const Rgb& sb = ours_smooth.at(x, y);
      if (pixel_agrees(ref_smooth, ours_smooth, x, y, tol)) {
        if (!near_white(sa) || !near_white(sb)) mark = Rgb{200, 200, 200};
      } else if (near_white(sb)) {
        mark = Rgb{230, 0, 0};
      } else if (near_white(sa)) {
        mark = Rgb{0, 0, 230};
      } else {
        mark = Rgb{255, 150, 0};
      }
      put(out, stride, x, y, a);
      put(out, stride, w + gap + x, y, b);
      put(out, stride, 2 * (w + gap) + x, y, mark);
    }
  }
  cairo_surface_mark_dirty(side.get());
  cairo_surface_write_to_png(side.get(), argv[3]);

  std::printf("all=%.2f ink=%.2f ref=%dx%d ours=%dx%d align=%s\n", best.all_share(ref),
              best.ink_share(), w, h, ow, oh, align);
  return 0;
}
