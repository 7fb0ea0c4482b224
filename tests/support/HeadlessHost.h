// The one headless-host fixture of the test suites: a fresh headless host per test (the qvga
// device unless the test restarts it on another), with a runtime folder of the test process's
// own so that single-instance locks of parallel tests never meet; the folder is emptied and
// removed after each test. Suites that need more (recorded window messages, a page, the run's
// runtime) derive from it.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "host/Files.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "host/System.h"
#include "host/WindowManager.h"

namespace testing_support {

class HeadlessHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::mkdir(runtimeFolder().c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtimeFolder().c_str(), 1);
    restart("qvga");
  }
  void TearDown() override {
    host::Host::shutdown();
    for (const host::FolderEntry& e : host::listFolder(runtimeFolder()))
      host::removeFile(runtimeFolder() + "/" + e.name);
    host::removeFolder(runtimeFolder());
  }

  static std::string runtimeFolder() { return "/tmp/skirrow-test-" + std::to_string(::getpid()); }

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
