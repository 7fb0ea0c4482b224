// 3D content of page templates: Scene3D, Group3D (with copies), Chip3D, LOD, Fog and Light made
// by the factory, set up with the page's driver when the template is loaded, and drawn by the
// page into the scene's rectangle of the back buffer. A recording driver stands in for the
// renderers here; their pictures are tested with the drivers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../engine3d/ChunkWriter.h"
#include "PageFixture.h"
#include "TestPictures.h"
#include "engine3d/Material.h"
#include "engine3d/Mesh.h"
#include "engine3d/Primitives.h"
#include "engine3d/RendererDrivers.h"
#include "media/GuiCanvas.h"
#include "media/Scene3D.h"
#include "scene/TemplateFactory.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

// Draws nothing; remembers what each frame was given.
class RecordingRenderer : public engine3d::Renderer {
 public:
  explicit RecordingRenderer(engine3d::SceneView* scene)
      : Renderer(engine3d::kRendererSoftware, scene) {}
  void renderScene(float dt) override {
    ++frames;
    target = scene->drawTarget();
    Renderer::renderScene(dt);
  }
  void applyLights() override {}
  std::int32_t depthAt(int, int) override { return -1; }
  std::optional<std::string> describe() override { return "recording"; }
  void present() override {}
  int frames = 0;
  int meshesDrawn = 0;
  engine3d::PixelTarget target;

 protected:
  void drawMesh(const engine3d::DrawItem&, const engine3d::FaceSpans&) override { ++meshesDrawn; }
};

std::unique_ptr<engine3d::Renderer> makeRecorder(engine3d::SceneView* scene) {
  return std::make_unique<RecordingRenderer>(scene);
}
std::unique_ptr<engine3d::Camera> makeCamera(engine3d::SceneView* scene, int mode) {
  return std::make_unique<engine3d::Camera>(scene, mode);
}

// A tetrahedron "body" and a triangle "shadow" as one 3DS file.
std::string model() {
  engine3d_test::ChunkWriter w;
  w.begin(0x4D4D).begin(0x3D3D);
  w.begin(0x4000).str("body").begin(0x4100);
  w.vertices({0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1});
  w.begin(0x4120).faces({0, 1, 2, 0, 1, 3, 0, 2, 3, 1, 2, 3}).end();
  w.end().end();
  w.begin(0x4000).str("shadow").begin(0x4100);
  w.vertices({-4, 0, -4, 4, 0, -4, 0, 0, 4});
  w.begin(0x4120).faces({0, 1, 2}).end();
  w.end().end();
  w.end().end();
  return w.text();
}

constexpr const char* kPage =
    "sceneBack=type:Scene3D, width:240, height:320\n"
    "scene3D=type:Scene3D, x:0, y:40, width:240, height:200, ambient:(10;20;30), "
    "zBufferProviderScene:sceneBack\n"
    "heli=type:Group3D, container:scene3D, model:heli.3ds, radius:2, number:2, detailLevel:1, "
    "billboard:1, cullingPolicy:2, environmentEnabled:0, unwantedObjectsWhenNormalize:shadow\n"
    "chip=type:Chip3D, container:scene3D, texture:tex.bmp, width:2, height:1, radius:0.5, "
    "orientation:0, visible:0\n"
    "lodHeli=type:LOD, container:heli0, model:( heli.3ds ; gone.3ds ), levelNum:2, "
    "segment:50, radius:2\n"
    "fog=type:Fog, container:scene3D, front:10, back:90, color:(200;200;200)\n"
    "sun=type:Light, container:scene3D, dir:(0;0;2), color:(255;128;0)\n"
    "lost=type:Group3D, container:nowhere, model:heli.3ds\n"
    "broken=type:Group3D, container:scene3D, model:missing.3ds\n";

class Scene3DTemplate : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    ASSERT_TRUE(runtime().drivers().add(engine3d::kRendererSoftware, {makeRecorder, makeCamera}));
    folder.write("heli.3ds", model());
    BmpDescription d;
    d.width = 8;
    d.height = 8;
    auto bytes = makeBmp(d, [](int x, int) { return x < 4 ? 0xFF0000u : 0x00FF00u; });
    folder.write("tex.bmp", std::string(bytes.begin(), bytes.end()));
    folder.write("page.properties", kPage);
    page = &makePageOf<GuiCanvas>(runtime(), "gamePage", true);
    scene::TemplateFactory::loadTemplate(*page, folder.path() + "/", "page.properties", true);
    world = dynamic_cast<Scene3D*>(page->findScene("scene3D"));
    ASSERT_NE(world, nullptr);
  }
  testing_support::TempFolder folder;
  GuiCanvas* page = nullptr;
  Scene3D* world = nullptr;
};

