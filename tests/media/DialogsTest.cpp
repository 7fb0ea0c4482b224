// The page's message box (kinds, context, sliding, the closed flag, one load per page) and its
// on-screen keyboard (layouts, Caps, the length limit, forbidden characters, hardware keys, the
// answer delivered as a stylus release on the edit box), driven through the page's window as
// the stylus and keys reach it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PageFixture.h"
#include "TestPictures.h"
#include "host/Keys.h"
#include "host/Screen.h"
#include "media/GuiCanvas.h"
#include "media/InputPadDialog.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "platform/ProcessSwitches.h"
#include "scene/TemplateFactory.h"
#include "support/ReferenceImage.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

// A page that counts its drawing passes and the templates it loaded.
class CountingPage : public GuiCanvas {
 public:
  explicit CountingPage(Runtime& runtime) : GuiCanvas(runtime, "gamePage", true) {}
  void drawScenes() override {
    ++draws;
    GuiCanvas::drawScenes();
  }
  void afterLoad() override { ++loads; }
  int draws = 0;
  int loads = 0;
};

// The page's own stylus handler: records the releases it hears.
struct AnswerListener : platform::MouseListener {
  explicit AnswerListener(scene::Canvas& page) : page(page) {}
  void onMouse(platform::Window&, uint32_t message, uintptr_t flags, int x, int y) override {
    if (message != host::WM_LBUTTONUP) return;
    scene::SceneObject* pressed = page.pressedSprite();
    answers.push_back((pressed ? pressed->name : std::string("-")) + ":" + std::to_string(flags) +
                      "@" + std::to_string(x) + "," + std::to_string(y));
  }
  scene::Canvas& page;
  std::vector<std::string> answers;
};

class Dialogs : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    gui.write("msgGrid.bmp", solidBmpFile(200, 60, 0x808080));
    gui.write("msgGrid_smp.bmp", solidBmpFile(100, 30, 0x808080));
    gui.write("messagebox.properties",
              "sceneMessageBox=type:SceneSprite, x:20, y:100, width:200, height:120, "
              "bkgColor:(0;0;80), visible:0\n"
              "sptMessage=type:Sprite, container:sceneMessageBox, x:0, y:0, "
              "texture:{MSG_GRID_PIC}, textColor:(255;255;255), textSize:16\n"
              "sptMessageContext=type:Sprite, container:sceneMessageBox, visible:0, width:1, "
              "height:1\n"
              "btnOk=type:Sprite, container:sceneMessageBox, x:70, y:80, width:60, height:30, "
              "GUIType:button, color:(0;128;0)\n"
              "btnYes=type:Sprite, container:sceneMessageBox, x:10, y:80, width:60, height:30, "
              "GUIType:button, color:(0;128;0)\n"
              "btnNo=type:Sprite, container:sceneMessageBox, x:130, y:80, width:60, height:30, "
              "GUIType:button, color:(128;0;0)\n");
    gui.write("page.properties",
              "scn=type:SceneSprite, bkgColor:(30;30;30)\n"
              "edtName=type:Sprite, container:scn, x:20, y:10, width:100, height:20, "
              "GUIType:editbox, maxLength:50, title:Name, text:Bob\n"
              "edtStrict=type:Sprite, container:scn, x:20, y:290, width:100, height:20, "
              "GUIType:editbox, maxLength:8, allowEmpty:0\n");
    platform::setGuiFolder(gui.path() + "/");
    page = &makePageOf<CountingPage>(runtime());
    scene::TemplateFactory::loadTemplate(*page, gui.path() + "/", "page.properties", true);
    listener = std::make_unique<AnswerListener>(*page);
    page->setMouseListener(listener.get());
  }
  void TearDown() override {
    platform::setGuiFolder("");
    PageTest::TearDown();
  }

  void send(uint32_t message, int x, int y) {
    wm().sendMessage(page->hwnd(), message, message == host::WM_LBUTTONDOWN ? 1 : 0,
                     host::makeLParam(x, y));
  }
  void tap(int x, int y) {
    send(host::WM_LBUTTONDOWN, x, y);
    send(host::WM_LBUTTONUP, x, y);
  }
  void key(uint32_t message, uint32_t code) { wm().sendMessage(page->hwnd(), message, code, 0); }
  Sprite* sprite(const std::string& name) { return dynamic_cast<Sprite*>(page->findObject(name)); }

  // Centre of character key (row 1..4, column 0..9) on the page.
  std::pair<int, int> keyCentre(int row, int column) {
    Sprite* k = pad()->characterKey((row - 1) * 10 + column);
    SceneSprite* scene = pad()->padScene();
    return {scene->x + k->x + k->width / 2, scene->y + k->y + k->height / 2};
  }
  void tapKey(int row, int column) {
    auto [x, y] = keyCentre(row, column);
    tap(x, y);
  }
  void tapCommand(const std::string& name) {
    Sprite* k = sprite(name);
    SceneSprite* scene = pad()->padScene();
    tap(scene->x + k->x + 5, scene->y + k->y + 5);
  }
  InputPadDialog* pad() { return dynamic_cast<InputPadDialog*>(page->inputPad()); }
  void openPad(const std::string& box) {
    page->enableInputPad(0xFFFFFF, gui.path() + "/", "", "", "");
    Sprite* s = sprite(box);
    tap(s->x + 5, s->y + 5);
  }

  testing_support::TempFolder gui;
  CountingPage* page = nullptr;
  std::unique_ptr<AnswerListener> listener;
};

