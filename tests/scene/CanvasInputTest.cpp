// Keys, type-to-tap and the stylus of a page.
#include <gtest/gtest.h>

#include "CanvasFixture.h"
#include "host/Keys.h"
#include "host/System.h"
#include "host/WindowManager.h"

namespace scene_test {
namespace {

using scene::Canvas;
using scene::Scene;

class CanvasInput : public CanvasTest {
 protected:
  void key(RecordingCanvas& page, uint32_t message, uint32_t code) { page.send(message, code, 0); }
  void down(RecordingCanvas& page, uint32_t code) { key(page, host::WM_KEYDOWN, code); }
  void up(RecordingCanvas& page, uint32_t code) { key(page, host::WM_KEYUP, code); }
  void tap(RecordingCanvas& page, uint32_t message, int x, int y) {
    page.send(message, message == host::WM_LBUTTONDOWN ? 1 : 0, host::makeLParam(x, y));
  }
  // A new page drops releases and moves until it has seen a press: one tap arms it.
  void armStylus(RecordingCanvas& page) {
    tap(page, host::WM_LBUTTONDOWN, 0, 0);
    tap(page, host::WM_LBUTTONUP, 0, 0);
    log.clear();
  }
};

TEST_F(CanvasInput, ArrowBitsAreReleasedOneAtATime) {
  RecordingCanvas& page = makePage();
  down(page, host::VK_UP);
  down(page, host::VK_LEFT);
  down(page, host::VK_ACTION);
  EXPECT_EQ(page.keyState(), 1u | 4u | 128u);
  up(page, host::VK_UP);
  EXPECT_EQ(page.keyState(), 4u | 128u);
  EXPECT_EQ(page.lastKeyUp(), host::VK_UP);
  EXPECT_EQ(page.lastKeyUp(), 0u);  // reading clears it
  up(page, host::VK_ACTION);
  EXPECT_EQ(page.keyState(), 4u);
  up(page, host::VK_LEFT);
  EXPECT_EQ(page.keyState(), 0u);
}

TEST_F(CanvasInput, EveryActionKeyHasItsBit) {
  RecordingCanvas& page = makePage();
  const std::pair<uint32_t, uint32_t> keys[] = {
      {host::VK_UP, 1},
      {host::VK_DOWN, 2},
      {host::VK_LEFT, 4},
      {host::VK_RIGHT, 8},
      {host::VK_DELETE, 16},
      {host::VK_END, 32},
      {host::VK_SPACE, 64},
      {host::VK_RETURN, 128},
      {host::VK_ACTION, 128},
      {host::VK_PRIOR, 256},
      {host::VK_NEXT, 512},
      {host::VK_HOME, 1024},
      {host::VK_INSERT, 2048},
      {host::VK_APP1, 0x2000},
      {host::VK_APP2, 0x4000},
      {host::VK_APP3, 0x8000},
      {host::VK_APP4, 0x10000},
      {host::VK_ESCAPE, 0},
      {'A', 0},
  };
  for (auto [code, bit] : keys) {
    down(page, code);
    EXPECT_EQ(page.keyState(), bit) << code;
    up(page, code);
    EXPECT_EQ(page.keyState(), 0u) << code;
  }
}

TEST_F(CanvasInput, SingleKeyStateHoldsOnlyTheLastKey) {
  RecordingCanvas& page = makePage();
  page.singleKeyState = true;
  down(page, host::VK_UP);
  down(page, host::VK_RIGHT);
  EXPECT_EQ(page.keyState(), 8u);
  up(page, host::VK_UP);  // not the held one: nothing of it is left to clear
  EXPECT_EQ(page.keyState(), 8u);
  up(page, host::VK_RIGHT);
  EXPECT_EQ(page.keyState(), 0u);
}

TEST_F(CanvasInput, KeyMapTranslatesBeforeEverythingElse) {
  RecordingCanvas& page = makePage();
  auto map = std::make_unique<scene::KeyMap>();
  map->put("200", host::VK_APP2);
  page.setKeyMap(std::move(map));
  down(page, 200);
  EXPECT_EQ(page.keyState(), 0x4000u);
  up(page, 200);
  EXPECT_EQ(page.lastKeyUp(), host::VK_APP2);
  down(page, host::VK_APP1);  // codes that are not in the map pass unchanged
  EXPECT_EQ(page.keyState(), 0x2000u);
}

TEST_F(CanvasInput, RotatedKeysTurnArrowsAndMirrorButtons) {
  RecordingCanvas& page = makePage();
  page.rotateKeys = true;
  down(page, host::VK_LEFT);
  EXPECT_EQ(page.keyState(), 4u);  // the window is not rotated yet
  up(page, host::VK_LEFT);

  page.setRotated(true);
  page.rotation = 1;
  const std::pair<uint32_t, uint32_t> turn1[] = {{host::VK_LEFT, 1},
                                                 {host::VK_UP, 8},
                                                 {host::VK_RIGHT, 2},
                                                 {host::VK_DOWN, 4},
                                                 {host::VK_APP1, 0x2000}};
  for (auto [code, bit] : turn1) {
    down(page, code);
    EXPECT_EQ(page.keyState(), bit) << code;
    up(page, code);
  }
  page.rotation = 2;
  const std::pair<uint32_t, uint32_t> turn2[] = {{host::VK_LEFT, 2},       {host::VK_UP, 4},
                                                 {host::VK_RIGHT, 1},      {host::VK_DOWN, 8},
                                                 {host::VK_APP1, 0x10000}, {host::VK_APP2, 0x8000},
                                                 {host::VK_APP3, 0x4000},  {host::VK_APP4, 0x2000}};
  for (auto [code, bit] : turn2) {
    down(page, code);
    EXPECT_EQ(page.keyState(), bit) << code;
    up(page, code);
    EXPECT_EQ(page.keyState(), 0u) << code;
  }
}

class TypeToTap : public CanvasInput {
 protected:
  RecordingCanvas& makeButtons() {
    RecordingCanvas& page = makePage();
    page.typeToTap = true;
    auto sprites = std::make_unique<RecordingScene>(Scene::kSprite, nullptr, "gui");
    sprites->x = 5;
    sprites->y = 7;
    sprites->addObject(object("btnAB", 10, 20, 40, 30, "AB"));
    sprites->addObject(object("btnAC", 100, 20, 40, 30, "AC"));
    page.addScene("sceneGUI", std::move(sprites));
    armStylus(page);
    return page;
  }
  // Messages posted to the page, dispatched now.
  Log posted() {
    log.clear();
    drain();
    Log out;
    for (const std::string& entry : log)
      if (entry.rfind("stylus0:", 0) == 0) out.push_back(entry.substr(8));
    return out;
  }
};

TEST_F(TypeToTap, APrefixWaitsThenTheFullLabelTapsTheCentre) {
  RecordingCanvas& page = makeButtons();
  down(page, 'A');
  up(page, 'A');
  EXPECT_EQ(page.typedKeys(), "A");
  EXPECT_TRUE(posted().empty());

  host::sleepMs(1500);
  down(page, 'B');
  // Centre of btnAB: scene (5, 7) + object (10, 20) + half of (40, 30).
  EXPECT_EQ(posted(), (Log{"513@35,42"}));
  EXPECT_EQ(page.reactions, (std::vector<std::string>{"down:btnAB"}));
  EXPECT_EQ(page.typedKeys(), "AB");
  up(page, 'B');
  EXPECT_EQ(posted(), (Log{"514@35,42"}));
  EXPECT_EQ(page.reactions, (std::vector<std::string>{"down:btnAB", "up:btnAB"}));
  EXPECT_EQ(page.typedKeys(), "");
}

TEST_F(TypeToTap, AfterMoreThanTwoSecondsTheNextKeyStartsAgain) {
  RecordingCanvas& page = makeButtons();
  down(page, 'A');
  up(page, 'A');
  host::sleepMs(2001);
  down(page, 'B');
  EXPECT_EQ(page.typedKeys(), "");  // "B" alone matches nothing
  up(page, 'B');
  EXPECT_TRUE(posted().empty());
  EXPECT_TRUE(page.reactions.empty());

  // Exactly two seconds still continue the text.
  down(page, 'A');
  up(page, 'A');
  host::sleepMs(2000);
  down(page, 'C');
  EXPECT_EQ(posted(), (Log{"513@125,42"}));
}

TEST_F(TypeToTap, AutoRepeatTypesOnceAndHiddenOrLowerScenesDoNotMatch) {
  RecordingCanvas& page = makeButtons();
  down(page, 'A');
  down(page, 'A');  // held
  EXPECT_EQ(page.typedKeys(), "A");
  up(page, 'A');

  // A label in a scene under the top one is out of reach while topSceneOnly is on.
  page.addScene("sceneTop", std::make_unique<RecordingScene>(Scene::kSprite, nullptr, "top"));
  page.findScene("sceneTop")->addObject(object("btnZ", 0, 0, 4, 4, "Z"));
  down(page, 'B');
  EXPECT_EQ(page.typedKeys(), "");
  up(page, 'B');
  EXPECT_TRUE(posted().empty());
  page.topSceneOnly = false;
  down(page, 'A');
  up(page, 'A');
  down(page, 'B');
  EXPECT_EQ(posted(), (Log{"513@35,42"}));
}

// A native control's stand-in: an object that names a platform window.
class NativeObject : public scene::SceneObject {
 public:
  NativeObject(std::string_view name, host::Hwnd window) : SceneObject(name), window_(window) {}
  host::Hwnd nativeWindow() const override { return window_; }

