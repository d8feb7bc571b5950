#pragma once
// Playback state of the WMF player, kept in RendererData between records.
// Every playback starts from a fresh WmfPlayer, so a file draws the same
// whatever was played before it.

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct WmfColor {
  std::uint32_t red = 0;
  std::uint32_t green = 0;
  std::uint32_t blue = 0;
};

inline constexpr WmfColor kWmfWhite{255, 255, 255};

// Dash kinds of a pen; kWmfDashNone draws no outline.
inline constexpr std::int32_t kWmfDashNone = -1;

struct WmfPen {
  std::int32_t dash = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, -1 none
  double width = 0;       // logical units; 0 is one device pixel
  WmfColor color;
  std::int32_t visible = 1;
  std::int32_t cap = 0;   // 0 round, 0x100 square, 0x200 flat, -1 keep
  std::int32_t join = 0;  // 0 round, 0x1000 bevel, 0x2000 miter
};

// A brush's image: premultiplied ARGB32, top row first. A monochrome image
// holds only kWmfMonoZero and kWmfMonoOne: its 0 bits are drawn in the text
// colour and its 1 bits in the background colour current when it is used.
inline constexpr std::uint32_t kWmfMonoZero = 0xFF000000u;
inline constexpr std::uint32_t kWmfMonoOne = 0xFFFFFFFFu;

struct WmfPatternImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> pixels;
  bool monochrome = false;
};

inline constexpr std::int32_t kWmfBrushSolid = 0;
inline constexpr std::int32_t kWmfBrushNull = 1;
inline constexpr std::int32_t kWmfBrushHatched = 2;
inline constexpr std::int32_t kWmfBrushPattern = 3;

struct WmfBrush {
  std::int32_t style = kWmfBrushSolid;
  WmfColor color = kWmfWhite;
  std::int32_t visible = 1;
  std::int32_t hatch = 0;                          // for hatched brushes
  std::shared_ptr<const WmfPatternImage> pattern;  // for pattern brushes
};

struct WmfFont {
  std::string face = "Arial";
  std::int32_t height = 0;  // logical units; sign kept, its magnitude is the size
  std::int32_t width = 0;   // average character width in logical units; 0 the face's own
  std::int32_t weight = 0;
  std::int32_t italic = 0;
  std::int32_t escapement = 0;  // tenths of a degree, counter-clockwise
  std::uint8_t charset = 0;
  std::uint8_t underline = 0;
  std::uint8_t strike_out = 0;
};

// Text alignment flags.
inline constexpr std::uint16_t kWmfTaUpdateCp = 0x0001;
inline constexpr std::uint16_t kWmfTaRight = 0x0002;
inline constexpr std::uint16_t kWmfTaCenter = 0x0006;
inline constexpr std::uint16_t kWmfTaBottom = 0x0008;
inline constexpr std::uint16_t kWmfTaBaseline = 0x0018;

inline constexpr std::int32_t kWmfBkTransparent = 1;
inline constexpr std::int32_t kWmfBkOpaque = 2;

// What SAVEDC saves: the selected objects, colours, modes, window and the
// current position. The clip lives in the cairo context, saved alongside.
struct WmfDcState {
  WmfPen pen;
  WmfBrush brush;
  WmfFont font;
  WmfColor text_color;
  WmfColor bk_color = kWmfWhite;
  std::int32_t bk_mode = kWmfBkOpaque;
  std::uint16_t text_align = 0;
  // The window: logical origin and extent mapped onto the placeable box.
  std::int32_t window_org_x = 0;
  std::int32_t window_org_y = 0;
  std::int32_t window_ext_x = 1;
  std::int32_t window_ext_y = 1;
  // The current position, in logical units.
  std::int32_t pos_x = 0;
  std::int32_t pos_y = 0;
};

// A region: rectangles in logical units, left and top inside, right and
// bottom outside. An empty region has none.
struct WmfRegionRect {
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::int16_t right = 0;
  std::int16_t bottom = 0;
};

struct WmfRegion {
  std::vector<WmfRegionRect> rects;
};

enum class WmfObjectKind : std::uint8_t { Free, Pen, Brush, Font, Region, Other };

struct WmfObject {
  WmfObjectKind kind = WmfObjectKind::Free;
  WmfPen pen;
  WmfBrush brush;
  WmfFont font;
  std::shared_ptr<const WmfRegion> region;
};

// Objects by slot; a created object takes the lowest free slot.
struct WmfObjectTable {
  std::vector<WmfObject> slots;
  std::size_t lowest_free = 0;  // no free slot lies below this one
};

struct WmfPlayer {
  std::int32_t bbox_left = 0;
  std::int32_t bbox_top = 0;
  double bbox_width = 0;
  double bbox_height = 0;
  // Drawing-space units per logical unit, from the window.
  double scale_x = 1;
  double scale_y = 1;
  // Device units per drawing-space unit: the fit of the box onto the target.
  double device_scale_x = 1;
  double device_scale_y = 1;
  WmfDcState dc;
  std::vector<WmfDcState> saved;
  WmfObjectTable objects;
  // The target's matrix before the playback's scale: device space for text,
  // hairlines and pixels.
  cairo_matrix_t device_matrix{1, 0, 0, 1, 0, 0};
  // The clip the playback started with, in device space: what a region
  // clip lies within and what selecting no region returns to.
  double base_clip_x1 = 0;
  double base_clip_y1 = 0;
  double base_clip_x2 = 0;
  double base_clip_y2 = 0;
  // Set when a record was too short or its counts ran past its end.
  bool partial = false;
};
