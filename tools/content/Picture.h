// Picture: an RGBA canvas with the few drawing operations the builder's art is made of.
//
// Colours are 0xAARRGGBB with alpha 255 = opaque (the usual sense; the writers translate it for
// each file format). Every operation clips to the canvas, so callers may draw partly outside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace content {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
  bool operator==(const Rgba&) const = default;
};

constexpr uint32_t rgb(int r, int g, int b) {
  return 0xFF000000u | (static_cast<uint32_t>(r & 255) << 16) |
         (static_cast<uint32_t>(g & 255) << 8) | static_cast<uint32_t>(b & 255);
}
// The colour scaled toward black (f < 1) or white (f > 1), alpha kept.
uint32_t shade(uint32_t color, float f);
// Linear mix of two colours, t = 0 gives a.
uint32_t mix(uint32_t a, uint32_t b, float t);

struct Point2 {
  float x, y;
};

class Picture {
 public:
  Picture() = default;
  Picture(int width, int height, uint32_t fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgba at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  Rgba& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const std::vector<Rgba>& pixels() const { return pixels_; }

  // Writes the colour over the pixel with `coverage` (0..1) times its alpha, blending.
  void blend(int x, int y, uint32_t color, float coverage = 1.0f);
  // Replaces the pixel outright (alpha included).
  void set(int x, int y, uint32_t color);

  void fill(uint32_t color);
  void fillRect(int x, int y, int w, int h, uint32_t color);
  void frameRect(int x, int y, int w, int h, uint32_t color, int thickness = 1);
  // Vertical gradient from `top` to `bottom` over the rectangle.
  void gradientRect(int x, int y, int w, int h, uint32_t top, uint32_t bottom);
  // Rounded rectangle with anti-aliased corners.
  void roundRect(float x, float y, float w, float h, float radius, uint32_t color);
  void ellipse(float cx, float cy, float rx, float ry, uint32_t color);
  void ring(float cx, float cy, float r, float thickness, uint32_t color);
  // Anti-aliased line of the given width.
  void line(float x0, float y0, float x1, float y1, float width, uint32_t color);
  // Filled polygon (even-odd), sampled 4x4 per pixel for smooth edges.
  void polygon(const std::vector<Point2>& points, uint32_t color);
  // Copies `src` over this picture at (x, y), blending by the source alpha.
  void draw(const Picture& src, int x, int y);
  // Nearest-neighbour scaled copy of `src` into the rectangle, blending.
  void drawScaled(const Picture& src, int x, int y, int w, int h);
  // Multiplies every pixel's colour by a brightness ramp of random noise (for texture grain).
  void grain(uint32_t seed, float amount);
  // Box-filtered shrink by an integer factor (used to render art at 2x and smooth it).
  Picture downsample(int factor) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Rgba> pixels_;
};

}  // namespace content
