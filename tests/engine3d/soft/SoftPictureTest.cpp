// The software renderer's pictures against committed references, on 32-bit and 16-bit
// targets: every shading mode, textures with colour keys and opacity maps, transparency, fog,
// wire faces, near-plane clipping, subdivision, depth layers and a provider scene's depth.
#include <gtest/gtest.h>

#include <string>

#include "ReferenceScenes.h"

namespace engine3d::soft_test {
namespace {

class SoftPictures : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(SoftPictures, MatchReference) {
  const auto& [index, bits] = GetParam();
  const auto& [name, build] = scenes()[static_cast<std::size_t>(index)];
  SoftScene scene(kSize, kSize, bits);
  build(scene);
  scene.render();
  EXPECT_TRUE(matchesReference(scene.picture(), "soft_" + name + "_" + std::to_string(bits)));
}

INSTANTIATE_TEST_SUITE_P(
    AllScenes, SoftPictures,
    ::testing::Combine(::testing::Range(0, static_cast<int>(scenes().size())),
                       ::testing::Values(32, 16)),
    [](const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
      return scenes()[static_cast<std::size_t>(std::get<0>(info.param))].first + "_" +
             std::to_string(std::get<1>(info.param));
    });

TEST(SoftPictures, SubdivisionChangesTheAffineTexturing) {
  // Splitting moves texels toward their perspective-correct places: the two pictures differ
  // noticeably, while covering the same pixels.
  SoftScene split(kSize, kSize, 32), whole(kSize, kSize, 32);
  sceneNamed("subdivided")(split);
  sceneNamed("not_subdivided")(whole);
  split.render();
  whole.render();
  int differing = 0, coverageDiffers = 0;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      differing += split.pixel(x, y) != whole.pixel(x, y);
      coverageDiffers += (split.soft().depthAt(x, y) < 0) != (whole.soft().depthAt(x, y) < 0);
    }
  EXPECT_GT(differing, kSize * kSize / 20);
  EXPECT_LT(coverageDiffers, kSize);
}

TEST(SoftPictures, ProviderSceneDepthHidesTheSecondScene) {
  for (int bits : {32, 16}) {
    SoftScene front(kSize, kSize, bits);
    sceneNamed("lit_smooth")(front);
    front.render();
    SoftScene back(kSize, kSize, bits);
    back.provider = &front;
    Group3D& g = back.addGroup();
    placeAt(g, {0, 0, 6}, 0.0f);
    Material& m = addMaterial(g, "wall", kShadingUnlit, 0xFFFFFF);
    m.texture = stripes();
    addQuad(g, "wall", m, 4, 4, 0.5f);  // half a unit behind the sphere's centre
    back.render();
    EXPECT_TRUE(matchesReference(back.picture(), "soft_provider_" + std::to_string(bits)));
  }
}

// Mean absolute channel difference of two pictures of one size.
double meanDifference(const host::RgbImage& a, const host::RgbImage& b) {
  long long sum = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(a.rgb[i] - b.rgb[i]);
  return static_cast<double>(sum) / static_cast<double>(a.rgb.size());
}

// Mean brightness (sum of channels) of the pixels that are not the background.
double litness(const SoftScene& scene) {
  double sum = 0;
  int n = 0;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if (const Colour c = scene.pixel(x, y); c != scene.background) {
        sum += red(c) + green(c) + blue(c);
        ++n;
      }
  return n ? sum / n : 0.0;
}

TEST(SoftLighting, WorldLightsTurnedWithTheCameraLightTheSamePicture) {
  // The light maps hold one hemisphere of eye-space normals: a world seen from the far side
  // must not be lit as if mirrored (built from world normals, the sphere went dark; the mean
  // difference was 28.6 at a half turn).
  SoftScene front(kSize, kSize, 32);
  sceneNamed("lit_smooth")(front);
  front.render();
  for (float yaw : {3.14159265f, 1.5707963f, -2.2f}) {
    SoftScene turned(kSize, kSize, 32);
    turnedLitSphere(turned, yaw, true);
    turned.render();
    // Measured: 0 (the same picture) at every turn.
    EXPECT_LT(meanDifference(front.picture(), turned.picture()), 0.5) << "yaw " << yaw;
  }
}

TEST(SoftLighting, WorldLightsStayWhileCameraLightsFollowTheCamera) {
  SoftScene front(kSize, kSize, 32);
  sceneNamed("lit_smooth")(front);
  front.render();
  // From behind, a light fixed in the world falls on the far side: only the rim is lit
  // (measured: 69 against 230 from the front).
  SoftScene behind(kSize, kSize, 32);
  turnedLitSphere(behind, 3.14159265f, false);
  behind.render();
  EXPECT_LT(litness(behind), litness(front) * 0.6);
  // The same light fixed to the camera lights what the camera sees, as it did from the front;
  // the maps follow the switch between frames.
  behind.soft().lightsInEyeSpace = true;
  behind.render();
  EXPECT_LT(meanDifference(front.picture(), behind.picture()), 0.5);
  behind.soft().lightsInEyeSpace = false;
  behind.render();
  EXPECT_LT(litness(behind), litness(front) * 0.6);
}

}  // namespace
}  // namespace engine3d::soft_test
