#include "engine3d/Quaternion.h"

#include <cmath>

#include "engine3d/MathTables.h"
#include "engine3d/ScalarMath.h"

namespace engine3d {

void Quaternion::set(float xValue, float yValue, float zValue, float wValue) {
  const float sum = xValue * xValue + yValue * yValue + zValue * zValue + wValue * wValue;
  // 1 / 0 would turn the zero quaternion into NaNs; keep it zero instead.
  const float k = sum > 0.0f ? static_cast<float>(1.0 / std::sqrt(static_cast<double>(sum))) : 0.0f;
  x = xValue * k;
  y = yValue * k;
  z = zValue * k;
  w = wValue * k;
}

void Quaternion::normalize() {
  const float norm = static_cast<float>(std::sqrt(static_cast<double>(squaredNorm())));
  if (norm <= 0.0f) {
    *this = Quaternion(0.0f, 0.0f, 0.0f, 0.0f);
    return;
  }
  x /= norm;
  y /= norm;
  z /= norm;
  w /= norm;
}

Quaternion Quaternion::inverse() const {
  const float n = squaredNorm();
  if (n == 0.0f) return *this;
  const Quaternion c = conjugate();
  return {c.x / n, c.y / n, c.z / n, c.w / n};
}

Quaternion& Quaternion::operator*=(const Quaternion& b) {
  *this = *this * b;
  return *this;
}

void mul(Quaternion& out, const Quaternion& a, const Quaternion& b) {
  out = a * b;
}

Quaternion Quaternion::fromAxisAngle(const Vector3& axis, float angle) {
  const float len = axis.length();
  if (len <= mathEpsilon) return {0.0f, 0.0f, 0.0f, 0.0f};
  const float half = angle * 0.5f;
  const float s = sinLookup(half);
  return {axis.x / len * s, axis.y / len * s, axis.z / len * s, cosLookup(half)};
}

Quaternion Quaternion::shortestArc(const Vector3& p, const Vector3& q,
                                   const Vector3* fallbackAxis) {
  const float theta = angleBetween(p, q);
  if (theta <= mathEpsilon) return identity();
  Vector3 axis;
  if (theta < kPi - mathEpsilon) {
    axis = cross(p, q);
  } else {
    // Opposite directions: every perpendicular axis works, so the caller may choose one.
    axis = fallbackAxis ? *fallbackAxis : Vector3(0.0f, 1.0f, 0.0f);
  }
  return fromAxisAngle(axis, theta);
}

void Quaternion::toAxisAngle(Vector3& axis, float& angle) const {
  const Vector3 v(x, y, z);
  const float len = v.length();
  axis = len <= mathEpsilon ? Vector3() : Vector3(x / len, y / len, z / len);
  angle = 2.0f * static_cast<float>(std::atan2(static_cast<double>(len), static_cast<double>(w)));
}

void slerp(Quaternion& q0, Quaternion& q1, float t) {
  float cosTheta = dot(q0, q1);
  if (cosTheta < 0.0f) {
    q1 = Quaternion(-q1.x, -q1.y, -q1.z, -q1.w);
    cosTheta = -cosTheta;
  }
  float k0;
  float k1;
  if (1.0f - std::fabs(cosTheta) > mathEpsilon) {
    const float theta = static_cast<float>(std::acos(static_cast<double>(cosTheta)));
    const float sinTheta = sinLookup(theta);
    if (sinTheta != 0.0f) {
      k0 = sinLookup((1.0f - t) * theta) / sinTheta;
      k1 = sinLookup(t * theta) / sinTheta;
    } else {
      // Angles below half a table step (about 0.00077 rad) read a table sine of exactly 0.
      k0 = 1.0f - t;
      k1 = t;
    }
  } else {
    // Nearly parallel: sin(theta) is too small to divide by, and linear weights are as good.
    k0 = 1.0f - t;
    k1 = t;
  }
  q0 = Quaternion(k0 * q0.x + k1 * q1.x, k0 * q0.y + k1 * q1.y, k0 * q0.z + k1 * q1.z,
                  k0 * q0.w + k1 * q1.w);
}

}  // namespace engine3d
