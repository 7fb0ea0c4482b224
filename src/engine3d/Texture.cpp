#include "engine3d/Texture.h"

#include "engine3d/ScalarMath.h"

namespace engine3d {

PixelTexture::PixelTexture(int width, int height, std::vector<std::uint32_t> pixels,
                           std::optional<Colour> transparentColour)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      pixels_(std::move(pixels)),
      key_(transparentColour) {
  pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
}

TexturePixels* PixelTexture::texturePixels() {
  if (pixels_.empty()) return nullptr;
  if (uploadPixels_.empty()) {
    uploadPixels_.reserve(pixels_.size());
    // 0x00RRGGBB to bytes R, G, B, A (alpha 0: opaque until a driver writes one).
    for (std::uint32_t c : pixels_)
      uploadPixels_.push_back(((c >> 16) & 0xFFu) | (c & 0xFF00u) | ((c & 0xFFu) << 16));
    uploadBlock_.bits = reinterpret_cast<std::uint8_t*>(uploadPixels_.data());
    uploadBlock_.width = width_;
    uploadBlock_.height = height_;
    uploadBlock_.stride = width_ * 4;
    uploadBlock_.bitsPerPixel = 32;
  }
  return &uploadBlock_;
}

int textureSide(int n, bool pad) {
  const std::uint32_t value = n > 0 ? static_cast<std::uint32_t>(n) : 0;
  const int exponent = pad ? log2Ceil(value) : log2Nearest(value);
  return 1 << exponent;
}

}  // namespace engine3d
