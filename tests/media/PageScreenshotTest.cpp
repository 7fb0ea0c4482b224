// A screen template using every 2D object type and sprite item, loaded into a page (replace,
// then a second file merged in) and shown on the device screen, compared with references at the
// 240-pixel design width and at 480 pixels, where positions, sizes and font sizes double and
// "%" sizes follow the page.
//
// Tolerance: channels within 8, and up to 0.5% of the pixels further off (anti-aliased text
// edges move slightly between FreeType builds).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestPictures.h"
#include "host/Host.h"
#include "host/Screen.h"
#include "media/GuiCanvas.h"
#include "media/Runtime.h"
#include "platform/ProcessSwitches.h"
#include "platform/Window.h"
#include "scene/TemplateFactory.h"
#include "support/HeadlessHost.h"
#include "support/ReferenceImage.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

std::string bytesOf(const std::vector<uint8_t>& v) {
  return std::string(v.begin(), v.end());
}

std::string bmp(int w, int h, const std::function<uint32_t(int, int)>& pixel) {
  BmpDescription d;
  d.width = w;
  d.height = h;
  return bytesOf(makeBmp(d, pixel));
}

// A 16 x 16 two-frame GIF: a yellow ring on the transparent index, then a red one.
std::string ringGif() {
  GifDescription g;
  g.width = g.height = 16;
  g.globalPalette = {0xFF00FF, 0xFFE000, 0xE02020};
  for (int f = 0; f < 2; ++f) {
    GifFrameDescription frame;
    frame.width = frame.height = 16;
    frame.control = true;
    frame.delay = 10;
    frame.transparent = true;
    frame.transparentIndex = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        int d2 = (2 * x - 15) * (2 * x - 15) + (2 * y - 15) * (2 * y - 15);
        frame.indices.push_back(d2 < 100 || d2 > 225 ? 0 : static_cast<uint8_t>(1 + f));
      }
    g.frames.push_back(frame);
  }
  return bytesOf(makeGif(g));
}

constexpr const char* kPage =
    "// Every 2D type and the sprite items a screen uses.\n"
    "fnt=type:BitmapFont, bitmap:font.bmp, columns:16, rows:6, startCode:32\n"
    "sceneBack=type:SceneSprite, bkgTexture:sky.bmp\n"
    "sceneGUI=type:SceneSprite, x:10, y:30, width:50%, height:160, bkgColor:(20;40;90), "
    "buffered:1, indexTextColor:(255;255;0)\n"
    "btnPlay=type:Sprite, container:sceneGUI, x:8, y:8, width:100, height:24, "
    "color:(200;90;0), brightColor:(255;190;0), frame:(255;255;255), text:Play, "
    "textColor:(255;255;255), textAlignment:CENTER, textSize:14, textWeight:700, "
    "GUIType:button\n"
    "btnLit=type:Sprite, container:sceneGUI, x:8, y:38, width:100, height:24, "
    "color:(200;90;0), brightColor:(255;190;0), text:Lit, textAlignment:RIGHT, "
    "textOffsetX:-4, GUIType:button, status:1\n"
    "ring=type:Sprite, container:sceneGUI, x:8, y:70, texture:ring.gif, number:3, "
    "index:R\n"
    "chkSound=type:Sprite, container:sceneGUI, x:40, y:70, width:16, height:16, "
    "texture:box.bmp, bright:boxon.bmp, GUIType:checkbox, status:1\n"
    "txtScore=type:Sprite, container:sceneGUI, x:8, y:96, width:104, height:40, "
    "text:Score^c 42\\nLine 2, BitmapFontNormal:fnt\n"
    "lnkHelp=type:Sprite, container:sceneGUI, x:60, y:70, width:56, height:18, "
    "text:Help, textColor:(120;200;255), textSize:12, GUIType:hyperlink, href:help.properties\n"
    "edtName=type:Sprite, container:sceneGUI, x:8, y:140, width:100, height:16, "
    "color:(255;255;255), text:Pilot, textColor:(0;0;0), textItalic:1, textSize:12, "
    "GUIType:editbox, maxLength:12\n"
    "sprClip=type:Sprite, container:sceneBack, x:150, y:40, width:64, height:32, "
    "texture:sky.bmp, clipX:0, clipY:0, clipW:16, clipH:8\n"
    "sprHidden=type:Sprite, container:sceneBack, x:0, y:0, width:240, height:320, "
    "color:(255;0;0), visible:0\n";

