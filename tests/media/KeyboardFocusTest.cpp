// Menus from the keyboard and a gamepad: the focus order, its moves, taps by keys, the back
// link, the frame it draws, and what turns it off.
#include "media/KeyboardFocus.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PageFixture.h"
#include "host/Keys.h"
#include "media/GuiCanvas.h"
#include "media/Sprite.h"
#include "media/SpriteCreators.h"
#include "platform/ProcessSwitches.h"
#include "scene/TemplateFactory.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

// A screen of rows, as a menu lays them out (positions in page pixels; the scene starts at 0, 10
// so that scene offsets count):
//   row 1:  btnA (10..60)            btnB (100..150)           lnkC (180..230)
//   row 2:  chkD (10..100, a little lower than btnE)           btnE (165..235)
//   row 3:  btnF (70..170)
// with a plain text sprite (not a control), a hidden button and a button lying completely under
// another (never reachable by a tap) beside them.
constexpr const char* kScreen =
    "scn=type:SceneSprite, x:0, y:10, width:240, height:300, bkgColor:(20;20;40)\n"
    "txtTitle=type:Sprite, container:scn, x:0, y:0, width:240, height:20, text:Title\n"
    "lnkC=type:Sprite, container:scn, x:180, y:30, width:50, height:20, GUIType:hyperlink, "
    "href:next.properties, color:(0;0;200)\n"
    "btnB=type:Sprite, container:scn, x:100, y:30, width:50, height:20, GUIType:button, "
    "color:(0;200;0), brightColor:(200;255;200)\n"
    "btnA=type:Sprite, container:scn, x:10, y:32, width:50, height:20, GUIType:button, "
    "color:(200;0;0)\n"
    "btnE=type:Sprite, container:scn, x:165, y:80, width:70, height:20, GUIType:button, "
    "color:(200;200;0)\n"
    "chkD=type:Sprite, container:scn, x:10, y:84, width:90, height:18, GUIType:checkbox, "
    "color:(90;90;90), brightColor:(250;250;250)\n"
    "btnF=type:Sprite, container:scn, x:70, y:140, width:100, height:24, GUIType:button, "
    "color:(0;200;200)\n"
    "btnHidden=type:Sprite, container:scn, x:10, y:200, width:50, height:20, GUIType:button, "
    "visible:0\n"
    "btnUnder=type:Sprite, container:scn, x:100, y:200, width:40, height:20, GUIType:button\n"
    "btnOver=type:Sprite, container:scn, x:95, y:195, width:50, height:30, GUIType:button, "
    "color:(120;0;120)\n";

class Focus : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    folder.write("screen.properties", kScreen);
    folder.write("next.properties",
                 "scn=type:SceneSprite, bkgColor:(0;0;0)\n"
                 "btnA=type:Sprite, container:scn, x:10, y:10, width:40, height:20, "
                 "GUIType:button\n"
                 "lnkBack=type:Sprite, container:scn, x:100, y:10, width:40, height:20, "
                 "GUIType:hyperlink, href:screen.properties\n");
    page = &makePageOf<GuiCanvas>(runtime(), "gamePage", true);
    load("screen.properties");
  }
  void TearDown() override {
    PageTest::TearDown();
  }

  void load(const std::string& name) {
    scene::TemplateFactory::loadTemplate(*page, folder.path() + "/", name, true);
  }
  void key(uint32_t code) {
    wm().sendMessage(page->hwnd(), host::WM_KEYDOWN, code, 0);
    wm().sendMessage(page->hwnd(), host::WM_KEYUP, code, 0);
  }
  std::vector<std::string> order() {
    std::vector<std::string> names;
    for (const auto& t : page->keyboardFocus()->targets()) names.push_back(t.name);
    return names;
  }
  std::string focused() { return page->keyboardFocus()->focused(); }
  Sprite* sprite(const std::string& name) { return dynamic_cast<Sprite*>(page->findObject(name)); }

  testing_support::TempFolder folder;
  GuiCanvas* page = nullptr;
};

TEST_F(Focus, OffUnlessThePageTurnsItOn) {
  EXPECT_EQ(page->keyboardFocus(), nullptr);
  key(host::VK_RIGHT);
  key(host::VK_RETURN);  // would tap btnA if the navigation were on
  key(host::VK_ESCAPE);
  EXPECT_EQ(sprite("btnA")->status, 0);
  EXPECT_EQ(page->pressedSprite(), nullptr);
  EXPECT_EQ(page->templateName(), "screen.properties");
  page->setKeyboardNavigation(true);
  ASSERT_NE(page->keyboardFocus(), nullptr);
  page->setKeyboardNavigation(false);
  EXPECT_EQ(page->keyboardFocus(), nullptr);
  key(host::VK_RETURN);
  EXPECT_EQ(page->pressedSprite(), nullptr);
}

