// The stylus behaviour of GUI sprites on a page: buttons, links, tip links, edit boxes, check
// boxes alone and in groups (with the page template and its file), and the pointer shape.
#include "media/GuiCanvas.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "PageFixture.h"
#include "host/Cursor.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "scene/TemplateFactory.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

// Records what the page asks of its input pad.
class RecordingPad : public scene::InputPad {
 public:
  void open(scene::SceneObject& box, std::string_view text, std::string_view title, int maxLength,
            bool allowEmpty) override {
    opened = box.name + "|" + std::string(text) + "|" + std::string(title) + "|" +
             std::to_string(maxLength) + "|" + (allowEmpty ? "empty" : "required");
  }
  std::string opened;
};

constexpr const char* kPage =
    "g=GUIType:checkboxGroup, selected:0\n"
    "scn=type:SceneSprite, width:240, height:320\n"
    "chk0=type:Sprite, container:scn, x:0, y:0, width:20, height:20, GUIType:checkbox, "
    "group:g, status:1\n"
    "chk1=type:Sprite, container:scn, x:30, y:0, width:20, height:20, GUIType:checkbox, "
    "group:g\n"
    "chk2=type:Sprite, container:scn, x:60, y:0, width:20, height:20, GUIType:checkbox, "
    "group:g\n"
    "chkOrphan=type:Sprite, container:scn, x:90, y:0, width:20, height:20, "
    "GUIType:checkbox, group:nogroup\n"
    "chkSolo=type:Sprite, container:scn, x:120, y:0, width:20, height:20, GUIType:checkbox, "
    "persistent:1\n"
    "btn=type:Sprite, container:scn, x:0, y:40, width:50, height:20, GUIType:button\n"
    "tip=type:Sprite, container:scn, x:0, y:70, width:50, height:20, GUIType:tiplink, "
    "href:card\n"
    "tipNowhere=type:Sprite, container:scn, x:60, y:70, width:50, height:20, "
    "GUIType:tiplink, href:nothing\n"
    "card=type:Sprite, container:scn, x:100, y:200, width:50, height:20, visible:0\n"
    "edtName=type:Sprite, container:scn, x:0, y:100, width:80, height:20, GUIType:editbox, "
    "maxLength:12, allowEmpty:0, title:Name, text:Bob\n"
    "edtAny=type:Sprite, container:scn, x:0, y:130, width:80, height:20, GUIType:editbox, "
    "maxLength:20\n"
    "lnk=type:Sprite, container:scn, x:0, y:160, width:80, height:20, GUIType:hyperlink, "
    "href:next.properties\n"
    "plain=type:Sprite, container:scn, x:0, y:250, width:80, height:20\n";

class GuiCanvasTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    folder.write("page.properties", kPage);
    folder.write("next.properties",
                 "scnNext=type:SceneSprite\n"
                 "arrived=type:Sprite, container:scnNext, width:10, height:10\n");
    page = &makePageOf<GuiCanvas>(runtime(), "gamePage", true);
    scene::TemplateFactory::loadTemplate(*page, folder.path() + "/", "page.properties", true);
  }

  // A full stylus press or release at (x, y), both passes, as the window delivers it.
  void stylus(uint32_t message, int x, int y) {
    page->onStylus(message, message == host::WM_LBUTTONDOWN ? 1 : 0, x, y, 0);
    page->onStylus(message, message == host::WM_LBUTTONDOWN ? 1 : 0, x, y, 1);
  }
  void tap(int x, int y) {
    stylus(host::WM_LBUTTONDOWN, x, y);
    stylus(host::WM_LBUTTONUP, x, y);
  }
  Sprite& sprite(const std::string& name) {
    auto* s = dynamic_cast<Sprite*>(page->findObject(name));
    EXPECT_NE(s, nullptr) << name;
    return *s;
  }
  std::string item(const std::string& key, const std::string& name) {
    return page->pageTemplate().getString(key, name).value_or("<none>");
  }
  std::string fileText() {
    std::ifstream in(folder.path() + "/page.properties");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  testing_support::TempFolder folder;
  GuiCanvas* page = nullptr;
};

TEST_F(GuiCanvasTest, AGroupMemberPressedIsTheOnlyOneSelected) {
  tap(35, 5);  // chk1
  EXPECT_EQ(sprite("chk0").status, 0);
  EXPECT_EQ(sprite("chk1").status, 1);
  EXPECT_EQ(sprite("chk2").status, 0);
  EXPECT_EQ(item("g", "selected"), "1");
  EXPECT_EQ(item("chk0", "status"), "0");
  EXPECT_EQ(item("chk1", "status"), "1");
  // Pressing the selected member again keeps it selected.
  tap(35, 5);
  EXPECT_EQ(sprite("chk1").status, 1);
  EXPECT_EQ(item("g", "selected"), "1");
  tap(65, 5);
  EXPECT_EQ(sprite("chk1").status, 0);
  EXPECT_EQ(sprite("chk2").status, 1);
  EXPECT_EQ(item("g", "selected"), "2");
  // Not persistent: the file is untouched.
  EXPECT_EQ(fileText(), kPage);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(GuiCanvasTest, AGroupWithoutItsPropertyIsReportedAndTheBoxStillChanges) {
  tap(95, 5);
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].caption, "Error");
  EXPECT_EQ(boxes()[0].text,
            "The property \"nogroup=GUIType:checkboxGroup, selected:0\" need to be added into "
            "template.");
  EXPECT_EQ(sprite("chkOrphan").status, 1);
  EXPECT_FALSE(page->pageTemplate().contains("nogroup"));
}

