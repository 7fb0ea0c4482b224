// Battle: one battle or training game, without a window.
//
// The battle owns the rules and everything they move: the level and its collision grid, the
// four helicopters with their cannons and pilots, the four bonus flyers, the page-wide effect
// pools, the camera modes, the scores, the clock and its one random source. The page that shows
// it (or a tool or test that runs it headless) implements BattleHost: the battle puts its models
// into the host's world, reads the host's millisecond clock, and tells it about
// sounds, engine pauses, view changes and the end of the game. The page does the rest: the
// template, the HUD and radar, keys, tips and message boxes.
//
// Per frame the runner calls frame(dt, input) (dt at most 0.1 s), draws, then advanceClock(dt);
// once a second it calls periodicTick(). Nothing allocates after setUp().
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine3d/Camera.h"
#include "engine3d/Group3D.h"
#include "engine3d/Model3dsLoader.h"
#include "engine3d/ModelCache.h"
#include "engine3d/Vector3.h"
#include "game/BattleCamera.h"
#include "game/Dice.h"
#include "game/Effects.h"
#include "game/Flyable.h"
#include "game/Gunship.h"
#include "game/PathFinder.h"

namespace media {
class BitmapFont;
}

namespace game {

class Analyzer;

inline constexpr int kHelicopters = 4;
inline constexpr int kFlyables = 4;

// -1 while the game runs; then how it ended.
enum GameResult : int {
  kRunning = -1,
  kWon = 0,
  kLost = 1,
  kTie = 2,
  kTimeOut = 3,
  kTrainingOver = 4,
};

class BattleHost {
 public:
  virtual ~BattleHost() = default;
  // Puts a model the battle made into the 3D world under `name` and returns it; the world owns
  // it for as long as the battle runs.
  virtual engine3d::Group3D* addModel(std::string_view name,
                                      std::unique_ptr<engine3d::Group3D> model) = 0;
  // The millisecond clock that spaces cannon sounds and debounces view switches.
  virtual std::uint32_t tickCount() = 0;
  // A one-shot sound by name ("explosion", "collision0", "canon" ...).
  virtual void playSound(std::string_view name) {}
  // The looped engine sound stops for `seconds` (the page restarts it).
  virtual void enginePause(float seconds) {}
  // The scores, the health bars, the viewed helicopter or the control style changed: the HUD
  // and the radar should be redrawn. Also asked for on every other periodic tick.
  virtual void hudChanged() {}
  // The game has just ended with `result` (the four helicopters are already revived).
  virtual void gameEnded(GameResult result) {}
};

struct BattleSettings {
  int level = 0;
  std::array<std::string, kHelicopters> characters;  // the pilot of each slot
  int skill = 1;
  int controlStyle = 0;  // 0 automatic speed, 1 manual speed
  bool training = false;
  std::uint32_t seed = 1;
};

struct BattleAssets {
  // The resource folder ("...\resources\"): "scenes", "chopper", "flyable" and "characters" lie
  // in it.
  std::string resourceFolder;
  // How models and their map pictures are loaded, and where the loaders' messages go.
  engine3d::ModelLoadOptions models;
  // The bitmap font flyer boxes show their value in ("fontGreen"); null leaves the value out.
  const media::BitmapFont* valueFont = nullptr;
};

// What the player does this frame; the page fills it from the keys.
struct PlayerInput {
  bool left = false;
  bool right = false;
  bool up = false;
  bool down = false;
  bool boost = false;  // the speed button is held
  bool fire = false;
};

class Battle {
 public:
  Battle(BattleHost& host, BattleSettings settings, BattleAssets assets);
  ~Battle();
  Battle(const Battle&) = delete;
  Battle& operator=(const Battle&) = delete;

  // Loads the level (radius 80 for levels 4 and 6, else 50) with its grid and free cells,
  // creates and places the four helicopters, the flyers and the effect pools. `progress` hears
  // the steps (text and percent). A missing level gives an empty room that still plays.
  void setUp(const std::function<void(std::string_view, int)>& progress = {});

  // The camera the world is seen through from now on: the camera modes move it, and bullet
  // marks are placed only where it sees. Without one (null) no marks are placed and the camera
  // modes only show and hide the helicopters' parts.
  void attachCamera(engine3d::Camera* camera);

  // A new game: clock 0, scores 0, result running, counters 0, slot 0 viewed and hand-flown,
  // camera mode 0, effects cleared.
  void start();
  // Places the helicopters again (not created, with the random turn) and starts again.
  void retry();

  // One frame: the hover bob, the player's input on the viewed helicopter, the helicopters,
  // the flyers, the marks and explosions, the camera.
  void frame(float dt, const PlayerInput& input);
  // After the frame was drawn: the game clock advances by dt.
  void advanceClock(float dt);
  // The once-a-second rules: every other tick a radar refresh; on the ticks between, one pilot
  // chooses its target, one flyer is re-spawned or nudged, the outcome is decided, and the
  // demonstration's or the ended game's camera cycle moves on.
  void periodicTick();

