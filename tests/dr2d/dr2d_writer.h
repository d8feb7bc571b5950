#pragma once
// A small IFF / DR2D writer for building test drawings byte by byte.

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace dr2dw {

using Bytes = std::vector<std::uint8_t>;

inline void put_u8(Bytes& out, std::uint32_t v) { out.push_back(std::uint8_t(v)); }
inline void put_u16(Bytes& out, std::uint32_t v) {
  put_u8(out, v >> 8);
  put_u8(out, v);
}
inline void put_u32(Bytes& out, std::uint32_t v) {
  put_u16(out, v >> 16);
  put_u16(out, v);
}
inline void put_ieee(Bytes& out, float v) { put_u32(out, std::bit_cast<std::uint32_t>(v)); }
inline void put_id(Bytes& out, const std::string& id) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(i < int(id.size()) ? id[i] : ' '));
}
inline void put_bytes(Bytes& out, const Bytes& more) {
  out.insert(out.end(), more.begin(), more.end());
}
inline void put_text(Bytes& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
}

// A chunk with its header and, for an odd size, the pad byte.
inline Bytes chunk(const std::string& id, const Bytes& body) {
  Bytes out;
  put_id(out, id);
  put_u32(out, std::uint32_t(body.size()));
  put_bytes(out, body);
  if (body.size() % 2) out.push_back(0);
  return out;
}

// A FORM, LIST, CAT or PROP group of the given type holding the parts in order.
inline Bytes group(const std::string& id, const std::string& type,
                   const std::vector<Bytes>& parts) {
  Bytes body;
  put_id(body, type);
  for (const Bytes& part : parts) put_bytes(body, part);
  return chunk(id, body);
}
inline Bytes form(const std::string& type, const std::vector<Bytes>& parts) {
  return group("FORM", type, parts);
}

// A DR2D polygon point as its two file words.
struct PointWords {
  std::uint32_t x, y;
};
inline PointWords pt(float x, float y) {
  return {std::bit_cast<std::uint32_t>(x), std::bit_cast<std::uint32_t>(y)};
}
// The indicator: x is 0xFFFFFFFF, y the flags (1 curve follows, 2 new sub-polygon).
inline PointWords indicator(std::uint32_t flags) { return {0xFFFFFFFFu, flags}; }

inline void put_points(Bytes& out, const std::vector<PointWords>& points) {
  for (const PointWords& p : points) {
    put_u32(out, p.x);
    put_u32(out, p.y);
  }
}

inline Bytes drhd(float left, float top, float right, float bottom) {
  Bytes b;
  put_ieee(b, left);
  put_ieee(b, top);
  put_ieee(b, right);
  put_ieee(b, bottom);
  return chunk("DRHD", b);
}
inline Bytes bbox(float x_min, float y_min, float x_max, float y_max) {
  Bytes b = drhd(x_min, y_min, x_max, y_max);
  b[0] = 'B', b[1] = 'B', b[2] = 'O', b[3] = 'X';
  return b;
}

struct Rgb {
  std::uint8_t r, g, b;
};
inline Bytes cmap(const std::vector<Rgb>& colours) {
  Bytes b;
  for (const Rgb& c : colours) b.insert(b.end(), {c.r, c.g, c.b});
  return chunk("CMAP", b);
}

inline constexpr std::uint8_t kVisible = 2;
inline Bytes layr(std::uint16_t number, std::uint8_t flags, const std::string& name = "") {
  Bytes b;
  put_u16(b, number);
  for (std::size_t i = 0; i < 16; ++i) b.push_back(i < name.size() ? std::uint8_t(name[i]) : 0);
  put_u8(b, flags);
  put_u8(b, 0);
  return chunk("LAYR", b);
}

struct Attr {
  std::uint8_t fill_type = 1;
  std::uint8_t join_type = 1;
  std::uint8_t dash_pattern = 0;
  std::uint8_t arrowhead = 0;
  std::uint16_t fill_value = 0;
  std::uint16_t edge_value = 0;
  std::uint16_t layer = 0;
  float edge_thickness = 0;
};
inline Bytes attr(const Attr& a) {
  Bytes b;
  b.insert(b.end(), {a.fill_type, a.join_type, a.dash_pattern, a.arrowhead});
  put_u16(b, a.fill_value);
  put_u16(b, a.edge_value);
  put_u16(b, a.layer);
  put_ieee(b, a.edge_thickness);
  return chunk("ATTR", b);
}

