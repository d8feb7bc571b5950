#pragma once
// A small metafile writer for the tests: a placeable header, the standard
// header, and records built from 16-bit words and raw bytes.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class WmfWriter {
 public:
  // A placeable file with the box (left, top)-(right, bottom).
  WmfWriter(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom,
            bool placeable = true) {
    if (placeable) {
      u32(0x9AC6CDD7);
      u16(0);
      s16(left);
      s16(top);
      s16(right);
      s16(bottom);
      u16(1440);
      u32(0);
      u16(0);
    }
    header_at_ = bytes_.size();
    u16(1);       // file type: memory
    u16(9);       // header size in words
    u16(0x0300);  // version
    u32(0);       // file size, patched by finish()
    u16(0);       // objects
    u32(0);       // largest record
    u16(0);       // members
  }

  // A record of `function` with the given 16-bit parameters.
  WmfWriter& rec(std::uint16_t function, std::initializer_list<int> words = {}) {
    std::vector<std::uint8_t> params;
    for (int w : words) push16(params, static_cast<std::uint16_t>(w));
    return raw(function, params);
  }

  // A record of `function` with raw parameter bytes (padded to whole words).
  WmfWriter& raw(std::uint16_t function, std::vector<std::uint8_t> params) {
    if (params.size() % 2) params.push_back(0);
    u32(static_cast<std::uint32_t>(3 + params.size() / 2));
    u16(function);
    bytes_.insert(bytes_.end(), params.begin(), params.end());
    return *this;
  }

  // A record whose size field says `words`, whatever follows.
  WmfWriter& bad_size(std::uint16_t function, std::uint32_t words) {
    u32(words);
    u16(function);
    return *this;
  }

  // Common records. pen(), brush() and font() create their object and select
  // it; the create_ forms only create it. Objects take the lowest free slot.
  WmfWriter& select(int slot) { return rec(0x012D, {slot}); }
  WmfWriter& remove(int slot) {
    if (slot < static_cast<int>(used_.size())) used_[slot] = false;
    return rec(0x01F0, {slot});
  }
  // The slot the next created object takes.
  int next_slot() const {
    int slot = 0;
    while (slot < static_cast<int>(used_.size()) && used_[slot]) ++slot;
    return slot;
  }
  WmfWriter& pen(std::uint16_t style, std::uint16_t width, std::uint8_t r, std::uint8_t g,
                 std::uint8_t b) {
    int slot = next_slot();
    return create_pen(style, width, r, g, b).select(slot);
  }
  WmfWriter& brush(std::uint16_t style, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                   std::uint16_t hatch = 0) {
    int slot = next_slot();
    return create_brush(style, r, g, b, hatch).select(slot);
  }
  WmfWriter& font(std::int16_t height, std::string_view face, std::uint8_t charset = 0,
                  std::int16_t weight = 400, std::uint8_t italic = 0, std::int16_t escapement = 0) {
    int slot = next_slot();
    return create_font(height, face, charset, weight, italic, escapement).select(slot);
  }
  WmfWriter& create_pen(std::uint16_t style, std::uint16_t width, std::uint8_t r, std::uint8_t g,
                        std::uint8_t b) {
    std::vector<std::uint8_t> p;
    push16(p, style);
    push16(p, width);
    push16(p, 0);
    p.insert(p.end(), {r, g, b, 0});
    take_slot();
    return raw(0x02FA, p);
  }
  WmfWriter& create_brush(std::uint16_t style, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                          std::uint16_t hatch = 0) {
    std::vector<std::uint8_t> p;
    push16(p, style);
    p.insert(p.end(), {r, g, b, 0});
    push16(p, hatch);
    take_slot();
    return raw(0x02FC, p);
  }
  // CREATEREGION from scans of (top, bottom, x pairs); `count` overrides a
  // scan's stored number of x values, `scan_count` the number of scans.
  struct RegionScan {
    int top, bottom;
    std::vector<int> xs;
    int count = -1;
  };
  WmfWriter& create_region(const std::vector<RegionScan>& scans, int scan_count = -1) {
    std::vector<std::uint8_t> p;
    push16(p, 0);  // next in chain
    push16(p, 6);  // object type: region
    push32(p, 0);  // object count
    push16(p, 0);  // region size, unread
    push16(p, static_cast<std::uint16_t>(scan_count < 0 ? scans.size() : scan_count));
    push16(p, 0);                              // largest scan, unread
    for (int i = 0; i < 4; ++i) push16(p, 0);  // bounds, unread
    for (const RegionScan& scan : scans) {
      int count = scan.count < 0 ? static_cast<int>(scan.xs.size()) : scan.count;
      push16(p, static_cast<std::uint16_t>(count));
      push16(p, static_cast<std::uint16_t>(scan.top));
      push16(p, static_cast<std::uint16_t>(scan.bottom));
      for (int x : scan.xs) push16(p, static_cast<std::uint16_t>(x));
      push16(p, static_cast<std::uint16_t>(count));
    }
    return create_raw(0x06FF, p);
  }
  // Any create record with raw parameters; it takes a slot like the others.
  WmfWriter& create_raw(std::uint16_t function, std::vector<std::uint8_t> params) {
    take_slot();
    return raw(function, std::move(params));
  }
  WmfWriter& color(std::uint16_t function, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return raw(function, {r, g, b, 0});
  }
  WmfWriter& create_font(std::int16_t height, std::string_view face, std::uint8_t charset = 0,
                         std::int16_t weight = 400, std::uint8_t italic = 0,
                         std::int16_t escapement = 0) {
    std::vector<std::uint8_t> p;
    push16(p, static_cast<std::uint16_t>(height));
    push16(p, 0);
    push16(p, static_cast<std::uint16_t>(escapement));
    push16(p, static_cast<std::uint16_t>(escapement));
    push16(p, static_cast<std::uint16_t>(weight));
    p.insert(p.end(), {italic, 0, 0, charset, 0, 0, 0, 0});
    p.insert(p.end(), face.begin(), face.end());
    p.push_back(0);
    take_slot();
    return raw(0x02FB, p);
  }
  WmfWriter& rectangle(int left, int top, int right, int bottom) {
    return rec(0x041B, {bottom, right, top, left});
  }
  WmfWriter& ellipse(int left, int top, int right, int bottom) {
    return rec(0x0418, {bottom, right, top, left});
  }
  WmfWriter& points(std::uint16_t function, std::initializer_list<std::pair<int, int>> pts,
                    int count = -1) {
    std::vector<std::uint8_t> p;
    push16(p, static_cast<std::uint16_t>(count < 0 ? static_cast<int>(pts.size()) : count));
    for (auto [x, y] : pts) {
      push16(p, static_cast<std::uint16_t>(x));
      push16(p, static_cast<std::uint16_t>(y));
    }
    return raw(function, p);
  }
  WmfWriter& polygon(std::initializer_list<std::pair<int, int>> pts) { return points(0x0324, pts); }
  WmfWriter& polyline(std::initializer_list<std::pair<int, int>> pts) {
    return points(0x0325, pts);
  }
  WmfWriter& polypolygon(const std::vector<std::vector<std::pair<int, int>>>& polys) {
    std::vector<std::uint8_t> p;
    push16(p, static_cast<std::uint16_t>(polys.size()));
    for (const auto& poly : polys) push16(p, static_cast<std::uint16_t>(poly.size()));
    for (const auto& poly : polys) {
      for (auto [x, y] : poly) {
        push16(p, static_cast<std::uint16_t>(x));
        push16(p, static_cast<std::uint16_t>(y));
      }
    }
    return raw(0x0538, p);
  }
  WmfWriter& textout(int x, int y, std::string_view text) {
    std::vector<std::uint8_t> p;
    push16(p, static_cast<std::uint16_t>(text.size()));
    p.insert(p.end(), text.begin(), text.end());
    if (p.size() % 2) p.push_back(0);
    push16(p, static_cast<std::uint16_t>(y));
    push16(p, static_cast<std::uint16_t>(x));
    return raw(0x0521, p);
  }
  // EXTTEXTOUT; `rect` (left, top, right, bottom) is written with the opaque
  // or clipped options, `dx` when not empty.
  WmfWriter& exttextout(int x, int y, std::uint16_t options, std::array<int, 4> rect,
                        std::string_view text, std::vector<int> dx = {}) {
    std::vector<std::uint8_t> p;
    for (int v : {y, x, static_cast<int>(text.size()), static_cast<int>(options)}) {
      push16(p, static_cast<std::uint16_t>(v));
    }
    if (options & 0x0006) {
      for (int v : rect) push16(p, static_cast<std::uint16_t>(v));
    }
    p.insert(p.end(), text.begin(), text.end());
    if (p.size() % 2) p.push_back(0);
    for (int d : dx) push16(p, static_cast<std::uint16_t>(d));
    return raw(0x0A32, p);
  }
  WmfWriter& window_ext(int x, int y) { return rec(0x020C, {y, x}); }
  WmfWriter& window_org(int x, int y) { return rec(0x020B, {y, x}); }
  WmfWriter& eof() { return rec(0x0000); }

  // The file; with `end` an end record is appended first.
  std::vector<std::uint8_t> finish(bool end = true) {
    if (end) eof();
    std::vector<std::uint8_t> out = bytes_;
    std::uint32_t words = static_cast<std::uint32_t>((out.size() - header_at_) / 2);
    for (int i = 0; i < 4; ++i)
      out[header_at_ + 6 + i] = static_cast<std::uint8_t>(words >> (8 * i));
    return out;
  }

  static void push16(std::vector<std::uint8_t>& v, std::uint16_t w) {
    v.push_back(static_cast<std::uint8_t>(w & 0xFF));
    v.push_back(static_cast<std::uint8_t>(w >> 8));
  }
  static void push32(std::vector<std::uint8_t>& v, std::uint32_t w) {
    push16(v, static_cast<std::uint16_t>(w & 0xFFFF));
    push16(v, static_cast<std::uint16_t>(w >> 16));
  }

 private:
  void u16(std::uint16_t w) { push16(bytes_, w); }
  void s16(std::int16_t w) { push16(bytes_, static_cast<std::uint16_t>(w)); }
  void u32(std::uint32_t w) { push32(bytes_, w); }

  std::vector<std::uint8_t> bytes_;
  std::size_t header_at_ = 0;
  std::vector<bool> used_;  // object slots, as the player fills them

  void take_slot() {
    int slot = next_slot();
    if (slot == static_cast<int>(used_.size())) used_.push_back(false);
    used_[slot] = true;
  }
};
