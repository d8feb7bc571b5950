#pragma once
// The bundled samples/sample.dr2d: a small landscape that uses what the
// renderer draws (layers, fills, outlines, curves, sub-polygon holes, groups,
// an external object) and some of what it only reads (text, a hidden layer).

#include <vector>

#include "tests/dr2d/dr2d_writer.h"

namespace dr2dw {

// A closed curve through four quarter arcs around (cx, cy).
inline std::vector<PointWords> ellipse_points(float cx, float cy, float rx, float ry) {
  const float k = 0.5523f;
  const float x[4] = {cx + rx, cx, cx - rx, cx};
  const float y[4] = {cy, cy + ry, cy, cy - ry};
  const float dx[4] = {0, -rx * k, 0, rx * k};
  const float dy[4] = {ry * k, 0, -ry * k, 0};
  std::vector<PointWords> points;
  for (int i = 0; i < 4; ++i) {
    int j = (i + 1) % 4;
    points.push_back(indicator(1));
    points.push_back(pt(x[i], y[i]));
    points.push_back(pt(x[i] + dx[i], y[i] + dy[i]));
    points.push_back(pt(x[j] - dx[j], y[j] - dy[j]));
    points.push_back(pt(x[j], y[j]));
  }
  return points;
}

inline Bytes sample_drawing() {
  enum Colour : std::uint16_t {
    kSky,
    kSun,
    kFarHill,
    kNearHill,
    kWall,
    kRoof,
    kOutline,
    kTrunk,
    kLeaves,
    kWater,
    kBird
  };
  const std::vector<Rgb> colours = {{142, 202, 230}, {255, 200, 60}, {120, 170, 110}, {80, 140, 70},
                                    {235, 225, 200}, {180, 70, 50},  {60, 50, 45},    {110, 80, 50},
                                    {50, 110, 60},   {70, 130, 180}, {40, 40, 60}};
  auto fill = [](std::uint16_t colour, std::uint16_t layer) {
    Attr a;
    a.fill_type = 1, a.fill_value = colour, a.layer = layer;
    return attr(a);
  };
  auto fill_and_edge = [](std::uint16_t colour, std::uint16_t layer, float thickness) {
    Attr a;
    a.fill_type = 1, a.fill_value = colour, a.layer = layer;
    a.dash_pattern = 1, a.edge_value = kOutline, a.edge_thickness = thickness, a.join_type = 3;
    return attr(a);
  };
  auto edge = [](std::uint16_t colour, std::uint16_t layer, float thickness) {
    Attr a;
    a.fill_type = 0, a.dash_pattern = 1, a.edge_value = colour, a.edge_thickness = thickness;
    a.layer = layer, a.join_type = 3;
    return attr(a);
  };

  std::vector<PointWords> far_hill{pt(0, 190),   indicator(1), pt(0, 190),   pt(90, 120),
                                   pt(200, 150), pt(280, 170), indicator(1), pt(280, 170),
                                   pt(340, 180), pt(380, 140), pt(400, 150), pt(400, 300),
                                   pt(0, 300)};
  std::vector<PointWords> near_hill{pt(0, 240),   indicator(1), pt(0, 240),   pt(120, 200),
                                    pt(260, 230), pt(400, 215), pt(400, 300), pt(0, 300)};
  // The wall with two windows and a door cut out as sub-polygons.
  std::vector<PointWords> wall{pt(210, 170), pt(300, 170), pt(300, 235), pt(210, 235), indicator(2),
                               pt(222, 185), pt(242, 185), pt(242, 203), pt(222, 203), indicator(2),
                               pt(268, 185), pt(288, 185), pt(288, 203), pt(268, 203), indicator(2),
                               pt(248, 210), pt(262, 210), pt(262, 235), pt(248, 235)};
  std::vector<PointWords> crown_a = ellipse_points(95, 175, 30, 34);
  std::vector<PointWords> crown_b = ellipse_points(120, 188, 22, 24);
  std::vector<PointWords> pond = ellipse_points(330, 262, 48, 14);

  return form("DR2D",
              {drhd(0, 0, 400, 300),
               cmap(colours),
               layr(0, kVisible, "Sky"),
               layr(1, kVisible, "Land"),
               layr(2, kVisible, "Details"),
               layr(3, 0, "Notes"),
               fons(0, "Sans"),
               fill(kSky, 0),
               rect(0, 0, 400, 300),
               fill_and_edge(kSun, 0, 1.5f),
               cply(ellipse_points(320, 60, 28, 28)),
               fill(kFarHill, 1),
               cply(far_hill),
               fill(kNearHill, 1),
               cply(near_hill),
               fill_and_edge(kWater, 1, 1),
               cply(pond),
               grup_form({fill_and_edge(kRoof, 2, 1), rect(280, 132, 292, 160),
                          fill_and_edge(kWall, 2, 1.5f), cply(wall), fill_and_edge(kRoof, 2, 1.5f),
                          cply({pt(200, 172), pt(255, 130), pt(310, 172)})},
                         3),
               grup_form({fill(kTrunk, 2), rect(100, 190, 112, 245), fill(kLeaves, 2),
                          cply(crown_a), cply(crown_b)},
                         3),
               xtrn_form("Birds", {grup_form({edge(kBird, 2, 1.5f),
                                              oply({pt(60, 60), pt(70, 55), pt(80, 60)}),
                                              oply({pt(90, 45), pt(98, 41), pt(106, 45)}),
                                              oply({pt(150, 75), pt(157, 71), pt(164, 75)})})}),
               fill(kRoof, 3),
               rect(0, 0, 400, 300),  // on the hidden layer: never drawn
               stxt(0, 20, 280, "Plotmira DR2D sample")});
}

}  // namespace dr2dw
