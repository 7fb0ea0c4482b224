// Rotation quaternion (x, y, z, w), w the scalar part; identity (0, 0, 0, 1).
//
// Sines and cosines of half angles come from the rounded-index tables (sinLookup/cosLookup);
// acos and atan2 are the double-precision C functions with float results.
#pragma once

#include "engine3d/Vector3.h"

namespace engine3d {

struct Quaternion {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 1.0f;

  constexpr Quaternion() = default;
  constexpr Quaternion(float xValue, float yValue, float zValue, float wValue)
      : x(xValue), y(yValue), z(zValue), w(wValue) {}

  static constexpr Quaternion identity() { return {}; }

  // Sets the four components scaled to unit length (1 / sqrt(sum of squares), root in double).
  // All four zero stays all zero.
  void set(float xValue, float yValue, float zValue, float wValue);

  // Scales to unit length; a quaternion whose norm is not positive becomes (0, 0, 0, 0).
  void normalize();

  // (-x, -y, -z, w).
  constexpr Quaternion conjugate() const { return {-x, -y, -z, w}; }
  // conjugate / squared norm; the zero quaternion gives itself.
  Quaternion inverse() const;

  constexpr float squaredNorm() const { return x * x + y * y + z * z + w * w; }

  // this = this * b.
  Quaternion& operator*=(const Quaternion& b);

  // Rotation of `angle` radians about `axis` (need not be unit length):
  // (axis / |axis| * sin(angle / 2), cos(angle / 2)). An axis no longer than mathEpsilon gives
  // (0, 0, 0, 0), not the identity.
  static Quaternion fromAxisAngle(const Vector3& axis, float angle);

  // The rotation that turns direction p into direction q. Angles not above mathEpsilon give the
  // identity; opposite directions turn about `fallbackAxis`, or (0, 1, 0) when it is null.
  static Quaternion shortestArc(const Vector3& p, const Vector3& q,
                                const Vector3* fallbackAxis = nullptr);

  // Axis (normalised vector part, zero when that part is no longer than mathEpsilon) and angle
  // 2 * atan2(|(x, y, z)|, w) in radians.
  void toAxisAngle(Vector3& axis, float& angle) const;

  friend constexpr bool operator==(const Quaternion&, const Quaternion&) = default;
};

// Hamilton product a * b (applying b first, then a).
constexpr Quaternion operator*(const Quaternion& a, const Quaternion& b) {
  return {
      a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
      a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

// out = a * b; out may be a or b.
void mul(Quaternion& out, const Quaternion& a, const Quaternion& b);

constexpr float dot(const Quaternion& a, const Quaternion& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

// Spherical interpolation; the result replaces q0. When q0 . q1 < 0, q1 is negated in place
// (so the shorter way round is taken). Nearly equal inputs fall back to linear weights. The
// result is not renormalised.
void slerp(Quaternion& q0, Quaternion& q1, float t);

}  // namespace engine3d
