// The EGL bridge: displays, configurations, and where window and pixmap surfaces show their
// pictures. GL runs on Mesa's surfaceless platform.
#include <gtest/gtest.h>

#include <GLES/gl.h>

#include <cstdlib>

#include "../HostFixture.h"
#include "host/Egl.h"
#include "host/Gdi.h"
#include "host/Screen.h"

namespace host::testing {
namespace {

class EglBridgeTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    display = eglGetDisplay(1);
    ASSERT_NE(display, kEglNoDisplay);
    ASSERT_TRUE(eglInitialize(display, nullptr, nullptr));
  }
  void TearDown() override {
    eglMakeCurrent(display, kEglNoSurface, kEglNoSurface, kEglNoContext);
    eglTerminate(display);
    HostTest::TearDown();
  }

  EglConfig choose(EglInt surfaceType) {
    const EglInt attributes[] = {kEglLevel,
                                 0,
                                 kEglSampleBuffers,
                                 0,
                                 kEglNativeRenderable,
                                 surfaceType == kEglPixmapBit ? 1 : 0,
                                 kEglDepthSize,
                                 16,
                                 kEglSurfaceType,
                                 surfaceType,
                                 kEglNone};
    EglConfig config = nullptr;
    EglInt count = 0;
    EXPECT_TRUE(eglChooseConfig(display, attributes, &config, 1, &count));
    EXPECT_EQ(eglGetError(), kEglSuccess);
    EXPECT_EQ(count, 1);
    return config;
  }

  // A 32-bit top-down DIB section filled with `colour` (0x00RRGGBB).
  Hbitmap bitmap32(int width, int height, std::uint32_t colour) {
    BitmapInfo info;
    info.width = width;
    info.height = -height;
    info.bitCount = 32;
    void* bits = nullptr;
    Hbitmap b = Host::get().gdi().createDibSection(info, &bits);
    auto* p = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) p[i] = colour;
    return b;
  }

  static std::uint32_t bitmapPixel(Hbitmap b, int x, int y) {
    return Host::get().gdi().surfaceOf(b).rgbAt(x, y);
  }

  static std::uint16_t screenPixel(int x, int y) {
    Screen& s = Host::get().screen();
    return s.pixels()[y * s.width() + x];
  }

  EglDisplay display = kEglNoDisplay;
};

TEST_F(EglBridgeTest, BothBuildsGetTheSameDisplayAndOtherNumbersNone) {
  EXPECT_EQ(eglGetDisplay(0), display);
  EXPECT_EQ(eglGetDisplay(7), kEglNoDisplay);
  EXPECT_EQ(eglGetError(), kEglBadParameter);
  ::setenv("SKIRROW_EGL", "none", 1);
  EXPECT_EQ(eglGetDisplay(1), kEglNoDisplay);
  ::unsetenv("SKIRROW_EGL");
}

TEST_F(EglBridgeTest, ConfigurationsOfferTheAskedSurfaceKindsAndDepth) {
  EglConfig window = choose(kEglWindowBit);
  EglInt value = 0;
  ASSERT_TRUE(eglGetConfigAttrib(display, window, kEglSurfaceType, &value));
  EXPECT_TRUE(value & kEglWindowBit);
  ASSERT_TRUE(eglGetConfigAttrib(display, window, kEglDepthSize, &value));
  EXPECT_GE(value, 16);
  ASSERT_TRUE(eglGetConfigAttrib(display, window, kEglRedSize, &value));
  EXPECT_EQ(value, 8);
  EglConfig pixmap = choose(kEglPixmapBit);
  ASSERT_TRUE(eglGetConfigAttrib(display, pixmap, kEglSurfaceType, &value));
  EXPECT_TRUE(value & kEglPixmapBit);

  const EglInt unknown[] = {0x3099, 1, kEglNone};
  EglConfig config = nullptr;
  EglInt count = 0;
  EXPECT_FALSE(eglChooseConfig(display, unknown, &config, 1, &count));
  EXPECT_EQ(eglGetError(), kEglBadAttribute);
  const EglInt impossible[] = {kEglDepthSize, 64, kEglNone};
  EXPECT_TRUE(eglChooseConfig(display, impossible, &config, 1, &count));
  EXPECT_EQ(count, 0);
}

