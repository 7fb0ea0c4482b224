// The runtime the pages of a run share: its creators build every template type of the media
// layer, pages on one runtime share pictures and models, its driver table starts empty, and a
// runtime made after another (a relaunch in one process, the next test) starts from nothing.
#include "media/Runtime.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../engine3d/ChunkWriter.h"
#include "PageFixture.h"
#include "TestPictures.h"
#include "WaveBytes.h"
#include "engine3d/Texture.h"
#include "media/GuiCanvas.h"
#include "media/Scene3D.h"
#include "media/SceneAWT.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "scene/TemplateFactory.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

// One triangle "body".
std::string triangleModel() {
  engine3d_test::ChunkWriter w;
  w.begin(0x4D4D).begin(0x3D3D);
  w.begin(0x4000).str("body").begin(0x4100);
  w.vertices({0, 0, 0, 1, 0, 0, 0, 1, 0});
  w.begin(0x4120).faces({0, 1, 2}).end();
  w.end().end();
  w.end().end();
  return w.text();
}

constexpr const char* kEveryType =
    "awt=type:SceneAWT\n"
    "btnNative=type:AWTComponent, container:awt, AWTType:BUTTON, text:Go\n"
    "scene3D=type:Scene3D, width:240, height:100\n"
    "heli=type:Group3D, container:scene3D, model:tri.3ds\n"
    "chip=type:Chip3D, container:scene3D, texture:pic.bmp\n"
    "sun=type:Light, container:scene3D\n"
    "haze=type:Fog, container:scene3D\n"
    "fnt=type:BitmapFont, bitmap:pic.bmp, columns:4, rows:2\n"
    "sceneGUI=type:SceneSprite, bkgTexture:pic.bmp\n"
    "sptIcon=type:Sprite, container:sceneGUI, texture:pic.bmp\n"
    "engine=type:WaveSound, src:engine.wav\n";

class RuntimeTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    folder.write("pic.bmp", solidBmpFile(16, 8, 0x00FF00));
    folder.write("tri.3ds", triangleModel());
    folder.write("engine.wav", toneMs(20));
    folder.write("page.properties", kEveryType);
  }
  // A second page over the same main window, on the same runtime.
  GuiCanvas& secondPage() {
    auto page = std::make_unique<GuiCanvas>(runtime(), "second", true);
    GuiCanvas* raw = page.get();
    EXPECT_TRUE(main_->addChild(std::move(page), 0, 0, 240, 320));
    return *raw;
  }
  void load(scene::Canvas& page) {
    scene::TemplateFactory::loadTemplate(page, folder.path() + "/", "page.properties", true);
  }

  testing_support::TempFolder folder;
};

TEST_F(RuntimeTest, ItsCreatorsBuildEveryTypeOfTheMediaLayer) {
  GuiCanvas& page = makePageOf<GuiCanvas>(runtime(), "gamePage", true);
  EXPECT_EQ(&page.creators(), &runtime().creators());
  load(page);
  EXPECT_NE(dynamic_cast<SceneAWT*>(page.findScene("awt")), nullptr);
  EXPECT_NE(page.findObject("btnNative"), nullptr);
  auto* world = dynamic_cast<Scene3D*>(page.findScene("scene3D"));
  ASSERT_NE(world, nullptr);
  EXPECT_NE(world->findGroup("heli"), nullptr);
  EXPECT_NE(world->findGroup("chip"), nullptr);
  EXPECT_EQ(world->lights().size(), 1u);
  EXPECT_NE(page.getBitmapFont("fnt"), nullptr);
  EXPECT_NE(dynamic_cast<SceneSprite*>(page.findScene("sceneGUI")), nullptr);
  auto* icon = dynamic_cast<Sprite*>(page.findObject("sptIcon"));
  ASSERT_NE(icon, nullptr);
  EXPECT_NE(icon->normalImage, nullptr);
  EXPECT_NE(page.findSound("engine"), nullptr);
  // What the page loaded is held by the runtime, once each.
  EXPECT_EQ(runtime().spriteImages().size(), 1);
  EXPECT_TRUE(runtime().spriteImages().contains("pic.bmp"));
  EXPECT_EQ(runtime().pageModels().count(), 1);
  EXPECT_EQ(runtime().textures().count(), 1);
  // No driver was offered: the 3D scene was set up without output.
  EXPECT_FALSE(runtime().drivers().has(engine3d::kRendererSoftware));
  EXPECT_FALSE(runtime().drivers().has(engine3d::kRendererGles));
  EXPECT_EQ(world->renderer(), nullptr);
}

