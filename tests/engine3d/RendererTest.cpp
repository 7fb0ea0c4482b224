#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/Camera.h"
#include "engine3d/Group3D.h"
#include "engine3d/Renderer.h"
#include "engine3d/RendererDrivers.h"
#include "engine3d/SceneView.h"

namespace engine3d {
namespace {

// A scene of groups and a camera; it notes its background step in the shared call log.
class TestScene : public SceneView {
 public:
  TestScene() {
    camera_ = std::make_unique<Camera>(this, 0);
    camera_->setViewport(240, 320);
    camera_->setPerspective(45.0f, 1.0f, 10000.0f);
    // From the origin looking down +z with y up: eye space is world space.
    camera_->setEye(0, 0, 0);
    camera_->setTarget(0, 0, 1);
  }

  int groupCount() const override { return static_cast<int>(groups_.size()); }
  Group3D* group(int index) const override { return groups_[index].get(); }
  Camera* camera() const override { return withCamera ? camera_.get() : nullptr; }
  int width() const override { return 240; }
  int height() const override { return 320; }
  void drawBackgroundStep() override {
    if (log) log->push_back("sceneBackground");
  }

  // A group at `position` that never culls.
  Group3D& addGroup(const Vector3& position) {
    groups_.push_back(std::make_unique<Group3D>());
    Group3D& group = *groups_.back();
    group.localMatrix.setTranslation(position);
    group.cullingPolicy = kCullNever;
    return group;
  }

  Camera& cam() { return *camera_; }
  bool withCamera = true;
  std::vector<std::string>* log = nullptr;  // where the background step is noted

 private:
  std::unique_ptr<Camera> camera_;
  std::vector<std::unique_ptr<Group3D>> groups_;
};

struct DrawnMesh {
  const Mesh* mesh;
  const Group3D* group;
  std::int32_t sortKey;
  FaceSpans spans;
  float depth;  // eye-space z of the mesh origin
};

// A driver that draws nothing and records what a frame asks of it.
class RecordingRenderer : public Renderer {
 public:
  explicit RecordingRenderer(SceneView* scene) : Renderer(kRendererSoftware, scene) {}

  void applyLights() override { log.push_back("applyLights"); }
  std::int32_t depthAt(int, int) override { return -1; }
  std::optional<std::string> describe() override { return std::string("recording"); }
  void present() override { log.push_back("present"); }

  using Renderer::reserveVertexPool;
  using Renderer::vertexPoolSize;
  const Material* appliedMaterial() const { return lastMaterial; }

  std::vector<std::string> log;
  std::vector<DrawnMesh> drawn;
  std::vector<bool> materialResetSeen;

 protected:
  void makeTargetCurrent() override { log.push_back("makeTargetCurrent"); }
  void clearBackground() override {
    log.push_back("clearBackground");
    materialResetSeen.push_back(lastMaterial == nullptr);
  }
  void resetFogAndDepth() override { log.push_back("resetFogAndDepth"); }
  void drawMesh(const DrawItem& item, const FaceSpans& spans) override {
    log.push_back("drawMesh " + item.mesh->name);
    drawn.push_back({item.mesh, item.group, item.sortKey, spans, item.modelView.translation().z});
    lastMaterial = item.mesh->material;
    statistics_.verticesSubmitted += item.mesh->vertexCount();
    statistics_.trianglesDrawn += spans.count();
  }
  void finishFrame() override { log.push_back("finishFrame"); }
};

// A one-triangle mesh named `name` whose centre is its origin.
Mesh& addMesh(Group3D& group, const std::string& name, const Vector3& offset = {}) {
  auto mesh = std::make_unique<Mesh>();
  mesh->addVertex(0, 0, 0, 0, 0);
  mesh->addVertex(1, 0, 0, 0, 0);
  mesh->addVertex(0, 1, 0, 0, 0);
  mesh->addFace(0, 1, 2);
  mesh->localMatrix.setTranslation(offset);
  return *group.addMesh(name, std::move(mesh));
}

Material& giveMaterial(Group3D& group, Mesh& mesh, int transparency) {
  Material* material = group.addMaterial(mesh.name + "-material", std::make_unique<Material>());
  material->transparency = transparency;
  mesh.material = material;
  return *material;
}

std::vector<std::string> drawnNames(const RecordingRenderer& renderer) {
  std::vector<std::string> names;
  for (const DrawnMesh& d : renderer.drawn) names.push_back(d.mesh->name);
  return names;
}

TEST(RendererFrame, OpaqueMeshesComeFirstNearestFirstThenTransparentFarthestFirst) {
  TestScene scene;
  Group3D& group = scene.addGroup({0, 0, 0});
  giveMaterial(group, addMesh(group, "glass10", {0, 0, 10}), 128);
  giveMaterial(group, addMesh(group, "solid50", {0, 0, 50}), 0);
  giveMaterial(group, addMesh(group, "glass50", {0, 0, 50}), 128);
  giveMaterial(group, addMesh(group, "solid10", {0, 0, 10}), 0);
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);

