#pragma once
// Character tables of the single-byte Windows code pages and of the symbol fonts.

#include <cstdint>
#include <span>

// The upper half (bytes 0x80-0xFF, 128 entries) of the Windows code page for a font charset
// value, or an empty span for a charset without a single-byte table. Undefined bytes hold
// U+FFFD.
std::span<const char16_t> wmf_codepage_upper_half(std::uint8_t charset);

// Bytes 0x20-0xFF (224 entries) of the Symbol font, as the characters it shows.
std::span<const char16_t> wmf_symbol_font_table();

// Bytes 0x20-0xFF (224 entries) of MathType's "MT Extra" font; bytes without a known glyph
// hold U+FFFD.
std::span<const char16_t> wmf_mt_extra_font_table();

// Bytes 0x20-0xFF (224 entries) of the "Wingdings" font; glyphs without a Unicode equivalent in
// the Basic Multilingual Plane hold U+FFFD.
std::span<const char16_t> wmf_wingdings_font_table();