TEST_F(Focus, ControlsComeInReadingOrderAndOnlyThoseATapReaches) {
  page->setKeyboardNavigation(true);
  // btnA lies 2 pixels lower than btnB but in the same row; chkD lower than btnE, same row.
  // Hidden, plain and covered sprites take no part; the covering one does.
  EXPECT_EQ(order(),
            (std::vector<std::string>{"btnA", "btnB", "lnkC", "chkD", "btnE", "btnF", "btnOver"}));
  // A control partly under another is tapped where it shows: btnF moved over btnE's centre.
  sprite("btnF")->x = 170;
  sprite("btnF")->y = 80;
  sprite("btnF")->width = 40;
  sprite("btnF")->height = 20;
  bool seen = false;
  for (const auto& t : page->keyboardFocus()->targets())
    if (t.name == "btnE") {
      seen = true;
      EXPECT_TRUE(t.rect.contains(t.tap.x, t.tap.y));
      EXPECT_FALSE(t.tap.x >= 170 && t.tap.x <= 210) << t.tap.x;
      EXPECT_EQ(page->findPressedSprite(t.tap.x, t.tap.y), sprite("btnE"));
    }
  EXPECT_TRUE(seen);
}

TEST_F(Focus, TheFirstKeyShowsTheFocusThenArrowsMoveItAndWrap) {
  page->setKeyboardNavigation(true);
  KeyboardFocus& focus = *page->keyboardFocus();
  EXPECT_FALSE(focus.shown());
  key(host::VK_RIGHT);  // shows the first control, does not move yet
  EXPECT_TRUE(focus.shown());
  EXPECT_EQ(focused(), "btnA");
  key(host::VK_RIGHT);
  EXPECT_EQ(focused(), "btnB");
  key(host::VK_LEFT);
  key(host::VK_LEFT);  // wraps to the last
  EXPECT_EQ(focused(), "btnOver");
  key(host::VK_RIGHT);
  EXPECT_EQ(focused(), "btnA");
  // Down: the nearest control by centre in the next row; from the last row back to the first.
  key(host::VK_RIGHT);  // btnB, centre x 125
  key(host::VK_DOWN);   // chkD centre 55, btnE centre 200: chkD is nearer
  EXPECT_EQ(focused(), "chkD");
  key(host::VK_DOWN);
  EXPECT_EQ(focused(), "btnF");
  key(host::VK_DOWN);
  EXPECT_EQ(focused(), "btnOver");
  key(host::VK_DOWN);  // wraps to the first row: btnB (centre 125) is nearest to 120
  EXPECT_EQ(focused(), "btnB");
  key(host::VK_UP);
  EXPECT_EQ(focused(), "btnOver");
  key(host::VK_UP);
  key(host::VK_UP);
  EXPECT_EQ(focused(), "chkD");
}

TEST_F(Focus, EnterTapsTheFocusedControlWhileHeld) {
  page->setKeyboardNavigation(true);
  key(host::VK_RIGHT);
  key(host::VK_RIGHT);  // btnB
  wm().sendMessage(page->hwnd(), host::WM_KEYDOWN, host::VK_RETURN, 0);
  EXPECT_EQ(sprite("btnB")->status, 1);  // pressed while the key is held
  EXPECT_EQ(page->pressedSprite(), sprite("btnB"));
  // The key repeats while held: still one tap.
  wm().sendMessage(page->hwnd(), host::WM_KEYDOWN, host::VK_RETURN, 0);
  wm().sendMessage(page->hwnd(), host::WM_KEYUP, host::VK_RETURN, 0);
  EXPECT_EQ(sprite("btnB")->status, 0);
  // A check box toggles with Space as with a tap; gamepad A (application button A) too.
  key(host::VK_DOWN);  // chkD
  ASSERT_EQ(focused(), "chkD");
  key(host::VK_SPACE);
  EXPECT_EQ(sprite("chkD")->status, 1);
  key(host::VK_APP1);
  EXPECT_EQ(sprite("chkD")->status, 0);
  // Enter on a link opens its screen; its first control takes the focus.
  key(host::VK_UP);  // btnA, the nearest above chkD
  key(host::VK_RIGHT);
  key(host::VK_RIGHT);  // lnkC
  ASSERT_EQ(focused(), "lnkC");
  key(host::VK_RETURN);
  EXPECT_EQ(page->templateName(), "next.properties");
  EXPECT_EQ(order(), (std::vector<std::string>{"btnA", "lnkBack"}));
  page->refresh();
  EXPECT_EQ(focused(), "btnA");
}

