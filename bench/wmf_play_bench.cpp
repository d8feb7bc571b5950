// The metafile player against the same cairo calls made directly: a generated
// file of 200,000 polygon and text records played into a 1280 x 1024 image.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "app/cairo_handles.h"
#include "app/renderer_data.h"
#include "wmf/wmf_play.h"
#include "wmf/wmf_read.h"

namespace {

constexpr int kRecords = 200000;
constexpr int kWidth = 1280, kHeight = 1024;
// Logical units: ten to a pixel.
constexpr int kBoxWidth = 12800, kBoxHeight = 10240;

struct Shape {
  bool text = false;
  std::vector<std::pair<int, int>> points;
  std::string chars;
  int x = 0, y = 0;
  std::uint8_t r = 0, g = 0, b = 0;  // the brush or text colour
};

struct Scene {
  std::vector<Shape> shapes;
  std::vector<std::uint8_t> file;
};

void push16(std::vector<std::uint8_t>& v, int w) {
  v.push_back(static_cast<std::uint8_t>(w & 0xFF));
  v.push_back(static_cast<std::uint8_t>((w >> 8) & 0xFF));
}

void record(std::vector<std::uint8_t>& file, std::uint16_t function,
            const std::vector<std::uint8_t>& params) {
  std::uint32_t words = static_cast<std::uint32_t>(3 + params.size() / 2);
  push16(file, static_cast<int>(words & 0xFFFF));
  push16(file, static_cast<int>(words >> 16));
  push16(file, function);
  file.insert(file.end(), params.begin(), params.end());
}

Scene make_scene() {
  Scene scene;
  std::uint32_t seed = 12345;
  auto next = [&seed](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
  };
  std::vector<std::uint8_t>& f = scene.file;
  // Placeable header, standard header.
  for (int w : {0xCDD7, 0x9AC6, 0, 0, 0, kBoxWidth, kBoxHeight, 1440, 0, 0, 0}) push16(f, w);
  for (int w : {1, 9, 0x0300, 0, 0, 0, 0, 0, 0}) push16(f, w);
  // One pen (slot 0) and one font (slot 1) for everything; text without a background.
  record(f, 0x02FA, {0, 0, 10, 0, 0, 0, 20, 20, 20, 0});
  record(f, 0x012D, {0, 0});
  std::vector<std::uint8_t> font;
  for (int w : {-120, 0, 0, 0, 400}) push16(font, w);
  font.insert(font.end(), {0, 0, 0, 0, 0, 0, 0, 0});
  for (char c : std::string("DejaVu Sans")) font.push_back(static_cast<std::uint8_t>(c));
  font.push_back(0);
  record(f, 0x02FB, font);
  record(f, 0x012D, {1, 0});
  record(f, 0x0102, {1, 0});
  for (int i = 0; i < kRecords; ++i) {
    Shape s;
    s.text = i % 2 == 1;
    s.r = static_cast<std::uint8_t>(next(256));
    s.g = static_cast<std::uint8_t>(next(256));
    s.b = static_cast<std::uint8_t>(next(256));
    int cx = next(kBoxWidth), cy = next(kBoxHeight);
    if (s.text) {
      s.x = cx;
      s.y = cy;
      int length = 4 + next(6);
      for (int k = 0; k < length; ++k) s.chars.push_back(static_cast<char>('a' + next(26)));
      record(f, 0x0209, {s.r, s.g, s.b, 0});
      std::vector<std::uint8_t> p;
      push16(p, length);
      p.insert(p.end(), s.chars.begin(), s.chars.end());
      if (p.size() % 2) p.push_back(0);
      push16(p, s.y);
      push16(p, s.x);
      record(f, 0x0521, p);
    } else {
      int n = 3 + next(3);
      std::vector<std::uint8_t> p;
      push16(p, n);
      for (int k = 0; k < n; ++k) {
        int x = cx + next(400) - 200, y = cy + next(400) - 200;
        s.points.emplace_back(x, y);
        push16(p, x);
        push16(p, y);
      }
      // Each brush takes slot 2, is selected, used and deleted, as real files do.
      record(f, 0x02FC, {0, 0, s.r, s.g, s.b, 0, 0, 0});
      record(f, 0x012D, {2, 0});
      record(f, 0x0324, p);
      record(f, 0x01F0, {2, 0});
    }
    scene.shapes.push_back(std::move(s));
  }
  record(f, 0x0000, {});
  return scene;
}

const Scene& scene() {
  static const Scene s = make_scene();
  return s;
}

void BM_WmfPlayer(benchmark::State& state) {
  const Scene& s = scene();
  CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight));
  CairoContextPtr cr(cairo_create(surface.get()));
  RendererData data;
  data.target = cr.get();
  data.width = kWidth;
  data.height = kHeight;
  for (auto _ : state) {
    std::vector<std::uint8_t> buffer = s.file;  // as render_wmf_file reads it
    wmf_convert_byte_order(buffer);
    RenderStatus status = wmf_play(buffer, data);
    if (status != RenderStatus::Ok) state.SkipWithError("the generated file did not play whole");
    benchmark::DoNotOptimize(status);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

// The same drawing as direct cairo calls, in the order the player makes them.
void BM_DirectCairo(benchmark::State& state) {
  const Scene& s = scene();
  CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight));
  CairoContextPtr owner(cairo_create(surface.get()));
  cairo_t* cr = owner.get();
  const double sx = double(kWidth) / kBoxWidth, sy = double(kHeight) / kBoxHeight;
  for (auto _ : state) {
    cairo_save(cr);
    cairo_matrix_t device;
    cairo_get_matrix(cr, &device);
    cairo_scale(cr, sx, sy);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    for (const Shape& shape : s.shapes) {
      if (shape.text) {
        // Text hangs below its reference point: one baseline offset by the ascent.
        cairo_save(cr);
        cairo_new_path(cr);
        cairo_set_matrix(cr, &device);
        cairo_translate(cr, shape.x * sx, shape.y * sy);
        cairo_set_source_rgb(cr, shape.r / 256.0, shape.g / 256.0, shape.b / 256.0);
        cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                               CAIRO_FONT_WEIGHT_NORMAL);
        cairo_matrix_t font_matrix;
        cairo_matrix_init_scale(&font_matrix, 120 * sx, 120 * sy);
        cairo_set_font_matrix(cr, &font_matrix);
        cairo_font_extents_t font;
        cairo_font_extents(cr, &font);
        cairo_move_to(cr, 0, font.ascent);
        cairo_show_text(cr, shape.chars.c_str());
        cairo_new_path(cr);
        cairo_restore(cr);
        continue;
      }
      cairo_new_path(cr);
      bool first = true;
      for (auto [x, y] : shape.points) {
        if (first) {
          cairo_move_to(cr, x, y);
        } else {
          cairo_line_to(cr, x, y);
        }
        first = false;
      }
      cairo_close_path(cr);
      cairo_set_source_rgb(cr, shape.r / 256.0, shape.g / 256.0, shape.b / 256.0);
      cairo_fill_preserve(cr);
      cairo_save(cr);
      cairo_set_matrix(cr, &device);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_set_dash(cr, nullptr, 0, 0);
      cairo_set_source_rgb(cr, 20 / 256.0, 20 / 256.0, 20 / 256.0);
      cairo_set_line_width(cr, 10 * sx);
      // One-pixel outlines on pixel centres, as the player strokes them.
      cairo_path_t* path = cairo_copy_path(cr);
      cairo_new_path(cr);
      for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
        const cairo_path_data_t* d = &path->data[i];
        if (d->header.type == CAIRO_PATH_MOVE_TO) {
          cairo_move_to(cr, std::floor(d[1].point.x) + 0.5, std::floor(d[1].point.y) + 0.5);
        } else if (d->header.type == CAIRO_PATH_LINE_TO) {
          cairo_line_to(cr, std::floor(d[1].point.x) + 0.5, std::floor(d[1].point.y) + 0.5);
        } else if (d->header.type == CAIRO_PATH_CLOSE_PATH) {
          cairo_close_path(cr);
        }
      }
      cairo_stroke(cr);
      cairo_append_path(cr, path);
      cairo_path_destroy(path);
      cairo_restore(cr);
      cairo_new_path(cr);
    }
    cairo_new_path(cr);
    cairo_restore(cr);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

BENCHMARK(BM_WmfPlayer)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DirectCairo)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
