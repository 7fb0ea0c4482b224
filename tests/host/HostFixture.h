// Host tests: the shared headless-host fixture, and a window class "REC" that records what
// window procedures receive.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "host/Host.h"
#include "host/Messages.h"
#include "host/WindowManager.h"
#include "support/HeadlessHost.h"

namespace host::testing {

struct Received {
  Hwnd window;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

class HostTest : public testing_support::HeadlessHostTest {
 protected:
  void SetUp() override {
    HeadlessHostTest::SetUp();
    registerRecorder();
  }

  // A new host on `profile` (and `script`), with the recorder class registered again.
  Host& restart(const std::string& profile, const std::string& script = {}) {
    Host& host = HeadlessHostTest::restart(profile, script);
    registerRecorder();
    return host;
  }

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

  std::vector<Received> log;
};

}  // namespace host::testing
