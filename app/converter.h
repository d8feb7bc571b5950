#pragma once
// plotmira-convert: the headless converter. The command line is parsed into
// ConvertOptions; convert_run carries them out. Both are free of globals, so
// that tests can drive them with their own streams.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/export.h"

enum class ConvertMode { Single, Batch, Kind, Help, Version };

struct ConvertOptions {
  ConvertMode mode = ConvertMode::Single;
  std::optional<ExportFormat> format;  // from -f, or in single mode from OUTPUT's name
  int width = 640;                     // the view's default size
  int height = 480;
  bool keep_aspect = false;
  std::optional<ExportColor> background;
  bool quiet = false;
  unsigned jobs = 0;  // batch workers; 0 for one per core
  std::string output_dir;
  std::vector<std::string> inputs;
  std::string output;  // single mode; "-" for standard output
};

struct ConvertArgs {
  bool ok = false;
  std::string error;  // what is wrong with the command line, when !ok
  ConvertOptions options;
};

// `args` without the program name.
ConvertArgs convert_parse_args(const std::vector<std::string>& args);

// "WIDTHxHEIGHT", each side 1 to kExportMaxSide.
bool convert_parse_size(std::string_view text, int& width, int& height);
// An SVG colour keyword, "#rgb" or "#rrggbb"; opaque.
bool convert_parse_color(std::string_view text, ExportColor& color);

std::string_view convert_usage();

struct ConvertIo {
  std::ostream& out;  // --kind lines, help, and the output file for "-"
  std::ostream& err;  // errors, warnings, progress
  bool err_is_terminal = false;
};

// Exit status: 0 when every output was written (perhaps with warnings), 1
// when an input could not be converted, 2 for a usage error.
int convert_run(const ConvertOptions& options, ConvertIo& io);
// Parses and runs; prints the usage text on a usage error.
int convert_main(const std::vector<std::string>& args, ConvertIo& io);
