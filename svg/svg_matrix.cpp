#include "svg/svg_matrix.h"

#include <cmath>

#include "svg/svg_numbers.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr size_t kMaxNameLength = 31;
constexpr int kMaxArguments = 6;

bool is_name_char(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-'; }

bool starts_number(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

// Prepends the item `name` with its arguments; false for an unknown name or a
// wrong argument count.
bool apply_item(SvgMatrix& m, std::string_view name, const double* v, int count) {
  if (name == "matrix") {
    if (count != 6) return false;
    m.prepend(SvgMatrix{v[0], v[1], v[2], v[3], v[4], v[5]});
    return true;
  }
  if (name == "translate") {
    if (count != 1 && count != 2) return false;
    m.translate(v[0], count == 2 ? v[1] : 0.0);
    return true;
  }
  if (name == "scale") {
    if (count != 1 && count != 2) return false;
    m.scale(v[0], count == 2 ? v[1] : v[0]);
    return true;
  }
  if (name == "rotate") {
    if (count == 1) {
      m.rotate(v[0]);
      return true;
    }
    if (count != 3) return false;
    // About (cx, cy): move the centre to the origin, rotate, move it back.
    m.translate(v[1], v[2]);
    m.rotate(v[0]);
    m.translate(-v[1], -v[2]);
    return true;
  }
  if (name == "skewX" || name == "skewY") {
    if (count != 1) return false;
    if (name == "skewX") {
      m.skew_x(v[0]);
    } else {
      m.skew_y(v[0]);
    }
    return true;
  }
  return false;
}

}  // namespace

void SvgMatrix::identity() { *this = SvgMatrix{}; }

void SvgMatrix::prepend(const SvgMatrix& t) {
  SvgMatrix p;
  p.a = t.a * a + t.b * c;
  p.b = t.a * b + t.b * d;
  p.c = t.c * a + t.d * c;
  p.d = t.c * b + t.d * d;
  p.e = t.e * a + t.f * c + e;
  p.f = t.e * b + t.f * d + f;
  *this = p;
}

void SvgMatrix::translate(double tx, double ty) { prepend(SvgMatrix{1, 0, 0, 1, tx, ty}); }

void SvgMatrix::scale(double sx, double sy) { prepend(SvgMatrix{sx, 0, 0, sy, 0, 0}); }

void SvgMatrix::rotate(double angle) {
  const double theta = angle * kRadiansPerDegree;
  const double cosine = std::cos(theta);
  const double sine = std::sin(theta);
  prepend(SvgMatrix{cosine, sine, -sine, cosine, 0, 0});
}

void SvgMatrix::skew_x(double angle) {
  prepend(SvgMatrix{1, 0, std::tan(angle * kRadiansPerDegree), 1, 0, 0});
}

void SvgMatrix::skew_y(double angle) {
  prepend(SvgMatrix{1, std::tan(angle * kRadiansPerDegree), 0, 1, 0, 0});
}

void SvgMatrix::apply(double x, double y, double* out_x, double* out_y) const {
  *out_x = a * x + c * y + e;
  *out_y = b * x + d * y + f;
}

SvgStatus SvgMatrix::parse(std::string_view text) {
  identity();
  size_t i = 0;
  while (true) {
    while (i < text.size() && (svg_is_space(text[i]) || text[i] == ',')) ++i;
    if (i >= text.size()) return SvgStatus::Ok;

    const size_t name_start = i;
    while (i < text.size() && is_name_char(text[i])) ++i;
    const std::string_view name = text.substr(name_start, i - name_start);
    if (name.size() > kMaxNameLength) return SvgStatus::Malformed;

    i = svg_skip_space(text, i);
    if (i >= text.size() || text[i] != '(') return SvgStatus::Malformed;
    ++i;

    double values[kMaxArguments] = {};
    int count = 0;
    while (true) {
      i = svg_skip_space(text, i);
      if (i < text.size() && starts_number(text[i])) {
        if (count == kMaxArguments) return SvgStatus::Malformed;
        size_t consumed = 0;
        // A sign or point without digits ("+)", "-.") is no number; stopping
        // here also keeps the loop from spinning on it.
        if (!svg_read_number(text.substr(i), &values[count], &consumed)) {
          return SvgStatus::Malformed;
        }
        ++count;
        i = svg_skip_space(text, i + consumed);
        if (i < text.size() && text[i] == ',') ++i;
        continue;
      }
      if (i >= text.size() || text[i] != ')') return SvgStatus::Malformed;
      ++i;
      break;
    }

    if (!apply_item(*this, name, values, count)) return SvgStatus::Malformed;
    if (i >= text.size()) return SvgStatus::Ok;
  }
}
