// A small scene for the software renderer's tests: groups, lights, fog, a camera and a pixel
// buffer of 16 or 32 bits that the renderer draws into, plus picture comparison with the
// references under tests/reference/engine3d/.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine3d/Camera.h"
#include "engine3d/Group3D.h"
#include "engine3d/Light.h"
#include "engine3d/SceneView.h"
#include "engine3d/soft/SoftCamera.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "host/Png.h"
#include "host/Screen.h"
#include "support/ReferenceImage.h"

namespace engine3d::soft_test {

class SoftScene : public SceneView {
 public:
  // A width x height scene drawing into its own buffer of `bits` bits per pixel (0: no
  // buffer, the renderer makes its own). The camera sits at the origin looking down +z.
  SoftScene(int width, int height, int bits) : width_(width), height_(height), bits_(bits) {
    if (bits == 16) pixels16.assign(static_cast<std::size_t>(width) * height, 0);
    if (bits == 32) pixels32.assign(static_cast<std::size_t>(width) * height, 0);
    camera_ = std::make_unique<SoftCamera>(this, 0);
    camera_->setViewport(width, height);
    camera_->setPerspective(45.0f, 1.0f, 10000.0f);
    camera_->setEye(0, 0, 0);
    camera_->setTarget(0, 0, 1);
  }

  int groupCount() const override { return static_cast<int>(groups_.size()); }
  Group3D* group(int index) const override { return groups_[index].get(); }
  Camera* camera() const override { return camera_.get(); }
  int width() const override { return width_; }
  int height() const override { return height_; }
  Colour ambient() const override { return ambientColour; }
  int lightCount() const override { return static_cast<int>(lights.size()); }
  const Light* light(int index) const override { return &lights[index]; }
  const Fog* fog() const override { return fogSetting ? &*fogSetting : nullptr; }
  Colour backgroundColour() const override { return background; }
  Renderer* renderer() const override { return renderer_.get(); }
  SceneView* zBufferProviderScene() const override { return provider; }
  PixelTarget drawTarget() const override {
    if (bits_ == 16)
      return {const_cast<std::uint16_t*>(pixels16.data()), width_, height_, width_ * 2, 16};
    if (bits_ == 32)
      return {const_cast<std::uint32_t*>(pixels32.data()), width_, height_, width_ * 4, 32};
    return {};
  }
  // The scene clears its own buffer before the 3D drawing, as a page's background would.
  void drawBackgroundStep() override {
    for (auto& p : pixels16) p = static_cast<std::uint16_t>(toRgb565(background));
    for (auto& p : pixels32) p = background;
  }

  VexagraphRenderer& makeRenderer() {
    renderer_ = std::make_unique<VexagraphRenderer>(this);
    return *renderer_;
  }
  VexagraphRenderer& soft() { return *renderer_; }
  void render() {
    if (!renderer_) makeRenderer();
    renderer_->renderScene(0.1f);
  }

  // A group placed at `position` that is never culled.
  Group3D& addGroup(const Vector3& position = {}) {
    groups_.push_back(std::make_unique<Group3D>());
    Group3D& g = *groups_.back();
    g.localMatrix.setTranslation(position);
    g.cullingPolicy = kCullNever;
    return g;
  }

  // Adds a group made elsewhere (a loaded model) as it is; returns it.
  Group3D& adopt(std::unique_ptr<Group3D> group) {
    groups_.push_back(std::move(group));
    return *groups_.back();
  }

  // The pixel at (x, y) as 0x00RRGGBB (a 16-bit pixel widened by bit replication).
  Colour pixel(int x, int y) const {
    if (bits_ == 16) return widen(pixels16[static_cast<std::size_t>(y) * width_ + x]);
    if (bits_ == 32) return pixels32[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFFu;
    const PixelTarget t = renderer_->target();
    return static_cast<const std::uint32_t*>(t.bits)[static_cast<std::size_t>(y) * width_ + x];
  }
  // The raw target pixel (RGB565 on a 16-bit target).
  std::uint32_t raw(int x, int y) const {
    if (bits_ == 16) return pixels16[static_cast<std::size_t>(y) * width_ + x];
    return pixel(x, y);
  }
  static Colour widen(std::uint16_t p) {
    return rgb(static_cast<std::uint32_t>(host::red565(p)),
               static_cast<std::uint32_t>(host::green565(p)),
               static_cast<std::uint32_t>(host::blue565(p)));
  }

  host::RgbImage picture() const {
    host::RgbImage image{width_, height_, {}};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        const Colour c = pixel(x, y);
        image.rgb.push_back(static_cast<std::uint8_t>(c >> 16));
        image.rgb.push_back(static_cast<std::uint8_t>(c >> 8));
        image.rgb.push_back(static_cast<std::uint8_t>(c));
      }
    return image;
  }

  Camera& cam() { return *camera_; }
  // Hands the groups over (to draw the same scene with another driver); the scene is empty
  // afterwards.
  std::vector<std::unique_ptr<Group3D>> takeGroups() { return std::move(groups_); }
  std::vector<Light> lights;
  Colour ambientColour = 0;
  std::optional<Fog> fogSetting;
  Colour background = 0x000000;
  SceneView* provider = nullptr;
  std::vector<std::uint16_t> pixels16;
  std::vector<std::uint32_t> pixels32;