 private:
  host::Hwnd window_;
};

TEST_F(TypeToTap, ANativeControlGetsTheFocusOnKeyUp) {
  RecordingCanvas& page = makePage();
  page.typeToTap = true;
  auto* field = new platform::Window("field", 0, false);
  ASSERT_TRUE(page.addChild(field, 10, 10, 50, 20));
  auto natives = std::make_unique<RecordingScene>(Scene::kNative, nullptr, "awt");
  auto control = std::make_unique<NativeObject>("edtName", field->hwnd());
  control->indexLabel = "N";
  natives->addObject(std::move(control));
  page.addScene("sceneAWT", std::move(natives));
  page.setFocus();
  down(page, 'N');
  EXPECT_NE(wm().focus(), field->hwnd());
  EXPECT_EQ(page.typedKeys(), "N");
  up(page, 'N');
  EXPECT_EQ(wm().focus(), field->hwnd());
  EXPECT_EQ(page.typedKeys(), "");
  EXPECT_TRUE(posted().empty());  // no stylus messages for a native control
}

TEST_F(TypeToTap, OffLettersOnlyReportTheLastKey) {
  RecordingCanvas& page = makeButtons();
  page.typeToTap = false;
  down(page, 'A');
  EXPECT_EQ(page.lastKey(), static_cast<uint32_t>('A'));
  EXPECT_EQ(page.typedKeys(), "");
  up(page, 'A');
  EXPECT_EQ(page.lastKey(), 0u);
}

struct PadProbe : scene::DirectionPad {
  explicit PadProbe(Log* log) : log(log) {}
  bool dragging() const override { return drag; }
  void press(int x, int y) override {
    drag = true;
    log->push_back("pad:press@" + std::to_string(x) + "," + std::to_string(y));
  }
  void move(int x, int y, uintptr_t) override {
    log->push_back("pad:move@" + std::to_string(x) + "," + std::to_string(y));
  }
  void release(int, int) override {
    drag = false;
    log->push_back("pad:release");
  }
  void draw() override {}
  bool drag = false;
  Log* log;
};

struct ListenerProbe : platform::MouseListener {
  ListenerProbe(Log* log, Canvas* page) : log(log), page(page) {}
  void onMouse(platform::Window&, uint32_t message, uintptr_t, int, int) override {
    scene::SceneObject* pressed = page->pressedSprite();
    log->push_back("listener:" + std::to_string(message) + ":" + (pressed ? pressed->name : "-"));
  }
  Log* log;
  Canvas* page;
};

TEST_F(CanvasInput, StylusPhasesRunAroundTheListener) {
  RecordingCanvas& page = makePage();
  auto sprites = std::make_unique<RecordingScene>(Scene::kSprite, nullptr, "gui");
  sprites->x = 20;
  sprites->addObject(object("btnOk", 0, 0, 50, 50));
  page.addScene("sceneGUI", std::move(sprites));
  ListenerProbe listener(&log, &page);
  page.setMouseListener(&listener);
  page.setDirectionPad(std::make_unique<PadProbe>(&log));

  tap(page, host::WM_LBUTTONDOWN, 30, 10);
  tap(page, host::WM_LBUTTONUP, 200, 200);  // released elsewhere: still the pressed sprite
  EXPECT_EQ(log, (Log{"stylus0:513@30,10", "listener:513:btnOk", "stylus1:513@30,10",
                      "stylus0:514@200,200", "listener:514:btnOk", "stylus1:514@200,200"}));
  EXPECT_EQ(page.reactions, (std::vector<std::string>{"down:btnOk", "up:btnOk"}));

  // Beside the sprite (scene-relative x = -1) nothing is pressed and the pad drags.
  log.clear();
  tap(page, host::WM_LBUTTONDOWN, 19, 10);
  EXPECT_EQ(page.pressedSprite(), nullptr);
  page.send(host::WM_MOUSEMOVE, 1, host::makeLParam(25, 12));
  tap(page, host::WM_LBUTTONUP, 25, 12);
  EXPECT_EQ(log, (Log{"stylus0:513@19,10", "pad:press@19,10", "listener:513:-", "stylus1:513@19,10",
                      "stylus0:512@25,12", "pad:move@25,12", "listener:512:-", "stylus1:512@25,12",
                      "stylus0:514@25,12", "pad:release", "listener:514:-", "stylus1:514@25,12"}));
  EXPECT_EQ(page.reactions.size(), 2u);
}

TEST_F(CanvasInput, ANewPageDropsTheRestOfATapItNeverSawBeginAndTakesItsOwnFirstTap) {
  RecordingCanvas& page = makePage();
  auto sprites = std::make_unique<RecordingScene>(Scene::kSprite, nullptr, "gui");
  sprites->addObject(object("btnStart", 0, 0, 100, 100));
  page.addScene("sceneGUI", std::move(sprites));
  ListenerProbe listener(&log, &page);
  page.setMouseListener(&listener);

  // The stylus was already down when the page came: its moves and its release are not the
  // page's (the listener still hears them, the page does not react).
  page.send(host::WM_MOUSEMOVE, 1, host::makeLParam(40, 40));
  tap(page, host::WM_LBUTTONUP, 40, 40);
  EXPECT_EQ(log, (Log{"listener:512:-", "listener:514:-"}));
  EXPECT_TRUE(page.reactions.empty());

  // The first tap that begins on the page is a whole tap.
  log.clear();
  tap(page, host::WM_LBUTTONDOWN, 40, 40);
  tap(page, host::WM_LBUTTONUP, 40, 40);
  EXPECT_EQ(page.reactions, (std::vector<std::string>{"down:btnStart", "up:btnStart"}));

  // A fresh page whose very first message is a press reacts to it at once.
  RecordingCanvas& second = makePage();
  auto more = std::make_unique<RecordingScene>(Scene::kSprite, nullptr, "gui");
  more->addObject(object("btnStart", 0, 0, 100, 100));
  second.addScene("sceneGUI", std::move(more));
  tap(second, host::WM_LBUTTONDOWN, 40, 40);
  tap(second, host::WM_LBUTTONUP, 40, 40);
  EXPECT_EQ(second.reactions, (std::vector<std::string>{"down:btnStart", "up:btnStart"}));
}

TEST_F(CanvasInput, HoverDoesNotChangeThePressedSprite) {
  RecordingCanvas& page = makePage();
  auto sprites = std::make_unique<RecordingScene>(Scene::kSprite, nullptr, "gui");
  sprites->addObject(object("a", 0, 0, 10, 10));
  sprites->addObject(object("b", 50, 0, 10, 10));
  page.addScene("sceneGUI", std::move(sprites));
  armStylus(page);
  tap(page, host::WM_LBUTTONDOWN, 5, 5);
  page.send(host::WM_MOUSEMOVE, 0, host::makeLParam(55, 5));
  ASSERT_NE(page.pressedSprite(), nullptr);
  EXPECT_EQ(page.pressedSprite()->name, "a");
}

TEST_F(CanvasInput, TopSceneOnlyMakesTheTopSpriteSceneAnswerAlone) {
  RecordingCanvas& page = makePage();
  auto lower = std::make_unique<RecordingScene>(Scene::kSprite, nullptr, "lower");
  lower->addObject(object("under", 0, 0, 100, 100));
  page.addScene("lower", std::move(lower));
  auto upper = std::make_unique<RecordingScene>(Scene::kSprite, nullptr, "upper");
  upper->addObject(object("elsewhere", 150, 150, 10, 10));
  page.addScene("upper", std::move(upper));
  // A 3D scene on top takes no part in hit tests.
  page.addScene("scene3D", std::make_unique<RecordingScene>(Scene::k3D, nullptr, "3d"));

  EXPECT_EQ(page.findPressedSprite(50, 50), nullptr);
  page.topSceneOnly = false;
  ASSERT_NE(page.findPressedSprite(50, 50), nullptr);
  EXPECT_EQ(page.pressedSprite()->name, "under");
  page.findScene("upper")->visible = false;
  page.topSceneOnly = true;
  ASSERT_NE(page.findPressedSprite(50, 50), nullptr);  // hidden scenes are passed over
}

TEST_F(CanvasInput, RotatedStylusPositionsAreTurned) {
  RecordingCanvas& page = makePage();
  armStylus(page);
  page.setRotated(true);
  int w = page.backBuffer()->width();
  int h = page.backBuffer()->height();
  page.rotation = 1;
  tap(page, host::WM_LBUTTONUP, 30, 10);
  page.rotation = 2;
  tap(page, host::WM_LBUTTONUP, 30, 10);
  EXPECT_EQ(log[0], "stylus0:514@" + std::to_string(w - 10) + ",30");
  EXPECT_EQ(log[2], "stylus0:514@10," + std::to_string(h - 30));
}

}  // namespace
}  // namespace scene_test
