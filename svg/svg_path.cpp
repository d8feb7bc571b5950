#include "svg/svg_path.h"

#include <new>
#include <utility>

#include "svg/svg_numbers.h"

namespace {

struct PathCommandEntry {
  char letter;
  int numbers;
  int32_t code;
};

// Path data command letters (case-sensitive), with their count of numbers and
// the code of the command as read (relative codes are odd).
constexpr PathCommandEntry kPathCommands[] = {
    {'M', 2, 0},  {'m', 2, 1},  {'L', 2, 2},  {'l', 2, 3},  {'H', 1, 4},
    {'h', 1, 5},  {'V', 1, 6},  {'v', 1, 7},  {'C', 6, 8},  {'c', 6, 9},
    {'S', 4, 10}, {'s', 4, 11}, {'Q', 4, 12}, {'q', 4, 13}, {'T', 2, 14},
    {'t', 2, 15}, {'A', 7, 16}, {'a', 7, 17}, {'Z', 0, 18}, {'z', 0, 18},
};

const PathCommandEntry* find_path_command(char letter) {
  for (const PathCommandEntry& entry : kPathCommands) {
    if (entry.letter == letter) return &entry;
  }
  return nullptr;
}

// Applies one set of numbers of the command `code` to the path.
SvgStatus apply_path_command(SvgPath& path, int32_t code, const double* v) {
  const double cx = path.current_x;
  const double cy = path.current_y;
  switch (code) {
    case 0: return path.move_to(v[0], v[1]);
    case 1: return path.move_to(cx + v[0], cy + v[1]);
    case 2: return path.line_to(v[0], v[1]);
    case 3: return path.line_to(cx + v[0], cy + v[1]);
    case 4: return path.line_to(v[0], cy);
    case 5: return path.line_to(cx + v[0], cy);
    case 6: return path.line_to(cx, v[0]);
    case 7: return path.line_to(cx, cy + v[0]);
    case 8: return path.curve_to(v[0], v[1], v[2], v[3], v[4], v[5]);
    case 9: return path.curve_to(cx + v[0], cy + v[1], cx + v[2], cy + v[3], cx + v[4], cy + v[5]);
    case 10:
    case 11: {
      const bool smooth = path.last_command == static_cast<int32_t>(SvgPathCommand::CurveTo);
      const double rx = smooth ? path.cubic_reflection_x : cx;
      const double ry = smooth ? path.cubic_reflection_y : cy;
      const double ox = code == 11 ? cx : 0.0;
      const double oy = code == 11 ? cy : 0.0;
      return path.curve_to(rx, ry, ox + v[0], oy + v[1], ox + v[2], oy + v[3]);
    }
    case 12: return path.quad_to(v[0], v[1], v[2], v[3]);
    case 13: return path.quad_to(cx + v[0], cy + v[1], cx + v[2], cy + v[3]);
    case 14:
    case 15: {
      const bool smooth = path.last_command == static_cast<int32_t>(SvgPathCommand::QuadTo);
      const double rx = smooth ? path.quad_reflection_x : cx;
      const double ry = smooth ? path.quad_reflection_y : cy;
      const double ox = code == 15 ? cx : 0.0;
      const double oy = code == 15 ? cy : 0.0;
      return path.quad_to(rx, ry, ox + v[0], oy + v[1]);
    }
    case 16:
    case 17: {
      const double ox = code == 17 ? cx : 0.0;
      const double oy = code == 17 ? cy : 0.0;
      return path.arc_to(v[0], v[1], v[2], svg_truncate_to_int32(v[3]), svg_truncate_to_int32(v[4]),
                         ox + v[5], oy + v[6]);
    }
    default: return path.close();
  }
}

}  // namespace

int svg_path_command_numbers(SvgPathCommand command) {
  switch (command) {
    case SvgPathCommand::MoveTo:
    case SvgPathCommand::LineTo: return 2;
    case SvgPathCommand::CurveTo: return 6;
    case SvgPathCommand::QuadTo: return 4;
    case SvgPathCommand::ArcTo: return 7;
    case SvgPathCommand::Close: return 0;
  }
  return 0;
}

