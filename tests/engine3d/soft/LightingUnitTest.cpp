// The lighting unit's maps and the lit shading that reads them.
#include <gtest/gtest.h>

#include "SoftScene.h"
#include "engine3d/soft/LightingUnit.h"

namespace engine3d::soft_test {
namespace {

constexpr int cell(int x, int y) {
  return (y + 32) * 64 + (x + 32);
}

TEST(LightingUnit, AmbientPlusDiffuseShareClampedAndTheSpecularHighlight) {
  LightingUnit unit;
  std::vector<Light> lights{Light::make("l", Vector3(0, 0, 1), 0x808080)};
  unit.build(lights, 0x101010, false);
  // Straight on: A = 255; 16 + (128 * 255 >> 8) = 143.
  EXPECT_EQ(unit.diffuse()[cell(0, 0)], 0x8F8F8Fu);
  // Specular strength 320 / 255 = 1.2549 at full angle: trunc(128 * 1.2549) = 160.
  EXPECT_EQ(unit.specular()[cell(0, 0)], 0xA0A0A0u);
  // Column x = 16: nx = 0.5, nz = 1 - 0.5 = 0.5, cos 45 degrees: A = trunc(180.3) = 180,
  // 16 + (128 * 180 >> 8) = 106; the highlight has faded: 1.2549 * 0.7059^34.13 * 128 = 0.
  EXPECT_EQ(unit.diffuse()[cell(16, 0)], 0x6A6A6Au);
  EXPECT_EQ(unit.specular()[cell(16, 0)], 0u);
  // Beyond the rim (nz clamped to 0) the normal lies across the light: ambient only.
  EXPECT_EQ(unit.diffuse()[cell(-32, -32)], 0x101010u);
}

TEST(LightingUnit, LightsAddUpAndChannelsClampAt255) {
  LightingUnit unit;
  std::vector<Light> lights{Light::make("a", Vector3(0, 0, 1), 0xFF0000),
                            Light::make("b", Vector3(0, 0, 1), 0xFF8000)};
  unit.build(lights, 0x000010, false);
  // Red 254 + 254 clamps; green 0 + 127; blue only the ambient.
  EXPECT_EQ(unit.diffuse()[cell(0, 0)], 0xFF7F10u);
}

TEST(LightingUnit, SixteenBitMapsHoldRgb565Cells) {
  LightingUnit unit;
  std::vector<Light> lights{Light::make("l", Vector3(0, 0, 1), 0x808080)};
  unit.build(lights, 0x101010, true);
  EXPECT_EQ(unit.diffuse()[cell(0, 0)], toRgb565(0x8F8F8F));
  EXPECT_EQ(toRgb565(0x8F8F8F), (17u << 11) | (35u << 5) | 17u);
  EXPECT_EQ(toRgb565(0xFFFFFF), 0xFFFFu);
  EXPECT_EQ(toRgb565(0x969696), (18u << 11) | (37u << 5) | 18u);
}

TEST(LitShading, AFaceTurnedToTheLightTakesMaterialTimesDiffuse) {
  for (bool flat : {false, true}) {
    SoftScene scene(32, 32, 32);
    // The quad's stored normal is +z (away from the viewer); a light travelling along +z
    // meets it head on.
    scene.lights.push_back(Light::make("l", Vector3(0, 0, 1), 0x808080));
    scene.ambientColour = 0x101010;
    Group3D& group = scene.addGroup();
    Material& m = addMaterial(group, "m", kShadingLit, 0xFF8040);
    m.flat = flat;
    addQuad(group, "q", m, 20, 20, 10);
    scene.render();
    // The smooth path reads cell (31, 31): lu = lv = 127 + 0 = 127, 127 >> 2 = 31, one step
    // off the centre; the flat path reads the centre cell (32, 32). Both are 143 here.
    // Colour: 0xFF * 143 >> 8 = 142, 0x80 * 143 >> 8 = 71, 0x40 * 143 >> 8 = 35.
    EXPECT_EQ(scene.pixel(16, 16), 0x8E4723u) << flat;
  }
}

TEST(LitShading, SpecularAddsTheHighlightScaledByTheLevel) {
  SoftScene scene(32, 32, 32);
  scene.lights.push_back(Light::make("l", Vector3(0, 0, 1), 0x808080));
  Group3D& group = scene.addGroup();
  Material& m = addMaterial(group, "m", kShadingSpecular, 0x000000);
  m.specularLevel = 128;
  addQuad(group, "q", m, 20, 20, 10);
  scene.render();
  // Black lit colour plus the specular cell the smooth path reads, (31, 31): nx = ny = -1/32,
  // nz = 1 - 0.0442, so A = 254 and the highlight 1.2549 * (254 / 255)^34.13 = 1.0974 of the
  // light: trunc(128 * 1.0974) = 140; at level 128, 140 * 128 >> 8 = 70.
  EXPECT_EQ(scene.pixel(16, 16), 0x464646u);
}

TEST(LitShading, SelfIlluminationIsAddedWithSaturation) {
  SoftScene scene(32, 32, 32);
  Group3D& group = scene.addGroup();
  Material& m = addMaterial(group, "m", kShadingSelfIlluminated, 0xFFFFFF);
  m.selfIllumination = 0x203040;
  m.specularLevel = 0;
  addQuad(group, "q", m, 20, 20, 10);
  scene.render();  // no lights, no ambient: the lit colour is black
  EXPECT_EQ(scene.pixel(16, 16), 0x203040u);
}

}  // namespace
}  // namespace engine3d::soft_test
