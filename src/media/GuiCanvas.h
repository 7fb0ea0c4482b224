// GuiCanvas: a page whose sprites behave as screen controls.
//
// The base canvas finds the sprite under the stylus; this page gives that sprite its meaning by
// its GUI kind: buttons and links light up while pressed, a link opens another screen in this
// page, a tip link shows and hides the element it names, an edit box opens the page's input
// pad, and check boxes toggle (alone) or select (in a group), writing their state into the
// page template and saving it when the box is persistent. The pointer shape follows what lies
// under the stylus. The page can also raise a message box over its content and an on-screen
// keyboard for its edit boxes. Every menu screen and the game page are GuiCanvases.
//
// A page is given the program's runtime when it is made and reaches everything the pages share
// through runtime(): its templates are built with the runtime's creators, its 3D scenes get
// their renderers from the runtime's drivers, and the model and picture caches are there for
// what a page loads itself. The runtime must outlive the page.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/Cursor.h"
#include "media/MessageBoxObjects.h"
#include "media/KeyboardFocus.h"
#include "scene/Canvas.h"

namespace media {

class Runtime;
class Sprite;

class GuiCanvas : public scene::Canvas {
 public:
  GuiCanvas(Runtime& runtime, std::string_view name, bool buffered);

  // What the pages of this run share (borrowed).
  Runtime& runtime() const { return runtime_; }

  // The press (WM_LBUTTONDOWN) or release (WM_LBUTTONUP) reaction of the sprite pressed last.
  // Objects that are not GUI sprites are left alone.
  void reactToStylus(scene::SceneObject& pressed, uint32_t message) override;
  // I-beam over an edit box, hand over any other GUI sprite, arrow elsewhere.
  void updateCursor(scene::SceneObject* hovered) override;
  // Sets up the 3D scenes a template brought (with rendererType and the runtime's drivers) so
  // that they draw at once. Pages that override it call it first.
  void afterLoad() override;

  // The 3D driver of the page's 3D scenes, fixed when each is set up (software by default).
  int rendererType = 0;

  // ---- Message box ----
  // Kinds: an Ok button, Yes and No buttons, or no button (the page removes the box itself).
  enum MessageKind { kMessageOk = 0, kMessageYesNo = 1, kMessageInfo = 2 };
  static constexpr const char* kMessageTemplate = "messagebox.properties";

  // Shows `message` in the page's message box, with `contextKey` as the hidden context the
  // page reads back when a button is released. The box's objects (MessageBoxObjects) are merged
  // in from `templateFile` in the GUI folder on first use (the page's "MSG_GRID_PIC" variable
  // names the grid picture for the display size first); when the template brings no box scene
  // nothing is shown, and a missing message, context or button is left out.
  // With `slide` the box moves up into place over 8 redraws. Clears messageBoxClosed().
  void showMessageBox(std::string_view message, std::string_view contextKey, int kind, bool slide,
                      std::string_view templateFile = kMessageTemplate);
  // Hides the box (sliding down over 8 redraws with `slide`) and sets messageBoxClosed().
  void hideMessageBox(bool slide);
  bool isMessageBoxUp() const;
  // The context key of the box shown last; nothing when the page has no message box.
  std::optional<std::string> messageBoxContext() const;
  // The message box's objects; null pointers before the box was loaded.
  const MessageBoxObjects& messageBox() const { return *messageBox_; }
  bool messageBoxClosed() const { return messageBoxClosed_; }
  // The host's box type of a page box kind (Yes and No, else OK).
  static std::uint32_t boxType(int kind);

  // ---- Input pad ----
  // Gives the page an on-screen keyboard for its edit boxes (replacing an earlier one): text in
  // `textColor` (0x00RRGGBB), pictures loaded from `directory` (names may be empty: then the
  // pad draws plain keys).
  void enableInputPad(uint32_t textColor, std::string_view directory,
                      std::string_view backgroundName, std::string_view keyName,
                      std::string_view bigKeyName);

  // Stores `sprite`'s status, as decimal text, in the "status" item of the template property
  // named like the sprite (nothing when the page has no such property).
  void writeStatus(const Sprite& sprite);

  // ---- Keyboard and gamepad ----
  // Turns the keyboard focus of the page's controls on or off (KeyboardFocus.h); off for a new
  // page. Menus turn it on; a page that uses the arrows and buttons for itself leaves it off.
  void setKeyboardNavigation(bool on);
  // Null while the navigation is off.
  KeyboardFocus* keyboardFocus() const { return keyboardFocus_.get(); }

 protected:
  // The page's keys first; then, unless a dialog holds the keys (a key listener is installed),
  // the navigation.
  void onKey(uint32_t message, uint32_t key) override;
  // A tap of the stylus hides the focus frame.
  void onMouse(uint32_t message, uintptr_t flags, int x, int y, int phase) override;

 private:
  void pressCheckbox(Sprite& box);
  void openEditor(Sprite& box);
  scene::Scene* sceneHolding(const scene::SceneObject& object) const;
  void slideMessageBox(scene::Scene& box, bool in);
  void drawMessageIntoPicture(Sprite& sprite, std::string_view message);

  Runtime& runtime_;
  host::Hcursor arrow_;
  host::Hcursor hand_;
  host::Hcursor ibeam_;
  bool messageBoxClosed_ = false;
  scene::BoundObjects<MessageBoxObjects> messageBox_{*this, MessageBoxObjects::table()};
  // The box shown last, for the message-box log.
  std::string messageText_;
  int messageKind_ = kMessageOk;
  std::unique_ptr<KeyboardFocus> keyboardFocus_;
};

// The parts of an edit box's link text "n,title": the number n at its start (0 when there is
// none), and the title after the first comma (empty without a comma).
struct EditBoxLink {
  int maxLength = 0;
  bool allowEmpty = true;
  std::string title;
};
EditBoxLink parseEditBoxLink(std::string_view linkText);

}  // namespace media
