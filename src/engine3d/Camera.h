// Camera: the eye, the projection settings and the viewport of a 3D scene.
//
// The four virtual operations come in this order: setPerspective, getPerspective, setViewport,
// getViewport. The base class stores the values; a driver's camera overrides them to also load
// its own projection or viewport (and calls the base to store). Cameras are made by a driver
// table's createCamera, which asks the driver of the scene's type (see RendererDrivers.h).
#pragma once

#include <cstdint>
#include <memory>

#include "engine3d/Matrix4.h"
#include "engine3d/Vector3.h"

namespace engine3d {

class SceneView;

class Camera {
 public:
  // Defaults: eye (0, 0, -10), target (0, 0, 0), up (0, 1, 0), follow distance 10, dirty.
  // `scene` is borrowed and may be null; `mode` is the follow camera's control mode.
  Camera(SceneView* scene, int mode);
  virtual ~Camera() = default;
  Camera(const Camera&) = delete;
  Camera& operator=(const Camera&) = delete;

  // A fov <= 0 degrees is taken as 1 degree. Also sets tanHalfFov1024 =
  // trunc(tan(fov / 2) * 1024), computed in double precision.
  virtual void setPerspective(float fov, float near, float far);
  virtual void getPerspective(float& fov, float& near, float& far) const;
  virtual void setViewport(int width, int height);
  virtual void getViewport(int& width, int& height) const;

  // The view matrix: recomputed from eye, target and up (a look-at view matrix, eye space
  // looking down +z) when one of them changed since the last call.
  const Matrix4& viewMatrix();

  void setEye(float x, float y, float z) { setEye(Vector3(x, y, z)); }
  void setEye(const Vector3& eye);
  void setTarget(float x, float y, float z) { setTarget(Vector3(x, y, z)); }
  void setTarget(const Vector3& target);
  void setUp(float x, float y, float z) { setUp(Vector3(x, y, z)); }
  void setUp(const Vector3& up);
  const Vector3& eye() const { return eye_; }
  const Vector3& target() const { return target_; }
  const Vector3& up() const { return up_; }

  // tan(fov / 2) * 1024, truncated, as setPerspective stored it (0 before the first call).
  // The fov spans the viewport's width.
  std::int32_t tanHalfFov1024() const { return tanHalfFov1024_; }
  // The same for the vertical half-angle, which both drivers draw with: tanHalfFov1024 *
  // height / width, rounded up, for a viewport taller than it is wide; tanHalfFov1024 itself
  // for any other viewport (one not taller than wide, or not set).
  std::int32_t tanHalfFovY1024() const;
  // (width / 2) / tan(fov / 2) in pixels: ((width with its lowest bit cleared) << 9) /
  // tanHalfFov1024, integer division. 0 while tanHalfFov1024 is 0 (a fov so small that the
  // tangent truncates to nothing, or no perspective set yet).
  std::int32_t focalLength() const;

  SceneView* scene() const { return scene_; }
  int mode() const { return mode_; }

  // The follow camera's state (the follow camera itself lives with the game objects).
  float followDistance = 10.0f;
  float followSecond = 0.0f;
  Vector3 followWork[2];
  void* followed = nullptr;  // the object followed, not owned

 private:
  SceneView* scene_;
  Vector3 eye_{0.0f, 0.0f, -10.0f};
  Vector3 target_{0.0f, 0.0f, 0.0f};
  Vector3 up_{0.0f, 1.0f, 0.0f};
  float fov_ = 0.0f;
  std::int32_t tanHalfFov1024_ = 0;
  float near_ = 0.0f;
  float far_ = 0.0f;
  int viewportWidth_ = 0;
  int viewportHeight_ = 0;
  bool dirty_ = true;
  Matrix4 view_;
  int mode_;
};

}  // namespace engine3d
