#include "svg/svg_paint.h"

std::optional<std::string_view> SvgPaint::reference_id(std::string_view text) {
  constexpr std::string_view kPrefix = "url(#";
  if (text.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  size_t close = text.find(')', kPrefix.size());
  if (close == std::string_view::npos) return std::nullopt;
  return text.substr(kPrefix.size(), close - kPrefix.size());
}

SvgStatus SvgPaint::set_server(const SvgPaintServer& server) {
  switch (server.type) {
    case SvgPaintType::Gradient:
      if (server.gradient == nullptr) return SvgStatus::Malformed;
      type = SvgPaintType::Gradient;
      gradient = server.gradient;
      pattern = nullptr;
      return SvgStatus::Ok;
    case SvgPaintType::Pattern:
      if (server.pattern == nullptr) return SvgStatus::Malformed;
      type = SvgPaintType::Pattern;
      pattern = server.pattern;
      gradient = nullptr;
      return SvgStatus::Ok;
    default: return SvgStatus::Malformed;
  }
}

SvgStatus SvgPaint::parse(const SvgPaintServers& servers, std::string_view text) {
  if (text == "none") {
    type = SvgPaintType::None;
    gradient = nullptr;
    pattern = nullptr;
    return SvgStatus::Ok;
  }
  if (std::optional<std::string_view> id = reference_id(text)) {
    return set_server(servers.find_paint_server(*id));
  }
  SvgColor parsed = color;
  SvgStatus status = parsed.parse(text);
  if (status != SvgStatus::Ok) return status;
  type = SvgPaintType::Color;
  color = parsed;
  gradient = nullptr;
  pattern = nullptr;
  return SvgStatus::Ok;
}
