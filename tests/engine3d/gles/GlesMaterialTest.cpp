// Per-mesh and per-material GL state of the OpenGL ES driver, read back from GL right after
// each mesh is drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "GlesFixture.h"
#include "engine3d/RendererDrivers.h"
#include "engine3d/gles/GlesCamera.h"
#include "engine3d/gles/GlesConvert.h"

namespace engine3d::testing {
namespace {

struct MeshState {
  const Mesh* mesh = nullptr;
  bool blend = false;
  bool depthWrites = false;
  bool lighting = false;
  bool texture2D = false;
  bool alphaTest = false;
  bool cullFace = false;
  bool fog = false;
  GLfixed colour[4] = {};
  GLfixed depthRange[2] = {};
  GLint blendSrc = 0;
  GLint blendDst = 0;
  GLint texEnvMode = 0;
  Colour driverColour = 0;
  int driverTransparency = 0;
};

// The driver with a look at GL after every mesh.
class TracingRenderer : public GlesRenderer {
 public:
  explicit TracingRenderer(SceneView* scene) : GlesRenderer(scene) {}
  std::vector<MeshState> states;

 protected:
  void drawMesh(const DrawItem& item, const FaceSpans& spans) override {
    GlesRenderer::drawMesh(item, spans);
    MeshState s;
    s.mesh = item.mesh;
    s.blend = glIsEnabled(GL_BLEND);
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    s.depthWrites = mask;
    s.lighting = glIsEnabled(GL_LIGHTING);
    s.texture2D = glIsEnabled(GL_TEXTURE_2D);
    s.alphaTest = glIsEnabled(GL_ALPHA_TEST);
    s.cullFace = glIsEnabled(GL_CULL_FACE);
    s.fog = glIsEnabled(GL_FOG);
    glGetFixedv(GL_CURRENT_COLOR, s.colour);
    glGetFixedv(GL_DEPTH_RANGE, s.depthRange);
    glGetIntegerv(GL_BLEND_SRC, &s.blendSrc);
    glGetIntegerv(GL_BLEND_DST, &s.blendDst);
    GLfixed env = 0;
    glGetTexEnvxv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    s.texEnvMode = env;
    s.driverColour = colour;
    s.driverTransparency = transparency;
    states.push_back(s);
  }
};

class GlesMaterialTest : public GlesTest {
 protected:
  void SetUp() override {
    GlesTest::SetUp();
    drivers.add(kRendererGles,
                RendererDriver{[](SceneView* s) -> std::unique_ptr<Renderer> {
                                 return std::make_unique<TracingRenderer>(s);
                               },
                               [](SceneView* s, int mode) -> std::unique_ptr<Camera> {
                                 return std::make_unique<GlesCamera>(s, mode);
                               }});
    scene_ = std::make_unique<StandaloneScene>(120, 160);
    scene_->windowHandle = makeWindow(0, 0, 120, 160);
  }
  void TearDown() override {
    scene_.reset();
    GlesTest::TearDown();
  }

  // Sets up, draws one frame and returns what each mesh was drawn with, in drawing order.
  const std::vector<MeshState>& frame() {
    if (!scene_->camera()) {
      EXPECT_TRUE(scene_->setUp(drivers, kRendererGles));
      scene_->cam().setEye(0, 0, -10);
      scene_->cam().setTarget(0, 0, 0);
    }
    auto& tracer = dynamic_cast<TracingRenderer&>(scene_->draw());
    tracer.states.clear();
    tracer.renderScene(0.02f);
    return tracer.states;
  }

