// The desktop backend: the device screen in a resizable SDL window at an integer scale, keys,
// mouse (as the stylus) and game controllers as input, native message boxes, sound (SdlAudio.h).
//
// Keys: arrows, Enter, Escape, Backspace, Delete, Home, End, Page Up/Down, Insert, Space,
// letters, digits and F1-F12 become their virtual keys; the profile's four application-button
// keys (default F9-F12) become VK_APP1..VK_APP4, as do a controller's A, B, X, Y buttons (its
// d-pad gives the arrows, Start gives Enter, Back gives Escape). Alt+Enter toggles full screen;
// Print Screen saves a PNG into the user's pictures folder. $SKIRROW_SCALE forces a scale.
#pragma once

#include <memory>
#include <string>

#include "host/Backend.h"
#include "host/Profile.h"

namespace host {

class SdlAudio;

class SdlBackend : public Backend {
 public:
  // Null when SDL cannot open a window here.
  // `logicalScale` 2 when the program sees the device at half size (not hi-res aware): the
  // window shows the physical buffer and stylus positions are halved.
  static std::unique_ptr<SdlBackend> create(const DeviceProfile& profile, std::uint32_t clockStart,
                                            int logicalScale = 1);
  ~SdlBackend() override;

  const char* name() const override { return "sdl"; }
  bool virtualClock() const override { return false; }
  std::uint32_t now() override;
  void sleep(std::uint32_t ms) override;
  void poll(std::vector<InputEvent>& out, std::uint32_t waitMs) override;
  bool present(Screen& screen) override;
  std::optional<int> askMessageBox(const MessageBoxRequest& request) override;
  void raise() override;
  void showCursor(int id) override;
  // Sound through SdlAudio: real time, or none when the machine has no sound device.
  AudioMode startAudio(WaveMixer& mixer) override;
  void stopAudio() override;

  // The window scale now in use.
  int scale() const;
  bool fullScreen() const;

  // Queue desktop input as if the user made it (tests and tools): a key by its SDL name
  // ("F9", "Left"), a left mouse button event at a window pixel.
  void pushKey(const std::string& keyName, bool down);
  void pushMouseButton(int windowX, int windowY, bool down);

 private:
  struct State;
  explicit SdlBackend(std::unique_ptr<State> state);
  void translate(const void* event, std::vector<InputEvent>& out);
  void saveScreenshot();

  std::unique_ptr<State> state_;
  std::unique_ptr<SdlAudio> audio_;
};

}  // namespace host
