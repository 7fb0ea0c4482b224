// Gunship: one of the four combat helicopters of a battle.
//
// All four share one flight model. A helicopter is flown by hand (the battle's player input) or
// by its computer pilot; it carries its model and moving parts, its cannon with the bullet and
// smoke pools, its health, and its response to the level through the collision grid. Angles are
// radians; a value the rules apply "per frame" is applied once per update whatever the frame's
// length, and dt is the frame's time step in seconds (at most 0.1).
//
// The battle owns its helicopters; a helicopter borrows the battle and the model it put into
// the battle's world.
#pragma once

#include <cstdint>
#include <string>

#include "engine3d/Group3D.h"
#include "engine3d/Matrix4.h"
#include "engine3d/Mesh.h"
#include "engine3d/Vector3.h"
#include "game/Pilot.h"
#include "game/Weapons.h"

namespace game {

class Battle;

class Gunship {
 public:
  static constexpr float kModelRadius = 2.2f;
  static constexpr float kMaxYawRate = 0.05f;       // radians per frame
  static constexpr float kCooldown = 0.8f;          // seconds between two responses to one triangle
  static constexpr float kLandingReach2 = 0.4356f;  // 0.66 units, squared
  static constexpr float kWallReachComputer2 = 0.7744f;  // 0.88 units, squared
  static constexpr float kWallReachHand2 = 4.84f;        // 2.2 units, squared

  Gunship(Battle& battle, int slot);
  Gunship(const Gunship&) = delete;
  Gunship& operator=(const Gunship&) = delete;

  // Loads "chopper_LOD.3ds" (radius 2.2, unlit) with the skin "chopper_<name>.jpg" on "body" and
  // "body_ds", sets up the cockpit parts (hidden) and the muzzle spark (hidden), adds the model
  // to the world as "chopper" and makes the cannon's pools. False when the model cannot be
  // loaded: the helicopter then has no node but still flies (and can be hit) unseen.
  bool create(const std::string& characterName, bool enemy);

  // Back to a fresh start: health 100, computer-flown, alive, not landed, no target or attacker,
  // every speed, shake, timer and the velocity 0, the given heading and position, identity
  // orientation; wander speed 8 and best target score 1e15 for the pilot.
  void reset(float newSpeed, float newHeading, const engine3d::Vector3& newPosition);

  // The frame step: movement with the hover bob, attitude, level collision, limits, look-ahead,
  // shakes, the pilot or the automatic speed, rotors, the cannon's pools and damage smoke.
  void update(float dt);

  // ---- Controls (the player's input and the computer pilot) ----
  // Yaw rate -/+ amount x 0.05 (left/right), held within +-0.05.
  void turn(bool left, float amount);
  // Yaw rate x max(0, 1 - 2 dt).
  void turnDecay(float dt);
  // Up: climb rate + (8, or 48 when landed) x amount, at most 9; down: - 8 x amount, at least -9.
  void climb(bool up, float amount);
  // Speed + 8 dt up to 10 (forward) or - 8 dt down to -8 (backward).
  void accelerate(bool forward, float dt);
  // Speed and side speed x (1 - 0.5 dt).
  void speedDecay(float dt);
  // Target speed = factor x 10.
  void setTargetSpeed(float factor);
  // Speed toward `desiredSpeed` by (desired - speed) x 2 dt, no side speed; with `followHeight`
  // the helicopter also climbs toward `desiredHeight` at up to 1.5 x turn factor per second.
  void approach(float desiredSpeed, float desiredHeight, float dt, bool followHeight);
  // Speed, side speed and velocity 0.
  void stop();

  // ---- Damage ----
  // Health + amount within [0, 100]; in training health stays 100. Reaching 0 starts dying.
  void changeHealth(int amount);
  // A bullet hit: a shake of 0.1 in roll and pitch (its sign a coin toss) and a silent
  // explosion moving with the helicopter.
  void hitReaction();
  // Brought back by a game over or a retry: computer-flown, health 100, alive.
  void revive();

  // ---- What the others read ----
  int slot() const { return slot_; }
  bool enemy() const { return enemy_; }
  int team() const { return enemy_ ? 1 : 0; }
  engine3d::Group3D* node() const { return node_; }
  Battle& battle() const { return battle_; }
  Pilot& pilot() { return pilot_; }
  const Pilot& pilot() const { return pilot_; }
  Cannon& cannon() { return cannon_; }
  const Cannon& cannon() const { return cannon_; }
  // Shows or hides a named model part (no part of that name: nothing happens).
  void showPart(const char* name, bool visible);
  // The cockpit view: the body and its windows hidden, the dashboard and the gun sight shown
  // (or the other way round).
  void showCockpit(bool cockpit);
  // The rotors' own matrices back to identity (their spin is applied on top every frame).
  void resetRotors();

  // The state the pilot, the cannon and the battle read and steer.
  int health = 100;
  bool dying = false;
  bool dead = false;
  bool computerFlown = true;
  bool landed = false;
  float speed = 0.0f;          // forward, units per second
  float sideSpeed = 0.0f;      // units per second
  engine3d::Vector3 velocity;  // y is the climb rate; x and z carry a collision's bounce
  float heading = 0.0f;        // yaw in [0, 2 pi)
  float yawRate = 0.0f;        // radians per frame
  float roll = 0.0f;
  float pitch = 0.0f;
  float rollShake = 0.0f;
  float pitchShake = 0.0f;
  float yawShake = 0.0f;
  float verticalDrift = 0.0f;  // units per frame
  float targetSpeed = 0.0f;
  float landedTime = 0.0f;
  float cooldown = 0.0f;
  const engine3d::Face* lastTriangle = nullptr;
  engine3d::Vector3 position;
  engine3d::Vector3 previousPosition;
  engine3d::Vector3 forward{0.0f, 0.0f, 1.0f};
  engine3d::Matrix4 orientation;
  engine3d::Vector3 lookAhead;
  float hitRadius2 = 2.2f;  // this helicopter's bullets hit within this squared distance
  float turnFactor = 1.0f;  // how hard its computer pilot turns
  const engine3d::Group3D* target = nullptr;  // the node it attacks, not owned
  Gunship* attacker = nullptr;                // whose bullet last passed close

 private:
  void collide(float dt);
  void land(const engine3d::Vector3& normal, float hitY);
  void bounceOffWall(const struct AxisHit& hit, const engine3d::Vector3& moved);
  void collisionHit();
  void startDying();
  void destroy();
  void spinRotors();

  Battle& battle_;
  int slot_;
  bool enemy_ = false;
  engine3d::Group3D* node_ = nullptr;
  engine3d::Mesh* rotor1_ = nullptr;
  engine3d::Mesh* rotor2_ = nullptr;
  engine3d::Matrix4 rotor1Spin_;
  engine3d::Matrix4 rotor2Spin_;
  float modelHeight_ = 0.0f;
  Pilot pilot_;
  Cannon cannon_;

  friend class Pilot;
};

}  // namespace game
