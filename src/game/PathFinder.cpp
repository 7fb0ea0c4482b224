#include "game/PathFinder.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "engine3d/FixedPoint.h"
#include "engine3d/Intersect.h"

namespace game {
namespace {

int toInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace

PathFinder::PathFinder(int shift, const std::array<std::int32_t, 3>& minP,
                       const std::array<std::int32_t, 3>& dims,
                       const std::array<std::int32_t, 3>& cellSize,
                       const std::array<int, 3>& granularity)
    : shift_(std::clamp(shift, 0, kMaxShift)), minP_(minP), levelDims_(dims), cellSize_(cellSize) {
  for (int k = 0; k < 3; ++k) dims_[k] = granularity[k] >> shift_;
}

void PathFinder::addFaceBox(const std::array<int, 3>& lo, const std::array<int, 3>& hi) {
  // A face counts once for every Analyzer cell of its box inside a coarse cell. Rather than
  // visiting each of those cells, count per axis how many of the box's indexes map to each
  // coarse index; the product over the axes is the same count.
  std::array<int, 3> first, last;
  for (int k = 0; k < 3; ++k) {
    first[k] = lo[k] >> shift_;
    last[k] = hi[k] >> shift_;
  }
  auto overlap = [&](int axis, int coarse) -> std::int64_t {
    const std::int64_t begin = std::max<std::int64_t>(lo[axis], std::int64_t{coarse} << shift_);
    const std::int64_t end =
        std::min<std::int64_t>(hi[axis], ((std::int64_t{coarse} + 1) << shift_) - 1);
    return end - begin + 1;
  };
  for (int x = first[0]; x <= last[0]; ++x) {
    const std::int64_t nx = overlap(0, x);
    for (int y = first[1]; y <= last[1]; ++y) {
      const std::int64_t nxy = nx * overlap(1, y);
      for (int z = first[2]; z <= last[2]; ++z)
        cells_.emplace_back(cellKey(x, y, z), nxy * overlap(2, z));
    }
  }
}

void PathFinder::finish() {
  // Stable, so equal keys keep their order; they are then summed into one entry.
  std::stable_sort(cells_.begin(), cells_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::size_t out = 0;
  for (std::size_t i = 0; i < cells_.size(); ++out) {
    const std::int32_t key = cells_[i].first;
    std::int64_t count = 0;
    for (; i < cells_.size() && cells_[i].first == key; ++i) count += cells_[i].second;
    cells_[out] = {key, count};
  }
  cells_.resize(out);
  cells_.shrink_to_fit();
}

PathFinder::Cell PathFinder::cellOf(const engine3d::Vector3& p) const {
  int index[3];
  for (int k = 0; k < 3; ++k) {
    // In 64 bits: a point far outside the level must not overflow the difference.
    const std::int64_t offset =
        std::int64_t{engine3d::floatToFixed(engine3d::component(p, k))} - std::int64_t{minP_[k]};
    const std::int64_t fine = cellSize_[k] == 0 ? 0 : offset / cellSize_[k];
    index[k] = toInt(fine >> shift_);
  }
  return {index[0], index[1], index[2]};
}

engine3d::Vector3 PathFinder::centreOf(const Cell& c) const {
  const int index[3] = {c.i, c.j, c.k};
  float centre[3];
  for (int k = 0; k < 3; ++k) {
    const std::int64_t size = cellSize_[k];
    // The coarse cell's first Analyzer cell plus half a coarse cell. Half of (size x 2^s)
    // rather than size x (2^s / 2): the same for every s >= 1, and still the middle at s = 0.
    const std::int64_t v =
        size * (std::int64_t{index[k]} << shift_) + ((size << shift_) / 2) - levelDims_[k] / 2;
    centre[k] = static_cast<float>(v) * engine3d::fixedToFloat;
  }
  return {centre[0], centre[1], centre[2]};
}

int PathFinder::content(const Cell& c) const {
  if (c.i < 0 || c.i >= dims_[0] || c.j < 0 || c.j >= dims_[1] || c.k < 0 || c.k >= dims_[2])
    return -1;
  const std::int32_t key = cellKey(c.i, c.j, c.k);
  auto it = std::lower_bound(cells_.begin(), cells_.end(), key,
                             [](const auto& cell, std::int32_t k) { return cell.first < k; });
  if (it == cells_.end() || it->first != key) return 0;
  return toInt(it->second);
}

std::string PathFinder::info() const {
  std::int64_t references = 0;
  for (const auto& cell : cells_) references += cell.second;
  const int cellCount = static_cast<int>(cells_.size());
  const float perCell =
      cellCount == 0 ? 0.0f : static_cast<float>(references) / static_cast<float>(cellCount);
  char text[160];
  std::snprintf(text, sizeof text, "dimX:%d, dimY:%d, dimZ:%d, CellNum :%d, TrianglePerCell:%.1f",
                dims_[0], dims_[1], dims_[2], cellCount, static_cast<double>(perCell));
  return text;
}

}  // namespace game
