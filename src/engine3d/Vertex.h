// Vertex and Face: the records every mesh stores and both renderers read.
//
// A Vertex is 17 32-bit words (68 bytes). The OpenGL ES driver hands the vertex array straight
// to GL with a 68-byte stride and GL_FIXED pointers at the byte offsets asserted below, so the
// layout is part of the contract and must not change.
#pragma once

#include <cstddef>
#include <cstdint>

namespace engine3d {

class Mesh;

struct Vertex {
  // Position, 16.16, model space.
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;
  // Texture coordinates, 16.16 (1.0 = 65536).
  std::int32_t u = 0;
  std::int32_t v = 0;
  // Unit normal, 16.16 (zero until Mesh::prepare computes it).
  std::int32_t nx = 0;
  std::int32_t ny = 0;
  std::int32_t nz = 0;
  // Software renderer work area: screen position, depth and lighting results.
  std::int32_t work[8] = {};
  // Clip flags; the software clipper marks the vertices it generates with kGeneratedVertex.
  std::int32_t clipFlags = 0;

  static constexpr std::int32_t kGeneratedVertex = 64;

  friend bool operator==(const Vertex&, const Vertex&) = default;
};

static_assert(sizeof(Vertex) == 68, "the GL driver reads vertices with a 68-byte stride");
static_assert(offsetof(Vertex, x) == 0, "GL vertex pointer offset");
static_assert(offsetof(Vertex, u) == 12, "GL texture-coordinate pointer offset");
static_assert(offsetof(Vertex, nx) == 20, "GL normal pointer offset");
static_assert(offsetof(Vertex, work) == 32, "renderer work area");
static_assert(offsetof(Vertex, clipFlags) == 64, "clip flags are the last word");

// One triangle: three indices into its mesh's vertex list and the face normal.
struct Face {
  Mesh* owner = nullptr;  // the mesh holding this face (not owned)
  // Vertex indices. Stored signed as in the file format's records; consumers that index with
  // them (and the GL index array) take them as unsigned 16-bit values (see index()).
  std::int16_t a = 0;
  std::int16_t b = 0;
  std::int16_t c = 0;
  // Face normal, 16.16 unit vector.
  std::int32_t nx = 0;
  std::int32_t ny = 0;
  std::int32_t nz = 0;

  // Corner k (0, 1, 2) as an unsigned vertex index.
  int index(int k) const {
    const std::int16_t v = k == 0 ? a : (k == 1 ? b : c);
    return static_cast<std::uint16_t>(v);
  }
};

}  // namespace engine3d
