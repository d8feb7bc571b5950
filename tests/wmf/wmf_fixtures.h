#pragma once
// Generated metafiles kept in the repository: the bundled sample drawing and
// the fuzzer's seeds. sample_files_test.cpp checks them against these
// generators and rewrites them when PLOTMIRA_WRITE_SAMPLES is set.

#include <array>
#include <map>
#include <string>
#include <vector>

#include "tests/wmf/wmf_writer.h"

// A landscape: sky bands, a sun, hills, a house and a caption.
inline std::vector<std::uint8_t> wmf_sample_drawing() {
  WmfWriter w(0, 0, 1600, 1200);
  w.window_org(0, 0).window_ext(1600, 1200);
  w.rec(0x0106, {2});  // winding fill
  w.pen(5, 0, 0, 0, 0);
  for (int band = 0; band < 10; ++band) {
    int shade = 100 + band * 16;
    w.brush(0, static_cast<std::uint8_t>(shade - 80), static_cast<std::uint8_t>(shade - 20), 250);
    w.rectangle(0, band * 130, 1600, band * 130 + 131);
  }
  w.brush(0, 255, 214, 80).ellipse(1180, 120, 1420, 360);
  w.pen(0, 6, 200, 120, 30);
  for (auto [x1, y1, x2, y2] : std::vector<std::array<int, 4>>{{1300, 60, 1300, 0},
                                                               {1300, 420, 1300, 480},
                                                               {1120, 240, 1060, 240},
                                                               {1480, 240, 1540, 240}}) {
    w.rec(0x0214, {y1, x1}).rec(0x0213, {y2, x2});
  }
  w.pen(0, 4, 40, 90, 40).brush(0, 92, 170, 80);
  w.polygon({{0, 900},
             {300, 720},
             {640, 860},
             {980, 700},
             {1300, 820},
             {1600, 760},
             {1600, 1200},
             {0, 1200}});
  w.brush(0, 60, 140, 60);
  w.polygon(
      {{0, 1020}, {420, 900}, {900, 1000}, {1300, 920}, {1600, 1000}, {1600, 1200}, {0, 1200}});
  // The house: walls, roof, a door and two windows.
  w.pen(0, 8, 80, 40, 20).brush(0, 236, 222, 196).rectangle(300, 760, 700, 1040);
  w.brush(0, 178, 52, 40).polygon({{270, 770}, {500, 600}, {730, 770}});
  w.brush(0, 120, 72, 40).rectangle(460, 900, 540, 1040);
  w.brush(0, 150, 200, 240).rectangle(340, 820, 420, 890).rectangle(580, 820, 660, 890);
  w.rec(0x061C, {30, 30, 1180, 1560, 1100, 40});
  w.color(0x0209, 40, 40, 70);
  w.font(-72, "DejaVu Sans", 0, 700);
  w.rec(0x012E, {24}).rec(0x0102, {1});  // baseline alignment, transparent background
  w.textout(80, 1160, "Plotmira");
  return w.finish();
}

