// The combat helicopter's flight model in real rooms: landing, walls, limits, health and death.
#include <gtest/gtest.h>

#include <cmath>

#include "BattleFixture.h"
#include "game/Analyzer.h"

namespace game::testing {
namespace {

using engine3d::Vector3;

constexpr float kDt = 1.0f / 30.0f;

class GunshipTest : public BattleTest {
 protected:
  // Level 0, started, every helicopter but `slot` parked far away and out of the game's way.
  Gunship& solo(int slot = 0, int level = 0, bool training = false) {
    Simulation& sim = simulate(settings(level, 3, training));
    sim.periodicTicks = false;
    sim.start();
    sim_ = &sim;
    battle_ = &sim.battle();
    for (int s = 0; s < kHelicopters; ++s) {
      if (s == slot) continue;
      Gunship& other = battle_->gunship(s);
      other.dead = true;  // out of the outcome test's way: the game would end at once otherwise
      other.dying = true;
    }
    return battle_->gunship(slot);
  }

  // Frames of the battle without the periodic tick (so nobody wins while a test flies).
  void fly(int frames, const PlayerInput& input = {}, float dt = kDt) {
    for (int i = 0; i < frames; ++i) sim_->step(dt, input);
  }
  Simulation* sim_ = nullptr;

  // The floor's height under `p`.
  float floorUnder(const Vector3& p) {
    AxisHit hit = battle_->analyzer()->query(p, 1, 2);
    EXPECT_TRUE(hit.hit());
    return hit.point.y;
  }

