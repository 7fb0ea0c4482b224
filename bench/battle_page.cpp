// The battle page as the program runs it, on a headless device with the built content (build
// the `content` target first):
//  - BM_BattlePageFrame: one whole frame, unpaced (the rules, the 3D scene, the HUD, the
//    overlay and the back buffer shown on the device screen), with each driver at 240x320 and
//    480x640, in a fight (the demonstration flies all four);
//  - BM_BattlePageFirstFrame: from nothing (host, runtime, main window) to the battle's first
//    frame shown, as a start of the program with ARG:GameCanvas does it;
// and, after the frames, the process's peak resident memory (counter "peakRssMB").
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <string>

#include "engine3d/gles/GlesDriver.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "game/GameCanvas.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "media/Runtime.h"
#include "platform/Files.h"
#include "platform/MessagePump.h"
#include "platform/ProcessSwitches.h"
#include "platform/ResourceArchive.h"
#include "platform/Window.h"

namespace {

double peakRssMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A device, the run's runtime with both drivers, the archives, a main window and a battle page
// over it: the program's game mode.
class BattleProgram {
 public:
  BattleProgram(const char* profile, bool openGl) {
    host::HostConfig config;
    config.backend = host::BackendKind::Headless;
    config.profile = *host::findProfile(profile);
    host::Host::restart(config);
    runtime_ = std::make_unique<media::Runtime>();
    runtime_->drivers().add(engine3d::kRendererSoftware, engine3d::softwareDriver());
    runtime_->drivers().add(engine3d::kRendererGles, engine3d::glesDriver(1));
    const std::string resources = platform::getModuleFolder() + "../resources/";
    platform::setTempFolder("/tmp/skirrow-bench-battle-page/");
    for (const char* name : {"GUI", "scenes", "chopper", "flyable"})
      platform::registerArchive(std::string(name) + ".zip", resources + name);
    platform::setGuiFolder(resources + "GUI/");
    main_ = std::make_unique<platform::Window>("Skirrow", 0, false);
    main_->create(0, 0, config.profile.screenWidth, config.profile.screenHeight);
    platform::setScreenScaleFromWidth(main_->clientWidth());
    game::GameCanvas::Services services;
    services.resourceFolder = resources;
    services.guiFolder = platform::guiFolder();
    services.settingsFile = "gsetting.properties";
    services.seed = 3;
    game::GameLaunch launch;
    launch.teamCode = 3210;
    launch.openGl = openGl;
    auto page = std::make_unique<game::GameCanvas>(*runtime_, services, launch);
    page_ = page.get();
    main_->addChild(std::move(page), 0, 0, main_->clientWidth(), main_->clientHeight());
  }
  ~BattleProgram() {
    main_.reset();
    platform::setActiveIdleHandler(nullptr);
    platform::releaseArchives();
    runtime_.reset();
    host::Host::shutdown();
  }
  game::GameCanvas& page() { return *page_; }

 private:
  std::unique_ptr<media::Runtime> runtime_;
  std::unique_ptr<platform::Window> main_;
  game::GameCanvas* page_ = nullptr;
};

void BM_BattlePageFrame(benchmark::State& state) {
  const bool vga = state.range(0) == 480;
  const bool gl = state.range(1) != 0;
  BattleProgram program(vga ? "vga" : "qvga", gl);
  game::GameCanvas& page = program.page();
  if (!page.started()) {
    state.SkipWithError("the battle did not start; build `content` first");
    return;
  }
  // Unpaced: every call is one frame, a step of a thirtieth of a second of game time.
  page.setMaxFramesPerSecond(0);
  page.battle()->setDemo(true);
  host::Message idle{};
  for (int i = 0; i < 150; ++i) page.onIdle(idle, 0);  // into the fight
  for (auto _ : state) page.onIdle(idle, 0);
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["peakRssMB"] = peakRssMB();
}
BENCHMARK(BM_BattlePageFrame)
    ->ArgNames({"width", "gles"})
    ->Args({240, 0})
    ->Args({480, 0})
    ->Args({240, 1})
    ->Args({480, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_BattlePageFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    BattleProgram program("qvga", false);
    host::Message idle{};
    program.page().onIdle(idle, 0);
    benchmark::DoNotOptimize(program.page().battle());
  }
}
BENCHMARK(BM_BattlePageFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
