#include <gtest/gtest.h>

#include "engine3d/Group3D.h"
#include "engine3d/Light.h"
#include "engine3d/Primitives.h"

namespace engine3d {
namespace {

constexpr std::int32_t kOne = 65536;

// A mesh holding the two opposite corners of a box.
std::unique_ptr<Mesh> boxCorners(const Vector3& min, const Vector3& max) {
  auto mesh = std::make_unique<Mesh>();
  mesh->addVertex(min.x, min.y, min.z, 0, 0);
  mesh->addVertex(max.x, max.y, max.z, 0, 0);
  return mesh;
}

void expectVertex(const Vertex& v, float x, float y, float z) {
  EXPECT_EQ(v.x, static_cast<std::int32_t>(x * kOne));
  EXPECT_EQ(v.y, static_cast<std::int32_t>(y * kOne));
  EXPECT_EQ(v.z, static_cast<std::int32_t>(z * kOne));
}

TEST(Group3DNormalize, ScalesTheLongestAxisToTheRadiusAboutTheBoxCentre) {
  // Box (-1,-2,0)..(3,2,1): longest side 4, so factor 5 / 2 = 2.5 about (1, 0, 0.5).
  Group3D group;
  group.addMesh("body", boxCorners({-1, -2, 0}, {3, 2, 1}));
  group.normalize(5);
  const Mesh& mesh = *group.firstMesh();
  expectVertex(mesh.vertices[0], -5, -5, -1.25f);
  expectVertex(mesh.vertices[1], 5, 5, 1.25f);
  EXPECT_EQ(group.radius, 5.0f);
  EXPECT_EQ(group.size, Vector3(10, 10, 2.5f));
}

TEST(Group3DNormalize, NameFiltersChooseTheBoxButEveryMeshMoves) {
  auto build = [](Group3D& group) {
    group.addMesh("body", boxCorners({0, 0, 0}, {2, 2, 2}));
    group.addMesh("shadow", boxCorners({-10, 0, 0}, {10, 0, 0}));
  };
  // The shadow is left out of the box (body, centre (1,1,1), factor 1) but still moved.
  Group3D unwanted;
  build(unwanted);
  unwanted.normalize(1, NameFilter{std::nullopt, std::string("shadow,ground")});
  expectVertex(unwanted.findMesh("body")->vertices[1], 1, 1, 1);
  expectVertex(unwanted.findMesh("shadow")->vertices[0], -11, -1, -1);

  Group3D wanted;
  build(wanted);
  wanted.normalize(1, NameFilter{std::string("rotor1;body"), std::nullopt});
  expectVertex(wanted.findMesh("shadow")->vertices[1], 9, -1, -1);

  // Without filters the shadow's 20 units are the longest axis: factor 0.1 about (0, 1, 1).
  Group3D all;
  build(all);
  all.normalize(1);
  EXPECT_EQ(all.size.x, 2.0f);
}

TEST(NameFilter, MatchesMeshNamesAsSubstringsOfTheLists) {
  const NameFilter wanted{std::string("rotor1,body"), std::nullopt};
  EXPECT_TRUE(wanted.passes("body"));
  EXPECT_TRUE(wanted.passes("rotor"));  // a part of a listed name counts
  EXPECT_TRUE(wanted.passes(""));
  EXPECT_FALSE(wanted.passes("rotor2"));
  EXPECT_FALSE(wanted.passes("Body"));  // case matters
  const NameFilter unwanted{std::nullopt, std::string("shadow")};
  EXPECT_FALSE(unwanted.passes("shadow"));
  EXPECT_FALSE(unwanted.passes("had"));
  EXPECT_FALSE(unwanted.passes(""));
  EXPECT_TRUE(unwanted.passes("shadow2"));
  EXPECT_TRUE(NameFilter{}.passes("anything"));
}

TEST(Group3DNormalize, EmptyAndPointModelsDoNotBlowUp) {
  Group3D empty;
  empty.normalize(3);
  EXPECT_EQ(empty.radius, 3.0f);

  Group3D filteredAway;
  filteredAway.addMesh("a", boxCorners({1, 1, 1}, {2, 2, 2}));
  filteredAway.normalize(3, NameFilter{std::string("b"), std::nullopt});
  expectVertex(filteredAway.firstMesh()->vertices[0], 1, 1, 1);

  Group3D point;
  point.addMesh("p", boxCorners({2, 3, 4}, {2, 3, 4}));
  point.normalize(3);
  expectVertex(point.firstMesh()->vertices[0], 0, 0, 0);
}

TEST(Group3DNormalize, CentreIsSnappedToTheFixedGridWithRounding) {
  // Box from 0 to 3 raw units: centre 1.5 raw rounds to 2, so the corners become -2 and +1.
  Group3D group;
  auto mesh = std::make_unique<Mesh>();
  mesh->vertices.resize(2);
  mesh->vertices[1].x = 3;
  group.addMesh("m", std::move(mesh));
  // Factor: radius / (0.5 * 3 / 65536); choose the radius that keeps the scale at 1.
  group.normalize(1.5f / kOne);
  EXPECT_EQ(group.firstMesh()->vertices[0].x, -2);
  EXPECT_EQ(group.firstMesh()->vertices[1].x, 1);
}

TEST(Group3D, MeshAndMaterialLists) {
  Group3D group;
  EXPECT_EQ(group.firstMesh(), nullptr);
  EXPECT_EQ(group.firstMaterial(), nullptr);
  Material* red = group.addMaterial("red", std::make_unique<Material>());
  group.addMaterial("blue", std::make_unique<Material>());
  Mesh* a = group.addMesh(std::string(70, 'x'), std::make_unique<Mesh>());
  Mesh* b = group.addMesh("b", std::make_unique<Mesh>());
  EXPECT_EQ(a->name.size(), 64u);
  EXPECT_EQ(a->owner, &group);
  EXPECT_EQ(group.findMesh("b"), b);
  EXPECT_EQ(group.findMesh("B"), nullptr);
  EXPECT_EQ(group.findMaterial("red"), red);
  EXPECT_EQ(group.firstMaterial(), red);
  b->material = red;
  std::unique_ptr<Material> removed = group.removeMaterial("red");
  EXPECT_EQ(removed.get(), red);
  EXPECT_EQ(b->material, nullptr);  // never left pointing at a material the group gave away
  EXPECT_EQ(group.removeMaterial("red"), nullptr);
  std::unique_ptr<Mesh> taken = group.removeMesh("b");
  EXPECT_EQ(taken.get(), b);
  EXPECT_EQ(taken->owner, nullptr);
  EXPECT_EQ(group.meshes().size(), 1u);
}

TEST(Group3D, SettersReachEveryMaterialAndMesh) {
  Group3D group;
  for (const char* name : {"a", "b"}) {
    group.addMaterial(name, std::make_unique<Material>());
    group.addMesh(name, std::make_unique<Mesh>());
  }
  group.setColour(0x123456);
  group.setDetailLevel(5);
  group.setTransparency(100);
  group.setTwoSided(true);
  group.setEdgeMask(3);
  group.setEnvironmentEnabled(false);
  group.setDepthLayer(2);
  for (const Material* m : group.materials()) {
    EXPECT_EQ(m->colour, 0x123456u);
    EXPECT_EQ(m->shadingMode, 5);
    EXPECT_EQ(m->transparency, 100);
    EXPECT_TRUE(m->twoSided);
    EXPECT_EQ(m->edgeMask, 3);
  }
  for (const auto& mesh : group.meshes()) {
    EXPECT_FALSE(mesh->fogEnabled);
    EXPECT_EQ(mesh->depthLayer, 2.0f);
  }
}

std::unique_ptr<Group3D> twoMeshModel() {
  auto group = std::make_unique<Group3D>();
  group->name = "heli";
  Material* body = group->addMaterial("bodyMtl", std::make_unique<Material>());
  Material* glass = group->addMaterial("glassMtl", std::make_unique<Material>());
  group->addMesh("body", boxCorners({0, 0, 0}, {1, 1, 1}))->material = body;
  group->addMesh("glass", boxCorners({0, 0, 0}, {1, 2, 1}))->material = glass;
  group->billboard = kBillboardUpright;
  group->cullingPolicy = kCullMesh;
  group->normalize(4);
  return group;
}

TEST(Group3DClone, CopiesMeshesAndMaterialsAndRedirectsMaterialsByName) {
  std::unique_ptr<Group3D> source = twoMeshModel();
  std::unique_ptr<Group3D> copy = source->clone();
  EXPECT_TRUE(copy->isClone);
  EXPECT_FALSE(source->isClone);
  EXPECT_EQ(copy->name, "heli");
  EXPECT_EQ(copy->billboard, kBillboardUpright);
  EXPECT_EQ(copy->cullingPolicy, kCullMesh);
  EXPECT_EQ(copy->radius, 4.0f);
  EXPECT_EQ(copy->size, source->size);
  ASSERT_EQ(copy->materials().size(), 2u);
  Mesh* glass = copy->findMesh("glass");
  ASSERT_NE(glass, nullptr);
  EXPECT_EQ(glass->material, copy->findMaterial("glassMtl"));
  EXPECT_NE(glass->material, source->findMaterial("glassMtl"));
  EXPECT_EQ(glass->owner, copy.get());

  // Changing the copy leaves the source alone, and the copy outlives its source.
  copy->setColour(0xFF0000);
  copy->normalize(8);
  EXPECT_EQ(source->findMaterial("bodyMtl")->colour, 0x969696u);
  EXPECT_EQ(source->findMesh("glass")->vertices[1].y, 4 * kOne);
  source.reset();
  EXPECT_EQ(glass->vertices[1].y, 8 * kOne);
  EXPECT_EQ(glass->material->colour, 0xFF0000u);
}

TEST(Group3DLevels, SetLevelsNeedsACountAndADistance) {
  for (auto [count, distance] : {std::pair{0, 100.0f}, {1, 0.0f}, {-1, 5.0f}, {2, -1.0f}}) {
    Group3D group;
    std::vector<std::unique_ptr<Group3D>> levels;
    levels.push_back(twoMeshModel());
    group.setLevels(std::move(levels), count, distance);
    EXPECT_EQ(group.levelCount(), 0);
    EXPECT_EQ(group.lodLists(), nullptr);
    EXPECT_EQ(group.lodDistance(), 0.0f);
  }
}

TEST(Group3DLevels, LevelsAreSharedWithClonesAndAddTheirMaterialsOnce) {
  std::unique_ptr<Group3D> group = twoMeshModel();
  std::vector<std::unique_ptr<Group3D>> levels;
  levels.push_back(twoMeshModel());
  auto far = std::make_unique<Group3D>();
  Material* farMaterial = far->addMaterial("farMtl", std::make_unique<Material>());
  Mesh* farMesh = far->addMesh("far", boxCorners({0, 0, 0}, {1, 1, 1}));
  farMesh->material = farMaterial;
  levels.push_back(std::move(far));
  levels.push_back(twoMeshModel());  // beyond the count: dropped
  group->setLevels(std::move(levels), 2, 100);

  ASSERT_EQ(group->levelCount(), 2);
  ASSERT_NE(group->lodLists(), nullptr);
  EXPECT_EQ(group->lodLists()->size(), 2u);
  EXPECT_EQ(group->lodDistance(), 100.0f);
  EXPECT_EQ(group->levelMeshes(0).size(), 2u);
  ASSERT_EQ(group->levelMeshes(1).size(), 1u);
  EXPECT_EQ(group->levelMeshes(1)[0], farMesh);
  // bodyMtl and glassMtl were already there; farMtl joins the list.
  ASSERT_EQ(group->materials().size(), 3u);
  EXPECT_EQ(group->findMaterial("farMtl"), farMaterial);
  group->setDetailLevel(1);
  EXPECT_EQ(farMaterial->shadingMode, 1);

  group->prepare(true);
  EXPECT_TRUE(farMesh->prepared);
  group->buildIndexArrays();
  EXPECT_EQ(farMesh->indexArray.size(), 0u);  // no faces, but built

  std::unique_ptr<Group3D> copy = group->clone();
  EXPECT_TRUE(copy->sharesLevelsWith(*group));
  EXPECT_EQ(copy->levelMeshes(1)[0], farMesh);
  group.reset();  // the levels live on with the clone
  EXPECT_EQ(copy->levelMeshes(1)[0]->name, "far");
}

TEST(Group3DLevels, AbsentLevelsAreNotCounted) {
  Group3D group;
  std::vector<std::unique_ptr<Group3D>> levels;
  levels.push_back(nullptr);
  levels.push_back(twoMeshModel());
  group.setLevels(std::move(levels), 5, 10);
  EXPECT_EQ(group.levelCount(), 1);
}

// An animated picture that counts how often it was advanced.
class CountingTexture : public Texture {
 public:
  int width() const override { return 4; }
  int height() const override { return 4; }
  bool animated() const override { return true; }
  void advance(float seconds) override {
    ++advances;
    total += seconds;
  }
  int advances = 0;
  float total = 0;
};

TEST(Group3D, ASharedAnimatedTextureAdvancesOncePerFrame) {
  auto gif = std::make_shared<CountingTexture>();
  Group3D group;
  for (const char* name : {"a", "b"}) {
    auto material = std::make_unique<Material>();
    material->texture = gif;
    material->opacityMap = gif;
    group.addMaterial(name, std::move(material));
  }
  Group3D other;
  other.addMaterial("c", std::make_unique<Material>())->texture = gif;
  group.animateTextures(0.1f, 1);
  other.animateTextures(0.1f, 1);
  EXPECT_EQ(gif->advances, 1);
  group.animateTextures(0.25f, 2);
  EXPECT_EQ(gif->advances, 2);
  EXPECT_FLOAT_EQ(gif->total, 0.35f);
  group.animateTextures(0.25f, 2);
  EXPECT_EQ(gif->advances, 2);
}

// A still picture with a colour key.
class KeyedTexture : public Texture {
 public:
  int width() const override { return 8; }
  int height() const override { return 8; }
  std::optional<Colour> transparentColour() const override { return 0xFF00FF; }
};

TEST(Material, AKeyedTextureBecomesItsOwnAlphaTestedOpacityMap) {
  Material material;
  auto keyed = std::make_shared<KeyedTexture>();
  material.attachTexture(keyed);
  EXPECT_EQ(material.texture, keyed);
  EXPECT_EQ(material.opacityMap, keyed);
  EXPECT_TRUE(material.alphaTest);
  EXPECT_EQ(material.colourKey, 0xFF00FFu);

  Material plain;
  plain.attachTexture(std::make_shared<PixelTexture>(2, 2));
  EXPECT_NE(plain.texture, nullptr);
  EXPECT_EQ(plain.opacityMap, nullptr);
  EXPECT_FALSE(plain.alphaTest);
}

TEST(Chip3D, QuadSizeOrientationAndTextureCoordinates) {
  // Width 2, height 1, radius 3, facing z: a quad from (-6, -3) to (6, 3).
  std::unique_ptr<Chip3D> chip = Chip3D::create(2, 1, 3, kChipFacingZ, nullptr, nullptr, false);
  const Mesh* mesh = chip->findMesh("chip");
  ASSERT_NE(mesh, nullptr);
  ASSERT_EQ(mesh->vertexCount(), 4);
  expectVertex(mesh->vertices[0], 6, 3, 0);
  expectVertex(mesh->vertices[1], 6, -3, 0);
  expectVertex(mesh->vertices[2], -6, -3, 0);
  expectVertex(mesh->vertices[3], -6, 3, 0);
  const std::int32_t u[4] = {0, 0, kOne, kOne};
  const std::int32_t v[4] = {0, kOne, kOne, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(mesh->vertices[i].u, u[i]);
    EXPECT_EQ(mesh->vertices[i].v, v[i]);
  }
  ASSERT_EQ(mesh->faceCount(), 2);
  EXPECT_EQ(mesh->faces[1].index(0), 2);
  EXPECT_EQ(mesh->faces[1].index(2), 0);
  EXPECT_EQ(chip->fullWidth, 12.0f);
  EXPECT_EQ(chip->fullHeight, 6.0f);
  EXPECT_EQ(chip->radius, 6.0f);
  ASSERT_NE(mesh->material, nullptr);
  EXPECT_EQ(mesh->material->name, "chipMtl");
  EXPECT_TRUE(mesh->material->flat);
  EXPECT_TRUE(mesh->material->twoSided);

  std::unique_ptr<Chip3D> lying = Chip3D::create(1, 1, 1, kChipLyingXZ, nullptr, nullptr, true);
  expectVertex(lying->firstMesh()->vertices[1], 1, 0, -1);
  EXPECT_EQ(lying->firstMesh()->vertices[0].u, kOne);  // mirrored
  EXPECT_EQ(lying->firstMesh()->vertices[2].u, 0);
  std::unique_ptr<Chip3D> side = Chip3D::create(1, 1, 1, kChipFacingX, nullptr, nullptr, false);
  expectVertex(side->firstMesh()->vertices[1], 0, -1, 1);

  // A clone is still a chip.
  std::unique_ptr<Group3D> copy = chip->clone();
  auto* chipCopy = dynamic_cast<Chip3D*>(copy.get());
  ASSERT_NE(chipCopy, nullptr);
  EXPECT_EQ(chipCopy->fullWidth, 12.0f);
}

TEST(Box3D, SixQuadsEachOnOneSideOfTheBox) {
  std::unique_ptr<Box3D> box = Box3D::create(2, 2, 2, 1, nullptr, nullptr);
  const Mesh& mesh = *box->findMesh("box");
  ASSERT_EQ(mesh.vertexCount(), 24);
  ASSERT_EQ(mesh.faceCount(), 12);
  // Quad 0: x bits 1010, y bits 0011, z none: corners (-,+,-), (+,+,-), (-,-,-), (+,-,-) at 2.
  expectVertex(mesh.vertices[0], -2, 2, -2);
  expectVertex(mesh.vertices[1], 2, 2, -2);
  expectVertex(mesh.vertices[2], -2, -2, -2);
  expectVertex(mesh.vertices[3], 2, -2, -2);
  EXPECT_EQ(mesh.vertices[3].u, kOne);
  EXPECT_EQ(mesh.vertices[3].v, kOne);
  EXPECT_EQ(mesh.vertices[1].v, 0);
  // Every quad lies on one face of the cube, and the six quads cover six different faces.
  int sidesSeen = 0;
  for (int quad = 0; quad < 6; ++quad) {
    for (int axis = 0; axis < 3; ++axis) {
      auto coordinate = [&](int j) {
        const Vertex& v = mesh.vertices[static_cast<size_t>(4 * quad + j)];
        return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
      };
      if (coordinate(0) == coordinate(1) && coordinate(1) == coordinate(2) &&
          coordinate(2) == coordinate(3))
        sidesSeen |= 1 << (axis * 2 + (coordinate(0) > 0 ? 1 : 0));
    }
  }
  EXPECT_EQ(sidesSeen, 0x3F);
  EXPECT_EQ(mesh.faces[1].index(0), 0);
  EXPECT_EQ(mesh.faces[1].index(1), 3);
  EXPECT_EQ(mesh.faces[1].index(2), 1);
  EXPECT_EQ(box->fullDepth, 4.0f);
  EXPECT_TRUE(mesh.material->flat);
  EXPECT_EQ(mesh.material->name, "boxMtl");
}

TEST(Light, TemplateDefaultsAndNormalisedDirection) {
  const Light light = Light::make("sun", {0, -3, 4}, 0x808080);
  EXPECT_EQ(light.direction.x, 0.0f);
  EXPECT_FLOAT_EQ(light.direction.y, -0.6f);
  EXPECT_FLOAT_EQ(light.direction.z, 0.8f);
  EXPECT_EQ(light.diffuse, 0x808080u);
  EXPECT_EQ(light.specular, 0x808080u);
  EXPECT_EQ(light.specularStrength, 320);
  EXPECT_EQ(light.specularExponent(), 34);  // 4096 / 120
  Light sharp = light;
  sharp.shininess = 10;
  EXPECT_EQ(sharp.specularExponent(), 100);
  const Fog fog;
  EXPECT_EQ(fog.front, 100);
  EXPECT_EQ(fog.back, 200);
  EXPECT_EQ(fog.colour, 0xFFFFFFu);
}

TEST(Group3D, ScreenBillboardDropsTheRotationAndUprightTurnsTowardTheViewer) {
  Group3D group;
  group.billboard = kBillboardScreen;
  group.modelViewMatrix = Matrix4::rotationY(1.0f);
  group.modelViewMatrix.setTranslation({1, 2, 3});
  group.applyBillboard(Matrix4());
  Matrix4 expected;
  expected.setTranslation({1, 2, 3});
  EXPECT_EQ(group.modelViewMatrix, expected);

  // Upright: a view that tilts the group's z axis up still leaves its y axis vertical.
  Group3D upright;
  upright.billboard = kBillboardUpright;
  upright.worldMatrix.setTranslation({5, 0, 0});
  Matrix4 view;
  view.m[5] = 0.6f, view.m[6] = -0.8f, view.m[9] = 0.8f, view.m[10] = 0.6f;
  mul(upright.modelViewMatrix, view, upright.worldMatrix);
  upright.applyBillboard(view);
  EXPECT_EQ(upright.worldMatrix.at(1, 1), 1.0f);
  EXPECT_EQ(upright.worldMatrix.at(0, 0), 1.0f);
  EXPECT_EQ(upright.worldMatrix.translation(), Vector3(5, 0, 0));
  EXPECT_EQ(upright.modelViewMatrix, view * upright.worldMatrix);
}

}  // namespace
}  // namespace engine3d

