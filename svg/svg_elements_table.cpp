#include "svg/svg_elements_table.h"

#include <cstring>
#include <utility>

#include "svg/svg_document.h"
#include "svg/svg_element.h"
#include "svg/svg_numbers.h"
#include "svg/svg_parser.h"

namespace {

// A length is first set from its default text, then from the attribute when
// present; a value that does not start with a number keeps the default.
void read_length(SvgLength& length, const SvgAttributes& attributes, std::string_view name,
                 std::string_view default_text) {
  length.parse(default_text);
  if (const char* text = attributes.find(name)) length.parse(text);
}

// Only these kinds take arbitrary child elements.
bool takes_children(const SvgElement* container) {
  if (container == nullptr) return false;
  switch (container->kind) {
    case SvgElementKind::Svg:
    case SvgElementKind::Group:
    case SvgElementKind::Defs:
    case SvgElementKind::Use:
    case SvgElementKind::Symbol: return true;
    default: return false;
  }
}

// Creates an element of `kind` in the frame's container. An element with no
// place to go (no container, or one whose record cannot hold it) is skipped
// with its subtree.
SvgStatus build(SvgParser& parser, SvgParseFrame& frame, SvgElementKind kind, bool container,
                SvgElement** built) {
  if (!takes_children(frame.container)) {
    parser.skip_subtree = true;
    return SvgStatus::NothingBuilt;
  }
  std::unique_ptr<SvgElement> element;
  SvgStatus status = SvgElement::create(*parser.document, kind, frame.container, &element);
  if (status != SvgStatus::Ok) return status;
  SvgElement* placed = element.get();
  status = SvgElement::append(*frame.container, std::move(element));
  if (status != SvgStatus::Ok) return status;
  if (container) frame.container = placed;
  *built = placed;
  return SvgStatus::Ok;
}

SvgStatus parse_a(SvgParser&, SvgParseFrame&, const SvgAttributes&, SvgElement**) {
  return SvgStatus::NothingBuilt;
}

SvgStatus parse_svg(SvgParser& parser, SvgParseFrame& frame, const SvgAttributes&,
                    SvgElement** built) {
  if (frame.container != nullptr) return build(parser, frame, SvgElementKind::Svg, true, built);
  SvgDocument& document = *parser.document;
  if (document.root) {
    // A second outermost "svg" (possible inside an unbuilt wrapper) would
    // replace a tree that the id table still refers to.
    parser.skip_subtree = true;
    return SvgStatus::NothingBuilt;
  }
  std::unique_ptr<SvgElement> element;
  SvgStatus status = SvgElement::create(document, SvgElementKind::Svg, nullptr, &element);
  if (status != SvgStatus::Ok) return status;
  SvgElement* root = element.get();
  document.root = std::move(element);
  frame.container = root;
  *built = root;
  return SvgStyle::apply_root_defaults(root->style);
}

// The parse step of an element that reads nothing at its start tag.
template <SvgElementKind kKind, bool kContainer>
SvgStatus parse_plain(SvgParser& parser, SvgParseFrame& frame, const SvgAttributes&,
                      SvgElement** built) {
  return build(parser, frame, kKind, kContainer, built);
}

SvgStatus parse_line(SvgParser& parser, SvgParseFrame& frame, const SvgAttributes& attributes,
                     SvgElement** built) {
  SvgStatus status = build(parser, frame, SvgElementKind::Line, false, built);
  if (status != SvgStatus::Ok) return status;
  SvgLineShape& line = std::get<SvgLineShape>((*built)->data);
  read_length(line.x1, attributes, "x1", "0");
  read_length(line.y1, attributes, "y1", "0");
  read_length(line.x2, attributes, "x2", "0");
  read_length(line.y2, attributes, "y2", "0");
  return SvgStatus::Ok;
}

SvgStatus parse_rect(SvgParser& parser, SvgParseFrame& frame, const SvgAttributes& attributes,
                     SvgElement** built) {
  SvgStatus status = build(parser, frame, SvgElementKind::Rect, false, built);
  if (status != SvgStatus::Ok) return status;
  SvgRectShape& rect = std::get<SvgRectShape>((*built)->data);
  read_length(rect.x, attributes, "x", "0");
  read_length(rect.y, attributes, "y", "0");
  read_length(rect.width, attributes, "width", "0");
  read_length(rect.height, attributes, "height", "0");
  read_length(rect.rx, attributes, "rx", "0");
  read_length(rect.ry, attributes, "ry", "0");
  bool has_rx = attributes.find("rx") != nullptr;
  bool has_ry = attributes.find("ry") != nullptr;
  if (has_rx && !has_ry) rect.ry = rect.rx;
  if (has_ry && !has_rx) rect.rx = rect.ry;
  return SvgStatus::Ok;
}

SvgStatus parse_circle(SvgParser& parser, SvgParseFrame& frame, const SvgAttributes& attributes,
                       SvgElement** built) {
  SvgStatus status = build(parser, frame, SvgElementKind::Circle, false, built);
  if (status != SvgStatus::Ok) return status;
  SvgEllipseShape& circle = std::get<SvgEllipseShape>((*built)->data);
  read_length(circle.cx, attributes, "cx", "0");
  read_length(circle.cy, attributes, "cy", "0");
  read_length(circle.rx, attributes, "r", "100%");
  read_length(circle.ry, attributes, "r", "100%");
  if (circle.rx.value < 0) return SvgStatus::Malformed;
  return SvgStatus::Ok;
}

SvgStatus parse_ellipse(SvgParser& parser, SvgParseFrame& frame, const SvgAttributes& attributes,
                        SvgElement** built) {
  SvgStatus status = build(parser, frame, SvgElementKind::Ellipse, false, built);
  if (status != SvgStatus::Ok) return status;
  SvgEllipseShape& ellipse = std::get<SvgEllipseShape>((*built)->data);
  read_length(ellipse.cx, attributes, "cx", "0");
  read_length(ellipse.cy, attributes, "cy", "0");
  read_length(ellipse.rx, attributes, "rx", "100%");
  read_length(ellipse.ry, attributes, "ry", "100%");
  if (ellipse.rx.value < 0 || !(ellipse.ry.value >= 0)) return SvgStatus::Malformed;
  return SvgStatus::Ok;
}

SvgStatus parse_points_element(SvgParser& parser, SvgParseFrame& frame,
                               const SvgAttributes& attributes, SvgElement** built, bool close) {
  if (!takes_children(frame.container)) {
    parser.skip_subtree = true;
    return SvgStatus::NothingBuilt;
  }
  const char* points = attributes.find("points");
  if (points == nullptr) return SvgStatus::Malformed;
  SvgStatus status = build(parser, frame, SvgElementKind::Path, false, built);
  if (status != SvgStatus::Ok) return status;
  return std::get<SvgPath>((*built)->data).parse_points(points, close);
}

SvgStatus parse_polygon(SvgParser& parser, SvgParseFrame& frame, const SvgAttributes& attributes,
                        SvgElement** built) {
  return parse_points_element(parser, frame, attributes, built, true);
}

SvgStatus parse_polyline(SvgParser& parser, SvgParseFrame& frame, const SvgAttributes& attributes,
                         SvgElement** built) {
  return parse_points_element(parser, frame, attributes, built, false);
}

SvgStatus read_path_data(SvgParser&, SvgElement& element, const SvgAttributes& attributes) {
  const char* data = attributes.find("d");
  if (data == nullptr) return SvgStatus::Malformed;
  SvgPath& path = std::get<SvgPath>(element.data);
  if (!path.empty()) return SvgStatus::Ok;
  return path.parse_data(data);
}

// viewBox and preserveAspectRatio of "svg" and "symbol".
void read_view_box(SvgViewBox& view_box, const SvgAttributes& attributes) {
  const char* text = attributes.find("viewBox");
  if (text == nullptr) return;
  std::string_view rest(text);
  double numbers[4] = {0.0, 0.0, 0.0, 0.0};
  size_t consumed = 0;
  if (svg_read_number(rest, &numbers[0], &consumed)) {
    rest.remove_prefix(consumed);
    for (int i = 1; i < 4; ++i) {
      size_t end = 0;
      if (scan_numbers(rest, 1, &numbers[i], &end) != SvgStatus::Ok) {
        numbers[i] = 0.0;  // a missing number counts as 0
        break;
      }
      rest.remove_prefix(end);
    }
  }
  view_box.x = numbers[0];
  view_box.y = numbers[1];
  view_box.width = numbers[2];
  view_box.height = numbers[3];
  view_box.set_align(SvgAlign::None);

  const char* aspect = attributes.find("preserveAspectRatio");
  if (aspect == nullptr) return;
  std::string_view value(aspect);
  if (value.size() < 8) return;
  static constexpr std::string_view kAlignments[] = {"xMinYMin", "xMidYMin", "xMaxYMin",
                                                     "xMinYMid", "xMidYMid", "xMaxYMid",
                                                     "xMinYMax", "xMidYMax", "xMaxYMax"};
  for (uint32_t i = 0; i < 9; ++i) {
    if (value.substr(0, 8) == kAlignments[i]) view_box.set_align(static_cast<SvgAlign>(i + 2));
  }
  std::string_view mode = value.substr(svg_skip_space(value, 8));
  if (mode == "meet") view_box.set_meet_or_slice(SvgMeetOrSlice::Meet);
  if (mode == "slice") view_box.set_meet_or_slice(SvgMeetOrSlice::Slice);
}

SvgStatus read_viewport(SvgParser&, SvgElement& element, const SvgAttributes& attributes) {
  SvgGroup& group = *element.group();
  read_length(group.width, attributes, "width", "100%");
  read_length(group.height, attributes, "height", "100%");
  read_length(group.x, attributes, "x", "0");
  read_length(group.y, attributes, "y", "0");
  read_view_box(group.view_box, attributes);
  return SvgStatus::Ok;
}

SvgStatus read_use(SvgParser& parser, SvgElement& use, const SvgAttributes& attributes) {
  const char* href = attributes.find_href();
  if (href == nullptr || href[0] == '\0') return SvgStatus::Ok;
  std::string_view id = std::string_view(href).substr(1);
  SvgDocument& document = *parser.document;
  SvgElement* target = SvgIdTable::find(document.ids, id);
  SvgGroup& group = *use.group();
  read_length(group.width, attributes, "width", "100%");
  read_length(group.height, attributes, "height", "100%");
  if (target == nullptr || target->pending_below > 0) {
    // Defined later, or itself waiting for something defined later: the copy
    // is made when the parse ends.
    read_length(group.x, attributes, "x", "0");
    read_length(group.y, attributes, "y", "0");
    if (!svg_document_may_allocate(document)) return SvgStatus::OutOfMemory;
    try {
      document.pending_uses.push_back(SvgPendingUse{&use, std::string(id)});
    } catch (const std::bad_alloc&) {
      return SvgStatus::OutOfMemory;
    }
    use.pending_use = true;
    svg_pending_adjust(use, +1);
    return SvgStatus::Ok;
  }
  SvgStatus status = svg_use_attach_copy(use, *target);
  if (status != SvgStatus::Ok) return status;
  read_length(group.x, attributes, "x", "0");
  read_length(group.y, attributes, "y", "0");
  return SvgStatus::Ok;
}

}  // namespace

