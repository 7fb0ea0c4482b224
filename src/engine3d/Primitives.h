// The built-in model shapes: Chip3D (a textured quad, usually a billboard) and Box3D (a
// textured box). Both are groups with one material and one mesh, normalised to their size.
#pragma once

#include <memory>

#include "engine3d/Group3D.h"
#include "engine3d/Texture.h"

namespace engine3d {

// Orientations of a chip's quad.
inline constexpr int kChipFacingX = 0;
inline constexpr int kChipLyingXZ = 1;
inline constexpr int kChipFacingZ = 2;

class Chip3D : public Group3D {
 public:
  // A quad of `width` x `height` scaled by 2 * radius (so width 2, height 1, radius 3 spans
  // -6..6 by -3..3), lying as `orientation` says (any other value is treated as facing z), with
  // the material "chipMtl" (flat, two-sided; `texture` attached by the colour-key rule, then
  // `alpha`, when given, as the opacity map) and the mesh "chip". `mirror` flips u.
  static std::unique_ptr<Chip3D> create(float width, float height, float radius, int orientation,
                                        std::shared_ptr<Texture> texture,
                                        std::shared_ptr<Texture> alpha, bool mirror);

  std::unique_ptr<Group3D> clone() const override;

  float fullWidth = 0.0f;   // 2 * width * radius
  float fullHeight = 0.0f;  // 2 * height * radius
};

class Box3D : public Group3D {
 public:
  // A box of a x b x c scaled so that max(a, b) spans 2 * scale (c is not considered), with the
  // flat material "boxMtl" and the mesh "box" of six textured quads.
  static std::unique_ptr<Box3D> create(float a, float b, float c, float scale,
                                       std::shared_ptr<Texture> texture,
                                       std::shared_ptr<Texture> opacityMap);

  std::unique_ptr<Group3D> clone() const override;

  float fullWidth = 0.0f;   // 2 a scale
  float fullHeight = 0.0f;  // 2 b scale
  float fullDepth = 0.0f;   // 2 c scale
};

}  // namespace engine3d
