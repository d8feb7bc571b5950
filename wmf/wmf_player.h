#pragma once
// Playback state of the WMF player, kept in RendererData between records.

#include <cstdint>
#include <string>

struct WmfPlayer {
  std::string font_face = "Arial";
};
