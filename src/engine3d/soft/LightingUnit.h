// LightingUnit: the software renderer's whole lighting model, two 64 x 64 colour maps.
//
// Cell (row y, column x) of each map holds the light reaching a surface whose normal points in
// direction (x / 32 - 1, y / 32 - 1, ...): the diffuse map the ambient colour plus every light's
// diffuse share, the specular map every light's highlight. Shading a vertex or pixel is then
// one table look-up at the cell its normal selects. Cells are 0x00RRGGBB, or RGB565 values when
// the maps are built for a 16-bit target.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine3d/Colour.h"
#include "engine3d/Light.h"
#include "engine3d/Vector3.h"

namespace engine3d {

class LightingUnit {
 public:
  static constexpr int kSide = 64;
  static constexpr int kCells = kSide * kSide;

  LightingUnit();

  // Rebuilds both maps from `lights` (copied) and `ambient`, in RGB565 when `rgb565`.
  void build(const std::vector<Light>& lights, Colour ambient, bool rgb565);

  const std::uint32_t* diffuse() const { return diffuse_.data(); }
  const std::uint32_t* specular() const { return specular_.data(); }

 private:
  // Per light, what a cell needs from the light: its direction and, for every whole cosine
  // A (0..255), the diffuse and specular shares.
  struct Prepared {
    Vector3 direction;
    float length = 0.0f;
    std::array<int, 3> diffuse{};                     // channels
    std::array<std::array<int, 3>, 256> highlight{};  // [A]: trunc(channel * k * (A/255)^e)
  };

  std::vector<std::uint32_t> diffuse_;
  std::vector<std::uint32_t> specular_;
  // Working space of build(), kept so that rebuilding as the camera turns allocates nothing:
  // the prepared lights, per-cell channel sums (diffuse r, g, b, specular r, g, b) and one
  // light's cosines.
  std::vector<Prepared> prepared_;
  std::array<std::vector<int>, 6> sums_;
  std::vector<int> cosines_;
};

}  // namespace engine3d
