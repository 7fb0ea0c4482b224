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

class SubdivisionQuestion {
 public:
  virtual ~SubdivisionQuestion() = default;
  // True to split `face` (the original face, also for its parts) at split depth `depth`
  // (0 for the face itself).
  virtual bool shouldSplit(const Face& face, int depth) = 0;
};

}  // namespace engine3d