TEST_F(Dialogs, MessageBoxKindsShowTheirButtons) {
  EXPECT_FALSE(page->isMessageBoxUp());
  EXPECT_FALSE(page->messageBoxContext());
  page->showMessageBox("Retry this battle?", "RETRY", GuiCanvas::kMessageYesNo, false);
  EXPECT_TRUE(page->isMessageBoxUp());
  EXPECT_EQ(page->messageBoxContext().value_or(""), "RETRY");
  EXPECT_FALSE(sprite("btnOk")->visible);
  EXPECT_TRUE(sprite("btnYes")->visible);
  EXPECT_TRUE(sprite("btnNo")->visible);
  EXPECT_FALSE(page->messageBoxClosed());
  page->hideMessageBox(false);
  EXPECT_FALSE(page->isMessageBoxUp());
  EXPECT_TRUE(page->messageBoxClosed());

  page->showMessageBox("Team is not ready !", "TEAM_NOT_READY", GuiCanvas::kMessageOk, false);
  EXPECT_TRUE(sprite("btnOk")->visible);
  EXPECT_FALSE(sprite("btnYes")->visible);
  EXPECT_FALSE(page->messageBoxClosed());
  page->showMessageBox("Loading ...", "LOADING", GuiCanvas::kMessageInfo, false);
  EXPECT_FALSE(sprite("btnOk")->visible || sprite("btnYes")->visible || sprite("btnNo")->visible);
  // The box template was merged in once; the page keeps its own file.
  EXPECT_EQ(page->loads, 2);
  EXPECT_EQ(page->templateName(), "page.properties");
}

TEST_F(Dialogs, TheMessageIsDrawnIntoTheGridPictureForTheDisplaySize) {
  page->showMessageBox("Quit Game Now ?", "QUIT", GuiCanvas::kMessageYesNo, false);
  Sprite* message = sprite("sptMessage");
  ASSERT_NE(message->normalImage, nullptr);
  const Surface* picture = message->normalImage->currentSurface();
  EXPECT_EQ(picture->width(), 200);  // msgGrid.bmp at scale 1
  // Grey (45, 45, 45) where no glyph is, white text somewhere in the middle rows (colours as
  // the picture's own pixel format stores them).
  auto stored = [&](uint32_t rgb) {
    auto probe = Surface::create(1, 1, picture->layout(), false);
    probe->setPixel(0, 0, rgb);
    return probe->getPixel(0, 0);
  };
  EXPECT_EQ(picture->getPixel(1, 1), stored(0x2D2D2D));
  bool text = false;
  for (int y = 0; y < 30 && !text; ++y)
    for (int x = 0; x < 200 && !text; ++x) text = picture->getPixel(x, y) == stored(0xFFFFFF);
  EXPECT_TRUE(text);
}

TEST_F(Dialogs, SlidingRedrawsTheWholePageEightTimesEachWay) {
  page->setActive(true);  // an active page is redrawn by its frames, not at once
  page->draws = 0;
  page->showMessageBox("Retry this battle?", "RETRY", GuiCanvas::kMessageYesNo, true);
  EXPECT_EQ(page->draws, 8);
  EXPECT_EQ(page->findScene("sceneMessageBox")->y, 100);
  page->draws = 0;
  page->hideMessageBox(true);
  EXPECT_EQ(page->draws, 8);
  EXPECT_EQ(page->findScene("sceneMessageBox")->y, 100);
  page->setActive(false);
}

