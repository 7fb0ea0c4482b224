// The Gunship's frame step: movement, attitude and the response to the level.
#include <algorithm>
#include <cmath>

#include "engine3d/MathTables.h"
#include "engine3d/Quaternion.h"
#include "engine3d/ScalarMath.h"
#include "game/Analyzer.h"
#include "game/Battle.h"
#include "game/Gunship.h"

namespace game {

namespace {

using engine3d::Matrix4;
using engine3d::Vector3;

constexpr float kTwoPi = 2.0f * engine3d::kPi;

// Into [0, 2 pi). A sum just below 0 plus 2 pi can round to 2 pi itself, which must become 0.
float wrapAngle(float a) {
  while (a >= kTwoPi) a -= kTwoPi;
  while (a < 0.0f) a += kTwoPi;
  return a >= kTwoPi ? 0.0f : a;
}

// m mirrored about the plane of unit normal n.
Vector3 reflect(const Vector3& m, const Vector3& n) {
  return m - n * (2.0f * engine3d::dot(m, n));
}

}  // namespace

void Gunship::update(float dt) {
  const float s = battle_.bobSin();
  const float c = battle_.bobCos();

  // Movement.
  if (landed) {
    landedTime += dt;
    position.y += velocity.y * dt;
  } else {
    const float bob = (slot_ & 1) ? s : c;
    const float dy = velocity.y * dt + bob * 0.03f / (std::fabs(speed) + 1.0f) + verticalDrift;
    const float dx = velocity.x * dt + s * 0.03f;
    const float dz = velocity.z * dt + c * 0.03f;
    forward = orientation.transformDirection({0.0f, 0.0f, 1.0f});
    Vector3 step = orientation.transformDirection({-sideSpeed * dt, 0.0f, speed * dt});
    step.y = 0.0f;
    position += step + Vector3(dx, dy, dz);
  }

  // Attitude.
  if (!landed) {
    heading = wrapAngle(heading + yawRate + yawShake);
    pitch = speed * 0.025f + s * 0.06f + pitchShake;
    roll = (sideSpeed * 0.0375f - yawRate * 10.0f) * 0.9f + roll * 0.1f + c * 0.05f + rollShake;
    orientation =
        Matrix4::rotationY(heading) * Matrix4::rotationZ(roll) * Matrix4::rotationX(pitch);
  }

  collide(dt);

  const Vector3& limit = battle_.limits();
  position.x = engine3d::clamp(position.x, -limit.x, limit.x);
  position.y = engine3d::clamp(position.y, -limit.y, limit.y);
  position.z = engine3d::clamp(position.z, -limit.z, limit.z);

  if (computerFlown) {
    const float t = battle_.elapsed();
    const float reach = (engine3d::sinLookup(20.0f * t) * 0.4f + 0.8f) * std::max(speed, 4.0f);
    lookAhead = position + Vector3(forward.x * reach, velocity.y * 0.5f, forward.z * reach);
  }

  orientation.setTranslation(position);
  if (node_) node_->localMatrix = orientation;
  previousPosition = position;

  if (dying) {
    velocity.y = -6.0f;
    pitchShake = 0.3f;
    yawShake = 0.3f;
  } else {
    const float k = 1.0f - 0.5f * dt;
    rollShake *= k;
    pitchShake *= k;
    verticalDrift *= k;
    yawShake *= 1.0f - 0.9f * dt;
    velocity *= k;
  }

  if (!dead && !dying && battle_.running()) {
    if (computerFlown) {
      pilot_.step(dt);
    } else if (battle_.controlStyle() == 0) {
      if (landed || cooldown > 0.0f) targetSpeed = 0.0f;
      approach(targetSpeed, 0.0f, dt, false);
    }
  }
  if (!dead) spinRotors();
  cannon_.update(dt);
  if (health < battle_.dice().integer(20, 60)) cannon_.emitFume(dt);
}

void Gunship::collide(float dt) {
  const Analyzer* grid = battle_.analyzer();
  if (!grid) return;
  const Vector3 moved = position - previousPosition;

  const AxisHit below = grid->query(position, 1, 2);
  if (below.hit() && below.squaredDistance() < kLandingReach2) {
    if (cooldown > 0.0f && below.face == lastTriangle) {
      landed = false;
      landedTime = 0.0f;
    } else {
      if (below.normal.y <= 0.3f) {
        if (below.normal.y < -0.7f) {
          // A ceiling: a jolt and a push down.
          Dice& dice = battle_.dice();
          pitchShake = dice.real(-0.6f, 0.6f);
          rollShake = dice.real(-0.6f, 0.6f);
          yawShake = dice.real(-0.3f, 0.3f);
          collisionHit();
          if (!dying) verticalDrift -= 13.5f * dt;
        }
      } else if (!below.twoSided() && engine3d::dot(moved, below.normal) < 0.0f) {
        land(below.normal, below.point.y);
      }
      cooldown = kCooldown;
      lastTriangle = landed ? nullptr : below.face;
    }
  } else {
    landed = false;
    landedTime = 0.0f;
  }

  if (!dead && !landed) {
    const AxisHit alongX = grid->query(position, 0, 2);
    const AxisHit alongZ = grid->query(position, 2, 2);
    const float dx = alongX.hit() ? alongX.squaredDistance() : 1e38f;
    const float dz = alongZ.hit() ? alongZ.squaredDistance() : 1e38f;
    const AxisHit& wall = dz <= dx ? alongZ : alongX;
    const float reach = computerFlown ? kWallReachComputer2 : kWallReachHand2;
    if (wall.hit() && wall.squaredDistance() < reach &&
        !(cooldown > 0.0f && wall.face == lastTriangle))
      bounceOffWall(wall, moved);
  }

  cooldown = std::max(0.0f, cooldown - dt);
}

void Gunship::land(const Vector3& normal, float hitY) {
  // Tilt a fifth of the way toward the attitude that stands the body on the face.
  engine3d::Quaternion current = engine3d::quaternionFromMatrix(orientation);
  engine3d::Quaternion upright = engine3d::Quaternion::shortestArc({0.0f, 1.0f, 0.15f}, normal);
  engine3d::slerp(current, upright, 0.2f);
  orientation.setRotation(current);
  landed = true;
  position.y = hitY + modelHeight_ / 2.0f;
  if (dying && !dead) destroy();
  stop();
  if (landedTime < 0.8f) velocity.y = -1.0f;
}

void Gunship::bounceOffWall(const AxisHit& hit, const Vector3& moved) {
  Dice& dice = battle_.dice();
  pitchShake = dice.real(-0.6f, 0.6f);
  rollShake = dice.real(-0.8f, 0.8f);
  yawShake = dice.real(0.05f, 0.1f);
  speed = 0.0f;
  sideSpeed = 0.0f;
  Vector3 bounce;
  if (hit.twoSided())
    bounce = -moved;
  else if (engine3d::dot(moved, hit.normal) < 0.0f)
    bounce = reflect(moved, hit.normal);
  else
    bounce = moved;
  bounce.normalize();
  velocity = bounce * 5.0f;
  cooldown = kCooldown;
  lastTriangle = hit.face;
  collisionHit();
}

void Gunship::collisionHit() {
  cannon_.emitFume(1000.0f);
  BattleHost& host = battle_.host();
  host.enginePause(0.5f);
  static constexpr const char* kSounds[3] = {"collision0", "collision1", "collision2"};
  host.playSound(kSounds[battle_.dice().integer(0, 100) % 3]);
  changeHealth(-5);
}

}  // namespace game
