// BitmapTarget: a 32-bit top-down GDI bitmap to draw a scene into, described as TexturePixels
// so that a driver can make a pixmap surface of it (or lay it over a frame as a texture).
//
// Pixels are 0x00RRGGBB words, GDI's layout. The bitmap is created in the running host and
// deleted with the target.
#pragma once

#include <cstdint>

#include "engine3d/TexturePixels.h"
#include "host/Png.h"

namespace engine3d {

class BitmapTarget {
 public:
  // A width x height bitmap; valid() is false when the host could not make it.
  BitmapTarget(int width, int height);
  ~BitmapTarget();
  BitmapTarget(const BitmapTarget&) = delete;
  BitmapTarget& operator=(const BitmapTarget&) = delete;

  bool valid() const { return pixels_.bits != nullptr; }
  TexturePixels& pixels() { return pixels_; }
  std::uint32_t bitmap() const { return pixels_.bitmap; }
  // The pixel at (x, y) as 0x00RRGGBB.
  std::uint32_t at(int x, int y) const;
  // Fills every pixel with `colour` (0x00RRGGBB) and clears `uploaded`.
  void fill(std::uint32_t colour);
  // The picture as 8-bit RGB (for PNG files and comparisons).
  host::RgbImage picture() const;

 private:
  TexturePixels pixels_;
};

}  // namespace engine3d
