#include "host/PixelSurface.h"

#include <cstdlib>

namespace host {

int bitsOf(PixelFormat format) {
  switch (format) {
    case PixelFormat::Indexed1:
      return 1;
    case PixelFormat::Indexed4:
      return 4;
    case PixelFormat::Indexed8:
      return 8;
    case PixelFormat::Rgb555:
    case PixelFormat::Rgb565:
      return 16;
    case PixelFormat::Bgr24:
      return 24;
    case PixelFormat::Xrgb32:
      return 32;
  }
  return 0;
}

std::uint32_t PixelSurface::raw(int x, int y) const {
  const std::uint8_t* r = row(y);
  switch (format) {
    case PixelFormat::Indexed1:
      return (r[x >> 3] >> (7 - (x & 7))) & 1;
    case PixelFormat::Indexed4:
      return (r[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    case PixelFormat::Indexed8:
      return r[x];
    case PixelFormat::Rgb555:
    case PixelFormat::Rgb565:
      return reinterpret_cast<const std::uint16_t*>(r)[x];
    case PixelFormat::Bgr24: {
      const std::uint8_t* p = r + x * 3;
      return p[0] | (p[1] << 8) | (p[2] << 16);
    }
    case PixelFormat::Xrgb32:
      return reinterpret_cast<const std::uint32_t*>(r)[x] & 0xFFFFFF;
  }
  return 0;
}

void PixelSurface::setRaw(int x, int y, std::uint32_t value) const {
  std::uint8_t* r = row(y);
  switch (format) {
    case PixelFormat::Indexed1: {
      std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
      r[x >> 3] = static_cast<std::uint8_t>((value & 1) ? (r[x >> 3] | bit) : (r[x >> 3] & ~bit));
      break;
    }
    case PixelFormat::Indexed4: {
      std::uint8_t& b = r[x >> 1];
      b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (value & 15))
                  : static_cast<std::uint8_t>((b & 0x0F) | ((value & 15) << 4));
      break;
    }
    case PixelFormat::Indexed8:
      r[x] = static_cast<std::uint8_t>(value);
      break;
    case PixelFormat::Rgb555:
    case PixelFormat::Rgb565:
      reinterpret_cast<std::uint16_t*>(r)[x] = static_cast<std::uint16_t>(value);
      break;
    case PixelFormat::Bgr24: {
      std::uint8_t* p = r + x * 3;
      p[0] = static_cast<std::uint8_t>(value);
      p[1] = static_cast<std::uint8_t>(value >> 8);
      p[2] = static_cast<std::uint8_t>(value >> 16);
      break;
    }
    case PixelFormat::Xrgb32:
      reinterpret_cast<std::uint32_t*>(r)[x] = value & 0xFFFFFF;
      break;
  }
}

std::uint32_t PixelSurface::rgbOfRaw(std::uint32_t v) const {
  switch (format) {
    case PixelFormat::Indexed1:
    case PixelFormat::Indexed4:
    case PixelFormat::Indexed8:
      return palette && v < palette->size() ? (*palette)[v] : 0;
    case PixelFormat::Rgb555: {
      std::uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
      return (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
    }
    case PixelFormat::Rgb565: {
      std::uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
      return (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
    }
    case PixelFormat::Bgr24:
    case PixelFormat::Xrgb32:
      return v & 0xFFFFFF;
  }
  return 0;
}

std::uint32_t PixelSurface::rawOfRgb(std::uint32_t rgb) const {
  std::uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  switch (format) {
    case PixelFormat::Indexed1:
    case PixelFormat::Indexed4:
    case PixelFormat::Indexed8: {
      if (!palette || palette->empty()) return 0;
      std::uint32_t best = 0;
      int bestDistance = 1 << 30;
      for (std::uint32_t i = 0; i < palette->size(); ++i) {
        std::uint32_t p = (*palette)[i];
        int dr = static_cast<int>((p >> 16) & 0xFF) - static_cast<int>(r);
        int dg = static_cast<int>((p >> 8) & 0xFF) - static_cast<int>(g);
        int db = static_cast<int>(p & 0xFF) - static_cast<int>(b);
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) bestDistance = d, best = i;
      }
      return best;
    }
    case PixelFormat::Rgb555:
      return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case PixelFormat::Rgb565:
      return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    case PixelFormat::Bgr24:
    case PixelFormat::Xrgb32:
      return rgb & 0xFFFFFF;
  }
  return 0;
}

std::uint32_t PixelSurface::rawMask() const {
  switch (format) {
    case PixelFormat::Indexed1:
      return 1;
    case PixelFormat::Indexed4:
      return 15;
    case PixelFormat::Indexed8:
      return 255;
    case PixelFormat::Rgb555:
      return 0x7FFF;
    case PixelFormat::Rgb565:
      return 0xFFFF;
    default:
      return 0xFFFFFF;
  }
}

}  // namespace host
