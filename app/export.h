#pragma once
// Saving the current document: it is drawn a second time, into a cairo
// surface of the requested format at the record's width x height.

#include <cairo.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/render_status.h"
#include "app/renderer_data.h"

enum class ExportFormat { Pdf, Svg, Eps, Png };

// "pdf", "svg", "eps", "png": also the file name extension.
std::string_view export_format_name(ExportFormat format);
// The format of a name like "pdf" or "PNG"; nothing for any other name.
std::optional<ExportFormat> export_format_from_name(std::string_view name);

// Cairo's own limit for image surfaces; pages are held to the same bound.
inline constexpr int kExportMaxSide = 32767;

struct ExportColor {
  double red = 0, green = 0, blue = 0, alpha = 1;  // 0 to 1 each
};

struct ExportOptions {
  // Painted over the whole page before the drawing; transparent when absent.
  std::optional<ExportColor> background;
  // Write nothing when the renderer fails outright (unreadable, malformed, not
  // drawable). The window saves an empty page instead; the converter does not.
  bool require_drawing = false;
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

// Receives the output's bytes in order; false when they could not be kept.
using ExportWriter = std::function<bool(const unsigned char* bytes, std::size_t length)>;

// The same export into a writer (standard output, memory). When the result
// is not `written`, what the writer received is incomplete and must be dropped.
ExportResult export_document_to_writer(RendererData& data, ExportFormat format,
                                       const ExportWriter& write,
                                       const ExportOptions& options = {});
