// The GAPI display: the three kinds of device, the button list and blits with rotation,
// sub-rectangles, clipping, pitches and pixel doubling, against hand-computed frame buffers.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine3d/soft/GapiDisplay.h"
#include "host/Host.h"
#include "host/Keys.h"
#include "host/Screen.h"
#include "host/WindowManager.h"

namespace engine3d {
namespace {

class GapiDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string runtime = "/tmp/skirrow-test-" + std::to_string(::getpid());
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    start("qvga", true);
  }
  void TearDown() override {
    display_.reset();
    host::Host::shutdown();
  }

  void start(const std::string& profile, bool hiResAware) {
    display_.reset();
    host::HostConfig config;
    config.backend = host::BackendKind::Headless;
    config.profile = *host::findProfile(profile);
    config.hiResAware = hiResAware;
    host::Host::restart(config);
    host::WindowClass c;
    c.name = "GAPITEST";
    c.proc = [](host::Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
      return host::Host::get().windows().defWindowProc(w, m, wp, lp);
    };
    host::Host::get().windows().registerClass(c);
    window_ = host::Host::get().windows().createWindow(0, "GAPITEST", "main", host::WS_VISIBLE, 0,
                                                       0, 240, 320, 0, 0, nullptr);
    display_ = std::make_unique<GapiDisplay>(host::Host::get().gapi());
  }

  GapiDisplay& display() { return *display_; }
  host::Screen& screen() { return host::Host::get().screen(); }
  std::uint16_t logical(int x, int y) { return screen().pixels()[y * screen().width() + x]; }
  std::uint16_t physical(int x, int y) {
    return screen().physicalPixels()[y * screen().physicalWidth() + x];
  }

  // A w x h 16-bit picture whose pixel (x, y) is 100 * y + x + 1.
  struct Picture {
    int width, height;
    std::vector<std::uint16_t> pixels;
    PixelTarget target() { return {pixels.data(), width, height, width * 2, 16}; }
  };
  static Picture numbered(int w, int h) {
    Picture p{w, h, std::vector<std::uint16_t>(static_cast<std::size_t>(w) * h)};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) p.pixels[y * w + x] = static_cast<std::uint16_t>(100 * y + x + 1);
    return p;
  }

  host::Hwnd window_ = 0;
  std::unique_ptr<GapiDisplay> display_;
};

TEST_F(GapiDisplayTest, OpensThePortraitDisplayAndTheApplicationButtons) {
  ASSERT_TRUE(display().openGapi(window_, true, true));
  const host::GxDisplayProperties& p = display().properties();
  EXPECT_EQ(p.width, 240u);
  EXPECT_EQ(p.height, 320u);
  EXPECT_EQ(p.xPitch, 2);
  EXPECT_EQ(p.yPitch, 480);
  EXPECT_FALSE(display().iPaq());
  EXPECT_FALSE(display().vgaFrameBuffer());
  EXPECT_NE(display().frame(), nullptr);
  EXPECT_TRUE(host::Host::get().gapi().drawing());  // the pointer came from beginDraw
  EXPECT_EQ(display().keyA(), 0xC1);
  EXPECT_EQ(display().keyB(), 0xC2);
  EXPECT_EQ(display().keyC(), 0xC3);
  EXPECT_EQ(display().keyStart(), 0xC4);
  EXPECT_EQ(display().keys().up, host::VK_LEFT);  // landscape keys
  display().closeGapi();
  EXPECT_FALSE(host::Host::get().gapi().drawing());
  EXPECT_FALSE(host::Host::get().gapi().displayOpen());
  EXPECT_FALSE(host::Host::get().gapi().inputOpen());
  EXPECT_EQ(display().frame(), nullptr);
}

