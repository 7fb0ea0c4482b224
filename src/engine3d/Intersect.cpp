#include "engine3d/Intersect.h"

namespace engine3d {

bool pointInTriangle2D(float px, float py, float ax, float ay, float bx, float by, float cx,
                       float cy, float epsilon) {
  const float d0 = (bx - ax) * (py - ay) - (by - ay) * (px - ax);
  const float d1 = (cx - bx) * (py - by) - (cy - by) * (px - bx);
  const float d2 = (ax - cx) * (py - cy) - (ay - cy) * (px - cx);
  // The tolerance lets points on an edge (or a hair outside from rounding) count as inside,
  // so a point on the shared edge of two triangles is found in at least one of them.
  const bool allNonNegative = d0 >= -epsilon && d1 >= -epsilon && d2 >= -epsilon;
  const bool allNonPositive = d0 <= epsilon && d1 <= epsilon && d2 <= epsilon;
  return allNonNegative || allNonPositive;
}

bool axisLineCrossesTriangle(const Vector3& p, int axis, const Vector3& a, const Vector3& b,
                             const Vector3& c, float epsilon) {
  // The two remaining axes in cyclic order.
  const int u = (axis + 1) % 3;
  const int v = (axis + 2) % 3;
  return pointInTriangle2D(component(p, u), component(p, v), component(a, u), component(a, v),
                           component(b, u), component(b, v), component(c, u), component(c, v),
                           epsilon);
}

std::optional<Vector3> axisLinePlaneHit(const Vector3& p, int axis, const Vector3& pointOnPlane,
                                        const Vector3& n, float epsilon) {
  const float na = component(n, axis);
  if (na < epsilon && na > -epsilon) return std::nullopt;
  // n . (hit - pointOnPlane) = 0 with hit equal to p except along the axis.
  const float distance = dot(n, p - pointOnPlane);
  const float along = component(p, axis) - distance / na;
  Vector3 hit = p;
  if (axis == 0) {
    hit.x = along;
  } else if (axis == 1) {
    hit.y = along;
  } else {
    hit.z = along;
  }
  return hit;
}

bool spheresTouch(const Vector3& a, float ra, const Vector3& b, float rb) {
  const float r = ra + rb;
  return (a - b).squaredLength() <= r * r;
}

}  // namespace engine3d
