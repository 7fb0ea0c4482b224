// Tests that need a second real process: relaunch with a command line, and single instance.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "HostFixture.h"
#include "host/Files.h"
#include "host/Script.h"
#include "host/System.h"

namespace host::testing {
namespace {

std::string readWhenPresent(const std::string& path, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    if (in && !text.str().empty() && text.str().back() == '\n') return text.str();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return {};
}

std::string tempFolder(const std::string& what) {
  std::string folder = "/tmp/skirrow-" + what + "-" + std::to_string(::getpid());
  ::mkdir(folder.c_str(), 0700);
  return folder;
}

using ProcessTest = HostTest;

TEST_F(ProcessTest, StartedProcessGetsWholeCommandLineAndScriptPosition) {
  std::string folder = tempFolder("start");
  std::string scriptPath = folder + "/session.txt";
  std::ofstream(scriptPath) << "10 key A\n20 key B\nanswer no\n500 quit\n";
  restart("qvga", scriptPath);
  // Let the first key pass, so the child must resume at the second.
  topLevel("main");
  drain();
  wm().sleep(15);
  Message m;
  while (wm().peekMessage(m, true)) {
  }
  std::string probe = folder + "/probe.sh";
  std::ofstream(probe)
      << "#!/bin/sh\nprintf '%s|%s|%s\\n' \"$#\" \"$1\" \"$SKIRROW_SCRIPT_STATE\" > " << folder
      << "/out.txt\n";
  ::chmod(probe.c_str(), 0755);
  int pid = startProcess(probe, "ARG:scoreboard /score:12, room:3, date:2026/12/08");
  ASSERT_GT(pid, 0);
  std::string out = readWhenPresent(folder + "/out.txt", 5000);
  auto resume = parseScriptResume(out.substr(out.rfind('|') + 1, out.size() - out.rfind('|') - 2));
  EXPECT_EQ(out.substr(0, out.rfind('|')), "1|ARG:scoreboard /score:12, room:3, date:2026/12/08");
  ASSERT_TRUE(resume);
  EXPECT_EQ(resume->next, 2u);  // the down and up of A were done
  EXPECT_EQ(resume->answers, 0u);
  EXPECT_GE(resume->clock, 15u);
}

// Runs only as the second process of the single-instance test (see below).
TEST(SingleInstanceHelper, HoldWindowUntilAskedToComeToFront) {
  const char* folder = std::getenv("SKIRROW_SI_HELPER");
  if (!folder) GTEST_SKIP() << "helper process only";
  HostConfig config;
  config.backend = BackendKind::Headless;
  config.profile = *findProfile("qvga");
  Host& host = Host::restart(config);
  WindowManager& wm = host.windows();
  bool broughtToFront = false;
  Hwnd main = 0;
  WindowClass c;
  c.name = "Wexel_WINDOW";
  c.proc = [&](Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) -> std::intptr_t {
    if (m == WM_ACTIVATE && w == main && loWord(static_cast<std::intptr_t>(wp)) != WA_INACTIVE)
      broughtToFront = true;
    return Host::get().windows().defWindowProc(w, m, wp, lp);
  };
  wm.registerClass(c);
  main = wm.createWindow(0, "Wexel_WINDOW", "Skirrow", WS_VISIBLE, 0, 0, 240, 320, 0, 0, nullptr);
  // A second window takes the activation, so coming to the front is visible.
  wm.createWindow(0, "Wexel_WINDOW", "Other", WS_VISIBLE, 0, 0, 240, 320, 0, 0, nullptr);
  broughtToFront = false;
  std::ofstream(std::string(folder) + "/ready") << "ready\n";
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  Message m;
  while (!broughtToFront && std::chrono::steady_clock::now() < deadline) {
    while (wm.peekMessage(m, true)) wm.dispatchMessage(m);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  std::ofstream(std::string(folder) + "/result") << (broughtToFront ? "front" : "timeout") << "\n";
  Host::shutdown();
}

TEST_F(ProcessTest, SecondInstanceFindsFirstAndBringsItToFront) {
  std::string folder = tempFolder("single");
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::setenv("SKIRROW_SI_HELPER", folder.c_str(), 1);
    std::string self = modulePath();
    ::execl(self.c_str(), self.c_str(), "--gtest_filter=SingleInstanceHelper.*", nullptr);
    ::_exit(127);
  }
  ASSERT_EQ(readWhenPresent(folder + "/ready", 10000), "ready\n");
  // Same class and title as the helper's window, in the same runtime folder.
  Hwnd found = wm().findWindow("Wexel_WINDOW", "Skirrow");
  ASSERT_NE(found, 0u);
  EXPECT_TRUE(wm().isRemote(found));
  EXPECT_EQ(wm().findWindow("Wexel_WINDOW", "Different title"), 0u);
  EXPECT_TRUE(wm().setForegroundWindow(found));
  EXPECT_EQ(readWhenPresent(folder + "/result", 10000), "front\n");
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  // With the first instance gone, nothing is found any more.
  EXPECT_EQ(wm().findWindow("Wexel_WINDOW", "Skirrow"), 0u);
}

}  // namespace
}  // namespace host::testing
