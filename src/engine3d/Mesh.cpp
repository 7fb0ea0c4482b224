#include "engine3d/Mesh.h"

#include <algorithm>
#include <cmath>

#include "engine3d/FixedPoint.h"
#include "engine3d/ScalarMath.h"

namespace engine3d {

namespace {

// Component differences are formed modulo 2^32 (as the 32-bit target does) without signed
// overflow, then shifted arithmetically.
std::int64_t edge(std::int32_t to, std::int32_t from) {
  const auto difference =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(to) - static_cast<std::uint32_t>(from));
  return difference >> 8;
}

// floor(sqrt(n)) for sums of squares that no longer fit 32 bits (vertices shared by very many
// faces); below that the engine's bitwise isqrt gives the same result.
std::uint64_t isqrtWide(std::uint64_t n) {
  if (n <= 0xFFFFFFFFull) return isqrt(static_cast<std::uint32_t>(n));
  auto root = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(n)));
  while (root * root > n) --root;
  while ((root + 1) * (root + 1) <= n) ++root;
  return root;
}

}  // namespace

void Mesh::addVertex(float x, float y, float z, std::int32_t u, std::int32_t v) {
  Vertex vertex;
  vertex.x = floatToFixed(x);
  vertex.y = floatToFixed(y);
  vertex.z = floatToFixed(z);
  vertex.u = u;
  vertex.v = v;
  vertices.push_back(vertex);
}

void Mesh::addFace(int a, int b, int c) {
  Face face;
  face.owner = this;
  face.a = static_cast<std::int16_t>(a);
  face.b = static_cast<std::int16_t>(b);
  face.c = static_cast<std::int16_t>(c);
  faces.push_back(face);
}

bool Mesh::validFace(const Face& face) const {
  const int n = vertexCount();
  return face.index(0) < n && face.index(1) < n && face.index(2) < n;
}

void Mesh::prepare(bool computeBoundsToo) {
  if (prepared) return;
  if (!material) {
    defaultMaterial_ = std::make_unique<Material>();
    material = defaultMaterial_.get();
  }
  computeFaceNormals();
  if (material->shadingMode > kShadingUnlitTransparent && !material->flat) computeVertexNormals();
  if (computeBoundsToo) computeBounds();
  prepared = true;
}

void Mesh::computeFaceNormals() {
  for (auto face = faces.rbegin(); face != faces.rend(); ++face) {
    if (!validFace(*face)) {
      face->nx = face->ny = face->nz = 0;
      continue;
    }
    const Vertex& a = vertices[static_cast<size_t>(face->index(0))];
    const Vertex& b = vertices[static_cast<size_t>(face->index(1))];
    const Vertex& c = vertices[static_cast<size_t>(face->index(2))];
    const std::int64_t e1x = edge(b.x, a.x), e1y = edge(b.y, a.y), e1z = edge(b.z, a.z);
    const std::int64_t e2x = edge(c.x, b.x), e2y = edge(c.y, b.y), e2z = edge(c.z, b.z);
    // The cross product of two 24-bit edges needs up to 49 bits: form it in 64 bits so that
    // large faces (rooms) keep their normals.
    Vector3 n(static_cast<float>(e1y * e2z - e1z * e2y), static_cast<float>(e1z * e2x - e1x * e2z),
              static_cast<float>(e1x * e2y - e1y * e2x));
    n *= fixedToFloat;
    n.normalize();
    face->nx = floatToFixed(n.x);
    face->ny = floatToFixed(n.y);
    face->nz = floatToFixed(n.z);
  }
}

