// Packed colour arithmetic on 0x00RRGGBB values (red bits 16..23, green 8..15, blue 0..7).
//
// Channel operations read bits 0..23 only; results may carry junk above bit 23 (addSaturate
// sets bit 24 when red overflows) and every consumer masks or ignores it.
#pragma once

#include <cstdint>

namespace engine3d {

using Colour = std::uint32_t;

// r << 16 | g << 8 | b, with no masking: channels must already be 0..255.
constexpr Colour rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return r << 16 | g << 8 | b;
}
constexpr std::uint32_t red(Colour c) {
  return (c >> 16) & 0xFFu;
}
constexpr std::uint32_t green(Colour c) {
  return (c >> 8) & 0xFFu;
}
constexpr std::uint32_t blue(Colour c) {
  return c & 0xFFu;
}

// The RGB565 form of 0x00RRGGBB: the top 5, 6 and 5 bits of red, green and blue.
constexpr std::uint32_t toRgb565(Colour c) {
  return ((c & 0xF8u) | (((c >> 3) & 0x1F0000u) | (c & 0xFC00u)) >> 2) >> 3;
}

// (r + g + b) / 3, integer division: a value 0..255, not a packed colour.
constexpr std::uint32_t grey(Colour c) {
  return (red(c) + green(c) + blue(c)) / 3;
}

// Brightness (b + 3r + 6g) / 10 (integer division) repeated in all three channels.
constexpr Colour luma(Colour c) {
  return (blue(c) + 3 * red(c) + 6 * green(c)) / 10 * 0x010101u;
}

// ~c & 0xFFFFFF.
constexpr Colour invert(Colour c) {
  return ~c & 0xFFFFFFu;
}

// Per-channel a + b clamped at 255, in one integer addition. The lowest bits of green and red
// are dropped from both operands to make room for the carries, and blue's carry lands in
// green's lowest bit: addSaturate(0x0000FF, 0x000001) == 0x0001FF.
// s = (a & 0xFEFEFF) + (b & 0xFEFEFF); carries = s & 0x1010100;
// result = s | (carries - (carries >> 8)).
constexpr Colour addSaturate(Colour a, Colour b) {
  const std::uint32_t s = (a & 0xFEFEFFu) + (b & 0xFEFEFFu);
  const std::uint32_t carries = s & 0x1010100u;
  return s | (carries - (carries >> 8));
}

// Per-channel a - b clamped at 0: the complement of addSaturate on the complemented minuend,
// invert(addSaturate(invert(a), b)), so it shares its masks and its loss of the lowest bit of
// green and red.
constexpr Colour subSaturate(Colour a, Colour b) {
  return invert(addSaturate(invert(a), b));
}

// Each channel * k >> 8, for k in 0..256 (256 keeps the colour, 0 gives black). Larger k is
// not clamped: each channel keeps only its low 8 bits.
constexpr Colour scaleColour(Colour c, std::uint32_t k) {
  return rgb((red(c) * k >> 8) & 0xFFu, (green(c) * k >> 8) & 0xFFu, (blue(c) * k >> 8) & 0xFFu);
}

// Per channel b + ((a - b) * k >> 8) with an arithmetic shift: k = 256 gives a, k = 0 gives b.
constexpr Colour lerpColour(Colour a, Colour b, int k) {
  auto channel = [k](std::uint32_t ca, std::uint32_t cb) {
    const int d = static_cast<int>(ca) - static_cast<int>(cb);
    return static_cast<std::uint32_t>(static_cast<int>(cb) + ((d * k) >> 8)) & 0xFFu;
  };
  return rgb(channel(red(a), red(b)), channel(green(a), green(b)), channel(blue(a), blue(b)));
}

// Per channel a * b >> 8 (so 255 * 255 gives 254).
constexpr Colour mulColour(Colour a, Colour b) {
  return rgb(red(a) * red(b) >> 8, green(a) * green(b) >> 8, blue(a) * blue(b) >> 8);
}

// ((a >> 1) & 0x7F7F7F) + ((b >> 1) & 0x7F7F7F): each channel's halves summed, so the lowest
// bits are lost (average(1, 1) == 0).
constexpr Colour average(Colour a, Colour b) {
  return ((a >> 1) & 0x7F7F7Fu) + ((b >> 1) & 0x7F7F7Fu);
}

// True when the three channels are equal.
constexpr bool isGrey(Colour c) {
  return red(c) == green(c) && green(c) == blue(c);
}

}  // namespace engine3d
