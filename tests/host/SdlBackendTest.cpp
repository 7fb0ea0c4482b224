// The desktop backend under a real X server. Skipped without DISPLAY; CI runs it under
// xvfb-run (see src/host/README.md).
#include "host/sdl/SdlBackend.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <chrono>

#include <cstdlib>
#include <fstream>

#include "ScriptedProgram.h"
#include "host/Host.h"
#include "host/Keys.h"
#include "host/Png.h"
#include "host/Screen.h"
#include "host/WindowManager.h"

namespace host::testing {
namespace {

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "needs an X display (xvfb-run)";
    ::setenv("SKIRROW_SCALE", "2", 1);
    HostConfig config;
    config.backend = BackendKind::Sdl;
    config.profile = *findProfile("qvga");
    Host& host = Host::restart(config);
    ::unsetenv("SKIRROW_SCALE");
    if (std::string(host.backend().name()) != "sdl") GTEST_SKIP() << "SDL could not open a window";
    sdl = static_cast<SdlBackend*>(&host.backend());
    WindowClass c;
    c.name = "SDLTEST";
    c.proc = [](Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
      return Host::get().windows().defWindowProc(w, m, wp, lp);
    };
    host.windows().registerClass(c);
    window = host.windows().createWindow(0, "SDLTEST", "Skirrow", WS_VISIBLE, 0, 0, 240, 320, 0, 0,
                                         nullptr);
  }
  void TearDown() override { Host::shutdown(); }

  // Input messages that arrive within a second of real time.
  std::vector<Message> collect(size_t wanted) {
    std::vector<Message> got;
    WindowManager& wm = Host::get().windows();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    Message m;
    while (got.size() < wanted && std::chrono::steady_clock::now() < deadline) {
      if (!wm.peekMessage(m, true)) continue;
      if (m.message == WM_KEYDOWN || m.message == WM_KEYUP || m.message == WM_LBUTTONDOWN ||
          m.message == WM_LBUTTONUP)
        got.push_back(m);
      else
        wm.dispatchMessage(m);
    }
    return got;
  }

  SdlBackend* sdl = nullptr;
  Hwnd window = 0;
};

TEST_F(SdlBackendTest, KeysAndApplicationButtonsBecomeVirtualKeys) {
  EXPECT_EQ(sdl->scale(), 2);
  sdl->pushKey("F9", true);  // the profile's application button A
  sdl->pushKey("Left", true);
  sdl->pushKey("Left", false);
  sdl->pushKey("Q", true);
  auto got = collect(4);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0].wParam, VK_APP1);
  EXPECT_EQ(got[1].wParam, VK_LEFT);
  EXPECT_EQ(got[2].message, WM_KEYUP);
  EXPECT_EQ(got[3].wParam, static_cast<std::uintptr_t>('Q'));
  EXPECT_EQ(got[0].window, window);
}

TEST_F(SdlBackendTest, MouseIsTheStylusInDevicePixels) {
  sdl->pushMouseButton(41, 61, true);  // window pixels at scale 2
  sdl->pushMouseButton(100, 200, false);
  auto got = collect(2);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, WM_LBUTTONDOWN);
  EXPECT_EQ(xOfLParam(got[0].lParam), 20);
  EXPECT_EQ(yOfLParam(got[0].lParam), 30);
  EXPECT_EQ(xOfLParam(got[1].lParam), 50);
  EXPECT_EQ(yOfLParam(got[1].lParam), 100);
}

TEST_F(SdlBackendTest, ScreenIsPresentedAndTheClockIsReal) {
  Screen& screen = Host::get().screen();
  std::fill(screen.pixels(), screen.pixels() + 240 * 320, 0xF800);
  screen.markDirty({0, 0, 240, 320});
  auto start = std::chrono::steady_clock::now();
  std::uint32_t before = Host::get().backend().now();
  Message m;
  while (screen.dirty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(1))
    Host::get().windows().peekMessage(m, true);
  EXPECT_FALSE(screen.dirty());
  Host::get().backend().sleep(20);
  EXPECT_GE(Host::get().backend().now() - before, 20u);
}

TEST(SdlScriptTest, ScriptDrivesTheDesktopBackendToo) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) GTEST_SKIP() << "needs an X display (xvfb-run)";
  std::string folder = "/tmp/skirrow-sdl-script-" + std::to_string(::getpid());
  ::mkdir(folder.c_str(), 0700);
  std::string script = folder + "/script.txt";
  std::ofstream(script) << "100 tap 40 60\n"
                           "150 key M\n"
                           "answer no\n"
                           "1000 screenshot "
                        << folder
                        << "/shot.png\n"
                           "1050 quit\n";
  HostConfig config;
  config.backend = BackendKind::Sdl;
  config.profile = *findProfile("qvga");
  config.scriptPath = script;
  Host& host = Host::restart(config);
  if (std::string(host.backend().name()) != "sdl") GTEST_SKIP() << "SDL could not open a window";
  ScriptedProgram program;
  EXPECT_EQ(program.run(), 0);
  EXPECT_EQ(program.answers, std::vector<int>{IDNO});  // answered by the script, not a dialog
  auto shot = readPng(folder + "/shot.png");
  ASSERT_TRUE(shot);
  const std::uint8_t* p = &shot->rgb[(60 * 240 + 40) * 3];
  EXPECT_EQ(rgb(p[0], p[1], p[2]), rgb(255, 255, 255));
  Host::shutdown();
}

// The program on the desktop backend with its 3D scenes drawn through OpenGL ES: SDL's window
// and the EGL bridge's context must live side by side (with GLX loaded by SDL the GL calls went
// nowhere and the 3D view stayed empty). The hangar's red helicopter must be on screen.
TEST(SdlScriptTest, OpenGlEsScenesShowOnTheDesktop) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) GTEST_SKIP() << "needs an X display (xvfb-run)";
  std::string folder = "/tmp/skirrow-sdl-gles-" + std::to_string(::getpid());
  ::mkdir(folder.c_str(), 0700);
  std::string script = folder + "/script.txt";
  std::ofstream(script) << "800 screenshot " << folder << "/shot.png\n900 quit\n";
  std::string command = "SKIRROW_HOST=sdl SKIRROW_AUDIO=none SKIRROW_RENDERER=gles "
                        "SKIRROW_SCRIPT=" + script + " " + SKIRROW_BIN_DIR +
                        "/skirrow ARG:hangar >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  auto shot = readPng(folder + "/shot.png");
  ASSERT_TRUE(shot);
  int red = 0;
  for (int y = 40; y < 280; ++y)
    for (int x = 0; x < 240; ++x) {
      const std::uint8_t* p = &shot->rgb[(static_cast<size_t>(y) * 240 + x) * 3];
      red += p[0] > 120 && p[0] > p[1] + 60;
    }
  EXPECT_GT(red, 1000);
  // The scene's own colour (24, 30, 44) around the model, as the 565 screen shows it.
  const std::uint8_t* corner = &shot->rgb[(static_cast<size_t>(44) * 240 + 4) * 3];
  EXPECT_NEAR(corner[0], 24, 4);
  EXPECT_NEAR(corner[1], 30, 4);
  EXPECT_NEAR(corner[2], 44, 4);
}

}  // namespace
}  // namespace host::testing