TEST_F(GuiCanvasTest, APersistentLoneBoxTogglesAndSavesTheTemplateEachTime) {
  auto soloLine = [&] {
    std::string text = fileText();
    size_t at = text.find("chkSolo=");
    return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
  };
  tap(125, 5);
  EXPECT_EQ(sprite("chkSolo").status, 1);
  EXPECT_NE(soloLine().find(" status:1"), std::string::npos) << soloLine();
  tap(125, 5);
  EXPECT_EQ(sprite("chkSolo").status, 0);
  EXPECT_NE(soloLine().find(" status:0"), std::string::npos) << soloLine();
}

TEST_F(GuiCanvasTest, AButtonReleasedAnywhereGoesBackToNormal) {
  stylus(host::WM_LBUTTONDOWN, 10, 45);
  EXPECT_EQ(sprite("btn").status, 1);
  stylus(host::WM_LBUTTONUP, 200, 300);  // lifted far away
  EXPECT_EQ(sprite("btn").status, 0);
}

TEST_F(GuiCanvasTest, ATipLinkShowsItsCardWhileHeld) {
  stylus(host::WM_LBUTTONDOWN, 10, 75);
  EXPECT_EQ(sprite("tip").status, 1);
  EXPECT_TRUE(sprite("card").visible);
  stylus(host::WM_LBUTTONUP, 10, 75);
  EXPECT_EQ(sprite("tip").status, 0);
  EXPECT_FALSE(sprite("card").visible);
  // A tip link to nothing does nothing.
  stylus(host::WM_LBUTTONDOWN, 70, 75);
  EXPECT_EQ(sprite("tipNowhere").status, 0);
}

TEST_F(GuiCanvasTest, AnEditBoxOpensThePadOnRelease) {
  tap(5, 105);  // without a pad nothing happens
  auto pad = std::make_unique<RecordingPad>();
  RecordingPad* raw = pad.get();
  page->setInputPad(std::move(pad));
  stylus(host::WM_LBUTTONDOWN, 5, 105);
  EXPECT_EQ(raw->opened, "");
  stylus(host::WM_LBUTTONUP, 5, 105);
  EXPECT_EQ(raw->opened, "edtName|Bob|Name|12|required");
  tap(5, 135);
  EXPECT_EQ(raw->opened, "edtAny|||20|empty");
}

TEST(EditBoxLink, NumberAndTitle) {
  EditBoxLink a = parseEditBoxLink("-12,Name");
  EXPECT_EQ(a.maxLength, 12);
  EXPECT_FALSE(a.allowEmpty);
  EXPECT_EQ(a.title, "Name");
  EditBoxLink b = parseEditBoxLink("20,");
  EXPECT_EQ(b.maxLength, 20);
  EXPECT_TRUE(b.allowEmpty);
  EXPECT_EQ(b.title, "");
  EditBoxLink c = parseEditBoxLink("7,a,b");  // only the first comma splits
  EXPECT_EQ(c.title, "a,b");
}

TEST_F(GuiCanvasTest, AHyperlinkReplacesThePageWithItsTemplate) {
  stylus(host::WM_LBUTTONDOWN, 5, 165);
  EXPECT_EQ(sprite("lnk").status, 1);
  EXPECT_NE(page->findScene("scn"), nullptr);
  stylus(host::WM_LBUTTONUP, 5, 165);
  EXPECT_EQ(page->findScene("scn"), nullptr);
  EXPECT_NE(page->findObject("arrived"), nullptr);
  EXPECT_EQ(page->templateName(), "next.properties");
  EXPECT_EQ(page->pressedSprite(), nullptr);
}

TEST_F(GuiCanvasTest, ThePointerShowsWhatTheStylusIsOver) {
  auto move = [&](int x, int y) { page->onStylus(host::WM_MOUSEMOVE, 0, x, y, 0); };
  move(5, 105);
  EXPECT_EQ(host::currentCursor(), host::loadCursor(host::IDC_IBEAM));
  move(5, 45);
  EXPECT_EQ(host::currentCursor(), host::loadCursor(host::IDC_HAND));
  move(5, 255);  // a plain sprite is not a control
  EXPECT_EQ(host::currentCursor(), host::loadCursor(host::IDC_ARROW));
  // Hovering does not change what was pressed.
  stylus(host::WM_LBUTTONDOWN, 10, 45);
  move(5, 105);
  EXPECT_EQ(page->pressedSprite(), &sprite("btn"));
}

}  // namespace
}  // namespace media::testing
