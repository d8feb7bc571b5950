#include "dr2d/dr2d_read_chunks.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kPointBatch = 256;
constexpr std::size_t kByteBlock = 64 * 1024;

std::uint16_t be16(const std::uint8_t* p) { return std::uint16_t((p[0] << 8) | p[1]); }
std::uint32_t be32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         std::uint32_t(p[3]);
}

IffStatus read_record(IffParser& parser, std::uint8_t* buffer, std::size_t size) {
  std::int64_t got = iff_read_chunk_records(parser, buffer, size, 1);
  if (got < 0) return IffStatus(got);
  return got == 1 ? IffStatus::Ok : IffStatus::Malformed;
}

// Reads n bytes in blocks, so that memory follows the bytes actually read.
template <typename Bytes>
IffStatus read_bytes(IffParser& parser, std::uint64_t n, Bytes& out) {
  out.clear();
  if (n > iff_chunk_bytes_left(parser)) return IffStatus::Malformed;
  while (out.size() < n) {
    std::size_t step = std::size_t(std::min<std::uint64_t>(n - out.size(), kByteBlock));
    std::size_t old = out.size();
    out.resize(old + step);
    IffStatus status = read_record(parser, reinterpret_cast<std::uint8_t*>(out.data()) + old, step);
    if (status != IffStatus::Ok) return status;
  }
  return IffStatus::Ok;
}

Dr2dPoint point_from_file(const std::uint8_t* p) {
  std::uint32_t x = be32(p);
  std::uint32_t y = be32(p + 4);
  if (x == 0xFFFFFFFFu) return {kDr2dIndicator, std::int32_t(y)};
  return {fixed_from_ieee_bits(x), fixed_from_ieee_bits(y)};
}

IffStatus read_points(IffParser& parser, std::size_t count, std::vector<Dr2dPoint>& points) {
  if (iff_chunk_bytes_left(parser) / 8 < count) return IffStatus::Malformed;
  points.clear();
  points.reserve(count);  // a 16-bit count, and the chunk holds that many
  std::uint8_t batch[kPointBatch * 8];
  while (points.size() < count) {
    std::size_t want = std::min(count - points.size(), kPointBatch);
    std::int64_t got = iff_read_chunk_records(parser, batch, 8, want);
    if (got < 0) return IffStatus(got);
    if (std::size_t(got) != want) return IffStatus::Malformed;
    for (std::size_t i = 0; i < want; ++i) points.push_back(point_from_file(batch + 8 * i));
  }
  return IffStatus::Ok;
}

IffStatus read_dash(IffParser& parser, Dr2dDrawing& drawing) {
  std::uint8_t head[4];
  IffStatus status = read_record(parser, head, sizeof head);
  if (status != IffStatus::Ok) return status;
  std::size_t count = be16(head + 2);
  if (iff_chunk_bytes_left(parser) / 4 < count) return IffStatus::Malformed;
  std::vector<Dr2dFixed> lengths;
  lengths.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t value[4];
    status = read_record(parser, value, sizeof value);
    if (status != IffStatus::Ok) return status;
    lengths.push_back(fixed_from_ieee(value));
  }
  dr2d_table_entry(drawing.dashes, be16(head)) = std::move(lengths);
  return IffStatus::Ok;
}

IffStatus read_layer(IffParser& parser, Dr2dDrawing& drawing) {
  std::uint8_t record[20];
  IffStatus status = read_record(parser, record, sizeof record);
  if (status != IffStatus::Ok) return status;
  Dr2dLayer& layer = dr2d_layer_entry(drawing, be16(record));
  std::memcpy(layer.name.data(), record + 2, layer.name.size());
  layer.flags = record[18];
  layer.pad = record[19];
  return IffStatus::Ok;
}

