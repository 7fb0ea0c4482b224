// GlesCamera: the camera of an OpenGL ES scene. Besides storing the projection and viewport
// settings (Camera) it loads them into its scene's GL context.
#pragma once

#include "engine3d/Camera.h"

namespace engine3d {

class GlesRenderer;
class SceneView;

class GlesCamera : public Camera {
 public:
  // `scene` is borrowed; its renderer (when it is a GlesRenderer) is the context the camera
  // loads into. Without one the camera only stores its values.
  GlesCamera(SceneView* scene, int mode);

  // Stores the values, then loads the projection: perspective(fov, width / height, near, far)
  // times diag(1, s, -1, 1), with s = -1 for an off-screen renderer (top-down pixmap rows) and
  // 1 otherwise. The -1 on z turns the engine's +z-forward eye space into GL's -z.
  void setPerspective(float fov, float near, float far) override;
  // Stores the size, then sets the GL viewport over the scene's area: from column scene x and
  // row renderer->viewportRow(scene y, height).
  void setViewport(int width, int height) override;

 private:
  GlesRenderer* renderer() const;
};

}  // namespace engine3d
