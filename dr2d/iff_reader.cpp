#include "dr2d/iff_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint64_t kReadBlock = 64 * 1024;

bool is_group(std::uint32_t id) {
  return id == kIffForm || id == kIffList || id == kIffCat || id == kIffProp;
}

bool key_listed(const std::vector<IffChunkKey>& keys, std::uint32_t type, std::uint32_t id) {
  return std::any_of(keys.begin(), keys.end(),
                     [&](const IffChunkKey& k) { return k.type == type && k.id == id; });
}

void key_add(std::vector<IffChunkKey>& keys, std::uint32_t type, std::uint32_t id) {
  if (!key_listed(keys, type, id)) keys.push_back({type, id});
}

std::uint32_t be32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         std::uint32_t(p[3]);
}

// Reads exactly n bytes, or tells why not: Malformed when the source ends
// first, ReadError when the stream fails.
IffStatus source_read(IffSource& source, std::uint8_t* out, std::uint64_t n) {
  if (source.data) {
    if (n > source.size - source.position) return IffStatus::Malformed;
    std::memcpy(out, source.data + source.position, n);
    source.position += n;
    return IffStatus::Ok;
  }
  std::size_t got = std::fread(out, 1, n, source.file);
  source.position += got;
  if (got == n) return IffStatus::Ok;
  return std::ferror(source.file) ? IffStatus::ReadError : IffStatus::Malformed;
}

IffStatus source_skip(IffSource& source, std::uint64_t n) {
  std::uint8_t scratch[4096];
  if (n == 0) return IffStatus::Ok;
  if (source.size_known && n > source.size - source.position) return IffStatus::Malformed;
  // A seek drops the stream's buffer, so short skips (pad bytes) read through it.
  if (source.data || (source.size_known && n > sizeof scratch)) {
    if (source.file && fseeko(source.file, off_t(n), SEEK_CUR) != 0) return IffStatus::ReadError;
    source.position += n;
    return IffStatus::Ok;
  }
  while (n > 0) {
    std::uint64_t step = std::min<std::uint64_t>(n, sizeof scratch);
    IffStatus status = source_read(source, scratch, step);
    if (status != IffStatus::Ok) return status;
    n -= step;
  }
  return IffStatus::Ok;
}

IffStatus fail(IffParser& parser, IffStatus status) {
  parser.error = status;
  return status;
}

// Skips what is left of the innermost chunk, pops it and credits its parent
// with its bytes and its pad byte. The pad is taken only when the parent
// still has room for it, as some writers leave it out of the last chunk.
IffStatus leave_chunk(IffParser& parser) {
  IffContext& top = parser.contexts.back();
  IffStatus status = source_skip(parser.source, top.size - top.bytes_read);
  if (status != IffStatus::Ok) return status;
  std::uint64_t size = top.size;
  parser.contexts.pop_back();
  if (parser.contexts.empty()) {
    parser.finished = true;  // anything after the top-level group is ignored
    return IffStatus::Ok;
  }
  IffContext& parent = parser.contexts.back();
  parent.bytes_read += size;
  if ((size & 1) && parent.bytes_read < parent.size) {
    status = source_skip(parser.source, 1);
    if (status != IffStatus::Ok) return status;
    parent.bytes_read += 1;
  }
  return IffStatus::Ok;
}

// Which chunks a group may hold, after the grammar of EA IFF 85.
bool nesting_allowed(std::uint32_t parent, std::uint32_t child) {
  if (parent == kIffProp) return !is_group(child);
  if (parent == kIffCat) return child == kIffForm || child == kIffList || child == kIffCat;
  if (parent == kIffList) return is_group(child);
  return child != kIffProp;  // FORM
}

IffStatus read_group_type(IffParser& parser, std::uint32_t id, std::uint64_t size) {
  if (size < 4) return IffStatus::Malformed;
  if (parser.contexts.size() >= kIffMaxContextDepth) return IffStatus::Malformed;
  std::uint8_t type[4];
  IffStatus status = source_read(parser.source, type, 4);
  if (status != IffStatus::Ok) return status;
  IffContext context;
  context.id = id;
  context.type = be32(type);
  context.size = size;
  context.bytes_read = 4;
  parser.contexts.push_back(std::move(context));
  return IffStatus::Ok;
}

