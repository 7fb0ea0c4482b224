// Software-renderer frame rate on a reference scene of about 2,000 textured, lit, fogged
// triangles (a tiled floor and six spheres), at 240 x 320 and 480 x 640 on 16-bit and 32-bit
// targets. The "fps" counter is frames per second of renderScene alone (the scene clears its
// target in its background step, as a page does); "covered" is the share of pixels the 3D
// drawing reaches. With SKIRROW_BENCH_PICTURES=DIR each configuration's frame is also written
// to DIR/soft_WxH_BITS.png.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/Camera.h"
#include "engine3d/Group3D.h"
#include "engine3d/Light.h"
#include "engine3d/SceneView.h"
#include "engine3d/soft/LightingUnit.h"
#include "engine3d/soft/SoftCamera.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "host/Png.h"

namespace {

using namespace engine3d;

class BenchScene : public SceneView {
 public:
  BenchScene(int width, int height, int bits) : width_(width), height_(height), bits_(bits) {
    pixels_.assign(static_cast<std::size_t>(width) * height * (bits / 8), 0);
    camera_ = std::make_unique<SoftCamera>(this, 0);
    camera_->setViewport(width, height);
    camera_->setPerspective(45.0f, 1.0f, 1000.0f);
    camera_->setEye(0, 3, -4);
    camera_->setTarget(0, 0, 10);
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
  Colour ambient() const override { return 0x303030; }
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

void BM_SoftFrame(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  const int bits = static_cast<int>(state.range(2));
  BenchScene scene(width, height, bits);
  VexagraphRenderer renderer(&scene);
  for (auto _ : state) {
    renderer.renderScene(0.016f);
    benchmark::ClobberMemory();
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["triangles"] = scene.triangles();
  state.counters["drawn"] = renderer.trianglesDrawn;
  state.counters["covered"] = scene.covered();
  if (const char* dir = std::getenv("SKIRROW_BENCH_PICTURES"))
    scene.writePicture(std::string(dir) + "/soft_" + std::to_string(width) + "x" +
                       std::to_string(height) + "_" + std::to_string(bits) + ".png");
}
BENCHMARK(BM_SoftFrame)
    ->Args({240, 320, 16})
    ->Args({240, 320, 32})
    ->Args({480, 640, 16})
    ->Args({480, 640, 32})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
