#include "app/converter.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include "app/detect.h"
#include "app/render_document.h"
#include "dr2d/dr2d_render.h"
#include "svg/svg_color.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kProgram = "plotmira-convert";
constexpr unsigned kMaxJobs = 256;
constexpr std::string_view kCannotWriteOut = "cannot write to standard output";

constexpr std::string_view kUsage =
    "Usage: plotmira-convert [-f pdf|svg|eps|png] [-s WIDTHxHEIGHT] INPUT OUTPUT\n"
    "       plotmira-convert -f FORMAT [-s WxH] [-j N] -o DIR INPUT...\n"
    "       plotmira-convert --kind INPUT...\n"
    "Both conversions also take --keep-aspect and -b COLOR; batch mode also -q.\n"
    "\n"
    "Converts WMF (placeable), DR2D and SVG drawings to PDF, SVG, EPS or PNG.\n"
    "The kind of an input is recognised from its content, not its name.\n"
    "\n"
    "  -f pdf|svg|eps|png  output format (default: from OUTPUT's extension)\n"
    "  -s WIDTHxHEIGHT     output size in points or pixels (default 640x480);\n"
    "                      the drawing is stretched to it\n"
    "  --keep-aspect       fit the drawing with its own proportions instead;\n"
    "                      the output shrinks to the fitted size\n"
    "  -b COLOR            paint a background first: an SVG colour keyword or\n"
    "                      #rrggbb (default: transparent)\n"
    "  -o DIR              batch mode: write DIR/<input base name>.<format>\n"
    "  -j N                batch mode: N conversions at once (default: one per core)\n"
    "  -q                  no progress line in batch mode\n"
    "  --kind              print each input's detected kind: value, name, path\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "\n"
    "OUTPUT '-' writes to standard output (then -f is required).\n"
    "Exit status: 0 written (warnings for incomplete drawings), 1 an input could\n"
    "not be converted, 2 usage error.\n";

bool parse_positive(std::string_view text, int limit, int& value) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= 1 && value <= limit;
}

bool is_hex_digits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  });
}

std::string lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Options that take a value.
bool takes_value(std::string_view option) {
  return option == "-f" || option == "-s" || option == "-j" || option == "-o" || option == "-b";
}

// -------------------------------------------------------------------------
// One conversion.

enum class Outcome { Written, Warned, Failed };

struct ConversionReport {
  Outcome outcome = Outcome::Failed;
  std::string message;  // for standard error; empty when there is nothing to say
};

std::string prefixed(const std::string& text) { return std::string(kProgram) + ": " + text; }

bool same_file(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
  return fs::absolute(a, ec).lexically_normal() == fs::absolute(b, ec).lexically_normal();
}

// The output size: the requested one, or with --keep-aspect the largest one
// of the document's proportions inside it.
void fit_size(const ConvertOptions& options, const std::string& input, DocumentKind kind,
              int& width, int& height) {
  width = options.width;
  height = options.height;
  if (!options.keep_aspect) return;
  double doc_width = 0, doc_height = 0;
  if (document_size(input, kind, doc_width, doc_height) != RenderStatus::Ok) return;
  if (!(std::isfinite(doc_width) && std::isfinite(doc_height) && doc_width > 0 && doc_height > 0)) {
    return;
  }
  const double scale = std::min(width / doc_width, height / doc_height);
  width = std::clamp(static_cast<int>(std::lround(doc_width * scale)), 1, options.width);
  height = std::clamp(static_cast<int>(std::lround(doc_height * scale)), 1, options.height);
}

