// Intersection tests used by collision queries.
//
// Both tests work with lines parallel to a coordinate axis (0 = x, 1 = y, 2 = z), which is how
// the collision grid asks: "where does the vertical line through p meet this triangle?".
#pragma once

#include <optional>

#include "engine3d/Vector3.h"

namespace engine3d {

// Component `axis` (0, 1, 2) of v.
constexpr float component(const Vector3& v, int axis) {
  return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

// Point-in-triangle test in 2D: (px, py) against the triangle (ax, ay), (bx, by), (cx, cy),
// either winding. Inside or on an edge when the three edge cross products
// (b - a) x (p - a), (c - b) x (p - b), (a - c) x (p - c) agree in sign within epsilon: all
// >= -epsilon or all <= epsilon. A degenerate triangle (all products within epsilon) accepts the
// point.
bool pointInTriangle2D(float px, float py, float ax, float ay, float bx, float by, float cx,
                       float cy, float epsilon);

// True when the line through p parallel to `axis` passes through triangle (a, b, c) (inside or
// on an edge), judged on the projection onto the plane of the two other axes.
bool axisLineCrossesTriangle(const Vector3& p, int axis, const Vector3& a, const Vector3& b,
                             const Vector3& c, float epsilon);

// Where the line through p parallel to `axis` meets the plane through `pointOnPlane` with
// normal n: p with its `axis` component replaced by the plane's. Empty when |n[axis]| < epsilon
// (the line is parallel to the plane).
std::optional<Vector3> axisLinePlaneHit(const Vector3& p, int axis, const Vector3& pointOnPlane,
                                        const Vector3& n, float epsilon);

// True when two spheres overlap or touch: |a - b|^2 <= (ra + rb)^2 (no square root).
bool spheresTouch(const Vector3& a, float ra, const Vector3& b, float rb);

}  // namespace engine3d
