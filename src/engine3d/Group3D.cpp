#include "engine3d/Group3D.h"

#include <algorithm>

#include "engine3d/FixedPoint.h"

namespace engine3d {

bool NameFilter::passes(std::string_view meshName) const {
  if (wanted && wanted->find(meshName) == std::string::npos) return false;
  if (unwanted && unwanted->find(meshName) != std::string::npos) return false;
  return true;
}

Group3D::Group3D() = default;
Group3D::~Group3D() = default;

std::unique_ptr<Group3D> Group3D::clone() const {
  auto copy = std::make_unique<Group3D>();
  copyInto(*copy);
  return copy;
}

void Group3D::copyInto(Group3D& target) const {
  target.isClone = true;
  target.name = name;
  target.visible = visible;
  target.localMatrix = localMatrix;
  target.billboard = billboard;
  target.cullingPolicy = cullingPolicy;
  target.radius = radius;
  target.size = size;
  for (const Material* material : materials_) {
    target.ownedMaterials_.push_back(std::make_unique<Material>(*material));
    target.materials_.push_back(target.ownedMaterials_.back().get());
  }
  for (const auto& mesh : meshes_) {
    std::unique_ptr<Mesh> meshCopy = mesh->clone();
    meshCopy->owner = &target;
    if (mesh->material && !mesh->ownsMaterial()) {
      // A material of another name (or none in this group) stays shared with the source.
      if (Material* same = target.findMaterial(mesh->material->name)) meshCopy->material = same;
    }
    target.meshes_.push_back(std::move(meshCopy));
  }
  target.levels_ = levels_;
}

void Group3D::setColour(Colour colour) {
  for (Material* m : materials_) m->colour = colour;
}
void Group3D::setSelfIllumination(Colour colour) {
  for (Material* m : materials_) m->selfIllumination = colour;
}
void Group3D::setTransparency(int transparency) {
  for (Material* m : materials_) m->transparency = transparency;
}
void Group3D::setSpecularLevel(int level) {
  for (Material* m : materials_) m->specularLevel = level;
}
void Group3D::setFlat(bool flat) {
  for (Material* m : materials_) m->flat = flat;
}
void Group3D::setDetailLevel(int mode) {
  for (Material* m : materials_) m->shadingMode = mode;
}
void Group3D::setWire(bool wire) {
  for (Material* m : materials_) m->wire = wire;
}
void Group3D::setEdgeMask(int mask) {
  for (Material* m : materials_) m->edgeMask = mask;
}
void Group3D::setTwoSided(bool twoSided) {
  for (Material* m : materials_) m->twoSided = twoSided;
}
void Group3D::setDepthLayer(float layer) {
  for (auto& mesh : meshes_) mesh->depthLayer = layer;
}
void Group3D::setEnvironmentEnabled(bool enabled) {
  for (auto& mesh : meshes_) mesh->fogEnabled = enabled;
}
void Group3D::setExtraWord(std::int32_t value) {
  for (auto& mesh : meshes_) mesh->extraWord = value;
}

Mesh* Group3D::addMesh(const std::string& meshName, std::unique_ptr<Mesh> mesh) {
  if (!mesh) return nullptr;
  mesh->name = limitName(meshName, Material::kMaxNameLength);
  mesh->owner = this;
  meshes_.push_back(std::move(mesh));
  return meshes_.back().get();
}

std::unique_ptr<Mesh> Group3D::removeMesh(const std::string& meshName) {
  auto found = std::find_if(meshes_.begin(), meshes_.end(),
                            [&](const auto& mesh) { return mesh->name == meshName; });
  if (found == meshes_.end()) return nullptr;
  std::unique_ptr<Mesh> mesh = std::move(*found);
  meshes_.erase(found);
  mesh->owner = nullptr;
  return mesh;
}

Mesh* Group3D::findMesh(const std::string& meshName) const {
  for (const auto& mesh : meshes_)
    if (mesh->name == meshName) return mesh.get();
  return nullptr;
}

Material* Group3D::addMaterial(const std::string& materialName,
                               std::unique_ptr<Material> material) {
  if (!material) return nullptr;
  material->name = limitName(materialName, Material::kMaxNameLength);
  ownedMaterials_.push_back(std::move(material));
  materials_.push_back(ownedMaterials_.back().get());
  return materials_.back();
}

std::unique_ptr<Material> Group3D::removeMaterial(const std::string& materialName) {
  auto found = std::find_if(materials_.begin(), materials_.end(),
                            [&](const Material* m) { return m->name == materialName; });
  if (found == materials_.end()) return nullptr;
  Material* material = *found;
  materials_.erase(found);
  // A mesh must never keep a pointer to a material that may be destroyed with the result.
  for (auto& mesh : meshes_)
    if (mesh->material == material) mesh->material = nullptr;
  auto owned = std::find_if(ownedMaterials_.begin(), ownedMaterials_.end(),
                            [&](const auto& m) { return m.get() == material; });
  if (owned == ownedMaterials_.end()) return nullptr;
  std::unique_ptr<Material> result = std::move(*owned);
  ownedMaterials_.erase(owned);
  return result;
}

Material* Group3D::findMaterial(const std::string& materialName) const {
  for (Material* material : materials_)
    if (material->name == materialName) return material;
  return nullptr;
}

void Group3D::setLevels(std::vector<std::unique_ptr<Group3D>> levels, int count, float distance) {
  if (count <= 0 || distance <= 0.0f) return;
  auto set = std::make_shared<LevelSet>();
  set->distance = distance;
  const int available = std::min(count, static_cast<int>(levels.size()));
  for (int i = 0; i < available; ++i) {
    if (!levels[static_cast<size_t>(i)]) continue;
    Group3D& level = *levels[static_cast<size_t>(i)];
    std::vector<Mesh*> list;
    for (auto& mesh : level.meshes_) {
      list.push_back(mesh.get());
      Material* material = mesh->material;
      if (material && !mesh->ownsMaterial() && !findMaterial(material->name))
        materials_.push_back(material);
    }
    set->lists.push_back(std::move(list));
    set->groups.push_back(std::move(levels[static_cast<size_t>(i)]));
  }
  if (set->lists.empty()) return;
  levels_ = std::move(set);
}

void Group3D::prepare(bool computeBounds) {
  for (auto& mesh : meshes_) mesh->prepare(computeBounds);
  if (levels_)
    for (auto& list : levels_->lists)
      for (Mesh* mesh : list) mesh->prepare(computeBounds);
}

void Group3D::buildIndexArrays() {
  for (auto& mesh : meshes_) mesh->buildIndexArray();
  if (levels_)
    for (auto& list : levels_->lists)
      for (Mesh* mesh : list) mesh->buildIndexArray();
}

void Group3D::animateTextures(float seconds, std::uint32_t frameCount) {
  for (Material* material : materials_) {
    for (Texture* picture : {material->texture.get(), material->opacityMap.get()}) {
      if (!picture || !picture->animated() || picture->lastAdvancedFrame() == frameCount) continue;
      picture->advance(seconds);
      picture->setLastAdvancedFrame(frameCount);
    }
  }
}

bool Group3D::boundingBox(Vector3& min, Vector3& max, const NameFilter& filter) const {
  bool any = false;
  for (const auto& mesh : meshes_) {
    if (!filter.passes(mesh->name)) continue;
    Vector3 lo, hi;
    if (!mesh->bounds(lo, hi)) continue;
    if (!any) {
      min = lo;
      max = hi;
      any = true;
      continue;
    }
    min = {std::min(min.x, lo.x), std::min(min.y, lo.y), std::min(min.z, lo.z)};
    max = {std::max(max.x, hi.x), std::max(max.y, hi.y), std::max(max.z, hi.z)};
  }
  return any;
}

void Group3D::normalize(float wantedRadius, const NameFilter& filter) {
  radius = wantedRadius;
  if (meshes_.empty()) return;
  Vector3 min, max;
  if (!boundingBox(min, max, filter)) return;
  Vector3 extent = max - min;
  const float k = 0.5f * std::max(extent.x, std::max(extent.y, extent.z));
  // A box without extent (a single point) cannot be scaled to a radius: only centre it.
  const float factor = k > 0.0f ? wantedRadius / k : 1.0f;
  extent *= factor;
  size = extent;
  const Vector3 centre = (min + max) * 0.5f;
  const std::int64_t c[3] = {floatToFixedRounded(centre.x), floatToFixedRounded(centre.y),
                             floatToFixedRounded(centre.z)};
  for (auto& mesh : meshes_) {
    for (Vertex& v : mesh->vertices) {
      v.x = truncateToInt(static_cast<float>(v.x - c[0]) * factor);
      v.y = truncateToInt(static_cast<float>(v.y - c[1]) * factor);
      v.z = truncateToInt(static_cast<float>(v.z - c[2]) * factor);
    }
    // Normals and bounds describe the old positions.
    mesh->prepared = false;
  }
}

int Group3D::vertexCount() const {
  int total = 0;
  for (const auto& mesh : meshes_) total += mesh->vertexCount();
  return total;
}

int Group3D::faceCount() const {
  int total = 0;
  for (const auto& mesh : meshes_) total += mesh->faceCount();
  return total;
}

void Group3D::applyBillboard(const Matrix4& view) {
  if (billboard == kBillboardUpright) {
    // Keep the group upright and turn its z axis toward where the view puts it.
    const Vector3 y(0.0f, 1.0f, 0.0f);
    Vector3 z(modelViewMatrix.at(0, 2), modelViewMatrix.at(1, 2), modelViewMatrix.at(2, 2));
    const Vector3 x = normalizedCross(y, z);
    z = normalizedCross(x, y);
    const Vector3 rows[3] = {x, y, z};
    for (int r = 0; r < 3; ++r) {
      worldMatrix.at(r, 0) = rows[r].x;
      worldMatrix.at(r, 1) = rows[r].y;
      worldMatrix.at(r, 2) = rows[r].z;
    }
    mul(modelViewMatrix, view, worldMatrix);
  } else if (billboard == kBillboardScreen) {
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) modelViewMatrix.at(r, c) = r == c ? 1.0f : 0.0f;
  }
}

}  // namespace engine3d
