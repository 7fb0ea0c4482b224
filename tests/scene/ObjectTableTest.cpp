// Page object tables: typed pointers bound by name and kind after each template load, cleared
// before the objects go (replace, a failed replace, removed scenes, the window's end), families
// of numbered keys, and the rows as requirements for the content validator.
#include "scene/ObjectTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CanvasFixture.h"
#include "scene/TemplateFactory.h"
#include "support/TempFolder.h"

namespace scene_test {
namespace {

using scene::ObjectRequirement;
using scene::ObjectType;
using scene::TemplateFactory;

// Stand-ins for the media layer's kinds: a sprite, a native control, a sound and a font.
struct TestSprite : scene::SceneObject {
  using SceneObject::SceneObject;
};
struct TestControl : scene::SceneObject {
  using SceneObject::SceneObject;
};
struct TestSound : scene::PageSound {
  State state() const override { return kStopped; }
  void play(host::Hwnd, int) override {}
  void playOnce(host::Hwnd) override {}
  void stop() override {}
  void pause() override {}
  void resume() override {}
};
struct TestFont : scene::PageResource {};

struct PageObjects {
  RecordingScene* gui = nullptr;
  TestSprite* title = nullptr;
  std::array<TestSprite*, 3> health{};
  TestSprite* control = nullptr;  // the template makes it a native control: another kind
  TestSound* engine = nullptr;
  TestFont* font = nullptr;
  TestSprite* absent = nullptr;
};

using Table = scene::ObjectTable<PageObjects>;

const Table& pageTable() {
  static const Table table(
      "page.properties",
      {
          Table::object<&PageObjects::gui>("sceneGUI", ObjectType::kSceneSprite),
          Table::object<&PageObjects::title>("txtTitle", ObjectType::kSprite),
          Table::object<&PageObjects::health>("sptHealth%d", ObjectType::kSprite),
          Table::object<&PageObjects::control>("btnMixed", ObjectType::kSprite),
          Table::object<&PageObjects::engine>("engine", ObjectType::kWaveSound),
          Table::object<&PageObjects::font>("fontGreen", ObjectType::kBitmapFont),
          Table::object<&PageObjects::absent>("sptNowhere", ObjectType::kSprite),
          Table::declared("collision%d", ObjectType::kWaveSound, 3),
          Table::property("soundEffect"),
          Table::command("StartGame"),
      });
  return table;
}

constexpr const char* kPage =
    "sceneGUI=type:SceneSprite\n"
    "sceneOther=type:SceneSprite\n"
    "txtTitle=type:Sprite, container:sceneGUI\n"
    "sptHealth0=type:Sprite, container:sceneGUI\n"
    "sptHealth1=type:Sprite, container:sceneOther\n"
    "btnMixed=type:AWTComponent, container:sceneGUI\n"
    "engine=type:WaveSound, src:engine.wav\n"
    "fontGreen=type:BitmapFont, bitmap:f.bmp\n";

class ObjectTableTest : public CanvasTest {
 protected:
  void SetUp() override {
    CanvasTest::SetUp();
    creators.set(ObjectType::kSceneSprite, [](const scene::CreateRequest& r) {
      auto s =
          std::make_unique<RecordingScene>(scene::Scene::kSprite, nullptr, std::string(r.name));
      TemplateFactory::applySceneItems(*s, r);
      r.canvas.addScene(r.name, std::move(s));
    });
    creators.set(ObjectType::kSprite, [](const scene::CreateRequest& r) {
      if (r.containerScene) r.containerScene->addObject(std::make_unique<TestSprite>(r.name));
    });
    creators.set(ObjectType::kAWTComponent, [](const scene::CreateRequest& r) {
      if (r.containerScene) r.containerScene->addObject(std::make_unique<TestControl>(r.name));
    });
    creators.set(ObjectType::kWaveSound, [](const scene::CreateRequest& r) {
      r.canvas.registerSound(r.name, "engine.wav",
                             [](const std::string&) { return std::make_unique<TestSound>(); });
    });
    creators.set(ObjectType::kBitmapFont, [](const scene::CreateRequest& r) {
      r.canvas.bitmapFonts().put(std::string(r.name), std::make_unique<TestFont>());
    });
    folder.write("page.properties", kPage);
    folder.write("other.properties", "sceneGUI=type:SceneSprite\n");
    folder.write("extra.properties", "sptHealth2=type:Sprite, container:sceneOther\n");
  }
  void load(scene::Canvas& page, const std::string& file, bool replace = true) {
    TemplateFactory::loadTemplate(page, folder.path() + "/", file, replace);
  }

