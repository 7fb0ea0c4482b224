#include "game/LevelSubdivision.h"

#include <cstdlib>

#include "engine3d/Vertex.h"

namespace game {

bool LevelSubdivision::shouldSplit(const engine3d::Face& face, int depth,
                                   const engine3d::ProjectedCorner (&c)[3]) {
  const engine3d::Mesh* part = face.owner;
  if (part && (part == ceiling_ || part == ground_)) return depth < 1;
  auto spread = [&](int engine3d::ProjectedCorner::*axis) {
    return std::abs(c[2].*axis - c[0].*axis) + std::abs(c[1].*axis - c[2].*axis) +
           std::abs(c[0].*axis - c[1].*axis);
  };
  if (!part || part != wall_) {
    if (c[0].depth + c[1].depth + c[2].depth > 100) return false;
    if (spread(&engine3d::ProjectedCorner::x) < across_) return false;
    if (spread(&engine3d::ProjectedCorner::y) < across_) return false;
  }
  return depth < 1 && spread(&engine3d::ProjectedCorner::depth) > deep_;
}

}  // namespace game
