#include "engine3d/gles/GlesConvert.h"

#include <GLES/gl.h>

#include "engine3d/FixedPoint.h"

namespace engine3d {

namespace {

// The colour factor, formed once in single precision like every other per-call conversion.
float colourFactor() {
  static const float factor = 65536.0f * 0.003921569f;
  return factor;
}

}  // namespace

std::array<std::int32_t, 4> toFixedColour(Colour c, int a) {
  const float f = colourFactor();
  return {truncateToInt(static_cast<float>(red(c)) * f),
          truncateToInt(static_cast<float>(green(c)) * f),
          truncateToInt(static_cast<float>(blue(c)) * f), truncateToInt(static_cast<float>(a) * f)};
}

std::array<float, 4> toFloatColour(Colour c, int a) {
  constexpr float k = 0.003921569f;
  return {static_cast<float>(red(c)) * k, static_cast<float>(green(c)) * k,
          static_cast<float>(blue(c)) * k, static_cast<float>(a) * k};
}

std::array<std::int32_t, 4> toFixedVector(const Vector3& v, float w) {
  return {floatToFixed(v.x), floatToFixed(v.y), floatToFixed(v.z), floatToFixed(w)};
}

void loadMatrixFixed(const Matrix4& m) {
  const std::array<std::int32_t, 16> out = toFixedColumnMajor(m);
  glLoadMatrixx(out.data());
}

}  // namespace engine3d
