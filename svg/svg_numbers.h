#pragma once
// Number reading shared by every SVG grammar. A number is decimal with a full
// stop, whatever the process locale: optional leading white space, an optional
// sign, digits with an optional decimal point, an optional exponent. Hexadecimal,
// infinity and not-a-number forms are not numbers. Values too large for a
// double become the largest finite double of that sign, values too small 0.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "svg/svg_status.h"

// White space of the SVG grammars: tab, line feed, form feed, carriage
// return, space.
bool svg_is_space(char c);

// Skips white space from `position` on; returns the first position after it.
size_t svg_skip_space(std::string_view text, size_t position);

// Reads the longest number at the start of `text` (leading white space
// allowed). Returns false, with *value and *consumed untouched, when there is
// none; otherwise stores the value and the count of characters consumed
// (white space included).
bool svg_read_number(std::string_view text, double* value, size_t* consumed);

// Truncates toward zero into a signed 32-bit integer; values outside the range
// saturate and not-a-number gives 0 (never undefined behaviour).
int32_t svg_truncate_to_int32(double value);

// Reads `count` numbers, each preceded by any run of white space and commas.
// Ok: all were read and *end is right after the last one. NumbersEnded: the
// text ended or held no number where one was expected; *end is that position
// (after the skipped separators) and the numbers stored so far are to be
// ignored.
SvgStatus scan_numbers(std::string_view text, int count, double* numbers, size_t* end);
