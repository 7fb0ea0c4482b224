// Installs the build into a temporary prefix, makes it read-only and plays the installed game
// from another folder, as a player of a packaged game would.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "host/Png.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::exists;
using testing_support::readFile;
using testing_support::TempFolder;

// The settings screen: the second choice of "Sound effects" ("Off") is at (124, 62), 92x18.
constexpr const char* kTapSoundOff = "tap 150 70";
const std::string kSettingsCopy = "data/skirrow/resources/GUI/gsetting.properties";

// Every entry under `root` without following links: a file's size and bytes, a link's target.
std::map<std::string, std::string> snapshot(const std::string& root) {
  std::map<std::string, std::string> entries;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string relative = fs::relative(it->path(), root).string();
    if (it->is_symlink())
      entries[relative] = "-> " + fs::read_symlink(it->path()).string();
    else if (it->is_regular_file())
      entries[relative] = readFile(it->path().string());
    else
      entries[relative] = "folder";
  }
  return entries;
}

class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    home_ = new TempFolder;
    prefix_ = *home_ / "prefix";
    const std::string command = std::string("'") + SKIRROW_CMAKE + "' --install '" +
                                SKIRROW_BUILD_DIR + "' --prefix '" + prefix_ + "' >'" +
                                (*home_ / "install.txt") + "' 2>&1";
    installStatus_ = std::system(command.c_str());
    if (installStatus_ != 0) return;
    before_ = new std::map<std::string, std::string>(snapshot(prefix_));
    // Read-only for everyone: folders and files lose their write bits.
    std::system(("chmod -R a-w '" + prefix_ + "'").c_str());
  }
  static void TearDownTestSuite() {
    std::system(("chmod -R u+w '" + prefix_ + "'").c_str());
    delete before_;
    delete home_;
  }

  void SetUp() override {
    ASSERT_EQ(installStatus_, 0) << readFile(*home_ / "install.txt");
    std::filesystem::create_directories(dir / "elsewhere");
    std::filesystem::create_directories(dir / "home");
  }
  void TearDown() override {
    // Whatever a test ran, the installed tree is as the install left it.
    EXPECT_TRUE(snapshot(prefix_) == *before_) << "the installed tree was written";
  }

  // Runs the installed `program` with `script` from the folder "elsewhere", with the user's
  // folders in this test's folder. Returns the exit status.
  int play(const std::string& script, const std::string& args = "ARG:gsetting",
           const std::string& program = "skirrow") {
    const std::string scriptPath = dir.write("script.txt", script);
    const std::string command =
        "cd '" + dir.path() + "/elsewhere' && env -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME='" +
        dir.path() + "/home' XDG_DATA_HOME='" + dir.path() + "/data' XDG_CACHE_HOME='" +
        dir.path() + "/cache' XDG_RUNTIME_DIR='" + dir.path() +
        "' SKIRROW_HOST=headless SKIRROW_AUDIO=none SKIRROW_MESSAGEBOX_LOG='" + dir.path() +
        "/boxes.txt' SKIRROW_SCRIPT='" + scriptPath + "' timeout 60 '" + prefix_ + "/bin/" +
        program + "' " + args + " 2>'" + dir.path() + "/stderr.txt'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string stderrText() { return readFile(dir / "stderr.txt"); }
  std::string boxes() { return readFile(dir / "boxes.txt"); }
  std::string shot(const std::string& name) { return dir / ("elsewhere/" + name); }
  std::vector<uint8_t> pixels(const std::string& name) {
    auto image = host::readPng(shot(name));
    return image ? image->rgb : std::vector<uint8_t>();
  }

  static TempFolder* home_;
  static std::string prefix_;
  static int installStatus_;
  static std::map<std::string, std::string>* before_;
  TempFolder dir;
};

TempFolder* Installed::home_ = nullptr;
std::string Installed::prefix_;
int Installed::installStatus_ = -1;
std::map<std::string, std::string>* Installed::before_ = nullptr;

