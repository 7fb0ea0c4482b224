#include "pages/RootPage.h"

#include <cmath>
#include <cstdio>

#include "game/Roster.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "host/WindowManager.h"
#include "media/KeyMapping.h"
#include "media/Runtime.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "platform/ProcessSwitches.h"
#include "platform/Template.h"
#include "pages/Scoreboard.h"
#include "scene/FrameTimer.h"
#include "scene/TemplateFactory.h"

namespace pages {

namespace {

constexpr const char* kIntroTemplate = "intro.properties";
constexpr const char* kMainMenuTemplate = "MainMenu.properties";
constexpr const char* kTeamSetupTemplate = "TeamSetup.properties";
constexpr const char* kBackTemplate = "back.properties";
constexpr const char* kScoreboardTemplate = "scoreboard.properties";
constexpr const char* kTrainedEntry = "hasBeenTrained";
constexpr const char* kRoomEntry = "sceneSelected";
constexpr float kBlinkRate = 8.0f;
constexpr float kBlinkThreshold = -0.7f;
constexpr float kPulseRate = 5.0f;

RootPage::Screen screenOf(std::string_view name) {
  using S = RootPage::Screen;
  if (name == kIntroTemplate) return S::kIntro;
  if (name == kMainMenuTemplate) return S::kMainMenu;
  if (name == kTeamSetupTemplate) return S::kTeamSetup;
  if (name == kBackTemplate) return S::kBack;
  if (name == kScoreboardTemplate) return S::kScoreboard;
  return S::kOther;
}

}  // namespace

RootPage::RootPage(media::Runtime& runtime, RootPageServices services)
    : GuiCanvas(runtime, kPageName, true),
      services_(std::move(services)),
      movie_(services_.guiFolder) {
  // Menus run clamped frames of at most a tenth of a second, with a report every 200 ms.
  frameTimer().setMode(scene::FrameTimer::kClamp);
  frameTimer().setTargetFps(10);
  frameTimer().setWindowMs(200);
  setTextColor(255, 255, 255);
  enableInputPad(kInputPadColor, services_.guiFolder, kPadPicture, kKeyPicture, kBigKeyPicture);
  setMouseListener(&releases_);
  rooms_ = game::roomNames(services_.resourceFolder);
  characters_ = game::characterNames(services_.resourceFolder);
}

RootPage::~RootPage() {
  setMouseListener(nullptr);
}

void RootPage::afterDestroy() {
  movie_.stop();
  GuiCanvas::afterDestroy();
}

bool RootPage::loadScreen(std::string_view file) {
  return scene::TemplateFactory::loadTemplate(*this, services_.guiFolder, file, true);
}

// ---- Loading and leaving ----

void RootPage::afterLoad() {
  GuiCanvas::afterLoad();
  // Merged files (the message box) change nothing about the screen shown.
  if (!replacing_) return;
  replacing_ = false;
  screen_ = screenOf(templateName());
  switch (screen_) {
    case Screen::kIntro:
      introLoaded();
      break;
    case Screen::kMainMenu:
      mainMenuLoaded();
      break;
    case Screen::kTeamSetup:
      teamSetupLoaded();
      break;
    case Screen::kBack:
      backLoaded();
      break;
    case Screen::kScoreboard:
      scoreboardLoaded();
      break;
    default:
      break;
  }
  // Only a menu loaded straight in place of the menu takes the room it left.
  leftRoom_ = -1;
  refresh();
}

void RootPage::beforeReplace() {
  replacing_ = true;
  const Screen left = screen_;
  if (left != Screen::kNone) runTransition(PageTransition::kFadeOut);
  switch (left) {
    case Screen::kIntro:
      movie_.stop();
      stopAllSounds();
      break;
    case Screen::kScoreboard:
      stopAllSounds();
      nameAsked_ = false;
      break;
    case Screen::kMainMenu:
      saveRoomChoice();
      break;
    case Screen::kTeamSetup:
      team_.clear();
      break;
    default:
      break;
  }
  screen_ = Screen::kNone;
}

void RootPage::introLoaded() {
  refresh();
  movie_.start(intro_->movie);
  calibrated_ = media::hasMapping(services_.guiFolder, services_.settingsFile);
  trained_ = pageTemplate().contains(kTrainedEntry);
  blinkClock_ = 0.0f;
  playTitleMusic();
}

void RootPage::mainMenuLoaded() {
  const MainMenuObjects& o = *menu_;
  if (o.title)
    o.title->setText(training_ ? "Select Room for Training" : "Select Room for Battle", true);
  int room = pageTemplate().getInt(kRoomEntry, {}, 0);
  if (leftRoom_ >= 0) {
    room = leftRoom_;
    pageTemplate().set(kRoomEntry, std::to_string(room));
  }
  const int last = static_cast<int>(rooms_.size()) - 1;
  currentRoom_ = room > last ? last : room;
  if (currentRoom_ < 0) currentRoom_ = 0;
  pulseClock_ = 0.0f;
  showRoom(currentRoom_);
  showRoomButtons();
}

void RootPage::teamSetupLoaded() {
  const TeamSetupObjects& o = *teamObjects_;
  if (o.combination) o.combination->setText(training_ ? "Training Team" : "Battle Team", true);
  team_.setUp(o, characters_);
  media::ImageCache& images = runtime().spriteImages();
  for (size_t j = 0; j < o.racers.size(); ++j) {
    media::Sprite* racer = o.racers[j];
    if (!racer || j >= characters_.size()) continue;
    const std::string& name = characters_[j];
    media::Image* neutral =
        images.get(services_.guiFolder, "..\\characters\\" + name + "_neutral.gif");
    media::Image* happy = images.get(services_.guiFolder, "..\\characters\\" + name + "_happy.gif");
    racer->setImages(neutral, happy);
    racer->status = 0;
  }
}

void RootPage::backLoaded() {
  playTitleMusic();
  runTransition(PageTransition::kFadeIn);
}

void RootPage::scoreboardLoaded() {
  const ScoreboardObjects& o = *board_;
  if (!o.newPlayer || !inputPad()) return;
  o.newPlayer->setText("", true);
  nameAsked_ = true;
  inputPad()->open(*o.newPlayer, "", Scoreboard::kPrompt, Scoreboard::kMaxNameChars, true);
}

void RootPage::saveRoomChoice() {
  // The menu's own file, read again: what the page holds may have the message box merged in.
  platform::Template menu('=', ',', ':');
  const bool read = menu.load(services_.guiFolder, kMainMenuTemplate);
  leftRoom_ = currentRoom_;
  if (!read) return;
  menu.set(kRoomEntry, std::to_string(currentRoom_));
  menu.save();
}

// ---- Frames ----

void RootPage::update(float seconds) {
  retiredCalibration_.reset();
  switch (screen_) {
    case Screen::kIntro:
      introFrame(seconds);
      break;
    case Screen::kMainMenu:
      mainMenuFrame(seconds);
      break;
    case Screen::kBack:
      backFrame(seconds);
      break;
    case Screen::kTeamSetup:
      team_.animate();
      break;
    default:
      break;
  }
}

void RootPage::introFrame(float seconds) {
  movie_.update();
  blinkClock_ += seconds;
  const IntroObjects& o = *intro_;
  if (!calibrated_ && o.keyCalibration)
    o.keyCalibration->visible = std::sin(kBlinkRate * blinkClock_) > kBlinkThreshold;
  if (!trained_ && o.enterTraining)
    o.enterTraining->visible = std::cos(kBlinkRate * blinkClock_) > kBlinkThreshold;
}

void RootPage::mainMenuFrame(float seconds) {
  pulseClock_ += seconds;
  if (media::Sprite* name = menu_->roomName)
    name->textSize =
        platform::scaleInt(11 + static_cast<int>(4.0f * std::sin(kPulseRate * pulseClock_)));
}

void RootPage::backFrame(float seconds) {
  media::SceneSprite* prompt = back_->prompt;
  if (!prompt) return;
  int step = static_cast<int>(platform::scaleFloat(15.0f) * seconds);
  const int least = platform::scaleInt(1);
  if (step < least) step = least;
  prompt->y -= step;
  if (prompt->y < -prompt->height) prompt->y = clientHeight();
}

// ---- Rooms ----

void RootPage::showRoom(int index) {
  const MainMenuObjects& o = *menu_;
  if (index < 0 || index >= static_cast<int>(rooms_.size())) return;
  std::string file = rooms_[static_cast<size_t>(index)];
  for (char& c : file)
    if (c == ' ') c = '_';
  char name[96];
  std::snprintf(name, sizeof name, "level%d_%s.gif", index, file.c_str());
  if (o.preview) {
    media::Image* picture = runtime().spriteImages().get(services_.guiFolder + "..\\scenes\\", name);
    const int w = o.preview->width, h = o.preview->height;
    o.preview->setImages(picture, nullptr);
    o.preview->setSize(w, h);
  }
  if (o.roomName) o.roomName->setText(rooms_[static_cast<size_t>(index)], true);
}

void RootPage::showRoomButtons() {
  const MainMenuObjects& o = *menu_;
  const int last = static_cast<int>(rooms_.size()) - 1;
  // Each arrow hides at its own end, so that no room outside the list can be reached (with one
  // room both hide).
  if (o.nextRoom) o.nextRoom->visible = currentRoom_ < last;
  if (o.lastRoom) o.lastRoom->visible = currentRoom_ > 0;
}

void RootPage::stepRoom(int step) {
  const int next = currentRoom_ + step;
  if (next < 0 || next >= static_cast<int>(rooms_.size())) return;
  currentRoom_ = next;
  showRoomButtons();
  showRoom(currentRoom_);
}

// ---- Commands ----

void RootPage::ReleaseListener::onMouse(platform::Window&, uint32_t message, uintptr_t, int, int) {
  if (message != host::WM_LBUTTONUP) return;
  scene::SceneObject* pressed = page.pressedSprite();
  page.boxUpAtRelease_ = page.isMessageBoxUp();
  if (!pressed || page.boxUpAtRelease_) return;
  // A copy: a command may load another screen and with it destroy the component.
  page.command(std::string(pressed->name));
}

void RootPage::reactToStylus(scene::SceneObject& pressed, uint32_t message) {
  GuiCanvas::reactToStylus(pressed, message);
  if (message != host::WM_LBUTTONUP) return;
  // The box was up when the stylus came up: that tap only closes it.
  if (boxUpAtRelease_ && isMessageBoxUp()) hideMessageBox(false);
  boxUpAtRelease_ = false;
}

void RootPage::command(const std::string& name) {
  auto is = [&name](const char* word) { return name.find(word) != std::string::npos; };
  if (is("rdoSound")) {
    // The group "soundEffect": its first choice is sound on.
    platform::setSoundEffectsEnabled(pageTemplate().getInt("soundEffect", "selected", -1) == 0);
  } else if (is("btnReset")) {
    team_.reset();
  } else if (is("EnterTraining")) {
    training_ = true;
  } else if (is("EnterGame")) {
    training_ = false;
  } else if (is("cmdKeyCalibration")) {
    openCalibration();
  } else if (is("EnterTeamSetup")) {
    loadScreen(kTeamSetupTemplate);
  } else if (is("StartGame")) {
    startTeam();
  } else if (is("btnNextRoom")) {
    stepRoom(+1);
  } else if (is("btnLastRoom")) {
    stepRoom(-1);
  } else if (is("cmdQuitGame")) {
    leaveScreen();
    loadScreen(kBackTemplate);
    setActive(true);
  } else if (is("cmdGSetting")) {
    loadScreen(services_.settingsFile);
  } else if (is("cmdManual")) {
    if (services_.openDocument)
      services_.openDocument(services_.guiFolder + "..\\..\\manual\\", "index.htm");
  } else if (is("cmdExit")) {
    leaveScreen();
    closeProgram();
  } else if (is("sptNewRecordPlayer")) {
    enterRecord();
  }
}

void RootPage::startTeam() {
  const std::optional<int> code = team_.teamCode();
  if (!code) {
    showMessageBox(kNotReady, "TEAM_NOT_READY", kMessageOk, false, kMessageTemplate);
    return;
  }
  if (training_) {
    platform::Template intro('=', ',', ':');
    // Only a file that was read is written back: a save of an unread one would lose the screen.
    if (intro.load(services_.guiFolder, kIntroTemplate)) {
      intro.set(kTrainedEntry, "yes");
      intro.save();
    }
  }
  teamCode_ = *code;
  startBattle(currentRoom_, training_);
}

void RootPage::startBattle(int room, bool training) {
  if (room < 0) room = 0;
  platform::Template settings('=', ',', ':');
  settings.load(services_.guiFolder, services_.settingsFile);
  const int driver = settings.getInt("driverType", "selected", 0) != 0 ? 1 : 0;
  const std::string line = game::gameCommandLine(room, teamCode_, driver, training ? 1 : 0);
  // The page stops before the program starts again: no more frames or sounds.
  setActive(false);
  stopAllSounds();
  if (services_.relaunch) services_.relaunch(line);
}

void RootPage::enterRecord() {
  if (!nameAsked_ || screen_ != Screen::kScoreboard) return;
  nameAsked_ = false;
  const ScoreboardObjects& o = *board_;
  Scoreboard::enter(o, services_, rooms_, scoreText_);
  // The name is stored: the box shows it from now on and asks no more.
  if (o.newPlayer) o.newPlayer->guiKind = media::Sprite::kPlain;
  refresh();
  if (o.music) o.music->play(hwnd(), -1);
}

void RootPage::leaveScreen() {
  setActive(false);
  runTransition(PageTransition::kFadeOut);
  stopAllSounds();
}

void RootPage::closeProgram() {
  platform::Window* top = this;
  while (top->parent()) top = top->parent();
  if (top->hwnd()) host::Host::get().windows().postMessage(top->hwnd(), host::WM_CLOSE, 0, 0);
}

void RootPage::playTitleMusic() {
  scene::PageSound* music = screen_ == Screen::kBack ? back_->titleMusic : intro_->titleMusic;
  if (music) music->play(hwnd(), -1);
}

void RootPage::runTransition(int argument) {
  if (!buffered() || !backBuffer()) return;
  const bool wasActive = isActive();
  // An idle page draws every scene when asked: the fade redraws while no frame runs.
  if (wasActive) setActive(false);
  transition_.run(
      *this, argument, [this] { refresh(); }, [this] { paintOverlays(); });
  if (wasActive) setActive(true);
}

// ---- Key calibration ----

void RootPage::openCalibration() {
  stopAllSounds();
  if (services_.openButtons) services_.openButtons();
  if (calibration_) retiredCalibration_ = std::move(calibration_);
  calibration_ = std::make_unique<media::KeyCalibration>(
      *this, kCalibrationColor, services_.guiFolder, kPadPicture, kKeyPicture, kBigKeyPicture,
      this);
  // Without the buttons there is nothing to calibrate; the music comes back.
  if (!calibration_->openCalibration()) {
    retiredCalibration_ = std::move(calibration_);
    playTitleMusic();
  }
}

void RootPage::calibrationDone(bool ok, const std::array<uint32_t, 4>&) {
  if (ok && calibration_) {
    calibration_->saveMapping(services_.guiFolder, services_.settingsFile);
    // This page's keys translate through the new map at once.
    setKeyMap(nullptr);
    media::applyMapping(*this, services_.guiFolder, services_.settingsFile);
    calibrated_ = true;
    if (intro_->keyCalibration) intro_->keyCalibration->visible = true;
  }
  // The dialog is still inside its own call: it goes on the next frame.
  retiredCalibration_ = std::move(calibration_);
  playTitleMusic();
}

}  // namespace pages
