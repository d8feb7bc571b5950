#pragma once
// Reading an IFF FORM DR2D into a Dr2dDrawing.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "dr2d/dr2d_model.h"
#include "dr2d/iff_reader.h"

// Nested FORM DR2D levels (groups, external objects, fill patterns) beyond
// this make the file malformed, so that drawing and releasing the model
// never recurse deeper.
inline constexpr int kDr2dMaxNesting = 256;

// Reads the drawing from a parser opened on the file and not yet used.
// Ok gives a drawing; any other status gives none: NoMemory, Malformed
// (structure, a missing DRHD, an object on an undeclared layer, a chunk too
// short for its fields), or the parser's own code (EndOfFile when the file
// holds no FORM DR2D, ReadError).
IffStatus read_dr2d_drawing(IffParser& parser, std::unique_ptr<Dr2dDrawing>& drawing);

IffStatus read_dr2d_memory(const std::uint8_t* data, std::size_t size,
                           std::unique_ptr<Dr2dDrawing>& drawing);
IffStatus read_dr2d_stream(std::FILE* file, std::unique_ptr<Dr2dDrawing>& drawing);

// Name of a reader status, for messages: "malformed IFF data" and so on.
std::string_view dr2d_read_status_name(int status);
