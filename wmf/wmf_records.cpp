#include "wmf/wmf_records.h"

#include <algorithm>

namespace {

WmfRgb rgb_at(WmfBytes record, std::size_t at) {
  return {wmf_u8(record, at), wmf_u8(record, at + 1), wmf_u8(record, at + 2)};
}

WmfRect rect_at(WmfBytes record, std::size_t at) {
  WmfRect rect;
  rect.bottom = wmf_s16(record, at);
  rect.right = wmf_s16(record, at + 2);
  rect.top = wmf_s16(record, at + 4);
  rect.left = wmf_s16(record, at + 6);
  return rect;
}

// A view of `count` items of `item_size` bytes from `at`, cut to the record.
WmfBytes items_at(WmfBytes record, std::size_t at, std::size_t& count, std::size_t item_size,
                  bool& cut) {
  std::size_t room = at < record.size() ? (record.size() - at) / item_size : 0;
  if (count > room) {
    count = room;
    cut = true;
  }
  if (count == 0) return {};
  return record.subspan(at, count * item_size);
}

std::size_t get_points(WmfBytes record, WmfPoints& points, bool& cut) {
  if (record.size() < 10) return 0;
  cut = false;
  points.count = wmf_u16(record, 6);
  points.bytes = items_at(record, 8, points.count, 4, cut);
  return record.size();
}

}  // namespace

std::size_t wmf_get_setbkcolor(WmfBytes record, WmfRgb& color) {
  if (record.size() < 10) return 0;
  color = rgb_at(record, 6);
  return record.size();
}

std::size_t wmf_get_settextcolor(WmfBytes record, WmfRgb& color) {
  return wmf_get_setbkcolor(record, color);
}

std::size_t wmf_get_mode(WmfBytes record, std::uint16_t& mode) {
  if (record.size() < 8) return 0;
  mode = wmf_u16(record, 6);
  return record.size();
}

std::size_t wmf_get_point(WmfBytes record, std::int16_t& y, std::int16_t& x) {
  if (record.size() < 10) return 0;
  y = wmf_s16(record, 6);
  x = wmf_s16(record, 8);
  return record.size();
}

std::size_t wmf_get_rect(WmfBytes record, WmfRect& rect) {
  if (record.size() < 14) return 0;
  rect = rect_at(record, 6);
  return record.size();
}

std::size_t wmf_get_roundrect(WmfBytes record, std::int16_t& corner_height,
                              std::int16_t& corner_width, WmfRect& rect) {
  if (record.size() < 18) return 0;
  corner_height = wmf_s16(record, 6);
  corner_width = wmf_s16(record, 8);
  rect = rect_at(record, 10);
  return record.size();
}

std::size_t wmf_get_patblt(WmfBytes record, std::uint32_t& raster_op, std::int16_t& height,
                           std::int16_t& width, std::int16_t& y, std::int16_t& x) {
  if (record.size() < 18) return 0;
  raster_op = wmf_u32(record, 6);
  height = wmf_s16(record, 10);
  width = wmf_s16(record, 12);
  y = wmf_s16(record, 14);
  x = wmf_s16(record, 16);
  return record.size();
}

std::size_t wmf_get_textout(WmfBytes record, std::string_view& text, std::int16_t& y,
                            std::int16_t& x, bool& cut) {
  // The length, and the position after the text.
  if (record.size() < 12) return 0;
  cut = false;
  std::int16_t stored = wmf_s16(record, 6);
  std::size_t length = stored > 0 ? static_cast<std::size_t>(stored) : 0;
  std::size_t position = 8 + length + (length & 1);
  if (stored < 0 || position + 4 > record.size()) {
    cut = stored != 0;
    position = record.size() - 4;
    length = std::min(length, position - 8);
  }
  text = std::string_view(reinterpret_cast<const char*>(record.data()) + 8, length);
  y = wmf_s16(record, position);
  x = wmf_s16(record, position + 2);
  return record.size();
}

