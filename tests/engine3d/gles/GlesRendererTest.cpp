// Set-up, state, description, presentation and the camera's GL state of the OpenGL ES driver.
#include <gtest/gtest.h>

#include <cstdlib>

#include "GlesFixture.h"
#include "engine3d/BitmapTarget.h"
#include "engine3d/gles/GlesCamera.h"
#include "engine3d/gles/GlesConvert.h"
#include "host/Egl.h"

namespace engine3d::testing {
namespace {

using GlesRendererTest = GlesTest;

TEST(GlesConvert, ColoursUseTheFactor65536Over255) {
  const auto white = toFixedColour(0xFFFFFF, 255);
  EXPECT_EQ(white[0], 65536);
  EXPECT_EQ(white[1], 65536);
  EXPECT_EQ(white[2], 65536);
  EXPECT_EQ(white[3], 65536);
  const auto c = toFixedColour(0x800102, 128);
  EXPECT_EQ(c[0], 32896);
  EXPECT_EQ(c[1], 257);
  EXPECT_EQ(c[2], 514);
  EXPECT_EQ(c[3], 32896);
  const auto v = toFixedVector(Vector3(1.5f, -0.25f, 0.00001f), 0.0f);
  EXPECT_EQ(v[0], 98304);
  EXPECT_EQ(v[1], -16384);
  EXPECT_EQ(v[2], 0);
  EXPECT_EQ(v[3], 0);
}

TEST_F(GlesRendererTest, WindowSceneSetsUpTheInitialState) {
  StandaloneScene scene(240, 320);
  scene.windowHandle = makeWindow(0, 0, 240, 320);
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  GlesRenderer& r = gles(scene);
  EXPECT_EQ(r.type, kRendererGles);
  EXPECT_FALSE(r.offscreen);
  EXPECT_FALSE(r.holdPresent);
  EXPECT_EQ(r.colourDepth, 16);  // the qvga device's display
  EXPECT_GE(r.maxLights, 8);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  GLint value = 0;
  glGetIntegerv(GL_DEPTH_FUNC, &value);
  EXPECT_EQ(value, GL_LESS);
  GLfixed alphaRef = 0;
  glGetFixedv(GL_ALPHA_TEST_REF, &alphaRef);
  EXPECT_EQ(alphaRef, 32768);
  glGetIntegerv(GL_ALPHA_TEST_FUNC, &value);
  EXPECT_EQ(value, GL_LESS);
  glGetIntegerv(GL_FRONT_FACE, &value);
  EXPECT_EQ(value, GL_CCW);
  glGetIntegerv(GL_CULL_FACE_MODE, &value);
  EXPECT_EQ(value, GL_BACK);
  EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
  EXPECT_EQ(value, 4);
  // A 16-bit display dithers.
  EXPECT_TRUE(GlRecorder::get().called("glEnable", {GL_DITHER}));
  EXPECT_TRUE(glIsEnabled(GL_DITHER));
}

TEST_F(GlesRendererTest, DeepTargetsLeaveDitheringAtTheDefault) {
  {
    BitmapTarget target(64, 48);
    ASSERT_TRUE(target.valid());
    StandaloneScene scene(64, 48);
    scene.offscreenTarget = &target.pixels();
    ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
    EXPECT_TRUE(gles(scene).offscreen);
    EXPECT_EQ(gles(scene).colourDepth, 32);
    EXPECT_FALSE(GlRecorder::get().called("glEnable", {GL_DITHER}));
    EXPECT_FALSE(GlRecorder::get().called("glDisable", {GL_DITHER}));
  }
  // A 24-bit display.
  GlRecorder::get().clear();
  host::HostConfig config = host::Host::get().config();
  config.profile.displayDepth = 24;
  host::Host::restart(config);
  StandaloneScene window(64, 48);
  window.windowHandle = makeWindow(0, 0, 64, 48);
  ASSERT_TRUE(window.setUp(drivers, kRendererGles));
  EXPECT_EQ(gles(window).colourDepth, 24);
  EXPECT_FALSE(GlRecorder::get().called("glEnable", {GL_DITHER}));
}

TEST_F(GlesRendererTest, PixmapSceneWindsClockwiseAndMirrorsY) {
  BitmapTarget target(64, 48);
  StandaloneScene scene(64, 48);
  scene.offscreenTarget = &target.pixels();
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  GLint value = 0;
  glGetIntegerv(GL_FRONT_FACE, &value);
  EXPECT_EQ(value, GL_CW);
  GLfixed projection[16];
  glGetFixedv(GL_PROJECTION_MATRIX, projection);
  // Column-major: element (1, 1) at 5 is negative (y mirrored), (2, 2) at 10 is positive
  // (z flipped: +z forward), (3, 2) at 11 is +1 (w = z).
  EXPECT_LT(projection[5], 0);
  EXPECT_GT(projection[10], 0);
  EXPECT_EQ(projection[11], 65536);

  StandaloneScene window(64, 48);
  window.windowHandle = makeWindow(0, 0, 64, 48);
  ASSERT_TRUE(window.setUp(drivers, kRendererGles));
  glGetIntegerv(GL_FRONT_FACE, &value);
  EXPECT_EQ(value, GL_CCW);
  glGetFixedv(GL_PROJECTION_MATRIX, projection);
  EXPECT_GT(projection[5], 0);
  EXPECT_EQ(
      projection[5], -[&] {
        GLfixed mirrored[16];
        gles(scene).makeCurrent();
        glGetFixedv(GL_PROJECTION_MATRIX, mirrored);
        return mirrored[5];
      }());
}

TEST_F(GlesRendererTest, ProjectionIsThePerspectiveWithZFlipped) {
  StandaloneScene scene(240, 320);
  scene.windowHandle = makeWindow(0, 0, 240, 320);
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  scene.cam().setPerspective(60.0f, 2.0f, 500.0f);
  Matrix4 expected = Matrix4::perspective(60.0f, 240.0f / 320.0f, 2.0f, 500.0f);
  Matrix4 flip;
  flip.setScale(Vector3(1, 1, -1));
  const auto fixed = toFixedColumnMajor(expected * flip);
  GLfixed projection[16];
  glGetFixedv(GL_PROJECTION_MATRIX, projection);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(projection[i], fixed[i], 1) << i;
}

TEST_F(GlesRendererTest, CameraWithoutAGlRendererOnlyStoresItsValues) {
  StandaloneScene scene(64, 64);  // no renderer
  GlesCamera camera(&scene, 0);
  GlRecorder::get().clear();
  camera.setViewport(64, 32);
  camera.setPerspective(0.0f, 2.0f, 50.0f);
  int w = 0;
  int h = 0;
  camera.getViewport(w, h);
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 32);
  float fov = 0;
  float near = 0;
  float far = 0;
  camera.getPerspective(fov, near, far);
  EXPECT_EQ(fov, 1.0f);
  EXPECT_TRUE(GlRecorder::get().calls.empty());
}

TEST_F(GlesRendererTest, ViewportRowCountsFromTheWindowBottom) {
  // A scene 40 pixels down, 160 high, in a 320-pixel-high window.
  StandaloneScene scene(200, 160);
  scene.windowHandle = makeWindow(0, 0, 240, 320);
  scene.left = 20;
  scene.top = 40;
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 20);
  EXPECT_EQ(viewport[1], 120);
  EXPECT_EQ(viewport[2], 200);
  EXPECT_EQ(viewport[3], 160);