// Converts one input. `stream_out` is set when the output goes to a stream
// instead of a file; it receives the bytes only when they are complete.
ConversionReport convert_file(const ConvertOptions& options, ExportFormat format,
                              const std::string& input, const std::string& output,
                              std::ostream* stream_out) {
  ConversionReport report;
  if (const std::string reason = file_unreadable_reason(input); !reason.empty()) {
    report.message = prefixed("cannot read " + input + ": " + reason);
    return report;
  }
  const DocumentKind kind = detect_document_kind(input);
  if (!document_kind_is_drawn(kind)) {
    report.message = prefixed(input + ": not converted (detected as " +
                              std::string(document_kind_name(kind)) + ")");
    return report;
  }

  RendererData data;
  data.path = input;
  data.kind = kind;
  fit_size(options, input, kind, data.width, data.height);
  ExportOptions export_options;
  export_options.background = options.background;
  export_options.require_drawing = true;

  ExportResult result;
  std::string bytes;
  if (stream_out != nullptr) {
    result = export_document_to_writer(
        data, format,
        [&bytes](const unsigned char* data, std::size_t length) {
          bytes.append(reinterpret_cast<const char*>(data), length);
          return true;
        },
        export_options);
    if (result.written) {
      stream_out->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      stream_out->flush();
      if (!*stream_out) {
        result.written = false;
        result.message = std::string(kCannotWriteOut);
      }
    }
  } else {
    result = export_document(data, format, output, export_options);
  }

  if (!result.written) {
    if (result.render == RenderStatus::NotDrawable) {
      // A kind we recognise, but its renderer is not part of this build.
      report.message = prefixed(input + ": not converted (this build does not draw " +
                                std::string(document_kind_name(kind)) + " files)");
    } else if (render_status_is_failure(result.render)) {
      std::string reason(render_status_name(result.render));
      if (kind == DocumentKind::Dr2d) {
        if (const std::string detail = dr2d_read_failure_message(input); !detail.empty()) {
          reason += "; " + detail;
        }
      }
      report.message = prefixed(input + ": not converted (" +
                                std::string(document_kind_name(kind)) + ": " + reason + ")");
    } else {
      report.message = prefixed(result.message);
    }
    return report;
  }
  if (result.render == RenderStatus::Partial) {
    report.outcome = Outcome::Warned;
    report.message =
        prefixed("warning: " + input + ": " + std::string(render_status_name(result.render)) +
                 "; wrote " + (stream_out != nullptr ? std::string("standard output") : output));
    return report;
  }
  report.outcome = Outcome::Written;
  return report;
}

// -------------------------------------------------------------------------
// Modes.

void run_kind(const ConvertOptions& options, ConvertIo& io) {
  for (const std::string& input : options.inputs) {
    const DocumentKind kind = detect_document_kind(input);
    io.out << static_cast<int>(kind) << ' ' << document_kind_name(kind) << ' ' << input << '\n';
  }
}

int run_single(const ConvertOptions& options, ConvertIo& io) {
  const std::string& input = options.inputs.front();
  const bool to_stream = options.output == "-";
  if (!to_stream && same_file(input, options.output)) {
    io.err << prefixed("OUTPUT is the INPUT itself: " + options.output) << '\n' << kUsage;
    return 2;
  }
  const ConversionReport report =
      convert_file(options, *options.format, input, options.output, to_stream ? &io.out : nullptr);
  if (!report.message.empty()) io.err << report.message << '\n';
  return report.outcome == Outcome::Failed ? 1 : 0;
}

// Messages and the progress line of a batch, from any worker.
class BatchReporter {
 public:
  BatchReporter(ConvertIo& io, std::size_t total, bool progress)
      : io_(io), total_(total), progress_(progress) {}

  void report(const ConversionReport& report) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++done_;
    if (report.outcome == Outcome::Failed) ++failed_;
    if (progress_) io_.err << "\r\033[K";
    if (!report.message.empty()) io_.err << report.message << '\n';
    if (progress_) io_.err << "converted " << done_ << " of " << total_ << std::flush;
  }
  void finish() {
    if (progress_) io_.err << '\n' << std::flush;
  }
  std::size_t failed() const { return failed_; }

 private:
  ConvertIo& io_;
  std::mutex mutex_;
  std::size_t total_;
  std::size_t done_ = 0;
  std::size_t failed_ = 0;
  bool progress_;
};

