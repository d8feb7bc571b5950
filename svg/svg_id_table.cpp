#include "svg/svg_id_table.h"

#include <array>
#include <new>

namespace {

constexpr std::array<uint64_t, 28> kBucketPrimes = {
    53u,        97u,        193u,       389u,       769u,        1543u,       3079u,
    6151u,      12289u,     24593u,     49157u,     98317u,      196613u,     393241u,
    786433u,    1572869u,   3145739u,   6291469u,   12582917u,   25165843u,   50331653u,
    100663319u, 201326611u, 402653189u, 805306457u, 1610612741u, 3221225473u, 4294967291u};

// Chains up to this long are walked; longer ones are looked up by key.
constexpr uint32_t kShortChain = 8;

void index_long_chain(SvgIdTable& table, uint32_t index) {
  if (!table.long_chains_complete) return;
  try {
    table.long_chains.emplace(table.entries[index].key, index);
  } catch (const std::bad_alloc&) {
    // Lookups then walk the chains again: slower, still right.
    table.long_chains_complete = false;
  }
}

void link_entry(SvgIdTable& table, uint32_t index) {
  SvgIdTable::Entry& entry = table.entries[index];
  size_t bucket = svg_id_hash(entry.key) % table.buckets.size();
  uint32_t& head = table.buckets[bucket];
  entry.next = head;
  head = index + 1;
  uint32_t length = ++table.chain_lengths[bucket];
  if (length == kShortChain + 1) {  // the chain turns long: index all of it
    for (uint32_t i = head; i != 0; i = table.entries[i - 1].next) index_long_chain(table, i - 1);
  } else if (length > kShortChain + 1) {
    index_long_chain(table, index);
  }
}

// Rebuilds the chains for `bucket_count` buckets. Returns false when the
// bucket array cannot be allocated; the table is then unchanged.
bool rebuild(SvgIdTable& table, uint64_t bucket_count) {
  std::vector<uint32_t> buckets;
  std::vector<uint32_t> lengths;
  try {
    buckets.assign(bucket_count, 0);
    lengths.assign(bucket_count, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  table.buckets.swap(buckets);
  table.chain_lengths.swap(lengths);
  table.long_chains.clear();
  table.long_chains_complete = true;
  for (uint32_t i = 0; i < table.entries.size(); ++i) link_entry(table, i);
  return true;
}

}  // namespace

uint32_t svg_id_hash(std::string_view key) {
  uint32_t h = 0;
  for (char c : key) h = h * 31u + static_cast<unsigned char>(c);
  return h;
}

uint64_t svg_id_table_prime(uint64_t requested) {
  for (uint64_t prime : kBucketPrimes) {
    if (prime >= requested) return prime;
  }
  return kBucketPrimes.back();
}

SvgStatus SvgIdTable::init(SvgIdTable& table, uint64_t requested) {
  table.entries.clear();
  if (!rebuild(table, svg_id_table_prime(requested))) return SvgStatus::OutOfMemory;
  return SvgStatus::Ok;
}

SvgStatus SvgIdTable::insert(SvgIdTable& table, std::string_view key, SvgElement* element) {
  if (table.buckets.empty() && !rebuild(table, svg_id_table_prime(0))) {
    return SvgStatus::OutOfMemory;
  }
  if (find(table, key) != nullptr) return SvgStatus::Ok;
  if (table.entries.size() >= UINT32_MAX - 1) return SvgStatus::OutOfMemory;
  try {
    table.entries.push_back(Entry{key, element, 0});
  } catch (const std::bad_alloc&) {
    return SvgStatus::OutOfMemory;
  }
  uint32_t index = static_cast<uint32_t>(table.entries.size() - 1);
  if (table.entries.size() > table.buckets.size()) {
    // Keeps the load below one entry per bucket. When the larger bucket array
    // cannot be had, the old one still works, only with longer chains.
    if (rebuild(table, svg_id_table_prime(table.entries.size()))) return SvgStatus::Ok;
  }
  link_entry(table, index);
  return SvgStatus::Ok;
}

SvgElement* SvgIdTable::find(const SvgIdTable& table, std::string_view key) {
  if (table.buckets.empty()) return nullptr;
  size_t bucket = svg_id_hash(key) % table.buckets.size();
  if (table.chain_lengths[bucket] > kShortChain && table.long_chains_complete) {
    auto found = table.long_chains.find(key);
    return found == table.long_chains.end() ? nullptr : table.entries[found->second].element;
  }
  uint32_t index = table.buckets[bucket];
  while (index != 0) {
    const Entry& entry = table.entries[index - 1];
    if (entry.key == key) return entry.element;
    index = entry.next;
  }
  return nullptr;
}

void SvgIdTable::clear(SvgIdTable& table) {
  table.entries.clear();
  for (uint32_t& head : table.buckets) head = 0;
  for (uint32_t& length : table.chain_lengths) length = 0;
  table.long_chains.clear();
  table.long_chains_complete = true;
}
