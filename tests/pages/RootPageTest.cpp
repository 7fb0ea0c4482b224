// The root page on a copy of the demo resource tree (so that what it writes stays in the test's
// folder): the rooms and pilots it lists, each screen's behaviour when loaded, per frame and
// when left, its commands, the battle it starts and the score it enters.
#include "pages/RootPage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "../media/PageFixture.h"
#include "host/Gapi.h"
#include "host/Host.h"
#include "host/Keys.h"
#include "host/Messages.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "pages/IntroMovie.h"
#include "platform/ProcessSwitches.h"
#include "platform/Template.h"
#include "support/TempFolder.h"

namespace pages {
namespace {

namespace fs = std::filesystem;
using testing_support::readFile;

class RootPageTest : public media::testing::PageTest {
 protected:
  static std::string demoTree() { return std::string(SKIRROW_BIN_DIR) + "/../resources"; }

  void SetUp() override {
    PageTest::SetUp();
    if (!fs::is_directory(demoTree() + "/GUI")) GTEST_SKIP() << "demo tree not built";
    fs::copy(demoTree(), dir / "resources", fs::copy_options::recursive);
    gui = dir / "resources/GUI/";
    platform::setGuiFolder(gui);
  }
  void TearDown() override {
    platform::setGuiFolder("");
    PageTest::TearDown();
  }

  RootPageServices services() {
    RootPageServices s;
    s.resourceFolder = dir / "resources/";
    s.guiFolder = gui;
    s.settingsFile = "gsetting.properties";
    s.relaunch = [this](const std::string& line) { relaunches.push_back(line); };
    s.openDocument = [this](std::string_view folder, std::string_view file) {
      documents.push_back(std::string(folder) + "|" + std::string(file));
      return true;
    };
    s.addScore = [this](const ScoreRow& row) {
      added.push_back(row);
      table.rows.push_back(row);
      table.hasLatest = true;
      return true;
    };
    s.readScores = [this] { return table; };
    s.openButtons = [] { return host::Host::get().gapi().openInput() != 0; };
    return s;
  }
  RootPage& root() {
    if (!page) page = &makePageOf<RootPage>(runtime(), services());
    return *page;
  }
  bool load(const std::string& file) { return root().loadScreen(file); }
  media::Sprite* sprite(const std::string& name) {
    return dynamic_cast<media::Sprite*>(root().findObject(name));
  }
  void setEntry(const std::string& file, const std::string& key, const std::string& value) {
    platform::Template t('=', ',', ':');
    ASSERT_TRUE(t.load(gui, file));
    t.set(key, value);
    ASSERT_TRUE(t.save());
  }
  std::optional<std::string> entry(const std::string& file, const std::string& key) {
    platform::Template t('=', ',', ':');
    if (!t.load(gui, file)) return std::nullopt;
    return t.getString(key);
  }

