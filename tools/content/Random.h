// Random: a small seeded generator so every run of the builder draws the same noise.
#pragma once

#include <cstdint>

namespace content {

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}

  // Next 32 random bits.
  uint32_t next();
  // Uniform float in [0, 1).
  float unit();
  // Uniform float in [lo, hi).
  float range(float lo, float hi) { return lo + (hi - lo) * unit(); }
  // Uniform integer in [lo, hi].
  int between(int lo, int hi);

 private:
  uint64_t state_;
};

// Smooth value noise in [0, 1] over a lattice of `period` cells that wraps, so textures tile.
float tiledNoise(float x, float y, int period, uint32_t seed);

}  // namespace content
