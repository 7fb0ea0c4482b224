// The span filler for 16-bit RGB565 targets.
#include "engine3d/soft/LightingUnit.h"
#include "engine3d/soft/SpanFillerImpl.h"

namespace engine3d {

namespace {

// Colour operations on RGB565 pixels, field by field (red and blue 0..31, green 0..63).
struct Format16 {
  using Pixel = std::uint16_t;
  static constexpr std::uint32_t kWhite = 0xFFFFu;
  static constexpr std::uint32_t kMask = 0xFFFFu;

  // Texels arrive as 0x00RRGGBB and are reduced to the target's format on the way.
  static std::uint32_t fromTexel(std::uint32_t t) { return toRgb565(t); }
  static int r(std::uint32_t c) { return static_cast<int>((c >> 11) & 31); }
  static int g(std::uint32_t c) { return static_cast<int>((c >> 5) & 63); }
  static int b(std::uint32_t c) { return static_cast<int>(c & 31); }
  static std::uint32_t pack(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r & 31) << 11) | (static_cast<std::uint32_t>(g & 63) << 5) |
           static_cast<std::uint32_t>(b & 31);
  }
  // The product of two colours, scaled back to each field's range.
  static std::uint32_t multiply(std::uint32_t a, std::uint32_t c) {
    return pack(r(a) * r(c) >> 5, g(a) * g(c) >> 6, b(a) * b(c) >> 5);
  }
  static std::uint32_t scale(std::uint32_t c, int k) {
    return pack(r(c) * k >> 8, g(c) * k >> 8, b(c) * k >> 8);
  }
  static std::uint32_t addSaturate(std::uint32_t a, std::uint32_t c) {
    return pack(std::min(r(a) + r(c), 31), std::min(g(a) + g(c), 63), std::min(b(a) + b(c), 31));
  }
  // Every blend of a 16-bit target shifts: field + (other - field) * w >> 8.
  static std::uint32_t blendDivide(std::uint32_t c, std::uint32_t dst, int w) {
    return blendShift(c, dst, w);
  }
  static std::uint32_t blendShift(std::uint32_t c, std::uint32_t dst, int w) {
    return pack(r(c) + ((r(dst) - r(c)) * w >> 8), g(c) + ((g(dst) - g(c)) * w >> 8),
                b(c) + ((b(dst) - b(c)) * w >> 8));
  }
  static std::uint32_t lerp(std::uint32_t base, std::uint32_t c, int a) {
    return pack(r(base) + ((r(c) - r(base)) * a >> 8), g(base) + ((g(c) - g(base)) * a >> 8),
                b(base) + ((b(c) - b(base)) * a >> 8));
  }
  // 2 * (r + g + b) of the fields: 0..250.
  static int opacityWeight(std::uint32_t o) { return 2 * (r(o) + g(o) + b(o)); }
};

}  // namespace

HalfFiller spanFiller16(int mode, bool textured, bool fog) {
  return soft_detail::pickFiller<Format16>(mode, textured, fog);
}

}  // namespace engine3d