IffStatus read_colour_map(IffParser& parser, Dr2dDrawing& drawing) {
  std::vector<std::uint8_t> bytes;
  IffStatus status = read_bytes(parser, iff_chunk_bytes_left(parser), bytes);
  if (status != IffStatus::Ok) return status;
  drawing.colour_count = bytes.size() / 3;
  bytes.resize(drawing.colour_count * 3);
  drawing.colour_cmyk.assign(drawing.colour_count * 4, 0);
  for (std::size_t i = 0; i < drawing.colour_count; ++i) {
    for (std::size_t c = 0; c < 3; ++c) {
      drawing.colour_cmyk[4 * i + c] = std::uint8_t(255 - bytes[3 * i + c]);
    }
  }
  drawing.colour_rgb = std::move(bytes);
  return IffStatus::Ok;
}

IffStatus read_font(IffParser& parser, Dr2dDrawing& drawing) {
  Dr2dFont font;
  IffStatus status = read_record(parser, font.header.data(), font.header.size());
  if (status != IffStatus::Ok) return status;
  status = read_bytes(parser, iff_chunk_bytes_left(parser), font.name);
  if (status != IffStatus::Ok) return status;
  dr2d_table_entry(drawing.fonts, font.header[0]) = std::move(font);
  return IffStatus::Ok;
}

// The one 16-bit field that heads a polygon, group or fill chunk.
IffStatus read_head16(IffParser& parser, std::uint16_t& value) {
  std::uint8_t head[2];
  IffStatus status = read_record(parser, head, sizeof head);
  if (status == IffStatus::Ok) value = be16(head);
  return status;
}

IffStatus read_polygon(IffParser& parser, Dr2dObject& object) {
  std::uint16_t count = 0;
  IffStatus status = read_head16(parser, count);
  if (status != IffStatus::Ok) return status;
  return read_points(parser, count, object.data.emplace<Dr2dPolygon>().points);
}

IffStatus read_group(IffParser& parser, Dr2dObject& object) {
  return read_head16(parser, object.data.emplace<Dr2dGroup>().declared_count);
}

IffStatus read_fill(IffParser& parser, Dr2dObject& object) {
  return read_head16(parser, object.data.emplace<Dr2dFillPattern>().fill_id);
}

IffStatus read_external(IffParser& parser, Dr2dObject& object) {
  std::uint8_t head[4];
  IffStatus status = read_record(parser, head, sizeof head);
  if (status != IffStatus::Ok) return status;
  Dr2dExternal& external = object.data.emplace<Dr2dExternal>();
  external.callbacks = be16(head);
  return read_bytes(parser, be16(head + 2), external.application_name);
}

IffStatus read_text(IffParser& parser, Dr2dObject& object) {
  std::uint8_t head[24];
  IffStatus status = read_record(parser, head, sizeof head);
  if (status != IffStatus::Ok) return status;
  Dr2dText& text = object.data.emplace<Dr2dText>();
  text.font = be16(head);
  text.char_width = fixed_from_ieee(head + 2);
  text.char_height = fixed_from_ieee(head + 6);
  text.base_x = fixed_from_ieee(head + 10);
  text.base_y = fixed_from_ieee(head + 14);
  text.rotation = fixed_from_ieee(head + 18);
  return read_bytes(parser, be16(head + 22), text.text);
}

IffStatus read_text_path(IffParser& parser, Dr2dObject& object) {
  std::uint8_t head[14];
  IffStatus status = read_record(parser, head, sizeof head);
  if (status != IffStatus::Ok) return status;
  Dr2dTextPath& path = object.data.emplace<Dr2dTextPath>();
  path.font = be16(head);
  path.char_width = fixed_from_ieee(head + 2);
  path.char_height = fixed_from_ieee(head + 6);
  std::size_t char_count = be16(head + 10);
  std::size_t point_count = be16(head + 12);
  status = read_bytes(parser, char_count, path.text);
  if (status != IffStatus::Ok) return status;
  if (char_count % 2 == 1 && iff_chunk_bytes_left(parser) > 0) {
    std::uint8_t pad;
    status = read_record(parser, &pad, 1);
    if (status != IffStatus::Ok) return status;
  }
  return read_points(parser, point_count, path.path_points);
}

