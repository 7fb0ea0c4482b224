#include "scene/FrameTimer.h"

#include <cmath>

#include "host/System.h"

namespace scene {

FrameTimer::FrameTimer() {
  reset();
}

void FrameTimer::reset() {
  tickPrev_ = host::tickCount();
  accumulatedMs_ = 0;
}

bool FrameTimer::tick() {
  uint32_t now = host::tickCount();
  deltaMs_ = now - tickPrev_;  // unsigned: a wrapped clock still gives the right difference
  tickNow_ = tickPrev_ = now;
  targetFrameMs_ = 1000 / targetFps_;

  if (mode_ == kFree) {
    extraSleepMs_ = 0;
  } else if (mode_ == kClamp && deltaMs_ > static_cast<uint32_t>(targetFrameMs_)) {
    deltaMs_ = static_cast<uint32_t>(targetFrameMs_);
  }

  dt_ = static_cast<float>(deltaMs_) * 0.001f;
  if (dt_ < 1e-10f) dt_ = 1e-10f;
  accumulatedMs_ += static_cast<int32_t>(deltaMs_);
  frameCount_ += 1;

  int32_t sleep = extraSleepMs_ + fixedSleepMs_;
  if (sleep != 0) host::sleepMs(static_cast<uint32_t>(sleep > 0 ? sleep : 0));

  if (accumulatedMs_ <= windowMs_) return false;

  fpsExact_ = static_cast<float>(frameCount_) * 1000.0f / static_cast<float>(accumulatedMs_);
  fps_ = static_cast<int32_t>(std::lround(fpsExact_));
  // The throttle moves its sleep by the average surplus of the window: frames that came in
  // faster than the target add sleep, slow ones take it away (never below zero).
  int32_t extra = (frameCount_ * targetFrameMs_ - accumulatedMs_) / frameCount_ + extraSleepMs_;
  extraSleepMs_ = (mode_ == kClamp || extra < 0) ? 0 : extra;
  frameCount_ = 0;
  accumulatedMs_ = 0;
  return true;
}

}  // namespace scene
