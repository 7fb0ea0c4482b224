#include "scene/RootPageHooks.h"

#include "platform/ProcessSwitches.h"
#include "scene/TemplateFactory.h"

namespace scene {

std::unique_ptr<Canvas> createRootCanvas(const CreatorTable& creators) {
  return std::make_unique<Canvas>(kRootPageName, true, creators);
}

bool loadRootTemplate(platform::Window& page, std::string_view name) {
  auto* canvas = dynamic_cast<Canvas*>(&page);
  if (!canvas) return false;
  TemplateFactory::loadTemplate(*canvas, platform::guiFolder(), name, true);
  if (!canvas->isActive()) canvas->setActive(true);
  return true;
}

}  // namespace scene
