#include "wmf/wmf_state.h"

#include "wmf/wmf_records.h"

void wmf_window_update(WmfPlayer& player) {
  const WmfDcState& dc = player.dc;
  // An extent of zero maps nothing; the box's own size stands in for it.
  player.scale_x = dc.window_ext_x != 0 ? player.bbox_width / dc.window_ext_x : 1;
  player.scale_y = dc.window_ext_y != 0 ? player.bbox_height / dc.window_ext_y : 1;
}

namespace {

bool read_point(WmfBytes record, RendererData& data, std::int16_t& x, std::int16_t& y) {
  if (wmf_get_point(record, y, x) != 0) return true;
  data.wmf.partial = true;
  return false;
}

}  // namespace

void wmf_state_setwindoworg(WmfBytes record, RendererData& data) {
  std::int16_t x = 0, y = 0;
  if (!read_point(record, data, x, y)) return;
  data.wmf.dc.window_org_x = x;
  data.wmf.dc.window_org_y = y;
}

void wmf_state_setwindowext(WmfBytes record, RendererData& data) {
  std::int16_t x = 0, y = 0;
  if (!read_point(record, data, x, y)) return;
  data.wmf.dc.window_ext_x = x;
  data.wmf.dc.window_ext_y = y;
  wmf_window_update(data.wmf);
}

void wmf_state_offsetwindoworg(WmfBytes record, RendererData& data) {
  std::int16_t x = 0, y = 0;
  if (!read_point(record, data, x, y)) return;
  // Origins stay within 16 bits, as logical coordinates are.
  auto clamp16 = [](std::int32_t v) { return v < -32768 ? -32768 : v > 32767 ? 32767 : v; };
  data.wmf.dc.window_org_x = clamp16(data.wmf.dc.window_org_x + x);
  data.wmf.dc.window_org_y = clamp16(data.wmf.dc.window_org_y + y);
}

void wmf_state_scalewindowext(WmfBytes record, RendererData& data) {
  std::int16_t x_num = 0, x_denom = 0, y_num = 0, y_denom = 0;
  if (wmf_get_scalewindowext(record, x_num, x_denom, y_num, y_denom) == 0) {
    data.wmf.partial = true;
    return;
  }
  if (x_denom == 0 || y_denom == 0) return;
  WmfDcState& dc = data.wmf.dc;
  std::int64_t x = std::int64_t{dc.window_ext_x} * x_num / x_denom;
  std::int64_t y = std::int64_t{dc.window_ext_y} * y_num / y_denom;
  if (x == 0 || y == 0 || x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) return;
  dc.window_ext_x = static_cast<std::int32_t>(x);
  dc.window_ext_y = static_cast<std::int32_t>(y);
  wmf_window_update(data.wmf);
}

void wmf_state_savedc(WmfBytes, RendererData& data) {
  WmfPlayer& player = data.wmf;
  if (player.saved.size() >= kWmfMaxSavedStates) {
    player.partial = true;
    return;
  }
  player.saved.push_back(player.dc);
  cairo_save(data.target);
}

void wmf_state_restoredc(WmfBytes record, RendererData& data) {
  std::uint16_t stored = 0;
  if (wmf_get_mode(record, stored) == 0) {
    data.wmf.partial = true;
    return;
  }
  WmfPlayer& player = data.wmf;
  // Negative: that many states back; positive: the state saved as number n.
  std::int32_t which = static_cast<std::int16_t>(stored);
  std::size_t depth = player.saved.size();
  std::size_t keep = 0;  // states left on the stack afterwards
  if (which < 0 && static_cast<std::size_t>(-which) <= depth) {
    keep = depth - static_cast<std::size_t>(-which);
  } else if (which > 0 && static_cast<std::size_t>(which) <= depth) {
    keep = static_cast<std::size_t>(which) - 1;
  } else {
    return;  // no such state
  }
  while (player.saved.size() > keep) {
    player.dc = player.saved.back();
    player.saved.pop_back();
    cairo_restore(data.target);
  }
  wmf_window_update(player);
}

void wmf_state_unwind(RendererData& data) {
  while (!data.wmf.saved.empty()) {
    data.wmf.saved.pop_back();
    cairo_restore(data.target);
  }
}
