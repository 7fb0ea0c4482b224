// The frame, drawing and activation of a page.
#include <gtest/gtest.h>

#include "CanvasFixture.h"
#include "host/System.h"
#include "scene/TemplateFactory.h"
#include "support/TempFolder.h"

#include <filesystem>

namespace scene_test {
namespace {

using scene::Canvas;
using scene::Scene;

struct TaggedListener : scene::FrameListener {
  TaggedListener(Log* log, std::string tag) : log(log), tag(std::move(tag)) {}
  void onFrame(Canvas&, float) override { log->push_back(tag); }
  Log* log;
  std::string tag;
};

struct OtherIdle : platform::IdleHandler {
  void onIdle(const host::Message&, host::Hwnd) override {}
};

using CanvasFrame = CanvasTest;

TEST_F(CanvasFrame, WindowSettingsOfAPage) {
  RecordingCanvas& page = makePage();
  EXPECT_EQ(page.className(), "CANVAS");
  EXPECT_EQ(page.style(), 0x50000000u);
  EXPECT_EQ(page.title(), "gamePage");
  ASSERT_NE(page.backBuffer(), nullptr);
  EXPECT_EQ(page.backBuffer()->width(), 240);
}

TEST_F(CanvasFrame, ListenersRunLastAddedFirstAroundUpdateAndDrawing) {
  RecordingCanvas& page = makePage();
  TaggedListener pre1(&log, "pre1"), pre2(&log, "pre2"), post1(&log, "post1"), post2(&log, "post2");
  page.addPreFrameListener(&pre1);
  page.addPreFrameListener(&pre2);
  page.addPreFrameListener(nullptr);
  page.addPostFrameListener(&post1);
  page.addPostFrameListener(&post2);
  page.addScene("bottom", std::make_unique<RecordingScene>(Scene::kSprite, &log, "bottom"));
  page.addScene("top", std::make_unique<RecordingScene>(Scene::kSprite, &log, "top"));
  auto hidden = std::make_unique<RecordingScene>(Scene::kSprite, &log, "hidden");
  hidden->visible = false;
  page.addScene("hidden", std::move(hidden));

  page.onIdle(host::Message{}, 0);
  EXPECT_EQ(log, (Log{"pre2", "pre1", "update", "draw:bottom", "draw:top", "afterDraw", "post2",
                      "post1"}));

  log.clear();
  page.removePreFrameListener(&pre2);
  page.removePostFrameListener(&post1);
  page.onIdle(host::Message{}, 0);
  EXPECT_EQ(log, (Log{"pre1", "update", "draw:bottom", "draw:top", "afterDraw", "post2"}));
}

TEST_F(CanvasFrame, ReportRunsOncePerMeasuringWindowWithItsLength) {
  RecordingCanvas& page = makePage();
  page.frameTimer().setMode(scene::FrameTimer::kFree);
  page.frameTimer().setWindowMs(100);
  page.setActive(true);  // resets the timer
  for (int i = 0; i < 5; ++i) {
    host::sleepMs(30);
    page.onIdle(host::Message{}, 0);
  }
  // 30, 60, 90, 120 (> 100: report), 30.
  ASSERT_EQ(page.reports.size(), 1u);
  EXPECT_FLOAT_EQ(page.reports[0], 0.1f);
  EXPECT_NEAR(page.frameTime(), 0.03f, 1e-6);
  page.setActive(false);
}

TEST_F(CanvasFrame, ActivationInstallsThePageAndRestoresThePreviousHandler) {
  OtherIdle other;
  platform::setActiveIdleHandler(&other);
  RecordingCanvas& page = makePage();
  EXPECT_FALSE(page.isActive());
  page.setActive(true);
  EXPECT_TRUE(page.isActive());
  EXPECT_EQ(platform::activeIdleHandler(), &page);
  page.setActive(false);
  EXPECT_FALSE(page.isActive());
  EXPECT_EQ(platform::activeIdleHandler(), &other);

  // Losing activation parks the page; getting it back resumes it.
  page.setActive(true);
  log.clear();
  main_->send(host::WM_ACTIVATE, host::WA_INACTIVE, 0);
  EXPECT_FALSE(page.isActive());
  EXPECT_EQ(platform::activeIdleHandler(), &other);
  main_->send(host::WM_ACTIVATE, host::WA_ACTIVE, 0);
  EXPECT_TRUE(page.isActive());
  EXPECT_EQ(platform::activeIdleHandler(), &page);
  EXPECT_EQ(wm().focus(), page.hwnd());
  EXPECT_EQ(log, (Log{"pause", "resume"}));

  // A page that was not running stays parked when activation comes back.
  page.setActive(false);
  main_->send(host::WM_ACTIVATE, host::WA_INACTIVE, 0);
  main_->send(host::WM_ACTIVATE, host::WA_ACTIVE, 0);
  EXPECT_FALSE(page.isActive());
  EXPECT_EQ(platform::activeIdleHandler(), &other);
  page.setActive(true);

  // Destroying the running page hands the pump back as well.
  main_.reset();
  EXPECT_EQ(platform::activeIdleHandler(), &other);
}

// Records when each frame starts and ends the pump after a second of the clock.
struct FrameClock : scene::FrameListener {
  std::vector<uint32_t> starts;
  uint32_t end = 0;
  void onFrame(Canvas&, float) override {
    uint32_t now = host::tickCount();
    if (now >= end) {
      host::Host::get().windows().postQuitMessage(0);
      return;
    }
    starts.push_back(now);
  }
};

TEST_F(CanvasFrame, ThePumpRunsAPageAtMostAtItsFrameRateCap) {
  RecordingCanvas& page = makePage();
  page.frameTimer().setMode(scene::FrameTimer::kFree);  // no pacing of the timer's own
  FrameClock clock;
  page.addPreFrameListener(&clock);
  page.setActive(true);
  auto framesInASecond = [&](int cap) {
    page.setMaxFramesPerSecond(cap);
    clock.starts.clear();
    clock.end = host::tickCount() + 1000;
    EXPECT_EQ(platform::runMessagePump(main_->hwnd()), 0);
    return clock.starts;
  };
  EXPECT_EQ(page.maxFramesPerSecond(), Canvas::kDefaultMaxFramesPerSecond);
  EXPECT_EQ(Canvas::kDefaultMaxFramesPerSecond, 60);
  // 60 per second: frames start 17 ms apart (never closer), so 58 or 59 fit in a second.
  std::vector<uint32_t> at60 = framesInASecond(60);
  EXPECT_GE(at60.size(), 58u);
  EXPECT_LE(at60.size(), 59u);
  for (size_t i = 1; i < at60.size(); ++i) ASSERT_EQ(at60[i] - at60[i - 1], 17u) << i;
  // The battle's 30: 34 ms apart.
  std::vector<uint32_t> at30 = framesInASecond(30);
  EXPECT_GE(at30.size(), 29u);
  EXPECT_LE(at30.size(), 30u);
  for (size_t i = 1; i < at30.size(); ++i) ASSERT_EQ(at30[i] - at30[i - 1], 34u) << i;
  // No cap: a frame at every empty pass of the pump (a millisecond each on this clock).
  EXPECT_GT(framesInASecond(0).size(), 900u);
  page.removePreFrameListener(&clock);
}

TEST_F(CanvasFrame, AnIdlePageDeactivatedDoesNotTakeTheRunningPagesPlace) {
  RecordingCanvas& page = makePage();
  OtherIdle running;
  platform::setActiveIdleHandler(&running);
  page.setActive(false);
  EXPECT_EQ(platform::activeIdleHandler(), &running);
}

uint16_t pixel(const platform::BackBuffer& b, int x, int y) {
  return reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(b.pixels()) +
                                           y * b.pitch())[x];
}

void fill(const platform::BackBuffer& b, uint16_t colour) {
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x)
      reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(b.pixels()) + y * b.pitch())[x] =
          colour;
}

