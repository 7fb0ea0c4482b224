// SurfaceTexture: a one-frame texture that owns 32-bit pixel memory a driver can upload.
//
// The memory is laid out as TexturePixels describes (top-down rows of 0xAABBGGRR words, red in
// the low byte, alpha counting transparency), which is the layout the OpenGL ES driver uploads
// as it lies. Drivers may write alpha into it and mark it uploaded; setPixels renews it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine3d/Texture.h"
#include "engine3d/TexturePixels.h"

namespace engine3d {

class SurfaceTexture : public Texture {
 public:
  // A width x height picture (sizes below 1 become 1) of `pixels` in the layout above; missing
  // pixels are black, extra ones are dropped.
  SurfaceTexture(int width, int height, std::vector<std::uint32_t> pixels = {},
                 std::optional<Colour> transparentColour = std::nullopt);

  int width() const override { return block_.width; }
  int height() const override { return block_.height; }
  std::optional<Colour> transparentColour() const override { return key_; }
  TexturePixels* texturePixels() override { return &block_; }

  // The pixel words, row by row.
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }
  // Replaces the pixels (same size) and clears `uploaded` so that a driver uploads them again.
  void setPixels(std::vector<std::uint32_t> pixels);

  // A picture of 0x00RRGGBB colours converted to the layout above.
  static std::vector<std::uint32_t> fromRgb(const std::vector<std::uint32_t>& rgb);

 private:
  void bind();

  std::vector<std::uint32_t> pixels_;
  TexturePixels block_;
  std::optional<Colour> key_;
};

}  // namespace engine3d
