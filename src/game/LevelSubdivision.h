// LevelSubdivision: the battle page's answer to the software renderer's question whether a face
// of the room is split once more before it is drawn.
//
// Floors and ceilings are large and seen at a grazing angle: they are always split once. Other
// furniture is split only when it is near (the corners' depths add up to at most 100), large on
// the screen (at least 45 display units across and down) and deep (its corners' depths differ by
// more than 15 units in all); walls only by the last rule. Nothing is split twice.
#pragma once

#include "engine3d/Mesh.h"
#include "engine3d/SubdivisionQuestion.h"

namespace game {

class LevelSubdivision : public engine3d::SubdivisionQuestion {
 public:
  // The room's "ceiling", "ground" and "wall" parts (any may be null) and the two sizes in
  // pixels (45 and 15 display units).
  void setUp(const engine3d::Mesh* ceiling, const engine3d::Mesh* ground,
             const engine3d::Mesh* wall, int across, int deep) {
    ceiling_ = ceiling;
    ground_ = ground;
    wall_ = wall;
    across_ = across;
    deep_ = deep;
  }

  bool shouldSplit(const engine3d::Face& face, int depth,
                   const engine3d::ProjectedCorner (&c)[3]) override;

 private:
  const engine3d::Mesh* ceiling_ = nullptr;
  const engine3d::Mesh* ground_ = nullptr;
  const engine3d::Mesh* wall_ = nullptr;
  int across_ = 45;
  int deep_ = 15;
};

}  // namespace game
