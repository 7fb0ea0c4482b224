// Numbers the software renderer must reproduce: projection, clamping, outcodes, the near
// plane, face rejection, depth entries, blends and fog, checked pixel by pixel.
#include <gtest/gtest.h>

#include "SoftScene.h"
#include "engine3d/RendererDrivers.h"
#include "engine3d/SubdivisionQuestion.h"

namespace engine3d::soft_test {
namespace {

// A mesh of loose vertices (and optionally one face over the first three) placed in a group.
Mesh& addPoints(Group3D& group, Material& material, const std::vector<Vector3>& points) {
  auto mesh = std::make_unique<Mesh>();
  for (const Vector3& p : points) mesh->addVertex(p.x, p.y, p.z, 0, 0);
  mesh->addFace(0, 1, 2);
  mesh->material = &material;
  Mesh* added = group.addMesh("points", std::move(mesh));
  added->prepare(true);
  return *added;
}

TEST(VexagraphRenderer, DescribesItselfAsVexagraph) {
  SoftScene scene(32, 32, 32);
  const auto text = scene.makeRenderer().describe();
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->rfind("Vexagraph 2.0, ", 0), 0u) << *text;
  EXPECT_GT(text->size(), std::string("Vexagraph 2.0, ").size());
  EXPECT_EQ(scene.soft().type, kRendererSoftware);
}

TEST(VexagraphRenderer, TheDriverMakesSoftwareRenderersAndCameras) {
  SoftScene scene(32, 32, 32);
  RendererDrivers drivers;
  ASSERT_TRUE(drivers.add(kRendererSoftware, softwareDriver()));
  auto renderer = drivers.createRenderer(kRendererSoftware, &scene);
  auto camera = drivers.createCamera(kRendererSoftware, &scene, 240, 320, 45.0f, 1.0f, 10000.0f, 0);
  EXPECT_EQ(drivers.createRenderer(kRendererGles, &scene), nullptr);
  ASSERT_NE(dynamic_cast<VexagraphRenderer*>(renderer.get()), nullptr);
  ASSERT_NE(dynamic_cast<SoftCamera*>(camera.get()), nullptr);
  EXPECT_EQ(camera->focalLength(), 289);  // 240 wide, 45 degrees
}

TEST(VexagraphRenderer, ProjectsWithTheFocalLengthAndIntegerDivision) {
  SoftScene scene(64, 64, 32);  // focal length (64 << 9) / 424 = 77, centre (32, 32)
  Group3D& group = scene.addGroup({0, 0, 10});
  Material& m = addMaterial(group, "m", 1, 0xFFFFFF);
  Mesh& mesh = addPoints(group, m, {{1, 0.5f, 0}, {-1, -0.5f, 0}, {0, 0, 0}});
  scene.render();
  // x: (2048 * 77) / 20480 = 7 (7.7 truncated) + 32; y: 32 - (1024 * 77) / 20480 = 32 - 3.
  EXPECT_EQ(mesh.vertices[0].work[3], 39);
  EXPECT_EQ(mesh.vertices[0].work[4], 29);
  EXPECT_EQ(mesh.vertices[1].work[3], 32 - 7);
  EXPECT_EQ(mesh.vertices[1].work[4], 32 + 3);
  // Eye position in 16.16 and the depth word of shaded vertices.
  EXPECT_EQ(mesh.vertices[0].work[0], 65536);
  EXPECT_EQ(mesh.vertices[0].work[2], 10 * 65536);
  EXPECT_EQ(mesh.vertices[0].clipFlags, 0);
}

TEST(VexagraphRenderer, FarVerticesAreClampedToTheGuardBandWithOutcodes) {
  SoftScene scene(64, 64, 32);
  Group3D& group = scene.addGroup({0, 0, 1});
  Material& m = addMaterial(group, "m", 1, 0xFFFFFF);
  Mesh& mesh = addPoints(group, m, {{1000, 0, 0}, {-1000, 0, 0}, {0, 1000, 0}, {0, -1000, 0}});
  scene.render();
  EXPECT_EQ(mesh.vertices[0].work[3], 4095);
  EXPECT_EQ(mesh.vertices[0].clipFlags, kOutRight);
  EXPECT_EQ(mesh.vertices[1].work[3], -4096);
  EXPECT_EQ(mesh.vertices[1].clipFlags, kOutLeft);
  EXPECT_EQ(mesh.vertices[2].work[4], -4096);
  EXPECT_EQ(mesh.vertices[2].clipFlags, kOutTop);
  EXPECT_EQ(mesh.vertices[3].work[4], 4095);
  EXPECT_EQ(mesh.vertices[3].clipFlags, kOutBottom);
}

TEST(VexagraphRenderer, AVertexExactlyOnTheNearPlaneIsProjectedOneNearerIsNot) {
  SoftScene scene(64, 64, 32);  // near 1.0
  Group3D& group = scene.addGroup();
  Material& m = addMaterial(group, "m", 1, 0xFFFFFF);
  Mesh& mesh = addPoints(group, m, {{0, 0, 1.0f}, {0, 0, 0.999f}, {0, 0, 20000.0f}});
  mesh.vertices[1].clipFlags = 0;
  scene.render();
  EXPECT_EQ(mesh.vertices[0].work[2], 65536);
  EXPECT_EQ(mesh.vertices[0].clipFlags, 0);
  EXPECT_EQ(mesh.vertices[0].work[3], 32);
  EXPECT_EQ(mesh.vertices[1].clipFlags, kOutNear);
  EXPECT_EQ(mesh.vertices[2].clipFlags, kOutFar);
}

TEST(VexagraphRenderer, OneSidedFacesPointingTowardTheViewerAreDroppedTwoSidedAreDrawn) {
  for (bool twoSided : {false, true}) {
    SoftScene scene(32, 32, 32);
    Group3D& group = scene.addGroup({0, 0, 10});
    Material& m = addMaterial(group, "m", 1, 0x00FF00);
    m.twoSided = twoSided;
    Mesh& quad = addQuad(group, "q", m, 2, 2);
    // Reverse the winding: the stored normal now points at the viewer.
    for (Face& f : quad.faces) std::swap(f.b, f.c);
    quad.prepared = false;
    quad.prepare(true);
    scene.render();
    EXPECT_EQ(scene.soft().statistics().trianglesDrawn, twoSided ? 2 : 0);
    EXPECT_EQ(scene.pixel(16, 16), twoSided ? 0x00FF00u : 0u);
  }
}

TEST(VexagraphRenderer, FacesWhollyBeyondOneScreenEdgeAreRejected) {
  SoftScene scene(32, 32, 32);
  Group3D& group = scene.addGroup({0, 0, 10});
  Material& m = addMaterial(group, "m", 1, 0xFFFFFF);
  m.twoSided = true;
  addPoints(group, m, {{-50, 0, 0}, {-60, 1, 0}, {-55, -1, 0}});
  scene.render();
  EXPECT_EQ(scene.soft().statistics().trianglesDrawn, 0);
}

TEST(VexagraphRenderer, DepthAtGivesTheWholeEyeDepthOrMinusOne) {
  SoftScene scene(64, 64, 32);
  Group3D& group = scene.addGroup({0, 0, 250.5f});
  Material& m = addMaterial(group, "m", 1, 0xFFFFFF);
  addQuad(group, "q", m, 20, 20);  // about 12 pixels across at 250 units
  scene.render();
  EXPECT_EQ(scene.soft().depthAt(32, 32), 250);
  EXPECT_EQ(scene.soft().depthAt(0, 0), -1);  // nothing drawn there
  EXPECT_EQ(scene.soft().depthAt(-1, 0), -1);
  EXPECT_EQ(scene.soft().depthAt(64, 0), -1);
  EXPECT_EQ(scene.soft().depthAt(0, 64), -1);
  EXPECT_EQ(scene.pixel(32, 32), 0xFFFFFFu);
}

TEST(VexagraphRenderer, ADepthLayerMovesTheStoredDepthAndWinsOverACoplanarFace) {
  SoftScene scene(64, 64, 32);
  Group3D& group = scene.addGroup({0, 0, 250.5f});
  Material& red = addMaterial(group, "red", 1, 0xFF0000);
  Material& blue = addMaterial(group, "blue", 1, 0x0000FF);
  Mesh& decal = addQuad(group, "decal", blue, 5, 5);
  decal.depthLayer = 1.0f;
  addQuad(group, "wall", red, 20, 20);
  scene.render();
  EXPECT_EQ(scene.pixel(32, 32), 0x0000FFu);
  EXPECT_EQ(scene.soft().depthAt(32, 32), 249);  // 250.5 - 1
  EXPECT_EQ(scene.soft().depthAt(30, 26), 250);  // the wall beside the decal
  EXPECT_EQ(scene.pixel(30, 26), 0xFF0000u);
}

TEST(DepthKey, GrowsWithDepthAndGivesTheDepthBack) {
  // Depths of 1/16 unit and less share the nearest entry; the reset value lies beyond all.
  EXPECT_EQ(depthKey(0), 0u);
  EXPECT_EQ(depthKey(-65536), 0u);
  EXPECT_EQ(depthKey(4096), 0u);
  EXPECT_GT(depthKey(4097), 0u);
  EXPECT_LT(depthKey(INT32_MAX), 0xFFFFFFFFu);
  std::uint32_t previous = depthKey(4096);
  for (std::int64_t z = 4097; z < INT32_MAX; z += 1 + z / 64) {
    const std::uint32_t key = depthKey(static_cast<std::int32_t>(z));
    ASSERT_GE(key, previous) << z;
    previous = key;
  }
  // 2^43 / z is exact for z = 2^16 (one unit): 2^27.
  EXPECT_EQ(depthKey(65536), 0x7FFFFFFFu - (1u << 27));
  // Back from the entry: one step is z^2 / 2^43 of 16.16 depth.
  for (const double units : {0.1, 1.0, 10.0, 100.0, 250.5, 1000.0, 10000.0}) {
    const auto z = static_cast<std::int32_t>(units * 65536.0);
    const double step = static_cast<double>(z) * z / 8796093022208.0;
    EXPECT_NEAR(eyeDepthOfKey(depthKey(z)), z, step + 1.0) << units;
  }
  EXPECT_EQ(eyeDepthOfKey(0xFFFFFFFFu), -1);
}

// A rug half a unit above a floor of small tiles, the rug one quad of 8 x 9 units seen from 2
// units above the floor at a slant: interpolating eye depth across the rug's two large
// triangles would put their inside up to 2 units too far, behind the floor (every face of the
// floor is small, so its own depths are nearly right). The depth entries are linear on the
// screen, so every pixel the rug covers shows the rug.
TEST(VexagraphRenderer, ARugOfLargeTrianglesStaysOnAFloorOfSmallOnes) {
  auto draw = [](bool withFloor) {
    SoftScene scene(96, 96, 32);
    Group3D& group = scene.addGroup();
    Material& floor = addMaterial(group, "floor", 1, 0xFF0000);
    Material& rug = addMaterial(group, "rug", 1, 0x0000FF);
    if (withFloor)
      for (int i = 0; i < 10; ++i) {
        Group3D& row = scene.addGroup({-9.0f + 2.0f * static_cast<float>(i), 0, 0});
        for (int j = 0; j < 10; ++j)
          addFloor(row, "tile", floor, 1, -2, 1.5f + 2.0f * j, 3.5f + 2.0f * j, 1);
      }
    addFloor(group, "rug", rug, 4, -1.5f, 3, 12, 1);
    scene.render();
    return scene.picture();
  };
  const host::RgbImage alone = draw(false);
  const host::RgbImage onFloor = draw(true);
  int rug = 0, hidden = 0;
  for (std::size_t i = 0; i < alone.rgb.size(); i += 3) {
    if (alone.rgb[i + 2] != 0xFF) continue;
    ++rug;
    hidden += onFloor.rgb[i + 2] != 0xFF;
  }
  EXPECT_GT(rug, 1000);
  EXPECT_EQ(hidden, 0) << "of " << rug << " rug pixels";
}

TEST(VexagraphRenderer, UnlitTransparencyDividesByTwoHundredFiftySix) {
  SoftScene scene(32, 32, 32);
  Group3D& group = scene.addGroup();
  Material& red = addMaterial(group, "red", 1, 0xFF0000);
  Material& glass = addMaterial(group, "glass", kShadingUnlitTransparent, 0x0000FF);
  glass.transparency = 64;
  addQuad(group, "wall", red, 20, 20, 20);
  addQuad(group, "glass", glass, 20, 20, 10);
  scene.render();
  // Red: 0 + 255 * 64 / 256 = 63; blue: 255 + (-255 * 64) / 256 = 255 - 63 (rounded toward 0).
  EXPECT_EQ(scene.pixel(16, 16), 0x3F00C0u);
  // The transparent mesh came after an opaque one: it did not write depth.
  EXPECT_EQ(scene.soft().depthAt(16, 16), 20);
}

TEST(VexagraphRenderer, SelfIlluminatedTransparencyShiftsInsteadOfDividing) {
  SoftScene scene(32, 32, 32);
  Group3D& group = scene.addGroup();
  Material& red = addMaterial(group, "red", 1, 0xFF0000);
  Material& glass = addMaterial(group, "glass", kShadingSelfIlluminated, 0xFFFFFF);
  glass.selfIllumination = 0x0000FF;  // no lights: the lit colour is black
  glass.transparency = 64;
  addQuad(group, "wall", red, 20, 20, 20);
  addQuad(group, "glass", glass, 20, 20, 10);
  scene.render();
  // Blue: 255 + (-255 * 64 >> 8) = 255 - 64, one below the unlit blend's 192. Red:
  // 0 + (255 * 64 >> 8) = 63, and the specular term's saturating addition (of black, without
  // lights) then drops the lowest bit of red and green, as addSaturate does: 62.
  EXPECT_EQ(scene.pixel(16, 16), 0x3E00BFu);
}

TEST(VexagraphRenderer, FlatColoursAreConvertedToRgb565OnSixteenBitTargets) {
  SoftScene scene(32, 32, 16);
  Group3D& group = scene.addGroup();
  Material& grey = addMaterial(group, "grey", 1, 0x969696);
  addQuad(group, "q", grey, 20, 20, 10);
  scene.render();
  EXPECT_EQ(scene.raw(16, 16), (18u << 11) | (37u << 5) | 18u);
}

TEST(VexagraphRenderer, UnlitTransparencyOnSixteenBitsShiftsPerField) {
  SoftScene scene(32, 32, 16);
  Group3D& group = scene.addGroup();
  Material& red = addMaterial(group, "red", 1, 0xFF0000);
  Material& glass = addMaterial(group, "glass", kShadingUnlitTransparent, 0x0000FF);
  glass.transparency = 64;
  addQuad(group, "wall", red, 20, 20, 20);
  addQuad(group, "glass", glass, 20, 20, 10);
  scene.render();
  // Fields: red 0 + (31 * 64 >> 8) = 7; blue 31 + (-31 * 64 >> 8) = 31 - 8 = 23.
  EXPECT_EQ(scene.raw(16, 16), (7u << 11) | 23u);
}

TEST(VexagraphRenderer, LinearFogBetweenFrontAndBackAndFogColourBeyond) {
  for (int bits : {32, 16}) {
    SoftScene scene(32, 32, bits);
    scene.fogSetting = Fog{100, 200, 0x000000};
    Group3D& group = scene.addGroup();
    Material& white = addMaterial(group, "white", 1, 0xFFFFFF);
    addQuad(group, "mid", white, 200, 200, 150);
    Group3D& far = scene.addGroup();
    Material& white2 = addMaterial(far, "white", 1, 0xFFFFFF);
    Mesh& beyond = addQuad(far, "beyond", white2, 2000, 2000, 300);
    scene.background = 0x00FF00;
    // A mesh with its fog flag off is not fogged.
    Group3D& clear = scene.addGroup();
    Material& white3 = addMaterial(clear, "white", 1, 0xFFFFFF);
    Mesh& unfogged = addQuad(clear, "clear", white3, 5, 5, 149);
    unfogged.fogEnabled = false;
    (void)beyond;
    scene.render();
    // a = (200 - 150) * (65536 / 100) >> 8 = 127.
    if (bits == 32) {
      EXPECT_EQ(scene.pixel(1, 1), 0x7E7E7Eu);  // 255 * 127 >> 8 = 126
    } else {
      EXPECT_EQ(scene.raw(1, 1), (15u << 11) | (31u << 5) | 15u);
    }
    EXPECT_EQ(scene.pixel(16, 16), 0xFFFFFFu);
  }
  // Beyond the back distance: the fog colour itself.
  SoftScene scene(32, 32, 32);
  scene.fogSetting = Fog{100, 200, 0x123456};
  Group3D& group = scene.addGroup();
  Material& white = addMaterial(group, "white", 1, 0xFFFFFF);
  addQuad(group, "far", white, 2000, 2000, 300);
  scene.render();
  EXPECT_EQ(scene.pixel(16, 16), 0x123456u);
}

TEST(VexagraphRenderer, AnOpacityMapWithoutAlphaTestBlendsByItsGreyLevel) {
  for (int bits : {32, 16}) {
    SoftScene scene(32, 32, bits);
    Group3D& group = scene.addGroup();
    Material& m = addMaterial(group, "m", 1, 0xFFFFFF);
    m.opacityMap = std::make_shared<PixelTexture>(
        2, 2, std::vector<std::uint32_t>{0x808080, 0x808080, 0x808080, 0x808080});
    m.colourKey = 0x000001;  // nothing matches it
    addQuad(group, "q", m, 20, 20, 10);
    scene.render();
    if (bits == 32)
      EXPECT_EQ(scene.pixel(16, 16), 0x7F7F7Fu);  // 255 * 128 >> 8
    else                                          // weight 2 * (16 + 32 + 16) = 128
      EXPECT_EQ(scene.raw(16, 16), (15u << 11) | (31u << 5) | 15u);
  }
}

TEST(VexagraphRenderer, ColourKeyedTexelsLeaveThePixelAndItsDepthAlone) {
  SoftScene scene(32, 32, 32);
  scene.background = 0x0000FF;
  Group3D& group = scene.addGroup();
  Material& m = addMaterial(group, "m", 1, 0xFFFFFF);
  // Left half of the texture is the key colour.
  m.attachTexture(std::make_shared<PixelTexture>(
      2, 1, std::vector<std::uint32_t>{0xFF00FF, 0x00FF00}, Colour{0xFF00FF}));
  ASSERT_TRUE(m.alphaTest);
  addQuad(group, "q", m, 20, 20, 10);
  scene.render();
  EXPECT_EQ(scene.pixel(4, 16), 0x0000FFu);
  EXPECT_EQ(scene.soft().depthAt(4, 16), -1);
  EXPECT_EQ(scene.pixel(28, 16), 0x00FF00u);
  EXPECT_EQ(scene.soft().depthAt(28, 16), 10);
}

TEST(VexagraphRenderer, AProviderScenesDepthBufferStartsTheFrame) {
  SoftScene front(32, 32, 32);
  Group3D& g1 = front.addGroup();
  Material& m1 = addMaterial(g1, "m", 1, 0xFFFFFF);
  Mesh& nearQuad = addQuad(g1, "near", m1, 2, 2, 10);
  (void)nearQuad;
  front.render();
  ASSERT_EQ(front.soft().depthAt(16, 16), 10);

  SoftScene back(32, 32, 32);
  back.provider = &front;
  Group3D& g2 = back.addGroup();
  Material& m2 = addMaterial(g2, "m", 1, 0xFF0000);
  addQuad(g2, "far", m2, 100, 100, 50);
  back.render();
  // Hidden behind the provider's quad, drawn where the provider drew nothing.
  EXPECT_EQ(back.pixel(16, 16), 0u);
  EXPECT_EQ(back.soft().depthAt(16, 16), 10);
  EXPECT_EQ(back.pixel(1, 1), 0xFF0000u);
  EXPECT_EQ(back.soft().depthAt(1, 1), 50);
}

TEST(VexagraphRenderer, WithoutATargetItDrawsIntoItsOwnClearedBuffer) {
  SoftScene scene(16, 16, 0);
  scene.background = 0x204060;
  Group3D& group = scene.addGroup();
  Material& m = addMaterial(group, "m", 1, 0xFFFFFF);
  addQuad(group, "q", m, 1, 1, 10);
  scene.render();
  ASSERT_TRUE(scene.soft().ownsTarget());
  EXPECT_EQ(scene.soft().target().bitsPerPixel, 32);
  EXPECT_EQ(scene.pixel(0, 0), 0x204060u);
  EXPECT_EQ(scene.pixel(8, 8), 0xFFFFFFu);
}

// Splits each face while the depth is below `limit`, counting the questions.
class SplitBelow : public SubdivisionQuestion {
 public:
  explicit SplitBelow(int limit) : limit_(limit) {}
  bool shouldSplit(const Face&, int depth, const ProjectedCorner (&)[3]) override {
    ++asked;
    deepest = std::max(deepest, depth);
    return depth < limit_;
  }
  int asked = 0;
  int deepest = 0;

