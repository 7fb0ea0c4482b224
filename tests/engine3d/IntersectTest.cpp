#include <gtest/gtest.h>

#include "engine3d/Intersect.h"
#include "engine3d/ScalarMath.h"

namespace engine3d {
namespace {

TEST(PointInTriangle2D, InsideOutsideAndEdgesInBothWindings) {
  // Triangle (0,0), (4,0), (0,4) counter-clockwise, and the same clockwise.
  for (bool clockwise : {false, true}) {
    auto inside = [clockwise](float x, float y, float eps = 0.0f) {
      return clockwise ? pointInTriangle2D(x, y, 0, 0, 0, 4, 4, 0, eps)
                       : pointInTriangle2D(x, y, 0, 0, 4, 0, 0, 4, eps);
    };
    EXPECT_TRUE(inside(1, 1));
    EXPECT_TRUE(inside(2, 2));  // on the hypotenuse
    EXPECT_TRUE(inside(0, 0));  // a vertex
    EXPECT_TRUE(inside(2, 0));  // on an edge
    EXPECT_FALSE(inside(3, 3));
    EXPECT_FALSE(inside(-0.01f, 1));
    EXPECT_FALSE(inside(5, 0));  // on the edge's line, beyond the vertex
    // Just outside, within the tolerance of the edge product (|d| = 0.04 for 0.01 off).
    EXPECT_TRUE(inside(-0.01f, 1, 0.05f));
    EXPECT_FALSE(inside(-0.1f, 1, 0.05f));
  }
}

TEST(AxisLine, CrossesHorizontalTriangleAlongY) {
  const Vector3 a(0, 2, 0);
  const Vector3 b(4, 2, 0);
  const Vector3 c(0, 2, 4);
  EXPECT_TRUE(axisLineCrossesTriangle(Vector3(1, 10, 1), 1, a, b, c, mathEpsilon));
  EXPECT_FALSE(axisLineCrossesTriangle(Vector3(3, 10, 3), 1, a, b, c, mathEpsilon));
  // Along x the triangle is edge-on: only points in its plane's line project onto it.
  EXPECT_FALSE(axisLineCrossesTriangle(Vector3(1, 5, 1), 0, a, b, c, mathEpsilon));
}

TEST(AxisLine, PlaneHit) {
  // Floor y = 2 below (5, 10, 7).
  const auto floorHit =
      axisLinePlaneHit(Vector3(5, 10, 7), 1, Vector3(0, 2, 0), Vector3(0, 1, 0), mathEpsilon);
  ASSERT_TRUE(floorHit.has_value());
  EXPECT_EQ(*floorHit, Vector3(5, 2, 7));
  // Slope y = -z through the origin (normal (0, 1, 1) / sqrt 2): under z = 4 it is at y = -4.
  const float r = 0.70710678f;
  const auto slopeHit =
      axisLinePlaneHit(Vector3(0, 0, 4), 1, Vector3(0, 0, 0), Vector3(0, r, r), mathEpsilon);
  ASSERT_TRUE(slopeHit.has_value());
  EXPECT_NEAR(slopeHit->y, -4.0f, 1e-5f);
  EXPECT_EQ(slopeHit->z, 4.0f);
  // A wall (normal along x) is never hit by a vertical line.
  EXPECT_FALSE(
      axisLinePlaneHit(Vector3(0, 0, 0), 1, Vector3(1, 0, 0), Vector3(1, 0, 0), mathEpsilon));
  // Along x the wall is hit at its plane.
  const auto wallHit =
      axisLinePlaneHit(Vector3(-3, 1, 2), 0, Vector3(1, 0, 0), Vector3(-1, 0, 0), mathEpsilon);
  ASSERT_TRUE(wallHit.has_value());
  EXPECT_EQ(*wallHit, Vector3(1, 1, 2));
}

TEST(Spheres, TouchCompareSquaredDistances) {
  EXPECT_TRUE(spheresTouch(Vector3(0, 0, 0), 1, Vector3(3, 0, 0), 2));  // exactly touching
  EXPECT_FALSE(spheresTouch(Vector3(0, 0, 0), 1, Vector3(3.01f, 0, 0), 2));
  EXPECT_TRUE(spheresTouch(Vector3(1, 1, 1), 0.5f, Vector3(1.5f, 1.5f, 1), 0.3f));
}

}  // namespace
}  // namespace engine3d
