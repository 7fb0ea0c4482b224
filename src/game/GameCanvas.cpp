#include "game/GameCanvas.h"

#include <cstdio>
#include <ctime>

#include "engine3d/Camera.h"
#include "engine3d/Renderer.h"
#include "game/Roster.h"
#include "host/Gapi.h"
#include "host/Host.h"
#include "host/Keys.h"
#include "host/MessageBoxes.h"
#include "host/Messages.h"
#include "host/System.h"
#include "media/BitmapFont.h"
#include "media/Creators3D.h"
#include "media/Image.h"
#include "media/ProgressBar.h"
#include "media/Runtime.h"
#include "media/Scene3D.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "media/WaveSound.h"
#include "platform/ProcessSwitches.h"
#include "platform/SystemServices.h"
#include "platform/Template.h"
#include "scene/TemplateFactory.h"

namespace game {

namespace {

using scene::ObjectType;

constexpr std::uint32_t kKeyEscape = 27;
constexpr std::uint32_t kKeyQ = 81;
constexpr std::uint32_t kKeyZ = 90;
constexpr std::uint32_t kKeyF1 = 112;
constexpr std::uint32_t kKeyF8 = 119;
constexpr float kTipSeconds = 12.0f;
constexpr int kIdleResetMs = 10000;

}  // namespace

GameCanvas::GameCanvas(media::Runtime& runtime, Services services, GameLaunch launch)
    : GuiCanvas(runtime, kPageName, true), services_(std::move(services)), launch_(launch) {
  // Clamped frames: a slow frame's step is cut at a tenth of a second; once a second the
  // periodic rules run.
  frameTimer().setMode(scene::FrameTimer::kClamp);
  frameTimer().setTargetFps(10);
  frameTimer().setWindowMs(1000);
  rendererType = -1;  // the 3D scene is set up by hand once the battle has filled it
  // The per-frame rules were made for a few tens of frames a second.
  setMaxFramesPerSecond(30);
}

GameCanvas::~GameCanvas() = default;

void GameCanvas::afterCreate() {
  GuiCanvas::afterCreate();
  setUp();
  begin();
}

void GameCanvas::readSettings() {
  platform::Template settings('=', ',', ':');
  settings.load(services_.guiFolder, services_.settingsFile);
  skill_ = settings.getInt("skillLevel", "selected", 1);
  controlStyle_ = settings.getInt("controlStyle", "selected", 0);
}

void GameCanvas::loadTips() {
  platform::Template tips('=', ',', ':');
  if (!tips.load(services_.guiFolder, "trainingtips_ppc.txt")) return;
  for (const std::string& key : tips.keys()) {
    const std::string* value = tips.getRaw(key);
    if (!value || value->find("type:Tip") == std::string::npos) continue;
    tips_.emplace_back(key, tips.getStringInto(key, "content", 255).value_or(""));
  }
}

void GameCanvas::setUp() {
  readSettings();
  // 2D bitmaps in the display's format unless OpenGL ES draws the page.
  pageTemplate().set("USE_DEV_COMPT_BMP", launch_.openGl ? "0" : "1");
  if (launch_.training) loadTips();
  // Merged into the empty page, so that the variable above is there when the objects read it.
  scene::TemplateFactory::loadTemplate(*this, services_.guiFolder, kTemplate, false);
  showMessageBox("Loading ...", "LOADING", kMessageInfo, false);

  const GameCanvasObjects& o = *objects_;
  if (o.helpCard) {
    helpCard_ = std::make_unique<media::Image>(services_.guiFolder + "control_ppc.gif");
    o.helpCard->setImages(helpCard_.get(), nullptr);
  }
  if (o.world && launch_.openGl) o.world->visible = false;

  // The pilots of the team code; a code naming nobody leads back to the menus.
  const std::optional<std::array<std::string, 4>> team =
      decodeTeam(launch_.teamCode, characterNames(services_.resourceFolder));
  if (!team) {
    hideMessageBox(false);
    char text[96];
    std::snprintf(text, sizeof text, "The team %d names a pilot that does not exist.",
                  launch_.teamCode);
    showMessageBox(text, "BAD_TEAM", kMessageOk, false);
    return;
  }

  BattleSettings settings;
  settings.level = launch_.room;
  settings.characters = *team;
  settings.skill = skill_;
  settings.controlStyle = controlStyle_;
  settings.training = launch_.training;
  settings.seed = services_.seed ? *services_.seed : battleSeed(false);
  BattleAssets assets;
  assets.resourceFolder = services_.resourceFolder;
  assets.models = media::pageModelOptions(runtime().textures());
  assets.valueFont = o.fontGreen;
  battle_ = std::make_unique<Battle>(*this, settings, assets);
  battle_->setUp(
      [this](std::string_view text, int percent) { media::drawProgress(*this, text, percent); });
  char levelFolder[48];
  std::snprintf(levelFolder, sizeof levelFolder, "scenes\\level%d\\", launch_.room);
  hud_.setUp(o, *battle_, services_.resourceFolder + levelFolder,
             services_.resourceFolder + "characters\\");
  setControlStyle(controlStyle_);

  if (o.world) {
    o.world->setUp3D(runtime().drivers(),
                     launch_.openGl ? engine3d::kRendererGles : engine3d::kRendererSoftware, true);
    if (engine3d::Renderer* renderer = o.world->renderer()) {
      rendererName_ = renderer->describe().value_or("");
      renderer->errorListener = this;
    }
    if (engine3d::Camera* camera = o.world->camera()) {
      camera->setPerspective(50.0f, 1.0f, 3.0f * battle_->levelRadius());
      battle_->attachCamera(camera);
    }
  }
  attachSubdivision();
  battle_->setCameraMode(3);

  if (o.help) o.help->visible = false;
  if (o.gui) o.gui->visible = true;
  if (launch_.training) {
    // Training taps reach every layer, tips and flying alike; there is nothing to score.
    topSceneOnly = false;
    for (media::Sprite* score : o.scores)
      if (score) score->visible = false;
    if (o.trainingText) o.trainingText->visible = true;
    if (o.training) o.training->visible = true;
    showTip(0);
  }
  ready_ = true;
}

void GameCanvas::attachSubdivision() {
  engine3d::Group3D* level = battle_->level();
  if (!level) return;
  subdivision_.setUp(battle_->ceiling(), battle_->ground(), battle_->wall(), platform::scaleInt(45),
                     platform::scaleInt(15));
  for (const auto& mesh : level->meshes()) mesh->subdivision = &subdivision_;
}

void GameCanvas::begin() {
  if (!ready_) return;
  if (launch_.glNotice) {
    hideMessageBox(false);
    showMessageBox("Open GL is not available on this device.", "OPENGL_UNAVAILABLE_1", kMessageOk,
                   false);
    refresh();
    return;
  }
  startGame();
}

void GameCanvas::startGame() {
  if (isMessageBoxUp()) hideMessageBox(false);
  stopAllSounds();
  if (objects_->engine) objects_->engine->play(hwnd(), -1);
  enginePaused_ = false;
  ticks_ = 0;
  battle_->start();
  if (objects_->world) objects_->world->visible = true;
  started_ = true;
  setActive(true);
}

// ---- Per frame ----

PlayerInput GameCanvas::readInput() {
  const std::uint32_t held = keyState();
  PlayerInput input;
  input.left = held & kKeyLeft;
  input.right = held & kKeyRight;
  input.up = held & kKeyUp;
  input.down = held & kKeyDown;
  input.boost = held & kKeyApp1;
  input.fire = held & (kKeySpace | kKeyEnter | kKeyApp2);
  return input;
}

void GameCanvas::update(float seconds) {
  if (!ready_ || !started_) return;
  PlayerInput input = readInput();
  const Gunship& viewed = battle_->gunship(battle_->viewedSlot());
  if (viewed.health > 0 && !viewed.computerFlown) {
    // The speed button lights while the first button is held.
    if (input.boost != speedButtonHeld_) {
      speedButtonHeld_ = input.boost;
      if (objects_->speedControl) objects_->speedControl->status = input.boost ? 1 : 0;
      hudChanged();
    }
    // A fresh burst from the player cuts a far gun's sound short.
    const bool triggerBefore = fireHeldBefore_;
    if (input.fire && !triggerBefore && objects_->remoteCanon &&
        objects_->remoteCanon->state() == scene::PageSound::kPlaying)
      objects_->remoteCanon->stop();
  }
  fireHeldBefore_ = keyState() & (kKeySpace | kKeyEnter);
  battle_->frame(seconds, input);
}

void GameCanvas::afterDraw(float seconds) {
  if (!ready_ || !started_ || seconds < 0.0f) return;
  battle_->advanceClock(seconds);
  if (battle_->running()) endEnginePause();
  char info[96];
  const char* line = nullptr;
  if (infoLine_) {
    std::snprintf(info, sizeof info, "FPS:%2.1f, Graphics:%s, FreeRAM:%dM",
                  static_cast<double>(frameTimer().fpsExact()), rendererName_.c_str(),
                  freeRamMb_);
    line = info;
  }
  const media::Scene3D* view = objects_->world;
  hud_.drawOverlay(drawDC(), *battle_, view ? view->x : 0, view ? view->y : 0, line);
}

void GameCanvas::onReport(float periodSeconds) {
  if (!ready_ || !started_) return;
  // Free memory is read once a tick: reading it costs a file read, too much for every frame.
  if (infoLine_) freeRamMb_ = static_cast<int>(platform::freeMemoryBytes() >> 20);
  ++ticks_;
  if (ticks_ * static_cast<int>(periodSeconds * 1000.0f + 0.5f) > kIdleResetMs) {
    ticks_ = 0;
    host::resetIdleTimer();
  }
  if (launch_.training) {
    tipTimer_ += periodSeconds;
    if (tipTimer_ > kTipSeconds) stepTip(+1);
  }
  battle_->periodicTick();
}

// ---- Sounds ----

void GameCanvas::playSound(std::string_view name) {
  Canvas::playSound(hwnd(), name, 2);
}

void GameCanvas::enginePause(float seconds) {
  if (objects_->engine) objects_->engine->stop();
  enginePaused_ = true;
  engineStopped_ = battle_ ? battle_->elapsed() : 0.0f;
  engineDuration_ = seconds;
}

void GameCanvas::endEnginePause() {
  if (!enginePaused_ || battle_->elapsed() - engineStopped_ < engineDuration_) return;
  enginePaused_ = false;
  if (objects_->engine) objects_->engine->play(hwnd(), -1);
}

// ---- The battle's news ----

engine3d::Group3D* GameCanvas::addModel(std::string_view name,
                                        std::unique_ptr<engine3d::Group3D> model) {
  media::Scene3D* world = objects_->world;
  if (!world) {
    // Without a 3D scene the battle still needs its models kept somewhere.
    unseen_.push_back(std::move(model));
    return unseen_.back().get();
  }
  return world->addGroup(name, std::move(model));
}

std::uint32_t GameCanvas::tickCount() {
  return host::tickCount();
}

void GameCanvas::hudChanged() {
  if (!battle_ || !ready_) return;
  hud_.refresh(*objects_, *battle_);
  if (objects_->gui && !isActive()) refresh();
}

void GameCanvas::gameEnded(GameResult result) {
  pauseAllSounds();
  const char* text = "Game Over: Time out.";
  switch (result) {
    case kTrainingOver:
      text = "Training Session Time out.";
      if (objects_->training) objects_->training->visible = false;
      break;
    case kTie:
      text = "Game Over: It's a Tie.";
      break;
    case kWon:
      text = "Game Over: You Won!";
      break;
    case kLost:
      text = "Game Over: You Lost!";
      break;
    default:
      break;
  }
  showMessageBox(text, "GAMEOVER", kMessageOk, false);
  Canvas::playSound(hwnd(), "gameover", 2);
}

void GameCanvas::rendererError(int code) {
  if (rendererFailed_) return;
  rendererFailed_ = true;
  host::messageBox(hwnd(), "OpenGL can not be resumed, click OK to restart the game.", "Error",
                   host::MB_OK | host::MB_ICONSTOP);
}

// ---- Keys and commands ----

void GameCanvas::onKey(std::uint32_t message, std::uint32_t key) {
  GuiCanvas::onKey(message, key);
  if (message == host::WM_KEYDOWN) keyPressed(translateKey(key));
}

void GameCanvas::keyPressed(std::uint32_t key) {
  if (!ready_ || !started_ || isMessageBoxUp()) return;
  std::uint32_t gapiC = 0, gapiStart = 0;
  if (host::Gapi& gapi = host::Host::get().gapi(); gapi.inputOpen()) {
    const host::GxKeyList keys = gapi.defaultKeys(host::GX_NORMALKEYS);
    gapiC = keys.c;
    gapiStart = keys.start;
  }
  if (key == kKeyEscape) {
    askToQuit();
  } else if (key == kKeyQ || (gapiC && key == gapiC)) {
    switchTeammate();
  } else if (key == kKeyZ || (gapiStart && key == gapiStart)) {
    battle_->toggleCockpit();
  } else if (key >= kKeyF1 && key <= kKeyF8) {
    battle_->setCameraMode(static_cast<int>(key - kKeyF1));
  }
}

void GameCanvas::switchTeammate() {
  battle_->switchView(battle_->viewedSlot() == 0 ? 1 : 0);
  battle_->setDemo(false);
  if (objects_->autoDemo) objects_->autoDemo->visible = false;
}

void GameCanvas::reactToStylus(scene::SceneObject& pressed, std::uint32_t message) {
  GuiCanvas::reactToStylus(pressed, message);
  // A copy: an answer may end the page, and its objects with it.
  if (message == host::WM_LBUTTONUP) command(std::string(pressed.name));
}

void GameCanvas::command(const std::string& name) {
  auto is = [&](const char* word) { return name.find(word) != std::string::npos; };
  if (isMessageBoxUp()) {
    if (name == "btnYes" || name == "btnNo" || name == "btnOk") answer(name);
    return;
  }
  if (!ready_ || !started_) return;
  const GameCanvasObjects& o = *objects_;
  if (is("cmdInfo")) {
    showInfoLine(!infoLine_);
  } else if (is("autoDemo")) {
    battle_->setDemo(true);
    if (o.autoDemo) o.autoDemo->visible = true;
  } else if (is("cmdCamera")) {
    battle_->toggleCockpit();
  } else if (is("cmdTeammate")) {
    switchTeammate();
  } else if (is("cmdOpenHelp")) {
    auto* button = dynamic_cast<media::Sprite*>(findObject(name));
    const bool open = button && button->status == 1;
    if (o.help) o.help->visible = open;
    if (open) {
      setActive(false);
      pauseAllSounds();
    } else {
      setActive(true);
      resumeAllSounds();
    }
    refresh();
  } else if (is("cmdQuitGame")) {
    askToQuit();
    refresh();
  } else if (is("btnNextTip")) {
    stepTip(+1);
  } else if (is("btnLastTip")) {
    stepTip(-1);
  }
}

void GameCanvas::showInfoLine(bool on) {
  infoLine_ = on;
  if (on) freeRamMb_ = static_cast<int>(platform::freeMemoryBytes() >> 20);
  // The info line measures the free-running frame rate; a throttled clock stays throttled.
  if (frameTimer().mode() != scene::FrameTimer::kThrottle)
    frameTimer().setMode(on ? scene::FrameTimer::kFree : scene::FrameTimer::kClamp);
}

void GameCanvas::askToQuit() {
  setActive(false);
  pauseAllSounds();
  showMessageBox(launch_.training ? "Quit Training Now ?" : "Quit Game Now ?", "QUIT",
                 kMessageYesNo, false);
}

void GameCanvas::answer(const std::string& button) {
  const std::string context = messageBoxContext().value_or("");
  hideMessageBox(false);
  if (button == "btnYes") {
    if (context == "QUIT") {
      relaunch("ARG:intro");
    } else if (context == "RETRY") {
      battle_->retry();
      startGame();
    }
  } else if (button == "btnNo") {
    if (context == "QUIT") {
      setActive(true);
      resumeAllSounds();
    } else if (context == "RETRY") {
      relaunch("ARG:intro");
    }
  } else if (context == "GAMEOVER") {
    if (battle_->result() == kWon) {
      const std::time_t now = std::time(nullptr);
      std::tm local{};
      localtime_r(&now, &local);
      relaunch(scoreCommandLine(battle_->score(0), launch_.room, local.tm_year + 1900,
                                local.tm_mon + 1, local.tm_mday));
    } else if (battle_->result() == kLost) {
      showMessageBox("Retry this battle?", "RETRY", kMessageYesNo, false);
    } else {
      relaunch("ARG:intro");
    }
  } else if (context == "OPENGL_UNAVAILABLE_1") {
    showMessageBox("Vexagraph will be used as Graphics Driver.", "OPENGL_UNAVAILABLE_2", kMessageOk,
                   false);
    refresh();
  } else if (context == "OPENGL_UNAVAILABLE_2") {
    startGame();
  } else if (context == "BAD_TEAM") {
    relaunch("ARG:intro");
  }
}

void GameCanvas::relaunch(const std::string& commandLine) {
  // The page stops before the program starts again: no more frames, pad or sounds.
  setActive(false);
  removeDirectionPad();
  stopAllSounds();
  if (services_.relaunch) services_.relaunch(commandLine);
}

// ---- Training tips and the control style ----

void GameCanvas::setControlStyle(int style) {
  controlStyle_ = style;
  hud_.showControlStyle(*objects_, style, services_.guiFolder);
  if (battle_) battle_->setControlStyle(style);
}

void GameCanvas::showTip(int index) {
  if (index < 0 || index >= static_cast<int>(tips_.size())) return;
  tipIndex_ = index;
  const auto& [title, content] = tips_[static_cast<size_t>(index)];
  const GameCanvasObjects& o = *objects_;
  char heading[96];
  std::snprintf(heading, sizeof heading, "[%d] %s", index + 1, title.c_str());
  if (o.tipTitle) o.tipTitle->setText(heading);
  if (o.tipContent) o.tipContent->setText(content);
  const bool automatic = title.find("at MAX Speed") != std::string::npos ||
                         title.find("Attack (b)") != std::string::npos;
  setControlStyle(automatic ? 0 : 1);
  hudChanged();
  if (ready_) {
    enginePause(0.6f);
    Canvas::playSound(hwnd(), "tip", 2);
  }
  tipTimer_ = 0.0f;
}

void GameCanvas::stepTip(int step) {
  const int count = static_cast<int>(tips_.size());
  if (count == 0) return;
  showTip((tipIndex_ + step + count) % count);
}

}  // namespace game
