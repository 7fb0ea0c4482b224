#include "media/AwtCreators.h"

#include <memory>
#include <string>

#include "media/AWTComponent.h"
#include "media/SceneAWT.h"
#include "platform/ProcessSwitches.h"
#include "scene/Canvas.h"
#include "scene/TemplateFactory.h"

namespace media {
namespace {

using scene::CreateRequest;
using scene::ObjectType;

// The factory has already placed it over the page's whole client area at (0, 0).
void createSceneAWT(const CreateRequest& r) {
  platform::Template& t = r.tmpl;
  auto s = std::make_unique<SceneAWT>(r.geometry.width, r.geometry.height);
  scene::TemplateFactory::applySceneItems(*s, r);
  // The controls are windows the host draws: there is no picture to keep in a buffer.
  s->buffered = false;
  s->indexTextColor = t.getColor(r.name, "indexTextColor", 0xFFFF00);
  s->indexTextSize =
      platform::scaleInt(t.getInt(r.name, "indexTextSize", SceneAWT::kIndexTextSize));
  s->indexTextOffsetX = platform::scaleInt(t.getInt(r.name, "indexTextOffsetX", 0));
  s->indexTextOffsetY = platform::scaleInt(t.getInt(r.name, "indexTextOffsetY", 0));
  r.canvas.addScene(r.name, std::move(s));
}

void createAWTComponent(const CreateRequest& r) {
  auto* container = dynamic_cast<SceneAWT*>(r.containerScene);
  if (!container) return;  // a control without its layer is not kept
  platform::Template& t = r.tmpl;
  std::string_view key = r.name;
  std::string word = t.getString(key, "AWTType").value_or(std::string());
  auto c = std::make_unique<AWTComponent>(
      AWTComponent::typeOf(word), t.getInt(key, "id", -1), r.geometry.x, r.geometry.y,
      r.geometry.width, r.geometry.height, t.getString(key, "text").value_or(std::string()),
      t.getBool(key, "wrap", false));
  c->setFont(platform::scaleInt(t.getInt(key, "fontSize", AWTComponent::kDefaultFontSize)),
             t.getString(key, "fontFace").value_or(std::string()),
             t.getBool(key, "fontItalic", false),
             t.getInt(key, "fontWeight", AWTComponent::kDefaultFontWeight));
  c->visible = r.visible;
  container->addComponent(std::move(c), key, r.indexLabel);
}

}  // namespace

void registerAwtCreators(scene::CreatorTable& table) {
  table.set(ObjectType::kSceneAWT, createSceneAWT);
  table.set(ObjectType::kAWTComponent, createAWTComponent);
}

}  // namespace media
