// The content builder's screens as the program lays them out: every one-line label stays inside
// its own sprite, so that no text runs over the radio circle or button beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/Gdi.h"
#include "host/Host.h"
#include "media/GuiCanvas.h"
#include "media/Runtime.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "media/SpriteGdi.h"
#include "platform/ProcessSwitches.h"
#include "platform/Window.h"
#include "scene/TemplateFactory.h"
#include "support/HeadlessHost.h"

namespace media::testing {
namespace {

namespace fs = std::filesystem;

class BuiltScreens : public testing_support::HeadlessHostTest {
 protected:
  void SetUp() override {
    HeadlessHostTest::SetUp();
    runtime_ = std::make_unique<Runtime>();
    platform::setScreenScale(1.0f);
  }
  void TearDown() override {
    main_.reset();
    runtime_.reset();
    HeadlessHostTest::TearDown();
  }

  GuiCanvas& load(const std::string& folder, const std::string& name) {
    main_ = std::make_unique<platform::Window>("Skirrow", 0, false);
    EXPECT_TRUE(main_->create(0, 0, 240, 320));
    auto page = std::make_unique<GuiCanvas>(*runtime_, "gamePage", true);
    GuiCanvas* raw = page.get();
    EXPECT_TRUE(main_->addChild(std::move(page), 0, 0, 240, 320));
    scene::TemplateFactory::loadTemplate(*raw, folder, name, true);
    return *raw;
  }

  // Pixels the sprite's one-line label covers from the sprite's left edge (the sprite draws it
  // one pixel in from its text offset).
  int labelRight(const Sprite& s) {
    host::Gdi& gdi = host::Host::get().gdi();
    host::Hdc dc = gdi.createCompatibleDc(0);
    selectFont(dc, s.textSize ? s.textSize : Sprite::kDefaultTextSize, s.textWeight, s.textItalic,
               false, s.fontFace);
    host::Size size;
    gdi.getTextExtentExPoint(dc, s.text(), 0, nullptr, nullptr, size);
    gdi.deleteDc(dc);
    return 1 + s.textOffsetX + size.cx;
  }

  std::unique_ptr<Runtime> runtime_;
  std::unique_ptr<platform::Window> main_;
};

TEST_F(BuiltScreens, EveryOneLineLabelStaysInsideItsSprite) {
  const fs::path gui = fs::path(SKIRROW_BIN_DIR) / ".." / "resources" / "GUI";
  if (!fs::is_directory(gui)) GTEST_SKIP() << "build the content first";
  int labels = 0;
  std::vector<std::string> overflowing;
  for (const auto& entry : fs::directory_iterator(gui)) {
    if (entry.path().extension() != ".properties") continue;
    const std::string name = entry.path().filename().string();
    // The message box is merged into a page, never shown on its own.
    if (name == GuiCanvas::kMessageTemplate) continue;
    GuiCanvas& page = load(gui.string() + "/", name);
    for (const auto& scene : page.scenes())
      for (const auto& object : scene->objects()) {
        auto* s = dynamic_cast<Sprite*>(object.get());
        if (!s || s->text().empty() || s->textFormatted || s->normalFont) continue;
        ++labels;
        int right = labelRight(*s);
        if (right > s->width)
          overflowing.push_back(name + ": " + s->name + " \"" + s->text() + "\" needs " +
                                std::to_string(right) + " of " + std::to_string(s->width));
      }
  }
  EXPECT_GT(labels, 10);  // the radio and check box labels of the menus and settings
  EXPECT_TRUE(overflowing.empty()) << ::testing::PrintToString(overflowing);
}

}  // namespace
}  // namespace media::testing
