// Shapes, pens, brushes, fill rules and the clip, checked on the pixels.
#include <gtest/gtest.h>

#include "tests/wmf/wmf_canvas.h"
#include "tests/wmf/wmf_writer.h"

namespace {

std::uint8_t alpha(std::uint32_t pixel) { return static_cast<std::uint8_t>(pixel >> 24); }

TEST(WmfPens, WidthStyleAndZeroWidth) {
  // The box is 1000 units on a 100-pixel target: 10 units to a pixel. A
  // hairline runs along device y = 50.5, the wide line along y = 50.
  struct Case {
    const char* name;
    std::uint16_t style;
    std::uint16_t width;
    int y;
    int inked_rows_from, inked_rows_to;  // rows inked at x = 2; from > to means none
    bool dash_gap_clear;                 // x = 5, 6 clear on row 50
  } cases[] = {
      {"width 0 is one device pixel", 0, 0, 505, 50, 50, false},
      {"null pen strokes nothing", 5, 0, 505, 1, 0, false},
      {"width 100 is 10 pixels", 0x0200, 100, 500, 45, 54, false},
      {"dashed hairline", 1, 0, 505, 50, 50, true},
  };
  for (const Case& c : cases) {
    WmfCanvas canvas(100, 100);
    std::vector<std::uint8_t> file = WmfWriter(0, 0, 1000, 1000)
                                         .pen(c.style, c.width, 0, 0, 255)
                                         .rec(0x0214, {c.y, 0})     // MOVETO (0, y)
                                         .rec(0x0213, {c.y, 1000})  // LINETO (1000, y)
                                         .finish();
    ASSERT_EQ(canvas.play(file), RenderStatus::Ok) << c.name;
    for (int y = 40; y < 60; ++y) {
      bool expect = y >= c.inked_rows_from && y <= c.inked_rows_to;
      EXPECT_EQ(canvas.at(2, y), expect ? kBlue : kTransparent) << c.name << " row " << y;
    }
    if (c.dash_gap_clear) {
      EXPECT_EQ(alpha(canvas.at(5, 50)), 0) << c.name;
      EXPECT_EQ(alpha(canvas.at(6, 50)), 0) << c.name;
    }
  }
}

TEST(WmfBrushes, StylesAndBackgroundColour) {
  struct Case {
    const char* name;
    WmfWriter file;
    std::uint32_t inside;
  } cases[] = {
      {"solid", WmfWriter(0, 0, 100, 100).brush(0, 255, 0, 0), kRed},
      {"null", WmfWriter(0, 0, 100, 100).brush(1, 255, 0, 0), kTransparent},
      {"hatched fills solid", WmfWriter(0, 0, 100, 100).brush(2, 0, 255, 0, 3), kGreen},
      {"background colour after a null brush",
       WmfWriter(0, 0, 100, 100).brush(1, 255, 0, 0).color(0x0201, 0, 0, 255), kBlue},
      {"no brush yet", WmfWriter(0, 0, 100, 100), kTransparent},
  };
  for (Case& c : cases) {
    WmfCanvas canvas(100, 100);
    ASSERT_EQ(canvas.play(c.file.rectangle(10, 10, 90, 90).finish()), RenderStatus::Ok) << c.name;
    EXPECT_EQ(canvas.at(50, 50), c.inside) << c.name;
    EXPECT_EQ(canvas.at(95, 95), kTransparent) << c.name;
  }
}

TEST(WmfShapes, PolyPolygonFillRules) {
  std::vector<std::vector<std::pair<int, int>>> squares = {
      {{10, 10}, {90, 10}, {90, 90}, {10, 90}}, {{30, 30}, {70, 30}, {70, 70}, {30, 70}}};
  struct Case {
    int mode;
    std::uint32_t centre;
  } cases[] = {{1, kTransparent}, {2, kRed}};
  for (const Case& c : cases) {
    WmfCanvas canvas(100, 100);
    std::vector<std::uint8_t> file = WmfWriter(0, 0, 100, 100)
                                         .brush(0, 255, 0, 0)
                                         .rec(0x0106, {c.mode})
                                         .polypolygon(squares)
                                         .finish();
    ASSERT_EQ(canvas.play(file), RenderStatus::Ok);
    EXPECT_EQ(canvas.at(50, 50), c.centre) << "mode " << c.mode;
    EXPECT_EQ(canvas.at(20, 20), kRed) << "mode " << c.mode;
    EXPECT_EQ(canvas.at(95, 95), kTransparent) << "mode " << c.mode;
  }
}

TEST(WmfShapes, EveryShapeRecordPaints) {
  struct Case {
    const char* name;
    WmfWriter file;
    int inside_x, inside_y, outside_x, outside_y;
  } cases[] = {
      {"polygon",
       WmfWriter(0, 0, 100, 100).brush(0, 255, 0, 0).polygon({{0, 0}, {100, 0}, {0, 100}}), 20, 20,
       80, 80},
      {"ellipse", WmfWriter(0, 0, 100, 100).brush(0, 255, 0, 0).ellipse(0, 0, 100, 50), 50, 25, 3,
       3},
      {"round rectangle",
       WmfWriter(0, 0, 100, 100).brush(0, 255, 0, 0).rec(0x061C, {40, 40, 90, 90, 10, 10}), 50, 50,
       12, 12},
      {"pattern block",
       WmfWriter(0, 0, 100, 100).brush(0, 255, 0, 0).rec(0x061D, {0x0021, 0x00F0, 20, 30, 10, 10}),
       35, 25, 45, 25},
      {"clip narrows later fills",
       WmfWriter(0, 0, 100, 100)
           .brush(0, 255, 0, 0)
           .rec(0x0416, {50, 50, 0, 0})
           .rectangle(0, 0, 100, 100),
       25, 25, 75, 75},
  };
  for (Case& c : cases) {
    WmfCanvas canvas(100, 100);
    ASSERT_EQ(canvas.play(c.file.finish()), RenderStatus::Ok) << c.name;
    EXPECT_EQ(canvas.at(c.inside_x, c.inside_y), kRed) << c.name;
    EXPECT_EQ(canvas.at(c.outside_x, c.outside_y), kTransparent) << c.name;
  }
}

TEST(WmfShapes, CountsPastTheRecordAreCut) {
  // A triangle declared with 1000 points: the three present are drawn.
  WmfCanvas canvas(100, 100);
  std::vector<std::uint8_t> file = WmfWriter(0, 0, 100, 100)
                                       .brush(0, 255, 0, 0)
                                       .points(0x0324, {{0, 0}, {100, 0}, {0, 100}}, 1000)
                                       .finish();
  EXPECT_EQ(canvas.play(file), RenderStatus::Partial);
  EXPECT_EQ(canvas.at(20, 20), kRed);
  EXPECT_EQ(canvas.at(80, 80), kTransparent);
}

}  // namespace
