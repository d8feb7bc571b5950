// DR2D reading and drawing on a generated drawing of polygons of 20 points in
// nested groups: reading at two sizes (its time per byte should not grow),
// from memory and from a file, and drawing against the same cairo calls
// issued directly from flat arrays.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "app/cairo_handles.h"
#include "app/renderer_data.h"
#include "dr2d/dr2d_draw.h"
#include "dr2d/dr2d_read.h"
#include "tests/dr2d/dr2d_writer.h"

namespace {

using namespace dr2dw;

constexpr int kPointsPerPolygon = 20;
constexpr int kPolygonsPerGroup = 10;
constexpr int kGroupsPerBlock = 10;
constexpr float kSide = 1000;

// Polygon i: a 20-point star around a place that depends on i only.
std::vector<PointWords> star(int i) {
  const float cx = float((i * 37) % 1000), cy = float((i * 91) % 1000);
  const float radius = 3 + float(i % 7);
  std::vector<PointWords> points;
  for (int k = 0; k < kPointsPerPolygon; ++k) {
    const float angle = float(k) * 6.2831853f / kPointsPerPolygon;
    const float r = k % 2 ? radius : radius / 2;
    points.push_back(pt(cx + r * std::cos(angle), cy + r * std::sin(angle)));
  }
  return points;
}

Attr style(int group) {
  Attr a;
  a.fill_type = 1, a.fill_value = std::uint16_t(group % 16);
  a.dash_pattern = 1, a.edge_value = std::uint16_t((group + 5) % 16), a.edge_thickness = 0.5f;
  a.join_type = std::uint8_t(1 + group % 3);
  return a;
}

std::vector<Rgb> palette() {
  std::vector<Rgb> colours;
  for (int i = 0; i < 16; ++i) {
    colours.push_back({std::uint8_t(i * 16), std::uint8_t(255 - i * 12), std::uint8_t(i * 7)});
  }
  return colours;
}

// Blocks of 10 groups of 10 polygons, each block a group itself: three levels.
Bytes generate(int polygons) {
  std::vector<Bytes> blocks;
  int i = 0;
  for (int group = 0; i < polygons; ++group) {
    std::vector<Bytes> groups;
    for (int g = 0; g < kGroupsPerBlock && i < polygons; ++g) {
      std::vector<Bytes> contents{attr(style(group * kGroupsPerBlock + g))};
      for (int p = 0; p < kPolygonsPerGroup && i < polygons; ++p)
        contents.push_back(cply(star(i++)));
      groups.push_back(grup_form(contents));
    }
    blocks.push_back(grup_form(groups));
  }
  return drawing(kSide, kSide, palette(), blocks);
}

const Bytes& drawing_of(int polygons) {
  static std::map<int, Bytes> cache;
  auto found = cache.find(polygons);
  if (found == cache.end()) found = cache.emplace(polygons, generate(polygons)).first;
  return found->second;
}

void BM_Dr2dReadMemory(benchmark::State& state) {
  const Bytes& file = drawing_of(int(state.range(0)));
  for (auto _ : state) {
    std::unique_ptr<Dr2dDrawing> drawing;
    if (read_dr2d_memory(file.data(), file.size(), drawing) != IffStatus::Ok) {
      state.SkipWithError("read failed");
      return;
    }
    benchmark::DoNotOptimize(drawing.get());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(file.size()));
  state.counters["file_MB"] = double(file.size()) / 1e6;
}
BENCHMARK(BM_Dr2dReadMemory)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);

void BM_Dr2dReadFile(benchmark::State& state) {
  const Bytes& file = drawing_of(int(state.range(0)));
  std::FILE* stream = std::tmpfile();
  std::fwrite(file.data(), 1, file.size(), stream);
  for (auto _ : state) {
    std::rewind(stream);
    std::unique_ptr<Dr2dDrawing> drawing;
    if (read_dr2d_stream(stream, drawing) != IffStatus::Ok) {
      state.SkipWithError("read failed");
      break;
    }
  }
  std::fclose(stream);
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(file.size()));
}
BENCHMARK(BM_Dr2dReadFile)->Arg(100000)->Unit(benchmark::kMillisecond);

