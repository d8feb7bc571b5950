// Regions: creation, the records that paint them and region clips.
#include <gtest/gtest.h>

#include "tests/wmf/wmf_canvas.h"
#include "tests/wmf/wmf_writer.h"

namespace {

// Two bands on a 100-unit box drawn 1:1: (10..30 and 60..90) x (10..30),
// then 10..90 x (30..50).
WmfWriter& two_bands(WmfWriter& w) {
  return w.create_region({{10, 30, {10, 30, 60, 90}}, {30, 50, {10, 90}}});
}

struct Probe {
  int x, y;
  std::uint32_t pixel;
};

TEST(WmfRegions, RecordsPaintAndClipTheRegion) {
  // Slot 0 is the region, slot 1 a green brush; the current brush is red.
  // Inside: (20, 20), (75, 20), (50, 40); outside: (45, 20) between the
  // pairs, (50, 70) below the bands.
  struct Case {
    const char* name;
    std::vector<std::uint16_t> records;  // one-parameter records on slot 0, or 0x0228 fill
    bool cover;                          // a rectangle over the whole box afterwards
    std::vector<Probe> probes;
  } cases[] = {
      {"FILLREGION with its own brush",
       {0x0228},
       false,
       {{20, 20, kGreen},
        {75, 20, kGreen},
        {50, 40, kGreen},
        {45, 20, kTransparent},
        {50, 70, kTransparent}}},
      {"PAINTREGION with the current brush",
       {0x012B},
       false,
       {{20, 20, kRed}, {50, 40, kRed}, {45, 20, kTransparent}, {50, 70, kTransparent}}},
      {"SELECTCLIPREGION clips what follows",
       {0x012C},
       true,
       {{20, 20, kRed},
        {75, 20, kRed},
        {50, 40, kRed},
        {45, 20, kTransparent},
        {50, 70, kTransparent}}},
      {"SELECTOBJECT of a region clips as well",
       {0x012D},
       true,
       {{20, 20, kRed}, {45, 20, kTransparent}}},
      {"INVERTREGION inverts what is under it",
       {0x012A},
       false,
       {{20, 20, 0xFF010101}, {45, 20, kWhite}, {50, 70, kWhite}}},
  };
  for (const Case& c : cases) {
    WmfWriter w(0, 0, 100, 100);
    two_bands(w).create_brush(0, 0, 255, 0).pen(5, 0, 0, 0, 0);
    if (c.records[0] == 0x012A) w.brush(0, 255, 255, 255).rectangle(0, 0, 100, 100);
    w.brush(0, 255, 0, 0);
    for (std::uint16_t function : c.records) {
      if (function == 0x0228) {
        w.rec(function, {0, 1});
      } else {
        w.rec(function, {0});
      }
    }
    if (c.cover) w.rectangle(0, 0, 100, 100);
    WmfCanvas canvas(100, 100);
    ASSERT_EQ(canvas.play(w.finish()), RenderStatus::Ok) << c.name;
    for (const Probe& p : c.probes) {
      EXPECT_EQ(canvas.at(p.x, p.y), p.pixel) << c.name << " at " << p.x << ", " << p.y;
    }
  }
}

TEST(WmfRegions, FrameRegionDrawsInsideTheEdges) {
  // A 10..90 square framed 4 units wide and 6 high with a blue brush.
  WmfWriter w(0, 0, 100, 100);
  w.create_region({{10, 90, {10, 90}}}).create_brush(0, 0, 0, 255);
  WmfCanvas canvas(100, 100);
  ASSERT_EQ(canvas.play(w.rec(0x0429, {0, 1, 6, 4}).finish()), RenderStatus::Ok);
  for (Probe p : std::vector<Probe>{{11, 50, kBlue},
                                    {88, 50, kBlue},
                                    {50, 12, kBlue},
                                    {50, 87, kBlue},
                                    {16, 50, kTransparent},
                                    {50, 18, kTransparent},
                                    {50, 50, kTransparent},
                                    {5, 50, kTransparent}}) {
    EXPECT_EQ(canvas.at(p.x, p.y), p.pixel) << p.x << ", " << p.y;
  }
}

TEST(WmfRegions, NoRegionReturnsToTheClipThePlaybackStartedWith) {
  // The caller clips to the left half. A region clip, then SELECTCLIPREGION
  // of a slot that holds no region (the brush in 1) and of an empty region
  // (2): the rectangles after them fill the left half, never the right.
  for (int reset_slot : {1, 2, 7}) {
    WmfCanvas canvas(100, 100);
    cairo_rectangle(canvas.cr(), 0, 0, 50, 100);
    cairo_clip(canvas.cr());
    WmfWriter w(0, 0, 100, 100);
    w.create_region({{10, 20, {10, 20}}}).brush(0, 255, 0, 0).create_region({});
    w.pen(5, 0, 0, 0, 0).rec(0x012C, {0}).rectangle(0, 0, 100, 100);
    EXPECT_EQ(canvas.play(w.rec(0x012C, {reset_slot}).rectangle(0, 0, 100, 100).finish()),
              RenderStatus::Ok);
    EXPECT_EQ(canvas.at(40, 80), kRed) << reset_slot;
    EXPECT_EQ(canvas.at(60, 80), kTransparent) << reset_slot;
  }
}

TEST(WmfRegions, RegionClipsAreSavedAndRestored) {
  WmfWriter w(0, 0, 100, 100);
  w.create_region({{0, 10, {0, 10}}}).brush(0, 255, 0, 0).pen(5, 0, 0, 0, 0);
  w.rec(0x001E).rec(0x012C, {0}).rec(0x0127, {0xFFFF}).rectangle(0, 0, 100, 100);
  WmfCanvas canvas(100, 100);
  ASSERT_EQ(canvas.play(w.finish()), RenderStatus::Ok);
  EXPECT_EQ(canvas.at(50, 50), kRed);
}

TEST(WmfRegions, HostileRegionsAreCutAtTheRecord) {
  // What fits is kept; the playback is partial; the region keeps its slot, so
  // the brush after it is still in slot 1.
  struct Case {
    const char* name;
    WmfWriter file;
    bool band_drawn;  // the first band, 10..30 x 10..30
  } cases[] = {
      {"more scans than the record holds",
       WmfWriter(0, 0, 100, 100).create_region({{10, 30, {10, 30}}}, 5000), true},
      {"a scan with more x values than the record holds",
       WmfWriter(0, 0, 100, 100).create_region({{10, 30, {10, 30}, 60000}}), true},
      {"a record too short for the region head",
       WmfWriter(0, 0, 100, 100).create_raw(0x06FF, {0, 0, 6, 0}), false},
  };
  for (Case& c : cases) {
    std::vector<std::uint8_t> file = c.file.create_brush(0, 0, 255, 0).rec(0x0228, {0, 1}).finish();
    WmfCanvas canvas(100, 100);
    EXPECT_EQ(canvas.play(file), RenderStatus::Partial) << c.name;
    EXPECT_EQ(canvas.at(20, 20), c.band_drawn ? kGreen : kTransparent) << c.name;
    EXPECT_EQ(canvas.at(50, 50), kTransparent) << c.name;
  }
}

TEST(WmfRegions, BareRectangleForm) {
  // Four values, bottom, right, top, left, as the rectangle records store them.
  WmfWriter w(0, 0, 100, 100);
  w.create_raw(0x06FF, [] {
    std::vector<std::uint8_t> p;
    for (int v : {60, 70, 20, 30}) WmfWriter::push16(p, static_cast<std::uint16_t>(v));
    return p;
  }());
  WmfCanvas canvas(100, 100);
  ASSERT_EQ(canvas.play(w.brush(0, 255, 0, 0).rec(0x012B, {0}).finish()), RenderStatus::Ok);
  WmfInk ink = canvas.ink();
  EXPECT_EQ(ink.left, 30);
  EXPECT_EQ(ink.top, 20);
  EXPECT_EQ(ink.right, 69);
  EXPECT_EQ(ink.bottom, 59);
}

}  // namespace
