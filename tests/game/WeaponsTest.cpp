// The cannon, its hit tests and the effect pools, in a real room.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "BattleFixture.h"
#include "engine3d/Material.h"
#include "game/Analyzer.h"

namespace game::testing {
namespace {

using engine3d::Matrix4;
using engine3d::Vector3;

constexpr float kDt = 1.0f / 30.0f;

class WeaponsTest : public BattleTest {
 protected:
  // A started battle in level 0 whose helicopters all hover in the open, facing +z, flown by
  // nobody (so that only what a test does happens).
  Battle& still(bool training = false) {
    Simulation& sim = simulate(settings(0, 11, training));
    sim.periodicTicks = false;
    sim.start();
    sim_ = &sim;
    sim.soundListener = [this](std::string_view name) { sounds.emplace_back(name); };
    Battle& battle = sim.battle();
    for (int s = 0; s < kHelicopters; ++s) {
      Gunship& ship = battle.gunship(s);
      ship.reset(0.0f, 0.0f, {-30.0f + 20.0f * s, 5.0f, -20.0f});
      ship.computerFlown = false;
    }
    return battle;
  }
  // Frames of the battle (without its periodic tick).
  void fly(Battle&, int frames, const PlayerInput& input = {}, float dt = kDt) {
    for (int i = 0; i < frames; ++i) sim_->step(dt, input);
  }
  Simulation* sim_ = nullptr;
  int count(const std::string& name) const {
    int n = 0;
    for (const std::string& s : sounds) n += s == name;
    return n;
  }
  std::vector<std::string> sounds;
};

TEST_F(WeaponsTest, HoldingFireForOneSecondLaunchesFourBullets) {
  Battle& battle = still();
  PlayerInput fire;
  fire.fire = true;
  fly(battle, 30, fire);
  EXPECT_EQ(battle.gunship(0).cannon().bulletsFired(), 4);
  int flying = 0;
  for (const Effect& bullet : battle.gunship(0).cannon().bullets()) flying += bullet.active;
  EXPECT_EQ(flying, 4);
}

TEST_F(WeaponsTest, GunsFiringTogetherSoundAtMostOncePer751Milliseconds) {
  Battle& battle = still();
  // Three seconds of two guns: 0, 751, 1502 and 2253 ms.
  for (int frame = 0; frame < 90; ++frame) {
    battle.gunship(1).cannon().fire(kDt);
    battle.gunship(2).cannon().fire(kDt);
    fly(battle, 1);
  }
  EXPECT_EQ(count("canon") + count("remotecanon"), 4);
  EXPECT_EQ(count("canon"), 0) << "neither gun is the viewed helicopter's";
}

TEST_F(WeaponsTest, ABulletPassingCloseMakesTheShooterTheAttackerWithoutHitting) {
  Battle& battle = still();
  Gunship& shooter = battle.gunship(0);
  Gunship& target = battle.gunship(2);
  // 1.9 units beside the bullet's line: within 2.1, beyond the hit radius of about 1.48.
  shooter.reset(0.0f, 0.0f, {0.0f, 0.0f, -10.0f});
  target.reset(0.0f, 0.0f, {1.9f, -0.374f, 5.0f});
  shooter.computerFlown = target.computerFlown = false;
  fly(battle, 1);
  shooter.cannon().fire(1.0f);  // a shot at once
  fly(battle, 40);
  EXPECT_EQ(target.attacker, &shooter);
  EXPECT_EQ(target.health, 100);
  EXPECT_EQ(battle.score(0), 0);
}

TEST_F(WeaponsTest, AHitScoresFiveHundredForTheVictimsOpponentsAndCostsFiveHealth) {
  Battle& battle = still();
  Gunship& shooter = battle.gunship(3);  // team B shoots team A's slot 1
  Gunship& victim = battle.gunship(1);
  shooter.reset(0.0f, 0.0f, {0.0f, 0.0f, -10.0f});
  victim.reset(0.0f, 0.0f, {0.0f, -0.374f, 5.0f});
  fly(battle, 1);
  shooter.cannon().fire(1.0f);
  int frames = 0;
  while (battle.score(1) == 0 && frames++ < 60) fly(battle, 1);
  EXPECT_EQ(battle.score(1), 500);
  EXPECT_EQ(battle.score(0), 0);
  EXPECT_EQ(victim.health, 95);
  // The hit shakes the victim by 0.1 either way.
  EXPECT_NEAR(std::fabs(victim.rollShake), 0.1f, 0.002f);
}

TEST_F(WeaponsTest, TheNinthExplosionAtOnceIsDropped) {
  Battle& battle = still();
  EffectPools& pools = battle.effects();
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(pools.spawnExplosion(0.0f, Matrix4()));
  EXPECT_FALSE(pools.spawnExplosion(0.0f, Matrix4()));
  // Once one has burnt out there is room again.
  for (int i = 0; i < 46; ++i) pools.update(kDt);
  EXPECT_TRUE(pools.spawnExplosion(0.0f, Matrix4()));
}

TEST_F(WeaponsTest, AnExplosionShowsItsSheetFrameByAge) {
  Battle& battle = still();
  EffectPools& pools = battle.effects();
  ASSERT_TRUE(pools.spawnExplosion(0.0f, Matrix4()));
  const Effect& explosion = pools.explosions()[0];
  pools.update(0.5f);  // frame 5: second row, second column
  EXPECT_EQ(explosion.material->textureOffsetU, 16384);
  EXPECT_EQ(explosion.material->textureOffsetV, 16384);
  pools.update(0.99f);  // 1.49 s: frame 15, the last
  ASSERT_TRUE(explosion.active);
  EXPECT_EQ(explosion.material->textureOffsetU, 49152);
  EXPECT_EQ(explosion.material->textureOffsetV, 49152);
  pools.update(0.02f);
  EXPECT_FALSE(explosion.active);
  EXPECT_FALSE(explosion.motion.node->visible);
}

TEST_F(WeaponsTest, MarksArePlacedOnlyWhereTheCameraSees) {
  Battle& battle = still();
  battle.setCameraMode(4);  // a fixed camera: frames leave it where it is put
  engine3d::Camera& camera = *battle.camera().camera();
  camera.setEye(0.0f, 0.0f, 0.0f);
  camera.setTarget(0.0f, 0.0f, 10.0f);
  camera.setUp(0.0f, 1.0f, 0.0f);
  EffectPools& pools = battle.effects();
  auto active = [&] {
    int n = 0;
    for (const Effect& mark : pools.marks()) n += mark.active;
    return n;
  };
  pools.placeMark(2, {0.0f, 0.0f, -30.0f}, &camera, battle.dice());  // behind
  EXPECT_EQ(active(), 0);
  pools.placeMark(2, {40.0f, 0.0f, 10.0f}, &camera, battle.dice());  // far off to the side
  EXPECT_EQ(active(), 0);
  pools.placeMark(2, {1.0f, 1.0f, 30.0f}, &camera, battle.dice());  // in view
  EXPECT_EQ(active(), 1);
  // A mark fades over four seconds, then goes.
  pools.update(2.0f);
  EXPECT_EQ(pools.marks()[0].material->transparency, 110);
  pools.update(2.0f);
  EXPECT_EQ(active(), 0);
}

TEST_F(WeaponsTest, BulletsMarkTheLevelBoxOnTheAxisTheyCross) {
  Battle& battle = still();
  battle.setCameraMode(4);
  engine3d::Camera& camera = *battle.camera().camera();
  const Vector3 b = battle.extent() * 0.48f;
  // Look at the far +z wall, then shoot it.
  camera.setEye(0.0f, 0.0f, 0.0f);
  camera.setTarget(0.0f, 0.0f, 10.0f);
  camera.setUp(0.0f, 1.0f, 0.0f);
  Gunship& shooter = battle.gunship(0);
  shooter.reset(0.0f, 0.0f, {0.0f, 0.0f, b.z - 6.0f});
  fly(battle, 1);
  shooter.cannon().fire(1.0f);
  // Short steps, so that the bullet cannot jump over the 0.4-unit band in one.
  int placed = 0;
  for (int frame = 0; frame < 200 && !placed; ++frame) {
    fly(battle, 1, {}, 0.004f);
    for (const Effect& mark : battle.effects().marks())
      if (mark.active) {
        ++placed;
        EXPECT_FLOAT_EQ(mark.motion.position.z, b.z);
      }
  }
  EXPECT_GE(placed, 1);
}

}  // namespace
}  // namespace game::testing
