// plotmira-convert: converts drawings without a display.
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
  return status;
}