const SvgElementEntry kSvgElementEntries[kSvgElementEntryCount] = {
    {"a", parse_a, nullptr, nullptr},
    {"svg", parse_svg, read_viewport, nullptr},
    {"g", parse_plain<SvgElementKind::Group, true>, nullptr, nullptr},
    {"path", parse_plain<SvgElementKind::Path, false>, read_path_data, nullptr},
    {"line", parse_line, nullptr, nullptr},
    {"rect", parse_rect, nullptr, nullptr},
    {"circle", parse_circle, nullptr, nullptr},
    {"ellipse", parse_ellipse, nullptr, nullptr},
    {"defs", parse_plain<SvgElementKind::Defs, true>, nullptr, nullptr},
    {"use", parse_plain<SvgElementKind::Use, true>, read_use, nullptr},
    {"symbol", parse_plain<SvgElementKind::Symbol, true>, read_viewport, nullptr},
    {"polygon", parse_polygon, nullptr, nullptr},
    {"polyline", parse_polyline, nullptr, nullptr},
    // Text, images, gradients and patterns are recognised; their subtrees
    // are skipped until their records exist.
    {"text", nullptr, nullptr, nullptr},
    {"tspan", nullptr, nullptr, nullptr},
    {"image", nullptr, nullptr, nullptr},
    {"linearGradient", nullptr, nullptr, nullptr},
    {"radialGradient", nullptr, nullptr, nullptr},
    {"stop", nullptr, nullptr, nullptr},
    {"pattern", nullptr, nullptr, nullptr},
};

