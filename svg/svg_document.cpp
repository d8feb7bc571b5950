#include "svg/svg_document.h"

#include <expat.h>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <climits>
#include <new>
#include <unordered_map>

#include "svg/svg_elements_table.h"

namespace {

constexpr unsigned kChunkSize = 8192;

struct GzClose {
  void operator()(gzFile_s* file) const { gzclose(file); }
};
using GzReader = std::unique_ptr<gzFile_s, GzClose>;

SvgStatus status_from_errno(int error) {
  switch (error) {
    case ENOENT: return SvgStatus::NoSuchFile;
    case ENOMEM: return SvgStatus::OutOfMemory;
    default: return SvgStatus::ReadFailed;
  }
}

SvgStatus first_failure(SvgStatus current, SvgStatus next) {
  return current != SvgStatus::Ok ? current : next;
}

// Drops the tree of an earlier parse and everything that refers into it.
void release_tree(SvgDocument& document) {
  document.pending_uses.clear();
  document.pending_paints.clear();
  SvgIdTable::clear(document.ids);
  document.parser.frames.clear();
  document.parser.current = nullptr;
  document.parser.unlisted_depth = 0;
  document.root.reset();
}

// Of several references for one property the last one that resolves wins,
// as it would if they all pointed backwards. References that a later plain
// value replaced were dropped when it was read.
SvgStatus resolve_pending_paints(SvgDocument& document) {
  for (SvgPendingPaint& pending : document.pending_paints) {
    SvgStyle& style = *pending.style;
    style.pending &= ~pending.which;
    bool fill = pending.which == kSvgStylePendingFill;
    SvgPaint& paint = fill ? style.fill_paint : style.stroke_paint;
    // References that still name no paint server leave the property as it was.
    for (auto value = pending.values.rbegin(); value != pending.values.rend(); ++value) {
      if (paint.parse(document, *value) == SvgStatus::Ok) {
        style.flags |= fill ? kSvgStyleFill : kSvgStyleStroke;
        break;
      }
    }
    if (pending.element->pending_paint) {
      pending.element->pending_paint = false;
      svg_pending_adjust(*pending.element, -1);
    }
  }
  document.pending_paints.clear();
  return SvgStatus::Ok;
}

// Copies for the uses whose references were unresolved at their start tags,
// in dependency order: a use copies its target once nothing inside the
// target waits any more. Uses whose targets never settle (reference cycles,
// and uses that depend on one) stay empty.
SvgStatus resolve_pending_uses(SvgDocument& document) {
  std::unordered_map<const SvgElement*, std::vector<SvgElement*>> waiting;  // by target
  std::vector<std::pair<SvgElement*, const SvgElement*>> ready;             // use, target
  std::vector<SvgElement*> unresolvable;
  for (const SvgPendingUse& pending : document.pending_uses) {
    SvgElement* use = pending.use;
    if (!use->pending_use) continue;
    const SvgElement* target = SvgIdTable::find(document.ids, pending.id);
    if (target == nullptr) {
      unresolvable.push_back(use);
    } else if (target->pending_below == 0) {
      ready.emplace_back(use, target);
    } else {
      waiting[target].push_back(use);
    }
  }
  // Settling a use may complete the subtrees that enclose it.
  auto settle = [&](SvgElement* use, bool release_waiting) {
    use->pending_use = false;
    for (SvgElement* e = use; e != nullptr; e = e->parent) {
      if (--e->pending_below != 0) break;
      if (!release_waiting) continue;
      auto found = waiting.find(e);
      if (found == waiting.end()) continue;
      for (SvgElement* waiter : found->second) ready.emplace_back(waiter, e);
      waiting.erase(found);
    }
  };
  for (SvgElement* use : unresolvable) {
    if (!use->pending_use) continue;
    svg_use_reset(*use);
    settle(use, true);
  }
  SvgStatus result = SvgStatus::Ok;
  while (!ready.empty()) {
    auto [use, target] = ready.back();
    ready.pop_back();
    if (!use->pending_use) continue;
    result = first_failure(result, svg_use_attach_copy(*use, *target));
    settle(use, true);
  }
  for (auto& [target, uses] : waiting) {
    for (SvgElement* use : uses) {
      if (!use->pending_use) continue;
      svg_use_reset(*use);
      settle(use, false);
    }
  }
  document.pending_uses.clear();
  return result;
}

// Ends the parse under way: frees expat, drops the frames and resolves what
// was left unresolved. Keeps the first failure.
SvgStatus finish_parse(SvgDocument& document, SvgStatus status) {
  SvgParser& parser = document.parser;
  parser.expat.reset();
  parser.frames.clear();
  parser.current = nullptr;
  parser.unlisted_depth = 0;
  SvgStatus resolved = SvgStatus::Ok;
  try {
    resolved = resolve_pending_paints(document);
    resolved = first_failure(resolved, resolve_pending_uses(document));
  } catch (const std::bad_alloc&) {
    resolved = SvgStatus::OutOfMemory;
  }
  if (resolved == SvgStatus::OutOfMemory) document.allocation_failed = true;
  // Drop any record left behind by a failure above; it could point into
  // elements that a later parse releases.
  document.pending_uses.clear();
  document.pending_paints.clear();
  status = first_failure(status, resolved);
  if (status == SvgStatus::Ok && document.allocation_failed) status = SvgStatus::OutOfMemory;
  parser.status = status;
  return status;
}

// Expat stopped: malformed XML, or expat ran out of memory.
void halt_on_expat_error(SvgDocument& document) {
  SvgParser& parser = document.parser;
  bool memory = XML_GetErrorCode(parser.expat.get()) == XML_ERROR_NO_MEMORY;
  if (memory) document.allocation_failed = true;
  parser.status = memory ? SvgStatus::OutOfMemory : SvgStatus::Malformed;
  parser.halted = parser.status;
}

// Ends a parse that stopped early, keeping its status.
SvgStatus abandon_parse(SvgDocument& document, SvgStatus status) {
  if (!document.parser.expat) return status;
  return finish_parse(document, status);
}

// The record of `which` for `style`, the style being read. Only that style
// defers references, one record a property, so its records are the last two
// at most.
std::vector<SvgPendingPaint>::iterator find_pending_paint(SvgDocument& document,
                                                          const SvgStyle& style, uint32_t which) {
  std::vector<SvgPendingPaint>& list = document.pending_paints;
  for (size_t back = 1; back <= 2 && back <= list.size(); ++back) {
    SvgPendingPaint& record = list[list.size() - back];
    if (record.style == &style && record.which == which) {
      return list.end() - static_cast<std::ptrdiff_t>(back);
    }
  }
  return list.end();
}

std::string directory_of(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

SvgDocument::~SvgDocument() {
  parser.expat.reset();
  release_tree(*this);
}

SvgStatus SvgDocument::create(std::unique_ptr<SvgDocument>* out) {
  std::unique_ptr<SvgDocument> document(new (std::nothrow) SvgDocument);
  if (!document) return SvgStatus::OutOfMemory;
  document->parser.document = document.get();
  SvgStatus status = SvgIdTable::init(document->ids, 100);
  if (status != SvgStatus::Ok) return status;
  *out = std::move(document);
  return SvgStatus::Ok;
}

bool svg_document_may_allocate(SvgDocument& document) {
  if (document.fail_allocation_after < 0) return true;
  if (document.fail_allocation_after-- > 0) return true;
  document.fail_allocation_after = -1;  // one failure; later allocations succeed again
  document.allocation_failed = true;
  return false;
}

bool svg_document_may_copy(SvgDocument& document, uint64_t bytes) {
  if (document.element_limit_reached || bytes > document.copy_byte_limit - document.copy_bytes) {
    document.element_limit_reached = true;
    document.allocation_failed = true;
    return false;
  }
  document.copy_bytes += bytes;
  return true;
}

SvgStatus svg_document_defer_paint(SvgDocument& document, SvgStyle& style, uint32_t which,
                                   std::string_view value) {
  SvgParser& parser = document.parser;
  if (!parser.expat || parser.current == nullptr || &parser.current->style != &style) {
    return SvgStatus::NothingBuilt;
  }
  std::optional<std::string_view> id = SvgPaint::reference_id(value);
  if (!id || SvgIdTable::find(document.ids, *id) != nullptr) return SvgStatus::NothingBuilt;
  if (!svg_document_may_allocate(document)) return SvgStatus::OutOfMemory;
  try {
    auto record = find_pending_paint(document, style, which);
    if (record == document.pending_paints.end()) {
      document.pending_paints.push_back(SvgPendingPaint{parser.current, &style, which, {}});
      record = document.pending_paints.end() - 1;
    }
    record->values.emplace_back(value);
  } catch (const std::bad_alloc&) {
    return SvgStatus::OutOfMemory;
  }
  return SvgStatus::Ok;
}

void svg_document_drop_paints(SvgDocument& document, const SvgStyle& style, uint32_t which) {
  auto record = find_pending_paint(document, style, which);
  if (record != document.pending_paints.end()) document.pending_paints.erase(record);
}

SvgPaintServer SvgDocument::find_paint_server(std::string_view id) const {
  SvgPaintServer server;
  const SvgElement* element = SvgIdTable::find(ids, id);
  if (element == nullptr) return server;
  if (element->kind == SvgElementKind::Pattern) {
    server.type = SvgPaintType::Pattern;
    server.pattern = element;
  }
  // Gradient elements carry no gradient record yet, so they serve no paint.
  return server;
}

SvgStatus SvgDocument::parse_chunk_begin(SvgDocument& document) {
  SvgParser& parser = document.parser;
  parser.document = &document;
  parser.status = parser.expat ? SvgStatus::WrongCallOrder : SvgStatus::Ok;
  parser.expat.reset();
  release_tree(document);
  document.allocation_failed = false;
  document.element_limit_reached = false;
  document.copy_bytes = 0;
  if (svg_parser_start(parser) != SvgStatus::Ok) parser.status = SvgStatus::OutOfMemory;
  parser.halted = parser.status;
  return parser.status;
}

SvgStatus SvgDocument::parse_chunk(SvgDocument& document, const void* bytes, size_t length) {
  SvgParser& parser = document.parser;
  // Only a halted parse stops here. A failure of a single element is reported
  // by the call during which it happened (until the next handler overwrites
  // it) but does not stop the parse, so the tree never depends on where the
  // input was split into chunks.
  if (parser.halted != SvgStatus::Ok) return parser.halted;
  if (!parser.expat) return SvgStatus::WrongCallOrder;
  SvgExpatAllocationScope scope(document);
  const char* data = static_cast<const char*>(bytes);
  do {
    int part = length > INT_MAX ? INT_MAX : static_cast<int>(length);
    if (XML_Parse(parser.expat.get(), data, part, XML_FALSE) != XML_STATUS_OK) {
      halt_on_expat_error(document);
      break;
    }
    data += part;
    length -= static_cast<size_t>(part);
  } while (length > 0);
  return parser.status;
}

SvgStatus SvgDocument::parse_chunk_end(SvgDocument& document) {
  SvgParser& parser = document.parser;
  if (!parser.expat) return SvgStatus::WrongCallOrder;
  if (parser.halted != SvgStatus::Ok) return finish_parse(document, parser.halted);
  SvgExpatAllocationScope scope(document);
  if (XML_Parse(parser.expat.get(), nullptr, 0, XML_TRUE) != XML_STATUS_OK) {
    halt_on_expat_error(document);
  }
  return finish_parse(document, parser.status);
}

SvgStatus SvgDocument::parse_buffer(SvgDocument& document, const void* bytes, size_t length) {
  SvgStatus status = parse_chunk_begin(document);
  if (status != SvgStatus::Ok) return abandon_parse(document, status);
  parse_chunk(document, bytes, length);
  return parse_chunk_end(document);
}

SvgStatus SvgDocument::parse_open_file(SvgDocument& document, int descriptor) {
  int copy = dup(descriptor);
  if (copy < 0) return status_from_errno(errno);
  if (descriptor > 2) lseek(copy, 0, SEEK_SET);  // read the file from its start
  GzReader reader(gzdopen(copy, "r"));
  if (!reader) {
    int error = errno;
    close(copy);
    return status_from_errno(error);
  }
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[kChunkSize]);
  if (!buffer) return SvgStatus::OutOfMemory;
  SvgStatus status = parse_chunk_begin(document);
  if (status != SvgStatus::Ok) return abandon_parse(document, status);
  while (document.parser.halted == SvgStatus::Ok) {
    if (gzeof(reader.get())) return parse_chunk_end(document);
    int count = gzread(reader.get(), buffer.get(), kChunkSize);
    if (count < 0) return abandon_parse(document, SvgStatus::ReadFailed);
    parse_chunk(document, buffer.get(), static_cast<size_t>(count));
  }
  return parse_chunk_end(document);
}

SvgStatus SvgDocument::parse_file(SvgDocument& document, const std::string& path) {
  document.base_directory = directory_of(path);
  int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return status_from_errno(errno);
  SvgStatus status = parse_open_file(document, descriptor);
  close(descriptor);
  return status;
}
