#include "app/detect.h"

DocumentKind detect_document_kind(const std::string&) { return DocumentKind::Unrecognised; }
DocumentKind detect_xml_kind(const std::string&) { return DocumentKind::Rejected; }