 private:
  int width_;
  int height_;
  int bits_;
  std::unique_ptr<SoftCamera> camera_;
  std::unique_ptr<VexagraphRenderer> renderer_;
  std::vector<std::unique_ptr<Group3D>> groups_;
};

// A material owned by `group`.
inline Material& addMaterial(Group3D& group, const std::string& name, int mode, Colour colour) {
  auto m = std::make_unique<Material>();
  m->shadingMode = mode;
  m->colour = colour;
  return *group.addMaterial(name, std::move(m));
}

// A quad of half sizes hw x hh in the x-y plane at z, facing a camera on the -z side (its
// stored normals point along +z, away from the viewer, as the model loader's are). Texture
// coordinates run 0..`repeat` across it, v downward.
inline Mesh& addQuad(Group3D& group, const std::string& name, Material& material, float hw,
                     float hh, float z = 0.0f, float repeat = 1.0f) {
  auto mesh = std::make_unique<Mesh>();
  const std::int32_t r = static_cast<std::int32_t>(repeat * 65536.0f);
  mesh->addVertex(-hw, -hh, z, 0, r);
  mesh->addVertex(hw, -hh, z, r, r);
  mesh->addVertex(hw, hh, z, r, 0);
  mesh->addVertex(-hw, hh, z, 0, 0);
  mesh->addFace(0, 1, 2);
  mesh->addFace(0, 2, 3);
  mesh->material = &material;
  Mesh* added = group.addMesh(name, std::move(mesh));
  added->prepare(true);
  return *added;
}

// A horizontal floor at height y spanning x in [-hw, hw] and z in [z0, z1], seen from above.
inline Mesh& addFloor(Group3D& group, const std::string& name, Material& material, float hw,
                      float y, float z0, float z1, float repeat) {
  auto mesh = std::make_unique<Mesh>();
  const std::int32_t r = static_cast<std::int32_t>(repeat * 65536.0f);
  mesh->addVertex(-hw, y, z0, 0, 0);
  mesh->addVertex(hw, y, z0, r, 0);
  mesh->addVertex(hw, y, z1, r, r);
  mesh->addVertex(-hw, y, z1, 0, r);
  // Winding so that the stored normal points down (away from a viewer above).
  mesh->addFace(0, 1, 2);
  mesh->addFace(0, 2, 3);
  mesh->material = &material;
  Mesh* added = group.addMesh(name, std::move(mesh));
  added->prepare(true);
  return *added;
}

// A UV sphere of `radius` with `rings` x `segments` faces pairs, normals pointing inward.
inline Mesh& addSphere(Group3D& group, const std::string& name, Material& material, float radius,
                       int rings = 12, int segments = 16) {
  auto mesh = std::make_unique<Mesh>();
  for (int i = 0; i <= rings; ++i) {
    const float theta = 3.14159265f * static_cast<float>(i) / static_cast<float>(rings);
    for (int j = 0; j <= segments; ++j) {
      const float phi = 2.0f * 3.14159265f * static_cast<float>(j) / static_cast<float>(segments);
      mesh->addVertex(radius * std::sin(theta) * std::cos(phi), radius * std::cos(theta),
                      radius * std::sin(theta) * std::sin(phi),
                      static_cast<std::int32_t>(65536.0f * 2.0f * j / segments),
                      static_cast<std::int32_t>(65536.0f * 2.0f * i / rings));
    }
  }
  auto at = [segments](int i, int j) { return i * (segments + 1) + j; };
  auto face = [&](int a, int b, int c) {
    const Vertex& A = mesh->vertices[a];
    const Vertex& B = mesh->vertices[b];
    const Vertex& C = mesh->vertices[c];
    const double e1[3] = {double(B.x) - A.x, double(B.y) - A.y, double(B.z) - A.z};
    const double e2[3] = {double(C.x) - B.x, double(C.y) - B.y, double(C.z) - B.z};
    const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                         e1[0] * e2[1] - e1[1] * e2[0]};
    const double out = n[0] * (double(A.x) + B.x + C.x) + n[1] * (double(A.y) + B.y + C.y) +
                       n[2] * (double(A.z) + B.z + C.z);
    if (out > 0)
      mesh->addFace(a, c, b);
    else
      mesh->addFace(a, b, c);
  };
  for (int i = 0; i < rings; ++i)
    for (int j = 0; j < segments; ++j) {
      if (i > 0) face(at(i, j), at(i + 1, j), at(i, j + 1));
      if (i < rings - 1) face(at(i, j + 1), at(i + 1, j), at(i + 1, j + 1));
    }
  mesh->material = &material;
  Mesh* added = group.addMesh(name, std::move(mesh));
  added->prepare(true);
  return *added;
}

// An n x n checker texture of two colours in cells of `cell` texels.
inline std::shared_ptr<PixelTexture> checker(int n, int cell, Colour a, Colour b,
                                             std::optional<Colour> key = std::nullopt) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(n) * n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) pixels[y * n + x] = ((x / cell + y / cell) & 1) ? a : b;
  return std::make_shared<PixelTexture>(n, n, std::move(pixels), key);
}

// Compares with tests/reference/engine3d/<name>.png. Tolerance: every channel of every pixel
// within 4 of the reference (the lighting maps are built in float and may round one step
// apart between compilers), except at most 0.2% of the pixels. With
// SKIRROW_UPDATE_REFERENCES=1 the picture is written as the new reference instead.
inline ::testing::AssertionResult matchesReference(const host::RgbImage& image,
                                                   const std::string& name) {
  return testing_support::matchesReferenceFile(
      image, testing_support::referenceFile("engine3d/" + name), 4, 0.002);
}

}  // namespace engine3d::soft_test
