// The test backend: a virtual clock, no window, no person. Input comes only from scripts and
// tests; message boxes are answered by the caller's defaults; sound plays on the virtual clock.
#pragma once

#include "host/Backend.h"

namespace host {

class HeadlessBackend : public Backend {
 public:
  explicit HeadlessBackend(std::uint32_t clockStart = 0) : clock_(clockStart) {}

  const char* name() const override { return "headless"; }
  bool virtualClock() const override { return true; }
  std::uint32_t now() override { return clock_; }
  // Sleeping only moves the virtual clock.
  void sleep(std::uint32_t ms) override { clock_ += ms; }
  void poll(std::vector<InputEvent>& out, std::uint32_t waitMs) override { clock_ += waitMs; }
  bool present(Screen& screen) override { return true; }
  std::optional<int> askMessageBox(const MessageBoxRequest& request) override {
    return std::nullopt;
  }
  // The virtual sound device plays in virtual time: the host mixes as the clock moves.
  AudioMode startAudio(WaveMixer& mixer) override { return AudioMode::kVirtualClock; }

 private:
  std::uint32_t clock_;
};

}  // namespace host