  std::unique_ptr<StandaloneScene> scene_;
};

TEST_F(GlesMaterialTest, Transparency128UnlitBlendsWithoutDepthWrites) {
  scene_->add(quad(1, plainMaterial(0x00FF00, kShadingUnlit), Vector3(0, 0, 2)));
  scene_->add(quad(1, plainMaterial(0x336699, kShadingUnlitTransparent, 128), Vector3(0, 0, 0)));
  const auto& states = frame();
  ASSERT_EQ(states.size(), 2u);
  // The opaque mesh first, with depth writes and no blending.
  EXPECT_FALSE(states[0].blend);
  EXPECT_TRUE(states[0].depthWrites);
  EXPECT_EQ(states[0].colour[3], 0);
  // Then the transparent one.
  EXPECT_TRUE(states[1].blend);
  EXPECT_FALSE(states[1].depthWrites);
  EXPECT_EQ(states[1].blendSrc, GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_EQ(states[1].blendDst, GL_SRC_ALPHA);
  EXPECT_FALSE(states[1].lighting);
  EXPECT_FALSE(states[1].texture2D);
  EXPECT_EQ(states[1].colour[3], 32896);
  EXPECT_EQ(states[1].colour[0], toFixedColour(0x336699, 0)[0]);
  // Depth writes come back on after the frame.
  GLboolean mask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  EXPECT_TRUE(mask);
}

TEST_F(GlesMaterialTest, ATransparentMeshFirstInTheListAlsoWritesNoDepth) {
  scene_->add(quad(1, plainMaterial(0x336699, kShadingUnlitTransparent, 128), Vector3(0, 0, 0)));
  const auto& states = frame();
  ASSERT_EQ(states.size(), 1u);
  EXPECT_FALSE(states[0].depthWrites);
}

TEST_F(GlesMaterialTest, LightDirectionsAreResentInWorldSpaceForEveryMesh) {
  scene_->lights.push_back(Light::make("a", Vector3(0, 0, 1), 0xFFFFFF));
  scene_->add(quad(1, plainMaterial(0x808080, kShadingLit), Vector3(0, 0, 0)));
  frame();
  // Looking from +x toward the origin: the world's +z is the eye's x axis, one way or the other.
  scene_->cam().setEye(10, 0, 0);
  scene_->cam().setTarget(0, 0, 0);
  frame();
  const Vector3 expected = scene_->cam().viewMatrix().transformDirection(Vector3(0, 0, 1));
  ASSERT_GT(std::fabs(expected.x), 0.99f);
  GLfixed v[4];
  glGetLightxv(GL_LIGHT0, GL_POSITION, v);
  EXPECT_NEAR(v[0], floatToFixed(expected.x), 2);
  EXPECT_NEAR(v[1], floatToFixed(expected.y), 2);
  EXPECT_NEAR(v[2], floatToFixed(expected.z), 2);
  EXPECT_EQ(v[3], 0);
}

TEST_F(GlesMaterialTest, LightsBeyondTheMaximumAreSwitchedOff) {
  for (int i = 0; i < 9; ++i)
    scene_->lights.push_back(Light::make("l", Vector3(0, -1, 0), 0x101010));
  scene_->add(quad(1, plainMaterial(0x808080, kShadingLit), Vector3(0, 0, 0)));
  frame();
  auto& renderer = dynamic_cast<GlesRenderer&>(scene_->draw());
  ASSERT_EQ(renderer.maxLights, 8);
  EXPECT_TRUE(glIsEnabled(GL_LIGHT7));
  EXPECT_TRUE(GlRecorder::get().called("glDisable", {GL_LIGHT0 + 8}));
  EXPECT_FALSE(GlRecorder::get().called("glEnable", {GL_LIGHT0 + 8}));
}

TEST_F(GlesMaterialTest, ModesOneAndThreeIgnoreTransparency) {
  scene_->add(quad(1, plainMaterial(0x808080, kShadingUnlit, 200), Vector3(0, 0, 0)));
  const auto& states = frame();
  ASSERT_EQ(states.size(), 1u);
  EXPECT_FALSE(states[0].blend);
  EXPECT_EQ(states[0].colour[3], 0);
  EXPECT_EQ(states[0].driverTransparency, 0);
}

TEST_F(GlesMaterialTest, TexturedColourIsLiftedGreyAndSaturates) {
  auto black = plainMaterial(0x000000, kShadingUnlitTransparent);
  black->texture = checker(8, 2, 0xFF0000, 0x0000FF);
  auto white = plainMaterial(0xFFFFFF, kShadingUnlitTransparent);
  white->texture = checker(8, 2, 0xFF0000, 0x0000FF);
  scene_->add(quad(1, std::move(black), Vector3(-1, 0, 0)));
  scene_->add(quad(1, std::move(white), Vector3(1, 0, 5)));
  const auto& states = frame();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0].driverColour, 0x646464u);
  EXPECT_EQ(states[0].colour[0], toFixedColour(0x646464, 0)[0]);
  EXPECT_EQ(states[1].driverColour, 0xFFFFFFu);
  EXPECT_EQ(states[1].colour[1], 65536);
  EXPECT_TRUE(states[0].texture2D);
  EXPECT_EQ(states[0].texEnvMode, GL_REPLACE);
  // Brightness is luma: (b + 3r + 6g) / 10 of 0x204060 = (96 + 96 + 384) / 10 = 57 per
  // channel, plus 100 with addSaturate, which drops the lowest bit of red and green first:
  // 0x383839 + 0x646464 = 0x9C9C9D.
  auto tinted = plainMaterial(0x204060, kShadingLit);
  tinted->texture = checker(8, 2, 0xFF0000, 0x0000FF);
  scene_->add(quad(1, std::move(tinted), Vector3(0, 0, 9)));
  const auto& more = frame();
  ASSERT_EQ(more.size(), 3u);
  EXPECT_EQ(more[2].driverColour, 0x9C9C9Du);
  EXPECT_TRUE(more[2].lighting);
  EXPECT_EQ(more[2].texEnvMode, GL_MODULATE);
}

TEST_F(GlesMaterialTest, DepthLayersMoveTheRangeTowardTheViewer) {
  Group3D& base = scene_->add(quad(1, plainMaterial(0x808080, kShadingUnlit), Vector3(0, 0, 0)));
  Group3D& one = scene_->add(quad(1, plainMaterial(0x808080, kShadingUnlit), Vector3(0, 0, 1)));
  Group3D& half = scene_->add(quad(1, plainMaterial(0x808080, kShadingUnlit), Vector3(0, 0, 2)));
  one.setDepthLayer(1.0f);
  half.setDepthLayer(0.5f);
  const auto& states = frame();
  ASSERT_EQ(states.size(), 3u);
  auto rangeOf = [&](const Group3D& g) {
    for (const auto& s : states)
      if (s.mesh == g.firstMesh()) return std::pair(s.depthRange[0], s.depthRange[1]);
    return std::pair(-1, -1);
  };
  // Layer 0: [0.1, 1]; layer 1: [0, 0.9]; layer 0.5: [0.05, 0.95], each trunc(x * 65536).
  EXPECT_EQ(rangeOf(base), std::pair(6553, 65536));
  EXPECT_EQ(rangeOf(one), std::pair(0, 58982));
  EXPECT_EQ(rangeOf(half), std::pair(3276, 62259));
}

TEST_F(GlesMaterialTest, TwoSidedMaterialsDoNotCull) {
  auto oneSided = plainMaterial(0x808080, kShadingUnlit);
  oneSided->twoSided = false;
  scene_->add(quad(1, std::move(oneSided), Vector3(0, 0, 0)));
  scene_->add(quad(1, plainMaterial(0x808080, kShadingUnlit), Vector3(0, 0, 3)));
  const auto& states = frame();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_TRUE(states[0].cullFace);
  EXPECT_FALSE(states[1].cullFace);
}

TEST_F(GlesMaterialTest, OpacityMapWithAlphaTestKeysTheTextureAndTestsAlpha) {
  auto keyed = plainMaterial(0x808080, kShadingUnlitTransparent);
  // Key red; the picture is stored red-low, so red is 0x0000FF in memory.
  keyed->attachTexture(std::make_shared<SurfaceTexture>(
      2, 1, SurfaceTexture::fromRgb({0xFF0000, 0x00FF00}), Colour{0xFF0000}));
  ASSERT_TRUE(keyed->alphaTest);
  auto texture = std::static_pointer_cast<SurfaceTexture>(keyed->texture);
  scene_->add(quad(1, std::move(keyed), Vector3(0, 0, 0)));
  const auto& states = frame();
  ASSERT_EQ(states.size(), 1u);
  EXPECT_TRUE(states[0].alphaTest);
  EXPECT_FALSE(states[0].blend);
  EXPECT_EQ(states[0].driverTransparency, 255);
  EXPECT_EQ(texture->pixels()[0] >> 24, 255u);  // the key colour: transparent
  EXPECT_EQ(texture->pixels()[1] >> 24, 0u);
  EXPECT_TRUE(texture->texturePixels()->uploaded);
}

TEST_F(GlesMaterialTest, OpacityMapWithoutTextureIsALuminanceAlphaBlend) {
  auto m = plainMaterial(0x808080, kShadingUnlitTransparent);
  m->opacityMap = std::make_shared<SurfaceTexture>(2, 2);
  scene_->add(quad(1, std::move(m), Vector3(0, 0, 0)));
  const auto& states = frame();
  ASSERT_EQ(states.size(), 1u);
  EXPECT_TRUE(states[0].blend);
  EXPECT_FALSE(states[0].depthWrites);
  EXPECT_EQ(states[0].texEnvMode, GL_BLEND);
  EXPECT_TRUE(GlRecorder::get().called(
      "glTexImage2D", {GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, 2, 2, 0, GL_LUMINANCE_ALPHA}));
}

TEST_F(GlesMaterialTest, SpecularModesSetMaterialColours) {
  auto m = plainMaterial(0x804000, kShadingSelfIlluminated, 64);
  m->selfIllumination = 0x303030;  // m = 48: diffuse = lerp(scale(c, 207), e, 207)
  m->specularLevel = 100;
  scene_->add(quad(1, std::move(m), Vector3(0, 0, 0)));
  const auto& states = frame();
  ASSERT_EQ(states.size(), 1u);
  EXPECT_TRUE(states[0].lighting);
  GLfixed v[4];
  glGetMaterialxv(GL_FRONT, GL_DIFFUSE, v);
  const Colour diffuse = lerpColour(scaleColour(0x804000, 207), 0x303030, 207);
  EXPECT_EQ(v[0], toFixedColour(diffuse, 64)[0]);
  EXPECT_EQ(v[3], toFixedColour(0, 64)[3]);
  glGetMaterialxv(GL_FRONT, GL_SPECULAR, v);
  EXPECT_EQ(v[0], toFixedColour(0x646464, 0)[0]);
  glGetMaterialxv(GL_FRONT, GL_EMISSION, v);
  EXPECT_EQ(v[1], toFixedColour(0x303030, 0)[1]);
  glGetMaterialxv(GL_FRONT, GL_SHININESS, v);
  EXPECT_EQ(v[0], 100 << 16);
}

TEST_F(GlesMaterialTest, OneSidedMaterialsGetTheirColoursToo) {
  // OpenGL ES sets material colours for both faces only: asked for the front alone it keeps
  // its default grey and reports an invalid enum.
  auto m = plainMaterial(0xC08040, kShadingLit);
  m->twoSided = false;
  scene_->add(quad(1, std::move(m), Vector3(0, 0, 0)));
  while (glGetError() != GL_NO_ERROR) {
  }
  const auto& states = frame();
  ASSERT_EQ(states.size(), 1u);
  EXPECT_TRUE(states[0].cullFace);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  GLfixed v[4];
  glGetMaterialxv(GL_FRONT, GL_DIFFUSE, v);
  EXPECT_EQ(v[0], toFixedColour(0xC08040, 0)[0]);
  EXPECT_EQ(v[2], toFixedColour(0xC08040, 0)[2]);
  glGetMaterialxv(GL_FRONT, GL_AMBIENT, v);
  EXPECT_EQ(v[1], toFixedColour(0xC08040, 0)[1]);
}

TEST_F(GlesMaterialTest, FlatLitMeshesAreGivenVertexNormalsToLightBy) {
  // Preparing leaves a flat material's vertex normals zero (the software renderer shades such
  // faces from their face normals); lit per vertex by GL they would show only the ambient.
  auto flat = plainMaterial(0xC08040, kShadingLit);
  flat->flat = true;
  Group3D& lit = scene_->add(quad(1, std::move(flat), Vector3(0, 0, 0)));
  auto unlitFlat = plainMaterial(0xC08040, kShadingUnlit);
  unlitFlat->flat = true;
  Group3D& unlit = scene_->add(quad(1, std::move(unlitFlat), Vector3(3, 0, 0)));
  ASSERT_TRUE(scene_->setUp(drivers, kRendererGles));
  scene_->cam().setEye(0, 0, -10);
  scene_->cam().setTarget(0, 0, 0);
  const Vertex& before = lit.firstMesh()->vertices[0];
  EXPECT_EQ(before.nz, 0);
  frame();
  const Vertex& after = lit.firstMesh()->vertices[0];
  EXPECT_EQ(after.nx, 0);
  EXPECT_EQ(after.ny, 0);
  EXPECT_EQ(std::abs(after.nz), fixedOne);          // the quad's face normal, unit length
  EXPECT_EQ(unlit.firstMesh()->vertices[0].nz, 0);  // not lit: left as prepared
}

TEST_F(GlesMaterialTest, FogDistancesAreEyeUnits) {
  scene_->hasFog = true;
  scene_->fogSettings = Fog{100, 200, 0x102030};
  Group3D& fogged = scene_->add(quad(1, plainMaterial(0x808080, kShadingUnlit), Vector3(0, 0, 0)));
  Group3D& clear = scene_->add(quad(1, plainMaterial(0x808080, kShadingUnlit), Vector3(0, 0, 3)));
  clear.setEnvironmentEnabled(false);
  const auto& states = frame();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0].mesh, fogged.firstMesh());
  EXPECT_TRUE(states[0].fog);
  EXPECT_FALSE(states[1].fog);
  GLfixed v[4];
  glGetFixedv(GL_FOG_START, v);
  EXPECT_EQ(v[0], 100 << 16);
  glGetFixedv(GL_FOG_END, v);
  EXPECT_EQ(v[0], 200 << 16);
  glGetFixedv(GL_FOG_COLOR, v);
  EXPECT_EQ(v[2], toFixedColour(0x102030, 0)[2]);
  EXPECT_TRUE(GlRecorder::get().called("glFogx", {GL_FOG_MODE, GL_LINEAR}));
}

