#pragma once
// The in-memory form of a DR2D drawing: what the renderer draws (polygons,
// groups, external objects, attributes, layers, the colour map) and what the
// file declares besides (fonts, dashes, fill patterns, text and bitmap
// objects), kept but not drawn.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "dr2d/dr2d_fixed.h"
#include "dr2d/iff_reader.h"

inline constexpr std::uint32_t kDr2dType = iff_id("DR2D");
inline constexpr std::uint32_t kDr2dClosedPolygon = iff_id("CPLY");
inline constexpr std::uint32_t kDr2dOpenPolygon = iff_id("OPLY");
inline constexpr std::uint32_t kDr2dGroup = iff_id("GRUP");
inline constexpr std::uint32_t kDr2dExternal = iff_id("XTRN");
inline constexpr std::uint32_t kDr2dFillForm = iff_id("FILL");
inline constexpr std::uint32_t kDr2dText = iff_id("STXT");
inline constexpr std::uint32_t kDr2dTextPath = iff_id("TPTH");
inline constexpr std::uint32_t kDr2dBitmap = iff_id("VBM ");

// Flag bits of an indicator point's y word.
inline constexpr std::uint32_t kDr2dCurveFollows = 1;
inline constexpr std::uint32_t kDr2dNewSubPolygon = 2;

// Flag bit of a layer that is drawn.
inline constexpr std::uint8_t kDr2dLayerVisible = 2;

struct Dr2dAttributes {
  std::uint8_t fill_type = 0;     // 1: filled with fill_value
  std::uint8_t join_type = 0;     // 1 miter, 2 bevel, 3 round
  std::uint8_t dash_pattern = 0;  // 0: no outline
  std::uint8_t arrowhead = 0;
  std::uint16_t fill_value = 0;  // colour-map indices
  std::uint16_t edge_value = 0;
  std::uint16_t layer = 0;
  Dr2dFixed edge_thickness = 0;
};

struct Dr2dBounds {
  Dr2dFixed x_min = 0, y_min = 0, x_max = 0, y_max = 0;
};

// x == kDr2dIndicator: y is the file's flag word, bit for bit.
struct Dr2dPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct Dr2dObject;

struct Dr2dPolygon {  // CPLY, OPLY
  std::vector<Dr2dPoint> points;
};
struct Dr2dGroup {  // GRUP
  std::uint16_t declared_count = 0;
  std::vector<Dr2dObject> children;  // file order
};
struct Dr2dExternal {  // XTRN
  std::uint16_t callbacks = 0;
  std::string application_name;
  std::unique_ptr<Dr2dObject> child;  // the last object read inside it
};
struct Dr2dFillPattern {  // FILL, while it is being read
  std::uint16_t fill_id = 0;
  std::unique_ptr<Dr2dObject> pattern;
};
struct Dr2dText {  // STXT
  std::uint16_t font = 0;
  Dr2dFixed base_x = 0, base_y = 0, rotation = 0, char_width = 0, char_height = 0;
  std::string text;
};
struct Dr2dTextPath {  // TPTH
  std::uint16_t font = 0;
  Dr2dFixed char_width = 0, char_height = 0;
  std::string text;
  std::vector<Dr2dPoint> path_points;
};
struct Dr2dBitmap {  // VBM
  Dr2dFixed x = 0, y = 0, width = 0, height = 0, rotation = 0;
  std::string file_name;  // up to its first zero byte
};

using Dr2dObjectData = std::variant<Dr2dPolygon, Dr2dGroup, Dr2dExternal, Dr2dFillPattern, Dr2dText,
                                    Dr2dTextPath, Dr2dBitmap>;

struct Dr2dObject {
  std::uint32_t kind = 0;  // chunk identifier, e.g. kDr2dClosedPolygon
  Dr2dAttributes attributes;
  Dr2dBounds bounds;  // stored, not used
  Dr2dObjectData data;
};

struct Dr2dLayer {
  std::uint16_t number = 0;
  std::array<char, 16> name{};
  std::uint8_t flags = 0;
  std::uint8_t pad = 0;
};

struct Dr2dFont {
  std::array<std::uint8_t, 4> header{};  // number, pad, proportional, serif
  std::string name;                      // as read
};

// The per-number tables are indexed by the number in the file; their size is
// one more than the highest number seen, and entries nobody declared stay
// empty (a layer that was never declared has flags 0 and is not drawn).
struct Dr2dDrawing {
  Dr2dFixed left = 0, top = 0, right = 0, bottom = 0;  // DRHD
  std::vector<Dr2dFont> fonts;
  std::vector<std::vector<Dr2dFixed>> dashes;
  std::vector<std::uint8_t> colour_rgb;   // 3 bytes per colour
  std::vector<std::uint8_t> colour_cmyk;  // 4 bytes per colour, derived from rgb
  std::size_t colour_count = 0;
  std::vector<std::unique_ptr<Dr2dObject>> fills;  // null where no FILL was read
  std::vector<Dr2dLayer> layers;
  std::vector<std::vector<Dr2dObject>> layer_objects;  // top-level objects per layer
};

// Makes sure entry `number` exists, growing the table to the next power of
// two at least 2 that holds it; new entries are value-initialised.
template <typename T>
T& dr2d_table_entry(std::vector<T>& table, std::size_t number) {
  if (number >= table.size()) {
    std::size_t capacity = table.capacity() < 2 ? 2 : table.capacity();
    while (capacity <= number) capacity *= 2;
    table.reserve(capacity);
    table.resize(number + 1);
  }
  return table[number];
}

// Makes layer `number` exist; layers created on the way get their own index.
Dr2dLayer& dr2d_layer_entry(Dr2dDrawing& drawing, std::uint16_t number);

// Releases the drawing and everything it holds.
void free_dr2d_drawing(std::unique_ptr<Dr2dDrawing>& drawing);
