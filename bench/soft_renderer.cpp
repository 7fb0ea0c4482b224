// Software-renderer frame rate on the reference scene of BenchScene.h, at 240 x 320 and
// 480 x 640 on 16-bit and 32-bit targets. The "fps" counter is frames per second of renderScene
// alone (the scene clears its target in its background step, as a page does); "covered" is the
// share of pixels the 3D drawing reaches. With SKIRROW_BENCH_PICTURES=DIR each configuration's
// frame is also written to DIR/soft_WxH_BITS.png.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "BenchScene.h"
#include "engine3d/soft/LightingUnit.h"
#include "engine3d/soft/VexagraphRenderer.h"

namespace {

using bench3d::BenchScene;
using engine3d::VexagraphRenderer;

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
  state.counters["drawn"] = renderer.statistics().trianglesDrawn;
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

namespace {

// Building the two light maps: once per change of the lights and, for lights fixed in the
// world, whenever the camera turns.
void BM_LightMaps(benchmark::State& state) {
  std::vector<engine3d::Light> lights;
  for (int i = 0; i < state.range(0); ++i)
    lights.push_back(engine3d::Light::make(
        "l", engine3d::Vector3(0.3f * static_cast<float>(i) - 0.4f, -1.0f, 0.5f), 0xFFE0C0));
  engine3d::LightingUnit unit;
  for (auto _ : state) {
    unit.build(lights, 0x303030, true);
    benchmark::DoNotOptimize(unit.diffuse());
  }
}
BENCHMARK(BM_LightMaps)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
