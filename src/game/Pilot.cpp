#include "game/Pilot.h"

#include <algorithm>
#include <cmath>

#include "engine3d/ScalarMath.h"
#include "game/Analyzer.h"
#include "game/Battle.h"
#include "game/Gunship.h"

namespace game {

namespace {

using engine3d::Vector3;

constexpr float kNear2 = 4.84f;        // 2.2 units, squared
constexpr float kReach2 = 6400.0f;     // 80 units, squared
constexpr float kEvade2 = 121.00001f;  // about 11 units, squared
constexpr float kNone2 = 1e15f;

}  // namespace

void Pilot::reset() {
  wanderSpeed = 8.0f;
  wanderHeight = 0.0f;
  wanderTurn = 0.0f;
  attackTimer = 0.0f;
  avoidDirection = 0;
  avoidTime = 0.0f;
  climbAvoidTime = 0.0f;
  lastHeadingError = 0.0f;
  bestTargetScore = 1e15f;
}

void Pilot::step(float dt) {
  if (avoid(dt)) {
    attackTimer = 10.0f;
    return;
  }
  if (ship_.target && attackTimer < 7.0f && ship_.battle().elapsed() > 5.0f)
    attack(dt);
  else
    wander(dt);
  attackTimer = std::max(0.0f, attackTimer - dt);
}

bool Pilot::avoid(float dt) {
  const Analyzer* grid = ship_.battle().analyzer();
  if (!grid) return false;
  const Vector3& p = ship_.lookAhead;

  const AxisHit alongX = grid->query(p, 0, 2);
  const AxisHit alongZ = grid->query(p, 2, 2);
  if (alongX.hit() || alongZ.hit()) {
    const float nearest = std::min(alongX.hit() ? alongX.squaredDistance() : kNone2,
                                   alongZ.hit() ? alongZ.squaredDistance() : kNone2);
    if (nearest < kNear2) {
      avoidTime = 0.7f;
      // Turn away from the side the x query's obstacle lies on.
      if (avoidDirection == 0)
        avoidDirection = engine3d::cross(ship_.forward, alongX.offset).y > 0.0f ? 1 : -1;
    } else {
      avoidTime -= dt;
      if (avoidTime < 0.0f) {
        avoidTime = 0.0f;
        avoidDirection = 0;
      }
    }
  }

  bool near = false;
  const AxisHit vertical = grid->query(p, 1, 2);
  if (vertical.hit()) {
    near = vertical.squaredDistance() < kNear2 &&
           (vertical.offset.y * vertical.normal.y > 0.0f || vertical.twoSided());
    const bool up = vertical.offset.y > 0.0f || ship_.landed;
    if (near) {
      ship_.climb(up, 2.0f * dt);
    } else if (climbAvoidTime > 1.0f) {
      const Battle& battle = ship_.battle();
      const engine3d::Mesh* object = vertical.object;
      if (object != battle.ceiling() && object != battle.ground()) ship_.climb(up, 1.5f * dt);
    }
  }

  if (avoidDirection != 0) {
    ship_.turn(avoidDirection == -1, 200.0f * dt * dt);
    ship_.approach(1.0f, 0.0f, dt, false);
    climbAvoidTime = std::min(climbAvoidTime + dt, 3.0f);
  } else {
    climbAvoidTime = std::max(0.0f, climbAvoidTime - 0.3f * dt);
    wanderSpeed = 10.0f;
  }
  return avoidDirection != 0 || near;
}

void Pilot::attack(float dt) {
  Vector3 d = ship_.target->localMatrix.translation() - ship_.position;
  const float distance2 = d.squaredLength();
  if (distance2 > kReach2) {
    wander(dt);
    return;
  }
  d.normalize();
  const Vector3& f = ship_.forward;
  const float cross = f.z * d.x - f.x * d.z;
  const float dot = f.x * d.x + f.z * d.z;
  bestTargetScore = dot;

  if (ship_.attacker || distance2 <= kEvade2) {
    const bool left = (dot > 0.0f && cross > 0.0f) || (dot <= 0.0f && (ship_.slot() & 1));
    ship_.turn(left, 200.0f * dt * dt);
    ship_.approach(7.0f, wanderHeight, dt, true);
    return;
  }
  const float e = std::fabs(cross);
  const float gain = engine3d::clamp(10.0f * e + 70.0f * (e - lastHeadingError), 0.0f, 3.0f);
  lastHeadingError = e;
  ship_.turn(cross < 0.0f, gain * ship_.turnFactor * dt);
  ship_.approach(0.0f, ship_.target->localMatrix.translation().y + 0.374f, dt, true);
  if (dot > 0.95f && !ship_.battle().settings().training) ship_.cannon().fire(dt);
}

void Pilot::wander(float dt) {
  ship_.approach(wanderSpeed, wanderHeight, dt, true);
  if (wanderTurn != 0.0f && attackTimer == 0.0f) {
    ship_.turn(wanderTurn > 0.0f, dt);
    wanderTurn =
        wanderTurn > 0.0f ? std::max(0.0f, wanderTurn - dt) : std::min(0.0f, wanderTurn + dt);
  } else {
    ship_.turnDecay(8.0f * dt);
  }
  lastHeadingError = 0.0f;
}

void Pilot::reevaluateTarget() {
  Battle& battle = ship_.battle();
  Dice& dice = battle.dice();
  if (attackTimer < 5.0f) {
    const float ey = battle.extent().y;
    wanderSpeed = dice.real(0.6f, 0.8f) * 10.0f;
    wanderHeight = (ship_.position.y + dice.real(-0.1f * ey, 0.2f * ey)) * 0.5f;
    wanderTurn = dice.real(-1.5f, 1.5f);
  }
  ship_.attacker = nullptr;

  if (!ship_.dying) {
    const engine3d::Group3D* choice = nullptr;
    const Vector3& f = ship_.forward;
    auto consider = [&](const engine3d::Group3D* node, float handicap) {
      if (!node || node == ship_.target) return;
      Vector3 d = node->localMatrix.translation() - ship_.position;
      if (d.squaredLength() > kReach2) return;
      d.normalize();
      if (f.x * d.x + f.z * d.z - handicap > bestTargetScore) choice = node;
    };
    const int firstOpponent = ship_.enemy() ? 0 : 2;
    for (int slot = firstOpponent; slot < firstOpponent + 2; ++slot) {
      const Gunship& other = battle.gunship(slot);
      if (!other.dying) consider(other.node(), 0.2f);
    }
    for (int i = 0; i < battle.flyableCount(); ++i) {
      const Flyable& flyer = battle.flyable(i);
      if (!flyer.isHit()) consider(flyer.node(), 0.7f);
    }
    if (choice) ship_.target = choice;
  }
  ship_.resetRotors();
}

}  // namespace game
