// The collision grid over the seven rooms of the built content: building the game's grid
// (24 x 12 x 24, path-finder level 2) and asking it the game's question (mode 2, the nearest
// face along an axis) at random points of the room, the three axes in turn.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine3d/FixedPoint.h"
#include "game/Analyzer.h"
#include "game/Level.h"
#include "platform/Files.h"
#include "platform/ResourceArchive.h"

namespace {

// The rooms as the battle loads them (without pictures), room 6 out of scenes.zip.
const engine3d::Group3D* room(int number) {
  static std::unique_ptr<engine3d::Group3D> rooms[7];
  if (!rooms[number]) {
    const std::string scenes = platform::getModuleFolder() + "../resources/scenes/";
    static const bool archive = [&] {
      std::string temp = "/tmp/skirrow-bench-XXXXXX";
      if (!::mkdtemp(temp.data())) return false;
      platform::setTempFolder(temp + "/");
      platform::registerArchive("scenes.zip", scenes);
      std::atexit(platform::releaseArchives);
      return true;
    }();
    (void)archive;
    engine3d::ModelLoadOptions options;
    options.messages = [](const engine3d::UserMessage&) {};
    rooms[number] = game::loadLevel(scenes + "level" + std::to_string(number) + "/",
                                    game::levelRadius(number), options);
  }
  return rooms[number].get();
}

void BM_BuildGrid(benchmark::State& state) {
  const engine3d::Group3D* level = room(static_cast<int>(state.range(0)));
  if (!level) {
    state.SkipWithError("room not found; build `content` first");
    return;
  }
  for (auto _ : state) {
    std::unique_ptr<game::Analyzer> grid = game::analyzeLevel(*level);
    benchmark::DoNotOptimize(grid.get());
  }
  state.counters["faces"] = level->faceCount();
}
BENCHMARK(BM_BuildGrid)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

void BM_NearestQuery(benchmark::State& state) {
  const engine3d::Group3D* level = room(static_cast<int>(state.range(0)));
  if (!level) {
    state.SkipWithError("room not found; build `content` first");
    return;
  }
  std::unique_ptr<game::Analyzer> grid = game::analyzeLevel(*level);
  std::mt19937 random(7);
  std::vector<engine3d::Vector3> points(4096);
  for (engine3d::Vector3& p : points) {
    float at[3];
    for (int k = 0; k < 3; ++k) {
      std::uniform_real_distribution<float> across(engine3d::fixedToFloatValue(grid->minP()[k]),
                                                   engine3d::fixedToFloatValue(grid->maxP()[k]));
      at[k] = across(random);
    }
    p.set(at[0], at[1], at[2]);
  }
  std::size_t i = 0;
  int hits = 0;
  for (auto _ : state) {
    const game::AxisHit hit = grid->query(points[i & 4095], static_cast<int>(i % 3));
    hits += hit.hit();
    benchmark::DoNotOptimize(hit);
    ++i;
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
  state.counters["hit%"] = 100.0 * hits / static_cast<double>(state.iterations());
}
BENCHMARK(BM_NearestQuery)->DenseRange(0, 6)->Unit(benchmark::kNanosecond);

}  // namespace
