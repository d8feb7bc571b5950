#pragma once
// A reader for EA IFF 85 files (FORM, LIST, CAT and PROP groups), read from
// memory or from a stdio stream. The caller registers the chunks it wants to
// stop at, the chunks it wants kept as properties of their FORM, and the
// FORMs whose end it wants to hear about; iff_parse then walks the file one
// event at a time. Every length in the file is checked against its group and
// the source before anything is read or allocated.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

// The error codes of the classic IFF parsing library, so that callers written
// against it see the same numbers.
enum class IffStatus : int {
  Ok = 0,
  EndOfFile = -1,     // the file's one top-level group has been read
  EndOfContext = -2,  // a group registered with iff_stop_on_exit is about to end
  NoMemory = -4,
  ReadError = -5,  // the stream reported an error
  Malformed = -8,  // a length, a group or an identifier breaks the format
};

std::string_view iff_status_name(IffStatus status);

constexpr std::uint32_t iff_id(const char (&text)[5]) {
  return (std::uint32_t(std::uint8_t(text[0])) << 24) |
         (std::uint32_t(std::uint8_t(text[1])) << 16) |
         (std::uint32_t(std::uint8_t(text[2])) << 8) | std::uint32_t(std::uint8_t(text[3]));
}

inline constexpr std::uint32_t kIffForm = iff_id("FORM");
inline constexpr std::uint32_t kIffList = iff_id("LIST");
inline constexpr std::uint32_t kIffCat = iff_id("CAT ");
inline constexpr std::uint32_t kIffProp = iff_id("PROP");

// Groups deeper than this are refused as malformed, so that a file of nested
// headers cannot grow the context stack without end.
inline constexpr std::size_t kIffMaxContextDepth = 1024;

struct IffProperty {
  std::uint32_t type = 0;  // FORM type it belongs to
  std::uint32_t id = 0;
  std::vector<std::uint8_t> data;
};

// One open chunk. For a group, type is the group's own type and bytes_read
// counts the type field and the nested chunks passed so far; for a data
// chunk, type is the type of the FORM or PROP it stands in.
struct IffContext {
  std::uint32_t id = 0;
  std::uint32_t type = 0;
  std::uint64_t size = 0;
  std::uint64_t bytes_read = 0;
  std::vector<IffProperty> properties;  // groups only
};

struct IffChunkKey {
  std::uint32_t type = 0;
  std::uint32_t id = 0;
};

struct IffSource {
  const std::uint8_t* data = nullptr;  // memory source
  std::FILE* file = nullptr;           // stream source (not owned)
  std::uint64_t position = 0;
  std::uint64_t size = 0;  // bytes in the source, when size_known
  bool size_known = false;
};

struct IffParser {
  IffSource source;
  std::vector<IffContext> contexts;  // innermost last
  std::vector<IffChunkKey> stops;
  std::vector<IffChunkKey> properties;
  std::vector<IffChunkKey> exits;
  bool started = false;
  bool finished = false;
  bool pop_pending = false;         // the chunk or group last reported is left on the next call
  IffStatus error = IffStatus::Ok;  // sticky: once set, every call returns it
};

// The parser reads the bytes in place; they must outlive it.
IffParser iff_open_memory(const std::uint8_t* data, std::size_t size);
// Reads from the stream's current position; the stream stays the caller's.
IffParser iff_open_stream(std::FILE* file);

void iff_stop_chunk(IffParser& parser, std::uint32_t type, std::uint32_t id);
// Stop when a FORM of this type is entered: iff_stop_chunk(p, type, kIffForm).
void iff_prop_chunk(IffParser& parser, std::uint32_t type, std::uint32_t id);
void iff_stop_on_exit(IffParser& parser, std::uint32_t type, std::uint32_t id);

// Advances to the next event: Ok at a stop chunk (or an entered stop FORM),
// EndOfContext before a registered group is left, EndOfFile after the
// top-level group, or an error. Unread bytes of the current chunk are skipped.
IffStatus iff_parse(IffParser& parser);

// The chunk last reported by iff_parse, or null before the first event.
const IffContext* iff_current_chunk(const IffParser& parser);

// Reads up to count whole records of record_size bytes from the current data
// chunk; gives the number read (0 when fewer than record_size bytes remain),
// or a negative IffStatus.
std::int64_t iff_read_chunk_records(IffParser& parser, void* buffer, std::size_t record_size,
                                    std::size_t count);

// Bytes of the current chunk not yet read.
std::uint64_t iff_chunk_bytes_left(const IffParser& parser);

// The innermost property of this type and identifier in scope, or null.
const IffProperty* iff_find_prop(const IffParser& parser, std::uint32_t type, std::uint32_t id);
