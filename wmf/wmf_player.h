#pragma once
// Playback state of the WMF player, kept in RendererData between records.
// Every playback starts from a fresh WmfPlayer, so a file draws the same
// whatever was played before it.

#include <cstdint>
#include <string>

struct WmfColor {
  std::uint32_t red = 0;
  std::uint32_t green = 0;
  std::uint32_t blue = 0;
};

// Dash kinds of a pen; kWmfDashNone draws no outline.
inline constexpr std::int32_t kWmfDashNone = -1;

struct WmfPen {
  std::int32_t dash = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, -1 none
  double width = 0;       // logical units; 0 is one device pixel
  WmfColor color;
  std::int32_t visible = 0;
  std::int32_t cap = 0;   // 0 round, 0x100 square, 0x200 flat, -1 keep
  std::int32_t join = 0;  // 0 round, 0x1000 bevel, 0x2000 miter
};

struct WmfBrush {
  WmfColor color;
  std::int32_t visible = 0;
};

struct WmfFont {
  std::string face = "Arial";
  std::int32_t height = 0;  // sign kept; its magnitude is the size
  std::int32_t weight = 0;
  std::int32_t italic = 0;
  std::uint8_t charset = 0;
};

struct WmfPlayer {
  // 1 keeps an axis, 0 reverses it (a negative window extent).
  std::int32_t x_no_flip = 1;
  std::int32_t y_no_flip = 1;
  std::int32_t bbox_left = 0;
  std::int32_t bbox_top = 0;
  double bbox_width = 0;
  double bbox_height = 0;
  WmfPen pen;
  WmfBrush brush;
  WmfColor text_color;
  WmfFont font;
  // Set when a record was too short or its counts ran past its end.
  bool partial = false;
};
