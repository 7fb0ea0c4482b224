// A view of pixel memory in one of the formats GDI knows, with per-pixel conversion to and from
// 0x00RRGGBB. Blitters use it for the general case and take fast paths for equal formats.
#pragma once

#include <cstdint>
#include <vector>

namespace host {

enum class PixelFormat {
  Indexed1,
  Indexed4,
  Indexed8,
  Rgb555,  // 16-bit without bit fields
  Rgb565,  // 16-bit, masks F800/07E0/001F
  Bgr24,   // bytes B, G, R
  Xrgb32,  // 0x00RRGGBB words (bytes B, G, R, x)
};

int bitsOf(PixelFormat format);

struct PixelSurface {
  std::uint8_t* top = nullptr;  // first byte of the top row
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes from one row to the next one below (negative for bottom-up DIBs)
  PixelFormat format = PixelFormat::Rgb565;
  const std::vector<std::uint32_t>* palette = nullptr;  // 0x00RRGGBB entries for indexed

  std::uint8_t* row(int y) const { return top + static_cast<std::ptrdiff_t>(y) * stride; }
  // Raw value of a pixel (index, 16-bit word, or 24/32-bit value).
  std::uint32_t raw(int x, int y) const;
  void setRaw(int x, int y, std::uint32_t value) const;
  // Colour of a pixel as 0x00RRGGBB; 16-bit channels are widened by bit replication.
  std::uint32_t rgbAt(int x, int y) const { return rgbOfRaw(raw(x, y)); }
  void setRgb(int x, int y, std::uint32_t rgb) const { setRaw(x, y, rawOfRgb(rgb)); }
  std::uint32_t rgbOfRaw(std::uint32_t raw) const;
  // Nearest raw value for a colour (the closest palette entry for indexed formats).
  std::uint32_t rawOfRgb(std::uint32_t rgb) const;
  // All bits a raw value of this format can have (for inversion).
  std::uint32_t rawMask() const;
};

// 0x00BBGGRR (GDI order) and 0x00RRGGBB (pixel order) turned into each other.
inline std::uint32_t swapRedBlue(std::uint32_t c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace host