  EXPECT_EQ(drawnNames(renderer),
            (std::vector<std::string>{"solid10", "solid50", "glass50", "glass10"}));
  // Keys: transparent 10z, opaque 65536 - 10z.
  ASSERT_EQ(renderer.drawn.size(), 4u);
  EXPECT_EQ(renderer.drawn[0].sortKey, 65536 - 100);
  EXPECT_EQ(renderer.drawn[1].sortKey, 65536 - 500);
  EXPECT_EQ(renderer.drawn[2].sortKey, 500);
  EXPECT_EQ(renderer.drawn[3].sortKey, 100);
  EXPECT_EQ(renderer.statistics().meshesQueued, 4);
  EXPECT_EQ(renderer.statistics().groupsDrawn, 1);
}

TEST(RendererFrame, DepthHundredGivesKeys1000And64536) {
  TestScene scene;
  Group3D& group = scene.addGroup({0, 0, 100});
  Mesh& glass = addMesh(group, "glass");
  giveMaterial(group, glass, 1);
  Mesh& solid = addMesh(group, "solid");
  giveMaterial(group, solid, 0);
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);
  EXPECT_EQ(drawnNames(renderer), (std::vector<std::string>{"solid", "glass"}));
  EXPECT_EQ(solid.sortKey, 64536);
  EXPECT_EQ(glass.sortKey, 1000);
}

TEST(RendererFrame, AnOpacityMapMakesAMeshTransparentUnlessAlphaTested) {
  TestScene scene;
  Group3D& group = scene.addGroup({0, 0, 20});
  auto map = std::make_shared<PixelTexture>(1, 1);
  giveMaterial(group, addMesh(group, "masked"), 0).opacityMap = map;
  Material& tested = giveMaterial(group, addMesh(group, "tested"), 0);
  tested.opacityMap = map;
  tested.alphaTest = true;
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);
  ASSERT_EQ(renderer.drawn.size(), 2u);
  EXPECT_EQ(renderer.drawn[0].mesh->name, "tested");
  EXPECT_EQ(renderer.drawn[0].sortKey, 65536 - 200);
  EXPECT_EQ(renderer.drawn[1].sortKey, 200);
}

TEST(RendererFrame, KeysUseTheViewTheGroupPlacementTheMeshMatrixAndTheMeshCentre) {
  TestScene scene;
  // The default camera: eye at z = -10 looking at the origin.
  scene.cam().setEye(0, 0, -10);
  scene.cam().setTarget(0, 0, 0);
  Group3D& group = scene.addGroup({0, 0, 5});
  Mesh& mesh = addMesh(group, "m", {0, 0, 20});
  mesh.centre = Vector3(0, 0, 0.5f);
  giveMaterial(group, mesh, 10);
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);
  // 10 (camera) + 5 (group) + 20 (mesh matrix) + 0.5 (centre) = 35.5, key trunc(355).
  ASSERT_EQ(renderer.drawn.size(), 1u);
  EXPECT_EQ(renderer.drawn[0].sortKey, 355);
  // The model-view matrix handed to the driver excludes the centre: 35.
  EXPECT_FLOAT_EQ(renderer.drawn[0].depth, 35.0f);
}

