// Pictures drawn by the OpenGL ES driver, compared with the stored references under
// tests/reference/engine3d/gles/. Tolerance: every channel within 8, except at most 0.5% of the
// pixels (llvmpipe's rasterisation and the 565 screen's rounding may move edges between Mesa
// builds); SKIRROW_UPDATE_REFERENCES=1 rewrites them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "GlesFixture.h"
#include "engine3d/BitmapTarget.h"
#include "engine3d/gles/GlesPicture.h"
#include "support/ReferenceImage.h"

namespace engine3d::testing {
namespace {

std::string reference(const std::string& name) {
  return "engine3d/gles/" + name;
}

::testing::AssertionResult matchesReference(const host::RgbImage& image, const std::string& name) {
  return testing_support::matchesReferenceFile(image, testing_support::referenceFile(name), 8,
                                               0.005);
}

struct Difference {
  int worst = 0;
  double mean = 0.0;
};

Difference differenceOf(const host::RgbImage& a, const host::RgbImage& b) {
  Difference d;
  if (a.rgb.size() != b.rgb.size() || a.rgb.empty()) return {255, 255.0};
  long long sum = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) {
    const int delta = std::abs(a.rgb[i] - b.rgb[i]);
    d.worst = std::max(d.worst, delta);
    sum += delta;
  }
  d.mean = static_cast<double>(sum) / static_cast<double>(a.rgb.size());
  return d;
}

// Measured difference from the stored reference, noted in the test's output.
void noteDifference(const host::RgbImage& image, const std::string& name) {
  if (auto stored = host::readPng(testing_support::referenceFile(reference(name)))) {
    const Difference d = differenceOf(image, *stored);
    std::printf("[ measured ] %s: worst channel difference %d, mean %.3f\n", name.c_str(), d.worst,
                d.mean);
  }
}

using GlesPictureTest = GlesTest;

TEST_F(GlesPictureTest, WindowSceneMatchesReference) {
  StandaloneScene scene(240, 320);
  scene.windowHandle = makeWindow(0, 0, 240, 320);
  buildReferenceScene(scene);
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  aimCamera(scene);
  scene.draw().renderScene(0.02f);
  const host::RgbImage picture = screenPicture(0, 0, 240, 320);
  noteDifference(picture, "window_scene");
  EXPECT_TRUE(matchesReference(picture, reference("window_scene")));
  EXPECT_GT(scene.draw().statistics().trianglesDrawn, 0);
}

TEST_F(GlesPictureTest, PixmapSceneIsUprightLikeTheWindowScene) {
  BitmapTarget target(240, 320);
  ASSERT_TRUE(target.valid());
  target.fill(0x203050);  // off-screen scenes leave the background to the page
  StandaloneScene offscreen(240, 320);
  offscreen.offscreenTarget = &target.pixels();
  buildReferenceScene(offscreen);
  ASSERT_TRUE(offscreen.setUp(drivers, kRendererGles));
  aimCamera(offscreen);
  // The page clears a buffered scene's surface; here the colour clear stands in for it.
  offscreen.draw().renderScene(0.02f);
  const host::RgbImage pixmap = target.picture();
  noteDifference(pixmap, "pixmap_scene");
  EXPECT_TRUE(matchesReference(pixmap, reference("pixmap_scene")));

  StandaloneScene window(240, 320);
  window.windowHandle = makeWindow(0, 0, 240, 320);
  buildReferenceScene(window);
  ASSERT_TRUE(window.setUp(drivers, kRendererGles));
  aimCamera(window);
  window.draw().renderScene(0.02f);
  const host::RgbImage screen = screenPicture(0, 0, 240, 320);
  // Same picture up to the 565 screen's rounding (at most 7 per channel).
  const Difference d = differenceOf(pixmap, screen);
  std::printf("[ measured ] pixmap vs window: worst %d, mean %.3f\n", d.worst, d.mean);
  EXPECT_LE(d.worst, 8);
  EXPECT_LT(d.mean, 4.0);
}

TEST_F(GlesPictureTest, PixmapScenesDrawOverWhatThePageAndTheBackgroundStepPutThere) {
  // As a page's buffered 3D scene: the page draws its layers into the bitmap between frames,
  // and the scene's background step fills the scene's colour after the frame has begun.
  class FilledScene : public StandaloneScene {
   public:
    FilledScene(BitmapTarget& target) : StandaloneScene(40, 30), target_(target) {}
    void drawBackgroundStep() override {
      for (int y = 10; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
          reinterpret_cast<std::uint32_t*>(target_.pixels().bits + y * target_.pixels().stride)[x] =
              fill;
    }
    std::uint32_t fill = 0x0000FF;

   private:
    BitmapTarget& target_;
  };
  BitmapTarget target(40, 30);
  ASSERT_TRUE(target.valid());
  target.fill(0x000000);
  FilledScene scene(target);
  scene.offscreenTarget = &target.pixels();
  // A red square in the middle; the rest of the bitmap is the page's and the step's.
  scene.add(quad(1.0f, plainMaterial(0xFF0000, kShadingUnlit), Vector3(0, 0, 0)));
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  scene.cam().setEye(0, 0, -10);
  scene.cam().setTarget(0, 0, 0);
  for (std::uint32_t page : {0x00FF00u, 0xFFFF00u}) {
    target.fill(page);  // the page's layers, drawn after the previous frame
    scene.fill = page == 0x00FF00u ? 0x0000FFu : 0xFF00FFu;
    scene.draw().renderScene(0.02f);
    EXPECT_EQ(target.at(20, 15), 0xFF0000u);
    EXPECT_EQ(target.at(1, 1), page) << "the page's pixels above the step's rows";
    EXPECT_EQ(target.at(1, 28), scene.fill) << "the background step's pixels";
  }
}

TEST_F(GlesPictureTest, WindowSceneLandsInItsPlaceOnTheScreen) {
  // A window at (20, 30) whose scene is the lower 160 rows: the colour clear covers the whole
  // window, the box only the scene's viewport.
  host::Host::get().screen();
  StandaloneScene scene(200, 160);
  scene.windowHandle = makeWindow(20, 30, 200, 280);
  scene.top = 120;
  scene.background = 0x00FF00;
  scene.add(quad(100.0f, plainMaterial(0xFF0000, kShadingUnlit), Vector3(0, 0, 50)));
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  scene.cam().setEye(0, 0, -10);
  scene.cam().setTarget(0, 0, 0);
  scene.draw().renderScene(0.02f);
  const host::RgbImage picture = screenPicture(0, 0, 240, 320);
  auto at = [&](int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * 240 + x) * 3;
    return static_cast<std::uint32_t>(picture.rgb[i] << 16 | picture.rgb[i + 1] << 8 |
                                      picture.rgb[i + 2]);
  };
  EXPECT_EQ(at(10, 10), 0x000000u);            // outside the window: untouched
  EXPECT_EQ(at(25, 35), 0x00FF00u);            // window, above the scene: cleared
  EXPECT_EQ(at(25, 30 + 120 + 5), 0xFF0000u);  // inside the scene
  EXPECT_EQ(at(215, 305), 0xFF0000u);
  EXPECT_EQ(at(239, 319), 0x000000u);
  noteDifference(picture, "window_placement");
  EXPECT_TRUE(matchesReference(picture, reference("window_placement")));
}

TEST_F(GlesPictureTest, OverlayLaysTheKeyedSurfaceOverTheFrame) {
  StandaloneScene scene(120, 160);
  scene.windowHandle = makeWindow(0, 0, 120, 160);
  scene.background = 0x0000FF;
  scene.key = 0x000000;
  // The 2D layer: black (the key) with a white frame and a yellow bar, in GDI layout.
  std::vector<std::uint32_t> layer(120 * 160, 0x000000);
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 120; ++x) {
      if (x < 4 || y < 4 || x >= 116 || y >= 156) layer[y * 120 + x] = 0xFFFFFF;
      if (y >= 20 && y < 30 && x >= 10 && x < 110) layer[y * 120 + x] = 0xFFFF00;
    }
  SurfaceTexture overlay(120, 160, layer);
  scene.overlay = overlay.texturePixels();
  scene.add(quad(1.0f, plainMaterial(0xFF0000, kShadingUnlit), Vector3(0, 0, 0)));
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  scene.cam().setEye(0, 0, -4);
  scene.cam().setTarget(0, 0, 0);
  scene.draw().holdPresent = true;
  scene.draw().renderScene(0.02f);
  gles(scene).drawOverlay();
  scene.draw().present();
  const host::RgbImage picture = screenPicture(0, 0, 120, 160);
  auto at = [&](int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * 120 + x) * 3;
    return static_cast<std::uint32_t>(picture.rgb[i] << 16 | picture.rgb[i + 1] << 8 |
                                      picture.rgb[i + 2]);
  };
  EXPECT_EQ(at(1, 1), 0xFFFFFFu);    // frame, top-left: the overlay is not mirrored
  EXPECT_EQ(at(60, 25), 0xFFFF00u);  // bar near the top, colours in the right order
  EXPECT_EQ(at(60, 80), 0xFF0000u);  // key colour: the 3D frame shows through
  EXPECT_EQ(at(10, 120), 0x0000FFu);
  noteDifference(picture, "overlay");
  EXPECT_TRUE(matchesReference(picture, reference("overlay")));
}

TEST_F(GlesPictureTest, ToolPictureIsDrawnOffScreenAndUpright) {
  GlesPictureRequest request;
  request.width = 80;
  request.height = 60;
  request.background = 0x102030;
  std::vector<std::unique_ptr<Group3D>> groups;
  // A red square in the upper half of the view.
  groups.push_back(quad(1.0f, plainMaterial(0xFF0000, kShadingUnlit), Vector3(0, 1.5f, 0)));
  const auto picture = renderGlesPicture(request, std::move(groups));
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->width, 80);
  ASSERT_EQ(picture->height, 60);
  auto at = [&](int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * 80 + x) * 3;
    return static_cast<std::uint32_t>(picture->rgb[i] << 16 | picture->rgb[i + 1] << 8 |
                                      picture->rgb[i + 2]);
  };
  EXPECT_EQ(at(40, 18), 0xFF0000u);  // upper half: the square
  EXPECT_EQ(at(40, 45), 0x102030u);  // lower half: background
  EXPECT_EQ(at(0, 0), 0x102030u);
  GlesPictureRequest empty;
  empty.width = 0;
  EXPECT_FALSE(renderGlesPicture(empty, {}));
}

}  // namespace
}  // namespace engine3d::testing
