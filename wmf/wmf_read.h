#pragma once
// Reading a metafile: the whole file into one buffer, its two headers, and the
// measure of each record. Every number is assembled from its little-endian
// bytes, so the buffer keeps the file's byte order on every host and no read
// depends on alignment.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::uint32_t kWmfPlaceableKey = 0x9AC6CDD7;
inline constexpr std::size_t kWmfPlaceableHeaderSize = 22;
inline constexpr std::size_t kWmfHeaderSize = 18;
inline constexpr std::size_t kWmfRecordHeadSize = 6;
// Files beyond this size are refused before anything is allocated.
inline constexpr std::size_t kWmfMaxFileSize = std::size_t{256} * 1024 * 1024;

using WmfBytes = std::span<const std::uint8_t>;

// Little-endian loads that read as zero outside `bytes`, so a reader can never
// touch memory past its record even when a caller forgot a size check.
inline std::uint8_t wmf_u8(WmfBytes bytes, std::size_t at) {
  return at < bytes.size() ? bytes[at] : 0;
}
inline std::uint16_t wmf_u16(WmfBytes bytes, std::size_t at) {
  if (at > bytes.size() || bytes.size() - at < 2) return 0;
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}
inline std::int16_t wmf_s16(WmfBytes bytes, std::size_t at) {
  return static_cast<std::int16_t>(wmf_u16(bytes, at));
}
inline std::uint32_t wmf_u32(WmfBytes bytes, std::size_t at) {
  if (at > bytes.size() || bytes.size() - at < 4) return 0;
  return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

enum class WmfReadStatus {
  Ok = 0,
  CannotOpen = 1,
  NoMemory = 2,  // also: the file is larger than kWmfMaxFileSize
  ReadFailed = 3,
};

std::string_view wmf_read_status_name(WmfReadStatus status);

// Reads the whole file into `buffer` with one read.
WmfReadStatus wmf_read_file(const std::string& path, std::vector<std::uint8_t>& buffer);

// Walks the record chain from the first record, as a byte-order pass would.
// The readers assemble every field from its little-endian bytes, so nothing
// needs rewriting in place; the walk only tells whether the chain is whole:
// 1 when it stopped at the end record, 0 when it stopped anywhere else.
int wmf_convert_byte_order(WmfBytes buffer);

struct WmfPlaceableHeader {
  std::uint32_t key = 0;
  std::uint16_t handle = 0;
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::int16_t right = 0;
  std::int16_t bottom = 0;
  std::uint16_t units_per_inch = 0;
  std::uint32_t reserved = 0;
  std::uint16_t checksum = 0;
};

struct WmfHeader {
  std::uint8_t file_type[2] = {0, 0};
  std::uint16_t header_words = 0;
  std::uint16_t version = 0;
  std::uint32_t file_words = 0;
  std::uint16_t object_count = 0;
  std::uint32_t largest_record_words = 0;
  std::uint16_t member_count = 0;
};

// Decodes the optional placeable header (all zero when the key is absent) and
// the standard header. Returns the offset of the first record, or 0 when the
// headers do not fit in the buffer.
std::size_t wmf_read_headers(WmfBytes buffer, WmfPlaceableHeader& placeable, WmfHeader& header);

// The size in bytes of the record at `offset`, or 0 when the record is not
// valid: its head does not fit, it is shorter than 6 bytes, or it reaches past
// the buffer.
std::size_t wmf_record_size(WmfBytes buffer, std::size_t offset);
