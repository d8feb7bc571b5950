#pragma once
// The kind of a file as recognised from its first bytes. Only Wmf, Dr2d and
// Svg are drawn; the other values name what the file was taken for, so that
// the user can be told why nothing is shown.

#include <cstdint>
#include <string_view>

enum class DocumentKind : std::int32_t {
  Rejected = -1,
  Unrecognised = 0,
  OleCompound = 1,
  Utf8Text = 2,
  Rtf = 3,
  WordXml = 7,
  Wmf = 8,
  Dr2d = 10,
  Svg = 11,
};

constexpr std::string_view document_kind_name(DocumentKind kind) {
  switch (kind) {
    case DocumentKind::Rejected: return "Rejected";
    case DocumentKind::Unrecognised: return "Unrecognised";
    case DocumentKind::OleCompound: return "OleCompound";
    case DocumentKind::Utf8Text: return "Utf8Text";
    case DocumentKind::Rtf: return "Rtf";
    case DocumentKind::WordXml: return "WordXml";
    case DocumentKind::Wmf: return "Wmf";
    case DocumentKind::Dr2d: return "Dr2d";
    case DocumentKind::Svg: return "Svg";
  }
  return "Unknown";
}

constexpr bool document_kind_is_drawn(DocumentKind kind) {
  return kind == DocumentKind::Wmf || kind == DocumentKind::Dr2d || kind == DocumentKind::Svg;
}