IffStatus read_bitmap(IffParser& parser, Dr2dObject& object) {
  std::uint8_t head[22];
  IffStatus status = read_record(parser, head, sizeof head);
  if (status != IffStatus::Ok) return status;
  Dr2dBitmap& bitmap = object.data.emplace<Dr2dBitmap>();
  bitmap.x = fixed_from_ieee(head);
  bitmap.y = fixed_from_ieee(head + 4);
  bitmap.width = fixed_from_ieee(head + 8);
  bitmap.height = fixed_from_ieee(head + 12);
  bitmap.rotation = fixed_from_ieee(head + 16);
  std::uint64_t length = std::min<std::uint64_t>(be16(head + 20), iff_chunk_bytes_left(parser));
  status = read_bytes(parser, length, bitmap.file_name);
  if (status != IffStatus::Ok) return status;
  bitmap.file_name.resize(std::strlen(bitmap.file_name.c_str()));  // a C string in the file
  return IffStatus::Ok;
}

IffStatus read_attributes(const IffParser& parser, Dr2dObject& object) {
  if (const IffProperty* attr = iff_find_prop(parser, kDr2dType, iff_id("ATTR"))) {
    if (attr->data.size() < 14) return IffStatus::Malformed;
    const std::uint8_t* p = attr->data.data();
    Dr2dAttributes& a = object.attributes;
    a.fill_type = p[0];
    a.join_type = p[1];
    a.dash_pattern = p[2];
    a.arrowhead = p[3];
    a.fill_value = be16(p + 4);
    a.edge_value = be16(p + 6);
    a.layer = be16(p + 8);
    a.edge_thickness = fixed_from_ieee(p + 10);
  }
  if (const IffProperty* bbox = iff_find_prop(parser, kDr2dType, iff_id("BBOX"))) {
    if (bbox->data.size() < 16) return IffStatus::Malformed;
    const std::uint8_t* p = bbox->data.data();
    object.bounds = {fixed_from_ieee(p), fixed_from_ieee(p + 4), fixed_from_ieee(p + 8),
                     fixed_from_ieee(p + 12)};
  }
  return IffStatus::Ok;
}

}  // namespace

IffStatus dr2d_read_global(IffParser& parser, std::uint32_t id, Dr2dDrawing& drawing) {
  if (id == iff_id("DASH")) return read_dash(parser, drawing);
  if (id == iff_id("LAYR")) return read_layer(parser, drawing);
  if (id == iff_id("CMAP")) return read_colour_map(parser, drawing);
  if (id == iff_id("FONS")) return read_font(parser, drawing);
  return IffStatus::Ok;  // CMYK and CNAM: derived from or beside the CMAP, not needed
}

IffStatus dr2d_read_object(IffParser& parser, Dr2dObject& object) {
  const IffContext* chunk = iff_current_chunk(parser);
  object.kind = chunk->id;
  IffStatus status = read_attributes(parser, object);
  if (status != IffStatus::Ok) return status;
  switch (object.kind) {
    case kDr2dClosedPolygon:
    case kDr2dOpenPolygon: return read_polygon(parser, object);
    case kDr2dGroup: return read_group(parser, object);
    case kDr2dExternal: return read_external(parser, object);
    case kDr2dFillForm: return read_fill(parser, object);
    case kDr2dText: return read_text(parser, object);
    case kDr2dTextPath: return read_text_path(parser, object);
    case kDr2dBitmap: return read_bitmap(parser, object);
  }
  return IffStatus::Malformed;
}

IffStatus dr2d_read_header(const IffParser& parser, Dr2dDrawing& drawing) {
  const IffProperty* header = iff_find_prop(parser, kDr2dType, iff_id("DRHD"));
  if (!header || header->data.size() < 16) return IffStatus::Malformed;
  const std::uint8_t* p = header->data.data();
  drawing.left = fixed_from_ieee(p);
  drawing.top = fixed_from_ieee(p + 4);
  drawing.right = fixed_from_ieee(p + 8);
  drawing.bottom = fixed_from_ieee(p + 12);
  return IffStatus::Ok;
}
