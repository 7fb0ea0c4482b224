// The message pump that runs the whole program, and the idle handler through which pages get
// their frames.
#pragma once

#include <cstdint>

#include "host/Types.h"

namespace platform {

// Called by the pump whenever the message queue is empty.
struct IdleHandler {
  virtual ~IdleHandler() = default;
  virtual void onIdle(const host::Message& message, host::Hwnd mainWindow) = 0;
  // Milliseconds the handler wants to wait before its next call; 0 (the default): call it now.
  // A page that caps its frame rate says how long until its next frame is due.
  virtual uint32_t msUntilNextIdle() { return 0; }
};

// The handler the pump calls; null for none. The setter returns the storage of the pointer so
// that a page can remember what was installed before it and put it back.
IdleHandler*& setActiveIdleHandler(IdleHandler* handler);
IdleHandler* activeIdleHandler();

// Brings `mainWindow` to the front, then dispatches messages until the quit message. Whenever the
// queue is empty it calls the idle handler, back to back unless the handler asks for a pause
// (msUntilNextIdle), which the pump spends waiting for the next message; with no handler
// installed it sleeps 1 ms. Returns the quit message's code.
int runMessagePump(host::Hwnd mainWindow);

// Wave-out completion (MM_WOM_DONE) reaches the window procedure; the audio code installs what
// it does with the finished buffer. Null: nothing.
using WaveDoneHook = void (*)(uintptr_t device, intptr_t header);
void setWaveDoneHook(WaveDoneHook hook);
void runWaveDoneHook(uintptr_t device, intptr_t header);

}  // namespace platform
