// ModelWriter: builds triangle models from simple solids and writes them as 3DS files through
// lib3ds.
//
// Coordinates are the file's own: z up, right-handed. A face is seen from the side where its
// corners run counter-clockwise (its normal by the right-hand rule points at the viewer); the
// game's loader turns z-up into y-up by a reflection, which keeps that side visible. Each object
// carries one material, since the game gives a whole mesh the material of its first face.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace content {

struct Vec3 {
  float x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float s) {
  return {a.x * s, a.y * s, a.z * s};
}

struct MaterialDesc {
  std::string name;
  uint32_t diffuse = 0xC0C0C0;  // 0xRRGGBB
  std::string texture;          // file name beside the model, or empty
  std::string opacity;          // opacity map file name, or empty
  bool twoSided = false;
  float transparency = 0.0f;  // 0 opaque .. 1 clear
};

struct MeshDesc {
  std::string name;
  std::string material;
  std::vector<Vec3> points;
  std::vector<std::array<float, 2>> uvs;  // one per point
  std::vector<std::array<uint16_t, 3>> faces;

  // Adds a quad whose corners a, b, c, d run counter-clockwise seen from its visible side;
  // texture coordinates (0,0) (u,0) (u,v) (0,v) at the corners (v up the picture).
  void quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, float u = 1.0f, float v = 1.0f);
  void quadUv(Vec3 a, Vec3 b, Vec3 c, Vec3 d, std::array<float, 4> uv);
  void triangle(Vec3 a, Vec3 b, Vec3 c);
  // Axis-aligned box from `lo` to `hi`; faces out (or in, for a room's shell). Texture repeats
  // once per `tile` units (once per face when `tile` <= 0); the bottom face is left out when
  // `bottom` is false.
  void box(Vec3 lo, Vec3 hi, float tile, bool inward = false, bool bottom = true);
  // Upright cylinder (or cone when the radii differ) around the z axis through `base`.
  void cylinder(Vec3 base, float radiusBottom, float radiusTop, float height, int segments,
                bool caps = true);
  // Ellipsoid centred at `center` with radii r, made of `rings` x `segments` quads.
  void ellipsoid(Vec3 center, Vec3 radii, int rings, int segments);
  // Moves every point already added by `offset`.
  void translate(Vec3 offset);
  // Turns every point already added about the z axis through `pivot` by `radians`.
  void rotateZ(Vec3 pivot, float radians);
};

struct ModelDesc {
  std::vector<MaterialDesc> materials;
  std::vector<MeshDesc> meshes;

  MeshDesc& mesh(const std::string& name, const std::string& material);
  void material(const MaterialDesc& desc) { materials.push_back(desc); }
};

// The 3DS file bytes; empty when lib3ds failed. Vertex counts above 65535 per mesh are refused.
std::vector<uint8_t> encode3ds(const ModelDesc& model);

}  // namespace content
