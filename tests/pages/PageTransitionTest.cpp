// The page fade: the amounts of its passes, its timing on the host clock, what it does to the
// back buffer, and that only a double-buffered page fades.
#include "pages/PageTransition.h"

#include <gtest/gtest.h>

#include <vector>

#include "../scene/CanvasFixture.h"
#include "host/System.h"
#include "platform/BackBuffer.h"

namespace pages {
namespace {

// A page whose overlays can be painted from the test, as the root page paints them.
class FadingPage : public scene_test::RecordingCanvas {
 public:
  using RecordingCanvas::RecordingCanvas;
  void show() { paintOverlays(); }
};

class PageTransitionTest : public scene_test::CanvasTest {
 protected:
  FadingPage& page(bool buffered = true) {
    return makePageOf<FadingPage>(&log, creators, buffered);
  }
  static void fill(platform::BackBuffer& buffer, uint16_t value) {
    for (int y = 0; y < buffer.height(); ++y)
      for (int x = 0; x < buffer.width(); ++x)
        reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(buffer.pixels()) +
                                    y * buffer.pitch())[x] = value;
  }
  static uint16_t pixel(const platform::BackBuffer& buffer, int x, int y) {
    return reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(buffer.pixels()) +
                                             y * buffer.pitch())[x];
  }
};

TEST_F(PageTransitionTest, HalfASecondAtEightStepsIsFourStepsOf125Ms) {
  PageTransition fade(0.5f, 8, 0);
  EXPECT_EQ(fade.steps(), 4);
  EXPECT_EQ(fade.frameMs(), 125);
  EXPECT_EQ(fade.amounts(PageTransition::kFadeIn), (std::vector<int>{255, 191, 127, 63, 0}));
  EXPECT_EQ(fade.amounts(PageTransition::kFadeOut), (std::vector<int>{160, 160, 160, 160, 160}));
  // trunc(rate x duration): 0.3 s at 10 steps is 3 steps (640 / 3 = 213 per pass).
  PageTransition other(0.3f, 10, 0);
  EXPECT_EQ(other.steps(), 3);
  EXPECT_EQ(other.amounts(PageTransition::kFadeOut), (std::vector<int>{213, 213, 213, 213}));
  // A fade too short for one step has no passes (nothing to divide by).
  EXPECT_TRUE(PageTransition(0.05f, 8, 0).amounts(PageTransition::kFadeIn).empty());
}

TEST_F(PageTransitionTest, FadingOutMovesTheLastPictureTowardBlackWithoutRedrawing) {
  FadingPage& p = page();
  platform::BackBuffer& buffer = *p.backBuffer();
  fill(buffer, 0xFFFF);
  PageTransition fade(0.5f, 8, 0);
  std::vector<uint16_t> after;
  int redraws = 0;
  fade.passObserver = [&](int) { after.push_back(pixel(buffer, 5, 5)); };
  const uint32_t start = host::tickCount();
  fade.run(p, PageTransition::kFadeOut, [&] { ++redraws; }, [&] { p.show(); });
  after.push_back(pixel(buffer, 5, 5));
  EXPECT_EQ(redraws, 0);
  // Before each pass, then at the end: 31 -> 11 -> 4 -> 1 -> 0 in red and blue (5 bits), 63 ->
  // 23 -> 8 -> 3 -> 1 -> 0 in green (6 bits): c + ((0 - c) * 160 >> 8), the shift flooring.
  const auto rgb = [](int r, int g, int b) { return static_cast<uint16_t>(r << 11 | g << 5 | b); };
  EXPECT_EQ(after, (std::vector<uint16_t>{0xFFFF, rgb(11, 23, 11), rgb(4, 8, 4), rgb(1, 3, 1),
                                          rgb(0, 1, 0), rgb(0, 0, 0)}));
  // Five passes of 125 ms each, and the overlay is gone afterwards.
  EXPECT_GE(host::tickCount() - start, 625u);
  EXPECT_FALSE(fade.running());
  fill(buffer, 0xFFFF);
  p.show();
  EXPECT_EQ(pixel(buffer, 5, 5), 0xFFFF);
}

TEST_F(PageTransitionTest, FadingInDrawsTheScenesUnderALighterTintEachPass) {
  FadingPage& p = page();
  platform::BackBuffer& buffer = *p.backBuffer();
  PageTransition fade(0.5f, 8, 0);
  std::vector<uint16_t> shown;
  fade.run(
      p, PageTransition::kFadeIn,
      [&] {
        fill(buffer, 0xFFFF);  // the page's picture, drawn afresh
        p.show();
        shown.push_back(pixel(buffer, 0, 0));
      },
      [&] { ADD_FAILURE() << "a fade in redraws"; });
  ASSERT_EQ(shown.size(), 5u);
  // 255/256 of the way to black first, then 191, 127, 63 and none: the screen comes up.
  EXPECT_EQ(shown.front(), 0);
  EXPECT_LT(shown[1] & 0x1F, shown[2] & 0x1F);
  EXPECT_LT(shown[2] & 0x1F, shown[3] & 0x1F);
  EXPECT_EQ(shown.back(), 0xFFFF);
}

TEST_F(PageTransitionTest, APageWithoutBackBufferDoesNotFade) {
  FadingPage& p = page(false);
  PageTransition fade(0.5f, 8, 0);
  int passes = 0;
  fade.passObserver = [&](int) { ++passes; };
  const uint32_t start = host::tickCount();
  fade.run(p, PageTransition::kFadeOut, {}, [&] { p.show(); });
  EXPECT_EQ(passes, 0);
  EXPECT_EQ(host::tickCount(), start);
}

}  // namespace
}  // namespace pages
