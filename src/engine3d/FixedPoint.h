// 16.16 fixed point, the number format of mesh data, both renderers and every OpenGL ES call.
//
// one = 65536. Conversions from float truncate toward zero; values outside the 32-bit range
// saturate (instead of being undefined). Products of two 16.16 values must be formed on operands
// shifted right first so that the 32-bit product cannot overflow; fixedMulShifted states the
// shifts explicitly so that every caller reproduces the same low bits.
#pragma once

#include <cstdint>

namespace engine3d {

inline constexpr int fixedShift = 16;
inline constexpr std::int32_t fixedOne = 1 << fixedShift;
// 1 / 65536 exactly (float bits 0x37800000).
inline constexpr float fixedToFloat = 1.0f / 65536.0f;

// trunc(v) as a 32-bit integer; saturates outside [-2^31, 2^31 - 1], NaN gives 0.
constexpr std::int32_t truncateToInt(float v) {
  if (v != v) return 0;
  if (v >= 2147483648.0f) return INT32_MAX;
  if (v <= -2147483648.0f) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

// trunc(f * 65536): 1.5 -> 98304, -1.5 -> -98304, -0.00001 -> 0.
constexpr std::int32_t floatToFixed(float f) {
  return truncateToInt(f * static_cast<float>(fixedOne));
}

// trunc(f * 65536 + 0.5): rounds half up for non-negative values (used where centres are
// snapped to the fixed grid). For negative values it still truncates toward zero after adding
// one half, so -1.75 / 65536 gives -1 and -0.25 / 65536 gives 0.
constexpr std::int32_t floatToFixedRounded(float f) {
  return truncateToInt(f * static_cast<float>(fixedOne) + 0.5f);
}

// n << 16 (two's complement, so -1 gives -65536).
constexpr std::int32_t intToFixed(std::int32_t n) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(n) << fixedShift);
}

// v * (1 / 65536).
constexpr float fixedToFloatValue(std::int32_t v) {
  return static_cast<float>(v) * fixedToFloat;
}

// Integer part of a 16.16 value, rounding toward minus infinity (arithmetic shift).
constexpr std::int32_t fixedToInt(std::int32_t v) {
  return v >> fixedShift;
}

// 16.16 product in 32-bit arithmetic: ((a >> shiftA) * (b >> shiftB)) >> (16 - shiftA - shiftB),
// all shifts arithmetic. shiftA + shiftB must not exceed 16. The product wraps like the 32-bit
// multiply of the target when the pre-shifts are too small for the operands.
constexpr std::int32_t fixedMulShifted(std::int32_t a, std::int32_t b, int shiftA, int shiftB) {
  const std::uint32_t product =
      static_cast<std::uint32_t>(a >> shiftA) * static_cast<std::uint32_t>(b >> shiftB);
  return static_cast<std::int32_t>(product) >> (fixedShift - shiftA - shiftB);
}

}  // namespace engine3d
