// One picture's pixels in a platform bitmap that GDI and the program's own loops both draw on.
//
// A Surface is a top-down DIB section of 16 bits (RGB565, or BGR565 with red and blue swapped)
// or 32 bits (0x00RRGGBB, or 0x00BBGGRR swapped) per pixel, rows padded to a multiple of 4
// bytes, selected into a memory device context of its own. GDI is always told the masks
// F800/07E0/001F or FF0000/00FF00/0000FF, so a swapped Surface looks red/blue exchanged to GDI;
// only pictures meant for 3D textures are swapped.
//
// Colours handed in and out (keys, fills, pixels read) are 0x00RRGGBB; they are turned into the
// Surface's own layout where pixels are written or compared.
//
// A Surface lives inside the running host: destroy it before the host ends.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "host/Types.h"
#include "media/PixelBuffer.h"

namespace media {

// A colour key that matches no pixel: everything is copied.
inline constexpr uint32_t kNoColorKey = 0xFFFFFFFF;

class Surface {
 public:
  // A zero-filled Surface of |width| x |height| pixels, of the display depth when
  // `useDeviceDepth` is set and 32 bits otherwise, red and blue as `swapRedBlue` says. Null when
  // a side is 0, the picture would exceed kMaxImagePixels or the platform cannot make the bitmap.
  // The caller owns the result.
  static std::unique_ptr<Surface> create(int width, int height, bool useDeviceDepth,
                                         bool swapRedBlue = false);
  // The same with an explicit layout (16 or 32 bits, anything else gives null); `useDeviceDepth`
  // is only recorded.
  static std::unique_ptr<Surface> create(int width, int height, PixelLayout layout,
                                         bool useDeviceDepth);
  // A Surface holding a decoded frame: its pixels in their layout, its key and its delay.
  // Null when the frame is empty or the bitmap cannot be made.
  static std::unique_ptr<Surface> fromFrame(const ImageFrame& frame, bool useDeviceDepth);
  // A deep copy: geometry, pixels, layout, key and delay. Null when the bitmap cannot be made.
  std::unique_ptr<Surface> copy() const;

  // Deselects and deletes the bitmap and deletes the device context.
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // Geometry, as the bitmap reports it.
  uint8_t* bits() { return bits_; }
  const uint8_t* bits() const { return bits_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int bytesPerPixel() const { return bitsPerPixel_ / 8; }
  int stride() const { return stride_; }
  int bitsPerPixel() const { return bitsPerPixel_; }
  int imageSize() const { return stride_ * height_; }
  PixelLayout layout() const { return layout_; }
  // The useDeviceDepth value this Surface was made with (Surfaces derived from it take it on).
  bool useDeviceDepth() const { return useDeviceDepth_; }
  // The memory device context the bitmap is selected into, and the bitmap; both owned here.
  host::Hdc dc() const { return dc_; }
  host::Hbitmap bitmap() const { return bitmap_; }

  // First byte of row y.
  uint8_t* row(int y) { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  const uint8_t* row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  // Address of pixel (x, y); null outside the Surface.
  uint8_t* pixelAddress(int x, int y);
  // Pixel (x, y) as 0x00RRGGBB (16-bit fields widened by shifting, low bits 0); 0 outside.
  uint32_t getPixel(int x, int y) const;
  // Writes `color` (0x00RRGGBB) at (x, y) in the Surface's layout; nothing outside.
  void setPixel(int x, int y, uint32_t color);
  // A colour value in this Surface's stored form (what a pixel of that colour holds).
  uint32_t pixelOf(uint32_t color) const { return packColor(color, layout_); }

  // GDI forms: copies of this Surface onto another device context.
  // The whole Surface size from (srcX, srcY) to (x, y) with raster operation `rop`.
  bool bitBlt(host::Hdc dst, int x, int y, uint32_t rop, int srcX = 0, int srcY = 0) const;
  // Scaled copy; the whole Surface when any source value is negative. A negative destination
  // width or height mirrors the picture.
  bool stretchBlt(host::Hdc dst, int x, int y, int w, int h, uint32_t rop, int srcX = -1,
                  int srcY = -1, int srcW = -1, int srcH = -1) const;
  // Scaled copy through the platform's TransparentImage, skipping pixels of colour `key`
  // (0x00RRGGBB); the whole Surface when any source value is negative.
  bool transparentBlt(host::Hdc dst, int x, int y, int w, int h, uint32_t key, int srcX = -1,
                      int srcY = -1, int srcW = -1, int srcH = -1) const;

  // Cleared when the geometry is refreshed; the 3D driver sets it once the pixels are uploaded
  // as a texture, after which the alpha routines leave them alone.
  bool uploaded = false;
  // Set when the geometry is refreshed; cleared once an alpha channel is written into the pixels.
  bool opaque = true;
  // When set, pixels of transparentColor (0x00RRGGBB) are see-through.
  bool transparent = false;
  uint32_t transparentColor = 0;
  // Seconds this frame stays up in an animation.
  float delay = 0.0f;

 private:
  Surface() = default;
  // Reads the geometry back from the bitmap.
  bool refreshGeometry();

  uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  int bitsPerPixel_ = 0;
  PixelLayout layout_;
  bool useDeviceDepth_ = true;
  host::Hdc dc_ = 0;
  host::Hbitmap bitmap_ = 0;
  host::Hgdiobj oldBitmap_ = 0;
};

// Loads the single picture at `path` (the first frame of a GIF; the decoder chosen by the name
// as loadImageFile does) into a new Surface of pictureDepth(useDeviceDepth) bits, red and blue
// swapped when `swapRedBlue` is set (BMP files never are). Null when nothing could be loaded;
// the loader has reported why. The caller owns the result.
std::unique_ptr<Surface> loadSurface(std::string_view path, bool useDeviceDepth, bool swapRedBlue);

}  // namespace media
