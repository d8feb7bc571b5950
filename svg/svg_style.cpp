#include "svg/svg_style.h"

#include <new>

#include "svg/render_engine.h"
#include "svg/svg_document.h"
#include "svg/svg_numbers.h"

namespace {

// White space around a name or value is not part of it, as in CSS.
std::string_view trim(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size() && svg_is_space(text[begin])) ++begin;
  size_t end = text.size();
  while (end > begin && svg_is_space(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

class NoPaintServers final : public SvgPaintServers {
 public:
  SvgPaintServer find_paint_server(std::string_view) const override { return {}; }
};

// Maps a keyword to its code; false when the value is none of them.
template <size_t N>
bool keyword_code(std::string_view value, const std::string_view (&keywords)[N],
                  const int32_t (&codes)[N], int32_t* code) {
  for (size_t i = 0; i < N; ++i) {
    if (value == keywords[i]) {
      *code = codes[i];
      return true;
    }
  }
  return false;
}

template <size_t N>
SvgStatus parse_keyword(SvgStyle& style, std::string_view value,
                        const std::string_view (&keywords)[N], const int32_t (&codes)[N],
                        int32_t* field, uint64_t flag) {
  if (!keyword_code(value, keywords, codes, field)) return SvgStatus::Malformed;
  style.flags |= flag;
  return SvgStatus::Ok;
}

// A number, divided by 100 when a "%" follows it directly. Not clamped.
SvgStatus read_opacity(std::string_view value, double* out) {
  double number = 0.0;
  size_t consumed = 0;
  if (!svg_read_number(value, &number, &consumed)) return SvgStatus::Malformed;
  if (consumed < value.size() && value[consumed] == '%') number /= 100.0;
  *out = number;
  return SvgStatus::Ok;
}

SvgStatus parse_paint(SvgStyle& style, std::string_view value, SvgPaint* paint, uint64_t flag,
                      uint32_t pending_bit) {
  static const NoPaintServers kNoServers;
  const SvgPaintServers& servers = style.document != nullptr
                                       ? static_cast<const SvgPaintServers&>(*style.document)
                                       : static_cast<const SvgPaintServers&>(kNoServers);
  SvgStatus status = paint->parse(servers, value);
  if (status == SvgStatus::Ok) {
    style.flags |= flag;
    if ((style.pending & pending_bit) != 0) {  // this value overrides the waiting references
      svg_document_drop_paints(*style.document, style, pending_bit);
      style.pending &= ~pending_bit;
    }
    return SvgStatus::Ok;
  }
  if (status == SvgStatus::Malformed && style.document != nullptr) {
    SvgStatus deferred = svg_document_defer_paint(*style.document, style, pending_bit, value);
    if (deferred == SvgStatus::Ok) style.pending |= pending_bit;
    if (deferred != SvgStatus::NothingBuilt) return deferred;
  }
  return status;
}

// An opacity property (fill-opacity, opacity, stroke-opacity, stop-opacity).
template <double SvgStyle::*kField, uint64_t kFlag>
SvgStatus parse_opacity_property(SvgStyle& style, std::string_view value) {
  SvgStatus status = read_opacity(value, &(style.*kField));
  if (status == SvgStatus::Ok) style.flags |= kFlag;
  return status;
}

// A length property (font-size, stroke-dashoffset, stroke-width).
template <SvgLength SvgStyle::*kField, uint64_t kFlag>
SvgStatus parse_length_property(SvgStyle& style, std::string_view value) {
  SvgStatus status = (style.*kField).parse(value);
  if (status == SvgStatus::Ok) style.flags |= kFlag;
  return status;
}

// stop-color; color is the same but accepts "inherit".
SvgStatus parse_stop_color(SvgStyle& style, std::string_view value) {
  SvgColor color;
  SvgStatus status = color.parse(value);
  if (status != SvgStatus::Ok) return status;
  style.color = color;
  style.flags |= kSvgStyleColor;
  return SvgStatus::Ok;
}

SvgStatus parse_color(SvgStyle& style, std::string_view value) {
  if (value == "inherit") return SvgStatus::Ok;
  return parse_stop_color(style, value);
}

SvgStatus parse_display(SvgStyle& style, std::string_view value) {
  static constexpr std::string_view kShown[] = {"inline",
                                                "block",
                                                "list-item",
                                                "run-in",
                                                "compact",
                                                "marker",
                                                "table",
                                                "inline-table",
                                                "table-row-group",
                                                "table-header-group",
                                                "table-footer-group",
                                                "table-row",
                                                "table-column-group",
                                                "table-column",
                                                "table-cell",
                                                "table-caption"};
  if (value == "inherit") return SvgStatus::Ok;
  if (value == "none") {
    style.flags &= ~uint64_t{kSvgStyleDisplayed};
    return SvgStatus::Ok;
  }
  for (std::string_view shown : kShown) {
    if (value == shown) {
      style.flags |= kSvgStyleDisplayed;
      return SvgStatus::Ok;
    }
  }
  return SvgStatus::Malformed;
}

SvgStatus parse_fill(SvgStyle& style, std::string_view value) {
  return parse_paint(style, value, &style.fill_paint, kSvgStyleFill, kSvgStylePendingFill);
}

SvgStatus parse_fill_rule(SvgStyle& style, std::string_view value) {
  static constexpr std::string_view kNames[] = {"evenodd", "nonzero"};
  static constexpr int32_t kCodes[] = {1, 0};
  return parse_keyword(style, value, kNames, kCodes, &style.fill_rule, kSvgStyleFillRule);
}

SvgStatus parse_font_family(SvgStyle& style, std::string_view value) {
  if (style.document != nullptr && !svg_document_may_allocate(*style.document)) {
    return SvgStatus::OutOfMemory;
  }
  try {
    style.font_family.emplace(value);
  } catch (const std::bad_alloc&) {
    return SvgStatus::OutOfMemory;
  }
  style.flags |= kSvgStyleFontFamily;
  return SvgStatus::Ok;
}

SvgStatus parse_font_style(SvgStyle& style, std::string_view value) {
  static constexpr std::string_view kNames[] = {"normal", "italic", "oblique"};
  static constexpr int32_t kCodes[] = {0, 1, 2};
  return parse_keyword(style, value, kNames, kCodes, &style.font_style, kSvgStyleFontStyle);
}

SvgStatus parse_font_weight(SvgStyle& style, std::string_view value) {
  // "lighter" and "bolder" step from the weight this element set before, or
  // from 400 (the weight of "normal") when it set none.
  int64_t weight = 0;
  if (value == "normal") {
    weight = 400;
  } else if (value == "bold") {
    weight = 700;
  } else if (value == "lighter") {
    weight = int64_t{style.font_weight} - 100;
  } else if (value == "bolder") {
    weight = int64_t{style.font_weight} + 100;
  } else {
    double number = 0.0;
    size_t consumed = 0;
    if (svg_read_number(value, &number, &consumed)) weight = svg_truncate_to_int32(number);
  }
  if (weight < 0 || weight > 900) {
    weight = 900;
  } else if (weight < 100) {
    weight = 100;
  }
  style.font_weight = static_cast<int32_t>(weight);
  style.flags |= kSvgStyleFontWeight;
  return SvgStatus::Ok;
}

SvgStatus parse_dash_array(SvgStyle& style, std::string_view value) {
  style.dash_array.clear();
  style.dash_array.shrink_to_fit();
  style.flags |= kSvgStyleDashArray;
  if (value == "none") return SvgStatus::Ok;
  std::vector<double> dashes;
  try {
    size_t position = 0;
    for (;;) {
      double number = 0.0;
      size_t end = 0;
      if (scan_numbers(value.substr(position), 1, &number, &end) != SvgStatus::Ok) break;
      dashes.push_back(number);
      position += end;
    }
    if (dashes.empty()) return SvgStatus::Ok;
    if (style.document != nullptr && !svg_document_may_allocate(*style.document)) {
      return SvgStatus::OutOfMemory;
    }
    if (dashes.size() % 2 != 0) {
      size_t count = dashes.size();
      dashes.reserve(count * 2);
      for (size_t i = 0; i < count; ++i) dashes.push_back(dashes[i]);
    }
  } catch (const std::bad_alloc&) {
    return SvgStatus::OutOfMemory;
  }
  style.dash_array.swap(dashes);
  return SvgStatus::Ok;
}

SvgStatus parse_line_cap(SvgStyle& style, std::string_view value) {
  static constexpr std::string_view kNames[] = {"butt", "round", "square"};
  static constexpr int32_t kCodes[] = {0, 1, 2};
  return parse_keyword(style, value, kNames, kCodes, &style.line_cap, kSvgStyleLineCap);
}

SvgStatus parse_line_join(SvgStyle& style, std::string_view value) {
  static constexpr std::string_view kNames[] = {"miter", "round", "bevel"};
  static constexpr int32_t kCodes[] = {1, 2, 0};
  return parse_keyword(style, value, kNames, kCodes, &style.line_join, kSvgStyleLineJoin);
}

SvgStatus parse_miter_limit(SvgStyle& style, std::string_view value) {
  double number = 0.0;
  size_t consumed = 0;
  if (!svg_read_number(value, &number, &consumed)) {
    style.miter_limit = 0.0;  // overwritten, but the flag stays as it was
    return SvgStatus::Malformed;
  }
  style.miter_limit = number;
  style.flags |= kSvgStyleMiterLimit;
  return SvgStatus::Ok;
}

SvgStatus parse_stroke(SvgStyle& style, std::string_view value) {
  return parse_paint(style, value, &style.stroke_paint, kSvgStyleStroke, kSvgStylePendingStroke);
}

SvgStatus parse_text_anchor(SvgStyle& style, std::string_view value) {
  static constexpr std::string_view kNames[] = {"start", "middle", "end"};
  static constexpr int32_t kCodes[] = {0, 1, 2};
  return parse_keyword(style, value, kNames, kCodes, &style.text_anchor, kSvgStyleTextAnchor);
}

SvgStatus parse_visibility(SvgStyle& style, std::string_view value) {
  if (value == "inherit") return SvgStatus::Ok;
  if (value == "hidden" || value == "collapse") {
    style.flags &= ~uint64_t{kSvgStyleVisible};
    return SvgStatus::Ok;
  }
  if (value == "visible") {
    style.flags |= kSvgStyleVisible;
    return SvgStatus::Ok;
  }
  return SvgStatus::Malformed;
}

}  // namespace

const SvgStyleProperty kSvgStyleProperties[kSvgStylePropertyCount] = {
    {"color", parse_color, "black"},
    {"display", parse_display, "inline"},
    {"fill-opacity", parse_opacity_property<&SvgStyle::fill_opacity, kSvgStyleFillOpacity>, "1.0"},
    {"fill", parse_fill, "black"},
    {"fill-rule", parse_fill_rule, "nonzero"},
    {"font-family", parse_font_family, "sans-serif"},
    {"font-size", parse_length_property<&SvgStyle::font_size, kSvgStyleFontSize>, "10.0"},
    {"font-style", parse_font_style, "normal"},
    {"font-weight", parse_font_weight, "normal"},
    {"opacity", parse_opacity_property<&SvgStyle::opacity, kSvgStyleOpacity>, "1.0"},
    {"stroke-dasharray", parse_dash_array, "none"},
    {"stroke-dashoffset", parse_length_property<&SvgStyle::dash_offset, kSvgStyleDashOffset>,
     "0.0"},
    {"stroke-linecap", parse_line_cap, "butt"},
    {"stroke-linejoin", parse_line_join, "miter"},
    {"stroke-miterlimit", parse_miter_limit, "4.0"},
    {"stroke-opacity", parse_opacity_property<&SvgStyle::stroke_opacity, kSvgStyleStrokeOpacity>,
     "1.0"},
    {"stroke", parse_stroke, "none"},
    {"stroke-width", parse_length_property<&SvgStyle::stroke_width, kSvgStyleStrokeWidth>, "1.0"},
    {"text-anchor", parse_text_anchor, "start"},
    {"visibility", parse_visibility, "visible"},
    // stop-opacity and stop-color share the fields of opacity and color.
    {"stop-opacity", parse_opacity_property<&SvgStyle::opacity, kSvgStyleOpacity>, "1.0"},
    {"stop-color", parse_stop_color, "#ffffff"},
};

void SvgStyle::init(SvgStyle& style, SvgDocument* document) {
  style = SvgStyle{};
  style.document = document;
}

SvgStatus SvgStyle::apply_root_defaults(SvgStyle& style) {
  for (const SvgStyleProperty& property : kSvgStyleProperties) {
    SvgStatus status = property.parse(style, property.root_default);
    if (status != SvgStatus::Ok) return status;
  }
  return SvgStatus::Ok;
}

SvgStatus SvgStyle::set_property(SvgStyle& style, std::string_view name, std::string_view value) {
  for (const SvgStyleProperty& property : kSvgStyleProperties) {
    if (property.name == name) return property.parse(style, value);
  }
  return SvgStatus::Malformed;
}

SvgStatus SvgStyle::parse_style_attribute(SvgStyle& style, std::string_view text) {
  size_t position = 0;
  while (position < text.size()) {
    size_t end = text.find(';', position);
    if (end == std::string_view::npos) end = text.size();
    std::string_view declaration = text.substr(position, end - position);
    size_t colon = declaration.find(':');
    if (colon != std::string_view::npos) {
      SvgStatus status = set_property(style, trim(declaration.substr(0, colon)),
                                      trim(declaration.substr(colon + 1)));
      if (status == SvgStatus::OutOfMemory) return status;
    }
    position = end;
    if (position < text.size()) ++position;  // the ";"
  }
  return SvgStatus::Ok;
}

SvgStatus SvgStyle::read_attributes(SvgStyle& style, const SvgAttributes& attributes) {
  if (const char* text = attributes.find("style"); text != nullptr) {
    SvgStatus status = parse_style_attribute(style, text);
    if (status != SvgStatus::Ok) return status;
  }
  for (const SvgStyleProperty& property : kSvgStyleProperties) {
    const char* value = attributes.find(property.name);
    if (value == nullptr) continue;
    SvgStatus status = property.parse(style, trim(value));
    if (status != SvgStatus::Ok) return status;
  }
  return SvgStatus::Ok;
}

SvgStatus SvgStyle::copy(SvgStyle& destination, const SvgStyle& source) {
  if ((source.font_family.has_value() || !source.dash_array.empty()) &&
      source.document != nullptr && !svg_document_may_allocate(*source.document)) {
    return SvgStatus::OutOfMemory;
  }
  try {
    destination = source;
  } catch (const std::bad_alloc&) {
    return SvgStatus::OutOfMemory;
  }
  return SvgStatus::Ok;
}

void SvgStyle::release(SvgStyle& style) {
  style.font_family.reset();
  style.dash_array.clear();
  style.dash_array.shrink_to_fit();
  style.flags = 0;
  style.pending = 0;
}

SvgStatus SvgStyle::apply_to_engine(const SvgStyle& style, RenderEngine& engine) {
  SvgStatus status = SvgStatus::Ok;
  auto call = [&](uint64_t flag, auto&& slot) {
    if (status == SvgStatus::Ok && style.has(flag)) status = slot();
  };
  call(kSvgStyleColor, [&] { return engine.style_color(&style.color); });
  call(kSvgStyleFillOpacity, [&] { return engine.style_fill_opacity(style.fill_opacity); });
  call(kSvgStyleFill, [&] { return engine.style_fill_paint(&style.fill_paint); });
  call(kSvgStyleFillRule, [&] { return engine.style_fill_rule(style.fill_rule); });
  call(kSvgStyleFontFamily, [&] {
    return engine.style_font_family(style.font_family ? std::string_view(*style.font_family)
                                                      : std::string_view());
  });
  call(kSvgStyleFontSize, [&] { return engine.style_font_size(style.font_size.value); });
  call(kSvgStyleFontStyle, [&] { return engine.style_font_style(style.font_style); });
  call(kSvgStyleFontWeight, [&] { return engine.style_font_weight(style.font_weight); });
  call(kSvgStyleOpacity, [&] { return engine.style_opacity(style.opacity); });
  call(kSvgStyleDashArray, [&] {
    return engine.style_dash_array(style.dash_array.empty() ? nullptr : style.dash_array.data(),
                                   style.dash_count());
  });
  call(kSvgStyleDashOffset, [&] { return engine.style_dash_offset(&style.dash_offset); });
  call(kSvgStyleLineCap, [&] { return engine.style_line_cap(style.line_cap); });
  call(kSvgStyleLineJoin, [&] { return engine.style_line_join(style.line_join); });
  call(kSvgStyleMiterLimit, [&] { return engine.style_miter_limit(style.miter_limit); });
  call(kSvgStyleStrokeOpacity, [&] { return engine.style_stroke_opacity(style.stroke_opacity); });
  call(kSvgStyleStroke, [&] { return engine.style_stroke_paint(&style.stroke_paint); });
  call(kSvgStyleStrokeWidth, [&] { return engine.style_stroke_width(&style.stroke_width); });
  call(kSvgStyleTextAnchor, [&] { return engine.style_text_anchor(style.text_anchor); });
  return status;
}
