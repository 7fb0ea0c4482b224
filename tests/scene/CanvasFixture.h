// A headless page for scene tests: a main window of the profile's screen size with one canvas
// child over its whole client area, plus recording stand-ins for scenes and pages.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/MessageBoxes.h"
#include "host/Messages.h"
#include "platform/MessagePump.h"
#include "platform/ProcessSwitches.h"
#include "platform/Window.h"
#include "scene/Canvas.h"
#include "scene/CreatorTable.h"
#include "scene/Scene.h"
#include "support/HeadlessHost.h"

namespace scene_test {

using Log = std::vector<std::string>;

// A scene that records each draw and fills its drawing rectangle with one 565 colour.
class RecordingScene : public scene::Scene {
 public:
  RecordingScene(Type type, Log* log, std::string tag, uint16_t fill = 0)
      : Scene(type), log_(log), tag_(std::move(tag)), fill_(fill) {}
  int draws = 0;
  float lastSeconds = 0.0f;

 protected:
  void drawContent(const scene::DrawTarget& target, int ox, int oy, float seconds) override {
    ++draws;
    lastSeconds = seconds;
    if (log_) log_->push_back("draw:" + tag_);
    if (!fill_ || !target.pixels) return;
    for (int row = 0; row < height && oy + row < target.height; ++row) {
      auto* p = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(target.pixels) +
                                            (oy + row) * target.pitch);
      for (int col = 0; col < width && ox + col < target.width; ++col) p[ox + col] = fill_;
    }
  }

 private:
  Log* log_;
  std::string tag_;
  uint16_t fill_;
};

// A page that records its slots.
class RecordingCanvas : public scene::Canvas {
 public:
  RecordingCanvas(Log* log, const scene::CreatorTable& creators, bool buffered = true)
      : Canvas("gamePage", buffered, creators), log_(log) {}
  std::vector<std::string> customKeys;
  std::vector<std::string> reactions;
  std::vector<float> reports;
  int loads = 0;
  int replaces = 0;

  void update(float) override { log_->push_back("update"); }
  void afterDraw(float) override { log_->push_back("afterDraw"); }
  void onReport(float period) override { reports.push_back(period); }
  void afterLoad() override { ++loads; }
  void beforeReplace() override { ++replaces; }
  void createCustom(platform::Template&, std::string_view key) override {
    customKeys.emplace_back(key);
  }
  void reactToStylus(scene::SceneObject& pressed, uint32_t message) override {
    reactions.push_back((message == host::WM_LBUTTONDOWN ? "down:" : "up:") + pressed.name);
  }
  void setSoundsPaused(bool paused) override { log_->push_back(paused ? "pause" : "resume"); }
  void onStylus(uint32_t message, uintptr_t flags, int x, int y, int phase) override {
    log_->push_back("stylus" + std::to_string(phase) + ":" + std::to_string(message) + "@" +
                    std::to_string(x) + "," + std::to_string(y));
    Canvas::onStylus(message, flags, x, y, phase);
  }

 private:
  Log* log_;
};

// An object with a label at a given place.
inline std::unique_ptr<scene::SceneObject> object(const std::string& name, int x, int y, int w,
                                                  int h, const std::string& label = {}) {
  auto o = std::make_unique<scene::SceneObject>(name);
  o->x = x;
  o->y = y;
  o->width = w;
  o->height = h;
  o->indexLabel = label;
  return o;
}

class CanvasTest : public testing_support::HeadlessHostTest {
 protected:
  void SetUp() override {
    HeadlessHostTest::SetUp();
    platform::setScreenScale(1.0f);
    platform::setActiveIdleHandler(nullptr);
  }
  void TearDown() override {
    main_.reset();
    platform::setActiveIdleHandler(nullptr);
    platform::setScreenScale(1.0f);
    HeadlessHostTest::TearDown();
  }

  // Makes a 240 x 320 main window and a page of type Page (made from `args`) over it; the main
  // window owns the page.
  template <typename Page, typename... Args>
  Page& makePageOf(Args&&... args) {
    main_ = std::make_unique<platform::Window>("Skirrow", 0, false);
    EXPECT_TRUE(main_->create(0, 0, 240, 320));
    auto page = std::make_unique<Page>(std::forward<Args>(args)...);
    Page* raw = page.get();
    EXPECT_TRUE(main_->addChild(std::move(page), 0, 0, 240, 320));
    return *raw;
  }

  // Makes the main window and the page over its client area; the main window owns the page.
  RecordingCanvas& makePage(bool buffered = true) {
    host::Rect screen{0, 0, host::Host::get().profile().screenWidth,
                      host::Host::get().profile().screenHeight};
    main_ = std::make_unique<platform::Window>("Skirrow", 0, false);
    EXPECT_TRUE(main_->create(0, 0, screen.right, screen.bottom));
    auto page = std::make_unique<RecordingCanvas>(&log, pageCreators(), buffered);
    RecordingCanvas* raw = page.get();
    EXPECT_TRUE(
        main_->addChild(std::move(page), 0, 0, main_->clientWidth(), main_->clientHeight()));
    return *raw;
  }

  const std::vector<host::MessageBoxRecord>& boxes() {
    return host::Host::get().messageBoxes().records();
  }

  Log log;
  // What makePage()'s pages build their templates with.
  virtual const scene::CreatorTable& pageCreators() { return creators; }

  // Empty, unless the test installs creators of its own.
  scene::CreatorTable creators;
  std::unique_ptr<platform::Window> main_;
};

}  // namespace scene_test