TEST_F(GlesMaterialTest, FaceRangesDrawOneOrTwoIndexRuns) {
  auto group = std::make_unique<Group3D>();
  auto mesh = std::make_unique<Mesh>();
  for (int i = 0; i < 12; ++i)
    mesh->addVertex(static_cast<float>(i % 4), static_cast<float>(i / 4), 0, 0, 0);
  for (int f = 0; f < 5; ++f) mesh->addFace(f, f + 1, f + 4);
  mesh->material = group->addMaterial("m", plainMaterial(0xFFFFFF, kShadingUnlit));
  Mesh* raw = group->addMesh("m", std::move(mesh));
  group->cullingPolicy = kCullNever;
  scene_->add(std::move(group));
  raw->firstFace = 3;
  raw->lastFace = 1;  // wraps: faces 3, 4, then 0
  GlRecorder::get().clear();
  frame();
  const auto base = reinterpret_cast<std::intptr_t>(raw->indexArray.data());
  EXPECT_TRUE(GlRecorder::get().called("glDrawElements",
                                       {GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, base + 3 * 6}));
  EXPECT_TRUE(
      GlRecorder::get().called("glDrawElements", {GL_TRIANGLES, 3, GL_UNSIGNED_SHORT, base}));
  EXPECT_EQ(scene_->draw().statistics().trianglesDrawn, 3);
  EXPECT_EQ(scene_->draw().statistics().verticesSubmitted, 12);

  raw->firstFace = -1;
  GlRecorder::get().clear();
  frame();
  EXPECT_EQ(GlRecorder::get().count("glDrawElements"), 1);
  EXPECT_TRUE(
      GlRecorder::get().called("glDrawElements", {GL_TRIANGLES, 15, GL_UNSIGNED_SHORT, base}));
}

