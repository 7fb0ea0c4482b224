// Frame rate of the OpenGL ES driver (Mesa llvmpipe through the EGL bridge) on a built-in scene
// of 2,048 textured, lit, fogged triangles: a rolling terrain under a directional light, drawn
// into a window scene and shown on the device screen every frame (the swap's read-back
// included). Runs headless: SKIRROW_HOST is not needed.
//
// Frames per second are reported as the "fps" counter; the argument is the scene width (240 for
// 240x320, 480 for 480x640).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "engine3d/FixedPoint.h"
#include "engine3d/Group3D.h"
#include "engine3d/Material.h"
#include "engine3d/Mesh.h"
#include "engine3d/StandaloneScene.h"
#include "engine3d/SurfaceTexture.h"
#include "engine3d/gles/GlesDriver.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "host/WindowManager.h"

namespace {

using namespace engine3d;

constexpr int kCells = 32;  // 32 x 32 squares: 2,048 triangles

std::shared_ptr<SurfaceTexture> terrainTexture() {
  std::vector<std::uint32_t> rgb(64 * 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool light = ((x / 8) + (y / 8)) % 2 == 0;
      rgb[y * 64 + x] = light ? 0x58A048 : 0x3C7830;
    }
  return std::make_shared<SurfaceTexture>(64, 64, SurfaceTexture::fromRgb(rgb));
}

std::unique_ptr<Group3D> terrain() {
  auto group = std::make_unique<Group3D>();
  auto mesh = std::make_unique<Mesh>();
  const float size = 64.0f;
  const float step = size / kCells;
  for (int j = 0; j <= kCells; ++j)
    for (int i = 0; i <= kCells; ++i) {
      const float x = -size / 2 + step * static_cast<float>(i);
      const float z = step * static_cast<float>(j);
      const float y = 1.5f * std::sin(x * 0.3f) * std::cos(z * 0.25f);
      mesh->addVertex(x, y, z, i * fixedOne / 4, j * fixedOne / 4);
    }
  const int row = kCells + 1;
  for (int j = 0; j < kCells; ++j)
    for (int i = 0; i < kCells; ++i) {
      const int a = j * row + i;
      mesh->addFace(a, a + 1, a + row + 1);
      mesh->addFace(a, a + row + 1, a + row);
    }
  auto material = std::make_unique<Material>();
  material->texture = terrainTexture();
  material->shadingMode = kShadingSpecular;
  material->specularLevel = 40;
  mesh->material = group->addMaterial("ground", std::move(material));
  group->addMesh("ground", std::move(mesh));
  group->cullingPolicy = kCullNever;
  return group;
}

void BM_GlesFrame(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = width * 4 / 3;
  host::HostConfig config;
  config.backend = host::BackendKind::Headless;
  config.profile = *host::findProfile(width > 240 ? "vga" : "qvga");
  host::Host& host = host::Host::restart(config);
  host::WindowClass windowClass;
  windowClass.name = "GLBENCH";
  windowClass.proc = [](host::Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
    return host::Host::get().windows().defWindowProc(w, m, wp, lp);
  };
  host.windows().registerClass(windowClass);
  registerGlesDriver();
  {
    StandaloneScene scene(width, height);
    scene.windowHandle =
        host.windows().createWindow(0, "GLBENCH", "bench", host::WS_POPUP | host::WS_VISIBLE, 0, 0,
                                    width, height, 0, 0, nullptr);
    scene.background = 0x8098C0;
    scene.ambientColour = 0x404040;
    scene.lights.push_back(Light::make("sun", Vector3(0.3f, -1.0f, 0.5f), 0xFFFFFF));
    scene.hasFog = true;
    scene.fogSettings = Fog{20, 60, 0x8098C0};
    scene.add(terrain());
    if (!scene.setUp(kRendererGles)) {
      state.SkipWithError("no OpenGL ES driver");
      return;
    }
    scene.cam().setEye(0, 6, -4);
    scene.cam().setTarget(0, 0, 20);
    float t = 0.0f;
    for (auto _ : state) {
      // A slow pan, so that every frame is a new picture.
      t += 0.01f;
      scene.cam().setTarget(8.0f * std::sin(t), 0, 20);
      scene.draw().renderScene(0.016f);
    }
    state.counters["triangles"] = scene.draw().trianglesDrawn;
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  }
  host::Host::shutdown();
}
BENCHMARK(BM_GlesFrame)->Arg(240)->Arg(480)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
