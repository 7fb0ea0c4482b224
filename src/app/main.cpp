// Entry point of the program.
#include "app/Application.h"
#include "app/BuildProfile.h"
#include "host/Host.h"
#include "host/System.h"
#include "media/AwtCreators.h"
#include "media/Creators3D.h"
#include "media/GuiCanvas.h"
#include "media/SpriteCreators.h"
#include "scene/RootPageHooks.h"

namespace {

// The pages the application reaches: the menu screens live in the root canvas.
app::PageHooks pageHooks() {
  app::PageHooks hooks;
  hooks.createRootPage = [](app::Application&) -> std::unique_ptr<platform::Window> {
    // Its sprites act as buttons, boxes and links.
    return std::make_unique<media::GuiCanvas>(scene::kRootPageName, true);
  };
  hooks.loadTemplate = [](app::Application&, platform::Window& page, const std::string& name) {
    scene::loadRootTemplate(page, name);
  };
  return hooks;
}

}  // namespace

int main() {
  // The Common build is not hi-res aware: a VGA device shows it at 240x320, pixel-doubled.
  host::Host::start(app::kHiResAware);
  media::registerSpriteCreators();
  media::registerAwtCreators();
  media::register3DCreators();
  int code = app::runApplication(host::commandLine(), pageHooks());
  // Pictures shared by sprites go before the host that holds their bitmaps.
  media::releaseSpriteImages();
  media::release3DContent();
  return code;
}
