#include "wmf/wmf_render.h"

#include <cmath>
#include <vector>

#include "wmf/wmf_play.h"
#include "wmf/wmf_read.h"

namespace {

RenderStatus status_of(WmfReadStatus status) {
  switch (status) {
    case WmfReadStatus::Ok: return RenderStatus::Ok;
    case WmfReadStatus::NoMemory: return RenderStatus::NoMemory;
    case WmfReadStatus::CannotOpen:
    case WmfReadStatus::ReadFailed: break;
  }
  return RenderStatus::Unreadable;
}

}  // namespace

RenderStatus render_wmf_file(const std::string& path, RendererData& data) {
  std::vector<std::uint8_t> buffer;
  WmfReadStatus read = wmf_read_file(path, buffer);
  if (read != WmfReadStatus::Ok) return status_of(read);
  wmf_convert_byte_order(buffer);
  return wmf_play(buffer, data);
}

RenderStatus wmf_document_size(const std::string& path, double& width, double& height) {
  width = height = 0;
  std::vector<std::uint8_t> buffer;
  WmfReadStatus read = wmf_read_file(path, buffer);
  if (read != WmfReadStatus::Ok) return status_of(read);
  WmfPlaceableHeader placeable;
  WmfHeader header;
  if (wmf_read_headers(buffer, placeable, header) == 0 || placeable.key != kWmfPlaceableKey) {
    return RenderStatus::Malformed;
  }
  width = std::abs(std::int32_t{placeable.right} - placeable.left);
  height = std::abs(std::int32_t{placeable.bottom} - placeable.top);
  if (width == 0 || height == 0) return RenderStatus::Malformed;
  return RenderStatus::Ok;
}
