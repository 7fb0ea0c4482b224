// Keys and stylus of a Canvas: translation, action bits, type-to-tap and the stylus phases.
#include <string>

#include "host/Gapi.h"
#include "host/Host.h"
#include "host/Keys.h"
#include "host/Messages.h"
#include "host/System.h"
#include "host/WindowManager.h"
#include "scene/Canvas.h"

namespace scene {
namespace {

struct AppButtons {
  uint32_t code[4];
};

// The codes of the four application buttons: the display library's list while its input is
// open (the device may report other codes there), else the platform's.
AppButtons appButtons() {
  host::Gapi& gapi = host::Host::get().gapi();
  if (gapi.inputOpen()) {
    host::GxKeyList keys = gapi.defaultKeys(host::GX_NORMALKEYS);
    return {{keys.a, keys.b, keys.c, keys.start}};
  }
  return {{host::VK_APP1, host::VK_APP2, host::VK_APP3, host::VK_APP4}};
}

constexpr uintptr_t kLeftButton = 1;  // MK_LBUTTON

}  // namespace

uint32_t Canvas::translateKey(uint32_t key) const {
  if (keyMap_) {
    if (const uint32_t* mapped = keyMap_->get(std::to_string(key))) key = *mapped;
  }
  if (!rotateKeys || !rotated()) return key;
  if (rotation == 1) {
    switch (key) {
      case host::VK_LEFT:
        return host::VK_UP;
      case host::VK_UP:
        return host::VK_RIGHT;
      case host::VK_RIGHT:
        return host::VK_DOWN;
      case host::VK_DOWN:
        return host::VK_LEFT;
      default:
        return key;
    }
  }
  switch (key) {
    case host::VK_LEFT:
      return host::VK_DOWN;
    case host::VK_UP:
      return host::VK_LEFT;
    case host::VK_RIGHT:
      return host::VK_UP;
    case host::VK_DOWN:
      return host::VK_RIGHT;
    default:
      break;
  }
  // Turned the other way, the buttons' places on the case are mirrored too.
  AppButtons b = appButtons();
  for (int i = 0; i < 4; ++i)
    if (key == b.code[i]) return b.code[3 - i];
  return key;
}

uint32_t Canvas::actionBitOf(uint32_t key) const {
  switch (key) {
    case host::VK_UP:
      return kKeyUp;
    case host::VK_DOWN:
      return kKeyDown;
    case host::VK_LEFT:
      return kKeyLeft;
    case host::VK_RIGHT:
      return kKeyRight;
    case host::VK_DELETE:
      return kKeyDelete;
    case host::VK_END:
      return kKeyEnd;
    case host::VK_SPACE:
      return kKeySpace;
    case host::VK_RETURN:
    case host::VK_ACTION:
      return kKeyEnter;
    case host::VK_PRIOR:
      return kKeyPageUp;
    case host::VK_NEXT:
      return kKeyPageDown;
    case host::VK_HOME:
      return kKeyHome;
    case host::VK_INSERT:
      return kKeyInsert;
    default:
      break;
  }
  static constexpr uint32_t kAppBits[4] = {kKeyApp1, kKeyApp2, kKeyApp3, kKeyApp4};
  AppButtons b = appButtons();
  uint32_t bits = 0;
  // Several buttons may share a code on odd devices: each adds its bit.
  for (int i = 0; i < 4; ++i)
    if (key == b.code[i]) bits |= kAppBits[i];
  return bits;
}

void Canvas::onKey(uint32_t message, uint32_t key) {
  if (message != host::WM_KEYDOWN && message != host::WM_KEYUP) return;
  bool down = message == host::WM_KEYDOWN;
  key = translateKey(key);
  if (!down) lastKeyUp_ = key;

  uint32_t bits = actionBitOf(key);
  if (singleKeyState)
    keyState_ = down ? bits : (keyState_ & ~bits);
  else
    keyState_ = down ? (keyState_ | bits) : (keyState_ & ~bits);

  if (key >= 48 && key <= 90) typeKey(message, key);
}

void Canvas::typeKey(uint32_t message, uint32_t key) {
  bool down = message == host::WM_KEYDOWN;
  if (!typeToTap) {
    lastKey_ = down ? key : 0;
    return;
  }
  if (down && key == lastKey_) return;  // auto-repeat of a held key types once
  lastKey_ = down ? key : 0;

  if (down) {
    uint32_t now = host::tickCount();
    if (static_cast<int>(typedKeys_.size()) >= kMaxTypedKeys ||
        now - lastTypedTick_ > kTypingPauseMs)
      typedKeys_.clear();
    typedKeys_.push_back(static_cast<char>(key));
    lastTypedTick_ = now;
  }
  if (typedKeys_.empty()) return;

  bool prefix = false;
  for (auto sceneIt = scenes_.rbegin(); sceneIt != scenes_.rend(); ++sceneIt) {
    Scene& scene = **sceneIt;
    if (!scene.visible) continue;
    if (scene.sceneType() != Scene::kSprite && scene.sceneType() != Scene::kNative) continue;
    for (const auto& object : scene.objects()) {
      if (!object->visible || object->indexLabel.empty()) continue;
      if (object->indexLabel == typedKeys_) {
        tapObject(scene, *object, message);
        if (!down) typedKeys_.clear();
        return;
      }
      if (object->indexLabel.compare(0, typedKeys_.size(), typedKeys_) == 0) prefix = true;
    }
    if (topSceneOnly) break;
  }
  if (!prefix) typedKeys_.clear();
}

void Canvas::tapObject(Scene& scene, SceneObject& object, uint32_t message) {
  bool down = message == host::WM_KEYDOWN;
  if (host::Hwnd control = object.nativeWindow()) {
    if (!down) host::Host::get().windows().setFocus(control);
    return;
  }
  int cx = scene.x + object.x + object.width / 2;
  int cy = scene.y + object.y + object.height / 2;
  host::Host::get().windows().postMessage(hwnd(), down ? host::WM_LBUTTONDOWN : host::WM_LBUTTONUP,
                                          down ? kLeftButton : 0, host::makeLParam(cx, cy));
}

void Canvas::onMouse(uint32_t message, uintptr_t flags, int x, int y, int phase) {
  // Until the page has seen a press, a move or release belongs to a tap made before it existed
  // (the press that opened it) and is dropped; the page's own first press arms it and counts.
  if (!stylusReady_) {
    if (message != host::WM_LBUTTONDOWN) return;
    stylusReady_ = true;
  }
  if (rotated()) {
    int w = backBuffer() ? backBuffer()->width() : clientWidth();
    int h = backBuffer() ? backBuffer()->height() : clientHeight();
    int rx = x, ry = y;
    if (rotation == 1) {
      rx = w - y;
      ry = x;
    } else if (rotation == 2) {
      rx = y;
      ry = h - x;
    }
    x = rx;
    y = ry;
  }
  onStylus(message, flags, x, y, phase);
}

void Canvas::onStylus(uint32_t message, uintptr_t flags, int x, int y, int phase) {
  if (message == host::WM_MOUSEMOVE) {
    if (phase != 0) return;
    if (directionPad_ && directionPad_->dragging() && (flags & kLeftButton)) {
      directionPad_->move(x, y, flags);
      return;
    }
    // The pointer follows what is under the stylus; the pressed object stays as it is.
    SceneObject* pressed = pressedSprite_;
    SceneObject* hovered = findPressedSprite(x, y);
    pressedSprite_ = pressed;
    updateCursor(hovered);
    return;
  }
  bool down = message == host::WM_LBUTTONDOWN;
  if (!down && message != host::WM_LBUTTONUP) return;
  if (phase == 0) {
    if (down) {
      findPressedSprite(x, y);
      if (!pressedSprite_ && directionPad_) directionPad_->press(x, y);
    } else if (!pressedSprite_ && directionPad_) {
      directionPad_->release(x, y);
    }
    return;
  }
  if (phase != 1 || !pressedSprite_) return;
  reactToStylus(*pressedSprite_, message);
  refresh();
}

SceneObject* Canvas::findPressedSprite(int x, int y) {
  pressedSprite_ = nullptr;
  for (auto it = scenes_.rbegin(); it != scenes_.rend(); ++it) {
    Scene& scene = **it;
    if (scene.sceneType() != Scene::kSprite || !scene.visible) continue;
    pressedSprite_ = scene.hitTest(x - scene.x, y - scene.y);
    if (pressedSprite_ || topSceneOnly) break;
  }
  return pressedSprite_;
}

}  // namespace scene