namespace {

template <typename Block>
void delete_blocks(Block* block) {
  while (block != nullptr) {
    Block* next = block->next;
    delete block;
    block = next;
  }
}

template <typename Block>
size_t block_bytes(const Block* block) {
  size_t bytes = 0;
  for (; block != nullptr; block = block->next) bytes += sizeof *block;
  return bytes;
}

// Appends `block` to the list running from `first` to `last`.
template <typename Block>
void link_block(Block*& first, Block*& last, Block* block) {
  block->previous = last;
  if (last != nullptr) {
    last->next = block;
  } else {
    first = block;
  }
  last = block;
}

// Appends one command code and its numbers. A command's numbers always lie in
// one number block, so a replay can read them in place.
SvgStatus path_append(SvgPath& path, SvgPathCommand command, const double* numbers, int count) {
  // Both blocks that may be needed are allocated before either is linked, so a
  // failure leaves the path as it was.
  SvgPathCommandBlock* new_commands = nullptr;
  SvgPathNumberBlock* new_numbers = nullptr;
  if (path.commands_last == nullptr || path.commands_last->count == kSvgPathBlockSize) {
    new_commands = new (std::nothrow) SvgPathCommandBlock;
    if (new_commands == nullptr) return SvgStatus::OutOfMemory;
  }
  if (count > 0 &&
      (path.numbers_last == nullptr || path.numbers_last->count + count > kSvgPathBlockSize)) {
    new_numbers = new (std::nothrow) SvgPathNumberBlock;
    if (new_numbers == nullptr) {
      delete new_commands;
      return SvgStatus::OutOfMemory;
    }
  }
  if (new_commands != nullptr) link_block(path.commands, path.commands_last, new_commands);
  if (new_numbers != nullptr) link_block(path.numbers, path.numbers_last, new_numbers);
  SvgPathCommandBlock* commands = path.commands_last;
  commands->commands[commands->count++] = static_cast<int32_t>(command);
  if (count > 0) {
    SvgPathNumberBlock* block = path.numbers_last;
    for (int i = 0; i < count; ++i) block->numbers[block->count++] = numbers[i];
  }
  path.last_command = static_cast<int32_t>(command);
  return SvgStatus::Ok;
}

}  // namespace

SvgPath::SvgPath(SvgPath&& other) noexcept { *this = std::move(other); }

SvgPath& SvgPath::operator=(SvgPath&& other) noexcept {
  if (this != &other) {
    release();
    start_x = other.start_x;
    start_y = other.start_y;
    current_x = other.current_x;
    current_y = other.current_y;
    last_command = other.last_command;
    cubic_reflection_x = other.cubic_reflection_x;
    cubic_reflection_y = other.cubic_reflection_y;
    quad_reflection_x = other.quad_reflection_x;
    quad_reflection_y = other.quad_reflection_y;
    commands = std::exchange(other.commands, nullptr);
    commands_last = std::exchange(other.commands_last, nullptr);
    numbers = std::exchange(other.numbers, nullptr);
    numbers_last = std::exchange(other.numbers_last, nullptr);
    other.release();
  }
  return *this;
}

SvgStatus SvgPath::move_to(double x, double y) {
  const double numbers[] = {x, y};
  SvgStatus status = path_append(*this, SvgPathCommand::MoveTo, numbers, 2);
  if (status != SvgStatus::Ok) return status;
  current_x = start_x = x;
  current_y = start_y = y;
  return SvgStatus::Ok;
}

SvgStatus SvgPath::line_to(double x, double y) {
  const double numbers[] = {x, y};
  SvgStatus status = path_append(*this, SvgPathCommand::LineTo, numbers, 2);
  if (status != SvgStatus::Ok) return status;
  current_x = x;
  current_y = y;
  return SvgStatus::Ok;
}

SvgStatus SvgPath::curve_to(double x1, double y1, double x2, double y2, double x, double y) {
  const double numbers[] = {x1, y1, x2, y2, x, y};
  SvgStatus status = path_append(*this, SvgPathCommand::CurveTo, numbers, 6);
  if (status != SvgStatus::Ok) return status;
  current_x = x;
  current_y = y;
  cubic_reflection_x = 2 * x - x2;
  cubic_reflection_y = 2 * y - y2;
  return SvgStatus::Ok;
}

SvgStatus SvgPath::quad_to(double x1, double y1, double x, double y) {
  const double numbers[] = {x1, y1, x, y};
  SvgStatus status = path_append(*this, SvgPathCommand::QuadTo, numbers, 4);
  if (status != SvgStatus::Ok) return status;
  current_x = x;
  current_y = y;
  quad_reflection_x = 2 * x - x1;
  quad_reflection_y = 2 * y - y1;
  return SvgStatus::Ok;
}

SvgStatus SvgPath::arc_to(double rx, double ry, double rotation, int large_arc, int sweep, double x,
                          double y) {
  const double numbers[] = {
      rx, ry, rotation, static_cast<double>(large_arc), static_cast<double>(sweep), x, y};
  SvgStatus status = path_append(*this, SvgPathCommand::ArcTo, numbers, 7);
  if (status != SvgStatus::Ok) return status;
  current_x = x;
  current_y = y;
  return SvgStatus::Ok;
}