const SvgElementEntry* svg_element_entry_find(std::string_view name) {
  for (const SvgElementEntry& entry : kSvgElementEntries) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

SvgStatus svg_use_attach_copy(SvgElement& use, const SvgElement& target) {
  if (use.depth >= kSvgMaxDepth) return SvgStatus::Ok;  // the copy would be too deep
  std::unique_ptr<SvgElement> copy;
  SvgStatus status = SvgElement::deep_copy(target, use.depth + 1, &copy);
  if (status != SvgStatus::Ok) return status;
  if (copy->kind == SvgElementKind::Symbol) {
    SvgGroup& symbol = *copy->group();
    symbol.width = use.group()->width;
    symbol.height = use.group()->height;
    if (symbol.view_box.present()) copy->kind = SvgElementKind::Group;
  }
  return SvgElement::append(use, std::move(copy), /*first=*/true);
}

void svg_use_reset(SvgElement& use) {
  SvgGroup fresh;
  SvgGroup& group = *use.group();
  group.width = fresh.width;
  group.height = fresh.height;
  group.x = fresh.x;
  group.y = fresh.y;
}

void svg_pending_adjust(SvgElement& element, int delta) {
  // An element counts its own waiting references plus its children that have
  // any, so a change only travels up while a count turns from or to 0.
  for (SvgElement* e = &element; e != nullptr; e = e->parent) {
    if (delta > 0) {
      if (e->pending_below++ != 0) break;
    } else if (--e->pending_below != 0) {
      break;
    }
  }
}