 private:
  int limit_;
};

TEST(VexagraphRenderer, SubdivisionAsksForEachPartAndStopsAtTheDepthLimit) {
  SplitBelow once(1);
  SplitBelow always(1000);
  std::vector<Colour> plain;
  for (SplitBelow* question : {static_cast<SplitBelow*>(nullptr), &once, &always}) {
    SoftScene scene(32, 32, 32);
    Group3D& group = scene.addGroup();
    Material& m = addMaterial(group, "m", 1, 0xFFFFFF);
    Mesh& quad = addQuad(group, "q", m, 3, 3, 10);
    quad.subdivision = question;
    scene.render();
    EXPECT_EQ(scene.soft().statistics().trianglesDrawn, 2);
    // Splitting changes which pixels are covered by at most the edges of the parts.
    int covered = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) covered += scene.pixel(x, y) != 0;
    if (!question)
      plain.push_back(static_cast<Colour>(covered));
    else
      EXPECT_NEAR(covered, static_cast<int>(plain[0]), 16);
  }
  // Two faces, each asked at depth 0 and then for its four parts at depth 1.
  EXPECT_EQ(once.asked, 2 * (1 + 4));
  EXPECT_EQ(always.deepest, VexagraphRenderer::kMaxSubdivisionDepth - 1);
}

