// How the program's start chooses the clock, and what it makes of a bad script or backend name.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "HostFixture.h"
#include "host/Backend.h"
#include "host/Screen.h"
#include "host/Script.h"
#include "host/System.h"
#include "host/headless/HeadlessBackend.h"

namespace host::testing {
namespace {

// Sets environment variables for one test and puts the old values back afterwards.
class EnvironmentGuard {
 public:
  void set(const char* name, const char* value) {
    remember(name);
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~EnvironmentGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second)
        ::setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        ::unsetenv(it->first.c_str());
    }
  }

 private:
  void remember(const char* name) {
    const char* v = std::getenv(name);
    saved_.push_back({name, v ? std::optional<std::string>(v) : std::nullopt});
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class HostStartTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    env.set("SKIRROW_HOST", "headless");
    env.set("SKIRROW_SCRIPT", nullptr);
    env.set("SKIRROW_SCRIPT_STATE", nullptr);
    env.set("SKIRROW_DEVICE", nullptr);
  }
  std::string scriptFile(const std::string& text) {
    std::string path = "/tmp/skirrow-start-" + std::to_string(::getpid()) + ".txt";
    std::ofstream(path) << text;
    return path;
  }
  EnvironmentGuard env;
};

TEST_F(HostStartTest, AnUndrivenHeadlessProgramLivesOnTheRealClock) {
  Host& host = Host::start(true);
  EXPECT_FALSE(host.backend().virtualClock());
  EXPECT_TRUE(host.scriptError().empty());
  auto before = std::chrono::steady_clock::now();
  std::uint32_t t0 = tickCount();
  sleepMs(30);
  auto slept = std::chrono::steady_clock::now() - before;
  EXPECT_GE(slept, std::chrono::milliseconds(30));  // a real sleep, not a jump of the clock
  EXPECT_GE(tickCount() - t0, 30u);
  // Waiting for a message that never comes takes its time and finds nothing.
  before = std::chrono::steady_clock::now();
  EXPECT_FALSE(host.windows().waitMessage(20));
  EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(20));
}

TEST_F(HostStartTest, AScriptedProgramKeepsTheVirtualClock) {
  env.set("SKIRROW_SCRIPT", scriptFile("100 quit\n").c_str());
  Host& host = Host::start(true);
  EXPECT_TRUE(host.backend().virtualClock());
  ASSERT_NE(host.script(), nullptr);
  EXPECT_TRUE(host.scriptError().empty());
}

TEST_F(HostStartTest, ABadScriptIsReportedWithItsLine) {
  std::string path = scriptFile("10 key LEFT\n20 tapp 3 4\n");
  env.set("SKIRROW_SCRIPT", path.c_str());
  Host& host = Host::start(true);
  EXPECT_EQ(host.script(), nullptr);
  EXPECT_EQ(host.scriptError(), path + ": line 2: unknown command 'tapp'");
  env.set("SKIRROW_SCRIPT", "/nonexistent/script.txt");
  EXPECT_EQ(Host::start(true).scriptError(), "/nonexistent/script.txt: cannot be read");
}

TEST_F(HostStartTest, AnUnknownBackendNameFallsBackToTheDefault) {
  env.set("SKIRROW_HOST", "bogus");
  env.set("DISPLAY", nullptr);
  env.set("WAYLAND_DISPLAY", nullptr);
  ::testing::internal::CaptureStderr();
  HostConfig config = configFromEnvironment();
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(config.backend, BackendKind::Headless);
  EXPECT_EQ(said, "skirrow: unknown host 'bogus' (sdl or headless), using headless\n");
}

using WaitMessageTest = HostTest;

TEST_F(WaitMessageTest, WaitsOutItsTimeOrStopsAtTheFirstMessage) {
  // Nothing to come: the whole wait passes on the virtual clock.
  std::uint32_t t0 = tickCount();
  EXPECT_FALSE(wm().waitMessage(17));
  EXPECT_EQ(tickCount() - t0, 17u);
  // A timer due in 5 ms ends the wait then; the message is left to take.
  Hwnd w = topLevel("main");
  drain();
  wm().setTimer(w, 1, 5);
  t0 = tickCount();
  EXPECT_TRUE(wm().waitMessage(100));
  EXPECT_EQ(tickCount() - t0, 5u);
  Message m;
  ASSERT_TRUE(wm().peekMessage(m, true));
  EXPECT_EQ(m.message, WM_TIMER);
  wm().killTimer(w, 1);
  // A posted message is there at once.
  wm().postMessage(w, WM_USER, 0, 0);
  t0 = tickCount();
  EXPECT_TRUE(wm().waitMessage(100));
  EXPECT_EQ(tickCount(), t0);
}

TEST_F(WaitMessageTest, ScriptInputEndsTheWait) {
  std::string path = "/tmp/skirrow-wait-" + std::to_string(::getpid()) + ".txt";
  std::ofstream(path) << "40 key A\n";
  restart("qvga", path);
  topLevel("main");
  drain();
  EXPECT_TRUE(wm().waitMessage(1000));
  EXPECT_EQ(tickCount(), 40u);
}

TEST(ScreenTest, AFrameIsShownAgainOnlyWhenItsPixelsChanged) {
  Screen screen(4, 3, 2);
  EXPECT_TRUE(screen.differsFromShown());  // nothing shown yet
  screen.rememberShown();
  EXPECT_FALSE(screen.differsFromShown());
  // The same pixel written again: nothing to show.
  screen.pixels()[5] = 0;
  screen.markDirty({1, 1, 2, 2});
  screen.compose();
  EXPECT_FALSE(screen.differsFromShown());
  screen.pixels()[5] = 0x1234;
  screen.markDirty({1, 1, 2, 2});
  screen.compose();
  EXPECT_TRUE(screen.differsFromShown());
  screen.rememberShown();
  EXPECT_FALSE(screen.differsFromShown());
  // Writes straight into the physical buffer count too (the raw frame buffer, GAPI).
  screen.physicalPixels()[0] = 0xFFFF;
  EXPECT_TRUE(screen.differsFromShown());
}

}  // namespace
}  // namespace host::testing
