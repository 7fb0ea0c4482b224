#include "engine3d/Matrix4.h"

#include <cmath>

#include "engine3d/FixedPoint.h"
#include "engine3d/MathTables.h"
#include "engine3d/ScalarMath.h"

namespace engine3d {

Matrix4& Matrix4::operator+=(const Matrix4& o) {
  for (int i = 0; i < 16; ++i) m[i] += o.m[i];
  return *this;
}

Matrix4& Matrix4::operator-=(const Matrix4& o) {
  for (int i = 0; i < 16; ++i) m[i] -= o.m[i];
  return *this;
}

Matrix4 operator+(Matrix4 a, const Matrix4& b) {
  return a += b;
}
Matrix4 operator-(Matrix4 a, const Matrix4& b) {
  return a -= b;
}

void Matrix4::setTranslation(const Vector3& t) {
  m[3] = t.x;
  m[7] = t.y;
  m[11] = t.z;
}

void Matrix4::setScale(const Vector3& s) {
  m[0] = s.x;
  m[5] = s.y;
  m[10] = s.z;
}

namespace {

void setBlock(Matrix4& r, float a00, float a01, float a02, float a10, float a11, float a12,
              float a20, float a21, float a22) {
  r.m[0] = a00;
  r.m[1] = a01;
  r.m[2] = a02;
  r.m[4] = a10;
  r.m[5] = a11;
  r.m[6] = a12;
  r.m[8] = a20;
  r.m[9] = a21;
  r.m[10] = a22;
}

}  // namespace

void Matrix4::setRotationX(float angle) {
  const float s = sinTruncated(angle);
  const float c = cosTruncated(angle);
  setBlock(*this, 1, 0, 0, 0, c, -s, 0, s, c);
}

void Matrix4::setRotationY(float angle) {
  const float s = sinTruncated(angle);
  const float c = cosTruncated(angle);
  setBlock(*this, c, 0, s, 0, 1, 0, -s, 0, c);
}

void Matrix4::setRotationZ(float angle) {
  const float s = sinTruncated(angle);
  const float c = cosTruncated(angle);
  setBlock(*this, c, -s, 0, s, c, 0, 0, 0, 1);
}

void Matrix4::setRotation(const Vector3& axis, float angle) {
  const float len = axis.length();
  if (len < mathEpsilon) {
    setBlock(*this, 1, 0, 0, 0, 1, 0, 0, 0, 1);
    return;
  }
  const float x = axis.x / len;
  const float y = axis.y / len;
  const float z = axis.z / len;
  const float s = sinTruncated(angle);
  const float c = cosTruncated(angle);
  const float t = 1.0f - c;
  setBlock(*this, t * x * x + c, t * x * y - s * z, t * x * z + s * y,  //
           t * x * y + s * z, t * y * y + c, t * y * z - s * x,         //
           t * x * z - s * y, t * y * z + s * x, t * z * z + c);
}

void Matrix4::setRotation(const Quaternion& q) {
  const float x = q.x;
  const float y = q.y;
  const float z = q.z;
  const float w = q.w;
  setBlock(*this, 1.0f - 2.0f * y * y - 2.0f * z * z, 2.0f * (x * y - w * z),
           2.0f * (x * z + w * y),  //
           2.0f * (x * y + w * z), 1.0f - 2.0f * x * x - 2.0f * z * z,
           2.0f * (y * z - w * x),  //
           2.0f * (x * z - w * y), 2.0f * (y * z + w * x), 1.0f - 2.0f * x * x - 2.0f * y * y);
}

Matrix4 Matrix4::rotationX(float angle) {
  Matrix4 r;
  r.setRotationX(angle);
  return r;
}

Matrix4 Matrix4::rotationY(float angle) {
  Matrix4 r;
  r.setRotationY(angle);
  return r;
}

Matrix4 Matrix4::rotationZ(float angle) {
  Matrix4 r;
  r.setRotationZ(angle);
  return r;
}

Matrix4 Matrix4::rotation(const Vector3& axis, float angle) {
  Matrix4 r;
  r.setRotation(axis, angle);
  return r;
}

Matrix4 Matrix4::rotation(const Quaternion& q) {
  Matrix4 r;
  r.setRotation(q);
  return r;
}

Matrix4 Matrix4::translationMatrix(const Vector3& t) {
  Matrix4 r;
  r.setTranslation(t);
  return r;
}

Matrix4 Matrix4::rotationAbout(const Vector3& axis, float angle, const Vector3& point) {
  // Exact zero is the common "not turning" case; skipping the products keeps it exact.
  if (angle == 0.0f) return identity();
  return translationMatrix(point) * rotation(axis, angle) * translationMatrix(-point);
}

Matrix4 Matrix4::fromQuaternion(const Quaternion& q, float scale, const Vector3& t) {
  Matrix4 r = rotation(q);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) r.at(row, column) *= scale;
  }
  r.setTranslation(t);
  return r;
}

