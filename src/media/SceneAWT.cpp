#include "media/SceneAWT.h"

#include <string>

#include "host/Gdi.h"
#include "host/Host.h"
#include "media/SpriteGdi.h"
#include "platform/ProcessSwitches.h"
#include "scene/Canvas.h"

namespace media {
namespace {

host::Gdi& gdi() {
  return host::Host::get().gdi();
}

// At most `chars` characters of UTF-8 text, never splitting one.
std::string cutChars(std::string_view text, size_t chars) {
  size_t bytes = 0;
  for (size_t n = 0; bytes < text.size(); ++n) {
    if (n == chars) break;
    ++bytes;
    while (bytes < text.size() && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) ++bytes;
  }
  return std::string(text.substr(0, bytes));
}

}  // namespace

SceneAWT::SceneAWT(int w, int h)
    : Scene(kNative), indexTextSize(platform::scaleInt(kIndexTextSize)) {
  width = w;
  height = h;
}

SceneAWT::~SceneAWT() {
  // The newest control goes first, as the page window got them.
  const auto& all = objects();
  for (auto it = all.rbegin(); it != all.rend(); ++it)
    if (auto* component = dynamic_cast<AWTComponent*>(it->get())) component->detach();
  if (indexFont_) gdi().deleteObject(indexFont_);
}

AWTComponent* SceneAWT::addComponent(std::unique_ptr<AWTComponent> component,
                                     std::string_view componentName, std::string_view indexLabel) {
  if (!component) return nullptr;
  component->name = cutChars(componentName, kNameChars);
  component->indexLabel = cutChars(indexLabel, kIndexLabelChars);
  auto* added = static_cast<AWTComponent*>(addObject(std::move(component)));
  if (canvas() && canvas()->hwnd()) added->attachTo(*canvas());
  return added;
}

AWTComponent* SceneAWT::componentOf(std::string_view componentName) const {
  return dynamic_cast<AWTComponent*>(findObject(componentName));
}

NativeControl* SceneAWT::controlOf(std::string_view componentName) const {
  AWTComponent* component = componentOf(componentName);
  return component ? component->control() : nullptr;
}

int SceneAWT::createControls() {
  if (!canvas() || !canvas()->hwnd()) return 0;
  int made = 0;
  for (const auto& object : objects()) {
    auto* component = dynamic_cast<AWTComponent*>(object.get());
    if (component && !component->attached() && component->control() &&
        component->attachTo(*canvas()))
      ++made;
  }
  return made;
}

void SceneAWT::drawContent(const scene::DrawTarget&, int, int, float) {
  createControls();
  if (canvas() && canvas()->typeToTap && canvas()->drawDC()) drawIndexLabels(canvas()->drawDC());
}

void SceneAWT::drawIndexLabels(host::Hdc dc) {
  // The size may be changed after the first drawing; the font follows it.
  if (indexFont_ && indexFontSize_ != indexTextSize) {
    gdi().deleteObject(indexFont_);
    indexFont_ = 0;
  }
  if (!indexFont_) {
    indexFont_ = createFont(indexTextSize, 0, false, false, "");
    indexFontSize_ = indexTextSize;
  }
  host::ColorRef oldColor = gdi().setTextColor(dc, 0);
  int oldMode = gdi().setBkMode(dc, host::TRANSPARENT);
  host::Hgdiobj oldFont = gdi().selectObject(dc, indexFont_);
  int gap = platform::scaleInt(kLabelGap);
  for (const auto& object : objects()) {
    auto* component = dynamic_cast<AWTComponent*>(object.get());
    // A hidden control cannot be tapped, so its label would only mislead.
    if (!component || !component->visible || component->indexLabel.empty()) continue;
    std::string label = cutChars(component->indexLabel, kMaxLabelChars);
    int lx = component->x - gap + indexTextOffsetX;
    int ly = component->y + indexTextOffsetY;
    // A black copy one pixel down and right keeps the label readable on any background.
    gdi().setTextColor(dc, 0);
    textOut(dc, lx + 1, ly + 1, label);
    gdi().setTextColor(dc, gdiColor(indexTextColor));
    textOut(dc, lx, ly, label);
  }
  gdi().setTextColor(dc, oldColor);
  gdi().setBkMode(dc, oldMode);
  if (oldFont) gdi().selectObject(dc, oldFont);
}

}  // namespace media
