#include "media/ImageTexture.h"

#include <utility>

#include "media/Surface.h"

namespace media {

std::shared_ptr<ImageTexture> ImageTexture::load(const engine3d::TextureRequest& request) {
  std::string path = request.folder + request.name;
  auto image = std::make_unique<Image>(path, request.powerOfTwo, request.padToPowerOfTwo);
  if (!image->currentSurface()) return nullptr;
  return std::make_shared<ImageTexture>(std::move(image));
}

ImageTexture::ImageTexture(std::unique_ptr<Image> image) : image_(std::move(image)) {
  // The texels are worked out when the texture is first drawn, which may be well into a
  // battle (a flyer's other skin); their room is made now, while the scene is set up.
  if (const Surface* frame = image_->currentSurface())
    texels_.reserve(static_cast<size_t>(frame->width()) * frame->height());
}

std::optional<engine3d::Colour> ImageTexture::transparentColour() const {
  const Surface* frame = image_->currentSurface();
  if (!frame || !frame->transparent) return std::nullopt;
  return static_cast<engine3d::Colour>(frame->transparentColor & 0xFFFFFF);
}

const std::uint32_t* ImageTexture::texels() const {
  const Surface* frame = image_->currentSurface();
  if (!frame) return nullptr;
  if (texelFrame_ != image_->currentIndex() || texels_.empty()) {
    texels_.resize(static_cast<size_t>(frame->width()) * frame->height());
    // A 16-bit frame widens its pixels with zero low bits; the key pixels must still read back
    // as the exact key the texture reports.
    std::optional<engine3d::Colour> key = transparentColour();
    // The stored form of a key is worked out once: a skin changing frames while a battle
    // runs then allocates nothing.
    if (key && (!storedKey_ || storedKey_->first != *key)) {
      std::uint32_t stored = 0;
      if (auto probe = Surface::create(1, 1, frame->layout(), frame->useDeviceDepth())) {
        probe->setPixel(0, 0, *key);
        stored = probe->getPixel(0, 0);
      }
      storedKey_ = std::make_pair(*key, stored);
    }
    const std::uint32_t storedKey = key ? storedKey_->second : 0;
    size_t i = 0;
    for (int y = 0; y < frame->height(); ++y)
      for (int x = 0; x < frame->width(); ++x) {
        std::uint32_t c = frame->getPixel(x, y);
        texels_[i++] = key && c == storedKey ? *key : c;
      }
    texelFrame_ = image_->currentIndex();
  }
  return texels_.data();
}

engine3d::TexturePixels* ImageTexture::texturePixels() {
  const std::uint32_t* rgb = texels();
  if (!rgb) return nullptr;
  if (uploadFrame_ != image_->currentIndex() || uploadPixels_.empty()) {
    const size_t count = static_cast<size_t>(width()) * height();
    uploadPixels_.resize(count);
    // 0x00RRGGBB to bytes R, G, B, A (alpha 0: opaque until the driver writes one).
    for (size_t i = 0; i < count; ++i) {
      std::uint32_t c = rgb[i];
      uploadPixels_[i] = ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16);
    }
    uploadBlock_.bits = reinterpret_cast<std::uint8_t*>(uploadPixels_.data());
    uploadBlock_.width = width();
    uploadBlock_.height = height();
    uploadBlock_.stride = width() * 4;
    uploadBlock_.bitsPerPixel = 32;
    uploadBlock_.uploaded = false;
    uploadBlock_.opaque = true;
    uploadFrame_ = image_->currentIndex();
  }
  return &uploadBlock_;
}

std::shared_ptr<engine3d::Texture> TextureStore::get(const engine3d::TextureRequest& request) {
  std::string key = request.folder + request.name + (request.powerOfTwo ? "|p2" : "") +
                    (request.padToPowerOfTwo ? "|pad" : "");
  if (auto it = textures_.find(key); it != textures_.end()) return it->second;
  std::shared_ptr<ImageTexture> texture = ImageTexture::load(request);
  if (texture) textures_.emplace(std::move(key), texture);
  return texture;
}

engine3d::TextureLoader TextureStore::loader() {
  return [this](const engine3d::TextureRequest& request) { return get(request); };
}

}  // namespace media
