// The renderers' reference scene for benchmarks: about 2,000 textured, lit, fogged triangles
// (a tiled floor and six spheres) under one directional light, seen from (0, 3, -4) towards
// (0, 0, 10). `BenchScene` is the scene as the software renderer draws it, into its own 16- or
// 32-bit buffer; `takeGroups` hands the same groups to another driver's scene.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/Camera.h"
#include "engine3d/Colour.h"
#include "engine3d/Group3D.h"
#include "engine3d/Light.h"
#include "engine3d/SceneView.h"
#include "engine3d/soft/SoftCamera.h"
#include "host/Png.h"

namespace bench3d {

using namespace engine3d;

inline const Vector3 kEye{0.0f, 3.0f, -4.0f};
inline const Vector3 kTarget{0.0f, 0.0f, 10.0f};
inline constexpr Colour kAmbient = 0x303030;

class BenchScene : public SceneView {
 public:
  BenchScene(int width, int height, int bits) : width_(width), height_(height), bits_(bits) {
    pixels_.assign(static_cast<std::size_t>(width) * height * (bits / 8), 0);
    camera_ = std::make_unique<SoftCamera>(this, 0);
    camera_->setViewport(width, height);
    camera_->setPerspective(45.0f, 1.0f, 1000.0f);
    camera_->setEye(kEye);
    camera_->setTarget(kTarget);
    light_ = Light::make("sun", Vector3(0.3f, -1.0f, 0.5f), 0xFFFFFF);
    fog_ = Fog{12, 30, 0xA0B0C0};
    texture_ = checkerTexture();
    buildFloor();
    for (int i = 0; i < 6; ++i)
      buildSphere({-4.0f + 4.0f * static_cast<float>(i % 3), 1.0f, 6.0f + 6.0f * (i / 3)}, 1.8f);
  }

  int groupCount() const override { return static_cast<int>(groups_.size()); }
  Group3D* group(int index) const override { return groups_[index].get(); }
  Camera* camera() const override { return camera_.get(); }
  int width() const override { return width_; }
  int height() const override { return height_; }
  Colour ambient() const override { return kAmbient; }
  int lightCount() const override { return 1; }
  const Light* light(int) const override { return &light_; }
  const Fog* fog() const override { return &fog_; }
  PixelTarget drawTarget() const override {
    return {const_cast<std::uint8_t*>(pixels_.data()), width_, height_, width_ * bits_ / 8, bits_};
  }
  void drawBackgroundStep() override {
    if (bits_ == 32) {
      auto* p = reinterpret_cast<std::uint32_t*>(pixels_.data());
      std::fill(p, p + static_cast<std::size_t>(width_) * height_, fog_.colour);
    } else {
      auto* p = reinterpret_cast<std::uint16_t*>(pixels_.data());
      std::fill(p, p + static_cast<std::size_t>(width_) * height_,
                static_cast<std::uint16_t>(toRgb565(fog_.colour)));
    }
  }

  // 0x00RRGGBB of pixel i (a 16-bit pixel widened by shifting).
  std::uint32_t pixel(std::size_t i) const {
    if (bits_ == 32) return reinterpret_cast<const std::uint32_t*>(pixels_.data())[i];
    const std::uint32_t p = reinterpret_cast<const std::uint16_t*>(pixels_.data())[i];
    return ((p >> 11) << 19) | (((p >> 5) & 63) << 10) | ((p & 31) << 3);
  }
  double covered() const {
    const std::uint32_t clear = pixel(0);  // the top-left corner shows only the sky
    std::size_t n = 0, total = static_cast<std::size_t>(width_) * height_;
    for (std::size_t i = 0; i < total; ++i) n += pixel(i) != clear;
    return static_cast<double>(n) / static_cast<double>(total);
  }
  void writePicture(const std::string& path) const {
    host::RgbImage image{width_, height_, {}};
    for (std::size_t i = 0; i < static_cast<std::size_t>(width_) * height_; ++i) {
      const std::uint32_t c = pixel(i);
      image.rgb.push_back(static_cast<std::uint8_t>(c >> 16));
      image.rgb.push_back(static_cast<std::uint8_t>(c >> 8));
      image.rgb.push_back(static_cast<std::uint8_t>(c));
    }
    host::writePng(path, image);
  }

