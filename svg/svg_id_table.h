#pragma once
// Maps id texts to the elements registered under them. The table does not own
// the elements; its keys view the elements' own id texts, so an element must
// stay alive (and keep its id) while it is registered.

#include <cstdint>
#include <string_view>
#include <vector>

#include "svg/svg_status.h"

struct SvgElement;

struct SvgIdTable {
  struct Entry {
    std::string_view key;
    SvgElement* element = nullptr;
    uint32_t next = 0;  // index + 1 of the next entry in the same bucket, 0 at the end
  };
  std::vector<uint32_t> buckets;  // index + 1 of the first entry of each bucket, 0 when empty
  std::vector<Entry> entries;

  // Sizes the table for `requested` entries (the first listed prime not smaller).
  // Drops every entry.
  static SvgStatus init(SvgIdTable& table, uint64_t requested);
  // Registers `element` under `key`; a key already present keeps its first
  // element. `key` must outlive the registration.
  static SvgStatus insert(SvgIdTable& table, std::string_view key, SvgElement* element);
  // The element registered under exactly `key`, or nullptr.
  static SvgElement* find(const SvgIdTable& table, std::string_view key);
  // Drops every entry, keeping the bucket count.
  static void clear(SvgIdTable& table);
};

// h := h * 31 + byte over the key's bytes, in unsigned 32-bit arithmetic.
uint32_t svg_id_hash(std::string_view key);
// The first bucket count of the prime list that is not smaller than `requested`
// (the largest listed prime for anything beyond it).
uint64_t svg_id_table_prime(uint64_t requested);
