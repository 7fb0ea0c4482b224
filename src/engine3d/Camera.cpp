#include "engine3d/Camera.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace engine3d {

Camera::Camera(SceneView* scene, int mode) : scene_(scene), mode_(mode) {}

void Camera::setPerspective(float fov, float near, float far) {
  if (fov <= 0.0f) fov = 1.0f;
  fov_ = fov;
  near_ = near;
  far_ = far;
  // Double precision so that the truncation lands where the drivers' integer culling expects.
  const double radians = static_cast<double>(fov) * 0.017453292 * 0.5;
  const double scaled = std::trunc(std::tan(radians) * 1024.0);
  // A fov at or past 180 degrees has no finite tangent; keep the value representable.
  if (!(scaled < 2147483647.0) || !(scaled > -2147483648.0))
    tanHalfFov1024_ = scaled < 0.0 ? INT32_MIN : INT32_MAX;
  else
    tanHalfFov1024_ = static_cast<std::int32_t>(scaled);
}

void Camera::getPerspective(float& fov, float& near, float& far) const {
  fov = fov_;
  near = near_;
  far = far_;
}

void Camera::setViewport(int width, int height) {
  viewportWidth_ = width;
  viewportHeight_ = height;
}

void Camera::getViewport(int& width, int& height) const {
  width = viewportWidth_;
  height = viewportHeight_;
}

const Matrix4& Camera::viewMatrix() {
  if (dirty_) {
    view_ = Matrix4::lookAt(eye_, target_, up_, true);
    dirty_ = false;
  }
  return view_;
}

void Camera::setEye(const Vector3& eye) {
  eye_ = eye;
  dirty_ = true;
}

void Camera::setTarget(const Vector3& target) {
  target_ = target;
  dirty_ = true;
}

void Camera::setUp(const Vector3& up) {
  up_ = up;
  dirty_ = true;
}

std::int32_t Camera::tanHalfFovY1024() const {
  if (viewportWidth_ <= 0 || viewportHeight_ <= viewportWidth_ || tanHalfFov1024_ <= 0)
    return tanHalfFov1024_;
  // Rounded up: the culling that uses it may keep a little too much, never too little.
  const std::int64_t scaled =
      (static_cast<std::int64_t>(tanHalfFov1024_) * viewportHeight_ + viewportWidth_ - 1) /
      viewportWidth_;
  return static_cast<std::int32_t>(std::min<std::int64_t>(scaled, INT32_MAX));
}

std::int32_t Camera::focalLength() const {
  if (tanHalfFov1024_ == 0) return 0;
  return ((viewportWidth_ & ~1) << 9) / tanHalfFov1024_;
}

}  // namespace engine3d
