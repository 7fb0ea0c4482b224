// Flyable: the bonus flyers that cross the room carrying a box.
//
// Each level lists its flyer models in "flyable.properties" (one entry per model: behaviour
// kind, number of skins, speed, bob height, alpha test). The battle makes four flyers from the
// entries in turn. A flyer steers through the free cells of the path-finder grid; its box shows
// a point value (10 to 50) or a red cross. Shot, it drops its box, which tumbles to the floor,
// and the flyer comes back elsewhere with a new value, skin and place.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/Group3D.h"
#include "engine3d/Matrix4.h"
#include "engine3d/Mesh.h"
#include "engine3d/Texture.h"
#include "engine3d/Vector3.h"
#include "game/PathFinder.h"

namespace media {
class BitmapFont;
}
namespace platform {
class Template;
}

namespace game {

class Battle;
class Gunship;

// Behaviour kinds: 0 flapping wings, 1 three wing frames, 2 spinning body, 3 to 5 nothing,
// 6 a see-through body. Any other kind flies without animation.
inline constexpr int kFlyableKinds = 7;

struct FlyableType {
  std::string name;    // the model's name (at most 63 characters)
  int kind = 0;        // "type"
  int textureNum = 1;  // skins "<name>\<name>_<i>.gif", i from 0
  float maxSpeed = 10.0f;
  float wave = 0.0f;  // height of the vertical bob
  bool alphaTest = false;
  // The skins, loaded once at set-up (a skin that fails to load is a null entry).
  std::vector<std::shared_ptr<engine3d::Texture>> skins;
};

// The entries of a loaded "flyable.properties" template, in file order. Keys without a value are
// not entries; a "textureNum" below 1 counts as no skins of its own (the model keeps its own).
std::vector<FlyableType> readFlyableTypes(platform::Template& entries);

// What all flyers share: the 26 neighbour offsets (dx outermost, then dy, then dz, each
// ascending, (0, 0, 0) left out), the last target cell any flyer chose, and the box pictures.
struct FlyerShared {
  FlyerShared();
  std::array<PathFinder::Cell, 26> offsets;
  PathFinder::Cell targetCell;
  // Box pictures by value: index 0 the red cross, 1..5 the values 10..50.
  std::array<std::shared_ptr<engine3d::Texture>, 6> boxes;
};

// Paints the six box pictures of `shared` (128 x 128): "box.jpg" of `folder` stretched over
// each, then "redcross.gif" centred with its colour key for the red cross, or the value in
// `font` (glyph height 80, centred in the rectangle from (0, 20) to the corner). Pictures that
// cannot be loaded leave their part out; a null font leaves the values out.
void paintFlyerBoxes(FlyerShared& shared, const std::string& folder, const media::BitmapFont* font);

// The value a draw `a` in [0, 100] gives: -1 (red cross) above 50, else 10 x (a / 10) within
// [10, 50].
int flyerValue(int draw);

class Flyable {
 public:
  explicit Flyable(Battle& battle) : battle_(battle) {}
  Flyable(const Flyable&) = delete;
  Flyable& operator=(const Flyable&) = delete;

  // Loads `type`'s model (normalised to radius 0.6 on its "box" part, unlit), adds it to the
  // world as "Flyable", widens its culling radius five times, spawns it and runs the kind's
  // set-up. False when the model cannot be loaded (the flyer is then left out of the battle).
  bool create(const FlyableType& type);

  // New value, skin, box picture and a random free cell; flying, heading random in [-pi, pi].
  void respawn();
  // One frame; nothing once the box has fallen.
  void update(float dt);
  // A random full turn to the left (odd draw) or right (even).
  void nudge();
  // Shot by `shooter`: the flyer vanishes but for its box, which tumbles down; a silent
  // explosion.
  void hit(Gunship* shooter, float dt);

  engine3d::Group3D* node() const { return node_; }
  const FlyableType* type() const { return type_; }
  int kind() const { return type_ ? type_->kind : -1; }
  bool isHit() const { return hit_; }
  bool fallen() const { return fallen_; }
  int value() const { return value_; }
  Gunship* shooter() const { return shooter_; }
  const PathFinder::Cell& currentCell() const { return cell_; }

  engine3d::Vector3 position;
  engine3d::Vector3 previousPosition;
  engine3d::Vector3 lookAhead;
  float speed = 0.0f;
  float yawRate = 0.0f;
  float heading = 0.0f;
  float bank = 0.0f;
  engine3d::Vector3 velocity;  // y is the vertical velocity
  engine3d::Matrix4 orientation;
  float speedFactor = 8.0f;

 private:
  void steer(float dt);
  void animate();
  void turn(bool left, float amount);
  void showAll(bool visible);

  Battle& battle_;
  const FlyableType* type_ = nullptr;
  engine3d::Group3D* node_ = nullptr;
  engine3d::Mesh* box_ = nullptr;
  engine3d::Material* boxMaterial_ = nullptr;
  engine3d::Material* bodyMaterial_ = nullptr;
  engine3d::Mesh* body_ = nullptr;
  std::array<engine3d::Mesh*, 3> wings_{};  // kind 0: left, right; kind 1: frames 0..2
  engine3d::Matrix4 tumble_;
  int value_ = 10;
  bool hit_ = false;
  bool fallen_ = false;
  Gunship* shooter_ = nullptr;
  PathFinder::Cell cell_{-1, -1, -1};
  bool blocked_ = false;
  bool found_ = false;
};

}  // namespace game
