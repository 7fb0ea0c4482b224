#include "game/Level.h"

namespace game {

float levelRadius(int levelNumber) {
  return levelNumber == 4 || levelNumber == 6 ? 80.0f : 50.0f;
}

std::unique_ptr<engine3d::Group3D> loadLevel(const std::string& folder, float radius,
                                             const engine3d::ModelLoadOptions& options) {
  std::unique_ptr<engine3d::Group3D> level =
      engine3d::loadModel3ds(folder, kLevelModel, radius, {}, options);
  if (level) prepareLevel(*level);
  return level;
}

void prepareLevel(engine3d::Group3D& level) {
  level.setDetailLevel(engine3d::kShadingUnlit);
  level.cullingPolicy = engine3d::kCullMesh;
  // Unlit, so no vertex normals are made; the face normals are what the grid needs, and the
  // mesh bounds are what culling mesh by mesh needs.
  level.prepare(true);
}

std::unique_ptr<Analyzer> analyzeLevel(const engine3d::Group3D& level) {
  Analyzer::Options options;
  options.granularityX = 24;
  options.granularityY = 12;
  options.granularityZ = 24;
  options.pathFinderLevel = 2;
  options.filter = [](const engine3d::Mesh& object, const engine3d::Face&) {
    return object.name.find("dummy_") == std::string::npos;
  };
  return Analyzer::build(level, kLevelModel, options);
}

std::vector<int> freeCells(const PathFinder& finder) {
  std::vector<int> cells;
  for (int i = 1; i <= finder.dimX() - 2; ++i)
    for (int j = 1; j <= finder.dimY() - 2; ++j)
      for (int k = 1; k <= finder.dimZ() - 2; ++k)
        if (finder.content({i, j, k}) == 0) cells.push_back(i << 16 | j << 8 | k);
  return cells;
}

}  // namespace game
