#include "wmf/wmf_text.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/cairo_handles.h"
#include "wmf/wmf_charset.h"
#include "wmf/wmf_draw.h"
#include "wmf/wmf_objects.h"
#include "wmf/wmf_play.h"
#include "wmf/wmf_records.h"

namespace {

// Size of a font of height 0 ("any size"), in device units.
constexpr double kDefaultEmPixels = 12;

double device_per_logical_x(const WmfPlayer& p) { return std::fabs(p.scale_x * p.device_scale_x); }
double device_per_logical_y(const WmfPlayer& p) { return std::fabs(p.scale_y * p.device_scale_y); }

}  // namespace

double wmf_apply_font(cairo_t* target, const WmfPlayer& player) {
  const WmfColor& c = player.dc.text_color;
  cairo_set_source_rgb(target, c.red / 256.0, c.green / 256.0, c.blue / 256.0);
  const WmfFont& font = player.dc.font;
  cairo_font_slant_t slant = font.italic != 0 ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL;
  // 0 is "no preference"; from semi-bold (600) up the face is bold.
  cairo_font_weight_t weight =
      font.weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL;
  cairo_select_font_face(target, font.face.c_str(), slant, weight);
  double sx = device_per_logical_x(player), sy = device_per_logical_y(player);
  double em_x = std::fabs(static_cast<double>(font.height)) * sx;
  double em_y = std::fabs(static_cast<double>(font.height)) * sy;
  if (font.height == 0) em_x = em_y = kDefaultEmPixels;
  cairo_matrix_t m;
  if (font.height > 0 || font.width != 0) {
    // Metrics are measured at a large size, where hinting rounds them by little.
    constexpr double kProbe = 1000;
    cairo_matrix_init_scale(&m, kProbe, kProbe);
    cairo_set_font_matrix(target, &m);
    if (font.height > 0) {
      // A positive height is the cell's (ascent plus descent), not the em's.
      cairo_font_extents_t probe;
      cairo_font_extents(target, &probe);
      double cell = (probe.ascent + probe.descent) / kProbe;
      if (cell > 0) {
        em_x /= cell;
        em_y /= cell;
      }
    }
    if (font.width != 0) {
      // The width asks for an average character width: narrow or widen the face to it.
      cairo_text_extents_t letters;
      cairo_text_extents(target, "abcdefghijklmnopqrstuvwxyz", &letters);
      double natural = letters.x_advance / 26 / kProbe * em_x;
      double wanted = std::fabs(static_cast<double>(font.width)) * sx;
      if (natural > 0) em_x *= std::clamp(wanted / natural, 0.1, 10.0);
    }
  }
  // Beyond this size glyphs are larger than any target; keep their rasters
  // bounded. Glyphs below half a pixel are not drawn, and the font engine
  // refuses (and stops the context) for extreme stretches: keep the ratio sane.
  constexpr double kMaxEm = 4096, kMinEm = 0.5, kMaxStretch = 64;
  em_x = std::min(em_x, kMaxEm);
  em_y = std::min(em_y, kMaxEm);
  if (!(em_x >= kMinEm && em_y >= kMinEm)) return 0;
  em_x = std::min(em_x, em_y * kMaxStretch);
  em_y = std::min(em_y, em_x * kMaxStretch);
  cairo_matrix_init_scale(&m, em_x, em_y);
  cairo_set_font_matrix(target, &m);
  return std::max(em_x, em_y);
}

void wmf_text_settextcolor(WmfBytes record, RendererData& data) {
  WmfRgb rgb;
  if (wmf_get_settextcolor(record, rgb) == 0) {
    data.wmf.partial = true;
    return;
  }
  data.wmf.dc.text_color = {rgb.red, rgb.green, rgb.blue};
}

void wmf_text_settextalign(WmfBytes record, RendererData& data) {
  std::uint16_t align = 0;
  if (wmf_get_mode(record, align) == 0) {
    data.wmf.partial = true;
    return;
  }
  data.wmf.dc.text_align = align;
}

void wmf_text_createfontindirect(WmfBytes record, RendererData& data) {
  WmfFontRecord rec;
  if (wmf_get_createfontindirect(record, rec) == 0) {
    data.wmf.partial = true;
    return;
  }
  WmfObject object;
  object.kind = WmfObjectKind::Font;
  WmfFont& font = object.font;
  font.height = rec.height;
  font.width = rec.width;
  font.weight = rec.weight;
  font.italic = rec.italic;
  font.escapement = rec.escapement;
  font.charset = rec.charset;
  font.underline = rec.underline;
  font.strike_out = rec.strike_out;
  // Face names are bytes too; keep them valid UTF-8 for the font lookup.
  font.face = wmf_text_to_utf8(rec.face_name, kWmfAnsiCharset, "");
  if (!wmf_object_create(data.wmf.objects, object)) data.wmf.partial = true;
}

namespace {

// Glyphs larger than this are filled as outlines: rasters of that size would
// fill the glyph caches for nothing.
constexpr double kLargestRasterEm = 256;

void show(cairo_t* cr, const char* utf8, bool as_outline) {
  if (!as_outline) {
    cairo_show_text(cr, utf8);
    return;
  }
  cairo_text_path(cr, utf8);
  cairo_fill(cr);
}

// Byte offsets of the code points of `text`, and its length at the end.
std::vector<std::size_t> code_point_starts(const std::string& text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
  }
  starts.push_back(text.size());
  return starts;
}

