// The span filler for 32-bit 0x00RRGGBB targets.
#include "engine3d/Colour.h"
#include "engine3d/soft/SpanFillerImpl.h"

namespace engine3d {

namespace {

// Colour operations on 0x00RRGGBB pixels, channel by channel.
struct Format32 {
  using Pixel = std::uint32_t;
  static constexpr std::uint32_t kWhite = 0xFFFFFFu;
  static constexpr std::uint32_t kMask = 0xFFFFFFu;  // addSaturate may leave a carry in bit 24

  static std::uint32_t fromTexel(std::uint32_t t) { return t; }
  static int r(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
  static int g(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
  static int b(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
  static std::uint32_t pack(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r & 0xFF) << 16) |
           (static_cast<std::uint32_t>(g & 0xFF) << 8) | static_cast<std::uint32_t>(b & 0xFF);
  }
  // Each channel a * b >> 8.
  static std::uint32_t multiply(std::uint32_t a, std::uint32_t c) {
    return pack(r(a) * r(c) >> 8, g(a) * g(c) >> 8, b(a) * b(c) >> 8);
  }
  // Each channel * k >> 8.
  static std::uint32_t scale(std::uint32_t c, int k) {
    return pack(r(c) * k >> 8, g(c) * k >> 8, b(c) * k >> 8);
  }
  static std::uint32_t addSaturate(std::uint32_t a, std::uint32_t c) {
    return engine3d::addSaturate(a, c);
  }
  // c + (dst - c) * w / 256, the division rounding toward zero.
  static std::uint32_t blendDivide(std::uint32_t c, std::uint32_t dst, int w) {
    return pack(r(c) + (r(dst) - r(c)) * w / 256, g(c) + (g(dst) - g(c)) * w / 256,
                b(c) + (b(dst) - b(c)) * w / 256);
  }
  // c + ((dst - c) * w >> 8), the shift rounding toward minus infinity.
  static std::uint32_t blendShift(std::uint32_t c, std::uint32_t dst, int w) {
    return pack(r(c) + ((r(dst) - r(c)) * w >> 8), g(c) + ((g(dst) - g(c)) * w >> 8),
                b(c) + ((b(dst) - b(c)) * w >> 8));
  }
  // base + ((c - base) * a >> 8): a = 256 gives c, 0 gives base.
  static std::uint32_t lerp(std::uint32_t base, std::uint32_t c, int a) {
    return pack(r(base) + ((r(c) - r(base)) * a >> 8), g(base) + ((g(c) - g(base)) * a >> 8),
                b(base) + ((b(c) - b(base)) * a >> 8));
  }
  // The mean of the three channels, 0..255.
  static int opacityWeight(std::uint32_t o) { return (r(o) + g(o) + b(o)) / 3; }
};

}  // namespace

HalfFiller spanFiller32(int mode, bool textured, bool fog) {
  return soft_detail::pickFiller<Format32>(mode, textured, fog);
}

}  // namespace engine3d
