#include "app/ProgramPages.h"

#include <cstdlib>
#include <memory>
#include <string_view>

#include "engine3d/Renderer.h"
#include "game/Dice.h"
#include "game/GameCanvas.h"
#include "host/Host.h"
#include "media/DirectionPad.h"
#include "media/GuiCanvas.h"
#include "media/KeyMapping.h"
#include "platform/ProcessSwitches.h"
#include "scene/RootPageHooks.h"

namespace app {

namespace {

int rootRenderer() {
  const char* chosen = std::getenv("SKIRROW_RENDERER");
  return chosen && std::string_view(chosen) == "gles" ? engine3d::kRendererGles
                                                      : engine3d::kRendererSoftware;
}

}  // namespace

PageHooks programPages(media::Runtime& runtime) {
  PageHooks hooks;
  hooks.createRootPage = [&runtime](Application& app) -> std::unique_ptr<platform::Window> {
    // Its sprites act as buttons, boxes and links.
    auto page = std::make_unique<media::GuiCanvas>(runtime, scene::kRootPageName, true);
    page->rendererType = rootRenderer();
    // The menus answer the keyboard and a gamepad as well as the stylus.
    page->setKeyboardNavigation(true);
    // Calibrated buttons reach the menus as the standard codes.
    media::applyMapping(*page, platform::guiFolder(), app.settingsFile());
    return page;
  };
  hooks.loadTemplate = [](Application&, platform::Window& page, const std::string& name) {
    scene::loadRootTemplate(page, name);
  };
  hooks.startGame = [&runtime](Application& app, const LaunchRequest& request, bool software,
                               bool glNotice) -> std::unique_ptr<platform::Window> {
    game::GameCanvas::Services services;
    services.resourceFolder = app.exeFolder() + "..\\resources\\";
    services.guiFolder = platform::guiFolder();
    services.settingsFile = app.settingsFile();
    services.relaunch = [&app](const std::string& commandLine) { app.relaunchSelf(commandLine); };
    // A session a script drives, or one nobody watches, plays the same battle every time.
    const host::HostConfig& config = host::Host::get().config();
    const bool repeatable =
        config.backend == host::BackendKind::Headless || !config.scriptPath.empty();
    services.seed = game::battleSeed(repeatable);
    game::GameLaunch launch;
    launch.room = request.roomIndex;
    launch.teamCode = request.teamCode;
    launch.openGl = !software;
    launch.glNotice = glNotice;
    launch.training = request.training != 0;
    auto page = std::make_unique<game::GameCanvas>(runtime, std::move(services), launch);
    media::applyMapping(*page, platform::guiFolder(), app.settingsFile());
    media::enableDirectionPad(*page, 1, 8, 2);
    return page;
  };
  return hooks;
}

}  // namespace app