TEST(RendererFrame, ADriverFrameRunsItsStepsInOrder) {
  TestScene scene;
  Group3D& group = scene.addGroup({0, 0, 30});
  addMesh(group, "far", {0, 0, 10});
  addMesh(group, "near", {0, 0, -10});
  RecordingRenderer renderer(&scene);
  scene.log = &renderer.log;
  renderer.renderScene(0.1f);
  // present() is not among them: showing the frame is up to the driver's finishing step.
  EXPECT_EQ(renderer.log, (std::vector<std::string>{
                              "makeTargetCurrent", "clearBackground", "sceneBackground",
                              "resetFogAndDepth", "drawMesh near", "drawMesh far", "finishFrame"}));
  // The list is emptied once drawn.
  EXPECT_TRUE(renderer.drawList().empty());
}

TEST(RendererFrame, StatisticsDescribeTheLastFrameOnly) {
  TestScene scene;
  Group3D& shown = scene.addGroup({0, 0, 30});
  addMesh(shown, "a");
  addMesh(shown, "b");
  addMesh(shown, "hidden").visible = false;
  Group3D& hiddenGroup = scene.addGroup({0, 0, 40});
  addMesh(hiddenGroup, "c");
  hiddenGroup.visible = false;
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);
  renderer.renderScene(0.1f);
  EXPECT_EQ(renderer.statistics().groupsDrawn, 1);
  EXPECT_EQ(renderer.statistics().meshesQueued, 2);
  // Two meshes of three vertices and one face each, counted afresh in the second frame.
  EXPECT_EQ(renderer.statistics().verticesSubmitted, 6);
  EXPECT_EQ(renderer.statistics().trianglesDrawn, 2);
  EXPECT_EQ(renderer.drawn.size(), 4u);
}

TEST(RendererFrame, LastMaterialIsClearedAtTheStartOfEveryFrame) {
  TestScene scene;
  Group3D& group = scene.addGroup({0, 0, 30});
  giveMaterial(group, addMesh(group, "a"), 0);
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);
  EXPECT_NE(renderer.appliedMaterial(), nullptr);
  renderer.renderScene(0.0f);
  EXPECT_EQ(renderer.materialResetSeen, (std::vector<bool>{true, true}));
}

TEST(RendererFrame, WithoutACameraOnlyTheBackgroundIsDrawn) {
  TestScene scene;
  addMesh(scene.addGroup({0, 0, 30}), "a");
  scene.withCamera = false;
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);
  EXPECT_TRUE(renderer.drawn.empty());
  EXPECT_EQ(renderer.statistics().meshesQueued, 0);
  EXPECT_EQ(renderer.log.back(), "finishFrame");
}

// An animated picture that counts how often and by how much it advanced.
class CountingTexture : public Texture {
 public:
  int width() const override { return 1; }
  int height() const override { return 1; }
  bool animated() const override { return true; }
  void advance(float seconds) override {
    ++advances;
    total += seconds;
  }
  int advances = 0;
  float total = 0.0f;
};

