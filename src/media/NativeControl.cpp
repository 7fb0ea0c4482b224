#include "media/NativeControl.h"

#include "host/Controls.h"
#include "host/Messages.h"

namespace media {
namespace {

constexpr uint32_t kChildVisible = host::WS_CHILD | host::WS_VISIBLE;  // 0x50000000
// A single-line edit scrolls both ways as the caret moves.
constexpr uint32_t kEditStyle = kChildVisible | host::ES_AUTOVSCROLL | host::ES_AUTOHSCROLL;
constexpr uint32_t kTextAreaStyle = kEditStyle | host::ES_MULTILINE | host::ES_WANTRETURN |
                                    host::WS_VSCROLL | NativeControl::kHScroll;

}  // namespace

int NativeControl::validKind(int kind) {
  return kind >= kButton && kind <= kTextArea ? kind : kButton;
}

const char* NativeControl::windowClassOf(int kind) {
  switch (validKind(kind)) {
    case kEdit:
    case kTextArea:
      return "EDIT";
    case kComboBox:
      return "COMBOBOX";
    case kListBox:
      return "LISTBOX";
    case kLabel:
    case kStatic:
      return "STATIC";
    default:
      return "BUTTON";
  }
}

uint32_t NativeControl::styleOf(int kind, bool wrap) {
  switch (validKind(kind)) {
    case kEdit:
      return kEditStyle;
    case kComboBox:
      return kChildVisible | host::WS_VSCROLL | host::CBS_DROPDOWNLIST;
    case kListBox:
      return kChildVisible | host::WS_VSCROLL | host::LBS_NOTIFY;
    case kTextArea:
      // Without horizontal scrolling the host's multi-line edit breaks lines at its width.
      return wrap ? kTextAreaStyle & ~(kHScroll | host::ES_AUTOHSCROLL) : kTextAreaStyle;
    default:
      return kChildVisible;
  }
}

uint32_t NativeControl::exStyleOf(int kind) {
  switch (validKind(kind)) {
    case kEdit:
    case kTextArea:
    case kListBox:
      return host::WS_EX_CLIENTEDGE;
    default:
      return 0;
  }
}

NativeControl::NativeControl(int kind, int id, std::string_view text, bool wrap)
    : platform::Window(text, 0, false), kind_(validKind(kind)) {
  className_ = windowClassOf(kind_);
  style_ = styleOf(kind_, wrap);
  exStyle_ = exStyleOf(kind_);
  controlId_ = static_cast<uint32_t>(id);
}

}  // namespace media