  testing_support::TempFolder dir;
  std::string gui;
  RootPage* page = nullptr;
  std::vector<std::string> relaunches;
  std::vector<std::string> documents;
  std::vector<ScoreRow> added;
  ScoreTableView table;
};

TEST_F(RootPageTest, ListsTheRoomsByFileNameAndThePilotsInReverse) {
  // Another room whose name sorts by character code between level1 and level2, a folder that
  // looks like a room and another pilot.
  dir.write("resources/scenes/level10_Attic.gif", readFile(dir / "resources/scenes/level0_Living_Room.gif"));
  fs::create_directories(dir / "resources/scenes/level9_Cellar.gif");
  dir.write("resources/characters/Zed_neutral.jpg", "x");
  RootPage& p = root();
  EXPECT_EQ(p.rooms(), (std::vector<std::string>{"Living Room", "Attic", "Kitchen", "Study",
                                                  "Bedroom", "Warehouse", "Classroom",
                                                  "Gym Hall"}));
  EXPECT_EQ(p.characters(), (std::vector<std::string>{"Zed", "Vega", "Rook", "Nova", "Juno"}));
}

TEST_F(RootPageTest, AStoredRoomPastTheListShowsTheLastRoomAndTheArrowsStopAtTheEnds) {
  setEntry("MainMenu.properties", "sceneSelected", "99");
  ASSERT_TRUE(load("MainMenu.properties"));
  RootPage& p = root();
  EXPECT_EQ(p.currentRoom(), 6);
  EXPECT_EQ(sprite("txtRoomName")->text(), "Gym Hall");
  EXPECT_EQ(sprite("sptPreview")->normalImage->fileName(), "level6_Gym_Hall.gif");
  EXPECT_FALSE(sprite("btnNextRoom")->visible);
  EXPECT_TRUE(sprite("btnLastRoom")->visible);
  p.command("btnNextRoom");
  EXPECT_EQ(p.currentRoom(), 6);
  p.command("btnLastRoom");
  EXPECT_EQ(p.currentRoom(), 5);
  EXPECT_EQ(sprite("txtRoomName")->text(), "Classroom");
  EXPECT_TRUE(sprite("btnNextRoom")->visible);
  EXPECT_TRUE(sprite("btnLastRoom")->visible);
  // A negative one shows the first, and its arrow back is hidden.
  setEntry("MainMenu.properties", "sceneSelected", "-4");
  ASSERT_TRUE(load("MainMenu.properties"));
  // The menu just left wrote its room (5) back, and the menu loaded in its place shows it.
  EXPECT_EQ(p.currentRoom(), 5);
  ASSERT_TRUE(load("intro.properties"));
  setEntry("MainMenu.properties", "sceneSelected", "-4");
  ASSERT_TRUE(load("MainMenu.properties"));
  EXPECT_EQ(p.currentRoom(), 0);
  EXPECT_FALSE(sprite("btnLastRoom")->visible);
  EXPECT_TRUE(sprite("btnNextRoom")->visible);
}

TEST_F(RootPageTest, LeavingTheMenuWritesTheRoomIntoItsFile) {
  ASSERT_TRUE(load("MainMenu.properties"));
  root().command("btnNextRoom");
  root().command("btnNextRoom");
  ASSERT_TRUE(load("intro.properties"));
  EXPECT_EQ(entry("MainMenu.properties", "sceneSelected"), "2");
  // Only the menu's own entries are in it, not the page's merged message box.
  EXPECT_EQ(entry("MainMenu.properties", "sceneMessageBox"), std::nullopt);
  ASSERT_TRUE(load("MainMenu.properties"));
  EXPECT_EQ(root().currentRoom(), 2);
  EXPECT_EQ(sprite("txtRoomName")->text(), "Study");
}

TEST_F(RootPageTest, TheTrainingFlagNamesTheMenuAndTheTeam) {
  ASSERT_TRUE(load("MainMenu.properties"));
  EXPECT_EQ(sprite("txtTitle")->text(), "Select Room for Battle");
  root().command("cmdEnterTraining");
  ASSERT_TRUE(load("MainMenu.properties"));
  EXPECT_EQ(sprite("txtTitle")->text(), "Select Room for Training");
  ASSERT_TRUE(load("TeamSetup.properties"));
  EXPECT_EQ(sprite("txtCombination")->text(), "Training Team");
  root().command("cmdEnterGame");
  ASSERT_TRUE(load("TeamSetup.properties"));
  EXPECT_EQ(sprite("txtCombination")->text(), "Battle Team");
}

TEST_F(RootPageTest, StartWithoutAFullTeamSaysSoAndStartsNothing) {
  ASSERT_TRUE(load("TeamSetup.properties"));
  // Portraits show the pilot's neutral face, and the happy one when chosen.
  EXPECT_EQ(sprite("sptRacer0")->normalImage->fileName(), "Vega_neutral.gif");
  EXPECT_EQ(sprite("sptRacer0")->brightImage->fileName(), "Vega_happy.gif");
  root().command("cmdStartGame");
  EXPECT_TRUE(root().isMessageBoxUp());
  EXPECT_EQ(root().messageBoxContext(), "TEAM_NOT_READY");
  EXPECT_TRUE(relaunches.empty());
}

TEST_F(RootPageTest, AFullTeamStartsTheBattleAndATrainingIsRemembered) {
  setEntry("gsetting.properties", "driverType", "GUIType:checkboxGroup, selected:1");
  root().command("cmdEnterTraining");
  ASSERT_TRUE(load("MainMenu.properties"));
  root().command("btnNextRoom");
  ASSERT_TRUE(load("TeamSetup.properties"));
  sprite("sptRacer3")->status = 1;
  for (int i = 0; i < 40; ++i) root().update(0.05f);
  sprite("sptRacer1")->status = 1;
  for (int i = 0; i < 80; ++i) root().update(0.05f);
  ASSERT_EQ(root().team().teamCode(), 2013);
  EXPECT_FALSE(entry("intro.properties", "hasBeenTrained"));
  root().command("cmdStartGame");
  EXPECT_EQ(relaunches, (std::vector<std::string>{"ARG:GameCanvas:1,2013,1,1"}));
  EXPECT_EQ(entry("intro.properties", "hasBeenTrained"), "yes");
  EXPECT_FALSE(root().isActive());
}

TEST_F(RootPageTest, TheIntroBlinksUntilCalibratedAndTrained) {
  ASSERT_TRUE(load("intro.properties"));
  RootPage& p = root();
  EXPECT_FALSE(p.calibrated());
  EXPECT_FALSE(p.trained());
  // At t = 0.6 s: sin(4.8) = -0.996 hides the calibration, cos(4.8) = 0.09 shows the training.
  p.update(0.6f);
  EXPECT_FALSE(sprite("cmdKeyCalibration")->visible);
  EXPECT_TRUE(sprite("cmdEnterTraining")->visible);
  // At t = 0.95 s: sin(7.6) = 0.97, cos(7.6) = 0.25; at t = 1.4 s: cos(11.2) = 0.2.
  p.update(0.35f);
  EXPECT_TRUE(sprite("cmdKeyCalibration")->visible);
  p.update(0.15f);  // t = 1.1 s: cos(8.8) = -0.81
  EXPECT_FALSE(sprite("cmdEnterTraining")->visible);
  // A calibration (even one of a device that needs no pairs) and a training stop the blinking.
  setEntry("gsetting.properties", "PocketPCKeyMapping", "");
  setEntry("intro.properties", "hasBeenTrained", "yes");
  ASSERT_TRUE(load("intro.properties"));
  EXPECT_TRUE(p.calibrated());
  EXPECT_TRUE(p.trained());
  for (float t : {0.6f, 0.5f}) {
    p.update(t);
    EXPECT_TRUE(sprite("cmdKeyCalibration")->visible);
    EXPECT_TRUE(sprite("cmdEnterTraining")->visible);
  }
  // The movie plays the first film.
  EXPECT_EQ(p.movie().number(), 0);
  EXPECT_EQ(sprite("sptMovie")->normalImage, p.movie().picture());
}

TEST_F(RootPageTest, TheClosingScreenScrollsItsCreditsAndStartsOverBelowThePage) {
  ASSERT_TRUE(load("back.properties"));
  auto* prompt = dynamic_cast<media::SceneSprite*>(root().findScene("scenePrompt"));
  ASSERT_NE(prompt, nullptr);
  const int y = prompt->y;
  root().update(0.05f);  // trunc(15 * 0.05) = 0: at least one pixel
  EXPECT_EQ(prompt->y, y - 1);
  root().update(0.5f);  // trunc(7.5)
  EXPECT_EQ(prompt->y, y - 8);
  prompt->y = -prompt->height;
  root().update(0.1f);
  EXPECT_EQ(prompt->y, 320);
}

TEST_F(RootPageTest, AnEmptyNameIsEnteredAsUnnamedAndTheRoomsTableIsShown) {
  table.rows = {{"Kitchen", "Kim", "2006/01/01", 9000},
                {"Study", "Ann", "2007/01/02", 5000},
                {"Study", "Bob", "2007/01/03", 800}};
  root().setScoreText("score:1200, room:2, date:2007/03/09");
  ASSERT_TRUE(load("scoreboard.properties"));
  ASSERT_TRUE(root().nameAsked());
  // The pad is up over the screen, asking for the name; Enter with nothing typed confirms it.
  ASSERT_NE(root().findScene("sceneInputPad_INPUTPAD"), nullptr);
  EXPECT_TRUE(root().findScene("sceneInputPad_INPUTPAD")->visible);
  wm().sendMessage(root().hwnd(), host::WM_KEYDOWN, host::VK_RETURN, 0);
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0].track, "Study");
  EXPECT_EQ(added[0].racer, "unnamed");
  EXPECT_EQ(added[0].date, "2007/03/09");
  EXPECT_EQ(added[0].speed, 1200);
  EXPECT_EQ(sprite("sptNewRecordPlayer")->text(), "unnamed");
  EXPECT_EQ(sprite("sptNewRecordScore")->text(), "1200");
  EXPECT_EQ(sprite("sptNewRecordDate")->text(), "07/03/09");
  EXPECT_EQ(sprite("txtLevel")->text(), "Study");
  // The room's rows in stored order; the kitchen's record stays out.
  EXPECT_EQ(sprite("player0")->text(), "Ann");
  EXPECT_EQ(sprite("score0")->text(), "5000");
  EXPECT_EQ(sprite("date0")->text(), "07/01/02");
  EXPECT_EQ(sprite("player1")->text(), "Bob");
  EXPECT_EQ(sprite("player2")->text(), "unnamed");
  EXPECT_EQ(sprite("player3")->text(), "");
  // The record is stored once: a tap on the name asks no more.
  EXPECT_FALSE(root().nameAsked());
  root().command("sptNewRecordPlayer");
  EXPECT_EQ(added.size(), 1u);
}

