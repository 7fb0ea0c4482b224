// Message numbers, parameters and flags with the platform's values.
#pragma once

#include <cstdint>

namespace host {

// Window messages.
constexpr std::uint32_t WM_NULL = 0;
constexpr std::uint32_t WM_CREATE = 1;
constexpr std::uint32_t WM_DESTROY = 2;
constexpr std::uint32_t WM_MOVE = 3;
constexpr std::uint32_t WM_SIZE = 5;
constexpr std::uint32_t WM_ACTIVATE = 6;
constexpr std::uint32_t WM_SETFOCUS = 7;
constexpr std::uint32_t WM_KILLFOCUS = 8;
constexpr std::uint32_t WM_ENABLE = 10;
constexpr std::uint32_t WM_SETREDRAW = 11;
constexpr std::uint32_t WM_SETTEXT = 12;
constexpr std::uint32_t WM_GETTEXT = 13;
constexpr std::uint32_t WM_GETTEXTLENGTH = 14;
constexpr std::uint32_t WM_PAINT = 15;
constexpr std::uint32_t WM_CLOSE = 16;
constexpr std::uint32_t WM_QUIT = 18;
constexpr std::uint32_t WM_ERASEBKGND = 20;
constexpr std::uint32_t WM_SHOWWINDOW = 24;
constexpr std::uint32_t WM_SETFONT = 48;
constexpr std::uint32_t WM_KEYDOWN = 256;
constexpr std::uint32_t WM_KEYUP = 257;
constexpr std::uint32_t WM_CHAR = 258;
constexpr std::uint32_t WM_COMMAND = 273;
constexpr std::uint32_t WM_TIMER = 275;
constexpr std::uint32_t WM_CTLCOLOREDIT = 307;
constexpr std::uint32_t WM_CTLCOLORLISTBOX = 308;
constexpr std::uint32_t WM_CTLCOLORBTN = 309;
constexpr std::uint32_t WM_CTLCOLORSCROLLBAR = 311;
constexpr std::uint32_t WM_CTLCOLORSTATIC = 312;
constexpr std::uint32_t WM_MOUSEMOVE = 512;
constexpr std::uint32_t WM_LBUTTONDOWN = 513;
constexpr std::uint32_t WM_LBUTTONUP = 514;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 515;
constexpr std::uint32_t WM_RBUTTONDOWN = 516;
constexpr std::uint32_t WM_RBUTTONUP = 517;
constexpr std::uint32_t WM_MBUTTONDOWN = 519;
constexpr std::uint32_t WM_MBUTTONUP = 520;
constexpr std::uint32_t MM_WOM_DONE = 0x3BD;
constexpr std::uint32_t WM_USER = 0x400;

// WM_ACTIVATE low word.
constexpr int WA_INACTIVE = 0;
constexpr int WA_ACTIVE = 1;
// WM_SIZE type.
constexpr int SIZE_RESTORED = 0;
constexpr int SIZE_MINIMIZED = 1;
// Mouse message flags.
constexpr std::uintptr_t MK_LBUTTON = 1;

// Window styles.
constexpr std::uint32_t WS_POPUP = 0x80000000;
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_DISABLED = 0x08000000;
constexpr std::uint32_t WS_BORDER = 0x00800000;
constexpr std::uint32_t WS_VSCROLL = 0x00200000;
constexpr std::uint32_t WS_TABSTOP = 0x00010000;

// Class styles.
constexpr std::uint32_t CS_VREDRAW = 0x0001;
constexpr std::uint32_t CS_HREDRAW = 0x0002;
constexpr std::uint32_t CS_GLOBALCLASS = 0x4000;

// showWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOW = 5;
constexpr int SW_RESTORE = 9;

// get/setWindowLong indices.
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_ID = -12;
constexpr int GWL_USERDATA = -21;

// Background value of a window class that names a system colour: this flag | colour index.
constexpr std::uint32_t kSysColorIndexFlag = 0x40000000;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;

// Timer identifier the window framework uses.
constexpr std::uintptr_t kFrameworkTimerId = 65535;

}  // namespace host
