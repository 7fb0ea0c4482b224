#include "game/Analyzer.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <utility>

#include "engine3d/FixedPoint.h"
#include "engine3d/Intersect.h"
#include "engine3d/ScalarMath.h"

namespace game {

using engine3d::Face;
using engine3d::Mesh;
using engine3d::Vector3;

namespace {

bool includes(const std::string& name, const Analyzer::Options& options) {
  if (options.include && name.find(*options.include) == std::string::npos) return false;
  if (options.exclude && name.find(*options.exclude) != std::string::npos) return false;
  return true;
}

Vector3 unitsOf(const engine3d::Vertex& v) {
  return {engine3d::fixedToFloatValue(v.x), engine3d::fixedToFloatValue(v.y),
          engine3d::fixedToFloatValue(v.z)};
}

// Whether a face whose normal has component `c` along the query axis can answer in `mode`:
// facing along the axis (from below), against it (from above), or either way; never a face
// parallel to the axis.
bool facesTheAxis(int mode, float c) {
  constexpr float eps = engine3d::mathEpsilon;
  if (mode == Analyzer::kBelow) return c > eps;
  if (mode == Analyzer::kAbove) return c < -eps;
  return c >= eps || c <= -eps;
}

int toInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace

bool AxisHit::twoSided() const {
  return face && object && object->material && object->material->twoSided;
}

std::unique_ptr<Analyzer> Analyzer::build(const engine3d::Group3D& level,
                                          std::string_view modelName, const Options& options) {
  auto report = [&](int percent) {
    if (options.progress) options.progress(kProgressText, modelName, percent);
  };
  report(0);

  std::vector<const Mesh*> objects;
  for (const auto& mesh : level.meshes())
    if (includes(mesh->name, options)) objects.push_back(mesh.get());
  Vector3 lo, hi;
  bool any = false;
  for (const Mesh* mesh : objects) {
    Vector3 a, b;
    if (!mesh->bounds(a, b)) continue;
    if (!any) {
      lo = a;
      hi = b;
      any = true;
      continue;
    }
    lo.set(std::min(lo.x, a.x), std::min(lo.y, a.y), std::min(lo.z, a.z));
    hi.set(std::max(hi.x, b.x), std::max(hi.y, b.y), std::max(hi.z, b.z));
  }
  if (!any) return nullptr;
  // The margin keeps vertices on the box's faces off the last cell boundary, so every vertex
  // falls into a cell inside the grid.
  const Vector3 margin = (hi - lo) * 0.001f;
  lo -= margin;
  hi += margin;

  std::unique_ptr<Analyzer> grid(new Analyzer());
  const float low[3] = {lo.x, lo.y, lo.z};
  const float high[3] = {hi.x, hi.y, hi.z};
  for (int k = 0; k < 3; ++k) {
    grid->minP_[k] = engine3d::floatToFixed(low[k]);
    grid->maxP_[k] = engine3d::floatToFixed(high[k]);
    // Only a model wider than 32768 units could overflow the difference; keep it in range.
    grid->dims_[k] = static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{grid->maxP_[k]} - grid->minP_[k], INT32_MAX));
  }
  report(25);
  const int wanted[3] = {options.granularityX, options.granularityY, options.granularityZ};
  for (int k = 0; k < 3; ++k) {
    grid->granularity_[k] = engine3d::clamp(wanted[k], 1, kMaxGranularity);
    grid->cellSize_[k] = grid->dims_[k] / grid->granularity_[k];
  }
  report(50);
  if (options.pathFinderLevel > 0) {
    const int shift = std::min(options.pathFinderLevel - 1, PathFinder::kMaxShift);
    grid->pathFinder_.reset(
        new PathFinder(shift, grid->minP_, grid->dims_, grid->cellSize_, grid->granularity_));
  }

  // (row key, triangle number) for every listing; sorted below into the flattened row map.
  // Triangle numbers grow in model order, so sorting the pairs keeps each row in that order.
  std::vector<std::pair<std::int32_t, std::uint32_t>> listings;
  for (std::size_t done = 0; done < objects.size(); ++done) {
    const Mesh& mesh = *objects[done];
    for (const Face& face : mesh.faces) {
      if (!mesh.validFace(face)) continue;
      if (options.filter && !options.filter(mesh, face)) continue;
      const engine3d::Vertex* corner[3] = {&mesh.vertices[static_cast<size_t>(face.index(0))],
                                           &mesh.vertices[static_cast<size_t>(face.index(1))],
                                           &mesh.vertices[static_cast<size_t>(face.index(2))]};
      std::array<int, 3> first{INT_MAX, INT_MAX, INT_MAX}, last{INT_MIN, INT_MIN, INT_MIN};
      for (const engine3d::Vertex* v : corner) {
        const std::int32_t at[3] = {v->x, v->y, v->z};
        for (int k = 0; k < 3; ++k) {
          const int index = grid->cellIndex(at[k], k);
          first[k] = std::min(first[k], index);
          last[k] = std::max(last[k], index);
        }
      }
      const auto t = static_cast<std::uint32_t>(grid->triangles_.size());
      Triangle triangle;
      triangle.a = unitsOf(*corner[0]);
      triangle.b = unitsOf(*corner[1]);
      triangle.c = unitsOf(*corner[2]);
      triangle.normal =
          -Vector3(engine3d::fixedToFloatValue(face.nx), engine3d::fixedToFloatValue(face.ny),
                   engine3d::fixedToFloatValue(face.nz));
      triangle.face = &face;
      triangle.object = &mesh;
      grid->triangles_.push_back(triangle);
      for (int y = first[1]; y <= last[1]; ++y)
        for (int z = first[2]; z <= last[2]; ++z) listings.emplace_back(cellKey(-1, y, z), t);
      for (int x = first[0]; x <= last[0]; ++x)
        for (int z = first[2]; z <= last[2]; ++z) listings.emplace_back(cellKey(x, -1, z), t);
      for (int x = first[0]; x <= last[0]; ++x)
        for (int y = first[1]; y <= last[1]; ++y) listings.emplace_back(cellKey(x, y, -1), t);
      if (grid->pathFinder_) grid->pathFinder_->addFaceBox(first, last);
    }
    report(50 + static_cast<int>(50 * (done + 1) / objects.size()));
  }

