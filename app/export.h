#pragma once
// Saving the current document: it is drawn a second time, into a cairo
// surface of the requested format at the record's width x height.

#include <cairo.h>

#include <optional>
#include <string>

#include "app/render_status.h"
#include "app/renderer_data.h"

enum class ExportFormat { Pdf, Svg, Eps, Png };

struct ExportColor {
  double red = 0, green = 0, blue = 0, alpha = 1;  // 0 to 1 each
};

struct ExportOptions {
  // Painted over the whole page before the drawing; transparent when absent.
  std::optional<ExportColor> background;
};

struct ExportResult {
  RenderStatus render = RenderStatus::Ok;       // what the renderer reported
  cairo_status_t cairo = CAIRO_STATUS_SUCCESS;  // surface or PNG write status
  bool written = false;                         // the output file is complete and in place
  std::string message;                          // why not, for the user, when !written
};

// Writes to a temporary name in the output's directory and renames it into
// place only when cairo reports success: a failed export leaves any existing
// file as it was. data.export_target holds the context during the call.
ExportResult export_document(RendererData& data, ExportFormat format,
                             const std::string& output_path, const ExportOptions& options = {});