TEST_F(GapiDisplayTest, NothingIsDrawnWithoutAFramePointerOrFromAThirtyTwoBitSurface) {
  Picture picture = numbered(4, 3);
  display().blitToScreen(picture.target(), 0, 0, nullptr, 0);  // not open: no crash
  EXPECT_EQ(logical(0, 0), 0);
  ASSERT_TRUE(display().openGapi(window_, true, false));
  std::vector<std::uint32_t> wide(12, 0xFFFFFF);
  display().blitToScreen({wide.data(), 4, 3, 16, 32}, 0, 0, nullptr, 0);
  EXPECT_EQ(logical(0, 0), 0);
}

TEST_F(GapiDisplayTest, RotationZeroCopiesRowsAsRowsClippedToTheScreen) {
  ASSERT_TRUE(display().openGapi(window_, true, false));
  Picture picture = numbered(4, 3);
  display().blitToScreen(picture.target(), 10, 20, nullptr, GapiDisplay::kRotateNone);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(logical(10 + x, 20 + y), 100 * y + x + 1);
  EXPECT_EQ(logical(9, 20), 0);
  EXPECT_EQ(logical(14, 20), 0);
  EXPECT_EQ(logical(10, 23), 0);
  // Hanging over the top-left and the bottom-right corners.
  display().blitToScreen(picture.target(), -2, -1, nullptr, GapiDisplay::kRotateNone);
  EXPECT_EQ(logical(0, 0), 103);
  EXPECT_EQ(logical(1, 0), 104);
  EXPECT_EQ(logical(0, 1), 203);
  EXPECT_EQ(logical(2, 0), 0);
  display().blitToScreen(picture.target(), 238, 318, nullptr, GapiDisplay::kRotateNone);
  EXPECT_EQ(logical(238, 318), 1);
  EXPECT_EQ(logical(239, 319), 102);
  // A sub-rectangle keeps its place relative to the surface's corner.
  const BlitRect part{1, 1, 3, 3};
  display().blitToScreen(picture.target(), 100, 100, &part, GapiDisplay::kRotateNone);
  EXPECT_EQ(logical(100, 100), 0);
  EXPECT_EQ(logical(101, 101), 102);
  EXPECT_EQ(logical(102, 102), 203);
}