void Mesh::computeVertexNormals() {
  // Sums are kept in 64 bits: a vertex shared by tens of thousands of faces would overflow the
  // 32-bit normal fields.
  std::vector<std::int64_t> sums(vertices.size() * 3, 0);
  for (auto face = faces.rbegin(); face != faces.rend(); ++face) {
    if (!validFace(*face)) continue;
    for (int k = 0; k < 3; ++k) {
      std::int64_t* sum = &sums[static_cast<size_t>(face->index(k)) * 3];
      sum[0] += face->nx;
      sum[1] += face->ny;
      sum[2] += face->nz;
    }
  }
  constexpr std::int64_t kLimit = std::int64_t{1} << 30;
  for (size_t i = 0; i < vertices.size(); ++i) {
    std::int64_t r[3];
    for (int k = 0; k < 3; ++k) r[k] = std::clamp(sums[i * 3 + k] >> 5, -kLimit, kLimit);
    const auto squares = static_cast<std::uint64_t>(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
    const auto length = static_cast<std::int64_t>(isqrtWide(squares));
    Vertex& v = vertices[i];
    if (length == 0) {
      v.nx = v.ny = v.nz = 0;
      continue;
    }
    v.nx = static_cast<std::int32_t>(r[0] * fixedOne / length);
    v.ny = static_cast<std::int32_t>(r[1] * fixedOne / length);
    v.nz = static_cast<std::int32_t>(r[2] * fixedOne / length);
  }
  vertexNormals_ = true;
}

void Mesh::computeBounds() {
  Vector3 min, max;
  if (!bounds(min, max)) return;
  size = max - min;
  radius = 0.5f * std::max(size.x, std::max(size.y, size.z));
  centre = (min + max) * 0.5f;
}

bool Mesh::bounds(Vector3& min, Vector3& max) const {
  if (vertices.empty()) return false;
  std::int32_t lo[3] = {vertices[0].x, vertices[0].y, vertices[0].z};
  std::int32_t hi[3] = {lo[0], lo[1], lo[2]};
  for (const Vertex& v : vertices) {
    const std::int32_t p[3] = {v.x, v.y, v.z};
    for (int k = 0; k < 3; ++k) {
      lo[k] = std::min(lo[k], p[k]);
      hi[k] = std::max(hi[k], p[k]);
    }
  }
  min = {fixedToFloatValue(lo[0]), fixedToFloatValue(lo[1]), fixedToFloatValue(lo[2])};
  max = {fixedToFloatValue(hi[0]), fixedToFloatValue(hi[1]), fixedToFloatValue(hi[2])};
  return true;
}

void Mesh::buildIndexArray() {
  indexArray.clear();
  indexArray.reserve(faces.size() * 3);
  for (const Face& face : faces) {
    indexArray.push_back(static_cast<std::uint16_t>(face.a));
    indexArray.push_back(static_cast<std::uint16_t>(face.b));
    indexArray.push_back(static_cast<std::uint16_t>(face.c));
  }
}

void Mesh::transform(const Matrix4& m, bool invalidate) {
  // Rotation coefficients carry 11 fraction bits and positions are cut to 11 (>> 5), so each
  // product has 22 and the sum is brought back to 16 with >> 6. Products are formed in 64 bits
  // and the result wraps to 32 like the target's registers.
  constexpr float kRotationScale = static_cast<float>(fixedOne / 32);
  std::int64_t r[3][3];
  std::int64_t t[3];
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column)
      r[row][column] = truncateToInt(m.at(row, column) * kRotationScale);
    t[row] = floatToFixed(m.at(row, 3));
  }
  for (Vertex& v : vertices) {
    const std::int64_t p[3] = {v.x >> 5, v.y >> 5, v.z >> 5};
    std::int32_t out[3];
    for (int row = 0; row < 3; ++row) {
      const std::int64_t sum = r[row][0] * p[0] + r[row][1] * p[1] + r[row][2] * p[2];
      out[row] = static_cast<std::int32_t>((sum >> 6) + t[row]);
    }
    v.x = out[0];
    v.y = out[1];
    v.z = out[2];
  }
  if (invalidate) {
    prepared = false;
    vertexNormals_ = false;
  }
}

void Mesh::ensureVertexNormals() {
  if (!vertexNormals_) computeVertexNormals();
}

std::unique_ptr<Mesh> Mesh::clone() const {
  auto copy = std::make_unique<Mesh>();
  copy->vertices = vertices;
  copy->faces = faces;
  for (Face& face : copy->faces) face.owner = copy.get();
  copy->material = material;
  if (ownsMaterial()) {
    copy->defaultMaterial_ = std::make_unique<Material>(*defaultMaterial_);
    copy->material = copy->defaultMaterial_.get();
  }
  copy->localMatrix = localMatrix;
  copy->visible = visible;
  copy->radius = radius;
  copy->centre = centre;
  copy->size = size;
  copy->fogEnabled = fogEnabled;
  copy->extraWord = extraWord;
  copy->depthLayer = depthLayer;
  copy->firstFace = firstFace;
  copy->lastFace = lastFace;
  copy->name = name;
  copy->prepared = prepared;
  copy->vertexNormals_ = vertexNormals_;
  copy->subdivision = subdivision;
  return copy;
}

}  // namespace engine3d
