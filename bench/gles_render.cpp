// The OpenGL ES driver (Mesa llvmpipe through the EGL bridge) against the software renderer, in
// one run, on the same reference scene (BenchScene.h) at 240x320 and 480x640.
//
// The GL scene is a window scene, as a page's is: every frame ends with the swap, which reads
// the frame back into the 16-bit device screen. The software frames are 16-bit and draw into
// their own buffer. Both are timed on the wall clock (llvmpipe draws on threads of its own, so
// the calling thread's CPU time would flatter it). After the runs a table gives frames per
// second side by side and their ratio. Headless: SKIRROW_HOST is not needed. With
// SKIRROW_BENCH_PICTURES=DIR the GL frames are written to DIR/gles_WxH.png (the software
// renderer's by bench_soft_renderer).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "BenchScene.h"
#include "engine3d/StandaloneScene.h"
#include "engine3d/gles/GlesDriver.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "host/Png.h"
#include "host/Screen.h"
#include "host/WindowManager.h"
#include "media/Runtime.h"

namespace {

using namespace engine3d;

void BM_SoftFrame(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  bench3d::BenchScene scene(width, width * 4 / 3, 16);
  VexagraphRenderer renderer(&scene);
  for (auto _ : state) {
    renderer.renderScene(0.016f);
    benchmark::ClobberMemory();
  }
  state.counters["triangles"] = renderer.statistics().trianglesDrawn;
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SoftFrame)->Arg(240)->Arg(480)->Unit(benchmark::kMillisecond)->UseRealTime();

// The device screen as a PNG (565 widened by bit replication).
void writeScreen(const std::string& path) {
  host::Screen& screen = host::Host::get().screen();
  host::RgbImage image{screen.width(), screen.height(), {}};
  for (int i = 0; i < screen.width() * screen.height(); ++i) {
    const std::uint16_t p = screen.pixels()[i];
    image.rgb.push_back(static_cast<std::uint8_t>(host::red565(p)));
    image.rgb.push_back(static_cast<std::uint8_t>(host::green565(p)));
    image.rgb.push_back(static_cast<std::uint8_t>(host::blue565(p)));
  }
  host::writePng(path, image);
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
  {
    // The drivers a page would have, from the run's runtime.
    media::Runtime runtime;
    runtime.drivers().add(kRendererGles, glesDriver(1));
    bench3d::BenchScene content(width, height, 16);
    StandaloneScene scene(width, height);
    scene.windowHandle =
        host.windows().createWindow(0, "GLBENCH", "bench", host::WS_POPUP | host::WS_VISIBLE, 0, 0,
                                    width, height, 0, 0, nullptr);
    scene.background = content.fogSetting().colour;
    scene.ambientColour = bench3d::kAmbient;
    scene.lights.push_back(content.sun());
    scene.hasFog = true;
    scene.fogSettings = content.fogSetting();
    for (auto& group : content.takeGroups()) scene.add(std::move(group));
    if (!scene.setUp(runtime.drivers(), kRendererGles)) {
      state.SkipWithError("no OpenGL ES driver");
      return;
    }
    scene.cam().setPerspective(45.0f, 1.0f, 1000.0f);
    scene.cam().setEye(bench3d::kEye);
    scene.cam().setTarget(bench3d::kTarget);
    for (auto _ : state) scene.draw().renderScene(0.016f);
    state.counters["triangles"] = scene.draw().statistics().trianglesDrawn;
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    if (const char* dir = std::getenv("SKIRROW_BENCH_PICTURES"))
      writeScreen(std::string(dir) + "/gles_" + std::to_string(width) + "x" +
                  std::to_string(height) + ".png");
  }
  host::Host::shutdown();
}
BENCHMARK(BM_GlesFrame)->Arg(240)->Arg(480)->Unit(benchmark::kMillisecond)->UseRealTime();

// The console output, plus each run's frames per second for the closing table.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  RateReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (auto fps = run.counters.find("fps"); fps != run.counters.end())
        rates[run.benchmark_name()] = fps->second.value;
  }
  std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::printf("\n%-9s %14s %14s %8s\n", "size", "software fps", "OpenGL ES fps", "ratio");
  // With --benchmark_repetitions the medians are compared, else the single runs.
  auto rate = [&](const std::string& name) {
    for (const char* suffix : {"_median", ""})
      if (auto it = reporter.rates.find(name + suffix); it != reporter.rates.end())
        return it->second;
    return 0.0;
  };
  for (const char* size : {"240", "480"}) {
    const double soft = rate(std::string("BM_SoftFrame/") + size + "/real_time");
    const double gl = rate(std::string("BM_GlesFrame/") + size + "/real_time");
    if (soft <= 0 || gl <= 0) continue;
    std::printf("%-9s %14.0f %14.0f %7.1fx\n", size[0] == '2' ? "240x320" : "480x640", soft, gl,
                soft / gl);
  }
  return 0;
}