constexpr const char* kMerged =
    "sceneBar=type:SceneSprite, x:0, y:280, height:40, bkgColor:(0;0;0)\n"
    "txtBar=type:Sprite, container:sceneBar, x:4, y:4, width:232, height:32, "
    "text:Merged bar, textColor:(0;255;0), textSize:20, textUnderline:1\n";

class PageScreenshot : public testing_support::HeadlessHostTest {
 protected:
  void SetUp() override {
    HeadlessHostTest::SetUp();
    folder.write("sky.bmp", bmp(24, 32, [](int x, int y) {
                   return (((x / 4) + (y / 4)) % 2 ? 0x203060u : 0x304080u) + (y << 1);
                 }));
    folder.write("box.bmp", bmp(16, 16, [](int x, int y) {
                   return x == 0 || y == 0 || x == 15 || y == 15 ? 0xFFFFFFu : 0x404040u;
                 }));
    folder.write("boxon.bmp", bmp(16, 16, [](int x, int y) {
                   return x == 0 || y == 0 || x == 15 || y == 15 ? 0xFFFFFFu
                          : (x > 3 && x < 12 && y > 3 && y < 12) ? 0x00C000u
                                                                 : 0x404040u;
                 }));
    // Glyph cells of 4 x 5: each glyph a different pattern of lit pixels on black.
    folder.write("font.bmp", bmp(64, 30, [](int x, int y) {
                   int glyph = (y / 5) * 16 + x / 4;
                   return ((x % 4) + (y % 5) * 3 + glyph) % 3 == 0 ? 0xF0F0F0u : 0u;
                 }));
    folder.write("ring.gif", ringGif());
    folder.write("page.properties", kPage);
    folder.write("bar.properties", kMerged);
  }
  void TearDown() override {
    main_.reset();
    runtime_.reset();
    platform::setScreenScale(1.0f);
    HeadlessHostTest::TearDown();
  }

  // The screen of `profile` after the page loaded and merged, as 8-bit RGB.
  host::RgbImage shoot(const std::string& profile) {
    main_.reset();
    runtime_.reset();
    restart(profile);
    runtime_ = std::make_unique<Runtime>();
    const host::DeviceProfile& p = host::Host::get().profile();
    main_ = std::make_unique<platform::Window>("Skirrow", 0, false);
    EXPECT_TRUE(main_->create(0, 0, p.screenWidth, p.screenHeight));
    platform::setScreenScaleFromWidth(main_->clientWidth());
    auto owned = std::make_unique<GuiCanvas>(*runtime_, "gamePage", true);
    GuiCanvas* page = owned.get();
    EXPECT_TRUE(
        main_->addChild(std::move(owned), 0, 0, main_->clientWidth(), main_->clientHeight()));
    page->typeToTap = true;  // index labels show
    std::string dir = folder.path() + "/";
    scene::TemplateFactory::loadTemplate(*page, dir, "page.properties", true);
    scene::TemplateFactory::loadTemplate(*page, dir, "bar.properties", false);
    EXPECT_EQ(page->scenes().size(), 3u);
    EXPECT_EQ(page->templateName(), "page.properties");  // merging keeps the page's file
    page->refresh();
    std::vector<uint8_t> rgb = host::Host::get().screen().toRgb();
    return host::RgbImage{p.screenWidth, p.screenHeight, rgb};
  }

  testing_support::TempFolder folder;
  std::unique_ptr<Runtime> runtime_;
  std::unique_ptr<platform::Window> main_;
};

TEST_F(PageScreenshot, At240PixelsWide) {
  host::RgbImage image = shoot("qvga");
  EXPECT_TRUE(testing_support::matchesReferenceFile(
      image, testing_support::referenceFile("media/page_240"), 8, 0.005));
}

TEST_F(PageScreenshot, At480PixelsWideEverythingIsScaled) {
  host::RgbImage image = shoot("vga");
  EXPECT_TRUE(testing_support::matchesReferenceFile(
      image, testing_support::referenceFile("media/page_480"), 8, 0.005));
}

}  // namespace
}  // namespace media::testing
