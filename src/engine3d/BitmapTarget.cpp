#include "engine3d/BitmapTarget.h"

#include "host/Gdi.h"
#include "host/Host.h"

namespace engine3d {

BitmapTarget::BitmapTarget(int width, int height) {
  void* bits = nullptr;
  const host::Hbitmap bitmap =
      host::Host::get().gdi().createDibSection(host::topDownBitmapInfo(width, height, 32), &bits);
  if (!bitmap || !bits) return;
  pixels_.bits = static_cast<std::uint8_t*>(bits);
  pixels_.width = width;
  pixels_.height = height;
  pixels_.stride = width * 4;
  pixels_.bitsPerPixel = 32;
  pixels_.bitmap = bitmap;
}

BitmapTarget::~BitmapTarget() {
  if (pixels_.bitmap) host::Host::get().gdi().deleteObject(pixels_.bitmap);
}

std::uint32_t BitmapTarget::at(int x, int y) const {
  const auto* row = reinterpret_cast<const std::uint32_t*>(pixels_.bits + y * pixels_.stride);
  return row[x] & 0xFFFFFFu;
}

void BitmapTarget::fill(std::uint32_t colour) {
  for (int y = 0; y < pixels_.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(pixels_.bits + y * pixels_.stride);
    for (int x = 0; x < pixels_.width; ++x) row[x] = colour;
  }
  pixels_.uploaded = false;
  pixels_.opaque = true;
}

host::RgbImage BitmapTarget::picture() const {
  host::RgbImage image{pixels_.width, pixels_.height, {}};
  image.rgb.reserve(static_cast<std::size_t>(pixels_.width) * pixels_.height * 3);
  for (int y = 0; y < pixels_.height; ++y)
    for (int x = 0; x < pixels_.width; ++x) {
      const std::uint32_t c = at(x, y);
      image.rgb.push_back(static_cast<std::uint8_t>(c >> 16));
      image.rgb.push_back(static_cast<std::uint8_t>(c >> 8));
      image.rgb.push_back(static_cast<std::uint8_t>(c));
    }
  return image;
}

}  // namespace engine3d
