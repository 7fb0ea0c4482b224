#include "game/Weapons.h"

#include <cmath>

#include "engine3d/Material.h"
#include "game/Battle.h"
#include "game/Gunship.h"

namespace game {

namespace {

using engine3d::Vector3;

const Vector3 kMuzzle{0.0f, -0.374f, 1.76f};
const Vector3 kSmokeOutlet{0.0f, -0.374f, 1.65f};

}  // namespace

void Cannon::create() {
  Battle& battle = ship_.battle();
  const std::string folder = battle.assets().resourceFolder + "chopper\\";
  for (Effect& bullet : bullets_) {
    std::unique_ptr<engine3d::Group3D> model = battle.models().get(folder, "bullet.3ds", 1.0f);
    if (!model) continue;
    model->setDetailLevel(engine3d::kShadingUnlit);
    model->visible = false;
    bullet.motion.node = battle.host().addModel("bullet", std::move(model));
  }
  for (Effect& fume : fumes_)
    createPuff(fume, PuffKind::kFume, battle.effectArt(), battle.dice(), battle.host());
  for (Effect& smoke : smokes_)
    createPuff(smoke, PuffKind::kSmoke, battle.effectArt(), battle.dice(), battle.host());
}

void Cannon::clear() {
  for (Effect& bullet : bullets_) bullet.retire();
  for (Effect& fume : fumes_) fume.retire();
  for (Effect& smoke : smokes_) smoke.retire();
  fireTimer_ = fumeTimer_ = smokeTimer_ = 0.0f;
}

void Cannon::fire(float dt) {
  Battle& battle = ship_.battle();
  fireTimer_ += dt;
  if (fireTimer_ > kFireInterval) {
    fireTimer_ = 0.0f;
    if (Effect* bullet = firstInactive(bullets_)) {
      bullet->activate();
      bullet->motion.launch(kBulletSpeed, emissionMatrix(ship_.orientation, kMuzzle));
      bullet->motion.gravity = 0.0f;
      ++bulletsFired_;
    }
  }
  emitSmoke(dt);

  BattleHost& host = battle.host();
  const std::uint32_t now = host.tickCount();
  if (!battle.cannonSounded() || now - battle.lastCannonSound() >= kCannonSoundMs) {
    host.enginePause(0.9f);
    host.playSound(battle.viewedSlot() == ship_.slot() ? "canon" : "remotecanon");
    battle.setCannonSound(now);
  }
}

void Cannon::emitSmoke(float dt) {
  smokeTimer_ += dt;
  if (smokeTimer_ <= kPuffInterval) return;
  smokeTimer_ = 0.0f;
  if (Effect* smoke = firstInactive(smokes_)) {
    smoke->activate();
    smoke->motion.launch(ship_.speed * 0.4f, emissionMatrix(ship_.orientation, kSmokeOutlet));
    smoke->motion.gravity = -0.2f;
  }
}

void Cannon::emitFume(float dt) {
  fumeTimer_ += dt;
  if (fumeTimer_ <= kPuffInterval) return;
  fumeTimer_ = 0.0f;
  if (Effect* fume = firstInactive(fumes_)) {
    fume->activate();
    engine3d::Matrix4 at = ship_.orientation;
    at.setTranslation(ship_.position);
    fume->motion.launch(ship_.speed * 0.4f, at);
    fume->motion.gravity = -2.0f;
  }
}

void Cannon::update(float dt) {
  for (Effect& bullet : bullets_) {
    if (!bullet.active) continue;
    bullet.age += dt;
    if (bullet.age >= kBulletLife) {
      bullet.retire();
      continue;
    }
    bullet.motion.step(dt);
    if (!testHits(bullet, dt)) break;
  }
  for (Effect& fume : fumes_)
    if (fume.active) updatePuff(fume, dt);
  for (Effect& smoke : smokes_)
    if (smoke.active) updatePuff(smoke, dt);
}

bool Cannon::testHits(Effect& bullet, float dt) {
  Battle& battle = ship_.battle();
  const Vector3& p = bullet.motion.position;

  for (int slot = 0; slot < kHelicopters; ++slot) {
    Gunship& other = battle.gunship(slot);
    // Wrecks take no more hits: a helicopter that is already destroyed scores nothing.
    if (&other == &ship_ || other.dead) continue;
    const float d2 = (p - other.position).squaredLength();
    if (d2 < 4.4f) other.attacker = &ship_;
    if (d2 < ship_.hitRadius2) {
      battle.addScore(1 - other.team(), 500);
      other.hitReaction();
      other.changeHealth(-5);
      return false;
    }
  }

  for (int i = 0; i < battle.flyableCount(); ++i) {
    Flyable& flyer = battle.flyable(i);
    if (flyer.isHit()) continue;
    const float d2 = (p - flyer.position).squaredLength();
    if (d2 < 1.3f * ship_.hitRadius2) {
      if (flyer.value() < 1)
        ship_.changeHealth(ship_.enemy() ? 10 : 20);
      else
        battle.addScore(ship_.team(), flyer.value() * 10);
      flyer.hit(&ship_, dt);
      battle.countFlyerHit();
      ship_.target = nullptr;
      ship_.pilot().bestTargetScore = -1e15f;
      return false;
    }
  }

  markLevelBox(p);
  return true;
}

void Cannon::markLevelBox(const Vector3& p) {
  Battle& battle = ship_.battle();
  const Vector3 b = battle.extent() * 0.48f;
  const float ax = std::fabs(p.x), ay = std::fabs(p.y), az = std::fabs(p.z);
  engine3d::Camera* camera = battle.camera().camera();
  EffectPools& effects = battle.effects();
  if (std::fabs(ax - b.x) < 0.2f && ay < b.y && az < b.z)
    effects.placeMark(0, {p.x < 0.0f ? -b.x : b.x, p.y, p.z}, camera, battle.dice());
  else if (std::fabs(az - b.z) < 0.2f && ay < b.y && ax < b.x)
    effects.placeMark(2, {p.x, p.y, p.z < 0.0f ? -b.z : b.z}, camera, battle.dice());
  else if (std::fabs(ay - b.y) < 0.2f && ax < b.x && az < b.z)
    effects.placeMark(1, {p.x, p.y < 0.0f ? -b.y : b.y, p.z}, camera, battle.dice());
}

}  // namespace game
