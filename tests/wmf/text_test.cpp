// Text: where it lands, its size, alignment, spacing, and bytes in the font's
// character set.
#include <gtest/gtest.h>

#include "tests/wmf/wmf_canvas.h"
#include "tests/wmf/wmf_writer.h"

namespace {

constexpr std::uint16_t kSetTextAlign = 0x012E;
constexpr std::uint16_t kSetBkMode = 0x0102;

TEST(WmfText, PositionIsMappedAndGlyphsStayUpright) {
  struct Case {
    const char* name;
    WmfWriter file;
    int baseline;  // device row of the baseline
  } cases[] = {
      {"box origin is subtracted", WmfWriter(50, 50, 150, 150), 30},
      {"reversed y axis", WmfWriter(50, 50, 150, 150).window_org(50, 150).window_ext(100, -100),
       70},
  };
  for (Case& c : cases) {
    WmfCanvas canvas(100, 100);
    std::vector<std::uint8_t> file = c.file.font(-20, "DejaVu Sans")
                                         .rec(kSetTextAlign, {24})  // baseline
                                         .rec(kSetBkMode, {1})      // transparent
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

// Plays "HHH" of em 20 at the reference point (50, 50) with `align`.
WmfInk ink_of_aligned(std::uint16_t align, int height = -20, int escapement = 0) {
  WmfCanvas canvas(100, 100);
  std::vector<std::uint8_t> file = WmfWriter(0, 0, 100, 100)
                                       .font(static_cast<std::int16_t>(height), "DejaVu Sans", 0,
                                             400, 0, static_cast<std::int16_t>(escapement))
                                       .rec(kSetTextAlign, {align})
                                       .rec(kSetBkMode, {1})
                                       .textout(50, 50, "HHH")
                                       .finish();
  EXPECT_EQ(canvas.play(file), RenderStatus::Ok);
  return canvas.ink();
}

TEST(WmfText, AlignmentAroundTheReferencePoint) {
  // "HHH" at em 20 is about 43 pixels wide, capitals about 15 high.
  WmfInk top = ink_of_aligned(0);  // the default: text hangs below the point
  EXPECT_GE(top.top, 51);
  EXPECT_LE(top.top, 56);
  EXPECT_GE(top.left, 50);
  EXPECT_LE(top.left, 53);
  WmfInk baseline = ink_of_aligned(24);
  EXPECT_GE(baseline.bottom, 48);
  EXPECT_LE(baseline.bottom, 50);
  WmfInk bottom = ink_of_aligned(8);  // the descent lies above the point
  EXPECT_GE(bottom.bottom, 42);
  EXPECT_LE(bottom.bottom, 47);
  WmfInk right = ink_of_aligned(2);
  EXPECT_GE(right.right, 46);
  EXPECT_LE(right.right, 50);
  WmfInk centre = ink_of_aligned(6);
  EXPECT_LE(std::abs((centre.left + centre.right) / 2 - 50), 2);
  // A positive height is the cell's, so the same number draws smaller text.
  WmfInk cell = ink_of_aligned(24, 20);
  EXPECT_LT(cell.bottom - cell.top, baseline.bottom - baseline.top);
  // An escapement of 90 degrees turns the text to run upwards.
  WmfInk turned = ink_of_aligned(24, -20, 900);
  EXPECT_GT(turned.bottom - turned.top, 35);
  EXPECT_LT(turned.right - turned.left, 20);
  EXPECT_LE(turned.bottom, 52);
}

TEST(WmfText, UpdateCurrentPositionChainsTexts) {
  WmfCanvas canvas(100, 100);
  std::vector<std::uint8_t> file = WmfWriter(0, 0, 100, 100)
                                       .font(-20, "DejaVu Sans")
                                       .rec(kSetTextAlign, {1})  // update position
                                       .rec(kSetBkMode, {1})
                                       .rec(0x0214, {10, 5})   // MOVETO (5, 10)
                                       .textout(90, 90, "HH")  // its own position is ignored
                                       .textout(90, 90, "HH")
                                       .finish();
  ASSERT_EQ(canvas.play(file), RenderStatus::Ok);
  WmfInk ink = canvas.ink();
  EXPECT_LE(ink.left, 8);
  EXPECT_LE(ink.bottom, 35);
  EXPECT_GE(ink.right, 55);  // four letters of about 14 pixels
}

TEST(WmfText, ExtTextOutOptionsAndSpacing) {
  // Opaque: the rectangle takes the background colour, whatever the mode.
  WmfCanvas opaque(100, 100);
  ASSERT_EQ(opaque.play(WmfWriter(0, 0, 100, 100)
                            .rec(kSetBkMode, {1})
                            .color(0x0201, 0, 0, 255)
                            .font(-20, "DejaVu Sans")
                            .exttextout(10, 10, 0x0002, {0, 0, 100, 40}, "H")
                            .finish()),
            RenderStatus::Ok);
  EXPECT_EQ(opaque.at(90, 30), kBlue);
  EXPECT_EQ(opaque.at(90, 60), kTransparent);

  // Clipped: nothing outside the rectangle.
  WmfCanvas clipped(100, 100);
  ASSERT_EQ(clipped.play(WmfWriter(0, 0, 100, 100)
                             .rec(kSetBkMode, {1})
                             .font(-40, "DejaVu Sans")
                             .exttextout(10, 10, 0x0004, {0, 0, 100, 25}, "HHH")
                             .finish()),
            RenderStatus::Ok);
  EXPECT_FALSE(clipped.ink().empty());
  EXPECT_LE(clipped.ink().bottom, 24);

  // Spacing: each letter advances by its own distance.
  WmfCanvas spaced(100, 100);
  ASSERT_EQ(spaced.play(WmfWriter(0, 0, 100, 100)
                            .rec(kSetBkMode, {1})
                            .font(-20, "DejaVu Sans")
                            .exttextout(5, 10, 0, {}, "III", {40, 40, 10})
                            .finish()),
            RenderStatus::Ok);
  WmfInk ink = spaced.ink();
  EXPECT_GE(ink.right - ink.left, 78);
  EXPECT_FALSE(spaced.inked(25, 20));  // between the first two letters
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
                                         .exttextout(0, 40, 0, {}, c.text)
                                         .brush(0, 255, 0, 0)
                                         .rectangle(50, 50, 100, 100)
                                         .finish();
    EXPECT_EQ(canvas.play(file), RenderStatus::Ok) << c.name;
    EXPECT_EQ(cairo_status(canvas.cr()), CAIRO_STATUS_SUCCESS) << c.name;
    EXPECT_EQ(canvas.at(75, 75), kRed) << c.name;
    EXPECT_FALSE(canvas.ink().empty()) << c.name;
  }
}

TEST(WmfText, ShortTextIsDrawn) {
  WmfCanvas canvas(100, 100);
  std::vector<std::uint8_t> file =
      WmfWriter(0, 0, 100, 100).font(40, "DejaVu Sans").textout(10, 60, "I").finish();
  ASSERT_EQ(canvas.play(file), RenderStatus::Ok);
  EXPECT_FALSE(canvas.ink().empty());
}

}  // namespace

namespace {

TEST(WmfText, ExtremeSizesLeaveTheContextUsable) {
  // A box 1 unit wide and 10000 high stretches glyphs 10000 times across;
  // a font engine refuses such a font and would stop the context.
  for (auto box :
       {std::array<int, 2>{1, 10000}, std::array<int, 2>{10000, 1}, std::array<int, 2>{1, 1}}) {
    WmfCanvas canvas(64, 48);
    std::vector<std::uint8_t> file =
        WmfWriter(0, 0, static_cast<std::int16_t>(box[0]), static_cast<std::int16_t>(box[1]))
            .font(-32000, "DejaVu Sans", 0, 700, 1, 450)
            .textout(0, 0, "Wide")
            .font(24, "DejaVu Sans")
            .exttextout(0, 0, 0, {}, "Thin", {30000, -30000, 1, 2})
            .finish();
    EXPECT_EQ(canvas.play(file), RenderStatus::Ok) << box[0] << " x " << box[1];
    EXPECT_EQ(cairo_status(canvas.cr()), CAIRO_STATUS_SUCCESS) << box[0] << " x " << box[1];
  }
}

}  // namespace

namespace {

TEST(WmfText, BackgroundModeAndColourBehindText) {
  struct Case {
    const char* name;
    int mode;  // 0: the default (opaque)
    std::uint32_t behind;
  } cases[] = {{"default is opaque", 0, kBlue}, {"opaque", 2, kBlue}, {"transparent", 1, kRed}};
  for (const Case& c : cases) {
    WmfWriter w(0, 0, 100, 100);
    w.brush(0, 255, 0, 0).pen(5, 0, 0, 0, 0).rectangle(0, 0, 100, 100);
    if (c.mode != 0) w.rec(kSetBkMode, {c.mode});
    w.color(0x0201, 0, 0, 255).font(-40, "DejaVu Sans").textout(10, 10, "__");
    WmfCanvas canvas(100, 100);
    ASSERT_EQ(canvas.play(w.finish()), RenderStatus::Ok) << c.name;
    // Above the underscores, inside the text's cell.
    EXPECT_EQ(canvas.at(20, 25), c.behind) << c.name;
    EXPECT_EQ(canvas.at(90, 90), kRed) << c.name;
  }
}

}  // namespace
