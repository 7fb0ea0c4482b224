#include "game/BattleCamera.h"

#include "engine3d/MathTables.h"
#include "engine3d/ScalarMath.h"
#include "game/Battle.h"

namespace game {

namespace {

using engine3d::Vector3;

constexpr int kFixed = -2;

}  // namespace

void BattleCamera::attach(engine3d::Camera* camera) {
  camera_ = camera;
  follow_ = camera ? std::make_unique<FollowCamera>(*camera) : nullptr;
}

int BattleCamera::followKind() const {
  return follow_ ? follow_->followKind() : kFixed;
}

void BattleCamera::setMode(int mode) {
  Battle& battle = battle_;
  for (int slot = 0; slot < kHelicopters; ++slot) battle.gunship(slot).showCockpit(false);
  mode_ = mode;
  if (!follow_) return;
  Gunship& viewed = battle.gunship(battle.viewedSlot());
  const engine3d::Matrix4* followed =
      viewed.node() ? &viewed.node()->localMatrix : &viewed.orientation;
  Dice& dice = battle.dice();
  const Vector3& e = battle.extent();
  switch (mode) {
    case 0:
      camera_->setEye(followed->transformPoint({0.0f, 0.0f, 20.0f}));
      follow_->setFollow(5, followed, 6.0f, 80.0f, {0.0f, 0.0f, -1.0f});
      break;
    case 1:
      follow_->setFollow(0, followed, 20.0f, 0.0f, {dice.real(-0.3f, 0.3f), 0.0f, -1.0f});
      break;
    case 2:
      follow_->setFollow(4, followed, 0.4f, 0.0f, {0.0f, -0.08f, 1.0f});
      viewed.showCockpit(true);
      break;
    case 3: {
      follow_->setFollow(kFixed, nullptr, 0.0f, 0.0f, {});
      const float a = dice.real(0.0f, 2.0f * engine3d::kPi);
      camera_->setEye(engine3d::cosLookup(a) * e.x / 2.0f, e.y,
                      engine3d::sinLookup(a) * e.x / 2.0f);
      camera_->setTarget(0.0f, -0.4f * e.y, 0.001f);
      camera_->setUp(0.0f, 1.0f, 0.0f);
      break;
    }
    case 4:
      follow_->setFollow(kFixed, nullptr, 0.0f, 0.0f, {});
      camera_->setEye(0.0f, 2.0f * battle.levelRadius(), 0.0f);
      camera_->setTarget(0.0f, -1.0f, 0.001f);
      camera_->setUp(0.0f, 1.0f, 0.0f);
      break;
    case 5:
      follow_->setFollow(3, followed, -8.0f, 0.0f, {dice.heads() ? 0.2f : -0.2f, 0.0f, -1.0f});
      break;
    case 6:
      follow_->setFollow(1, followed, 8.0f, 0.0f, {dice.heads() ? 1.0f : -1.0f, 0.0f, 0.0f});
      break;
    case 7:
      follow_->setFollow(2, followed, 20.0f, 0.0f, {0.0f, 1.0f, 0.0f});
      break;
    default:
      break;
  }
}

void BattleCamera::update(float dt) {
  if (!follow_) return;
  follow_->update(dt);
  const int kind = follow_->followKind();
  if (kind != 5 && kind != 6) return;
  const Gunship& viewed = battle_.gunship(battle_.viewedSlot());
  const float h = viewed.landed ? 0.3f : (kind == 5 ? 0.0f : 0.4f);
  follow_->setDirection({0.0f, h, -1.0f});
  const Vector3 bound = battle_.extent() * 0.45f;
  Vector3 eye = camera_->eye();
  eye.x = engine3d::clamp(eye.x, -bound.x, bound.x);
  eye.y = engine3d::clamp(eye.y, -bound.y, bound.y);
  eye.z = engine3d::clamp(eye.z, -bound.z, bound.z);
  camera_->setEye(eye);
}

}  // namespace game
