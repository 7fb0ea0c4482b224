// What a page's object table costs: binding the battle page's table (about forty rows, three
// families) against the demo "GameCanvas.properties" loaded into a page, as every template load
// does once; and making and ending the run's runtime, as the program, the tool and every test
// do once. Uses the content builder's GUI folder (build the `content` target first).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "game/GameCanvasObjects.h"
#include "host/Host.h"
#include "media/GuiCanvas.h"
#include "media/Runtime.h"
#include "platform/Files.h"
#include "platform/ProcessSwitches.h"
#include "platform/Window.h"
#include "scene/TemplateFactory.h"

namespace {

void BM_BindBattlePageObjects(benchmark::State& state) {
  host::HostConfig config;
  config.backend = host::BackendKind::Headless;
  config.profile = *host::findProfile("qvga");
  host::Host::restart(config);
  {
    media::Runtime runtime;
    std::string gui = platform::getModuleFolder() + "../resources/GUI/";
    platform::setGuiFolder(gui);
    auto main = std::make_unique<platform::Window>("Skirrow", 0, false);
    main->create(0, 0, 240, 320);
    auto owned = std::make_unique<media::GuiCanvas>(runtime, "gameCanvas", true);
    media::GuiCanvas* page = owned.get();
    main->addChild(std::move(owned), 0, 0, 240, 320);
    page->pageTemplate().set("USE_DEV_COMPT_BMP", "1");
    scene::TemplateFactory::loadTemplate(*page, gui, "GameCanvas.properties", true);
    if (!page->findScene("sceneGUI")) state.SkipWithError("no demo tree; build `content` first");
    const auto& table = game::GameCanvasObjects::table();
    game::GameCanvasObjects objects;
    for (auto _ : state) {
      table.bind(objects, *page);
      benchmark::DoNotOptimize(objects.map);
    }
    state.counters["rows"] = static_cast<double>(table.requirements().objects.size());
    main.reset();
  }
  host::Host::shutdown();
}
BENCHMARK(BM_BindBattlePageObjects)->Unit(benchmark::kMicrosecond);

void BM_RuntimeLife(benchmark::State& state) {
  host::HostConfig config;
  config.backend = host::BackendKind::Headless;
  config.profile = *host::findProfile("qvga");
  host::Host::restart(config);
  for (auto _ : state) {
    media::Runtime runtime;
    benchmark::DoNotOptimize(&runtime);
  }
  host::Host::shutdown();
}
BENCHMARK(BM_RuntimeLife)->Unit(benchmark::kMicrosecond);

}  // namespace
