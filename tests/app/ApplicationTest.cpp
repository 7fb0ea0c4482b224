#include "app/Application.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "app/ProgramPages.h"
#include "engine3d/Renderer.h"
#include "host/MessageBoxes.h"
#include "media/GuiCanvas.h"
#include "media/Runtime.h"
#include "platform/ProcessSwitches.h"
#include "platform/ResourceArchive.h"
#include "support/HeadlessHost.h"
#include "support/TempFolder.h"

namespace app {
namespace {

using testing_support::TempFolder;

class ApplicationTest : public testing_support::HeadlessHostTest {
 protected:
  void SetUp() override {
    HeadlessHostTest::SetUp();
    ::setenv("XDG_DOCUMENTS_DIR", (docs / "Documents").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (docs / "cache").c_str(), 1);
    platform::setScreenScale(1.0f);
  }
  void TearDown() override {
    ::unsetenv("SKIRROW_AVAILABLE_MEMORY");
    ::unsetenv("XDG_DOCUMENTS_DIR");
    ::unsetenv("XDG_CACHE_HOME");
    platform::releaseArchives();
    HeadlessHostTest::TearDown();
  }

  // Restarts the host on `profile` with a script of the given lines.
  void session(const std::string& profile, const std::string& script) {
    std::string path = docs.write("script.txt", script);
    restart(profile, path);
  }

  const std::vector<host::MessageBoxRecord>& boxes() {
    return host::Host::get().messageBoxes().records();
  }

