#include "engine3d/gles/GlesCamera.h"

#include <GLES/gl.h>

#include "engine3d/SceneView.h"
#include "engine3d/gles/GlesConvert.h"
#include "engine3d/gles/GlesRenderer.h"

namespace engine3d {

GlesCamera::GlesCamera(SceneView* scene, int mode) : Camera(scene, mode) {}

GlesRenderer* GlesCamera::renderer() const {
  return scene() ? dynamic_cast<GlesRenderer*>(scene()->renderer()) : nullptr;
}

void GlesCamera::setPerspective(float fov, float near, float far) {
  Camera::setPerspective(fov, near, far);
  GlesRenderer* gl = renderer();
  if (!gl) return;
  gl->makeCurrent();
  float storedFov = 0.0f;
  float storedNear = 0.0f;
  float storedFar = 0.0f;
  getPerspective(storedFov, storedNear, storedFar);
  int width = 0;
  int height = 0;
  getViewport(width, height);
  const float aspect = height != 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
  Matrix4 scale;
  scale.setScale(Vector3(1.0f, gl->offscreen ? -1.0f : 1.0f, -1.0f));
  const Matrix4 projection = Matrix4::perspective(storedFov, aspect, storedNear, storedFar) * scale;
  glMatrixMode(GL_PROJECTION);
  loadMatrixFixed(projection);
}

void GlesCamera::setViewport(int width, int height) {
  Camera::setViewport(width, height);
  GlesRenderer* gl = renderer();
  if (!gl) return;
  gl->makeCurrent();
  const int x = scene()->x();
  const int y = gl->viewportRow(scene()->y(), height);
  glViewport(x, y, width, height);
}

}  // namespace engine3d
