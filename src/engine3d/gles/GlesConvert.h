// Conversions of engine values into the 16.16 numbers the OpenGL ES driver hands to GL.
//
// Every number the driver gives GL goes through the fixed-point entry points (names ending in
// "x", GL_FIXED arrays), so the same code runs on the Common-Lite profile, which has no floats.
#pragma once

#include <array>
#include <cstdint>

#include "engine3d/Colour.h"
#include "engine3d/Matrix4.h"
#include "engine3d/Vector3.h"

namespace engine3d {

// The colour c (0x00RRGGBB) with alpha a (0..255) as four 16.16 components: each channel
// times the factor 65536 x 0.003921569 (computed once, in float), then truncated.
// 255 gives 65535, 128 gives 32896, 0 gives 0.
std::array<std::int32_t, 4> toFixedColour(Colour c, int a);

// The same colour as floats in 0..1 (each channel x 0.003921569).
std::array<float, 4> toFloatColour(Colour c, int a);

// (trunc(65536 x), trunc(65536 y), trunc(65536 z), trunc(65536 w)).
std::array<std::int32_t, 4> toFixedVector(const Vector3& v, float w);

// Loads the row-major engine matrix into GL's current matrix as column-major 16.16 values
// (out[4c + r] = trunc(65536 m[4r + c])) with glLoadMatrixx. Needs a current context.
void loadMatrixFixed(const Matrix4& m);

}  // namespace engine3d