TEST_F(CanvasFrame, BufferedSceneIsCopiedWithItsColourKeyAndUnbufferedDrawsInPlace) {
  RecordingCanvas& page = makePage();
  const uint16_t kBlue = 0x001F, kRed = 0xF800, kGrey = 0x8410;
  auto keyed = std::make_unique<RecordingScene>(Scene::kSprite, &log, "keyed", kBlue);
  keyed->buffered = true;
  keyed->x = 10;
  keyed->y = 20;
  keyed->width = 30;
  keyed->height = 40;
  keyed->transparentColor = 0x0000FF;  // blue: exactly what the scene fills with
  auto* keyedScene = keyed.get();
  page.addScene("keyed", std::move(keyed));
  auto opaque = std::make_unique<RecordingScene>(Scene::kSprite, &log, "opaque", kRed);
  opaque->buffered = true;
  opaque->x = 100;
  opaque->y = 100;
  opaque->width = 5;
  opaque->height = 5;
  opaque->transparentColor = -1;
  page.addScene("opaque", std::move(opaque));
  auto direct = std::make_unique<RecordingScene>(Scene::kSprite, &log, "direct", kGrey);
  direct->x = 200;
  direct->y = 0;
  direct->width = 10;
  direct->height = 10;
  page.addScene("direct", std::move(direct));

  const platform::BackBuffer& bb = *page.backBuffer();
  fill(bb, 0x07E0);
  // Inactive: a draw-only pass redraws the buffers without time and draws unbuffered scenes.
  page.refresh();
  EXPECT_EQ(keyedScene->lastSeconds, 0.0f);
  EXPECT_EQ(pixel(bb, 10, 20), 0x07E0);  // keyed out
  EXPECT_EQ(pixel(bb, 100, 100), kRed);
  EXPECT_EQ(pixel(bb, 104, 104), kRed);
  EXPECT_EQ(pixel(bb, 105, 105), 0x07E0);
  EXPECT_EQ(pixel(bb, 205, 5), kGrey);

  // Active: the draw-only pass keeps the unbuffered scene's last picture.
  log.clear();
  page.setActive(true);
  fill(bb, 0);
  page.refresh();
  EXPECT_EQ(log, (Log{"draw:keyed", "draw:opaque"}));
  EXPECT_EQ(pixel(bb, 205, 5), 0);
  EXPECT_EQ(pixel(bb, 100, 100), kRed);
  page.setActive(false);
}

