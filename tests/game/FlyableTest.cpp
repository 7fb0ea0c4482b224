// The bonus flyers: their values, their types from "flyable.properties", steering, being shot,
// and ten minutes of flight in every content room.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "BattleFixture.h"
#include "engine3d/Material.h"
#include "platform/Template.h"

namespace game::testing {
namespace {

using engine3d::Vector3;

constexpr float kDt = 1.0f / 30.0f;

TEST(FlyerValue, HalfTheDrawsAreRedCrossesAndTheRestTenToFifty) {
  int crosses = 0;
  for (int draw = 0; draw <= 100; ++draw) {
    const int value = flyerValue(draw);
    if (value == -1) {
      ++crosses;
      continue;
    }
    EXPECT_GE(value, 10) << draw;
    EXPECT_LE(value, 50) << draw;
    EXPECT_EQ(value % 10, 0);
  }
  EXPECT_EQ(crosses, 50);
  for (int draw = 0; draw <= 19; ++draw) EXPECT_EQ(flyerValue(draw), 10);
  EXPECT_EQ(flyerValue(50), 50);
  EXPECT_EQ(flyerValue(51), -1);
}

TEST(FlyerNeighbours, TwentySixOffsetsWithXOutermost) {
  FlyerShared shared;
  EXPECT_EQ(shared.offsets[0], (PathFinder::Cell{-1, -1, -1}));
  EXPECT_EQ(shared.offsets[1], (PathFinder::Cell{-1, -1, 0}));
  EXPECT_EQ(shared.offsets[12], (PathFinder::Cell{0, 0, -1}));
  EXPECT_EQ(shared.offsets[13], (PathFinder::Cell{0, 0, 1}));  // (0, 0, 0) is left out
  EXPECT_EQ(shared.offsets[25], (PathFinder::Cell{1, 1, 1}));
}

class FlyableTypesTest : public BattleTest {
 protected:
  std::vector<FlyableType> read(const std::string& text) {
    const std::string path = temp_.write("flyable.properties", text);
    platform::Template t('=', ',', ':');
    EXPECT_TRUE(t.load(temp_.path(), "flyable.properties"));
    return readFlyableTypes(t);
  }
};

TEST_F(FlyableTypesTest, EntriesKeepTheirDefaultsAndOddValuesStaySafe) {
  std::vector<FlyableType> types = read(
      "# a comment\n"
      "bat=type:1, textureNum:2, maxSpeed:7.5, wave:0.25, alphaTest:1\n"
      "plain=type:3\n"
      "odd=type:9, textureNum:-4\n"
      "none=textureNum:0\n");
  ASSERT_EQ(types.size(), 4u);
  EXPECT_EQ(types[0].name, "bat");
  EXPECT_EQ(types[0].kind, 1);
  EXPECT_EQ(types[0].textureNum, 2);
  EXPECT_FLOAT_EQ(types[0].maxSpeed, 7.5f);
  EXPECT_FLOAT_EQ(types[0].wave, 0.25f);
  EXPECT_TRUE(types[0].alphaTest);
  EXPECT_EQ(types[1].textureNum, 1);
  EXPECT_FLOAT_EQ(types[1].maxSpeed, 10.0f);
  EXPECT_FLOAT_EQ(types[1].wave, 0.0f);
  EXPECT_FALSE(types[1].alphaTest);
  EXPECT_EQ(types[2].kind, 9);
  EXPECT_EQ(types[2].textureNum, 0) << "no skins rather than a negative count";
  EXPECT_EQ(types[3].textureNum, 0);
}

class FlyableTest : public BattleTest {
 protected:
  Simulation& room(int level, std::uint32_t seed = 9) {
    Simulation& sim = simulate(settings(level, seed));
    sim.start();
    sim.battle().setDemo(true);
    return sim;
  }
};

TEST_F(FlyableTest, EntriesRepeatInTurnWhenARoomListsFewerThanFour) {
  // Room 0 lists a butterfly (kind 0) and a ufo (kind 2).
  Battle& battle = room(0).battle();
  ASSERT_EQ(battle.flyableCount(), 4);
  const int kinds[4] = {0, 2, 0, 2};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(battle.flyable(i).kind(), kinds[i]) << i;
  EXPECT_EQ(battle.flyable(0).type()->name, "butterfly");
  EXPECT_EQ(battle.flyable(1).type()->name, "ufo");
}

TEST_F(FlyableTest, ALookAheadWithNoFreeNeighbourRespawnsAtOnce) {
  Simulation& sim = room(0);
  Flyable& flyer = sim.battle().flyable(0);
  // Far outside the grid every neighbour is outside too, so none is free.
  flyer.lookAhead = Vector3(1000.0f, 1000.0f, 1000.0f);
  flyer.position = Vector3(5.0f, 5.0f, 5.0f);
  flyer.update(kDt);
  const PathFinder& finder = *sim.battle().pathFinder();
  EXPECT_EQ(finder.content(finder.cellOf(flyer.previousPosition)), 0)
      << "it is back in a free cell";
  EXPECT_NE(flyer.position, Vector3(5.0f, 5.0f, 5.0f));
}

TEST_F(FlyableTest, AShotFlyerDropsItsTumblingBoxToTheFloor) {
  Simulation& sim = room(1);
  Battle& battle = sim.battle();
  Flyable& flyer = battle.flyable(0);
  flyer.hit(&battle.gunship(0), kDt);
  EXPECT_TRUE(flyer.isHit());
  EXPECT_EQ(flyer.shooter(), &battle.gunship(0));
  for (const auto& part : flyer.node()->meshes())
    EXPECT_EQ(part->visible, part->name == "box") << part->name;
  const engine3d::Mesh* box = flyer.node()->findMesh("box");
  ASSERT_NE(box, nullptr);
  const engine3d::Matrix4 start = box->localMatrix;
  int frames = 0;
  while (!flyer.fallen() && frames++ < 600) sim.step(kDt);
  ASSERT_TRUE(flyer.fallen());
  EXPECT_FLOAT_EQ(flyer.position.y, -0.495f * battle.extent().y);
  EXPECT_FALSE(box->visible);
  EXPECT_NE(box->localMatrix, start) << "it tumbled on the way down";
  // The next maintenance call for it brings it back.
  flyer.respawn();
  EXPECT_FALSE(flyer.isHit());
  EXPECT_TRUE(box->visible);
}

TEST_F(FlyableTest, EveryFlyerOfEveryRoomFliesTenMinutesInsideTheRoom) {
  for (int level = 0; level <= 6; ++level) {
    Simulation& sim = room(level, 100 + static_cast<std::uint32_t>(level));
    Battle& battle = sim.battle();
    ASSERT_GT(battle.flyableCount(), 0) << "level " << level;
    const PathFinder& finder = *battle.pathFinder();
    const Vector3 e = battle.extent();
    for (int frame = 0; frame < 18000; ++frame) {
      sim.step(kDt);
      for (int i = 0; i < battle.flyableCount(); ++i) {
        const Flyable& f = battle.flyable(i);
        ASSERT_TRUE(std::isfinite(f.position.x) && std::isfinite(f.position.y) &&
                    std::isfinite(f.position.z));
        if (f.isHit()) continue;
        ASSERT_LE(std::fabs(f.position.x), 0.4f * e.x + 1e-3f) << "level " << level;
        ASSERT_LE(std::fabs(f.position.y), 0.35f * e.y + 1e-3f) << "level " << level;
        ASSERT_LE(std::fabs(f.position.z), 0.4f * e.z + 1e-3f) << "level " << level;
        ASSERT_GE(finder.content(finder.cellOf(f.position)), 0) << "inside the grid";
      }
    }
  }
}

}  // namespace
}  // namespace game::testing
