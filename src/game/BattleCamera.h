// BattleCamera: the eight camera modes of a battle on top of the follow camera.
//
//   0 chase (follow kind 5, distance 6, base lag 80, looking along the helicopter)
//   1 fly-by (kind 0, distance 20, a random sideways lean)
//   2 cockpit (kind 4, distance 0.4; the viewed helicopter shows its dashboard and sight)
//   3 fixed, from a random point of the room's upper edge looking down into it
//   4 fixed, straight down from twice the level radius
//   5 ahead, looking back (kind 3, distance -8)
//   6 beside (kind 1, distance 8)
//   7 from above (kind 2, distance 20)
// The followed object is always the viewed helicopter's orientation matrix.
#pragma once

#include <memory>

#include "engine3d/Camera.h"
#include "game/FollowCamera.h"

namespace game {

class Battle;

class BattleCamera {
 public:
  explicit BattleCamera(Battle& battle) : battle_(battle) {}

  // Drives `camera` from now on (null: no camera; the modes then only show and hide parts).
  void attach(engine3d::Camera* camera);
  // Sets mode 0..7. Before each change every helicopter shows its body and windows and hides
  // its cockpit parts.
  void setMode(int mode);
  int mode() const { return mode_; }
  // The follow kind of the current mode (-2 for the fixed modes and without a camera).
  int followKind() const;
  // Once per frame: the follow update; in the chase kinds the direction for the next frame is
  // tilted by whether the viewed helicopter is landed, and the eye is kept within 0.45 of the
  // level extent on every axis.
  void update(float dt);

  engine3d::Camera* camera() const { return camera_; }

 private:
  Battle& battle_;
  engine3d::Camera* camera_ = nullptr;
  std::unique_ptr<FollowCamera> follow_;
  int mode_ = 0;
};

}  // namespace game
