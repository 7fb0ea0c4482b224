// The game with parts of its content missing or damaged: a helicopter's skin, a room's map
// picture, a flyer's model, a sound. Each is an empty item for the game: the battle loads
// without it and plays on, drawn, with its rules unchanged where the part is only a picture.
//
// The content is a copy of the build's resource tree without its archives (so that a file
// taken away is really gone), damaged in the copy.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BattleFixture.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "game/GameCanvas.h"
#include "host/Keys.h"
#include "host/Messages.h"
#include "host/System.h"
#include "host/WindowManager.h"
#include "platform/MessagePump.h"
#include "platform/ProcessSwitches.h"
#include "platform/Window.h"

namespace game::testing {
namespace {

namespace fs = std::filesystem;
constexpr float kDt = 1.0f / 30.0f;

enum class Damage { Missing, Garbage, CutShort };

// Takes `file` away, fills it with bytes that are no picture, model or sound, or cuts it to a
// third of its length.
void damage(const std::string& file, Damage how) {
  ASSERT_TRUE(fs::exists(file)) << file;
  if (how == Damage::Missing) {
    fs::remove(file);
    return;
  }
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  if (how == Damage::Garbage)
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 131 + 7) & 0xFF);
  else
    bytes.resize(bytes.size() / 3);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

class DamagedContentTest : public BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    runtime_->drivers().add(engine3d::kRendererSoftware, engine3d::softwareDriver());
    // The archives registered by the fixture point into the build's tree, not into the copy.
    platform::releaseArchives();
    copy_ = copyRoot_.path() + "/resources/";
    fs::create_directory(copy_);
    fs::copy(fs::canonical(resourceFolder()), copy_, fs::copy_options::recursive);
    for (const auto& entry : fs::recursive_directory_iterator(copy_))
      if (entry.path().extension() == ".zip") zips_.push_back(entry.path());
    for (const fs::path& zip : zips_) fs::remove(zip);
  }
  void TearDown() override {
    page_.reset();
    main_.reset();
    platform::setActiveIdleHandler(nullptr);
    BattleTest::TearDown();
  }

  // `seconds` of a drawn demonstration in room 0 on the copy; the rules' state at the end.
  std::vector<float> play(int* flyers = nullptr, int seconds = 120) {
    BattleSettings s = settings(0, 31);
    BattleAssets a = assets(true);
    a.resourceFolder = copy_;
    simulation_ = std::make_unique<Simulation>(s, a, engine3d::kRendererSoftware,
                                               &runtime_->drivers());
    EXPECT_TRUE(simulation_->setUp());
    Simulation& sim = *simulation_;
    sim.start();
    sim.battle().setDemo(true);
    for (int i = 0; i < 30 * seconds; ++i) sim.step(kDt);
    EXPECT_NEAR(sim.seconds(), seconds, 0.5);
    if (flyers) *flyers = sim.battle().flyableCount();
    std::vector<float> state;
    for (int slot = 0; slot < kHelicopters; ++slot) {
      const Gunship& ship = sim.battle().gunship(slot);
      state.insert(state.end(), {ship.position.x, ship.position.y, ship.position.z,
                                 static_cast<float>(ship.health)});
    }
    state.push_back(static_cast<float>(sim.battle().score(0)));
    state.push_back(static_cast<float>(sim.battle().score(1)));
    state.push_back(static_cast<float>(sim.battle().result()));
    return state;
  }

  testing_support::TempFolder copyRoot_;  // the archives' release empties the fixture's own
  std::string copy_;
  std::vector<fs::path> zips_;
  std::unique_ptr<platform::Window> main_;
  std::unique_ptr<GameCanvas> page_;
};

