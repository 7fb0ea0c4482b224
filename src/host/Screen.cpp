#include "host/Screen.h"

#include <algorithm>

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

Screen::Screen(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, 0) {}

void Screen::markDirty(const Rect& area) {
  dirty_ = unite(dirty_, intersect(area, Rect{0, 0, width_, height_}));
}

std::vector<std::uint8_t> Screen::toRgb() const {
  std::vector<std::uint8_t> rgb(pixels_.size() * 3);
  for (size_t i = 0; i < pixels_.size(); ++i) {
    std::uint16_t p = pixels_[i];
    rgb[i * 3] = static_cast<std::uint8_t>(red565(p));
    rgb[i * 3 + 1] = static_cast<std::uint8_t>(green565(p));
    rgb[i * 3 + 2] = static_cast<std::uint8_t>(blue565(p));
  }
  return rgb;
}

bool Screen::writePng(const std::string& path) const {
  return host::writePng(path, RgbImage{width_, height_, toRgb()});
}

}  // namespace host
