// ImageTexture: a picture of the image layer as the 3D engine's Texture, and the texture loader
// the program installs for 3D models, chips and boxes.
//
// The texture owns its Image (3D pictures are loaded power-of-two sized and red/blue swapped as
// the display asks, which 2D sprites never are, so they are not shared with the sprite cache).
// Texels are handed out as 32-bit 0x00RRGGBB, converted from the current frame when the frame
// changes, so a 16-bit picture costs one conversion per frame shown, not per draw. A hardware
// driver gets its own 32-bit copy in GL byte order, whatever depth the picture was decoded to.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine3d/Texture.h"
#include "engine3d/TexturePixels.h"
#include "media/Image.h"

namespace media {

class ImageTexture : public engine3d::Texture {
 public:
  // Null when the picture has no frame (the loader has reported why).
  static std::shared_ptr<ImageTexture> load(const engine3d::TextureRequest& request);
  explicit ImageTexture(std::unique_ptr<Image> image);

  int width() const override { return image_->width(); }
  int height() const override { return image_->height(); }
  std::optional<engine3d::Colour> transparentColour() const override;
  const std::uint32_t* texels() const override;
  // The current frame for a hardware driver: a copy in the driver's byte order (R, G, B, A),
  // remade (and marked for upload again) when the frame changes.
  engine3d::TexturePixels* texturePixels() override;
  bool animated() const override { return image_->animated(); }
  void advance(float seconds) override { image_->advance(seconds); }

  Image& image() { return *image_; }

 private:
  std::unique_ptr<Image> image_;
  mutable std::vector<std::uint32_t> texels_;
  mutable int texelFrame_ = -1;
  std::vector<std::uint32_t> uploadPixels_;
  engine3d::TexturePixels uploadBlock_;
  int uploadFrame_ = -1;
};

// The loader 3D content uses: each folder + name is loaded once per process and shared (a
// model cache, its clones and the chips of every page hold the same texture). Names compare
// exactly. releaseTextures() drops the shared references; pictures still held by models live
// until those go.
engine3d::TextureLoader textureLoader();
void releaseTextures();

}  // namespace media
