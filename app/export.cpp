#include "app/export.h"

ExportResult export_document(RendererData&, ExportFormat, const std::string&,
                             const ExportOptions&) {
  ExportResult result;
  result.message = "export is not built yet";
  return result;
}
