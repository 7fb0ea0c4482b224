// PageTransition: the timed fade the root page runs over its screen when a template is left and
// when the closing screen comes up.
//
// While it runs, a tint toward one colour is laid over the page's back buffer as an overlay
// (only a double-buffered page has one; any other page is left alone). The number of passes is
// steps = trunc(rate x duration); each pass lasts 1000 / rate ms, the fade waiting out what is
// left of that time after each pass.
//   - Fading in (argument 1): for k = steps down to 0 the page's scenes are drawn again and
//     shown under a tint of k * 255 / steps (integer division), so the new screen comes up from
//     the colour.
//   - Fading out (argument 0): steps + 1 passes of a tint of 640 / steps each over the picture
//     already on the back buffer, without drawing the scenes again, so each pass moves the last
//     picture a further part of the way to the colour (160/256 with four steps).
// The overlay is removed when the fade ends.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Window.h"

namespace platform {
class BackBuffer;
}

namespace pages {

class PageTransition : public platform::Overlay {
 public:
  static constexpr int kFadeOut = 0;
  static constexpr int kFadeIn = 1;

  // `color` is 0x00RRGGBB.
  PageTransition(float durationSeconds, int stepsPerSecond, uint32_t color);
  ~PageTransition() override;
  PageTransition(const PageTransition&) = delete;
  PageTransition& operator=(const PageTransition&) = delete;

  int steps() const { return steps_; }
  int frameMs() const { return frameMs_; }
  uint32_t color() const { return color_; }
  // The tint amounts of the passes of a fade (argument kFadeIn or kFadeOut), in order.
  std::vector<int> amounts(int argument) const;

  // Runs the fade over `page`. `redrawAndShow` draws every scene of the page again and paints
  // its overlays (which shows the back buffer); `show` only paints the overlays. Nothing happens
  // on a page without a back buffer.
  void run(platform::Window& page, int argument, const std::function<void()>& redrawAndShow,
           const std::function<void()>& show);
  bool running() const { return buffer_ != nullptr; }
  // The amount of the pass being shown (0 between fades).
  int amount() const { return amount_; }

  // Told the amount of every pass as it is shown (tests and tools watch the fade with it).
  std::function<void(int amount)> passObserver;

  // ---- Overlay ----
  // Moves every pixel of the back buffer toward the colour by amount / 256, per 5-6-5 field:
  // c + (((target - c) * amount) >> 8), the shift flooring, as the tint filter of pictures does.
  void draw() override;
  void attach(platform::Window& window, platform::BackBuffer& backBuffer) override;
  void detach() override;

 private:
  void waitOutPass(uint32_t& passStart) const;

  int steps_;
  int frameMs_;
  uint32_t color_;
  int amount_ = 0;
  platform::BackBuffer* buffer_ = nullptr;
};

}  // namespace pages
