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

}  // namespace
}  // namespace engine3d::soft_test