TEST_F(EglBridgeTest, WindowSurfaceShowsInTheWindowsPartOfTheScreenAtSwap) {
  const Hwnd window =
      wm().createWindow(0, "REC", "gl", WS_POPUP | WS_VISIBLE, 10, 20, 100, 50, 0, 0, nullptr);
  ASSERT_NE(window, 0u);
  EglConfig config = choose(kEglWindowBit);
  EglSurface surface = eglCreateWindowSurface(display, config, window, nullptr);
  ASSERT_NE(surface, kEglNoSurface);
  EglInt size = 0;
  eglQuerySurface(display, surface, kEglHeight, &size);
  EXPECT_EQ(size, 50);
  EglContext context = eglCreateContext(display, config, kEglNoContext, nullptr);
  ASSERT_NE(context, kEglNoContext);
  ASSERT_TRUE(eglMakeCurrent(display, surface, surface, context));
  EXPECT_EQ(eglGetCurrentContext(), context);

  glClearColorx(65536, 0, 0, 65536);
  glClear(GL_COLOR_BUFFER_BIT);
  // GL's bottom ten rows blue.
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, 100, 10);
  glClearColorx(0, 0, 65536, 65536);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  const std::uint16_t before = screenPixel(5, 5);
  EXPECT_EQ(screenPixel(10, 20), before);  // nothing shown before the swap
  ASSERT_TRUE(eglSwapBuffers(display, surface));
  EXPECT_EQ(screenPixel(10, 20), 0xF800);
  EXPECT_EQ(screenPixel(109, 59), 0xF800);
  EXPECT_EQ(screenPixel(50, 60), 0x001F);  // the window's bottom rows
  EXPECT_EQ(screenPixel(109, 69), 0x001F);
  EXPECT_EQ(screenPixel(9, 20), before);  // outside the window
  EXPECT_EQ(screenPixel(50, 70), before);
  EXPECT_TRUE(Host::get().screen().dirty());

  EXPECT_TRUE(eglDestroySurface(display, surface));
  EXPECT_FALSE(eglSwapBuffers(display, surface));
  EXPECT_EQ(eglGetError(), kEglBadSurface);
  EXPECT_TRUE(eglDestroyContext(display, context));
}

