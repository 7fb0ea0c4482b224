// Sprite scenes, sprites and bitmap fonts made from a page template through the scene factory.
#include <gtest/gtest.h>

#include <string>

#include "PageFixture.h"
#include "TestPictures.h"
#include "media/BitmapFont.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "scene/TemplateFactory.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

class SpriteTemplate : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    folder.write("font.bmp", solidBmpFile(64, 30, 0x808080));
    folder.write("pic.bmp", solidBmpFile(40, 20, 0x00FF00));
    folder.write("page.properties",
                 "fnt=type:BitmapFont, bitmap:font.bmp, columns:16, rows:6, caseConvertion:0\n"
                 "bad=type:BitmapFont, bitmap:font.bmp, columns:0, rows:6\n"
                 "sceneGUI=type:SceneSprite, x:4, bkgColor:(0;0;255), buffered:1, "
                 "indexTextColor:(255;0;0), indexTextSize:10\n"
                 "sptScore=type:Sprite, container:sceneGUI, x:10, y:20, texture:pic.bmp, "
                 "text:Score^cline1\\nline2, BitmapFontNormal:fnt, GUIType:button, number:3, "
                 "index:AB, textAlignment:CENTER\n"
                 "lnkHelp=type:Sprite, container:sceneGUI, width:30, height:10, "
                 "GUIType:hyperlink, href:help.properties, color:(255;0;0), textWeight:2000\n"
                 "sptLost=type:Sprite, container:noScene, texture:missing.bmp\n"
                 "edt=type:Sprite, container:sceneGUI, width:30, height:10, GUIType:editbox, "
                 "maxLength:8, allowEmpty:0, title:Name\n");
  }
  SceneSprite* load(scene_test::RecordingCanvas& page) {
    scene::TemplateFactory::loadTemplate(page, folder.path() + "/", "page.properties", true);
    return dynamic_cast<SceneSprite*>(page.findScene("sceneGUI"));
  }
  testing_support::TempFolder folder;
};

TEST_F(SpriteTemplate, BuildsSceneSpritesAndFonts) {
  MessageRecorder messages;  // the missing picture is reported, not fatal
  scene_test::RecordingCanvas& page = makePage();
  SceneSprite* gui = load(page);
  ASSERT_NE(gui, nullptr);
  EXPECT_EQ(gui->x, 4);
  EXPECT_EQ(gui->bkgColor, 0x0000FF);
  EXPECT_EQ(gui->indexTextColor, 0xFF0000u);
  EXPECT_EQ(gui->indexTextSize, 10);

  auto* font = dynamic_cast<BitmapFont*>(page.getBitmapFont("fnt"));
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(font->canDraw());
  EXPECT_EQ(font->cellWidth(), 4);
  EXPECT_EQ(font->cellHeight(), 5);
  EXPECT_EQ(font->caseConversion(), BitmapFont::kNone);
  EXPECT_EQ(page.getBitmapFont("bad"), nullptr);

  // number:3 gives sptScore0..2, the first one read, the others copies.
  ASSERT_EQ(gui->count(), 5);
  for (int i = 0; i < 3; ++i) {
    Sprite* s = gui->findSprite("sptScore" + std::to_string(i));
    ASSERT_NE(s, nullptr) << i;
    EXPECT_EQ(s->x, 10);
    EXPECT_EQ(s->y, 20);
    EXPECT_EQ(s->width, 40);  // from the picture
    EXPECT_EQ(s->height, 20);
    EXPECT_EQ(s->text(), std::string("Score: line1\n\rline2"));
    EXPECT_EQ(s->normalFont, font);
    EXPECT_EQ(s->brightFont, nullptr);
    EXPECT_EQ(s->guiKind, Sprite::kButton);
    EXPECT_EQ(s->indexLabel, "AB");
    EXPECT_EQ(s->textAlignment, Sprite::kCenter);
    EXPECT_EQ(s->normalImage, gui->spriteAt(0)->normalImage);
    ASSERT_NE(s->normalImage, nullptr);
    EXPECT_EQ(s->clipW, 40);
  }
  Sprite* link = gui->findSprite("lnkHelp");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->linkText, "help.properties");
  EXPECT_TRUE(link->textUnderline);
  EXPECT_EQ(link->textWeight, 900);
  EXPECT_EQ(link->color, 0xFF0000u);
  EXPECT_EQ(link->frameColor, Sprite::kNoColor);
  EXPECT_EQ(gui->findSprite("edt")->linkText, "-8,Name");
  EXPECT_EQ(page.findObject("sptLost"), nullptr);

  // The hit goes to the last of the overlapping copies.
  EXPECT_EQ(gui->hitTest(50, 40), gui->findSprite("sptScore2"));

  // One frame into the scene's own buffer: blue background, the red link, the green picture
  // and over it the grey glyphs of the bitmap font (16 high, so 12 wide; "Sco" centred in the
  // text rectangle 11..48 starts at 11 and ends before 47).
  gui->render(0.05f);
  Surface* buffer = gui->drawingSurface();
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(buffer->getPixel(100, 100), 0x0000F8u);
  EXPECT_EQ(buffer->getPixel(5, 5), 0xF80000u);
  EXPECT_EQ(buffer->getPixel(11, 21), 0x808080u);
  EXPECT_EQ(buffer->getPixel(46, 35), 0x808080u);
  EXPECT_EQ(buffer->getPixel(47, 21), 0x00FC00u);
  EXPECT_EQ(buffer->getPixel(10, 21), 0x00FC00u);
}

TEST_F(SpriteTemplate, SizesTakenFromThePictureAreScaled) {
  platform::setScreenScale(2.0f);
  scene_test::RecordingCanvas& page = makePage();
  SceneSprite* gui = load(page);
  ASSERT_NE(gui, nullptr);
  Sprite* s = gui->findSprite("sptScore0");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->x, 20);
  EXPECT_EQ(s->width, 80);
  EXPECT_EQ(s->height, 40);
  EXPECT_EQ(s->textSize, 32);
  EXPECT_EQ(gui->findSprite("lnkHelp")->width, 60);
}

// An unbuffered scene draws straight onto the page's back buffer, which it reaches only through
// its device context: the background picture and colour must still arrive there.
TEST_F(SpriteTemplate, UnbufferedScenesPaintTheirBackgroundOnThePage) {
  folder.write("flat.properties",
               "scenePic=type:SceneSprite, x:0, y:0, width:40, height:20, bkgTexture:pic.bmp\n"
               "sceneFill=type:SceneSprite, x:0, y:30, width:10, height:10, "
               "bkgColor:(255;0;0)\n");
  scene_test::RecordingCanvas& page = makePage();
  scene::TemplateFactory::loadTemplate(page, folder.path() + "/", "flat.properties", true);
  ASSERT_NE(page.findScene("scenePic"), nullptr);
  page.drawScenes();
  const platform::BackBuffer* back = page.backBuffer();
  ASSERT_NE(back, nullptr);
  auto pixel = [&](int x, int y) {
    return reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(back->pixels()) +
                                             y * back->pitch())[x];
  };
  EXPECT_EQ(pixel(0, 0), 0x07E0);  // green picture
  EXPECT_EQ(pixel(39, 19), 0x07E0);
  EXPECT_EQ(pixel(5, 35), 0xF800);  // red fill
  EXPECT_EQ(pixel(20, 35), 0x0000);
}

}  // namespace
}  // namespace media::testing