TEST_F(RuntimeTest, PagesOfOneRuntimeShareTheirPicturesAndModels) {
  GuiCanvas& first = makePageOf<GuiCanvas>(runtime(), "gamePage", true);
  GuiCanvas& second = secondPage();
  load(first);
  load(second);
  auto* a = dynamic_cast<Sprite*>(first.findObject("sptIcon"));
  auto* b = dynamic_cast<Sprite*>(second.findObject("sptIcon"));
  ASSERT_TRUE(a && b);
  EXPECT_NE(a, b);
  EXPECT_EQ(a->normalImage, b->normalImage);
  EXPECT_EQ(runtime().spriteImages().size(), 1);
  EXPECT_EQ(runtime().pageModels().count(), 1);
  // Each page has a clone of the model of its own; the textures are shared.
  auto* worldA = dynamic_cast<Scene3D*>(first.findScene("scene3D"));
  auto* worldB = dynamic_cast<Scene3D*>(second.findScene("scene3D"));
  ASSERT_TRUE(worldA && worldB);
  EXPECT_NE(worldA->findGroup("heli"), worldB->findGroup("heli"));
  EXPECT_EQ(runtime().textures().count(), 1);
}

TEST_F(RuntimeTest, ADriverOfferedToTheRuntimeSetsUpEveryPagesScenes) {
  int made = 0;
  runtime().drivers().add(engine3d::kRendererSoftware,
                          {[&made](engine3d::SceneView*) -> std::unique_ptr<engine3d::Renderer> {
                             ++made;
                             return nullptr;  // a driver that cannot start
                           },
                           nullptr});
  GuiCanvas& first = makePageOf<GuiCanvas>(runtime(), "gamePage", true);
  GuiCanvas& second = secondPage();
  load(first);
  load(second);
  EXPECT_EQ(made, 2);
}

TEST_F(RuntimeTest, ARuntimeAfterAnotherStartsFromNothing) {
  {
    GuiCanvas& page = makePageOf<GuiCanvas>(runtime(), "gamePage", true);
    load(page);
    ASSERT_EQ(runtime().spriteImages().size(), 1);
  }
  // As a relaunch in the same process: the pages end, the runtime, then the host.
  main_.reset();
  endRuntime();
  restart("vga");
  startRuntime();
  EXPECT_EQ(runtime().spriteImages().size(), 0);
  EXPECT_EQ(runtime().pageModels().count(), 0);
  EXPECT_EQ(runtime().textures().count(), 0);
  GuiCanvas& page = makePageOf<GuiCanvas>(runtime(), "gamePage", true);
  load(page);
  auto* icon = dynamic_cast<Sprite*>(page.findObject("sptIcon"));
  ASSERT_TRUE(icon && icon->normalImage && icon->normalImage->currentSurface());
  EXPECT_EQ(runtime().spriteImages().size(), 1);
  EXPECT_EQ(runtime().pageModels().count(), 1);
}

using TextureStoreTest = testing_support::HeadlessHostTest;

TEST_F(TextureStoreTest, SharesEachPictureAndKeepsNoFailure) {
  testing_support::TempFolder folder;
  folder.write("pic.bmp", solidBmpFile(16, 8, 0xFF0000));
  {
    TextureStore store;
    engine3d::TextureRequest request;
    request.folder = folder.path() + "/";
    request.name = "pic.bmp";
    std::shared_ptr<engine3d::Texture> first = store.get(request);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(store.get(request), first);
    EXPECT_EQ(store.loader()(request), first);
    EXPECT_EQ(store.count(), 1);
    // Without power-of-two sizing it is another picture of the same file.
    request.powerOfTwo = false;
    std::shared_ptr<engine3d::Texture> square = store.get(request);
    ASSERT_NE(square, nullptr);
    EXPECT_NE(square, first);
    EXPECT_EQ(square->width(), 16);
    EXPECT_EQ(store.count(), 2);
    // A picture that cannot be read is not kept, so a later request tries again.
    ScopedMessageReporter quiet([](std::string_view, std::string_view, MessageIcon) {});
    request.name = "missing.bmp";
    EXPECT_EQ(store.get(request), nullptr);
    EXPECT_EQ(store.count(), 2);
    // A texture still held lives on after the store is emptied.
    store.clear();
    EXPECT_EQ(store.count(), 0);
    EXPECT_EQ(first->width(), 16);
    EXPECT_NE(store.get({folder.path() + "/", "pic.bmp"}), first);
  }
}

}  // namespace
}  // namespace media::testing