// Reads the whole current data chunk in blocks, so that a length the file
// does not back up costs no more memory than the bytes really present.
IffStatus read_rest(IffParser& parser, std::vector<std::uint8_t>& out) {
  IffContext& top = parser.contexts.back();
  out.clear();
  while (top.bytes_read < top.size) {
    std::uint64_t step = std::min(top.size - top.bytes_read, kReadBlock);
    std::size_t old = out.size();
    out.resize(old + step);
    IffStatus status = source_read(parser.source, out.data() + old, step);
    if (status != IffStatus::Ok) return status;
    top.bytes_read += step;
  }
  return IffStatus::Ok;
}

IffStatus store_property(IffParser& parser) {
  std::vector<std::uint8_t> data;
  IffStatus status = read_rest(parser, data);
  if (status != IffStatus::Ok) return status;
  std::size_t depth = parser.contexts.size();
  const IffContext& chunk = parser.contexts[depth - 1];
  // A PROP's properties belong to the LIST around it and reach every FORM in it.
  IffContext& owner = parser.contexts[depth - 2].id == kIffProp ? parser.contexts[depth - 3]
                                                                : parser.contexts[depth - 2];
  auto same =
      std::find_if(owner.properties.begin(), owner.properties.end(),
                   [&](const IffProperty& p) { return p.type == chunk.type && p.id == chunk.id; });
  if (same != owner.properties.end()) {
    same->data = std::move(data);
  } else {
    owner.properties.push_back({chunk.type, chunk.id, std::move(data)});
  }
  return leave_chunk(parser);
}

IffStatus enter_top_level(IffParser& parser) {
  parser.started = true;
  std::uint8_t header[8];
  if (parser.source.size_known && parser.source.size == parser.source.position) {
    return IffStatus::EndOfFile;
  }
  if (!parser.source.size_known) {
    int first = std::getc(parser.source.file);
    if (first == EOF) {
      return std::ferror(parser.source.file) ? IffStatus::ReadError : IffStatus::EndOfFile;
    }
    std::ungetc(first, parser.source.file);
  }
  IffStatus status = source_read(parser.source, header, 8);
  if (status != IffStatus::Ok) return status;
  std::uint32_t id = be32(header);
  std::uint64_t size = be32(header + 4);
  if (id != kIffForm && id != kIffList && id != kIffCat) return IffStatus::Malformed;
  if (parser.source.size_known && size > parser.source.size - parser.source.position) {
    return IffStatus::Malformed;
  }
  return read_group_type(parser, id, size);
}

}  // namespace

std::string_view iff_status_name(IffStatus status) {
  switch (status) {
    case IffStatus::Ok: return "ok";
    case IffStatus::EndOfFile: return "end of file";
    case IffStatus::EndOfContext: return "end of context";
    case IffStatus::NoMemory: return "out of memory";
    case IffStatus::ReadError: return "read error";
    case IffStatus::Malformed: return "malformed IFF data";
  }
  return "unknown IFF status";
}

IffParser iff_open_memory(const std::uint8_t* data, std::size_t size) {
  IffParser parser;
  static const std::uint8_t kEmpty = 0;
  parser.source.data = data ? data : &kEmpty;
  parser.source.size = data ? size : 0;
  parser.source.size_known = true;
  return parser;
}

IffParser iff_open_stream(std::FILE* file) {
  IffParser parser;
  parser.source.file = file;
  struct stat info;
  off_t start = ftello(file);
  if (start >= 0 && fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) &&
      info.st_size >= start) {
    parser.source.size = std::uint64_t(info.st_size - start);
    parser.source.size_known = true;
  }
  return parser;
}

void iff_stop_chunk(IffParser& parser, std::uint32_t type, std::uint32_t id) {
  key_add(parser.stops, type, id);
}

void iff_prop_chunk(IffParser& parser, std::uint32_t type, std::uint32_t id) {
  key_add(parser.properties, type, id);
}

void iff_stop_on_exit(IffParser& parser, std::uint32_t type, std::uint32_t id) {
  key_add(parser.exits, type, id);
}

