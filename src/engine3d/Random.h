// Small random helpers on the handheld C run time's generator.
//
// The generator is the linear congruential one of that run time: state = state * 214013 +
// 2531011 (mod 2^32), each draw returns bits 16..30 of the new state, so draws lie in
// [0, kRandomMax] = [0, 32767] and a given seed always yields the same sequence.
//
// There is no shared generator: whoever draws owns a Random (a battle owns its dice) and hands
// it to the code that draws, so a run is reproduced by its seed alone.
#pragma once

#include <cstdint>

namespace engine3d {

inline constexpr int kRandomMax = 32767;
// 1 / 32767 as the engine writes it; a draw of 32767 therefore maps to 1.0f.
inline constexpr float kRandomScale = 3.051851e-5f;

class Random {
 public:
  explicit Random(std::uint32_t seed = 1) : state_(seed) {}

  void seed(std::uint32_t seed) { state_ = seed; }

  // Next draw in [0, 32767].
  int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

  // next() * 3.051851e-5 * (hi - lo) + lo, rounded half away from zero. Both ends can occur;
  // lo > hi is allowed and gives values in [hi, lo].
  int randomInt(int lo, int hi);

  // next() * 3.051851e-5 * (hi - lo) + lo. Both ends can occur.
  float randomFloat(float lo, float hi);

 private:
  std::uint32_t state_;
};

// The maths behind Random::randomInt / randomFloat for a given draw r in [0, 32767]; exposed so
// that the mapping can be checked without a generator.
int randomIntFromDraw(int draw, int lo, int hi);
float randomFloatFromDraw(int draw, float lo, float hi);

}  // namespace engine3d
