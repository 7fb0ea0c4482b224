// Page tests over the demo resource tree the content builder wrote (build the `content` target
// first; tests skip without it): a page on the run's runtime that loads one GUI template.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "../media/PageFixture.h"
#include "host/MessageBoxes.h"
#include "media/GuiCanvas.h"
#include "platform/ProcessSwitches.h"
#include "scene/TemplateFactory.h"

namespace testing_support {

class DemoScreenTest : public media::testing::PageTest {
 protected:
  static std::string guiFolder() { return std::string(SKIRROW_BIN_DIR) + "/../resources/GUI/"; }

  void SetUp() override {
    PageTest::SetUp();
    if (!std::filesystem::is_directory(guiFolder())) GTEST_SKIP() << "demo tree not built";
    platform::setGuiFolder(guiFolder());
    page = &makePageOf<media::GuiCanvas>(runtime(), "gamePage", true);
  }
  void TearDown() override {
    platform::setGuiFolder("");
    PageTest::TearDown();
  }

  // Loads `file` from the demo GUI folder into the page; false when the load showed a message.
  bool load(const std::string& file) {
    scene::TemplateFactory::loadTemplate(*page, guiFolder(), file, true);
    return boxes().empty();
  }

  // True when none of `pointers` is null.
  static bool allBound(std::initializer_list<const void*> pointers) {
    for (const void* p : pointers)
      if (!p) return false;
    return true;
  }

  media::GuiCanvas* page = nullptr;
};

}  // namespace testing_support
