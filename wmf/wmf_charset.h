#pragma once
// Conversion of metafile text bytes, which are in the selected font's character set, into
// UTF-8 for cairo.

#include <cstdint>
#include <string>
#include <string_view>

// Character-set values of the font records.
inline constexpr std::uint8_t kWmfAnsiCharset = 0;
inline constexpr std::uint8_t kWmfDefaultCharset = 1;
inline constexpr std::uint8_t kWmfSymbolCharset = 2;

// Converts `bytes` to valid UTF-8 without NULs. Conversion stops at the first NUL byte (strings
// are NUL-padded in records). The code page is chosen by `charset`; the face names "Symbol",
// "Euclid Symbol", "MT Extra" and "Wingdings" (any case) select those fonts' own mappings
// whatever the charset, and other picture fonts (Wingdings 2 and 3, Webdings, Marlett, Zapf
// Dingbats) show U+FFFD for everything but spaces. The double-byte Asian sets (Shift-JIS, Hangul,
// Johab, GB2312, Big5) are decoded through iconv; each two-byte character gives its character
// followed by U+200B (zero width). Sets without a table (Mac, unknown values) read bytes below 0x80
// as ASCII and show the others as U+FFFD, as do bytes a code page leaves undefined. Control
// characters become spaces, so no missing-glyph box shows. Every byte before the first NUL gives
// exactly one code point, so a spacing array of one distance per byte lines up with the code points
// of the result.
std::string wmf_text_to_utf8(std::string_view bytes, std::uint8_t charset,
                             std::string_view face_name);

// A short name for a charset value ("ANSI", "SYMBOL", "RUSSIAN", ...), "UNKNOWN" otherwise.
std::string_view wmf_charset_name(std::uint8_t charset);
