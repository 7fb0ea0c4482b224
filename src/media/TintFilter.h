// A filter that moves every pixel of a Surface toward one colour (fades to and from a colour).
#pragma once

#include <cstdint>

#include "media/Surface.h"

namespace media {

class TintFilter {
 public:
  // `color` is 0x00RRGGBB; `amount` runs from 0 (no change) to 256 (the colour itself).
  explicit TintFilter(uint32_t color = 0, int amount = 0) : color_(color) { setAmount(amount); }

  uint32_t color() const { return color_; }
  void setColor(uint32_t color) { color_ = color; }
  int amount() const { return amount_; }
  // Clamped to [0, 256].
  void setAmount(int amount) { amount_ = amount < 0 ? 0 : amount > 256 ? 256 : amount; }

  // Every pixel's channels c become c + (((target - c) * amount) >> 8), with the shift flooring
  // negative values. 16-bit Surfaces work on their 5-, 6- and 5-bit fields (the colour reduced
  // to them first), 32-bit Surfaces on the three colour bytes; a 32-bit pixel's top byte is kept.
  void apply(Surface& surface) const;

 private:
  uint32_t color_;
  int amount_ = 0;
};

}  // namespace media