TEST_F(CanvasFrame, FrameDrawsUnbufferedScenesAndOnlyCopiesBufferedOnes) {
  RecordingCanvas& page = makePage();
  page.frameTimer().setMode(scene::FrameTimer::kFree);
  auto buffered = std::make_unique<RecordingScene>(Scene::kSprite, &log, "buffered");
  buffered->buffered = true;
  buffered->width = buffered->height = 8;
  page.addScene("buffered", std::move(buffered));
  page.addScene("plain", std::make_unique<RecordingScene>(Scene::kSprite, &log, "plain"));
  page.setActive(true);
  host::sleepMs(20);
  page.onIdle(host::Message{}, 0);
  EXPECT_EQ(log, (Log{"update", "draw:plain", "afterDraw"}));
  page.setActive(false);
}

TEST_F(CanvasFrame, PaintRunsAFrameWhenActiveAndADrawOnlyPassWhenNot) {
  RecordingCanvas& page = makePage();
  auto plain = std::make_unique<RecordingScene>(Scene::kSprite, &log, "plain");
  RecordingScene* scene = plain.get();
  page.addScene("plain", std::move(plain));
  log.clear();
  page.repaint(false);
  EXPECT_EQ(log, (Log{"draw:plain"}));
  EXPECT_EQ(scene->lastSeconds, -1.0f);
  EXPECT_EQ(page.frameTime(), -1.0f);

  log.clear();
  page.setActive(true);
  host::sleepMs(20);
  page.repaint(false);
  EXPECT_EQ(log, (Log{"update", "draw:plain", "afterDraw"}));
  EXPECT_GT(scene->lastSeconds, 0.0f);
  page.setActive(false);
}

TEST_F(CanvasFrame, SaveTemplateFailureWarnsWithTheFileName) {
  RecordingCanvas& page = makePage();
  testing_support::TempFolder folder;
  folder.write("page.properties", "a=1\n");
  scene::TemplateFactory::loadTemplate(page, folder.path() + "/", "page.properties", true);
  ASSERT_EQ(page.templateName(), "page.properties");
  page.pageTemplate().set("a", "2");
  EXPECT_TRUE(page.saveTemplate());
  size_t before = boxes().size();

  std::filesystem::remove_all(folder.path());
  EXPECT_FALSE(page.saveTemplate());
  ASSERT_EQ(boxes().size(), before + 1);
  const host::MessageBoxRecord& box = boxes().back();
  EXPECT_EQ(box.caption, "Warning");
  EXPECT_EQ(box.text, "Can not update the template file: " + folder.path() +
                          "/page.properties.\nThe file is read-only or the storage media is not "
                          "available. All changes will be ignored.");
  EXPECT_EQ(box.type & 0xF0u, host::MB_ICONEXCLAMATION);
}

TEST_F(CanvasFrame, SceneLookupAndRemoval) {
  RecordingCanvas& page = makePage();
  auto sprites = std::make_unique<RecordingScene>(Scene::kSprite, &log, "s");
  sprites->addObject(object("btnOk", 0, 0, 10, 10));
  Scene* s = page.addScene(std::string(70, 'n'), std::move(sprites));
  EXPECT_EQ(s->name().size(), 64u);
  EXPECT_EQ(s->canvas(), &page);
  EXPECT_EQ(s->target().pixels, page.backBuffer()->pixels());
  auto natives = std::make_unique<RecordingScene>(Scene::kNative, &log, "n");
  natives->addObject(object("btnOk", 0, 0, 10, 10));
  Scene* n = page.addScene("sceneAWT", std::move(natives));
  EXPECT_EQ(n->target().pixels, nullptr);  // native controls draw as windows
  EXPECT_EQ(page.findScene("sceneAWT"), n);
  EXPECT_EQ(page.findSceneOf("btnOk"), s);  // bottom to top
  EXPECT_EQ(page.findObject("btnOk"), s->objects()[0].get());
  EXPECT_EQ(page.findObject("nothing"), nullptr);
  page.removeScene(s);
  EXPECT_EQ(page.findSceneOf("btnOk"), n);
  page.removeAllScenes();
  EXPECT_TRUE(page.scenes().empty());
}

}  // namespace
}  // namespace scene_test