  // The overlay uses the same row.
  SurfaceTexture overlay(200, 160);
  scene.overlay = overlay.texturePixels();
  glViewport(0, 0, 1, 1);
  gles(scene).drawOverlay();
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 20);
  EXPECT_EQ(viewport[1], 120);
  EXPECT_EQ(viewport[2], 200);
  EXPECT_EQ(viewport[3], 160);
}

TEST_F(GlesRendererTest, OffscreenViewportRowIsTheSceneRow) {
  BitmapTarget target(240, 320);
  StandaloneScene scene(200, 160);
  scene.offscreenTarget = &target.pixels();
  scene.top = 40;
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[1], 40);
}

TEST_F(GlesRendererTest, DescribeNamesVersionAndVendor) {
  StandaloneScene scene(64, 64);
  scene.windowHandle = makeWindow(0, 0, 64, 64);
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  GlRecorder::get().version = "1.0";
  GlRecorder::get().vendor = "V";
  EXPECT_EQ(scene.draw().describe(), "OpenGL 1.0, V");
  GlRecorder::get().version = "OpenGL ES-CM 1.1";
  EXPECT_EQ(scene.draw().describe(), " OpenGL ES-CM 1.1, V");
  GlRecorder::get().version.reset();
  GlRecorder::get().vendor.reset();
  // Mesa's own version text names OpenGL already.
  const auto text = scene.draw().describe();
  ASSERT_TRUE(text);
  EXPECT_EQ(text->rfind(" OpenGL ES", 0), 0u) << *text;
}

