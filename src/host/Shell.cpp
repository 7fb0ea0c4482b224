#include "host/Shell.h"

#include "host/Host.h"
#include "host/WindowManager.h"

namespace host {

namespace {

void applyPair(bool& item, std::uint32_t flags, std::uint32_t show, std::uint32_t hide) {
  if ((flags & show) && !(flags & hide)) item = true;
  if ((flags & hide) && !(flags & show)) item = false;
}

}  // namespace

bool Shell::fullScreen(Hwnd window, std::uint32_t flags) {
  if (!Host::get().windows().isWindow(window)) return false;
  applyPair(state_.taskBarVisible, flags, SHFS_SHOWTASKBAR, SHFS_HIDETASKBAR);
  applyPair(state_.inputPanelButtonVisible, flags, SHFS_SHOWSIPBUTTON, SHFS_HIDESIPBUTTON);
  applyPair(state_.startIconVisible, flags, SHFS_SHOWSTARTICON, SHFS_HIDESTARTICON);
  state_.lastFullScreenWindow = window;
  ++state_.fullScreenCalls;
  return true;
}

bool Shell::sipPreference(Hwnd window, int preference) {
  if (!Host::get().windows().isWindow(window) || (preference != SIP_UP && preference != SIP_DOWN))
    return false;
  state_.inputPanelUp = preference == SIP_UP;
  return true;
}

}  // namespace host
