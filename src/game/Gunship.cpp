#include "game/Gunship.h"

#include <algorithm>
#include <cmath>

#include "engine3d/Material.h"
#include "engine3d/ScalarMath.h"
#include "game/Battle.h"

namespace game {

namespace {

using engine3d::Matrix4;
using engine3d::Vector3;

constexpr const char* kModel = "chopper_LOD.3ds";

// The cockpit parts sit around the model's centre; the cockpit camera looks at them from inside.
Matrix4 placed(const Vector3& scale, const Vector3& offset) {
  Matrix4 m;
  m.setScale(scale);
  m.setTranslation(offset);
  return m;
}

}  // namespace

Gunship::Gunship(Battle& battle, int slot)
    : battle_(battle), slot_(slot), pilot_(*this), cannon_(*this) {}

bool Gunship::create(const std::string& characterName, bool enemy) {
  enemy_ = enemy;
  const int skill = battle_.settings().skill;
  if (enemy_) {
    hitRadius2 = (1.0f - 0.2f * static_cast<float>(skill)) * 2.2f;
    turnFactor = 1.0f / (1.0f + 1.5f * static_cast<float>(skill));
  } else {
    hitRadius2 = 2.2f;
    turnFactor = 1.0f;
  }
  cannon_.create();

  const std::string folder = battle_.assets().resourceFolder + "chopper\\";
  std::unique_ptr<engine3d::Group3D> model = battle_.models().get(folder, kModel, kModelRadius);
  if (!model) return false;
  model->setDetailLevel(engine3d::kShadingUnlit);
  model->prepare(true);
  const engine3d::TextureLoader& textures = battle_.assets().models.textures;
  if (textures) {
    std::shared_ptr<engine3d::Texture> skin =
        textures({folder, "chopper_" + characterName + ".jpg", true, false});
    for (const char* part : {"body", "body_ds"})
      if (engine3d::Mesh* mesh = model->findMesh(part); mesh && mesh->material && skin)
        mesh->material->attachTexture(skin);
    if (engine3d::Mesh* spark = model->findMesh("spark"); spark && spark->material) {
      if (auto picture = textures({folder, "spark.gif", true, false}))
        spark->material->attachTexture(std::move(picture));
    }
  }
  if (engine3d::Mesh* dashboard = model->findMesh("dashboard")) {
    dashboard->localMatrix = placed({4.0f, 4.0f, 1.0f}, {0.0f, -0.33f, 0.66f});
    dashboard->visible = false;
  }
  if (engine3d::Mesh* hud = model->findMesh("hud")) {
    hud->localMatrix = placed({6.0f, 6.0f, 1.0f}, {0.0f, 0.044f, 0.66f});
    hud->visible = false;
  }
  if (engine3d::Mesh* spark = model->findMesh("spark")) spark->visible = false;
  rotor1_ = model->findMesh("rotor1");
  rotor2_ = model->findMesh("rotor2");
  if (rotor1_)
    rotor1Spin_ = Matrix4::rotationAbout({0.0f, 1.0f, 0.0f}, 0.2f * engine3d::kPi, rotor1_->centre);
  if (rotor2_)
    rotor2Spin_ =
        Matrix4::rotationAbout({1.0f, 0.0f, 0.0f}, 0.25f * engine3d::kPi, rotor2_->centre);
  modelHeight_ = model->size.y;
  node_ = battle_.host().addModel("chopper", std::move(model));
  return node_ != nullptr;
}

void Gunship::reset(float newSpeed, float newHeading, const Vector3& newPosition) {
  health = 100;
  computerFlown = true;
  dead = false;
  dying = false;
  landed = false;
  target = nullptr;
  attacker = nullptr;
  speed = newSpeed;
  sideSpeed = 0.0f;
  yawRate = 0.0f;
  roll = pitch = 0.0f;
  rollShake = pitchShake = yawShake = 0.0f;
  verticalDrift = 0.0f;
  targetSpeed = 0.0f;
  landedTime = 0.0f;
  cooldown = 0.0f;
  lastTriangle = nullptr;
  velocity = Vector3();
  heading = newHeading;
  position = newPosition;
  previousPosition = newPosition;
  orientation.setIdentity();
  if (node_) node_->localMatrix.setIdentity();
  pilot_.reset();
}

void Gunship::revive() {
  computerFlown = true;
  health = 100;
  dead = false;
  dying = false;
}

void Gunship::turn(bool left, float amount) {
  yawRate += left ? -amount * 0.05f : amount * 0.05f;
  yawRate = engine3d::clamp(yawRate, -kMaxYawRate, kMaxYawRate);
}

void Gunship::turnDecay(float dt) {
  yawRate *= std::max(0.0f, 1.0f - 2.0f * dt);
}

void Gunship::climb(bool up, float amount) {
  if (up)
    velocity.y = std::min(velocity.y + (8.0f + (landed ? 40.0f : 0.0f)) * amount, 9.0f);
  else
    velocity.y = std::max(velocity.y - 8.0f * amount, -9.0f);
}

void Gunship::accelerate(bool forwardWay, float dt) {
  if (forwardWay)
    speed = std::min(speed + 8.0f * dt, 10.0f);
  else
    speed = std::max(speed - 8.0f * dt, -8.0f);
}

void Gunship::speedDecay(float dt) {
  const float k = 1.0f - 0.5f * dt;
  speed *= k;
  sideSpeed *= k;
}

void Gunship::setTargetSpeed(float factor) {
  targetSpeed = factor * 10.0f;
}

void Gunship::approach(float desiredSpeed, float desiredHeight, float dt, bool followHeight) {
  speed += (desiredSpeed - speed) * dt * 2.0f;
  sideSpeed = 0.0f;
  if (!followHeight) return;
  const float e = desiredHeight - position.y;
  climb(e > 0.0f, turnFactor * std::min(std::fabs(e) * 0.2f, 1.5f) * dt);
}

void Gunship::stop() {
  speed = 0.0f;
  sideSpeed = 0.0f;
  velocity = Vector3();
}

void Gunship::changeHealth(int amount) {
  if (battle_.settings().training) {
    health = 100;
    return;
  }
  const bool alive = health > 0;
  health = std::clamp(health + amount, 0, 100);
  if (alive && health == 0) startDying();
}

void Gunship::hitReaction() {
  const float s = battle_.dice().heads() ? -1.0f : 1.0f;
  rollShake = 0.1f * s;
  pitchShake = 0.1f * s;
  battle_.explode(speed, orientation, false);
}

void Gunship::startDying() {
  if (dying) return;
  dying = true;
  target = nullptr;
  battle_.explode(speed, orientation, true);
  battle_.assignTargets();
}

void Gunship::destroy() {
  battle_.explode(speed, orientation, true);
  dead = true;
  battle_.countLoss(team());
  battle_.addScore(1 - team(), 5000);
  if (battle_.viewedSlot() == slot_) battle_.switchView(slot_ < 2 ? 1 - slot_ : 0);
}

void Gunship::showPart(const char* name, bool visible) {
  if (!node_) return;
  if (engine3d::Mesh* part = node_->findMesh(name)) part->visible = visible;
}

void Gunship::showCockpit(bool cockpit) {
  for (const char* part : {"body", "windowL", "windowR"}) showPart(part, !cockpit);
  for (const char* part : {"dashboard", "hud"}) showPart(part, cockpit);
}

void Gunship::resetRotors() {
  if (rotor1_) rotor1_->localMatrix.setIdentity();
  if (rotor2_) rotor2_->localMatrix.setIdentity();
}

void Gunship::spinRotors() {
  if (rotor1_) rotor1_->localMatrix = rotor1Spin_ * rotor1_->localMatrix;
  if (rotor2_) rotor2_->localMatrix = rotor2Spin_ * rotor2_->localMatrix;
}

}  // namespace game