TEST(VexagraphRenderer, FacesCrossingTheNearPlaneAreClippedNotDropped) {
  SoftScene scene(32, 32, 32);
  Group3D& group = scene.addGroup();
  Material& m = addMaterial(group, "m", 1, 0xFFFFFF);
  // A floor from behind the camera to far ahead.
  addFloor(group, "floor", m, 5, -1, -5, 40, 1);
  scene.render();
  EXPECT_EQ(scene.soft().statistics().trianglesDrawn, 2);
  // The bottom rows, just in front of the near plane, are covered.
  EXPECT_EQ(scene.pixel(16, 31), 0xFFFFFFu);
  EXPECT_EQ(scene.pixel(16, 0), 0u);
}

TEST(VexagraphRenderer, WireFacesDrawOnlyTheEdgesOfTheMask) {
  SoftScene scene(32, 32, 32);
  Group3D& group = scene.addGroup();
  Material& m = addMaterial(group, "m", 1, 0xFFFF00);
  m.wire = true;
  // Edge b-c: the right side of face (0, 1, 2) and the top of face (0, 2, 3). The shared
  // diagonal (c-a of the first, a-b of the second), the left and the bottom stay undrawn.
  m.edgeMask = kEdgeBC;
  addQuad(group, "q", m, 1, 1, 5);  // screen x and y 9..23
  scene.render();
  auto count = [&](int x0, int x1, int y0, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += scene.pixel(x, y) == 0xFFFF00u;
    return n;
  };
  EXPECT_EQ(scene.pixel(16, 16), 0u);
  EXPECT_GE(count(10, 23, 7, 11), 13);   // top
  EXPECT_GE(count(21, 25, 10, 23), 13);  // right
  EXPECT_EQ(count(10, 22, 20, 26), 0);   // bottom
  EXPECT_EQ(count(6, 11, 10, 22), 0);    // left

  // The full mask draws the diagonal too.
  m.edgeMask = kEdgeAB | kEdgeBC | kEdgeCA;
  scene.render();
  EXPECT_EQ(scene.pixel(16, 16), 0xFFFF00u);
  EXPECT_GE(count(10, 22, 20, 26), 13);
}

}  // namespace
}  // namespace engine3d::soft_test
