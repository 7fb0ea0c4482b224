#include "engine3d/Primitives.h"

#include <algorithm>
#include <cmath>

#include "engine3d/FixedPoint.h"

namespace engine3d {

std::unique_ptr<Chip3D> Chip3D::create(float width, float height, float radius, int orientation,
                                       std::shared_ptr<Texture> texture,
                                       std::shared_ptr<Texture> alpha, bool mirror) {
  auto chip = std::make_unique<Chip3D>();
  auto material = std::make_unique<Material>();
  material->attachTexture(std::move(texture));
  if (alpha) material->opacityMap = std::move(alpha);
  material->flat = true;
  material->twoSided = true;
  Material* chipMaterial = chip->addMaterial("chipMtl", std::move(material));

  const float hw = std::fabs(width) / 2.0f;
  const float hh = std::fabs(height) / 2.0f;
  // Corners in the order (+,+), (+,-), (-,-), (-,+) of the quad's two in-plane axes.
  const float s[4][2] = {{hw, hh}, {hw, -hh}, {-hw, -hh}, {-hw, hh}};
  const std::int32_t vs[4] = {0, fixedOne, fixedOne, 0};
  const std::int32_t us[4] = {0, 0, fixedOne, fixedOne};
  auto mesh = std::make_unique<Mesh>();
  for (int i = 0; i < 4; ++i) {
    const std::int32_t u = mirror ? fixedOne - us[i] : us[i];
    if (orientation == kChipLyingXZ)
      mesh->addVertex(s[i][0], 0.0f, s[i][1], u, vs[i]);
    else if (orientation == kChipFacingX)
      mesh->addVertex(0.0f, s[i][1], s[i][0], u, vs[i]);
    else
      mesh->addVertex(s[i][0], s[i][1], 0.0f, u, vs[i]);
  }
  mesh->addFace(0, 1, 2);
  mesh->addFace(2, 3, 0);
  mesh->material = chipMaterial;
  Mesh* added = chip->addMesh("chip", std::move(mesh));

  const float meshRadius = std::max(width, height) * radius;
  added->radius = meshRadius;
  chip->fullWidth = 2.0f * width * radius;
  chip->fullHeight = 2.0f * height * radius;
  chip->normalize(meshRadius);
  return chip;
}

std::unique_ptr<Group3D> Chip3D::clone() const {
  auto copy = std::make_unique<Chip3D>();
  copyInto(*copy);
  copy->fullWidth = fullWidth;
  copy->fullHeight = fullHeight;
  return copy;
}

std::unique_ptr<Box3D> Box3D::create(float a, float b, float c, float scale,
                                     std::shared_ptr<Texture> texture,
                                     std::shared_ptr<Texture> opacityMap) {
  // Per quad, bit j of these masks says whether corner j lies on the + side of that axis.
  static constexpr int kX[6] = {10, 10, 15, 10, 0, 5};
  static constexpr int kY[6] = {3, 15, 3, 0, 3, 3};
  static constexpr int kZ[6] = {0, 3, 10, 12, 5, 15};
  auto box = std::make_unique<Box3D>();
  auto material = std::make_unique<Material>();
  material->attachTexture(std::move(texture));
  if (opacityMap) material->opacityMap = std::move(opacityMap);
  material->flat = true;
  Material* boxMaterial = box->addMaterial("boxMtl", std::move(material));

  auto mesh = std::make_unique<Mesh>();
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 4; ++j) {
      const int bit = 1 << j;
      mesh->addVertex((kX[i] & bit) ? a / 2 : -a / 2, (kY[i] & bit) ? b / 2 : -b / 2,
                      (kZ[i] & bit) ? c / 2 : -c / 2, (j & 1) ? fixedOne : 0,
                      j >= 2 ? fixedOne : 0);
    }
    mesh->addFace(4 * i, 4 * i + 2, 4 * i + 3);
    mesh->addFace(4 * i, 4 * i + 3, 4 * i + 1);
  }
  mesh->material = boxMaterial;
  Mesh* added = box->addMesh("box", std::move(mesh));

  const float meshRadius = std::max(a, b) * scale;
  added->radius = meshRadius;
  box->fullWidth = 2.0f * a * scale;
  box->fullHeight = 2.0f * b * scale;
  box->fullDepth = 2.0f * c * scale;
  box->normalize(meshRadius);
  return box;
}

std::unique_ptr<Group3D> Box3D::clone() const {
  auto copy = std::make_unique<Box3D>();
  copyInto(*copy);
  copy->fullWidth = fullWidth;
  copy->fullHeight = fullHeight;
  copy->fullDepth = fullDepth;
  return copy;
}

}  // namespace engine3d
