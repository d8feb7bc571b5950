// The viewer's entry: reads the command line and runs the window.

#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/readargs.h"
#include "gui/application.h"
#include "gui/version.h"

namespace {

// The oldest cairo whose PDF, PostScript and SVG output we rely on.
constexpr int kCairoMinimum = CAIRO_VERSION_ENCODE(1, 12, 0);

void print_help() {
  std::printf(
      "Usage: plotmira [VectorFile=]FILE\n"
      "Shows a vector drawing (placeable WMF, IFF DR2D or SVG, recognised by its\n"
      "content) and saves it as PDF, SVG, EPS or PNG.\n"
      "Without FILE, or when the line cannot be read, the window opens empty.\n"
      "\n"
      "  --help     show this text and exit\n"
      "  --version  show the version and exit\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h" || words[0] == "?")) {
    print_help();
    return 0;
  }
  if (words.size() == 1 && words[0] == "--version") {
    std::printf("%s\n", plotmira_version_line().c_str());
    return 0;
  }
  if (cairo_version() < kCairoMinimum) {
    std::fprintf(stderr, "plotmira: cairo %s is too old; version 1.12.0 or later is needed\n",
                 cairo_version_string());
    return 0;
  }

  // A line that cannot be read is no error: the window opens empty.
  VectorFileArgs args = readargs_vector_file(words);
  std::optional<std::string> vector_file;
  if (args.status == ReadArgsStatus::Ok) {
    vector_file = args.vector_file;
  } else if (!words.empty()) {
    // Said once, so that an empty window after a mistyped line is no riddle.
    std::fprintf(stderr, "plotmira: %s (template VectorFile/A); opening an empty view\n",
                 std::string(readargs_status_name(args.status)).c_str());
  }
  application_run(vector_file);
  return 0;
}