Matrix4 Matrix4::lookAt(const Vector3& eye, const Vector3& target, const Vector3& up, bool asView) {
  const Vector3 f = normalized(target - eye);
  const Vector3 s = normalizedCross(up, f);
  const Vector3 u = normalizedCross(f, s);
  Matrix4 r;
  if (asView) {
    setBlock(r, s.x, s.y, s.z, u.x, u.y, u.z, f.x, f.y, f.z);
    r.setTranslation({-dot(s, eye), -dot(u, eye), -dot(f, eye)});
  } else {
    setBlock(r, s.x, u.x, f.x, s.y, u.y, f.y, s.z, u.z, f.z);
    r.setTranslation(eye);
  }
  return r;
}

Matrix4 Matrix4::perspective(float fovDegrees, float aspect, float near, float far) {
  const double halfAngle = fovDegrees * kDegreesToRadians * 0.5f;
  const float w = 2.0f * near * static_cast<float>(std::tan(halfAngle));
  return frustum(w, w / aspect, near, far);
}

Matrix4 Matrix4::frustum(float w, float h, float near, float far) {
  Matrix4 r;
  for (float& e : r.m) e = 0.0f;
  r.m[0] = 2.0f * near / w;
  r.m[5] = 2.0f * near / h;
  r.m[10] = -(far + near) / (far - near);
  r.m[11] = -2.0f * far * near / (far - near);
  r.m[14] = -1.0f;
  return r;
}

Matrix4 Matrix4::screenMatrix(float cx, float cy, float w, float h) {
  const float e = std::fmin(std::fabs(w), std::fabs(h)) * 0.5f;
  const float signW = w < 0.0f ? -1.0f : 1.0f;
  const float signH = h < 0.0f ? -1.0f : 1.0f;
  Matrix4 r;
  r.m[0] = signW * e;
  r.m[5] = -signH * e;
  r.m[10] = 1.0f;
  r.setTranslation({cx, cy, 0.0f});
  return r;
}

void mul(Matrix4& out, const Matrix4& a, const Matrix4& b) {
  Matrix4 t;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      t.m[4 * r + c] = a.m[4 * r] * b.m[c] + a.m[4 * r + 1] * b.m[4 + c] +
                       a.m[4 * r + 2] * b.m[8 + c] + a.m[4 * r + 3] * b.m[12 + c];
    }
  }
  out = t;
}

void mulInPlace(Matrix4& a, const Matrix4& b) {
  mul(a, a, b);
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
  Matrix4 r;
  mul(r, a, b);
  return r;
}

namespace {

// Cofactor matrix entries, transposed (the adjugate), of a 4x4 matrix. The expansion works the
// same for row- and column-major storage because adj(M^T) = adj(M)^T.
void adjugate(const float* m, float* inv) {
  inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] +
           m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
  inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
           m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
  inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] +
           m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
  inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
            m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
  inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
           m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
  inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] +
           m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
  inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] -
           m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
  inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] +
            m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
  inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
           m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
  inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] -
           m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
  inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] +
            m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
  inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] -
            m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
  inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] -
           m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
  inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
           m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
  inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
            m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
  inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
            m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
}

}  // namespace

