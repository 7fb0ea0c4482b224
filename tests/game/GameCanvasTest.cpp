// The battle page on the headless host with the built content: set-up, keys and commands, the
// message boxes and where their answers lead, training, and the OpenGL notices.
#include "game/GameCanvas.h"

#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "BattleFixture.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "host/Keys.h"
#include "host/MessageBoxes.h"
#include "host/Messages.h"
#include "host/WindowManager.h"
#include "media/Scene3D.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "platform/MessagePump.h"
#include "platform/ProcessSwitches.h"

namespace game::testing {
namespace {

class GameCanvasTest : public BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    runtime_->drivers().add(engine3d::kRendererSoftware, engine3d::softwareDriver());
    platform::setGuiFolder(resourceFolder() + "GUI\\");
    platform::setScreenScale(1.0f);
  }
  void TearDown() override {
    main_.reset();
    platform::setActiveIdleHandler(nullptr);
    BattleTest::TearDown();
  }

  GameCanvas& open(const GameLaunch& launch) {
    main_ = std::make_unique<platform::Window>("Skirrow", 0, false);
    EXPECT_TRUE(main_->create(0, 0, 240, 320));
    GameCanvas::Services services;
    services.resourceFolder = resourceFolder();
    services.guiFolder = platform::guiFolder();
    services.settingsFile = "gsetting.properties";
    services.relaunch = [this](const std::string& line) { relaunches.push_back(line); };
    services.seed = 5;
    auto page = std::make_unique<GameCanvas>(*runtime_, std::move(services), launch);
    GameCanvas* raw = page.get();
    EXPECT_TRUE(main_->addChild(std::move(page), 0, 0, 240, 320));
    return *raw;
  }
  GameCanvas& battle(int room = 0, bool training = false) {
    GameLaunch launch;
    launch.room = room;
    launch.teamCode = 3210;
    launch.training = training;
    return open(launch);
  }

  // Taps the named sprite of the page at its centre.
  void tap(GameCanvas& page, const std::string& name) {
    scene::Scene* scene = page.findSceneOf(name);
    scene::SceneObject* object = page.findObject(name);
    ASSERT_TRUE(scene && object) << name;
    const int x = scene->x + object->x + object->width / 2;
    const int y = scene->y + object->y + object->height / 2;
    wm().sendMessage(page.hwnd(), host::WM_LBUTTONDOWN, 1, host::makeLParam(x, y));
    wm().sendMessage(page.hwnd(), host::WM_LBUTTONUP, 0, host::makeLParam(x, y));
  }
  void key(GameCanvas& page, std::uint32_t code) {
    wm().sendMessage(page.hwnd(), host::WM_KEYDOWN, code, 0);
    wm().sendMessage(page.hwnd(), host::WM_KEYUP, code, 0);
  }
  static void kill(Gunship& ship) {
    ship.dying = true;
    ship.dead = true;
  }

  std::unique_ptr<platform::Window> main_;
  std::vector<std::string> relaunches;
};

TEST_F(GameCanvasTest, SetsUpTheRoomTheHelicoptersAndTheDisplay) {
  GameCanvas& page = battle();
  ASSERT_TRUE(page.ready());
  ASSERT_TRUE(page.started());
  EXPECT_FALSE(page.isMessageBoxUp()) << "the loading box goes when the game starts";
  const GameCanvasObjects& o = page.objects();
  ASSERT_NE(o.world, nullptr);
  EXPECT_NE(o.world->findGroup("level"), nullptr);
  int choppers = 0, bullets = 0;
  for (const auto& object : o.world->objects()) {
    choppers += object->name == "chopper";
    bullets += object->name == "bullet";
  }
  EXPECT_EQ(choppers, 4);
  EXPECT_EQ(bullets, 4 * 18);
  EXPECT_EQ(page.rendererName().rfind("Vexagraph 2.0", 0), 0u);
  float fov = 0, nearPlane = 0, farPlane = 0;
  o.world->camera()->getPerspective(fov, nearPlane, farPlane);
  EXPECT_FLOAT_EQ(fov, 50.0f);
  EXPECT_FLOAT_EQ(nearPlane, 1.0f);
  EXPECT_FLOAT_EQ(farPlane, 150.0f);
  Battle& b = *page.battle();
  EXPECT_EQ(b.camera().mode(), 0);
  EXPECT_EQ(b.settings().characters,
            (std::array<std::string, 4>{"Vega", "Rook", "Nova", "Juno"}));  // team 3210
  EXPECT_FALSE(o.help->visible);
  EXPECT_TRUE(o.gui->visible);
  for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(o.health[slot]->width, 32);
}

