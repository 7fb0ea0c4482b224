// Pixel layouts of decoded pictures and the two process-wide switches that choose them.
//
// A decoded picture is 16 bits per pixel (RGB565) or 32 bits per pixel (0x00RRGGBB), top-down
// rows, each row padded to a multiple of 4 bytes. With red and blue swapped the 16-bit layout is
// BGR565 (blue in bits 15-11) and the 32-bit one 0x00BBGGRR. Going to 16 bits keeps the top
// 5, 6 and 5 bits of the 8-bit channels.
#pragma once

#include <cstdint>

namespace media {

// Where a decoder writes its pixels: 16 or 32 bits per pixel, red and blue in place or swapped.
struct PixelLayout {
  int bitsPerPixel = 32;
  bool swapRedBlue = false;

  int bytesPerPixel() const { return bitsPerPixel / 8; }
};

// One pixel from 8-bit channels, in the low 16 or 32 bits of the result.
inline uint32_t packPixel(uint32_t r, uint32_t g, uint32_t b, PixelLayout layout) {
  if (layout.swapRedBlue) {
    uint32_t t = r;
    r = b;
    b = t;
  }
  if (layout.bitsPerPixel == 16) return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
  return (r << 16) | (g << 8) | b;
}

// The same from a colour value 0x00RRGGBB.
inline uint32_t packColor(uint32_t rgb, PixelLayout layout) {
  return packPixel((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, layout);
}

// A stored pixel back to 0x00RRGGBB; 16-bit fields are widened by shifting (low bits 0).
inline uint32_t unpackPixel(uint32_t pixel, PixelLayout layout) {
  uint32_t r, g, b;
  if (layout.bitsPerPixel == 16) {
    r = ((pixel >> 11) & 0x1F) << 3;
    g = ((pixel >> 5) & 0x3F) << 2;
    b = (pixel & 0x1F) << 3;
  } else {
    r = (pixel >> 16) & 0xFF;
    g = (pixel >> 8) & 0xFF;
    b = pixel & 0xFF;
  }
  if (layout.swapRedBlue) {
    uint32_t t = r;
    r = b;
    b = t;
  }
  return (r << 16) | (g << 8) | b;
}

// Process-wide switches, set once when a page starts and before it loads pictures.
//
// useDeviceDepth (initially on): new pictures take the display depth; off gives 32 bits.
// swapRedBlue (initially off): decoders write the red/blue-swapped layouts (set while the 3D
// driver uploads pictures as textures).
bool useDeviceDepth();
void setUseDeviceDepth(bool on);
bool swapRedBlue();
void setSwapRedBlue(bool on);

// The display depth as pictures use it: 16 or 32. Found on first use from the running host's
// screen (its bits per pixel, mapped as setDisplayDepth does) and cached from then on.
int displayDepth();
// Records the display's bits per pixel: below 24 gives 16, 24 and above gives 32. Zero forgets
// the cached value, so that the next displayDepth() asks the host again.
void setDisplayDepth(int bitsPerPixel);

// The depth a new picture gets for a given useDeviceDepth value: the display depth, or 32.
int pictureDepth(bool useDeviceDepth);

// The layout decoders write now: pictureDepth(useDeviceDepth()) with swapRedBlue().
PixelLayout currentLayout();

}  // namespace media
