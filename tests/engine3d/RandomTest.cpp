#include <gtest/gtest.h>

#include <set>

#include "engine3d/Random.h"

namespace engine3d {
namespace {

TEST(Random, ReproducesTheRunTimeSequence) {
  // The first draws of the handheld C run time's rand() after srand(1).
  Random r(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(r.next(), value);
  r.seed(1);
  EXPECT_EQ(r.next(), 41);
}

TEST(Random, GeneratorsKeepTheirOwnSequences) {
  // Drawing from one generator leaves another's sequence where it was.
  Random a(1);
  Random b(1);
  EXPECT_EQ(a.next(), 41);
  EXPECT_EQ(a.next(), 18467);
  EXPECT_EQ(b.randomInt(0, 32767), 41);
  EXPECT_EQ(a.next(), 6334);
}

TEST(Random, DrawsStayInFifteenBits) {
  Random r(0xDEADBEEF);
  for (int i = 0; i < 100000; ++i) {
    const int v = r.next();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, kRandomMax);
  }
}

TEST(RandomInt, EndsAreReachable) {
  EXPECT_EQ(randomIntFromDraw(0, 0, 1), 0);
  EXPECT_EQ(randomIntFromDraw(32767, 0, 1), 1);
  EXPECT_EQ(randomIntFromDraw(0, -3, 3), -3);
  EXPECT_EQ(randomIntFromDraw(32767, -3, 3), 3);
  EXPECT_EQ(randomIntFromDraw(32767, 10, 20), 20);
  // The half-way draw: 16383 / 32767 < 0.5 rounds down, 16384 / 32767 > 0.5 rounds up.
  EXPECT_EQ(randomIntFromDraw(16383, 0, 1), 0);
  EXPECT_EQ(randomIntFromDraw(16384, 0, 1), 1);
}

TEST(RandomInt, NegativeValuesRoundAwayFromZero) {
  // Draw 2184 in [-3, 3] is -2.60009: away from zero gives -3 (truncation would give -2).
  EXPECT_EQ(randomIntFromDraw(2184, -3, 3), -3);
  // Draw 2730 is -2.50011 (-3); draw 2731 is -2.49992 (-2).
  EXPECT_EQ(randomIntFromDraw(2730, -3, 3), -3);
  EXPECT_EQ(randomIntFromDraw(2731, -3, 3), -2);
  // Around -1.5: draw 8191 is -1.50017 (-2), draw 8192 is -1.49995 (-1).
  EXPECT_EQ(randomIntFromDraw(8191, -3, 3), -2);
  EXPECT_EQ(randomIntFromDraw(8192, -3, 3), -1);
  // Positive side mirrors it: draw 30583 is 2.60009 -> 3.
  EXPECT_EQ(randomIntFromDraw(30583, -3, 3), 3);
}

TEST(RandomInt, SeededRunCoversTheWholeRange) {
  Random r(7);
  std::set<int> seen;
  for (int i = 0; i < 10000; ++i) {
    const int v = r.randomInt(-3, 3);
    ASSERT_GE(v, -3);
    ASSERT_LE(v, 3);
    seen.insert(v);
  }
  EXPECT_EQ(seen.size(), 7u);
  Random coin(12345);
  std::set<int> bits;
  for (int i = 0; i < 1000; ++i) bits.insert(coin.randomInt(0, 1));
  EXPECT_EQ(bits, (std::set<int>{0, 1}));
}

TEST(RandomFloat, RangeIncludesBothEnds) {
  EXPECT_EQ(randomFloatFromDraw(0, -1.0f, 1.5f), -1.0f);
  EXPECT_EQ(randomFloatFromDraw(32767, -1.0f, 1.5f), 1.5f);
  EXPECT_NEAR(randomFloatFromDraw(16384, 0.0f, 2.0f), 1.0, 1e-4);
  Random r(99);
  float lo = 1e9f;
  float hi = -1e9f;
  for (int i = 0; i < 20000; ++i) {
    const float v = r.randomFloat(-0.3f, 0.3f);
    ASSERT_GE(v, -0.3f);
    ASSERT_LE(v, 0.3f);
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  EXPECT_LT(lo, -0.29f);
  EXPECT_GT(hi, 0.29f);
}

}  // namespace
}  // namespace engine3d
