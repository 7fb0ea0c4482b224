#include "engine3d/SurfaceTexture.h"

#include <algorithm>
#include <utility>

namespace engine3d {

SurfaceTexture::SurfaceTexture(int width, int height, std::vector<std::uint32_t> pixels,
                               std::optional<Colour> transparentColour)
    : pixels_(std::move(pixels)), key_(transparentColour) {
  block_.width = std::max(width, 1);
  block_.height = std::max(height, 1);
  bind();
}

void SurfaceTexture::setPixels(std::vector<std::uint32_t> pixels) {
  pixels_ = std::move(pixels);
  bind();
  block_.uploaded = false;
  block_.opaque = true;
}

void SurfaceTexture::bind() {
  pixels_.resize(static_cast<std::size_t>(block_.width) * static_cast<std::size_t>(block_.height));
  block_.bits = reinterpret_cast<std::uint8_t*>(pixels_.data());
  block_.stride = block_.width * 4;
  block_.bitsPerPixel = 32;
}

std::vector<std::uint32_t> SurfaceTexture::fromRgb(const std::vector<std::uint32_t>& rgb) {
  std::vector<std::uint32_t> out(rgb.size());
  for (std::size_t i = 0; i < rgb.size(); ++i)
    out[i] = ((rgb[i] & 0xFFu) << 16) | (rgb[i] & 0xFF00u) | ((rgb[i] >> 16) & 0xFFu);
  return out;
}

}  // namespace engine3d
