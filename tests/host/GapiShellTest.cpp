#include <gtest/gtest.h>

#include "HostFixture.h"
#include "host/Gapi.h"
#include "host/Keys.h"
#include "host/Screen.h"
#include "host/Shell.h"

namespace host::testing {
namespace {

class GapiTest : public HostTest {
 protected:
  // Writes a pixel through the GAPI pointer and pitches, as the software renderer does.
  static void put(void* frame, const GxDisplayProperties& p, int x, int y, std::uint16_t value) {
    auto* base = static_cast<std::uint8_t*>(frame);
    *reinterpret_cast<std::uint16_t*>(base + x * p.xPitch + y * p.yPitch) = value;
  }
};

TEST_F(GapiTest, PortraitFrameBufferIsTheScreen) {
  Hwnd w = topLevel("main");
  Gapi& gapi = Host::get().gapi();
  EXPECT_EQ(gapi.beginDraw(), nullptr);  // not open yet
  ASSERT_EQ(gapi.openDisplay(w, GX_FULLSCREEN), 1);
  EXPECT_EQ(gapi.openDisplay(w, GX_FULLSCREEN), 0);
  GxDisplayProperties p = gapi.displayProperties();
  EXPECT_EQ(p.width, 240u);
  EXPECT_EQ(p.height, 320u);
  EXPECT_EQ(p.xPitch, 2);
  EXPECT_EQ(p.yPitch, 480);
  EXPECT_EQ(p.bitsPerPixel, 16u);
  EXPECT_NE(p.format & kfDirect565, 0u);
  void* frame = gapi.beginDraw();
  ASSERT_NE(frame, nullptr);
  put(frame, p, 10, 20, 0xF800);
  EXPECT_EQ(gapi.endDraw(), 1);
  EXPECT_EQ(Host::get().screen().pixels()[20 * 240 + 10], 0xF800);
  EXPECT_EQ(gapi.endDraw(), 0);  // no draw in progress
}

TEST_F(GapiTest, IpaqH38UsesNegativeXPitchThroughALandscapeBuffer) {
  restart("h38");
  Hwnd w = topLevel("main");
  Gapi& gapi = Host::get().gapi();
  ASSERT_EQ(gapi.openDisplay(w, GX_FULLSCREEN), 1);
  GxDisplayProperties p = gapi.displayProperties();
  EXPECT_EQ(p.width, 240u);
  EXPECT_EQ(p.height, 320u);
  EXPECT_EQ(p.xPitch, -640);
  EXPECT_EQ(p.yPitch, 2);
  EXPECT_NE(p.format & kfLandscape, 0u);
  Screen& screen = Host::get().screen();
  screen.pixels()[5 * 240 + 5] = 0x1234;  // kept by a draw that does not touch it
  void* frame = gapi.beginDraw();
  ASSERT_NE(frame, nullptr);
  // Every corner lies inside the buffer and lands on the right screen pixel.
  put(frame, p, 0, 0, 0x0001);
  put(frame, p, 239, 0, 0x0002);
  put(frame, p, 0, 319, 0x0003);
  put(frame, p, 239, 319, 0x0004);
  put(frame, p, 100, 200, 0x0005);
  gapi.endDraw();
  EXPECT_EQ(screen.pixels()[0], 0x0001);
  EXPECT_EQ(screen.pixels()[239], 0x0002);
  EXPECT_EQ(screen.pixels()[319 * 240], 0x0003);
  EXPECT_EQ(screen.pixels()[319 * 240 + 239], 0x0004);
  EXPECT_EQ(screen.pixels()[200 * 240 + 100], 0x0005);
  EXPECT_EQ(screen.pixels()[5 * 240 + 5], 0x1234);
  EXPECT_EQ(gapi.rawFrameBuffer().frame, nullptr);
}

TEST_F(GapiTest, SuspendStopsDrawingUntilResumed) {
  Hwnd w = topLevel("main");
  Gapi& gapi = Host::get().gapi();
  EXPECT_EQ(gapi.suspend(), 0);  // nothing open
  gapi.openDisplay(w, GX_FULLSCREEN);
  EXPECT_EQ(gapi.suspend(), 1);
  EXPECT_EQ(gapi.beginDraw(), nullptr);
  EXPECT_EQ(gapi.resume(), 1);
  EXPECT_NE(gapi.beginDraw(), nullptr);
  gapi.endDraw();
  EXPECT_EQ(gapi.closeDisplay(), 1);
  EXPECT_EQ(gapi.beginDraw(), nullptr);
}

TEST_F(GapiTest, InputGivesApplicationButtonsAndTurnedArrows) {
  Gapi& gapi = Host::get().gapi();
  EXPECT_EQ(gapi.openInput(), 1);
  EXPECT_EQ(gapi.openInput(), 0);
  GxKeyList keys = gapi.defaultKeys(GX_LANDSCAPEKEYS);
  EXPECT_EQ(keys.a, VK_APP1);
  EXPECT_EQ(keys.b, VK_APP2);
  EXPECT_EQ(keys.c, VK_APP3);
  EXPECT_EQ(keys.start, VK_APP4);
  EXPECT_EQ(keys.up, VK_LEFT);
  EXPECT_EQ(gapi.defaultKeys(GX_NORMALKEYS).up, VK_UP);
  EXPECT_EQ(gapi.closeInput(), 1);
}

using ShellTest = HostTest;

TEST_F(ShellTest, FullScreenFlagsAndInputPanelAreRecorded) {
  Hwnd w = topLevel("main");
  Shell& shell = Host::get().shell();
  EXPECT_TRUE(shell.state().taskBarVisible);
  ASSERT_TRUE(shell.fullScreen(w, 42));  // hide task bar, input-panel button, start icon
  EXPECT_FALSE(shell.state().taskBarVisible);
  EXPECT_FALSE(shell.state().inputPanelButtonVisible);
  EXPECT_FALSE(shell.state().startIconVisible);
  ASSERT_TRUE(shell.fullScreen(w, SHFS_SHOWSIPBUTTON));
  EXPECT_TRUE(shell.state().inputPanelButtonVisible);
  EXPECT_FALSE(shell.state().taskBarVisible);  // untouched
  shell.fullScreen(w, 21);
  EXPECT_TRUE(shell.state().taskBarVisible);
  EXPECT_TRUE(shell.state().startIconVisible);
  EXPECT_EQ(shell.state().fullScreenCalls, 3);
  EXPECT_TRUE(shell.sipPreference(w, SIP_UP));
  EXPECT_TRUE(shell.state().inputPanelUp);
  EXPECT_TRUE(shell.sipPreference(w, SIP_DOWN));
  EXPECT_FALSE(shell.state().inputPanelUp);
  EXPECT_FALSE(shell.fullScreen(w + 1000, 42));
}

}  // namespace
}  // namespace host::testing
