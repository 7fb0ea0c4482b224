// Fuzzes the collision grid over whatever the 3DS reader makes of the bytes: the model is read
// and made a level as the battle does, the game's grid and one of a granularity and path-finder
// level drawn from the bytes are built, and points in, around and far outside the grid are
// asked along every axis in every mode (and along axes and modes that do not exist).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine3d/FixedPoint.h"
#include "engine3d/Model3dsLoader.h"
#include "game/Analyzer.h"
#include "game/Level.h"

namespace {

// A small deterministic generator seeded from the input, so every run of an input asks the
// same points.
class Draws {
 public:
  Draws(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) state_ = (state_ ^ data[i]) * 1099511628211ull;
  }
  std::uint32_t next() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  // Uniform in [lo, hi].
  float between(float lo, float hi) { return lo + (hi - lo) * (next() % 65536) / 65535.0f; }

 private:
  std::uint64_t state_ = 14695981039346656037ull;
};

void ask(const game::Analyzer& grid, Draws& draws) {
  const auto& minP = grid.minP();
  const auto& maxP = grid.maxP();
  float lo[3], hi[3];
  for (int k = 0; k < 3; ++k) {
    lo[k] = engine3d::fixedToFloatValue(minP[k]);
    hi[k] = engine3d::fixedToFloatValue(maxP[k]);
    // A margin of the grid's size (and at least a unit) around it: border rows get asked.
    const float margin = std::fmax(hi[k] - lo[k], 1.0f);
    lo[k] -= margin;
    hi[k] += margin;
  }
  const float special[] = {0.0f, -0.0f, 1e30f, -1e30f, INFINITY, -INFINITY, NAN, 3.4e38f};
  for (int n = 0; n < 64; ++n) {
    engine3d::Vector3 p(draws.between(lo[0], hi[0]), draws.between(lo[1], hi[1]),
                        draws.between(lo[2], hi[2]));
    if (n % 16 == 15) p.x = special[draws.next() % 8];
    if (n % 16 == 14) p.z = special[draws.next() % 8];
    for (int axis = -1; axis <= 3; ++axis) {
      for (int mode = -1; mode <= 3; ++mode) {
        const game::AxisHit hit = grid.query(p, axis, mode);
        if (hit.hit()) {
          // Touch what a hit hands out: it must point into the level.
          volatile int index = hit.face->index(0) + hit.face->index(1) + hit.face->index(2);
          volatile bool twoSided = hit.twoSided();
          volatile float d = hit.squaredDistance() + hit.object->radius;
          (void)index;
          (void)twoSided;
          (void)d;
        }
      }
    }
    if (const game::PathFinder* finder = grid.pathFinder()) {
      const game::PathFinder::Cell cell = finder->cellOf(p);
      volatile int content = finder->content(cell);
      volatile float centre = finder->centreOf(cell).x;
      (void)content;
      (void)centre;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  engine3d::ModelLoadOptions options;
  options.messages = [](const engine3d::UserMessage&) {};
  std::unique_ptr<engine3d::Group3D> level =
      engine3d::parseModel3ds(data, size, "", game::levelRadius(0), {}, options);
  if (!level) return 0;
  game::prepareLevel(*level);
  Draws draws(data, size);

  if (std::unique_ptr<game::Analyzer> grid = game::analyzeLevel(*level)) {
    ask(*grid, draws);
    volatile std::size_t cells = game::freeCells(*grid->pathFinder()).size();
    (void)cells;
    volatile std::size_t text = grid->info().size() + grid->pathFinder()->info().size();
    (void)text;
  }

  game::Analyzer::Options other;
  other.granularityX = static_cast<int>(draws.next() % 40) - 2;
  other.granularityY = static_cast<int>(draws.next() % 40) - 2;
  other.granularityZ = static_cast<int>(draws.next() % 40) - 2;
  other.pathFinderLevel = static_cast<int>(draws.next() % 8) - 1;
  if (draws.next() % 2) other.include = std::string(1, static_cast<char>('a' + draws.next() % 26));
  if (draws.next() % 2) other.exclude = std::string(1, static_cast<char>('a' + draws.next() % 26));
  other.progress = [](std::string_view, std::string_view, int) {};
  if (std::unique_ptr<game::Analyzer> grid = game::Analyzer::build(*level, "fuzz", other)) {
    ask(*grid, draws);
    volatile std::size_t text = grid->info().size();
    (void)text;
  }
  return 0;
}
