// The battle's short-lived things: projectiles and the effect pools.
//
// A Projectile moves a scene node forward along its own z axis with a vertical velocity under
// gravity; bullets, explosions and smoke puffs are projectiles. Every effect lives in a pool
// made once when the battle is set up and reused for the whole battle: a request takes the first
// inactive element in index order and a full pool drops the request silently. Nothing here
// allocates after set-up.
//
// The nodes are made here and handed to the battle's world (BattleHost::addModel), which owns
// them; the effects keep borrowed pointers.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "engine3d/Camera.h"
#include "engine3d/Group3D.h"
#include "engine3d/Matrix4.h"
#include "engine3d/Texture.h"
#include "engine3d/Vector3.h"

namespace game {

class BattleHost;
class Dice;

struct Projectile {
  engine3d::Group3D* node = nullptr;  // not owned; null moves nothing on screen
  float speed = 0.0f;                 // forward, units per second
  float verticalVelocity = 0.0f;      // units per second, positive is down
  float gravity = 9.8f;               // units per second squared
  engine3d::Vector3 position;
  engine3d::Vector3 launchPosition;
  engine3d::Matrix4 orientation;

  // Starts at `matrix` (its translation is the start point) with `speed`, no vertical velocity
  // and gravity 9.8; the node is placed there.
  void launch(float newSpeed, const engine3d::Matrix4& matrix);
  // One step of `dt` seconds: forward by speed x dt along the orientation's z axis, the vertical
  // velocity grown by gravity x dt and taken off y; the node follows.
  void step(float dt);
};

// The matrix of a point given in the frame of `frame` (a helicopter's orientation with its
// position): the frame's rotation, with the point carried into the world as translation.
engine3d::Matrix4 emissionMatrix(const engine3d::Matrix4& frame, const engine3d::Vector3& point);

// A pooled thing with a life: a projectile (explosions and puffs) or a still mark.
struct Effect {
  Projectile motion;
  engine3d::Material* material = nullptr;  // the node's own material, not owned
  bool active = false;
  float age = 0.0f;

  // Shows the node and starts the life at age 0.
  void activate();
  // Hides the node and frees the element for the next request.
  void retire();
};

// The first inactive element of `pool` in index order, or null when every element is active.
template <class T, std::size_t N>
T* firstInactive(std::array<T, N>& pool) {
  for (T& element : pool)
    if (!element.active) return &element;
  return nullptr;
}

// The two smoke kinds each helicopter trails: dark damage smoke (fume) and white muzzle smoke.
enum class PuffKind { kFume, kSmoke };

// Builds the node of one puff: a screen-facing quad of radius 0.6 (fume) or 0.3 (smoke), black or
// white, with one of the three "fume%d.jpg" opacity maps chosen by a random integer in [0, 100]
// modulo 3, unlit with transparency, hidden.
struct EffectArt {
  std::shared_ptr<engine3d::Texture> bulletMark;  // "BulletMark.gif": texture and opacity map
  std::shared_ptr<engine3d::Texture> explosion;   // "explosion.jpg": 4 x 4 frames
  std::array<std::shared_ptr<engine3d::Texture>, 3> fume;  // "fume0.jpg" .. "fume2.jpg"
};

// Makes `effect`'s node for a puff of `kind` and adds it to the world as "fume" or "smoke".
void createPuff(Effect& effect, PuffKind kind, const EffectArt& art, Dice& dice, BattleHost& host);
// Fume and smoke life: 2 s, the transparency rising to 240; false once the puff has retired.
bool updatePuff(Effect& puff, float dt);

// The pools of the whole page: 24 bullet marks and 8 explosions.
class EffectPools {
 public:
  static constexpr int kMarks = 24;
  static constexpr int kExplosions = 8;
  static constexpr float kMarkLife = 4.0f;
  static constexpr float kExplosionLife = 1.5f;

  // Makes the 32 nodes and adds them to the world ("mark", "explosion").
  void create(const EffectArt& art, BattleHost& host);

  // Launches the first free explosion at `matrix` with `speed` and no gravity. False (nothing
  // shown) when all eight are active.
  bool spawnExplosion(float speed, const engine3d::Matrix4& matrix);
  // A mark on the level box at `point` on `axis` (0 x, 1 y, 2 z), turned a quarter about y (axis
  // 0) or x (axis 1), then about its own z by a random angle. Nothing when the camera does not
  // see the point (left of or above the view, beyond its width or height, or behind it), when
  // there is no camera, or when all 24 marks are active.
  void placeMark(int axis, const engine3d::Vector3& point, engine3d::Camera* camera, Dice& dice);
  // Ages the marks (fading to transparency 220 over 4 s) and the explosions (1.5 s, moving, their
  // frame chosen from the 4 x 4 sheet by age).
  void update(float dt);

  const std::array<Effect, kMarks>& marks() const { return marks_; }
  const std::array<Effect, kExplosions>& explosions() const { return explosions_; }
  // Retires every mark and explosion (a new game starts clean).
  void clear();

 private:
  std::array<Effect, kMarks> marks_;
  std::array<Effect, kExplosions> explosions_;
};

// The sheet offset of explosion frame f (0..15), row by row in a 4 x 4 grid, in 16.16.
void explosionFrameOffset(int frame, std::int32_t& u, std::int32_t& v);

// Where `point` lands on the camera's view: x and y in pixels (y down) and the eye depth. False
// when the point is not in front of the camera (depth not above zero).
bool projectToScreen(engine3d::Camera& camera, const engine3d::Vector3& point, float& x, float& y);

}  // namespace game
