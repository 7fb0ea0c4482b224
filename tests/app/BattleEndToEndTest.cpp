// The battle on the real program, headless and scripted: what it shows, its questions, the
// relaunches its answers lead to, the demonstration and training to their ends, and the OpenGL
// notices on a device without it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <thread>

#include "host/Png.h"
#include "support/ReferenceImage.h"
#include "support/TempFolder.h"

namespace {

using testing_support::readFile;
using testing_support::TempFolder;

class BattleEndToEnd : public ::testing::Test {
 protected:
  // Runs `program` with `script` and the command line `args`; the message-box log goes to
  // boxes.txt and stderr to stderr.txt. Returns the exit status.
  int run(const std::string& script, const std::string& args,
          const std::string& environment = "", const std::string& program = "skirrow",
          int seconds = 120) {
    const std::string scriptPath = dir.write("script.txt", script);
    const std::string command =
        "SKIRROW_HOST=headless SKIRROW_AUDIO=none SKIRROW_SEED=1 XDG_RUNTIME_DIR='" + dir.path() +
        "' XDG_DOCUMENTS_DIR='" + dir.path() + "/docs' XDG_CACHE_HOME='" + dir.path() +
        "/cache' SKIRROW_MESSAGEBOX_LOG='" + log() + "' " +
        environment + " SKIRROW_SCRIPT='" + scriptPath + "' timeout " + std::to_string(seconds) +
        " " + std::string(SKIRROW_BIN_DIR) + "/" + program + " " + args + " 2>'" + dir.path() +
        "/stderr.txt'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string log() { return dir / "boxes.txt"; }
  std::string logText() { return readFile(log()); }
  std::string stderrText() { return readFile(dir / "stderr.txt"); }

  bool waitFor(const std::string& path, int seconds = 60) {
    return testing_support::waitForFile(path, seconds);
  }

  // The screen three seconds into a battle in room 0.
  std::optional<host::RgbImage> battleScreen(const std::string& profile, int driver,
                                             const std::string& program) {
    const std::string shot = dir / "battle.png";
    EXPECT_EQ(run("3000 screenshot " + shot + "\n3100 quit\n",
                  "ARG:GameCanvas:0,3210," + std::to_string(driver) + ",0",
                  "SKIRROW_DEVICE=" + profile, program),
              0)
        << stderrText();
    return host::readPng(shot);
  }

  TempFolder dir;
};

TEST_F(BattleEndToEnd, ABattleShowsTheRoomTheHelicoptersAndTheDisplay) {
  // The same script gives the same picture: the battle's dice are seeded.
  auto qvga = battleScreen("qvga", 0, "skirrow");
  ASSERT_TRUE(qvga);
  EXPECT_TRUE(testing_support::matchesReferenceFile(
      *qvga, testing_support::referenceFile("app/battle_room0_240"), 8, 0.005));
  auto vga = battleScreen("vga", 0, "skirrow-cl");
  ASSERT_TRUE(vga);
  EXPECT_TRUE(testing_support::matchesReferenceFile(
      *vga, testing_support::referenceFile("app/battle_room0_480"), 8, 0.005));
  EXPECT_EQ(logText(), "message box [page] Loading ... -> -\nmessage box [page] Loading ... -> -\n");
}

TEST_F(BattleEndToEnd, ABattleDrawnWithOpenGlEs) {
  auto gl = battleScreen("qvga", 1, "skirrow");
  ASSERT_TRUE(gl);
  EXPECT_TRUE(testing_support::matchesReferenceFile(
      *gl, testing_support::referenceFile("app/battle_room0_gles_240"), 8, 0.005));
}

TEST_F(BattleEndToEnd, EscapeAsksNoResumesAndYesGoesToTheIntro) {
  const std::string intro = dir / "intro.png";
  ASSERT_EQ(run("answer no\nanswer yes\n2000 key ESCAPE\n3000 key ESCAPE\n5000 screenshot " +
                    intro + "\n5100 quit\n",
                "ARG:GameCanvas:0,3210,0,0"),
            0)
      << stderrText();
  ASSERT_TRUE(waitFor(intro)) << logText();
  EXPECT_EQ(logText(),
            "message box [page] Loading ... -> -\n"
            "message box [page] Quit Game Now ? -> No\n"
            "message box [page] Quit Game Now ? -> Yes\n"
            "start ARG:intro\n");
}

TEST_F(BattleEndToEnd, ADemonstrationBattleIsWonAndGoesToTheScoreboard) {
  // The demonstration button, then the battle to its end and the box's OK; with this seed team A
  // wins within the first two minutes, and the scoreboard's process takes the picture.
  const std::string board = dir / "board.png";
  ASSERT_EQ(run("answer ok\n2000 tap 52 242\n120000 screenshot " + board + "\n120100 quit\n",
                "ARG:GameCanvas:0,3210,0,0", "", "skirrow", 600),
            0)
      << stderrText();
  ASSERT_TRUE(waitFor(board)) << logText();
  const std::string text = logText();
  const std::size_t won = text.find("message box [page] Game Over: You Won! -> OK\n");
  ASSERT_NE(won, std::string::npos) << text;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[16];
  std::snprintf(date, sizeof date, "%04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  const std::size_t start = text.find("start ARG:scoreboard /score:", won);
  ASSERT_NE(start, std::string::npos) << text;
  const std::string line = text.substr(start, text.find('\n', start) - start);
  EXPECT_NE(line.find(", room:0, date:" + std::string(date)), std::string::npos) << line;
  EXPECT_GT(std::atoi(line.c_str() + std::string("start ARG:scoreboard /score:").size()), 0);
}

TEST_F(BattleEndToEnd, LongTrainingShowsItsTipsAndEndsOnlyWithItsTimeOut) {
  const std::string tip = dir / "tip.png";
  const std::string intro = dir / "intro.png";
  ASSERT_EQ(run("answer ok\n3000 screenshot " + tip + "\n3605000 screenshot " + intro +
                    "\n3605100 quit\n",
                "ARG:GameCanvas:1,3210,0,1", "", "skirrow", 900),
            0)
      << stderrText();
  ASSERT_TRUE(waitFor(intro)) << logText();
  EXPECT_EQ(logText(),
            "message box [page] Loading ... -> -\n"
            "message box [page] Training Session Time out. -> OK\n"
            "start ARG:intro\n");
  auto shot = host::readPng(tip);
  ASSERT_TRUE(shot);
  EXPECT_TRUE(testing_support::matchesReferenceFile(
      *shot, testing_support::referenceFile("app/training_room1_240"), 8, 0.005));
}

TEST_F(BattleEndToEnd, WithoutOpenGlEsTheTwoNoticesComeAndTheSoftwareRendererPlays) {
  const std::string shot = dir / "played.png";
  ASSERT_EQ(run("answer ok\nanswer ok\n3000 screenshot " + shot + "\n3100 quit\n",
                "ARG:GameCanvas:0,3210,1,0", "SKIRROW_DEVICE=qvga-nogl"),
            0)
      << stderrText();
  EXPECT_EQ(logText(),
            "message box [page] Loading ... -> -\n"
            "message box [page] Open GL is not available on this device. -> OK\n"
            "message box [page] Vexagraph will be used as Graphics Driver. -> OK\n");
  EXPECT_TRUE(testing_support::exists(shot));
}

}  // namespace
