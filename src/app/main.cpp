// Entry point of the program.
#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/Application.h"
#include "app/BuildProfile.h"
#include "engine3d/gles/GlesDriver.h"
#include "engine3d/gles/GlesRenderer.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "host/Host.h"
#include "host/System.h"
#include "media/AwtCreators.h"
#include "media/Creators3D.h"
#include "media/GuiCanvas.h"
#include "media/SoundCreators.h"
#include "media/SpriteCreators.h"
#include "scene/RootPageHooks.h"

namespace {

// The 3D driver of the root page's scenes: software, or OpenGL ES with SKIRROW_RENDERER=gles
// (the game page takes its driver from its command line instead).
int rootRenderer() {
  const char* chosen = std::getenv("SKIRROW_RENDERER");
  return chosen && std::string_view(chosen) == "gles" ? engine3d::kRendererGles
                                                      : engine3d::kRendererSoftware;
}

// The pages the application reaches: the menu screens live in the root canvas.
app::PageHooks pageHooks() {
  app::PageHooks hooks;
  hooks.createRootPage = [](app::Application&) -> std::unique_ptr<platform::Window> {
    // Its sprites act as buttons, boxes and links.
    auto page = std::make_unique<media::GuiCanvas>(scene::kRootPageName, true);
    page->rendererType = rootRenderer();
    // The menus answer the keyboard and a gamepad as well as the stylus.
    page->setKeyboardNavigation(true);
    return page;
  };
  hooks.loadTemplate = [](app::Application&, platform::Window& page, const std::string& name) {
    scene::loadRootTemplate(page, name);
  };
  return hooks;
}

}  // namespace

int main() {
  // The Common build is not hi-res aware: a VGA device shows it at 240x320, pixel-doubled.
  host::Host& host = host::Host::start(app::kHiResAware);
  // A session whose script cannot run would go on undriven: end at once instead.
  if (!host.scriptError().empty()) return 2;
  media::registerSpriteCreators();
  media::registerAwtCreators();
  media::register3DCreators();
  engine3d::registerSoftwareDriver();
  engine3d::registerGlesDriver();
  // The two builds differ in the display their OpenGL ES set-up asks EGL for.
  engine3d::GlesRenderer::nativeDisplay = app::kEglDisplayArgument;
  media::registerSoundCreators();
  int code = app::runApplication(host::commandLine(), pageHooks());
  // Pictures shared by sprites go before the host that holds their bitmaps.
  media::releaseSpriteImages();
  media::release3DContent();
  // A scripted run whose screenshots were not all written has not done its job.
  if (code == 0 && host.records().failedScreenshots > 0) code = 2;
  return code;
}
