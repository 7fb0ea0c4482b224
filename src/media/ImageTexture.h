// ImageTexture: a picture of the image layer as the 3D engine's Texture, and the store of shared
// textures through which 3D models, chips and boxes load their pictures.
//
// The texture owns its Image (3D pictures are loaded power-of-two sized and red/blue swapped as
// the display asks, which 2D sprites never are, so they are not shared with the sprite cache).
// Texels are handed out as 32-bit 0x00RRGGBB, converted from the current frame when the frame
// changes, so a 16-bit picture costs one conversion per frame shown, not per draw. A hardware
// driver gets its own 32-bit copy in GL byte order, whatever depth the picture was decoded to.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
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
  // The transparent colour and its value as the frame stores it (see texels()).
  mutable std::optional<std::pair<engine3d::Colour, std::uint32_t>> storedKey_;
  std::vector<std::uint32_t> uploadPixels_;
  engine3d::TexturePixels uploadBlock_;
  int uploadFrame_ = -1;
};

// The textures 3D content shares: each folder + name (and power-of-two options) is loaded once
// and handed out to every model, clone and chip that names it. Names compare exactly. A picture
// that cannot be loaded is not kept (the loader has told the user), so each request tries again.
// Destroying the store (or clear()) drops its references; pictures still held by models live
// until those go. The program's runtime owns the store its pages share.
class TextureStore {
 public:
  TextureStore() = default;
  TextureStore(const TextureStore&) = delete;
  TextureStore& operator=(const TextureStore&) = delete;

  // The shared texture of `request`, loaded now when the store does not hold it yet; null when
  // the picture has no frame.
  std::shared_ptr<engine3d::Texture> get(const engine3d::TextureRequest& request);
  // A loader for model loading options that asks this store (which must outlive it).
  engine3d::TextureLoader loader();
  void clear() { textures_.clear(); }
  int count() const { return static_cast<int>(textures_.size()); }

 private:
  std::map<std::string, std::shared_ptr<ImageTexture>, std::less<>> textures_;
};

}  // namespace media
