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

namespace {

// A device-independent bitmap: a 40-byte info header, the palette, the rows.
std::vector<std::uint8_t> dib(int width, int height, int bits, std::vector<std::uint32_t> palette,
                              std::vector<std::uint8_t> rows) {
  std::vector<std::uint8_t> d;
  WmfWriter::push32(d, 40);
  WmfWriter::push32(d, static_cast<std::uint32_t>(width));
  WmfWriter::push32(d, static_cast<std::uint32_t>(height));
  WmfWriter::push16(d, 1);
  WmfWriter::push16(d, static_cast<std::uint16_t>(bits));
  for (int i = 0; i < 6; ++i) WmfWriter::push32(d, i == 4 ? palette.size() : 0);
  for (std::uint32_t rgb : palette) WmfWriter::push32(d, rgb);  // blue, green, red, 0
  d.insert(d.end(), rows.begin(), rows.end());
  return d;
}

// STRETCHDIB of `bits` into (x, y, w, h), from the source rectangle (sx, sy, sw, sh).
std::vector<std::uint8_t> stretchdib(const std::vector<std::uint8_t>& bits, int x, int y, int w,
                                     int h, int sx, int sy, int sw, int sh,
                                     std::uint32_t rop = 0x00CC0020) {
  std::vector<std::uint8_t> p;
  WmfWriter::push32(p, rop);
  for (int v : {0, sh, sw, sy, sx, h, w, y, x}) WmfWriter::push16(p, static_cast<std::uint16_t>(v));
  p.insert(p.end(), bits.begin(), bits.end());
  return p;
}

constexpr std::uint32_t kPaletteRed = 0x00FF0000, kPaletteBlue = 0x000000FF;

// 2 x 2, one bit per pixel: bottom row red, blue; top row blue, red.
std::vector<std::uint8_t> checker() {
  return dib(2, 2, 1, {kPaletteRed, kPaletteBlue}, {0x40, 0, 0, 0, 0x80, 0, 0, 0});
}

TEST(WmfDibRecords, DrawnIntoTheDestinationFromTheirSource) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> file;
    std::uint32_t top_left, top_right, bottom_left, bottom_right;
  } cases[] = {
      {"STRETCHDIB, palette, bottom-up",
       WmfWriter(0, 0, 100, 100)
           .raw(0x0F43, stretchdib(checker(), 0, 0, 100, 100, 0, 0, 2, 2))
           .finish(),
       0xFF0000FF, 0xFFFF0000, 0xFFFF0000, 0xFF0000FF},
      {"source rectangle: the right column",
       WmfWriter(0, 0, 100, 100)
           .raw(0x0F43, stretchdib(checker(), 0, 0, 100, 100, 1, 0, 1, 2))
           .finish(),
       0xFFFF0000, 0xFFFF0000, 0xFF0000FF, 0xFF0000FF},
      {"DIBSTRETCHBLT, 24 bits top-down",
       [] {
         std::vector<std::uint8_t> p;
         WmfWriter::push32(p, 0x00CC0020);
         for (int v : {2, 2, 0, 0, 100, 100, 0, 0})
           WmfWriter::push16(p, static_cast<std::uint16_t>(v));
         std::vector<std::uint8_t> bits = dib(2, -2, 24, {},
                                              {0, 255, 0, 255, 0, 0, 0, 0,  // green, blue
                                               0, 0, 255, 0, 0, 0, 0, 0});  // red, black
         p.insert(p.end(), bits.begin(), bits.end());
         return WmfWriter(0, 0, 100, 100).raw(0x0B41, p).finish();
       }(),
       0xFF00FF00, 0xFF0000FF, 0xFFFF0000, kOpaqueBlack},
      {"DIBBITBLT without a bitmap paints the brush",
       WmfWriter(0, 0, 100, 100)
           .brush(0, 0, 255, 0)
           .rec(0x0940, {0x0021, 0x00F0, 0, 0, 0, 100, 100, 0, 0})
           .finish(),
       kGreen, kGreen, kGreen, kGreen},
      {"BLACKNESS",
       WmfWriter(0, 0, 100, 100).rec(0x0940, {0x0042, 0x0000, 0, 0, 0, 100, 100, 0, 0}).finish(),
       kOpaqueBlack, kOpaqueBlack, kOpaqueBlack, kOpaqueBlack},
  };
  for (const Case& c : cases) {
    WmfCanvas canvas(100, 100);
    ASSERT_EQ(canvas.play(c.file), RenderStatus::Ok) << c.name;
    EXPECT_EQ(canvas.at(20, 20), c.top_left) << c.name;
    EXPECT_EQ(canvas.at(80, 20), c.top_right) << c.name;
    EXPECT_EQ(canvas.at(20, 80), c.bottom_left) << c.name;
    EXPECT_EQ(canvas.at(80, 80), c.bottom_right) << c.name;
  }
}

