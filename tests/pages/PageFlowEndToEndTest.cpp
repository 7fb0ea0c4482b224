// The page flow on the real program, headless and scripted, in a copy of the program and its
// resources (the menus write their choices, the calibration and the score table into the
// resource tree): one session from the cover to the high-score table across the program's
// relaunches, and the calibration of buttons that send other codes than the standard ones.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "host/Png.h"
#include "platform/Template.h"
#include "support/ReferenceImage.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::readFile;
using testing_support::TempFolder;

class PageFlowLong : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string tree = std::string(SKIRROW_BIN_DIR) + "/../resources";
    if (!fs::is_directory(tree + "/GUI")) GTEST_SKIP() << "demo tree not built";
    fs::create_directories(dir / "bin");
    fs::copy_file(std::string(SKIRROW_BIN_DIR) + "/skirrow", dir / "bin/skirrow");
    // A build tree's program keeps its saves beside itself; so does this copy.
    fs::copy_file(std::string(SKIRROW_BIN_DIR) + "/skirrow.portable", dir / "bin/skirrow.portable");
    fs::copy(tree, dir / "resources", fs::copy_options::recursive);
  }

  // Starts the copied program with `script` and `args`; the session log goes to boxes.txt.
  int run(const std::string& script, const std::string& args = "") {
    const std::string scriptPath = dir.write("script.txt", script);
    const std::string command =
        "SKIRROW_HOST=headless SKIRROW_AUDIO=none SKIRROW_DEVICE=qvga SKIRROW_SEED=1 "
        "XDG_DATA_HOME='" + dir.path() + "/data' XDG_CACHE_HOME='" + dir.path() + "/cache' " +
        "XDG_RUNTIME_DIR='" + dir.path() + "' XDG_DOCUMENTS_DIR='" + dir.path() +
        "/docs' SKIRROW_MESSAGEBOX_LOG='" + (dir / "boxes.txt") + "' SKIRROW_SCRIPT='" +
        scriptPath + "' timeout 300 '" + (dir / "bin/skirrow") + "' " + args + " 2>'" +
        dir.path() + "/stderr.txt'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  bool waitFor(const std::string& path, int seconds = 240) {
    return testing_support::waitForFile(path, seconds);
  }
  std::string shot(const std::string& name) { return dir / (name + ".png"); }
  std::string log() { return readFile(dir / "boxes.txt"); }
  std::string gui(const std::string& file) { return dir / ("resources/GUI/" + file); }

  // The screenshot `name` against tests/reference/pages/`name`, with the rectangle
  // (x0, y0)-(x1, y1) left out of the comparison (painted black in both) when given.
  ::testing::AssertionResult matches(const std::string& name, int x0 = 0, int y0 = 0, int x1 = 0,
                                     int y1 = 0) {
    std::optional<host::RgbImage> picture = host::readPng(shot(name));
    if (!picture) return ::testing::AssertionFailure() << "no screenshot " << name;
    for (int y = y0; y < y1 && y < picture->height; ++y)
      for (int x = x0; x < x1 && x < picture->width; ++x)
        for (int c = 0; c < 3; ++c)
          picture->rgb[(static_cast<size_t>(y) * picture->width + x) * 3 + c] = 0;
    return testing_support::matchesReferenceFile(
        *picture, testing_support::referenceFile("pages/" + name), 8, 0.005);
  }

  static std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[16];
    std::snprintf(date, sizeof date, "%04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return date;
  }

  TempFolder dir;
};

