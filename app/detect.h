#pragma once
// Recognition of a file's kind from its first bytes, never from its name.

#include <string>

#include "app/document_kind.h"

DocumentKind detect_document_kind(const std::string& path);
// Second stage for XML text: WordXml, Svg or Rejected.
DocumentKind detect_xml_kind(const std::string& path);
