#include <gtest/gtest.h>

#include <string>

#include "platform/HashMap.h"
#include "platform/PtrVector.h"

namespace platform {
namespace {

TEST(PtrVector, GrowsByAddOneTimesTwo) {
  PtrVector<int*> v;
  int x = 0;
  std::vector<int> seen;
  for (int i = 1; i <= 31; ++i) {
    int before = v.capacity();
    v.append(&x);
    if (v.capacity() != before) seen.push_back(i * 1000 + v.capacity());
  }
  EXPECT_EQ(seen, (std::vector<int>{1002, 3006, 7014, 15030, 31062}));
}

TEST(HashMap, FortyNineKeysRehashTo131AndKeepOrder) {
  HashMap<std::string, int> m;
  for (int i = 0; i < 48; ++i) m.put("k" + std::to_string(48 - i), i);
  EXPECT_EQ(m.bucketCount(), 65);
  m.put("last", 48);
  EXPECT_EQ(m.bucketCount(), 131);
  EXPECT_EQ(m.keys()[0], "k48");
  EXPECT_EQ(m.keys()[48], "last");
}

}  // namespace
}  // namespace platform
