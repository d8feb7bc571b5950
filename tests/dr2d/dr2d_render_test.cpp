#include "dr2d/dr2d_render.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/cairo_handles.h"
#include "dr2d/dr2d_draw.h"
#include "dr2d/dr2d_read.h"
#include "tests/dr2d/dr2d_writer.h"

namespace {

using namespace dr2dw;

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

struct Canvas {
  CairoSurfacePtr surface;
  CairoContextPtr cr;
  RendererData data;

  explicit Canvas(int width = 64, int height = 64)
      : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
        cr(cairo_create(surface.get())) {
    data.target = cr.get();
    data.width = width;
    data.height = height;
  }
  // 0xAARRGGBB, premultiplied.
  std::uint32_t pixel(int x, int y) const {
    cairo_surface_flush(surface.get());
    const unsigned char* row = cairo_image_surface_get_data(surface.get()) +
                               y * cairo_image_surface_get_stride(surface.get());
    return reinterpret_cast<const std::uint32_t*>(row)[x];
  }
  std::uint8_t alpha(int x, int y) const { return pixel(x, y) >> 24; }
  bool blank() const {
    for (int y = 0; y < cairo_image_surface_get_height(surface.get()); ++y) {
      for (int x = 0; x < cairo_image_surface_get_width(surface.get()); ++x) {
        if (pixel(x, y) != 0) return false;
      }
    }
    return true;
  }
  RenderStatus draw(const Bytes& file) {
    std::unique_ptr<Dr2dDrawing> drawing;
    IffStatus status = read_dr2d_memory(file.data(), file.size(), drawing);
    EXPECT_EQ(status, IffStatus::Ok);
    if (status != IffStatus::Ok) return RenderStatus::Malformed;
    return render_dr2d_drawing(*drawing, data);
  }
};

constexpr std::uint32_t kOpaqueRed = 0xFFFF0000, kOpaqueGreen = 0xFF00FF00,
                        kOpaqueBlue = 0xFF0000FF, kOpaqueBlack = 0xFF000000;

Attr filled(std::uint16_t colour, std::uint16_t layer = 0) {
  Attr a;
  a.fill_type = 1, a.fill_value = colour, a.layer = layer;
  return a;
}
Attr outlined(std::uint16_t colour, float thickness, std::uint8_t join = 1) {
  Attr a;
  a.fill_type = 0, a.dash_pattern = 1, a.edge_value = colour, a.edge_thickness = thickness;
  a.join_type = join;
  return a;
}

TEST(Dr2dRender, DrawsVisibleLayersInLayerOrder) {
  Canvas canvas;
  Bytes file = form("DR2D", {drhd(0, 0, 64, 64), cmap({kRed, kGreen, kBlue}), layr(0, kVisible),
                             layr(1, kVisible | 1), layr(2, 1), attr(filled(1, 1)),
                             rect(10, 10, 40, 40),                      // layer 1, green
                             attr(filled(0, 0)), rect(20, 20, 50, 50),  // layer 0, red
                             attr(filled(2, 2)), rect(0, 0, 64, 64)});  // hidden, blue
  ASSERT_EQ(canvas.draw(file), RenderStatus::Ok);
  EXPECT_EQ(canvas.pixel(30, 30), kOpaqueGreen);  // layer 1 over layer 0 despite file order
  EXPECT_EQ(canvas.pixel(45, 45), kOpaqueRed);
  EXPECT_EQ(canvas.pixel(15, 15), kOpaqueGreen);
  EXPECT_EQ(canvas.pixel(5, 5), 0u);
  EXPECT_EQ(canvas.pixel(60, 60), 0u);
}

TEST(Dr2dRender, FillsAndOutlinesAlongTheSamePath) {
  Canvas canvas;
  Attr both = filled(0);
  both.dash_pattern = 2, both.edge_value = 2, both.edge_thickness = 4;
  ASSERT_EQ(canvas.draw(drawing(64, 64, {kRed, kGreen, kBlue},
                                {attr(both), rect(16, 16, 48, 48),
                                 grup_form({xtrn_form("App", {rect(1, 1, 13, 13)})})})),
            RenderStatus::Ok);
  EXPECT_EQ(canvas.pixel(32, 32), kOpaqueRed);   // fill
  EXPECT_EQ(canvas.pixel(16, 32), kOpaqueBlue);  // outline centred on the edge
  EXPECT_EQ(canvas.pixel(14, 32), kOpaqueBlue);
  EXPECT_EQ(canvas.pixel(7, 7), kOpaqueRed);  // inside a group and an external object
  EXPECT_EQ(canvas.pixel(11, 32), 0u);
}

TEST(Dr2dRender, StrokesSolidLinesAtTheirThicknessAndNeverFillsOpenPolygons) {
  Canvas canvas;
  Attr dashed = outlined(1, 4);
  dashed.dash_pattern = 5, dashed.fill_type = 1;
  Attr hairline = outlined(1, 0);
  ASSERT_EQ(canvas.draw(drawing(64, 64, {kRed, kGreen},
                                {dash(5, {1, 3}), attr(dashed),
                                 oply({pt(8, 32), pt(56, 32), pt(32, 60), pt(8, 32)}),
                                 attr(hairline), oply({pt(8, 8), pt(56, 8)})})),
            RenderStatus::Ok);
  for (int x = 10; x < 54; ++x) ASSERT_EQ(canvas.pixel(x, 31), kOpaqueGreen) << x;
  EXPECT_EQ(canvas.pixel(32, 30), kOpaqueGreen);
  EXPECT_EQ(canvas.pixel(32, 33), kOpaqueGreen);
  EXPECT_EQ(canvas.pixel(32, 28), 0u);
  EXPECT_EQ(canvas.pixel(32, 45), 0u);  // inside the open outline
  // Thickness 0 strokes 1/1024 of a unit: a trace, not a line.
  EXPECT_LT(canvas.alpha(32, 7), 4);
}

TEST(Dr2dRender, SetsJoinsAndKeepsThemForUnknownCodes) {
  // A thick V with its apex at (32, 16): a miter reaches above y = 13, a
  // round or bevel join does not.
  const std::vector<PointWords> v{pt(16, 40), pt(32, 16), pt(48, 40)};
  struct Case {
    std::vector<std::uint8_t> joins;  // one V per join code, drawn in order
    bool tip_painted;
  };
  const Case cases[] = {{{1}, true},     {{2}, false},   {{3}, false},
                        {{3, 0}, false}, {{2, 1}, true}, {{3, 7}, false}};
  for (const Case& c : cases) {
    Canvas canvas;
    std::vector<Bytes> parts;
    for (std::uint8_t join : c.joins) {
      parts.push_back(attr(outlined(0, 6, join)));
      parts.push_back(oply(v));
    }
    ASSERT_EQ(canvas.draw(drawing(64, 64, {kRed}, parts)), RenderStatus::Ok);
    EXPECT_EQ(canvas.alpha(32, 12) > 200, c.tip_painted) << int(c.joins.back());
    EXPECT_EQ(canvas.pixel(32, 17), kOpaqueRed);
  }
}

TEST(Dr2dRender, MapsTheHeaderBoxOntoTheTarget) {
  struct Case {
    const char* name;
    float left, top, right, bottom;
  };
  const Case cases[] = {
      {"offset box", 100, 100, 200, 300},
      {"y growing upward", 100, 300, 200, 100},
      {"x growing leftward", 200, 100, 100, 300},
      {"negative coordinates", -50, -20, -10, -5},
  };
  for (const Case& c : cases) {
    // A square over the quarter of the box at its (left, top) corner.
    const float w = c.right - c.left, h = c.bottom - c.top;
    Canvas canvas;
    Bytes file =
        form("DR2D", {drhd(c.left, c.top, c.right, c.bottom), cmap({kRed}), layr(0, kVisible),
                      attr(filled(0)), rect(c.left, c.top, c.left + w / 2, c.top + h / 2)});
    ASSERT_EQ(canvas.draw(file), RenderStatus::Ok) << c.name;
    EXPECT_EQ(canvas.pixel(1, 1), kOpaqueRed) << c.name;
    EXPECT_EQ(canvas.pixel(30, 30), kOpaqueRed) << c.name;
    EXPECT_EQ(canvas.pixel(34, 34), 0u) << c.name;
    EXPECT_EQ(canvas.pixel(62, 62), 0u) << c.name;
  }
}

TEST(Dr2dRender, FillsSubPolygonsEvenOdd) {
  Canvas canvas;
  // Both outlines run the same way: a winding fill would paint the hole.
  Bytes ring = cply({pt(8, 8), pt(56, 8), pt(56, 56), pt(8, 56), indicator(2), pt(24, 24),
                     pt(40, 24), pt(40, 40), pt(24, 40)});
  ASSERT_EQ(canvas.draw(drawing(64, 64, {kRed}, {attr(filled(0)), ring})), RenderStatus::Ok);
  EXPECT_EQ(canvas.pixel(12, 12), kOpaqueRed);
  EXPECT_EQ(canvas.pixel(32, 32), 0u);
}

TEST(Dr2dRender, AnUnpaintedPathJoinsTheNextPaintedObject) {
  Canvas canvas;
  Attr nothing;
  nothing.fill_type = 0, nothing.dash_pattern = 0;
  ASSERT_EQ(canvas.draw(drawing(64, 64, {kRed},
                                {attr(nothing), rect(8, 8, 24, 24), attr(outlined(0, 2)),
                                 oply({pt(40, 40), pt(56, 40)})})),
            RenderStatus::Ok);
  EXPECT_EQ(canvas.pixel(8, 16), kOpaqueRed);  // the first square's edge
  EXPECT_EQ(canvas.pixel(48, 40), kOpaqueRed);
  // Nothing of it is left to the caller: no path, the matrix as it was.
  EXPECT_FALSE(cairo_has_current_point(canvas.cr.get()));
  cairo_matrix_t matrix;
  cairo_get_matrix(canvas.cr.get(), &matrix);
  EXPECT_EQ(matrix.xx, 1.0);
  EXPECT_EQ(matrix.yy, 1.0);
  EXPECT_EQ(matrix.x0, 0.0);
  EXPECT_EQ(cairo_get_fill_rule(canvas.cr.get()), CAIRO_FILL_RULE_WINDING);
}

TEST(Dr2dRender, PaintsUnknownColourIndicesBlack) {
  Canvas with_map, without_map;
  ASSERT_EQ(with_map.draw(drawing(64, 64, {kRed}, {attr(filled(1)), rect(0, 0, 64, 64)})),
            RenderStatus::Ok);
  ASSERT_EQ(without_map.draw(form("DR2D", {drhd(0, 0, 64, 64), layr(0, kVisible), attr(filled(0)),
                                           rect(0, 0, 64, 64)})),
            RenderStatus::Ok);
  EXPECT_EQ(with_map.pixel(32, 32), kOpaqueBlack);
  EXPECT_EQ(without_map.pixel(32, 32), kOpaqueBlack);
}

TEST(Dr2dRender, DrawsNothingForAnEmptyBoxOrTarget) {
  const Bytes square = rect(0, 0, 64, 64);
  struct Case {
    const char* name;
    Bytes file;
    int width, height;
  };
  const Case cases[] = {
      {"box without width",
       form("DR2D", {drhd(5, 0, 5, 64), layr(0, kVisible), attr(filled(0)), square}), 64, 64},
      {"box without height",
       form("DR2D", {drhd(0, 3, 64, 3), layr(0, kVisible), attr(filled(0)), square}), 64, 64},
      {"target without size", drawing(64, 64, {kRed}, {attr(filled(0)), square}), 0, 64},
      {"only layer hidden", form("DR2D", {drhd(0, 0, 64, 64), layr(0, 0), attr(filled(0)), square}),
       64, 64},
      {"text and bitmaps only",
       drawing(64, 64, {kRed},
               {attr(filled(0)), stxt(0, 5, 5, "text"), vbm("a.iff", 5),
                tpth(0, "path", {pt(0, 0), pt(64, 64)})}),
       64, 64},
  };
  for (const Case& c : cases) {
    Canvas canvas;
    canvas.data.width = c.width, canvas.data.height = c.height;
    EXPECT_EQ(canvas.draw(c.file), RenderStatus::Ok) << c.name;
    EXPECT_TRUE(canvas.blank()) << c.name;
    EXPECT_EQ(cairo_status(canvas.cr.get()), CAIRO_STATUS_SUCCESS) << c.name;
  }
}

// The path a polygon builds, with drawing units for coordinates.
std::string path_of(const std::vector<PointWords>& words, bool closed) {
  Bytes file = drawing(1, 1, {}, {polygon(closed ? "CPLY" : "OPLY", words)});
  std::unique_ptr<Dr2dDrawing> drawing;
  EXPECT_EQ(read_dr2d_memory(file.data(), file.size(), drawing), IffStatus::Ok);
  const auto& points = std::get<Dr2dPolygon>(drawing->layer_objects[0][0].data).points;
  Canvas canvas;
  Dr2dAttributes paint_nothing;
  draw_dr2d_polygon(points.data(), points.size(), closed, *drawing, paint_nothing, canvas.data);
  CairoPathPtr path(cairo_copy_path(canvas.cr.get()));
  std::ostringstream out;
  for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
    const cairo_path_data_t* d = &path->data[i];
    const char* op[] = {"M", "L", "C", "Z"};
    out << (out.tellp() ? " " : "") << op[d->header.type];
    for (int p = 1; p < d->header.length; ++p) {
      out << " " << d[p].point.x / 1024 << "," << d[p].point.y / 1024;
    }
  }
  return out.str();
}