TEST_F(Focus, EscapeAndGamepadBFollowTheBackLink) {
  page->setKeyboardNavigation(true);
  // This screen has no back link: nothing happens.
  key(host::VK_ESCAPE);
  EXPECT_EQ(page->templateName(), "screen.properties");
  load("next.properties");
  key(host::VK_ESCAPE);  // lnkBack
  EXPECT_EQ(page->templateName(), "screen.properties");
  // A screen names its back link in its template.
  folder.write("named.properties",
               "scn=type:SceneSprite\n"
               "lnkDone=type:Sprite, container:scn, x:10, y:10, width:40, height:20, "
               "GUIType:hyperlink, href:next.properties\n"
               "backLink=lnkDone\n");
  load("named.properties");
  key(host::VK_APP2);
  EXPECT_EQ(page->templateName(), "next.properties");
}

TEST_F(Focus, AMessageBoxKeepsTheFocusToItsButtons) {
  page->setKeyboardNavigation(true);
  // A scene over the screen, as the message box is: only its controls are reached.
  folder.write("box.properties",
               "sceneBox=type:SceneSprite, x:20, y:100, width:200, height:80, bkgColor:(0;0;80)\n"
               "btnYes=type:Sprite, container:sceneBox, x:10, y:40, width:60, height:30, "
               "GUIType:button\n"
               "btnNo=type:Sprite, container:sceneBox, x:130, y:40, width:60, height:30, "
               "GUIType:button\n");
  scene::TemplateFactory::loadTemplate(*page, folder.path() + "/", "box.properties", false);
  EXPECT_EQ(order(), (std::vector<std::string>{"btnYes", "btnNo"}));
  page->topSceneOnly = false;
  EXPECT_EQ(order().size(), 9u);
}

TEST_F(Focus, TheStylusHidesTheFocusAndADialogTakesTheKeys) {
  page->setKeyboardNavigation(true);
  KeyboardFocus& focus = *page->keyboardFocus();
  key(host::VK_RIGHT);
  key(host::VK_RIGHT);
  ASSERT_TRUE(focus.shown());
  // The focus's own taps leave it shown; a person's tap hides it.
  key(host::VK_RETURN);
  EXPECT_TRUE(focus.shown());
  wm().sendMessage(page->hwnd(), host::WM_LBUTTONDOWN, 1, host::makeLParam(35, 50));
  wm().sendMessage(page->hwnd(), host::WM_LBUTTONUP, 0, host::makeLParam(35, 50));
  EXPECT_FALSE(focus.shown());
  key(host::VK_RIGHT);  // shows again where it was
  EXPECT_EQ(focused(), "btnB");

  // A dialog that takes the page's keys takes them all: the focus keeps still.
  struct Dialog : platform::KeyListener {
    void onKey(platform::Window&, uint32_t, uint32_t) override { ++keys; }
    int keys = 0;
  } dialog;
  page->setKeyListener(&dialog);
  key(host::VK_RIGHT);
  key(host::VK_RETURN);
  EXPECT_EQ(focused(), "btnB");
  EXPECT_EQ(sprite("btnB")->status, 0);
  EXPECT_EQ(dialog.keys, 4);
  page->setKeyListener(nullptr);
  key(host::VK_RIGHT);
  EXPECT_EQ(focused(), "lnkC");
}

TEST_F(Focus, TheFrameIsDrawnAroundTheFocusedControlOnlyOnceAKeyWasUsed) {
  page->setKeyboardNavigation(true);
  const platform::BackBuffer& buffer = *page->backBuffer();
  auto at = [&](int x, int y) {
    return reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(buffer.pixels()) +
                                             y * buffer.pitch())[x];
  };
  const uint16_t frame = 0xFE45;  // (255, 200, 40) in 5-6-5
  // btnB covers (100..150, 40..60) on the page; its frame the 2 pixels around it.
  page->refresh();
  EXPECT_NE(at(99, 50), frame);
  key(host::VK_RIGHT);
  key(host::VK_RIGHT);
  page->refresh();
  for (auto [x, y] : {std::pair{98, 38}, {99, 50}, {150, 50}, {151, 59}, {125, 38}, {125, 61}})
    EXPECT_EQ(at(x, y), frame) << x << "," << y;
  EXPECT_NE(at(125, 50), frame);  // the control itself is left as it is drawn
  EXPECT_NE(at(97, 50), frame);
  EXPECT_NE(at(152, 50), frame);
}

}  // namespace
}  // namespace media::testing