TEST(RendererFrame, ATimeStepOfZeroLeavesFrameCountAndAnimationsAlone) {
  TestScene scene;
  auto picture = std::make_shared<CountingTexture>();
  // Two groups share one animated picture: it advances once per frame, not once per group.
  for (float z : {30.0f, 40.0f}) {
    Group3D& group = scene.addGroup({0, 0, z});
    giveMaterial(group, addMesh(group, "m"), 0).texture = picture;
  }
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.0f);
  EXPECT_EQ(renderer.frameCount(), 0u);
  EXPECT_EQ(picture->advances, 0);
  EXPECT_EQ(renderer.drawn.size(), 2u);  // it still draws

  renderer.renderScene(0.25f);
  EXPECT_EQ(renderer.frameCount(), 1u);
  EXPECT_EQ(picture->advances, 1);
  EXPECT_FLOAT_EQ(picture->total, 0.25f);

  renderer.renderScene(0.0f);
  EXPECT_EQ(renderer.frameCount(), 1u);
  EXPECT_EQ(picture->advances, 1);
  EXPECT_EQ(renderer.drawn.size(), 6u);

  renderer.renderScene(-1.0f);  // a negative step is not a new frame either
  EXPECT_EQ(renderer.frameCount(), 1u);
  renderer.renderScene(0.5f);
  EXPECT_EQ(renderer.frameCount(), 2u);
  EXPECT_EQ(picture->advances, 2);
}

// A group with three levels of detail switched every 100 units; each level holds one mesh
// named after it.
Group3D& addLevelledGroup(TestScene& scene, float depth) {
  Group3D& group = scene.addGroup({0, 0, depth});
  addMesh(group, "normal");
  std::vector<std::unique_ptr<Group3D>> levels;
  for (int i = 0; i < 3; ++i) {
    auto level = std::make_unique<Group3D>();
    addMesh(*level, "level" + std::to_string(i));
    levels.push_back(std::move(level));
  }
  group.setLevels(std::move(levels), 3, 100.0f);
  return group;
}

std::string levelDrawnAt(float depth) {
  TestScene scene;
  Group3D& group = addLevelledGroup(scene, depth);
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);
  if (renderer.drawn.size() != 1u) return "count " + std::to_string(renderer.drawn.size());
  // Level meshes are drawn on behalf of the group that uses them.
  if (renderer.drawn[0].group != &group) return "wrong group";
  return renderer.drawn[0].mesh->name;
}

TEST(RendererFrame, LevelOfDetailFollowsEyeDepth) {
  // Level index trunc(|z| / 100) - 1; below 0 the group's own meshes.
  EXPECT_EQ(levelDrawnAt(99.0f), "normal");
  EXPECT_EQ(levelDrawnAt(199.0f), "level0");
  EXPECT_EQ(levelDrawnAt(250.0f), "level1");
  EXPECT_EQ(levelDrawnAt(299.0f), "level1");
  EXPECT_EQ(levelDrawnAt(300.0f), "level2");
  EXPECT_EQ(levelDrawnAt(400.0f), "level2");
  EXPECT_EQ(levelDrawnAt(5000.0f), "level2");  // beyond the last level: the last
  EXPECT_EQ(levelDrawnAt(-250.0f), "level1");  // depth taken as a magnitude
}

TEST(RendererFrame, GroupCullingUsesTheGroupRadiusAndTheFovHalfAngle) {
  // 45 degrees: tanHalfFov1024 424. At depth 1000 with radius 1 (1.1 after growing) the limit
  // is 424 * ((1001.1 * 65536) >> 10) = 424 * 64070 = 27165680, 414.515 units; the group is
  // outside once |x| - 1.1 passes it, between 415.6 and 415.7.
  for (float x : {415.6f, -415.6f, 415.7f, -415.7f}) {
    TestScene scene;
    Group3D& group = scene.addGroup({x, 0, 1000});
    group.cullingPolicy = kCullGroup;
    group.radius = 1.0f;
    addMesh(group, "m");
    RecordingRenderer renderer(&scene);
    renderer.renderScene(0.1f);
    const bool inside = std::abs(x) < 415.65f;
    EXPECT_EQ(renderer.statistics().groupsDrawn, inside ? 1 : 0) << x;
    EXPECT_EQ(renderer.drawn.size(), inside ? 1u : 0u) << x;
  }
}

