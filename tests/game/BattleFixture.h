// Battles on the real content, headless: a fresh host per test, the build's resource tree with
// its archives (room 6 lives only in one), and battles run by game::Simulation.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/Simulation.h"
#include "media/Runtime.h"
#include "platform/ResourceArchive.h"
#include "support/HeadlessHost.h"
#include "support/TempFolder.h"

namespace game::testing {

// The folder the build writes the content into, with its separator.
inline std::string resourceFolder() {
  return std::string(SKIRROW_BIN_DIR) + "/../resources/";
}

class BattleTest : public testing_support::HeadlessHostTest {
 protected:
  void SetUp() override {
    HeadlessHostTest::SetUp();
    runtime_ = std::make_unique<media::Runtime>();
    platform::setTempFolder(temp_.path() + "/");
    for (const char* name : {"GUI", "scenes", "chopper", "flyable"})
      platform::registerArchive(std::string(name) + ".zip", resourceFolder() + name);
  }
  void TearDown() override {
    simulation_.reset();
    platform::releaseArchives();
    runtime_.reset();
    HeadlessHostTest::TearDown();
  }

  // The four pilots of the content, slot 0 first.
  static BattleSettings settings(int level, std::uint32_t seed = 7, bool training = false) {
    BattleSettings s;
    s.level = level;
    s.characters = {"Vega", "Nova", "Rook", "Juno"};
    s.seed = seed;
    s.training = training;
    return s;
  }
  // Without pictures unless asked: the rules do not look at them.
  BattleAssets assets(bool pictures = false) {
    BattleAssets a;
    a.resourceFolder = resourceFolder();
    if (pictures) a.models.textures = runtime_->textures().loader();
    a.models.messages = [](const engine3d::UserMessage&) {};
    return a;
  }

  // A set-up (not started) battle in `level`; drawn by `renderer` when given.
  Simulation& simulate(const BattleSettings& s, std::optional<int> renderer = {},
                       bool pictures = false) {
    simulation_ =
        std::make_unique<Simulation>(s, assets(pictures || renderer.has_value()), renderer);
    EXPECT_TRUE(simulation_->setUp());
    return *simulation_;
  }

  // Steps `seconds` of game time at 30 frames per second.
  static void run(Simulation& sim, float seconds, const PlayerInput& input = {}) {
    const int frames = static_cast<int>(seconds * 30.0f + 0.5f);
    for (int i = 0; i < frames; ++i) sim.step(1.0f / 30.0f, input);
  }

  testing_support::TempFolder temp_;
  std::unique_ptr<media::Runtime> runtime_;
  std::unique_ptr<Simulation> simulation_;
};

}  // namespace game::testing