namespace engine3d {
namespace {

TEST(Texture, PowerOfTwoSidesNearestOrPadded) {
  // Nearest power, a tie going to the smaller one: 3 is as far from 2 as from 4.
  const int nearest[][2] = {{0, 1}, {1, 1},   {2, 2},    {3, 2},     {5, 4},     {6, 4},
                            {7, 8}, {96, 64}, {97, 128}, {640, 512}, {800, 1024}};
  for (const auto& [n, side] : nearest) EXPECT_EQ(textureSide(n, false), side) << n;
  const int padded[][2] = {{0, 1}, {1, 1}, {3, 4}, {5, 8}, {64, 64}, {65, 128}};
  for (const auto& [n, side] : padded) EXPECT_EQ(textureSide(n, true), side) << n;
}

TEST(Texture, PixelTextureKeepsItsSizeAndKey) {
  PixelTexture texture(4, 2, {1, 2, 3}, Colour{0xFF00FF});
  EXPECT_EQ(texture.width(), 4);
  EXPECT_EQ(texture.height(), 2);
  EXPECT_EQ(texture.pixels().size(), 8u);
  EXPECT_EQ(texture.pixels()[2], 3u);
  EXPECT_EQ(texture.transparentColour(), Colour{0xFF00FF});
  EXPECT_FALSE(texture.animated());
}

}  // namespace
}  // namespace engine3d
