// Text bytes of metafile records are in the selected font's character set; cairo wants UTF-8.
// Every byte becomes exactly one code point so that spacing arrays stay aligned with the text.
#include "wmf/wmf_charset.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>

#include "wmf/wmf_codepages.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

enum class FontTable { CodePage, Symbol, MtExtra };

bool face_is(std::string_view face, std::string_view name) {
  return face.size() == name.size() &&
         std::equal(face.begin(), face.end(), name.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

FontTable font_table_for(std::uint8_t charset, std::string_view face) {
  if (face_is(face, "MT Extra")) return FontTable::MtExtra;
  if (charset == kWmfSymbolCharset || face_is(face, "Symbol") || face_is(face, "Euclid Symbol")) {
    return FontTable::Symbol;
  }
  return FontTable::CodePage;
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    // The tables hold only characters of the Basic Multilingual Plane, none of them surrogates.
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

char32_t code_point_of(std::uint8_t byte, FontTable table, std::span<const char16_t> upper) {
  if (byte < 0x20) return U' ';
  switch (table) {
    case FontTable::Symbol: return wmf_symbol_font_table()[byte - 0x20];
    case FontTable::MtExtra: return wmf_mt_extra_font_table()[byte - 0x20];
    case FontTable::CodePage: break;
  }
  if (byte == 0x7F) return U' ';
  if (byte < 0x80) return byte;
  return upper.empty() ? kReplacement : upper[byte - 0x80];
}

struct CharsetName {
  std::uint8_t value;
  std::string_view name;
};

// Sorted by value.
constexpr std::array<CharsetName, 19> kCharsetNames = {{
    {0, "ANSI"},          {1, "DEFAULT"},      {2, "SYMBOL"},    {77, "MAC"},
    {128, "SHIFTJIS"},    {129, "HANGUL"},     {130, "JOHAB"},   {134, "GB2312"},
    {136, "CHINESEBIG5"}, {161, "GREEK"},      {162, "TURKISH"}, {163, "VIETNAMESE"},
    {177, "HEBREW"},      {178, "ARABIC"},     {186, "BALTIC"},  {204, "RUSSIAN"},
    {222, "THAI"},        {238, "EASTEUROPE"}, {255, "OEM"},
}};

}  // namespace

std::string wmf_text_to_utf8(std::string_view bytes, std::uint8_t charset,
                             std::string_view face_name) {
  const FontTable table = font_table_for(charset, face_name);
  const std::span<const char16_t> upper = wmf_codepage_upper_half(charset);
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte == 0) break;
    append_utf8(out, code_point_of(byte, table, upper));
  }
  return out;
}

std::string_view wmf_charset_name(std::uint8_t charset) {
  const auto it = std::lower_bound(
      kCharsetNames.begin(), kCharsetNames.end(), charset,
      [](const CharsetName& entry, std::uint8_t value) { return entry.value < value; });
  if (it != kCharsetNames.end() && it->value == charset) return it->name;
  return "UNKNOWN";
}
