#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "engine3d/MathTables.h"
#include "engine3d/Matrix4.h"

namespace engine3d {
namespace {

Matrix4 fromRows(std::initializer_list<float> values) {
  Matrix4 r;
  int i = 0;
  for (float v : values) r.m[i++] = v;
  return r;
}

void expectMatrixNear(const Matrix4& actual, const Matrix4& expected, float tolerance = 1e-5f) {
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

void expectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(Matrix4, LayoutIsRowMajorWithTranslationInTheLastColumn) {
  Matrix4 m;
  EXPECT_EQ(m, Matrix4::identity());
  m.setTranslation(Vector3(7, 8, 9));
  EXPECT_EQ(m.m[3], 7.0f);
  EXPECT_EQ(m.m[7], 8.0f);
  EXPECT_EQ(m.m[11], 9.0f);
  EXPECT_EQ(m.at(1, 3), 8.0f);
  EXPECT_EQ(m.translation(), Vector3(7, 8, 9));
  m.setScale(Vector3(2, 3, 4));
  EXPECT_EQ(m.m[0], 2.0f);
  EXPECT_EQ(m.m[5], 3.0f);
  EXPECT_EQ(m.m[10], 4.0f);
  EXPECT_EQ(m.m[3], 7.0f);
  EXPECT_EQ(m.transformPoint(Vector3(1, 1, 1)), Vector3(9, 11, 13));
  EXPECT_EQ(m.transformDirection(Vector3(1, 1, 1)), Vector3(2, 3, 4));
  Vector3 p(1, 0, 0);
  m.transformPointInPlace(p);
  EXPECT_EQ(p, Vector3(9, 8, 9));
}

TEST(Matrix4, AddAndSubtractElementWise) {
  Matrix4 a = Matrix4::translationMatrix(Vector3(1, 2, 3));
  const Matrix4 b = Matrix4::identity();
  const Matrix4 sum = a + b;
  EXPECT_EQ(sum.m[0], 2.0f);
  EXPECT_EQ(sum.m[3], 1.0f);
  EXPECT_EQ(sum.m[15], 2.0f);
  EXPECT_EQ(sum.m[1], 0.0f);
  a -= b;
  EXPECT_EQ(a.m[0], 0.0f);
  EXPECT_EQ(a.m[7], 2.0f);
  EXPECT_EQ((a - a).m[11], 0.0f);
}

TEST(Matrix4, ProductOrderAndAliasing) {
  // A: x += 2y; B: y += 3x. A*B applies B first.
  const Matrix4 a = fromRows({1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  const Matrix4 b = fromRows({1, 0, 0, 0, 3, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  const Matrix4 ab = fromRows({7, 2, 0, 0, 3, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  const Matrix4 ba = fromRows({1, 2, 0, 0, 3, 7, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  EXPECT_EQ(a * b, ab);
  EXPECT_EQ(b * a, ba);

  Matrix4 out = a;
  mul(out, out, b);  // out aliases the left operand
  EXPECT_EQ(out, ab);
  out = b;
  mul(out, a, out);  // out aliases the right operand
  EXPECT_EQ(out, ab);
  Matrix4 self = a;
  mul(self, self, self);  // x += 4y
  EXPECT_EQ(self.m[1], 4.0f);
  Matrix4 inPlace = b;
  mulInPlace(inPlace, a);
  EXPECT_EQ(inPlace, ba);

  // Translate after scale: T * S p = 2p + t.
  const Matrix4 t = Matrix4::translationMatrix(Vector3(1, 2, 3));
  Matrix4 s;
  s.setScale(Vector3(2, 2, 2));
  EXPECT_EQ((t * s).transformPoint(Vector3(1, 1, 1)), Vector3(3, 4, 5));
  EXPECT_EQ((s * t).transformPoint(Vector3(1, 1, 1)), Vector3(4, 6, 8));
}

TEST(Matrix4, ProductUsesAllFourRows) {
  // A projective bottom row must take part in the product.
  const Matrix4 a = fromRows({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0});
  const Matrix4 b = Matrix4::translationMatrix(Vector3(0, 0, 5));
  const Matrix4 ab = a * b;
  EXPECT_EQ(ab.m[14], 1.0f);
  EXPECT_EQ(ab.m[15], 5.0f);
}

TEST(Matrix4, TransposeAndDeterminant) {
  const Matrix4 m = fromRows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
  const Matrix4 t = m.transposed();
  EXPECT_EQ(t.m[1], 5.0f);
  EXPECT_EQ(t.m[4], 2.0f);
  EXPECT_EQ(t.m[3], 13.0f);
  EXPECT_EQ(t.m[12], 4.0f);
  EXPECT_EQ(m.determinant(), 0.0f);  // rows in arithmetic progression
  EXPECT_EQ(fromRows({2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 5}).determinant(), 120.0f);
  // Swapping two rows of the identity flips the sign.
  EXPECT_EQ(fromRows({0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).determinant(), -1.0f);
  // A general matrix: det of [[2,1,0,0],[1,3,1,0],[0,1,4,1],[0,0,1,5]] by tridiagonal recursion
  // d1 = 2, d2 = 5, d3 = 4*5 - 2 = 18, d4 = 5*18 - 5 = 85.
  EXPECT_EQ(fromRows({2, 1, 0, 0, 1, 3, 1, 0, 0, 1, 4, 1, 0, 0, 1, 5}).determinant(), 85.0f);
}

TEST(Matrix4, InverseOfScaleAndTranslation) {
  Matrix4 m;
  m.setScale(Vector3(2, 4, 8));
  m.setTranslation(Vector3(2, 4, 8));
  Matrix4 expected;
  expected.setScale(Vector3(0.5f, 0.25f, 0.125f));
  expected.setTranslation(Vector3(-1, -1, -1));
  EXPECT_EQ(m.inverted(), expected);
  m.invert();
  EXPECT_EQ(m, expected);
}

TEST(Matrix4, InverseTimesMatrixIsIdentity) {
  Matrix4 m = Matrix4::rotation(Vector3(1, 2, 3), 0.7f);
  m.setTranslation(Vector3(-5, 3, 11));
  expectMatrixNear(m * m.inverted(), Matrix4::identity());
  expectMatrixNear(m.inverted() * m, Matrix4::identity());
  // A general (non-affine) matrix.
  const Matrix4 g = fromRows({2, 1, 0, 0, 1, 3, 1, 0, 0, 1, 4, 1, 0, 0, 1, 5});
  expectMatrixNear(g * g.inverted(), Matrix4::identity());
  // For a rotation the inverse is the transpose.
  const Matrix4 r = Matrix4::rotationY(1.1f);
  expectMatrixNear(r.inverted(), r.transposed());
}

TEST(Matrix4, SingularInverseUsesHugeReciprocal) {
  // det 0: adjugate diag(0, 0, 0, 1) times +1e30.
  Matrix4 m;
  m.m[15] = 0.0f;
  m.invert();
  EXPECT_EQ(m.m[0], 0.0f);
  EXPECT_EQ(m.m[15], 1e30f);
  // det -1e-11 (below mathEpsilon in magnitude): the reciprocal becomes -1e30.
  Matrix4 n;
  n.m[0] = -1.0f;
  n.m[15] = 1e-11f;
  n.invert();
  EXPECT_EQ(n.m[15], 1e30f);        // adjugate entry -1 times -1e30
  EXPECT_FLOAT_EQ(n.m[0], -1e19f);  // 1e-11 times -1e30
  EXPECT_FALSE(std::isinf(n.m[5]));
}

TEST(Matrix4, AxisRotationsTurnTheWayTheRowsSay) {
  // Quarter turns: +x to +y about z, +y to +z about x, +z to +x about y.
  expectNear(Matrix4::rotationZ(kPi / 2).transformPoint(Vector3(1, 0, 0)), Vector3(0, 1, 0));
  expectNear(Matrix4::rotationX(kPi / 2).transformPoint(Vector3(0, 1, 0)), Vector3(0, 0, 1));
  expectNear(Matrix4::rotationY(kPi / 2).transformPoint(Vector3(0, 0, 1)), Vector3(1, 0, 0));
  const Matrix4 z = Matrix4::rotationZ(1.0f);
  // Truncated index 651, not the rounded 652.
  EXPECT_EQ(z.m[0], cosTable()[651]);
  EXPECT_EQ(z.m[1], -sinTable()[651]);
  EXPECT_EQ(z.m[4], sinTable()[651]);
  EXPECT_EQ(z.m[10], 1.0f);
}

TEST(Matrix4, SetRotationKeepsTranslation) {
  Matrix4 m = Matrix4::translationMatrix(Vector3(4, 5, 6));
  m.setRotationX(0.3f);
  EXPECT_EQ(m.translation(), Vector3(4, 5, 6));
  m.setRotation(Vector3(0, 0, 0), 1.0f);  // zero axis: identity block
  EXPECT_EQ(m, Matrix4::translationMatrix(Vector3(4, 5, 6)));
}

TEST(Matrix4, AxisAngleRotation) {
  // About z it matches the z builder; the axis need not be unit length.
  expectMatrixNear(Matrix4::rotation(Vector3(0, 0, 2), 0.8f), Matrix4::rotationZ(0.8f), 1e-6f);
  // Turning the axis round equals turning the angle round, within one truncated table step.
  expectMatrixNear(Matrix4::rotation(Vector3(-3, 0, 0), 0.8f), Matrix4::rotationX(-0.8f), 2e-3f);
  // A third of a turn about (1, 1, 1) permutes the axes: x -> y -> z -> x.
  const Matrix4 r = Matrix4::rotation(Vector3(1, 1, 1), 2.0943951f);
  expectNear(r.transformPoint(Vector3(1, 0, 0)), Vector3(0, 1, 0), 2e-3f);
  expectNear(r.transformPoint(Vector3(0, 1, 0)), Vector3(0, 0, 1), 2e-3f);
  // Rotations keep lengths and have determinant 1.
  EXPECT_NEAR(r.determinant(), 1.0f, 1e-5f);
  EXPECT_NEAR(r.transformPoint(Vector3(3, 4, 0)).length(), 5.0f, 1e-5f);
}

TEST(Matrix4, RotationAboutAPoint) {
  const Vector3 pivot(1, 0, 0);
  const Matrix4 m = Matrix4::rotationAbout(Vector3(0, 0, 1), kPi / 2, pivot);
  expectNear(m.transformPoint(pivot), pivot);
  expectNear(m.transformPoint(Vector3(2, 0, 0)), Vector3(1, 1, 0));
  expectNear(m.transformPoint(Vector3(1, 1, 0)), Vector3(0, 0, 0));
  EXPECT_EQ(Matrix4::rotationAbout(Vector3(0, 1, 0), 0.0f, Vector3(5, 5, 5)), Matrix4::identity());
}

TEST(Matrix4, FromQuaternion) {
  // 90 degrees about z: (0, 0, sin 45, cos 45).
  const float h = 0.70710678f;
  const Matrix4 r = Matrix4::rotation(Quaternion(0, 0, h, h));
  expectMatrixNear(r, fromRows({0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}), 1e-6f);
  // 180 degrees about x: (1, 0, 0, 0) gives diag(1, -1, -1).
  EXPECT_EQ(Matrix4::rotation(Quaternion(1, 0, 0, 0)),
            fromRows({1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1}));
  // Scale-rotate-translate.
  const Matrix4 srt = Matrix4::fromQuaternion(Quaternion(0, 0, h, h), 3.0f, Vector3(1, 2, 3));
  expectNear(srt.transformPoint(Vector3(1, 0, 0)), Vector3(1, 5, 3));
  EXPECT_EQ(srt.m[15], 1.0f);
  EXPECT_EQ(srt.m[12], 0.0f);
}

TEST(Matrix4, ZeroQuaternionGivesTheIdentityBlock) {
  // The formula has constant 1s on the diagonal, so the zero quaternion made from a zero axis
  // means "no rotation".
  EXPECT_EQ(Matrix4::rotation(Quaternion::fromAxisAngle(Vector3(0, 0, 0), 1.0f)),
            Matrix4::identity());
}

TEST(Matrix4, LookAtAsView) {
  const Matrix4 v = Matrix4::lookAt(Vector3(0, 0, -10), Vector3(0, 0, 0), Vector3(0, 1, 0), true);
  EXPECT_EQ(v, Matrix4::translationMatrix(Vector3(0, 0, 10)));
  // The origin is 10 units ahead on +z.
  EXPECT_EQ(v.transformPoint(Vector3(0, 0, 0)), Vector3(0, 0, 10));

  // Looking along +x from (1, 2, 3): the target is straight ahead, world -z is to the right,
  // world +y stays up.
  const Vector3 eye(1, 2, 3);
  const Matrix4 w = Matrix4::lookAt(eye, Vector3(5, 2, 3), Vector3(0, 1, 0), true);
  expectNear(w.transformPoint(eye), Vector3(0, 0, 0));
  expectNear(w.transformPoint(Vector3(5, 2, 3)), Vector3(0, 0, 4));
  expectNear(w.transformPoint(Vector3(1, 2, 2)), Vector3(1, 0, 0));
  expectNear(w.transformPoint(Vector3(1, 3, 3)), Vector3(0, 1, 0));
  // The up vector need not be perpendicular to the view direction.
  const Matrix4 tilted = Matrix4::lookAt(eye, Vector3(5, 2, 3), Vector3(1, 1, 0), true);
  expectMatrixNear(tilted, w);
}

TEST(Matrix4, LookAtAsObjectOrientation) {
  // Columns s, u, f and translation eye: the object's +z points at the target.
  const Vector3 eye(1, 2, 3);
  const Matrix4 o = Matrix4::lookAt(eye, Vector3(5, 2, 3), Vector3(0, 1, 0), false);
  expectNear(o.transformPoint(Vector3(0, 0, 4)), Vector3(5, 2, 3));
  expectNear(o.transformDirection(Vector3(1, 0, 0)), Vector3(0, 0, -1));
  expectNear(o.translation(), eye);
  // It undoes the view matrix of the same camera.
  const Matrix4 v = Matrix4::lookAt(eye, Vector3(5, 2, 3), Vector3(0, 1, 0), true);
  expectMatrixNear(o * v, Matrix4::identity());
}

TEST(Matrix4, PerspectiveFromHorizontalFov) {
  const Matrix4 p = Matrix4::perspective(45, 1, 1, 10000);
  // 1 / tan(22.5 deg) = 2.41421356; -(10001 / 9999); -(20000 / 9999).
  EXPECT_NEAR(p.m[0], 2.41421356, 2e-6);
  EXPECT_NEAR(p.m[5], 2.41421356, 2e-6);
  EXPECT_NEAR(p.m[10], -1.00020002, 1e-6);
  EXPECT_NEAR(p.m[11], -2.00020002, 1e-6);
  EXPECT_EQ(p.m[14], -1.0f);
  for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13, 15}) EXPECT_EQ(p.m[i], 0.0f) << i;

  // The fov is horizontal: a wider aspect leaves element 0 and scales element 5.
  const Matrix4 wide = Matrix4::perspective(90, 4.0f / 3.0f, 2, 100);
  EXPECT_NEAR(wide.m[0], 1.0, 1e-6);
  EXPECT_NEAR(wide.m[5], 4.0 / 3.0, 1e-6);
  EXPECT_NEAR(wide.m[10], -102.0 / 98.0, 1e-6);
  EXPECT_NEAR(wide.m[11], -400.0 / 98.0, 1e-5);
}

TEST(Matrix4, Frustum) {
  const Matrix4 f = Matrix4::frustum(2, 4, 1, 3);
  EXPECT_EQ(f.m[0], 1.0f);
  EXPECT_EQ(f.m[5], 0.5f);
  EXPECT_EQ(f.m[10], -2.0f);
  EXPECT_EQ(f.m[11], -3.0f);
  EXPECT_EQ(f.m[14], -1.0f);
  EXPECT_EQ(f.m[15], 0.0f);
}

TEST(Matrix4, ScreenMatrix) {
  const Matrix4 s = Matrix4::screenMatrix(120, 160, 240, 320);
  EXPECT_EQ(s.m[0], 120.0f);   // half of the smaller side
  EXPECT_EQ(s.m[5], -120.0f);  // y flips to screen-down
  EXPECT_EQ(s.m[10], 1.0f);
  EXPECT_EQ(s.m[15], 1.0f);
  EXPECT_EQ(s.translation(), Vector3(120, 160, 0));
  EXPECT_EQ(s.transformPoint(Vector3(1, 1, 0)), Vector3(240, 40, 0));

  const Matrix4 flipped = Matrix4::screenMatrix(0, 0, -100, -50);
  EXPECT_EQ(flipped.m[0], -25.0f);
  EXPECT_EQ(flipped.m[5], 25.0f);
  // The sign of 0 counts as +1.
  const Matrix4 zero = Matrix4::screenMatrix(0, 0, 0, 10);
  EXPECT_EQ(zero.m[0], 0.0f);
  EXPECT_FALSE(std::signbit(zero.m[0]));
}

TEST(Matrix4, FixedColumnMajorForGl) {
  Matrix4 m = Matrix4::rotationZ(1.0f);
  m.setTranslation(Vector3(1.5f, -2.25f, 3));
  const auto out = toFixedColumnMajor(m);
  // The translation becomes the fourth column-major column.
  EXPECT_EQ(out[12], 98304);
  EXPECT_EQ(out[13], -147456);
  EXPECT_EQ(out[14], 196608);
  EXPECT_EQ(out[15], 65536);
  EXPECT_EQ(out[3], 0);
  // Row 0, column 1 (-sin) lands at index 4; negative values truncate toward zero.
  const double s = sinTable()[651];
  EXPECT_EQ(out[4], static_cast<std::int32_t>(-s * 65536.0));
  EXPECT_EQ(out[1], static_cast<std::int32_t>(s * 65536.0));
  EXPECT_EQ(out[10], 65536);
}

TEST(QuaternionFromMatrix, RoundTripsThroughEveryBranch) {
  const Quaternion cases[] = {
      Quaternion::fromAxisAngle(Vector3(1, 2, 3), 0.9f),    // trace branch
      Quaternion(1, 0, 0, 0),                               // 180 deg about x: x branch
      Quaternion(0, 1, 0, 0),                               // y branch
      Quaternion(0, 0, 1, 0),                               // z branch
      Quaternion::fromAxisAngle(Vector3(0, 1, 0), 2.967f),  // 170 deg: small trace
  };
  for (const Quaternion& q : cases) {
    const Quaternion back = quaternionFromMatrix(Matrix4::rotation(q));
    // q and -q are the same rotation.
    EXPECT_NEAR(std::fabs(dot(back, q)), 1.0f, 1e-5f);
    expectMatrixNear(Matrix4::rotation(back), Matrix4::rotation(q));
  }
}

TEST(QuaternionFromMatrix, NearHalfTurnsLosePrecisionButStayClose) {
  // At 177.6 degrees T = 1 + trace is about 0.0017, still above the threshold, so w comes from
  // sqrt(T) and the input's rounding is magnified about a hundredfold.
  const Quaternion q = Quaternion::fromAxisAngle(Vector3(0, -1, 0.2f), 3.1f);
  const Quaternion back = quaternionFromMatrix(Matrix4::rotation(q));
  EXPECT_NEAR(std::fabs(dot(back, q)), 1.0f, 1e-4f);
  expectMatrixNear(Matrix4::rotation(back), Matrix4::rotation(q), 5e-4f);
}

TEST(QuaternionFromMatrix, IdentityIsExact) {
  const Quaternion id = quaternionFromMatrix(Matrix4::identity());
  EXPECT_EQ(id, Quaternion::identity());
}

}  // namespace
}  // namespace engine3d
