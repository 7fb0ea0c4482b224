// TriangleFiller: turns projected triangles and edges into pixels of the raster state's target.
//
// Triangles are split at their middle vertex into an upper and a lower half; the edge values
// (x, depth, texel coordinates, light-map coordinates) step row by row from one integer
// division per edge and value, and the values along a row step by per-pixel gradients from one
// division per value for the whole triangle. The span fillers then need no division at all.
// Texture and light-map coordinates and the fog's eye depth are interpolated affinely in screen
// space (no perspective correction), as the renderer's subdivision question exists to keep
// large near triangles small. Depth is interpolated as its depth-buffer entry (depthKey), which
// is linear on the screen, so the depth test is exact at every pixel: a rug on a floor or a
// board on a wall stays in front of it, however large the floor's or wall's triangles.
#pragma once

#include <cstdint>

#include "engine3d/Vertex.h"
#include "engine3d/soft/RasterState.h"

namespace engine3d {

// Words of the vertex work area (Vertex::work) the software renderer writes.
namespace vw {
inline constexpr int kEyeX = 0;
inline constexpr int kEyeY = 1;
inline constexpr int kEyeZ = 2;
inline constexpr int kScreenX = 3;
inline constexpr int kScreenY = 4;
inline constexpr int kDepth = 5;  // eye z >> 16; kShadingPending until the vertex is shaded
inline constexpr int kLightU = 6;
inline constexpr int kLightV = 7;
inline constexpr std::int32_t kShadingPending = INT32_MIN;
}  // namespace vw

// Outcode bits (Vertex::clipFlags).
inline constexpr std::int32_t kOutLeft = 1;
inline constexpr std::int32_t kOutRight = 2;
inline constexpr std::int32_t kOutTop = 4;
inline constexpr std::int32_t kOutBottom = 8;
inline constexpr std::int32_t kOutNear = 16;
inline constexpr std::int32_t kOutFar = 32;
inline constexpr std::int32_t kOutGenerated = Vertex::kGeneratedVertex;

class TriangleFiller {
 public:
  RasterState state;
  // Texture-coordinate mapping of the current material: texel u = (u + offsetU) * scaleU.
  std::int32_t textureOffsetU = 0;
  std::int32_t textureOffsetV = 0;
  int textureScaleU = 0;
  int textureScaleV = 0;

  // Fills the triangle of three projected vertices (screen x, y in the work area).
  void fillTriangle(const Vertex& a, const Vertex& b, const Vertex& c);
  // Draws the edge between two projected vertices in the flat colour, testing and writing
  // depth entries (always writing them, whatever the depth-write switch says). Nothing is drawn
  // when the outcodes share a bit.
  void drawLine(const Vertex& a, const Vertex& b);
};

}  // namespace engine3d
