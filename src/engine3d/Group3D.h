// Group3D: a model placed in a 3D scene — its meshes, materials, placement, levels of detail,
// billboard and culling settings.
//
// A group owns its meshes and the materials it created. Levels of detail are other groups
// whose meshes this group draws at a distance; they are held in a LevelSet that the group and
// all its clones share, and they live as long as the last of them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine3d/Material.h"
#include "engine3d/Matrix4.h"
#include "engine3d/Mesh.h"
#include "engine3d/Vector3.h"

namespace engine3d {

// Billboard modes (Group3D::billboard).
inline constexpr int kBillboardNone = 0;
inline constexpr int kBillboardUpright = 1;  // turns about the vertical axis toward the viewer
inline constexpr int kBillboardScreen = 2;   // always faces the screen

// Culling policies (Group3D::cullingPolicy).
inline constexpr int kCullNever = 0;
inline constexpr int kCullGroup = 1;  // the whole group by its radius
inline constexpr int kCullMesh = 2;   // mesh by mesh

// Object-name filter of normalize() and boundingBox(): a mesh passes when `wanted` is absent or
// contains the mesh name as a substring, and `unwanted` is absent or does not contain it.
struct NameFilter {
  std::optional<std::string> wanted;
  std::optional<std::string> unwanted;

  bool passes(std::string_view meshName) const;
};

class Group3D;

// The levels of detail of a group: the level groups (owned) and, per level, its mesh list.
struct LevelSet {
  std::vector<std::unique_ptr<Group3D>> groups;
  std::vector<std::vector<Mesh*>> lists;
  float distance = 0.0f;
};

class Group3D {
 public:
  Group3D();
  virtual ~Group3D();
  Group3D(const Group3D&) = delete;
  Group3D& operator=(const Group3D&) = delete;

  // A new group of the same kind marked as a clone: same name, placement, settings, radius and
  // size; every mesh and every material copied, each mesh's material redirected to the copy of
  // the same name; the levels of detail shared, not copied.
  virtual std::unique_ptr<Group3D> clone() const;

  // Material-wide setters: write one value into every material of the list.
  void setColour(Colour colour);
  void setSelfIllumination(Colour colour);
  void setTransparency(int transparency);
  void setSpecularLevel(int level);
  void setFlat(bool flat);
  void setDetailLevel(int mode);  // the shading mode of every material
  void setWire(bool wire);
  void setEdgeMask(int mask);
  void setTwoSided(bool twoSided);
  // Mesh-wide setters: write one value into every mesh of the list.
  void setDepthLayer(float layer);
  void setEnvironmentEnabled(bool enabled);  // the fog flag of every mesh
  void setExtraWord(std::int32_t value);
  void setVisible(bool value) { visible = value; }

  // Names `mesh` (at most 64 characters of `name`), appends it and makes this group its owner.
  // Returns the mesh (null when `mesh` is null).
  Mesh* addMesh(const std::string& name, std::unique_ptr<Mesh> mesh);
  // Removes the first mesh of that exact name and hands it back (null when there is none).
  std::unique_ptr<Mesh> removeMesh(const std::string& name);
  // The first mesh of that exact (case-sensitive) name, or null.
  Mesh* findMesh(const std::string& name) const;

  // Names `material`, appends it and takes ownership. Returns it (null when `material` is null).
  Material* addMaterial(const std::string& name, std::unique_ptr<Material> material);
  // Removes the first material of that name; meshes that used it are left without a material
  // (prepare gives them a default). Returns it when this group owned it, else null.
  std::unique_ptr<Material> removeMaterial(const std::string& name);
  Material* findMaterial(const std::string& name) const;

  Mesh* firstMesh() const { return meshes_.empty() ? nullptr : meshes_.front().get(); }
  Material* firstMaterial() const { return materials_.empty() ? nullptr : materials_.front(); }
  const std::vector<std::unique_ptr<Mesh>>& meshes() const { return meshes_; }
  // Every material of the group: its own and those borrowed from its levels of detail.
  const std::vector<Material*>& materials() const { return materials_; }

  // Takes the first `count` of `levels` as levels of detail switched every `distance` units of
  // eye depth. Does nothing (and drops `levels`) when count <= 0 or distance <= 0. Null entries
  // and entries past the end of `levels` are absent levels and are not counted. Materials of
  // level meshes whose names this group does not have yet are added to the material list (the
  // level keeps owning them).
  void setLevels(std::vector<std::unique_ptr<Group3D>> levels, int count, float distance);
  // The mesh list of each level, or null when the group has no levels.
  const std::vector<std::vector<Mesh*>>* lodLists() const {
    return levels_ ? &levels_->lists : nullptr;
  }
  int levelCount() const { return levels_ ? static_cast<int>(levels_->lists.size()) : 0; }
  float lodDistance() const { return levels_ ? levels_->distance : 0.0f; }
  // The mesh list of level `index` (0 .. levelCount() - 1).
  const std::vector<Mesh*>& levelMeshes(int index) const { return levels_->lists[index]; }
  bool sharesLevelsWith(const Group3D& other) const { return levels_ && levels_ == other.levels_; }

  // Prepares every mesh, those of the levels too (see Mesh::prepare).
  void prepare(bool computeBounds);
  // Builds the GL index array of every mesh, those of the levels too.
  void buildIndexArrays();

  // Advances each animated texture and opacity map of the materials by `seconds`, once per
  // `frameCount`: a picture shared by several materials (or groups) advances once per frame.
  void animateTextures(float seconds, std::uint32_t frameCount);

  // Scales the model so that the longest axis of the box of the meshes passing `filter` spans
  // [-radius, radius], and centres that box on the origin. Every mesh moves, also those that
  // did not pass. Stores `radius` and the scaled box size. A group whose filtered meshes have no
  // vertices is left in place; a box of zero extent is only centred.
  void normalize(float radius, const NameFilter& filter = {});

  // Union of the boxes of the meshes passing `filter`. False when none of them has a vertex.
  bool boundingBox(Vector3& min, Vector3& max, const NameFilter& filter = {}) const;

  int vertexCount() const;
  int faceCount() const;

  // Turns the world matrix toward the viewer after modelView = view * world was formed, as
  // `billboard` says, and recomputes modelView. Mode 0 changes nothing.
  void applyBillboard(const Matrix4& view);

  bool visible = true;
  std::string name;
  bool isClone = false;
  Matrix4 localMatrix;
  int billboard = kBillboardNone;
  int cullingPolicy = kCullGroup;
  float radius = 0.0f;
  Vector3 size;  // bounding-box extent after normalising
  Matrix4 worldMatrix;
  Matrix4 modelViewMatrix;

 protected:
  // Copies everything clone() promises into `target` (a fresh group of the same kind).
  void copyInto(Group3D& target) const;

 private:
  std::vector<std::unique_ptr<Mesh>> meshes_;
  std::vector<std::unique_ptr<Material>> ownedMaterials_;
  std::vector<Material*> materials_;
  std::shared_ptr<LevelSet> levels_;
};

}  // namespace engine3d