inline Bytes polygon(const std::string& id, const std::vector<PointWords>& points) {
  Bytes b;
  put_u16(b, std::uint32_t(points.size()));
  put_points(b, points);
  return chunk(id, b);
}
inline Bytes cply(const std::vector<PointWords>& points) { return polygon("CPLY", points); }
inline Bytes oply(const std::vector<PointWords>& points) { return polygon("OPLY", points); }
// An axis-parallel rectangle as a closed polygon.
inline Bytes rect(float x0, float y0, float x1, float y1) {
  return cply({pt(x0, y0), pt(x1, y0), pt(x1, y1), pt(x0, y1)});
}

inline Bytes u16_chunk(const std::string& id, std::uint16_t value) {
  Bytes b;
  put_u16(b, value);
  return chunk(id, b);
}
// A nested FORM DR2D: GRUP, XTRN or FILL first, then the contents.
inline Bytes grup_form(const std::vector<Bytes>& contents, std::uint16_t declared = 0) {
  std::vector<Bytes> parts{u16_chunk("GRUP", declared)};
  parts.insert(parts.end(), contents.begin(), contents.end());
  return form("DR2D", parts);
}
inline Bytes fill_form(std::uint16_t number, const std::vector<Bytes>& contents) {
  std::vector<Bytes> parts{u16_chunk("FILL", number)};
  parts.insert(parts.end(), contents.begin(), contents.end());
  return form("DR2D", parts);
}
inline Bytes xtrn_form(const std::string& application, const std::vector<Bytes>& contents,
                       std::uint16_t callbacks = 0) {
  Bytes head;
  put_u16(head, callbacks);
  put_u16(head, std::uint32_t(application.size()));
  put_text(head, application);
  std::vector<Bytes> parts{chunk("XTRN", head)};
  parts.insert(parts.end(), contents.begin(), contents.end());
  return form("DR2D", parts);
}

inline Bytes fons(std::uint8_t number, const std::string& name) {
  Bytes b{number, 0, 1, 0};
  put_text(b, name);
  return chunk("FONS", b);
}
inline Bytes dash(std::uint16_t number, const std::vector<float>& lengths) {
  Bytes b;
  put_u16(b, number);
  put_u16(b, std::uint32_t(lengths.size()));
  for (float l : lengths) put_ieee(b, l);
  return chunk("DASH", b);
}
inline Bytes stxt(std::uint8_t font, float base_x, float base_y, const std::string& text) {
  Bytes b{0, font};
  for (float v : {10.0f, 12.0f, base_x, base_y, 0.0f}) put_ieee(b, v);
  put_u16(b, std::uint32_t(text.size()));
  put_text(b, text);
  return chunk("STXT", b);
}
inline Bytes tpth(std::uint8_t font, const std::string& text, const std::vector<PointWords>& path) {
  Bytes b{0, font};
  put_ieee(b, 10.0f);
  put_ieee(b, 12.0f);
  put_u16(b, std::uint32_t(text.size()));
  put_u16(b, std::uint32_t(path.size()));
  put_text(b, text);
  if (text.size() % 2) b.push_back(0);
  put_points(b, path);
  return chunk("TPTH", b);
}
inline Bytes vbm(const std::string& file_name, std::uint16_t declared_length) {
  Bytes b;
  for (float v : {1.0f, 2.0f, 30.0f, 40.0f, 0.0f}) put_ieee(b, v);
  put_u16(b, declared_length);
  put_text(b, file_name);
  return chunk("VBM ", b);
}

// FORM DR2D with a header box, the given colours, layer 0 visible and the parts.
inline Bytes drawing(float width, float height, const std::vector<Rgb>& colours,
                     const std::vector<Bytes>& parts) {
  std::vector<Bytes> all{drhd(0, 0, width, height), cmap(colours), layr(0, kVisible, "Main")};
  all.insert(all.end(), parts.begin(), parts.end());
  return form("DR2D", all);
}

}  // namespace dr2dw
