// Starts each test with a fresh headless host and records what window procedures receive.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "host/Files.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "host/WindowManager.h"

namespace host::testing {

struct Received {
  Hwnd window;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Each test process gets its own runtime folder so single-instance locks never meet.
    std::string runtime = "/tmp/skirrow-test-" + std::to_string(::getpid());
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    restart("qvga");
  }
  void TearDown() override {
    Host::shutdown();
    std::string runtime = "/tmp/skirrow-test-" + std::to_string(::getpid());
    for (const FolderEntry& e : listFolder(runtime)) removeFile(runtime + "/" + e.name);
    removeFolder(runtime);
  }

  Host& restart(const std::string& profile, const std::string& script = {}) {
    HostConfig config;
    config.backend = BackendKind::Headless;
    config.profile = *findProfile(profile);
    config.scriptPath = script;
    Host& host = Host::restart(config);
    registerRecorder();
    return host;
  }

  WindowManager& wm() { return Host::get().windows(); }

  // Class "REC": every message is logged, then handled by the default procedure.
  void registerRecorder() {
    WindowClass c;
    c.name = "REC";
    c.background = kSysColorIndexFlag | COLOR_WINDOWFRAME;
    c.proc = [this](Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
      log.push_back({w, m, wp, lp});
      return Host::get().windows().defWindowProc(w, m, wp, lp);
    };
    wm().registerClass(c);
  }

  Hwnd topLevel(const std::string& title, bool visible = true) {
    return wm().createWindow(0, "REC", title, visible ? WS_VISIBLE : 0, 0, 0, 240, 320, 0, 0,
                             nullptr);
  }

  Hwnd child(Hwnd parent, int x, int y, int w, int h, std::uint32_t id = 1) {
    return wm().createWindow(0, "REC", "child", WS_CHILD | WS_VISIBLE, x, y, w, h, parent, id,
                             nullptr);
  }

  // Messages of `window` in the log, in order.
  std::vector<std::uint32_t> messagesOf(Hwnd window) const {
    std::vector<std::uint32_t> out;
    for (const Received& r : log)
      if (r.window == window) out.push_back(r.message);
    return out;
  }

  // Dispatches everything queued now (paint, posted, due timers) without letting time pass.
  void drain() {
    Message m;
    int guard = 0;
    while (wm().peekMessage(m, true) && m.message != WM_QUIT && ++guard < 1000)
      wm().dispatchMessage(m);
  }

  std::vector<Received> log;
};

}  // namespace host::testing
