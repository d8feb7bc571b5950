#pragma once
// Record types and one reader per record the player handles. A reader takes
// the record's bytes (head included, exactly its size), fills its outputs and
// returns the record's size, or 0 (outputs unset) when the record is shorter
// than the fixed part it needs. Variable parts are views into the record;
// counts and lengths that run past the record are cut at its end, and the
// reader says so through `cut`.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "wmf/wmf_read.h"

// The type byte: the low byte of the record function.
inline constexpr std::uint8_t U_WMR_EOF = 0x00;
inline constexpr std::uint8_t U_WMR_SETBKCOLOR = 0x01;
inline constexpr std::uint8_t U_WMR_SETBKMODE = 0x02;
inline constexpr std::uint8_t U_WMR_SETMAPMODE = 0x03;
inline constexpr std::uint8_t U_WMR_SETPOLYFILLMODE = 0x06;
inline constexpr std::uint8_t U_WMR_SETTEXTCOLOR = 0x09;
inline constexpr std::uint8_t U_WMR_SETWINDOWORG = 0x0B;
inline constexpr std::uint8_t U_WMR_SETWINDOWEXT = 0x0C;
inline constexpr std::uint8_t U_WMR_OFFSETWINDOWORG = 0x0F;
inline constexpr std::uint8_t U_WMR_SCALEWINDOWEXT = 0x10;
inline constexpr std::uint8_t U_WMR_LINETO = 0x13;
inline constexpr std::uint8_t U_WMR_MOVETO = 0x14;
inline constexpr std::uint8_t U_WMR_EXCLUDECLIPRECT = 0x15;
inline constexpr std::uint8_t U_WMR_INTERSECTCLIPRECT = 0x16;
inline constexpr std::uint8_t U_WMR_ARC = 0x17;
inline constexpr std::uint8_t U_WMR_ELLIPSE = 0x18;
inline constexpr std::uint8_t U_WMR_PIE = 0x1A;
inline constexpr std::uint8_t U_WMR_RECTANGLE = 0x1B;
inline constexpr std::uint8_t U_WMR_ROUNDRECT = 0x1C;
inline constexpr std::uint8_t U_WMR_PATBLT = 0x1D;
inline constexpr std::uint8_t U_WMR_SAVEDC = 0x1E;
inline constexpr std::uint8_t U_WMR_SETPIXEL = 0x1F;
inline constexpr std::uint8_t U_WMR_TEXTOUT = 0x21;
inline constexpr std::uint8_t U_WMR_BITBLT = 0x22;
inline constexpr std::uint8_t U_WMR_STRETCHBLT = 0x23;
inline constexpr std::uint8_t U_WMR_POLYGON = 0x24;
inline constexpr std::uint8_t U_WMR_POLYLINE = 0x25;
inline constexpr std::uint8_t U_WMR_ESCAPE = 0x26;
inline constexpr std::uint8_t U_WMR_RESTOREDC = 0x27;
inline constexpr std::uint8_t U_WMR_SELECTOBJECT = 0x2D;
inline constexpr std::uint8_t U_WMR_SETTEXTALIGN = 0x2E;
inline constexpr std::uint8_t U_WMR_FILLREGION = 0x28;
inline constexpr std::uint8_t U_WMR_FRAMEREGION = 0x29;
inline constexpr std::uint8_t U_WMR_INVERTREGION = 0x2A;
inline constexpr std::uint8_t U_WMR_PAINTREGION = 0x2B;
inline constexpr std::uint8_t U_WMR_SELECTCLIPREGION = 0x2C;
inline constexpr std::uint8_t U_WMR_CHORD = 0x30;
inline constexpr std::uint8_t U_WMR_EXTTEXTOUT = 0x32;
inline constexpr std::uint8_t U_WMR_SETDIBTODEV = 0x33;
inline constexpr std::uint8_t U_WMR_POLYPOLYGON = 0x38;
inline constexpr std::uint8_t U_WMR_DIBBITBLT = 0x40;
inline constexpr std::uint8_t U_WMR_DIBSTRETCHBLT = 0x41;
inline constexpr std::uint8_t U_WMR_DIBCREATEPATTERNBRUSH = 0x42;
inline constexpr std::uint8_t U_WMR_STRETCHDIB = 0x43;
inline constexpr std::uint8_t U_WMR_DELETEOBJECT = 0xF0;
inline constexpr std::uint8_t U_WMR_CREATEPALETTE = 0xF7;
inline constexpr std::uint8_t U_WMR_CREATEPATTERNBRUSH = 0xF9;
inline constexpr std::uint8_t U_WMR_CREATEBITMAPINDIRECT = 0xFD;
inline constexpr std::uint8_t U_WMR_CREATEBITMAP = 0xFE;
inline constexpr std::uint8_t U_WMR_CREATEPENINDIRECT = 0xFA;
inline constexpr std::uint8_t U_WMR_CREATEFONTINDIRECT = 0xFB;
inline constexpr std::uint8_t U_WMR_CREATEBRUSHINDIRECT = 0xFC;
inline constexpr std::uint8_t U_WMR_CREATEREGION = 0xFF;

