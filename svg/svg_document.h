#pragma once
// One parsed SVG document: the element tree, the id table, and the parse
// operations that build them from a file (plain or gzip) or from memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "svg/svg_element.h"
#include "svg/svg_id_table.h"
#include "svg/svg_paint.h"
#include "svg/svg_parser.h"
#include "svg/svg_status.h"

// A document holds at most this many elements, copies made by "use" included.
inline constexpr uint64_t kSvgDefaultElementLimit = 2'000'000;

// Copies made by "use" hold at most this many bytes of path data, font family
// texts and dash lists together. The element limit alone would let a chain
// of uses multiply one long path far beyond the size of the input.
inline constexpr uint64_t kSvgDefaultCopyByteLimit = uint64_t{512} << 20;

// A "use" whose referenced element was not available when it was read.
struct SvgPendingUse {
  SvgElement* use = nullptr;
  std::string id;  // without the leading "#"
};

// The fill or stroke "url(#id)" values of one element that named no element
// yet when they were read: every such value given after the property's last
// plain value, in reading order. The last one that resolves wins.
struct SvgPendingPaint {
  SvgElement* element = nullptr;
  SvgStyle* style = nullptr;  // the element's
  uint32_t which = 0;         // kSvgStylePendingFill or kSvgStylePendingStroke
  std::vector<std::string> values;
};

struct SvgDocument final : SvgPaintServers {
  double dpi = 90.0;
  std::string base_directory;  // of the file last parsed by name
  std::unique_ptr<SvgElement> root;
  SvgIdTable ids;
  SvgParser parser;

  // Bookkeeping beyond the tree itself.
  uint64_t element_count = 0;
  uint64_t element_limit = kSvgDefaultElementLimit;
  uint64_t copy_bytes = 0;  // held by the copies made in the parse under way
  uint64_t copy_byte_limit = kSvgDefaultCopyByteLimit;
  // Once an element would pass the element limit, or a copy the copy byte
  // limit, no further element is made in this parse: a failed copy is
  // released again, and retrying every later "use" against the full document
  // would cost time without bound.
  bool element_limit_reached = false;
  // Set when an allocation failed (or the element limit was reached) during
  // the parse under way; the parse then ends with OutOfMemory.
  bool allocation_failed = false;
  // Test hook: when >= 0, the counted allocation after this many more fails.
  int64_t fail_allocation_after = -1;
  std::vector<SvgPendingUse> pending_uses;
  std::vector<SvgPendingPaint> pending_paints;

  SvgDocument() = default;
  SvgDocument(const SvgDocument&) = delete;
  SvgDocument& operator=(const SvgDocument&) = delete;
  ~SvgDocument();

  static SvgStatus create(std::unique_ptr<SvgDocument>* out);

  // Parses the file (plain or gzip) in chunks of 8192 bytes; sets
  // base_directory to the directory part of `path`.
  static SvgStatus parse_file(SvgDocument& document, const std::string& path);
  // Parses from an open descriptor, reading the file from its start.
  static SvgStatus parse_open_file(SvgDocument& document, int descriptor);
  static SvgStatus parse_buffer(SvgDocument& document, const void* bytes, size_t length);

  static SvgStatus parse_chunk_begin(SvgDocument& document);
  static SvgStatus parse_chunk(SvgDocument& document, const void* bytes, size_t length);
  // Ends the parse, then resolves the references that were still unresolved.
  static SvgStatus parse_chunk_end(SvgDocument& document);

  static double get_dpi(const SvgDocument& document) { return document.dpi; }

  SvgPaintServer find_paint_server(std::string_view id) const override;
};

// Counts one allocation against the test hook; false when it is to fail.
bool svg_document_may_allocate(SvgDocument& document);

// Counts a copy's data (path blocks, font family, dash list) against the copy
// byte limit; false, with the limit marked reached, when it would pass it.
bool svg_document_may_copy(SvgDocument& document, uint64_t bytes);

// Called by a fill or stroke parser whose "url(#id)" named no element. Ok: the
// reference is kept for the end of the parse. NothingBuilt: it cannot be kept
// (the id exists, no parse is under way, or the style is not the one being
// read), so the failure stands. OutOfMemory: the record cannot be made.
SvgStatus svg_document_defer_paint(SvgDocument& document, SvgStyle& style, uint32_t which,
                                   std::string_view value);
// Drops the references kept for `which` of `style` (the style being read),
// which a later value of the same property replaces.
void svg_document_drop_paints(SvgDocument& document, const SvgStyle& style, uint32_t which);
