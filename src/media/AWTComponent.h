// AWTComponent: a native control (button, edit, text area, combo box, list box, label, static
// text) placed on a page by a SceneAWT.
//
// The component is a screen element of kind 3: the host draws it as a child window of the page,
// the page draws nothing for it. It owns the font it gives its control and, until the control is
// created in a page window, the control's window object; from attachTo() on the page window owns
// that object (it is one of its children) and the component removes it again in detach() or on
// destruction.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "host/Types.h"
#include "media/NativeControl.h"
#include "scene/Scene.h"

namespace media {

class AWTComponent : public scene::SceneObject {
 public:
  static constexpr int32_t kElementKind = 3;  // native control (sprites are 0)
  static constexpr int kDefaultWidth = 32;
  static constexpr int kDefaultHeight = 16;
  static constexpr int kDefaultFontSize = 16;  // before display scaling
  static constexpr int kDefaultFontWeight = 400;
  static constexpr const char* kDefaultFontFace = "Arial";

  // A component of `type` (NativeControl::Kind; an unknown value makes a button) with control
  // identifier `id`, at (x, y) in the page window, `text` its control's initial text. It starts
  // with the default font: 16 display-scaled, weight 400, upright, "Arial". `wrap`: see
  // NativeControl.
  AWTComponent(int type, int id, int x, int y, int width, int height, std::string_view text,
               bool wrap = false);
  // Removes the control from the page window (when attached), then deletes the font.
  ~AWTComponent() override;

  // The type a template word names: "BUTTON", "EDIT", "COMBOBOX", "LISTBOX", "LABEL",
  // "STATIC", "TEXTAREA" (exact); any other word is a button.
  static int typeOf(std::string_view word);

  // Makes a font of cell height `size` (already display-scaled), `weight` and `italic`, not
  // underlined, of `face` ("Arial" when empty), gives it to the control when it exists and
  // deletes the font it replaces.
  void setFont(int size, std::string_view face, bool italic, int weight);
  host::Hfont font() const { return font_; }

  // Creates the control as a child of `page` at (x, y, width, height), gives it the font and,
  // when `visible` is false, hides it. False when it is attached already or the window cannot be
  // made (then the component has no control any more).
  bool attachTo(platform::Window& page);
  // Destroys the control and takes it out of the page window; nothing when not attached.
  void detach();
  bool attached() const { return page_ != nullptr; }

  // The control's window object; null once a failed attach or detach() dropped it.
  NativeControl* control() const { return control_; }
  host::Hwnd nativeWindow() const override { return control_ ? control_->hwnd() : 0; }
  int type() const { return type_; }

  int32_t elementKind = kElementKind;
  int32_t status = 0;
  // x << 16 | y, kept by code-built dialogs for their press effect.
  uint32_t homePosition = 0;
  bool persistent = false;

 private:
  int type_;
  // Owned until attachTo() hands it to the page window; control_ points at it either way.
  std::unique_ptr<NativeControl> unattached_;
  NativeControl* control_ = nullptr;
  platform::Window* page_ = nullptr;
  host::Hfont font_ = 0;
};

}  // namespace media
