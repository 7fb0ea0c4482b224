#include "app/ProgramPages.h"

#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/ScoreFile.h"
#include "engine3d/Renderer.h"
#include "game/Dice.h"
#include "game/GameCanvas.h"
#include "host/Gapi.h"
#include "host/Host.h"
#include "media/DirectionPad.h"
#include "media/GuiCanvas.h"
#include "media/KeyMapping.h"
#include "pages/RootPage.h"
#include "platform/ProcessSwitches.h"
#include "platform/SystemServices.h"
#include "scene/RootPageHooks.h"

namespace app {

namespace {

int rootRenderer() {
  const char* chosen = std::getenv("SKIRROW_RENDERER");
  return chosen && std::string_view(chosen) == "gles" ? engine3d::kRendererGles
                                                      : engine3d::kRendererSoftware;
}

// What the root page needs of the program: the folders, the relaunch, the desktop's opener, the
// race score file and the Game API's buttons.
pages::RootPageServices rootServices(Application& app) {
  pages::RootPageServices services;
  services.resourceFolder = app.exeFolder() + "..\\resources\\";
  services.guiFolder = platform::guiFolder();
  services.settingsFile = app.settingsFile();
  services.relaunch = [&app](const std::string& commandLine) { app.relaunchSelf(commandLine); };
  services.openDocument = [](std::string_view folder, std::string_view file) {
    return platform::shellOpen(folder, file);
  };
  services.addScore = [](const pages::ScoreRow& row) {
    ScoreRecord record;
    record.track = row.track;
    record.racer = row.racer;
    record.date = row.date;
    record.time = 0.0f;
    record.speed = row.speed;
    return addScore(platform::guiFolder(), record);
  };
  services.readScores = [] {
    ScoreTable table = readScores(platform::guiFolder());
    pages::ScoreTableView view;
    view.hasLatest = table.latest.has_value();
    for (const ScoreRecord& record : table.records)
      view.rows.push_back({record.track, record.racer, record.date, record.speed});
    return view;
  };
  // The menus do not draw through the Game API, so its buttons are opened for the calibration
  // alone, as the software display opens them for a battle.
  services.openButtons = [] {
    host::Gapi& gapi = host::Host::get().gapi();
    return gapi.inputOpen() || gapi.openInput() != 0;
  };
  return services;
}

}  // namespace

PageHooks programPages(media::Runtime& runtime) {
  PageHooks hooks;
  hooks.createRootPage = [&runtime](Application& app) -> std::unique_ptr<platform::Window> {
    // Its sprites act as buttons, boxes and links.
    auto page = std::make_unique<pages::RootPage>(runtime, rootServices(app));
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
  hooks.setPendingScore = [](Application&, platform::Window& page, const std::string& scoreText) {
    if (auto* root = dynamic_cast<pages::RootPage*>(&page)) root->setScoreText(scoreText);
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
