#include "game/Battle.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine3d/MathTables.h"
#include "engine3d/ScalarMath.h"
#include "game/Analyzer.h"
#include "game/Level.h"
#include "platform/Template.h"

namespace game {

namespace {

using engine3d::Matrix4;
using engine3d::Vector3;

constexpr std::uint32_t kSwitchDebounceMs = 301;

}  // namespace

Battle::Battle(BattleHost& host, BattleSettings settings, BattleAssets assets)
    : host_(host),
      settings_(std::move(settings)),
      assets_(std::move(assets)),
      dice_(settings_.seed),
      models_(assets_.models),
      camera_(*this) {
  for (int slot = 0; slot < kHelicopters; ++slot)
    gunships_[static_cast<size_t>(slot)] = std::make_unique<Gunship>(*this, slot);
}

Battle::~Battle() = default;

void Battle::setUp(const std::function<void(std::string_view, int)>& progress) {
  auto report = [&](std::string_view text, int percent) {
    if (progress) progress(text, percent);
  };
  report("Loading room", 10);
  loadLevel();
  loadEffectArt();

  report("Loading helicopters", 40);
  placeHelicopters(true, false);
  report("Loading flyers", 70);
  createFlyables();
  effects_.create(effectArt_, host_);
  report("Ready", 100);
}

void Battle::loadLevel() {
  char folder[64];
  std::snprintf(folder, sizeof folder, "scenes\\level%d\\", settings_.level);
  levelFolder_ = assets_.resourceFolder + folder;
  levelRadius_ = game::levelRadius(settings_.level);
  std::unique_ptr<engine3d::Group3D> model =
      game::loadLevel(levelFolder_, levelRadius_, assets_.models);
  if (model) {
    model->prepare(true);
    extent_ = model->size;
    analyzer_ = analyzeLevel(*model);
    if (analyzer_ && analyzer_->pathFinder())
      freeCells_ = game::freeCells(*analyzer_->pathFinder());
    ceiling_ = model->findMesh("ceiling");
    ground_ = model->findMesh("ground");
    wall_ = model->findMesh("wall");
    for (int i = 0; i < 2; ++i) {
      if (engine3d::Mesh* marker = model->findMesh(i == 0 ? "dummy_t0" : "dummy_t1")) {
        marker->visible = false;
        spawns_[static_cast<size_t>(i)] = marker->centre;
        hasSpawn_[static_cast<size_t>(i)] = true;
      }
    }
    level_ = host_.addModel("level", std::move(model));
  } else {
    // An empty room: the helicopters still have a box to fly in.
    extent_ = Vector3(2.0f * levelRadius_, 0.8f * levelRadius_, 1.4f * levelRadius_);
  }
  for (int i = 0; i < 2; ++i)
    if (!hasSpawn_[static_cast<size_t>(i)])
      spawns_[static_cast<size_t>(i)] = Vector3((i == 0 ? -0.35f : 0.35f) * extent_.x, 0.0f, 0.0f);
  limits_ =
      Vector3(std::max(0.0f, extent_.x / 2.0f - 2.2f), std::max(0.0f, extent_.y / 2.0f - 0.66f),
              std::max(0.0f, extent_.z / 2.0f - 2.2f));
}

void Battle::loadEffectArt() {
  const engine3d::TextureLoader& load = assets_.models.textures;
  if (!load) return;
  const std::string chopper = assets_.resourceFolder + "chopper\\";
  effectArt_.bulletMark = load({chopper, "BulletMark.gif", true, false});
  effectArt_.explosion = load({assets_.resourceFolder + "scenes\\", "explosion.jpg", true, false});
  for (int i = 0; i < 3; ++i)
    effectArt_.fume[static_cast<size_t>(i)] =
        load({chopper, "fume" + std::to_string(i) + ".jpg", true, false});
}

void Battle::createFlyables() {
  const std::string folder = assets_.resourceFolder + "flyable\\";
  paintFlyerBoxes(flyerShared_, folder, assets_.valueFont);
  platform::Template entries('=', ',', ':');
  if (!entries.load(levelFolder_, "flyable.properties")) return;
  std::vector<FlyableType> listed = readFlyableTypes(entries);
  if (listed.empty()) return;

  // Each kind has one slot; a later entry of the same kind takes it over. Entries of no known
  // kind keep a type of their own and fly without animation.
  std::array<int, kFlyableKinds> slotOf;
  slotOf.fill(-1);
  for (size_t i = 0; i < listed.size(); ++i)
    if (listed[i].kind >= 0 && listed[i].kind < kFlyableKinds)
      slotOf[static_cast<size_t>(listed[i].kind)] = static_cast<int>(i);
  const engine3d::TextureLoader& load = assets_.models.textures;
  for (FlyableType& type : listed) {
    if (!load) break;
    for (int i = 0; i < type.textureNum; ++i)
      type.skins.push_back(load(
          {folder + type.name + "\\", type.name + "_" + std::to_string(i) + ".gif", true, false}));
  }
  flyableTypes_ = std::move(listed);

  const size_t n = flyableTypes_.size();
  for (size_t j = 0; j < static_cast<size_t>(kFlyables); ++j) {
    const FlyableType& entry = flyableTypes_[j % n];
    const bool known = entry.kind >= 0 && entry.kind < kFlyableKinds;
    const FlyableType& type =
        known ? flyableTypes_[static_cast<size_t>(slotOf[static_cast<size_t>(entry.kind)])] : entry;
    auto flyer = std::make_unique<Flyable>(*this);
    if (flyer->create(type)) flyables_.push_back(std::move(flyer));
  }
}

void Battle::placeHelicopters(bool create, bool keepHeading) {
  // Which team starts where is a coin toss; the teams face each other across the room.
  const bool heads = dice_.heads();
  const Vector3 a = spawns_[heads ? 1 : 0];
  const Vector3 b = spawns_[heads ? 0 : 1];
  Vector3 facing = b - a;
  facing.y = 0.0f;
  if (facing.squaredLength() > 0.0f)
    facing.normalize();
  else
    facing = Vector3(0.0f, 0.0f, 1.0f);
  const float yawA =
      static_cast<float>(std::atan2(static_cast<double>(facing.x), static_cast<double>(facing.z)));

  std::array<Vector3, kHelicopters> at;
  std::array<float, kHelicopters> headings{};
  for (int team = 0; team < 2; ++team) {
    const float yaw = team == 0 ? yawA : yawA + engine3d::kPi;
    const Matrix4 frame = Matrix4::rotationY(yaw);
    float turn = 0.0f;
    if (!keepHeading) {
      turn = dice_.real(0.2f * engine3d::kPi, 0.3f * engine3d::kPi);
      if (dice_.heads()) turn = -turn;
    }
    for (int k = 0; k < 2; ++k) {
      const int slot = 2 * team + k;
      const Vector3 offset(k == 0 ? 2.2f : -2.2f, 0.0f, 0.0f);
      at[static_cast<size_t>(slot)] = (team == 0 ? a : b) + frame.transformDirection(offset);
      headings[static_cast<size_t>(slot)] = yaw + turn;
    }
  }
  for (int slot = 0; slot < kHelicopters; ++slot) {
    Gunship& ship = gunship(slot);
    if (create) ship.create(settings_.characters[static_cast<size_t>(slot)], slot > 1);
    ship.reset(0.0f, headings[static_cast<size_t>(slot)], at[static_cast<size_t>(slot)]);
  }
  assignTargets();
}

void Battle::assignTargets() {
  for (int slot = 0; slot < kHelicopters; ++slot) {
    Gunship& ship = gunship(slot);
    const int facing = (slot + 2) % kHelicopters;
    const int other = facing ^ 1;
    // A helicopter going down counts as gone: its attackers look for the other opponent.
    if (!gunship(facing).dying)
      ship.target = gunship(facing).node();
    else if (!gunship(other).dying)
      ship.target = gunship(other).node();
    else
      ship.target = nullptr;
  }
}

void Battle::attachCamera(engine3d::Camera* camera) {
  camera_.attach(camera);
}

void Battle::start() {
  elapsed_ = 0.0f;
  result_ = kRunning;
  scores_ = {};
  ticks_ = nextPilot_ = nextFlyer_ = demoCounter_ = endCounter_ = 0;
  cannonSounded_ = false;
  effects_.clear();
  for (auto& ship : gunships_) ship->cannon().clear();
  viewSlot(0);
  host_.hudChanged();
}

void Battle::retry() {
  placeHelicopters(false, false);
  start();
}

void Battle::frame(float dt, const PlayerInput& input) {
  const float t = elapsed_ * 1.5f;
  bobSin_ = engine3d::sinLookup(t);
  bobCos_ = engine3d::cosLookup(t);
  applyInput(dt, input);
  for (auto& ship : gunships_) ship->update(dt);
  for (auto& flyer : flyables_) flyer->update(dt);
  effects_.update(dt);
  camera_.update(dt);
}

void Battle::applyInput(float dt, const PlayerInput& input) {
  Gunship& ship = gunship(viewedSlot_);
  const bool steering = ship.health > 0 && !ship.computerFlown;
  ship.showPart("spark", steering && input.fire);
  if (!steering) return;
  const bool fast = input.boost || ship.attacker != nullptr;
  ship.targetSpeed = fast ? 10.0f : 4.0f;
  const float turnFactor = fast ? 1.0f : 0.25f;
  if (input.left || input.right) {
    ship.turn(input.left, dt);
    ship.setTargetSpeed(turnFactor);
  } else {
    ship.turnDecay(dt);
  }
  if (input.up || input.down) {
    if (settings_.controlStyle == 1 && input.boost)
      ship.accelerate(input.up, dt);
    else
      ship.climb(input.up, dt);
  } else if (settings_.controlStyle == 1) {
    ship.speedDecay(dt);
  }
  if (input.fire) {
    ship.cannon().fire(dt);
    ship.setTargetSpeed(turnFactor);
  }
}

void Battle::advanceClock(float dt) {
  elapsed_ += dt;
}

void Battle::periodicTick() {
  const bool odd = (ticks_++ & 1) != 0;
  if (!odd) {
    host_.hudChanged();
    return;
  }
  Gunship& ship = gunship(nextPilot_);
  nextPilot_ = (nextPilot_ + 1) % kHelicopters;
  if (!ship.dead) ship.pilot().reevaluateTarget();

  if (!flyables_.empty()) {
    Flyable& flyer = *flyables_[static_cast<size_t>(nextFlyer_)];
    nextFlyer_ = (nextFlyer_ + 1) % static_cast<int>(flyables_.size());
    if (flyer.fallen())
      flyer.respawn();
    else
      flyer.nudge();
  }

  if (running()) decideOutcome();
  if (running() && demo_) {
    demoCounter_ = (demoCounter_ + 1) % 32;
    if (demoCounter_ % 8 == 0) setCameraMode(demoCounter_ / 8);
  } else if (!running()) {
    endCounter_ = (endCounter_ + 1) % 16;
    if (endCounter_ % 4 == 0) {
      viewedSlot_ = (viewedSlot_ + 1) % kHelicopters;
      setCameraMode(endCounter_ / 4);
    }
  }
}

void Battle::decideOutcome() {
  int alive[2] = {0, 0};
  for (const auto& ship : gunships_)
    if (!ship->dead) ++alive[ship->team()];
  if (alive[0] == 0)
    endGame(alive[1] > 0 ? kLost : kTie);
  else if (alive[1] == 0)
    endGame(kWon);
  else if (elapsed_ > 3600.0f)
    endGame(kTimeOut);
}

void Battle::endGame(GameResult result) {
  result_ = settings_.training ? kTrainingOver : result;
  for (auto& ship : gunships_) ship->revive();
  placeHelicopters(false, true);
  host_.gameEnded(result_);
}

void Battle::addScore(int team, int amount) {
  int& score = scores_[static_cast<size_t>(team)];
  score = settings_.training ? 0 : score + amount;
}

void Battle::explode(float speed, const Matrix4& matrix, bool withSound) {
  if (!effects_.spawnExplosion(speed, matrix) || !withSound) return;
  host_.enginePause(2.7f);
  host_.playSound("explosion");
}

void Battle::switchView(int slot) {
  const std::uint32_t now = host_.tickCount();
  if (viewSwitched_ && now - lastViewSwitch_ < kSwitchDebounceMs) return;
  lastViewSwitch_ = now;
  viewSwitched_ = true;
  viewSlot(slot);
}

void Battle::viewSlot(int slot) {
  gunship(0).computerFlown = true;
  gunship(1).computerFlown = true;
  viewedSlot_ = slot;
  // In the demonstration the computer keeps flying whichever helicopter is watched.
  gunship(slot).computerFlown = demo_;
  setCameraMode(0);
  host_.hudChanged();
}

void Battle::toggleCockpit() {
  const std::uint32_t now = host_.tickCount();
  if (cockpitToggled_ && now - lastCockpitToggle_ < kSwitchDebounceMs) return;
  lastCockpitToggle_ = now;
  cockpitToggled_ = true;
  setCameraMode(camera_.followKind() == 4 ? 0 : 2);
}

void Battle::setCameraMode(int mode) {
  camera_.setMode(mode);
}

void Battle::setDemo(bool on) {
  demo_ = on;
  if (on) gunship(viewedSlot_).computerFlown = true;
  host_.hudChanged();
}

void Battle::setControlStyle(int style) {
  settings_.controlStyle = style;
  host_.hudChanged();
}

const PathFinder* Battle::pathFinder() const {
  return analyzer_ ? analyzer_->pathFinder() : nullptr;
}

}  // namespace game
