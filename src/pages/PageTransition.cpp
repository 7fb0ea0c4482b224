#include "pages/PageTransition.h"

#include "host/System.h"
#include "platform/BackBuffer.h"

namespace pages {

namespace {

inline int32_t toward(int32_t c, int32_t target, int32_t amount) {
  return c + (((target - c) * amount) >> 8);
}

}  // namespace

PageTransition::PageTransition(float durationSeconds, int stepsPerSecond, uint32_t color)
    : steps_(static_cast<int>(static_cast<float>(stepsPerSecond) * durationSeconds)),
      frameMs_(stepsPerSecond > 0 ? 1000 / stepsPerSecond : 0),
      color_(color) {}

PageTransition::~PageTransition() = default;

std::vector<int> PageTransition::amounts(int argument) const {
  std::vector<int> passes;
  // A fade of no steps has nothing to divide by: it shows nothing.
  if (steps_ <= 0) return passes;
  if (argument == kFadeIn) {
    for (int k = steps_; k >= 0; --k) passes.push_back(k * 255 / steps_);
  } else {
    for (int k = 0; k <= steps_; ++k) passes.push_back(640 / steps_);
  }
  return passes;
}

void PageTransition::waitOutPass(uint32_t& passStart) const {
  const uint32_t spent = host::tickCount() - passStart;
  if (spent < static_cast<uint32_t>(frameMs_)) host::sleepMs(static_cast<uint32_t>(frameMs_) - spent);
  passStart = host::tickCount();
}

void PageTransition::run(platform::Window& page, int argument,
                         const std::function<void()>& redrawAndShow,
                         const std::function<void()>& show) {
  if (!page.buffered() || !page.backBuffer() || running()) return;
  amount_ = 0;
  page.addOverlay(this);
  uint32_t passStart = host::tickCount();
  for (int amount : amounts(argument)) {
    amount_ = amount;
    if (passObserver) passObserver(amount);
    if (argument == kFadeIn) {
      if (redrawAndShow) redrawAndShow();
    } else if (show) {
      show();
    }
    waitOutPass(passStart);
  }
  amount_ = 0;
  page.removeOverlay(this);
  buffer_ = nullptr;
}

void PageTransition::attach(platform::Window&, platform::BackBuffer& backBuffer) {
  buffer_ = &backBuffer;
}

void PageTransition::detach() {
  buffer_ = nullptr;
}

void PageTransition::draw() {
  if (!buffer_ || amount_ == 0 || !buffer_->pixels()) return;
  const int32_t tr = static_cast<int32_t>((color_ >> 19) & 0x1F);
  const int32_t tg = static_cast<int32_t>((color_ >> 10) & 0x3F);
  const int32_t tb = static_cast<int32_t>((color_ >> 3) & 0x1F);
  const int32_t a = amount_ > 256 ? 256 : amount_;
  auto* base = reinterpret_cast<uint8_t*>(buffer_->pixels());
  for (int y = 0; y < buffer_->height(); ++y) {
    auto* p = reinterpret_cast<uint16_t*>(base + static_cast<std::ptrdiff_t>(y) * buffer_->pitch());
    for (int x = 0; x < buffer_->width(); ++x) {
      const int32_t v = p[x];
      const int32_t r = toward((v >> 11) & 0x1F, tr, a);
      const int32_t g = toward((v >> 5) & 0x3F, tg, a);
      const int32_t b = toward(v & 0x1F, tb, a);
      p[x] = static_cast<uint16_t>((r << 11) | (g << 5) | b);
    }
  }
}

}  // namespace pages