TEST_F(RootPageTest, TheSoundGroupSetsTheSoundSwitch) {
  ASSERT_TRUE(load("MainMenu.properties"));
  root().pageTemplate().setItem("soundEffect", "selected", "1");
  root().command("rdoSound1");
  EXPECT_FALSE(platform::soundEffectsEnabled());
  root().pageTemplate().setItem("soundEffect", "selected", "0");
  root().command("rdoSound0");
  EXPECT_TRUE(platform::soundEffectsEnabled());
}

TEST_F(RootPageTest, QuitShowsTheClosingScreenAndExitClosesTheProgram) {
  ASSERT_TRUE(load("MainMenu.properties"));
  root().setActive(true);
  root().command("cmdQuitGame");
  EXPECT_EQ(root().screen(), RootPage::Screen::kBack);
  EXPECT_TRUE(root().isActive());
  int fades = 0;
  root().transition().passObserver = [&](int) { ++fades; };
  root().command("cmdExit");
  EXPECT_EQ(fades, 5);
  EXPECT_FALSE(root().isActive());
  host::Message m;
  bool closing = false;
  for (int guard = 0; guard < 1000 && wm().peekMessage(m, true); ++guard)
    closing = closing || (m.message == host::WM_CLOSE && m.window == main_->hwnd());
  EXPECT_TRUE(closing);
}

