#include <gtest/gtest.h>

#include <cmath>

#include "svg/svg_length.h"

namespace {

struct ParseCase {
  const char* text;
  SvgStatus status;
  double value;
  SvgLengthUnit unit;
};

TEST(SvgLengthParse, ReadsNumberAndExactUnit) {
  using U = SvgLengthUnit;
  const ParseCase cases[] = {
      {"10", SvgStatus::Ok, 10, U::Px},        {"10px", SvgStatus::Ok, 10, U::Px},
      {"2.5cm", SvgStatus::Ok, 2.5, U::Cm},    {"1em", SvgStatus::Ok, 1, U::Em},
      {"3ex", SvgStatus::Ok, 3, U::Ex},        {"1in", SvgStatus::Ok, 1, U::In},
      {"-4mm", SvgStatus::Ok, -4, U::Mm},      {"6pc", SvgStatus::Ok, 6, U::Pc},
      {"50%", SvgStatus::Ok, 50, U::Percent},  {"12pt", SvgStatus::Ok, 12, U::Pt},
      {"1e1mm", SvgStatus::Ok, 10, U::Mm},     {" 7in", SvgStatus::Ok, 7, U::In},
      {"10 px", SvgStatus::Ok, 10, U::Px},  // space before the unit
      {"10 cm", SvgStatus::Ok, 10, U::Px},     {"10CM", SvgStatus::Ok, 10, U::Px},  // upper case
      {"10cm ", SvgStatus::Ok, 10, U::Px},  // the whole rest must match
      {"10furlong", SvgStatus::Ok, 10, U::Px}, {"px", SvgStatus::Malformed, 0, U::Px},
      {"", SvgStatus::Malformed, 0, U::Px},    {"inf", SvgStatus::Malformed, 0, U::Px},
  };
  for (const ParseCase& c : cases) {
    SvgLength length(99, SvgLengthUnit::Cm, SvgLengthDirection::Vertical);
    EXPECT_EQ(length.parse(c.text), c.status) << c.text;
    EXPECT_EQ(length.direction(), SvgLengthDirection::Vertical) << c.text;  // always kept
    if (c.status == SvgStatus::Ok) {
      EXPECT_EQ(length.value, c.value) << c.text;
      EXPECT_EQ(length.unit(), c.unit) << c.text;
    } else {
      EXPECT_EQ(length.value, 99) << c.text;
      EXPECT_EQ(length.unit(), SvgLengthUnit::Cm) << c.text;
    }
  }
}

TEST(SvgLengthWord, PacksUnitAndDirectionInTheTopBits) {
  SvgLength length(1, SvgLengthUnit::Pt, SvgLengthDirection::Vertical);
  EXPECT_EQ(length.unit_and_direction, (7u << 28) | (1u << 26));
  length.set_direction(SvgLengthDirection::Other);
  EXPECT_EQ(length.unit(), SvgLengthUnit::Pt);
  EXPECT_EQ(length.direction(), SvgLengthDirection::Other);
  SvgLength plain;  // built from nothing but a value
  EXPECT_EQ(plain.unit(), SvgLengthUnit::Px);
  EXPECT_EQ(plain.direction(), SvgLengthDirection::Other);
}

struct MeasureCase {
  const char* text;
  SvgLengthDirection direction;
  double expected;
};

TEST(SvgLengthMeasure, ConvertsEveryUnitToUserUnits) {
  using D = SvgLengthDirection;
  const SvgLengthContext context{90.0, 12.0, 400.0, 300.0};
  const MeasureCase cases[] = {
      {"1in", D::Horizontal, 90},  {"2.54cm", D::Horizontal, 90},
      {"25.4mm", D::Vertical, 90}, {"6pc", D::Horizontal, 90},
      {"72pt", D::Horizontal, 90}, {"2em", D::Horizontal, 24},
      {"2ex", D::Vertical, 12},    {"7", D::Horizontal, 7},
      {"7px", D::Other, 7},        {"50%", D::Horizontal, 200},
      {"50%", D::Vertical, 150},   {"50%", D::Other, 0.5 * 500 / std::sqrt(2.0)},  // about 176.78
  };
  for (const MeasureCase& c : cases) {
    SvgLength length(0, SvgLengthUnit::Px, c.direction);
    ASSERT_EQ(length.parse(c.text), SvgStatus::Ok) << c.text;
    EXPECT_NEAR(length.measure(context), c.expected, 1e-9) << c.text;
  }
}

TEST(SvgLengthMeasure, UsesTheGivenReferenceBoxAndTreatsUnknownCodesAsPx) {
  SvgLength half(50, SvgLengthUnit::Percent, SvgLengthDirection::Horizontal);
  EXPECT_EQ(half.measure(SvgLengthContext{90.0, 10.0, 1.0, 1.0}), 0.5);  // bounding-box units
  SvgLength raw;
  raw.value = 3;
  raw.unit_and_direction = 15u << 28;
  EXPECT_EQ(raw.measure(SvgLengthContext{}), 3);
}

}  // namespace
