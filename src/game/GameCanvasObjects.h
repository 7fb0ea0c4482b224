// The template objects of the battle page, as "GameCanvas.properties" describes them.
//
// The game page (a media::GuiCanvas) keeps `scene::BoundObjects<GameCanvasObjects>
// objects_{*this, GameCanvasObjects::table()};` and reads objects_->map, objects_->health[2] ...
// once its template has loaded; the message box comes with GuiCanvas::messageBox(). A missing
// object leaves its pointer null: the page leaves that item blank or silent and carries on.
// skirrow-tool validate checks the template against the same table.
#pragma once

#include <array>

#include "scene/ObjectTable.h"

namespace media {
class BitmapFont;
class Scene3D;
class SceneSprite;
class Sprite;
}  // namespace media

namespace game {

struct GameCanvasObjects {
  // Scenes.
  media::Scene3D* world = nullptr;         // "scene3D": the level, helicopters and flyers
  media::SceneSprite* gui = nullptr;       // "sceneGUI": the head-up display
  media::SceneSprite* help = nullptr;      // "sceneHelp"
  media::SceneSprite* training = nullptr;  // "sceneTraining": the tips
  // Sprites.
  media::Sprite* helpCard = nullptr;       // "sptHelpCard": shows "control_ppc.gif"
  std::array<media::Sprite*, 2> scores{};  // "sptScore%d": team A, team B
  media::Sprite* autoDemo = nullptr;       // "txtAutoDemo"
  media::Sprite* console = nullptr;        // "sptConsoleBKG": icons and bar frames
  media::Sprite* map = nullptr;            // "sptMap": the radar
  std::array<media::Sprite*, 4> health{};  // "sptHealth%d": one bar per slot
  media::Sprite* trainingText = nullptr;   // "txtTraining"
  media::Sprite* tipTitle = nullptr;       // "sptTipTitile"
  media::Sprite* tipContent = nullptr;     // "sptTipContent"
  media::Sprite* speedControl = nullptr;   // "btnSpeedControl": pressed while fast
  // Sounds the page starts and stops itself; the others are played by name (see the table).
  scene::PageSound* canon = nullptr;        // "canon"
  scene::PageSound* remoteCanon = nullptr;  // "remotecanon"
  scene::PageSound* engine = nullptr;       // "engine", looped
  // The font the flyers' boxes show their values in.
  media::BitmapFont* fontGreen = nullptr;  // "fontGreen"

  static const scene::ObjectTable<GameCanvasObjects>& table();
};

}  // namespace game
