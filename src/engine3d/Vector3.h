// Three-component single-precision vector.
//
// Arithmetic is plain float arithmetic in the order written (no fused operations), so results
// are reproducible bit for bit. Lengths take the square root in double precision and store the
// result as float.
#pragma once

#include <string_view>

namespace engine3d {

struct Vector3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  constexpr Vector3() = default;
  constexpr Vector3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

  constexpr void set(float xValue, float yValue, float zValue) {
    x = xValue;
    y = yValue;
    z = zValue;
  }

  constexpr Vector3& operator+=(const Vector3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
  }
  constexpr Vector3& operator-=(const Vector3& o) {
    x -= o.x;
    y -= o.y;
    z -= o.z;
    return *this;
  }
  constexpr Vector3& operator*=(float k) {
    x *= k;
    y *= k;
    z *= k;
    return *this;
  }
  constexpr void negate() {
    x = -x;
    y = -y;
    z = -z;
  }

  // x*x + y*y + z*z.
  constexpr float squaredLength() const { return x * x + y * y + z * z; }
  // sqrt(squaredLength()) with the root taken in double.
  float length() const;

  // Divides by the length when it is greater than 0; a zero vector is left unchanged.
  // Returns *this.
  Vector3& normalize();

  friend constexpr bool operator==(const Vector3&, const Vector3&) = default;
};

constexpr Vector3 operator+(Vector3 a, const Vector3& b) {
  return a += b;
}
constexpr Vector3 operator-(Vector3 a, const Vector3& b) {
  return a -= b;
}
constexpr Vector3 operator*(Vector3 a, float k) {
  return a *= k;
}
constexpr Vector3 operator*(float k, Vector3 a) {
  return a *= k;
}
constexpr Vector3 operator-(Vector3 a) {
  a.negate();
  return a;
}

constexpr float dot(const Vector3& a, const Vector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// a x b = (a.y b.z - a.z b.y, a.z b.x - a.x b.z, a.x b.y - a.y b.x).
constexpr Vector3 cross(const Vector3& a, const Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Copy of v normalised (see Vector3::normalize).
Vector3 normalized(Vector3 v);

// normalize(a x b).
Vector3 normalizedCross(const Vector3& a, const Vector3& b);

// Angle in radians between a and b: acos(clamp(dot / (|a| |b|), -1, 1)), acos in double.
// When either vector has zero length the angle is 0.
float angleBetween(const Vector3& a, const Vector3& b);

// Normalises a and b in place, then returns their dot product.
float cosineBetween(Vector3& a, Vector3& b);

// Unit normal of the plane through p, q, r: normalize((q - p) x (r - q)). Zero for degenerate
// (collinear) points.
Vector3 planeNormal(const Vector3& p, const Vector3& q, const Vector3& r);

// p += (q - p) * t.
void moveToward(Vector3& p, const Vector3& q, float t);

// Moves p by distance d toward q: when |q - p| > mathEpsilon, p += normalize(q - p) * d, else
// p = q. The step is not clamped: a d longer than the distance overshoots q.
void stepToward(Vector3& p, const Vector3& q, float d);

// Text form "(x;y;z)": every blank, tab and round bracket is removed, the rest is split at ';'
// and the first three parts are read as decimal numbers (C locale). Missing or unreadable parts
// read as 0, so "(0;-1;0)" gives (0, -1, 0) and "" gives (0, 0, 0).
Vector3 parseVector(std::string_view text);

}  // namespace engine3d
