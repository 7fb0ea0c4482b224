// Soak: long stretches of battle in every content room, drawn by the software renderer and not
// drawn at all, with battles starting again as they end. What a long session must not do: use
// more memory as it goes, allocate while it plays, leak open files, or crash.
//
// The short form (five game minutes per room and mode) runs with the suite, sanitizers too. The
// long form is the same test with SKIRROW_SOAK_MINUTES=60 (see docs/SOAK.md).
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>

#include "AllocationCounter.h"
#include "BattleFixture.h"
#include "engine3d/Light.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "game/Roster.h"

namespace game::testing {
namespace {

constexpr float kDt = 1.0f / 30.0f;

int soakMinutes() {
  const char* text = std::getenv("SKIRROW_SOAK_MINUTES");
  const int minutes = text ? std::atoi(text) : 0;
  return minutes > 0 ? minutes : 5;
}

// Resident memory of this process in bytes (the second field of /proc/self/statm, in pages).
long residentBytes() {
  long size = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &size, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * ::sysconf(_SC_PAGESIZE);
}

// The open file descriptors of this process.
int openFiles() {
  int count = 0;
  if (DIR* dir = ::opendir("/proc/self/fd")) {
    while (::readdir(dir)) ++count;
    ::closedir(dir);
  }
  return count;
}

struct Figures {
  long residentAfterMinute = 0;
  long residentAtEnd = 0;
  int filesAfterMinute = 0;
  int filesAtEnd = 0;
  std::int64_t allocations = 0;  // from the first frame on
  int games = 0;                 // games finished
  int bullets = 0;               // fired in the whole soak
  double seconds = 0.0;
};

// The bullets fired since the helicopters were made.
int bulletsFired(Battle& battle) {
  int bullets = 0;
  for (int slot = 0; slot < kHelicopters; ++slot)
    bullets += battle.gunship(slot).cannon().bulletsFired();
  return bullets;
}

class SoakTest : public BattleTest, public ::testing::WithParamInterface<std::tuple<int, bool>> {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    runtime_->drivers().add(engine3d::kRendererSoftware, engine3d::softwareDriver());
  }

  // Plays `minutes` of game time in `room`: a demonstration (all four helicopters flown by
  // their pilots), a new game at once whenever one ends.
  Figures soak(int room, bool draw, int minutes) {
    BattleSettings s = settings(room, 1000u + static_cast<std::uint32_t>(room));
    std::optional<int> renderer;
    if (draw) renderer = engine3d::kRendererSoftware;
    simulation_ =
        std::make_unique<Simulation>(s, assets(true), renderer, &runtime_->drivers());
    Simulation& sim = *simulation_;
    // Lit as the battle page's world is: the renderer relights whenever the camera turns.
    sim.scene().lights.push_back(
        engine3d::Light::make("sun", engine3d::Vector3(0.3f, -1.0f, 0.4f), 0xFFF0E0));
    sim.scene().lights.push_back(
        engine3d::Light::make("a lamp whose name is long enough to live on the heap",
                              engine3d::Vector3(-0.5f, -0.2f, -1.0f), 0x405080));
    Figures figures;
    if (!sim.setUp()) {
      ADD_FAILURE() << "the battle could not be set up";
      return figures;
    }
    sim.start();
    sim.battle().setDemo(true);
    const int frames = minutes * 60 * 30;
    CountingAllocations allocations;
    for (int frame = 0; frame < frames; ++frame) {
      sim.step(kDt);
      if (!sim.battle().running()) {
        ++figures.games;
        sim.battle().retry();
        sim.battle().setDemo(true);
      }
      if (frame == 60 * 30) {
        figures.residentAfterMinute = residentBytes();
        figures.filesAfterMinute = openFiles();
      }
    }
    figures.allocations = allocations.count();
    figures.bullets = bulletsFired(sim.battle());
    figures.residentAtEnd = residentBytes();
    figures.filesAtEnd = openFiles();
    figures.seconds = sim.seconds();
    return figures;
  }
};

TEST_P(SoakTest, PlaysWithoutGrowingAllocatingOrLeakingFiles) {
  const auto [room, draw] = GetParam();
  const int minutes = soakMinutes();
  const Figures f = soak(room, draw, minutes);
  std::printf("soak room %d %s: %d min, %d games, resident %.0f KB after a minute, growth %+.1f KB,"
              " %lld allocations, files %d -> %d\n",
              room, draw ? "drawn" : "not drawn", minutes, f.games,
              f.residentAfterMinute / 1024.0, (f.residentAtEnd - f.residentAfterMinute) / 1024.0,
              static_cast<long long>(f.allocations), f.filesAfterMinute, f.filesAtEnd);
  EXPECT_NEAR(f.seconds, minutes * 60.0, 1.0);
  EXPECT_EQ(f.allocations, 0) << "play allocates";
  EXPECT_LT(f.residentAtEnd - f.residentAfterMinute, 1024 * 1024) << "memory grows";
  EXPECT_EQ(f.filesAtEnd, f.filesAfterMinute) << "open files change";
  // A soak in which nothing is fought proves little.
  EXPECT_GT(f.bullets, 100);
}

std::string soakName(const ::testing::TestParamInfo<std::tuple<int, bool>>& info) {
  return "Room" + std::to_string(std::get<0>(info.param)) +
         (std::get<1>(info.param) ? "Drawn" : "NotDrawn");
}

INSTANTIATE_TEST_SUITE_P(EveryRoom, SoakTest,
                         ::testing::Combine(::testing::Range(0, 7), ::testing::Bool()),
                         soakName);

using SoakRooms = BattleTest;

TEST_F(SoakRooms, TheContentHasSevenRooms) {
  // The soak's rooms above are the content's: a room added there must be soaked too.
  EXPECT_EQ(roomNames(resourceFolder()).size(), 7u);
}

}  // namespace
}  // namespace game::testing
