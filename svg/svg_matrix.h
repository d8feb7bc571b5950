#pragma once
// An affine matrix (a, b, c, d, e, f) mapping (x, y) to
// (a x + c y + e, b x + d y + f), and SVG transformation lists.

#include <string_view>

#include "svg/svg_status.h"

struct SvgMatrix {
  double a = 1.0;
  double b = 0.0;
  double c = 0.0;
  double d = 1.0;
  double e = 0.0;
  double f = 0.0;

  void identity();
  // Replaces this matrix M by the product in which `t` acts first, then M.
  void prepend(const SvgMatrix& t);
  // Each prepends the elementary matrix; angles in degrees.
  void translate(double tx, double ty);
  void scale(double sx, double sy);
  void rotate(double angle);
  void skew_x(double angle);
  void skew_y(double angle);

  // Maps a point.
  void apply(double x, double y, double* out_x, double* out_y) const;

  // Reads a transformation list ("translate(10,0) scale(2)", ...). The matrix
  // starts as the identity and every item is prepended, so the last item acts
  // first. rotate(a cx cy) rotates about (cx, cy). On Malformed the matrix
  // holds the items before the failing one.
  SvgStatus parse(std::string_view text);
};
