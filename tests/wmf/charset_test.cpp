// Text bytes in a font's character set become valid UTF-8 for cairo.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "wmf/wmf_charset.h"

namespace {

struct CharsetCase {
  const char* name;
  std::string bytes;
  std::uint8_t charset;
  const char* face;
  std::string utf8;
};

TEST(WmfCharset, ConvertsEachCodePageAndSymbolFont) {
  const CharsetCase cases[] = {
      {"ascii_unchanged", "Hello, 1+1=2", 0, "Arial", "Hello, 1+1=2"},
      {"ansi_latin1", "caf\xE9 \xFC", 0, "Arial", "café ü"},
      {"ansi_windows_extras", "\x80\x93x\x94\x85", 0, "Arial", "€“x”…"},
      {"ansi_undefined_byte", "a\x81z", 0, "Arial", "a\uFFFDz"},
      {"default_is_ansi", "\xE9", 1, "Times New Roman", "é"},
      {"east_europe", "\x8A\xE8\xB9", 238, "Arial", "Ščą"},
      {"russian", "\xCF\xF0\xE8\xE2\xE5\xF2", 204, "Arial", "Привет"},
      {"greek", "\xE1\xE2\xE3\xA2", 161, "Arial", "αβγΆ"},
      {"turkish", "\xF0\xFE\xDD", 162, "Arial", "ğşİ"},
      {"hebrew", "\xF9\xEC\xE5\xED", 177, "Arial", "שלום"},
      {"arabic", "\xC7\xE1", 178, "Arial", "ال"},
      {"baltic", "\xE0\xF0", 186, "Arial", "ąš"},
      {"vietnamese", "\xD0\xF5", 163, "Arial", "Đơ"},
      {"thai", "\xA1\xD2", 222, "Tahoma", "กา"},
      {"oem", "\xC4\xB3", 255, "Terminal", "─│"},
      {"shift_jis_pair_then_zero_width", "A\x82\xA0", 128, "MS Gothic", "A\u3042\u200B"},
      {"shift_jis_half_width_katakana", "\xB1", 128, "MS Gothic", "\uFF71"},
      {"gb2312", "\xCB\xCE\xCC\xE5", 134, "SimSun", "\u5B8B\u200B\u4F53\u200B"},
      {"big5", "\xA4\xA4", 136, "MingLiU", "\u4E2D\u200B"},
      {"hangul", "\xB0\xA1", 129, "Gulim", "\uAC00\u200B"},
      {"lead_byte_at_end", "a\x82", 128, "MS Gothic", "a\uFFFD"},
      {"invalid_pair", "\x81\x20", 134, "SimSun", "\uFFFD\u200B"},
      {"mac_unknown_high_bytes", "A\x8A", 77, "Geneva", "A\uFFFD"},
      {"symbol_by_charset", "abp", 2, "Whatever", "αβπ"},
      {"symbol_by_face_any_case", "a", 0, "SYMBOL", "α"},
      {"symbol_operators", "\xB9\xA3\xB3\xB4\xB6\xE5\xF2\xD6", 2, "Symbol", "≠≤≥×∂∑∫√"},
      {"symbol_keeps_digits_and_signs", "(1+2)=3", 2, "Symbol", "(1+2)=3"},
      {"symbol_minus_and_forall", "-\"$", 2, "Symbol", "−∀∃"},
      {"symbol_capitals", "DWFQ", 2, "Symbol", "ΔΩΦΘ"},
      {"symbol_arrows", "\xAE\xDE\xAB", 2, "Symbol", "→⇒↔"},
      {"symbol_bracket_pieces", "\xE6\xE7\xE8\xEC\xED\xEE\xEF", 2, "Symbol", "⎛⎜⎝⎧⎨⎩⎪"},
      {"symbol_undefined", "\x80\xF0\xFF", 2, "Symbol", "\uFFFD\uFFFD\uFFFD"},
      {"euclid_symbol", "\xEF", 0, "Euclid Symbol", "⎪"},
      {"mt_extra", "l", 2, "MT Extra", "ℓ"},
      {"wingdings_not_greek", "l\xFC\xFE^", 2, "Wingdings", "●✓☑♈"},
      {"other_picture_font", "a b", 2, "Webdings", "\uFFFD \uFFFD"},
      {"stops_at_nul", std::string("ab\0cd", 5), 0, "Arial", "ab"},
      {"control_bytes_become_spaces", "a\tb\rc\x7F", 0, "Arial", "a b c "},
      {"empty", "", 0, "Arial", ""},
  };
  for (const CharsetCase& c : cases) {
    EXPECT_EQ(wmf_text_to_utf8(c.bytes, c.charset, c.face), c.utf8) << c.name;
  }
}

// A strict decoder: returns the number of code points, or -1 for invalid UTF-8 or a NUL.
int count_code_points(std::string_view s) {
  int count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t len = lead < 0x80         ? 1
                      : (lead >> 5) == 6  ? 2
                      : (lead >> 4) == 14 ? 3
                      : (lead >> 3) == 30 ? 4
                                          : 0;
    if (lead == 0 || len == 0 || i + len > s.size()) return -1;
    char32_t cp = len == 1 ? lead : lead & (0x7F >> len);
    for (std::size_t k = 1; k < len; ++k) {
      const auto cont = static_cast<unsigned char>(s[i + k]);
      if ((cont >> 6) != 2) return -1;
      cp = (cp << 6) | (cont & 0x3F);
    }
    if ((len == 2 && cp < 0x80) || (len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) ||
        (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) {
      return -1;
    }
    i += len;
  }
  return count;
}

TEST(WmfCharset, EveryByteOfEveryCharsetGivesOneValidCodePoint) {
  // One code point per byte keeps spacing arrays aligned; cairo refuses invalid UTF-8.
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  for (const char* face : {"Arial", "Symbol", "MT Extra", "Wingdings", "Webdings"}) {
    for (int charset = 0; charset < 256; ++charset) {
      const std::string out = wmf_text_to_utf8(all, static_cast<std::uint8_t>(charset), face);
      ASSERT_EQ(count_code_points(out), 255) << face << " charset " << charset;
    }
  }
}

TEST(WmfCharset, NamesKnownCharsets) {
  EXPECT_EQ(wmf_charset_name(0), "ANSI");
  EXPECT_EQ(wmf_charset_name(2), "SYMBOL");
  EXPECT_EQ(wmf_charset_name(204), "RUSSIAN");
  EXPECT_EQ(wmf_charset_name(255), "OEM");
  EXPECT_EQ(wmf_charset_name(3), "UNKNOWN");
}

}  // namespace
