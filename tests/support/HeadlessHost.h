// A fresh headless host per test, with a runtime folder of the test process's own so that
// single-instance locks of parallel tests never meet.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "host/Host.h"
#include "host/Messages.h"
#include "host/System.h"
#include "host/WindowManager.h"

namespace testing_support {

class HeadlessHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string runtime = "/tmp/skirrow-test-" + std::to_string(::getpid());
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    restart("qvga");
  }
  void TearDown() override { host::Host::shutdown(); }

  host::Host& restart(const std::string& profile, const std::string& script = {}) {
    host::HostConfig config;
    config.backend = host::BackendKind::Headless;
    config.profile = *host::findProfile(profile);
    config.scriptPath = script;
    return host::Host::restart(config);
  }

  host::WindowManager& wm() { return host::Host::get().windows(); }

  // Dispatches what is queued now, without letting time pass.
  void drain() {
    host::Message m;
    for (int guard = 0; guard < 1000 && wm().peekMessage(m, true) && m.message != host::WM_QUIT;
         ++guard)
      wm().dispatchMessage(m);
  }

  // Runs the queue for `ms` milliseconds of the virtual clock.
  void runFor(std::uint32_t ms) {
    std::uint32_t end = host::tickCount() + ms;
    host::Message m;
    while (host::tickCount() < end) {
      if (wm().peekMessage(m, true)) {
        if (m.message == host::WM_QUIT) break;
        wm().dispatchMessage(m);
      } else {
        host::sleepMs(1);
      }
    }
  }
};

}  // namespace testing_support
