#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "engine3d/ScalarMath.h"

namespace engine3d {
namespace {

TEST(Isqrt, SmallValuesAndTheDocumentedPair) {
  EXPECT_EQ(isqrt(0), 0u);
  EXPECT_EQ(isqrt(1), 1u);
  EXPECT_EQ(isqrt(2), 1u);
  EXPECT_EQ(isqrt(3), 1u);
  EXPECT_EQ(isqrt(4), 2u);
  EXPECT_EQ(isqrt(24), 4u);
  EXPECT_EQ(isqrt(25), 5u);
  EXPECT_EQ(isqrt(26), 5u);
}

TEST(Isqrt, AtAndAroundEveryPerfectSquare) {
  // Every root 1..65535: k*k gives k and k*k - 1 gives k - 1; k*k + 2k (just below the next
  // square) still gives k.
  for (std::uint64_t k = 1; k <= 65535; ++k) {
    const auto square = static_cast<std::uint32_t>(k * k);
    ASSERT_EQ(isqrt(square), k) << square;
    ASSERT_EQ(isqrt(square - 1), k - 1) << square - 1;
    const std::uint64_t belowNext = k * k + 2 * k;
    if (belowNext <= 0xFFFFFFFFu) {
      ASSERT_EQ(isqrt(static_cast<std::uint32_t>(belowNext)), k) << belowNext;
    }
  }
}

TEST(Isqrt, LargestInputs) {
  EXPECT_EQ(isqrt(0xFFFFFFFFu), 65535u);
  EXPECT_EQ(isqrt(4294836225u), 65535u);  // 65535^2
  EXPECT_EQ(isqrt(4294836224u), 65534u);
  EXPECT_EQ(isqrt(0x80000000u), 46340u);  // sqrt(2^31) = 46340.95
  EXPECT_EQ(isqrt(0xC0000000u), 56755u);  // sqrt(3 * 2^30) = 56755.84
}

TEST(Isqrt, MatchesDoubleFloorOnAScatteredSample) {
  std::uint32_t n = 12345;
  for (int i = 0; i < 100000; ++i) {
    n = n * 1664525u + 1013904223u;
    const auto expected = static_cast<std::uint32_t>(std::floor(std::sqrt(static_cast<double>(n))));
    ASSERT_EQ(isqrt(n), expected) << n;
  }
}

TEST(Log2Ceil, PowersOfTwoAndBetween) {
  EXPECT_EQ(log2Ceil(0), 0);
  EXPECT_EQ(log2Ceil(1), 0);
  EXPECT_EQ(log2Ceil(2), 1);
  EXPECT_EQ(log2Ceil(3), 2);
  EXPECT_EQ(log2Ceil(4), 2);
  EXPECT_EQ(log2Ceil(5), 3);
  EXPECT_EQ(log2Ceil(255), 8);
  EXPECT_EQ(log2Ceil(256), 8);
  EXPECT_EQ(log2Ceil(257), 9);
  EXPECT_EQ(log2Ceil(0x80000000u), 31);
  EXPECT_EQ(log2Ceil(0x80000001u), 32);
  EXPECT_EQ(log2Ceil(0xFFFFFFFFu), 32);
}

TEST(Log2Nearest, TiesGoToTheSmallerPower) {
  EXPECT_EQ(log2Nearest(1), 0);
  EXPECT_EQ(log2Nearest(2), 1);
  EXPECT_EQ(log2Nearest(3), 1);  // 1 from 2, 1 from 4: tie
  EXPECT_EQ(log2Nearest(4), 2);
  EXPECT_EQ(log2Nearest(5), 2);
  EXPECT_EQ(log2Nearest(6), 2);  // tie between 4 and 8
  EXPECT_EQ(log2Nearest(7), 3);
  EXPECT_EQ(log2Nearest(12), 3);  // tie between 8 and 16
  EXPECT_EQ(log2Nearest(13), 4);
  EXPECT_EQ(log2Nearest(100), 7);  // 28 from 128, 36 from 64
  EXPECT_EQ(log2Nearest(95), 6);   // 33 from 128, 31 from 64
  EXPECT_EQ(log2Nearest(256), 8);
  EXPECT_EQ(log2Nearest(0xC0000000u), 31);  // tie between 2^31 and 2^32
  EXPECT_EQ(log2Nearest(0xC0000001u), 32);
  EXPECT_EQ(log2Nearest(0xFFFFFFFFu), 32);
}

TEST(ScalarHelpers, ClampRangeAndWrap) {
  EXPECT_EQ(clamp(-5, 0, 10), 0);
  EXPECT_EQ(clamp(15, 0, 10), 10);
  EXPECT_EQ(clamp(7, 0, 10), 7);
  EXPECT_EQ(clamp(-0.5f, 0.0f, 1.0f), 0.0f);
  EXPECT_EQ(clamp(1.5f, 0.0f, 1.0f), 1.0f);

  // Half-open: the upper end is outside.
  EXPECT_TRUE(inRange(0, 0, 4));
  EXPECT_TRUE(inRange(3, 0, 4));
  EXPECT_FALSE(inRange(4, 0, 4));
  EXPECT_FALSE(inRange(-1, 0, 4));
  EXPECT_FALSE(inRange(1.0f, 0.0f, 1.0f));

  // Wrap folds one step past either end to the opposite end, not modulo.
  EXPECT_EQ(wrap(5, 0, 4), 0);
  EXPECT_EQ(wrap(9, 0, 4), 0);
  EXPECT_EQ(wrap(-1, 0, 4), 4);
  EXPECT_EQ(wrap(4, 0, 4), 4);
  EXPECT_EQ(wrap(0, 0, 4), 0);
}

TEST(ScalarHelpers, DegreeConversions) {
  EXPECT_NEAR(degreesToRadians(180.0f), 3.14159265, 1e-6);
  EXPECT_NEAR(degreesToRadians(-45.0f), -0.78539816, 1e-6);
  EXPECT_NEAR(radiansToDegrees(kPi), 180.0, 1e-4);
  EXPECT_NEAR(radiansToDegrees(1.0f), 57.2957795, 1e-4);
  // The offset is exactly 128 turns of the engine's pi.
  EXPECT_EQ(angleOffset, 256.0f * 3.1415927f);
}

}  // namespace
}  // namespace engine3d
