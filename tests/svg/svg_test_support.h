#pragma once
// Parsing helpers shared by the SVG document tests.

#include <memory>
#include <string>
#include <string_view>

#include "svg/svg_document.h"

struct ParsedDocument {
  std::unique_ptr<SvgDocument> document;
  SvgStatus status = SvgStatus::Ok;
};

inline ParsedDocument parse_text(std::string_view text) {
  ParsedDocument parsed;
  SvgDocument::create(&parsed.document);
  parsed.status = SvgDocument::parse_buffer(*parsed.document, text.data(), text.size());
  return parsed;
}

// Feeds the text one byte per call, as a reader with tiny chunks would.
inline ParsedDocument parse_bytewise(std::string_view text) {
  ParsedDocument parsed;
  SvgDocument::create(&parsed.document);
  SvgDocument& document = *parsed.document;
  SvgDocument::parse_chunk_begin(document);
  for (char c : text) SvgDocument::parse_chunk(document, &c, 1);
  parsed.status = SvgDocument::parse_chunk_end(document);
  return parsed;
}

// The element registered under `id`, or nullptr.
inline SvgElement* find_id(const ParsedDocument& parsed, std::string_view id) {
  return SvgIdTable::find(parsed.document->ids, id);
}

// Child `index` of a container, or nullptr.
inline SvgElement* child(const SvgElement* element, size_t index) {
  if (element == nullptr || element->group() == nullptr) return nullptr;
  const auto& children = element->group()->children;
  return index < children.size() ? children[index].get() : nullptr;
}

inline size_t child_count(const SvgElement* element) {
  if (element == nullptr || element->group() == nullptr) return 0;
  return element->group()->children.size();
}
