#pragma once
// A text picture of an element tree for comparisons in tests: one line per
// element with everything the tree stores about it.

#include <cstdio>
#include <string>

#include "svg/svg_document.h"
#include "svg/svg_element.h"

inline std::string dump_length(const SvgLength& length) {
  char text[64];
  std::snprintf(text, sizeof text, "%g/%u/%u", length.value, length.unit_code(),
                static_cast<unsigned>(length.direction()));
  return text;
}

inline std::string dump_paint(const SvgPaint& paint) {
  char text[64];
  std::snprintf(text, sizeof text, "%d:%d:%06x:%p:%p", static_cast<int>(paint.type),
                paint.color.is_current_color, paint.color.rgb,
                static_cast<const void*>(paint.gradient), static_cast<const void*>(paint.pattern));
  return text;
}

inline std::string dump_style(const SvgStyle& s) {
  std::string out = "style{flags=" + std::to_string(s.flags);
  auto add = [&](uint64_t flag, const std::string& text) {
    if (s.has(flag)) out += " " + text;
  };
  add(kSvgStyleColor,
      "color=" + std::to_string(s.color.is_current_color) + "/" + std::to_string(s.color.rgb));
  add(kSvgStyleFillOpacity, "fill-opacity=" + std::to_string(s.fill_opacity));
  add(kSvgStyleFill, "fill=" + dump_paint(s.fill_paint));
  add(kSvgStyleFillRule, "fill-rule=" + std::to_string(s.fill_rule));
  add(kSvgStyleFontFamily, "font-family=" + s.font_family.value_or("<none>"));
  add(kSvgStyleFontSize, "font-size=" + dump_length(s.font_size));
  add(kSvgStyleFontStyle, "font-style=" + std::to_string(s.font_style));
  add(kSvgStyleFontWeight, "font-weight=" + std::to_string(s.font_weight));
  add(kSvgStyleOpacity, "opacity=" + std::to_string(s.opacity));
  if (s.has(kSvgStyleDashArray)) {
    out += " dash=[";
    for (double d : s.dash_array) out += std::to_string(d) + ",";
    out += "]";
  }
  add(kSvgStyleDashOffset, "dash-offset=" + dump_length(s.dash_offset));
  add(kSvgStyleLineCap, "cap=" + std::to_string(s.line_cap));
  add(kSvgStyleLineJoin, "join=" + std::to_string(s.line_join));
  add(kSvgStyleMiterLimit, "miter=" + std::to_string(s.miter_limit));
  add(kSvgStyleStrokeOpacity, "stroke-opacity=" + std::to_string(s.stroke_opacity));
  add(kSvgStyleStroke, "stroke=" + dump_paint(s.stroke_paint));
  add(kSvgStyleStrokeWidth, "stroke-width=" + dump_length(s.stroke_width));
  add(kSvgStyleTextAnchor, "anchor=" + std::to_string(s.text_anchor));
  return out + "}";
}

inline std::string dump_path(const SvgPath& path) {
  std::string out = "d=";
  const SvgPathNumberBlock* numbers = path.numbers;
  int used = 0;
  for (const SvgPathCommandBlock* block = path.commands; block; block = block->next) {
    for (int i = 0; i < block->count; ++i) {
      auto command = static_cast<SvgPathCommand>(block->commands[i]);
      int count = svg_path_command_numbers(command);
      out += std::to_string(block->commands[i]);
      if (count > 0 && numbers && used + count > numbers->count) {
        numbers = numbers->next;
        used = 0;
      }
      for (int k = 0; k < count && numbers; ++k) {
        char text[32];
        std::snprintf(text, sizeof text, ",%g", numbers->numbers[used + k]);
        out += text;
      }
      used += count;
      out += ";";
    }
  }
  return out;
}

inline void dump_element(const SvgElement& e, int indent, std::string& out) {
  char text[160];
  out.append(static_cast<size_t>(indent) * 2, ' ');
  out += "kind=" + std::to_string(static_cast<int>(e.kind));
  if (e.id) out += " id=" + *e.id;
  const SvgMatrix& m = e.transform;
  std::snprintf(text, sizeof text, " m=(%g %g %g %g %g %g)", m.a, m.b, m.c, m.d, m.e, m.f);
  out += text;
  out += " " + dump_style(e.style);
  if (const SvgGroup* g = e.group()) {
    std::snprintf(text, sizeof text, " vb=(%g %g %g %g %08x)", g->view_box.x, g->view_box.y,
                  g->view_box.width, g->view_box.height, g->view_box.codes);
    out += " w=" + dump_length(g->width) + " h=" + dump_length(g->height) +
           " x=" + dump_length(g->x) + " y=" + dump_length(g->y) + text;
  } else if (const auto* p = std::get_if<SvgPath>(&e.data)) {
    out += " " + dump_path(*p);
  } else if (const auto* r = std::get_if<SvgRectShape>(&e.data)) {
    out += " rect=" + dump_length(r->x) + "," + dump_length(r->y) + "," + dump_length(r->width) +
           "," + dump_length(r->height) + "," + dump_length(r->rx) + "," + dump_length(r->ry);
  } else if (const auto* c = std::get_if<SvgEllipseShape>(&e.data)) {
    out += " ellipse=" + dump_length(c->cx) + "," + dump_length(c->cy) + "," + dump_length(c->rx) +
           "," + dump_length(c->ry);
  } else if (const auto* l = std::get_if<SvgLineShape>(&e.data)) {
    out += " line=" + dump_length(l->x1) + "," + dump_length(l->y1) + "," + dump_length(l->x2) +
           "," + dump_length(l->y2);
  }
  out += "\n";
  if (const SvgGroup* g = e.group()) {
    for (const auto& child : g->children) dump_element(*child, indent + 1, out);
  }
}

// The whole tree of a document ("<no root>" when nothing was built).
inline std::string dump_tree(const SvgDocument& document) {
  if (!document.root) return "<no root>\n";
  std::string out;
  dump_element(*document.root, 0, out);
  return out;
}
