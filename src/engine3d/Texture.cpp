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

int textureSide(int n, bool pad) {
  const std::uint32_t value = n > 0 ? static_cast<std::uint32_t>(n) : 0;
  const int exponent = pad ? log2Ceil(value) : log2Nearest(value);
  return 1 << exponent;
}

}  // namespace engine3d
