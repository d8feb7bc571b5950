// plotmira-convert: converts drawings without a display.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/converter.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  ConvertIo io{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1};
  const int status = convert_main(args, io);
  std::cout.flush();
  // Every surface is gone: let cairo and fontconfig free their caches, so
  // that a leak checker sees only leaks of ours.
  cairo_debug_reset_static_data();
  FcFini();
  return status;
}