  // ---- The rules' shared operations ----
  // Adds to a team's score (0 team A, 1 team B); in training the score is set to 0 instead.
  void addScore(int team, int amount);
  // Shows an explosion at `matrix` moving with `speed`; with sound an engine pause of 2.7 s and
  // "explosion". Nothing (no sound either) when all eight explosions are busy.
  void explode(float speed, const engine3d::Matrix4& matrix, bool withSound);
  // Every helicopter targets the opponent in the same place of the other team (0 <-> 2,
  // 1 <-> 3), else the other opponent, else none, skipping dead ones.
  void assignTargets();
  // Places the four helicopters at the level's spawn points (create: make them first; keep the
  // heading: no random turn).
  void placeHelicopters(bool create, bool keepHeading);
  // Hands the view to slot 0 or 1 (ignored within 301 ms of the previous switch): team A flown
  // by the computer but the chosen one, camera mode 0.
  void switchView(int slot);
  // Cockpit and chase camera in turn (ignored within 301 ms of the previous toggle).
  void toggleCockpit();
  // Camera mode 0..7 (see BattleCamera).
  void setCameraMode(int mode);
  // The demonstration on (the viewed helicopter is flown by the computer and the camera cycles
  // through modes 0 to 3) or off.
  void setDemo(bool on);
  void setControlStyle(int style);

  // ---- What the page and the tests read ----
  Gunship& gunship(int slot) { return *gunships_[slot]; }
  const Gunship& gunship(int slot) const { return *gunships_[slot]; }
  int flyableCount() const { return static_cast<int>(flyables_.size()); }
  Flyable& flyable(int index) { return *flyables_[index]; }
  EffectPools& effects() { return effects_; }
  BattleCamera& camera() { return camera_; }
  const Analyzer* analyzer() const { return analyzer_.get(); }
  const PathFinder* pathFinder() const;
  const std::vector<int>& freeCells() const { return freeCells_; }
  engine3d::Group3D* level() const { return level_; }
  // The level's "ceiling", "ground" and "wall" parts (null when the level has none).
  const engine3d::Mesh* ceiling() const { return ceiling_; }
  const engine3d::Mesh* ground() const { return ground_; }
  const engine3d::Mesh* wall() const { return wall_; }
  const engine3d::Vector3& extent() const { return extent_; }
  float levelRadius() const { return levelRadius_; }
  // The highest |x|, |y|, |z| a helicopter may reach: half the extent less 2.2, 0.66, 2.2.
  const engine3d::Vector3& limits() const { return limits_; }
  const BattleSettings& settings() const { return settings_; }
  const BattleAssets& assets() const { return assets_; }
  BattleHost& host() { return host_; }
  Dice& dice() { return dice_; }
  engine3d::ModelCache& models() { return models_; }
  FlyerShared& flyerShared() { return flyerShared_; }
  const EffectArt& effectArt() const { return effectArt_; }

  float elapsed() const { return elapsed_; }
  float bobSin() const { return bobSin_; }
  float bobCos() const { return bobCos_; }
  bool running() const { return result_ == kRunning; }
  GameResult result() const { return result_; }
  int score(int team) const { return scores_[team]; }
  int viewedSlot() const { return viewedSlot_; }
  bool demo() const { return demo_; }
  int controlStyle() const { return settings_.controlStyle; }
  std::uint32_t lastCannonSound() const { return lastCannonSound_; }
  bool cannonSounded() const { return cannonSounded_; }
  void setCannonSound(std::uint32_t tick) {
    lastCannonSound_ = tick;
    cannonSounded_ = true;
  }
  // Counted for reports: helicopters destroyed per team, flyers shot down.
  int losses(int team) const { return losses_[team]; }
  int flyersHit() const { return flyersHit_; }
  void countLoss(int team) { ++losses_[team]; }
  void countFlyerHit() { ++flyersHit_; }

 private:
  void loadLevel();
  void loadEffectArt();
  void createFlyables();
  void applyInput(float dt, const PlayerInput& input);
  void decideOutcome();
  void endGame(GameResult result);
  void viewSlot(int slot);

  BattleHost& host_;
  BattleSettings settings_;
  BattleAssets assets_;
  Dice dice_;
  engine3d::ModelCache models_;
  std::string levelFolder_;
  engine3d::Group3D* level_ = nullptr;
  const engine3d::Mesh* ceiling_ = nullptr;
  const engine3d::Mesh* ground_ = nullptr;
  const engine3d::Mesh* wall_ = nullptr;
  std::array<engine3d::Vector3, 2> spawns_;
  std::array<bool, 2> hasSpawn_{};
  std::unique_ptr<Analyzer> analyzer_;
  std::vector<int> freeCells_;
  engine3d::Vector3 extent_;
  engine3d::Vector3 limits_;
  float levelRadius_ = 50.0f;
  std::array<std::unique_ptr<Gunship>, kHelicopters> gunships_;
  std::vector<FlyableType> flyableTypes_;  // the flyers point into it: filled once, never grown
  std::vector<std::unique_ptr<Flyable>> flyables_;
  FlyerShared flyerShared_;
  EffectArt effectArt_;
  EffectPools effects_;
  BattleCamera camera_;

  float elapsed_ = 0.0f;
  float bobSin_ = 0.0f;
  float bobCos_ = 1.0f;
  GameResult result_ = kRunning;
  std::array<int, 2> scores_{};
  std::array<int, 2> losses_{};
  int flyersHit_ = 0;
  int viewedSlot_ = 0;
  bool demo_ = false;
  std::uint32_t lastCannonSound_ = 0;
  bool cannonSounded_ = false;
  std::uint32_t lastViewSwitch_ = 0;
  bool viewSwitched_ = false;
  std::uint32_t lastCockpitToggle_ = 0;
  bool cockpitToggled_ = false;
  int ticks_ = 0;
  int nextPilot_ = 0;
  int nextFlyer_ = 0;
  int demoCounter_ = 0;
  int endCounter_ = 0;
};

}  // namespace game