  TempFolder docs;
};

TEST_F(ApplicationTest, DeviceFlagsComeFromTheProfile) {
  {
    Application a;
    EXPECT_TRUE(a.glCapableCpu());
    EXPECT_FALSE(a.vgaDell());
    EXPECT_EQ(a.settingsFile(), "gsetting.properties");
  }
  restart("qvga-nogl");
  {
    Application a;
    EXPECT_FALSE(a.glCapableCpu());
  }
  restart("vga-2700g");
  {
    Application a;
    EXPECT_TRUE(a.vgaDell());
    EXPECT_EQ(a.settingsFile(), "gsetting_2700G.properties");
  }
  restart("vga");
  {
    Application a;
    EXPECT_FALSE(a.vgaDell());
  }
}

// The process's own folder, as a crashed earlier process of the same id would have left it.
std::string processTempFolder(const TempFolder& docs) {
  return docs / ("cache/skirrow/" + std::to_string(::getpid()));
}

TEST_F(ApplicationTest, TemporaryFolderIsPrivateEmptiedAtStartAndRemovedAtDestruction) {
  std::string temp = processTempFolder(docs);
  docs.write("cache/skirrow/" + std::to_string(::getpid()) + "/left-over.bin", "x");
  {
    Application a;
    EXPECT_EQ(platform::getTempFolder(), temp + "/");
    EXPECT_FALSE(testing_support::exists(temp + "/left-over.bin"));
    struct stat st {};
    ASSERT_EQ(::stat((docs / "cache/skirrow").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(temp.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(a.create(0, 0, 240, 320));
    EXPECT_TRUE(a.destroy());
    EXPECT_FALSE(testing_support::exists(temp));
    EXPECT_FALSE(testing_support::exists(docs / "cache/skirrow"));  // empty, so it went too
    EXPECT_EQ(platform::getTempFolder(), "");
  }
  // Nothing of the user's documents is used any more.
  EXPECT_FALSE(testing_support::exists(docs / "Documents/Tarnwick.tmp"));
}

TEST_F(ApplicationTest, LandscapeScreenIsRefused) {
  session("landscape", "100 quit\n");
  EXPECT_EQ(runApplication("", PageHooks{}), -1);
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].caption, "Error");
  EXPECT_EQ(boxes()[0].text,
            "'app_tests' can not run under landscape mode.\nChange the screen orientation to "
            "portrait mode and run again.");
  EXPECT_TRUE(wm().topLevelWindows().empty());
}

TEST_F(ApplicationTest, LowMemoryWarningAnsweredNoEndsBeforeAnythingIsCreated) {
  ::setenv("SKIRROW_AVAILABLE_MEMORY", std::to_string(5138022).c_str(), 1);  // 4.9 MB
  session("qvga", "answer no\n100 quit\n");
  EXPECT_EQ(runApplication("", PageHooks{}), 0);
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].caption, "Memory Warning");
  EXPECT_EQ(boxes()[0].text,
            "'app_tests' needs 5.0MB memory. Free memory is now 4.9MB.\nSystem will adjust memory "
            "distribution to meet this requirement.\nIngore this warning and continue?");
  EXPECT_TRUE(wm().topLevelWindows().empty());
  EXPECT_EQ(platform::getTempFolder(), "");  // the application was never constructed
}

TEST_F(ApplicationTest, ExactlyTheRequiredMemoryPassesAndTheScaleFollowsTheScreen) {
  ::setenv("SKIRROW_AVAILABLE_MEMORY", std::to_string(5 * 1048576).c_str(), 1);
  session("vga", "100 quit\n");
  std::vector<std::string> loaded;
  PageHooks hooks;
  hooks.loadTemplate = [&](Application&, platform::Window&, const std::string& name) {
    loaded.push_back(name);
  };
  EXPECT_EQ(runApplication("xyz ARG:MainMenu", hooks), 0);
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(platform::screenScale(), 2.0f);
  EXPECT_EQ(platform::scaleInt(7), 14);
  EXPECT_EQ(loaded, (std::vector<std::string>{"MainMenu.properties"}));
}

TEST_F(ApplicationTest, ScaleIsExactlyOneOnAQvgaScreen) {
  session("qvga", "100 quit\n");
  EXPECT_EQ(runApplication("", PageHooks{}), 0);
  EXPECT_EQ(platform::screenScale(), 1.0f);
  EXPECT_EQ(platform::scaleInt(7), 7);
  EXPECT_EQ(platform::scaleFloat(2.5f), 2.5f);
}

TEST_F(ApplicationTest, GameStartChoosesTheRendererFromDriverFlagAndProcessor) {
  struct Seen {
    int room, team;
    bool software, notice, training;
  };
  std::vector<Seen> seen;
  PageHooks hooks;
  hooks.startGame = [&](Application& a, const LaunchRequest& r, bool software, bool notice) {
    seen.push_back({a.roomIndex(), a.teamCode(), software, notice, a.training()});
    EXPECT_EQ(a.rootPage()->hwnd(), 0u);  // the root page has no window in game mode
    auto page = std::make_unique<platform::Window>("game", 0, false);
    return page;
  };
  session("qvga", "100 quit\n");
  EXPECT_EQ(runApplication("ARG:GameCanvas:3,1203,1,0", hooks), 0);
  session("qvga-nogl", "100 quit\n");
  EXPECT_EQ(runApplication("ARG:GameCanvas:3,1203,1,1", hooks), 0);
  session("qvga", "100 quit\n");
  EXPECT_EQ(runApplication("ARG:GameCanvas:2,11,0,0", hooks), 0);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].room, 3);
  EXPECT_EQ(seen[0].team, 1203);
  EXPECT_FALSE(seen[0].software);
  EXPECT_FALSE(seen[0].notice);
  EXPECT_TRUE(seen[1].software);
  EXPECT_TRUE(seen[1].notice);
  EXPECT_TRUE(seen[1].training);
  EXPECT_TRUE(seen[2].software);
  EXPECT_FALSE(seen[2].notice);
}

TEST_F(ApplicationTest, ScoreFormHandsTheItemsToTheRootPageBeforeLoading) {
  std::vector<std::string> calls;
  PageHooks hooks;
  hooks.setPendingScore = [&](Application&, platform::Window&, const std::string& text) {
    calls.push_back("score " + text);
  };
  hooks.loadTemplate = [&](Application&, platform::Window& root, const std::string& name) {
    calls.push_back("load " + name);
    EXPECT_NE(root.hwnd(), 0u);
  };
  session("qvga", "100 quit\n");
  EXPECT_EQ(runApplication(scoreCommandLine(900, 2, 2026, 12, 7), hooks), 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"score score:900, room:2, date:2026/12/07",
                                             "load scoreboard.properties"}));
}