TEST(RendererFrame, MeshCullingTestsEachMeshAndStillCountsTheGroup) {
  // The 240 x 320 view reaches further up and down than sideways: x is bounded by
  // tanHalfFov1024 424 (the limit 414.515 units at depth 1000, radius 1.1), y by 566
  // (424 * 320 / 240 rounded up): 566 * 64070 = 36263620, 553.339 units.
  TestScene scene;
  Group3D& group = scene.addGroup({0, 0, 1000});
  group.cullingPolicy = kCullMesh;
  addMesh(group, "insideX", {415.6f, 0, 0}).radius = 1.0f;
  addMesh(group, "outsideX", {-415.7f, 0, 0}).radius = 1.0f;
  addMesh(group, "insideY", {0, 554.4f, 0}).radius = 1.0f;
  addMesh(group, "outsideY", {0, -554.5f, 0}).radius = 1.0f;
  addMesh(group, "beyondFar", {0, 0, 9002}).radius = 1.0f;
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);
  std::vector<std::string> names = drawnNames(renderer);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"insideX", "insideY"}));
  EXPECT_EQ(renderer.statistics().groupsDrawn, 1);
  EXPECT_EQ(renderer.statistics().meshesQueued, 2);
}

TEST(RendererFrame, AViewNoTallerThanWideBoundsYByTheHorizontalHalfAngle) {
  TestScene scene;
  scene.cam().setViewport(320, 240);
  Group3D& group = scene.addGroup({0, 0, 1000});
  group.cullingPolicy = kCullMesh;
  addMesh(group, "inside", {0, 415.6f, 0}).radius = 1.0f;
  addMesh(group, "outside", {0, 415.7f, 0}).radius = 1.0f;
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);
  EXPECT_EQ(drawnNames(renderer), (std::vector<std::string>{"inside"}));
  EXPECT_EQ(renderer.statistics().groupsDrawn, 1);
  EXPECT_EQ(renderer.statistics().meshesQueued, 1);
}

// A floor of 100 x 70 units about the origin of its group, its bounds computed: radius 50
// (half its longest side), size (100, 0, 70), half-diagonal 61.03.
Mesh& addFloor(Group3D& group) {
  auto mesh = std::make_unique<Mesh>();
  mesh->addVertex(-50, 0, -35, 0, 0);
  mesh->addVertex(50, 0, -35, 0, 0);
  mesh->addVertex(50, 0, 35, 0, 0);
  mesh->addVertex(-50, 0, 35, 0, 0);
  mesh->addFace(0, 1, 2);
  mesh->addFace(0, 2, 3);
  Mesh* added = group.addMesh("ground", std::move(mesh));
  added->prepare(true);
  return *added;
}

TEST(RendererFrame, CullingKeepsTheCornersOfAFlatMeshInView) {
  // An eye 2 units above the floor near its (+x, +z) corner, looking into that corner: the
  // floor's centre lies 56.8 units behind the eye, beyond its radius grown by a tenth (55), yet
  // the floor ahead of the eye is in view. Half the box's diagonal (61.03) holds the corner.
  for (const int policy : {kCullMesh, kCullGroup}) {
    TestScene scene;
    const Vector3 corner(50, -20, 35);
    const Vector3 eye(46.5f, -18, 32.5f);
    scene.cam().setEye(eye);
    scene.cam().setTarget(corner + (corner - Vector3(0, -20, 0)) * 0.1f);
    Group3D& group = scene.addGroup({0, -20, 0});
    group.cullingPolicy = policy;
    Mesh& floor = addFloor(group);
    ASSERT_FLOAT_EQ(floor.radius, 50.0f);
    group.radius = 50.0f;
    group.size = floor.size;
    RecordingRenderer renderer(&scene);
    renderer.renderScene(0.1f);
    const Vector3 centre = scene.cam().viewMatrix().transformPoint({0, -20, 0});
    EXPECT_LT(centre.z, 1.0f - 55.0f) << "the centre is beyond the radius behind the eye";
    EXPECT_EQ(drawnNames(renderer), (std::vector<std::string>{"ground"})) << policy;
  }
}

