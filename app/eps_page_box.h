#pragma once
// Cairo writes an EPS file's bounding box from the ink that was drawn, so an
// empty page gets a box of no area and a small drawing a smaller file than
// the page it was drawn for. This filter sits between cairo and the output
// and states the whole page instead, like the other formats.

#include <cstddef>
#include <string>

#include "app/export.h"

class EpsPageBoxFilter {
 public:
  EpsPageBoxFilter(const ExportWriter& next, int width, int height);

  // Passes the bytes on, with the %%BoundingBox and %%PageBoundingBox
  // comments replaced. False when the next writer failed.
  bool write(const unsigned char* bytes, std::size_t length);
  // Passes on what is held back of an unfinished last line.
  bool finish();

 private:
  bool flush_line();

  const ExportWriter& next_;
  std::string box_;   // "0 0 W H"
  std::string line_;  // the current line, while it may still be a box comment
  bool in_long_line_ = false;
  int replaced_ = 0;
};
