// Device-dependent bitmaps of the block-transfer records.
#include <gtest/gtest.h>

#include "tests/wmf/wmf_canvas.h"
#include "tests/wmf/wmf_writer.h"
#include "wmf/wmf_bitmap.h"

namespace {

TEST(WmfDibToRgba, PixelLayouts) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> pixels;
    int width, height, bits;
    int status;
    std::vector<std::uint32_t> expected;  // top row first
  } cases[] = {
      {"16 bits: white", {0xFF, 0x7F, 0, 0}, 1, 1, 16, kWmfDibDone, {0xFFF8F8F8}},
      {"16 bits: green", {0xE0, 0x03, 0, 0}, 1, 1, 16, kWmfDibDone, {0xFF00F800}},
      // Two pixels of 3 bytes, padded to 8; the first stored row is the bottom row.
      {"24 bits, bottom-up, padded rows",
       {0, 0, 255, 0, 255, 0, 9, 9, 255, 0, 0, 1, 2, 3, 9, 9},
       2,
       2,
       24,
       kWmfDibDone,
       {0xFF0000FF, 0xFF030201, 0xFFFF0000, 0xFF00FF00}},
      {"24 bits, top-down",
       {0, 0, 255, 0, 0, 255, 0, 0},
       1,
       -2,
       24,
       kWmfDibDone,
       {0xFFFF0000, 0xFF00FF00}},
      {"32 bits premultiplied", {0, 0, 255, 128}, 1, 1, 32, kWmfDibDone, {0x80800000}},
      {"32 bits without alpha is opaque", {10, 20, 30, 0}, 1, 1, 32, kWmfDibDone, {0xFF1E140A}},
      {"8 bits unsupported", {1, 2, 3, 4}, 1, 1, 8, kWmfDibUnsupported, {}},
      {"rows past the data", {1, 2, 3}, 1, 2, 24, kWmfDibTooShort, {}},
      {"zero width", {1, 2, 3, 4}, 0, 1, 24, kWmfDibEmpty, {}},
      {"absurd size", {1, 2, 3, 4}, 30000, 30000, 24, kWmfDibNoMemory, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint32_t> out;
    EXPECT_EQ(wmf_dib_to_rgba(c.pixels, c.width, c.height, c.bits, out), c.status) << c.name;
    EXPECT_EQ(out, c.expected) << c.name;
  }
}

// A STRETCHBLT with a 2 x 2 bitmap of `bits` per pixel into the destination
// rectangle (x, y, w, h).
std::vector<std::uint8_t> stretchblt(int bits, int x, int y, int w, int h,
                                     std::vector<std::uint8_t> pixels) {
  std::vector<std::uint8_t> p;
  WmfWriter::push32(p, 0x00CC0020);
  for (int v : {2, 2, 0, 0, h, w, y, x}) WmfWriter::push16(p, static_cast<std::uint16_t>(v));
  for (int v : {0, 2, 2, 2 * bits / 8}) WmfWriter::push16(p, static_cast<std::uint16_t>(v));
  p.push_back(1);
  p.push_back(static_cast<std::uint8_t>(bits));
  p.insert(p.end(), pixels.begin(), pixels.end());
  return WmfWriter(0, 0, 100, 100).brush(0, 0, 255, 0).raw(0x0B23, p).finish();
}

TEST(WmfBitmaps, TrueColourIsScaledIntoTheDestination) {
  // Bottom row red, blue; top row green, white. Rows padded to 8 bytes.
  std::vector<std::uint8_t> pixels = {0, 0, 255, 255, 0, 0, 0, 0, 0, 255, 0, 255, 255, 255, 0, 0};
  WmfCanvas canvas(100, 100);
  ASSERT_EQ(canvas.play(stretchblt(24, 20, 20, 60, 60, pixels)), RenderStatus::Ok);
  EXPECT_EQ(canvas.at(30, 70), 0xFFFF0000);  // bottom left
  EXPECT_EQ(canvas.at(70, 70), 0xFF0000FF);  // bottom right
  EXPECT_EQ(canvas.at(30, 30), 0xFF00FF00);  // top left
  EXPECT_EQ(canvas.at(70, 30), 0xFFFFFFFF);  // top right
  EXPECT_EQ(canvas.at(10, 10), kTransparent);
  EXPECT_EQ(canvas.at(90, 90), kTransparent);
}

TEST(WmfBitmaps, PaletteBitmapsPaintTheBrush) {
  WmfCanvas canvas(100, 100);
  ASSERT_EQ(canvas.play(stretchblt(8, 20, 20, 60, 60, {1, 2, 0, 0, 3, 4, 0, 0})), RenderStatus::Ok);
  EXPECT_EQ(canvas.at(50, 50), kGreen);
  EXPECT_EQ(canvas.at(10, 10), kTransparent);
}

TEST(WmfBitmaps, TruncatedPixelsDrawNothingAndMarkPartial) {
  WmfCanvas canvas(100, 100);
  EXPECT_EQ(canvas.play(stretchblt(24, 20, 20, 60, 60, {1, 2, 3})), RenderStatus::Partial);
  EXPECT_TRUE(canvas.ink().empty());
  EXPECT_EQ(cairo_status(canvas.cr()), CAIRO_STATUS_SUCCESS);
}

}  // namespace
