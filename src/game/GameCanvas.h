// GameCanvas: the page that runs one battle or training game.
//
// The page ("gameCanvas") is filled from "GameCanvas.properties". It sets the battle up (the
// room with its grid, four helicopters, flyers and effects; see Battle), draws it in "scene3D"
// with the driver the command line asked for, and shows the head-up display: team scores, the
// console with each pilot's icon and health bar, the radar map, enemy markers, the optional
// info line and, in training, the tips. It turns keys and taps into the player's flying and the
// page's commands, decides with the battle when the game is over, and answers the message
// boxes: a won battle goes on to the scoreboard, a lost one may be tried again, anything else
// returns to the intro. Those go through the page's relaunch hook (a new process of the program
// with another command line), so the page never returns to the menus by itself.
//
// The battle's frames are paced to at most 30 per second; a slow frame's step is still cut at
// 0.1 s.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine3d/Renderer.h"
#include "game/Battle.h"
#include "game/GameCanvasObjects.h"
#include "game/GameHud.h"
#include "game/LevelSubdivision.h"
#include "media/GuiCanvas.h"
#include "scene/ObjectTable.h"

namespace media {
class BitmapFont;
class Runtime;
class Image;
class Scene3D;
class SceneSprite;
class Sprite;
class WaveSound;
}  // namespace media

namespace game {

// The four numbers of "ARG:GameCanvas:%d,%d,%d,%d" and what the start-up decided of them.
struct GameLaunch {
  int room = 0;
  int teamCode = 0;
  bool openGl = false;    // the OpenGL ES driver draws (else the software renderer)
  bool glNotice = false;  // OpenGL ES was asked for on a device without it: tell first
  bool training = false;
};

class GameCanvas : public media::GuiCanvas,
                   public BattleHost,
                   public engine3d::RendererErrorListener {
 public:
  static constexpr const char* kPageName = "gameCanvas";
  static constexpr const char* kTemplate = "GameCanvas.properties";

  // What the page needs of the program: where the resources are, the settings file's name,
  // and how to start the program again with another command line (the page ends with it).
  struct Services {
    std::string resourceFolder;  // "...\resources\"
    std::string guiFolder;       // "...\resources\GUI\"
    std::string settingsFile;    // "gsetting.properties" or the VGA model's
    std::function<void(const std::string& commandLine)> relaunch;
    // The battle's seed; nothing for the clock (a repeatable run passes a fixed one).
    std::optional<std::uint32_t> seed;
  };

  // The page of `launch` for a run of `runtime`. It sets itself up once it has its window.
  GameCanvas(media::Runtime& runtime, Services services, GameLaunch launch);
  ~GameCanvas() override;

  // Set up (the battle exists), and started (its frames run).
  bool ready() const { return ready_; }
  bool started() const { return started_; }
  Battle* battle() { return battle_.get(); }
  // The 3D driver's own name, shown in the info line.
  const std::string& rendererName() const { return rendererName_; }
  const GameCanvasObjects& objects() const { return *objects_; }
  bool infoLine() const { return infoLine_; }
  int tipIndex() const { return tipIndex_; }
  int tipCount() const { return static_cast<int>(tips_.size()); }

  // ---- Canvas ----
  void update(float seconds) override;
  void afterDraw(float seconds) override;
  void onReport(float periodSeconds) override;
  void afterLoad() override {}  // the 3D scene is set up once the battle has filled it
  void reactToStylus(scene::SceneObject& pressed, std::uint32_t message) override;

  // ---- BattleHost ----
  engine3d::Group3D* addModel(std::string_view name,
                              std::unique_ptr<engine3d::Group3D> model) override;
  std::uint32_t tickCount() override;
  void playSound(std::string_view name) override;
  void enginePause(float seconds) override;
  void hudChanged() override;
  void gameEnded(GameResult result) override;

  // ---- The 3D driver's failure hook ----
  // The OpenGL ES context could not be resumed: says so once in the system's box; the game
  // carries on.
  void rendererError(int code) override;

  // Handles a component command: a tap released on the component `name` (see the command
  // words in GameCanvas.cpp, tested in their order).
  void command(const std::string& name);
  // Handles a key press (after the key map): Escape, Q, Z, F1 to F8 and the display library's
  // C and Start keys.
  void keyPressed(std::uint32_t key);
  // The next (+1) or previous (-1) training tip, wrapping around.
  void stepTip(int step);

 protected:
  // The whole set-up once the window exists: "Loading ..." with the loading progress, the
  // battle, the HUD and the 3D scene; then the game starts, or the OpenGL notice comes first.
  // A room that cannot be loaded gives an empty room; a team code naming no pilots shows a box
  // that leads back to the intro.
  void afterCreate() override;
  void onKey(std::uint32_t message, std::uint32_t key) override;

 private:
  void setUp();
  void begin();
  // Start (also on a retry and after the OpenGL notices): sounds, engine, the battle's start.
  void startGame();
  void switchTeammate();
  void readSettings();
  void loadTips();
  void showTip(int index);
  void attachSubdivision();
  void askToQuit();
  void answer(const std::string& button);
  void relaunch(const std::string& commandLine);
  PlayerInput readInput();
  void endEnginePause();
  void setControlStyle(int style);
  void showInfoLine(bool on);

  Services services_;
  GameLaunch launch_;
  scene::BoundObjects<GameCanvasObjects> objects_{*this, GameCanvasObjects::table()};
  std::unique_ptr<Battle> battle_;
  GameHud hud_;
  std::unique_ptr<media::Image> helpCard_;
  std::vector<std::unique_ptr<engine3d::Group3D>> unseen_;  // models without a 3D scene
  std::string rendererName_;
  LevelSubdivision subdivision_;
  std::vector<std::pair<std::string, std::string>> tips_;  // title, content
  int tipIndex_ = 0;
  float tipTimer_ = 0.0f;
  int skill_ = 1;
  int controlStyle_ = 0;
  bool ready_ = false;
  bool started_ = false;
  bool infoLine_ = false;
  int freeRamMb_ = 0;  // the info line's "FreeRAM", read on the tick
  bool speedButtonHeld_ = false;
  bool fireHeldBefore_ = false;
  bool enginePaused_ = false;
  float engineStopped_ = 0.0f;
  float engineDuration_ = 0.0f;
  int ticks_ = 0;
  bool rendererFailed_ = false;
};

}  // namespace game
