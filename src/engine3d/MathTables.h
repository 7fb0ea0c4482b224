// Table trigonometry: 4096 entries per turn (about 0.088 degrees per entry).
//
// The tables are filled once, in double precision and stored as float, and never change after.
// Angles are radians. Two index forms exist and callers must keep to the one their results are
// defined with:
//  - angleIndex (truncated): used by the matrix rotation builders;
//  - roundedAngleIndex (0.5 added before truncation): used by sinLookup / cosLookup and through
//    them by the quaternion operations.
// Both are exact for angles >= -angleOffset (about -804.2 radians); for angles below that the
// index is still well defined (no undefined behaviour) but meaningless.
#pragma once

#include <array>
#include <cstdint>

#include "engine3d/ScalarMath.h"

namespace engine3d {

inline constexpr int kTableSize = 4096;
inline constexpr std::uint32_t kTableMask = kTableSize - 1;

using TrigTable = std::array<float, kTableSize>;

// Entry i = (float)sin(i * 2 pi / 4096) and (float)cos(i * 2 pi / 4096), computed in double.
// Built on first use; the references stay valid for the life of the program.
const TrigTable& sinTable();
const TrigTable& cosTable();

// Start-up: builds the tables, so that the first frame does not pay for them. Only the first call
// does anything.
void initMath();

namespace detail {
// Float to unsigned with truncation toward zero, reduced modulo 2^32, never undefined.
inline std::uint32_t truncateToUnsigned(float v) {
  if (!(v > -9.2e18f && v < 9.2e18f)) return 0;  // NaN and values beyond 64-bit range
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(v));
}
}  // namespace detail

// (unsigned)((a + angleOffset) * 651.8986) & 0xFFF, all in float, truncating.
inline std::uint32_t angleIndex(float a) {
  return detail::truncateToUnsigned((a + angleOffset) * kAngleScale) & kTableMask;
}

// As angleIndex but with 0.5 added before truncation (nearest entry).
inline std::uint32_t roundedAngleIndex(float a) {
  return detail::truncateToUnsigned((a + angleOffset) * kAngleScale + 0.5f) & kTableMask;
}

// Table sine and cosine with the rounded index.
inline float sinLookup(float a) {
  return sinTable()[roundedAngleIndex(a)];
}
inline float cosLookup(float a) {
  return cosTable()[roundedAngleIndex(a)];
}

// Table sine and cosine with the truncated index (the form the matrix builders use).
inline float sinTruncated(float a) {
  return sinTable()[angleIndex(a)];
}
inline float cosTruncated(float a) {
  return cosTable()[angleIndex(a)];
}

}  // namespace engine3d
