// Decoded pictures as plain pixel memory, ready to be wrapped by a drawable surface.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "media/PixelFormat.h"

namespace media {

// Largest picture a decoder will allocate, in pixels, and the most pixels all frames of one
// animation may hold together. Files asking for more are refused rather than trusted.
inline constexpr int64_t kMaxImagePixels = int64_t{16} * 1024 * 1024;
inline constexpr int64_t kMaxAnimationPixels = int64_t{64} * 1024 * 1024;

struct DecodeLimits {
  int64_t maxImagePixels = kMaxImagePixels;
  int64_t maxAnimationPixels = kMaxAnimationPixels;
};

// What every decoder is told: the layout to write and how much it may allocate.
struct DecodeOptions {
  PixelLayout layout;
  DecodeLimits limits;
};

// Owned pixel memory of one picture: top-down rows of `stride` bytes (a multiple of 4), each
// holding `width` pixels in `layout`, followed by padding that decoders leave zero.
struct PixelBuffer {
  int width = 0;
  int height = 0;
  int stride = 0;
  PixelLayout layout;
  std::vector<uint8_t> pixels;  // stride * height bytes

  // Bytes per row for a width and depth: ((bits * width + 31) / 32) * 4.
  static int64_t strideFor(int64_t width, int bitsPerPixel) {
    return ((bitsPerPixel * width + 31) / 32) * 4;
  }

  // A zero-filled buffer, or nothing when a side is not positive or width * height exceeds
  // maxPixels.
  static std::optional<PixelBuffer> create(int width, int height, PixelLayout layout,
                                           int64_t maxPixels = kMaxImagePixels) {
    if (width <= 0 || height <= 0) return std::nullopt;
    if (int64_t{width} * height > maxPixels) return std::nullopt;
    PixelBuffer buffer;
    buffer.width = width;
    buffer.height = height;
    buffer.layout = layout;
    buffer.stride = static_cast<int>(strideFor(width, layout.bitsPerPixel));
    buffer.pixels.assign(static_cast<size_t>(buffer.stride) * height, 0);
    return buffer;
  }

  bool empty() const { return pixels.empty(); }
  int bitsPerPixel() const { return layout.bitsPerPixel; }
  int bytesPerPixel() const { return layout.bitsPerPixel / 8; }
  uint8_t* row(int y) { return pixels.data() + static_cast<size_t>(y) * stride; }
  const uint8_t* row(int y) const { return pixels.data() + static_cast<size_t>(y) * stride; }

  // The stored pixel at (x, y) (16 or 32 bits); the caller keeps x and y inside.
  uint32_t rawPixel(int x, int y) const {
    const uint8_t* p = row(y) + x * bytesPerPixel();
    if (layout.bitsPerPixel == 16) return p[0] | (p[1] << 8);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
  }
  // The pixel at (x, y) as 0x00RRGGBB.
  uint32_t color(int x, int y) const { return unpackPixel(rawPixel(x, y), layout); }
};

// One decoded frame: its pixels, its see-through key and how long it stays up.
struct ImageFrame {
  PixelBuffer pixels;
  bool transparent = false;       // transparentColor is to be treated as see-through
  uint32_t transparentColor = 0;  // 0x00RRGGBB
  float delay = 0.0f;             // seconds
};

}  // namespace media
