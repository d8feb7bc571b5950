#pragma once
// The presentation properties one element sets itself. Inheritance is not
// resolved here: the render engine's state stack carries what enclosing
// elements set, and the traversal reports only what an element sets.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "svg/svg_attributes.h"
#include "svg/svg_color.h"
#include "svg/svg_length.h"
#include "svg/svg_paint.h"
#include "svg/svg_status.h"

class RenderEngine;
struct SvgDocument;

// Bits of SvgStyle::flags: one per property the engine receives, plus the two
// state flags the traversal tests.
enum SvgStyleFlag : uint64_t {
  kSvgStyleColor = 1u << 0,
  kSvgStyleFillOpacity = 1u << 1,
  kSvgStyleFill = 1u << 2,
  kSvgStyleFillRule = 1u << 3,
  kSvgStyleFontFamily = 1u << 4,
  kSvgStyleFontSize = 1u << 5,
  kSvgStyleFontStyle = 1u << 6,
  kSvgStyleFontWeight = 1u << 7,
  kSvgStyleOpacity = 1u << 8,
  kSvgStyleDashArray = 1u << 9,
  kSvgStyleDashOffset = 1u << 10,
  kSvgStyleLineCap = 1u << 11,
  kSvgStyleLineJoin = 1u << 12,
  kSvgStyleMiterLimit = 1u << 13,
  kSvgStyleStrokeOpacity = 1u << 14,
  kSvgStyleStroke = 1u << 15,
  kSvgStyleStrokeWidth = 1u << 16,
  kSvgStyleTextAnchor = 1u << 17,
  kSvgStyleDisplayed = 1u << 18,
  kSvgStyleVisible = 1u << 19,
};

// Paint references that named no element yet when they were read; the
// document resolves them when the parse ends (see SvgDocument).
enum SvgStylePending : uint32_t {
  kSvgStylePendingFill = 1u << 0,
  kSvgStylePendingStroke = 1u << 1,
};

struct SvgStyle {
  SvgDocument* document = nullptr;  // resolves "url(#" paints; not owned
  uint64_t flags = kSvgStyleDisplayed | kSvgStyleVisible | kSvgStyleOpacity;
  double fill_opacity = 1.0;
  SvgPaint fill_paint;
  int32_t fill_rule = 0;  // 0 nonzero, 1 evenodd
  std::optional<std::string> font_family;
  SvgLength font_size{10.0, SvgLengthUnit::Px, SvgLengthDirection::Other};
  int32_t font_style = 0;     // 0 normal, 1 italic, 2 oblique
  int32_t font_weight = 400;  // 100 to 900
  double opacity = 1.0;       // also holds stop-opacity
  std::vector<double> dash_array;
  SvgLength dash_offset{0.0, SvgLengthUnit::Px, SvgLengthDirection::Other};
  int32_t line_cap = 0;   // 0 butt, 1 round, 2 square
  int32_t line_join = 1;  // 0 bevel, 1 miter, 2 round
  double miter_limit = 4.0;
  double stroke_opacity = 1.0;
  SvgPaint stroke_paint;
  SvgLength stroke_width{1.0, SvgLengthUnit::Px, SvgLengthDirection::Other};
  SvgColor color;           // also holds stop-color
  int32_t text_anchor = 0;  // 0 start, 1 middle, 2 end
  uint32_t pending = 0;     // SvgStylePending bits

  bool has(uint64_t flag) const { return (flags & flag) != 0; }
  int dash_count() const { return static_cast<int>(dash_array.size()); }

  // The per-element initial state.
  static void init(SvgStyle& style, SvgDocument* document);
  // Runs every property parser on its root default, in table order.
  static SvgStatus apply_root_defaults(SvgStyle& style);
  // Runs the parser of the property named exactly `name`; Malformed for an
  // unknown name.
  static SvgStatus set_property(SvgStyle& style, std::string_view name, std::string_view value);
  // The "style" attribute, then the presentation attributes in table order.
  // A rejected presentation attribute stops the step with its status.
  static SvgStatus read_attributes(SvgStyle& style, const SvgAttributes& attributes);
  // Declarations separated by ";"; failing declarations are ignored, only
  // OutOfMemory is reported.
  static SvgStatus parse_style_attribute(SvgStyle& style, std::string_view text);
  // A deep copy (font family text and dash list duplicated).
  static SvgStatus copy(SvgStyle& destination, const SvgStyle& source);
  // Releases the owned parts and clears the flags.
  static void release(SvgStyle& style);
  // Calls the style slot of every property whose flag is on, in the fixed
  // order; the first non-Ok status stops and is returned.
  static SvgStatus apply_to_engine(const SvgStyle& style, RenderEngine& engine);
};

// The property table: 22 names in table order, each with its root default.
struct SvgStyleProperty {
  std::string_view name;
  SvgStatus (*parse)(SvgStyle& style, std::string_view value);
  std::string_view root_default;
};
inline constexpr int kSvgStylePropertyCount = 22;
extern const SvgStyleProperty kSvgStyleProperties[kSvgStylePropertyCount];
