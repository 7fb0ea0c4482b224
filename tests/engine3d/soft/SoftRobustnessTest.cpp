// The software renderer never writes outside its target, whatever the geometry: triangles far
// off screen, crossing the near plane, degenerate, huge, in every shading mode and both depths.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "SoftScene.h"

namespace engine3d::soft_test {
namespace {

// A scene whose target sits inside a larger buffer: guard rows above and below, and rows
// wider than the target, all filled with a pattern the renderer must leave alone.
class GuardedScene : public SoftScene {
 public:
  static constexpr int kPad = 7;
  static constexpr std::uint8_t kGuard = 0xA5;

  GuardedScene(int width, int height, int bits)
      : SoftScene(width, height, 0), width_(width), height_(height), bits_(bits) {
    stride_ = (width + kPad) * bits / 8;
    memory_.assign(static_cast<std::size_t>(stride_) * (height + 2 * kPad), kGuard);
  }
  PixelTarget drawTarget() const override {
    return {const_cast<std::uint8_t*>(memory_.data()) + kPad * stride_, width_, height_, stride_,
            bits_};
  }
  void drawBackgroundStep() override {
    for (int y = 0; y < height_; ++y)
      std::fill_n(memory_.begin() + (kPad + y) * stride_, width_ * bits_ / 8, 0);
  }
  // Guard bytes that changed.
  int damagedGuards() const {
    int damaged = 0;
    for (int y = 0; y < height_ + 2 * kPad; ++y)
      for (int x = 0; x < stride_; ++x) {
        const bool inside = y >= kPad && y < kPad + height_ && x < width_ * bits_ / 8;
        if (!inside) damaged += memory_[static_cast<std::size_t>(y) * stride_ + x] != kGuard;
      }
    return damaged;
  }
  // Target bytes the drawing reached.
  int drawnBytes() const {
    int drawn = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_ * bits_ / 8; ++x)
        drawn += memory_[static_cast<std::size_t>(kPad + y) * stride_ + x] != 0;
    return drawn;
  }

 private:
  int width_, height_, bits_, stride_;
  std::vector<std::uint8_t> memory_;
};

TEST(SoftRobustness, RandomGeometryStaysInsideTheTarget) {
  std::mt19937 random(1234);
  std::uniform_real_distribution<float> coordinate(-60.0f, 60.0f);
  std::uniform_real_distribution<float> depth(-5.0f, 80.0f);
  for (int bits : {16, 32}) {
    GuardedScene scene(37, 29, bits);
    scene.lights.push_back(Light::make("l", Vector3(0.3f, -0.5f, 1.0f), 0xFFFFFF));
    scene.fogSetting = Fog{10, 50, 0x808080};
    int drawnTotal = 0;
    for (int round = 0; round < 12; ++round) {
      scene.makeRenderer();
      Group3D& group = scene.addGroup();
      const int mode = 1 + round % 5;
      Material& m = addMaterial(group, "m" + std::to_string(round), mode, 0xC0A080);
      m.twoSided = true;
      m.transparency = round % 3 == 0 ? 100 : 0;
      m.flat = round % 4 == 1;
      m.wire = round % 6 == 5;
      if (round % 2 == 0) m.texture = checker(8, 2, 0xFFFFFF, 0x204060);
      if (round % 4 == 2) m.opacityMap = checker(4, 1, 0x808080, 0x000000);
      if (mode == 5) m.reflectionMap = checker(16, 4, 0xFF0000, 0x00FF00);
      auto mesh = std::make_unique<Mesh>();
      for (int i = 0; i < 60; ++i)
        mesh->addVertex(coordinate(random), coordinate(random), depth(random),
                        static_cast<std::int32_t>(random() % 400000) - 200000,
                        static_cast<std::int32_t>(random() % 400000) - 200000);
      for (int f = 0; f < 40; ++f) mesh->addFace(random() % 60, random() % 60, random() % 60);
      mesh->addFace(0, 0, 0);  // degenerate
      mesh->material = &m;
      Mesh* added = group.addMesh("random", std::move(mesh));
      added->prepare(true);
      scene.render();
      drawnTotal += scene.drawnBytes();
      ASSERT_EQ(scene.damagedGuards(), 0) << "bits " << bits << " round " << round;
    }
    EXPECT_GT(drawnTotal, 0);
  }
}

}  // namespace
}  // namespace engine3d::soft_test