inline std::uint8_t wmf_record_type(WmfBytes record) { return wmf_u8(record, 4); }

struct WmfRgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

// Rectangles are stored bottom, right, top, left; this is the decoded order.
struct WmfRect {
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::int16_t right = 0;
  std::int16_t bottom = 0;
};

struct WmfPointXY {
  std::int16_t x = 0;
  std::int16_t y = 0;
};

// A run of points stored x then y, 4 bytes each.
struct WmfPoints {
  WmfBytes bytes;
  std::size_t count = 0;
  WmfPointXY at(std::size_t i) const { return {wmf_s16(bytes, 4 * i), wmf_s16(bytes, 4 * i + 2)}; }
};

struct WmfPolyPolygon {
  WmfBytes counts;  // one 16-bit point count per polygon
  std::size_t polygon_count = 0;
  WmfPoints points;  // all points of all polygons, one after another
  std::uint16_t count_of(std::size_t polygon) const { return wmf_u16(counts, 2 * polygon); }
};

struct WmfPenRecord {
  std::uint16_t style = 0;
  std::uint16_t width_x = 0;
  std::int16_t width_y = 0;
  WmfRgb color;
};

struct WmfBrushRecord {
  std::uint16_t style = 0;
  WmfRgb color;
  std::uint16_t hatch = 0;
};

struct WmfFontRecord {
  std::int16_t height = 0;
  std::int16_t width = 0;
  std::int16_t escapement = 0;
  std::int16_t orientation = 0;
  std::int16_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strike_out = 0;
  std::uint8_t charset = 0;
  std::uint8_t out_precision = 0;
  std::uint8_t clip_precision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitch_and_family = 0;
  std::string_view face_name;  // up to its NUL or the record's end
};

struct WmfBitmap16 {
  std::int16_t type = 0;
  std::int16_t width = 0;
  std::int16_t height = 0;
  std::int16_t bytes_per_row = 0;
  std::uint8_t planes = 0;
  std::uint8_t bits_per_pixel = 0;
};

// Both forms of BITBLT and STRETCHBLT. The form without a bitmap leaves
// `bitmap` zero and `pixels` empty. BITBLT has no source size; it copies a
// source of the destination's size.
struct WmfBlockTransfer {
  std::uint32_t raster_op = 0;
  std::int16_t src_x = 0;
  std::int16_t src_y = 0;
  std::int16_t src_width = 0;
  std::int16_t src_height = 0;
  std::int16_t dst_x = 0;
  std::int16_t dst_y = 0;
  std::int16_t dst_width = 0;
  std::int16_t dst_height = 0;
  bool has_bitmap = false;
  WmfBitmap16 bitmap;
  WmfBytes pixels;
};

struct WmfEscape {
  std::uint16_t function = 0;
  std::uint16_t byte_count = 0;
  WmfBytes data;  // cut to the record
};

std::size_t wmf_get_setbkcolor(WmfBytes record, WmfRgb& color);
std::size_t wmf_get_settextcolor(WmfBytes record, WmfRgb& color);
// SETMAPMODE, SETPOLYFILLMODE, SETTEXTALIGN, SETBKMODE: one 16-bit value.
std::size_t wmf_get_mode(WmfBytes record, std::uint16_t& mode);
// SETWINDOWEXT, SETWINDOWORG, OFFSETWINDOWORG, LINETO, MOVETO: y then x.
std::size_t wmf_get_point(WmfBytes record, std::int16_t& y, std::int16_t& x);
// INTERSECTCLIPRECT, EXCLUDECLIPRECT, ELLIPSE, RECTANGLE.
std::size_t wmf_get_rect(WmfBytes record, WmfRect& rect);
std::size_t wmf_get_roundrect(WmfBytes record, std::int16_t& corner_height,
                              std::int16_t& corner_width, WmfRect& rect);
