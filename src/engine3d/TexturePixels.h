// TexturePixels: the pixel memory behind a picture, as a hardware driver uploads it.
//
// A driver binds a picture by `name`, uploads `bits` once and then only binds it again; it may
// write an alpha channel into the pixels before the upload (the high byte of 32-bit pixels) and
// records both facts here. Whoever owns the memory clears `uploaded` (and sets `opaque`) when
// the pixels are renewed, so that the driver uploads them again.
//
// Pixel layout of 32-bit memory: the driver uploads the bytes as they lie (R, G, B, A in memory
// order), so pictures meant for it are decoded with red in the low byte (0xAABBGGRR words).
// Alpha counts transparency, 0 = opaque.
#pragma once

#include <cstdint>

namespace engine3d {

struct TexturePixels {
  std::uint8_t* bits = nullptr;  // first byte of the top row; not owned
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes per row
  int bitsPerPixel = 32;
  bool uploaded = false;  // the driver holds these pixels as a texture
  bool opaque = true;     // no alpha channel has been written into the pixels
  // A texture name unique in the process and fixed for the life of this record.
  std::uint32_t name = nextName();
  // The host GDI bitmap holding the memory, 0 when there is none (needed only by drawing
  // targets: a pixmap surface is made from it).
  std::uint32_t bitmap = 0;

  // Names start at 1 (0 is GL's default texture) and are never reused.
  static std::uint32_t nextName() {
    static std::uint32_t last = 0;
    return ++last;
  }
};

}  // namespace engine3d