TEST_F(PageFlowLong, FromTheCoverThroughABattleToTheHighScoreTable) {
  // Cover, intro, the main menu two rooms on (the study), two pilots (Juno and Rook) and Start;
  // the battle's demonstration, which team A wins with this seed in about 140 s; the scoreboard's
  // name typed on the keyboard.
  const std::string script =
      "answer ok\n"
      "200 screenshot " + shot("cover") + "\n"
      "300 tap 120 160\n"
      "1500 screenshot " + shot("intro") + "\n"
      "1600 tap 120 189\n"
      "2600 tap 226 128\n"
      "2800 tap 226 128\n"
      "3000 screenshot " + shot("menu") + "\n"
      "3100 tap 120 242\n"
      "4100 tap 207 268\n"
      "5000 tap 93 268\n"
      "7000 screenshot " + shot("team") + "\n"
      "7100 tap 176 307\n"
      "10000 tap 52 242\n"
      "12000 screenshot " + shot("battle") + "\n"
      "160000 screenshot " + shot("name") + "\n"
      "160500 type Ace\n"
      "161500 key ENTER\n"
      "163000 screenshot " + shot("board") + "\n"
      "163100 quit\n";
  ASSERT_EQ(run(script), 0) << readFile(dir / "stderr.txt");
  ASSERT_TRUE(waitFor(shot("board"))) << log();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the last process ends

  const std::string text = log();
  const std::string head =
      "start ARG:GameCanvas:2,2013,0,0\n"
      "message box [page] Loading ... -> -\n"
      "message box [page] Game Over: You Won! -> OK\n"
      "start ARG:scoreboard /score:";
  ASSERT_EQ(text.substr(0, head.size()), head) << text;
  const int score = std::atoi(text.c_str() + head.size());
  EXPECT_GT(score, 0);
  EXPECT_NE(text.find(", room:2, date:" + today() + "\n", head.size()), std::string::npos) << text;

  // The room chosen is kept in the menu's file, and the table holds the new record.
  platform::Template menu('=', ',', ':');
  ASSERT_TRUE(menu.load(dir / "resources/GUI/", "MainMenu.properties"));
  EXPECT_EQ(menu.getString("sceneSelected"), "2");
  const std::string record = "track:Study, racer:ace, vehicle:, date:" + today() +
                             ", time:   0.000, speed:" + std::to_string(score) + "\n";
  EXPECT_EQ(readFile(gui("racescore.txt")), "-1=" + record + "0=" + record);

  EXPECT_TRUE(matches("cover"));
  EXPECT_TRUE(matches("intro"));
  EXPECT_TRUE(matches("menu"));
  EXPECT_TRUE(matches("team"));
  EXPECT_TRUE(matches("battle"));
  EXPECT_TRUE(matches("name"));
  // The dates are today's: their column is left out.
  EXPECT_TRUE(matches("board", 176, 70, 240, 286));
}

TEST_F(PageFlowLong, ButtonsThatSendOtherCodesAreCalibratedAndTheBattleSeesTheStandardOnes) {
  // Calibrate Buttons on the intro, Start, the four buttons sending 200..203 (down and up),
  // Ok; then a battle in the first room, where the first button held (code 200) lights the
  // speed button as button A (193) does.
  const std::string script =
      "1000 tap 120 250\n"
      "1800 screenshot " + shot("calibration") + "\n"
      "2000 tap 120 241\n"
      "3000 vkey 200 hold 200\n"
      "4500 vkey 201 hold 200\n"
      "6000 vkey 202 hold 200\n"
      "7500 vkey 203 hold 200\n"
      "9000 screenshot " + shot("calibrated") + "\n"
      "9500 tap 120 241\n"
      "10500 tap 120 189\n"
      "12000 tap 120 242\n"
      "13000 tap 207 268\n"
      "14000 tap 93 268\n"
      "16000 tap 176 307\n"
      "20000 screenshot " + shot("idle") + "\n"
      "21000 vkey down 200\n"
      "22000 screenshot " + shot("held") + "\n"
      "22500 vkey up 200\n"
      "23000 quit\n";
  ASSERT_EQ(run(script, "ARG:intro"), 0) << readFile(dir / "stderr.txt");
  ASSERT_TRUE(waitFor(shot("held"))) << log();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));

  platform::Template settings('=', ',', ':');
  ASSERT_TRUE(settings.load(dir / "resources/GUI/", "gsetting.properties"));
  EXPECT_EQ(settings.getString("PocketPCKeyMapping"), "200:193,201:194,202:195,203:196");
  EXPECT_EQ(log().substr(0, 32), "start ARG:GameCanvas:0,2013,0,0\n") << log();

  EXPECT_TRUE(matches("calibration"));
  EXPECT_TRUE(matches("calibrated"));
  // The speed button at the right end of the battle's button row lights while the button is
  // held; nothing else of that row changes.
  auto idle = host::readPng(shot("idle"));
  auto held = host::readPng(shot("held"));
  ASSERT_TRUE(idle && held);
  auto differing = [&](int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        for (int c = 0; c < 3; ++c) {
          const size_t i = (static_cast<size_t>(y) * idle->width + x) * 3 + c;
          if (std::abs(idle->rgb[i] - held->rgb[i]) > 24) {
            ++n;
            break;
          }
        }
    return n;
  };
  EXPECT_GT(differing(206, 232, 240, 252), 40);
  EXPECT_EQ(differing(0, 232, 170, 252), 0);
}

}  // namespace
