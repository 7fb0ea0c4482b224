// The key calibration dialog driven through a real page on the headless host: stylus taps on its
// buttons, hardware keys sent to the page's window, frames on the virtual clock. Covers the
// layout (with and without pictures, dark text), the four steps and their press rules, the
// summary, the mapping it builds and stores, and what the page gets back when it closes.
#include "media/KeyCalibration.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PageFixture.h"
#include "TestPictures.h"
#include "engine3d/soft/GapiDisplay.h"
#include "host/Screen.h"
#include "media/GuiCanvas.h"
#include "media/KeyMapping.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "media/SpriteCreators.h"
#include "platform/MessagePump.h"
#include "platform/Template.h"
#include "scene/TemplateFactory.h"
#include "support/ReferenceImage.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

constexpr uint32_t kMenuText = 0x282828;  // the main menu's rgb(40, 40, 40)
constexpr const char* kStepA =
    "[Step 1]\nClick hardware button A now. \n\n(note:do not hold the button, do not tap screen "
    "with stylus.)";
constexpr const char* kTryAgain = "Do not press and hold, try again.";

struct Outcome : CalibrationCallback {
  void calibrationDone(bool ok, const std::array<uint32_t, 4>& codes) override {
    calls.push_back({ok, codes});
  }
  struct Call {
    bool ok;
    std::array<uint32_t, 4> codes;
  };
  std::vector<Call> calls;
};

// The page's own listeners, to see that the dialog gives them back.
struct PageListener : platform::MouseListener, platform::KeyListener {
  void onMouse(platform::Window&, uint32_t, uintptr_t, int, int) override { ++mouse; }
  void onKey(platform::Window&, uint32_t, uint32_t) override { ++keys; }
  int mouse = 0;
  int keys = 0;
};

std::string bmp(int w, int h, std::function<uint32_t(int, int)> pixel) {
  BmpDescription d;
  d.width = w;
  d.height = h;
  std::vector<uint8_t> bytes = makeBmp(d, pixel);
  return std::string(bytes.begin(), bytes.end());
}

class KeyCalibrationTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    makePage("qvga");
  }
  void TearDown() override {
    dialog.reset();
    gapi.reset();
    main_.reset();
    PageTest::TearDown();
  }

  // A page of `profile`'s screen with a plain background, the Game API's input open as the
  // display layer opens it, and a dialog with the menu's colours (and pictures when asked).
  void makePage(const std::string& profile, bool pictures = false) {
    dialog.reset();
    gapi.reset();
    main_.reset();
    endRuntime();
    restart(profile);
    startRuntime();
    gui.write("back.properties", "scnBack=type:SceneSprite, bkgColor:(20;40;90)\n");
    gui.write("pad.bmp", bmp(230, 200, [](int x, int y) {
                return x < 2 || y < 2 || x > 227 || y > 197 ? 0xE07020u
                                                            : 0xD0D8E8u - 0x010101u * (y / 8);
              }));
    gui.write("big.bmp", bmp(40, 20, [](int x, int y) {
                return x == 0 || y == 0 || x == 39 || y == 19 ? 0x502000u : 0xE07020u;
              }));
    const host::DeviceProfile& p = host::Host::get().profile();
    main_ = std::make_unique<platform::Window>("Skirrow", 0, false);
    ASSERT_TRUE(main_->create(0, 0, p.screenWidth, p.screenHeight));
    platform::setScreenScaleFromWidth(main_->clientWidth());
    auto owned = std::make_unique<GuiCanvas>(runtime(), "gamePage", true);
    page = owned.get();
    ASSERT_TRUE(
        main_->addChild(std::move(owned), 0, 0, main_->clientWidth(), main_->clientHeight()));
    scene::TemplateFactory::loadTemplate(*page, gui.path() + "/", "back.properties", true);
    page->frameTimer().setMode(scene::FrameTimer::kClamp);
    page->frameTimer().setTargetFps(10);
    page->setMouseListener(&pageListener);
    page->setKeyListener(&pageListener);
    // A new page ignores the first stylus message it gets.
    stylus(host::WM_LBUTTONDOWN, 0, 0);
    stylus(host::WM_LBUTTONUP, 0, 0);
    pageListener = PageListener{};
    gapi = std::make_unique<engine3d::GapiDisplay>(host::Host::get().gapi());
    ASSERT_TRUE(gapi->openGapi(page->hwnd(), false, true));
    dialog = std::make_unique<KeyCalibration>(*page, kMenuText, gui.path() + "/",
                                              pictures ? "pad.bmp" : "", "",
                                              pictures ? "big.bmp" : "", &outcome);
  }

  void stylus(uint32_t message, int x, int y) {
    wm().sendMessage(page->hwnd(), message, message == host::WM_LBUTTONDOWN ? 1 : 0,
                     host::makeLParam(x, y));
  }
  void tap(const std::string& name) {
    Sprite* s = dialog->element(name);
    ASSERT_NE(s, nullptr) << name;
    ASSERT_TRUE(s->visible) << name;
    SceneSprite* scene = dialog->dialogScene();
    stylus(host::WM_LBUTTONDOWN, scene->x + s->x + 5, scene->y + s->y + 5);
    stylus(host::WM_LBUTTONUP, scene->x + s->x + 5, scene->y + s->y + 5);
  }
  void key(uint32_t message, uint32_t code) { wm().sendMessage(page->hwnd(), message, code, 0); }

  // Runs the pump on the virtual clock for `ms`, each frame taking 33 ms.
  void run(uint32_t ms) {
    const uint32_t end = host::tickCount() + ms;
    host::Message m;
    while (host::tickCount() < end) {
      while (wm().peekMessage(m, true)) wm().dispatchMessage(m);
      if (platform::IdleHandler* idle = platform::activeIdleHandler()) idle->onIdle(m, 0);
      host::sleepMs(33);
    }
  }
  // A hardware press: down, held `holdMs`, up, then `afterMs` of frames.
  void press(uint32_t down, uint32_t up, uint32_t holdMs = 100, uint32_t afterMs = 1000) {
    key(host::WM_KEYDOWN, down);
    run(holdMs);
    key(host::WM_KEYUP, up);
    run(afterMs);
  }
  std::string message() { return dialog->element("sptMessage_KEYCALIBRATION")->text(); }
  std::string codesText() { return dialog->element("sptCodes_KEYCALIBRATION")->text(); }

  host::RgbImage screen() {
    const host::DeviceProfile& p = host::Host::get().profile();
    return host::RgbImage{p.screenWidth, p.screenHeight, host::Host::get().screen().toRgb()};
  }

  testing_support::TempFolder gui;
  GuiCanvas* page = nullptr;
  PageListener pageListener;
  Outcome outcome;
  std::unique_ptr<engine3d::GapiDisplay> gapi;
  std::unique_ptr<KeyCalibration> dialog;
};

TEST_F(KeyCalibrationTest, ItOpensOnlyWhileTheGameApiInputIsOpen) {
  gapi->closeGapi();
  EXPECT_FALSE(dialog->openCalibration());
  EXPECT_FALSE(dialog->isCalibrationUp());
  EXPECT_EQ(page->findScene(KeyCalibration::kSceneName), nullptr);
  ASSERT_TRUE(gapi->openGapi(page->hwnd(), false, true));
  // The display layer made the application buttons the standard codes.
  EXPECT_EQ(gapi->keyA(), 193);
  EXPECT_EQ(gapi->keyStart(), 196);
  EXPECT_TRUE(dialog->openCalibration());
  EXPECT_TRUE(dialog->isCalibrationUp());
}

TEST_F(KeyCalibrationTest, PlainLayoutInvertsItsColoursForDarkText) {
  ASSERT_TRUE(dialog->openCalibration());
  SceneSprite* scene = dialog->dialogScene();
  ASSERT_NE(scene, nullptr);
  EXPECT_EQ(page->scenes().back().get(), scene);  // on top of the page
  EXPECT_EQ(scene->x, 5);
  EXPECT_EQ(scene->y, 60);
  EXPECT_EQ(scene->width, 230);
  EXPECT_EQ(scene->height, 200);
  EXPECT_EQ(scene->bkgColor, 0xC3C3C3);  // rgb(60, 60, 60) inverted
  Sprite* frame = dialog->element("sptFrame_KEYCALIBRATION");
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->frameColor, 0x000000u);  // white inverted
  Sprite* title = dialog->element("sptTitle_KEYCALIBRATION");
  EXPECT_EQ(title->text(), "Pocket PC Button Calibration");
  EXPECT_EQ(title->textWeight, 700);
  EXPECT_EQ(title->textColor, kMenuText);
  Sprite* ok = dialog->element("btnOk_KEYCALIBRATION");
  EXPECT_EQ(ok->x, 91);
  EXPECT_EQ(ok->y, 170);
  EXPECT_EQ(ok->width, 48);
  EXPECT_EQ(ok->color, 0xA5AFC3u);  // rgb(90, 80, 60) inverted
  EXPECT_EQ(ok->textColor, 0xD7D7D7u);
  EXPECT_EQ(ok->text(), "Start");
  EXPECT_EQ(dialog->element("btnCancel_KEYCALIBRATION")->text(), "Cancel");
  EXPECT_EQ(codesText(), "Pocket PC Hardware Buttons");
  EXPECT_EQ(message().substr(0, 26), "Certain Pocket PCs use non");
  // The device picture is off in the introduction.
  EXPECT_FALSE(dialog->element("sptLayout_KEYCALIBRATION")->visible);
  for (int i = 0; i < 9; ++i)
    EXPECT_FALSE(dialog->element("sptBtn" + std::to_string(i) + "_KEYCALIBRATION")->visible);
  EXPECT_TRUE(page->topSceneOnly);
  EXPECT_TRUE(page->isActive());  // frames run while the dialog is up
}

