// Loading page templates: dispatch by type, geometry scaling, replace and merge, progress and
// the missing-file message.
#include "scene/TemplateFactory.h"

#include <gtest/gtest.h>

#include "CanvasFixture.h"
#include "scene/RootPageHooks.h"
#include "support/TempFolder.h"

namespace scene_test {
namespace {

using scene::ObjectType;
using scene::Scene;
using scene::TemplateFactory;

struct ProgressProbe : scene::LoadProgressListener {
  void onLoadProgress(std::string_view text, std::string_view name, int percent) override {
    steps.push_back(std::string(text) + "|" + std::string(name) + "|" + std::to_string(percent));
  }
  std::vector<std::string> steps;
};

class TemplateLoad : public CanvasTest {
 protected:
  void SetUp() override {
    CanvasTest::SetUp();
    // Sprite scenes and sprites as the 2D subsystem would make them, recorded.
    creators.set(ObjectType::kSceneSprite, [this](const scene::CreateRequest& r) {
      created.push_back(std::string(r.name));
      auto s = std::make_unique<RecordingScene>(Scene::kSprite, nullptr, std::string(r.name));
      TemplateFactory::applySceneItems(*s, r);
      r.canvas.addScene(r.name, std::move(s));
    });
    creators.set(ObjectType::kSprite, [this](const scene::CreateRequest& r) {
      created.push_back(std::string(r.name));
      numbers.push_back(r.number);
      if (!r.containerScene) return;
      auto o = object(std::string(r.name), r.geometry.x, r.geometry.y, r.geometry.width,
                      r.geometry.height, r.indexLabel);
      o->visible = r.visible;
      r.containerScene->addObject(std::move(o));
    });
    creators.set(ObjectType::kAWTComponent, [this](const scene::CreateRequest& r) {
      created.push_back(std::string(r.name));
      geometry = r.geometry;
    });
  }
  std::string dir() { return folder.path() + "/"; }

  testing_support::TempFolder folder;
  std::vector<std::string> created;
  scene::Geometry geometry;
  std::vector<int> numbers;
};

TEST_F(TemplateLoad, CommonItemsReachTheCreators) {
  RecordingCanvas& page = makePage();
  folder.write("c.properties",
               "sceneA=type:SceneSprite, bkgColor:(10;20;30), buffered:1, visible:0, "
               "useDeviceCompatibleBitmap:0\n"
               "sceneB=type:SceneSprite, transparentColor:(255;0;255)\n"
               "btn=type:Sprite, container:sceneB, index:AB, visible:0, number:3\n"
               "plain=type:Sprite, container:sceneB\n");
  TemplateFactory::loadTemplate(page, dir(), "c.properties", true);
  Scene* a = page.findScene("sceneA");
  Scene* b = page.findScene("sceneB");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->bkgColor, 0x0A141E);
  EXPECT_TRUE(a->buffered);
  EXPECT_FALSE(a->visible);
  EXPECT_FALSE(a->useDeviceCompatibleBitmap);
  EXPECT_EQ(a->transparentColor, 0);
  EXPECT_EQ(b->bkgColor, -1);
  EXPECT_EQ(b->transparentColor, 0xFF00FF);
  EXPECT_FALSE(b->buffered);
  EXPECT_TRUE(b->visible);
  ASSERT_EQ(b->objects().size(), 2u);
  EXPECT_EQ(b->objects()[0]->indexLabel, "AB");
  EXPECT_FALSE(b->objects()[0]->visible);
  EXPECT_EQ(b->objects()[1]->indexLabel, "");
  EXPECT_TRUE(b->objects()[1]->visible);
  EXPECT_EQ(numbers, (std::vector<int>{3, 0}));
}

TEST_F(TemplateLoad, DispatchesByTypeAndHandsUnknownTypesToThePage) {
  RecordingCanvas& page = makePage();
  folder.write("menu.properties",
               "# the menu\n"
               "sceneGUI=type:SceneSprite\n"
               "btnOk=type:Sprite, container:sceneGUI, x:10, y:20, width:30, height:40\n"
               "title=Main menu, centred\n"
               "helper=type:Helper, speed:3\n"
               "lower=type:scenesprite\n"
               "sound=type:WaveSound, src:click.wav\n"
               "orphan=type:Sprite, container:nowhere\n");
  TemplateFactory::loadTemplate(page, dir(), "menu.properties", true);
  EXPECT_EQ(created, (std::vector<std::string>{"sceneGUI", "btnOk", "orphan"}));
  // Keywords are exact; no creator for WaveSound here: skipped, not custom.
  EXPECT_EQ(page.customKeys, (std::vector<std::string>{"helper", "lower"}));
  ASSERT_NE(page.findObject("btnOk"), nullptr);
  EXPECT_EQ(page.findObject("btnOk")->width, 30);
  EXPECT_EQ(page.findObject("orphan"), nullptr);
  EXPECT_EQ(page.objectNames(), (std::vector<std::string>{"sceneGUI", "btnOk", "title", "helper",
                                                          "lower", "sound", "orphan"}));
  EXPECT_EQ(page.loads, 1);
  EXPECT_EQ(page.templateName(), "menu.properties");
  EXPECT_EQ(page.pageTemplate().path(), dir() + "menu.properties");
}

TEST_F(TemplateLoad, DefaultGeometryPerType) {
  RecordingCanvas& page = makePage();
  folder.write("g.properties",
               "sceneA=type:SceneSprite\n"
               "btn=type:Sprite, container:sceneA\n"
               "edit=type:AWTComponent\n");
  TemplateFactory::loadTemplate(page, dir(), "g.properties", true);
  Scene* s = page.findScene("sceneA");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->width, 240);
  EXPECT_EQ(s->height, 320);
  EXPECT_EQ(page.findObject("btn")->width, -10000);
  EXPECT_EQ(geometry.width, 32);
  EXPECT_EQ(geometry.height, 16);
}

