#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "svg/svg_matrix.h"

namespace {

struct MatrixCase {
  const char* text;
  SvgStatus status;
  SvgMatrix expected;  // on Malformed: the items before the failing one
};

void expect_matrix(const SvgMatrix& m, const SvgMatrix& e, const std::string& what) {
  EXPECT_NEAR(m.a, e.a, 1e-12) << what;
  EXPECT_NEAR(m.b, e.b, 1e-12) << what;
  EXPECT_NEAR(m.c, e.c, 1e-12) << what;
  EXPECT_NEAR(m.d, e.d, 1e-12) << what;
  EXPECT_NEAR(m.e, e.e, 1e-12) << what;
  EXPECT_NEAR(m.f, e.f, 1e-12) << what;
}

TEST(SvgMatrixParse, ReadsTransformationLists) {
  const double r = std::sqrt(0.5);
  const SvgMatrix identity;
  const MatrixCase cases[] = {
      {"", SvgStatus::Ok, identity},
      {"  ", SvgStatus::Ok, identity},
      {"matrix(1 2 3 4 5 6)", SvgStatus::Ok, {1, 2, 3, 4, 5, 6}},
      {"matrix(1,2,3,4,5,6)", SvgStatus::Ok, {1, 2, 3, 4, 5, 6}},
      {"translate(5)", SvgStatus::Ok, {1, 0, 0, 1, 5, 0}},
      {"translate(5,-6)", SvgStatus::Ok, {1, 0, 0, 1, 5, -6}},
      {"translate (5,5)", SvgStatus::Ok, {1, 0, 0, 1, 5, 5}},
      {"scale(2)", SvgStatus::Ok, {2, 0, 0, 2, 0, 0}},
      {"scale(2 3)", SvgStatus::Ok, {2, 0, 0, 3, 0, 0}},
      {"rotate(90)", SvgStatus::Ok, {0, 1, -1, 0, 0, 0}},
      {"rotate(45)", SvgStatus::Ok, {r, r, -r, r, 0, 0}},
      {"rotate(90 10 10)", SvgStatus::Ok, {0, 1, -1, 0, 20, 0}},
      {"skewX(45)", SvgStatus::Ok, {1, 0, 1, 1, 0, 0}},
      {"skewY(45)", SvgStatus::Ok, {1, 1, 0, 1, 0, 0}},
      {"translate(10,0) scale(2)", SvgStatus::Ok, {2, 0, 0, 2, 10, 0}},
      {"scale(2) translate(10,0)", SvgStatus::Ok, {2, 0, 0, 2, 20, 0}},
      {"translate(5,5)scale(2)", SvgStatus::Ok, {2, 0, 0, 2, 5, 5}},
      {" , translate(1),,scale(2) ", SvgStatus::Ok, {2, 0, 0, 2, 1, 0}},
      {"translate(1e1 +2.5)", SvgStatus::Ok, {1, 0, 0, 1, 10, 2.5}},
      {"matrix(1 0 0 1 5)", SvgStatus::Malformed, identity},
      {"matrix(1 0 0 1 5 6 7)", SvgStatus::Malformed, identity},
      {"rotate(45 10)", SvgStatus::Malformed, identity},
      {"skewX(1 2)", SvgStatus::Malformed, identity},
      {"scale()", SvgStatus::Malformed, identity},
      {"translate(10,0) bogus(1)", SvgStatus::Malformed, {1, 0, 0, 1, 10, 0}},
      {"translate(10,0) scale(2", SvgStatus::Malformed, {1, 0, 0, 1, 10, 0}},
      {"Translate(1)", SvgStatus::Malformed, identity},
      {"translate 1", SvgStatus::Malformed, identity},
      {"translate(a)", SvgStatus::Malformed, identity},
      {"translate(+)", SvgStatus::Malformed, identity},
      {"translate(-.)", SvgStatus::Malformed, identity},
      {"(1)", SvgStatus::Malformed, identity},
      {"translate(1;)", SvgStatus::Malformed, identity},
      {"abcdefghijklmnopqrstuvwxyzabcdef(1)", SvgStatus::Malformed, identity},  // 32 letters
  };
  for (const MatrixCase& c : cases) {
    SvgMatrix m{9, 9, 9, 9, 9, 9};
    EXPECT_EQ(m.parse(c.text), c.status) << c.text;
    expect_matrix(m, c.expected, c.text);
  }
}

TEST(SvgMatrixParse, RotatesAboutTheGivenCentre) {
  SvgMatrix m;
  ASSERT_EQ(m.parse("rotate(45 10 10)"), SvgStatus::Ok);
  double x = 0, y = 0;
  m.apply(10, 10, &x, &y);  // the centre stays
  EXPECT_NEAR(x, 10, 1e-12);
  EXPECT_NEAR(y, 10, 1e-12);
  m.apply(20, 10, &x, &y);
  EXPECT_NEAR(x, 10 + 10 * std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(y, 10 + 10 * std::sqrt(0.5), 1e-12);

  SvgMatrix spelled_out;
  ASSERT_EQ(spelled_out.parse("translate(10 10) rotate(45) translate(-10 -10)"), SvgStatus::Ok);
  expect_matrix(m, spelled_out, "rotate with centre");
}

TEST(SvgMatrixPrepend, LetsTheNewMatrixActFirst) {
  // A point is first scaled, then translated: (1, 1) -> (2, 2) -> (12, 2).
  SvgMatrix m;
  m.translate(10, 0);
  m.scale(2, 2);
  double x = 0, y = 0;
  m.apply(1, 1, &x, &y);
  EXPECT_EQ(x, 12);
  EXPECT_EQ(y, 2);

  SvgMatrix general{1, 2, 3, 4, 5, 6};
  general.prepend(SvgMatrix{7, 8, 9, 10, 11, 12});
  expect_matrix(general, {31, 46, 39, 58, 52, 76}, "product");
  general.identity();
  expect_matrix(general, SvgMatrix{}, "identity");
}

}  // namespace