TEST(CullingRadius, IsTheLargerOfTheRadiusAndHalfTheBoxDiagonal) {
  EXPECT_FLOAT_EQ(cullingRadius(50.0f, {100, 0, 70}), 61.032778f);
  EXPECT_FLOAT_EQ(cullingRadius(1.0f, {}), 1.0f);  // no bounds computed: the radius as given
  EXPECT_FLOAT_EQ(cullingRadius(3.0f, {2, 2, 2}), 3.0f);
  // A cube of side 2 reaches sqrt(3) from its centre.
  EXPECT_FLOAT_EQ(cullingRadius(1.0f, {2, 2, 2}), std::sqrt(3.0f));
}

TEST(RendererFrame, GroupsThatNeverCullAreDrawnBeyondTheFarPlane) {
  TestScene scene;
  addMesh(scene.addGroup({0, 0, 20000}), "far");
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);
  EXPECT_EQ(renderer.statistics().groupsDrawn, 1);
  EXPECT_EQ(renderer.drawn.size(), 1u);
}

TEST(SphereOutside, TheThousandUnitExample) {
  const std::int32_t nearFixed = 65536;         // 1.0
  const std::int32_t farFixed = 10000 * 65536;  // 10000.0
  EXPECT_FALSE(sphereOutside({415.6f, 0, 1000}, 1.0f, nearFixed, farFixed, 424));
  EXPECT_TRUE(sphereOutside({415.7f, 0, 1000}, 1.0f, nearFixed, farFixed, 424));
  // Given one half-angle, it bounds y too.
  EXPECT_FALSE(sphereOutside({0, -415.6f, 1000}, 1.0f, nearFixed, farFixed, 424));
  EXPECT_TRUE(sphereOutside({0, -415.7f, 1000}, 1.0f, nearFixed, farFixed, 424));
  // A vertical half-angle of its own bounds y alone.
  EXPECT_FALSE(sphereOutside({0, -554.4f, 1000}, 1.0f, nearFixed, farFixed, 424, 566));
  EXPECT_TRUE(sphereOutside({0, -554.5f, 1000}, 1.0f, nearFixed, farFixed, 424, 566));
  EXPECT_TRUE(sphereOutside({415.7f, 0, 1000}, 1.0f, nearFixed, farFixed, 424, 566));
}

TEST(SphereOutside, DepthIsTestedAgainstNearAndFarWidenedByTheRadius) {
  const std::int32_t nearFixed = 65536;
  const std::int32_t farFixed = 10000 * 65536;
  // r' = trunc(65536 * 1.1) = 72089, 1.1 units. Near: outside below 1 - 1.1 = -0.1.
  EXPECT_FALSE(sphereOutside({0, 0, -0.09f}, 1.0f, nearFixed, farFixed, 424));
  EXPECT_TRUE(sphereOutside({0, 0, -0.11f}, 1.0f, nearFixed, farFixed, 424));
  // Far: outside beyond 10001.1.
  EXPECT_FALSE(sphereOutside({0, 0, 10001.0f}, 1.0f, nearFixed, farFixed, 424));
  EXPECT_TRUE(sphereOutside({0, 0, 10001.2f}, 1.0f, nearFixed, farFixed, 424));
  // A point sphere on the axis between them is inside.
  EXPECT_FALSE(sphereOutside({0, 0, 500}, 0.0f, nearFixed, farFixed, 424));
}