TEST_F(KeyCalibrationTest, WithPicturesThereIsNoFrameAndEverythingScalesOnVga) {
  makePage("vga", true);
  ASSERT_TRUE(dialog->openCalibration());
  SceneSprite* scene = dialog->dialogScene();
  EXPECT_EQ(scene->x, 10);
  EXPECT_EQ(scene->y, 120);
  EXPECT_EQ(scene->width, 460);
  EXPECT_NE(scene->bkgTexture, nullptr);
  EXPECT_EQ(dialog->element("sptFrame_KEYCALIBRATION"), nullptr);
  Sprite* ok = dialog->element("btnOk_KEYCALIBRATION");
  EXPECT_EQ(ok->x, 182);
  EXPECT_EQ(ok->y, 340);
  EXPECT_EQ(ok->width, 96);
  EXPECT_EQ(ok->height, 44);
  EXPECT_NE(ok->normalImage, nullptr);
  Sprite* c = dialog->element("sptBtn2_KEYCALIBRATION");
  EXPECT_EQ(c->x, 320);
  EXPECT_EQ(c->text(), "C");
}

TEST_F(KeyCalibrationTest, FourPressesGiveTheSummaryAndTheMapping) {
  ASSERT_TRUE(dialog->openCalibration());
  tap("btnOk_KEYCALIBRATION");
  EXPECT_EQ(dialog->step(), 1);
  EXPECT_EQ(message(), kStepA);
  EXPECT_FALSE(dialog->element("btnOk_KEYCALIBRATION")->visible);
  EXPECT_TRUE(dialog->element("sptLayout_KEYCALIBRATION")->visible);
  EXPECT_EQ(dialog->element("sptBtn0_KEYCALIBRATION")->color, 0x808080u);  // highlighted
  press(193, 193);
  EXPECT_EQ(dialog->step(), 2);
  EXPECT_EQ(codesText(), "Key Down/Up: 193/193");
  Sprite* a = dialog->element("sptBtn0_KEYCALIBRATION");
  EXPECT_EQ(a->textColor, 0x808080u);  // greyed once done
  EXPECT_EQ(a->color, 0x323232u);
  press(194, 194);
  press(200, 200);
  press(201, 202);
  EXPECT_TRUE(dialog->complete());
  EXPECT_EQ(dialog->step(), 4);
  EXPECT_EQ(message(),
            "\nCongratulations! The button calibration procedure is finished and all key codes "
            "have been retrieved:\n"
            "     button A code: 193 / 193\n"
            "     button B code: 194 / 194\n"
            "     button C code: 200 / 200\n"
            "     button D code: 201 / 202\n");
  EXPECT_EQ(dialog->element("btnOk_KEYCALIBRATION")->text(), "Ok");
  EXPECT_TRUE(dialog->element("btnOk_KEYCALIBRATION")->visible);
  EXPECT_FALSE(dialog->element("btnCancel_KEYCALIBRATION")->visible);
  EXPECT_EQ(dialog->codes(), (std::array<uint32_t, 4>{193u << 16 | 193, 194u << 16 | 194,
                                                      200u << 16 | 200, 201u << 16 | 202}));
  EXPECT_EQ(dialog->buildMapping(), (std::vector<KeyPair>{{200, 195}, {201, 196}, {202, 196}}));
  gui.write("gsetting.properties", "# settings\nsoundEffect=selected:0\n");
  ASSERT_TRUE(dialog->saveMapping(gui.path() + "/", "gsetting.properties"));
  EXPECT_EQ(testing_support::readFile(gui / "gsetting.properties"),
            "# settings\nsoundEffect=selected:0\nPocketPCKeyMapping=200:195,201:196,202:196\n");

  tap("btnOk_KEYCALIBRATION");
  ASSERT_EQ(outcome.calls.size(), 1u);
  EXPECT_TRUE(outcome.calls[0].ok);
  EXPECT_EQ(outcome.calls[0].codes, dialog->codes());
  EXPECT_FALSE(dialog->isCalibrationUp());
}

