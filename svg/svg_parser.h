#pragma once
// The state of one parse: the expat parser, the stack of element frames and
// the status the handlers leave behind.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "svg/svg_status.h"

struct SvgDocument;
struct SvgElement;
struct SvgElementEntry;
struct XML_ParserStruct;

struct SvgExpatFree {
  void operator()(XML_ParserStruct* parser) const;
};
using SvgExpatParser = std::unique_ptr<XML_ParserStruct, SvgExpatFree>;

// One entry per open start tag whose name is in the element table.
struct SvgParseFrame {
  const SvgElementEntry* entry = nullptr;  // gives the character-data handler
  SvgElement* container = nullptr;         // where new child elements go
  SvgElement* text = nullptr;              // the "text" element being parsed
  SvgElement* chunk = nullptr;             // the text chunk receiving character data
};

struct SvgParser {
  SvgDocument* document = nullptr;
  SvgExpatParser expat;  // present only while a parse is under way
  // How many skipped elements (unlisted, too deep, or without a place in the
  // tree) enclose the parse position.
  int64_t unlisted_depth = 0;
  std::vector<SvgParseFrame> frames;  // the top is the back
  SvgStatus status = SvgStatus::Ok;   // of the most recent handler that set it
  // Why the parse cannot go on (malformed XML, a failed begin); Ok while it can.
  // Failures of single elements do not halt it.
  SvgStatus halted = SvgStatus::Ok;
  SvgElement* current = nullptr;  // the element whose attributes are being read
  bool skip_subtree = false;      // set by a parse step: skip this element's subtree
  std::string character_scratch;  // normalised character data
};

// Character data as text elements receive it: line feeds dropped, every run
// of spaces and tabs made one space (a dropped line feed does not end a run).
void svg_normalise_character_data(std::string_view text, std::string& out);

// Creates the expat parser and installs the three handlers. OutOfMemory when
// expat cannot be had.
SvgStatus svg_parser_start(SvgParser& parser);

// While one exists, expat's own allocations on this thread count against the
// document's allocation test hook, like the document's own allocations.
class SvgExpatAllocationScope {
 public:
  explicit SvgExpatAllocationScope(SvgDocument& document);
  ~SvgExpatAllocationScope();
  SvgExpatAllocationScope(const SvgExpatAllocationScope&) = delete;
  SvgExpatAllocationScope& operator=(const SvgExpatAllocationScope&) = delete;

 private:
  SvgDocument* previous_;
};