TEST_F(TemplateLoad, ScalesPositionsAndPercentSizesOnAWideScreen) {
  const char* kText =
      "sceneA=type:SceneSprite, x:10, y:5, width:50%, height:25%\n"
      "sceneB=type:SceneSprite, width:100, height:33.5%\n"
      "edit=type:AWTComponent, x:7, width:-3\n";
  {
    RecordingCanvas& page = makePage();
    folder.write("w.properties", kText);
    TemplateFactory::loadTemplate(page, dir(), "w.properties", true);
    Scene* a = page.findScene("sceneA");
    EXPECT_EQ(a->x, 10);
    EXPECT_EQ(a->width, 120);
    EXPECT_EQ(a->height, 80);
    EXPECT_EQ(page.findScene("sceneB")->width, 100);
    EXPECT_EQ(page.findScene("sceneB")->height, 107);  // 33.5 % of 320 = 107.2
  }
  main_.reset();
  restart("vga");
  platform::setScreenScaleFromWidth(480);
  RecordingCanvas& page = makePage();
  TemplateFactory::loadTemplate(page, dir(), "w.properties", true);
  Scene* a = page.findScene("sceneA");
  EXPECT_EQ(a->x, 20);
  EXPECT_EQ(a->y, 10);
  EXPECT_EQ(a->width, 240);   // half the page, not scaled again
  EXPECT_EQ(a->height, 160);  // a quarter of 640
  EXPECT_EQ(page.findScene("sceneB")->width, 200);
  EXPECT_EQ(page.findScene("sceneB")->height, 214);  // 33.5 % of 640 = 214.4
  EXPECT_EQ(geometry.x, 14);
  EXPECT_EQ(geometry.width, -5);   // (int)(-3 * 2 + 0.5): truncated towards zero
  EXPECT_EQ(geometry.height, 32);  // the default 16, scaled
}

TEST_F(TemplateLoad, ReplaceDropsThePageContent) {
  RecordingCanvas& page = makePage();
  folder.write("one.properties", "sceneA=type:SceneSprite\n");
  folder.write("two.properties", "sceneB=type:SceneSprite\n");
  TemplateFactory::loadTemplate(page, dir(), "one.properties", true);
  page.findScene("sceneA")->addObject(object("x", 0, 0, 10, 10));
  page.setPressedSprite(page.findObject("x"));
  TemplateFactory::loadTemplate(page, dir(), "two.properties", true);
  EXPECT_EQ(page.replaces, 2);
  EXPECT_EQ(page.findScene("sceneA"), nullptr);
  EXPECT_NE(page.findScene("sceneB"), nullptr);
  EXPECT_EQ(page.pressedSprite(), nullptr);
  EXPECT_FALSE(page.pageTemplate().contains("sceneA"));
  EXPECT_EQ(page.objectNames(), (std::vector<std::string>{"sceneB"}));
  EXPECT_EQ(page.templateName(), "two.properties");
}

