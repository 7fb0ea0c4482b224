#include "ModelWriter.h"

#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace content {

void MeshDesc::quadUv(Vec3 a, Vec3 b, Vec3 c, Vec3 d, std::array<float, 4> uv) {
  uint16_t base = static_cast<uint16_t>(points.size());
  points.insert(points.end(), {a, b, c, d});
  uvs.push_back({uv[0], uv[1]});
  uvs.push_back({uv[2], uv[1]});
  uvs.push_back({uv[2], uv[3]});
  uvs.push_back({uv[0], uv[3]});
  faces.push_back({base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2)});
  faces.push_back({base, static_cast<uint16_t>(base + 2), static_cast<uint16_t>(base + 3)});
}

void MeshDesc::quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, float u, float v) {
  quadUv(a, b, c, d, {0.0f, 0.0f, u, v});
}

void MeshDesc::triangle(Vec3 a, Vec3 b, Vec3 c) {
  uint16_t base = static_cast<uint16_t>(points.size());
  points.insert(points.end(), {a, b, c});
  uvs.push_back({0.0f, 0.0f});
  uvs.push_back({1.0f, 0.0f});
  uvs.push_back({0.5f, 1.0f});
  faces.push_back({base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2)});
}

void MeshDesc::box(Vec3 lo, Vec3 hi, float tile, bool inward, bool bottom) {
  // tile <= 0 maps the whole texture once onto every face.
  const bool once = tile <= 0.0f;
  const float sx = once ? 1.0f : (hi.x - lo.x) / tile;
  const float sy = once ? 1.0f : (hi.y - lo.y) / tile;
  const float sz = once ? 1.0f : (hi.z - lo.z) / tile;
  auto face = [&](Vec3 a, Vec3 b, Vec3 c, Vec3 d, float u, float v) {
    if (inward)
      quad(d, c, b, a, u, v);
    else
      quad(a, b, c, d, u, v);
  };
  Vec3 p000{lo.x, lo.y, lo.z}, p100{hi.x, lo.y, lo.z}, p110{hi.x, hi.y, lo.z},
      p010{lo.x, hi.y, lo.z};
  Vec3 p001{lo.x, lo.y, hi.z}, p101{hi.x, lo.y, hi.z}, p111{hi.x, hi.y, hi.z},
      p011{lo.x, hi.y, hi.z};
  face(p001, p101, p111, p011, sx, sy);              // top, seen from +z
  if (bottom) face(p010, p110, p100, p000, sx, sy);  // bottom, seen from -z
  face(p000, p100, p101, p001, sx, sz);              // front, seen from -y
  face(p110, p010, p011, p111, sx, sz);              // back, seen from +y
  face(p100, p110, p111, p101, sy, sz);              // right, seen from +x
  face(p010, p000, p001, p011, sy, sz);              // left, seen from -x
}

void MeshDesc::cylinder(Vec3 base, float radiusBottom, float radiusTop, float height, int segments,
                        bool caps) {
  const float kTwoPi = 6.28318530718f;
  for (int i = 0; i < segments; ++i) {
    float a0 = kTwoPi * i / segments, a1 = kTwoPi * (i + 1) / segments;
    Vec3 b0{base.x + radiusBottom * std::cos(a0), base.y + radiusBottom * std::sin(a0), base.z};
    Vec3 b1{base.x + radiusBottom * std::cos(a1), base.y + radiusBottom * std::sin(a1), base.z};
    Vec3 t0{base.x + radiusTop * std::cos(a0), base.y + radiusTop * std::sin(a0), base.z + height};
    Vec3 t1{base.x + radiusTop * std::cos(a1), base.y + radiusTop * std::sin(a1), base.z + height};
    quadUv(b0, b1, t1, t0,
           {static_cast<float>(i) / segments, 0.0f, static_cast<float>(i + 1) / segments, 1.0f});
    if (caps) {
      Vec3 top{base.x, base.y, base.z + height};
      if (radiusTop > 0) triangle(top, t0, t1);
      if (radiusBottom > 0) triangle(base, b1, b0);
    }
  }
}

void MeshDesc::ellipsoid(Vec3 center, Vec3 radii, int rings, int segments) {
  const float kPi = 3.14159265359f;
  auto at = [&](int ring, int segment) {
    float theta = kPi * ring / rings - kPi / 2;  // -pi/2 (bottom) .. pi/2 (top)
    float phi = 2 * kPi * segment / segments;
    return Vec3{center.x + radii.x * std::cos(theta) * std::cos(phi),
                center.y + radii.y * std::cos(theta) * std::sin(phi),
                center.z + radii.z * std::sin(theta)};
  };
  for (int r = 0; r < rings; ++r)
    for (int s = 0; s < segments; ++s) {
      float u0 = static_cast<float>(s) / segments, u1 = static_cast<float>(s + 1) / segments;
      float v0 = static_cast<float>(r) / rings, v1 = static_cast<float>(r + 1) / rings;
      quadUv(at(r, s), at(r, s + 1), at(r + 1, s + 1), at(r + 1, s), {u0, v0, u1, v1});
    }
}

