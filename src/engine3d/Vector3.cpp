#include "engine3d/Vector3.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "engine3d/ScalarMath.h"

namespace engine3d {

float Vector3::length() const {
  // The sum is single precision like the rest of the engine; only the root is double.
  return static_cast<float>(std::sqrt(static_cast<double>(squaredLength())));
}

Vector3& Vector3::normalize() {
  const float len = length();
  if (len > 0.0f) {
    x /= len;
    y /= len;
    z /= len;
  }
  return *this;
}

Vector3 normalized(Vector3 v) {
  return v.normalize();
}

Vector3 normalizedCross(const Vector3& a, const Vector3& b) {
  return normalized(cross(a, b));
}

float angleBetween(const Vector3& a, const Vector3& b) {
  const float lengths = a.length() * b.length();
  // A zero vector has no direction; answering 0 keeps callers (shortest-arc rotation) on their
  // "no rotation" path instead of propagating NaN.
  if (lengths == 0.0f) return 0.0f;
  const float c = clamp(dot(a, b) / lengths, -1.0f, 1.0f);
  return static_cast<float>(std::acos(static_cast<double>(c)));
}

float cosineBetween(Vector3& a, Vector3& b) {
  a.normalize();
  b.normalize();
  return dot(a, b);
}

Vector3 planeNormal(const Vector3& p, const Vector3& q, const Vector3& r) {
  return normalizedCross(q - p, r - q);
}

void moveToward(Vector3& p, const Vector3& q, float t) {
  p += (q - p) * t;
}

void stepToward(Vector3& p, const Vector3& q, float d) {
  Vector3 delta = q - p;
  if (delta.length() > mathEpsilon) {
    p += delta.normalize() * d;
  } else {
    p = q;
  }
}

Vector3 parseVector(std::string_view text) {
  std::string cleaned;
  cleaned.reserve(text.size());
  for (char ch : text) {
    if (ch != ' ' && ch != '\t' && ch != '(' && ch != ')') cleaned.push_back(ch);
  }
  float parts[3] = {0.0f, 0.0f, 0.0f};
  std::size_t start = 0;
  for (int i = 0; i < 3 && start <= cleaned.size(); ++i) {
    std::size_t end = cleaned.find(';', start);
    if (end == std::string::npos) end = cleaned.size();
    // strtod stops at the first character it cannot use, so "1.5x" reads 1.5 and "x" reads 0.
    const std::string part = cleaned.substr(start, end - start);
    parts[i] = static_cast<float>(std::strtod(part.c_str(), nullptr));
    start = end + 1;
  }
  return {parts[0], parts[1], parts[2]};
}

}  // namespace engine3d
