// SubdivisionQuestion: lets a mesh's owner decide, face by face, whether the software renderer
// splits a triangle into four before drawing it.
//
// Affine texturing and per-vertex fog look wrong on large triangles close to the camera; a
// level that knows its geometry answers yes for those faces. The renderer asks again for each
// of the four parts with the depth one higher, so the answer must turn to no as depth grows
// (the renderer stops splitting at a fixed depth whatever the answer).
#pragma once

namespace engine3d {

struct Face;

// One corner of the triangle being asked about, as the renderer projected it: screen position
// in pixels and eye depth in whole units.
struct ProjectedCorner {
  int x = 0;
  int y = 0;
  int depth = 0;
};

class SubdivisionQuestion {
 public:
  virtual ~SubdivisionQuestion() = default;
  // True to split `face` (the original face, also for its parts) at split depth `depth`
  // (0 for the face itself); `corners` are the three corners of the part now asked about.
  virtual bool shouldSplit(const Face& face, int depth, const ProjectedCorner (&corners)[3]) = 0;
};

}  // namespace engine3d