TEST_F(GameCanvasTest, EscapeAsksAndNoResumesWhileYesGoesToTheIntro) {
  GameCanvas& page = battle();
  key(page, host::VK_ESCAPE);
  ASSERT_TRUE(page.isMessageBoxUp());
  EXPECT_EQ(page.messageBoxContext().value_or(""), "QUIT");
  EXPECT_FALSE(page.isActive()) << "the game pauses behind the question";
  tap(page, "btnNo");
  EXPECT_FALSE(page.isMessageBoxUp());
  EXPECT_TRUE(page.isActive());
  EXPECT_TRUE(relaunches.empty());
  EXPECT_EQ(host::Host::get().messageBoxes().records().back().text, "Quit Game Now ?");
  key(page, host::VK_ESCAPE);
  tap(page, "btnYes");
  EXPECT_EQ(relaunches, (std::vector<std::string>{"ARG:intro"}));
}

TEST_F(GameCanvasTest, AWonBattleGoesToTheScoreboardWithTodaysDate) {
  GameCanvas& page = battle(3);
  Battle& b = *page.battle();
  b.addScore(0, 1234);
  kill(b.gunship(2));
  kill(b.gunship(3));
  b.periodicTick();
  b.periodicTick();
  ASSERT_EQ(b.result(), kWon);
  ASSERT_TRUE(page.isMessageBoxUp());
  tap(page, "btnOk");
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char expected[96];
  std::snprintf(expected, sizeof expected,
                "ARG:scoreboard /score:1234, room:3, date:%04d/%02d/%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday);
  ASSERT_EQ(relaunches.size(), 1u);
  EXPECT_EQ(relaunches[0], expected);
  const auto& records = host::Host::get().messageBoxes().records();
  EXPECT_EQ(records.back().text, "Game Over: You Won!");
}

TEST_F(GameCanvasTest, ALostBattleOffersARetry) {
  GameCanvas& page = battle();
  Battle& b = *page.battle();
  b.addScore(1, 500);
  kill(b.gunship(0));
  kill(b.gunship(1));
  b.periodicTick();
  b.periodicTick();
  ASSERT_EQ(b.result(), kLost);
  tap(page, "btnOk");
  ASSERT_TRUE(page.isMessageBoxUp());
  EXPECT_EQ(page.messageBoxContext().value_or(""), "RETRY");
  tap(page, "btnYes");  // play again
  EXPECT_TRUE(relaunches.empty());
  EXPECT_TRUE(b.running());
  EXPECT_EQ(b.score(1), 0);
  EXPECT_FALSE(b.gunship(0).dead);
  // Losing again and declining goes back to the intro.
  kill(b.gunship(0));
  kill(b.gunship(1));
  b.periodicTick();
  b.periodicTick();
  tap(page, "btnOk");
  tap(page, "btnNo");
  EXPECT_EQ(relaunches, (std::vector<std::string>{"ARG:intro"}));
}

TEST_F(GameCanvasTest, ATieGoesBackToTheIntro) {
  GameCanvas& page = battle();
  Battle& b = *page.battle();
  for (int s = 0; s < 4; ++s) kill(b.gunship(s));
  b.periodicTick();
  b.periodicTick();
  tap(page, "btnOk");
  EXPECT_EQ(relaunches, (std::vector<std::string>{"ARG:intro"}));
  EXPECT_EQ(host::Host::get().messageBoxes().records().back().text, "Game Over: It's a Tie.");
}

TEST_F(GameCanvasTest, KeysSwitchTheViewAndTheCamera) {
  GameCanvas& page = battle();
  Battle& b = *page.battle();
  key(page, 'Q');
  EXPECT_EQ(b.viewedSlot(), 1);
  EXPECT_FALSE(b.gunship(1).computerFlown);
  key(page, 'Z');
  EXPECT_EQ(b.camera().followKind(), 4) << "cockpit";
  key(page, host::VK_F1 + 3);
  EXPECT_EQ(b.camera().mode(), 3);
  EXPECT_EQ(b.camera().followKind(), -2);
  // While a box is up keys do nothing.
  key(page, host::VK_ESCAPE);
  key(page, host::VK_F1 + 7);
  EXPECT_EQ(b.camera().mode(), 3);
}

TEST_F(GameCanvasTest, TheDemonstrationFliesTheViewedHelicopterAndShowsItsLabel) {
  GameCanvas& page = battle();
  tap(page, "autoDemo");
  EXPECT_TRUE(page.battle()->demo());
  EXPECT_TRUE(page.battle()->gunship(0).computerFlown);
  EXPECT_TRUE(page.objects().autoDemo->visible);
  key(page, 'Q');  // taking a helicopter over ends it
  EXPECT_FALSE(page.battle()->demo());
  EXPECT_FALSE(page.objects().autoDemo->visible);
}

TEST_F(GameCanvasTest, TheInfoCommandTogglesTheLineAndTheClock) {
  GameCanvas& page = battle();
  tap(page, "cmdInfo");
  EXPECT_TRUE(page.infoLine());
  EXPECT_EQ(page.frameTimer().mode(), scene::FrameTimer::kFree);
  tap(page, "cmdInfo");
  EXPECT_FALSE(page.infoLine());
  EXPECT_EQ(page.frameTimer().mode(), scene::FrameTimer::kClamp);
}

TEST_F(GameCanvasTest, TrainingTipsWrapBothWaysAndSetTheControlStyle) {
  GameCanvas& page = battle(1, true);
  ASSERT_GT(page.tipCount(), 3);
  EXPECT_TRUE(page.objects().training->visible);
  EXPECT_FALSE(page.objects().scores[0]->visible) << "no scores in training";
  EXPECT_EQ(page.tipIndex(), 0);
  EXPECT_EQ(page.objects().tipTitle->text(), "[1] Welcome aboard");
  page.stepTip(-1);
  EXPECT_EQ(page.tipIndex(), page.tipCount() - 1);
  page.stepTip(+1);
  EXPECT_EQ(page.tipIndex(), 0);
  // "Flying at MAX Speed" picks the automatic speed, the others manual.
  page.stepTip(+3);
  EXPECT_EQ(page.objects().tipTitle->text(), "[4] Flying at MAX Speed");
  EXPECT_EQ(page.battle()->controlStyle(), 0);
  page.stepTip(+2);
  EXPECT_EQ(page.battle()->controlStyle(), 1);
}

TEST_F(GameCanvasTest, TrainingEndsOnlyWithItsTimeOut) {
  GameCanvas& page = battle(1, true);
  Battle& b = *page.battle();
  b.gunship(2).changeHealth(-100);
  EXPECT_FALSE(b.gunship(2).dying);
  b.periodicTick();
  b.periodicTick();
  EXPECT_TRUE(b.running());
  b.advanceClock(3601.0f);
  b.periodicTick();
  b.periodicTick();
  EXPECT_EQ(b.result(), kTrainingOver);
  EXPECT_FALSE(page.objects().training->visible);
  tap(page, "btnOk");
  EXPECT_EQ(relaunches, (std::vector<std::string>{"ARG:intro"}));
  EXPECT_EQ(host::Host::get().messageBoxes().records().back().text, "Training Session Time out.");
}

TEST_F(GameCanvasTest, OpenGlAskedForWithoutItShowsTwoNoticesThenPlays) {
  GameLaunch launch;
  launch.teamCode = 3210;
  launch.glNotice = true;
  GameCanvas& page = open(launch);
  EXPECT_FALSE(page.started());
  EXPECT_EQ(page.messageBoxContext().value_or(""), "OPENGL_UNAVAILABLE_1");
  tap(page, "btnOk");
  EXPECT_EQ(page.messageBoxContext().value_or(""), "OPENGL_UNAVAILABLE_2");
  EXPECT_FALSE(page.started());
  tap(page, "btnOk");
  EXPECT_TRUE(page.started());
  EXPECT_FALSE(page.isMessageBoxUp());
  EXPECT_EQ(page.rendererName().rfind("Vexagraph", 0), 0u);
}

TEST_F(GameCanvasTest, ATeamCodeNamingNoPilotLeadsBackToTheIntro) {
  GameLaunch launch;
  launch.teamCode = 3219;  // there are four pilots: 9 names nobody
  GameCanvas& page = open(launch);
  EXPECT_FALSE(page.ready());
  EXPECT_EQ(page.messageBoxContext().value_or(""), "BAD_TEAM");
  tap(page, "btnOk");
  EXPECT_EQ(relaunches, (std::vector<std::string>{"ARG:intro"}));
}

TEST_F(GameCanvasTest, ALostDriverContextIsToldOnceAndTheGameGoesOn) {
  GameCanvas& page = battle();
  engine3d::Renderer* renderer = page.objects().world->renderer();
  ASSERT_NE(renderer, nullptr);
  ASSERT_EQ(renderer->errorListener, &page);
  const size_t before = host::Host::get().messageBoxes().records().size();
  renderer->errorListener->rendererError(0x300E);
  renderer->errorListener->rendererError(0x300E);
  const auto& records = host::Host::get().messageBoxes().records();
  ASSERT_EQ(records.size(), before + 1);
  EXPECT_EQ(records.back().caption, "Error");
  EXPECT_EQ(records.back().text, "OpenGL can not be resumed, click OK to restart the game.");
  for (int i = 0; i < 30; ++i) page.runFrame();
  EXPECT_TRUE(page.battle()->running());
}

TEST_F(GameCanvasTest, ARoomThatDoesNotExistGivesAnEmptyRoomThatStillPlays) {
  GameLaunch launch;
  launch.room = 9;
  launch.teamCode = 3210;
  GameCanvas& page = open(launch);
  ASSERT_TRUE(page.started());
  EXPECT_EQ(page.battle()->level(), nullptr);
  for (int i = 0; i < 60; ++i) page.runFrame();
  EXPECT_TRUE(page.battle()->running());
}

// A whole frame of the page, drawing included: the rules, the 3D scene by the software renderer,
// the HUD with its texts, radar and markers, the info line. Pools, pictures and working buffers
// are made at set-up, so a running battle allocates nothing (the handheld could not afford a
// heap that fragments over an hour's play, and neither can a frame that must stay smooth).
TEST_F(GameCanvasTest, PlayingAllocatesNothing) {
  GameCanvas& page = battle(2);
  ASSERT_TRUE(page.started());
  page.setMaxFramesPerSecond(0);
  page.battle()->setDemo(true);
  tap(page, "cmdInfo");  // the info line and its numbers too
  for (int i = 0; i < 150; ++i) page.runFrame();  // into the fight, every picture made once
  CountingAllocations allocations;
  for (int i = 0; i < 900; ++i) page.runFrame();  // thirty seconds of game time
  EXPECT_EQ(allocations.count(), 0);
  EXPECT_TRUE(page.battle()->running());
}

}  // namespace
}  // namespace game::testing