TEST_F(RootPageTest, TheManualOpensWithTheDesktopsOpener) {
  ASSERT_TRUE(load("intro.properties"));
  root().command("cmdManual");
  EXPECT_EQ(documents, (std::vector<std::string>{gui + "..\\..\\manual\\|index.htm"}));
}

TEST_F(RootPageTest, CalibrateButtonsOpensTheDialogWithTheButtonsOpen) {
  ASSERT_TRUE(load("intro.properties"));
  ASSERT_FALSE(host::Host::get().gapi().inputOpen());
  root().command("cmdKeyCalibration");
  ASSERT_NE(root().calibration(), nullptr);
  EXPECT_TRUE(root().calibration()->isCalibrationUp());
  EXPECT_TRUE(host::Host::get().gapi().inputOpen());
  // Cancelled: nothing is stored and the intro goes on blinking.
  root().calibrationDone(false, {});
  root().update(0.1f);
  EXPECT_EQ(root().calibration(), nullptr);
  EXPECT_FALSE(root().calibrated());
  EXPECT_FALSE(entry("gsetting.properties", "PocketPCKeyMapping"));
}

TEST_F(RootPageTest, TheSevenMoviesPlayInALoop) {
  IntroMovie movie(gui);
  media::Sprite screen(20, 44, 200, 120);
  movie.start(&screen);
  ASSERT_NE(screen.normalImage, nullptr);
  EXPECT_EQ(screen.normalImage->fileName(), "video0.gif");
  for (int n = 1; n <= 8; ++n) {
    media::Image* shown = screen.normalImage;
    ASSERT_GT(shown->frameCount(), 2) << n;
    shown->setFrame(shown->frameCount() - 2);
    movie.update();
    EXPECT_EQ(screen.normalImage, shown) << n;
    shown->setFrame(shown->frameCount() - 1);
    EXPECT_TRUE(movie.switchPending());
    movie.update();
    EXPECT_EQ(movie.number(), n % 7);
    EXPECT_EQ(screen.normalImage->fileName(), "video" + std::to_string(n % 7) + ".gif");
    EXPECT_EQ(screen.width, 200);
  }
  movie.stop();
  EXPECT_EQ(screen.normalImage, nullptr);
  EXPECT_EQ(movie.picture(), nullptr);
}

}  // namespace
}  // namespace pages
