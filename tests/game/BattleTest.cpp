// The battle's own rules: placement, the outcome and its order, view switching, training, and
// whole battles: deterministic for a seed, ending on their own, allocating nothing in play.
#include <gtest/gtest.h>

#include <cmath>

#include "AllocationCounter.h"
#include "BattleFixture.h"
#include "engine3d/MathTables.h"

namespace game::testing {
namespace {

using engine3d::Vector3;

constexpr float kDt = 1.0f / 30.0f;

class BattleRulesTest : public BattleTest {
 protected:
  Simulation& started(int level = 0, std::uint32_t seed = 21, bool training = false) {
    Simulation& sim = simulate(settings(level, seed, training));
    sim.start();
    results = 0;
    return sim;
  }
  // Runs periodic ticks until the next odd one (the outcome test) has run.
  static void outcomeTick(Battle& battle) {
    battle.periodicTick();
    battle.periodicTick();
  }
  static void kill(Gunship& ship) {
    ship.dying = true;
    ship.dead = true;
  }
  int results = 0;
};

TEST_F(BattleRulesTest, TheTeamsStartOnTheSpawnPointsFacingEachOther) {
  Simulation& sim = started();
  Battle& battle = sim.battle();
  const Gunship& a0 = battle.gunship(0);
  const Gunship& a1 = battle.gunship(1);
  const Gunship& b0 = battle.gunship(2);
  const Gunship& b1 = battle.gunship(3);
  // Team-mates stand 4.4 apart, the same distance either side of their spawn point.
  EXPECT_NEAR((a0.position - a1.position).length(), 4.4f, 1e-4f);
  EXPECT_NEAR((b0.position - b1.position).length(), 4.4f, 1e-4f);
  const Vector3 spawnA = (a0.position + a1.position) * 0.5f;
  const Vector3 spawnB = (b0.position + b1.position) * 0.5f;
  EXPECT_NEAR(spawnA.y, a0.position.y, 1e-4f);
  // Both team-mates share the heading; the teams' headings before the random turn differ by pi,
  // and each turn is between 0.2 pi and 0.3 pi.
  EXPECT_FLOAT_EQ(a0.heading, a1.heading);
  EXPECT_FLOAT_EQ(b0.heading, b1.heading);
  Vector3 across = spawnB - spawnA;
  across.y = 0.0f;
  const float facingA = std::atan2(across.x, across.z);
  auto turnOf = [](float heading, float facing) {
    float d = std::fmod(heading - facing + 9.0f * 3.1415927f, 2.0f * 3.1415927f) - 3.1415927f;
    return std::fabs(d);
  };
  EXPECT_GE(turnOf(a0.heading, facingA), 0.2f * 3.1415927f - 1e-3f);
  EXPECT_LE(turnOf(a0.heading, facingA), 0.3f * 3.1415927f + 1e-3f);
  EXPECT_GE(turnOf(b0.heading, facingA + 3.1415927f), 0.2f * 3.1415927f - 1e-3f);
  EXPECT_LE(turnOf(b0.heading, facingA + 3.1415927f), 0.3f * 3.1415927f + 1e-3f);
  // Each targets the opponent in the same place of the other team.
  EXPECT_EQ(a0.target, b0.node());
  EXPECT_EQ(a1.target, b1.node());
  EXPECT_EQ(b0.target, a0.node());
  EXPECT_EQ(b1.target, a1.node());
  // The viewed helicopter is slot 0, flown by hand; the others by the computer.
  EXPECT_EQ(battle.viewedSlot(), 0);
  EXPECT_FALSE(a0.computerFlown);
  EXPECT_TRUE(a1.computerFlown && b0.computerFlown && b1.computerFlown);
}

TEST_F(BattleRulesTest, TargetsMoveOnToTheOtherOpponentWhenOneGoesDown) {
  Battle& battle = started().battle();
  battle.gunship(2).changeHealth(-100);  // starts dying
  EXPECT_EQ(battle.gunship(0).target, battle.gunship(3).node());
  EXPECT_EQ(battle.gunship(1).target, battle.gunship(3).node());
  battle.gunship(3).changeHealth(-100);
  EXPECT_EQ(battle.gunship(0).target, nullptr);
}

TEST_F(BattleRulesTest, BothTeamsGoneInOneTickIsATie) {
  Battle& battle = started().battle();
  for (int s = 0; s < kHelicopters; ++s) kill(battle.gunship(s));
  outcomeTick(battle);
  EXPECT_EQ(battle.result(), kTie);
  EXPECT_EQ(simulation_->gamesEnded(), 1);
  // The game over brings all four back, flown by the computer.
  for (int s = 0; s < kHelicopters; ++s) {
    EXPECT_FALSE(battle.gunship(s).dead);
    EXPECT_EQ(battle.gunship(s).health, 100);
    EXPECT_TRUE(battle.gunship(s).computerFlown);
  }
}

TEST_F(BattleRulesTest, AWinAfterTheHourIsStillAWin) {
  Battle& battle = started().battle();
  battle.advanceClock(3601.0f);
  kill(battle.gunship(2));
  kill(battle.gunship(3));
  outcomeTick(battle);
  EXPECT_EQ(battle.result(), kWon);
}

TEST_F(BattleRulesTest, LosingAndTimingOut) {
  {
    Battle& battle = started().battle();
    kill(battle.gunship(0));
    kill(battle.gunship(1));
    outcomeTick(battle);
    EXPECT_EQ(battle.result(), kLost);
  }
  {
    Battle& battle = started().battle();
    battle.advanceClock(3600.0f);
    outcomeTick(battle);
    EXPECT_EQ(battle.result(), kRunning) << "the hour must be passed, not reached";
    battle.advanceClock(0.5f);
    outcomeTick(battle);
    EXPECT_EQ(battle.result(), kTimeOut);
  }
}

TEST_F(BattleRulesTest, TrainingKeepsScoresAtZeroAndEndsOnlyWithItsTimeOut) {
  Simulation& sim = started(3, 21, true);
  Battle& battle = sim.battle();
  battle.addScore(0, 500);
  EXPECT_EQ(battle.score(0), 0);
  battle.gunship(2).changeHealth(-100);
  EXPECT_FALSE(battle.gunship(2).dying);
  for (int i = 0; i < 30 * 120; ++i) sim.step(kDt);
  EXPECT_TRUE(battle.running());
  battle.advanceClock(3600.0f);
  outcomeTick(battle);
  EXPECT_EQ(battle.result(), kTrainingOver);
}

TEST_F(BattleRulesTest, ASecondViewSwitchWithin300MillisecondsIsIgnored) {
  Simulation& sim = started();
  sim.periodicTicks = false;
  Battle& battle = sim.battle();
  for (int i = 0; i < 15; ++i) sim.step(kDt);  // the clock away from 0
  battle.switchView(1);
  EXPECT_EQ(battle.viewedSlot(), 1);
  EXPECT_FALSE(battle.gunship(1).computerFlown);
  EXPECT_TRUE(battle.gunship(0).computerFlown);
  for (int i = 0; i < 8; ++i) sim.step(kDt);  // 267 ms
  battle.switchView(0);
  EXPECT_EQ(battle.viewedSlot(), 1);
  for (int i = 0; i < 2; ++i) sim.step(kDt);  // 333 ms
  battle.switchView(0);
  EXPECT_EQ(battle.viewedSlot(), 0);
  EXPECT_EQ(battle.camera().mode(), 0);
}

TEST_F(BattleRulesTest, ADestroyedViewedHelicopterHandsTheViewToItsTeamMate) {
  Simulation& sim = started();
  sim.periodicTicks = false;
  Battle& battle = sim.battle();
  for (int i = 0; i < 15; ++i) sim.step(kDt);
  Gunship& player = battle.gunship(0);
  player.reset(0.0f, 0.0f, {0.0f, 5.0f, 0.0f});
  player.computerFlown = false;
  player.changeHealth(-100);
  int frames = 0;
  while (!player.dead && frames++ < 600) sim.step(kDt);
  ASSERT_TRUE(player.dead);
  EXPECT_EQ(battle.viewedSlot(), 1);
  EXPECT_FALSE(battle.gunship(1).computerFlown);
  EXPECT_EQ(battle.score(1), 5000);
}

// Where everything is after `seconds` of a battle with `seed`, as one list of numbers.
std::vector<float> snapshot(Battle& battle) {
  std::vector<float> v;
  for (int s = 0; s < kHelicopters; ++s) {
    const Gunship& g = battle.gunship(s);
    for (float x :
         {g.position.x, g.position.y, g.position.z, g.heading, static_cast<float>(g.health)})
      v.push_back(x);
  }
  for (int i = 0; i < battle.flyableCount(); ++i) {
    const Flyable& f = battle.flyable(i);
    for (float x : {f.position.x, f.position.y, f.position.z}) v.push_back(x);
  }
  v.push_back(static_cast<float>(battle.score(0)));
  v.push_back(static_cast<float>(battle.score(1)));
  return v;
}

TEST_F(BattleRulesTest, TheSameSeedGivesTheSameBattle) {
  auto run = [&](std::uint32_t seed) {
    Simulation& sim = started(5, seed);
    sim.battle().setDemo(true);
    for (int i = 0; i < 30 * 60; ++i) sim.step(kDt);
    return snapshot(sim.battle());
  };
  const std::vector<float> first = run(77);
  const std::vector<float> second = run(77);
  const std::vector<float> other = run(78);
  EXPECT_EQ(first, second);
  EXPECT_NE(first, other);
}

TEST_F(BattleRulesTest, ADemonstrationBattleEndsWithinTheHourInEveryRoom) {
  for (int level = 0; level <= 6; ++level) {
    Simulation& sim = started(level, 1);
    sim.battle().setDemo(true);
    int frames = 0;
    while (sim.battle().running() && frames < 30 * 3600) {
      sim.step(kDt);
      ++frames;
    }
    EXPECT_FALSE(sim.battle().running()) << "level " << level;
    EXPECT_NE(sim.battle().result(), kTimeOut) << "level " << level;
  }
}

TEST(AllocationCounter, CountsWhatItSees) {
  CountingAllocations allocations;
  auto made = std::make_unique<std::vector<int>>(100);
  EXPECT_EQ(allocations.count(), 2);
}

TEST_F(BattleRulesTest, AFightAllocatesNothingOnceSetUp) {
  // With pictures, as the page plays it: the flyers' skins and boxes change as they come back.
  Simulation& sim = simulate(settings(2, 4), {}, true);
  sim.start();
  sim.battle().setDemo(true);
  CountingAllocations allocations;
  for (int i = 0; i < 30 * 600; ++i) sim.step(kDt);  // ten minutes, past a game over
  EXPECT_EQ(allocations.count(), 0);
  EXPECT_GT(sim.battle().flyersHit(), 0);
}

}  // namespace
}  // namespace game::testing
