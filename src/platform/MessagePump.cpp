#include "platform/MessagePump.h"

#include "host/Host.h"
#include "host/Messages.h"
#include "host/System.h"
#include "host/WindowManager.h"

namespace platform {

namespace {

// The process-wide pump state: the installed idle handler and the wave-out hook.
struct PumpState {
  IdleHandler* idleHandler = nullptr;
  WaveDoneHook waveDone = nullptr;
};

PumpState& state() {
  static PumpState instance;
  return instance;
}

}  // namespace

IdleHandler*& setActiveIdleHandler(IdleHandler* handler) {
  state().idleHandler = handler;
  return state().idleHandler;
}

IdleHandler* activeIdleHandler() {
  return state().idleHandler;
}

int runMessagePump(host::Hwnd mainWindow) {
  host::WindowManager& wm = host::Host::get().windows();
  wm.setForegroundWindow(mainWindow);
  host::Message message;
  while (true) {
    if (wm.peekMessage(message, true)) {
      if (message.message == host::WM_QUIT) return static_cast<int>(message.wParam);
      wm.translateMessage(message);
      wm.dispatchMessage(message);
    } else if (IdleHandler* idle = state().idleHandler) {
      // A paced handler's pause is spent waiting: a message that comes ends it early and is
      // handled first; a pause that runs out is followed by the call at once.
      uint32_t pause = idle->msUntilNextIdle();
      if (pause && wm.waitMessage(pause)) continue;
      idle->onIdle(message, mainWindow);
    } else {
      host::sleepMs(1);
    }
  }
}

void setWaveDoneHook(WaveDoneHook hook) {
  state().waveDone = hook;
}

void runWaveDoneHook(uintptr_t device, intptr_t header) {
  if (state().waveDone) state().waveDone(device, header);
}

}  // namespace platform