void MeshDesc::translate(Vec3 offset) {
  for (Vec3& p : points) p = p + offset;
}

void MeshDesc::rotateZ(Vec3 pivot, float radians) {
  float c = std::cos(radians), s = std::sin(radians);
  for (Vec3& p : points) {
    float x = p.x - pivot.x, y = p.y - pivot.y;
    p.x = pivot.x + x * c - y * s;
    p.y = pivot.y + x * s + y * c;
  }
}

MeshDesc& ModelDesc::mesh(const std::string& name, const std::string& material) {
  meshes.push_back(MeshDesc{name, material, {}, {}, {}});
  return meshes.back();
}

namespace {

void setColor(Lib3dsRgba color, uint32_t rgb) {
  color[0] = ((rgb >> 16) & 255) / 255.0f;
  color[1] = ((rgb >> 8) & 255) / 255.0f;
  color[2] = (rgb & 255) / 255.0f;
  color[3] = 1.0f;
}

void setMap(Lib3dsTextureMap& map, const std::string& name) {
  std::snprintf(map.name, sizeof(map.name), "%s", name.c_str());
  map.percent = 1.0f;
  map.scale[0] = map.scale[1] = 1.0f;
}

}  // namespace

std::vector<uint8_t> encode3ds(const ModelDesc& model) {
  Lib3dsFile* file = lib3ds_file_new();
  if (!file) return {};
  // lib3ds inserts at the head of its lists: insert in reverse so the file keeps our order.
  for (auto it = model.materials.rbegin(); it != model.materials.rend(); ++it) {
    Lib3dsMaterial* m = lib3ds_material_new();
    std::snprintf(m->name, sizeof(m->name), "%s", it->name.c_str());
    setColor(m->ambient, 0x000000);
    setColor(m->diffuse, it->diffuse);
    setColor(m->specular, 0x404040);
    m->shininess = 0.2f;
    m->shin_strength = 0.1f;
    m->shading = LIB3DS_GOURAUD;
    m->two_sided = it->twoSided;
    m->transparency = it->transparency;
    if (!it->texture.empty()) setMap(m->texture1_map, it->texture);
    if (!it->opacity.empty()) setMap(m->opacity_map, it->opacity);
    lib3ds_file_insert_material(file, m);
  }
  bool ok = true;
  for (auto it = model.meshes.rbegin(); it != model.meshes.rend(); ++it) {
    const MeshDesc& desc = *it;
    if (desc.points.size() > 65535 || desc.faces.size() > 65535) ok = false;
    Lib3dsMesh* mesh = lib3ds_mesh_new(desc.name.c_str());
    lib3ds_matrix_identity(mesh->matrix);
    lib3ds_mesh_new_point_list(mesh, static_cast<Lib3dsDword>(desc.points.size()));
    lib3ds_mesh_new_texel_list(mesh, static_cast<Lib3dsDword>(desc.points.size()));
    for (size_t i = 0; i < desc.points.size(); ++i) {
      mesh->pointL[i].pos[0] = desc.points[i].x;
      mesh->pointL[i].pos[1] = desc.points[i].y;
      mesh->pointL[i].pos[2] = desc.points[i].z;
      mesh->texelL[i][0] = i < desc.uvs.size() ? desc.uvs[i][0] : 0.0f;
      mesh->texelL[i][1] = i < desc.uvs.size() ? desc.uvs[i][1] : 0.0f;
    }
    lib3ds_mesh_new_face_list(mesh, static_cast<Lib3dsDword>(desc.faces.size()));
    for (size_t i = 0; i < desc.faces.size(); ++i) {
      Lib3dsFace& face = mesh->faceL[i];
      for (int k = 0; k < 3; ++k) face.points[k] = desc.faces[i][static_cast<size_t>(k)];
      face.flags = LIB3DS_FACE_FLAG_VIS_AB | LIB3DS_FACE_FLAG_VIS_BC | LIB3DS_FACE_FLAG_VIS_AC;
      face.smoothing = 1;
      std::snprintf(face.material, sizeof(face.material), "%s", desc.material.c_str());
    }
    lib3ds_file_insert_mesh(file, mesh);
  }
  std::vector<uint8_t> bytes;
  if (ok) {
    char path[] = "/tmp/skirrow-content-XXXXXX";
    int fd = mkstemp(path);
    if (fd >= 0) {
      close(fd);
      if (lib3ds_file_save(file, path)) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      }
      std::remove(path);
    }
  }
  lib3ds_file_free(file);
  return bytes;
}

}  // namespace content