// Draws `bytes` at the logical point (x, y) with the current font, colour and
// alignment; `ext` adds the options, rectangle and spacing of EXTTEXTOUT.
void draw_text(RendererData& data, std::int32_t x, std::int32_t y, std::string_view bytes,
               const WmfExtTextOut* ext) {
  WmfPlayer& player = data.wmf;
  WmfDcState& dc = player.dc;
  cairo_t* cr = data.target;
  bool update_cp = (dc.text_align & kWmfTaUpdateCp) != 0;
  if (update_cp) {
    x = dc.pos_x;
    y = dc.pos_y;
  }
  // Text is in the font's character set; cairo takes only UTF-8.
  std::string text = wmf_text_to_utf8(bytes, dc.font.charset, dc.font.face);

  CairoSaveGuard guard(cr);
  cairo_new_path(cr);
  if (ext != nullptr && ext->has_rect) {
    cairo_rectangle(cr, wmf_map_x(ext->rect.left, player), wmf_map_y(ext->rect.top, player),
                    wmf_map_x(ext->rect.right, player) - wmf_map_x(ext->rect.left, player),
                    wmf_map_y(ext->rect.bottom, player) - wmf_map_y(ext->rect.top, player));
    if (ext->options & kWmfEtoOpaque) wmf_fill_with_color(cr, dc.bk_color);
    if (ext->options & kWmfEtoClipped) {
      cairo_clip(cr);
    } else {
      cairo_new_path(cr);
    }
  }
  if (text.empty()) return;

  // The text frame: device units, origin at the reference point, x along the
  // baseline (turned by the escapement), y down.
  double sx = device_per_logical_x(player);
  double fx = wmf_map_x(x, player) * player.device_scale_x;
  double fy = wmf_map_y(y, player) * player.device_scale_y;
  cairo_set_matrix(cr, &player.device_matrix);
  cairo_translate(cr, fx, fy);
  if (dc.font.escapement != 0) cairo_rotate(cr, -dc.font.escapement * M_PI / 1800.0);
  double em = wmf_apply_font(cr, player);
  if (em == 0) return;  // too small to see

  std::vector<std::size_t> starts;
  bool spaced = ext != nullptr && !ext->spacing.empty();
  double width = 0;
  std::uint16_t horizontal = dc.text_align & kWmfTaCenter;
  bool need_width = spaced || horizontal != 0 || update_cp || dc.bk_mode == kWmfBkOpaque ||
                    dc.font.underline || dc.font.strike_out;
  if (spaced) {
    starts = code_point_starts(text);
    std::size_t count = starts.size() - 1;
    for (std::size_t i = 0; i < count && 2 * i + 1 < ext->spacing.size(); ++i) {
      width += ext->advance(i) * sx;
    }
  } else if (need_width) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    width = extents.x_advance;
  }
  cairo_font_extents_t font;
  cairo_font_extents(cr, &font);

  double left = horizontal == kWmfTaCenter ? -width / 2 : horizontal == kWmfTaRight ? -width : 0;
  std::uint16_t vertical = dc.text_align & kWmfTaBaseline;
  double baseline = vertical == kWmfTaBaseline ? 0
                    : vertical == kWmfTaBottom ? -font.descent
                                               : font.ascent;
  if (dc.bk_mode == kWmfBkOpaque && !(ext != nullptr && (ext->options & kWmfEtoOpaque))) {
    cairo_save(cr);
    cairo_rectangle(cr, left, baseline - font.ascent, width, font.ascent + font.descent);
    wmf_fill_with_color(cr, dc.bk_color);
    cairo_new_path(cr);
    cairo_restore(cr);
    wmf_apply_font(cr, player);  // the fill replaced the source
  }
  if (spaced) {
    double pen_x = left;
    std::size_t count = starts.size() - 1;
    for (std::size_t i = 0; i < count; ++i) {
      std::string one = text.substr(starts[i], starts[i + 1] - starts[i]);
      cairo_move_to(cr, pen_x, baseline);
      show(cr, one.c_str(), em > kLargestRasterEm);
      pen_x += ext->advance(i) * sx;
    }
  } else {
    cairo_move_to(cr, left, baseline);
    show(cr, text.c_str(), em > kLargestRasterEm);
  }
  if (dc.font.underline || dc.font.strike_out) {
    double thickness = std::max(1.0, em / 18);
    if (dc.font.underline) cairo_rectangle(cr, left, baseline + em / 10, width, thickness);
    if (dc.font.strike_out) cairo_rectangle(cr, left, baseline - em / 3.5, width, thickness);
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  if (update_cp && sx > 0) {
    std::int32_t advance = static_cast<std::int32_t>(std::lround(width / sx));
    if (horizontal == 0) dc.pos_x = x + advance;
    if (horizontal == kWmfTaRight) dc.pos_x = x - advance;
  }
}

}  // namespace

void wmf_text_textout(WmfBytes record, RendererData& data) {
  std::string_view bytes;
  std::int16_t x = 0, y = 0;
  bool cut = false;
  if (wmf_get_textout(record, bytes, y, x, cut) == 0) {
    data.wmf.partial = true;
    return;
  }
  if (cut) data.wmf.partial = true;
  draw_text(data, x, y, bytes, nullptr);
}

void wmf_text_exttextout(WmfBytes record, RendererData& data) {
  WmfExtTextOut ext;
  bool cut = false;
  if (wmf_get_exttextout(record, ext, cut) == 0) {
    data.wmf.partial = true;
    return;
  }
  if (cut) data.wmf.partial = true;
  draw_text(data, ext.x, ext.y, ext.text, &ext);
}
