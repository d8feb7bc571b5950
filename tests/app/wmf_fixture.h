#pragma once
// A tiny placeable WMF writer for the converter's tests.

#include <cstdint>
#include <initializer_list>
#include <string>

class WmfFixture {
 public:
  // Placeable box (0, 0) to (width, height), with a matching window extent.
  WmfFixture(std::int16_t width, std::int16_t height) : width_(width), height_(height) {
    record(0x020B, {0, 0});           // SETWINDOWORG y, x
    record(0x020C, {height, width});  // SETWINDOWEXT y, x
  }

  void record(std::uint16_t function, std::initializer_list<std::int16_t> params) {
    put32(records_, static_cast<std::uint32_t>(3 + params.size()));
    put16(records_, function);
    for (std::int16_t p : params) put16(records_, static_cast<std::uint16_t>(p));
  }

  // A solid brush of 0x00BBGGRR, selected, and a null pen.
  void solid_brush(std::uint32_t colorref) {
    record(0x02FC, {0, static_cast<std::int16_t>(colorref & 0xFFFF),
                    static_cast<std::int16_t>(colorref >> 16), 0});
    record(0x012D, {0});              // SELECTOBJECT 0
    record(0x02FA, {5, 0, 0, 0, 0});  // CREATEPENINDIRECT PS_NULL
    record(0x012D, {1});
  }
  void rectangle(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom) {
    record(0x041B, {bottom, right, top, left});
  }

  std::string bytes() const {
    std::string body = records_;
    put32(body, 3);  // EOF record
    put16(body, 0);
    std::string out;
    put32(out, 0x9AC6CDD7u);
    const std::uint16_t words[] = {
        0, 0, 0, static_cast<std::uint16_t>(width_), static_cast<std::uint16_t>(height_), 1440};
    std::uint16_t checksum = 0xCDD7 ^ 0x9AC6;
    for (std::uint16_t w : words) {
      put16(out, w);
      checksum ^= w;
    }
    put32(out, 0);
    put16(out, checksum);
    // Standard header: type 1, 9 words, version 0x300, size in words,
    // two objects, largest record, no parameters.
    put16(out, 1);
    put16(out, 9);
    put16(out, 0x0300);
    put32(out, static_cast<std::uint32_t>(9 + body.size() / 2));
    put16(out, 2);
    put32(out, 8);
    put16(out, 0);
    return out + body;
  }

 private:
  static void put16(std::string& s, std::uint16_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
  }
  static void put32(std::string& s, std::uint32_t v) {
    put16(s, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(s, static_cast<std::uint16_t>(v >> 16));
  }

  std::int16_t width_, height_;
  std::string records_;
};
