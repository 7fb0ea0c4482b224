#include <gtest/gtest.h>

#include <cmath>

#include "engine3d/ScalarMath.h"
#include "engine3d/Vector3.h"

namespace engine3d {
namespace {

void expectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-6f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(Vector3, ArithmeticAndProducts) {
  const Vector3 a(1, 2, 3);
  const Vector3 b(-4, 5, 0.5f);
  EXPECT_EQ(a + b, Vector3(-3, 7, 3.5f));
  EXPECT_EQ(a - b, Vector3(5, -3, 2.5f));
  EXPECT_EQ(a * 2.0f, Vector3(2, 4, 6));
  EXPECT_EQ(-a, Vector3(-1, -2, -3));
  EXPECT_EQ(dot(a, b), -4 + 10 + 1.5f);
  EXPECT_EQ(Vector3(2, 3, 6).length(), 7.0f);
  EXPECT_EQ(Vector3(2, 3, 6).squaredLength(), 49.0f);
}

TEST(Vector3, CrossFollowsTheRightHandRuleAndOrderMatters) {
  const Vector3 x(1, 0, 0);
  const Vector3 y(0, 1, 0);
  EXPECT_EQ(cross(x, y), Vector3(0, 0, 1));
  EXPECT_EQ(cross(y, x), Vector3(0, 0, -1));
  // (1,2,3) x (4,5,6) = (2*6 - 3*5, 3*4 - 1*6, 1*5 - 2*4)
  EXPECT_EQ(cross(Vector3(1, 2, 3), Vector3(4, 5, 6)), Vector3(-3, 6, -3));
  expectNear(normalizedCross(Vector3(2, 0, 0), Vector3(0, 0, 3)), Vector3(0, -1, 0));
}

TEST(Vector3, NormalizeLeavesZeroAlone) {
  Vector3 zero;
  zero.normalize();
  EXPECT_EQ(zero, Vector3(0, 0, 0));
  Vector3 v(3, 0, -4);
  v.normalize();
  expectNear(v, Vector3(0.6f, 0, -0.8f));
  // Tiny but non-zero vectors are still normalised.
  Vector3 tiny(1e-15f, 0, 0);
  tiny.normalize();
  EXPECT_FLOAT_EQ(tiny.x, 1.0f);
}

TEST(Vector3, AngleBetweenClampsAndHandlesZero) {
  EXPECT_NEAR(angleBetween(Vector3(1, 0, 0), Vector3(0, 5, 0)), 1.5707963, 1e-6);
  EXPECT_NEAR(angleBetween(Vector3(1, 1, 0), Vector3(1, 0, 0)), 0.78539816, 1e-6);
  // Parallel and opposite vectors whose rounded cosine can leave [-1, 1] must not give NaN.
  const Vector3 v(0.1f, 0.7f, 0.3f);
  const float same = angleBetween(v, v * 3.0f);
  EXPECT_FALSE(std::isnan(same));
  EXPECT_NEAR(same, 0.0f, 1e-3);
  const float opposite = angleBetween(v, v * -7.0f);
  EXPECT_FALSE(std::isnan(opposite));
  EXPECT_NEAR(opposite, 3.14159265, 1e-3);
  EXPECT_EQ(angleBetween(Vector3(), Vector3(1, 0, 0)), 0.0f);
}

TEST(Vector3, CosineBetweenNormalisesBothInPlace) {
  Vector3 a(2, 0, 0);
  Vector3 b(3, 3, 0);
  EXPECT_NEAR(cosineBetween(a, b), 0.70710678, 1e-6);
  expectNear(a, Vector3(1, 0, 0));
  expectNear(b, Vector3(0.70710678f, 0.70710678f, 0));
}

TEST(Vector3, PlaneNormalDependsOnWinding) {
  const Vector3 p(0, 0, 0);
  const Vector3 q(2, 0, 0);
  const Vector3 r(2, 3, 0);
  expectNear(planeNormal(p, q, r), Vector3(0, 0, 1));
  expectNear(planeNormal(p, r, q), Vector3(0, 0, -1));
  // Uses (q - p) x (r - q): a triangle in the y = 5 plane, counter-clockwise seen from above.
  expectNear(planeNormal(Vector3(0, 5, 0), Vector3(0, 5, 1), Vector3(1, 5, 1)), Vector3(0, 1, 0));
  // Collinear points give no direction and stay zero.
  EXPECT_EQ(planeNormal(p, q, Vector3(4, 0, 0)), Vector3(0, 0, 0));
}

TEST(Vector3, MoveAndStepToward) {
  Vector3 p(0, 0, 0);
  moveToward(p, Vector3(4, -8, 2), 0.25f);
  EXPECT_EQ(p, Vector3(1, -2, 0.5f));

  Vector3 s(1, 1, 1);
  stepToward(s, Vector3(1, 1, 11), 2.0f);
  expectNear(s, Vector3(1, 1, 3));
  // A step longer than the distance overshoots the target.
  Vector3 o(0, 0, 0);
  stepToward(o, Vector3(0, 1, 0), 3.0f);
  expectNear(o, Vector3(0, 3, 0));
  // At the target (within mathEpsilon) the point snaps onto it.
  Vector3 at(5, 5, 5);
  stepToward(at, Vector3(5, 5, 5), 1.0f);
  EXPECT_EQ(at, Vector3(5, 5, 5));
}

TEST(ParseVector, TextForms) {
  EXPECT_EQ(parseVector("(0;-1;0)"), Vector3(0, -1, 0));
  EXPECT_EQ(parseVector(" ( 1.5 ;\t2 ; -3e1 ) "), Vector3(1.5f, 2, -30));
  EXPECT_EQ(parseVector("1;2;3;4"), Vector3(1, 2, 3));
  // Blanks inside a number are removed too, joining its digits.
  EXPECT_EQ(parseVector("(1 2;0;0)"), Vector3(12, 0, 0));
  EXPECT_EQ(parseVector("(1;2)"), Vector3(1, 2, 0));
  EXPECT_EQ(parseVector(""), Vector3(0, 0, 0));
  EXPECT_EQ(parseVector("(a;0.25b;;)"), Vector3(0, 0.25f, 0));
}

}  // namespace
}  // namespace engine3d
