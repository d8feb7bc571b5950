#pragma once
// Result code of every operation of the SVG document model.

enum class SvgStatus {
  Success = 0,
};
