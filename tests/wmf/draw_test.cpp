// Shapes, pens, brushes, fill rules and the clip, checked on the pixels.
#include <gtest/gtest.h>

#include "tests/wmf/wmf_canvas.h"
#include "tests/wmf/wmf_writer.h"

namespace {

TEST(WmfPens, WidthStyleAndZeroWidth) {
  // The box is 1000 units on a 100-pixel target: 10 units to a pixel. A
  // hairline runs along device y = 50.5, the wide line along y = 50. The
  // background colour is red; only the gaps of a dashed line in opaque mode
  // may show it.
  constexpr std::uint32_t kNoGap = 1;  // not a dashed line: no gap to look at
  struct Case {
    const char* name;
    std::uint16_t style;
    std::uint16_t width;
    int y;
    int inked_rows_from, inked_rows_to;  // rows inked at x = 2; from > to means none
    std::uint16_t bk_mode;               // 0 keeps the default, opaque
    std::uint32_t gap;                   // x = 5, 6 on row 50
  } cases[] = {
      {"width 0 is one device pixel", 0, 0, 505, 50, 50, 0, kNoGap},
      {"a hairline between two rows lands on one", 0, 0, 500, 50, 50, 0, kNoGap},
      {"null pen strokes nothing", 5, 0, 505, 1, 0, 0, kNoGap},
      {"user style without its entries is solid", 7, 0, 505, 50, 50, 0, kNoGap},
      {"width 100 is 10 pixels", 0x0200, 100, 500, 45, 54, 0, kNoGap},
      {"dashed hairline, transparent: gaps clear", 1, 0, 505, 50, 50, 1, kTransparent},
      {"dashed hairline, opaque: gaps in the background colour", 1, 0, 505, 50, 50, 2, kRed},
  };
  for (const Case& c : cases) {
    WmfCanvas canvas(100, 100);
    WmfWriter w(0, 0, 1000, 1000);
    if (c.bk_mode != 0) w.rec(0x0102, {c.bk_mode});
    std::vector<std::uint8_t> file = w.color(0x0201, 255, 0, 0)
                                         .pen(c.style, c.width, 0, 0, 255)
                                         .rec(0x0214, {c.y, 0})     // MOVETO (0, y)
                                         .rec(0x0213, {c.y, 1000})  // LINETO (1000, y)
                                         .finish();
    ASSERT_EQ(canvas.play(file), RenderStatus::Ok) << c.name;
    for (int y = 40; y < 60; ++y) {
      bool expect = y >= c.inked_rows_from && y <= c.inked_rows_to;
      EXPECT_EQ(canvas.at(2, y), expect ? kBlue : kTransparent) << c.name << " row " << y;
    }
    if (c.gap != kNoGap) {
      EXPECT_EQ(canvas.at(5, 50), c.gap) << c.name;
      EXPECT_EQ(canvas.at(6, 50), c.gap) << c.name;
    }
  }
}

TEST(WmfBrushes, StylesHatchesAndBackground) {
  // Rows of device pixels inside the rectangle: 50 lies between hatch lines,
  // 52 on one (the horizontal hatch repeats every 8 pixels at row 4).
  struct Case {
    const char* name;
    WmfWriter file;
    std::uint32_t row50, row52;
  } cases[] = {
      {"solid", WmfWriter(0, 0, 100, 100).brush(0, 255, 0, 0), kRed, kRed},
      {"null", WmfWriter(0, 0, 100, 100).brush(1, 255, 0, 0), kTransparent, kTransparent},
      {"default brush is white", WmfWriter(0, 0, 100, 100), kWhite, kWhite},
      {"hatch on the opaque background",
       WmfWriter(0, 0, 100, 100).color(0x0201, 0, 0, 255).brush(2, 0, 255, 0, 0), kBlue,
       0xFF00FF00},
      {"hatch on a transparent background",
       WmfWriter(0, 0, 100, 100).rec(0x0102, {1}).brush(2, 0, 255, 0, 0), kTransparent, 0xFF00FF00},
      {"background colour does not fill",
       WmfWriter(0, 0, 100, 100).brush(1, 255, 0, 0).color(0x0201, 0, 0, 255), kTransparent,
       kTransparent},
  };
  for (Case& c : cases) {
    WmfCanvas canvas(100, 100);
    ASSERT_EQ(canvas.play(c.file.pen(5, 0, 0, 0, 0).rectangle(10, 10, 90, 90).finish()),
              RenderStatus::Ok)
        << c.name;
    EXPECT_EQ(canvas.at(50, 50), c.row50) << c.name;
    EXPECT_EQ(canvas.at(50, 52), c.row52) << c.name;
    EXPECT_EQ(canvas.at(95, 95), kTransparent) << c.name;
  }
}

TEST(WmfObjects, CreatedObjectsAreSelectedByTheirSlot) {
  WmfWriter w(0, 0, 100, 100);
  w.create_pen(0, 0, 255, 0, 0)     // slot 0
      .create_pen(5, 0, 0, 0, 0)    // slot 1: null
      .create_brush(0, 0, 0, 255)   // slot 2: blue
      .create_brush(0, 0, 255, 0);  // slot 3: green
  // Nothing is current until selected: the default white brush fills.
  w.rectangle(0, 0, 20, 20);
  w.select(1).select(3).rectangle(20, 0, 40, 20);
  // Slot 0 freed: the next object takes it, and selecting 0 gets the new one.
  w.remove(0).create_brush(0, 255, 0, 0).select(0).rectangle(40, 0, 60, 20);
  // Deleting the selected brush keeps it current; a free slot selects nothing.
  w.remove(0).select(0).rectangle(60, 0, 80, 20);
  // A palette takes a slot too: it fills the free slot 0, so the brush lands in 4.
  w.raw(0x00F7, {0, 3, 1, 0, 0, 0, 0, 0}).create_brush(0, 0, 0, 255).select(4);
  w.rectangle(80, 0, 100, 20);
  WmfCanvas canvas(100, 100);
  ASSERT_EQ(canvas.play(w.finish()), RenderStatus::Ok);
  EXPECT_EQ(canvas.at(10, 10), kWhite);
  EXPECT_EQ(canvas.at(30, 10), kGreen);
  EXPECT_EQ(canvas.at(50, 10), kRed);
  EXPECT_EQ(canvas.at(70, 10), kRed);
  EXPECT_EQ(canvas.at(90, 10), kBlue);
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

TEST(WmfShapes, EveryShapeHasItsOwnPath) {
  // A line, then a new pen and a second line: the first keeps its colour.
  WmfCanvas lines(100, 100);
  ASSERT_EQ(lines.play(WmfWriter(0, 0, 100, 100)
                           .pen(0, 3, 255, 0, 0)
                           .rec(0x0214, {20, 0})    // MOVETO (0, 20)
                           .rec(0x0213, {20, 100})  // LINETO (100, 20)
                           .pen(0, 3, 0, 0, 255)
                           .rec(0x0213, {80, 100})  // from the current position (100, 20)
                           .finish()),
            RenderStatus::Ok);
  EXPECT_EQ(lines.at(50, 20), kRed);
  EXPECT_EQ(lines.at(99, 50), kBlue);
  // An open polyline is not filled by the rectangle after it.
  WmfCanvas shapes(100, 100);
  ASSERT_EQ(shapes.play(WmfWriter(0, 0, 100, 100)
                            .brush(0, 255, 0, 0)
                            .polyline({{0, 0}, {40, 0}, {40, 40}})
                            .rectangle(60, 60, 90, 90)
                            .finish()),
            RenderStatus::Ok);
  EXPECT_EQ(shapes.at(30, 10), kTransparent);
  EXPECT_EQ(shapes.at(75, 75), kRed);
}

TEST(WmfShapes, ArcsPiesChordsAndPixels) {
  // The quarter from 3 o'clock counter-clockwise to 12 o'clock of the circle (0,0)-(100,100).
  auto arc_record = [](std::uint16_t function) {
    return WmfWriter(0, 0, 100, 100)
        .pen(0, 2, 0, 0, 255)
        .brush(0, 255, 0, 0)
        .rec(function, {0, 50, 50, 100, 100, 100, 0, 0})
        .finish();
  };
  WmfCanvas pie(100, 100);
  ASSERT_EQ(pie.play(arc_record(0x081A)), RenderStatus::Ok);
  EXPECT_EQ(pie.at(70, 30), kRed);          // inside the upper right quarter
  EXPECT_EQ(pie.at(30, 70), kTransparent);  // the rest of the circle
  EXPECT_EQ(pie.at(30, 30), kTransparent);
  WmfCanvas chord(100, 100);
  ASSERT_EQ(chord.play(arc_record(0x0830)), RenderStatus::Ok);
  EXPECT_EQ(chord.at(80, 20), kRed);          // beyond the chord
  EXPECT_EQ(chord.at(60, 40), kTransparent);  // between the chord and the centre
  WmfCanvas arc(100, 100);
  ASSERT_EQ(arc.play(arc_record(0x0817)), RenderStatus::Ok);
  EXPECT_EQ(arc.at(75, 25), kTransparent);  // not filled
  EXPECT_TRUE(arc.inked(85, 14));           // on the curve
  EXPECT_FALSE(arc.inked(14, 85));

  WmfCanvas pixel(100, 100);
  ASSERT_EQ(
      pixel.play(WmfWriter(0, 0, 200, 200).raw(0x041F, {0, 0, 255, 0, 40, 0, 20, 0}).finish()),
      RenderStatus::Ok);
  EXPECT_EQ(pixel.at(10, 20), kBlue);
  WmfInk ink = pixel.ink();
  EXPECT_EQ(ink.right - ink.left, 0);
  EXPECT_EQ(ink.bottom - ink.top, 0);
}

TEST(WmfClip, ExcludeAndSavedStates) {
  WmfWriter w(0, 0, 100, 100);
  w.pen(5, 0, 0, 0, 0).brush(0, 255, 0, 0);
  w.rec(0x001E);  // SAVEDC 1: red brush, no clip
  w.brush(0, 0, 0, 255);
  w.rec(0x0415, {60, 60, 40, 40});                     // EXCLUDECLIPRECT (40,40)-(60,60)
  w.rec(0x001E);                                       // SAVEDC 2
  w.window_ext(200, 200).rec(0x0416, {50, 50, 0, 0});  // clip to (0,0)-(25,25) in pixels
  w.rectangle(0, 0, 200, 200);  // blue, only in the top left quarter of a quarter
  w.rec(0x0127, {static_cast<std::uint16_t>(-1)});  // RESTOREDC -1: back to state 2
  w.rectangle(0, 0, 100, 50);                       // blue around the hole
  w.rec(0x0127, {1});                               // RESTOREDC 1: red, no clip
  w.rectangle(0, 60, 100, 100);
  WmfCanvas canvas(100, 100);
  ASSERT_EQ(canvas.play(w.finish()), RenderStatus::Ok);
  EXPECT_EQ(canvas.at(10, 10), kBlue);
  EXPECT_EQ(canvas.at(45, 45), kTransparent);  // the excluded hole
  EXPECT_EQ(canvas.at(70, 45), kBlue);
  EXPECT_EQ(canvas.at(50, 80), kRed);
  EXPECT_EQ(canvas.at(50, 55), kTransparent);
  EXPECT_TRUE(canvas.data.wmf.saved.empty());
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