TEST(FaceSpans, RangesPlainWrappedAndWhole) {
  Mesh mesh;
  for (int i = 0; i < 8; ++i) mesh.addFace(0, 0, 0);
  auto spans = [&mesh](int first, int last) {
    mesh.firstFace = first;
    mesh.lastFace = last;
    const FaceSpans s = faceSpans(mesh);
    return std::vector<int>{s.first0, s.end0, s.first1, s.end1};
  };
  EXPECT_EQ(spans(-1, -1), (std::vector<int>{0, 8, 0, 0}));
  EXPECT_EQ(spans(3, -1), (std::vector<int>{0, 8, 0, 0}));
  EXPECT_EQ(spans(-1, 3), (std::vector<int>{0, 8, 0, 0}));
  EXPECT_EQ(spans(2, 5), (std::vector<int>{2, 5, 0, 0}));
  // Wrapped: from 5 to the end, then faces 0 and 1.
  EXPECT_EQ(spans(5, 2), (std::vector<int>{5, 8, 0, 2}));
  EXPECT_EQ(spans(7, 0), (std::vector<int>{7, 8, 0, 0}));
  EXPECT_EQ(spans(4, 4), (std::vector<int>{4, 4, 0, 0}));
  // Past the end: clamped to the face count.
  EXPECT_EQ(spans(6, 20), (std::vector<int>{6, 8, 0, 0}));
  EXPECT_EQ(spans(20, 3), (std::vector<int>{8, 8, 0, 3}));
}

TEST(RendererFrame, TheDriverGetsTheWrappedFaceRange) {
  TestScene scene;
  Group3D& group = scene.addGroup({0, 0, 30});
  Mesh& mesh = addMesh(group, "strip");
  for (int i = 0; i < 5; ++i) mesh.addFace(0, 1, 2);  // six faces now
  mesh.firstFace = 4;
  mesh.lastFace = 1;
  RecordingRenderer renderer(&scene);
  renderer.renderScene(0.1f);
  ASSERT_EQ(renderer.drawn.size(), 1u);
  const FaceSpans& s = renderer.drawn[0].spans;
  EXPECT_EQ(s.first0, 4);
  EXPECT_EQ(s.end0, 6);
  EXPECT_EQ(s.first1, 0);
  EXPECT_EQ(s.end1, 1);
  EXPECT_EQ(renderer.statistics().trianglesDrawn, 3);  // faces 4, 5 and 0
}

std::vector<DrawItem> itemsWithKeys(const std::vector<std::int32_t>& keys) {
  std::vector<DrawItem> items(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    items[i].sortKey = keys[i];
    items[i].group = reinterpret_cast<Group3D*>(i + 1);  // a tag telling entries apart
  }
  return items;
}

std::vector<std::uintptr_t> tags(const std::vector<DrawItem>& items) {
  std::vector<std::uintptr_t> out;
  for (const DrawItem& item : items) out.push_back(reinterpret_cast<std::uintptr_t>(item.group));
  return out;
}

TEST(SortDrawList, EqualKeysComeOutInThePartitioningsOrder) {
  // Three equal keys A B C: pivot 5; swap A and C, then B with itself: C B A.
  auto three = itemsWithKeys({5, 5, 5});
  sortDrawList(three.data(), 0, 2);
  EXPECT_EQ(tags(three), (std::vector<std::uintptr_t>{3, 2, 1}));
  // A3 B7 C3 D7: pivot 5; swap A and D (D B C A), the scans cross at B | C; each half of
  // two equal keys is then swapped: B D A C.
  auto four = itemsWithKeys({3, 7, 3, 7});
  sortDrawList(four.data(), 0, 3);
  EXPECT_EQ(tags(four), (std::vector<std::uintptr_t>{2, 4, 1, 3}));
}

TEST(SortDrawList, SortsDescendingAndKeepsEveryEntry) {
  std::vector<std::int32_t> keys;
  // A fixed scramble with repeats and negative keys.
  for (int i = 0; i < 200; ++i) keys.push_back((i * 7919) % 61 - 20);
  auto items = itemsWithKeys(keys);
  sortDrawList(items.data(), 0, static_cast<int>(items.size()) - 1);
  std::vector<bool> seen(items.size() + 1, false);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) {
      EXPECT_GE(items[i - 1].sortKey, items[i].sortKey) << i;
    }
    const auto tag = reinterpret_cast<std::uintptr_t>(items[i].group);
    EXPECT_EQ(items[i].sortKey, keys[tag - 1]);  // the entry still carries its own key
    EXPECT_FALSE(seen[tag]);
    seen[tag] = true;
  }
}

