#pragma once
// Recognition of a file's kind from its first bytes, never from its name.

#include <cstddef>
#include <string>
#include <string_view>

#include "app/document_kind.h"

// How far into a file (or into an inflated gzip stream) the XML tests look.
inline constexpr std::size_t kDetectXmlBytes = 4096;

DocumentKind detect_document_kind(const std::string& path);
// Second stage for XML text: WordXml, Svg or Rejected.
DocumentKind detect_xml_kind(const std::string& path);

// The same tests on a file's bytes in memory. `bytes` is the whole file or at
// least its first kDetectXmlBytes bytes; a gzip file is inflated from the
// bytes given. Never Rejected for missing files, since there is no file.
DocumentKind detect_kind_of_bytes(std::string_view bytes);

// Why the file at path cannot be read ("is a directory", or the system's
// reason), or "" when it can: says what a Rejected kind stands for.
std::string file_unreadable_reason(const std::string& path);
DocumentKind detect_xml_kind_of_bytes(std::string_view bytes);
