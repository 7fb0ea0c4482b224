#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine3d/MathTables.h"

namespace engine3d {
namespace {

constexpr double kStep = 2.0 * std::numbers::pi / 4096.0;

TEST(TrigTables, ExactEntries) {
  const TrigTable& s = sinTable();
  const TrigTable& c = cosTable();
  EXPECT_EQ(s[0], 0.0f);
  EXPECT_EQ(c[0], 1.0f);
  EXPECT_EQ(s[1024], 1.0f);
  EXPECT_EQ(s[3072], -1.0f);
  EXPECT_EQ(c[2048], -1.0f);
  // sqrt(1/2) rounded to float.
  EXPECT_EQ(s[512], 0.70710677f);
  EXPECT_EQ(c[512], 0.70710677f);
  // Entry 341 is 29.9707 degrees (1/12 turn is entry 341.33): sin = 0.5 - 0.866 * 0.000511.
  EXPECT_NEAR(s[341], 0.49956, 2e-5);
  // Values that are zero mathematically keep the tiny double residue of pi's rounding,
  // stored as float, rather than an exact zero: the tables come from double sin/cos.
  EXPECT_NE(s[2048], 0.0f);
  EXPECT_NEAR(s[2048], 1.2246e-16, 1e-19);
  EXPECT_NEAR(c[1024], 6.1232e-17, 1e-20);
}

TEST(TrigTables, EveryEntryIsTheDoubleValueRoundedToFloat) {
  const TrigTable& s = sinTable();
  const TrigTable& c = cosTable();
  for (int i = 0; i < kTableSize; ++i) {
    // Filled in double and rounded once, each entry is within half a float ulp of the true
    // value; a table filled in float arithmetic would miss this by several ulps.
    const double trueSin = std::sin(i * kStep);
    const double trueCos = std::cos(i * kStep);
    ASSERT_LE(std::fabs(s[i] - trueSin), std::fabs(trueSin) * 6e-8 + 1e-30) << i;
    ASSERT_LE(std::fabs(c[i] - trueCos), std::fabs(trueCos) * 6e-8 + 1e-30) << i;
  }
}

TEST(AngleIndex, TruncatedAndRoundedForms) {
  // (a + 804.24774) * 651.8986 in float: 0 lands exactly on 524288 (index 0).
  EXPECT_EQ(angleIndex(0.0f), 0u);
  EXPECT_EQ(roundedAngleIndex(0.0f), 0u);
  // 1 radian = 651.9 entries: truncated 651, rounded 652.
  EXPECT_EQ(angleIndex(1.0f), 651u);
  EXPECT_EQ(roundedAngleIndex(1.0f), 652u);
  // A small negative angle: truncation falls to the last entry, rounding stays at 0.
  EXPECT_EQ(angleIndex(-0.0007f), 4095u);
  EXPECT_EQ(roundedAngleIndex(-0.0007f), 0u);
  // A small positive angle past half a step.
  EXPECT_EQ(angleIndex(0.001f), 0u);
  EXPECT_EQ(roundedAngleIndex(0.001f), 1u);
  EXPECT_EQ(angleIndex(-1.0f), 3444u);
  EXPECT_EQ(angleIndex(kPi * 0.5f), 1024u);
  EXPECT_EQ(angleIndex(kPi), 2048u);
  EXPECT_EQ(angleIndex(-kPi), 2048u);
  EXPECT_EQ(angleIndex(2.0f * kPi), 0u);
}

TEST(AngleIndex, LargeNegativeAnglesDownToTheOffset) {
  // -804.2 rad is the documented lower limit and still indexes correctly: it is
  // 31.1 entries above -128 turns.
  EXPECT_EQ(angleIndex(-804.2f), 31u);
  EXPECT_EQ(angleIndex(-angleOffset), 0u);
  // Beyond the limit the index is unspecified but must not be undefined behaviour.
  EXPECT_LT(angleIndex(-2000.0f), 4096u);
  EXPECT_LT(roundedAngleIndex(1e30f), 4096u);
}

TEST(TableLookups, UseTheirIndexForm) {
  EXPECT_EQ(sinLookup(1.0f), static_cast<float>(std::sin(652 * kStep)));
  EXPECT_EQ(cosLookup(1.0f), static_cast<float>(std::cos(652 * kStep)));
  EXPECT_EQ(sinTruncated(1.0f), static_cast<float>(std::sin(651 * kStep)));
  EXPECT_EQ(cosTruncated(1.0f), static_cast<float>(std::cos(651 * kStep)));
  // Both within one table step (0.0015 rad) of the true values.
  EXPECT_NEAR(sinLookup(1.0f), std::sin(1.0), 1e-3);
  EXPECT_NEAR(sinTruncated(1.0f), std::sin(1.0), 1.6e-3);
  EXPECT_EQ(sinLookup(-0.0007f), 0.0f);
  EXPECT_LT(sinTruncated(-0.0007f), 0.0f);
}

TEST(InitMath, SecondCallKeepsTables) {
  initMath();
  const float* first = sinTable().data();
  initMath();
  EXPECT_EQ(sinTable().data(), first);
  EXPECT_EQ(sinTable()[1024], 1.0f);
}

}  // namespace
}  // namespace engine3d
