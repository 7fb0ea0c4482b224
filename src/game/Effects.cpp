#include "game/Effects.h"

#include <cmath>

#include "engine3d/FixedPoint.h"
#include "engine3d/Material.h"
#include "engine3d/Primitives.h"
#include "engine3d/ScalarMath.h"
#include "game/Battle.h"
#include "game/Dice.h"

namespace game {

namespace {

using engine3d::Matrix4;
using engine3d::Vector3;

constexpr float kPuffLife = 2.0f;

// A quad of `radius` facing its own z axis, hidden, with its own material.
std::unique_ptr<engine3d::Chip3D> quad(float radius, std::shared_ptr<engine3d::Texture> texture,
                                       std::shared_ptr<engine3d::Texture> alpha) {
  auto chip = engine3d::Chip3D::create(1.0f, 1.0f, radius, engine3d::kChipFacingZ,
                                       std::move(texture), std::move(alpha), false);
  chip->visible = false;
  return chip;
}

}  // namespace

void Projectile::launch(float newSpeed, const Matrix4& matrix) {
  speed = newSpeed;
  verticalVelocity = 0.0f;
  gravity = 9.8f;
  orientation = matrix;
  position = matrix.translation();
  launchPosition = position;
  if (node) node->localMatrix = orientation;
}

void Projectile::step(float dt) {
  Vector3 d = orientation.transformDirection(Vector3(0.0f, 0.0f, speed * dt));
  verticalVelocity += gravity * dt;
  d.y -= verticalVelocity * dt;
  position += d;
  orientation.setTranslation(position);
  if (node) node->localMatrix = orientation;
}

Matrix4 emissionMatrix(const Matrix4& frame, const Vector3& point) {
  Matrix4 m = frame;
  m.setTranslation(frame.transformPoint(point));
  return m;
}

void Effect::activate() {
  active = true;
  age = 0.0f;
  if (motion.node) motion.node->visible = true;
}

void Effect::retire() {
  active = false;
  if (motion.node) motion.node->visible = false;
}

void createPuff(Effect& effect, PuffKind kind, const EffectArt& art, Dice& dice, BattleHost& host) {
  const bool fume = kind == PuffKind::kFume;
  auto chip = quad(fume ? 0.6f : 0.3f, nullptr, art.fume[dice.integer(0, 100) % 3]);
  chip->billboard = engine3d::kBillboardScreen;
  chip->setColour(fume ? 0x000000 : 0xFFFFFF);
  chip->setDetailLevel(engine3d::kShadingUnlitTransparent);
  effect.material = chip->firstMaterial();
  effect.motion.node = host.addModel(fume ? "fume" : "smoke", std::move(chip));
}

bool updatePuff(Effect& puff, float dt) {
  puff.age += dt;
  if (puff.age >= kPuffLife) {
    puff.retire();
    return false;
  }
  puff.motion.step(dt);
  if (puff.material) puff.material->transparency = static_cast<int>(puff.age / kPuffLife * 240.0f);
  return true;
}

void EffectPools::create(const EffectArt& art, BattleHost& host) {
  for (Effect& mark : marks_) {
    auto chip = quad(0.5f, art.bulletMark, art.bulletMark);
    chip->setDetailLevel(engine3d::kShadingUnlitTransparent);
    mark.material = chip->firstMaterial();
    mark.motion.node = host.addModel("mark", std::move(chip));
  }
  for (Effect& explosion : explosions_) {
    auto chip = quad(2.0f, art.explosion, art.explosion);
    chip->billboard = engine3d::kBillboardScreen;
    chip->setDetailLevel(engine3d::kShadingUnlit);
    // The quad shows one frame of the 4 x 4 sheet: a quarter of the picture each way.
    for (engine3d::Vertex& v : chip->firstMesh()->vertices) {
      v.u /= 4;
      v.v /= 4;
    }
    explosion.material = chip->firstMaterial();
    explosion.motion.node = host.addModel("explosion", std::move(chip));
  }
}

bool EffectPools::spawnExplosion(float speed, const Matrix4& matrix) {
  Effect* explosion = firstInactive(explosions_);
  if (!explosion) return false;
  explosion->activate();
  explosion->motion.launch(speed, matrix);
  explosion->motion.gravity = 0.0f;
  if (explosion->material) {
    explosion->material->textureOffsetU = 0;
    explosion->material->textureOffsetV = 0;
  }
  return true;
}

void EffectPools::placeMark(int axis, const Vector3& point, engine3d::Camera* camera, Dice& dice) {
  if (!camera) return;
  float x = 0.0f, y = 0.0f;
  if (!projectToScreen(*camera, point, x, y)) return;
  int width = 0, height = 0;
  camera->getViewport(width, height);
  if (x < 0.0f || y < 0.0f || x > static_cast<float>(width) || y > static_cast<float>(height))
    return;
  Effect* mark = firstInactive(marks_);
  if (!mark) return;
  const float quarter = engine3d::kPi / 2.0f;
  Matrix4 facing = axis == 0   ? Matrix4::rotationY(quarter)
                   : axis == 1 ? Matrix4::rotationX(quarter)
                               : Matrix4::identity();
  Matrix4 m = facing * Matrix4::rotationZ(dice.real(0.0f, 2.0f * engine3d::kPi));
  m.setTranslation(point);
  mark->motion.orientation = m;
  mark->motion.position = point;
  if (mark->motion.node) mark->motion.node->localMatrix = m;
  if (mark->material) mark->material->transparency = 0;
  mark->activate();
}

void explosionFrameOffset(int frame, std::int32_t& u, std::int32_t& v) {
  const std::int32_t quarter = engine3d::fixedOne / 4;
  u = (frame % 4) * quarter;
  v = (frame / 4) * quarter;
}

void EffectPools::update(float dt) {
  for (Effect& mark : marks_) {
    if (!mark.active) continue;
    mark.age += dt;
    if (mark.age >= kMarkLife) {
      mark.retire();
      continue;
    }
    if (mark.material)
      mark.material->transparency = static_cast<int>(mark.age / kMarkLife * 220.0f);
  }
  for (Effect& explosion : explosions_) {
    if (!explosion.active) continue;
    explosion.age += dt;
    if (explosion.age >= kExplosionLife) {
      explosion.retire();
      continue;
    }
    explosion.motion.step(dt);
    const int frame = static_cast<int>(explosion.age / kExplosionLife * 16.0f);
    if (explosion.material)
      explosionFrameOffset(frame, explosion.material->textureOffsetU,
                           explosion.material->textureOffsetV);
  }
}

void EffectPools::clear() {
  for (Effect& mark : marks_) mark.retire();
  for (Effect& explosion : explosions_) explosion.retire();
}

bool projectToScreen(engine3d::Camera& camera, const Vector3& point, float& x, float& y) {
  const Vector3 eye = camera.viewMatrix().transformPoint(point);
  if (!(eye.z > 0.0f)) return false;
  float fov = 0.0f, nearPlane = 0.0f, farPlane = 0.0f;
  camera.getPerspective(fov, nearPlane, farPlane);
  int width = 0, height = 0;
  camera.getViewport(width, height);
  // The same focal length the renderers project with: half the width over tan(fov / 2).
  const double tanHalf = std::tan(static_cast<double>(fov) * 0.017453292 * 0.5);
  if (!(tanHalf > 0.0)) return false;
  const float focal = static_cast<float>(static_cast<double>(width) * 0.5 / tanHalf);
  x = static_cast<float>(width) * 0.5f + eye.x * focal / eye.z;
  y = static_cast<float>(height) * 0.5f - eye.y * focal / eye.z;
  return true;
}

}  // namespace game
