#include "host/Screen.h"

#include <algorithm>
#include <cstring>

#include "host/Png.h"

namespace host {

Rect intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  return r.empty() ? Rect{} : r;
}

Rect unite(const Rect& a, const Rect& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

Rect offsetRect(const Rect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

Screen::Screen(int width, int height, int scale)
    : width_(width),
      height_(height),
      scale_(scale == 2 ? 2 : 1),
      pixels_(static_cast<size_t>(width) * height, 0) {
  if (scale_ == 2) physical_.assign(static_cast<size_t>(width) * height * 4, 0);
}

void Screen::markDirty(const Rect& area) {
  Rect clipped = intersect(area, Rect{0, 0, width_, height_});
  dirty_ = unite(dirty_, clipped);
  uncomposed_ = unite(uncomposed_, clipped);
}

void Screen::compose() {
  if (scale_ == 1 || uncomposed_.empty()) return;
  int pw = width_ * 2;
  for (int y = uncomposed_.top; y < uncomposed_.bottom; ++y) {
    const std::uint16_t* in = pixels_.data() + static_cast<size_t>(y) * width_;
    std::uint16_t* out0 = physical_.data() + static_cast<size_t>(y) * 2 * pw;
    std::uint16_t* out1 = out0 + pw;
    for (int x = uncomposed_.left; x < uncomposed_.right; ++x)
      out0[2 * x] = out0[2 * x + 1] = out1[2 * x] = out1[2 * x + 1] = in[x];
  }
  uncomposed_ = {};
}

bool Screen::differsFromShown() const {
  const size_t count = static_cast<size_t>(physicalWidth()) * physicalHeight();
  return shown_.size() != count ||
         std::memcmp(shown_.data(), physicalPixels(), count * sizeof(std::uint16_t)) != 0;
}

void Screen::rememberShown() {
  const std::uint16_t* p = physicalPixels();
  shown_.assign(p, p + static_cast<size_t>(physicalWidth()) * physicalHeight());
}

std::vector<std::uint8_t> Screen::toRgb() {
  compose();
  const std::uint16_t* source = physicalPixels();
  size_t count = static_cast<size_t>(physicalWidth()) * physicalHeight();
  std::vector<std::uint8_t> rgb(count * 3);
  for (size_t i = 0; i < count; ++i) {
    std::uint16_t p = source[i];
    rgb[i * 3] = static_cast<std::uint8_t>(red565(p));
    rgb[i * 3 + 1] = static_cast<std::uint8_t>(green565(p));
    rgb[i * 3 + 2] = static_cast<std::uint8_t>(blue565(p));
  }
  return rgb;
}

bool Screen::writePng(const std::string& path) {
  return host::writePng(path, RgbImage{physicalWidth(), physicalHeight(), toRgb()});
}

}  // namespace host
