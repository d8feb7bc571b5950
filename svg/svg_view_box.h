#pragma once
// The viewBox of an "svg" or "symbol" element with its preserveAspectRatio.

#include <cstdint>

enum class SvgAlign : uint32_t {
  Absent = 0,  // no viewBox
  None = 1,    // "none", and any alignment text not recognised
  XMinYMin = 2,
  XMidYMin = 3,
  XMaxYMin = 4,
  XMinYMid = 5,
  XMidYMid = 6,
  XMaxYMid = 7,
  XMinYMax = 8,
  XMidYMax = 9,
  XMaxYMax = 10,
};

enum class SvgMeetOrSlice : uint32_t {
  NotGiven = 0,
  Meet = 1,
  Slice = 2,
};

struct SvgViewBox {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;
  // Alignment code in bits 31-28, meet-or-slice code in bits 27-26.
  uint32_t codes = 0;

  SvgAlign align() const { return static_cast<SvgAlign>(codes >> 28); }
  SvgMeetOrSlice meet_or_slice() const { return static_cast<SvgMeetOrSlice>((codes >> 26) & 3u); }
  bool present() const { return align() != SvgAlign::Absent; }
  void set_align(SvgAlign align) {
    codes = (codes & 0x0FFFFFFFu) | (static_cast<uint32_t>(align) << 28);
  }
  void set_meet_or_slice(SvgMeetOrSlice mode) {
    codes = (codes & ~(3u << 26)) | ((static_cast<uint32_t>(mode) & 3u) << 26);
  }
};
