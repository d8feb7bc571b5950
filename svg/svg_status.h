#pragma once
// Result code of every operation of the SVG document model and of every
// render-engine slot. Codes below 1000 may reach callers outside svg/; codes
// from 1001 on are signals between the parsing functions.

#include <cstdint>
#include <string_view>

enum class SvgStatus : int32_t {
  Ok = 0,
  OutOfMemory = 1,
  ReadFailed = 2,
  NoSuchFile = 3,
  BadValue = 4,
  WrongCallOrder = 5,
  Malformed = 6,
  NumbersEnded = 1001,
  NothingBuilt = 1002,
  AttributeMissing = 1003,
  NoPngSignature = 1004,
  NoJpegSignature = 1005,
};

// The enumerator's name ("Ok", "Malformed", ...), or "Unknown" for a value
// outside the list.
std::string_view svg_status_name(SvgStatus status);
