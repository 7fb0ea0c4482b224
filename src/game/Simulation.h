// Simulation: a battle run without a page, for tools, tests and benchmarks.
//
// It stands in for the battle page as the battle's host: its world is a standalone 3D scene
// (drawn by a renderer when one is asked for), its clock is the game time it has stepped, and
// its periodic tick comes every second of that time, as the page's does. Sounds and engine
// pauses are only counted. Without drawing, an hour of battle costs only the game rules.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine3d/Camera.h"
#include "engine3d/RendererDrivers.h"
#include "engine3d/StandaloneScene.h"
#include "engine3d/Texture.h"
#include "game/Battle.h"

namespace game {

class Simulation : public BattleHost {
 public:
  // `renderer`: engine3d::kRendererSoftware or kRendererGles, from `drivers`, to draw every
  // frame into a picture of `width` x `height`; nothing for no drawing (the camera still works,
  // for the bullet marks). `drivers` must outlive the simulation when given.
  Simulation(BattleSettings settings, BattleAssets assets, std::optional<int> renderer = {},
             const engine3d::RendererDrivers* drivers = nullptr, int width = 240,
             int height = 320);
  ~Simulation() override;

  // The battle's set-up, then the camera as the page sets it (50 degrees, near 1, far three
  // level radii, mode 3). False when drawing was asked for and the renderer could not be made.
  // When drawing, every picture the battle loaded is made ready for the renderer here (its
  // texels converted), so that the first frame that shows a picture does not allocate.
  bool setUp();
  // Starts the game (also after a game over: a fresh start, as a retry does).
  void start() { battle_.start(); }

  // One frame of `dt` seconds (at most 0.1): the battle's frame with `input`, the drawing, the
  // clock, and the periodic tick whenever another whole second of game time has passed.
  void step(float dt, const PlayerInput& input = {});

  Battle& battle() { return battle_; }
  engine3d::StandaloneScene& scene() { return scene_; }
  engine3d::Camera* camera();
  double seconds() const { return seconds_; }
  int soundsPlayed() const { return soundsPlayed_; }
  int gamesEnded() const { return gamesEnded_; }
  // When false, step() leaves the periodic tick out (a test that flies without the outcome or
  // the pilots' target choice getting in the way).
  bool periodicTicks = true;
  // Told the name of every sound the battle plays (tests listen in).
  std::function<void(std::string_view)> soundListener;

  // BattleHost.
  engine3d::Group3D* addModel(std::string_view name,
                              std::unique_ptr<engine3d::Group3D> model) override;
  std::uint32_t tickCount() override;
  void playSound(std::string_view name) override {
    ++soundsPlayed_;
    if (soundListener) soundListener(name);
  }
  void gameEnded(GameResult result) override { ++gamesEnded_; }

 private:
  engine3d::StandaloneScene scene_;
  std::optional<int> renderer_;
  const engine3d::RendererDrivers* drivers_;
  std::unique_ptr<engine3d::Camera> ownCamera_;
  // The pictures handed to the battle while it sets up (emptied once they are made ready).
  std::vector<std::shared_ptr<engine3d::Texture>> loaded_;
  bool settingUp_ = false;
  Battle battle_;
  double seconds_ = 0.0;
  double nextTick_ = 1.0;
  int soundsPlayed_ = 0;
  int gamesEnded_ = 0;
};

}  // namespace game