TEST_F(Dialogs, AnswersArriveAsReleasesOnTheButtons) {
  page->showMessageBox("Retry this battle?", "RETRY", GuiCanvas::kMessageYesNo, false);
  tap(20 + 10 + 5, 100 + 80 + 5);  // btnYes
  ASSERT_FALSE(listener->answers.empty());
  EXPECT_EQ(listener->answers.back().substr(0, 7), "btnYes:");
}

TEST_F(Dialogs, TheEditBoxOpensThePadLimitedToTwentyCharacters) {
  openPad("edtName");
  ASSERT_NE(pad(), nullptr);
  ASSERT_TRUE(pad()->isOpen());
  EXPECT_EQ(pad()->maxLength(), 20);  // 50 asked for
  EXPECT_EQ(pad()->buffer(), "Bob");
  EXPECT_EQ(sprite("sptMessage_MSGBOX")->text(), "Name");
  EXPECT_TRUE(page->topSceneOnly);
  for (int i = 0; i < 25; ++i) tapKey(2, 0);  // 'q'
  EXPECT_EQ(pad()->buffer(), "Bobqqqqqqqqqqqqqqqqq");
  tapCommand("btnDel_MSGBOX");
  EXPECT_EQ(pad()->buffer().size(), 19u);
  tapCommand("btnClear_MSGBOX");
  EXPECT_EQ(pad()->buffer(), "");
  EXPECT_EQ(sprite("btnEditbox_MSGBOX")->text(), "");
}

TEST_F(Dialogs, CapsSwitchesLayoutsAndForbiddenCharactersAreNotTyped) {
  openPad("edtName");
  tapCommand("btnClear_MSGBOX");
  tapKey(1, 0);
  EXPECT_EQ(pad()->buffer(), "1");
  tapCommand("btnCaps_MSGBOX");
  EXPECT_TRUE(pad()->caps());
  EXPECT_EQ(sprite("btnCaps_MSGBOX")->text(), "CAPS");
  EXPECT_EQ(pad()->characterKey(0)->text(), "!");
  tapKey(1, 0);  // "!" is forbidden
  tapKey(2, 0);
  tapKey(4, 8);  // "+" is forbidden too
  tapKey(4, 7);  // "_"
  EXPECT_EQ(pad()->buffer(), "1Q_");
  tapCommand("btnCaps_MSGBOX");
  EXPECT_FALSE(pad()->caps());
  EXPECT_EQ(sprite("btnCaps_MSGBOX")->text(), "Caps");
  EXPECT_EQ(pad()->characterKey(10)->text(), "q");
}

TEST_F(Dialogs, HardwareKeysPressTheOnScreenKeyOnce) {
  openPad("edtName");
  tapCommand("btnClear_MSGBOX");
  key(host::WM_KEYDOWN, 'A');
  drain();
  // While held the key sits one pixel down and right of its place.
  Sprite* a = pad()->characterKey(20);
  EXPECT_EQ(a->x, static_cast<int>(a->homePosition >> 16) + 1);
  key(host::WM_KEYDOWN, 'A');  // auto-repeat
  drain();
  key(host::WM_KEYUP, 'A');
  drain();
  EXPECT_EQ(a->x, static_cast<int>(a->homePosition >> 16));
  EXPECT_EQ(pad()->buffer(), "a");  // the key's current label
  key(host::WM_KEYDOWN, host::VK_BACK);
  EXPECT_EQ(pad()->buffer(), "");
}

TEST_F(Dialogs, OkHandsTheTextToTheEditBoxAndTellsThePage) {
  openPad("edtName");
  tapKey(3, 0);
  tapCommand("btnOk_MSGBOX");
  EXPECT_FALSE(pad()->isOpen());
  EXPECT_EQ(sprite("edtName")->text(), "Boba");
  ASSERT_FALSE(listener->answers.empty());
  EXPECT_EQ(listener->answers.back(), "edtName:1@70,20");  // centre of the box
  EXPECT_EQ(page->mouseListener(), listener.get());
  EXPECT_FALSE(page->findScene(InputPadDialog::kSceneName)->visible);
  EXPECT_EQ(page->pressedSprite(), nullptr);
}

TEST_F(Dialogs, AnEmptyAnswerWhereOneIsRequiredCountsAsCancel) {
  openPad("edtStrict");
  key(host::WM_KEYDOWN, host::VK_RETURN);
  EXPECT_FALSE(pad()->isOpen());
  ASSERT_FALSE(listener->answers.empty());
  EXPECT_EQ(listener->answers.back(), "edtStrict:0@70,300");
  // Escape cancels and keeps the old text.
  openPad("edtName");
  tapKey(3, 1);
  key(host::WM_KEYDOWN, host::VK_ESCAPE);
  EXPECT_EQ(sprite("edtName")->text(), "Bob");
  EXPECT_EQ(listener->answers.back(), "edtName:0@70,20");
}

