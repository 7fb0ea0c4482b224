#include "engine3d/soft/LightingUnit.h"

#include <algorithm>
#include <cmath>

#include "engine3d/ScalarMath.h"

namespace engine3d {

LightingUnit::LightingUnit() : diffuse_(kCells, 0), specular_(kCells, 0) {}

void LightingUnit::build(const std::vector<Light>& lights, Colour ambient, bool rgb565) {
  struct Prepared {
    float r, g, b;     // diffuse channels
    float sr, sg, sb;  // specular channels
    float strength;
    float exponent;
    Vector3 direction;
    float length;
  };
  std::vector<Prepared> prepared;
  prepared.reserve(lights.size());
  for (const Light& light : lights) {
    Prepared p;
    p.r = static_cast<float>(red(light.diffuse));
    p.g = static_cast<float>(green(light.diffuse));
    p.b = static_cast<float>(blue(light.diffuse));
    p.sr = static_cast<float>(red(light.specular));
    p.sg = static_cast<float>(green(light.specular));
    p.sb = static_cast<float>(blue(light.specular));
    p.strength = static_cast<float>(light.specularStrength) * 0.003921569f;
    // A shininess near zero would make the exponent explode; 0.01 caps it at 100.
    p.exponent = 1.0f / std::max(static_cast<float>(light.shininess) * 0.00024414f, 0.01f);
    p.direction = light.direction;
    p.length =
        std::sqrt(light.direction.x * light.direction.x + light.direction.y * light.direction.y +
                  light.direction.z * light.direction.z);
    prepared.push_back(p);
  }

  for (int y = -32; y < 32; ++y) {
    for (int x = -32; x < 32; ++x) {
      const float nx = static_cast<float>(x) / 32.0f;
      const float ny = static_cast<float>(y) / 32.0f;
      // sqrt(nx^2 + ny^2) with 15 fractional bits: (x^2 + y^2) / 1024 scaled by 2^30.
      const std::uint32_t squared = static_cast<std::uint32_t>(x * x + y * y) << 20;
      const float radius = static_cast<float>(isqrt(squared)) / 32768.0f;
      const float nz = std::max(1.0f - radius, 0.0f);
      const float nLength = std::sqrt(nx * nx + ny * ny + nz * nz);

      int dr = static_cast<int>(red(ambient));
      int dg = static_cast<int>(green(ambient));
      int db = static_cast<int>(blue(ambient));
      int sr = 0, sg = 0, sb = 0;
      for (const Prepared& p : prepared) {
        int a = 0;
        if (p.length > 0.0f && nLength > 0.0f) {
          const float dot = nx * p.direction.x + ny * p.direction.y + nz * p.direction.z;
          a = static_cast<int>(255.0f * (dot / (nLength * p.length)));
          if (a < 0) a = 0;
        }
        dr += static_cast<int>(p.r) * a >> 8;
        dg += static_cast<int>(p.g) * a >> 8;
        db += static_cast<int>(p.b) * a >> 8;
        const float highlight = p.strength * std::pow(static_cast<float>(a) / 255.0f, p.exponent);
        sr += static_cast<int>(p.sr * highlight);
        sg += static_cast<int>(p.sg * highlight);
        sb += static_cast<int>(p.sb * highlight);
      }
      const Colour d = rgb(std::min(dr, 255), std::min(dg, 255), std::min(db, 255));
      const Colour s = rgb(std::min(sr, 255), std::min(sg, 255), std::min(sb, 255));
      const int cell = (y + 32) * kSide + (x + 32);
      diffuse_[cell] = rgb565 ? toRgb565(d) : d;
      specular_[cell] = rgb565 ? toRgb565(s) : s;
    }
  }
}

}  // namespace engine3d
