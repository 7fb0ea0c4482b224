// The device frame buffer: RGB565 pixels, top-down rows, the profile's screen size. Window
// device contexts and GAPI draw into it; the backend shows it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/Types.h"

namespace host {

class Screen {
 public:
  Screen(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  // Bytes per row (width * 2).
  int stride() const { return width_ * 2; }
  std::uint16_t* pixels() { return pixels_.data(); }
  const std::uint16_t* pixels() const { return pixels_.data(); }

  // Records that pixels in `area` changed since the last present.
  void markDirty(const Rect& area);
  bool dirty() const { return !dirty_.empty(); }
  void clearDirty() { dirty_ = {}; }

  // 8-bit RGB triplets of the whole screen, each 565 channel widened by bit replication.
  std::vector<std::uint8_t> toRgb() const;
  // Writes the screen as a PNG file. Returns false when the file cannot be written.
  bool writePng(const std::string& path) const;

 private:
  int width_;
  int height_;
  std::vector<std::uint16_t> pixels_;
  Rect dirty_;
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
