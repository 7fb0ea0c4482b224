#include "media/TintFilter.h"

namespace media {
namespace {

// One field moved toward its target; the arithmetic shift floors, so a fade downward reaches the
// target one step earlier than a fade upward, as the integer form has it.
inline int32_t toward(int32_t c, int32_t target, int32_t amount) {
  return c + (((target - c) * amount) >> 8);
}

void tint16(Surface& s, uint32_t target, int32_t a) {
  const int32_t tr = (target >> 11) & 0x1F, tg = (target >> 5) & 0x3F, tb = target & 0x1F;
  for (int y = 0; y < s.height(); ++y) {
    uint16_t* p = reinterpret_cast<uint16_t*>(s.row(y));
    for (int x = 0; x < s.width(); ++x) {
      const int32_t v = p[x];
      const int32_t r = toward((v >> 11) & 0x1F, tr, a);
      const int32_t g = toward((v >> 5) & 0x3F, tg, a);
      const int32_t b = toward(v & 0x1F, tb, a);
      p[x] = static_cast<uint16_t>((r << 11) | (g << 5) | b);
    }
  }
}

void tint32(Surface& s, uint32_t target, int32_t a) {
  const int32_t t2 = (target >> 16) & 0xFF, t1 = (target >> 8) & 0xFF, t0 = target & 0xFF;
  for (int y = 0; y < s.height(); ++y) {
    uint32_t* p = reinterpret_cast<uint32_t*>(s.row(y));
    for (int x = 0; x < s.width(); ++x) {
      const uint32_t v = p[x];
      const int32_t c2 = toward((v >> 16) & 0xFF, t2, a);
      const int32_t c1 = toward((v >> 8) & 0xFF, t1, a);
      const int32_t c0 = toward(v & 0xFF, t0, a);
      p[x] = (v & 0xFF000000u) | (uint32_t(c2) << 16) | (uint32_t(c1) << 8) | uint32_t(c0);
    }
  }
}

}  // namespace

void TintFilter::apply(Surface& surface) const {
  if (amount_ == 0) return;
  // The target in the Surface's own layout, so that swapped Surfaces move toward the same colour.
  const uint32_t target = surface.pixelOf(color_);
  if (surface.bitsPerPixel() == 16)
    tint16(surface, target, amount_);
  else
    tint32(surface, target, amount_);
}

}  // namespace media
