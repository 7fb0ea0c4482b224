// Application: the main window of the process, the device detection and the start-up.
//
// One executable runs one page family per process (see CommandLine.h). The application reads
// the device, chooses the settings file, empties the temporary folder, registers the resource
// archives, checks the screen, refuses a second instance, creates the root page and runs the
// message pump. Pages that do not exist yet are reached through PageHooks.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "platform/Window.h"

namespace app {

class Application;

// How the application reaches the pages. The menu pages and the game page fill these in; an
// empty hook means that page family is not available in this build.
struct PageHooks {
  // Creates the root page (named "gamePage"); it owns every menu screen.
  std::function<std::unique_ptr<platform::Window>(Application&)> createRootPage;
  // Loads a template from the GUI folder into the root page, replacing what it shows.
  std::function<void(Application&, platform::Window& rootPage, const std::string& name)>
      loadTemplate;
  // Gives the root page the score items of a score entry before "scoreboard.properties" loads.
  std::function<void(Application&, platform::Window& rootPage, const std::string& scoreText)>
      setPendingScore;
  // Creates the game page for a game start; `software` selects the software renderer and
  // `glNotice` asks for the "Open GL is not available" notice first. Null: it could not start.
  std::function<std::unique_ptr<platform::Window>(Application&, const LaunchRequest&, bool software,
                                                  bool glNotice)>
      startGame;
};

class Application : public platform::Window {
 public:
  static constexpr const char* kTitle = "Skirrow";
  static constexpr uint32_t kStyle = 0x10000000;  // visible only
  static constexpr float kRequiredMemoryMB = 5.0f;

  // The first part of the start-up, before any window exists: the device flags, the settings
  // file, the temporary folder, the resource archives, the GUI folder and the sound switch.
  Application();
  ~Application() override;

  Window* rootPage() const { return rootPage_; }
  Window* gameCanvas() const { return gameCanvas_; }
  const std::string& settingsFile() const { return settingsFile_; }
  bool vgaDell() const { return vgaDell_; }
  bool glCapableCpu() const { return glCapableCpu_; }
  bool training() const { return training_; }
  int roomIndex() const { return roomIndex_; }
  int teamCode() const { return teamCode_; }
  const std::string& exeFolder() const { return exeFolder_; }

  // Creates the root page through the hooks (it gets no window yet).
  void createRootPage(const PageHooks& hooks);
  // Gives the root page its window over the whole client area and the keyboard focus.
  bool showRootPage();
  // Handles the command line's request: a game start, a score entry or a template.
  bool dispatch(const LaunchRequest& request, const PageHooks& hooks);

  // Destroys this window (releasing the archives and the temporary folder), then starts the
  // program again with `commandLine`. A start that fails leaves nothing running.
  void relaunchSelf(const std::string& commandLine);
  // relaunchSelf with another program: destroys this window, then starts `exePath`.
  void relaunch(const std::string& exePath, const std::string& commandLine);

 protected:
  void onActivate(bool active) override;
  void onDestroy() override;

 private:
  std::unique_ptr<Window> rootPageOwned_;  // until the root page is given a window
  Window* rootPage_ = nullptr;
  Window* gameCanvas_ = nullptr;
  std::string settingsFile_;
  bool vgaDell_ = false;
  bool glCapableCpu_ = false;
  bool training_ = false;
  int roomIndex_ = 0;
  int teamCode_ = 0;
  std::string exeFolder_;
};

// The whole start-up and the life of the process; returns its exit code (0, or -1 for a
// landscape screen). `commandLine` is the process's command line without the program name.
int runApplication(const std::string& commandLine, const PageHooks& hooks);

}  // namespace app