float Matrix4::determinant() const {
  float adj[16];
  adjugate(m, adj);
  // Expansion along the first row against the first column of the adjugate.
  return m[0] * adj[0] + m[1] * adj[4] + m[2] * adj[8] + m[3] * adj[12];
}

void Matrix4::invert() {
  float adj[16];
  adjugate(m, adj);
  const float det = m[0] * adj[0] + m[1] * adj[4] + m[2] * adj[8] + m[3] * adj[12];
  // A singular matrix still yields finite numbers: huge, but never inf or NaN, which the
  // fixed-point consumers could not represent anyway.
  float reciprocal;
  if (std::fabs(det) < mathEpsilon) {
    reciprocal = det < 0.0f ? -1e30f : 1e30f;
  } else {
    reciprocal = 1.0f / det;
  }
  for (int i = 0; i < 16; ++i) m[i] = adj[i] * reciprocal;
}

Matrix4 Matrix4::inverted() const {
  Matrix4 r = *this;
  r.invert();
  return r;
}

Matrix4 Matrix4::transposed() const {
  Matrix4 r;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) r.at(column, row) = at(row, column);
  }
  return r;
}

Vector3 Matrix4::transformPoint(const Vector3& p) const {
  return {m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3], m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
          m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11]};
}

Vector3 Matrix4::transformDirection(const Vector3& d) const {
  return {m[0] * d.x + m[1] * d.y + m[2] * d.z, m[4] * d.x + m[5] * d.y + m[6] * d.z,
          m[8] * d.x + m[9] * d.y + m[10] * d.z};
}

std::array<std::int32_t, 16> toFixedColumnMajor(const Matrix4& m) {
  std::array<std::int32_t, 16> out{};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) out[4 * c + r] = floatToFixed(m.at(r, c));
  }
  return out;
}

Quaternion quaternionFromMatrix(const Matrix4& r) {
  const float m00 = r.at(0, 0);
  const float m11 = r.at(1, 1);
  const float m22 = r.at(2, 2);
  const float trace = m00 + m11 + m22 + 1.0f;
  // Each branch first recovers one component s from the diagonal (|w| from the trace, else the
  // one of |x|, |y|, |z| whose diagonal element is largest), then the other three from the
  // off-diagonal sums and differences, which all equal 4 s times that component.
  if (trace > mathEpsilon) {
    const float s = static_cast<float>(std::sqrt(static_cast<double>(trace))) * 0.5f;
    const float k = 0.25f / s;
    return {(r.at(2, 1) - r.at(1, 2)) * k, (r.at(0, 2) - r.at(2, 0)) * k,
            (r.at(1, 0) - r.at(0, 1)) * k, s};
  }
  if (m00 > m11 && m00 > m22) {
    const float s =
        static_cast<float>(std::sqrt(static_cast<double>(1.0f + m00 - m11 - m22))) * 0.5f;
    const float k = 0.25f / s;
    return {s, (r.at(0, 1) + r.at(1, 0)) * k, (r.at(0, 2) + r.at(2, 0)) * k,
            (r.at(2, 1) - r.at(1, 2)) * k};
  }
  if (m11 > m22) {
    const float s =
        static_cast<float>(std::sqrt(static_cast<double>(1.0f + m11 - m00 - m22))) * 0.5f;
    const float k = 0.25f / s;
    return {(r.at(0, 1) + r.at(1, 0)) * k, s, (r.at(1, 2) + r.at(2, 1)) * k,
            (r.at(0, 2) - r.at(2, 0)) * k};
  }
  const float s = static_cast<float>(std::sqrt(static_cast<double>(1.0f + m22 - m00 - m11))) * 0.5f;
  const float k = 0.25f / s;
  return {(r.at(0, 2) + r.at(2, 0)) * k, (r.at(1, 2) + r.at(2, 1)) * k, s,
          (r.at(1, 0) - r.at(0, 1)) * k};
}

}  // namespace engine3d