TEST_F(ApplicationTest, RelaunchDestroysTheWindowBeforeStartingTheNewInstance) {
  // The "program" records its command line and what it finds when it starts.
  std::string report = docs / "report.txt";
  std::string exe = docs.write("fake-skirrow.sh",
                               "#!/bin/sh\n"
                               "if [ -d '" +
                                   docs.path() +
                                   "/Documents/Tarnwick.tmp' ]; then t=kept; "
                                   "else t=gone; fi\n"
                                   "printf '%s|%s\\n' \"$1\" \"$t\" > '" +
                                   report +
                                   ".part'\n"
                                   "mv '" +
                                   report + ".part' '" + report + "'\n");
  ::chmod(exe.c_str(), 0755);
  Application a;
  ASSERT_TRUE(a.create(0, 0, 240, 320));
  docs.write("cache/skirrow/" + std::to_string(::getpid()) + "/extracted.bin", "x");
  a.relaunch(exe, gameCommandLine(3, 1203, 1, 0));
  EXPECT_EQ(a.hwnd(), 0u);
  for (int i = 0; i < 200 && !testing_support::exists(report); ++i) ::usleep(20000);
  EXPECT_EQ(testing_support::readFile(report), "ARG:GameCanvas:3,1203,1,0|gone\n");
  host::Message m;
  bool quit = false;
  while (wm().peekMessage(m, true)) quit |= m.message == host::WM_QUIT;
  EXPECT_TRUE(quit);
}

TEST_F(ApplicationTest, SoundEffectsFollowTheSettingsTemplate) {
  // The settings live in the GUI folder beside the program: bin/../resources/GUI.
  std::string gui = std::string(SKIRROW_BIN_DIR) + "/../resources/GUI/";
  std::string settings = gui + "gsetting.properties";
  bool existed = testing_support::exists(settings);
  if (existed) GTEST_SKIP() << "a real settings file is installed in " << gui;
  std::filesystem::create_directories(gui);
  std::ofstream(settings) << "soundEffect=GUIType:checkboxGroup, selected:0\n";
  { Application a; }
  EXPECT_TRUE(platform::soundEffectsEnabled());
  std::ofstream(settings) << "soundEffect=GUIType:checkboxGroup, selected:1\n";
  { Application a; }
  EXPECT_FALSE(platform::soundEffectsEnabled());
  std::filesystem::remove(settings);
  { Application a; }
  EXPECT_FALSE(platform::soundEffectsEnabled());  // missing reads as -1: off
}

TEST_F(ApplicationTest, TheProgramsRootPageIsAGuiCanvasOnTheRunsRuntime) {
  media::Runtime runtime;
  PageHooks hooks = programPages(runtime);
  ASSERT_TRUE(hooks.createRootPage && hooks.loadTemplate && hooks.startGame);
  Application a;
  ::unsetenv("SKIRROW_RENDERER");
  std::unique_ptr<platform::Window> made = hooks.createRootPage(a);
  auto* page = dynamic_cast<media::GuiCanvas*>(made.get());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->title(), "gamePage");
  EXPECT_EQ(&page->runtime(), &runtime);
  EXPECT_EQ(&page->creators(), &runtime.creators());
  EXPECT_EQ(page->rendererType, engine3d::kRendererSoftware);
  ::setenv("SKIRROW_RENDERER", "gles", 1);
  made = hooks.createRootPage(a);
  ::unsetenv("SKIRROW_RENDERER");
  page = dynamic_cast<media::GuiCanvas*>(made.get());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->rendererType, engine3d::kRendererGles);
}

}  // namespace
}  // namespace app