namespace {

// The form without a bitmap is told by its size: the function's high byte + 3 words.
bool blt_has_bitmap(WmfBytes record) {
  return record.size() / 2 != static_cast<std::size_t>(wmf_u8(record, 5)) + 3u;
}

void read_bitmap16(WmfBytes record, std::size_t at, WmfBlockTransfer& blt) {
  blt.has_bitmap = true;
  blt.bitmap.type = wmf_s16(record, at);
  blt.bitmap.width = wmf_s16(record, at + 2);
  blt.bitmap.height = wmf_s16(record, at + 4);
  blt.bitmap.bytes_per_row = wmf_s16(record, at + 6);
  blt.bitmap.planes = wmf_u8(record, at + 8);
  blt.bitmap.bits_per_pixel = wmf_u8(record, at + 9);
  blt.pixels = record.size() > at + 10 ? record.subspan(at + 10) : WmfBytes{};
}

}  // namespace

std::size_t wmf_get_bitblt(WmfBytes record, WmfBlockTransfer& blt) {
  if (record.size() < 24) return 0;
  blt = WmfBlockTransfer{};
  blt.raster_op = wmf_u32(record, 6);
  blt.src_y = wmf_s16(record, 10);
  blt.src_x = wmf_s16(record, 12);
  std::size_t at = blt_has_bitmap(record) ? 14 : 16;  // a reserved word without a bitmap
  blt.dst_height = wmf_s16(record, at);
  blt.dst_width = wmf_s16(record, at + 2);
  blt.dst_y = wmf_s16(record, at + 4);
  blt.dst_x = wmf_s16(record, at + 6);
  blt.src_width = blt.dst_width;
  blt.src_height = blt.dst_height;
  if (blt_has_bitmap(record)) {
    if (record.size() < 32) return 0;  // the bitmap header must be inside
    read_bitmap16(record, 22, blt);
  }
  return record.size();
}

std::size_t wmf_get_stretchblt(WmfBytes record, WmfBlockTransfer& blt) {
  if (record.size() < 28) return 0;
  blt = WmfBlockTransfer{};
  blt.raster_op = wmf_u32(record, 6);
  blt.src_height = wmf_s16(record, 10);
  blt.src_width = wmf_s16(record, 12);
  blt.src_y = wmf_s16(record, 14);
  blt.src_x = wmf_s16(record, 16);
  std::size_t at = blt_has_bitmap(record) ? 18 : 20;
  blt.dst_height = wmf_s16(record, at);
  blt.dst_width = wmf_s16(record, at + 2);
  blt.dst_y = wmf_s16(record, at + 4);
  blt.dst_x = wmf_s16(record, at + 6);
  if (blt_has_bitmap(record)) {
    if (record.size() < 36) return 0;
    read_bitmap16(record, 26, blt);
  }
  return record.size();
}

std::size_t wmf_get_polygon(WmfBytes record, WmfPoints& points, bool& cut) {
  return get_points(record, points, cut);
}

std::size_t wmf_get_polyline(WmfBytes record, WmfPoints& points, bool& cut) {
  return get_points(record, points, cut);
}

std::size_t wmf_get_polypolygon(WmfBytes record, WmfPolyPolygon& poly, bool& cut) {
  if (record.size() < 10) return 0;
  cut = false;
  poly.polygon_count = wmf_u16(record, 6);
  poly.counts = items_at(record, 8, poly.polygon_count, 2, cut);
  std::size_t total = 0;
  for (std::size_t i = 0; i < poly.polygon_count; ++i) total += poly.count_of(i);
  poly.points.count = total;
  poly.points.bytes = items_at(record, 8 + 2 * poly.polygon_count, poly.points.count, 4, cut);
  return record.size();
}

std::size_t wmf_get_escape(WmfBytes record, WmfEscape& escape, bool& cut) {
  if (record.size() < 10) return 0;
  cut = false;
  escape.function = wmf_u16(record, 6);
  escape.byte_count = wmf_u16(record, 8);
  std::size_t count = escape.byte_count;
  escape.data = items_at(record, 10, count, 1, cut);
  return record.size();
}

