#include "media/InputPadDialog.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "host/Host.h"
#include "host/Keys.h"
#include "host/Messages.h"
#include "host/WindowManager.h"
#include "media/DialogParts.h"
#include "media/GuiCanvas.h"
#include "media/Runtime.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "platform/ProcessSwitches.h"

namespace media {
namespace {

using platform::scaleInt;

struct CommandKey {
  const char* name;
  const char* label;
  int x;
  const char* index;
  bool toggles;
};

constexpr CommandKey kCommandKeys[] = {
    {"btnCaps_MSGBOX", "Caps", 10, "6", true}, {"btnClear_MSGBOX", "Clear", 53, "7", false},
    {"btnDel_MSGBOX", "Del", 96, "8", false},  {"btnCancel_MSGBOX", "Esc", 139, "0", false},
    {"btnOk_MSGBOX", "Ok", 182, "9", false},
};
constexpr const char* kKeyName = "btn_MSGBOX";
constexpr const char* kTitleName = "sptMessage_MSGBOX";
constexpr const char* kDisplayName = "btnEditbox_MSGBOX";
constexpr int kKeyRows[4] = {54, 84, 114, 144};

}  // namespace

const scene::ObjectTable<InputPadObjects>& InputPadObjects::table() {
  using Table = scene::ObjectTable<InputPadObjects>;
  using scene::ObjectType;
  using O = InputPadObjects;
  static const Table table(
      "", {
              Table::object<&O::scene>(InputPadDialog::kSceneName, ObjectType::kSceneSprite),
              Table::object<&O::title>(kTitleName, ObjectType::kSprite),
              Table::object<&O::display>(kDisplayName, ObjectType::kSprite),
              Table::object<&O::caps>(kCommandKeys[0].name, ObjectType::kSprite),
              Table::object<&O::clear>(kCommandKeys[1].name, ObjectType::kSprite),
              Table::object<&O::del>(kCommandKeys[2].name, ObjectType::kSprite),
              Table::object<&O::cancel>(kCommandKeys[3].name, ObjectType::kSprite),
              Table::object<&O::ok>(kCommandKeys[4].name, ObjectType::kSprite),
          });
  return table;
}

InputPadDialog::InputPadDialog(GuiCanvas& canvas, uint32_t textColor, std::string_view directory,
                               std::string_view backgroundName, std::string_view keyName,
                               std::string_view bigKeyName)
    : canvas_(canvas),
      objects_(canvas, InputPadObjects::table()),
      textColor_(textColor & 0xFFFFFF),
      directory_(directory),
      backgroundName_(backgroundName),
      keyName_(keyName),
      bigKeyName_(bigKeyName) {}

InputPadDialog::~InputPadDialog() {
  if (!open_) return;
  canvas_.topSceneOnly = savedModal_;
  canvas_.setMouseListener(savedListener_);
  canvas_.setKeyListener(savedKeyListener_);
}

Sprite* InputPadDialog::characterKey(int i) const {
  SceneSprite* scene = padScene();
  return scene && i >= 0 && i < kKeyCount ? scene->spriteAt(firstKeyIndex_ + i) : nullptr;
}

void InputPadDialog::build() {
  Image* background = dialogPicture(canvas_.runtime(), directory_, backgroundName_);
  Image* key = dialogPicture(canvas_.runtime(), directory_, keyName_);
  Image* bigKey = dialogPicture(canvas_.runtime(), directory_, bigKeyName_);
  const bool dark = isDarkColor(textColor_);
  auto shade = [dark](uint32_t c) { return dark ? invertColor(c) : c; };
  SceneSprite* scene =
      addDialogScene(canvas_, kSceneName, background, "sptFrame_MSGBOX", textColor_);

  auto title = std::make_unique<Sprite>(scaleInt(5), scaleInt(6), scaleInt(220), scaleInt(16));
  title->textSize = scaleInt(16);
  title->textAlignment = Sprite::kCenter;
  title->textColor = textColor_;
  scene->addSprite(std::move(title), kTitleName);

  auto display = std::make_unique<Sprite>(scaleInt(20), scaleInt(24), scaleInt(190), scaleInt(18));
  display->color = textColor_;
  display->frameColor = invertColor(textColor_);
  display->textColor = invertColor(textColor_);
  display->textSize = scaleInt(16);
  display->textFormatted = false;
  scene->addSprite(std::move(display), kDisplayName);

  for (const CommandKey& c : kCommandKeys) {
    auto k = commandKey(c.x, 173, 40, 20, c.label, bigKey, textColor_, 1);
    if (c.toggles) k->guiKind = Sprite::kCheckbox;
    scene->addSprite(std::move(k), c.name, c.index);
  }

  firstKeyIndex_ = scene->count();
  const int side = scaleInt(key ? 18 : 16);
  for (int r = 1; r <= 4; ++r) {
    for (int c = 0; c < 10; ++c) {
      auto k =
          std::make_unique<Sprite>(scaleInt(11 + 21 * c), scaleInt(kKeyRows[r - 1]), side, side);
      if (key) {
        k->setImages(key, key);
        k->setSize(side, side);
      } else {
        k->color = shade(0x646464);
        k->brightColor = shade(0x3C3C3C);
        k->frameColor = shade(0x000000);
      }
      k->guiKind = Sprite::kButton;
      k->textColor = textColor_;
      k->textSize = scaleInt(16);
      k->textOffsetY = scaleInt(-1);
      k->textFormatted = false;
      k->homePosition = homeOf(*k);
      char label[4] = {static_cast<char>('0' + r), static_cast<char>('0' + c), 0, 0};
      scene->addSprite(std::move(k), kKeyName, label);
    }
  }
  objects_.bind(canvas_);
  labelKeys();
}

void InputPadDialog::labelKeys() {
  const char* layout = caps_ ? kUpperKeys : kLowerKeys;
  for (int i = 0; i < kKeyCount; ++i) {
    if (Sprite* k = characterKey(i)) {
      k->setText(std::string(1, layout[i]));
      k->textOffsetX = scaleInt(caps_ ? 2 : 3);
    }
  }
}

void InputPadDialog::open(scene::SceneObject& target, std::string_view text, std::string_view title,
                          int maxLength, bool allowEmpty) {
  maxLength_ = std::clamp(maxLength, 0, kMaxLength);
  allowEmpty_ = allowEmpty;
  target_ = &target;
  if (!padScene()) build();
  SceneSprite* scene = padScene();
  if (!scene) return;
  if (!open_) {
    savedModal_ = canvas_.topSceneOnly;
    savedListener_ = canvas_.mouseListener();
    savedKeyListener_ = canvas_.keyListener();
  }
  canvas_.topSceneOnly = true;
  buffer_.assign(text.substr(0, static_cast<size_t>(maxLength_)));
  showBuffer();
  if (Sprite* t = objects_->title) t->setText(title);
  canvas_.setMouseListener(this);
  canvas_.setKeyListener(this);
  open_ = true;
  lastHardwareKey_ = -1;
  scene->visible = true;
  canvas_.refresh();
}

void InputPadDialog::showBuffer() {
  if (Sprite* display = objects_->display) display->setText(buffer_, true);
}

void InputPadDialog::onMouse(platform::Window&, uint32_t message, uintptr_t, int, int) {
  if (!open_) return;
  SceneSprite* scene = padScene();
  auto* key = dynamic_cast<Sprite*>(canvas_.pressedSprite());
  if (!scene || !key) return;
  bool ours = false;
  for (const auto& o : scene->objects()) ours = ours || o.get() == key;
  if (!ours) return;
  if (message == host::WM_LBUTTONDOWN) {
    goHome(*key, 1);
  } else if (message == host::WM_LBUTTONUP) {
    goHome(*key, 0);
    act(*key);
  }
}

void InputPadDialog::act(Sprite& key) {
  const InputPadObjects& o = *objects_;
  if (&key == o.caps) {
    // The check-box behaviour has toggled the key on the press already.
    caps_ = key.status == 1;
    key.setText(caps_ ? "CAPS" : "Caps");
    labelKeys();
    return;
  }
  if (&key == o.cancel) return close(false);
  if (&key == o.ok) return close(true);
  if (&key == o.clear) {
    buffer_.clear();
  } else if (&key == o.del) {
    if (!buffer_.empty()) buffer_.pop_back();
  } else if (key.name == kKeyName) {
    char c = key.text().empty() ? 0 : key.text()[0];
    if (c && static_cast<int>(buffer_.size()) < maxLength_ && !std::strchr(kForbidden, c))
      buffer_.push_back(c);
  } else {
    return;
  }
  showBuffer();
}

void InputPadDialog::close(bool ok) {
  if (!open_) return;
  if (ok && buffer_.empty() && !allowEmpty_) ok = false;
  auto* target = dynamic_cast<Sprite*>(target_);
  if (ok && target) target->setText(buffer_, true);
  // The page gets its input back before it hears the answer, so that it may open the pad again
  // from its handler.
  open_ = false;
  canvas_.topSceneOnly = savedModal_;
  canvas_.setMouseListener(savedListener_);
  canvas_.setKeyListener(savedKeyListener_);
  if (SceneSprite* scene = padScene()) scene->visible = false;
  if (savedListener_ && target_) {
    const scene::Scene* holder = nullptr;
    for (const auto& s : canvas_.scenes())
      for (const auto& o : s->objects())
        if (o.get() == target_) holder = s.get();
    if (holder) {
      int cx = target_->x + target_->width / 2 + holder->x;
      int cy = target_->y + target_->height / 2 + holder->y;
      canvas_.setPressedSprite(target_);
      savedListener_->onMouse(canvas_, host::WM_LBUTTONUP, ok ? 1 : 0, cx, cy);
      canvas_.setPressedSprite(nullptr);
    }
  }
  canvas_.refresh();
}

void InputPadDialog::onKey(platform::Window&, uint32_t message, uint32_t k) {
  if (!open_) return;
  const bool down = message == host::WM_KEYDOWN;
  if (k == host::VK_RETURN || k == host::VK_ESCAPE) {
    if (down) close(k == host::VK_RETURN);
    return;
  }
  if (k == host::VK_BACK) {
    if (!down) return;
    if (!buffer_.empty()) buffer_.pop_back();
    showBuffer();
    canvas_.refresh();
    return;
  }
  if (k >= 48 && k < 91 && canvas_.typeToTap) return;
  const char* found = k > 0 && k < 128 ? std::strchr(kUpperKeys, static_cast<int>(k)) : nullptr;
  if (!found) {
    lastHardwareKey_ = -1;
    return;
  }
  int i = static_cast<int>(found - kUpperKeys);
  if (down && i == lastHardwareKey_) return;  // auto-repeat of a held key
  if (!down && message != host::WM_KEYUP) {
    lastHardwareKey_ = i;
    return;
  }
  SceneSprite* scene = padScene();
  Sprite* key = characterKey(i);
  if (!scene || !key) return;
  int cx = key->x + key->width / 2 + scene->x;
  int cy = key->y + key->height / 2 + scene->y;
  host::Host::get().windows().postMessage(canvas_.hwnd(),
                                          down ? host::WM_LBUTTONDOWN : host::WM_LBUTTONUP,
                                          down ? 1 : 0, host::makeLParam(cx, cy));
  lastHardwareKey_ = down ? i : -1;
}

}  // namespace media
