#include "engine3d/soft/LightingUnit.h"

#include <algorithm>
#include <cmath>

#include "engine3d/ScalarMath.h"

namespace engine3d {

namespace {

// The normal each cell stands for: nx = x / 32, ny = y / 32 and a cone-shaped
// nz = 1 - sqrt(nx^2 + ny^2) (at least 0), with its length. The same for every build.
struct CellNormal {
  float x, y, z, length;
};

const std::vector<CellNormal>& cellNormals() {
  static const std::vector<CellNormal> cells = [] {
    std::vector<CellNormal> all;
    all.reserve(LightingUnit::kCells);
    for (int y = -32; y < 32; ++y)
      for (int x = -32; x < 32; ++x) {
        const float nx = static_cast<float>(x) / 32.0f;
        const float ny = static_cast<float>(y) / 32.0f;
        // sqrt(nx^2 + ny^2) with 15 fractional bits: (x^2 + y^2) / 1024 scaled by 2^30.
        const std::uint32_t squared = static_cast<std::uint32_t>(x * x + y * y) << 20;
        const float radius = static_cast<float>(isqrt(squared)) / 32768.0f;
        const float nz = std::max(1.0f - radius, 0.0f);
        all.push_back({nx, ny, nz, std::sqrt(nx * nx + ny * ny + nz * nz)});
      }
    return all;
  }();
  return cells;
}

}  // namespace

LightingUnit::LightingUnit() : diffuse_(kCells, 0), specular_(kCells, 0), cosines_(kCells, 0) {}

void LightingUnit::build(const std::vector<Light>& lights, Colour ambient, bool rgb565) {
  // The highlight k * (A / 255)^e depends on A alone, so it is worked out 256 times per light
  // rather than once per cell. The prepared lights keep their room from one build to the next.
  std::vector<Prepared>& prepared = prepared_;
  prepared.resize(lights.size());
  for (std::size_t i = 0; i < lights.size(); ++i) {
    const Light& light = lights[i];
    Prepared& p = prepared[i];
    p.direction = light.direction;
    p.length =
        std::sqrt(light.direction.x * light.direction.x + light.direction.y * light.direction.y +
                  light.direction.z * light.direction.z);
    p.diffuse = {static_cast<int>(red(light.diffuse)), static_cast<int>(green(light.diffuse)),
                 static_cast<int>(blue(light.diffuse))};
    const float strength = static_cast<float>(light.specularStrength) * 0.003921569f;
    // A shininess near zero would make the exponent explode; 0.01 caps it at 100.
    const float exponent =
        1.0f / std::max(static_cast<float>(light.shininess) * 0.00024414f, 0.01f);
    const float channels[3] = {static_cast<float>(red(light.specular)),
                               static_cast<float>(green(light.specular)),
                               static_cast<float>(blue(light.specular))};
    for (int a = 0; a < 256; ++a) {
      const float highlight = strength * std::pow(static_cast<float>(a) / 255.0f, exponent);
      for (int c = 0; c < 3; ++c) p.highlight[a][c] = static_cast<int>(channels[c] * highlight);
    }
  }

  // Light by light over all cells (the cosines of one light form a loop the compiler can
  // vectorise), summing into per-cell channels: diffuse from the ambient colour, specular
  // from 0.
  const std::vector<CellNormal>& normals = cellNormals();
  auto& sums = sums_;
  const int start[6] = {static_cast<int>(red(ambient)),
                        static_cast<int>(green(ambient)),
                        static_cast<int>(blue(ambient)),
                        0,
                        0,
                        0};
  for (int c = 0; c < 6; ++c) sums[c].assign(kCells, start[c]);
  std::vector<int>& cosines = cosines_;
  for (const Prepared& p : prepared) {
    if (p.length <= 0.0f) continue;  // a light without a direction adds nothing
    for (int cell = 0; cell < kCells; ++cell) {
      const CellNormal& n = normals[static_cast<std::size_t>(cell)];
      const float dot = n.x * p.direction.x + n.y * p.direction.y + n.z * p.direction.z;
      // Every cell's normal has a length (nz is 1 where nx and ny are 0).
      const int a = static_cast<int>(255.0f * (dot / (n.length * p.length)));
      cosines[static_cast<std::size_t>(cell)] = std::clamp(a, 0, 255);
    }
    for (int c = 0; c < 3; ++c) {
      const int channel = p.diffuse[c];
      int* sum = sums[c].data();
      for (int cell = 0; cell < kCells; ++cell) sum[cell] += channel * cosines[cell] >> 8;
    }
    for (int cell = 0; cell < kCells; ++cell) {
      const std::array<int, 3>& h = p.highlight[static_cast<std::size_t>(cosines[cell])];
      sums[3][cell] += h[0];
      sums[4][cell] += h[1];
      sums[5][cell] += h[2];
    }
  }
  for (int cell = 0; cell < kCells; ++cell) {
    auto channel = [&](int c) { return static_cast<std::uint32_t>(std::min(sums[c][cell], 255)); };
    const Colour d = rgb(channel(0), channel(1), channel(2));
    const Colour s = rgb(channel(3), channel(4), channel(5));
    diffuse_[static_cast<std::size_t>(cell)] = rgb565 ? toRgb565(d) : d;
    specular_[static_cast<std::size_t>(cell)] = rgb565 ? toRgb565(s) : s;
  }
}

}  // namespace engine3d