TEST_F(GapiDisplayTest, QuarterTurnsEitherWay) {
  ASSERT_TRUE(display().openGapi(window_, true, false));
  Picture picture = numbered(4, 3);
  // Rotation 1: the picture's right column becomes the top row.
  display().blitToScreen(picture.target(), 50, 60, nullptr, GapiDisplay::kRotateLeft);
  const int left[4][3] = {{4, 104, 204}, {3, 103, 203}, {2, 102, 202}, {1, 101, 201}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(logical(50 + x, 60 + y), left[y][x]) << x << "," << y;
  EXPECT_EQ(logical(53, 60), 0);
  EXPECT_EQ(logical(50, 64), 0);
  // Rotation 2: the picture's left column becomes the top row, read bottom to top.
  display().blitToScreen(picture.target(), 150, 60, nullptr, GapiDisplay::kRotateRight);
  const int right[4][3] = {{201, 101, 1}, {202, 102, 2}, {203, 103, 3}, {204, 104, 4}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(logical(150 + x, 60 + y), right[y][x]) << x << "," << y;
  // Sub-rectangles move the destination: rotation 1 to (x + top, y + width - right).
  const BlitRect part{1, 1, 3, 3};
  display().blitToScreen(picture.target(), 0, 200, &part, GapiDisplay::kRotateLeft);
  EXPECT_EQ(logical(1, 201), 103);
  EXPECT_EQ(logical(2, 201), 203);
  EXPECT_EQ(logical(1, 202), 102);
  EXPECT_EQ(logical(2, 202), 202);
  EXPECT_EQ(logical(0, 200), 0);
  // Rotation 2 to (x + height - bottom, y + left).
  display().blitToScreen(picture.target(), 0, 250, &part, GapiDisplay::kRotateRight);
  EXPECT_EQ(logical(0, 251), 202);
  EXPECT_EQ(logical(1, 251), 102);
  EXPECT_EQ(logical(0, 252), 203);
  EXPECT_EQ(logical(1, 252), 103);
}

TEST_F(GapiDisplayTest, TheIpaqH38IsDrivenThroughItsLandscapeBuffer) {
  start("h38", true);
  ASSERT_TRUE(display().openGapi(window_, true, false));
  const host::GxDisplayProperties& p = display().properties();
  EXPECT_TRUE(display().iPaq());
  EXPECT_EQ(p.width, 240u);
  EXPECT_EQ(p.height, 320u);
  EXPECT_EQ(p.xPitch, -640);
  EXPECT_EQ(p.yPitch, 2);
  EXPECT_EQ(p.bitsPerPixel, 16u);
  EXPECT_EQ(p.format, 0xA8u);
  ASSERT_NE(display().frame(), nullptr);
  Picture picture = numbered(4, 3);
  display().blitToScreen(picture.target(), 10, 20, nullptr, GapiDisplay::kRotateNone);
  display().blitToScreen(picture.target(), 236, 317, nullptr, GapiDisplay::kRotateNone);
  display().closeGapi();  // ends the draw: the landscape buffer reaches the screen
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(logical(10 + x, 20 + y), 100 * y + x + 1);
      EXPECT_EQ(logical(236 + x, 317 + y), 100 * y + x + 1);
    }
  EXPECT_EQ(logical(14, 20), 0);
}

TEST_F(GapiDisplayTest, AVgaFrameBufferDoublesEachPixelForAQuarterSizeScreen) {
  start("vga", false);  // the program sees 240 x 320; the frame buffer is 480 x 640
  ASSERT_TRUE(display().openGapi(window_, true, false));
  EXPECT_TRUE(display().vgaFrameBuffer());
  EXPECT_FALSE(display().vgaScreen());
  EXPECT_EQ(display().properties().width, 480u);
  EXPECT_EQ(display().properties().yPitch, 960);
  Picture picture = numbered(4, 3);
  display().blitToScreen(picture.target(), 10, 20, nullptr, GapiDisplay::kRotateNone);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(physical(20 + x, 40 + y), 100 * (y / 2) + x / 2 + 1) << x << "," << y;
  EXPECT_EQ(physical(19, 40), 0);
  EXPECT_EQ(physical(28, 40), 0);
  EXPECT_EQ(physical(20, 46), 0);

  // A full-screen surface fills the whole frame buffer.
  Picture full{240, 320, std::vector<std::uint16_t>(240 * 320)};
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 240; ++x)
      full.pixels[y * 240 + x] = static_cast<std::uint16_t>(x ^ (y << 6));
  display().blitToScreen(full.target(), 0, 0, nullptr, GapiDisplay::kRotateNone);
  int wrong = 0;
  for (int y = 0; y < 640; ++y)
    for (int x = 0; x < 480; ++x) wrong += physical(x, y) != full.pixels[(y / 2) * 240 + x / 2];
  EXPECT_EQ(wrong, 0);
}

TEST_F(GapiDisplayTest, AVgaScreenCopiesOneToOneFromTheDoubledPosition) {
  start("vga", true);  // hi-res aware: the system screen is 480 wide
  ASSERT_TRUE(display().openGapi(window_, true, false));
  EXPECT_TRUE(display().vgaScreen());
  Picture picture = numbered(4, 3);
  display().blitToScreen(picture.target(), 10, 20, nullptr, GapiDisplay::kRotateLeft);
  // Origin (10, 20) doubled; the rotated 3 x 4 picture copied pixel for pixel.
  const int left[4][3] = {{4, 104, 204}, {3, 103, 203}, {2, 102, 202}, {1, 101, 201}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(physical(20 + x, 40 + y), left[y][x]);
  EXPECT_EQ(physical(23, 40), 0);
}

}  // namespace
}  // namespace engine3d
