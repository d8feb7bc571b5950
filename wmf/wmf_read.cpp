#include "wmf/wmf_read.h"

#include <cstdio>
#include <memory>
#include <new>

std::string_view wmf_read_status_name(WmfReadStatus status) {
  switch (status) {
    case WmfReadStatus::Ok: return "ok";
    case WmfReadStatus::CannotOpen: return "cannot open file";
    case WmfReadStatus::NoMemory: return "no memory for the file";
    case WmfReadStatus::ReadFailed: return "reading the file failed";
  }
  return "unknown status";
}

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

WmfReadStatus wmf_read_file(const std::string& path, std::vector<std::uint8_t>& buffer) {
  buffer.clear();
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return WmfReadStatus::CannotOpen;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return WmfReadStatus::ReadFailed;
  long length = std::ftell(file.get());
  if (length < 0) return WmfReadStatus::ReadFailed;
  if (static_cast<unsigned long>(length) > kWmfMaxFileSize) return WmfReadStatus::NoMemory;
  if (std::fseek(file.get(), 0, SEEK_SET) != 0) return WmfReadStatus::ReadFailed;
  try {
    buffer.resize(static_cast<std::size_t>(length));
  } catch (const std::bad_alloc&) {
    return WmfReadStatus::NoMemory;
  }
  if (!buffer.empty() && std::fread(buffer.data(), 1, buffer.size(), file.get()) != buffer.size()) {
    buffer.clear();
    buffer.shrink_to_fit();
    return WmfReadStatus::ReadFailed;
  }
  return WmfReadStatus::Ok;
}

std::size_t wmf_read_headers(WmfBytes buffer, WmfPlaceableHeader& placeable, WmfHeader& header) {
  placeable = WmfPlaceableHeader{};
  if (buffer.size() <= 4) return 0;
  std::size_t start = 0;
  if (wmf_u32(buffer, 0) == kWmfPlaceableKey) {
    if (buffer.size() <= kWmfPlaceableHeaderSize) return 0;
    placeable.key = wmf_u32(buffer, 0);
    placeable.handle = wmf_u16(buffer, 4);
    placeable.left = wmf_s16(buffer, 6);
    placeable.top = wmf_s16(buffer, 8);
    placeable.right = wmf_s16(buffer, 10);
    placeable.bottom = wmf_s16(buffer, 12);
    placeable.units_per_inch = wmf_u16(buffer, 14);
    placeable.reserved = wmf_u32(buffer, 16);
    placeable.checksum = wmf_u16(buffer, 20);
    start = kWmfPlaceableHeaderSize;
  }
  // The header, and the size it declares, must end before the buffer does.
  if (buffer.size() <= start + kWmfHeaderSize) return 0;
  WmfBytes h = buffer.subspan(start);
  std::size_t declared = std::size_t{2} * wmf_u16(h, 2);
  if (buffer.size() <= start + declared) return 0;
  header.file_type[0] = h[0];
  header.file_type[1] = h[1];
  header.header_words = wmf_u16(h, 2);
  header.version = wmf_u16(h, 4);
  header.file_words = wmf_u32(h, 6);
  header.object_count = wmf_u16(h, 10);
  header.largest_record_words = wmf_u32(h, 12);
  header.member_count = wmf_u16(h, 16);
  return start + declared;
}

std::size_t wmf_record_size(WmfBytes buffer, std::size_t offset) {
  if (offset > buffer.size() || buffer.size() - offset < kWmfRecordHeadSize) return 0;
  // Twice a 32-bit word count can exceed 32 bits; measure it in 64.
  std::uint64_t bytes = std::uint64_t{2} * wmf_u32(buffer, offset);
  if (bytes <= 5 || bytes > buffer.size() - offset) return 0;
  return static_cast<std::size_t>(bytes);
}

int wmf_convert_byte_order(WmfBytes buffer) {
  WmfPlaceableHeader placeable;
  WmfHeader header;
  std::size_t offset = wmf_read_headers(buffer, placeable, header);
  if (offset == 0) return 0;
  while (std::size_t size = wmf_record_size(buffer, offset)) {
    if (buffer[offset + 4] == 0x00) return 1;
    offset += size;
  }
  return 0;
}
