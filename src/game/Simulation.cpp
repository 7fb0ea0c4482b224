#include "game/Simulation.h"

namespace game {

Simulation::Simulation(BattleSettings settings, BattleAssets assets, std::optional<int> renderer,
                       const engine3d::RendererDrivers* drivers, int width, int height)
    : scene_(width, height),
      renderer_(renderer),
      drivers_(drivers),
      battle_(*this, std::move(settings), std::move(assets)) {}

// The scene's renderer goes before the models it draws; the battle's borrowed pointers into the
// scene are not used once the battle is being destroyed.
Simulation::~Simulation() = default;

engine3d::Group3D* Simulation::addModel(std::string_view name,
                                        std::unique_ptr<engine3d::Group3D> model) {
  model->name = std::string(name);
  return &scene_.add(std::move(model));
}

std::uint32_t Simulation::tickCount() {
  return static_cast<std::uint32_t>(seconds_ * 1000.0);
}

engine3d::Camera* Simulation::camera() {
  return renderer_ ? scene_.camera() : ownCamera_.get();
}

bool Simulation::setUp() {
  battle_.setUp();
  if (renderer_) {
    if (!drivers_ || !scene_.setUp(*drivers_, *renderer_) || !scene_.camera()) return false;
  } else {
    ownCamera_ = std::make_unique<engine3d::Camera>(&scene_, 0);
    ownCamera_->setViewport(scene_.width(), scene_.height());
  }
  camera()->setPerspective(50.0f, 1.0f, 3.0f * battle_.levelRadius());
  battle_.attachCamera(camera());
  battle_.setCameraMode(3);
  return true;
}

void Simulation::step(float dt, const PlayerInput& input) {
  battle_.frame(dt, input);
  if (renderer_ && scene_.renderer()) scene_.draw().renderScene(dt);
  battle_.advanceClock(dt);
  seconds_ += dt;
  while (seconds_ >= nextTick_) {
    nextTick_ += 1.0;
    if (periodicTicks) battle_.periodicTick();
  }
}

}  // namespace game
