// Pilot: the computer pilot of a Gunship.
//
// Every enemy, the teammate, and the player's helicopter in the demonstration or after the game
// ended are flown by it. Each frame it either avoids an obstacle ahead (which also holds off an
// attack for a while), attacks its target, or wanders; every few seconds the battle asks it to
// choose its target again. It steers only through the helicopter's controls.
#pragma once

namespace game {

class Gunship;

class Pilot {
 public:
  explicit Pilot(Gunship& ship) : ship_(ship) {}

  // The starting state of a fresh helicopter: wander speed 8, best target score 1e15, the rest 0.
  void reset();

  // One frame (the helicopter is alive and the game runs): avoidance first; without an obstacle
  // an attack when there is a target, the attack timer is below 7 and the game is more than 5 s
  // old, else a wander. The attack timer runs down by dt, not below 0.
  void step(float dt);

  // Picks new wander values (unless attacking), forgets the attacker, and chooses the best
  // aligned candidate within 80 units: the other side's helicopters, then the flyers.
  void reevaluateTarget();

  float wanderSpeed = 8.0f;
  float wanderHeight = 0.0f;
  float wanderTurn = 0.0f;
  float attackTimer = 0.0f;
  int avoidDirection = 0;  // -1 left, 0 none, +1 right
  float avoidTime = 0.0f;
  float climbAvoidTime = 0.0f;
  float lastHeadingError = 0.0f;
  float bestTargetScore = 1e15f;

 private:
  // True when an obstacle ahead is being avoided.
  bool avoid(float dt);
  void attack(float dt);
  void wander(float dt);

  Gunship& ship_;
};

}  // namespace game