TEST_F(DamagedContentTest, MissingOrDamagedPicturesLeaveTheBattleAsItWas) {
  const std::vector<float> intact = play();
  // Skins and map pictures are only looked at: the same battle comes out.
  damage(copy_ + "chopper/chopper_Vega.jpg", Damage::Garbage);
  damage(copy_ + "chopper/chopper_Rook.jpg", Damage::Missing);
  damage(copy_ + "chopper/chopper_Nova.jpg", Damage::CutShort);
  damage(copy_ + "scenes/level0/floor.jpg", Damage::Missing);
  damage(copy_ + "scenes/level0/wall.jpg", Damage::Garbage);
  damage(copy_ + "scenes/level0/sofa.jpg", Damage::CutShort);
  damage(copy_ + "flyable/butterfly/butterfly_1.gif", Damage::Garbage);
  damage(copy_ + "flyable/ufo/ufo_0.gif", Damage::Missing);
  damage(copy_ + "scenes/explosion.jpg", Damage::CutShort);
  EXPECT_EQ(play(), intact);
}

TEST_F(DamagedContentTest, AFlyerWhoseModelIsMissingOrDamagedIsLeftOut) {
  int flyers = 0;
  play(&flyers, 20);
  ASSERT_GT(flyers, 0);
  for (Damage how : {Damage::Garbage, Damage::CutShort, Damage::Missing}) {
    damage(copy_ + "flyable/butterfly/butterfly.3ds", how);
    int left = -1;
    const std::vector<float> state = play(&left, 20);
    EXPECT_EQ(state.size(), 4u * kHelicopters + 3) << "the battle plays";
    // The ufo still flies; nothing of the butterfly's comes into the room.
    EXPECT_GT(left, 0);
    EXPECT_LT(left, flyers + 1);
    // Restore for the next way of damaging it.
    fs::copy_file(resourceFolder() + "flyable/butterfly/butterfly.3ds",
                  copy_ + "flyable/butterfly/butterfly.3ds", fs::copy_options::overwrite_existing);
  }
  damage(copy_ + "flyable/butterfly/butterfly.3ds", Damage::Missing);
  damage(copy_ + "flyable/ufo/ufo.3ds", Damage::Garbage);
  int none = -1;
  play(&none, 20);
  EXPECT_EQ(none, 0) << "no flyer model loads: a room without flyers";
}

TEST_F(DamagedContentTest, ThePagePlaysOnWithoutItsSounds) {
  damage(copy_ + "GUI/canon.wav", Damage::Garbage);
  damage(copy_ + "GUI/collision0.wav", Damage::Missing);
  damage(copy_ + "GUI/collision1.wav", Damage::CutShort);
  for (const auto& entry : fs::directory_iterator(copy_ + "GUI"))
    if (entry.path().filename().string().rfind("explosion", 0) == 0 ||
        entry.path().filename().string().rfind("engine", 0) == 0)
      damage(entry.path().string(), Damage::Garbage);
  platform::setGuiFolder(copy_ + "GUI\\");
  platform::setScreenScale(1.0f);
  main_ = std::make_unique<platform::Window>("Skirrow", 0, false);
  ASSERT_TRUE(main_->create(0, 0, 240, 320));
  GameCanvas::Services services;
  services.resourceFolder = copy_;
  services.guiFolder = platform::guiFolder();
  services.settingsFile = "gsetting.properties";
  services.relaunch = [](const std::string&) {};
  services.seed = 5;
  GameLaunch launch;
  launch.teamCode = 3210;
  auto page = std::make_unique<GameCanvas>(*runtime_, std::move(services), launch);
  GameCanvas* raw = page.get();
  ASSERT_TRUE(main_->addChild(std::move(page), 0, 0, 240, 320));
  ASSERT_TRUE(raw->started());
  // The demonstration fights (cannon, collisions, explosions: the damaged sounds' moments).
  raw->battle()->setDemo(true);
  const float start = raw->battle()->elapsed();
  // Thirty seconds at the page's pace: the host's clock moves as the page waits.
  for (int i = 0; i < 900 && raw->battle()->running(); ++i) {
    host::sleepMs(33);
    raw->runFrame();
  }
  EXPECT_GT(raw->battle()->elapsed(), start);
  int bullets = 0;
  for (int slot = 0; slot < kHelicopters; ++slot)
    bullets += raw->battle()->gunship(slot).cannon().bulletsFired();
  EXPECT_GT(bullets, 0) << "the cannon fired: its sound was asked for";
}

}  // namespace
}  // namespace game::testing
