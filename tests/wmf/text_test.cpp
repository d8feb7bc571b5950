// Text: where it lands, its size, and bytes in the font's character set.
#include <gtest/gtest.h>

#include "tests/wmf/wmf_canvas.h"
#include "tests/wmf/wmf_writer.h"

namespace {

TEST(WmfText, PositionIsMappedAndGlyphsStayUpright) {
  struct Case {
    const char* name;
    WmfWriter file;
    int height;
    int baseline;  // device row of the baseline
  } cases[] = {
      {"box origin is subtracted", WmfWriter(50, 50, 150, 150), 20, 30},
      {"negative height gives the same size", WmfWriter(50, 50, 150, 150), -20, 30},
      {"reversed y axis", WmfWriter(50, 50, 150, 150).window_ext(100, -100), 20, 70},
  };
  for (Case& c : cases) {
    WmfCanvas canvas(100, 100);
    std::vector<std::uint8_t> file = c.file.font(static_cast<std::int16_t>(c.height), "DejaVu Sans")
                                         .textout(60, 80, "HHH")
                                         .finish();
    ASSERT_EQ(canvas.play(file), RenderStatus::Ok) << c.name;
    WmfInk ink = canvas.ink();
    ASSERT_FALSE(ink.empty()) << c.name;
    EXPECT_GE(ink.left, 9) << c.name;
    EXPECT_LE(ink.left, 14) << c.name;
    // Capitals stand on the baseline and reach up about 0.7 of the size.
    EXPECT_GE(ink.bottom, c.baseline - 2) << c.name;
    EXPECT_LE(ink.bottom, c.baseline) << c.name;
    EXPECT_GE(ink.top, c.baseline - 18) << c.name;
    EXPECT_LE(ink.top, c.baseline - 10) << c.name;
  }
}

TEST(WmfText, ShortTextIsDrawn) {
  WmfCanvas canvas(100, 100);
  std::vector<std::uint8_t> file =
      WmfWriter(0, 0, 100, 100).font(40, "DejaVu Sans").textout(10, 60, "I").finish();
  ASSERT_EQ(canvas.play(file), RenderStatus::Ok);
  EXPECT_FALSE(canvas.ink().empty());
}

TEST(WmfText, BytesOfTheCharsetNeverBreakTheContext) {
  // 0xE9 is not UTF-8 on its own; unconverted it would stop all later drawing.
  struct Case {
    const char* name;
    std::uint8_t charset;
    const char* face;
    std::string text;
  } cases[] = {
      {"ANSI", 0, "DejaVu Sans", "caf\xE9"},
      {"default", 1, "DejaVu Sans", "\x80\xFF"},
      {"symbol", 2, "Symbol", "\x61\xB6"},
      {"face name in high bytes", 0, "\xC5rial", "\xE9t\xE9"},
  };
  for (const Case& c : cases) {
    WmfCanvas canvas(100, 100);
    std::vector<std::uint8_t> file = WmfWriter(0, 0, 100, 100)
                                         .font(20, c.face, c.charset)
                                         .textout(0, 20, c.text)
                                         .brush(0, 255, 0, 0)
                                         .rectangle(50, 50, 100, 100)
                                         .finish();
    EXPECT_EQ(canvas.play(file), RenderStatus::Ok) << c.name;
    EXPECT_EQ(cairo_status(canvas.cr()), CAIRO_STATUS_SUCCESS) << c.name;
    EXPECT_EQ(canvas.at(75, 75), kRed) << c.name;
    EXPECT_FALSE(canvas.ink().empty()) << c.name;
  }
}

}  // namespace
