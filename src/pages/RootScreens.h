// The template objects of the root page's screens: what the page flow looks up in "intro",
// "MainMenu", "TeamSetup", "back" and "scoreboard" (the cover screen has nothing the page needs).
// The root page keeps a scene::BoundObjects of the screen it shows; skirrow-tool validate checks
// each template against the same table.
#pragma once

#include <array>
#include <vector>

#include "scene/ObjectTable.h"

namespace media {
class SceneSprite;
class Sprite;
}  // namespace media

namespace pages {

struct IntroObjects {
  media::SceneSprite* scene = nullptr;       // "introScene"
  media::Sprite* movie = nullptr;            // "sptMovie": plays "video%d.gif" in turn
  media::Sprite* keyCalibration = nullptr;   // "cmdKeyCalibration": blinks until calibrated
  media::Sprite* enterTraining = nullptr;    // "cmdEnterTraining": blinks until trained
  scene::PageSound* titleMusic = nullptr;    // "titleMusic", looped

  static const scene::ObjectTable<IntroObjects>& table();
};

struct MainMenuObjects {
  media::Sprite* title = nullptr;      // "txtTitle": training or battle
  media::Sprite* nextRoom = nullptr;   // "btnNextRoom"
  media::Sprite* lastRoom = nullptr;   // "btnLastRoom"
  media::Sprite* preview = nullptr;    // "sptPreview": the room's picture
  media::Sprite* roomName = nullptr;   // "txtRoomName": pulses
  // Also required: the check-box group "soundEffect", the variable "sceneSelected" and the
  // commands EnterTraining, EnterGame, EnterTeamSetup, rdoSound, cmdQuitGame, cmdGSetting,
  // cmdManual and cmdExit.

  static const scene::ObjectTable<MainMenuObjects>& table();
};

struct TeamSetupObjects {
  media::Sprite* combination = nullptr;        // "txtCombination": training or battle team
  std::array<media::Sprite*, 4> icons{};       // "spticon%d": each character's home place
  std::array<media::Sprite*, 4> slots{};       // "sptbigicon%d": the team slots
  std::array<media::Sprite*, 4> racers{};      // "sptRacer%d": the portraits that move
  media::Sprite* reset = nullptr;              // "btnReset"
  // Also required: the command StartGame.

  static const scene::ObjectTable<TeamSetupObjects>& table();
};

struct BackObjects {
  media::SceneSprite* prompt = nullptr;      // "scenePrompt": scrolls up
  scene::PageSound* titleMusic = nullptr;    // "titleMusic", looped

  static const scene::ObjectTable<BackObjects>& table();
};

struct ScoreboardObjects {
  media::SceneSprite* gui = nullptr;         // "sceneGUI"
  media::Sprite* newPlayer = nullptr;        // "sptNewRecordPlayer": the name entry
  media::Sprite* newScore = nullptr;         // "sptNewRecordScore"
  media::Sprite* newDate = nullptr;          // "sptNewRecordDate"
  media::Sprite* level = nullptr;            // "txtLevel": the room's name
  std::array<media::Sprite*, 8> players{};   // "player%d": the table rows
  std::array<media::Sprite*, 8> scores{};    // "score%d"
  std::array<media::Sprite*, 8> dates{};     // "date%d"
  scene::PageSound* music = nullptr;         // "scoreboard", looped

  static const scene::ObjectTable<ScoreboardObjects>& table();
};

// What each of the screens above requires, in the order the page flow reaches them.
std::vector<scene::TemplateRequirements> rootScreenRequirements();

}  // namespace pages
