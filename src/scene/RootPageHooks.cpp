#include "scene/RootPageHooks.h"

#include "host/Host.h"
#include "host/Messages.h"
#include "host/WindowManager.h"
#include "platform/ProcessSwitches.h"
#include "scene/TemplateFactory.h"

namespace scene {

std::unique_ptr<Canvas> createRootCanvas(const CreatorTable& creators) {
  return std::make_unique<Canvas>(kRootPageName, true, creators);
}

bool loadRootTemplate(platform::Window& page, std::string_view name) {
  auto* canvas = dynamic_cast<Canvas*>(&page);
  if (!canvas) return false;
  // A screen that cannot be found leaves the page as it was (the box said why). A page that
  // showed nothing yet goes to the cover instead; when even that cannot be shown there is no
  // way on, and the program ends after the box.
  if (!TemplateFactory::loadTemplate(*canvas, platform::guiFolder(), name, true) &&
      canvas->scenes().empty() &&
      (name == kCoverTemplate ||
       !TemplateFactory::loadTemplate(*canvas, platform::guiFolder(), kCoverTemplate, true))) {
    platform::Window* top = canvas;
    while (top->parent()) top = top->parent();
    if (top->hwnd()) host::Host::get().windows().postMessage(top->hwnd(), host::WM_CLOSE, 0, 0);
    return true;
  }
  if (!canvas->isActive()) canvas->setActive(true);
  return true;
}

}  // namespace scene