TEST_F(KeyCalibrationTest, ClosingGivesThePageBackWhatItHad) {
  page->topSceneOnly = false;
  ASSERT_FALSE(page->isActive());
  ASSERT_TRUE(dialog->openCalibration());
  EXPECT_EQ(page->mouseListener(), dialog.get());
  EXPECT_EQ(page->keyListener(), dialog.get());
  key(host::WM_KEYDOWN, 'X');
  key(host::WM_KEYUP, 'X');
  EXPECT_EQ(pageListener.keys, 0);  // the dialog takes the keys while open
  tap("btnCancel_KEYCALIBRATION");
  ASSERT_EQ(outcome.calls.size(), 1u);
  EXPECT_FALSE(outcome.calls[0].ok);
  EXPECT_FALSE(dialog->isCalibrationUp());
  EXPECT_FALSE(page->topSceneOnly);
  EXPECT_FALSE(page->isActive());
  EXPECT_EQ(page->mouseListener(), &pageListener);
  EXPECT_EQ(page->keyListener(), &pageListener);
  // No more frame checks: a key now held for long cancels nothing a second time.
  key(host::WM_KEYDOWN, 200);
  EXPECT_EQ(pageListener.keys, 1);
  page->setActive(true);
  run(4000);
  EXPECT_EQ(outcome.calls.size(), 1u);
  page->setActive(false);
}

TEST_F(KeyCalibrationTest, APressHeldTooLongRepeatsTheStepAfterTheSettleTime) {
  ASSERT_TRUE(dialog->openCalibration());
  tap("btnOk_KEYCALIBRATION");
  key(host::WM_KEYDOWN, 193);
  run(1500);
  key(host::WM_KEYUP, 193);
  run(850);
  EXPECT_EQ(message(), kStepA);  // still waiting out the 0.9 s
  run(150);
  EXPECT_EQ(message(), kTryAgain);
  EXPECT_EQ(dialog->step(), 1);
  EXPECT_TRUE(dialog->isCalibrationUp());
  // The same step waits again and takes a proper press.
  press(193, 193);
  EXPECT_EQ(dialog->step(), 2);
}

TEST_F(KeyCalibrationTest, CodesBelowSixtyFiveRepeatTheStep) {
  ASSERT_TRUE(dialog->openCalibration());
  tap("btnOk_KEYCALIBRATION");
  press(193, 13);
  EXPECT_EQ(message(), kTryAgain);
  EXPECT_EQ(dialog->step(), 1);
  press(64, 193);
  EXPECT_EQ(dialog->step(), 1);
  press(65, 65);
  EXPECT_EQ(dialog->step(), 2);
}

TEST_F(KeyCalibrationTest, AButtonHeldOverThreeSecondsCancelsWhileStillDown) {
  ASSERT_TRUE(dialog->openCalibration());
  tap("btnOk_KEYCALIBRATION");
  press(193, 193);
  key(host::WM_KEYDOWN, 194);
  run(2900);
  EXPECT_TRUE(dialog->isCalibrationUp());
  run(200);
  EXPECT_FALSE(dialog->isCalibrationUp());
  ASSERT_EQ(outcome.calls.size(), 1u);
  EXPECT_FALSE(outcome.calls[0].ok);
  EXPECT_EQ(page->keyListener(), &pageListener);
  EXPECT_TRUE(dialog->buildMapping().empty());  // not completed
  key(host::WM_KEYUP, 194);
  EXPECT_EQ(outcome.calls.size(), 1u);
}

