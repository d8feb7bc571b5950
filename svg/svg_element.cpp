#include "svg/svg_element.h"

#include <new>
#include <utility>

#include "svg/svg_document.h"

namespace {

// Moves every element `element` owns into `out`, so that destroying it
// afterwards does not recurse.
void take_owned_elements(SvgElement& element, std::vector<std::unique_ptr<SvgElement>>& out) {
  SvgGroup* group = element.group();
  if (group == nullptr) return;
  while (!group->children.empty()) {
    out.push_back(std::move(group->children.back()));
    group->children.pop_back();
  }
}

// What a copy of `element` holds beyond its record.
uint64_t data_bytes(const SvgElement& element) {
  uint64_t bytes = element.style.dash_array.size() * sizeof(double);
  if (element.style.font_family) bytes += element.style.font_family->size();
  if (const SvgPath* path = std::get_if<SvgPath>(&element.data)) bytes += path->storage_bytes();
  return bytes;
}

// A copy of one element without its children.
SvgStatus copy_one(const SvgElement& source, uint32_t depth, std::unique_ptr<SvgElement>* out) {
  if (!svg_document_may_copy(*source.document, data_bytes(source))) {
    return SvgStatus::OutOfMemory;
  }
  std::unique_ptr<SvgElement> copy;
  SvgStatus status = SvgElement::create(*source.document, source.kind, source.parent, &copy);
  if (status != SvgStatus::Ok) return status;
  copy->depth = depth;
  copy->transform = source.transform;
  status = SvgStyle::copy(copy->style, source.style);
  if (status != SvgStatus::Ok) return status;
  if (source.id) {
    if (!svg_document_may_allocate(*source.document)) return SvgStatus::OutOfMemory;
    copy->id.emplace(*source.id);
  }
  if (const SvgGroup* group = source.group()) {
    SvgGroup& target = std::get<SvgGroup>(copy->data);
    target.width = group->width;
    target.height = group->height;
    target.view_box = group->view_box;
    target.x = group->x;
    target.y = group->y;
  } else if (const SvgPath* path = std::get_if<SvgPath>(&source.data)) {
    status = SvgPath::copy(std::get<SvgPath>(copy->data), *path);
    if (status != SvgStatus::Ok) return status;
  } else if (const auto* ellipse = std::get_if<SvgEllipseShape>(&source.data)) {
    copy->data = *ellipse;
  } else if (const auto* line = std::get_if<SvgLineShape>(&source.data)) {
    copy->data = *line;
  } else if (const auto* rect = std::get_if<SvgRectShape>(&source.data)) {
    copy->data = *rect;
  }
  *out = std::move(copy);
  return SvgStatus::Ok;
}

}  // namespace

SvgKindData svg_kind_data_initial(SvgElementKind kind) {
  switch (kind) {
    case SvgElementKind::Svg:
    case SvgElementKind::Group:
    case SvgElementKind::Defs:
    case SvgElementKind::Use:
    case SvgElementKind::Symbol:
    case SvgElementKind::Text: return SvgGroup{};
    case SvgElementKind::Path: return SvgKindData(std::in_place_type<SvgPath>);
    case SvgElementKind::Circle:
    case SvgElementKind::Ellipse: return SvgEllipseShape{};
    case SvgElementKind::Line: return SvgLineShape{};
    case SvgElementKind::Rect: return SvgRectShape{};
    default: return std::monostate{};
  }
}

SvgElement::~SvgElement() {
  if (document != nullptr) --document->element_count;
  SvgGroup* own = group();
  if (own == nullptr || own->children.empty()) return;
  std::vector<std::unique_ptr<SvgElement>> doomed;
  try {
    take_owned_elements(*this, doomed);
    while (!doomed.empty()) {
      std::unique_ptr<SvgElement> element = std::move(doomed.back());
      doomed.pop_back();
      take_owned_elements(*element, doomed);
    }
  } catch (const std::bad_alloc&) {
    // What is left is released recursively; the nesting depth is bounded.
  }
}

SvgStatus SvgElement::create(SvgDocument& document, SvgElementKind kind, SvgElement* parent,
                             std::unique_ptr<SvgElement>* out) {
  if (document.element_limit_reached || document.element_count >= document.element_limit) {
    document.element_limit_reached = true;
    document.allocation_failed = true;
    return SvgStatus::OutOfMemory;
  }
  if (!svg_document_may_allocate(document)) return SvgStatus::OutOfMemory;
  std::unique_ptr<SvgElement> element(new (std::nothrow) SvgElement);
  if (!element) {
    document.allocation_failed = true;
    return SvgStatus::OutOfMemory;
  }
  element->document = &document;
  ++document.element_count;
  element->parent = parent;
  element->kind = kind;
  SvgStyle::init(element->style, &document);
  element->data = svg_kind_data_initial(kind);
  if (parent != nullptr) element->depth = parent->depth + 1;
  *out = std::move(element);
  return SvgStatus::Ok;
}

SvgStatus SvgElement::append(SvgElement& container, std::unique_ptr<SvgElement> child, bool first) {
  SvgGroup* group = container.group();
  if (group == nullptr) return SvgStatus::NothingBuilt;
  if (!svg_document_may_allocate(*container.document)) return SvgStatus::OutOfMemory;
  try {
    // Capacities run 4, 8, 16, ...
    if (group->children.size() == group->children.capacity()) {
      group->children.reserve(group->children.empty() ? 4 : group->children.capacity() * 2);
    }
    if (first) {
      group->children.insert(group->children.begin(), std::move(child));
    } else {
      group->children.push_back(std::move(child));
    }
  } catch (const std::bad_alloc&) {
    return SvgStatus::OutOfMemory;
  }
  return SvgStatus::Ok;
}

SvgStatus SvgElement::deep_copy(const SvgElement& source, uint32_t depth,
                                std::unique_ptr<SvgElement>* out) {
  out->reset();
  std::unique_ptr<SvgElement> top;
  SvgStatus status = copy_one(source, depth, &top);
  if (status != SvgStatus::Ok) return status;
  // Pairs (original, copy) whose children are still to be copied.
  std::vector<std::pair<const SvgElement*, SvgElement*>> work;
  try {
    work.emplace_back(&source, top.get());
    while (!work.empty()) {
      auto [original, copy] = work.back();
      work.pop_back();
      const SvgGroup* group = original->group();
      if (group == nullptr || copy->depth >= kSvgMaxDepth) continue;
      for (const std::unique_ptr<SvgElement>& child : group->children) {
        std::unique_ptr<SvgElement> child_copy;
        status = copy_one(*child, copy->depth + 1, &child_copy);
        if (status != SvgStatus::Ok) return status;
        SvgElement* placed = child_copy.get();
        status = append(*copy, std::move(child_copy));
        if (status != SvgStatus::Ok) return status;
        work.emplace_back(child.get(), placed);
      }
    }
  } catch (const std::bad_alloc&) {
    return SvgStatus::OutOfMemory;
  }
  *out = std::move(top);
  return SvgStatus::Ok;
}