constexpr int kWidth = 640, kHeight = 480;

struct Target {
  CairoSurfacePtr surface{cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight)};
  CairoContextPtr cr{cairo_create(surface.get())};
};

void BM_Dr2dDraw(benchmark::State& state) {
  const Bytes& file = drawing_of(int(state.range(0)));
  std::unique_ptr<Dr2dDrawing> drawing;
  read_dr2d_memory(file.data(), file.size(), drawing);
  Target target;
  RendererData data;
  data.target = target.cr.get();
  data.width = kWidth;
  data.height = kHeight;
  for (auto _ : state) {
    if (render_dr2d_drawing(*drawing, data) != RenderStatus::Ok) {
      state.SkipWithError("draw failed");
      break;
    }
    cairo_surface_flush(target.surface.get());
  }
}
BENCHMARK(BM_Dr2dDraw)->Arg(100000)->Unit(benchmark::kMillisecond);

// The calls the renderer makes, from flat arrays prepared beforehand.
struct FlatPolygon {
  std::vector<double> xy;
  double fill[3], edge[3];
  double width;
  cairo_line_join_t join;
};

void BM_CairoDirect(benchmark::State& state) {
  const int polygons = int(state.range(0));
  const std::vector<Rgb> colours = palette();
  std::vector<FlatPolygon> flat;
  for (int i = 0; i < polygons; ++i) {
    const Attr a = style(i / kPolygonsPerGroup);
    FlatPolygon f;
    for (const PointWords& p : star(i)) {
      f.xy.push_back(fixed_from_ieee_bits(p.x));
      f.xy.push_back(fixed_from_ieee_bits(p.y));
    }
    const Rgb fill = colours[a.fill_value], edge = colours[a.edge_value];
    f.fill[0] = fill.r / 255.0, f.fill[1] = fill.g / 255.0, f.fill[2] = fill.b / 255.0;
    f.edge[0] = edge.r / 255.0, f.edge[1] = edge.g / 255.0, f.edge[2] = edge.b / 255.0;
    f.width = 512;
    const cairo_line_join_t joins[] = {CAIRO_LINE_JOIN_MITER, CAIRO_LINE_JOIN_BEVEL,
                                       CAIRO_LINE_JOIN_ROUND};
    f.join = joins[a.join_type - 1];
    flat.push_back(std::move(f));
  }
  Target target;
  cairo_t* cr = target.cr.get();
  const double doc = kSide * 1024.0;
  for (auto _ : state) {
    cairo_save(cr);
    cairo_scale(cr, kWidth / doc, kHeight / doc);
    cairo_translate(cr, 0, 0);
    for (const FlatPolygon& f : flat) {
      cairo_move_to(cr, f.xy[0], f.xy[1]);
      for (std::size_t k = 2; k < f.xy.size(); k += 2) cairo_line_to(cr, f.xy[k], f.xy[k + 1]);
      cairo_close_path(cr);
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
      cairo_save(cr);
      cairo_set_source_rgb(cr, f.fill[0], f.fill[1], f.fill[2]);
      cairo_fill_preserve(cr);
      cairo_restore(cr);
      cairo_set_dash(cr, nullptr, 0, 0.0);
      cairo_set_line_width(cr, f.width);
      cairo_set_line_join(cr, f.join);
      cairo_set_source_rgb(cr, f.edge[0], f.edge[1], f.edge[2]);
      cairo_stroke(cr);
    }
    cairo_new_path(cr);
    cairo_restore(cr);
    cairo_surface_flush(target.surface.get());
  }
}
BENCHMARK(BM_CairoDirect)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
