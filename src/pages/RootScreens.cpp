#include "pages/RootScreens.h"

#include "media/SceneSprite.h"
#include "media/Sprite.h"

namespace pages {

using scene::ObjectType;

const scene::ObjectTable<IntroObjects>& IntroObjects::table() {
  using T = scene::ObjectTable<IntroObjects>;
  using O = IntroObjects;
  static const T table("intro.properties",
                       {
                           T::object<&O::scene>("introScene", ObjectType::kSceneSprite),
                           T::object<&O::movie>("sptMovie", ObjectType::kSprite),
                           T::object<&O::keyCalibration>("cmdKeyCalibration", ObjectType::kSprite),
                           T::object<&O::enterTraining>("cmdEnterTraining", ObjectType::kSprite),
                           T::object<&O::titleMusic>("titleMusic", ObjectType::kWaveSound),
                       });
  return table;
}

const scene::ObjectTable<MainMenuObjects>& MainMenuObjects::table() {
  using T = scene::ObjectTable<MainMenuObjects>;
  using O = MainMenuObjects;
  static const T table("MainMenu.properties",
                       {
                           T::object<&O::title>("txtTitle", ObjectType::kSprite),
                           T::object<&O::nextRoom>("btnNextRoom", ObjectType::kSprite),
                           T::object<&O::lastRoom>("btnLastRoom", ObjectType::kSprite),
                           T::object<&O::preview>("sptPreview", ObjectType::kSprite),
                           T::object<&O::roomName>("txtRoomName", ObjectType::kSprite),
                           T::property("soundEffect"),
                           T::property("sceneSelected"),
                           T::command("EnterTraining"),
                           T::command("EnterGame"),
                           T::command("EnterTeamSetup"),
                           T::command("rdoSound"),
                           T::command("cmdQuitGame"),
                           T::command("cmdGSetting"),
                           T::command("cmdManual"),
                           T::command("cmdExit"),
                       });
  return table;
}

const scene::ObjectTable<TeamSetupObjects>& TeamSetupObjects::table() {
  using T = scene::ObjectTable<TeamSetupObjects>;
  using O = TeamSetupObjects;
  static const T table("TeamSetup.properties",
                       {
                           T::object<&O::combination>("txtCombination", ObjectType::kSprite),
                           T::object<&O::icons>("spticon%d", ObjectType::kSprite),
                           T::object<&O::slots>("sptbigicon%d", ObjectType::kSprite),
                           T::object<&O::racers>("sptRacer%d", ObjectType::kSprite),
                           T::object<&O::reset>("btnReset", ObjectType::kSprite),
                           T::command("StartGame"),
                       });
  return table;
}

const scene::ObjectTable<BackObjects>& BackObjects::table() {
  using T = scene::ObjectTable<BackObjects>;
  using O = BackObjects;
  static const T table("back.properties",
                       {
                           T::object<&O::prompt>("scenePrompt", ObjectType::kSceneSprite),
                           T::object<&O::titleMusic>("titleMusic", ObjectType::kWaveSound),
                       });
  return table;
}

const scene::ObjectTable<ScoreboardObjects>& ScoreboardObjects::table() {
  using T = scene::ObjectTable<ScoreboardObjects>;
  using O = ScoreboardObjects;
  static const T table("scoreboard.properties",
                       {
                           T::object<&O::gui>("sceneGUI", ObjectType::kSceneSprite),
                           T::object<&O::newPlayer>("sptNewRecordPlayer", ObjectType::kSprite),
                           T::object<&O::newScore>("sptNewRecordScore", ObjectType::kSprite),
                           T::object<&O::newDate>("sptNewRecordDate", ObjectType::kSprite),
                           T::object<&O::level>("txtLevel", ObjectType::kSprite),
                           T::object<&O::players>("player%d", ObjectType::kSprite),
                           T::object<&O::scores>("score%d", ObjectType::kSprite),
                           T::object<&O::dates>("date%d", ObjectType::kSprite),
                           T::object<&O::music>("scoreboard", ObjectType::kWaveSound),
                       });
  return table;
}

std::vector<scene::TemplateRequirements> rootScreenRequirements() {
  return {IntroObjects::table().requirements(), MainMenuObjects::table().requirements(),
          TeamSetupObjects::table().requirements(), BackObjects::table().requirements(),
          ScoreboardObjects::table().requirements()};
}

}  // namespace pages
