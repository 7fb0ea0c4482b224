#include "media/GuiCanvas.h"

#include <cstdlib>
#include <string>

#include "host/MessageBoxes.h"
#include "host/Messages.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "scene/TemplateFactory.h"

namespace media {
namespace {

// The GUI sprite an object is, or null: only drawn sprites (element kind 0) with a GUI kind
// take part.
Sprite* guiSprite(scene::SceneObject* object) {
  auto* s = dynamic_cast<Sprite*>(object);
  return s && s->elementKind == 0 && s->guiKind != Sprite::kPlain ? s : nullptr;
}

}  // namespace

EditBoxSpec parseEditBoxLink(std::string_view linkText) {
  EditBoxSpec spec;
  std::string text(linkText);
  int n = std::atoi(text.c_str());
  spec.maxLength = std::abs(n);
  spec.allowEmpty = n >= 0;
  size_t comma = text.find(',');
  if (comma != std::string::npos) spec.title = text.substr(comma + 1);
  return spec;
}

GuiCanvas::GuiCanvas(std::string_view name, bool buffered)
    : Canvas(name, buffered),
      arrow_(host::loadCursor(host::IDC_ARROW)),
      hand_(host::loadCursor(host::IDC_HAND)),
      ibeam_(host::loadCursor(host::IDC_IBEAM)) {}

void GuiCanvas::reactToStylus(scene::SceneObject& pressed, uint32_t message) {
  Sprite* s = guiSprite(&pressed);
  if (!s) return;
  bool down = message == host::WM_LBUTTONDOWN;
  if (!down && message != host::WM_LBUTTONUP) return;
  switch (s->guiKind) {
    case Sprite::kButton:
      s->status = down ? 1 : 0;
      break;
    case Sprite::kHyperlink:
      s->status = down ? 1 : 0;
      // Loading replaces the page's content, this sprite included: nothing may touch it after.
      if (!down && !s->linkText.empty()) {
        // Copies: the load rewrites the page's folder and destroys the sprite.
        std::string folder = templateFolder();
        std::string file = s->linkText;
        scene::TemplateFactory::loadTemplate(*this, folder, file, true);
      }
      break;
    case Sprite::kTiplink:
      if (scene::SceneObject* tip = findObject(s->linkText)) {
        s->status = down ? 1 : 0;
        tip->visible = down;
      }
      break;
    case Sprite::kEditbox:
      if (!down) openEditor(*s);
      break;
    case Sprite::kCheckbox:
      if (down) pressCheckbox(*s);
      break;
    default:
      break;
  }
}

void GuiCanvas::openEditor(Sprite& box) {
  scene::InputPad* pad = inputPad();
  if (!pad) return;
  EditBoxSpec spec = parseEditBoxLink(box.linkText);
  pad->open(box, box.text(), spec.title, spec.maxLength, spec.allowEmpty);
}

void GuiCanvas::pressCheckbox(Sprite& box) {
  const std::string& group = box.linkText;
  if (!group.empty()) {
    int position = 0;
    int members = 0;
    if (scene::Scene* scene = sceneHolding(box)) {
      for (const auto& object : scene->objects()) {
        auto* member = dynamic_cast<Sprite*>(object.get());
        if (!member || member->guiKind != Sprite::kCheckbox || member->linkText != group) continue;
        if (member == &box) position = members;
        ++members;
        member->status = 0;
        writeStatus(*member);
      }
    }
    platform::Template& tmpl = pageTemplate();
    if (tmpl.contains(group)) {
      tmpl.setItem(group, "selected", std::to_string(position));
    } else {
      host::messageBox(hwnd(),
                       "The property \"" + group +
                           "=GUIType:checkboxGroup, selected:0\" need to be added into template.",
                       "Error", host::MB_OK | host::MB_ICONERROR);
    }
  }
  // A group member has just been cleared, so it always ends selected; a lone box toggles.
  box.status = box.status == 1 ? 0 : 1;
  writeStatus(box);
  if (box.persistent) saveTemplate();
}

void GuiCanvas::writeStatus(const Sprite& sprite) {
  pageTemplate().setItem(sprite.name, "status", std::to_string(sprite.status));
}

void GuiCanvas::updateCursor(scene::SceneObject* hovered) {
  Sprite* s = guiSprite(hovered);
  host::setCursor(!s ? arrow_ : s->guiKind == Sprite::kEditbox ? ibeam_ : hand_);
}

scene::Scene* GuiCanvas::sceneHolding(const scene::SceneObject& object) const {
  for (const auto& scene : scenes())
    for (const auto& held : scene->objects())
      if (held.get() == &object) return scene.get();
  return nullptr;
}

}  // namespace media
