// SoftCamera: the software renderer's camera. It only stores the values; the renderer reads
// the viewport and focal length from it at the start of each frame.
#pragma once

#include <memory>

#include "engine3d/Camera.h"

namespace engine3d {

class SoftCamera : public Camera {
 public:
  SoftCamera(SceneView* scene, int mode) : Camera(scene, mode) {}
};

}  // namespace engine3d