TEST_F(KeyCalibrationTest, RepeatsOverwriteTheDownCodeAndLateKeysAreIgnored) {
  ASSERT_TRUE(dialog->openCalibration());
  tap("btnOk_KEYCALIBRATION");
  key(host::WM_KEYDOWN, KeyCalibration::kIgnoredKey);
  run(3500);  // an ignored key starts no press, so nothing is timed
  EXPECT_TRUE(dialog->isCalibrationUp());
  key(host::WM_KEYUP, KeyCalibration::kIgnoredKey);
  EXPECT_EQ(codesText(), "Pocket PC Hardware Buttons");
  // An up whose down came before this step is not a press.
  key(host::WM_KEYUP, 70);
  run(1000);
  EXPECT_EQ(dialog->step(), 1);
  key(host::WM_KEYDOWN, 200);
  Sprite* codes = dialog->element("sptCodes_KEYCALIBRATION");
  EXPECT_EQ(codes->status, 1);  // each down flips the feedback
  key(host::WM_KEYDOWN, 205);
  EXPECT_EQ(codes->status, 0);
  key(host::WM_KEYUP, 206);
  EXPECT_EQ(codes->status, 0);
  key(host::WM_KEYDOWN, 207);  // after the up: ignored
  key(host::WM_KEYUP, 208);
  EXPECT_EQ(dialog->downCode(0), 205u);
  EXPECT_EQ(dialog->upCode(0), 206u);
  EXPECT_EQ(codesText(), "Key Down/Up: 205/206");
  run(1000);
  EXPECT_EQ(dialog->step(), 2);
}

TEST_F(KeyCalibrationTest, OpeningAgainAfterACancelStartsFromTheIntroduction) {
  ASSERT_TRUE(dialog->openCalibration());
  tap("btnOk_KEYCALIBRATION");
  press(193, 193);
  tap("btnCancel_KEYCALIBRATION");
  ASSERT_TRUE(dialog->openCalibration());
  EXPECT_EQ(dialog->step(), 0);
  EXPECT_EQ(dialog->element("btnOk_KEYCALIBRATION")->text(), "Start");
  EXPECT_TRUE(dialog->element("btnOk_KEYCALIBRATION")->visible);
  EXPECT_EQ(dialog->downCode(0), 0u);
  tap("btnOk_KEYCALIBRATION");
  EXPECT_EQ(message(), kStepA);
}

TEST_F(KeyCalibrationTest, ASameCodeDeviceStoresAnEmptyMapping) {
  ASSERT_TRUE(dialog->openCalibration());
  tap("btnOk_KEYCALIBRATION");
  for (uint32_t code = 193; code <= 196; ++code) press(code, code);
  ASSERT_TRUE(dialog->complete());
  EXPECT_TRUE(dialog->buildMapping().empty());
  ASSERT_TRUE(dialog->saveMapping(gui.path() + "/", "gsetting.properties"));
  EXPECT_TRUE(hasMapping(gui.path() + "/", "gsetting.properties"));
  EXPECT_EQ(loadMapping(gui.path() + "/", "gsetting.properties"), nullptr);
}

TEST_F(KeyCalibrationTest, DestroyingAnOpenDialogRestoresThePage) {
  ASSERT_TRUE(dialog->openCalibration());
  dialog.reset();
  EXPECT_EQ(page->mouseListener(), &pageListener);
  EXPECT_EQ(page->keyListener(), &pageListener);
  EXPECT_FALSE(page->isActive());
  run(100);  // no frame calls the destroyed dialog
  EXPECT_TRUE(outcome.calls.empty());
}

// The introduction and the first step as the screen shows them: plain at 240 x 320, with the
// pictures at 480 x 640. Text is anti-aliased: up to 0.5 % of the pixels may differ by more
// than 8 per channel.
TEST_F(KeyCalibrationTest, ScreensMatchTheirReferences) {
  struct Case {
    const char* profile;
    bool pictures;
    const char* name;
  };
  for (const Case& c : {Case{"qvga", false, "240"}, Case{"vga", true, "480"}}) {
    makePage(c.profile, c.pictures);
    ASSERT_TRUE(dialog->openCalibration());
    run(40);
    EXPECT_TRUE(testing_support::matchesReferenceFile(
        screen(),
        testing_support::referenceFile(std::string("media/keycalibration_intro_") + c.name), 8,
        0.005));
    tap("btnOk_KEYCALIBRATION");
    press(193, 193);
    key(host::WM_KEYDOWN, 194);
    run(40);
    EXPECT_TRUE(testing_support::matchesReferenceFile(
        screen(),
        testing_support::referenceFile(std::string("media/keycalibration_step_") + c.name), 8,
        0.005));
    key(host::WM_KEYUP, 194);
  }
}

}  // namespace
}  // namespace media::testing