  std::sort(listings.begin(), listings.end());
  grid->rowTriangles_.reserve(listings.size());
  for (const auto& [key, t] : listings) {
    if (grid->rowKeys_.empty() || grid->rowKeys_.back() != key) {
      grid->rowKeys_.push_back(key);
      grid->rowStart_.push_back(static_cast<std::uint32_t>(grid->rowTriangles_.size()));
    }
    grid->rowTriangles_.push_back(t);
  }
  grid->rowStart_.push_back(static_cast<std::uint32_t>(grid->rowTriangles_.size()));
  grid->triangles_.shrink_to_fit();
  if (grid->pathFinder_) grid->pathFinder_->finish();
  report(100);
  return grid;
}

int Analyzer::cellIndex(std::int32_t v, int axis) const {
  if (cellSize_[axis] == 0) return 0;
  // In 64 bits: a query point far outside the level must not overflow the difference.
  return toInt((std::int64_t{v} - minP_[axis]) / cellSize_[axis]);
}

int Analyzer::findRow(std::int32_t key) const {
  auto it = std::lower_bound(rowKeys_.begin(), rowKeys_.end(), key);
  if (it == rowKeys_.end() || *it != key) return -1;
  return static_cast<int>(it - rowKeys_.begin());
}

std::array<int, 3> Analyzer::rowOf(const Vector3& p, int axis) const {
  std::array<int, 3> index;
  for (int k = 0; k < 3; ++k) {
    const int cell = cellIndex(engine3d::floatToFixed(engine3d::component(p, k)), k);
    index[k] = k == axis ? -1 : engine3d::clamp(cell, 0, granularity_[k] - 1);
  }
  return index;
}

AxisHit Analyzer::query(const Vector3& p, int axis, int mode) const {
  AxisHit result;
  if (axis < 0 || axis > 2 || mode < kAbove || mode > kNearest) return result;
  const std::array<int, 3> index = rowOf(p, axis);
  const int row = findRow(cellKey(index[0], index[1], index[2]));
  if (row < 0) return result;

  constexpr float eps = engine3d::mathEpsilon;
  const float along = engine3d::component(p, axis);
  float best = mode == kBelow ? -1e38f : 1e38f;
  const Triangle* kept = nullptr;
  Vector3 keptPoint;
  for (std::uint32_t i = rowStart_[row]; i < rowStart_[row + 1]; ++i) {
    const Triangle& t = triangles_[rowTriangles_[i]];
    if (!facesTheAxis(mode, engine3d::component(t.normal, axis))) continue;
    if (!engine3d::axisLineCrossesTriangle(p, axis, t.a, t.b, t.c, eps)) continue;
    const std::optional<Vector3> hit = engine3d::axisLinePlaneHit(p, axis, t.a, t.normal, eps);
    if (!hit) continue;
    const float at = engine3d::component(*hit, axis);
    bool better;
    if (mode == kNearest) {
      const float distance = std::fabs(along - at);
      better = distance < best;
      if (better) best = distance;
    } else if (mode == kBelow) {
      better = at <= along && at > best;
      if (better) best = at;
    } else {
      better = at >= along && at < best;
      if (better) best = at;
    }
    if (better) {
      kept = &t;
      keptPoint = *hit;
    }
  }
  if (!kept) return result;
  result.face = kept->face;
  result.object = kept->object;
  result.point = keptPoint;
  result.normal = kept->normal;
  result.offset = p - keptPoint;
  return result;
}

std::vector<const Face*> Analyzer::row(int x, int y, int z) const {
  std::vector<const Face*> faces;
  const int r = findRow(cellKey(x, y, z));
  if (r < 0) return faces;
  for (std::uint32_t i = rowStart_[r]; i < rowStart_[r + 1]; ++i)
    faces.push_back(triangles_[rowTriangles_[i]].face);
  return faces;
}

std::string Analyzer::info() const {
  auto units = [](std::int32_t v) { return static_cast<double>(engine3d::fixedToFloatValue(v)); };
  const int rows = rowCount();
  const float perRow =
      rows == 0 ? 0.0f : static_cast<float>(rowTriangles_.size()) / static_cast<float>(rows);
  char text[400];
  std::snprintf(text, sizeof text,
                "minP:(%.1f,%.1f,%.1f), maxP:(%.1f,%.1f,%.1f), _dimX:%.1f, _dimY:%.1f, "
                "_dimZ:%.1f, granuX:%d, granuY:%d, granuZ:%d, CellNum:%d, TrianglePerCell:%.1f, ",
                units(minP_[0]), units(minP_[1]), units(minP_[2]), units(maxP_[0]), units(maxP_[1]),
                units(maxP_[2]), units(dims_[0]), units(dims_[1]), units(dims_[2]), granularity_[0],
                granularity_[1], granularity_[2], rows, static_cast<double>(perRow));
  return text;
}

}  // namespace game