  Battle* battle_ = nullptr;
};

TEST_F(GunshipTest, DescendsAndLandsOnTheFloor) {
  Gunship& ship = solo();
  ship.reset(0.0f, 0.0f, {0.0f, 0.0f, 0.0f});
  ship.computerFlown = false;
  PlayerInput down;
  down.down = true;
  int frames = 0;
  while (!ship.landed && frames < 300) {
    fly(1, down);
    ++frames;
  }
  ASSERT_TRUE(ship.landed) << "y " << ship.position.y;
  // The hover bob carries it sideways as it sinks: the floor is the one it ended up over.
  const float floor = floorUnder(ship.position);
  EXPECT_LT(floor, ship.position.y);
  const float halfHeight = ship.node()->size.y / 2.0f;
  EXPECT_NEAR(ship.position.y, floor + halfHeight, 1e-4f);
  EXPECT_EQ(ship.speed, 0.0f);
  EXPECT_EQ(ship.sideSpeed, 0.0f);
  // Standing on it: with nothing held it stays landed.
  fly(60);
  EXPECT_TRUE(ship.landed);
  EXPECT_NEAR(ship.position.y, floor + halfHeight, 0.05f);
  // Climbing takes it off the floor again.
  PlayerInput up;
  up.up = true;
  fly(30, up);
  EXPECT_FALSE(ship.landed);
  EXPECT_GT(ship.position.y, floor + halfHeight + 1.0f);
}

TEST_F(GunshipTest, DoesNotLandAgainOnTheSameTriangleWithinTheCooldown) {
  Gunship& ship = solo();
  const float floor = floorUnder({0.0f, 0.0f, 0.0f});
  ship.reset(0.0f, 0.0f, {0.0f, floor + 0.5f, 0.0f});
  ship.previousPosition.y += 0.1f;  // moving down into the floor
  const AxisHit under = battle_->analyzer()->query(ship.position, 1, 2);
  ship.cooldown = 0.5f;
  ship.lastTriangle = under.face;
  fly(1);
  EXPECT_FALSE(ship.landed) << "the same triangle within the cooldown";
  // Once the cooldown has run out the same floor lands it.
  ship.cooldown = 0.0f;
  ship.position = {0.0f, floor + 0.5f, 0.0f};
  ship.previousPosition = ship.position + Vector3(0.0f, 0.1f, 0.0f);
  ship.lastTriangle = under.face;
  fly(1);
  EXPECT_TRUE(ship.landed);
}

// Flies `ship` straight at the nearest wall along +x and returns its distance to the wall when
// it bounced.
float bounceDistance(Battle& battle, Gunship& ship, bool computer) {
  const float heading = 3.1415927f / 2.0f;  // forward is +x
  ship.reset(0.0f, heading, {0.0f, 0.0f, 0.0f});
  ship.computerFlown = computer;
  const Analyzer& grid = *battle.analyzer();
  for (int frame = 0; frame < 2000; ++frame) {
    ship.speed = 6.0f;
    ship.pilot().avoidDirection = 0;
    ship.update(kDt);
    if (ship.velocity.x < -1.0f)
      return std::sqrt(grid.query(ship.position, 0, 2).squaredDistance());
  }
  return -1.0f;
}

TEST_F(GunshipTest, BouncesOffWallsAtTwoPointTwoByHandAndZeroPointEightEightByComputer) {
  Gunship& ship = solo();
  // Straight along +x at mid-height: the first thing within reach is the room's side wall.
  const float byHand = bounceDistance(*battle_, ship, false);
  ASSERT_GT(byHand, 0.0f);
  EXPECT_LT(byHand, 2.2f);
  EXPECT_GT(byHand, 2.2f - 0.25f);  // one frame's travel short of the reach at most
  // The bounce stops it and throws it back at 5 units per second (less this frame's decay).
  EXPECT_EQ(ship.speed, 0.0f);
  EXPECT_NEAR(std::sqrt(ship.velocity.squaredLength()), 5.0f * (1.0f - 0.5f * kDt), 1e-3f);
  const float byComputer = bounceDistance(*battle_, ship, true);
  ASSERT_GT(byComputer, 0.0f);
  EXPECT_LT(byComputer, 0.88f);
  EXPECT_GT(byComputer, 0.88f - 0.25f);
}

TEST_F(GunshipTest, HeadingStaysWithinOneTurnWhateverTheTurns) {
  Gunship& ship = solo();
  ship.reset(0.0f, 0.0f, {0.0f, 0.0f, 0.0f});
  ship.computerFlown = false;
  PlayerInput left;
  left.left = true;
  PlayerInput right;
  right.right = true;
  for (int round = 0; round < 40; ++round) {
    fly(97, round % 2 ? left : right);
    ASSERT_GE(ship.heading, 0.0f);
    ASSERT_LT(ship.heading, 2.0f * 3.1415927f);
  }
  // Just below zero: the wrap must not leave 2 pi itself.
  ship.heading = 0.0f;
  ship.yawRate = -1e-8f;
  ship.yawShake = 0.0f;
  ship.update(kDt);
  EXPECT_LT(ship.heading, 2.0f * 3.1415927f);
  EXPECT_GE(ship.heading, 0.0f);
}

TEST_F(GunshipTest, HealthStaysWithinItsRangeAndTrainingKeepsItFull) {
  Gunship& ship = solo();
  ship.changeHealth(+50);
  EXPECT_EQ(ship.health, 100);
  ship.changeHealth(-30);
  EXPECT_EQ(ship.health, 70);
  ship.changeHealth(-500);
  EXPECT_EQ(ship.health, 0);
  EXPECT_TRUE(ship.dying);
  ship.changeHealth(-5);
  EXPECT_EQ(ship.health, 0);

  Gunship& trainee = solo(0, 0, true);
  trainee.changeHealth(-500);
  EXPECT_EQ(trainee.health, 100);
  EXPECT_FALSE(trainee.dying);
}

TEST_F(GunshipTest, ADyingHelicopterSpinsDownLandsIsDestroyedAndScoresForTheOtherSide) {
  Gunship& victim = solo(2);  // an enemy: its loss scores for team A
  victim.reset(0.0f, 0.0f, {0.0f, 5.0f, 0.0f});
  const float heading = victim.heading;
  victim.changeHealth(-100);
  ASSERT_TRUE(victim.dying);
  EXPECT_FALSE(victim.dead);
  int frames = 0;
  while (!victim.dead && frames < 600) {
    fly(1);
    ++frames;
    if (!victim.dead) EXPECT_LE(victim.velocity.y, 0.0f);
  }
  ASSERT_TRUE(victim.dead);
  EXPECT_TRUE(victim.landed);
  EXPECT_NE(victim.heading, heading) << "it spins as it falls";
  EXPECT_EQ(battle_->score(0), 5000);
  EXPECT_EQ(battle_->score(1), 0);
  EXPECT_EQ(battle_->losses(1), 1);
}

TEST_F(GunshipTest, StaysInsideTheRoomAtAnyTimeStep) {
  for (int level : {0, 4}) {
    for (float dt : {0.01f, 0.05f, 0.1f}) {
      Gunship& ship = solo(0, level);
      ship.reset(0.0f, 0.3f, {0.0f, 0.0f, 0.0f});
      ship.computerFlown = false;
      const Vector3 limit = battle_->limits();
      PlayerInput input;
      input.boost = true;
      for (int frame = 0; frame < static_cast<int>(60.0f / dt); ++frame) {
        // Full speed ahead, turning now and then, climbing and diving in turn.
        input.left = (frame / 50) % 3 == 0;
        input.up = (frame / 80) % 2 == 0;
        input.down = !input.up;
        sim_->step(dt, input);
        ASSERT_LE(std::fabs(ship.position.x), limit.x + 1e-4f) << "level " << level << " dt " << dt;
        ASSERT_LE(std::fabs(ship.position.y), limit.y + 1e-4f);
        ASSERT_LE(std::fabs(ship.position.z), limit.z + 1e-4f);
      }
    }
  }
}

}  // namespace
}  // namespace game::testing