std::size_t wmf_get_createpenindirect(WmfBytes record, WmfPenRecord& pen) {
  if (record.size() < 16) return 0;
  pen.style = wmf_u16(record, 6);
  pen.width_x = wmf_u16(record, 8);
  pen.width_y = wmf_s16(record, 10);
  pen.color = rgb_at(record, 12);
  return record.size();
}

std::size_t wmf_get_createbrushindirect(WmfBytes record, WmfBrushRecord& brush) {
  if (record.size() < 14) return 0;
  brush.style = wmf_u16(record, 6);
  brush.color = rgb_at(record, 8);
  brush.hatch = wmf_u16(record, 12);
  return record.size();
}

std::size_t wmf_get_createfontindirect(WmfBytes record, WmfFontRecord& font) {
  if (record.size() < 26) return 0;
  font.height = wmf_s16(record, 6);
  font.width = wmf_s16(record, 8);
  font.escapement = wmf_s16(record, 10);
  font.orientation = wmf_s16(record, 12);
  font.weight = wmf_s16(record, 14);
  font.italic = record[16];
  font.underline = record[17];
  font.strike_out = record[18];
  font.charset = record[19];
  font.out_precision = record[20];
  font.clip_precision = record[21];
  font.quality = record[22];
  font.pitch_and_family = record[23];
  std::string_view rest(reinterpret_cast<const char*>(record.data()) + 24, record.size() - 24);
  font.face_name = rest.substr(0, rest.find('\0'));
  return record.size();
}

std::size_t wmf_get_scalewindowext(WmfBytes record, std::int16_t& x_num, std::int16_t& x_denom,
                                   std::int16_t& y_num, std::int16_t& y_denom) {
  if (record.size() < 14) return 0;
  y_denom = wmf_s16(record, 6);
  y_num = wmf_s16(record, 8);
  x_denom = wmf_s16(record, 10);
  x_num = wmf_s16(record, 12);
  return record.size();
}

std::size_t wmf_get_exttextout(WmfBytes record, WmfExtTextOut& text, bool& cut) {
  if (record.size() < 14) return 0;
  cut = false;
  text = WmfExtTextOut{};
  text.y = wmf_s16(record, 6);
  text.x = wmf_s16(record, 8);
  std::int16_t stored = wmf_s16(record, 10);
  text.options = wmf_u16(record, 12);
  std::size_t at = 14;
  text.has_rect = (text.options & (kWmfEtoOpaque | kWmfEtoClipped)) != 0;
  if (text.has_rect) {
    if (record.size() < 22) return 0;
    text.rect.left = wmf_s16(record, 14);
    text.rect.top = wmf_s16(record, 16);
    text.rect.right = wmf_s16(record, 18);
    text.rect.bottom = wmf_s16(record, 20);
    at = 22;
  }
  std::size_t length = stored > 0 ? static_cast<std::size_t>(stored) : 0;
  if (stored < 0) cut = true;
  WmfBytes bytes = items_at(record, at, length, 1, cut);
  text.text = std::string_view(reinterpret_cast<const char*>(bytes.data()), length);
  std::size_t spacing_at = at + length + (length & 1);
  if (length > 0 && spacing_at <= record.size() && (record.size() - spacing_at) / 2 >= length) {
    text.spacing = record.subspan(spacing_at, 2 * length);
  }
  return record.size();
}

std::size_t wmf_get_arc(WmfBytes record, WmfRect& rect, WmfPointXY& start, WmfPointXY& end) {
  if (record.size() < 22) return 0;
  end.y = wmf_s16(record, 6);
  end.x = wmf_s16(record, 8);
  start.y = wmf_s16(record, 10);
  start.x = wmf_s16(record, 12);
  rect = rect_at(record, 14);
  return record.size();
}

