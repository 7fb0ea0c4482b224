#include "game/Simulation.h"

namespace game {

namespace {

// `assets` with its picture loader telling `loaded` what it hands out while `recording` is set.
BattleAssets recorded(BattleAssets assets,
                      std::vector<std::shared_ptr<engine3d::Texture>>& loaded,
                      const bool& recording) {
  if (engine3d::TextureLoader load = std::move(assets.models.textures)) {
    assets.models.textures = [load = std::move(load), &loaded,
                              &recording](const engine3d::TextureRequest& request) {
      std::shared_ptr<engine3d::Texture> texture = load(request);
      if (texture && recording) loaded.push_back(texture);
      return texture;
    };
  }
  return assets;
}

}  // namespace

Simulation::Simulation(BattleSettings settings, BattleAssets assets, std::optional<int> renderer,
                       const engine3d::RendererDrivers* drivers, int width, int height)
    : scene_(width, height),
      renderer_(renderer),
      drivers_(drivers),
      battle_(*this, std::move(settings), recorded(std::move(assets), loaded_, settingUp_)) {}

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
  settingUp_ = true;
  battle_.setUp();
  settingUp_ = false;
  // The software renderer reads a picture's texels, made on first use: make them now.
  if (renderer_)
    for (const std::shared_ptr<engine3d::Texture>& texture : loaded_) (void)texture->texels();
  loaded_ = {};
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
