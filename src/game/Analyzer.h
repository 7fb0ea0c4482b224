// Analyzer: the collision grid of a level.
//
// The only collision question the game asks is: which triangle of the level does the line
// through a point, parallel to one of the three axes, cross? The Analyzer answers it by
// sorting the level's triangles into rows of a uniform grid once, at load time, so that a query
// only tries the faces of the one row its line runs along. Built with a path-finder level, it
// also makes the coarse PathFinder grid of occupied cells.
//
// All grid arithmetic is 16.16 fixed point: a float is converted by multiplying by 65536 and
// truncating. The box of the included objects, enlarged by 0.001 of its size on each side,
// runs from minP to maxP; dims = maxP - minP; cell size = dims / granularity per axis. A face
// belongs to every row its box of cells touches: row (-1, y, z) holds the faces a line parallel
// to x through cell row (y, z) may cross, (x, -1, z) those for lines parallel to y, (x, y, -1)
// those for lines parallel to z.
//
// The Analyzer borrows the level: hits name the level's own Face and Mesh objects, so the level
// must outlive the Analyzer. It works in model space (vertex positions as stored; local
// matrices are not applied) and reads the face normals the meshes store, so build it over
// prepared meshes (Mesh::prepare) and do not move their vertices afterwards: the triangles are
// copied at build time.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine3d/Group3D.h"
#include "engine3d/Mesh.h"
#include "engine3d/Vector3.h"
#include "engine3d/Vertex.h"
#include "game/PathFinder.h"

namespace game {

// What a query found.
struct AxisHit {
  const engine3d::Face* face = nullptr;    // none when nothing was hit
  const engine3d::Mesh* object = nullptr;  // the mesh (3DS object) owning the face
  engine3d::Vector3 point;                 // where the line meets the face's plane
  engine3d::Vector3 normal;                // the negated stored face normal, as float
  engine3d::Vector3 offset;                // query point - hit point

  bool hit() const { return face != nullptr; }
  // offset's squared length (0 without a hit).
  float squaredDistance() const { return offset.squaredLength(); }
  // True when the face's material is two-sided (false without a hit or a material).
  bool twoSided() const;
};

class Analyzer {
 public:
  // Decides whether a face of an included object enters the grid.
  using FaceFilter = std::function<bool(const engine3d::Mesh& object, const engine3d::Face& face)>;
  // Told the build's progress: text, model name, percent (0, 25, 50, then after each object,
  // and 100).
  using Progress = std::function<void(std::string_view text, std::string_view model, int percent)>;

  struct Options {
    int granularityX = 24, granularityY = 12, granularityZ = 24;  // clamped to [1, 1000]
    // 0: no PathFinder; d > 0: a PathFinder of level s = d - 1 (at most 31). Negative values
    // make none either.
    int pathFinderLevel = 2;
    // Objects whose names contain `include` (when given) and do not contain `exclude` (when
    // given) make up the grid and its box.
    std::optional<std::string> include, exclude;
    Progress progress;  // may be empty
    FaceFilter filter;  // may be empty (every face)
  };

  // Query modes.
  static constexpr int kAbove = 0;    // faces whose normal points against the axis, hit at or
                                      // beyond the point along it: the lowest such hit
  static constexpr int kBelow = 1;    // faces whose normal points along the axis, hit at or
                                      // before the point: the highest such hit
  static constexpr int kNearest = 2;  // any face not parallel to the axis: the nearest hit (the
                                      // game's mode)

  static constexpr int kMaxGranularity = 1000;
  static constexpr const char* kProgressText = "Analyzing 3D Models";

  // Builds the grid over the meshes of `level` (`modelName` only goes to the progress
  // reports). Faces whose vertex indices lie outside their mesh are skipped. Null only when no
  // included object has a vertex.
  static std::unique_ptr<Analyzer> build(const engine3d::Group3D& level, std::string_view modelName,
                                         const Options& options);

  // The face crossed by the line through `p` parallel to `axis` (0, 1, 2 for x, y, z) that
  // `mode` picks (kNearest, kBelow, kAbove). The line's row is the cell of `p` on the two other
  // axes, clamped into the grid, so a point outside the grid asks the border row. No hit for an
  // axis or mode out of range. Allocates nothing.
  AxisHit query(const engine3d::Vector3& p, int axis, int mode = kNearest) const;

  // Null at path-finder level 0.
  const PathFinder* pathFinder() const { return pathFinder_.get(); }

  // "minP:(%.1f,%.1f,%.1f), maxP:(%.1f,%.1f,%.1f), _dimX:%.1f, _dimY:%.1f, _dimZ:%.1f,
  // granuX:%d, granuY:%d, granuZ:%d, CellNum:%d, TrianglePerCell:%.1f, " with the bounds and
  // dims in units, CellNum the number of rows holding faces and TrianglePerCell their average
  // length.
  std::string info() const;

  // The grid's numbers, 16.16 (granularity as clamped).
  const std::array<std::int32_t, 3>& minP() const { return minP_; }
  const std::array<std::int32_t, 3>& maxP() const { return maxP_; }
  const std::array<std::int32_t, 3>& dims() const { return dims_; }
  const std::array<std::int32_t, 3>& cellSize() const { return cellSize_; }
  const std::array<int, 3>& granularity() const { return granularity_; }
  // The row a query along `axis` (0..2) reads for `p`: -1 on `axis`, and on the two other axes
  // the cell of p, clamped into [0, granularity - 1].
  std::array<int, 3> rowOf(const engine3d::Vector3& p, int axis) const;
  // Rows holding at least one face.
  int rowCount() const { return static_cast<int>(rowKeys_.size()); }
  // The faces listed in row (x, y, z), where exactly one index is -1, in listing order (model
  // order of objects and faces); empty when the row holds none. For tools and tests: it
  // allocates.
  std::vector<const engine3d::Face*> row(int x, int y, int z) const;

 private:
  // One triangle as the queries read it: corners in units and the negated stored normal.
  struct Triangle {
    engine3d::Vector3 a, b, c;
    engine3d::Vector3 normal;
    const engine3d::Face* face = nullptr;
    const engine3d::Mesh* object = nullptr;
  };

  Analyzer() = default;
  // The index of the row holding `key` in rowKeys_, or -1.
  int findRow(std::int32_t key) const;
  // (v - minP) / cell size on `axis` (0 when the cell size is 0), not clamped.
  int cellIndex(std::int32_t v, int axis) const;

  std::array<std::int32_t, 3> minP_{}, maxP_{}, dims_{}, cellSize_{};
  std::array<int, 3> granularity_{};
  std::vector<Triangle> triangles_;
  // The row map, flattened: sorted keys, and for row r the triangle numbers
  // rowTriangles_[rowStart_[r] .. rowStart_[r + 1]).
  std::vector<std::int32_t> rowKeys_;
  std::vector<std::uint32_t> rowStart_;
  std::vector<std::uint32_t> rowTriangles_;
  std::unique_ptr<PathFinder> pathFinder_;
};

}  // namespace game