  testing_support::TempFolder folder;
};

TEST_F(ObjectTableTest, ALoadBindsEveryKindByNameAndLeavesTheRestNull) {
  RecordingCanvas& page = makePage();
  scene::BoundObjects<PageObjects> objects(page, pageTable());
  EXPECT_EQ(objects->gui, nullptr);  // nothing loaded yet
  load(page, "page.properties");
  EXPECT_EQ(objects->gui, page.findScene("sceneGUI"));
  EXPECT_EQ(objects->title, page.findObject("txtTitle"));
  EXPECT_EQ(objects->health[0], page.findObject("sptHealth0"));
  EXPECT_EQ(objects->health[1], page.findObject("sptHealth1"));  // in the other scene
  EXPECT_EQ(objects->health[2], nullptr);
  EXPECT_EQ(objects->engine, page.findSound("engine"));
  EXPECT_NE(objects->engine, nullptr);
  EXPECT_EQ(objects->font, page.getBitmapFont("fontGreen"));
  EXPECT_NE(objects->font, nullptr);
  // An object of another kind under the name is not the page's: null, as a missing one.
  EXPECT_NE(page.findObject("btnMixed"), nullptr);
  EXPECT_EQ(objects->control, nullptr);
  EXPECT_EQ(objects->absent, nullptr);
}

TEST_F(ObjectTableTest, AMergeAddsToTheBoundObjectsAndAReplaceRebindsThemAll) {
  RecordingCanvas& page = makePage();
  scene::BoundObjects<PageObjects> objects(page, pageTable());
  load(page, "page.properties");
  TestSprite* title = objects->title;
  load(page, "extra.properties", false);
  EXPECT_EQ(objects->title, title);
  EXPECT_EQ(objects->health[2], page.findObject("sptHealth2"));
  EXPECT_NE(objects->health[2], nullptr);
  // The new template has a scene of the same name and nothing else: everything else is null.
  load(page, "other.properties");
  EXPECT_EQ(objects->gui, page.findScene("sceneGUI"));
  EXPECT_NE(objects->gui, nullptr);
  EXPECT_EQ(objects->title, nullptr);
  EXPECT_EQ(objects->engine, nullptr);
  EXPECT_EQ(objects->font, nullptr);
  for (TestSprite* bar : objects->health) EXPECT_EQ(bar, nullptr);
}

TEST_F(ObjectTableTest, AReplaceThatFailsKeepsThePageAndItsBindings) {
  RecordingCanvas& page = makePage();
  scene::BoundObjects<PageObjects> objects(page, pageTable());
  load(page, "page.properties");
  ASSERT_NE(objects->title, nullptr);
  load(page, "absent.properties");  // not there: the page keeps what it showed
  EXPECT_EQ(objects->gui, page.findScene("sceneGUI"));
  EXPECT_NE(objects->gui, nullptr);
  EXPECT_EQ(objects->title, page.findObject("txtTitle"));
  EXPECT_NE(objects->engine, nullptr);
}

TEST_F(ObjectTableTest, RemovingAScenePutsOnlyItsObjectsToNull) {
  RecordingCanvas& page = makePage();
  scene::BoundObjects<PageObjects> objects(page, pageTable());
  load(page, "page.properties");
  page.removeScene(page.findScene("sceneOther"));
  EXPECT_EQ(objects->health[1], nullptr);
  EXPECT_EQ(objects->health[0], page.findObject("sptHealth0"));
  EXPECT_NE(objects->title, nullptr);
  EXPECT_NE(objects->engine, nullptr);
  page.removeAllScenes();
  EXPECT_EQ(objects->gui, nullptr);
  EXPECT_EQ(objects->health[0], nullptr);
}

TEST_F(ObjectTableTest, ObjectsAddedInCodeAreFoundWhenThePageBindsAgain) {
  RecordingCanvas& page = makePage();
  scene::BoundObjects<PageObjects> objects(page, pageTable());
  auto scene = std::make_unique<RecordingScene>(scene::Scene::kSprite, nullptr, "gui");
  scene->addObject(std::make_unique<TestSprite>("txtTitle"));
  page.addScene("sceneGUI", std::move(scene));
  EXPECT_EQ(objects->gui, nullptr);
  page.bindObjects();
  EXPECT_EQ(objects->gui, page.findScene("sceneGUI"));
  EXPECT_EQ(objects->title, page.findObject("txtTitle"));
}

TEST_F(ObjectTableTest, TheWindowsEndClearsThemAndAnEndedSetIsForgotten) {
  RecordingCanvas& page = makePage();
  auto objects = std::make_unique<scene::BoundObjects<PageObjects>>(page, pageTable());
  auto later = std::make_unique<scene::BoundObjects<PageObjects>>(page, pageTable());
  load(page, "page.properties");
  ASSERT_NE((*objects)->title, nullptr);
  // A set that ends before the page is not bound again (the sanitizers would see it).
  later.reset();
  load(page, "page.properties");
  EXPECT_NE((*objects)->title, nullptr);
  ASSERT_TRUE(page.destroy());
  EXPECT_EQ((*objects)->gui, nullptr);
  EXPECT_EQ((*objects)->title, nullptr);
  EXPECT_EQ((*objects)->engine, nullptr);
}

TEST(ObjectTableRows, AreTheRequirementsOfTheirTemplate) {
  const scene::TemplateRequirements& needs = pageTable().requirements();
  EXPECT_EQ(needs.file, "page.properties");
  ASSERT_EQ(needs.objects.size(), 10u);
  const ObjectRequirement& health = needs.objects[2];
  EXPECT_EQ(health.form, ObjectRequirement::Form::kObject);
  EXPECT_EQ(health.type, ObjectType::kSprite);
  EXPECT_EQ(health.count, 3);  // from the array's size
  EXPECT_EQ(health.key(0), "sptHealth0");
  EXPECT_EQ(health.key(2), "sptHealth2");
  EXPECT_EQ(needs.objects[4].type, ObjectType::kWaveSound);
  EXPECT_EQ(needs.objects[0].count, 0);
  EXPECT_EQ(needs.objects[0].key(5), "sceneGUI");  // a single key has no number
  const ObjectRequirement& collisions = needs.objects[7];
  EXPECT_EQ(collisions.count, 3);
  EXPECT_EQ(collisions.key(1), "collision1");
  EXPECT_EQ(needs.objects[8].form, ObjectRequirement::Form::kProperty);
  EXPECT_EQ(needs.objects[8].name, "soundEffect");
  EXPECT_EQ(needs.objects[9].form, ObjectRequirement::Form::kCommand);
  EXPECT_EQ(needs.objects[9].name, "StartGame");
}

TEST(ObjectTableRows, FamilyKeysTakeTheNumberWhereThePatternHasIt) {
  ObjectRequirement middle{"row%dName", ObjectRequirement::Form::kObject, ObjectType::kSprite, 12};
  EXPECT_EQ(middle.key(11), "row11Name");
  EXPECT_EQ(middle.key(0), "row0Name");
  static_assert(scene::table_detail::isFamilyPattern("sptHealth%d"));
  static_assert(!scene::table_detail::isFamilyPattern("sptHealth"));
  static_assert(!scene::table_detail::isFamilyPattern("a%d%d"));
  static_assert(!scene::table_detail::isFamilyPattern("a%s"));
}

// Two pages built with different creator tables each make what their own table knows.
TEST_F(CanvasTest, EachPageBuildsItsTemplatesWithItsOwnCreators) {
  testing_support::TempFolder files;
  files.write("p.properties", "sceneA=type:SceneSprite\n");
  scene::CreatorTable sprites;
  sprites.set(ObjectType::kSceneSprite, [](const scene::CreateRequest& r) {
    r.canvas.addScene(r.name,
                      std::make_unique<RecordingScene>(scene::Scene::kSprite, nullptr, "a"));
  });
  scene::CreatorTable none;
  main_ = std::make_unique<platform::Window>("Skirrow", 0, false);
  ASSERT_TRUE(main_->create(0, 0, 240, 320));
  auto first = std::make_unique<scene::Canvas>("one", true, sprites);
  auto second = std::make_unique<scene::Canvas>("two", true, none);
  scene::Canvas* one = first.get();
  scene::Canvas* two = second.get();
  ASSERT_TRUE(main_->addChild(std::move(first), 0, 0, 240, 320));
  ASSERT_TRUE(main_->addChild(std::move(second), 0, 0, 240, 320));
  EXPECT_EQ(&one->creators(), &sprites);
  TemplateFactory::loadTemplate(*one, files.path() + "/", "p.properties", true);
  TemplateFactory::loadTemplate(*two, files.path() + "/", "p.properties", true);
  EXPECT_NE(one->findScene("sceneA"), nullptr);
  EXPECT_EQ(two->findScene("sceneA"), nullptr);  // a type without a creator is left out
  EXPECT_FALSE(none.has(ObjectType::kSceneSprite));
  EXPECT_TRUE(sprites.has(ObjectType::kSceneSprite));
  main_.reset();  // the pages go before their tables
}

}  // namespace
}  // namespace scene_test
