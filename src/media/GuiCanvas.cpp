#include "media/GuiCanvas.h"

#include <cstdlib>
#include <string>

#include "host/Gdi.h"
#include "host/Host.h"
#include "host/MessageBoxes.h"
#include "host/Messages.h"
#include "host/WindowManager.h"
#include "media/Blit.h"
#include "media/InputPadDialog.h"
#include "media/Runtime.h"
#include "media/Scene3D.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "media/SpriteGdi.h"
#include "platform/ProcessSwitches.h"
#include "scene/TemplateFactory.h"

namespace media {
namespace {

// The GUI sprite an object is, or null: only drawn sprites (element kind 0) with a GUI kind
// take part.
Sprite* guiSprite(scene::SceneObject* object) {
  auto* s = dynamic_cast<Sprite*>(object);
  return s && s->elementKind == 0 && s->guiKind != Sprite::kPlain ? s : nullptr;
}

constexpr int kSlideSteps = 7;  // positions 7/7 .. 0/7 of the box height: 8 redraws

}  // namespace

EditBoxLink parseEditBoxLink(std::string_view linkText) {
  EditBoxLink link;
  std::string text(linkText);
  int n = std::atoi(text.c_str());
  link.maxLength = std::abs(n);
  link.allowEmpty = n >= 0;
  size_t comma = text.find(',');
  if (comma != std::string::npos) link.title = text.substr(comma + 1);
  return link;
}

GuiCanvas::GuiCanvas(Runtime& runtime, std::string_view name, bool buffered)
    : Canvas(name, buffered, runtime.creators()),
      runtime_(runtime),
      arrow_(host::loadCursor(host::IDC_ARROW)),
      hand_(host::loadCursor(host::IDC_HAND)),
      ibeam_(host::loadCursor(host::IDC_IBEAM)) {}

void GuiCanvas::reactToStylus(scene::SceneObject& pressed, uint32_t message) {
  if (message == host::WM_LBUTTONUP && isMessageBoxUp()) {
    const MessageBoxObjects& o = *messageBox_;
    const int answer = &pressed == o.ok ? host::IDOK : &pressed == o.yes ? host::IDYES
                       : &pressed == o.no ? host::IDNO : 0;
    if (answer)
      host::Host::get().messageBoxes().pageBoxAnswered(hwnd(), messageText_,
                                                       boxType(messageKind_), answer);
  }
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
  EditBoxLink link = parseEditBoxLink(box.linkText);
  pad->open(box, box.text(), link.title, link.maxLength, link.allowEmpty);
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

void GuiCanvas::afterLoad() {
  for (const auto& scene : scenes())
    if (auto* world = dynamic_cast<Scene3D*>(scene.get()))
      world->setUp3D(runtime_.drivers(), rendererType, true);
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

void GuiCanvas::showMessageBox(std::string_view message, std::string_view contextKey, int kind,
                               bool slide, std::string_view templateFile) {
  if (!messageBox_->box) {
    pageTemplate().set("MSG_GRID_PIC",
                       platform::screenScale() < 1.0f ? "msgGrid_smp.bmp" : "msgGrid.bmp");
    std::string folder = platform::guiFolder();
    std::string file(templateFile);
    // The load binds the box's objects.
    scene::TemplateFactory::loadTemplate(*this, folder, file, false);
    if (!messageBox_->box) return;
  }
  const MessageBoxObjects& o = *messageBox_;
  if (o.context) o.context->setText(contextKey);
  if (o.message) {
    if (o.message->normalImage && o.message->normalImage->currentSurface())
      drawMessageIntoPicture(*o.message, message);
    else
      o.message->setText(message);
  }
  const bool show[3][3] = {{true, false, false}, {false, true, true}, {false, false, false}};
  Sprite* const buttons[3] = {o.ok, o.yes, o.no};
  int row = kind == kMessageOk ? 0 : kind == kMessageYesNo ? 1 : 2;
  for (int i = 0; i < 3; ++i) {
    if (buttons[i]) {
      buttons[i]->status = 0;
      buttons[i]->visible = show[row][i];
    }
  }
  SceneSprite& box = *o.box;
  box.visible = true;
  if (slide) slideMessageBox(box, true);
  if (box.buffered) box.beginFrame(false, 0.0f);
  if (!isActive()) refresh();
  messageBoxClosed_ = false;
  messageText_ = std::string(message);
  messageKind_ = kind;
  // A script answers the page's own boxes as it answers the system's: by tapping the button.
  const std::optional<int> answer = host::Host::get().messageBoxes().pageBoxShown(
      hwnd(), message, boxType(kind), kind != kMessageInfo);
  Sprite* button = !answer                ? nullptr
                   : *answer == host::IDYES ? o.yes
                   : *answer == host::IDNO  ? o.no
                                            : o.ok;
  if (button && button->visible) {
    const int x = box.x + button->x + button->width / 2;
    const int y = box.y + button->y + button->height / 2;
    host::WindowManager& windows = host::Host::get().windows();
    windows.postMessage(hwnd(), host::WM_LBUTTONDOWN, 1, host::makeLParam(x, y));
    windows.postMessage(hwnd(), host::WM_LBUTTONUP, 0, host::makeLParam(x, y));
  }
}

std::uint32_t GuiCanvas::boxType(int kind) {
  return kind == kMessageYesNo ? host::MB_YESNO : host::MB_OK;
}

void GuiCanvas::hideMessageBox(bool slide) {
  if (SceneSprite* box = messageBox_->box) {
    if (slide) slideMessageBox(*box, false);
    box->visible = false;
  }
  if (!isActive()) refresh();
  messageBoxClosed_ = true;
}

bool GuiCanvas::isMessageBoxUp() const {
  return messageBox_->box && messageBox_->box->visible;
}

std::optional<std::string> GuiCanvas::messageBoxContext() const {
  if (!messageBox_->box || !messageBox_->context) return std::nullopt;
  return messageBox_->context->text();
}

void GuiCanvas::slideMessageBox(scene::Scene& box, bool in) {
  const int y0 = box.y;
  const int h = box.height;
  for (int step = 0; step <= kSlideSteps; ++step) {
    int k = in ? kSlideSteps - step : step;
    box.y = y0 + (k * h) / kSlideSteps;
    refresh();
  }
  box.y = y0;
}

void GuiCanvas::drawMessageIntoPicture(Sprite& sprite, std::string_view message) {
  Surface& picture = *sprite.normalImage->currentSurface();
  fill(picture, 0x2D2D2D, 0, 0, -1, -1, true);
  host::Gdi& gdi = host::Host::get().gdi();
  host::Hdc dc = picture.dc();
  int size = sprite.textSize > 0 ? sprite.textSize : Sprite::kDefaultTextSize;
  // The picture is drawn at design size and scaled with the sprite, so the font is too.
  host::Hfont font =
      createFont(static_cast<int>(static_cast<float>(size) / platform::screenScale()),
                 host::FW_NORMAL, false, false, sprite.fontFace);
  host::Hgdiobj old = gdi.selectObject(dc, font);
  int oldMode = gdi.setBkMode(dc, host::TRANSPARENT);
  host::ColorRef oldColor = gdi.setTextColor(dc, gdiColor(sprite.textColor));
  drawTextInRect(
      dc, host::Rect{sprite.textOffsetX, sprite.textOffsetY, picture.width(), picture.height()},
      message, host::DT_CENTER);
  gdi.setTextColor(dc, oldColor);
  gdi.setBkMode(dc, oldMode);
  gdi.selectObject(dc, old);
  gdi.deleteObject(font);
}

void GuiCanvas::setKeyboardNavigation(bool on) {
  if (!on)
    keyboardFocus_.reset();
  else if (!keyboardFocus_)
    keyboardFocus_ = std::make_unique<KeyboardFocus>(*this);
}

void GuiCanvas::onKey(uint32_t message, uint32_t key) {
  Canvas::onKey(message, key);
  if (keyboardFocus_ && !keyListener()) keyboardFocus_->onKey(message, key);
}

void GuiCanvas::onMouse(uint32_t message, uintptr_t flags, int x, int y, int phase) {
  if (keyboardFocus_ && phase == 0) keyboardFocus_->onStylus(message);
  Canvas::onMouse(message, flags, x, y, phase);
}

void GuiCanvas::enableInputPad(uint32_t textColor, std::string_view directory,
                               std::string_view backgroundName, std::string_view keyName,
                               std::string_view bigKeyName) {
  setInputPad(std::make_unique<InputPadDialog>(*this, textColor, directory, backgroundName, keyName,
                                               bigKeyName));
}

}  // namespace media
