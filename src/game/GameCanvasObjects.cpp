#include "game/GameCanvasObjects.h"

#include "media/BitmapFont.h"
#include "media/Scene3D.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"

namespace game {

const scene::ObjectTable<GameCanvasObjects>& GameCanvasObjects::table() {
  using T = scene::ObjectTable<GameCanvasObjects>;
  using O = GameCanvasObjects;
  using scene::ObjectType;
  static const T table("GameCanvas.properties",
                       {
                           T::object<&O::world>("scene3D", ObjectType::kScene3D),
                           T::object<&O::gui>("sceneGUI", ObjectType::kSceneSprite),
                           T::object<&O::help>("sceneHelp", ObjectType::kSceneSprite),
                           T::object<&O::training>("sceneTraining", ObjectType::kSceneSprite),
                           T::object<&O::helpCard>("sptHelpCard", ObjectType::kSprite),
                           T::object<&O::scores>("sptScore%d", ObjectType::kSprite),
                           T::object<&O::autoDemo>("txtAutoDemo", ObjectType::kSprite),
                           T::object<&O::console>("sptConsoleBKG", ObjectType::kSprite),
                           T::object<&O::map>("sptMap", ObjectType::kSprite),
                           T::object<&O::health>("sptHealth%d", ObjectType::kSprite),
                           T::object<&O::trainingText>("txtTraining", ObjectType::kSprite),
                           T::object<&O::tipTitle>("sptTipTitile", ObjectType::kSprite),
                           T::object<&O::tipContent>("sptTipContent", ObjectType::kSprite),
                           T::object<&O::speedControl>("btnSpeedControl", ObjectType::kSprite),
                           T::object<&O::canon>("canon", ObjectType::kWaveSound),
                           T::object<&O::remoteCanon>("remotecanon", ObjectType::kWaveSound),
                           T::object<&O::engine>("engine", ObjectType::kWaveSound),
                           T::declared("explosion", ObjectType::kWaveSound),
                           T::declared("tip", ObjectType::kWaveSound),
                           T::declared("gameover", ObjectType::kWaveSound),
                           T::declared("collision%d", ObjectType::kWaveSound, 3),
                           T::object<&O::fontGreen>("fontGreen", ObjectType::kBitmapFont),
                           T::command("cmdInfo"),
                           T::command("autoDemo"),
                           T::command("cmdCamera"),
                           T::command("cmdTeammate"),
                           T::command("cmdOpenHelp"),
                           T::command("cmdQuitGame"),
                           T::command("btnNextTip"),
                           T::command("btnLastTip"),
                       });
  return table;
}

}  // namespace game
