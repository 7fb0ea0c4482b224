// What a backend (sdl or headless) provides to the host services: a clock, input, presentation
// and modal message boxes. Everything else (windows, GDI, scripts) is shared code above it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

class Screen;
class WaveMixer;

// How a backend plays the wave-out mixer.
enum class AudioMode {
  kNone,          // this machine has no sound device
  kRealTime,      // the backend's audio thread pulls the mixer
  kVirtualClock,  // the host plays the mixer along the backend's virtual clock
};

// Input in device terms: keys are virtual key codes, positions are device screen pixels.
struct InputEvent {
  enum class Kind { KeyDown, KeyUp, StylusDown, StylusMove, StylusUp, Minimize, Restore, Close };
  Kind kind = Kind::KeyDown;
  std::uint32_t key = 0;
  int x = 0;
  int y = 0;
};

struct MessageBoxRequest {
  std::string caption;
  std::string text;
  std::uint32_t type = 0;  // MB_* button and icon flags
};

class Backend {
 public:
  virtual ~Backend() = default;

  // "sdl" or "headless".
  virtual const char* name() const = 0;
  // True when time only moves when the program sleeps or waits (headless).
  virtual bool virtualClock() const = 0;
  // Milliseconds on the backend clock.
  virtual std::uint32_t now() = 0;
  virtual void sleep(std::uint32_t ms) = 0;
  // Appends pending input to `out`, waiting up to `waitMs` when none is pending. A virtual clock
  // advances by exactly `waitMs` when the wait is not cut short.
  virtual void poll(std::vector<InputEvent>& out, std::uint32_t waitMs) = 0;
  // Shows the device screen (sdl) or does nothing (headless keeps it in memory). Returns false
  // when it could not (the screen then stays marked as changed).
  virtual bool present(Screen& screen) = 0;
  // Asks the user. Returns the answer (ID* code), or nullopt when the backend cannot ask
  // (headless), in which case the caller takes the scripted or default answer.
  virtual std::optional<int> askMessageBox(const MessageBoxRequest& request) = 0;
  // Brings the desktop window to the front.
  virtual void raise() {}
  // Shows a pointer shape: one of the IDC_* ids of Cursor.h.
  virtual void showCursor(int id) {}
  // Starts sound output from `mixer`, which outlives it until stopAudio().
  virtual AudioMode startAudio(WaveMixer& mixer) { return AudioMode::kNone; }
  // Stops pulling the mixer; after this returns the mixer is never touched again.
  virtual void stopAudio() {}
};

}  // namespace host