TEST_F(Installed, TheLayoutHoldsProgramsResourcesDesktopEntryIconsAndManualPages) {
  for (const char* program : {"skirrow", "skirrow-cl", "skirrow-tool"}) {
    const fs::path link = fs::path(prefix_) / "bin" / program;
    ASSERT_TRUE(fs::is_symlink(link)) << program;
    EXPECT_EQ(fs::read_symlink(link), fs::path("../lib/skirrow/bin") / program);
    EXPECT_TRUE(fs::is_regular_file(fs::path(prefix_) / "lib/skirrow/bin" / program));
  }
  // The build tree's portable marker is not installed: the installed game saves in the home.
  EXPECT_FALSE(exists(prefix_ + "/lib/skirrow/bin/skirrow.portable"));
  for (const char* file : {"GUI/GUI.zip", "GUI/gsetting.properties", "scenes/scenes.zip",
                           "chopper/chopper.zip", "flyable/flyable.zip"})
    EXPECT_TRUE(fs::is_regular_file(prefix_ + "/lib/skirrow/resources/" + file)) << file;
  EXPECT_TRUE(fs::is_regular_file(prefix_ + "/share/skirrow/manual/index.htm"));
  EXPECT_TRUE(fs::is_regular_file(prefix_ + "/lib/skirrow/manual/index.htm"));
  // Only what the content builder makes ships: no scores or saves a build's own runs left.
  EXPECT_FALSE(exists(prefix_ + "/share/skirrow/resources/GUI/racescore.txt"));
  for (const auto& entry : fs::recursive_directory_iterator(prefix_ + "/share/skirrow"))
    EXPECT_EQ(entry.path().string().find(".saving"), std::string::npos) << entry.path();

  const std::string desktop = readFile(prefix_ + "/share/applications/skirrow.desktop");
  EXPECT_NE(desktop.find("\nExec=skirrow\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nIcon=skirrow\n"), std::string::npos);
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string n = std::to_string(size);
    auto icon =
        host::readPng(prefix_ + "/share/icons/hicolor/" + n + "x" + n + "/apps/skirrow.png");
    ASSERT_TRUE(icon) << size;
    EXPECT_EQ(icon->width, size);
    EXPECT_EQ(icon->height, size);
  }
  for (const char* page : {"skirrow.6", "skirrow-cl.6", "skirrow-tool.6"})
    EXPECT_TRUE(fs::is_regular_file(prefix_ + "/share/man/man6/" + page)) << page;
}

TEST_F(Installed, ASettingSavedFromAnotherFolderLandsInTheUsersDataAndIsReadNextTime) {
  ASSERT_EQ(play("300 screenshot before.png\n400 " + std::string(kTapSoundOff) +
                 "\n800 screenshot after.png\n900 quit\n"),
            0)
      << stderrText();
  const std::string saved = readFile(dir / kSettingsCopy);
  EXPECT_NE(saved.find("soundEffect= GUIType:checkboxGroup, selected:1"), std::string::npos)
      << saved;
  EXPECT_EQ(boxes().find("Warning"), std::string::npos) << boxes();
  EXPECT_EQ(stderrText().find("damaged"), std::string::npos) << stderrText();
  // Nothing lands in the working folder but the screenshots, nothing in the home.
  EXPECT_TRUE(fs::is_empty(dir / "home"));
  std::vector<std::string> here;
  for (const auto& entry : fs::directory_iterator(dir / "elsewhere"))
    here.push_back(entry.path().filename().string());
  std::sort(here.begin(), here.end());
  EXPECT_EQ(here, (std::vector<std::string>{"after.png", "before.png"}));
  // The private scratch folder is gone at exit.
  EXPECT_FALSE(exists(dir / "cache/skirrow"));

  const std::vector<uint8_t> before = pixels("before.png");
  const std::vector<uint8_t> after = pixels("after.png");
  ASSERT_FALSE(before.empty());
  ASSERT_EQ(before.size(), after.size());
  EXPECT_NE(before, after) << "the tap changed nothing on the screen";

  // The next run shows the choice saved.
  ASSERT_EQ(play("800 screenshot again.png\n900 quit\n"), 0) << stderrText();
  EXPECT_EQ(pixels("again.png"), after);
  // The other build reads the same saves.
  ASSERT_EQ(play("800 screenshot cl.png\n900 quit\n", "ARG:gsetting", "skirrow-cl"), 0);
  EXPECT_EQ(pixels("cl.png"), after);
}

