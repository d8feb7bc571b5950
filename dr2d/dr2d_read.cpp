#include "dr2d/dr2d_read.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "dr2d/dr2d_read_chunks.h"

namespace {

constexpr std::uint32_t kStops[] = {
    kIffForm,       iff_id("DASH"), kDr2dFillForm,  iff_id("LAYR"),     iff_id("CMAP"),
    iff_id("CMYK"), iff_id("CNAM"), iff_id("FONS"), kDr2dClosedPolygon, kDr2dOpenPolygon,
    kDr2dGroup,     kDr2dExternal,  kDr2dTextPath,  kDr2dText,          kDr2dBitmap,
};
constexpr std::uint32_t kProperties[] = {iff_id("ATTR"), iff_id("BBOX"), iff_id("DRHD"),
                                         iff_id("PPRF")};

bool is_global_chunk(std::uint32_t id) {
  return id == iff_id("DASH") || id == iff_id("LAYR") || id == iff_id("CMAP") ||
         id == iff_id("CMYK") || id == iff_id("CNAM") || id == iff_id("FONS");
}

bool is_container_chunk(std::uint32_t id) {
  return id == kDr2dGroup || id == kDr2dExternal || id == kDr2dFillForm;
}

// Everything one read needs between events; nothing outlives the call.
struct ReadState {
  IffParser& parser;
  Dr2dDrawing& drawing;
  int depth = 0;              // open FORM DR2D levels
  bool form_pending = false;  // a nested FORM is open and its GRUP, XTRN or FILL not yet read
  // One open group, external object or fill pattern per nested FORM.
  std::vector<std::unique_ptr<Dr2dObject>> containers;
};

IffStatus add_object(ReadState& state, Dr2dObject&& object) {
  if (state.depth > 1) {
    Dr2dObjectData& data = state.containers.back()->data;
    if (auto* group = std::get_if<Dr2dGroup>(&data)) {
      group->children.push_back(std::move(object));
    } else if (auto* external = std::get_if<Dr2dExternal>(&data)) {
      external->child = std::make_unique<Dr2dObject>(std::move(object));
    } else if (auto* fill = std::get_if<Dr2dFillPattern>(&data)) {
      fill->pattern = std::make_unique<Dr2dObject>(std::move(object));
    }
    return IffStatus::Ok;
  }
  std::uint16_t layer = object.attributes.layer;
  if (layer >= state.drawing.layers.size()) return IffStatus::Malformed;
  state.drawing.layer_objects[layer].push_back(std::move(object));
  return IffStatus::Ok;
}

IffStatus enter_form(ReadState& state) {
  // A nested FORM DR2D must begin with its GRUP, XTRN or FILL chunk.
  if (state.form_pending) return IffStatus::Malformed;
  if (state.depth != 0) state.form_pending = true;
  if (++state.depth > kDr2dMaxNesting) return IffStatus::Malformed;
  return IffStatus::Ok;
}

IffStatus leave_form(ReadState& state) {
  if (state.form_pending) return IffStatus::Malformed;  // a nested FORM with no contents
  std::unique_ptr<Dr2dObject> popped;
  if (!state.containers.empty()) {
    popped = std::move(state.containers.back());
    state.containers.pop_back();
  }
  --state.depth;
  if (!popped) return IffStatus::Ok;
  if (auto* fill = std::get_if<Dr2dFillPattern>(&popped->data)) {
    dr2d_table_entry(state.drawing.fills, fill->fill_id) = std::move(fill->pattern);
    return IffStatus::Ok;
  }
  return add_object(state, std::move(*popped));
}

IffStatus read_chunk(ReadState& state, std::uint32_t id) {
  if (id == kIffForm) return enter_form(state);
  if (is_global_chunk(id)) {
    if (state.depth > 1) return IffStatus::Malformed;
    return dr2d_read_global(state.parser, id, state.drawing);
  }
  if (is_container_chunk(id)) {
    if (id == kDr2dFillForm && state.depth > 2) return IffStatus::Malformed;
    if (state.depth <= 1 || !state.form_pending) return IffStatus::Malformed;
    state.form_pending = false;
    auto container = std::make_unique<Dr2dObject>();
    IffStatus status = dr2d_read_object(state.parser, *container);
    if (status != IffStatus::Ok) return status;
    state.containers.push_back(std::move(container));
    return IffStatus::Ok;
  }
  if (state.form_pending) return IffStatus::Malformed;
  Dr2dObject object;
  IffStatus status = dr2d_read_object(state.parser, object);
  if (status != IffStatus::Ok) return status;
  return add_object(state, std::move(object));
}

IffStatus read_events(IffParser& parser, Dr2dDrawing& drawing) {
  for (std::uint32_t id : kStops) iff_stop_chunk(parser, kDr2dType, id);
  for (std::uint32_t id : kProperties) iff_prop_chunk(parser, kDr2dType, id);
  iff_stop_on_exit(parser, kDr2dType, kIffForm);

  ReadState state{parser, drawing, 0, false, {}};
  do {
    IffStatus event = iff_parse(parser);
    IffStatus status;
    if (event == IffStatus::Ok) {
      status = read_chunk(state, iff_current_chunk(parser)->id);
    } else if (event == IffStatus::EndOfContext) {
      status = leave_form(state);
    } else {
      return event;
    }
    if (status != IffStatus::Ok) return status;
  } while (state.depth > 0);
  // The outermost FORM is still the current context, so its DRHD is in scope.
  return dr2d_read_header(parser, drawing);
}

}  // namespace

IffStatus read_dr2d_drawing(IffParser& parser, std::unique_ptr<Dr2dDrawing>& drawing) {
  drawing.reset();
  try {
    auto result = std::make_unique<Dr2dDrawing>();
    IffStatus status = read_events(parser, *result);
    if (status == IffStatus::Ok) drawing = std::move(result);
    return status;
  } catch (const std::bad_alloc&) {
    return IffStatus::NoMemory;
  } catch (const std::length_error&) {
    return IffStatus::NoMemory;
  }
}

IffStatus read_dr2d_memory(const std::uint8_t* data, std::size_t size,
                           std::unique_ptr<Dr2dDrawing>& drawing) {
  IffParser parser = iff_open_memory(data, size);
  return read_dr2d_drawing(parser, drawing);
}

IffStatus read_dr2d_stream(std::FILE* file, std::unique_ptr<Dr2dDrawing>& drawing) {
  IffParser parser = iff_open_stream(file);
  return read_dr2d_drawing(parser, drawing);
}

std::string_view dr2d_read_status_name(int status) { return iff_status_name(IffStatus(status)); }