std::size_t wmf_get_setpixel(WmfBytes record, WmfRgb& color, std::int16_t& y, std::int16_t& x) {
  if (record.size() < 14) return 0;
  color = rgb_at(record, 6);
  y = wmf_s16(record, 10);
  x = wmf_s16(record, 12);
  return record.size();
}

namespace {

WmfBytes rest_from(WmfBytes record, std::size_t at) {
  return record.size() > at ? record.subspan(at) : WmfBytes{};
}

}  // namespace

std::size_t wmf_get_dibbitblt(WmfBytes record, WmfDibTransfer& blt) {
  if (record.size() < 24) return 0;
  blt = WmfDibTransfer{};
  blt.raster_op = wmf_u32(record, 6);
  blt.src_y = wmf_s16(record, 10);
  blt.src_x = wmf_s16(record, 12);
  bool bitmap = blt_has_bitmap(record);
  std::size_t at = bitmap ? 14 : 16;
  blt.dst_height = blt.src_height = wmf_s16(record, at);
  blt.dst_width = blt.src_width = wmf_s16(record, at + 2);
  blt.dst_y = wmf_s16(record, at + 4);
  blt.dst_x = wmf_s16(record, at + 6);
  if (bitmap) blt.dib = rest_from(record, 22);
  return record.size();
}

std::size_t wmf_get_dibstretchblt(WmfBytes record, WmfDibTransfer& blt) {
  if (record.size() < 28) return 0;
  blt = WmfDibTransfer{};
  blt.raster_op = wmf_u32(record, 6);
  blt.src_height = wmf_s16(record, 10);
  blt.src_width = wmf_s16(record, 12);
  blt.src_y = wmf_s16(record, 14);
  blt.src_x = wmf_s16(record, 16);
  bool bitmap = blt_has_bitmap(record);
  std::size_t at = bitmap ? 18 : 20;
  blt.dst_height = wmf_s16(record, at);
  blt.dst_width = wmf_s16(record, at + 2);
  blt.dst_y = wmf_s16(record, at + 4);
  blt.dst_x = wmf_s16(record, at + 6);
  if (bitmap) blt.dib = rest_from(record, 26);
  return record.size();
}

std::size_t wmf_get_stretchdib(WmfBytes record, WmfDibTransfer& blt) {
  if (record.size() < 28) return 0;
  blt = WmfDibTransfer{};
  blt.raster_op = wmf_u32(record, 6);
  blt.color_usage = wmf_u16(record, 10);
  blt.src_height = wmf_s16(record, 12);
  blt.src_width = wmf_s16(record, 14);
  blt.src_y = wmf_s16(record, 16);
  blt.src_x = wmf_s16(record, 18);
  blt.dst_height = wmf_s16(record, 20);
  blt.dst_width = wmf_s16(record, 22);
  blt.dst_y = wmf_s16(record, 24);
  blt.dst_x = wmf_s16(record, 26);
  blt.dib = rest_from(record, 28);
  return record.size();
}

std::size_t wmf_get_setdibtodev(WmfBytes record, WmfDibTransfer& blt) {
  if (record.size() < 24) return 0;
  blt = WmfDibTransfer{};
  blt.color_usage = wmf_u16(record, 6);
  // 8: scan count, 10: start scan; the whole bitmap is drawn.
  blt.src_y = wmf_s16(record, 12);
  blt.src_x = wmf_s16(record, 14);
  blt.dst_height = blt.src_height = wmf_s16(record, 16);
  blt.dst_width = blt.src_width = wmf_s16(record, 18);
  blt.dst_y = wmf_s16(record, 20);
  blt.dst_x = wmf_s16(record, 22);
  blt.dib = rest_from(record, 24);
  return record.size();
}

std::size_t wmf_get_dibcreatepatternbrush(WmfBytes record, std::uint16_t& style,
                                          std::uint16_t& color_usage, WmfBytes& dib) {
  if (record.size() < 10) return 0;
  style = wmf_u16(record, 6);
  color_usage = wmf_u16(record, 8);
  dib = rest_from(record, 10);
  return record.size();
}
