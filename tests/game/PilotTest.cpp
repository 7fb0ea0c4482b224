// The computer pilots: when they attack, evade and fire, how they choose targets, and how they
// keep off the walls of a real room.
#include <gtest/gtest.h>

#include <cmath>

#include "BattleFixture.h"
#include "game/Analyzer.h"

namespace game::testing {
namespace {

using engine3d::Vector3;

constexpr float kDt = 1.0f / 30.0f;

class PilotTest : public BattleTest {
 protected:
  Simulation& battleIn(int level, bool training = false, std::uint32_t seed = 5) {
    Simulation& sim = simulate(settings(level, seed, training));
    sim.start();
    sim.battle().setDemo(true);  // all four flown by the computer
    return sim;
  }
};

TEST_F(PilotTest, NobodyAttacksInTheFirstFiveSeconds) {
  Simulation& sim = battleIn(0);
  Battle& battle = sim.battle();
  // An attack records how well the target lines up; before it the score stays at its start.
  int attackers = 0;
  for (int frame = 0; frame < 147; ++frame) {  // 4.9 s
    sim.step(kDt);
    for (int s = 0; s < kHelicopters; ++s) {
      ASSERT_EQ(battle.gunship(s).cannon().bulletsFired(), 0) << "slot " << s << " frame " << frame;
      attackers += battle.gunship(s).pilot().bestTargetScore != 1e15f;
    }
  }
  EXPECT_EQ(attackers, 0);
  // Over the next half minute they do get at each other.
  int fired = 0;
  for (int frame = 0; frame < 900; ++frame) sim.step(kDt);
  for (int s = 0; s < kHelicopters; ++s) fired += battle.gunship(s).cannon().bulletsFired();
  EXPECT_GT(fired, 0);
}

TEST_F(PilotTest, APilotCloseToItsTargetOrShotAtEvadesInsteadOfAiming) {
  Simulation& sim = battleIn(0);
  sim.periodicTicks = false;
  Battle& battle = sim.battle();
  for (int i = 0; i < 180; ++i) sim.step(kDt);  // past the first five seconds
  Gunship& pilot = battle.gunship(2);
  Gunship& target = battle.gunship(0);
  auto setUp = [&](const Vector3& targetAt) {
    pilot.reset(0.0f, 0.0f, {0.0f, 0.0f, -10.0f});
    target.reset(0.0f, 0.0f, targetAt);
    target.node()->localMatrix.setTranslation(targetAt);  // where attackers see it
    pilot.lookAhead = pilot.position;                     // nothing in the way
    pilot.target = target.node();
    pilot.speed = 3.0f;
  };
  // Aiming slows down toward 0; evading speeds up toward 7.
  setUp({0.0f, 0.0f, 20.0f});  // 30 units ahead
  pilot.pilot().step(kDt);
  EXPECT_LT(pilot.speed, 3.0f);
  setUp({0.0f, 0.0f, -0.5f});  // 9.5 units ahead
  pilot.pilot().step(kDt);
  EXPECT_GT(pilot.speed, 3.0f);
  setUp({0.0f, 0.0f, 20.0f});
  pilot.attacker = &target;  // far, but shot at
  pilot.pilot().step(kDt);
  EXPECT_GT(pilot.speed, 3.0f);
}

TEST_F(PilotTest, InTrainingPilotsAimButNeverFire) {
  Simulation& sim = battleIn(0, true);
  Battle& battle = sim.battle();
  int aimed = 0;
  for (int frame = 0; frame < 2700; ++frame) {  // 90 s
    sim.step(kDt);
    for (int s = 0; s < kHelicopters; ++s) {
      const float score = battle.gunship(s).pilot().bestTargetScore;
      aimed += score != 1e15f && score > 0.9f;
    }
  }
  EXPECT_GT(aimed, 0);
  for (int s = 0; s < kHelicopters; ++s) EXPECT_EQ(battle.gunship(s).cannon().bulletsFired(), 0);
  EXPECT_EQ(battle.score(0), 0);
  EXPECT_EQ(battle.score(1), 0);
}

TEST_F(PilotTest, TargetChoiceTakesTheLastCandidateThatBeatsTheBestScore) {
  Simulation& sim = battleIn(0);
  Battle& battle = sim.battle();
  ASSERT_GE(battle.flyableCount(), 1);
  Gunship& chooser = battle.gunship(0);
  Gunship& enemyA = battle.gunship(2);
  Gunship& enemyB = battle.gunship(3);
  Flyable& flyer = battle.flyable(0);
  auto place = [&] {
    chooser.reset(0.0f, 0.0f, {0.0f, 0.0f, 0.0f});
    chooser.forward = {0.0f, 0.0f, 1.0f};
    enemyA.reset(0.0f, 0.0f, {0.0f, 0.0f, 20.0f});  // dead ahead: 1 - 0.2 = 0.8
    enemyB.reset(0.0f, 0.0f, {20.0f, 0.0f, 0.0f});  // abeam: 0 - 0.2
    for (Gunship* g : {&enemyA, &enemyB}) {
      g->orientation.setTranslation(g->position);
      g->node()->localMatrix = g->orientation;
    }
    flyer.node()->localMatrix.setTranslation({0.0f, 0.0f, 10.0f});  // ahead: 1 - 0.7 = 0.3
    for (int i = 1; i < battle.flyableCount(); ++i)  // the other flyers behind, out of the way
      battle.flyable(i).node()->localMatrix.setTranslation({0.0f, 0.0f, -30.0f});
    chooser.target = nullptr;
    chooser.pilot().attackTimer = 9.0f;  // keep its wander values
  };
  place();
  chooser.pilot().bestTargetScore = 0.5f;
  chooser.pilot().reevaluateTarget();
  EXPECT_EQ(chooser.target, enemyA.node());
  EXPECT_EQ(chooser.pilot().bestTargetScore, 0.5f) << "choosing leaves the best score alone";

  // Both the helicopter ahead and the flyer beat 0.2: the flyer comes later in the order.
  place();
  chooser.pilot().bestTargetScore = 0.2f;
  chooser.pilot().reevaluateTarget();
  EXPECT_EQ(chooser.target, flyer.node());

  // The current target is not a candidate; nothing else beats 0.5, so it stays.
  place();
  chooser.target = enemyA.node();
  chooser.pilot().bestTargetScore = 0.5f;
  chooser.pilot().reevaluateTarget();
  EXPECT_EQ(chooser.target, enemyA.node());

  // A dying opponent is no candidate.
  place();
  enemyA.dying = true;
  chooser.pilot().bestTargetScore = 0.5f;
  chooser.pilot().reevaluateTarget();
  EXPECT_EQ(chooser.target, nullptr);
}

TEST_F(PilotTest, AvoidanceTurnsAwayFromAWall) {
  Simulation& sim = battleIn(0);
  sim.periodicTicks = false;
  Battle& battle = sim.battle();
  Gunship& ship = battle.gunship(2);
  const float wallX = battle.extent().x / 2.0f;
  // Heading 0.3 rad off straight at the +x wall, 8 units from it, at cruise speed.
  ship.reset(8.0f, 3.1415927f / 2.0f - 0.3f, {wallX - 10.0f, 0.0f, 0.0f});
  ship.target = nullptr;
  for (int frame = 0; frame < 90; ++frame) sim.step(kDt);
  // It has turned before touching the wall: no collision cost it health.
  EXPECT_EQ(ship.health, 100);
  EXPECT_LT(ship.forward.x, 0.5f);
}

}  // namespace
}  // namespace game::testing
