// The shell helper of the device: full-screen control and the input-panel preference. There is
// no task bar or input panel on the desktop; the state is kept so the program (and tests) can
// read what it asked for.
#pragma once

#include <cstdint>

#include "host/Types.h"

namespace host {

// Full-screen flags.
constexpr std::uint32_t SHFS_SHOWTASKBAR = 0x0001;
constexpr std::uint32_t SHFS_HIDETASKBAR = 0x0002;
constexpr std::uint32_t SHFS_SHOWSIPBUTTON = 0x0004;
constexpr std::uint32_t SHFS_HIDESIPBUTTON = 0x0008;
constexpr std::uint32_t SHFS_SHOWSTARTICON = 0x0010;
constexpr std::uint32_t SHFS_HIDESTARTICON = 0x0020;

// Input-panel preferences.
constexpr int SIP_UP = 0;
constexpr int SIP_DOWN = 1;

struct ShellState {
  bool taskBarVisible = true;
  bool inputPanelButtonVisible = true;
  bool startIconVisible = true;
  bool inputPanelUp = false;
  Hwnd lastFullScreenWindow = 0;
  int fullScreenCalls = 0;
};

class Shell {
 public:
  // Applies the show/hide flags (a pair naming both show and hide leaves that item alone).
  // False for a dead window.
  bool fullScreen(Hwnd window, std::uint32_t flags);
  // SIP_UP raises the input panel, SIP_DOWN lowers it.
  bool sipPreference(Hwnd window, int preference);
  const ShellState& state() const { return state_; }

 private:
  ShellState state_;
};

}  // namespace host
