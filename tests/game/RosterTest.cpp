// The rooms and pilots of the built content, and the team code.
#include <gtest/gtest.h>

#include "BattleFixture.h"
#include "game/Roster.h"

namespace game::testing {
namespace {

TEST(Roster, RoomsAreTheMenuPicturesInNameOrder) {
  const std::vector<std::string> names = roomNames(resourceFolder());
  ASSERT_EQ(names.size(), 7u);
  EXPECT_EQ(names[0], "Living Room");
  EXPECT_EQ(names[4], "Warehouse");
  EXPECT_EQ(names[6], "Gym Hall");
  EXPECT_EQ(roomFiles(resourceFolder())[6], "level6_Gym_Hall");
}

TEST(Roster, PilotsComeInDescendingNameOrder) {
  const std::vector<std::string> names = characterNames(resourceFolder());
  EXPECT_EQ(names, (std::vector<std::string>{"Vega", "Rook", "Nova", "Juno"}));
}

TEST(Roster, TheTeamCodeReadsFourDigitsUnitsFirst) {
  const std::vector<std::string> pilots{"Vega", "Rook", "Nova", "Juno"};
  // Slot characters 2, 0, 3, 1 make 1302.
  EXPECT_EQ(encodeTeam({2, 0, 3, 1}), 1302);
  auto team = decodeTeam(1302, pilots);
  ASSERT_TRUE(team);
  EXPECT_EQ(*team, (std::array<std::string, 4>{"Nova", "Vega", "Juno", "Rook"}));
  // Below 1000 the thousands digit is 0: slot 3 gets character 0.
  team = decodeTeam(321, pilots);
  ASSERT_TRUE(team);
  EXPECT_EQ((*team)[3], "Vega");
  EXPECT_EQ((*team)[0], "Rook");
  // A digit past the list, or a negative code, names nobody.
  EXPECT_FALSE(decodeTeam(3214, pilots));
  EXPECT_FALSE(decodeTeam(-1203, pilots));
  EXPECT_FALSE(decodeTeam(0, {}));
}

}  // namespace
}  // namespace game::testing
