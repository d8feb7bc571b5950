#pragma once
// Maps id texts to the elements registered under them. The table does not own
// the elements; its keys view the elements' own id texts, so an element must
// stay alive (and keep its id) while it is registered.

#include <cstdint>
#include <map>
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
  // Keys that share their whole hash share a bucket at every size, and a
  // hostile file can write any number of them. The entries of buckets whose
  // chains grow beyond a few are therefore also indexed by key, so that
  // registering and finding stay logarithmic.
  std::vector<uint32_t> chain_lengths;               // per bucket
  std::map<std::string_view, uint32_t> long_chains;  // key -> index, for long buckets
  bool long_chains_complete = true;                  // false after an allocation failure

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