int run_batch(const ConvertOptions& options, ConvertIo& io) {
  std::error_code ec;
  fs::create_directories(options.output_dir, ec);
  std::error_code ignored;  // ec keeps the reason the directory could not be made
  if (!fs::is_directory(options.output_dir, ignored)) {
    io.err << prefixed("cannot use output directory " + options.output_dir +
                       (ec ? ": " + ec.message() : std::string(": not a directory")))
           << '\n';
    return 1;
  }

  // Outputs are worked out first, so that two inputs of the same base name
  // cannot overwrite each other's output, and no input is overwritten: not
  // its own, nor any other on the line (known by device and inode, so that
  // links and other spellings of a path count too).
  struct Job {
    std::string input, output, refusal;
  };
  std::vector<Job> jobs;
  std::set<fs::path> claimed;
  std::set<std::pair<dev_t, ino_t>> input_files;
  for (const std::string& input : options.inputs) {
    struct stat info {};
    if (::stat(input.c_str(), &info) == 0) input_files.insert({info.st_dev, info.st_ino});
  }
  auto is_an_input = [&input_files](const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && input_files.count({info.st_dev, info.st_ino}) != 0;
  };
  // Built by appending: g++ 12 at -O3 warns falsely (-Wrestrict) on "." + string.
  std::string extension = ".";
  extension += export_format_name(*options.format);
  for (const std::string& input : options.inputs) {
    Job job{input, (fs::path(options.output_dir) / fs::path(input).stem()).string() + extension,
            ""};
    const fs::path key = fs::absolute(job.output, ec).lexically_normal();
    if (same_file(input, job.output)) {
      job.refusal =
          prefixed(input + ": not converted (its output " + job.output + " is the input)");
    } else if (is_an_input(job.output)) {
      job.refusal =
          prefixed(input + ": not converted (its output " + job.output + " is another input)");
    } else if (!claimed.insert(key).second) {
      job.refusal = prefixed(input + ": not converted (" + job.output +
                             " is the output of an earlier input)");
    }
    jobs.push_back(job);
  }

  unsigned workers = options.jobs != 0 ? options.jobs : std::thread::hardware_concurrency();
  workers = std::clamp<unsigned>(workers, 1, static_cast<unsigned>(jobs.size()));
  BatchReporter reporter(io, jobs.size(), io.err_is_terminal && !options.quiet);
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t i = next++; i < jobs.size(); i = next++) {
      const Job& job = jobs[i];
      ConversionReport report;
      if (!job.refusal.empty()) {
        report.message = job.refusal;
      } else {
        report = convert_file(options, *options.format, job.input, job.output, nullptr);
      }
      reporter.report(report);
    }
  };
  std::vector<std::thread> threads;
  for (unsigned i = 1; i < workers; ++i) threads.emplace_back(work);
  work();
  for (std::thread& thread : threads) thread.join();
  reporter.finish();
  return reporter.failed() == 0 ? 0 : 1;
}

}  // namespace

bool convert_parse_size(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  int w = 0, h = 0;
  if (!parse_positive(text.substr(0, x), kExportMaxSide, w) ||
      !parse_positive(text.substr(x + 1), kExportMaxSide, h)) {
    return false;
  }
  width = w;
  height = h;
  return true;
}

