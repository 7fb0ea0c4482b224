#include "game/FollowCamera.h"

#include <algorithm>
#include <cmath>

#include "engine3d/ScalarMath.h"

namespace game {

using engine3d::Matrix4;
using engine3d::Vector3;

namespace {

constexpr Vector3 kUp(0.0f, 1.0f, 0.0f);

}  // namespace

FollowCamera::FollowCamera(engine3d::Camera& camera) : camera_(camera), kind_(camera.mode()) {}

void FollowCamera::setFollow(int kind, const Matrix4* followed, float distance, float baseLag,
                             const Vector3& direction, const Vector3* offset) {
  kind_ = kind;
  if (kind == kFixed) {
    followed_ = nullptr;
    return;
  }
  followed_ = followed;
  distance_ = distance;
  lag_ = baseLag_ = baseLag;
  direction_ = kind == kLookAt ? direction : engine3d::normalized(direction);
  offset_ = offset ? *offset : Vector3();
  if (kind == kFlyBy) place();
}

void FollowCamera::setLag(float lag) {
  lag_ = baseLag_ = lag;
}

void FollowCamera::setFollowed(const Matrix4* followed) {
  followed_ = followed;
  if (kind_ == kFlyBy) place();
}

void FollowCamera::place() {
  if (!followed_) return;
  if (distance_ != 0.0f) camera_.setEye(followed_->transformPoint(direction_ * -distance_));
  camera_.setUp(kUp);
}

void FollowCamera::update(float dt) {
  if (kind_ == kFixed || !followed_) return;
  const Matrix4& m = *followed_;
  const Vector3 position = m.translation();
  switch (kind_) {
    case kLookAt:
      camera_.setTarget(position + direction_ + offset_);
      return;
    case kFlyBy:
      camera_.setTarget(position + offset_);
      if ((position - camera_.eye()).squaredLength() > distance_ * distance_) place();
      return;
    case kRigid:
    case kOverhead:
    case kRigidFront: {
      camera_.setTarget(position + offset_);
      Vector3 v = m.transformDirection(direction_);
      // The height of the view does not pitch with the object.
      v.y = direction_.y;
      if (kind_ == kOverhead) {
        v.x = 0.0f;
        v.z = -0.001f;  // never straight above: the look-at needs an up that is not the view
      }
      if (v.squaredLength() > 1e-18f)
        camera_.setEye(position + engine3d::normalized(v) * distance_);
      camera_.setUp(kUp);
      return;
    }
    case kCockpit: {
      const Vector3 eye = m.transformPoint(direction_ * distance_);
      const float reach = (std::fabs(eye.x) + std::fabs(eye.y) + std::fabs(eye.z)) * 0.33333f;
      camera_.setEye(eye);
      camera_.setTarget(m.transformPoint(direction_ * std::max(reach, 10.0f)));
      camera_.setUp(m.transformDirection(kUp));
      return;
    }
    case kChase:
    case kChaseRoll:
    case kChaseWorld: {
      const float f = 1.0f - lag_ * 0.01f;
      const Vector3 target = position + offset_;
      const Vector3 goal = kind_ == kChaseWorld ? target + direction_ * distance_
                                                : m.transformPoint(direction_ * distance_);
      Vector3 eye = camera_.eye();
      engine3d::moveToward(eye, goal, f);
      camera_.setTarget(target);
      camera_.setEye(eye);
      // The farther the eye trails behind the wanted distance, the smaller the lag: it catches
      // up faster. A zero distance has no scale to compare with.
      const float wanted = distance_ * distance_;
      float lag = baseLag_;
      if (wanted != 0.0f) lag -= (((eye - target).squaredLength() - wanted) / wanted) * dt;
      lag_ = engine3d::clamp(lag, 0.0f, 100.0f);
      if (kind_ == kChaseRoll) {
        Vector3 up = camera_.up();
        engine3d::moveToward(up, m.transformDirection(kUp), f);
        camera_.setUp(up);
      } else {
        camera_.setUp(kUp);
      }
      return;
    }
    default:
      return;
  }
}

}  // namespace game
