// The bundled sample is the generator's output, and it draws. Run with
// PLOTMIRA_WRITE_SAMPLE=1 to write samples/sample.dr2d anew.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/cairo_handles.h"
#include "dr2d/dr2d_draw.h"
#include "dr2d/dr2d_read.h"
#include "tests/dr2d/sample_drawing.h"

namespace {

const std::string kSamplePath = PLOTMIRA_SOURCE_DIR "/samples/sample.dr2d";

TEST(Dr2dSample, MatchesItsGeneratorAndDraws) {
  const dr2dw::Bytes generated = dr2dw::sample_drawing();
  if (std::getenv("PLOTMIRA_WRITE_SAMPLE")) {
    std::ofstream(kSamplePath, std::ios::binary)
        .write(reinterpret_cast<const char*>(generated.data()), std::streamsize(generated.size()));
  }
  std::ifstream in(kSamplePath, std::ios::binary);
  ASSERT_TRUE(in) << kSamplePath;
  const dr2dw::Bytes committed((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
  EXPECT_EQ(committed, generated);

  std::unique_ptr<Dr2dDrawing> drawing;
  ASSERT_EQ(read_dr2d_memory(committed.data(), committed.size(), drawing), IffStatus::Ok);
  CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, 300));
  CairoContextPtr cr(cairo_create(surface.get()));
  RendererData data;
  data.target = cr.get();
  data.width = 400, data.height = 300;
  ASSERT_EQ(render_dr2d_drawing(*drawing, data), RenderStatus::Ok);
  cairo_surface_flush(surface.get());
  if (const char* png = std::getenv("PLOTMIRA_SAMPLE_PNG"))
    cairo_surface_write_to_png(surface.get(), png);
  auto pixel = [&](int x, int y) {
    const unsigned char* row = cairo_image_surface_get_data(surface.get()) +
                               y * cairo_image_surface_get_stride(surface.get());
    return reinterpret_cast<const std::uint32_t*>(row)[x];
  };
  EXPECT_EQ(pixel(320, 60), 0xFFFFC83Cu);   // the sun
  EXPECT_EQ(pixel(10, 10), 0xFF8ECAE6u);    // sky: the hidden layer's cover is not drawn
  EXPECT_EQ(pixel(232, 194), 0xFF78AA6Eu);  // through a window of the wall: the far hill
  EXPECT_EQ(pixel(215, 220), 0xFFEBE1C8u);  // the wall
}

}  // namespace