TEST_F(TemplateLoad, MergeAddsObjectsAndKeepsThePagesOwnFile) {
  RecordingCanvas& page = makePage();
  folder.write("page.properties",
               "sceneA=type:SceneSprite\n"
               "btnA=type:Sprite, container:sceneA\n");
  folder.write("extra.properties",
               "sceneA=type:SceneSprite\n"
               "btnB=type:Sprite, container:sceneA\n");
  TemplateFactory::loadTemplate(page, dir(), "page.properties", true);
  created.clear();
  TemplateFactory::loadTemplate(page, dir(), "extra.properties", false);
  // btnA is not defined by the merged file: not made twice. sceneA is: made again.
  EXPECT_EQ(created, (std::vector<std::string>{"sceneA", "btnB"}));
  EXPECT_EQ(page.replaces, 1);
  EXPECT_EQ(page.templateName(), "page.properties");
  EXPECT_EQ(page.pageTemplate().path(), dir() + "page.properties");

  // A save writes the page's file with the merged keys.
  ASSERT_TRUE(page.saveTemplate());
  platform::Template saved;
  ASSERT_TRUE(saved.load(dir(), "page.properties"));
  EXPECT_TRUE(saved.contains("btnA"));
  EXPECT_TRUE(saved.contains("btnB"));
}

TEST_F(TemplateLoad, ProgressReportsEveryKeyThenTheEnd) {
  RecordingCanvas& page = makePage();
  ProgressProbe progress;
  page.setProgressListener(&progress);
  folder.write("p.properties",
               "sceneA=type:SceneSprite\n"
               "# comments are not keys\n"
               "aVeryLongObjectNameBeyondTwenty=type:Sprite, container:sceneA\n"
               "text=hello\n");
  TemplateFactory::loadTemplate(page, dir(), "p.properties", true);
  EXPECT_EQ(progress.steps, (std::vector<std::string>{
                                "Load sceneA|p.properties|0",
                                "Load aVeryLongObjectNameB|p.properties|33",
                                "Load text|p.properties|66",
                                "Load|p.properties|100",
                            }));
}

TEST_F(TemplateLoad, MissingTemplateShowsTheErrorAndChangesNothingMore) {
  RecordingCanvas& page = makePage();
  folder.write("page.properties", "sceneA=type:SceneSprite\n");
  TemplateFactory::loadTemplate(page, dir(), "page.properties", true);
  size_t before = boxes().size();
  TemplateFactory::loadTemplate(page, dir(), "absent.properties", false);
  ASSERT_EQ(boxes().size(), before + 1);
  EXPECT_EQ(boxes().back().caption, "Error");
  EXPECT_EQ(boxes().back().text, "Can not find the template file: " + dir() + "absent.properties.");
  EXPECT_EQ(boxes().back().type & 0xF0u, host::MB_ICONSTOP);
  EXPECT_EQ(page.loads, 1);
  EXPECT_NE(page.findScene("sceneA"), nullptr);
  EXPECT_EQ(page.templateName(), "page.properties");
  EXPECT_EQ(page.pageTemplate().path(), dir() + "page.properties");

  // Empty folder or name: not even a message.
  TemplateFactory::loadTemplate(page, "", "page.properties", true);
  TemplateFactory::loadTemplate(page, dir(), "", true);
  EXPECT_EQ(boxes().size(), before + 1);
  EXPECT_EQ(page.replaces, 1);
}

TEST_F(TemplateLoad, AScreenThatCannotBeFoundLeavesThePageShowingItsOwn) {
  RecordingCanvas& page = makePage();
  folder.write("page.properties", "sceneA=type:SceneSprite\nkeep=1\n");
  ASSERT_TRUE(TemplateFactory::loadTemplate(page, dir(), "page.properties", true));
  // The link a person followed names a file that is not there: the page still shows its screen
  // (and with it its links), and its template is untouched.
  const int replacesBefore = page.replaces;
  EXPECT_FALSE(TemplateFactory::loadTemplate(page, folder.path() + "\\sub\\..\\",
                                             "absent.properties", true));
  ASSERT_FALSE(boxes().empty());
  // The path is shown resolved and with '/'.
  EXPECT_EQ(boxes().back().text, "Can not find the template file: " + dir() + "absent.properties.");
  EXPECT_NE(page.findScene("sceneA"), nullptr);
  EXPECT_EQ(page.replaces, replacesBefore);  // never asked to let go of its content
  EXPECT_EQ(page.templateName(), "page.properties");
  EXPECT_TRUE(page.pageTemplate().contains("keep"));
  EXPECT_EQ(page.pageTemplate().path(), dir() + "page.properties");
}

