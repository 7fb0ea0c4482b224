#include <gtest/gtest.h>

#include <cstddef>

#include "engine3d/Mesh.h"

namespace engine3d {
namespace {

constexpr std::int32_t kOne = 65536;

// A vertex at raw 16.16 coordinates.
void addRaw(Mesh& mesh, std::int32_t x, std::int32_t y, std::int32_t z) {
  Vertex v;
  v.x = x;
  v.y = y;
  v.z = z;
  mesh.vertices.push_back(v);
}

void expectNormal(const Face& f, std::int32_t x, std::int32_t y, std::int32_t z) {
  EXPECT_EQ(f.nx, x);
  EXPECT_EQ(f.ny, y);
  EXPECT_EQ(f.nz, z);
}
void expectNormal(const Vertex& v, std::int32_t x, std::int32_t y, std::int32_t z) {
  EXPECT_EQ(v.nx, x);
  EXPECT_EQ(v.ny, y);
  EXPECT_EQ(v.nz, z);
}

TEST(Vertex, ArrayStrideAndFieldOffsetsAreWhatTheGlDriverReads) {
  Vertex pair[2];
  const auto* base = reinterpret_cast<const unsigned char*>(&pair[0]);
  EXPECT_EQ(reinterpret_cast<const unsigned char*>(&pair[1]) - base, 68);
  EXPECT_EQ(reinterpret_cast<const unsigned char*>(&pair[0].u) - base, 12);
  EXPECT_EQ(reinterpret_cast<const unsigned char*>(&pair[0].nx) - base, 20);
  EXPECT_EQ(reinterpret_cast<const unsigned char*>(&pair[0].clipFlags) - base, 64);
}

// Two faces sharing the edge 0-1: one in the x-y plane, one tilted 45 degrees.
// Face 0 (0,1,2): e1 = (256,0,0), e2 = (0,256,0), cross (0,0,65536) -> unit (0,0,1).
// Face 1 (0,1,3): e1 = (256,0,0), e2 = (-256,256,256), cross (0,-65536,65536) -> (0,-1,1)/sqrt2
//   and trunc(65536 * 0.70710677) = 46340.
Mesh& foldedQuad(Mesh& mesh) {
  mesh.addVertex(0, 0, 0, 0, 0);
  mesh.addVertex(1, 0, 0, 0, 0);
  mesh.addVertex(1, 1, 0, 0, 0);
  mesh.addVertex(0, 1, 1, 0, 0);
  mesh.addFace(0, 1, 2);
  mesh.addFace(0, 1, 3);
  return mesh;
}

TEST(MeshPrepare, FaceAndVertexNormalsFollowTheIntegerArithmetic) {
  Mesh mesh;
  Material lit;
  foldedQuad(mesh).material = &lit;
  mesh.prepare(false);
  expectNormal(mesh.faces[0], 0, 0, kOne);
  expectNormal(mesh.faces[1], 0, -46340, 46340);
  // Vertex 0 sums (0, -46340, 111876); >> 5 gives (0, -1449, 3496) (arithmetic shift rounds
  // -1448.125 down); isqrt(1449^2 + 3496^2) = 3784; (c << 16) / 3784 truncates toward zero.
  expectNormal(mesh.vertices[0], 0, -25095, 60548);
  expectNormal(mesh.vertices[1], 0, -25095, 60548);
  expectNormal(mesh.vertices[2], 0, 0, kOne);
  // Vertex 3: (0, -1449, 1448), isqrt(4196305) = 2048: the reduced normal is not unit length.
  expectNormal(mesh.vertices[3], 0, -46368, 46336);
  EXPECT_TRUE(mesh.prepared);
}

TEST(MeshPrepare, EdgesAreShiftedArithmeticallySoTinyNegativeEdgesStillCount) {
  // Edges of -1 raw unit: -1 >> 8 is -1 (a division would give 0 and no normal).
  Mesh mesh;
  addRaw(mesh, 0, 0, 0);
  addRaw(mesh, -1, 0, 0);
  addRaw(mesh, -1, -1, 0);
  // Edges of +255 raw units vanish: 255 >> 8 is 0.
  addRaw(mesh, 255, 0, 0);
  addRaw(mesh, 255, 255, 0);
  mesh.addFace(0, 1, 2);
  mesh.addFace(0, 3, 4);
  mesh.prepare(false);
  expectNormal(mesh.faces[0], 0, 0, kOne);
  expectNormal(mesh.faces[1], 0, 0, 0);
}

TEST(MeshPrepare, LargeFacesKeepTheirNormalDirection) {
  // A 200 x 200 room wall: edges of 51200 after the shift, and a cross product of
  // 2621440000, which does not fit 32 bits (wrapped, it would point the other way).
  Mesh mesh;
  mesh.addVertex(0, 0, 0, 0, 0);
  mesh.addVertex(200, 0, 0, 0, 0);
  mesh.addVertex(200, 200, 0, 0, 0);
  mesh.addVertex(-200, 0, 0, 0, 0);
  mesh.addFace(0, 1, 2);
  mesh.addFace(0, 2, 3);
  mesh.prepare(false);
  expectNormal(mesh.faces[0], 0, 0, kOne);
  expectNormal(mesh.faces[1], 0, 0, kOne);
  // Vertex 0 and 2 share both faces: (0, 0, 131072) >> 5 = 4096, normalised to 65536.
  expectNormal(mesh.vertices[0], 0, 0, kOne);
  expectNormal(mesh.vertices[2], 0, 0, kOne);
}

TEST(MeshPrepare, FlatAndUnlitMaterialsKeepZeroVertexNormals) {
  for (int mode : {1, 2, 3}) {
    Mesh mesh;
    Material material;
    material.shadingMode = mode;
    material.flat = mode == 3;
    foldedQuad(mesh).material = &material;
    mesh.prepare(false);
    SCOPED_TRACE(mode);
    expectNormal(mesh.faces[1], 0, -46340, 46340);
    for (const Vertex& v : mesh.vertices) expectNormal(v, 0, 0, 0);
  }
}

TEST(MeshPrepare, AMeshWithoutMaterialGetsTheDefaultOne) {
  Mesh mesh;
  foldedQuad(mesh).prepare(false);
  ASSERT_NE(mesh.material, nullptr);
  EXPECT_EQ(mesh.material->colour, 0x969696u);
  EXPECT_EQ(mesh.material->shadingMode, 3);
  EXPECT_EQ(mesh.material->transparency, 0);
  // Lit by default, so vertex normals are computed.
  expectNormal(mesh.vertices[2], 0, 0, kOne);
}

TEST(MeshPrepare, BoundsRadiusAndCentre) {
  Mesh mesh;
  mesh.addVertex(-1, 2, 0.5f, 0, 0);
  mesh.addVertex(3, -2, 1.5f, 0, 0);
  mesh.addVertex(0, 0, 1, 0, 0);
  mesh.prepare(true);
  EXPECT_EQ(mesh.size, Vector3(4, 4, 1));
  EXPECT_EQ(mesh.radius, 2.0f);
  EXPECT_EQ(mesh.centre, Vector3(1, 0, 1));

  Mesh empty;
  empty.radius = 7;
  empty.prepare(true);
  EXPECT_EQ(empty.radius, 7.0f);
  EXPECT_EQ(empty.size, Vector3());
}

TEST(MeshPrepare, RunsOnceUntilInvalidated) {
  Mesh mesh;
  foldedQuad(mesh).prepare(true);
  mesh.vertices[2].y = 0;  // face 0 degenerates, but prepare is guarded
  mesh.prepare(true);
  expectNormal(mesh.faces[0], 0, 0, kOne);
  mesh.transform(Matrix4(), true);
  EXPECT_FALSE(mesh.prepared);
  mesh.prepare(true);
  expectNormal(mesh.faces[0], 0, 0, 0);
}

TEST(MeshPrepare, FacesOutsideTheVertexListAreSkippedNotRead) {
  Mesh mesh;
  foldedQuad(mesh).addFace(0, 1, 99);
  mesh.addFace(-1, 0, 1);  // index 65535 as unsigned
  mesh.prepare(true);
  expectNormal(mesh.faces[2], 0, 0, 0);
  expectNormal(mesh.faces[3], 0, 0, 0);
  EXPECT_FALSE(mesh.validFace(mesh.faces[3]));
  expectNormal(mesh.vertices[2], 0, 0, kOne);
}

TEST(MeshIndexArray, HoldsUnsignedIndicesInFaceOrder) {
  Mesh mesh;
  mesh.addFace(2, 1, 0);
  mesh.addFace(40000, 5, 65535);
  mesh.buildIndexArray();
  const std::vector<std::uint16_t> expected = {2, 1, 0, 40000, 5, 65535};
  EXPECT_EQ(mesh.indexArray, expected);
  EXPECT_EQ(mesh.faces[1].index(0), 40000);
  mesh.faces.pop_back();
  mesh.buildIndexArray();
  EXPECT_EQ(mesh.indexArray.size(), 3u);
}

TEST(MeshTransform, BakesTheMatrixInFixedPoint) {
  Mesh mesh;
  mesh.addVertex(1, 1, 1, 0, 0);
  addRaw(mesh, 65567, -65567, 0);  // low five bits are cut before the products
  Matrix4 m;
  m.setTranslation({1, 2, 3});
  mesh.transform(m, false);
  EXPECT_EQ(mesh.vertices[0].x, 2 * kOne);
  EXPECT_EQ(mesh.vertices[0].y, 3 * kOne);
  EXPECT_EQ(mesh.vertices[0].z, 4 * kOne);
  // 65567 >> 5 = 2048 -> 65536; -65567 >> 5 = -2049 -> -65568 (shifts round down).
  EXPECT_EQ(mesh.vertices[1].x, kOne + kOne);
  EXPECT_EQ(mesh.vertices[1].y, -65568 + 2 * kOne);
  EXPECT_FALSE(mesh.prepared);

  // A quarter turn about y: rows (0,0,1), (0,1,0), (-1,0,0) maps (x, y, z) to (z, y, -x).
  Mesh turned;
  turned.addVertex(1, 2, 3, 0, 0);
  turned.prepared = true;
  Matrix4 r;
  r.m[0] = 0;
  r.m[2] = 1;
  r.m[8] = -1;
  r.m[10] = 0;
  turned.transform(r, false);
  EXPECT_EQ(turned.vertices[0].x, 3 * kOne);
  EXPECT_EQ(turned.vertices[0].y, 2 * kOne);
  EXPECT_EQ(turned.vertices[0].z, -kOne);
  EXPECT_TRUE(turned.prepared);
}

TEST(MeshClone, CopiesAreIndependentAndFacesPointAtTheirOwnMesh) {
  Mesh mesh;
  Material material;
  foldedQuad(mesh).material = &material;
  mesh.name = "rotor1";
  mesh.depthLayer = 1.5f;
  mesh.firstFace = 1;
  mesh.lastFace = 2;
  mesh.fogEnabled = false;
  mesh.prepare(true);
  mesh.buildIndexArray();
  std::unique_ptr<Mesh> copy = mesh.clone();
  EXPECT_EQ(copy->name, "rotor1");
  EXPECT_EQ(copy->material, &material);
  EXPECT_EQ(copy->depthLayer, 1.5f);
  EXPECT_EQ(copy->firstFace, 1);
  EXPECT_EQ(copy->lastFace, 2);
  EXPECT_FALSE(copy->fogEnabled);
  EXPECT_TRUE(copy->prepared);
  EXPECT_EQ(copy->radius, mesh.radius);
  EXPECT_TRUE(copy->indexArray.empty());
  expectNormal(copy->faces[1], 0, -46340, 46340);
  for (const Face& f : copy->faces) EXPECT_EQ(f.owner, copy.get());
  copy->vertices[0].x = 12345;
  EXPECT_EQ(mesh.vertices[0].x, 0);

  // A default material made by prepare belongs to its mesh: the copy gets its own.
  Mesh bare;
  foldedQuad(bare).prepare(false);
  std::unique_ptr<Mesh> bareCopy = bare.clone();
  ASSERT_NE(bareCopy->material, nullptr);
  EXPECT_NE(bareCopy->material, bare.material);
  EXPECT_EQ(bareCopy->material->colour, 0x969696u);
}

}  // namespace
}  // namespace engine3d
