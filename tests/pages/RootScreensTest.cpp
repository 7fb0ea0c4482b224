// The root page's screen tables against the demo templates: every object each table names is
// found, of its kind, once the screen has loaded; and the tables name the templates they check.
#include "pages/RootScreens.h"

#include <gtest/gtest.h>

#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "support/DemoScreens.h"

namespace pages {
namespace {

using Screens = testing_support::DemoScreenTest;

TEST_F(Screens, IntroBindsItsMovieBlinkingCommandsAndMusic) {
  scene::BoundObjects<IntroObjects> o(*page, IntroObjects::table());
  ASSERT_TRUE(load(IntroObjects::table().requirements().file.data()));
  EXPECT_TRUE(allBound({o->scene, o->movie, o->keyCalibration, o->enterTraining, o->titleMusic}));
  EXPECT_EQ(o->movie, page->findObject("sptMovie"));
  // Another screen replaces it: the intro's objects are gone, and the closing screen's music of
  // the same name is the one bound now.
  ASSERT_TRUE(load("back.properties"));
  EXPECT_EQ(o->movie, nullptr);
  EXPECT_EQ(o->scene, nullptr);
  EXPECT_EQ(o->titleMusic, page->findSound("titleMusic"));
  EXPECT_NE(o->titleMusic, nullptr);
}

TEST_F(Screens, MainMenuBindsItsRoomChoice) {
  scene::BoundObjects<MainMenuObjects> o(*page, MainMenuObjects::table());
  ASSERT_TRUE(load("MainMenu.properties"));
  EXPECT_TRUE(allBound({o->title, o->nextRoom, o->lastRoom, o->preview, o->roomName}));
}

TEST_F(Screens, TeamSetupBindsFourOfEachFamily) {
  scene::BoundObjects<TeamSetupObjects> o(*page, TeamSetupObjects::table());
  ASSERT_TRUE(load("TeamSetup.properties"));
  EXPECT_TRUE(allBound({o->combination, o->reset}));
  for (int j = 0; j < 4; ++j) {
    EXPECT_TRUE(allBound({o->icons[j], o->slots[j], o->racers[j]})) << j;
    EXPECT_EQ(o->racers[j], page->findObject("sptRacer" + std::to_string(j)));
  }
  EXPECT_NE(o->icons[0], o->icons[3]);
}

TEST_F(Screens, BackAndScoreboardBindTheirObjects) {
  scene::BoundObjects<BackObjects> back(*page, BackObjects::table());
  scene::BoundObjects<ScoreboardObjects> board(*page, ScoreboardObjects::table());
  ASSERT_TRUE(load("back.properties"));
  EXPECT_TRUE(allBound({back->prompt, back->titleMusic}));
  EXPECT_EQ(board->gui, nullptr);
  ASSERT_TRUE(load("scoreboard.properties"));
  EXPECT_EQ(back->prompt, nullptr);
  EXPECT_TRUE(allBound(
      {board->gui, board->newPlayer, board->newScore, board->newDate, board->level, board->music}));
  for (int n = 0; n < 8; ++n)
    EXPECT_TRUE(allBound({board->players[n], board->scores[n], board->dates[n]})) << n;
}

TEST(RootScreenRequirements, CoverEachScreenOnceInTheOrderOfThePageFlow) {
  std::vector<scene::TemplateRequirements> screens = rootScreenRequirements();
  ASSERT_EQ(screens.size(), 5u);
  EXPECT_EQ(screens[0].file, "intro.properties");
  EXPECT_EQ(screens[1].file, "MainMenu.properties");
  EXPECT_EQ(screens[2].file, "TeamSetup.properties");
  EXPECT_EQ(screens[3].file, "back.properties");
  EXPECT_EQ(screens[4].file, "scoreboard.properties");
  // The scoreboard's rows are families of eight.
  int rows = 0;
  for (const scene::ObjectRequirement& r : screens[4].objects)
    if (r.count == 8) ++rows;
  EXPECT_EQ(rows, 3);
}

}  // namespace
}  // namespace pages
