#include "app/Application.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "app/Settings.h"
#include "host/Files.h"
#include "host/Gdi.h"
#include "host/Host.h"
#include "host/MessageBoxes.h"
#include "host/WindowManager.h"
#include "platform/Files.h"
#include "platform/MessagePump.h"
#include "platform/ProcessSwitches.h"
#include "platform/ResourceArchive.h"
#include "platform/SystemServices.h"
#include "platform/Template.h"
#include "platform/UserFolders.h"

namespace app {

namespace {

bool processorQualifies(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return name.find("PXA") != std::string::npos &&
         (name.find("27") != std::string::npos || name.find("28") != std::string::npos);
}

}  // namespace

Application::Application() : Window(kTitle, 0, false) {
  style_ = kStyle;
  classBackground_ = host::Host::get().gdi().stockObject(host::BLACK_BRUSH);

  std::string oem = platform::getOemInfo();
  vgaDell_ = platform::probeRawFrameBufferWidth() == 480 && oem.find("Dell") != std::string::npos;
  std::string core, processor;
  glCapableCpu_ = platform::getProcessorInfo(core, processor) && processorQualifies(processor);
  settingsFile_ = vgaDell_ ? kDellSettingsFile : kSettingsFile;

  exeFolder_ = platform::getModuleFolder();
  // Saves go to the user's data folder unless this is a portable (build-tree) copy.
  platform::setUserFolders(platform::UserFolders::forProgram(exeFolder_));
  // Archive members are extracted into a private folder of this process's own, so that the
  // instance a relaunch starts never meets the old one's files. When it cannot be made, the
  // extraction goes beside the archives (a portable tree) or fails (a read-only one).
  platform::setTempFolder(
      platform::preparePrivateTempFolder(platform::defaultCacheRoot(), host::processId()));
  for (const char* name : {"GUI", "scenes", "chopper", "flyable"})
    platform::registerArchive(std::string(name) + ".zip", exeFolder_ + "..\\resources\\" + name);
  platform::setGuiFolder(exeFolder_ + "..\\resources\\GUI\\");

  platform::Template settings;
  settings.load(platform::guiFolder(), settingsFile_);
  platform::setSoundEffectsEnabled(settings.getInt(kSoundEffectSetting, "selected", -1) == 0);
}

Application::~Application() {
  destroy();
}

void Application::onDestroy() {
  // The archives and the temporary folder go before the pump's quit message is posted, so that a
  // relaunched instance finds the folder free.
  platform::releaseArchives();
  platform::removeCacheRootIfEmpty(platform::defaultCacheRoot());
}

void Application::onActivate(bool active) {
  if (!active) return;
  if (gameCanvas_)
    gameCanvas_->setFocus();
  else if (rootPage_)
    rootPage_->setFocus();
}

void Application::createRootPage(const PageHooks& hooks) {
  if (hooks.createRootPage) rootPageOwned_ = hooks.createRootPage(*this);
  if (!rootPageOwned_) rootPageOwned_ = std::make_unique<Window>("gamePage", 0, false);
  rootPage_ = rootPageOwned_.get();
}

bool Application::showRootPage() {
  if (!rootPageOwned_) return rootPage_ != nullptr;
  bool created = addChild(std::move(rootPageOwned_), 0, 0, clientWidth(), clientHeight());
  if (created) rootPage_->setFocus();
  return created;
}

bool Application::dispatch(const LaunchRequest& request, const PageHooks& hooks) {
  if (request.kind == LaunchKind::GameStart) {
    roomIndex_ = request.roomIndex;
    teamCode_ = request.teamCode;
    training_ = request.training != 0;
    bool wantsGl = request.driverFlag != 0;
    bool software = !(wantsGl && glCapableCpu_);
    bool notice = wantsGl && !glCapableCpu_;
    if (rootPage_) rootPage_->show(false);
    std::unique_ptr<Window> game =
        hooks.startGame ? hooks.startGame(*this, request, software, notice) : nullptr;
    if (!game) {
      std::fprintf(stderr, "skirrow: the game page is not available in this build\n");
      return false;
    }
    gameCanvas_ = game.get();
    if (!addChild(std::move(game), 0, 0, clientWidth(), clientHeight())) return false;
    // Keys go to the game page from the start, as they go to the root page in menu mode.
    gameCanvas_->setFocus();
    return true;
  }
  if (!rootPage_) return false;
  if (request.kind == LaunchKind::Score && hooks.setPendingScore)
    hooks.setPendingScore(*this, *rootPage_, request.scoreText);
  if (!hooks.loadTemplate) {
    std::fprintf(stderr, "skirrow: menu pages are not available in this build (%s)\n",
                 request.templateName.c_str());
    return true;
  }
  hooks.loadTemplate(*this, *rootPage_, request.templateName);
  rootPage_->repaint(true);
  return true;
}

void Application::relaunchSelf(const std::string& commandLine) {
  relaunch(exeFolder_ + platform::getModuleFileName(), commandLine);
}

void Application::relaunch(const std::string& exePath, const std::string& commandLine) {
  // The window goes first: its destruction frees the archives and the temporary folder, and the
  // new instance's single-instance test must not find it.
  destroy();
  platform::startProcess(exePath, commandLine);
}

int runApplication(const std::string& commandLine, const PageHooks& hooks) {
  if (platform::checkMemory(Application::kRequiredMemoryMB, platform::getModuleFileName()) !=
      host::IDYES)
    return 0;
  LaunchRequest request = parseLaunch(findArgument(commandLine));

  Application application;
  platform::ScreenRect screen = platform::getScreenRect();
  if (screen.landscape()) {
    std::string text = "'" + platform::getModuleFileName() +
                       "' can not run under landscape mode.\nChange the screen orientation to "
                       "portrait mode and run again.";
    host::messageBox(0, text, "Error", host::MB_OK);
    return -1;
  }
  if (!application.create(0, 0, screen.width, screen.height)) return 0;
  platform::setScreenScaleFromWidth(application.clientWidth());
  application.show(true);
  application.createRootPage(hooks);

  if (request.kind == LaunchKind::GameStart) {
    if (!application.dispatch(request, hooks)) application.destroy();
  } else {
    application.showRootPage();
    application.dispatch(request, hooks);
  }
  return platform::runMessagePump(application.hwnd());
}

}  // namespace app
