#include "app/ProgramPages.h"

#include <cstdlib>
#include <memory>
#include <string_view>

#include "engine3d/Renderer.h"
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
  return hooks;
}

}  // namespace app
