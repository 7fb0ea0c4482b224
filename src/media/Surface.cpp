#include "media/Surface.h"

#include <cstdlib>
#include <cstring>

#include "host/Gdi.h"
#include "host/Host.h"
#include "host/PixelSurface.h"
#include "media/ImageLoader.h"

namespace media {
namespace {

host::Gdi& gdi() {
  return host::Host::get().gdi();
}

}  // namespace

std::unique_ptr<Surface> Surface::create(int width, int height, bool useDeviceDepth,
                                         bool swapRedBlue) {
  return create(width, height, PixelLayout{pictureDepth(useDeviceDepth), swapRedBlue},
                useDeviceDepth);
}

std::unique_ptr<Surface> Surface::create(int width, int height, PixelLayout layout,
                                         bool useDeviceDepth) {
  width = std::abs(width);
  height = std::abs(height);
  if (width == 0 || height == 0) return nullptr;
  if (layout.bitsPerPixel != 16 && layout.bitsPerPixel != 32) return nullptr;
  if (int64_t{width} * height > kMaxImagePixels) return nullptr;

  // Top-down rows described with bit fields, whatever order red and blue really have: the
  // swapped layouts exist for texture upload, where GDI never looks at the colours.
  const host::BitmapInfo info = host::topDownBitmapInfo(width, height, layout.bitsPerPixel);

  std::unique_ptr<Surface> surface(new Surface);
  surface->layout_ = layout;
  surface->useDeviceDepth_ = useDeviceDepth;
  host::Gdi& g = gdi();
  surface->dc_ = g.createCompatibleDc(0);
  if (surface->dc_ == 0) return nullptr;
  void* bits = nullptr;
  surface->bitmap_ = g.createDibSection(info, &bits);
  if (surface->bitmap_ == 0 || !surface->refreshGeometry()) return nullptr;
  surface->oldBitmap_ = g.selectObject(surface->dc_, surface->bitmap_);
  if (surface->oldBitmap_ == 0) return nullptr;
  return surface;
}

std::unique_ptr<Surface> Surface::fromFrame(const ImageFrame& frame, bool useDeviceDepth) {
  const PixelBuffer& pixels = frame.pixels;
  if (pixels.empty()) return nullptr;
  std::unique_ptr<Surface> surface =
      create(pixels.width, pixels.height, pixels.layout, useDeviceDepth);
  if (!surface) return nullptr;
  const size_t rowBytes = static_cast<size_t>(pixels.width) * pixels.bytesPerPixel();
  for (int y = 0; y < pixels.height; ++y) std::memcpy(surface->row(y), pixels.row(y), rowBytes);
  surface->transparent = frame.transparent;
  surface->transparentColor = frame.transparentColor;
  surface->delay = frame.delay;
  return surface;
}

std::unique_ptr<Surface> Surface::copy() const {
  std::unique_ptr<Surface> out = create(width_, height_, layout_, useDeviceDepth_);
  if (!out) return nullptr;
  std::memcpy(out->bits_, bits_, static_cast<size_t>(imageSize()));
  out->transparent = transparent;
  out->transparentColor = transparentColor;
  out->delay = delay;
  return out;
}

Surface::~Surface() {
  // Handles of a host that has already ended simply fail; nothing here touches freed memory.
  host::Gdi& g = gdi();
  if (dc_ != 0 && oldBitmap_ != 0) g.selectObject(dc_, oldBitmap_);
  if (bitmap_ != 0) g.deleteObject(bitmap_);
  if (dc_ != 0) g.deleteDc(dc_);
}

bool Surface::refreshGeometry() {
  host::BitmapObject object;
  if (!gdi().getObject(bitmap_, object)) return false;
  bits_ = static_cast<uint8_t*>(object.bits);
  width_ = object.width;
  height_ = object.height;
  stride_ = object.widthBytes;
  bitsPerPixel_ = object.bitsPerPixel;
  uploaded = false;
  opaque = true;
  return bits_ != nullptr;
}

uint8_t* Surface::pixelAddress(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return nullptr;
  return row(y) + x * bytesPerPixel();
}

uint32_t Surface::getPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const uint8_t* p = row(y) + x * bytesPerPixel();
  uint32_t raw;
  if (bitsPerPixel_ == 16) {
    uint16_t v;
    std::memcpy(&v, p, sizeof v);
    raw = v;
  } else {
    std::memcpy(&raw, p, sizeof raw);
  }
  return unpackPixel(raw, layout_);
}

void Surface::setPixel(int x, int y, uint32_t color) {
  uint8_t* p = pixelAddress(x, y);
  if (p == nullptr) return;
  uint32_t raw = pixelOf(color);
  if (bitsPerPixel_ == 16) {
    uint16_t v = static_cast<uint16_t>(raw);
    std::memcpy(p, &v, sizeof v);
  } else {
    std::memcpy(p, &raw, sizeof raw);
  }
}

bool Surface::bitBlt(host::Hdc dst, int x, int y, uint32_t rop, int srcX, int srcY) const {
  return gdi().bitBlt(dst, x, y, width_, height_, dc_, srcX, srcY, rop);
}

bool Surface::stretchBlt(host::Hdc dst, int x, int y, int w, int h, uint32_t rop, int srcX,
                         int srcY, int srcW, int srcH) const {
  if (srcX < 0 || srcY < 0 || srcW < 0 || srcH < 0) {
    srcX = srcY = 0;
    srcW = width_;
    srcH = height_;
  }
  return gdi().stretchBlt(dst, x, y, w, h, dc_, srcX, srcY, srcW, srcH, rop);
}

bool Surface::transparentBlt(host::Hdc dst, int x, int y, int w, int h, uint32_t key, int srcX,
                             int srcY, int srcW, int srcH) const {
  if (srcX < 0 || srcY < 0 || srcW < 0 || srcH < 0) {
    srcX = srcY = 0;
    srcW = width_;
    srcH = height_;
  }
  // GDI takes colours red-low.
  return gdi().transparentImage(dst, x, y, w, h, dc_, srcX, srcY, srcW, srcH,
                                host::swapRedBlue(key & 0xFFFFFF));
}

std::unique_ptr<Surface> loadSurface(std::string_view path, bool useDeviceDepth, bool swapRedBlue) {
  DecodeOptions options{PixelLayout{pictureDepth(useDeviceDepth), swapRedBlue}, DecodeLimits{}};
  std::optional<ImageFrame> frame = loadImageFile(path, options);
  if (!frame) return nullptr;
  return Surface::fromFrame(*frame, useDeviceDepth);
}

}  // namespace media
