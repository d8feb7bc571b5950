// Playback: statuses, the mapping onto the target, and state between files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/wmf/wmf_canvas.h"
#include "tests/wmf/wmf_writer.h"
#include "wmf/wmf_render.h"

namespace {

// A solid red brush, a null pen: shapes are filled only.
WmfWriter red_filler(int left, int top, int right, int bottom) {
  WmfWriter w(static_cast<std::int16_t>(left), static_cast<std::int16_t>(top),
              static_cast<std::int16_t>(right), static_cast<std::int16_t>(bottom));
  w.brush(0, 255, 0, 0).pen(5, 0, 0, 0, 0);
  return w;
}

TEST(WmfPlay, Statuses) {
  std::vector<std::uint8_t> good = red_filler(0, 0, 100, 100).rectangle(10, 10, 30, 30).finish();
  std::vector<std::uint8_t> no_end =
      red_filler(0, 0, 100, 100).rectangle(10, 10, 30, 30).finish(false);
  std::vector<std::uint8_t> bad_record = red_filler(0, 0, 100, 100)
                                             .rectangle(10, 10, 30, 30)
                                             .bad_size(0x041B, 2)
                                             .rectangle(50, 50, 60, 60)
                                             .finish();
  std::vector<std::uint8_t> short_record =
      red_filler(0, 0, 100, 100).rec(0x041B, {1}).rectangle(10, 10, 30, 30).finish();
  std::vector<std::uint8_t> no_key =
      WmfWriter(0, 0, 100, 100, false).brush(0, 255, 0, 0).rectangle(10, 10, 30, 30).finish();
  std::vector<std::uint8_t> empty_box = red_filler(0, 0, 0, 100).rectangle(0, 10, 30, 30).finish();
  std::vector<std::uint8_t> eof_first =
      red_filler(0, 0, 100, 100).eof().rectangle(10, 10, 30, 30).finish();
  struct Case {
    const char* name;
    const std::vector<std::uint8_t>& file;
    RenderStatus status;
    bool drawn_at_20;
    bool drawn_at_55;
  } cases[] = {
      {"whole file", good, RenderStatus::Ok, true, false},
      {"no end record", no_end, RenderStatus::Partial, true, false},
      {"size 2 ends playback, drawing kept", bad_record, RenderStatus::Partial, true, false},
      {"short record skipped", short_record, RenderStatus::Partial, true, false},
      {"no placeable key", no_key, RenderStatus::Malformed, false, false},
      {"empty box", empty_box, RenderStatus::Malformed, false, false},
      {"end record first", eof_first, RenderStatus::Ok, false, false},
  };
  for (const Case& c : cases) {
    WmfCanvas canvas(100, 100);
    EXPECT_EQ(canvas.play(c.file), c.status) << c.name;
    EXPECT_EQ(canvas.inked(20, 20), c.drawn_at_20) << c.name;
    EXPECT_EQ(canvas.inked(55, 55), c.drawn_at_55) << c.name;
    // The context is as usable afterwards as before.
    EXPECT_EQ(cairo_status(canvas.cr()), CAIRO_STATUS_SUCCESS) << c.name;
    cairo_matrix_t m;
    cairo_get_matrix(canvas.cr(), &m);
    EXPECT_EQ(m.xx, 1.0) << c.name;
    EXPECT_FALSE(cairo_has_current_point(canvas.cr())) << c.name;
  }
}

TEST(WmfPlay, MapsTheBoxOntoTheTarget) {
  struct Case {
    const char* name;
    WmfWriter file;
    int target_w, target_h;
    WmfInk expected;
  } cases[] = {
      // The box (0,0)-(1000,500) on 500 x 500: 0.5 across, 1.0 down.
      {"non-uniform scale",
       red_filler(0, 0, 1000, 500).rectangle(100, 100, 300, 200),
       500,
       500,
       {50, 100, 149, 199}},
      {"box origin moved",
       red_filler(50, 50, 150, 150).rectangle(60, 70, 80, 90),
       100,
       100,
       {10, 20, 29, 39}},
      {"no window extent: axes kept",
       red_filler(0, 0, 100, 100).rectangle(0, 0, 10, 20),
       100,
       100,
       {0, 0, 9, 19}},
      {"negative y extent reverses y",
       red_filler(0, 0, 100, 100).window_org(0, 100).window_ext(100, -100).rectangle(0, 0, 10, 20),
       100,
       100,
       {0, 80, 9, 99}},
      {"negative x extent reverses x",
       red_filler(0, 0, 100, 100).window_org(100, 0).window_ext(-100, 100).rectangle(0, 0, 10, 20),
       100,
       100,
       {90, 0, 99, 19}},
      // The window (0,0)-(1000,2000) maps onto the box, whatever the box's units.
      {"window scales the box",
       red_filler(0, 0, 100, 100).window_ext(1000, 2000).rectangle(100, 200, 500, 1000),
       100,
       100,
       {10, 10, 49, 49}},
      {"window origin moves the drawing",
       red_filler(0, 0, 100, 100).window_org(-50, -20).rectangle(-50, -20, -40, 0),
       100,
       100,
       {0, 0, 9, 19}},
      {"offset and scaled window",
       red_filler(0, 0, 100, 100)
           .window_ext(50, 50)
           .rec(0x020F, {10, 10})      // OFFSETWINDOWORG (10, 10)
           .rec(0x0410, {1, 2, 1, 2})  // SCALEWINDOWEXT x2, x2
           .rectangle(10, 10, 60, 60),
       100,
       100,
       {0, 0, 49, 49}},
  };
  for (Case& c : cases) {
    WmfCanvas canvas(c.target_w, c.target_h);
    EXPECT_EQ(canvas.play(c.file.finish()), RenderStatus::Ok) << c.name;
    WmfInk ink = canvas.ink();
    EXPECT_EQ(ink.left, c.expected.left) << c.name;
    EXPECT_EQ(ink.top, c.expected.top) << c.name;
    EXPECT_EQ(ink.right, c.expected.right) << c.name;
    EXPECT_EQ(ink.bottom, c.expected.bottom) << c.name;
  }
}

TEST(WmfPlay, EveryFileStartsFromTheInitialState) {
  // The first file leaves a wide pen, a blue brush, a moved window, a font,
  // objects and a saved state behind, and draws nothing.
  std::vector<std::uint8_t> first = WmfWriter(0, 0, 100, 100)
                                        .pen(0, 5, 0, 255, 0)
                                        .brush(0, 0, 0, 255)
                                        .window_org(30, 30)
                                        .window_ext(100, -100)
                                        .font(30, "DejaVu Serif")
                                        .rec(0x001E)  // SAVEDC
                                        .finish();
  // The second draws with whatever is current, and selects slot 0 (free in a new file).
  std::vector<std::uint8_t> second = WmfWriter(0, 0, 200, 200)
                                         .select(0)
                                         .rectangle(21, 21, 101, 101)
                                         .textout(10, 150, "Hi")
                                         .finish();
  WmfCanvas fresh(100, 100);
  EXPECT_EQ(fresh.play(second), RenderStatus::Ok);
  WmfCanvas reused(100, 100);
  reused.play(first);
  EXPECT_TRUE(reused.ink().empty());
  EXPECT_EQ(reused.play(second), RenderStatus::Ok);
  EXPECT_EQ(reused.pixels(), fresh.pixels());
  // The defaults: a black one-pixel pen around a white fill.
  EXPECT_EQ(fresh.at(10, 30), kOpaqueBlack);
  EXPECT_EQ(fresh.at(30, 30), kWhite);
}

TEST(WmfRenderFile, ReadsFilesAndReportsSize) {
  std::string path = ::testing::TempDir() + "play_test.wmf";
  std::vector<std::uint8_t> file =
      red_filler(-10, 20, 190, 120).rectangle(-10, 20, 190, 120).finish();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(file.data(), 1, file.size(), f);
  std::fclose(f);

  double w = 0, h = 0;
  EXPECT_EQ(wmf_document_size(path, w, h), RenderStatus::Ok);
  EXPECT_EQ(w, 200);
  EXPECT_EQ(h, 100);
  WmfCanvas canvas(20, 10);
  canvas.data.path = path;
  EXPECT_EQ(render_wmf_file(path, canvas.data), RenderStatus::Ok);
  EXPECT_EQ(canvas.at(0, 0), kRed);
  EXPECT_EQ(canvas.at(19, 9), kRed);
  EXPECT_EQ(render_wmf_file("/nonexistent.wmf", canvas.data), RenderStatus::Unreadable);
  EXPECT_EQ(wmf_document_size("/nonexistent.wmf", w, h), RenderStatus::Unreadable);
  std::remove(path.c_str());
}

}  // namespace
