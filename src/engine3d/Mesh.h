// Mesh: one triangle mesh with its vertices, faces and material.
//
// The renderers read the public fields directly. A mesh belongs to one Group3D (or to a level
// of detail of one); its material belongs to the group's material list, except the default
// material that prepare() creates for a mesh without one, which the mesh owns.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/Material.h"
#include "engine3d/Matrix4.h"
#include "engine3d/SubdivisionQuestion.h"
#include "engine3d/Vector3.h"
#include "engine3d/Vertex.h"

namespace engine3d {

class Group3D;

class Mesh {
 public:
  Mesh() = default;
  Mesh(const Mesh&) = delete;
  Mesh& operator=(const Mesh&) = delete;

  // Appends a vertex: x, y, z are converted to 16.16 (truncating), u and v are already 16.16.
  // The normal is zero.
  void addVertex(float x, float y, float z, std::int32_t u, std::int32_t v);
  // Appends a face with those vertex indices (not checked here; prepare() and the renderers
  // skip faces whose indices are outside the vertex list).
  void addFace(int a, int b, int c);

  // Once per mesh (the prepared flag guards it): gives a mesh without a material a default one,
  // computes face normals and, for lit materials that are not flat, vertex normals, all in the
  // engine's integer arithmetic; with computeBounds also radius, centre and size.
  void prepare(bool computeBounds);
  // Computes vertex normals (from the face normals, so after prepare()) when the mesh has none
  // yet. prepare() leaves them zero for flat
  // and unlit materials, which the software renderer shades from face normals; a driver that
  // lights per vertex calls this before drawing such a mesh lit.
  void ensureVertexNormals();
  // Rebuilds indexArray: a, b, c of every face as unsigned 16-bit values, in face order.
  void buildIndexArray();
  // Bakes the 3x4 part of `m` into the 16.16 positions in fixed-point arithmetic. With
  // `invalidate` the mesh must be prepared again (normals and bounds recomputed).
  void transform(const Matrix4& m, bool invalidate);

  // Minimum and maximum vertex position in model units. False (and nothing written) for a mesh
  // without vertices.
  bool bounds(Vector3& min, Vector3& max) const;
  // True when faceIndex's three vertex indices lie inside the vertex list.
  bool validFace(const Face& face) const;

  // A new mesh with copies of the vertices, faces (with their normals), name, flags, depth
  // layer, face range, local matrix, radius, centre, size, prepared flag and material
  // reference. The index array is not copied (build it again). A default material owned by
  // this mesh is copied into the new mesh.
  std::unique_ptr<Mesh> clone() const;

  // True when `material` is the default material this mesh created for itself.
  bool ownsMaterial() const { return defaultMaterial_ && material == defaultMaterial_.get(); }

  int vertexCount() const { return static_cast<int>(vertices.size()); }
  int faceCount() const { return static_cast<int>(faces.size()); }

  std::vector<Vertex> vertices;
  std::vector<std::uint16_t> indexArray;  // three per face, built by buildIndexArray()
  std::vector<Face> faces;
  Material* material = nullptr;  // not owned (see class comment)
  std::int32_t sortKey = 0;      // written by the renderer's traversal
  Matrix4 localMatrix;
  bool visible = true;
  float radius = 0.0f;
  Vector3 centre;
  Vector3 size;  // bounding-box extent
  bool fogEnabled = true;
  std::int32_t extraWord = 0;   // one further per-mesh word, set group-wide and copied on clone
  float depthLayer = 0.0f;      // each step moves the depth range 0.1 toward the viewer
  std::int32_t firstFace = -1;  // face range [firstFace, lastFace); -1 draws every face
  std::int32_t lastFace = -1;
  std::string name;  // at most Material::kMaxNameLength characters
  bool prepared = false;
  // Asked by the software renderer whether to split each face before drawing it; null (the
  // default) draws faces whole. Not owned; clones share it.
  SubdivisionQuestion* subdivision = nullptr;
  Group3D* owner = nullptr;  // the group holding this mesh (not owned)

 private:
  void computeFaceNormals();
  void computeVertexNormals();
  void computeBounds();

  std::unique_ptr<Material> defaultMaterial_;
  bool vertexNormals_ = false;  // computeVertexNormals ran since the positions last changed
};

}  // namespace engine3d
