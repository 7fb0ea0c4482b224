// Rooms: the seven levels. Each level folder holds "level.3ds" (objects "ground", "ceiling",
// "wall", the spawn markers "dummy_t0" and "dummy_t1", and one object per piece of furniture),
// its textures, the radar map "map<n>.jpg" and "flyable.properties"; the scenes folder also
// holds each room's menu preview and the explosion sheet.
#pragma once

#include <string>
#include <vector>

#include "ModelWriter.h"
#include "Picture.h"

namespace content {

// One solid of a room: boxes (faces out) of one material.
struct Piece {
  std::string name;
  std::string material;
  std::vector<std::pair<Vec3, Vec3>> boxes;
};

struct RoomLayout {
  float length = 100, depth = 70, height = 40;            // x, y, z extents; the floor is at z = 0
  std::vector<std::pair<std::string, Picture>> textures;  // material name -> its texture
  std::vector<Piece> pieces;
  std::string flyers;  // the text of flyable.properties
};

// The layout of room `level` (0..6).
RoomLayout roomLayout(int level);

}  // namespace content
