#include "svg/svg_parser.h"

#include <expat.h>

#include <cstdlib>
#include <new>

#include "svg/svg_attributes.h"
#include "svg/svg_document.h"
#include "svg/svg_element.h"
#include "svg/svg_elements_table.h"

void SvgExpatFree::operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }

namespace {

thread_local SvgDocument* expat_allocating_document = nullptr;

void* expat_malloc(size_t size) {
  SvgDocument* document = expat_allocating_document;
  if (document != nullptr && !svg_document_may_allocate(*document)) return nullptr;
  return std::malloc(size);
}

void* expat_realloc(void* block, size_t size) {
  SvgDocument* document = expat_allocating_document;
  if (document != nullptr && !svg_document_may_allocate(*document)) return nullptr;
  return std::realloc(block, size);
}

void expat_free(void* block) { std::free(block); }

const XML_Memory_Handling_Suite kExpatMemory = {expat_malloc, expat_realloc, expat_free};

SvgStatus settle(SvgParser& parser, SvgStatus status) {
  if (status == SvgStatus::OutOfMemory) parser.document->allocation_failed = true;
  parser.status = status;
  return status;
}

// The common attributes: transform, style, id, then what the kind reads after them.
SvgStatus read_common_attributes(SvgParser& parser, const SvgElementEntry& entry,
                                 SvgElement& element, const SvgAttributes& attributes) {
  if (const char* transform = attributes.find("transform")) {
    SvgStatus status = element.transform.parse(transform);
    if (status != SvgStatus::Ok) return status;
  }
  SvgStatus status = SvgStyle::read_attributes(element.style, attributes);
  if (status != SvgStatus::Ok) return status;
  if (const char* id = attributes.find("id")) {
    if (!svg_document_may_allocate(*parser.document)) return SvgStatus::OutOfMemory;
    element.id.emplace(id);
  }
  if (entry.read_after != nullptr) return entry.read_after(parser, element, attributes);
  return SvgStatus::Ok;
}

void start_element(SvgParser& parser, const char* name, const char** pairs) {
  if (parser.unlisted_depth > 0) {
    ++parser.unlisted_depth;
    return;
  }
  const SvgElementEntry* entry = svg_element_entry_find(name);
  // Unlisted, not read yet, or nested too deep: skipped with the whole subtree.
  if (entry == nullptr || entry->parse == nullptr || parser.frames.size() >= kSvgMaxDepth) {
    ++parser.unlisted_depth;
    return;
  }
  if (!svg_document_may_allocate(*parser.document)) {
    ++parser.unlisted_depth;  // keeps the end tags balanced
    settle(parser, SvgStatus::OutOfMemory);
    return;
  }
  SvgParseFrame frame = parser.frames.empty() ? SvgParseFrame{} : parser.frames.back();
  frame.entry = entry;
  try {
    parser.frames.push_back(frame);
  } catch (const std::bad_alloc&) {
    ++parser.unlisted_depth;
    settle(parser, SvgStatus::OutOfMemory);
    return;
  }

  SvgAttributes attributes{pairs};
  SvgElement* built = nullptr;
  parser.skip_subtree = false;
  SvgStatus status = entry->parse(parser, parser.frames.back(), attributes, &built);
  if (parser.skip_subtree) {
    parser.skip_subtree = false;
    parser.frames.pop_back();
    ++parser.unlisted_depth;
    settle(parser, SvgStatus::Ok);
    return;
  }
  if (status == SvgStatus::NothingBuilt) status = SvgStatus::Ok;
  if (status != SvgStatus::Ok || built == nullptr) {
    settle(parser, status);
    return;
  }
  parser.current = built;
  status = read_common_attributes(parser, *entry, *built, attributes);
  parser.current = nullptr;
  if (built->style.pending != 0 && !built->pending_paint) {
    built->pending_paint = true;
    svg_pending_adjust(*built, +1);
  }
  if (status == SvgStatus::Ok && built->id) {
    status = SvgIdTable::insert(parser.document->ids, *built->id, built);
  }
  settle(parser, status);
}

void end_element(SvgParser& parser) {
  if (parser.unlisted_depth > 0) {
    --parser.unlisted_depth;
    return;
  }
  if (!parser.frames.empty()) parser.frames.pop_back();
  parser.status = SvgStatus::Ok;
}

}  // namespace

void svg_normalise_character_data(std::string_view text, std::string& out) {
  out.clear();
  bool in_run = false;
  for (char c : text) {
    if (c == '\n') continue;
    if (c == ' ' || c == '\t') {
      if (!in_run) out.push_back(' ');
      in_run = true;
      continue;
    }
    in_run = false;
    out.push_back(c);
  }
}

namespace {

void character_data(SvgParser& parser, const char* bytes, int length) {
  if (parser.frames.empty()) return;
  SvgParseFrame& frame = parser.frames.back();
  if (frame.entry == nullptr || frame.entry->character_data == nullptr) return;
  svg_normalise_character_data(std::string_view(bytes, static_cast<size_t>(length)),
                               parser.character_scratch);
  settle(parser, frame.entry->character_data(parser, frame, parser.character_scratch));
}

// The handlers run inside expat's C code, which no exception may cross.
void XMLCALL on_start(void* user_data, const XML_Char* name, const XML_Char** pairs) {
  SvgParser& parser = *static_cast<SvgParser*>(user_data);
  try {
    start_element(parser, name, pairs);
  } catch (const std::bad_alloc&) {
    parser.current = nullptr;
    settle(parser, SvgStatus::OutOfMemory);
  }
}

void XMLCALL on_end(void* user_data, const XML_Char*) {
  end_element(*static_cast<SvgParser*>(user_data));
}

void XMLCALL on_character_data(void* user_data, const XML_Char* bytes, int length) {
  SvgParser& parser = *static_cast<SvgParser*>(user_data);
  try {
    character_data(parser, bytes, length);
  } catch (const std::bad_alloc&) {
    settle(parser, SvgStatus::OutOfMemory);
  }
}

}  // namespace

SvgExpatAllocationScope::SvgExpatAllocationScope(SvgDocument& document)
    : previous_(expat_allocating_document) {
  expat_allocating_document = &document;
}

SvgExpatAllocationScope::~SvgExpatAllocationScope() { expat_allocating_document = previous_; }

SvgStatus svg_parser_start(SvgParser& parser) {
  // No encoding override and no namespace processing, as XML_ParserCreate;
  // the memory functions only add the test hook.
  SvgExpatAllocationScope scope(*parser.document);
  parser.expat.reset(XML_ParserCreate_MM(nullptr, &kExpatMemory, nullptr));
  if (!parser.expat) return SvgStatus::OutOfMemory;
  XML_SetUserData(parser.expat.get(), &parser);
  XML_SetStartElementHandler(parser.expat.get(), on_start);
  XML_SetEndElementHandler(parser.expat.get(), on_end);
  XML_SetCharacterDataHandler(parser.expat.get(), on_character_data);
  return SvgStatus::Ok;
}
