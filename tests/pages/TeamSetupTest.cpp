// The team set-up's portraits, slots and team code on sprites laid out as the demo screen lays
// them out: homes in a row at the bottom, the four slots above.
#include "pages/TeamSetup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "media/Sprite.h"

namespace pages {
namespace {

class TeamSetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const int slotX[4] = {28, 28, 148, 148}, slotY[4] = {64, 148, 64, 148};
    for (int j = 0; j < 4; ++j) {
      icons[j] = make(12 + 57 * j, 244, 48, 48);
      racers[j] = make(12 + 57 * j, 244, 48, 48);
      slots[j] = make(slotX[j], slotY[j], 64, 64);
    }
    reset = make(16, 296, 96, 22);
    team.setUp(icons, slots, racers, reset, {"Vega", "Rook", "Nova", "Juno"});
  }

  media::Sprite* make(int x, int y, int w, int h) {
    owned.push_back(std::make_unique<media::Sprite>(x, y, w, h));
    return owned.back().get();
  }

  void choose(int portrait) { racers[portrait]->status = 1; }
  // Frames until nothing moves any more (at most `limit`).
  int settle(int limit = 200) {
    for (int frame = 0; frame < limit; ++frame) {
      std::vector<int> before;
      for (media::Sprite* r : racers) before.insert(before.end(), {r->x, r->y, r->width, r->status});
      team.animate();
      std::vector<int> after;
      for (media::Sprite* r : racers) after.insert(after.end(), {r->x, r->y, r->width, r->status});
      if (before == after) return frame;
    }
    return limit;
  }
  std::vector<int> seated() const {
    return {team.slotValue(0), team.slotValue(1), team.slotValue(2), team.slotValue(3)};
  }

  std::vector<std::unique_ptr<media::Sprite>> owned;
  std::array<media::Sprite*, 4> icons{}, slots{}, racers{};
  media::Sprite* reset = nullptr;
  TeamSetup team;
};

TEST_F(TeamSetupTest, APortraitMovesAQuarterOfTheWayPerFrameAndSnapsWithinThreePixels) {
  choose(0);
  team.animate();
  // From (12, 244) toward slot 0 at (28, 64): 16 >> 2 = 4 across, 180 >> 2 = 45 up, one pixel
  // bigger on each side.
  EXPECT_EQ(racers[0]->x, 16);
  EXPECT_EQ(racers[0]->y, 199);
  EXPECT_EQ(racers[0]->width, 49);
  EXPECT_EQ(racers[0]->height, 49);
  EXPECT_EQ(slots[0]->text(), "Vega");
  EXPECT_EQ(team.boundSlot(0), 0);
  // Not seated until it has arrived.
  EXPECT_EQ(team.slotValue(0), -1);
  int frames = 0;
  while (racers[0]->y != 64 && frames < 100) {
    const int x = racers[0]->x, y = racers[0]->y;
    team.animate();
    ++frames;
    if (std::abs(64 - y) > 3 || std::abs(28 - x) > 3)
      EXPECT_EQ(racers[0]->y, y - (std::abs(64 - y) >> 2)) << frames;
  }
  ASSERT_LT(frames, 100);
  // Snapped to the slot's whole rectangle, size included, and seated.
  EXPECT_EQ(racers[0]->x, 28);
  EXPECT_EQ(racers[0]->width, 64);
  EXPECT_EQ(racers[0]->height, 64);
  EXPECT_EQ(team.slotValue(0), 0);
  // One chosen pilot chooses nobody else.
  EXPECT_EQ(team.selectedCount(), 1);
}

TEST_F(TeamSetupTest, TwoChosenFillTheEnemySlotsWithTheOthersInPortraitOrder) {
  choose(3);
  settle();
  choose(1);
  settle();
  EXPECT_EQ(seated(), (std::vector<int>{3, 1, 0, 2}));
  EXPECT_EQ(slots[2]->text(), "Vega");
  EXPECT_EQ(slots[3]->text(), "Nova");
  EXPECT_EQ(team.teamCode(), 2013);
  EXPECT_TRUE(reset->visible);
}

TEST_F(TeamSetupTest, TheEnemiesGoInPortraitOrderWhicheverPortraitArrivedLast) {
  // Portrait 2 arrives last; portrait 1 (before it) still takes the first enemy slot.
  choose(0);
  settle();
  choose(2);
  settle();
  EXPECT_EQ(seated(), (std::vector<int>{0, 2, 1, 3}));
  EXPECT_EQ(team.teamCode(), 3120);
}

TEST_F(TeamSetupTest, SlotCharactersTwoZeroThreeOneGiveTeamCode1302) {
  // Chosen one per frame, each binds before any has arrived: slots in the order chosen.
  for (int portrait : {2, 0, 3, 1}) {
    choose(portrait);
    team.animate();
  }
  EXPECT_FALSE(team.teamCode());  // nobody has arrived yet
  settle();
  EXPECT_EQ(seated(), (std::vector<int>{2, 0, 3, 1}));
  EXPECT_EQ(team.teamCode(), 1302);
}

TEST_F(TeamSetupTest, ResetShowsWithFourAndEmptiesEverySlot) {
  team.animate();
  EXPECT_FALSE(reset->visible);
  choose(0);
  choose(1);
  settle();
  ASSERT_EQ(team.selectedCount(), 4);
  EXPECT_TRUE(reset->visible);
  team.reset();
  EXPECT_EQ(seated(), (std::vector<int>{-1, -1, -1, -1}));
  for (media::Sprite* slot : slots) EXPECT_EQ(slot->text(), "");
  EXPECT_FALSE(team.teamCode());
  team.animate();
  EXPECT_FALSE(reset->visible);
  settle();
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(racers[j]->x, icons[j]->x) << j;
    EXPECT_EQ(racers[j]->y, icons[j]->y) << j;
    EXPECT_EQ(racers[j]->width, 48) << j;
  }
  // The team can be chosen again from the start.
  choose(2);
  settle();
  EXPECT_EQ(team.slotValue(0), 2);
}

TEST_F(TeamSetupTest, APortraitTakenBackFreesItsSlotOnceHome) {
  choose(1);
  settle();
  ASSERT_EQ(team.slotValue(0), 1);
  racers[1]->status = 0;
  settle();
  EXPECT_EQ(racers[1]->y, 244);
  EXPECT_EQ(team.slotValue(0), -1);
  EXPECT_EQ(slots[0]->text(), "");
  EXPECT_EQ(team.boundSlot(1), -1);
  // The next choice takes the freed slot, not the second one.
  choose(3);
  settle();
  EXPECT_EQ(team.slotValue(0), 3);
  EXPECT_EQ(team.slotValue(1), -1);
}

TEST_F(TeamSetupTest, MissingSpritesAreLeftOut) {
  TeamSetup partial;
  std::array<media::Sprite*, 4> none{};
  partial.setUp(none, slots, racers, nullptr, {"Vega"});
  racers[0]->status = 1;
  racers[1]->status = 1;
  for (int i = 0; i < 50; ++i) partial.animate();
  // Without homes the portraits are never moved back, but the chosen still take their slots.
  EXPECT_EQ(partial.slotValue(0), 0);
  EXPECT_EQ(slots[1]->text(), "?");
}

}  // namespace
}  // namespace pages
