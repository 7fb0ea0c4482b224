#include "engine3d/Random.h"

namespace engine3d {

int randomIntFromDraw(int draw, int lo, int hi) {
  // Single precision throughout, as on the target; the rounding is half away from zero so
  // that negative ranges are symmetric with positive ones.
  const float v = static_cast<float>(draw) * kRandomScale * static_cast<float>(hi - lo) +
                  static_cast<float>(lo);
  return static_cast<int>(v > 0.0f ? v + 0.5f : v - 0.5f);
}

float randomFloatFromDraw(int draw, float lo, float hi) {
  return static_cast<float>(draw) * kRandomScale * (hi - lo) + lo;
}

int Random::randomInt(int lo, int hi) {
  return randomIntFromDraw(next(), lo, hi);
}

float Random::randomFloat(float lo, float hi) {
  return randomFloatFromDraw(next(), lo, hi);
}

}  // namespace engine3d
