// Texture: the picture a material draws with, as the 3D engine sees it.
//
// The picture decoders and the image cache live above the engine; the engine reaches them only
// through the Texture interface and a TextureLoader function that the program (or a test)
// installs. Textures are shared: a cache, several materials and clones may hold the same one.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine3d/Colour.h"
#include "engine3d/TexturePixels.h"

namespace engine3d {

class Texture {
 public:
  virtual ~Texture() = default;

  // Size in pixels of the current frame.
  virtual int width() const = 0;
  virtual int height() const = 0;
  // The colour key of the current frame (0x00RRGGBB), when the picture has one.
  virtual std::optional<Colour> transparentColour() const { return std::nullopt; }
  // The current frame as width() * height() 32-bit 0x00RRGGBB pixels, rows top to bottom, or
  // null when the picture cannot hand its pixels out. Valid until the picture next changes.
  virtual const std::uint32_t* texels() const { return nullptr; }
  // True for pictures with more than one frame that advance over time.
  virtual bool animated() const { return false; }
  // Advances an animated picture by `seconds`.
  virtual void advance(float seconds) {}
  // The current frame's pixel memory for drivers that upload pictures, or null when the picture
  // keeps none that a driver may use (the picture is then drawn untextured by such drivers).
  virtual TexturePixels* texturePixels() { return nullptr; }

  // The frame number the picture was last advanced in, so that a texture shared by several
  // materials advances once per frame (see Group3D::animateTextures).
  std::uint32_t lastAdvancedFrame() const { return lastAdvancedFrame_; }
  void setLastAdvancedFrame(std::uint32_t frame) { lastAdvancedFrame_ = frame; }

 private:
  std::uint32_t lastAdvancedFrame_ = 0;
};

// A one-frame texture held in memory as 32-bit 0x00RRGGBB pixels, rows top to bottom. Its
// pixels never change, so the copy in driver layout is made once, on first request.
class PixelTexture : public Texture {
 public:
  // `pixels` must hold width * height values (it is resized to that when it does not).
  PixelTexture(int width, int height, std::vector<std::uint32_t> pixels = {},
               std::optional<Colour> transparentColour = std::nullopt);

  int width() const override { return width_; }
  int height() const override { return height_; }
  std::optional<Colour> transparentColour() const override { return key_; }
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }
  const std::uint32_t* texels() const override {
    return pixels_.empty() ? nullptr : pixels_.data();
  }
  TexturePixels* texturePixels() override;

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
  std::optional<Colour> key_;
  std::vector<std::uint32_t> uploadPixels_;  // red in the low byte, as drivers upload them
  TexturePixels uploadBlock_;
};

// What the model loader asks for: the picture `name` in `folder` ("" or a folder ending in a
// separator). With `powerOfTwo` each side is resized to textureSide(n, padToPowerOfTwo).
struct TextureRequest {
  std::string folder;
  std::string name;
  bool powerOfTwo = true;
  bool padToPowerOfTwo = false;
};

// Returns the texture, or null when the picture cannot be loaded (the loader reports its own
// errors). An empty function loads nothing.
using TextureLoader = std::function<std::shared_ptr<Texture>(const TextureRequest&)>;

// The side length a picture of `n` pixels gets when sized to a power of two. With `pad` the
// smallest power >= n; otherwise the nearest power, a tie going to the smaller one
// (1 -> 1, 3 -> 2, 6 -> 4, 7 -> 8, 0 -> 1).
int textureSide(int n, bool pad);

}  // namespace engine3d