TEST(SortDrawList, EndKeysFarApartDoNotOverflowThePivot) {
  auto items = itemsWithKeys({INT32_MAX, 0, INT32_MAX - 1, -5});
  sortDrawList(items.data(), 0, 3);
  EXPECT_EQ(tags(items), (std::vector<std::uintptr_t>{1, 3, 2, 4}));
}

TEST(RendererVertexPool, GrowsInStepsOf256AndNeverShrinks) {
  RecordingRenderer renderer(nullptr);
  EXPECT_EQ(renderer.vertexPoolSize(), 0);
  renderer.reserveVertexPool(1);
  EXPECT_EQ(renderer.vertexPoolSize(), 256);
  renderer.reserveVertexPool(256);
  EXPECT_EQ(renderer.vertexPoolSize(), 256);
  renderer.reserveVertexPool(257);
  EXPECT_EQ(renderer.vertexPoolSize(), 512);
  renderer.reserveVertexPool(769);  // two more steps: 1024 is the first multiple of 256 >= 769
  EXPECT_EQ(renderer.vertexPoolSize(), 1024);
  renderer.reserveVertexPool(10);
  EXPECT_EQ(renderer.vertexPoolSize(), 1024);
}

TEST(RendererFrame, ASceneLessRendererStillRunsTheDriverSteps) {
  RecordingRenderer renderer(nullptr);
  renderer.renderScene(0.1f);
  EXPECT_EQ(renderer.frameCount(), 1u);
  EXPECT_EQ(renderer.log, (std::vector<std::string>{"makeTargetCurrent", "clearBackground",
                                                    "resetFogAndDepth", "finishFrame"}));
}

std::unique_ptr<Renderer> makeRecordingRenderer(SceneView* scene) {
  return std::make_unique<RecordingRenderer>(scene);
}

TEST(RendererDrivers, MakeRenderersOfTheirDriversAndNothingElse) {
  TestScene scene;
  RendererDrivers drivers;
  EXPECT_EQ(drivers.createRenderer(kRendererSoftware, &scene), nullptr);
  EXPECT_FALSE(drivers.has(kRendererSoftware));
  ASSERT_TRUE(drivers.add(kRendererSoftware, {makeRecordingRenderer, nullptr}));
  EXPECT_TRUE(drivers.has(kRendererSoftware));
  auto renderer = drivers.createRenderer(kRendererSoftware, &scene);
  EXPECT_EQ(drivers.createRenderer(kRendererGles, &scene), nullptr);
  EXPECT_EQ(drivers.createRenderer(2, &scene), nullptr);
  ASSERT_NE(renderer, nullptr);
  EXPECT_EQ(renderer->type, kRendererSoftware);
  EXPECT_EQ(renderer->scene, &scene);
  EXPECT_EQ(renderer->frameCount(), 0u);
  EXPECT_EQ(renderer->describe(), std::optional<std::string>("recording"));
  drivers.remove(kRendererSoftware);
  EXPECT_FALSE(drivers.has(kRendererSoftware));
  EXPECT_EQ(drivers.createRenderer(kRendererSoftware, &scene), nullptr);
}

TEST(RendererDrivers, TablesSideBySideKeepTheirOwnDrivers) {
  // Two sessions in one process (two tests, a tool and a page) never see each other's drivers.
  TestScene scene;
  RendererDrivers first;
  RendererDrivers second;
  ASSERT_TRUE(first.add(kRendererSoftware, {makeRecordingRenderer, nullptr}));
  EXPECT_NE(first.createRenderer(kRendererSoftware, &scene), nullptr);
  EXPECT_EQ(second.createRenderer(kRendererSoftware, &scene), nullptr);
  EXPECT_FALSE(second.add(-1, {makeRecordingRenderer, nullptr}));
  EXPECT_FALSE(second.has(-1));
}

}  // namespace
}  // namespace engine3d
