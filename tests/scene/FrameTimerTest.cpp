// Frame time, clamping and the throttle's sleep, on the headless virtual clock.
#include "scene/FrameTimer.h"

#include <gtest/gtest.h>

#include "host/System.h"
#include "support/HeadlessHost.h"

namespace scene {
namespace {

using FrameTimerTest = testing_support::HeadlessHostTest;

TEST_F(FrameTimerTest, DefaultsThrottleAtThirtyFramesOverTwoSecondWindows) {
  FrameTimer t;
  EXPECT_EQ(t.mode(), FrameTimer::kThrottle);
  EXPECT_EQ(t.targetFps(), 30);
  EXPECT_EQ(t.windowMs(), 2000);
  host::sleepMs(20);
  t.tick();
  EXPECT_EQ(t.targetFrameMs(), 33);  // 1000 / 30, integer
}

TEST_F(FrameTimerTest, ClampLimitsTheStepToOneTargetFrame) {
  FrameTimer t;
  t.setMode(FrameTimer::kClamp);
  t.setTargetFps(10);
  t.reset();
  host::sleepMs(250);
  EXPECT_FALSE(t.tick());
  EXPECT_EQ(t.deltaMs(), 100u);
  EXPECT_FLOAT_EQ(t.dt(), 0.1f);
  host::sleepMs(40);
  t.tick();
  EXPECT_FLOAT_EQ(t.dt(), 0.04f);
  EXPECT_EQ(t.accumulatedMs(), 140);  // the clamped step is what counts towards the window
}

TEST_F(FrameTimerTest, FreeModeMeasuresTheWholeStep) {
  FrameTimer t;
  t.setMode(FrameTimer::kFree);
  t.setTargetFps(10);
  t.reset();
  host::sleepMs(250);
  t.tick();
  EXPECT_FLOAT_EQ(t.dt(), 0.25f);
  t.tick();  // no time at all
  EXPECT_FLOAT_EQ(t.dt(), 1e-10f);
}

TEST_F(FrameTimerTest, ThrottleAddsTheAverageSurplusOfAWindowAsSleep) {
  FrameTimer t;
  t.setWindowMs(100);
  t.reset();
  // Eleven 10 ms frames: the window ends when 110 ms (> 100) have gathered.
  for (int i = 0; i < 10; ++i) {
    host::sleepMs(10);
    EXPECT_FALSE(t.tick()) << i;
  }
  host::sleepMs(10);
  EXPECT_TRUE(t.tick());
  EXPECT_EQ(t.fps(), 100);  // 11 frames in 110 ms
  EXPECT_FLOAT_EQ(t.fpsExact(), 100.0f);
  EXPECT_EQ(t.extraSleepMs(), (11 * 33 - 110) / 11);  // 23
  EXPECT_EQ(t.frameCount(), 0);
  EXPECT_EQ(t.accumulatedMs(), 0);

  // From now on every tick sleeps that long, and the next frame's step shows it.
  host::sleepMs(10);
  uint32_t before = host::tickCount();
  t.tick();
  EXPECT_EQ(t.deltaMs(), 10u);
  EXPECT_EQ(host::tickCount() - before, 23u);
  t.tick();
  EXPECT_EQ(t.deltaMs(), 23u);
}

TEST_F(FrameTimerTest, SlowFramesNeverMakeANegativeSleep) {
  FrameTimer t;
  t.setWindowMs(100);
  t.reset();
  for (int i = 0; i < 3; ++i) {
    host::sleepMs(50);
    EXPECT_EQ(t.tick(), i == 2);
  }
  EXPECT_EQ(t.fps(), 20);  // 3 frames in 150 ms
  EXPECT_EQ(t.extraSleepMs(), 0);
}

TEST_F(FrameTimerTest, ClampModeNeverSleeps) {
  FrameTimer t;
  t.setMode(FrameTimer::kClamp);
  t.setTargetFps(10);
  t.setWindowMs(100);
  t.reset();
  for (int i = 0; i < 11; ++i) {
    host::sleepMs(10);
    t.tick();
  }
  EXPECT_EQ(t.fps(), 100);
  EXPECT_EQ(t.extraSleepMs(), 0);
}

TEST_F(FrameTimerTest, FixedSleepIsAddedToEveryTick) {
  FrameTimer t;
  t.setMode(FrameTimer::kFree);
  t.setFixedSleepMs(5);
  t.reset();
  uint32_t before = host::tickCount();
  t.tick();
  EXPECT_EQ(host::tickCount() - before, 5u);
  t.tick();
  EXPECT_EQ(t.deltaMs(), 5u);
}

}  // namespace
}  // namespace scene