TEST_F(Scene3DTemplate, GroupsChipsLightsAndFogAreMadeFromTheTemplate) {
  engine3d::SceneView& view = world->view();
  ASSERT_EQ(view.groupCount(), 3);  // heli0, heli1, chip; the broken model made nothing
  engine3d::Group3D* heli0 = world->findGroup("heli0");
  engine3d::Group3D* heli1 = world->findGroup("heli1");
  ASSERT_NE(heli0, nullptr);
  ASSERT_NE(heli1, nullptr);
  EXPECT_EQ(view.group(0), heli0);
  EXPECT_EQ(heli0->name, "heli0");
  EXPECT_TRUE(heli1->isClone);
  EXPECT_FLOAT_EQ(heli0->radius, 2.0f);
  EXPECT_EQ(heli0->billboard, 1);
  EXPECT_EQ(heli0->cullingPolicy, 2);
  EXPECT_EQ(heli0->firstMaterial() ? heli0->firstMaterial()->shadingMode : 1, 1);
  EXPECT_FALSE(heli0->firstMesh()->fogEnabled);
  // Normalised without the shadow: the body's 1-unit box became 4 units (radius 2).
  EXPECT_NEAR(heli0->size.x, 4.0f, 1e-3f);
  // Levels on heli0 only (the copy was made before); the missing file is left out.
  EXPECT_EQ(heli0->levelCount(), 1);
  EXPECT_EQ(heli1->levelCount(), 0);

  auto* chip = dynamic_cast<engine3d::Chip3D*>(world->findGroup("chip"));
  ASSERT_NE(chip, nullptr);
  EXPECT_FALSE(chip->visible);
  EXPECT_FLOAT_EQ(chip->fullWidth, 2.0f);
  ASSERT_NE(chip->firstMaterial(), nullptr);
  EXPECT_NE(chip->firstMaterial()->texture, nullptr);
  EXPECT_EQ(chip->firstMaterial()->texture->width(), 8);

  ASSERT_EQ(view.lightCount(), 1);
  EXPECT_FLOAT_EQ(view.light(0)->direction.z, 1.0f);  // normalised
  EXPECT_EQ(view.light(0)->diffuse, 0xFF8000u);
  ASSERT_NE(view.fog(), nullptr);
  EXPECT_EQ(view.fog()->front, 10);
  EXPECT_EQ(view.fog()->back, 90);
  EXPECT_EQ(view.fog()->colour, 0xC8C8C8u);
  EXPECT_EQ(view.ambient(), 0x0A141Eu);
  auto* back = dynamic_cast<Scene3D*>(page->findScene("sceneBack"));
  EXPECT_EQ(view.zBufferProviderScene(), &back->view());
  EXPECT_EQ(back->view().zBufferProviderScene(), nullptr);
  EXPECT_EQ(page->findObject("lost"), nullptr);

  // The missing model was reported as the loader words it.
  ASSERT_FALSE(boxes().empty());
  EXPECT_NE(boxes().back().text.find("missing.3ds"), std::string::npos) << boxes().back().text;
}

TEST_F(Scene3DTemplate, TheLoadSetsUpTheDriverAndFramesDrawIntoTheScenesRectangle) {
  auto* renderer = dynamic_cast<RecordingRenderer*>(world->renderer());
  ASSERT_NE(renderer, nullptr);
  ASSERT_NE(world->camera(), nullptr);
  int w = 0, h = 0;
  world->camera()->getViewport(w, h);
  EXPECT_EQ(w, 240);
  EXPECT_EQ(h, 200);
  // Set up once: a second load of the page makes new scenes with new renderers, but setting
  // up again keeps the renderer.
  EXPECT_TRUE(world->setUp3D(runtime().drivers(), engine3d::kRendererSoftware, true));
  EXPECT_EQ(world->renderer(), renderer);

  page->drawScenes();
  EXPECT_EQ(renderer->frames, 1);
  // The scene lies 40 rows down the page's 16-bit back buffer.
  const platform::BackBuffer* buffer = page->backBuffer();
  ASSERT_TRUE(renderer->target.valid());
  EXPECT_EQ(renderer->target.bits,
            reinterpret_cast<uint8_t*>(buffer->pixels()) + 40 * buffer->pitch());
  EXPECT_EQ(renderer->target.width, 240);
  EXPECT_EQ(renderer->target.height, 200);
  EXPECT_EQ(renderer->target.bitsPerPixel, 16);
  EXPECT_EQ(renderer->target.stride, buffer->pitch());
  // Only between frames is there no target.
  EXPECT_FALSE(world->view().drawTarget().valid());

  // The scene's colour fills its rectangle before the models, and nothing outside it.
  world->bkgColor = 0xFF0000;
  page->drawScenes();
  auto pixel = [&](int x, int y) {
    return reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(buffer->pixels()) +
                                             y * buffer->pitch())[x];
  };
  EXPECT_EQ(pixel(0, 40), 0xF800);
  EXPECT_EQ(pixel(239, 239), 0xF800);
  EXPECT_NE(pixel(0, 39), 0xF800);
  EXPECT_NE(pixel(0, 240), 0xF800);
}

TEST_F(Scene3DTemplate, EyeAndTargetPlaceTheFirstCamera) {
  folder.write("view.properties",
               "sceneView=type:Scene3D, eye:(1;2;-3), target:(0;1;0)\n"
               "sceneDefault=type:Scene3D\n");
  scene::TemplateFactory::loadTemplate(*page, folder.path() + "/", "view.properties", true);
  auto* placed = dynamic_cast<Scene3D*>(page->findScene("sceneView"));
  auto* plain = dynamic_cast<Scene3D*>(page->findScene("sceneDefault"));
  ASSERT_TRUE(placed && placed->camera() && plain && plain->camera());
  EXPECT_FLOAT_EQ(placed->camera()->eye().y, 2.0f);
  EXPECT_FLOAT_EQ(placed->camera()->target().y, 1.0f);
  EXPECT_FLOAT_EQ(plain->camera()->eye().z, -10.0f);
}

TEST_F(Scene3DTemplate, AnUnknownDriverLeavesTheSceneWithoutOutput) {
  auto fresh = std::make_unique<Scene3D>();
  Scene3D* raw = fresh.get();
  raw->width = 10;
  raw->height = 10;
  EXPECT_FALSE(
      raw->setUp3D(runtime().drivers(), engine3d::kRendererSoftware, true));  // not on a page yet
  page->addScene("late", std::move(fresh));
  EXPECT_FALSE(raw->setUp3D(runtime().drivers(), 7, true));
  EXPECT_EQ(raw->renderer(), nullptr);
  page->drawScenes();  // draws nothing, and does not fail
}

}  // namespace
}  // namespace media::testing
