#pragma once
// The element tree of an SVG document: one record per built element with its
// common fields (transformation, style, id) and the data of its kind.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "svg/svg_length.h"
#include "svg/svg_matrix.h"
#include "svg/svg_path.h"
#include "svg/svg_status.h"
#include "svg/svg_style.h"
#include "svg/svg_view_box.h"

struct SvgDocument;

// Elements nest at most this deep (the outermost "svg" has depth 0). Deeper
// elements are not built, so everything that walks the tree stays bounded.
inline constexpr uint32_t kSvgMaxDepth = 2048;

enum class SvgElementKind : int32_t {
  Svg = 0,
  Group = 1,  // "g"; also a symbol copy that has a viewBox
  Defs = 2,
  Use = 3,
  Symbol = 4,
  Path = 5,  // "path", "polyline", "polygon"
  Circle = 6,
  Ellipse = 7,
  Line = 8,
  Rect = 9,
  Text = 10,
  TextChunk = 11,
  Gradient = 12,
  Pattern = 14,
  Image = 15,
};

struct SvgElement;

// Kind data of Svg, Group, Defs, Use, Symbol and Text.
struct SvgGroup {
  std::vector<std::unique_ptr<SvgElement>> children;  // in document order
  SvgLength width{0.0, SvgLengthUnit::Px, SvgLengthDirection::Horizontal};
  SvgLength height{0.0, SvgLengthUnit::Px, SvgLengthDirection::Vertical};
  SvgViewBox view_box;
  SvgLength x{0.0, SvgLengthUnit::Px, SvgLengthDirection::Horizontal};
  SvgLength y{0.0, SvgLengthUnit::Px, SvgLengthDirection::Vertical};

  int32_t count() const { return static_cast<int32_t>(children.size()); }
};

struct SvgLineShape {
  SvgLength x1{0.0, SvgLengthUnit::Px, SvgLengthDirection::Horizontal};
  SvgLength y1{0.0, SvgLengthUnit::Px, SvgLengthDirection::Vertical};
  SvgLength x2{0.0, SvgLengthUnit::Px, SvgLengthDirection::Horizontal};
  SvgLength y2{0.0, SvgLengthUnit::Px, SvgLengthDirection::Vertical};
};

struct SvgRectShape {
  SvgLength x{0.0, SvgLengthUnit::Px, SvgLengthDirection::Horizontal};
  SvgLength y{0.0, SvgLengthUnit::Px, SvgLengthDirection::Vertical};
  SvgLength width{0.0, SvgLengthUnit::Px, SvgLengthDirection::Horizontal};
  SvgLength height{0.0, SvgLengthUnit::Px, SvgLengthDirection::Vertical};
  SvgLength rx{0.0, SvgLengthUnit::Px, SvgLengthDirection::Horizontal};
  SvgLength ry{0.0, SvgLengthUnit::Px, SvgLengthDirection::Vertical};
};

// Kind data of Circle (radius in both rx and ry) and Ellipse.
struct SvgEllipseShape {
  SvgLength cx{0.0, SvgLengthUnit::Px, SvgLengthDirection::Horizontal};
  SvgLength cy{0.0, SvgLengthUnit::Px, SvgLengthDirection::Vertical};
  SvgLength rx{0.0, SvgLengthUnit::Px, SvgLengthDirection::Horizontal};
  SvgLength ry{0.0, SvgLengthUnit::Px, SvgLengthDirection::Vertical};
};

// One alternative per record kind; kinds without a record yet hold monostate.
using SvgKindData =
    std::variant<std::monostate, SvgGroup, SvgPath, SvgEllipseShape, SvgLineShape, SvgRectShape>;

struct SvgElement {
  SvgElement* parent = nullptr;  // not owned; for a "use" copy, the parent of the original
  SvgDocument* document = nullptr;
  SvgMatrix transform;
  SvgStyle style;
  SvgElementKind kind = SvgElementKind::Group;
  std::optional<std::string> id;
  SvgKindData data;
  uint32_t depth = 0;          // number of enclosing elements in the tree
  bool pending_use = false;    // a "use" whose copy waits for the end of the parse
  bool pending_paint = false;  // its style holds a paint reference waiting likewise
  // Waiting references of this element itself plus its children that have
  // any below them (built elements only; copies never hold any). The subtree
  // is complete when this is 0.
  uint32_t pending_below = 0;

  SvgElement() = default;
  SvgElement(const SvgElement&) = delete;
  SvgElement& operator=(const SvgElement&) = delete;
  // Releases the subtree without recursing over its depth.
  ~SvgElement();

  SvgGroup* group() { return std::get_if<SvgGroup>(&data); }
  const SvgGroup* group() const { return std::get_if<SvgGroup>(&data); }
  bool is_container() const { return group() != nullptr; }

  // A new element with the initial state of its kind, counted against the
  // document's element limit (OutOfMemory past it). Not yet in any tree.
  static SvgStatus create(SvgDocument& document, SvgElementKind kind, SvgElement* parent,
                          std::unique_ptr<SvgElement>* out);
  // Appends `child` to the children of `container` (a container element).
  // When `first` is set it goes before the children already there.
  static SvgStatus append(SvgElement& container, std::unique_ptr<SvgElement> child,
                          bool first = false);
  // A deep copy of `source` placed at `depth` (the copy keeps the original's
  // parent and id text). Parts of the subtree that would lie deeper than
  // kSvgMaxDepth are left out. On failure *out is empty.
  static SvgStatus deep_copy(const SvgElement& source, uint32_t depth,
                             std::unique_ptr<SvgElement>* out);
};

// The kind data an element of `kind` starts with.
SvgKindData svg_kind_data_initial(SvgElementKind kind);
