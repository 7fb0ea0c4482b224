// KeyboardFocus: a menu screen used from the keyboard or a gamepad.
//
// A page that turns it on (menus do; the battle, which flies on the same keys, does not) gets a
// focus that moves between the screen's controls (buttons, links, tip links, check boxes, radio
// buttons and edit boxes) in reading order: rows from the top, left to right within a row.
//   Left / Right      the previous / next control, wrapping around
//   Up / Down         the nearest control (by horizontal centre) in the row above / below,
//                     wrapping from the last row to the first
//   Enter, Space, the action key, application button A (a gamepad's A)
//                     taps the focused control: the stylus goes down at a point of it while the
//                     key is held and up when it is released, exactly as a tap there would
//   Escape, application button B (a gamepad's B)
//                     taps the screen's back link: the object the page template's "backLink"
//                     names, else one named "lnkBack"; nothing when the screen has none
// Only controls a tap could reach take part: visible ones in the scenes the stylus reaches
// (the top-most sprite scene alone while the page's topSceneOnly is on, so a message box keeps
// the focus to its own buttons), at a point where the page's hit test finds them. The focus is
// kept by object name, so it survives a change of screen when the new one has a control of that
// name, and otherwise starts again at the first control.
//
// The focus is drawn, as a frame around the control over the page's picture, only once a key
// was used; a tap of the stylus hides it again until the next key. While something else takes
// the page's keys (a dialog installs itself as the page's key listener) the focus keeps still.
//
// Owned by its page (GuiCanvas); it is one of the page's overlays while it lives.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/Types.h"
#include "platform/Window.h"

namespace media {

class GuiCanvas;
class Sprite;

class KeyboardFocus : public platform::Overlay {
 public:
  // The focus frame: 2 pixels wide, just outside the control, in this colour (0x00RRGGBB).
  static constexpr uint32_t kFrameColor = 0xFFC828;
  static constexpr int kFrameWidth = 2;
  // The page template's item that names the screen's back link, and the name used without it.
  static constexpr const char* kBackLinkKey = "backLink";
  static constexpr const char* kDefaultBackLink = "lnkBack";

  // A control the focus can rest on: its name, its rectangle on the page, and the point a tap
  // goes to.
  struct Target {
    std::string name;
    host::Rect rect;
    host::Point tap;
  };

  explicit KeyboardFocus(GuiCanvas& page);
  ~KeyboardFocus() override;
  KeyboardFocus(const KeyboardFocus&) = delete;
  KeyboardFocus& operator=(const KeyboardFocus&) = delete;

  // A key down or up reaching the page. True when it was a key of the navigation and was used.
  bool onKey(uint32_t message, uint32_t key);
  // A stylus message reaching the page: a person's press hides the focus (the focus's own taps
  // do not).
  void onStylus(uint32_t message);

  // The controls of the screen as it is now, in reading order.
  std::vector<Target> targets() const;
  // The control with the focus ("" before any); it may no longer be on the screen.
  const std::string& focused() const { return focused_; }
  // Whether the focus frame is drawn.
  bool shown() const { return shown_; }

  // Overlay: draws the frame into the page's back buffer.
  void attach(platform::Window& window, platform::BackBuffer& backBuffer) override;
  void detach() override { backBuffer_ = nullptr; }
  void draw() override;

 private:
  enum class Move { kNext, kPrevious, kRowBelow, kRowAbove };
  void move(Move direction);
  // The current target (after choosing the first when the focused one is gone); null when the
  // screen has none. `all` is targets().
  const Target* current(const std::vector<Target>& all);
  std::optional<Target> backLink() const;
  void press(const Target& target, uint32_t key);
  void release();
  void sendStylus(uint32_t message, host::Point at);
  void redraw();

  GuiCanvas& page_;
  platform::BackBuffer* backBuffer_ = nullptr;
  std::string focused_;
  bool shown_ = false;
  // The key holding a tap down, and where the tap went down; 0 when none.
  uint32_t pressedKey_ = 0;
  host::Point pressedAt_;
  bool sending_ = false;  // a tap of ours is on its way through the page
};

}  // namespace media
