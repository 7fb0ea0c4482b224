// NativeControl: the window object of one native control (button, edit, combo box, list box,
// label or static text) that an AWTComponent puts on a page.
//
// It is a platform::Window whose class is the host's control class, so the host draws and runs
// the control; the framework only creates it, moves, shows and hides it and sends it messages
// (the edit and list wrappers of platform::Window). Edits are subclassed by Window::create, so
// Enter in an edit hands the focus back to the page.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Window.h"

namespace media {

class NativeControl : public platform::Window {
 public:
  // The kinds of native control, numbered as the page templates' `AWTType` words.
  enum Kind : int {
    kButton = 0,
    kEdit = 1,
    kComboBox = 2,
    kListBox = 3,
    kLabel = 4,
    kStatic = 5,
    kTextArea = 6,
  };

  // Style bits that are not in the host's headers.
  static constexpr uint32_t kHScroll = 0x00100000;  // WS_HSCROLL

  // A control of `kind` (an unknown kind makes a button) with control identifier `id` and
  // `text` as its initial window text. `wrap` matters only for a text area: its lines wrap, so
  // it has neither a horizontal scroll bar nor horizontal auto-scroll. The window is made by a
  // parent's addChild().
  NativeControl(int kind, int id, std::string_view text, bool wrap);

  int kind() const { return kind_; }
  uint32_t exStyle() const { return exStyle_; }

  // The window class of a kind: "BUTTON", "EDIT" (edit and text area), "COMBOBOX", "LISTBOX",
  // "STATIC" (label and static).
  static const char* windowClassOf(int kind);
  // The window style of a kind, `wrap` applying to text areas only.
  static uint32_t styleOf(int kind, bool wrap);
  // The extended style: a sunken client edge for edits, text areas and list boxes, else none.
  static uint32_t exStyleOf(int kind);
  // `kind` when it is one of the seven, else kButton.
  static int validKind(int kind);

 private:
  int kind_;
};

}  // namespace media
