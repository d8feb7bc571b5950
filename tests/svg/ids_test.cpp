// The id table: hash, prime bucket counts, growth and first-wins insertion.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "svg/svg_id_table.h"

namespace {

TEST(IdTable, HashAndBucketPrimes) {
  EXPECT_EQ(svg_id_hash(""), 0u);
  EXPECT_EQ(svg_id_hash("a"), 97u);
  EXPECT_EQ(svg_id_hash("ab"), 97u * 31 + 98);
  // Bytes count as unsigned, and the arithmetic wraps at 32 bits.
  EXPECT_EQ(svg_id_hash("\xff"), 255u);
  uint32_t h = 0;
  for (char c : std::string("averyveryverylongidentifier")) h = h * 31u + uint8_t(c);
  EXPECT_EQ(svg_id_hash("averyveryverylongidentifier"), h);

  struct Case {
    uint64_t requested, buckets;
  };
  for (Case c : {Case{0, 53}, Case{53, 53}, Case{54, 97}, Case{100, 193}, Case{194, 389},
                 Case{4294967291u, 4294967291u}, Case{5000000000u, 4294967291u}}) {
    EXPECT_EQ(svg_id_table_prime(c.requested), c.buckets) << c.requested;
  }
  SvgIdTable table;
  ASSERT_EQ(SvgIdTable::init(table, 100), SvgStatus::Ok);
  EXPECT_EQ(table.buckets.size(), 193u);
}

TEST(IdTable, GrowsAtPrimesAndFindsEveryKey) {
  SvgIdTable table;
  SvgIdTable::init(table, 100);
  std::vector<std::string> keys;
  for (int i = 0; i < 1000; ++i) keys.push_back("id" + std::to_string(i));
  std::vector<int> slots(keys.size());
  std::vector<size_t> bucket_counts;
  for (size_t i = 0; i < keys.size(); ++i) {
    auto* element = reinterpret_cast<SvgElement*>(&slots[i]);
    ASSERT_EQ(SvgIdTable::insert(table, keys[i], element), SvgStatus::Ok);
    if (bucket_counts.empty() || bucket_counts.back() != table.buckets.size()) {
      bucket_counts.push_back(table.buckets.size());
    }
    EXPECT_LE(table.entries.size(), table.buckets.size());
  }
  EXPECT_EQ(bucket_counts, (std::vector<size_t>{193, 389, 769, 1543}));
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(SvgIdTable::find(table, keys[i]), reinterpret_cast<SvgElement*>(&slots[i]));
  }
  EXPECT_EQ(SvgIdTable::find(table, "ID1"), nullptr);
  EXPECT_EQ(SvgIdTable::find(table, "id1000"), nullptr);
}

TEST(IdTable, FirstRegistrationKeepsTheKey) {
  SvgIdTable table;
  SvgIdTable::init(table, 100);
  int first = 0, second = 0;
  SvgIdTable::insert(table, "x", reinterpret_cast<SvgElement*>(&first));
  SvgIdTable::insert(table, "x", reinterpret_cast<SvgElement*>(&second));
  EXPECT_EQ(SvgIdTable::find(table, "x"), reinterpret_cast<SvgElement*>(&first));
  EXPECT_EQ(table.entries.size(), 1u);
  // The empty id is a key like any other.
  SvgIdTable::insert(table, "", reinterpret_cast<SvgElement*>(&second));
  EXPECT_EQ(SvgIdTable::find(table, ""), reinterpret_cast<SvgElement*>(&second));
  SvgIdTable::clear(table);
  EXPECT_EQ(SvgIdTable::find(table, "x"), nullptr);
}

// Keys built from "Aa" and "BB" all share one hash, so every one of them lands
// in the same bucket whatever the bucket count; a file can hold as many such
// ids as it likes. Registering and finding them must not walk that chain each
// time (a walk per key would not finish within the test timeout here).
TEST(IdTable, KeysSharingOneHashStayFast) {
  std::vector<std::string> keys{""};
  for (int round = 0; round < 18; ++round) {
    std::vector<std::string> longer;
    for (const std::string& key : keys) {
      longer.push_back(key + "Aa");
      longer.push_back(key + "BB");
    }
    keys.swap(longer);
  }
  ASSERT_EQ(svg_id_hash(keys.front()), svg_id_hash(keys.back()));
  SvgIdTable table;
  ASSERT_EQ(SvgIdTable::init(table, 100), SvgStatus::Ok);
  std::vector<int> slots(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    ASSERT_EQ(SvgIdTable::insert(table, keys[i], reinterpret_cast<SvgElement*>(&slots[i])),
              SvgStatus::Ok);
  }
  EXPECT_EQ(table.buckets.size(), svg_id_table_prime(keys.size()));
  int other = 0;
  SvgIdTable::insert(table, keys[7], reinterpret_cast<SvgElement*>(&other));  // first one wins
  for (size_t i = 0; i < keys.size(); ++i) {
    ASSERT_EQ(SvgIdTable::find(table, keys[i]), reinterpret_cast<SvgElement*>(&slots[i]));
  }
  EXPECT_EQ(SvgIdTable::find(table, keys[3] + "Aa"), nullptr);
  EXPECT_EQ(SvgIdTable::find(table, keys[3].substr(2)), nullptr);
  SvgIdTable::clear(table);
  EXPECT_EQ(SvgIdTable::find(table, keys[0]), nullptr);
}

}  // namespace
