// The test backend: no window, no person. Input comes only from scripts and tests; message boxes
// are answered by the caller's defaults; sound plays along the backend's clock.
//
// The clock is virtual by default: it moves only when the program sleeps or waits, so a scripted
// session runs as fast as the machine allows and the same way every time. A program run headless
// with nothing to drive it lives on the real clock instead: its sleeps and waits really pass, so
// an idle page costs no more than on a desktop.
#pragma once

#include <chrono>
#include <thread>

#include "host/Backend.h"

namespace host {

class HeadlessBackend : public Backend {
 public:
  enum class Clock { kVirtual, kReal };

  explicit HeadlessBackend(std::uint32_t clockStart = 0, Clock clock = Clock::kVirtual)
      : clock_(clockStart),
        real_(clock == Clock::kReal),
        started_(std::chrono::steady_clock::now()) {}

  const char* name() const override { return "headless"; }
  bool virtualClock() const override { return !real_; }
  std::uint32_t now() override {
    if (!real_) return clock_;
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started_);
    return clock_ + static_cast<std::uint32_t>(elapsed.count());
  }
  // Virtual: moves the clock. Real: sleeps.
  void sleep(std::uint32_t ms) override {
    if (real_)
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    else
      clock_ += ms;
  }
  // Nothing ever arrives here from outside: waiting is sleeping.
  void poll(std::vector<InputEvent>& out, std::uint32_t waitMs) override { sleep(waitMs); }
  bool present(Screen& screen) override { return true; }
  std::optional<int> askMessageBox(const MessageBoxRequest& request) override {
    return std::nullopt;
  }
  // The virtual sound device plays along the clock: the host mixes as it moves.
  AudioMode startAudio(WaveMixer& mixer) override { return AudioMode::kVirtualClock; }

 private:
  std::uint32_t clock_;  // virtual: the time; real: the reading at start
  bool real_;
  std::chrono::steady_clock::time_point started_;
};

}  // namespace host
