// The device's native controls: BUTTON, EDIT, COMBOBOX (drop-down list), LISTBOX and STATIC,
// registered as window classes of the host and drawn with its GDI.
//
// Text parameters are UTF-8, zero-terminated (lParam). Notifications go to the parent as
// WM_COMMAND (wParam: notification code << 16 | control id, lParam: the control's handle).
// Colours come from the parent's WM_CTLCOLOR* answer (wParam: the control's DC); without an
// answer edits and lists are black on white, buttons black on grey.
//
// Supported: push buttons and auto check boxes; single-line edits (scrolling sideways) and
// multi-line edits (word wrap unless ES_AUTOHSCROLL), caret keys, Backspace, Delete, Enter with
// ES_WANTRETURN, length limit (in characters), read-only; unsorted lists with item data, stylus
// and arrow-key selection; a drop-down list combo box that opens below itself (it grows its
// own window while open). Not supported: text selection ranges, sorted lists, clipboard.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "host/Types.h"

namespace host {

class Host;

// Styles.
constexpr std::uint32_t BS_PUSHBUTTON = 0x0;
constexpr std::uint32_t BS_AUTOCHECKBOX = 0x3;
constexpr std::uint32_t ES_MULTILINE = 0x0004;
constexpr std::uint32_t ES_AUTOVSCROLL = 0x0040;
constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr std::uint32_t ES_READONLY = 0x0800;
constexpr std::uint32_t ES_WANTRETURN = 0x1000;
constexpr std::uint32_t CBS_DROPDOWNLIST = 0x0003;
constexpr std::uint32_t LBS_NOTIFY = 0x0001;
constexpr std::uint32_t SS_CENTER = 0x0001;
constexpr std::uint32_t SS_RIGHT = 0x0002;

// Messages.
constexpr std::uint32_t WM_GETFONT = 0x0031;
constexpr std::uint32_t EM_GETSEL = 0x00B0;
constexpr std::uint32_t EM_SETSEL = 0x00B1;
constexpr std::uint32_t EM_GETLINECOUNT = 0x00BA;
constexpr std::uint32_t EM_LIMITTEXT = 0x00C5;
constexpr std::uint32_t EM_SETREADONLY = 0x00CF;
constexpr std::uint32_t BM_GETCHECK = 0x00F0;
constexpr std::uint32_t BM_SETCHECK = 0x00F1;
constexpr std::uint32_t CB_ADDSTRING = 0x0143;
constexpr std::uint32_t CB_DELETESTRING = 0x0144;
constexpr std::uint32_t CB_GETCOUNT = 0x0146;
constexpr std::uint32_t CB_GETCURSEL = 0x0147;
constexpr std::uint32_t CB_GETLBTEXT = 0x0148;
constexpr std::uint32_t CB_GETLBTEXTLEN = 0x0149;
constexpr std::uint32_t CB_RESETCONTENT = 0x014B;
constexpr std::uint32_t CB_FINDSTRING = 0x014C;
constexpr std::uint32_t CB_SETCURSEL = 0x014E;
constexpr std::uint32_t CB_SHOWDROPDOWN = 0x014F;
constexpr std::uint32_t CB_GETITEMDATA = 0x0150;
constexpr std::uint32_t CB_SETITEMDATA = 0x0151;
constexpr std::uint32_t CB_GETDROPPEDSTATE = 0x0157;
constexpr std::uint32_t LB_ADDSTRING = 0x0180;
constexpr std::uint32_t LB_DELETESTRING = 0x0182;
constexpr std::uint32_t LB_RESETCONTENT = 0x0184;
constexpr std::uint32_t LB_SETCURSEL = 0x0186;
constexpr std::uint32_t LB_GETCURSEL = 0x0188;
constexpr std::uint32_t LB_GETTEXT = 0x0189;
constexpr std::uint32_t LB_GETTEXTLEN = 0x018A;
constexpr std::uint32_t LB_GETCOUNT = 0x018B;
constexpr std::uint32_t LB_FINDSTRING = 0x018F;
constexpr std::uint32_t LB_GETITEMDATA = 0x0199;
constexpr std::uint32_t LB_SETITEMDATA = 0x019A;
constexpr std::intptr_t CB_ERR = -1;
constexpr std::intptr_t LB_ERR = -1;

// Notification codes.
constexpr int BN_CLICKED = 0;
constexpr int EN_SETFOCUS = 0x0100;
constexpr int EN_KILLFOCUS = 0x0200;
constexpr int EN_CHANGE = 0x0300;
constexpr int EN_MAXTEXT = 0x0501;
constexpr int LBN_SELCHANGE = 1;
constexpr int LBN_SETFOCUS = 4;
constexpr int LBN_KILLFOCUS = 5;
constexpr int CBN_SELCHANGE = 1;
constexpr int CBN_SETFOCUS = 3;
constexpr int CBN_KILLFOCUS = 4;
constexpr int CBN_DROPDOWN = 7;
constexpr int CBN_CLOSEUP = 8;

constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x0200;

class Controls {
 public:
  // Registers the five classes with the host's window manager.
  explicit Controls(Host& host);
  ~Controls();
  Controls(const Controls&) = delete;
  Controls& operator=(const Controls&) = delete;

  // Caret position of an edit, in characters; -1 for other windows.
  int caretOf(Hwnd edit) const;

 private:
  struct State;
  enum class Kind { Button, Edit, ComboBox, ListBox, Static };
  std::intptr_t handle(Kind kind, Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp);
  std::intptr_t handleEdit(State& s, Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp);
  std::intptr_t handleList(State& s, Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp);
  std::intptr_t handleButton(State& s, Hwnd w, std::uint32_t m, std::uintptr_t wp,
                             std::intptr_t lp);
  void paint(State& s, Hwnd w);
  void notify(Hwnd w, int code);
  void setDropped(State& s, Hwnd w, bool dropped);
  void select(State& s, Hwnd w, int index, bool byUser);

  Host& host_;
  std::map<Hwnd, std::unique_ptr<State>> states_;
};

}  // namespace host
