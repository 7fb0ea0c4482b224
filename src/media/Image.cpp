#include "media/Image.h"

#include <cstdlib>

#include "media/Blit.h"
#include "media/ImageLoader.h"

namespace media {
namespace {

std::string lastComponent(std::string_view path) {
  size_t cut = path.find_last_of("\\/");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace

Image::Image(std::string_view path, bool powerOfTwo, bool padToPowerOfTwo)
    : fileName_(lastComponent(path)) {
  const bool deviceDepth = useDeviceDepth();
  // Only texture pictures are ever swapped: the GDI path must see red and blue in place.
  DecodeOptions options{PixelLayout{pictureDepth(deviceDepth), powerOfTwo && swapRedBlue()},
                        DecodeLimits{}};
  for (const ImageFrame& frame : loadImageFrames(path, options)) {
    std::unique_ptr<Surface> surface = Surface::fromFrame(frame, deviceDepth);
    if (surface) frames_.push_back(std::move(surface));
  }
  setSizesFromCurrent();
  animated_ = looping_ = frames_.size() >= 2;
  if (powerOfTwo) resizeToPowerOfTwo(padToPowerOfTwo);
}

Image::Image(int width, int height, uint32_t fillColor, bool powerOfTwo) {
  std::unique_ptr<Surface> surface = Surface::create(width, height, useDeviceDepth());
  if (surface) {
    fill(*surface, fillColor, 0, 0, -1, -1, true);
    frames_.push_back(std::move(surface));
  }
  setSizesFromCurrent();
  if (powerOfTwo) resizeToPowerOfTwo(false);
}

Image::Image(const Image& other)
    : width_(other.width_),
      height_(other.height_),
      decodedWidth_(other.decodedWidth_),
      decodedHeight_(other.decodedHeight_),
      widthExponent_(other.widthExponent_),
      heightExponent_(other.heightExponent_),
      animated_(other.animated_),
      looping_(other.looping_),
      fileName_(other.fileName_),
      currentIndex_(other.currentIndex_),
      elapsed_(other.elapsed_) {
  lastAdvanceStamp = other.lastAdvanceStamp;
  for (const std::unique_ptr<Surface>& frame : other.frames_) {
    std::unique_ptr<Surface> copy = frame->copy();
    // A frame that cannot be copied leaves the copy shorter; the current index stays inside.
    if (copy) frames_.push_back(std::move(copy));
  }
  if (currentIndex_ >= frameCount()) currentIndex_ = 0;
}

Image::~Image() = default;

void Image::setSizesFromCurrent() {
  currentIndex_ = 0;
  elapsed_ = 0.0f;
  if (frames_.empty()) return;
  width_ = decodedWidth_ = frames_[0]->width();
  height_ = decodedHeight_ = frames_[0]->height();
}

int Image::powerOfTwoExponent(int n, bool pad) {
  if (n < 2) return 0;
  int k = 0;
  while ((int64_t{1} << k) < n) ++k;  // 2^k is the smallest power >= n
  if (pad) return k;
  const int64_t p = int64_t{1} << k;
  // Nearer to p than to p / 2 goes up; a tie goes down.
  return std::llabs(p - n) < std::llabs(p / 2 - n) ? k : k - 1;
}

void Image::resizeToPowerOfTwo(bool pad) {
  if (frames_.empty()) return;
  widthExponent_ = powerOfTwoExponent(width_, pad);
  heightExponent_ = powerOfTwoExponent(height_, pad);
  const int newWidth = 1 << widthExponent_;
  const int newHeight = 1 << heightExponent_;
  if (newWidth == width_ && newHeight == height_) return;
  resizeFrames(newWidth, newHeight, pad);
}

void Image::resize(int newWidth, int newHeight) {
  if (frames_.empty() || newWidth < 1 || newHeight < 1) return;
  if (newWidth == width_ && newHeight == height_) return;
  resizeFrames(newWidth, newHeight, false);
}

void Image::resizeFrames(int newWidth, int newHeight, bool pad) {
  for (std::unique_ptr<Surface>& frame : frames_) {
    std::unique_ptr<Surface> resized =
        Surface::create(newWidth, newHeight, frame->layout(), frame->useDeviceDepth());
    if (!resized) continue;  // keep the frame as it is rather than lose it
    if (pad)
      blit(*resized, *frame, 0, 0, 0, 0, -1, -1);
    else
      stretchBlit(*resized, *frame, 0, 0, -1, -1, 0, 0, -1, -1);
    resized->transparent = frame->transparent;
    resized->transparentColor = frame->transparentColor;
    resized->delay = frame->delay;
    frame = std::move(resized);
  }
  width_ = frames_[0]->width();
  height_ = frames_[0]->height();
}

Surface* Image::currentSurface() {
  return frames_.empty() ? nullptr : frames_[currentIndex_].get();
}

const Surface* Image::currentSurface() const {
  return frames_.empty() ? nullptr : frames_[currentIndex_].get();
}

Surface* Image::surfaceAt(int i) {
  return i >= 0 && i < frameCount() ? frames_[i].get() : nullptr;
}

float Image::frameDelay(int i) const {
  if (frameCount() < 2 || i < 0 || i >= frameCount()) return 0.0f;
  return frames_[i]->delay;
}

void Image::setFrame(int i) {
  if (frameCount() < 2) {
    currentIndex_ = 0;
    return;
  }
  currentIndex_ = i < 0 ? 0 : i >= frameCount() ? frameCount() - 1 : i;
  if (listener_) listener_->frameChanged(*this, currentIndex_);
}

void Image::advance(float dt) {
  if (frameCount() < 2) return;
  if (dt >= 0.0f) {
    elapsed_ += dt;
    if (!(elapsed_ > frames_[currentIndex_]->delay)) return;
    elapsed_ = 0.0f;
  }
  int next = currentIndex_ + 1;
  if (next >= frameCount()) next = looping_ ? 0 : frameCount() - 1;
  setFrame(next);
}

}  // namespace media