TEST(WmfDibRecords, MaskAndImageCombine) {
  // A white background, then SRCAND with a mask that is black on the left, then SRCPAINT of an
  // image that is red on the left and black on the right: red left, white right.
  std::vector<std::uint8_t> mask = dib(2, 1, 24, {}, {0, 0, 0, 255, 255, 255, 0, 0});
  std::vector<std::uint8_t> image = dib(2, 1, 24, {}, {0, 0, 255, 0, 0, 0, 0, 0});
  std::vector<std::uint8_t> file =
      WmfWriter(0, 0, 100, 100)
          .rec(0x0940, {0x0062, 0x00FF, 0, 0, 0, 100, 100, 0, 0})
          .raw(0x0F43, stretchdib(mask, 0, 0, 100, 100, 0, 0, 2, 1, 0x008800C6))
          .raw(0x0F43, stretchdib(image, 0, 0, 100, 100, 0, 0, 2, 1, 0x00EE0086))
          .finish();
  WmfCanvas canvas(100, 100);
  ASSERT_EQ(canvas.play(file), RenderStatus::Ok);
  EXPECT_EQ(canvas.at(20, 50), 0xFFFF0000);
  EXPECT_EQ(canvas.at(80, 50), kWhite);
}

TEST(WmfDibRecords, PatternBrushRepeatsInDevicePixels) {
  std::vector<std::uint8_t> p = {5, 0, 0, 0};  // BS_DIBPATTERNPT, RGB colours
  std::vector<std::uint8_t> bits = checker();
  p.insert(p.end(), bits.begin(), bits.end());
  WmfCanvas canvas(100, 100);
  ASSERT_EQ(canvas.play(WmfWriter(0, 0, 100, 100)
                            .raw(0x0142, p)
                            .select(0)
                            .pen(5, 0, 0, 0, 0)
                            .rectangle(0, 0, 100, 100)
                            .finish()),
            RenderStatus::Ok);
  // The top row of the tile is blue, red; the bottom row red, blue.
  EXPECT_EQ(canvas.at(50, 50), 0xFF0000FF);
  EXPECT_EQ(canvas.at(51, 50), 0xFFFF0000);
  EXPECT_EQ(canvas.at(50, 51), 0xFFFF0000);
  EXPECT_EQ(canvas.at(51, 51), 0xFF0000FF);
}

TEST(WmfDibRecords, MonochromePatternsTakeTextAndBackgroundColoursWhenUsed) {
  // The checker's tile with bits 1, 0 on top and 0, 1 below. Its table (red,
  // blue) does not count for the plain pattern style: 0 bits take the text
  // colour, 1 bits the background colour set after the brush was made.
  std::vector<std::uint8_t> dib_brush = {3, 0, 0, 0};  // BS_PATTERN, RGB colours
  std::vector<std::uint8_t> bits = checker();
  dib_brush.insert(dib_brush.end(), bits.begin(), bits.end());
  // A device bitmap: 2 x 2, 2 bytes a row, 1 plane, 1 bit, 18 unread bytes, rows top-down.
  std::vector<std::uint8_t> bitmap16;
  for (int v : {0, 2, 2, 2}) WmfWriter::push16(bitmap16, static_cast<std::uint16_t>(v));
  bitmap16.insert(bitmap16.end(), {1, 1});
  bitmap16.resize(bitmap16.size() + 18, 0xEE);
  std::vector<std::uint8_t> cut = bitmap16;
  bitmap16.insert(bitmap16.end(), {0x80, 0, 0x40, 0});
  cut.insert(cut.end(), {0x80, 0});  // the second row is missing
  struct Case {
    const char* name;
    std::uint16_t function;
    std::vector<std::uint8_t> params;
    RenderStatus status;
  } cases[] = {
      {"DIBCREATEPATTERNBRUSH, plain pattern style", 0x0142, dib_brush, RenderStatus::Ok},
      {"CREATEPATTERNBRUSH, monochrome device bitmap", 0x01F9, bitmap16, RenderStatus::Ok},
      {"CREATEPATTERNBRUSH, rows missing", 0x01F9, cut, RenderStatus::Partial},
  };
  for (const Case& c : cases) {
    WmfCanvas canvas(100, 100);
    ASSERT_EQ(canvas.play(WmfWriter(0, 0, 100, 100)
                              .raw(c.function, c.params)
                              .select(0)
                              .color(0x0209, 0, 255, 0)  // text: green
                              .color(0x0201, 255, 0, 0)  // background: red
                              .pen(5, 0, 0, 0, 0)
                              .rectangle(0, 0, 100, 100)
                              .finish()),
              c.status)
        << c.name;
    if (c.status != RenderStatus::Ok) {
      EXPECT_EQ(canvas.at(50, 50), canvas.at(51, 50)) << c.name << ": a plain stand-in";
      continue;
    }
    EXPECT_EQ(canvas.at(50, 50), 0xFFFF0000) << c.name;
    EXPECT_EQ(canvas.at(51, 50), 0xFF00FF00) << c.name;
    EXPECT_EQ(canvas.at(50, 51), 0xFF00FF00) << c.name;
    EXPECT_EQ(canvas.at(51, 51), 0xFFFF0000) << c.name;
  }
}

TEST(WmfDibRecords, BrokenBitmapsDrawNothingAndMarkPartial) {
  std::vector<std::uint8_t> huge = dib(60000, 60000, 24, {}, {1, 2, 3});
  std::vector<std::uint8_t> short_rows = dib(4, 4, 24, {}, {1, 2, 3});
  for (const auto& bits : {huge, short_rows, std::vector<std::uint8_t>{1, 2}}) {
    WmfCanvas canvas(100, 100);
    EXPECT_EQ(canvas.play(WmfWriter(0, 0, 100, 100)
                              .raw(0x0F43, stretchdib(bits, 0, 0, 100, 100, 0, 0, 4, 4))
                              .finish()),
              RenderStatus::Partial);
    EXPECT_TRUE(canvas.ink().empty());
  }
}

}  // namespace