TEST_F(GlesMaterialTest, VertexArraysPointIntoTheMeshRecords) {
  Group3D& g = scene_->add(quad(1, plainMaterial(0x808080, kShadingLit), Vector3(0, 0, 0)));
  g.firstMaterial()->texture = checker(4, 2, 0, 0xFFFFFF);
  frame();
  const Mesh& mesh = *g.firstMesh();
  const auto* base = reinterpret_cast<const std::uint8_t*>(mesh.vertices.data());
  void* pointer = nullptr;
  GLint value = 0;
  glGetPointerv(GL_VERTEX_ARRAY_POINTER, &pointer);
  EXPECT_EQ(pointer, base);
  glGetIntegerv(GL_VERTEX_ARRAY_STRIDE, &value);
  EXPECT_EQ(value, 68);
  glGetIntegerv(GL_VERTEX_ARRAY_TYPE, &value);
  EXPECT_EQ(value, GL_FIXED);
  glGetPointerv(GL_TEXTURE_COORD_ARRAY_POINTER, &pointer);
  EXPECT_EQ(pointer, base + 12);
  glGetPointerv(GL_NORMAL_ARRAY_POINTER, &pointer);
  EXPECT_EQ(pointer, base + 20);
  EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
}

TEST_F(GlesMaterialTest, TextureOffsetLoadsATextureTranslation) {
  Group3D& g = scene_->add(quad(1, plainMaterial(0x808080, kShadingUnlit), Vector3(0, 0, 0)));
  g.firstMaterial()->textureOffsetU = 32768;
  g.firstMaterial()->textureOffsetV = -16384;
  frame();
  GLfixed m[16];
  glGetFixedv(GL_TEXTURE_MATRIX, m);
  EXPECT_EQ(m[12], 32768);
  EXPECT_EQ(m[13], -16384);
  EXPECT_EQ(m[0], 65536);
}

}  // namespace
}  // namespace engine3d::testing
