#include "game/Flyable.h"

#include <algorithm>
#include <cmath>

#include "engine3d/Material.h"
#include "engine3d/MathTables.h"
#include "engine3d/ScalarMath.h"
#include "game/Battle.h"
#include "platform/Template.h"

namespace game {

namespace {

using engine3d::Matrix4;
using engine3d::Vector3;

constexpr float kTwoPi = 2.0f * engine3d::kPi;
constexpr float kMaxYawRate = 0.05f;

float wrapAngle(float a) {
  while (a >= kTwoPi) a -= kTwoPi;
  while (a < 0.0f) a += kTwoPi;
  return a >= kTwoPi ? 0.0f : a;
}

}  // namespace

std::vector<FlyableType> readFlyableTypes(platform::Template& t) {
  std::vector<FlyableType> types;
  for (const std::string& key : t.keys()) {
    if (key.empty() || !t.getString(key)) continue;
    FlyableType type;
    type.name = engine3d::limitName(key, 63);
    type.kind = t.getInt(key, "type", 0);
    type.textureNum = std::max(0, static_cast<int>(t.getInt(key, "textureNum", 1)));
    type.maxSpeed = t.getFloat(key, "maxSpeed", 10.0f);
    type.wave = t.getFloat(key, "wave", 0.0f);
    type.alphaTest = t.getBool(key, "alphaTest", false);
    types.push_back(std::move(type));
  }
  return types;
}

FlyerShared::FlyerShared() {
  int n = 0;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      for (int dz = -1; dz <= 1; ++dz)
        if (dx || dy || dz) offsets[n++] = PathFinder::Cell{dx, dy, dz};
  targetCell = PathFinder::Cell{-1, -1, -1};
}

int flyerValue(int draw) {
  if (draw > 50) return -1;
  return std::clamp(10 * (draw / 10), 10, 50);
}

bool Flyable::create(const FlyableType& type) {
  type_ = &type;
  speedFactor = 0.8f * type.maxSpeed;
  cell_ = PathFinder::Cell{-1, -1, -1};
  const std::string folder = battle_.assets().resourceFolder + "flyable\\";
  engine3d::NameFilter onBox;
  onBox.wanted = "box";
  std::unique_ptr<engine3d::Group3D> model =
      battle_.models().get(folder, type.name + "\\" + type.name + ".3ds", 0.6f, onBox);
  if (!model) return false;
  box_ = model->findMesh("box");
  // A model without a box is sized on the whole model instead (the filter found nothing to
  // measure and left it as it was in the file).
  if (!box_) model->normalize(0.6f);
  model->setDetailLevel(engine3d::kShadingUnlit);
  model->prepare(true);
  boxMaterial_ = box_ ? box_->material : nullptr;
  body_ = model->findMesh("body");
  bodyMaterial_ = body_ ? body_->material : nullptr;
  model->radius *= 5.0f;
  node_ = battle_.host().addModel("Flyable", std::move(model));
  respawn();
  switch (type.kind) {
    case 0:
      wings_[0] = node_->findMesh("wing_l");
      wings_[1] = node_->findMesh("wing_r");
      break;
    case 1:
      for (int i = 0; i < 3; ++i) {
        wings_[i] = node_->findMesh("wing" + std::to_string(i));
        if (wings_[i]) wings_[i]->visible = false;
      }
      break;
    case 6:
      if (bodyMaterial_) {
        bodyMaterial_->shadingMode = engine3d::kShadingUnlitTransparent;
        bodyMaterial_->transparency = 100;
      }
      break;
    default:
      break;
  }
  return true;
}

void Flyable::showAll(bool visible) {
  if (!node_) return;
  for (const auto& mesh : node_->meshes()) mesh->visible = visible;
}

void Flyable::respawn() {
  Dice& dice = battle_.dice();
  value_ = flyerValue(dice.integer(0, 100));
  hit_ = false;
  fallen_ = false;
  if (box_) box_->localMatrix.setIdentity();

  if (type_ && !type_->skins.empty() && bodyMaterial_) {
    const int n = static_cast<int>(type_->skins.size());
    const int pick = dice.integer(0, n - 1);
    if (const auto& skin = type_->skins[static_cast<size_t>(pick)]) {
      bodyMaterial_->attachTexture(skin);
      bodyMaterial_->alphaTest = type_->alphaTest;
    }
  }
  if (boxMaterial_) {
    const FlyerShared& shared = battle_.flyerShared();
    const auto& picture = shared.boxes[value_ < 1 ? 0 : static_cast<size_t>(value_ / 10)];
    if (picture) boxMaterial_->attachTexture(picture);
  }

  const std::vector<int>& cells = battle_.freeCells();
  if (!cells.empty()) {
    const int packed =
        cells[static_cast<size_t>(dice.integer(0, static_cast<int>(cells.size()) - 1))];
    const PathFinder* finder = battle_.pathFinder();
    if (finder)
      position = finder->centreOf({(packed >> 16) & 0xFF, (packed >> 8) & 0xFF, packed & 0xFF});
  }
  previousPosition = position;
  heading = dice.real(-engine3d::kPi, engine3d::kPi);
  speed = 0.0f;
  yawRate = 0.0f;
  bank = 0.0f;
  velocity = Vector3();
  showAll(true);
  if (kind() == 1)
    for (engine3d::Mesh* wing : wings_)
      if (wing) wing->visible = false;
}

void Flyable::turn(bool left, float amount) {
  yawRate += left ? -0.05f * amount : 0.05f * amount;
  yawRate = engine3d::clamp(yawRate, -kMaxYawRate, kMaxYawRate);
}

void Flyable::nudge() {
  turn(battle_.dice().integer(0, 100) % 2 == 1, 10.0f);
}

void Flyable::update(float dt) {
  if (fallen_ || !node_) return;
  const float t = battle_.elapsed();
  if (!hit_) {
    steer(dt);
    animate();
  }
  const Vector3 f = orientation.transformDirection({0.0f, 0.0f, 1.0f});
  const Vector3 step = Vector3(f.x, 0.0f, f.z) * (speed * dt);
  const Vector3& e = battle_.extent();
  if (hit_) {
    if (box_) box_->localMatrix = tumble_ * box_->localMatrix;
    velocity.y -= 20.0f * dt;
    position += step + Vector3(0.0f, velocity.y * dt, 0.0f);
    if (position.y < -0.495f * e.y) {
      position.y = -0.495f * e.y;
      fallen_ = true;
      if (box_) box_->visible = false;
    }
  } else {
    const float wave = type_ ? type_->wave : 0.0f;
    position += step + Vector3(0.0f, engine3d::sinLookup(18.0f * t) * wave + velocity.y * dt, 0.0f);
    heading = wrapAngle(heading + yawRate);
    bank = 0.9f * bank + 0.1f * (-8.0f * yawRate);
    orientation = Matrix4::rotationY(heading) * Matrix4::rotationZ(bank);
    position.x = engine3d::clamp(position.x, -0.4f * e.x, 0.4f * e.x);
    position.y = engine3d::clamp(position.y, -0.35f * e.y, 0.35f * e.y);
    position.z = engine3d::clamp(position.z, -0.4f * e.z, 0.4f * e.z);
    lookAhead = position + Vector3(f.x * speedFactor, velocity.y, f.z * speedFactor);
  }
  orientation.setTranslation(position);
  node_->localMatrix = orientation;
  previousPosition = position;
}

void Flyable::steer(float dt) {
  const PathFinder* finder = battle_.pathFinder();
  if (!finder) return;
  FlyerShared& shared = battle_.flyerShared();
  const PathFinder::Cell cell = finder->cellOf(lookAhead);
  if (!(cell == cell_)) {
    cell_ = cell;
    blocked_ = finder->content(cell) != 0;
    found_ = false;
    if (blocked_) {
      const int start = battle_.dice().integer(0, 25);
      for (int i = 0; i < 26; ++i) {
        const PathFinder::Cell& d = shared.offsets[static_cast<size_t>((start + i) % 26)];
        const PathFinder::Cell next{cell.i + d.i, cell.j + d.j, cell.k + d.k};
        if (finder->content(next) == 0) {
          shared.targetCell = next;
          found_ = true;
          break;
        }
      }
    }
  }
  if (!blocked_) {
    yawRate *= std::max(0.0f, 1.0f - dt);
    speed += (0.7f * speedFactor - speed) * dt * 1.5f;
  } else if (found_) {
    const PathFinder::Cell& target = shared.targetCell;
    if (target.i == cell_.i && target.k == cell_.k) {
      speed += (0.0f - speed) * dt * 1.5f;
    } else {
      const Vector3 p = finder->centreOf({target.i, cell_.j, target.k});
      const Vector3 u = p - position;
      const Vector3 f = orientation.transformDirection({0.0f, 0.0f, 1.0f});
      turn(u.x * f.z - u.z * f.x < 0.0f, 200.0f * dt * dt);
      speed += (0.3f * speedFactor - speed) * dt * 1.5f;
    }
    if (target.j != cell_.j) {
      const float change = 4.0f * 8.0f * dt;
      velocity.y =
          engine3d::clamp(velocity.y + (target.j > cell_.j ? change : -change), -6.0f, 6.0f);
    }
  } else {
    respawn();
  }
}

void Flyable::animate() {
  const float t = battle_.elapsed();
  switch (kind()) {
    case 0: {
      const float a = engine3d::sinLookup(18.0f * t) + 0.3f;
      for (int side = 0; side < 2; ++side) {
        engine3d::Mesh* wing = wings_[static_cast<size_t>(side)];
        if (!wing) continue;
        // Each wing swings about its inner edge, the one nearer the body.
        const float half = wing->size.x * 0.5f;
        const float edge = wing->centre.x < 0.0f ? wing->centre.x + half : wing->centre.x - half;
        const Vector3 pivot(edge, wing->centre.y, wing->centre.z);
        wing->localMatrix = Matrix4::rotationAbout({0.0f, 0.0f, 1.0f}, side == 0 ? -a : a, pivot);
      }
      break;
    }
    case 1: {
      const int shown = static_cast<int>(engine3d::sinLookup(18.0f * t) + 1.5f);
      for (int i = 0; i < 3; ++i)
        if (wings_[static_cast<size_t>(i)]) wings_[static_cast<size_t>(i)]->visible = i == shown;
      break;
    }
    case 2:
      if (body_)
        body_->localMatrix = Matrix4::rotationAbout({0.0f, 1.0f, 0.0f}, 5.0f * t, body_->centre);
      break;
    default:
      break;
  }
}

void Flyable::hit(Gunship* shooter, float dt) {
  shooter_ = shooter;
  hit_ = true;
  showAll(false);
  if (box_) box_->visible = true;
  Dice& dice = battle_.dice();
  const Vector3 axis(dice.real(0.0f, 1.0f), dice.real(0.0f, 1.0f), dice.real(0.0f, 1.0f));
  tumble_ = box_ ? Matrix4::rotationAbout(axis, 8.0f * dt, box_->centre) : Matrix4::identity();
  battle_.explode(speed, orientation, false);
}

}  // namespace game
