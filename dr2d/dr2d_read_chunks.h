#pragma once
// The field layouts of the DR2D chunks, read from the parser's current chunk
// into the drawing model. Each returns Malformed when the chunk is shorter
// than its fields.

#include <cstdint>

#include "dr2d/dr2d_model.h"
#include "dr2d/iff_reader.h"

// DASH, LAYR, CMAP, CMYK, CNAM, FONS.
IffStatus dr2d_read_global(IffParser& parser, std::uint32_t id, Dr2dDrawing& drawing);

// A new object of the current chunk's kind, with the attributes and bounds of
// the ATTR and BBOX properties in scope and the chunk's own fields.
IffStatus dr2d_read_object(IffParser& parser, Dr2dObject& object);

// The DRHD box in scope.
IffStatus dr2d_read_header(const IffParser& parser, Dr2dDrawing& drawing);
