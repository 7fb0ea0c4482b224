// The battle's rules without drawing, on the built content (build the `content` target first):
//  - BM_GunshipStep: one helicopter's frame step with its three collision queries, flown by
//    hand across the room (frame steps per second);
//  - BM_BattleFrame: a whole battle frame of the rules (four computer pilots, flyers, effects,
//    camera), in every room, battles starting again as they end;
//  - BM_BattleSetUp: loading a room with its grid, four helicopters, flyers and pools.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "game/Simulation.h"
#include "host/Host.h"
#include "media/Runtime.h"
#include "platform/Files.h"
#include "platform/ResourceArchive.h"

namespace {

constexpr float kDt = 1.0f / 30.0f;

// A headless device with the resource archives registered, as the program has them.
class Session {
 public:
  Session() {
    host::HostConfig config;
    config.backend = host::BackendKind::Headless;
    config.profile = *host::findProfile("qvga");
    host::Host::restart(config);
    runtime_ = std::make_unique<media::Runtime>();
    resources_ = platform::getModuleFolder() + "../resources/";
    platform::setTempFolder("/tmp/skirrow-bench-battle/");
    for (const char* name : {"GUI", "scenes", "chopper", "flyable"})
      platform::registerArchive(std::string(name) + ".zip", resources_ + name);
  }
  ~Session() {
    platform::releaseArchives();
    runtime_.reset();
    host::Host::shutdown();
  }

  std::unique_ptr<game::Simulation> battle(int level) {
    game::BattleSettings settings;
    settings.level = level;
    settings.characters = {"Vega", "Rook", "Nova", "Juno"};
    settings.seed = 12;
    game::BattleAssets assets;
    assets.resourceFolder = resources_;
    assets.models.textures = runtime_->textures().loader();
    assets.models.messages = [](const engine3d::UserMessage&) {};
    auto sim = std::make_unique<game::Simulation>(settings, assets);
    sim->setUp();
    sim->start();
    return sim;
  }

 private:
  std::unique_ptr<media::Runtime> runtime_;
  std::string resources_;
};

void BM_GunshipStep(benchmark::State& state) {
  Session session;
  auto sim = session.battle(0);
  game::Battle& battle = sim->battle();
  game::Gunship& ship = battle.gunship(0);
  ship.reset(0.0f, 0.4f, {0.0f, 0.0f, 0.0f});
  ship.computerFlown = false;
  int frame = 0;
  for (auto _ : state) {
    // Full speed with a slow turn: it crosses the room, meets walls and furniture.
    ship.speed = 10.0f;
    ship.turn(++frame % 200 < 100, kDt);
    ship.update(kDt);
    benchmark::DoNotOptimize(ship.position);
  }
  state.counters["steps/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GunshipStep);

void BM_BattleFrame(benchmark::State& state) {
  Session session;
  auto sim = session.battle(static_cast<int>(state.range(0)));
  sim->battle().setDemo(true);
  for (int i = 0; i < 300; ++i) sim->step(kDt);  // into the fight
  for (auto _ : state) {
    sim->step(kDt);
    // A battle that has ended starts again, so every frame measured is one of a fight.
    if (!sim->battle().running()) sim->start();
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BattleFrame)->ArgName("room")->DenseRange(0, 6);

void BM_BattleSetUp(benchmark::State& state) {
  Session session;
  for (auto _ : state) {
    auto sim = session.battle(static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(sim.get());
  }
}
BENCHMARK(BM_BattleSetUp)->ArgName("room")->Arg(0)->Arg(6)->Unit(benchmark::kMillisecond);

}  // namespace