TEST(Dr2dRender, BuildsPolygonPaths) {
  const PointWords a = pt(1, 1), b = pt(2, 1), c = pt(2, 2), d = pt(1, 2), e = pt(3, 3),
                   f = pt(4, 4);
  struct Case {
    const char* name;
    std::vector<PointWords> points;
    bool closed;
    std::string path;
  };
  const Case cases[] = {
      {"closed", {a, b, c}, true, "M 1,1 L 2,1 L 2,2 Z M 1,1"},
      {"open sub-polygons", {a, b, indicator(2), c, d}, false, "M 1,1 L 2,1 M 2,2 L 1,2"},
      {"closed sub-polygons",
       {a, b, indicator(2), c, d},
       true,
       "M 1,1 L 2,1 Z M 2,2 L 1,2 Z M 2,2"},
      {"curve continuing the outline",
       {a, indicator(1), b, c, d, e},
       false,
       "M 1,1 L 2,1 C 2,2 1,2 3,3"},
      {"new sub-polygon starting with a curve",
       {a, b, indicator(3), c, d, e, f},
       true,
       "M 1,1 L 2,1 Z M 2,2 C 1,2 3,3 4,4 Z M 2,2"},
      {"curve short of points", {a, b, indicator(1), c, d, e}, false, "M 1,1 L 2,1"},
      {"curve short of points, closed", {a, b, indicator(1), c}, true, "M 1,1 L 2,1 Z M 1,1"},
      {"indicator among the curve's points",
       {a, indicator(1), b, indicator(0), c, d, e},
       false,
       "M 1,1"},
      {"indicator without flags", {a, indicator(0), b}, false, "M 1,1 L 2,1"},
      {"nothing but an indicator", {indicator(3)}, true, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(path_of(c.points, c.closed), c.path) << c.name;
}

struct TempFile {
  std::filesystem::path path;
  explicit TempFile(const Bytes& bytes) {
    static int counter = 0;
    path = std::filesystem::temp_directory_path() /
           ("dr2d_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".dr2d");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  ~TempFile() { std::filesystem::remove(path); }
};

TEST(Dr2dRenderFile, ReportsFilesItCannotDraw) {
  TempFile good(drawing(64, 64, {kRed}, {attr(filled(0)), rect(0, 0, 32, 32)}));
  TempFile malformed(form("DR2D", {drhd(0, 0, 64, 64), attr(filled(0)), rect(0, 0, 32, 32)}));
  const std::string missing = "/nonexistent/dir/none.dr2d";

  Canvas canvas;
  int read_status = 99;
  EXPECT_EQ(render_dr2d_file_with_status(missing, canvas.data, read_status),
            RenderStatus::Unreadable);
  EXPECT_EQ(render_dr2d_file_with_status(malformed.path, canvas.data, read_status),
            RenderStatus::Malformed);
  EXPECT_EQ(read_status, -8);
  EXPECT_EQ(dr2d_read_status_name(read_status), "malformed IFF data");
  EXPECT_EQ(dr2d_read_failure_message(malformed.path), "DR2D reader status -8: malformed IFF data");
  EXPECT_TRUE(canvas.blank());

  EXPECT_EQ(render_dr2d_file(good.path, canvas.data), RenderStatus::Ok);
  EXPECT_EQ(canvas.pixel(10, 10), kOpaqueRed);
  EXPECT_EQ(canvas.pixel(40, 40), 0u);
  EXPECT_EQ(dr2d_read_failure_message(good.path), "");

  double width = 0, height = 0;
  EXPECT_EQ(dr2d_document_size(good.path, width, height), RenderStatus::Ok);
  EXPECT_EQ(width, 64 * 1024.0);
  EXPECT_EQ(height, 64 * 1024.0);
  EXPECT_EQ(dr2d_document_size(malformed.path, width, height), RenderStatus::Malformed);
}

TEST(Dr2dRenderFile, RendersInParallel) {
  std::vector<Bytes> parts;
  for (int i = 0; i < 200; ++i) {
    Attr a = filled(std::uint16_t(i % 3));
    parts.push_back(attr(a));
    parts.push_back(grup_form({rect(float(i % 60), float(i / 4), float(i % 60 + 5), 60)}));
  }
  TempFile file(drawing(64, 64, {kRed, kGreen, kBlue}, parts));
  Canvas reference;
  ASSERT_EQ(render_dr2d_file(file.path, reference.data), RenderStatus::Ok);
  const std::size_t bytes =
      std::size_t(cairo_image_surface_get_stride(reference.surface.get())) * 64;
  const unsigned char* expected = cairo_image_surface_get_data(reference.surface.get());

  std::vector<std::thread> threads;
  std::vector<int> same(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 5; ++round) {
        Canvas canvas;
        if (render_dr2d_file(file.path, canvas.data) != RenderStatus::Ok) return;
        cairo_surface_flush(canvas.surface.get());
        if (std::memcmp(cairo_image_surface_get_data(canvas.surface.get()), expected, bytes) != 0) {
          return;
        }
      }
      same[t] = 1;
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(same, (std::vector<int>{1, 1, 1, 1}));
}

}  // namespace
