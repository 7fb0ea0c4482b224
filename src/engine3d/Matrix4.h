// 4x4 single-precision matrix, row-major: the element of row r, column c is m[4r + c].
//
// Points are column vectors multiplied on the right (p' = M p), so A * B applies B first. The
// translation of an affine matrix is in elements 3, 7 and 11 and its bottom row is (0, 0, 0, 1).
// A consumer that wants column-major storage (OpenGL) transposes when loading.
//
// Rotation builders take sine and cosine from the tables with the truncated index (angleIndex).
#pragma once

#include <array>
#include <cstdint>

#include "engine3d/Quaternion.h"
#include "engine3d/Vector3.h"

namespace engine3d {

struct Matrix4 {
  // Identity at construction.
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

  static constexpr Matrix4 identity() { return {}; }
  constexpr void setIdentity() { *this = Matrix4(); }

  constexpr float& operator[](int i) { return m[i]; }
  constexpr float operator[](int i) const { return m[i]; }
  constexpr float& at(int row, int column) { return m[4 * row + column]; }
  constexpr float at(int row, int column) const { return m[4 * row + column]; }

  // Element-wise sum and difference.
  Matrix4& operator+=(const Matrix4& o);
  Matrix4& operator-=(const Matrix4& o);

  // Elements 3, 7, 11.
  void setTranslation(const Vector3& t);
  Vector3 translation() const { return {m[3], m[7], m[11]}; }
  // Elements 0, 5, 10; nothing else changes.
  void setScale(const Vector3& s);

  // These replace the upper-left 3x3 block only; translation and bottom row stay as they are.
  // About X: rows (1, 0, 0), (0, c, -s), (0, s, c).
  void setRotationX(float angle);
  // About Y: rows (c, 0, s), (0, 1, 0), (-s, 0, c).
  void setRotationY(float angle);
  // About Z: rows (c, -s, 0), (s, c, 0), (0, 0, 1).
  void setRotationZ(float angle);
  // About `axis` (normalised here; need not be unit length) by Rodrigues' formula with
  // t = 1 - cos: R = t a a^T + cos I + sin [a]x. An axis shorter than mathEpsilon gives the
  // identity block.
  void setRotation(const Vector3& axis, float angle);
  // From a quaternion, taken as given (not normalised):
  // rows (1 - 2y^2 - 2z^2, 2(xy - wz), 2(xz + wy)), (2(xy + wz), 1 - 2x^2 - 2z^2, 2(yz - wx)),
  //      (2(xz - wy), 2(yz + wx), 1 - 2x^2 - 2y^2).
  void setRotation(const Quaternion& q);

  // Full affine matrices (identity apart from the rotation block).
  static Matrix4 rotationX(float angle);
  static Matrix4 rotationY(float angle);
  static Matrix4 rotationZ(float angle);
  static Matrix4 rotation(const Vector3& axis, float angle);
  static Matrix4 rotation(const Quaternion& q);
  // Rotation about the line through `point` along `axis`: T(point) * R(axis, angle) *
  // T(-point); exactly the identity when angle == 0.
  static Matrix4 rotationAbout(const Vector3& axis, float angle, const Vector3& point);
  // Scale-rotate-translate: the rotation block of `q` with every element multiplied by `scale`,
  // translation `t`, bottom row (0, 0, 0, 1).
  static Matrix4 fromQuaternion(const Quaternion& q, float scale, const Vector3& t);
  static Matrix4 translationMatrix(const Vector3& t);

  // Camera and object orientation. f = normalize(target - eye), s = normalize(up x f),
  // u = normalize(f x s).
  // asView: rows s, u, f with translation (-s.eye, -u.eye, -f.eye): the view matrix of a camera
  //   at eye, with eye space x to the right, y up and z forward (looking down +z).
  // otherwise: columns s, u, f with translation eye (turns an object's +z toward the target).
  // An up vector parallel to the view direction leaves s and u zero (a degenerate matrix).
  static Matrix4 lookAt(const Vector3& eye, const Vector3& target, const Vector3& up, bool asView);

  // Projection with a horizontal field of view in degrees:
  // w = 2 near tan(fov / 2) (tan in double), h = w / aspect, then frustum(w, h, near, far).
  static Matrix4 perspective(float fovDegrees, float aspect, float near, float far);
  // m[0] = 2 near / w, m[5] = 2 near / h, m[10] = -(far + near) / (far - near),
  // m[11] = -2 far near / (far - near), m[14] = -1, everything else 0.
  static Matrix4 frustum(float w, float h, float near, float far);
  // Maps normalised coordinates (-1..1, y up) onto a screen area centred at (cx, cy) with y
  // down, keeping the aspect: e = min(|w|, |h|) / 2, diagonal (sign(w) e, -sign(h) e, 1, 1),
  // translation (cx, cy, 0); the sign of 0 counts as +1.
  static Matrix4 screenMatrix(float cx, float cy, float w, float h);

  // Inverts in place by cofactors. When |det| < mathEpsilon the reciprocal determinant is
  // replaced by +1e30 or -1e30 (by the sign of det, +1e30 for 0), so the result is huge
  // rather than infinite or NaN.
  void invert();
  Matrix4 inverted() const;
  float determinant() const;
  Matrix4 transposed() const;

  // p' = M p with translation (bottom row ignored).
  Vector3 transformPoint(const Vector3& p) const;
  void transformPointInPlace(Vector3& p) const { p = transformPoint(p); }
  // d' = M d without translation.
  Vector3 transformDirection(const Vector3& d) const;
  void transformDirectionInPlace(Vector3& d) const { d = transformDirection(d); }

  friend bool operator==(const Matrix4&, const Matrix4&) = default;
};

Matrix4 operator+(Matrix4 a, const Matrix4& b);
Matrix4 operator-(Matrix4 a, const Matrix4& b);

// out = a * b; out may alias a or b (the product is formed in a temporary first).
void mul(Matrix4& out, const Matrix4& a, const Matrix4& b);
// a = a * b.
void mulInPlace(Matrix4& a, const Matrix4& b);
Matrix4 operator*(const Matrix4& a, const Matrix4& b);

// The matrix as OpenGL ES takes it: column-major 16.16, out[4c + r] = trunc(65536 * m[4r + c])
// (saturating outside the 32-bit range).
std::array<std::int32_t, 16> toFixedColumnMajor(const Matrix4& m);

// The rotation of a rotation matrix's upper-left block, by the trace method: when
// T = 1 + m00 + m11 + m22 > mathEpsilon, w = sqrt(T) / 2 and the vector part follows from the
// off-diagonal differences; otherwise the largest diagonal element picks x, y or z first.
// Expects a proper rotation (orthonormal, det +1). Near half turns T is tiny but may still pass
// the threshold, which costs precision there.
Quaternion quaternionFromMatrix(const Matrix4& r);

}  // namespace engine3d