TEST_F(EglBridgeTest, PixmapSurfaceStartsFromItsBitmapAndWritesBackFirstRowsFirst) {
  const Hbitmap bitmap = bitmap32(16, 8, 0x123456);
  EglConfig config = choose(kEglPixmapBit);
  EglSurface surface = eglCreatePixmapSurface(display, config, bitmap, nullptr);
  ASSERT_NE(surface, kEglNoSurface);
  EglContext context = eglCreateContext(display, config, kEglNoContext, nullptr);
  ASSERT_TRUE(eglMakeCurrent(display, surface, surface, context));
  // What GDI put in the bitmap is what GL draws over.
  std::uint8_t rgba[4] = {};
  glReadPixels(3, 3, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  EXPECT_EQ(rgba[0], 0x12);
  EXPECT_EQ(rgba[1], 0x34);
  EXPECT_EQ(rgba[2], 0x56);

  // GL rows 0..1 green: as if GL wrote the bitmap's memory, they are its first (top) rows.
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, 16, 2);
  glClearColorx(0, 65536, 0, 65536);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  EXPECT_EQ(bitmapPixel(bitmap, 0, 0), 0x123456u) << "not before the sync";
  ASSERT_TRUE(eglWaitGL());
  EXPECT_EQ(bitmapPixel(bitmap, 0, 0), 0x00FF00u);
  EXPECT_EQ(bitmapPixel(bitmap, 15, 1), 0x00FF00u);
  EXPECT_EQ(bitmapPixel(bitmap, 0, 2), 0x123456u);
  EXPECT_EQ(bitmapPixel(bitmap, 15, 7), 0x123456u);

  // GDI changes the bitmap between frames: GL sees the change after eglWaitNative, with the
  // same surface and context still current.
  auto* bits = reinterpret_cast<std::uint32_t*>(Host::get().gdi().surfaceOf(bitmap).top);
  bits[16 * 7 + 15] = 0xABCDEF;
  ASSERT_TRUE(eglMakeCurrent(display, surface, surface, context));
  glReadPixels(15, 7, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  EXPECT_EQ(rgba[0], 0x12) << "not before eglWaitNative";
  ASSERT_TRUE(eglWaitNative(kEglCoreNativeEngine));
  EXPECT_EQ(eglGetCurrentSurface(), surface);
  glReadPixels(15, 7, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  EXPECT_EQ(rgba[0], 0xAB);
  EXPECT_EQ(rgba[2], 0xEF);
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  EXPECT_EQ(rgba[1], 0xFF) << "GL's own drawing went back into the bitmap before";
  EXPECT_FALSE(eglWaitNative(0));
  EXPECT_EQ(eglGetError(), kEglBadParameter);
}

TEST_F(EglBridgeTest, BadNativeObjectsAreRefused) {
  EglConfig config = choose(kEglWindowBit);
  EXPECT_EQ(eglCreateWindowSurface(display, config, 12345, nullptr), kEglNoSurface);
  EXPECT_EQ(eglGetError(), kEglBadNativeWindow);
  EXPECT_EQ(eglCreatePixmapSurface(display, config, 12345, nullptr), kEglNoSurface);
  EXPECT_EQ(eglGetError(), kEglBadNativePixmap);
  EXPECT_EQ(eglCreateContext(display, nullptr, kEglNoContext, nullptr), kEglNoContext);
  EXPECT_EQ(eglGetError(), kEglBadConfig);
}

TEST_F(EglBridgeTest, LostSurfacesFailToSwapWithContextLost) {
  const Hwnd window =
      wm().createWindow(0, "REC", "gl", WS_POPUP | WS_VISIBLE, 0, 0, 32, 32, 0, 0, nullptr);
  EglConfig config = choose(kEglWindowBit);
  EglSurface surface = eglCreateWindowSurface(display, config, window, nullptr);
  EglContext context = eglCreateContext(display, config, kEglNoContext, nullptr);
  ASSERT_TRUE(eglMakeCurrent(display, surface, surface, context));
  EXPECT_TRUE(eglSwapBuffers(display, surface));
  eglLoseSurfaces();
  EXPECT_FALSE(eglSwapBuffers(display, surface));
  EXPECT_EQ(eglGetError(), kEglContextLost);
  EXPECT_EQ(eglGetError(), kEglSuccess);  // reading the error resets it
}

TEST_F(EglBridgeTest, OnlyTheLastTerminateEndsTheDisplay) {
  ASSERT_TRUE(eglInitialize(display, nullptr, nullptr));  // a second user
  EXPECT_TRUE(eglTerminate(display));
  EglConfig config = choose(kEglWindowBit);  // still initialised for the first user
  EXPECT_NE(config, nullptr);
  EXPECT_TRUE(eglTerminate(display));
  const EglInt attributes[] = {kEglNone};
  EglInt count = 0;
  EXPECT_FALSE(eglChooseConfig(display, attributes, &config, 1, &count));
  EXPECT_EQ(eglGetError(), kEglNotInitialized);
  ASSERT_TRUE(eglInitialize(display, nullptr, nullptr));  // for TearDown
}

}  // namespace
}  // namespace host::testing