TEST_F(GlesRendererTest, DepthAtIsZeroInsideAndMinusOneOutside) {
  StandaloneScene scene(100, 80);
  scene.windowHandle = makeWindow(0, 0, 100, 80);
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  EXPECT_EQ(scene.draw().depthAt(0, 0), 0);
  EXPECT_EQ(scene.draw().depthAt(99, 79), 0);
  EXPECT_EQ(scene.draw().depthAt(-1, 0), -1);
  EXPECT_EQ(scene.draw().depthAt(100, 0), -1);
  EXPECT_EQ(scene.draw().depthAt(0, 80), -1);
}

struct ErrorLog : RendererErrorListener {
  void rendererError(int code) override { codes.push_back(code); }
  std::vector<int> codes;
};

TEST_F(GlesRendererTest, AFailedSwapIsReportedWithTheEglError) {
  StandaloneScene scene(64, 64);
  scene.windowHandle = makeWindow(0, 0, 64, 64);
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  ErrorLog log;
  scene.draw().errorListener = &log;
  scene.draw().renderScene(0.01f);
  EXPECT_TRUE(log.codes.empty());
  host::eglLoseSurfaces();
  scene.draw().renderScene(0.01f);
  ASSERT_EQ(log.codes.size(), 1u);
  EXPECT_EQ(log.codes[0], host::kEglContextLost);
  // With holdPresent the frame is not shown, so nothing is reported.
  scene.draw().holdPresent = true;
  scene.draw().renderScene(0.01f);
  EXPECT_EQ(log.codes.size(), 1u);
}

TEST_F(GlesRendererTest, LightsAreLoadedAsDirectionalWithoutAmbient) {
  StandaloneScene scene(64, 64);
  scene.windowHandle = makeWindow(0, 0, 64, 64);
  scene.ambientColour = 0x804020;
  scene.lights.push_back(Light::make("a", Vector3(0, 1, 0), 0xFF8000));
  scene.lights.back().specular = 0x0000FF;
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  GlesRenderer& r = gles(scene);
  r.lightsInEyeSpace = true;
  r.applyLights();
  GLfixed v[4];
  glGetFixedv(GL_LIGHT_MODEL_AMBIENT, v);
  EXPECT_EQ(v[0], 32896);
  EXPECT_EQ(v[1], 16448);
  EXPECT_EQ(v[2], 8224);
  EXPECT_EQ(v[3], 0);
  EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
  glGetLightxv(GL_LIGHT0, GL_DIFFUSE, v);
  EXPECT_EQ(v[0], 65536);
  EXPECT_EQ(v[1], 32896);
  EXPECT_EQ(v[2], 0);
  glGetLightxv(GL_LIGHT0, GL_SPECULAR, v);
  EXPECT_EQ(v[2], 65536);
  glGetLightxv(GL_LIGHT0, GL_AMBIENT, v);
  EXPECT_EQ(v[0], 0);
  EXPECT_EQ(v[3], 65536);
  glGetLightxv(GL_LIGHT0, GL_POSITION, v);
  EXPECT_EQ(v[3], 0);  // directional
}

using GlesRendererDeathTest = GlesTest;

TEST_F(GlesRendererDeathTest, NoEglDisplayEndsTheProcessWithCode1) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::setenv("SKIRROW_EGL", "none", 1);
        StandaloneScene scene(64, 64);
        scene.windowHandle = makeWindow(0, 0, 64, 64);
        scene.setUp(drivers, kRendererGles);
        std::exit(0);
      },
      ::testing::ExitedWithCode(1), "");
}

TEST_F(GlesRendererTest, TheDriverAsksEglForTheDisplayOfItsBuild) {
  // Common-Lite passes EGL_DEFAULT_DISPLAY (0), the Common build 1: both give the display.
  for (host::EglNativeDisplay display : {0, 1}) {
    RendererDrivers own;
    own.add(kRendererGles, glesDriver(display));
    StandaloneScene scene(64, 64);
    scene.windowHandle = makeWindow(0, 0, 64, 64);
    ASSERT_TRUE(scene.setUp(own, kRendererGles)) << display;
    EXPECT_NE(gles(scene).display, host::kEglNoDisplay) << display;
  }
}

TEST_F(GlesRendererDeathTest, ADisplayNumberEglDoesNotKnowEndsTheProcessWithCode1) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        RendererDrivers own;
        own.add(kRendererGles, glesDriver(7));
        StandaloneScene scene(64, 64);
        scene.windowHandle = makeWindow(0, 0, 64, 64);
        scene.setUp(own, kRendererGles);
        std::exit(0);
      },
      ::testing::ExitedWithCode(1), "");
}

TEST_F(GlesRendererDeathTest, ADeadWindowEndsTheProcessWithCode1) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        StandaloneScene scene(64, 64);
        scene.windowHandle = 999999;
        scene.setUp(drivers, kRendererGles);
        std::exit(0);
      },
      ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace engine3d::testing
