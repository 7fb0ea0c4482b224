// InputPadDialog: the on-screen keyboard a page opens for its edit boxes.
//
// The pad is a sprite scene built in code on first use and laid over the page: a title, a
// one-line display of the text being edited, forty character keys in two layouts (Caps switches
// them) and the Caps, Clear, Del, Esc and Ok keys. While open it takes the page's stylus and
// key input (as the page's mouse and key listener) and only the top scene takes the stylus. A
// hardware keyboard presses the on-screen key that carries the same character, so a typed key
// looks and acts exactly like a tapped one.
//
// The answer reaches the page as a stylus release on the edit box that opened the pad, sent to
// the page's own mouse listener with the pressed sprite set to the box and the message's key
// flags 1 for Ok and 0 for cancel; on Ok the box already shows the new text.
//
// The pad scene belongs to the page (a template replace removes it; the pad builds it again on
// the next open). The pad keeps typed pointers to the objects it built (InputPadObjects), bound
// by the page like a template's, so they are null once the scene is gone. The pad itself is
// owned by the page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Window.h"
#include "scene/Canvas.h"
#include "scene/ObjectTable.h"

namespace media {

class GuiCanvas;
class Image;
class SceneSprite;
class Sprite;

// The named objects of the pad's scene. The forty character keys share one name and are found
// by their place in the scene.
struct InputPadObjects {
  SceneSprite* scene = nullptr;  // "sceneInputPad_INPUTPAD"
  Sprite* title = nullptr;       // "sptMessage_MSGBOX"
  Sprite* display = nullptr;     // "btnEditbox_MSGBOX": the text being edited
  Sprite* caps = nullptr;        // "btnCaps_MSGBOX"
  Sprite* clear = nullptr;       // "btnClear_MSGBOX"
  Sprite* del = nullptr;         // "btnDel_MSGBOX"
  Sprite* cancel = nullptr;      // "btnCancel_MSGBOX"
  Sprite* ok = nullptr;          // "btnOk_MSGBOX"

  static const scene::ObjectTable<InputPadObjects>& table();
};

class InputPadDialog : public scene::InputPad,
                       public platform::MouseListener,
                       public platform::KeyListener {
 public:
  static constexpr const char* kSceneName = "sceneInputPad_INPUTPAD";
  static constexpr int kMaxLength = 20;
  static constexpr int kKeyCount = 40;
  // The characters of the forty keys, row by row, without and with Caps.
  static constexpr const char* kLowerKeys = "1234567890qwertyuiopasdfghjkl/zxcvbnm-=.";
  static constexpr const char* kUpperKeys = "!@#$%^`*()QWERTYUIOPASDFGHJKL\\ZXCVBNM_+:";
  // Characters the pad never types.
  static constexpr const char* kForbidden = "~!@#$%^&*()+`=[]\\{}|;':\",/<>?";

  // Text in `textColor` (0x00RRGGBB); the background, key and big-key pictures are loaded from
  // `directory` when the pad is first built (an empty name: none).
  InputPadDialog(GuiCanvas& canvas, uint32_t textColor, std::string_view directory,
                 std::string_view backgroundName, std::string_view keyName,
                 std::string_view bigKeyName);
  // An open pad gives the page its listeners back.
  ~InputPadDialog() override;

  // Opens the pad for `target` (an edit box sprite) with the first min(maxLength, 20)
  // characters of `text`.
  void open(scene::SceneObject& target, std::string_view text, std::string_view title,
            int maxLength, bool allowEmpty) override;

  // The page's stylus events while open: a key moves one pixel down and right while pressed and
  // acts when released.
  void onMouse(platform::Window& window, uint32_t message, uintptr_t flags, int x, int y) override;
  // Enter (Ok), Escape (cancel), Backspace (delete) and the characters of the Caps layout.
  void onKey(platform::Window& window, uint32_t message, uint32_t key) override;

  bool isOpen() const { return open_; }
  bool caps() const { return caps_; }
  int maxLength() const { return maxLength_; }
  const std::string& buffer() const { return buffer_; }
  // The pad's scene, when the page has it.
  SceneSprite* padScene() const { return objects_->scene; }
  // Character key i (0..39, row by row); null when the scene is missing.
  Sprite* characterKey(int i) const;

 private:
  void build();
  void labelKeys();
  void act(Sprite& key);
  void close(bool ok);
  void showBuffer();

  GuiCanvas& canvas_;
  scene::BoundObjects<InputPadObjects> objects_;
  uint32_t textColor_;
  std::string directory_;
  std::string backgroundName_;
  std::string keyName_;
  std::string bigKeyName_;
  int firstKeyIndex_ = 0;
  bool caps_ = false;
  bool open_ = false;
  std::string buffer_;
  int maxLength_ = kMaxLength;
  bool allowEmpty_ = true;
  scene::SceneObject* target_ = nullptr;
  platform::MouseListener* savedListener_ = nullptr;
  platform::KeyListener* savedKeyListener_ = nullptr;
  bool savedModal_ = false;
  int lastHardwareKey_ = -1;
};

}  // namespace media
