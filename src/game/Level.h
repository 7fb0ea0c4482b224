// Level: how the game loads a room and builds its collision grid, shared by the battle and by
// skirrow-tool, so that the tool reports exactly what a battle will see.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine3d/Group3D.h"
#include "engine3d/Model3dsLoader.h"
#include "game/Analyzer.h"
#include "game/PathFinder.h"

namespace game {

// The half-extent a room is normalised to: 80 for the large rooms 4 and 6, else 50.
float levelRadius(int levelNumber);

// The model file of a room, in its level folder.
inline constexpr const char* kLevelModel = "level.3ds";

// Makes a loaded, normalised model a level as the battle draws and collides with it: every
// material in shading mode 1 (unlit), culling policy 2 (mesh by mesh), and prepared with
// bounds, so that the face normals the collision grid reads are in place (a later scene set-up
// finds it prepared).
void prepareLevel(engine3d::Group3D& level);

// "level.3ds" of `folder` (opened through the resource archives), normalised to `radius`
// (centred on the origin, longest half-extent = radius) and made a level by prepareLevel, its
// maps loaded and its messages shown as `options` say (a page passes its run's texture store
// and message boxes; a tool may load no pictures). Null when it cannot be loaded (the loader has
// told the user). The caller owns the level.
std::unique_ptr<engine3d::Group3D> loadLevel(const std::string& folder, float radius,
                                             const engine3d::ModelLoadOptions& options);

// The grid the game builds: 24 x 12 x 24 cells, path-finder level 2, the faces of objects whose
// names contain "dummy_" (the spawn markers) skipped, no progress reports. Null when the level
// has no vertex. Borrows `level` (see Analyzer).
std::unique_ptr<Analyzer> analyzeLevel(const engine3d::Group3D& level);

// The interior PathFinder cells (1 .. dim - 2 on each axis) holding no triangle, packed as
// (i << 16) | (j << 8) | k, in the order i, then j, then k ascending. The packing is
// unambiguous while j and k stay below 256 (the game's grid is 12 x 6 x 12).
std::vector<int> freeCells(const PathFinder& finder);

}  // namespace game
