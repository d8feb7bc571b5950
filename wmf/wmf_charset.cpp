// Text bytes of metafile records are in the selected font's character set; cairo wants UTF-8.
// Every byte becomes exactly one code point so that spacing arrays stay aligned with the text.
#include "wmf/wmf_charset.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <span>

#include "wmf/wmf_codepages.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;
// Stands for the second byte of a double-byte character: invisible and without width.
constexpr char32_t kZeroWidthSpace = 0x200B;

enum class FontTable { CodePage, Symbol, MtExtra, Wingdings, OtherSymbolFont };

bool face_is(std::string_view face, std::string_view name) {
  return face.size() == name.size() &&
         std::equal(face.begin(), face.end(), name.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

bool face_starts_with(std::string_view face, std::string_view prefix) {
  return face.size() >= prefix.size() && face_is(face.substr(0, prefix.size()), prefix);
}

FontTable font_table_for(std::uint8_t charset, std::string_view face) {
  if (face_is(face, "MT Extra")) return FontTable::MtExtra;
  if (face_is(face, "Wingdings")) return FontTable::Wingdings;
  // Picture fonts with their own encodings: their glyphs are not letters of any code page.
  if (face_starts_with(face, "Wingdings") || face_is(face, "Webdings") ||
      face_is(face, "Marlett") || face_is(face, "ZapfDingbats") || face_is(face, "Zapf Dingbats")) {
    return FontTable::OtherSymbolFont;
  }
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
    case FontTable::Wingdings: return wmf_wingdings_font_table()[byte - 0x20];
    case FontTable::OtherSymbolFont: return byte == 0x20 ? U' ' : kReplacement;
    case FontTable::CodePage: break;
  }
  if (byte == 0x7F) return U' ';
  if (byte < 0x80) return byte;
  return upper.empty() ? kReplacement : upper[byte - 0x80];
}

// The double-byte Asian code pages, decoded through the C library's iconv.
struct DoubleByteSet {
  std::uint8_t charset;
  const char* iconv_name;
  bool (*is_lead)(std::uint8_t);
};

constexpr std::array<DoubleByteSet, 5> kDoubleByteSets = {{
    {128, "CP932",
     [](std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }},
    {129, "CP949", [](std::uint8_t b) { return b >= 0x81 && b <= 0xFE; }},
    {130, "JOHAB",
     [](std::uint8_t b) { return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xF9); }},
    {134, "CP936", [](std::uint8_t b) { return b >= 0x81 && b <= 0xFE; }},
    {136, "CP950", [](std::uint8_t b) { return b >= 0x81 && b <= 0xFE; }},
}};

const DoubleByteSet* double_byte_set(std::uint8_t charset) {
  for (const DoubleByteSet& set : kDoubleByteSets) {
    if (set.charset == charset) return &set;
  }
  return nullptr;
}

class IconvHandle {
 public:
  explicit IconvHandle(const char* from) : handle_(iconv_open("UTF-8", from)) {}
  ~IconvHandle() {
    if (ok()) iconv_close(handle_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Appends the one character `bytes` encode; false when they encode none or several.
  bool append_one(std::string_view bytes, std::string& out) {
    char in_buf[2];
    std::copy(bytes.begin(), bytes.end(), in_buf);
    char out_buf[8];
    char* in = in_buf;
    char* put = out_buf;
    std::size_t in_left = bytes.size();
    std::size_t out_left = sizeof out_buf;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(handle_, &in, &in_left, &put, &out_left) == static_cast<std::size_t>(-1) ||
        in_left != 0 || put == out_buf) {
      return false;
    }
    const auto lead = static_cast<unsigned char>(out_buf[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (length != static_cast<std::size_t>(put - out_buf) || lead == 0) return false;
    out.append(out_buf, length);
    return true;
  }

 private:
  iconv_t handle_;
};

std::string double_byte_to_utf8(std::string_view bytes, const DoubleByteSet& set) {
  std::string out;
  out.reserve(bytes.size() * 2);
  IconvHandle converter(set.iconv_name);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(bytes[i]);
    if (byte == 0) break;
    if (byte < 0x80) {
      append_utf8(out, byte < 0x20 || byte == 0x7F ? U' ' : byte);
      continue;
    }
    const bool pair = set.is_lead(byte) && i + 1 < bytes.size() && bytes[i + 1] != 0;
    const std::string_view character = bytes.substr(i, pair ? 2 : 1);
    if (!converter.ok() || !converter.append_one(character, out)) append_utf8(out, kReplacement);
    if (pair) {
      append_utf8(out, kZeroWidthSpace);
      ++i;
    }
  }
  return out;
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
  if (const DoubleByteSet* set = double_byte_set(charset); set && table == FontTable::CodePage) {
    return double_byte_to_utf8(bytes, *set);
  }
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