  const Light& sun() const { return light_; }
  const Fog& fogSetting() const { return fog_; }
  std::vector<std::unique_ptr<Group3D>> takeGroups() { return std::move(groups_); }

  int triangles() const {
    int n = 0;
    for (const auto& g : groups_) n += g->faceCount();
    return n;
  }

 private:
  static std::shared_ptr<PixelTexture> checkerTexture() {
    std::vector<std::uint32_t> p(64 * 64);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) p[y * 64 + x] = ((x / 8 + y / 8) & 1) ? 0xE0D0B0 : 0x806040;
    return std::make_shared<PixelTexture>(64, 64, std::move(p));
  }

  Material& material(Group3D& g) {
    auto m = std::make_unique<Material>();
    m->shadingMode = kShadingLit;
    m->colour = 0xFFFFFF;
    m->texture = texture_;
    return *g.addMaterial("m", std::move(m));
  }

  // 12 x 12 tiles (288 triangles) from z = 0 to 36, 24 wide, normals pointing down.
  void buildFloor() {
    groups_.push_back(std::make_unique<Group3D>());
    Group3D& g = *groups_.back();
    g.cullingPolicy = kCullNever;
    auto mesh = std::make_unique<Mesh>();
    constexpr int kTiles = 12;
    for (int j = 0; j <= kTiles; ++j)
      for (int i = 0; i <= kTiles; ++i)
        mesh->addVertex(-12.0f + 2.0f * i, -1.0f, 3.0f * j, i * 65536, j * 65536);
    for (int j = 0; j < kTiles; ++j)
      for (int i = 0; i < kTiles; ++i) {
        const int a = j * (kTiles + 1) + i;
        mesh->addFace(a, a + 1, a + kTiles + 2);
        mesh->addFace(a, a + kTiles + 2, a + kTiles + 1);
      }
    mesh->material = &material(g);
    g.addMesh("floor", std::move(mesh))->prepare(true);
  }

  // A UV sphere of 10 rings x 16 segments (288 triangles), normals pointing inward.
  void buildSphere(const Vector3& at, float radius) {
    groups_.push_back(std::make_unique<Group3D>());
    Group3D& g = *groups_.back();
    g.localMatrix.setTranslation(at);
    g.radius = radius;
    auto mesh = std::make_unique<Mesh>();
    constexpr int kRings = 10, kSegments = 16;
    for (int i = 0; i <= kRings; ++i) {
      const float theta = 3.14159265f * i / kRings;
      for (int j = 0; j <= kSegments; ++j) {
        const float phi = 6.2831853f * j / kSegments;
        mesh->addVertex(radius * std::sin(theta) * std::cos(phi), radius * std::cos(theta),
                        radius * std::sin(theta) * std::sin(phi), j * 65536 / 4, i * 65536 / 4);
      }
    }
    auto at2 = [](int i, int j) { return i * (kSegments + 1) + j; };
    for (int i = 0; i < kRings; ++i)
      for (int j = 0; j < kSegments; ++j) {
        // Winding chosen so that the computed normals point into the sphere.
        if (i > 0) mesh->addFace(at2(i, j), at2(i + 1, j), at2(i, j + 1));
        if (i < kRings - 1) mesh->addFace(at2(i, j + 1), at2(i + 1, j), at2(i + 1, j + 1));
      }
    mesh->material = &material(g);
    g.addMesh("ball", std::move(mesh))->prepare(true);
  }

  int width_, height_, bits_;
  std::vector<std::uint8_t> pixels_;
  std::unique_ptr<SoftCamera> camera_;
  Light light_;
  Fog fog_;
  std::shared_ptr<PixelTexture> texture_;
  std::vector<std::unique_ptr<Group3D>> groups_;
};

}  // namespace bench3d
