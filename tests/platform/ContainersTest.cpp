#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/HashMap.h"
#include "platform/PtrVector.h"

namespace platform {
namespace {

TEST(PtrVector, GrowsToTwoSixFourteenThirtySixtyTwo) {
  PtrVector<int*> v;
  int x = 0;
  std::vector<int> growths;  // item number * 1000 + new capacity
  for (int i = 1; i <= 31; ++i) {
    int before = v.capacity();
    EXPECT_EQ(v.append(&x), i);
    if (v.capacity() != before) growths.push_back(i * 1000 + v.capacity());
  }
  EXPECT_EQ(growths, (std::vector<int>{1002, 3006, 7014, 15030, 31062}));
}

TEST(PtrVector, InitialCapacityThirtyTwoGrowsToSixtySix) {
  PtrVector<int> v(32);
  for (int i = 0; i < 32; ++i) v.append(i);
  EXPECT_EQ(v.capacity(), 32);
  v.append(32);
  EXPECT_EQ(v.capacity(), 66);
}

TEST(PtrVector, RemoveShiftsWhenFullAndShrinksWhenSparse) {
  PtrVector<int> v;
  for (int i = 0; i < 14; ++i) v.append(i);  // capacity 14
  v.removeAt(0);                             // 14 > 14/2-1: shift down
  EXPECT_EQ(v.capacity(), 14);
  EXPECT_EQ(v.count(), 13);
  EXPECT_EQ(v[0], 1);
  EXPECT_EQ(v[12], 13);
  while (v.count() > 6) v.removeAt(v.count() - 1);  // 7 > 6 shifts; 6 is not > 6
  EXPECT_EQ(v.capacity(), 14);
  v.removeAt(2);  // 6 <= 14/2-1: storage shrinks to the old count
  EXPECT_EQ(v.capacity(), 6);
  EXPECT_EQ(v.count(), 5);
  EXPECT_EQ((std::vector<int>(v.begin(), v.end())), (std::vector<int>{1, 2, 4, 5, 6}));
}

TEST(PtrVector, OutOfRangeRemovalIsIgnoredAndRemoveTakesFirstMatch) {
  PtrVector<int> v;
  for (int i : {5, 7, 5}) v.append(i);
  v.removeAt(-1);
  v.removeAt(3);
  EXPECT_EQ(v.count(), 3);
  v.remove(5);
  EXPECT_EQ((std::vector<int>(v.begin(), v.end())), (std::vector<int>{7, 5}));
  EXPECT_EQ(v.indexOf(5), 1);
  EXPECT_FALSE(v.contains(9));
}

TEST(PtrVector, ClearReturnsToInitialCapacityAndCopyKeepsIt) {
  PtrVector<int> v(32);
  for (int i = 0; i < 40; ++i) v.append(i);
  PtrVector<int> copy = v;
  EXPECT_EQ(copy.capacity(), 66);
  EXPECT_EQ(copy[39], 39);
  v.clear();
  EXPECT_EQ(v.count(), 0);
  EXPECT_EQ(v.capacity(), 32);
  EXPECT_EQ(copy.count(), 40);
}

TEST(TextHash, SamplesThirtyTwoCharactersIncludingTheTerminator) {
  // Hand computation for "ab": indices (k*2)/32 are 0 for k<16, 1 for 16..31, 2 (the zero) for 32.
  uint32_t h = 0;
  for (int k = 1; k <= 32; ++k) h = h * 31 + (k < 16 ? 'a' : k < 32 ? 'b' : 0);
  EXPECT_EQ(textHash("ab"), static_cast<int32_t>(h));
  EXPECT_EQ(textHash(""), 0);
}

TEST(HashMap, FortyNineTextKeysMake131BucketsInInsertionOrder) {
  HashMap<std::string, int> m;
  EXPECT_EQ(m.bucketCount(), 65);
  std::vector<std::string> names;
  for (int i = 0; i < 49; ++i) names.push_back("key" + std::to_string((i * 37) % 49));
  for (int i = 0; i < 48; ++i) m.put(names[i], i);
  EXPECT_EQ(m.bucketCount(), 65);
  m.put(names[48], 48);
  EXPECT_EQ(m.bucketCount(), 131);
  ASSERT_EQ(m.keys().count(), 49);
  for (int i = 0; i < 49; ++i) {
    EXPECT_EQ(m.keys()[i], names[i]);
    EXPECT_EQ(*m.get(names[i]), i);
  }
}

TEST(HashMap, PutReplacesInPlaceAndReturnsTheOldValue) {
  HashMap<std::string, std::string> m;
  EXPECT_FALSE(m.put("a", "1").has_value());
  m.put("b", "2");
  EXPECT_EQ(m.put("a", "3"), std::optional<std::string>("1"));
  EXPECT_EQ(m.count(), 2);
  EXPECT_EQ(m.keys()[0], "a");
  EXPECT_EQ(*m.get("a"), "3");
  EXPECT_EQ(m.get("c"), nullptr);
}

TEST(HashMap, KeysDifferingOnlyAtAnUnsampledIndexShareABucketButStayApart) {
  // With n = 100 the samples are at (k*100)/32: 3, 6, 9, 12, 15, 18, 21, 25 ...; index 1 is never
  // sampled.
  std::string a(100, 'x'), b(100, 'x');
  b[1] = 'y';
  ASSERT_EQ(textHash(a), textHash(b));
  HashMap<std::string, int> m;
  m.put(a, 1);
  m.put(b, 2);
  EXPECT_EQ(m.count(), 2);
  EXPECT_EQ(*m.get(a), 1);
  EXPECT_EQ(*m.get(b), 2);
  EXPECT_EQ(m.remove(a), std::optional<int>(1));
  EXPECT_EQ(*m.get(b), 2);
}

TEST(HashMap, RemovalClosesUpTheOrderAndShrinksASparseTable) {
  HashMap<std::string, int> m;
  for (int i = 0; i < 200; ++i) m.put(std::to_string(i), i);
  // 65 buckets grow at 48 entries to 131, at 98 to 263, at 197 to 527.
  EXPECT_EQ(m.bucketCount(), 527);
  m.remove("0");
  m.remove("1");
  EXPECT_EQ(m.bucketCount(), 527);  // 198 entries: not below 263 * 0.75
  m.remove("2");                    // 197 < 197.25
  EXPECT_EQ(m.bucketCount(), 263);
  for (int i = 3; i < 102; ++i) m.remove(std::to_string(i));  // 98 left
  EXPECT_EQ(m.bucketCount(), 131);
  for (int i = 102; i < 177; ++i) m.remove(std::to_string(i));  // 23 left: no shrink below 25
  EXPECT_EQ(m.bucketCount(), 65);
  ASSERT_EQ(m.count(), 23);
  EXPECT_EQ(m.keys()[0], "177");
  EXPECT_EQ(m.keys()[22], "199");
  EXPECT_EQ(*m.get("190"), 190);
}

TEST(HashMap, PointerKeysCompareByIdentityAndNullIsIgnored) {
  int a = 0, b = 0;
  HashMap<int*, int> m;
  m.put(&a, 1);
  m.put(&b, 2);
  EXPECT_FALSE(m.put(nullptr, 3).has_value());
  EXPECT_EQ(m.count(), 2);
  EXPECT_EQ(m.get(nullptr), nullptr);
  EXPECT_EQ(*m.get(&b), 2);
  EXPECT_EQ(m.keys()[0], &a);
}

TEST(HashMap, ForEachWalksBucketsFromLastToFirstAndCanSkipAChain) {
  HashMap<int*, int> m;
  // Pointer keys hash to their address: one key in bucket 12, two in bucket 40.
  auto key = [](uintptr_t address) { return reinterpret_cast<int*>(address); };
  m.put(key(12), 30);           // bucket 12
  m.put(key(65 * 8 + 40), 71);  // 560 % 65 = 40
  m.put(key(40), 72);           // bucket 40, pushed at the head of its chain
  std::vector<int> seen;
  m.forEach([&](int* const&, int& value) {
    seen.push_back(value);
    return true;
  });
  EXPECT_EQ(seen, (std::vector<int>{72, 71, 30}));
  seen.clear();
  m.forEach([&](int* const&, int& value) {
    seen.push_back(value);
    return false;  // skip the rest of each chain
  });
  EXPECT_EQ(seen, (std::vector<int>{72, 30}));
}

TEST(HashMap, ClearResetsToSixtyFiveBuckets) {
  HashMap<std::string, int> m;
  for (int i = 0; i < 100; ++i) m.put(std::to_string(i), i);
  m.clear();
  EXPECT_EQ(m.count(), 0);
  EXPECT_EQ(m.bucketCount(), 65);
  EXPECT_EQ(m.keys().count(), 0);
  m.put("again", 1);
  EXPECT_EQ(m.keys()[0], "again");
}

}  // namespace
}  // namespace platform
