// The device frame buffer: RGB565 pixels, top-down rows. Window device contexts and GAPI draw
// into it; the backend shows it.
//
// A program that is not hi-res aware sees a hi-res device at half size: its screen (pixels())
// is the logical one, and the device's own frame buffer (physicalPixels(), twice as wide and
// high, reached through the raw frame-buffer query) shows it pixel-doubled. compose() copies
// what changed in the logical screen into the physical one; anything written straight into the
// physical buffer stays until the logical screen is drawn over it again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/Types.h"

namespace host {

class Screen {
 public:
  // `scale` 1: one buffer; 2: a logical screen of width x height shown on a physical buffer
  // of twice the size.
  Screen(int width, int height, int scale = 1);

  int width() const { return width_; }
  int height() const { return height_; }
  // Bytes per row (width * 2).
  int stride() const { return width_ * 2; }
  std::uint16_t* pixels() { return pixels_.data(); }
  const std::uint16_t* pixels() const { return pixels_.data(); }
  int scale() const { return scale_; }
  int physicalWidth() const { return width_ * scale_; }
  int physicalHeight() const { return height_ * scale_; }
  // The device's buffer; the same memory as pixels() when the scale is 1.
  std::uint16_t* physicalPixels() { return scale_ == 1 ? pixels_.data() : physical_.data(); }
  const std::uint16_t* physicalPixels() const {
    return scale_ == 1 ? pixels_.data() : physical_.data();
  }
  // Brings the changed logical pixels into the physical buffer (nothing to do at scale 1).
  void compose();

  // Records that pixels in `area` changed since the last present.
  void markDirty(const Rect& area);
  bool dirty() const { return !dirty_.empty(); }
  void clearDirty() { dirty_ = {}; }

  // Whether the physical screen differs from the picture last given to rememberShown() (true
  // before the first). A still page redraws the same pixels every frame; showing them again
  // would only cost the desktop's time.
  bool differsFromShown() const;
  // Keeps a copy of the physical screen as the picture now on show.
  void rememberShown();

  // 8-bit RGB triplets of the physical screen (composed first), each 565 channel widened by
  // bit replication.
  std::vector<std::uint8_t> toRgb();
  // Writes the physical screen as a PNG file. Returns false when the file cannot be written.
  bool writePng(const std::string& path);

 private:
  int width_;
  int height_;
  int scale_;
  std::vector<std::uint16_t> pixels_;
  std::vector<std::uint16_t> physical_;
  std::vector<std::uint16_t> shown_;  // empty until something was shown
  Rect dirty_;
  Rect uncomposed_;
};

// 565 pixel to and from 8-bit channels. Widening replicates the top bits so white stays 255.
inline std::uint16_t pack565(int r, int g, int b) {
  return static_cast<std::uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | ((b & 0xF8) >> 3));
}
inline int red565(std::uint16_t p) {
  int r = (p >> 11) & 31;
  return (r << 3) | (r >> 2);
}
inline int green565(std::uint16_t p) {
  int g = (p >> 5) & 63;
  return (g << 2) | (g >> 4);
}
inline int blue565(std::uint16_t p) {
  int b = p & 31;
  return (b << 3) | (b >> 2);
}

}  // namespace host