SvgStatus SvgPath::close() {
  SvgStatus status = path_append(*this, SvgPathCommand::Close, nullptr, 0);
  if (status != SvgStatus::Ok) return status;
  current_x = start_x;
  current_y = start_y;
  return SvgStatus::Ok;
}

SvgStatus SvgPath::parse_data(std::string_view text) {
  size_t i = 0;
  while (true) {
    while (i < text.size() && svg_is_space(text[i])) ++i;
    if (i >= text.size()) return SvgStatus::Ok;
    const PathCommandEntry* entry = find_path_command(text[i]);
    if (entry == nullptr) return SvgStatus::Malformed;
    ++i;
    if (entry->numbers == 0) {
      SvgStatus status = close();
      if (status != SvgStatus::Ok) return status;
      continue;
    }
    int32_t code = entry->code;
    while (true) {
      double values[7];
      size_t end = 0;
      if (scan_numbers(text.substr(i), entry->numbers, values, &end) != SvgStatus::Ok) {
        i += end;
        break;
      }
      i += end;
      SvgStatus status = apply_path_command(*this, code, values);
      if (status != SvgStatus::Ok) return status;
      // Further pairs after a moveto are linetos.
      if (code == 0) code = 2;
      if (code == 1) code = 3;
    }
  }
}

SvgStatus SvgPath::parse_points(std::string_view text, bool close_path) {
  size_t i = 0;
  bool first = true;
  while (i < text.size()) {
    double values[2];
    size_t end = 0;
    if (scan_numbers(text.substr(i), 2, values, &end) != SvgStatus::Ok) {
      return SvgStatus::Malformed;
    }
    i += end;
    SvgStatus status = first ? move_to(values[0], values[1]) : line_to(values[0], values[1]);
    if (status != SvgStatus::Ok) return status;
    first = false;
    i = svg_skip_space(text, i);
  }
  return close_path ? close() : SvgStatus::Ok;
}

SvgStatus SvgPath::replay(RenderEngine& engine) const {
  const SvgPathNumberBlock* number_block = numbers;
  int number_index = 0;
  for (const SvgPathCommandBlock* block = commands; block != nullptr; block = block->next) {
    for (int k = 0; k < block->count; ++k) {
      const SvgPathCommand command = static_cast<SvgPathCommand>(block->commands[k]);
      const int count = svg_path_command_numbers(command);
      const double* v = nullptr;
      if (count > 0) {
        // The command's numbers are in one block: the current one if they fit,
        // else the next.
        if (number_block != nullptr && number_index + count > number_block->count) {
          number_block = number_block->next;
          number_index = 0;
        }
        if (number_block == nullptr) return SvgStatus::Malformed;
        v = number_block->numbers + number_index;
        number_index += count;
      }
      SvgStatus status = SvgStatus::Ok;
      switch (command) {
        case SvgPathCommand::MoveTo: status = engine.path_move_to(v[0], v[1]); break;
        case SvgPathCommand::LineTo: status = engine.path_line_to(v[0], v[1]); break;
        case SvgPathCommand::CurveTo:
          status = engine.path_curve_to(v[0], v[1], v[2], v[3], v[4], v[5]);
          break;
        case SvgPathCommand::QuadTo: status = engine.path_quad_to(v[0], v[1], v[2], v[3]); break;
        case SvgPathCommand::ArcTo:
          status = engine.path_arc_to(v[0], v[1], v[2], svg_truncate_to_int32(v[3]),
                                      svg_truncate_to_int32(v[4]), v[5], v[6]);
          break;
        case SvgPathCommand::Close: status = engine.path_close(); break;
      }
      if (status != SvgStatus::Ok) return status;
    }
  }
  return engine.draw_path();
}

size_t SvgPath::storage_bytes() const { return block_bytes(commands) + block_bytes(numbers); }

SvgStatus SvgPath::copy(SvgPath& destination, const SvgPath& source) {
  if (&destination == &source) return SvgStatus::Ok;
  destination.release();
  SvgPathCopySink sink(destination);
  return source.replay(sink);
}

void SvgPath::release() {
  delete_blocks(commands);
  delete_blocks(numbers);
  commands = commands_last = nullptr;
  numbers = numbers_last = nullptr;
  start_x = start_y = current_x = current_y = 0.0;
  cubic_reflection_x = cubic_reflection_y = 0.0;
  quad_reflection_x = quad_reflection_y = 0.0;
  last_command = 0;
}
