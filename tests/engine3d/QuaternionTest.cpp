#include <gtest/gtest.h>

#include <cmath>

#include "engine3d/MathTables.h"
#include "engine3d/Matrix4.h"
#include "engine3d/Quaternion.h"

namespace engine3d {
namespace {

void expectNear(const Quaternion& actual, const Quaternion& expected, float tolerance = 1e-6f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
  EXPECT_NEAR(actual.w, expected.w, tolerance);
}

void expectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(Quaternion, SetAndNormalize) {
  Quaternion q;
  EXPECT_EQ(q, Quaternion(0, 0, 0, 1));
  q.set(0, 0, 3, 4);
  expectNear(q, Quaternion(0, 0, 0.6f, 0.8f));
  q.set(0, 0, 0, 0);  // nothing to scale: stays zero instead of NaN
  EXPECT_EQ(q, Quaternion(0, 0, 0, 0));

  Quaternion n(0, 0, 0, -2);
  n.normalize();
  EXPECT_EQ(n, Quaternion(0, 0, 0, -1));
  Quaternion zero(0, 0, 0, 0);
  zero.normalize();
  EXPECT_EQ(zero, Quaternion(0, 0, 0, 0));
}

TEST(Quaternion, ConjugateAndInverse) {
  const Quaternion q(1, 2, 3, 4);
  EXPECT_EQ(q.conjugate(), Quaternion(-1, -2, -3, 4));
  // Squared norm 30.
  expectNear(q.inverse(), Quaternion(-1 / 30.0f, -2 / 30.0f, -3 / 30.0f, 4 / 30.0f));
  expectNear(q * q.inverse(), Quaternion::identity());
  expectNear(q.inverse() * q, Quaternion::identity());
}

TEST(Quaternion, ProductOfUnitsAndOrder) {
  const Quaternion i(1, 0, 0, 0);
  const Quaternion j(0, 1, 0, 0);
  const Quaternion k(0, 0, 1, 0);
  EXPECT_EQ(i * j, k);
  EXPECT_EQ(j * i, Quaternion(0, 0, -1, 0));
  EXPECT_EQ(j * k, i);
  EXPECT_EQ(k * i, j);
  EXPECT_EQ(i * i, Quaternion(0, 0, 0, -1));
  // A general product, expanded by hand:
  // (1,2,3,4) * (5,6,7,8): w = 32 - 5 - 12 - 21 = -6,
  // x = 4*5 + 1*8 + 2*7 - 3*6 = 24, y = 4*6 - 1*7 + 2*8 + 3*5 = 48,
  // z = 4*7 + 1*6 - 2*5 + 3*8 = 48.
  EXPECT_EQ(Quaternion(1, 2, 3, 4) * Quaternion(5, 6, 7, 8), Quaternion(24, 48, 48, -6));

  Quaternion out = i;
  mul(out, out, j);
  EXPECT_EQ(out, k);
  Quaternion a = j;
  a *= i;
  EXPECT_EQ(a, Quaternion(0, 0, -1, 0));
}

TEST(Quaternion, ProductComposesLikeMatrices) {
  const Quaternion a = Quaternion::fromAxisAngle(Vector3(0, 0, 1), 0.5f);
  const Quaternion b = Quaternion::fromAxisAngle(Vector3(1, 0, 0), 1.2f);
  const Matrix4 fromProduct = Matrix4::rotation(a * b);
  const Matrix4 product = Matrix4::rotation(a) * Matrix4::rotation(b);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(fromProduct.m[i], product.m[i], 1e-5f) << i;
}

TEST(Quaternion, FromAxisAngleUsesRoundedTables) {
  const Quaternion q = Quaternion::fromAxisAngle(Vector3(0, 0, 5), kPi / 2);
  // Half angle pi/4 is table entry 512 exactly.
  EXPECT_EQ(q, Quaternion(0, 0, sinTable()[512], cosTable()[512]));
  // Half of 2 rad: 1 rad is rounded entry 652.
  const Quaternion r = Quaternion::fromAxisAngle(Vector3(0, 1, 0), 2.0f);
  EXPECT_EQ(r.y, sinTable()[652]);
  EXPECT_EQ(r.w, cosTable()[652]);
  // A zero axis gives the zero quaternion, not the identity.
  EXPECT_EQ(Quaternion::fromAxisAngle(Vector3(0, 0, 0), 1.0f), Quaternion(0, 0, 0, 0));
  EXPECT_EQ(Quaternion::fromAxisAngle(Vector3(1e-11f, 0, 0), 1.0f), Quaternion(0, 0, 0, 0));
}

TEST(Quaternion, ToAxisAngle) {
  Vector3 axis;
  float angle = -1;
  Quaternion(0, 0, std::sin(0.6f), std::cos(0.6f)).toAxisAngle(axis, angle);
  expectNear(axis, Vector3(0, 0, 1));
  EXPECT_NEAR(angle, 1.2f, 1e-6f);
  // The vector part's length is the sine; a negative w gives the angle beyond pi.
  Quaternion(0, 0.6f, 0, -0.8f).toAxisAngle(axis, angle);
  expectNear(axis, Vector3(0, 1, 0));
  EXPECT_NEAR(angle, 2 * std::atan2(0.6, -0.8), 1e-6);
  Quaternion::identity().toAxisAngle(axis, angle);
  EXPECT_EQ(axis, Vector3(0, 0, 0));
  EXPECT_EQ(angle, 0.0f);
}

TEST(Quaternion, ShortestArc) {
  const Vector3 x(1, 0, 0);
  const Vector3 y(0, 2, 0);
  const Quaternion q = Quaternion::shortestArc(x, y);
  expectNear(Matrix4::rotation(q).transformPoint(x), Vector3(0, 1, 0), 2e-3f);
  EXPECT_EQ(Quaternion::shortestArc(x, x * 3.0f), Quaternion::identity());

  // Opposite directions turn half a turn about the fallback axis, (0, 1, 0) by default.
  const Quaternion flip = Quaternion::shortestArc(x, -x);
  EXPECT_NEAR(flip.y, 1.0f, 1e-6f);
  EXPECT_NEAR(flip.w, 0.0f, 1e-6f);
  const Vector3 fallback(0, 0, 1);
  const Quaternion flipZ = Quaternion::shortestArc(x, -x, &fallback);
  EXPECT_NEAR(flipZ.z, 1.0f, 1e-6f);
  expectNear(Matrix4::rotation(flipZ).transformPoint(x), -x, 1e-5f);
}

TEST(Slerp, HalfwayAndEnds) {
  const float h = 0.70710678f;
  const Quaternion quarter(0, 0, h, h);  // 90 degrees about z

  Quaternion q0 = Quaternion::identity();
  Quaternion q1 = quarter;
  slerp(q0, q1, 0.5f);
  // 45 degrees about z: (0, 0, sin 22.5, cos 22.5), within the table resolution.
  expectNear(q0, Quaternion(0, 0, 0.38268343f, 0.92387953f), 1e-3f);

  q0 = Quaternion::identity();
  q1 = quarter;
  slerp(q0, q1, 0.0f);
  expectNear(q0, Quaternion::identity(), 1e-6f);
  q0 = Quaternion::identity();
  slerp(q0, q1, 1.0f);
  expectNear(q0, quarter, 2e-3f);
}

TEST(Slerp, NegativeDotNegatesTheSecondInPlace) {
  const float h = 0.70710678f;
  Quaternion q0 = Quaternion::identity();
  Quaternion q1(0, 0, -h, -h);  // the same rotation as (0, 0, h, h)
  slerp(q0, q1, 0.5f);
  EXPECT_EQ(q1, Quaternion(0, 0, h, h));
  expectNear(q0, Quaternion(0, 0, 0.38268343f, 0.92387953f), 1e-3f);
}

TEST(Slerp, NearlyEqualInputsUseLinearWeights) {
  const Quaternion q(0.1f, 0.2f, 0.3f, 0.9273618f);
  Quaternion q0 = q;
  Quaternion q1 = q;
  slerp(q0, q1, 0.3f);
  EXPECT_FLOAT_EQ(q0.x, q.x);
  EXPECT_FLOAT_EQ(q0.w, q.w);

  // An angle below half a table step: the table sine of theta is 0, which must not divide.
  Quaternion a = Quaternion::identity();
  Quaternion b(0, 0, 0.0003f, 0.99999995f);
  slerp(a, b, 0.5f);
  EXPECT_TRUE(std::isfinite(a.z) && std::isfinite(a.w));
  EXPECT_NEAR(a.z, 0.00015f, 1e-5f);
  EXPECT_NEAR(a.w, 1.0f, 1e-6f);
}

}  // namespace
}  // namespace engine3d
