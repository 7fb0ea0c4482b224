// RootPage: the page ("gamePage") that shows every screen outside a battle. Each screen is a
// template of the GUI folder loaded into this one page; the templates' own links lead from one to
// the next, and this page adds what each screen does when it has loaded, on every frame, when it
// is left and on its commands:
//
//   intro       the movie loop (IntroMovie), "titleMusic" looped, "cmdKeyCalibration" blinking
//               until the buttons are calibrated and "cmdEnterTraining" until a training was
//               played ("hasBeenTrained" in "intro.properties");
//   MainMenu    the title by the training flag, the room chosen last ("sceneSelected", clamped
//               to the rooms, written back when the menu is left), its picture and its pulsing
//               name, the room arrows hidden at either end;
//   TeamSetup   the portraits and team slots (TeamSetup), the team code, "Team is not ready !";
//   back        "titleMusic", a fade in from black, the credits scrolling up;
//   scoreboard  the name asked on the input pad, then the record stored and the room's table
//               shown (Scoreboard).
//
// Commands are the components' names, matched by substring when the stylus is released on them,
// before the component itself reacts (so a link loads its screen after the command has run), in
// the order of command(). While a message box is up a tap only closes it. Leaving a screen fades
// it out (PageTransition) on a double-buffered page.
//
// A battle is another start of the program: startBattle() builds "ARG:GameCanvas:%d,%d,%d,%d"
// (room, team code, 1 when the settings' "driverType" is not 0, training) and hands it to the
// services' relaunch, which ends this process.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "media/GuiCanvas.h"
#include "media/KeyCalibration.h"
#include "pages/IntroMovie.h"
#include "pages/PageTransition.h"
#include "pages/RootPageServices.h"
#include "pages/RootScreens.h"
#include "pages/TeamSetup.h"
#include "scene/ObjectTable.h"

namespace pages {

class RootPage : public media::GuiCanvas, public media::CalibrationCallback {
 public:
  static constexpr const char* kPageName = "gamePage";
  static constexpr float kTransitionSeconds = 0.5f;
  static constexpr int kTransitionRate = 8;
  static constexpr uint32_t kInputPadColor = 0x000000;
  static constexpr uint32_t kCalibrationColor = 0x282828;  // rgb(40, 40, 40)
  static constexpr const char* kPadPicture = "inputpad.gif";
  static constexpr const char* kKeyPicture = "keypadBtn.gif";
  static constexpr const char* kBigKeyPicture = "keypadBtnBig.gif";
  static constexpr const char* kNotReady = "Team is not ready !";

  enum class Screen { kNone, kOther, kIntro, kMainMenu, kTeamSetup, kBack, kScoreboard };

  // The page of a run of `runtime`; it lists the rooms and pilots of the services' resource
  // folder at once. It gets its window (and its first screen) from the program.
  RootPage(media::Runtime& runtime, RootPageServices services);
  ~RootPage() override;

  // The record text of a score entry (after the first '/' of the scoreboard argument), kept
  // for the scoreboard screen.
  void setScoreText(std::string text) { scoreText_ = std::move(text); }
  const std::string& scoreText() const { return scoreText_; }

  // Loads `file` of the GUI folder in place of the screen shown (the template left first).
  bool loadScreen(std::string_view file);

  // ---- Canvas ----
  void afterLoad() override;
  void beforeReplace() override;
  void update(float seconds) override;
  void reactToStylus(scene::SceneObject& pressed, uint32_t message) override;

  // A released component: the actions of the commands, tested in this order by substring:
  // rdoSound, btnReset, EnterTraining, EnterGame, cmdKeyCalibration, EnterTeamSetup, StartGame,
  // btnNextRoom, btnLastRoom, cmdQuitGame, cmdGSetting, cmdManual, cmdExit, sptNewRecordPlayer.
  void command(const std::string& name);
  // Starts the battle in `room` (-1 counts as 0) with the team set up; ends this process.
  void startBattle(int room, bool training);

  // ---- Key calibration ----
  void calibrationDone(bool ok, const std::array<uint32_t, 4>& codes) override;
  media::KeyCalibration* calibration() const { return calibration_.get(); }

  // ---- State ----
  Screen screen() const { return screen_; }
  const std::vector<std::string>& rooms() const { return rooms_; }
  const std::vector<std::string>& characters() const { return characters_; }
  int currentRoom() const { return currentRoom_; }
  // The team code of the last battle started.
  int teamCode() const { return teamCode_; }
  bool training() const { return training_; }
  bool calibrated() const { return calibrated_; }
  bool trained() const { return trained_; }
  bool nameAsked() const { return nameAsked_; }
  const TeamSetup& team() const { return team_; }
  const IntroMovie& movie() const { return movie_; }
  PageTransition& transition() { return transition_; }
  const RootPageServices& services() const { return services_; }

 protected:
  // The window is gone and its scenes with it: the movie lets go of its sprite first.
  void afterDestroy() override;

 private:
  // The page's own stylus listener: it hears a release before the component reacts, and the
  // input pad's answer (a release on the edit box it was opened for).
  struct ReleaseListener : platform::MouseListener {
    explicit ReleaseListener(RootPage& page) : page(page) {}
    void onMouse(platform::Window& window, uint32_t message, uintptr_t flags, int x,
                 int y) override;
    RootPage& page;
  };

  void introLoaded();
  void mainMenuLoaded();
  void teamSetupLoaded();
  void backLoaded();
  void scoreboardLoaded();
  void introFrame(float seconds);
  void mainMenuFrame(float seconds);
  void backFrame(float seconds);
  void showRoom(int index);
  void showRoomButtons();
  void stepRoom(int step);
  void startTeam();
  void openCalibration();
  void enterRecord();
  void saveRoomChoice();
  void runTransition(int argument);
  // pause, fade out, stop all sounds
  void leaveScreen();
  void closeProgram();
  void playTitleMusic();

  RootPageServices services_;
  std::vector<std::string> rooms_;
  std::vector<std::string> characters_;
  Screen screen_ = Screen::kNone;
  bool replacing_ = false;
  int currentRoom_ = 0;
  int teamCode_ = 0;
  // The room written back when the main menu was left last, for the menu loaded in its place
  // (whose file was read before it was written).
  int leftRoom_ = -1;
  bool training_ = false;
  bool calibrated_ = false;
  bool trained_ = false;
  bool nameAsked_ = false;
  bool boxUpAtRelease_ = false;
  float blinkClock_ = 0.0f;
  float pulseClock_ = 0.0f;
  std::string scoreText_;
  PageTransition transition_{kTransitionSeconds, kTransitionRate, 0x000000};
  IntroMovie movie_;
  TeamSetup team_;
  std::unique_ptr<media::KeyCalibration> calibration_;
  // A dialog that has told its end: it is destroyed on the next frame, not inside its own call.
  std::unique_ptr<media::KeyCalibration> retiredCalibration_;
  ReleaseListener releases_{*this};
  scene::BoundObjects<IntroObjects> intro_{*this, IntroObjects::table()};
  scene::BoundObjects<MainMenuObjects> menu_{*this, MainMenuObjects::table()};
  scene::BoundObjects<TeamSetupObjects> teamObjects_{*this, TeamSetupObjects::table()};
  scene::BoundObjects<BackObjects> back_{*this, BackObjects::table()};
  scene::BoundObjects<ScoreboardObjects> board_{*this, ScoreboardObjects::table()};
};

}  // namespace pages
