#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "engine3d/FixedPoint.h"

namespace engine3d {
namespace {

TEST(FixedPoint, Constants) {
  EXPECT_EQ(fixedShift, 16);
  EXPECT_EQ(fixedOne, 65536);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(fixedToFloat), 0x37800000u);
}

TEST(FixedPoint, FloatToFixedTruncatesTowardZero) {
  EXPECT_EQ(floatToFixed(1.0f), 65536);
  EXPECT_EQ(floatToFixed(1.5f), 98304);
  EXPECT_EQ(floatToFixed(-1.5f), -98304);
  EXPECT_EQ(floatToFixed(-2.75f), -180224);
  // Fractions of a 16.16 step: toward zero, not down.
  EXPECT_EQ(floatToFixed(-0.00001f), 0);       // -0.655 steps
  EXPECT_EQ(floatToFixed(0.00001f), 0);        // 0.655 steps
  EXPECT_EQ(floatToFixed(-3.0f / 65536), -3);  // exact steps stay exact
  EXPECT_EQ(floatToFixed(-3.9f / 65536), -3);
  EXPECT_EQ(floatToFixed(32767.0f), 32767 * 65536);
  // Out of range saturates rather than being undefined.
  EXPECT_EQ(floatToFixed(40000.0f), INT32_MAX);
  EXPECT_EQ(floatToFixed(-40000.0f), INT32_MIN);
  EXPECT_EQ(floatToFixed(-32768.0f), INT32_MIN);  // exactly -2^31 fits
}

TEST(FixedPoint, RoundedConversionAddsOneHalfThenTruncates) {
  EXPECT_EQ(floatToFixedRounded(1.5f / 65536), 2);
  EXPECT_EQ(floatToFixedRounded(1.25f / 65536), 1);
  EXPECT_EQ(floatToFixedRounded(0.5f), 32768);
  // Negative: -1.75 + 0.5 = -1.25 truncates to -1; -0.25 + 0.5 = 0.25 gives 0.
  EXPECT_EQ(floatToFixedRounded(-1.75f / 65536), -1);
  EXPECT_EQ(floatToFixedRounded(-0.25f / 65536), 0);
  EXPECT_EQ(floatToFixedRounded(-2.5f / 65536), -2);
}

TEST(FixedPoint, IntegerAndBackToFloat) {
  EXPECT_EQ(intToFixed(3), 196608);
  EXPECT_EQ(intToFixed(-1), -65536);
  EXPECT_EQ(intToFixed(-32768), INT32_MIN);
  EXPECT_EQ(fixedToFloatValue(-98304), -1.5f);
  EXPECT_EQ(fixedToFloatValue(1), 1.0f / 65536);
  EXPECT_EQ(fixedToFloatValue(floatToFixed(-123.25f)), -123.25f);
  // The integer part rounds down (arithmetic shift): -0.5 is in cell -1.
  EXPECT_EQ(fixedToInt(-32768), -1);
  EXPECT_EQ(fixedToInt(98304), 1);
}

TEST(FixedPoint, PreShiftedProducts) {
  const std::int32_t a = floatToFixed(1.5f);
  const std::int32_t b = floatToFixed(2.0f);
  EXPECT_EQ(fixedMulShifted(a, b, 8, 8), 196608);  // 384 * 512
  EXPECT_EQ(fixedMulShifted(a, b, 5, 5), 196608);  // (3072 * 4096) >> 6
  EXPECT_EQ(fixedMulShifted(-a, b, 8, 8), -196608);
  // The pre-shift drops the low bits: 1 + 255/65536 times 1 is exactly 1 with >> 8.
  EXPECT_EQ(fixedMulShifted(65536 + 255, 65536, 8, 8), 65536);
  EXPECT_EQ(fixedMulShifted(65536 + 255, 65536, 0, 16), 65536 + 255);
  // Negative operands shift toward minus infinity before the product: -1 >> 8 is -1.
  EXPECT_EQ(fixedMulShifted(-1, 65536, 8, 8), -256);
  // Values near 100.0 need pre-shifts: (6553600 >> 8)^2 = 655360000 fits in 32 bits.
  EXPECT_EQ(fixedMulShifted(6553600, 6553600, 8, 8), 655360000);
}

}  // namespace
}  // namespace engine3d