IffStatus iff_parse(IffParser& parser) {
  if (parser.error != IffStatus::Ok) return parser.error;
  if (parser.finished) return IffStatus::EndOfFile;
  if (parser.pop_pending) {
    parser.pop_pending = false;
    IffStatus status = leave_chunk(parser);
    if (status != IffStatus::Ok) return fail(parser, status);
  }
  for (;;) {
    if (parser.finished) return IffStatus::EndOfFile;
    if (parser.contexts.empty()) {
      IffStatus status = enter_top_level(parser);
      if (status == IffStatus::EndOfFile) {
        parser.finished = true;
        return status;
      }
      if (status != IffStatus::Ok) return fail(parser, status);
      const IffContext& top = parser.contexts.back();
      if (top.id == kIffForm && key_listed(parser.stops, top.type, kIffForm)) return status;
      continue;
    }
    IffContext& group = parser.contexts.back();
    std::uint64_t left = group.size - group.bytes_read;
    if (left == 0) {
      if (key_listed(parser.exits, group.type, group.id)) {
        parser.pop_pending = true;
        return IffStatus::EndOfContext;
      }
      IffStatus status = leave_chunk(parser);
      if (status != IffStatus::Ok) return fail(parser, status);
      continue;
    }
    if (left < 8) return fail(parser, IffStatus::Malformed);
    std::uint8_t header[8];
    IffStatus status = source_read(parser.source, header, 8);
    if (status != IffStatus::Ok) return fail(parser, status);
    group.bytes_read += 8;
    std::uint32_t id = be32(header);
    std::uint64_t size = be32(header + 4);
    if (size > left - 8 || !nesting_allowed(group.id, id)) {
      return fail(parser, IffStatus::Malformed);
    }
    if (is_group(id)) {
      status = read_group_type(parser, id, size);
      if (status != IffStatus::Ok) return fail(parser, status);
      const IffContext& entered = parser.contexts.back();
      if (id == kIffForm && key_listed(parser.stops, entered.type, kIffForm)) {
        return IffStatus::Ok;
      }
      continue;
    }
    std::uint32_t parent_id = group.id;
    IffContext chunk;
    chunk.id = id;
    chunk.type = group.type;
    chunk.size = size;
    parser.contexts.push_back(std::move(chunk));
    if (key_listed(parser.properties, parser.contexts.back().type, id)) {
      status = store_property(parser);
    } else if (parent_id == kIffForm && key_listed(parser.stops, parser.contexts.back().type, id)) {
      parser.pop_pending = true;
      return IffStatus::Ok;
    } else {
      status = leave_chunk(parser);
    }
    if (status != IffStatus::Ok) return fail(parser, status);
  }
}

const IffContext* iff_current_chunk(const IffParser& parser) {
  if (!parser.started || parser.contexts.empty()) return nullptr;
  return &parser.contexts.back();
}

std::uint64_t iff_chunk_bytes_left(const IffParser& parser) {
  if (parser.contexts.empty()) return 0;
  const IffContext& top = parser.contexts.back();
  return top.size - top.bytes_read;
}

std::int64_t iff_read_chunk_records(IffParser& parser, void* buffer, std::size_t record_size,
                                    std::size_t count) {
  if (parser.error != IffStatus::Ok) return std::int64_t(parser.error);
  if (parser.contexts.empty() || record_size == 0) return 0;
  IffContext& top = parser.contexts.back();
  if (is_group(top.id)) return 0;
  std::uint64_t records = std::min<std::uint64_t>(count, (top.size - top.bytes_read) / record_size);
  if (records == 0) return 0;
  std::uint64_t bytes = records * record_size;
  IffStatus status = source_read(parser.source, static_cast<std::uint8_t*>(buffer), bytes);
  if (status != IffStatus::Ok) return std::int64_t(fail(parser, status));
  top.bytes_read += bytes;
  return std::int64_t(records);
}

const IffProperty* iff_find_prop(const IffParser& parser, std::uint32_t type, std::uint32_t id) {
  for (auto context = parser.contexts.rbegin(); context != parser.contexts.rend(); ++context) {
    for (const IffProperty& property : context->properties) {
      if (property.type == type && property.id == id) return &property;
    }
  }
  return nullptr;
}
