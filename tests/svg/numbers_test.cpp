#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "svg/svg_numbers.h"

namespace {

struct ReadCase {
  const char* text;
  bool found;
  double value;
  size_t consumed;
};

TEST(SvgReadNumber, ReadsTheLongestDecimalPrefix) {
  const double max = std::numeric_limits<double>::max();
  const ReadCase cases[] = {
      {"12", true, 12, 2},        {"-3.25", true, -3.25, 5}, {"+4", true, 4, 2},
      {".5", true, 0.5, 2},       {"5.", true, 5, 2},        {"1.5.5", true, 1.5, 3},
      {"10-5", true, 10, 2},      {"-3e2", true, -300, 4},   {"2E-1", true, 0.2, 4},
      {"1e", true, 1, 1},  // an exponent without digits is not part of it
      {"1e+", true, 1, 1},        {"7em", true, 7, 1},  // "e" followed by a letter starts a unit
      {" \t\r\n\f8", true, 8, 6},                       // leading white space is consumed
      {"0x10", true, 0, 1},                             // no hexadecimal: reads "0"
      {"1e400", true, max, 5},                          // saturates instead of becoming infinite
      {"-1e400", true, -max, 6},  {"1e-400", true, 0, 6},    {"0.000001e-400", true, 0, 13},
      {"", false, 0, 0},          {"   ", false, 0, 0},      {"-", false, 0, 0},
      {"+.", false, 0, 0},        {".e5", false, 0, 0},      {"inf", false, 0, 0},
      {"-infinity", false, 0, 0}, {"nan", false, 0, 0},      {"NAN(1)", false, 0, 0},
      {",5", false, 0, 0},
  };
  for (const ReadCase& c : cases) {
    double value = -99.0;
    size_t consumed = 99;
    bool found = svg_read_number(c.text, &value, &consumed);
    EXPECT_EQ(found, c.found) << c.text;
    if (found) {
      EXPECT_EQ(value, c.value) << c.text;
      EXPECT_EQ(consumed, c.consumed) << c.text;
    } else {
      EXPECT_EQ(value, -99.0) << c.text;
      EXPECT_EQ(consumed, 99u) << c.text;
    }
  }
}

TEST(SvgReadNumber, StopsAtTheEndOfTheViewNotAtATerminator) {
  std::string text = "12345";
  double value = 0;
  size_t consumed = 0;
  ASSERT_TRUE(svg_read_number(std::string_view(text).substr(0, 3), &value, &consumed));
  EXPECT_EQ(value, 123);
  EXPECT_EQ(consumed, 3u);
}

// Makes a locale with a decimal comma current for LC_NUMERIC: an installed
// one, or one compiled into a temporary folder when the system has the locale
// sources. Returns false when neither works.
// `*made` receives a temporary folder to remove afterwards, if one was made.
bool use_decimal_comma_locale(std::string* made) {
  const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"};
  for (const char* name : names) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) return true;
  }
  char folder[] = "/tmp/plotmira_locale_XXXXXX";
  if (mkdtemp(folder) == nullptr) return false;
  *made = folder;
  const std::string command =
      std::string("localedef -i de_DE -f UTF-8 ") + folder + "/de_DE.UTF-8 >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return false;
  setenv("LOCPATH", folder, 1);
  return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

TEST(SvgReadNumber, IgnoresTheProcessLocale) {
  std::string made;
  const bool have_locale = use_decimal_comma_locale(&made);
  const bool comma_active = have_locale && std::strtod("1.5", nullptr) == 1.0;
  double value = 0;
  size_t consumed = 0;
  const bool found = svg_read_number("1.5", &value, &consumed);
  std::setlocale(LC_NUMERIC, "C");
  if (!made.empty()) {
    unsetenv("LOCPATH");
    std::error_code ignored;
    std::filesystem::remove_all(made, ignored);
  }
  if (!have_locale) GTEST_SKIP() << "no locale with a decimal comma available";
  if (!comma_active) GTEST_SKIP() << "the locale did not change the decimal point";
  ASSERT_TRUE(found);
  EXPECT_EQ(value, 1.5);
  EXPECT_EQ(consumed, 3u);
}

TEST(SvgTruncate, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(svg_truncate_to_int32(0.9), 0);
  EXPECT_EQ(svg_truncate_to_int32(-0.9), 0);
  EXPECT_EQ(svg_truncate_to_int32(-2.7), -2);
  EXPECT_EQ(svg_truncate_to_int32(1e300), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(svg_truncate_to_int32(-1e300), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(svg_truncate_to_int32(std::numeric_limits<double>::quiet_NaN()), 0);
}

struct ScanCase {
  const char* text;
  int count;
  SvgStatus status;
  std::vector<double> numbers;  // checked on Ok only
  size_t end;
};

TEST(ScanNumbers, SkipsCommasAndWhiteSpaceBetweenNumbers) {
  const ScanCase cases[] = {
      {"1 2 3", 3, SvgStatus::Ok, {1, 2, 3}, 5},
      {"1,2,,3 rest", 3, SvgStatus::Ok, {1, 2, 3}, 6},  // end right after the last number
      {" ,\t1\n,2", 2, SvgStatus::Ok, {1, 2}, 7},
      {"1-2.5.5", 3, SvgStatus::Ok, {1, -2.5, 0.5}, 7},
      {"1 2", 3, SvgStatus::NumbersEnded, {}, 3},    // text ended
      {"1 2 ,", 3, SvgStatus::NumbersEnded, {}, 5},  // separators skipped first
      {"1, L5", 2, SvgStatus::NumbersEnded, {}, 3},  // end at the letter
      {"", 1, SvgStatus::NumbersEnded, {}, 0},
      {"abc", 0, SvgStatus::Ok, {}, 0},
  };
  for (const ScanCase& c : cases) {
    double numbers[8] = {};
    size_t end = 99;
    EXPECT_EQ(scan_numbers(c.text, c.count, numbers, &end), c.status) << c.text;
    EXPECT_EQ(end, c.end) << c.text;
    if (c.status == SvgStatus::Ok) {
      for (size_t i = 0; i < c.numbers.size(); ++i) EXPECT_EQ(numbers[i], c.numbers[i]) << c.text;
    }
  }
}

}  // namespace
