// Frames per second of a busy menu page: a full-screen background picture under 30 sprites with
// button pictures and GDI text (every tenth one pressed, so both pictures are in use), in a
// buffered scene and straight on the page, at 240x320 and 480x640. One iteration is one whole
// frame as the pump's idle pass runs it: scenes drawn, back buffer shown on the device screen.
// Uses the content builder's GUI pictures (build the `content` target first).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "host/Host.h"
#include "host/Messages.h"
#include "host/System.h"
#include "media/GuiCanvas.h"
#include "media/Runtime.h"
#include "platform/Files.h"
#include "platform/ProcessSwitches.h"
#include "platform/Window.h"
#include "scene/TemplateFactory.h"

namespace {

const char* kButtons[] = {"b_ok.gif",    "b_no.gif",    "b_yes.gif",  "b_exit.gif",
                          "b_start.gif", "b_reset.gif", "b_done.gif", "b_team.gif"};

// The menu template, written beside the GUI pictures so their names resolve.
std::string writeMenu(const std::string& gui, bool buffered) {
  std::string name = buffered ? "bench_menu_buffered.properties" : "bench_menu.properties";
  std::ofstream out(gui + name);
  out << "sceneMenu=type:SceneSprite, bkgTexture:menu_bg.jpg, buffered:" << (buffered ? 1 : 0)
      << "\n";
  for (int i = 0; i < 30; ++i) {
    out << "btn" << i << "=type:Sprite, container:sceneMenu, x:" << 8 + (i % 3) * 76
        << ", y:" << 8 + (i / 3) * 30 << ", width:72, height:26, texture:" << kButtons[i % 8]
        << ", bright:" << kButtons[(i + 1) % 8] << ", text:Item " << i
        << ", textColor:(255;255;255), textAlignment:CENTER, textSize:12, GUIType:button"
        << (i % 10 == 0 ? ", status:1" : "") << "\n";
  }
  return name;
}

void BM_MenuFrame(benchmark::State& state) {
  const bool vga = state.range(0) == 480;
  const bool buffered = state.range(1) != 0;
  host::HostConfig config;
  config.backend = host::BackendKind::Headless;
  config.profile = *host::findProfile(vga ? "vga" : "qvga");
  host::Host::restart(config);
  auto runtime = std::make_unique<media::Runtime>();

  std::string gui = platform::getModuleFolder() + "../resources/GUI/";
  std::string name = writeMenu(gui, buffered);
  auto main = std::make_unique<platform::Window>("Skirrow", 0, false);
  main->create(0, 0, config.profile.screenWidth, config.profile.screenHeight);
  platform::setScreenScaleFromWidth(main->clientWidth());
  auto owned = std::make_unique<media::GuiCanvas>(*runtime, "gamePage", true);
  media::GuiCanvas* page = owned.get();
  main->addChild(std::move(owned), 0, 0, main->clientWidth(), main->clientHeight());
  scene::TemplateFactory::loadTemplate(*page, gui, name, true);
  if (page->scenes().empty()) state.SkipWithError("menu did not load; build `content` first");
  page->setActive(true);

  host::Message idle{};
  for (auto _ : state) page->onIdle(idle, 0);
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  main.reset();
  runtime.reset();
  std::remove((gui + name).c_str());
  host::Host::shutdown();
}
BENCHMARK(BM_MenuFrame)
    ->ArgNames({"width", "buffered"})
    ->Args({240, 0})
    ->Args({240, 1})
    ->Args({480, 0})
    ->Args({480, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
