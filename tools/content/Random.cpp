#include "Random.h"

#include <cmath>

namespace content {

uint32_t Random::next() {
  // splitmix64: good spread, no state beyond one word.
  state_ += 0x9E3779B97F4A7C15ull;
  uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

float Random::unit() {
  return static_cast<float>(next() >> 8) / 16777216.0f;
}

int Random::between(int lo, int hi) {
  if (hi <= lo) return lo;
  return lo + static_cast<int>(next() % static_cast<uint32_t>(hi - lo + 1));
}

namespace {

float lattice(int x, int y, int period, uint32_t seed) {
  x = ((x % period) + period) % period;
  y = ((y % period) + period) % period;
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<float>(h & 0xFFFF) / 65535.0f;
}

float smooth(float t) {
  return t * t * (3.0f - 2.0f * t);
}

}  // namespace

float tiledNoise(float x, float y, int period, uint32_t seed) {
  int x0 = static_cast<int>(std::floor(x));
  int y0 = static_cast<int>(std::floor(y));
  float fx = smooth(x - static_cast<float>(x0));
  float fy = smooth(y - static_cast<float>(y0));
  float a = lattice(x0, y0, period, seed);
  float b = lattice(x0 + 1, y0, period, seed);
  float c = lattice(x0, y0 + 1, period, seed);
  float d = lattice(x0 + 1, y0 + 1, period, seed);
  float top = a + (b - a) * fx;
  float bottom = c + (d - c) * fx;
  return top + (bottom - top) * fy;
}

}  // namespace content
