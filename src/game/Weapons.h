// Cannon: a helicopter's gun with its bullets, and the two smoke trails it leaves.
//
// Each helicopter has 18 bullets, 4 dark damage-smoke puffs (fume) and 3 white muzzle-smoke
// puffs, made once when it is created. Bullets fly straight at 30 units per second for 5 s and
// are tested every frame against the other helicopters, the flyers and the walls of the level
// box.
#pragma once

#include <array>

#include "game/Effects.h"

namespace game {

class Gunship;

class Cannon {
 public:
  static constexpr int kBullets = 18;
  static constexpr int kFumes = 4;
  static constexpr int kSmokes = 3;
  static constexpr float kFireInterval = 5.0f * 0.04444f;  // 0.2222 s between two shots
  static constexpr float kPuffInterval = 0.5f;
  static constexpr float kBulletLife = 5.0f;
  static constexpr float kBulletSpeed = 30.0f;
  static constexpr std::uint32_t kCannonSoundMs = 751;  // between two cannon sounds, any gun

  explicit Cannon(Gunship& ship) : ship_(ship) {}

  // Makes the bullet nodes ("bullet.3ds" normalised to radius 1, unlit, "bullet") and the puffs.
  void create();

  // Called every frame the trigger is held: a shot once the fire timer passes the interval,
  // muzzle smoke, and the cannon sound when no gun has sounded for 751 ms ("canon" for the
  // viewed helicopter, "remotecanon" for the others) with an engine pause of 0.9 s.
  void fire(float dt);
  // A puff of muzzle smoke once the smoke timer passes 0.5 s.
  void emitSmoke(float dt);
  // A puff of damage smoke once the fume timer passes 0.5 s (a collision passes a huge dt to
  // emit at once).
  void emitFume(float dt);
  // Ages and moves the bullets with their hit tests, then the puffs.
  void update(float dt);
  // Every bullet and puff retired, timers 0.
  void clear();

  const std::array<Effect, kBullets>& bullets() const { return bullets_; }
  int bulletsFired() const { return bulletsFired_; }

 private:
  // The hit tests of one bullet; false when the bullet processing of this helicopter ends for
  // this frame (something was hit).
  bool testHits(Effect& bullet, float dt);
  void markLevelBox(const engine3d::Vector3& p);

  Gunship& ship_;
  std::array<Effect, kBullets> bullets_;
  std::array<Effect, kFumes> fumes_;
  std::array<Effect, kSmokes> smokes_;
  float fireTimer_ = 0.0f;
  float fumeTimer_ = 0.0f;
  float smokeTimer_ = 0.0f;
  int bulletsFired_ = 0;
};

}  // namespace game
