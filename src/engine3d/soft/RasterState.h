// RasterState: everything the triangle filler and the span fillers read while filling, set per
// frame (target, depth buffer, fog), per material and per face by the renderer.
//
// Colours held here (flat colour, colour key, fog colour, self-illumination, light-map cells)
// are already in the target's format: 0x00RRGGBB for 32-bit targets, RGB565 for 16-bit ones.
#pragma once

#include <algorithm>
#include <cstdint>

namespace engine3d {

// Per-pixel and per-row interpolated values. x is 16.16 screen x; z the depth-buffer value
// (depthKey of the eye depth less the depth-layer offset); fz that eye depth itself, 16.16, for
// fog; u and v 16.16 texel coordinates; lu and lv the light-map coordinates (0..254) in 16.16.
struct SpanValues {
  std::int32_t x = 0;
  std::int32_t z = 0;
  std::int32_t fz = 0;
  std::int32_t u = 0;
  std::int32_t v = 0;
  std::int32_t lu = 0;
  std::int32_t lv = 0;
};

// The depth buffer's entry for eye depth `z` (16.16, less the mesh's depth-layer offset):
// 0x7FFFFFFF - 2^43 / z. It grows with z, so entries compare like depths (smaller is nearer,
// and the buffer's reset value 0xFFFFFFFF lies beyond them all), but it is an affine function
// of 1 / z, and 1 / z, unlike z, changes linearly across a triangle on the screen: interpolated
// between the corners, the entries order every pixel as the surfaces lie, however large and
// slanted the triangles. Depths of 1/16 unit or less share entry 0; one step of the entry is
// 1/13000 of a unit at a depth of 100 units, 1/134 at 1000 and 3/4 at 10000.
inline std::uint32_t depthKey(std::int32_t z) {
  constexpr std::int64_t kNearest = std::int64_t{1} << 12;  // 1/16 unit
  if (z <= kNearest) return 0;
  return 0x7FFFFFFFu - static_cast<std::uint32_t>((std::int64_t{1} << 43) / z);
}

// The eye depth (16.16) a depth-buffer entry stands for, to within its resolution; -1 for the
// reset value 0xFFFFFFFF (nothing drawn).
inline std::int32_t eyeDepthOfKey(std::uint32_t key) {
  if (key == 0xFFFFFFFFu) return -1;
  const std::uint32_t reciprocal = 0x7FFFFFFFu - (key & 0x7FFFFFFFu);
  if (reciprocal == 0) return INT32_MAX;
  return static_cast<std::int32_t>(
      std::min<std::int64_t>((std::int64_t{1} << 43) / reciprocal, INT32_MAX));
}

struct RasterState {
  // Target and depth buffer, clipped to the scene: `width` x `height` pixels.
  std::uint8_t* bits = nullptr;
  int stride = 0;  // bytes per target row
  int width = 0;
  int height = 0;
  int bitsPerPixel = 32;
  std::uint32_t* depth = nullptr;
  int depthStride = 0;  // entries per depth-buffer row (the scene width)
  bool depthWrite = true;

  // Fog of the scene (sceneFog) and whether this face is fogged (fogOn).
  bool sceneFog = false;
  std::uint32_t fogColour = 0;
  int fogFront = 0;
  int fogBack = 0;
  int fogScale = 0;  // 65536 / (back - front)

  // Light maps (cells in the target format).
  const std::uint32_t* diffuseMap = nullptr;
  const std::uint32_t* specularMap = nullptr;

  // Material.
  int mode = 3;  // shading mode 1..5
  std::uint32_t flatColour = 0;
  const std::uint32_t* texture = nullptr;  // 0x00RRGGBB texels
  int textureWidth = 0;
  int textureHeight = 0;
  int textureMaskU = 0;
  int textureMaskV = 0;
  const std::uint32_t* opacity = nullptr;
  int opacityWidth = 0;
  int opacityMaskU = 0;
  int opacityMaskV = 0;
  bool blendOpacity = false;  // opacity map without the alpha test
  std::uint32_t colourKey = 0;
  int transparency = 0;
  int specularLevel = 255;
  bool flat = false;
  std::uint32_t selfIllumination = 0;
  const std::uint32_t* reflection = nullptr;
  int reflectionWidth = 0;
  int reflectionMaskU = 0;
  int reflectionMaskV = 0;
  std::int32_t layerOffset = 0;  // trunc(65536 * depth layer) of the mesh

  // Face.
  bool fogOn = false;
  int faceCell = 0;              // light-map cell of a flat face
  std::uint32_t faceColour = 0;  // lit colour of a flat face without texture
  int faceLu = 0;                // light-map coordinates of a flat face (reflection look-up)
  int faceLv = 0;

  bool textured() const { return texture || opacity; }
};

// Fills the rows [y, yEnd) of one triangle half: per row, pixels from the integer part of
// left.x to min(integer part of right.x, width) exclusive, with left's values stepping by
// `perPixel` along the row; after each row left steps by `leftStep` and right.x by
// `rightStepX`. Rows must already lie inside [0, height).
using HalfFiller = void (*)(const RasterState& state, SpanValues& left, const SpanValues& leftStep,
                            std::int32_t& rightX, std::int32_t rightStepX, int y, int yEnd,
                            const SpanValues& perPixel);

// The span filler for the state's target depth, shading mode, texturing and fog.
HalfFiller spanFiller32(int mode, bool textured, bool fog);
HalfFiller spanFiller16(int mode, bool textured, bool fog);

}  // namespace engine3d