TEST_F(TemplateLoad, TheRootPageFallsBackToTheCoverAndEndsWhenThereIsNone) {
  platform::setGuiFolder(dir());
  auto makeRoot = [&]() -> scene::Canvas& {
    main_ = std::make_unique<platform::Window>("Skirrow", 0, false);
    EXPECT_TRUE(main_->create(0, 0, 240, 320));
    std::unique_ptr<scene::Canvas> root = scene::createRootCanvas(pageCreators());
    scene::Canvas* raw = root.get();
    EXPECT_TRUE(main_->addChild(std::move(root), 0, 0, 240, 320));
    drain();
    return *raw;
  };
  // A start on a screen that does not exist shows the box, then the cover.
  folder.write("cover.properties", "sceneCover=type:SceneSprite\n");
  scene::Canvas& root = makeRoot();
  EXPECT_TRUE(scene::loadRootTemplate(root, "nowhere.properties"));
  EXPECT_EQ(boxes().back().text,
            "Can not find the template file: " + dir() + "nowhere.properties.");
  EXPECT_EQ(root.templateName(), "cover.properties");
  EXPECT_NE(root.findScene("sceneCover"), nullptr);
  EXPECT_TRUE(root.isActive());
  // Later, on a page that shows something, a missing screen leaves it where it is.
  EXPECT_TRUE(scene::loadRootTemplate(root, "gone.properties"));
  EXPECT_EQ(root.templateName(), "cover.properties");

  // With no cover either there is no way on: after the boxes the main window closes, which
  // ends the program.
  std::remove((dir() + "cover.properties").c_str());
  size_t before = boxes().size();
  scene::Canvas& lost = makeRoot();
  host::Hwnd mainWindow = main_->hwnd();
  EXPECT_TRUE(scene::loadRootTemplate(lost, "nowhere.properties"));
  EXPECT_EQ(boxes().size(), before + 2);  // the screen asked for, then the cover
  host::Message m;
  bool closing = false;
  while (wm().peekMessage(m, true) && !closing)
    closing = m.message == host::WM_CLOSE && m.window == mainWindow;
  EXPECT_TRUE(closing);
}

TEST_F(TemplateLoad, KeywordsAreTestedExactly) {
  EXPECT_EQ(scene::objectTypeOf("Scene3D"), ObjectType::kScene3D);
  EXPECT_EQ(scene::objectTypeOf("LOD"), ObjectType::kLOD);
  EXPECT_EQ(scene::objectTypeOf("Lod"), std::nullopt);
  EXPECT_EQ(scene::objectTypeOf("Sprite "), std::nullopt);
  for (int i = 0; i < scene::kObjectTypeCount; ++i) {
    auto type = static_cast<ObjectType>(i);
    EXPECT_EQ(scene::objectTypeOf(scene::keywordOf(type)), type);
  }
}

TEST_F(TemplateLoad, RootPageIsAGamePageThatLoadsFromTheGuiFolder) {
  folder.write("cover.properties", "sceneGUI=type:SceneSprite\n");
  platform::setGuiFolder(dir());
  std::unique_ptr<scene::Canvas> root = scene::createRootCanvas(creators);
  EXPECT_EQ(root->title(), "gamePage");
  main_ = std::make_unique<platform::Window>("Skirrow", 0, false);
  ASSERT_TRUE(main_->create(0, 0, 240, 320));
  scene::Canvas* raw = root.get();
  ASSERT_TRUE(main_->addChild(std::move(root), 0, 0, 240, 320));
  EXPECT_TRUE(scene::loadRootTemplate(*raw, "cover.properties"));
  EXPECT_NE(raw->findScene("sceneGUI"), nullptr);
  EXPECT_EQ(raw->templateFolder(), dir());
  EXPECT_TRUE(raw->isActive());
  platform::Window plain("plain", 0, false);
  EXPECT_FALSE(scene::loadRootTemplate(plain, "cover.properties"));
}

}  // namespace
}  // namespace scene_test
