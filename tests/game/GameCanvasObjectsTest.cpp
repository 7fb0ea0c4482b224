// The battle page's object table against the demo "GameCanvas.properties": every scene,
// sprite, family and sound the page keeps a pointer to is found once the template has loaded.
#include "game/GameCanvasObjects.h"

#include <gtest/gtest.h>

#include "media/Scene3D.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "support/DemoScreens.h"

namespace game {
namespace {

using BattleScreen = testing_support::DemoScreenTest;

TEST_F(BattleScreen, EveryBoundObjectOfTheBattlePageIsFound) {
  scene::BoundObjects<GameCanvasObjects> o(*page, GameCanvasObjects::table());
  // The page chooses its 2D bitmaps before it reads the template.
  page->pageTemplate().set("USE_DEV_COMPT_BMP", "1");
  ASSERT_TRUE(load(GameCanvasObjects::table().requirements().file.data()));
  EXPECT_TRUE(allBound({o->world, o->gui, o->help, o->training}));
  EXPECT_TRUE(allBound({o->helpCard, o->autoDemo, o->console, o->map, o->trainingText, o->tipTitle,
                        o->tipContent, o->speedControl}));
  EXPECT_TRUE(allBound({o->scores[0], o->scores[1]}));
  for (int s = 0; s < 4; ++s)
    EXPECT_EQ(o->health[s], page->findObject("sptHealth" + std::to_string(s)));
  EXPECT_TRUE(allBound({o->health[0], o->health[1], o->health[2], o->health[3]}));
  EXPECT_TRUE(allBound({o->canon, o->remoteCanon, o->engine}));
  EXPECT_NE(o->canon, o->engine);
  // The message box comes with the page, not with this table.
  page->showMessageBox("Loading ...", "LOADING", media::GuiCanvas::kMessageInfo, false);
  EXPECT_NE(page->messageBox().box, nullptr);
  EXPECT_EQ(o->world, page->findScene("scene3D"));
}

TEST(GameCanvasObjects, TheSoundsPlayedByNameAreRequiredToo) {
  const scene::TemplateRequirements& needs = GameCanvasObjects::table().requirements();
  EXPECT_EQ(needs.file, "GameCanvas.properties");
  bool collisions = false;
  for (const scene::ObjectRequirement& r : needs.objects)
    if (r.name == "collision%d")
      collisions = r.count == 3 && r.type == scene::ObjectType::kWaveSound;
  EXPECT_TRUE(collisions);
}

}  // namespace
}  // namespace game
