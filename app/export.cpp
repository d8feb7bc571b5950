#include "app/export.h"

#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo-svg.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/cairo_handles.h"
#include "app/eps_page_box.h"
#include "app/render_document.h"

namespace {

struct FormatName {
  std::string_view name;
  ExportFormat format;
};
constexpr FormatName kFormatNames[] = {
    {"eps", ExportFormat::Eps},
    {"pdf", ExportFormat::Pdf},
    {"png", ExportFormat::Png},
    {"svg", ExportFormat::Svg},
};

// Where cairo's bytes go. Once the writer fails, or the export is abandoned,
// nothing more reaches it.
struct Sink {
  const ExportWriter* write;
  bool closed = false;
};

cairo_status_t write_to_sink(void* closure, const unsigned char* data, unsigned int length) {
  Sink* sink = static_cast<Sink*>(closure);
  if (sink->closed || !(*sink->write)(data, length)) {
    sink->closed = true;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

CairoSurfacePtr surface_create(ExportFormat format, Sink& sink, int width, int height) {
  switch (format) {
    case ExportFormat::Pdf:
      return CairoSurfacePtr(
          cairo_pdf_surface_create_for_stream(write_to_sink, &sink, width, height));
    case ExportFormat::Svg:
      return CairoSurfacePtr(
          cairo_svg_surface_create_for_stream(write_to_sink, &sink, width, height));
    case ExportFormat::Eps: {
      CairoSurfacePtr surface(
          cairo_ps_surface_create_for_stream(write_to_sink, &sink, width, height));
      cairo_ps_surface_set_eps(surface.get(), 1);
      return surface;
    }
    case ExportFormat::Png:
      return CairoSurfacePtr(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  }
  return CairoSurfacePtr(cairo_image_surface_create(CAIRO_FORMAT_INVALID, 0, 0));
}

void paint_background(cairo_t* cr, const ExportColor& color) {
  CairoSaveGuard guard(cr);
  cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
}

std::string cairo_message(cairo_status_t status) {
  return std::string("cairo: ") + cairo_status_to_string(status);
}

// Bytes of the output's name kept in the temporary name: with the dot and
// the suffix it stays within the usual 255-byte limit of a name.
constexpr std::size_t kTemporaryNameStem = 200;

// A name of our own beside the output, so that the rename stays within one
// file system and cannot meet another export's temporary file.
std::string temporary_path_for(const std::filesystem::path& output) {
  static std::atomic<unsigned> counter{0};
  // Appended piece by piece: g++ 12 at -O3 warns falsely on "." + string.
  std::string name(".");
  name += output.filename().string().substr(0, kTemporaryNameStem);
  name += ".tmp-";
  name += std::to_string(::getpid());
  name += '-';
  name += std::to_string(counter++);
  return (output.parent_path() / name).string();
}

bool write_all(int fd, const unsigned char* bytes, std::size_t length, int& error) {
  while (length > 0) {
    const ssize_t n = ::write(fd, bytes, length);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    bytes += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string_view export_format_name(ExportFormat format) {
  for (const FormatName& entry : kFormatNames) {
    if (entry.format == format) return entry.name;
  }
  return "?";
}

std::optional<ExportFormat> export_format_from_name(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const FormatName& entry : kFormatNames) {
    if (entry.name == lower) return entry.format;
  }
  return std::nullopt;
}

ExportResult export_document_to_writer(RendererData& data, ExportFormat format,
                                       const ExportWriter& write, const ExportOptions& options) {
  ExportResult result;
  if (data.width <= 0 || data.height <= 0 || data.width > kExportMaxSide ||
      data.height > kExportMaxSide) {
    result.cairo = CAIRO_STATUS_INVALID_SIZE;
    result.message =
        "invalid output size " + std::to_string(data.width) + "x" + std::to_string(data.height);
    return result;
  }

  EpsPageBoxFilter eps_filter(write, data.width, data.height);
  const ExportWriter filtered = [&eps_filter](const unsigned char* bytes, std::size_t length) {
    return eps_filter.write(bytes, length);
  };
  Sink sink{format == ExportFormat::Eps ? &filtered : &write};
  CairoSurfacePtr surface = surface_create(format, sink, data.width, data.height);
  result.cairo = cairo_surface_status(surface.get());
  if (result.cairo != CAIRO_STATUS_SUCCESS) {
    result.message = cairo_message(result.cairo);
    return result;
  }
  CairoContextPtr cr(cairo_create(surface.get()));
  data.export_target = cr.get();
  if (options.background) paint_background(cr.get(), *options.background);

  cairo_t* const previous_target = data.target;
  data.target = cr.get();
  result.render = render_document(data);
  data.target = previous_target;
  data.export_target = nullptr;

  if (options.require_drawing && render_status_is_failure(result.render)) {
    sink.closed = true;  // finishing the surface must not reach the writer
    result.message = std::string(render_status_name(result.render));
    return result;
  }
  // A context in an error state has stopped drawing: the page would be
  // missing whatever came after the fault.
  result.cairo = cairo_status(cr.get());
  if (result.cairo != CAIRO_STATUS_SUCCESS) {
    sink.closed = true;
    result.message = cairo_message(result.cairo);
    return result;
  }

  if (format == ExportFormat::Pdf) cairo_show_page(cr.get());
  if (format == ExportFormat::Png) {
    cairo_surface_flush(surface.get());
    result.cairo = cairo_surface_write_to_png_stream(surface.get(), write_to_sink, &sink);
  } else {
    cairo_surface_finish(surface.get());
    result.cairo = cairo_surface_status(surface.get());
    if (result.cairo == CAIRO_STATUS_SUCCESS && format == ExportFormat::Eps &&
        !eps_filter.finish()) {
      result.cairo = CAIRO_STATUS_WRITE_ERROR;
    }
  }
  if (result.cairo != CAIRO_STATUS_SUCCESS) {
    result.message = cairo_message(result.cairo);
    return result;
  }
  result.written = true;
  return result;
}

namespace {

// The export written into fd, which is closed; write_error receives errno of
// a write or of the close that failed.
ExportResult export_to_descriptor(RendererData& data, ExportFormat format, int fd,
                                  const ExportOptions& options, int& write_error) {
  ExportResult result = export_document_to_writer(
      data, format,
      [fd, &write_error](const unsigned char* bytes, std::size_t length) {
        return write_all(fd, bytes, length, write_error);
      },
      options);
  if (::close(fd) != 0 && result.written) {
    write_error = errno;
    result.written = false;
  }
  return result;
}

void report_write_error(ExportResult& result, const std::string& output_path, int write_error) {
  if (write_error == 0) return;
  if (result.cairo == CAIRO_STATUS_SUCCESS) result.cairo = CAIRO_STATUS_WRITE_ERROR;
  result.message = "cannot write " + output_path + ": " + std::strerror(write_error);
}

ExportResult open_failure(const std::string& output_path) {
  ExportResult result;
  result.cairo = CAIRO_STATUS_WRITE_ERROR;
  result.message = "cannot write " + output_path + ": " + std::strerror(errno);
  return result;
}

}  // namespace

ExportResult export_document(RendererData& data, ExportFormat format,
                             const std::string& output_path, const ExportOptions& options) {
  ExportResult result;
  // A link to an existing file is written through: the file is replaced and
  // the link stays.
  std::filesystem::path output(output_path);
  std::error_code ec;
  if (std::filesystem::is_symlink(output, ec)) {
    const std::filesystem::path linked = std::filesystem::canonical(output, ec);
    if (!ec) output = linked;
  }
  if (output.filename().empty()) {
    result.cairo = CAIRO_STATUS_WRITE_ERROR;
    result.message = "cannot write " + output_path + ": not a file name";
    return result;
  }

  struct stat existing {};
  const bool exists = ::stat(output.c_str(), &existing) == 0;
  int write_error = 0;
  if (exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
    // A pipe or a device holds no file to keep, and renaming over it would
    // replace it: it is written in place.
    const int fd = ::open(output.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return open_failure(output_path);
    result = export_to_descriptor(data, format, fd, options, write_error);
    if (!result.written) report_write_error(result, output_path, write_error);
    return result;
  }

  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = temporary_path_for(output);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return open_failure(output_path);
  // Replacing a file keeps its permissions.
  if (exists && S_ISREG(existing.st_mode)) ::fchmod(fd, existing.st_mode & 07777);

  result = export_to_descriptor(data, format, fd, options, write_error);
  if (result.written && ::rename(temporary.c_str(), output.c_str()) != 0) {
    write_error = errno;
    result.written = false;
  }
  if (!result.written) {
    ::unlink(temporary.c_str());
    report_write_error(result, output_path, write_error);
  }
  return result;
}
