// Page tests of the media layer: a fresh headless host per test and, as in the program, the
// run's runtime made after it and ended before it (after the pages). Pages made with makePage()
// build their templates with the runtime's creators.
#pragma once

#include <memory>

#include "../scene/CanvasFixture.h"
#include "media/Runtime.h"

namespace media::testing {

class PageTest : public scene_test::CanvasTest {
 protected:
  void SetUp() override {
    CanvasTest::SetUp();
    runtime_ = std::make_unique<Runtime>();
  }
  void TearDown() override {
    main_.reset();  // the pages and their sprites go before the pictures they show
    runtime_.reset();
    CanvasTest::TearDown();
  }

  const scene::CreatorTable& pageCreators() override { return runtime_->creators(); }
  Runtime& runtime() { return *runtime_; }
  // Ends the runtime (its pages must be gone) and makes a new one, as a relaunch does around
  // a host restart.
  void endRuntime() { runtime_.reset(); }
  void startRuntime() { runtime_ = std::make_unique<Runtime>(); }

 private:
  std::unique_ptr<Runtime> runtime_;
};

}  // namespace media::testing