bool convert_parse_color(std::string_view text, ExportColor& color) {
  std::uint32_t rgb = 0;
  if (text.starts_with('#')) {
    const std::string_view digits = text.substr(1);
    if ((digits.size() != 6 && digits.size() != 3) || !is_hex_digits(digits)) return false;
    SvgColor parsed;
    if (parsed.parse(text) != SvgStatus::Ok) return false;
    rgb = parsed.rgb;
  } else if (!svg_color_keyword(text, &rgb)) {
    return false;
  }
  color = ExportColor{((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                      (rgb & 0xFF) / 255.0, 1.0};
  return true;
}

std::string_view convert_usage() { return kUsage; }

ConvertArgs convert_parse_args(const std::vector<std::string>& args) {
  ConvertArgs parsed;
  ConvertOptions& o = parsed.options;
  auto fail = [&parsed](std::string error) {
    parsed.ok = false;
    parsed.error = std::move(error);
    return parsed;
  };

  // --help and --version win over everything else on the line.
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") {
      o.mode = ConvertMode::Help;
      parsed.ok = true;
      return parsed;
    }
    if (arg == "--version") {
      o.mode = ConvertMode::Version;
      parsed.ok = true;
      return parsed;
    }
  }

  bool kind = false, size_given = false, jobs_given = false;
  std::vector<std::string> operands;
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg == "-" || !arg.starts_with('-')) {
      operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (arg == "--kind") {
      kind = true;
    } else if (arg == "--keep-aspect") {
      o.keep_aspect = true;
    } else if (arg == "-q") {
      o.quiet = true;
    } else if (takes_value(arg)) {
      if (i + 1 >= args.size()) return fail("option " + arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "-f") {
        o.format = export_format_from_name(value);
        if (!o.format) return fail("unknown format '" + value + "' (pdf, svg, eps or png)");
      } else if (arg == "-s") {
        if (!convert_parse_size(value, o.width, o.height)) {
          return fail("bad size '" + value + "' (WIDTHxHEIGHT, each 1 to " +
                      std::to_string(kExportMaxSide) + ")");
        }
        size_given = true;
      } else if (arg == "-j") {
        int jobs = 0;
        if (!parse_positive(value, kMaxJobs, jobs)) {
          return fail("bad job count '" + value + "' (1 to " + std::to_string(kMaxJobs) + ")");
        }
        o.jobs = static_cast<unsigned>(jobs);
        jobs_given = true;
      } else if (arg == "-o") {
        if (value.empty()) return fail("option -o needs a directory");
        o.output_dir = value;
      } else {
        ExportColor color;
        if (!convert_parse_color(value, color)) {
          return fail("bad colour '" + value + "' (an SVG colour keyword or #rrggbb)");
        }
        o.background = color;
      }
    } else {
      return fail("unknown option " + arg);
    }
  }

  if (kind) {
    if (o.format || size_given || jobs_given || !o.output_dir.empty() || o.keep_aspect ||
        o.background) {
      return fail("--kind takes no other options");
    }
    if (operands.empty()) return fail("--kind needs at least one INPUT");
    o.mode = ConvertMode::Kind;
    o.inputs = operands;
  } else if (!o.output_dir.empty()) {
    if (!o.format) return fail("batch mode (-o DIR) needs -f FORMAT");
    if (operands.empty()) return fail("batch mode needs at least one INPUT");
    o.mode = ConvertMode::Batch;
    o.inputs = operands;
  } else {
    if (operands.size() != 2) return fail("expected INPUT and OUTPUT");
    if (jobs_given) return fail("-j is for batch mode (-o DIR)");
    o.mode = ConvertMode::Single;
    o.inputs = {operands[0]};
    o.output = operands[1];
    if (!o.format) {
      if (o.output == "-") return fail("writing to standard output needs -f FORMAT");
      std::string extension = fs::path(o.output).extension().string();
      if (!extension.empty()) extension.erase(0, 1);
      o.format = export_format_from_name(lowercase(extension));
      if (!o.format) {
        return fail("cannot tell the format from '" + o.output + "'; use -f pdf|svg|eps|png");
      }
    }
  }
  parsed.ok = true;
  return parsed;
}

namespace {

// The text modes end here: what they printed must have reached its reader.
int text_written(ConvertIo& io) {
  io.out.flush();
  if (io.out) return 0;
  io.err << prefixed(std::string(kCannotWriteOut)) << '\n';
  return 1;
}

}  // namespace

int convert_run(const ConvertOptions& options, ConvertIo& io) {
  switch (options.mode) {
    case ConvertMode::Help: io.out << kUsage; return text_written(io);
    case ConvertMode::Version:
      io.out << kProgram << ' ' << PLOTMIRA_VERSION << '\n';
      return text_written(io);
    case ConvertMode::Kind: run_kind(options, io); return text_written(io);
    case ConvertMode::Single: return run_single(options, io);
    case ConvertMode::Batch: return run_batch(options, io);
  }
  return 2;
}

int convert_main(const std::vector<std::string>& args, ConvertIo& io) {
  const ConvertArgs parsed = convert_parse_args(args);
  if (!parsed.ok) {
    io.err << prefixed(parsed.error) << '\n' << kUsage;
    return 2;
  }
  return convert_run(parsed.options, io);
}
