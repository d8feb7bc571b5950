#include "wmf/wmf_text.h"

#include <cmath>
#include <string>

#include "wmf/wmf_charset.h"
#include "wmf/wmf_play.h"
#include "wmf/wmf_records.h"

void wmf_apply_font(cairo_t* target, const WmfPlayer& player) {
  const WmfColor& c = player.text_color;
  cairo_set_source_rgb(target, c.red / 256.0, c.green / 256.0, c.blue / 256.0);
  const WmfFont& font = player.font;
  cairo_font_slant_t slant = font.italic != 0 ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL;
  // 0 is "no preference"; from semi-bold (600) up the face is bold.
  cairo_font_weight_t weight =
      font.weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL;
  cairo_select_font_face(target, font.face.c_str(), slant, weight);
  // A negative height gives the character height; either way the magnitude
  // is the size. Glyphs stay upright even when the drawing space is mirrored.
  double size = std::abs(static_cast<double>(font.height));
  cairo_matrix_t ctm;
  cairo_get_matrix(target, &ctm);
  cairo_matrix_t font_matrix;
  cairo_matrix_init_scale(&font_matrix, ctm.xx < 0 ? -size : size, ctm.yy < 0 ? -size : size);
  cairo_set_font_matrix(target, &font_matrix);
}

void wmf_text_settextcolor(WmfBytes record, RendererData& data) {
  WmfRgb rgb;
  if (wmf_get_settextcolor(record, rgb) == 0) {
    data.wmf.partial = true;
    return;
  }
  data.wmf.text_color = {rgb.red, rgb.green, rgb.blue};
}

void wmf_text_createfontindirect(WmfBytes record, RendererData& data) {
  WmfFontRecord rec;
  if (wmf_get_createfontindirect(record, rec) == 0) {
    data.wmf.partial = true;
    return;
  }
  WmfFont& font = data.wmf.font;
  font.height = rec.height;
  font.weight = rec.weight;
  font.italic = rec.italic;
  font.charset = rec.charset;
  // Face names are bytes too; keep them valid UTF-8 for the font lookup.
  font.face = wmf_text_to_utf8(rec.face_name, kWmfAnsiCharset, "");
}

void wmf_text_textout(WmfBytes record, RendererData& data) {
  std::string_view bytes;
  std::int16_t x = 0, y = 0;
  bool cut = false;
  if (wmf_get_textout(record, bytes, y, x, cut) == 0) {
    data.wmf.partial = true;
    return;
  }
  if (cut) data.wmf.partial = true;
  cairo_t* cr = data.target;
  cairo_move_to(cr, wmf_map_x(x, data.wmf), wmf_map_y(y, data.wmf));
  wmf_apply_font(cr, data.wmf);
  // Text is in the font's character set; cairo takes only UTF-8.
  std::string text = wmf_text_to_utf8(bytes, data.wmf.font.charset, data.wmf.font.face);
  cairo_show_text(cr, text.c_str());
}
