// PathFinder: the coarse grid of a level that records which cells of space hold triangles.
//
// The Analyzer makes it while it builds its rows (see Analyzer.h): each coarse cell joins
// 2^s x 2^s x 2^s Analyzer cells, and every face is counted once for every Analyzer cell of its
// box that falls into the coarse cell. The bonus flyers walk through its free cells and the
// battle spawns them there. All arithmetic is 16.16 fixed point, as in the Analyzer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine3d/Vector3.h"

namespace game {

class Analyzer;

// The key of grid cell (x, y, z), where -1 on an axis stands for every cell along it (a row):
// ((y + 1) << 10) | ((x + 1) << 20) | (z + 1). Keys are unique while every index stays below
// 1023; past that, keys of different cells may meet (computed modulo 2^32, never undefined).
constexpr std::int32_t cellKey(int x, int y, int z) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(y + 1) << 10) |
                                   (static_cast<std::uint32_t>(x + 1) << 20) |
                                   static_cast<std::uint32_t>(z + 1));
}

class PathFinder {
 public:
  struct Cell {
    int i = 0, j = 0, k = 0;
    friend bool operator==(const Cell&, const Cell&) = default;
  };

  // The deepest level: coarse cells of 2^31 Analyzer cells.
  static constexpr int kMaxShift = 31;

  // The cell holding `p`: per axis ((p - minP) / cell size) >> s in 16.16 integers (0 on an axis
  // whose cell size is 0). The division truncates toward zero, so a point less than one
  // Analyzer cell below minP still lands in cell 0; farther out the cell lies outside the grid.
  Cell cellOf(const engine3d::Vector3& p) const;
  // Per axis cell size x (i x 2^s) + (cell size x 2^s) / 2 - dims / 2, in 16.16, as a float:
  // the middle of the coarse cell, for a level centred on the origin (as loaded levels are).
  engine3d::Vector3 centreOf(const Cell& c) const;
  // -1 when an index lies outside [0, dim - 1] on its axis (blocked, so a neighbour search never
  // leaves the grid); else the number of face references counted in the cell, 0 when free.
  int content(const Cell& c) const;

  int dimX() const { return dims_[0]; }
  int dimY() const { return dims_[1]; }
  int dimZ() const { return dims_[2]; }
  // s: Analyzer cells per coarse cell are 2^s along each axis.
  int shift() const { return shift_; }

  // "dimX:%d, dimY:%d, dimZ:%d, CellNum :%d, TrianglePerCell:%.1f": CellNum counts the cells
  // holding any face, TrianglePerCell is the average count of those cells.
  std::string info() const;

 private:
  friend class Analyzer;

  PathFinder(int shift, const std::array<std::int32_t, 3>& minP,
             const std::array<std::int32_t, 3>& dims, const std::array<std::int32_t, 3>& cellSize,
             const std::array<int, 3>& granularity);

  // Counts one face whose Analyzer cell box is [lo, hi] (inclusive, per axis).
  void addFaceBox(const std::array<int, 3>& lo, const std::array<int, 3>& hi);
  // Sorts the counted cells for look-up; called once, after the last face.
  void finish();

  int shift_;
  std::array<std::int32_t, 3> minP_;
  std::array<std::int32_t, 3> levelDims_;  // the Analyzer's dims (maxP - minP), 16.16
  std::array<std::int32_t, 3> cellSize_;   // the Analyzer's cell size, 16.16
  std::array<int, 3> dims_;                // granularity >> s
  // (cell key, face references): one entry per face and cell while building, merged into one
  // entry per cell and sorted by key by finish().
  std::vector<std::pair<std::int32_t, std::int64_t>> cells_;
};

}  // namespace game
