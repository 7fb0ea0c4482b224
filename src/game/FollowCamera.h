// FollowCamera: moves a scene's camera after a followed object, in this game the world matrix
// of the viewed helicopter.
//
// It offers a fixed camera, a look-at camera, a fly-by camera that waits and jumps ahead, three
// rigid orbit cameras, a cockpit camera that rolls with the object and three smoothed chase
// cameras. The battle page picks a kind per camera mode and calls update() once per frame. The
// camera is moved through its own setters, which mark its view matrix for recomputation.
//
// Notation of the contracts below: P = the followed matrix's translation, R(v) = v turned by
// its rotation, M(v) = v transformed by the whole matrix, target = P + offset. The arithmetic
// is single precision in the order written, so results repeat bit for bit.
#pragma once

#include "engine3d/Camera.h"
#include "engine3d/Matrix4.h"
#include "engine3d/Vector3.h"

namespace game {

class FollowCamera {
 public:
  // Follow kinds.
  static constexpr int kFixed = -2;      // eye, target and up as last set; updates do nothing
  static constexpr int kLookAt = -1;     // target = P + direction + offset; the eye stays
  static constexpr int kFlyBy = 0;       // the eye waits, and is placed again at M(direction x
                                         // -distance) once the object is farther than distance
  static constexpr int kRigid = 1;       // eye = P + normalise(v) x distance, v = R(direction)
                                         // with v.y = direction.y; up (0, 1, 0)
  static constexpr int kOverhead = 2;    // as kRigid with v.x = 0, v.z = -0.001: from above
  static constexpr int kRigidFront = 3;  // as kRigid (the game gives it a negative distance)
  static constexpr int kCockpit = 4;     // eye = M(direction x distance), up = R((0, 1, 0))
  static constexpr int kChase = 5;       // the eye closes on M(direction x distance) smoothly
  static constexpr int kChaseRoll = 6;   // as kChase, with up blended toward R((0, 1, 0))
  static constexpr int kChaseWorld = 7;  // as kChase toward target + direction x distance

  // Borrows `camera` (it must outlive this object). The follow kind starts as the camera's
  // control mode, with no followed object, distance 10, lag and base lag 0, direction and
  // offset (0, 0, 0).
  explicit FollowCamera(engine3d::Camera& camera);

  // Kind kFixed stores the kind and drops the followed object (nothing else changes).
  // Otherwise stores `followed` (borrowed: the matrix must outlive its use here, or be replaced
  // with setFollowed), `distance`, lag = base lag = `baseLag`, `direction` (normalised, except
  // for kLookAt, which adds it as given) and `offset` ((0, 0, 0) when null); kFlyBy places the
  // eye at once (see update()).
  void setFollow(int kind, const engine3d::Matrix4* followed, float distance, float baseLag,
                 const engine3d::Vector3& direction, const engine3d::Vector3* offset = nullptr);
  // Sets the lag and the base lag.
  void setLag(float lag);
  int followKind() const { return kind_; }
  // Follows another matrix (null: updates do nothing); kFlyBy places the eye at once.
  void setFollowed(const engine3d::Matrix4* followed);
  // Sets the direction as given, NOT normalised (the page steers the chase cameras' height
  // this way after each update; it takes effect from the next one).
  void setDirection(const engine3d::Vector3& direction) { direction_ = direction; }

  // One frame of `dt` seconds. Does nothing for kFixed or without a followed object.
  // kFlyBy: target = P + offset; when |P - eye|^2 > distance^2 the eye is placed again:
  //   when distance != 0, eye = M(direction x -distance); up = (0, 1, 0).
  // kRigid, kRigidFront: target = P + offset; v = R(direction) with v.y = direction.y; when
  //   |v|^2 > 1e-18, eye = P + normalise(v) x distance; up = (0, 1, 0). kOverhead likewise
  //   with v.x = 0 and v.z = -0.001.
  // kCockpit: eye = M(direction x distance); c = (|eye.x| + |eye.y| + |eye.z|) x 0.33333;
  //   target = M(direction x max(c, 10)); up = R((0, 1, 0)) (the view rolls with the object).
  // Chase kinds: f = 1 - lag x 0.01; target = P + offset; goal = M(direction x distance)
  //   (kChaseWorld: target + direction x distance); eye += (goal - eye) x f; then
  //   lag = base lag - ((|eye - target|^2 - d^2) / d^2) x dt with d = distance, clamped to
  //   [0, 100] (with d = 0 the correction is left out: lag = base lag); up = (0, 1, 0), except
  //   kChaseRoll: up += (R((0, 1, 0)) - up) x f. So lag 100 freezes the eye, lag 0 puts it on
  //   the goal, and a lagging eye catches up faster.
  void update(float dt);

  engine3d::Camera& camera() { return camera_; }
  const engine3d::Matrix4* followed() const { return followed_; }
  float distance() const { return distance_; }
  float lag() const { return lag_; }
  float baseLag() const { return baseLag_; }
  const engine3d::Vector3& direction() const { return direction_; }
  const engine3d::Vector3& offset() const { return offset_; }

 private:
  // The fly-by placement.
  void place();

  engine3d::Camera& camera_;
  int kind_;
  const engine3d::Matrix4* followed_ = nullptr;
  float distance_ = 10.0f;
  float lag_ = 0.0f;
  float baseLag_ = 0.0f;
  engine3d::Vector3 direction_;
  engine3d::Vector3 offset_;
};

}  // namespace game