// Small files that reach every record handler, for the fuzzer to start from.
inline std::map<std::string, std::vector<std::uint8_t>> wmf_fuzz_seeds() {
  std::map<std::string, std::vector<std::uint8_t>> seeds;
  seeds["shapes.wmf"] = WmfWriter(0, 0, 200, 100)
                            .pen(0x1201, 3, 10, 20, 30)
                            .brush(0, 200, 100, 50)
                            .rectangle(10, 10, 60, 40)
                            .ellipse(70, 10, 120, 60)
                            .rec(0x061C, {8, 7, 90, 190, 50, 130})
                            .polyline({{0, 0}, {50, 90}, {100, 20}})
                            .polygon({{10, 90}, {40, 60}, {70, 90}})
                            .rec(0x061D, {0x0021, 0x00F0, 20, 30, 70, 150})
                            .finish();
  seeds["modes.wmf"] =
      WmfWriter(-50, -50, 50, 50)
          .window_ext(100, -100)
          .rec(0x0106, {1})
          .rec(0x0103, {8})
          .rec(0x012E, {24})
          .color(0x0201, 1, 2, 3)
          .rec(0x0416, {40, 40, -40, -40})
          .rec(0x0626, {23, 4, 10, 0})
          .rec(0x0626, {21, 4, 0x200, 0})
          .rec(0x0626, {22, 4, 0x1000, 0})
          .polypolygon({{{-40, -40}, {40, -40}, {40, 40}}, {{-10, -10}, {10, -10}, {10, 10}}})
          .finish();
  seeds["text.wmf"] = WmfWriter(0, 0, 300, 100)
                          .color(0x0209, 200, 0, 0)
                          .font(-24, "Arial", 0, 700, 1)
                          .textout(10, 50, "Caf\xE9 au lait")
                          .font(20, "Symbol", 2)
                          .textout(10, 90, "abgd")
                          .finish();
  std::vector<std::uint8_t> blt;
  WmfWriter::push32(blt, 0x00CC0020);
  for (int v : {2, 2, 0, 0, 40, 40, 10, 10, 0, 2, 2, 8})
    WmfWriter::push16(blt, static_cast<std::uint16_t>(v));
  blt.push_back(1);
  blt.push_back(24);
  for (int i = 0; i < 16; ++i) blt.push_back(static_cast<std::uint8_t>(i * 16));
  seeds["bitmap.wmf"] = WmfWriter(0, 0, 60, 60)
                            .raw(0x0B23, blt)
                            .rec(0x0922, {0x20, 0xCC, 0, 0, 0, 10, 10, 40, 40})
                            .finish();
  seeds["objects-window-savedc.wmf"] = WmfWriter(0, 0, 400, 300)
                                           .create_pen(1, 0, 255, 0, 0)
                                           .create_brush(2, 0, 0, 255, 3)
                                           .create_font(-30, "Arial", 0, 700)
                                           .select(1)
                                           .select(0)
                                           .window_org(-100, 300)
                                           .window_ext(800, -600)
                                           .rec(0x001E)
                                           .rec(0x020F, {10, -20})
                                           .rec(0x0410, {3, 2, 3, 2})
                                           .rec(0x0415, {50, 50, -50, -50})
                                           .ellipse(-90, 200, 300, -200)
                                           .rec(0x0127, {0xFFFF})
                                           .remove(1)
                                           .create_brush(0, 9, 9, 9)
                                           .select(1)
                                           .rec(0x0102, {2})
                                           .color(0x0201, 200, 200, 0)
                                           .rectangle(0, 0, 100, 100)
                                           .finish();
  seeds["exttextout.wmf"] = WmfWriter(0, 0, 400, 100)
                                .font(-24, "Symbol", 2, 400, 0, 450)
                                .rec(0x012E, {1 | 6 | 24})
                                .rec(0x0214, {50, 10})
                                .exttextout(0, 0, 0x0006, {0, 0, 200, 60}, "abgd", {20, 20, 20, 20})
                                .exttextout(5, 5, 0, {}, "Caf\xE9")
                                .finish();
  seeds["arcs-pixels.wmf"] = WmfWriter(0, 0, 100, 100)
                                 .rec(0x0817, {0, 50, 50, 100, 100, 100, 0, 0})
                                 .rec(0x081A, {100, 50, 0, 50, 90, 90, 10, 10})
                                 .rec(0x0830, {10, 10, 90, 90, 80, 80, 20, 20})
                                 .raw(0x041F, {1, 2, 3, 0, 40, 0, 20, 0})
                                 .rec(0x061D, {0x0042, 0x0000, 20, 30, 70, 50})
                                 .finish();
  std::vector<std::uint8_t> dib = {40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0};
  dib.resize(40, 0);
  for (std::uint8_t b : {0, 0, 255, 0, 255, 0, 0, 0, 0x40, 0, 0, 0, 0x80, 0, 0, 0})
    dib.push_back(b);
  std::vector<std::uint8_t> stretchdib;
  WmfWriter::push32(stretchdib, 0x00CC0020);
  for (int v : {0, 2, 2, 0, 0, 50, 50, 10, 10})
    WmfWriter::push16(stretchdib, static_cast<std::uint16_t>(v));
  stretchdib.insert(stretchdib.end(), dib.begin(), dib.end());
  std::vector<std::uint8_t> pattern = {5, 0, 0, 0};
  pattern.insert(pattern.end(), dib.begin(), dib.end());
  seeds["dib.wmf"] = WmfWriter(0, 0, 100, 100)
                         .raw(0x0F43, stretchdib)
                         .raw(0x0142, pattern)
                         .select(0)
                         .rectangle(50, 50, 100, 100)
                         .rec(0x0940, {0x0021, 0x00F0, 0, 0, 0, 20, 20, 0, 0})
                         .finish();
  std::vector<std::uint8_t> mono_pattern;
  for (int v : {0, 8, 8, 2}) WmfWriter::push16(mono_pattern, static_cast<std::uint16_t>(v));
  mono_pattern.insert(mono_pattern.end(), {1, 1});
  mono_pattern.resize(mono_pattern.size() + 18, 0);
  for (int row = 0; row < 8; ++row) mono_pattern.insert(mono_pattern.end(), {0xAA, 0});
  seeds["regions-patterns.wmf"] =
      WmfWriter(0, 0, 100, 100)
          .create_region({{10, 30, {10, 30, 60, 90}}, {30, 50, {10, 90}}})
          .create_brush(0, 0, 200, 0)
          .create_raw(0x01F9, mono_pattern)
          .rec(0x0228, {0, 1})
          .rec(0x0429, {0, 1, 3, 3})
          .select(2)
          .rec(0x012B, {0})
          .rec(0x012A, {0})
          .rec(0x001E)
          .rec(0x012C, {0})
          .pen(2, 0, 0, 0, 255)
          .rectangle(0, 0, 100, 100)
          .rec(0x0127, {0xFFFF})
          .rec(0x012C, {1})
          .finish();
  seeds["truncated.wmf"] =
      WmfWriter(0, 0, 100, 100).points(0x0324, {{1, 2}, {50, 60}}, 900).finish(false);
  return seeds;
}