TEST_F(Dialogs, TheBoxsObjectsAreBoundOnceAndGoneWithAReplacedPage) {
  page->showMessageBox("Quit Game Now ?", "QUIT", GuiCanvas::kMessageYesNo, false);
  const MessageBoxObjects& box = page->messageBox();
  EXPECT_EQ(box.box, page->findScene("sceneMessageBox"));
  EXPECT_EQ(box.message, sprite("sptMessage"));
  EXPECT_EQ(box.ok, sprite("btnOk"));
  EXPECT_EQ(box.no, sprite("btnNo"));
  // A new screen replaces everything, the box with it; the next box is merged in again.
  scene::TemplateFactory::loadTemplate(*page, gui.path() + "/", "page.properties", true);
  EXPECT_EQ(box.box, nullptr);
  EXPECT_EQ(box.context, nullptr);
  EXPECT_FALSE(page->isMessageBoxUp());
  EXPECT_FALSE(page->messageBoxContext());
  page->hideMessageBox(false);  // nothing to hide
  const int loads = page->loads;
  page->showMessageBox("Retry this battle?", "RETRY", GuiCanvas::kMessageYesNo, false);
  EXPECT_EQ(page->loads, loads + 1);
  EXPECT_TRUE(page->isMessageBoxUp());
  EXPECT_EQ(page->messageBoxContext().value_or(""), "RETRY");
  EXPECT_EQ(box.yes, sprite("btnYes"));
}

TEST_F(Dialogs, ABoxTemplateWithoutSomeButtonsStillShowsWhatItHas) {
  gui.write("short.properties",
            "sceneMessageBox=type:SceneSprite, x:20, y:100, width:200, height:120, visible:0\n"
            "sptMessageContext=type:Sprite, container:sceneMessageBox, visible:0\n"
            "btnYes=type:Sprite, container:sceneMessageBox, x:10, y:80, width:60, height:30\n");
  page->showMessageBox("Quit Game Now ?", "QUIT", GuiCanvas::kMessageYesNo, false,
                       "short.properties");
  EXPECT_TRUE(page->isMessageBoxUp());
  EXPECT_EQ(page->messageBox().message, nullptr);
  EXPECT_EQ(page->messageBox().no, nullptr);
  EXPECT_TRUE(sprite("btnYes")->visible);
  EXPECT_EQ(page->messageBoxContext().value_or(""), "QUIT");
}

TEST_F(Dialogs, ThePadIsBuiltAgainAfterItsSceneWasReplaced) {
  openPad("edtName");
  key(host::WM_KEYDOWN, host::VK_ESCAPE);
  ASSERT_NE(pad()->padScene(), nullptr);
  scene::TemplateFactory::loadTemplate(*page, gui.path() + "/", "page.properties", true);
  EXPECT_EQ(pad()->padScene(), nullptr);
  EXPECT_EQ(pad()->characterKey(0), nullptr);
  openPad("edtName");
  ASSERT_NE(pad()->padScene(), nullptr);
  EXPECT_EQ(pad()->padScene(), page->findScene(InputPadDialog::kSceneName));
  EXPECT_EQ(sprite("sptMessage_MSGBOX")->text(), "Name");
  tapKey(3, 0);
  EXPECT_EQ(pad()->buffer(), "Boba");
  EXPECT_EQ(sprite("btnEditbox_MSGBOX")->text(), "Boba");
  tapCommand("btnOk_MSGBOX");
  EXPECT_EQ(sprite("edtName")->text(), "Boba");
}

// Both layouts as the screen shows them, plain keys (no pictures), white text.
TEST_F(Dialogs, BothLayoutsMatchTheirReferences) {
  openPad("edtName");
  auto shot = [&] {
    page->refresh();
    return host::RgbImage{240, 320, host::Host::get().screen().toRgb()};
  };
  EXPECT_TRUE(testing_support::matchesReferenceFile(
      shot(), testing_support::referenceFile("media/inputpad_lower"), 8, 0.005));
  tapCommand("btnCaps_MSGBOX");
  EXPECT_TRUE(testing_support::matchesReferenceFile(
      shot(), testing_support::referenceFile("media/inputpad_upper"), 8, 0.005));
}

}  // namespace
}  // namespace media::testing
