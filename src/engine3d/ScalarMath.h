// Scalar constants and integer helpers shared by the whole engine.
//
// All floating-point values are single precision; the constants below are the exact float
// values every caller must use so that table indices and rounding agree everywhere.
#pragma once

#include <cstdint>

namespace engine3d {

// pi as the engine uses it (single precision).
inline constexpr float kPi = 3.1415927f;
// Tolerance for "is this length / angle zero" decisions.
inline constexpr float mathEpsilon = 1e-10f;
// Table entries per radian: 4096 / (2 pi).
inline constexpr float kAngleScale = 651.8986f;
// A whole number of turns (128) added to every angle before a table look-up, so angles down to
// -804.2 radians still produce a non-negative index.
inline constexpr float angleOffset = 256.0f * kPi;
// Degree and radian conversion factors.
inline constexpr float kDegreesToRadians = 0.017453292f;
inline constexpr float kRadiansToDegrees = 57.29578f;

inline constexpr float degreesToRadians(float degrees) {
  return degrees * kDegreesToRadians;
}
inline constexpr float radiansToDegrees(float radians) {
  return radians * kRadiansToDegrees;
}

// v limited to [lo, hi]. lo must not exceed hi.
inline constexpr int clamp(int v, int lo, int hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}
inline constexpr float clamp(float v, float lo, float hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}

// True when lo <= v < hi (half-open).
inline constexpr bool inRange(int v, int lo, int hi) {
  return lo <= v && v < hi;
}
inline constexpr bool inRange(float v, float lo, float hi) {
  return lo <= v && v < hi;
}

// Cyclic stepping: a value above hi becomes lo, a value below lo becomes hi, anything else is
// returned unchanged (so only one step past either end is folded back).
inline constexpr int wrap(int v, int lo, int hi) {
  return v > hi ? lo : (v < lo ? hi : v);
}
inline constexpr float wrap(float v, float lo, float hi) {
  return v > hi ? lo : (v < lo ? hi : v);
}

// floor(sqrt(n)) for every 32-bit n, computed bit by bit without division or floating point.
// isqrt(0xFFFFFFFF) == 65535.
std::uint32_t isqrt(std::uint32_t n);

// The smallest k with 2^k >= n; 0 for n < 2. log2Ceil(0xFFFFFFFF) == 32.
int log2Ceil(std::uint32_t n);

// For n >= 1: the exponent of the power of two nearest to n, where a tie goes to the smaller
// power (log2Nearest(3) == 1, log2Nearest(6) == 2). n == 0 gives 0.
int log2Nearest(std::uint32_t n);

}  // namespace engine3d
