// A picture as the program uses it: one or more Surfaces (the frames of an animated GIF, or one
// frame) with animation timing, optionally resized to powers of two for use as a texture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "media/Surface.h"

namespace media {

class Image;

// Told whenever an Image's current frame changes.
class FrameListener {
 public:
  virtual ~FrameListener() = default;
  // Called after `image`'s current frame became `index`.
  virtual void frameChanged(Image& image, int index) = 0;
};

class Image {
 public:
  // Loads the picture at `path` (through the archive-aware opener). A path containing ".gif" or
  // ".GIF" gives every frame of the GIF; any other goes through the single-picture loader.
  // Frames take the global useDeviceDepth; they are red/blue swapped as the global swapRedBlue
  // says only when `powerOfTwo` is set (pictures for textures), never otherwise. With
  // `powerOfTwo` every frame is resized to powers of two: the nearest ones, stretching the
  // picture, or with `padToPowerOfTwo` the next ones up, the picture in the top-left corner and
  // the rest zero. A picture that cannot be loaded (the loader has reported why) gives an Image
  // without frames: frameCount() 0 and currentSurface() null.
  explicit Image(std::string_view path, bool powerOfTwo = false, bool padToPowerOfTwo = false);
  // A one-frame Image of |width| x |height| filled with `fillColor` (0x00RRGGBB), of the global
  // useDeviceDepth; with `powerOfTwo` its size is rounded to the nearest powers of two.
  Image(int width, int height, uint32_t fillColor, bool powerOfTwo);
  // A deep copy: every frame (geometry, pixels, key, delay), the sizes and the file name. The
  // copy starts on the same frame, without a listener.
  Image(const Image& other);
  Image& operator=(const Image&) = delete;
  ~Image();

  // Size of the frames held now (after power-of-two resizing) and as decoded.
  int width() const { return width_; }
  int height() const { return height_; }
  int decodedWidth() const { return decodedWidth_; }
  int decodedHeight() const { return decodedHeight_; }
  // log2 of width() and height() when power-of-two sizing was asked for, else 0.
  int widthExponent() const { return widthExponent_; }
  int heightExponent() const { return heightExponent_; }
  int frameCount() const { return static_cast<int>(frames_.size()); }
  // Both set when there are two frames or more: the animation runs and wraps to frame 0.
  bool animated() const { return animated_; }
  bool looping() const { return looping_; }
  void setLooping(bool looping) { looping_ = looping; }
  // The last path component (after the last '\' or '/') of the file loaded; "" when filled.
  const std::string& fileName() const { return fileName_; }

  // The frame shown now; null for an Image without frames. Owned by the Image.
  Surface* currentSurface();
  const Surface* currentSurface() const;
  // Frame i; null out of range.
  Surface* surfaceAt(int i);
  // Seconds frame i stays up; 0 for a still Image or i out of range.
  float frameDelay(int i) const;
  int currentIndex() const { return currentIndex_; }
  // Seconds spent on the current frame so far.
  float elapsed() const { return elapsed_; }

  // Shows frame i, clamped to [0, frameCount() - 1], and tells the listener. A still Image
  // stays on frame 0 and tells nobody.
  void setFrame(int i);
  // The animation step for `dt` seconds. Nothing for a still Image. A negative dt steps at once;
  // otherwise the time adds up and the step comes when it exceeds (strictly) the current frame's
  // delay, the time starting again from 0. A step goes to the next frame, past the last one to
  // frame 0 when looping and otherwise stays on the last.
  void advance(float dt);

  // Stretches every frame to |width| x |height| (nearest neighbour), keeping keys and delays.
  // Nothing for an Image without frames or a side below 1. The exponents are left as they are.
  void resize(int width, int height);

  // Optional; borrowed, must outlive its registration. Null removes it.
  void setListener(FrameListener* listener) { listener_ = listener; }
  FrameListener* listener() const { return listener_; }

  // Drawing-frame number of the last advance a sprite made, so that an Image shared by several
  // sprites advances once per drawn frame. Kept here, maintained by the sprites.
  uint32_t lastAdvanceStamp = 0;

  // Exponent of the power of two a side of n pixels is resized to: without padding the nearest
  // power (a tie goes to the smaller one), with padding the smallest power >= n. 0 for n < 2.
  static int powerOfTwoExponent(int n, bool pad);

 private:
  void setSizesFromCurrent();
  // Replaces every frame by one of power-of-two size, as the constructor describes.
  void resizeToPowerOfTwo(bool pad);
  // Replaces every frame by one of the given size: stretched, or with `pad` the picture in the
  // top-left corner and the rest zero. A frame that cannot be remade stays as it is.
  void resizeFrames(int newWidth, int newHeight, bool pad);

  std::vector<std::unique_ptr<Surface>> frames_;
  int width_ = 0;
  int height_ = 0;
  int decodedWidth_ = 0;
  int decodedHeight_ = 0;
  int widthExponent_ = 0;
  int heightExponent_ = 0;
  bool animated_ = false;
  bool looping_ = false;
  std::string fileName_;
  int currentIndex_ = 0;
  float elapsed_ = 0.0f;
  FrameListener* listener_ = nullptr;
};

}  // namespace media
