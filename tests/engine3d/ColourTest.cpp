#include <gtest/gtest.h>

#include "engine3d/Colour.h"

namespace engine3d {
namespace {

TEST(Colour, PackAndUnpack) {
  EXPECT_EQ(rgb(0x12, 0x34, 0x56), 0x123456u);
  EXPECT_EQ(red(0xAB123456u), 0x12u);  // bits above 23 are ignored
  EXPECT_EQ(green(0x123456u), 0x34u);
  EXPECT_EQ(blue(0x123456u), 0x56u);
}

TEST(Colour, GreyLumaInvert) {
  EXPECT_EQ(grey(0x010203u), 2u);
  EXPECT_EQ(grey(0xFFFFFEu), 254u);  // 764 / 3 truncates
  // (b + 3r + 6g) / 10 in every channel.
  EXPECT_EQ(luma(0xFF0000u), 0x4C4C4Cu);  // 765 / 10 = 76
  EXPECT_EQ(luma(0x00FF00u), 0x999999u);  // 153
  EXPECT_EQ(luma(0x0000FFu), 0x191919u);  // 25
  EXPECT_EQ(luma(0xFFFFFFu), 0xFFFFFFu);
  EXPECT_EQ(luma(0x0A0B0Cu), 0x0A0A0Au);  // (12 + 30 + 66) / 10 = 10
  EXPECT_EQ(invert(0x12345678u), 0xCBA987u);
  EXPECT_EQ(invert(0u), 0xFFFFFFu);
}

TEST(AddSaturate, BoundaryCases) {
  EXPECT_EQ(addSaturate(0x000000u, 0x646464u), 0x646464u);
  // All three channels overflow: each reads 0xFF and bit 24 is set as well.
  const Colour all = addSaturate(0xF0F0F0u, 0x202020u);
  EXPECT_EQ(all & 0xFFFFFFu, 0xFFFFFFu);
  EXPECT_EQ(all, 0x1FFFFFFu);
  // Exactly 255 does not saturate; 256 does.
  EXPECT_EQ(addSaturate(0x0000F0u, 0x00000Fu), 0x0000FFu);
  EXPECT_EQ(addSaturate(0xFE0000u, 0x020000u) & 0xFFFFFFu, 0xFF0000u);
  // The lowest bits of green and red are dropped from both operands...
  EXPECT_EQ(addSaturate(0x010101u, 0x010101u), 0x000002u);
  EXPECT_EQ(addSaturate(0x7F7F7Fu, 0x808080u), 0xFEFEFFu);
  // ...because that bit holds the carry of the channel below: a saturated blue shows up as 1
  // in green, a saturated green as 1 in red.
  EXPECT_EQ(addSaturate(0x0000FFu, 0x000001u), 0x0001FFu);
  EXPECT_EQ(addSaturate(0x00FE00u, 0x000200u), 0x01FF00u);
}

TEST(AddSaturate, LiftsLumaForTexturedMaterials) {
  // Grey of the colour's brightness plus 100 per channel.
  EXPECT_EQ(addSaturate(luma(0x000000u), 0x646464u), 0x646464u);
  EXPECT_EQ(addSaturate(luma(0xFFFFFFu), 0x646464u) & 0xFFFFFFu, 0xFFFFFFu);
  // luma 0x4C: 0x4C + 0x64 = 0xB0 with the green/red low bit (0) dropped.
  EXPECT_EQ(addSaturate(luma(0xFF0000u), 0x646464u), 0xB0B0B0u);
}

TEST(SubSaturate, ClampsAtZero) {
  EXPECT_EQ(subSaturate(0xFFFFFFu, 0x000000u), 0xFFFFFFu);
  EXPECT_EQ(subSaturate(0x102030u, 0x203040u), 0x000000u);
  EXPECT_EQ(subSaturate(0x000000u, 0xFFFFFFu), 0x000000u);
  // Blue is exact; green and red keep the addition's one-bit loss.
  EXPECT_EQ(blue(subSaturate(0x808080u, 0x202020u)), 0x60u);
  EXPECT_NEAR(static_cast<int>(green(subSaturate(0x808080u, 0x202020u))), 0x60, 1);
  EXPECT_NEAR(static_cast<int>(red(subSaturate(0x808080u, 0x202020u))), 0x60, 1);
  // Mixed: red clamps, green and blue subtract.
  const Colour mixed = subSaturate(0x10F0F0u, 0x201010u);
  EXPECT_EQ(red(mixed), 0u);
  EXPECT_NEAR(static_cast<int>(green(mixed)), 0xE0, 1);
  EXPECT_EQ(blue(mixed), 0xE0u);
}

TEST(Colour, ScaleLerpMulAverage) {
  EXPECT_EQ(scaleColour(0xFF8040u, 128), 0x7F4020u);
  EXPECT_EQ(scaleColour(0xFF8040u, 256), 0xFF8040u);
  EXPECT_EQ(scaleColour(0xFF8040u, 0), 0u);

  EXPECT_EQ(lerpColour(0xFF00FFu, 0x000000u, 256), 0xFF00FFu);
  EXPECT_EQ(lerpColour(0xFF00FFu, 0x123456u, 0), 0x123456u);
  // Red: 0 + (255 * 128 >> 8) = 127. Blue: 255 + (-255 * 128 >> 8) = 255 - 128 = 127, because
  // the shift of the negative difference rounds down.
  EXPECT_EQ(lerpColour(0xFF0000u, 0x0000FFu, 128), 0x7F007Fu);

  EXPECT_EQ(mulColour(0xFFFFFFu, 0xFFFFFFu), 0xFEFEFEu);
  EXPECT_EQ(mulColour(0x808080u, 0xFF0080u), 0x7F0040u);

  EXPECT_EQ(average(0x010101u, 0x010101u), 0u);  // low bits lost
  EXPECT_EQ(average(0xFFFFFFu, 0x000000u), 0x7F7F7Fu);
  EXPECT_EQ(average(0xFE0000u, 0x020000u), 0x800000u);
  EXPECT_EQ(average(0x0001FFu, 0x000001u), 0x00007Fu);  // no bleed from green into blue
}

TEST(Colour, IsGrey) {
  EXPECT_TRUE(isGrey(0x000000u));
  EXPECT_TRUE(isGrey(0x7A7A7Au));
  EXPECT_TRUE(isGrey(0xFF7A7A7Au));  // bits above 23 do not count
  EXPECT_FALSE(isGrey(0x7A7A7Bu));
  EXPECT_FALSE(isGrey(0x7B7A7Au));
}

}  // namespace
}  // namespace engine3d