std::size_t wmf_get_patblt(WmfBytes record, std::uint32_t& raster_op, std::int16_t& height,
                           std::int16_t& width, std::int16_t& y, std::int16_t& x);
// A negative length counts as empty; a length that leaves no room for the
// position after the text is cut so that the position is the record's last
// four bytes.
std::size_t wmf_get_textout(WmfBytes record, std::string_view& text, std::int16_t& y,
                            std::int16_t& x, bool& cut);
std::size_t wmf_get_bitblt(WmfBytes record, WmfBlockTransfer& blt);
std::size_t wmf_get_stretchblt(WmfBytes record, WmfBlockTransfer& blt);
// POLYGON and POLYLINE.
std::size_t wmf_get_polygon(WmfBytes record, WmfPoints& points, bool& cut);
std::size_t wmf_get_polyline(WmfBytes record, WmfPoints& points, bool& cut);
std::size_t wmf_get_polypolygon(WmfBytes record, WmfPolyPolygon& poly, bool& cut);
std::size_t wmf_get_escape(WmfBytes record, WmfEscape& escape, bool& cut);
std::size_t wmf_get_createpenindirect(WmfBytes record, WmfPenRecord& pen);
std::size_t wmf_get_createbrushindirect(WmfBytes record, WmfBrushRecord& brush);
std::size_t wmf_get_createfontindirect(WmfBytes record, WmfFontRecord& font);

// Records of the object table, the window, saved states and more shapes.

// SCALEWINDOWEXT: stored y denominator, y numerator, x denominator, x numerator.
std::size_t wmf_get_scalewindowext(WmfBytes record, std::int16_t& x_num, std::int16_t& x_denom,
                                   std::int16_t& y_num, std::int16_t& y_denom);

struct WmfExtTextOut {
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::uint16_t options = 0;
  bool has_rect = false;  // with ETO_OPAQUE or ETO_CLIPPED
  WmfRect rect;           // stored left, top, right, bottom
  std::string_view text;
  WmfBytes spacing;  // 16-bit advances, one per text byte, or empty
  std::int16_t advance(std::size_t i) const { return wmf_s16(spacing, 2 * i); }
};
inline constexpr std::uint16_t kWmfEtoOpaque = 0x0002;
inline constexpr std::uint16_t kWmfEtoClipped = 0x0004;

// A length past the record is cut; a spacing array is taken only when it is whole.
std::size_t wmf_get_exttextout(WmfBytes record, WmfExtTextOut& text, bool& cut);

// ARC, PIE, CHORD: the bounding rectangle and the radial end points.
std::size_t wmf_get_arc(WmfBytes record, WmfRect& rect, WmfPointXY& start, WmfPointXY& end);

std::size_t wmf_get_setpixel(WmfBytes record, WmfRgb& color, std::int16_t& y, std::int16_t& x);

// DIBBITBLT, DIBSTRETCHBLT, STRETCHDIB and SETDIBTODEV: a destination, a
// source rectangle and a device-independent bitmap (empty for the forms
// without one).
struct WmfDibTransfer {
  std::uint32_t raster_op = 0x00CC0020;
  std::uint16_t color_usage = 0;
  std::int16_t src_x = 0;
  std::int16_t src_y = 0;
  std::int16_t src_width = 0;
  std::int16_t src_height = 0;
  std::int16_t dst_x = 0;
  std::int16_t dst_y = 0;
  std::int16_t dst_width = 0;
  std::int16_t dst_height = 0;
  WmfBytes dib;
};

std::size_t wmf_get_dibbitblt(WmfBytes record, WmfDibTransfer& blt);
std::size_t wmf_get_dibstretchblt(WmfBytes record, WmfDibTransfer& blt);
std::size_t wmf_get_stretchdib(WmfBytes record, WmfDibTransfer& blt);
std::size_t wmf_get_setdibtodev(WmfBytes record, WmfDibTransfer& blt);
std::size_t wmf_get_dibcreatepatternbrush(WmfBytes record, std::uint16_t& style,
                                          std::uint16_t& color_usage, WmfBytes& dib);