TEST_F(Installed, ADamagedUserCopyFallsBackToTheInstalledSettingsAndIsReplacedBySaving) {
  ASSERT_EQ(play("800 screenshot defaults.png\n900 quit\n"), 0) << stderrText();
  dir.write(kSettingsCopy, std::string("soundEffect=GUIType:checkbox\0\0\x9F", 31));
  ASSERT_EQ(play("300 screenshot damaged.png\n400 " + std::string(kTapSoundOff) + "\n800 quit\n"),
            0)
      << stderrText();
  EXPECT_NE(stderrText().find("gsetting.properties cannot be read or is damaged"),
            std::string::npos)
      << stderrText();
  EXPECT_EQ(pixels("damaged.png"), pixels("defaults.png"));
  // The save replaced the damaged file with a good one.
  EXPECT_NE(readFile(dir / kSettingsCopy).find("selected:1"), std::string::npos);
  EXPECT_EQ(readFile(dir / kSettingsCopy).find('\0'), std::string::npos);
}

TEST_F(Installed, AUserCopyThatCannotBeWrittenGivesTheSaveWarningNotACrash) {
  ASSERT_EQ(play("800 screenshot defaults.png\n900 quit\n"), 0) << stderrText();
  // A folder stands where the user's settings file belongs.
  fs::create_directories(dir / kSettingsCopy);
  ASSERT_EQ(play("300 " + std::string(kTapSoundOff) + "\n800 quit\n"), 0) << stderrText();
  const std::string log = boxes();
  EXPECT_NE(log.find("[Warning] Can not update the template file: " + dir.path() + "/" +
                     kSettingsCopy + ".\nThe file is read-only"),
            std::string::npos)
      << log;
  EXPECT_TRUE(fs::is_directory(dir / kSettingsCopy));
}

TEST_F(Installed, ABattleLeftForTheIntroRelaunchesTheInstalledProgramAndCleansUp) {
  // The battle reads members that exist only inside the archives: they come through the
  // process's private folder. Leaving it starts the program again for the intro, whose own
  // folder is another one; both are gone once the last process has ended.
  ASSERT_EQ(play("answer yes\n2000 key ESCAPE\n4000 screenshot intro.png\n4100 quit\n",
                 "ARG:GameCanvas:0,3210,0,0"),
            0)
      << stderrText();
  for (int i = 0; i < 300 && !exists(shot("intro.png")); ++i) ::usleep(100000);
  ASSERT_TRUE(exists(shot("intro.png"))) << boxes();
  EXPECT_NE(boxes().find("start ARG:intro\n"), std::string::npos) << boxes();
  EXPECT_EQ(stderrText().find("Can not find"), std::string::npos) << stderrText();
  bool gone = false;
  for (int i = 0; i < 300 && !(gone = !exists(dir / "cache/skirrow")); ++i) ::usleep(100000);
  EXPECT_TRUE(gone);
  EXPECT_EQ(boxes().find("[Error]"), std::string::npos) << boxes();
}

TEST_F(Installed, HelpAndVersionAnswerWithoutStartingAndAnUnknownOptionIsAnError) {
  const std::string run = "cd '" + dir.path() +
                          "/elsewhere' && env -u DISPLAY -u WAYLAND_DISPLAY "
                          "XDG_RUNTIME_DIR='" +
                          dir.path() + "' SKIRROW_HOST=sdl '" + prefix_ + "/bin/skirrow' ";
  auto exitOf = [](int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; };
  EXPECT_EQ(exitOf(std::system((run + "--help >'" + dir.path() + "/out.txt'").c_str())), 0);
  const std::string help = readFile(dir / "out.txt");
  for (const char* expected : {"usage: skirrow [ARG:page]", "ARG:GameCanvas:", "ARG:scoreboard",
                               "SKIRROW_DEVICE", "SKIRROW_SCRIPT", "XDG_DATA_HOME"})
    EXPECT_NE(help.find(expected), std::string::npos) << expected;
  EXPECT_EQ(exitOf(std::system((run + "--version >'" + dir.path() + "/out.txt'").c_str())), 0);
  EXPECT_EQ(readFile(dir / "out.txt"), "skirrow 1.0.0 (Common build)\n");
  EXPECT_EQ(exitOf(std::system((run + "--fly 2>'" + dir.path() + "/err.txt'").c_str())), 2);
  EXPECT_EQ(readFile(dir / "err.txt"), "skirrow: unknown option '--fly' (try --help)\n");
  // None of them started the game: no single-instance lock was taken.
  for (const auto& entry : fs::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path().filename().string().find(".lock"), std::string::npos);
}

}  // namespace
