// FrameTimer: measures the time of each frame and paces the frame loop of a page.
//
// Three modes: free (frames run back to back), throttle (an extra sleep per frame, adjusted once
// per measuring window, holds the loop near the target rate) and clamp (no extra sleep, but a
// frame's time step never exceeds one target frame). Time comes from the host clock in
// milliseconds, so a headless session on the virtual clock gives repeatable numbers.
#pragma once

#include <cstdint>

namespace scene {

class FrameTimer {
 public:
  enum Mode : int32_t { kFree = 0, kThrottle = 1, kClamp = 2 };
  static constexpr int32_t kDefaultTargetFps = 30;
  static constexpr int32_t kDefaultWindowMs = 2000;

  FrameTimer();

  // Starts a new measuring window at the current tick.
  void reset();
  // Measures the frame that ends now (and sleeps when throttling). Returns true when this tick
  // ended a measuring window; fps() and extraSleepMs() are then fresh.
  bool tick();

  void setMode(Mode mode) { mode_ = mode; }
  Mode mode() const { return mode_; }
  // A target rate below 1 is taken as 1.
  void setTargetFps(int32_t fps) { targetFps_ = fps < 1 ? 1 : fps; }
  int32_t targetFps() const { return targetFps_; }
  void setWindowMs(int32_t ms) { windowMs_ = ms; }
  int32_t windowMs() const { return windowMs_; }
  // A sleep added to every frame on top of the throttle's.
  void setFixedSleepMs(int32_t ms) { fixedSleepMs_ = ms; }
  int32_t fixedSleepMs() const { return fixedSleepMs_; }

  // Seconds of the last frame (at least 1e-10).
  float dt() const { return dt_; }
  // Frames per second of the last measuring window, rounded and exact.
  int32_t fps() const { return fps_; }
  float fpsExact() const { return fpsExact_; }
  int32_t extraSleepMs() const { return extraSleepMs_; }
  uint32_t deltaMs() const { return deltaMs_; }
  int32_t accumulatedMs() const { return accumulatedMs_; }
  int32_t frameCount() const { return frameCount_; }
  int32_t targetFrameMs() const { return targetFrameMs_; }

 private:
  Mode mode_ = kThrottle;
  int32_t targetFps_ = kDefaultTargetFps;
  int32_t windowMs_ = kDefaultWindowMs;
  float dt_ = 0.0f;
  int32_t accumulatedMs_ = 0;
  int32_t fps_ = 0;
  float fpsExact_ = 0.0f;
  int32_t fixedSleepMs_ = 0;
  uint32_t tickNow_ = 0;
  uint32_t tickPrev_ = 0;
  uint32_t deltaMs_ = 0;
  int32_t frameCount_ = 0;
  int32_t targetFrameMs_ = 0;
  int32_t extraSleepMs_ = 0;
};

}  // namespace scene
