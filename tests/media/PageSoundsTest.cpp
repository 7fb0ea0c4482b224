// The sounds of a page: `WaveSound` objects of a template, playSound and its modes, stop, pause
// and resume of all sounds, completion through the page's window procedure, and the pause while
// the page is not active.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/MessageBoxes.h"
#include "host/WaveOut.h"
#include "media/Runtime.h"
#include "media/WaveBytes.h"
#include "media/WaveSound.h"
#include "platform/MessagePump.h"
#include "platform/ProcessSwitches.h"
#include "platform/Window.h"
#include "scene/Canvas.h"
#include "scene/TemplateFactory.h"
#include "support/HeadlessHost.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

using scene::PageSound;

class PageSounds : public testing_support::HeadlessHostTest {
 protected:
  void SetUp() override {
    HeadlessHostTest::SetUp();
    platform::setActiveIdleHandler(nullptr);
    platform::setSoundEffectsEnabled(true);
    runtime = std::make_unique<Runtime>();
    folder.write("boom.wav", toneMs(300));
    folder.write("tip.wav", toneMs(100));
    folder.write("music.wav", toneMs(50));
    folder.write("page.properties",
                 "explosion=type:WaveSound, src:boom.wav\n"
                 "canon=type:WaveSound, src:boom.wav\n"
                 "tip=type:WaveSound, src:tip.wav\n"
                 "titleMusic=type:WaveSound, src:music.wav\n"
                 "silent=type:WaveSound\n"
                 "lost=type:WaveSound, src:none.wav\n");
    main = std::make_unique<platform::Window>("Skirrow", 0, false);
    ASSERT_TRUE(main->create(0, 0, 240, 320));
    auto made = std::make_unique<scene::Canvas>("page", true, runtime->creators());
    page = made.get();
    ASSERT_TRUE(main->addChild(std::move(made), 0, 0, 240, 320));
    scene::TemplateFactory::loadTemplate(*page, folder.path() + "/", "page.properties", true);
    drain();
  }
  void TearDown() override {
    main.reset();
    runtime.reset();
    platform::setActiveIdleHandler(nullptr);
    HeadlessHostTest::TearDown();
  }
  PageSound& sound(const std::string& name) {
    PageSound* s = page->findSound(name);
    EXPECT_NE(s, nullptr) << name;
    return *s;
  }
  int openDevices() { return host::Host::get().waveOut().openCount(); }
  const std::vector<host::MessageBoxRecord>& boxes() {
    return host::Host::get().messageBoxes().records();
  }

  std::unique_ptr<Runtime> runtime;
  testing_support::TempFolder folder;
  std::unique_ptr<platform::Window> main;
  scene::Canvas* page = nullptr;
};

TEST_F(PageSounds, EachFileIsLoadedOnceAndNamedByItsKey) {
  EXPECT_EQ(page->soundFileCount(), 4);  // boom, tip, music and the missing one
  EXPECT_EQ(page->findSound("explosion"), page->findSound("canon"));
  EXPECT_NE(page->findSound("explosion"), page->findSound("tip"));
  EXPECT_EQ(page->findSound("silent"), nullptr);  // no src: nothing made
  ASSERT_NE(page->findSound("lost"), nullptr);    // reported, and silent
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, "Unable to open wave file: \"" + folder.path() + "/none.wav\".");
  auto* boom = dynamic_cast<WaveSound*>(page->findSound("explosion"));
  ASSERT_NE(boom, nullptr);
  EXPECT_EQ(boom->dataLength(), 3307u);
}

TEST_F(PageSounds, UnknownNameIsReported) {
  page->playSound(page->hwnd(), "gameover", 2);
  ASSERT_EQ(boxes().size(), 2u);  // after the missing file's box
  EXPECT_EQ(boxes()[1].caption, "Error");
  EXPECT_EQ(boxes()[1].text, "Can not find the wave sound file: gameover.");
  EXPECT_EQ(boxes()[1].type, host::MB_OK | host::MB_ICONSTOP);
}

TEST_F(PageSounds, PlayingSoundIsNotRestarted) {
  page->playSound(page->hwnd(), "explosion", 2);
  runFor(200);
  page->playSound(page->hwnd(), "canon", 0);  // the same file, playing: left alone
  runFor(110);
  EXPECT_EQ(sound("explosion").state(), PageSound::kStopped);  // done 300 ms after the first
}

TEST_F(PageSounds, ModeOneWaitsForSilenceModeZeroStopsTheOthers) {
  page->playSound(page->hwnd(), "explosion", 2);
  page->playSound(page->hwnd(), "tip", 1);
  EXPECT_EQ(sound("tip").state(), PageSound::kStopped);
  EXPECT_TRUE(page->anySoundPlaying());
  page->playSound(page->hwnd(), "tip", 0);
  EXPECT_EQ(sound("explosion").state(), PageSound::kStopped);
  EXPECT_EQ(sound("tip").state(), PageSound::kPlaying);
  EXPECT_EQ(openDevices(), 1);
  runFor(110);
  EXPECT_FALSE(page->anySoundPlaying());
  page->playSound(page->hwnd(), "tip", 1);
  EXPECT_EQ(sound("tip").state(), PageSound::kPlaying);
}

TEST_F(PageSounds, OtherModesPlayBesideTheOthers) {
  page->playSound(page->hwnd(), "explosion", 2);
  page->playSound(page->hwnd(), "tip", 7);
  EXPECT_EQ(sound("explosion").state(), PageSound::kPlaying);
  EXPECT_EQ(sound("tip").state(), PageSound::kPlaying);
  EXPECT_EQ(openDevices(), 2);
}

TEST_F(PageSounds, CompletionReachesTheSoundThroughThePage) {
  page->playSound(page->hwnd(), "tip", 2);
  runFor(90);
  EXPECT_EQ(sound("tip").state(), PageSound::kPlaying);
  runFor(20);
  EXPECT_EQ(sound("tip").state(), PageSound::kStopped);
  EXPECT_EQ(openDevices(), 0);
}

TEST_F(PageSounds, StopPauseAndResumeAll) {
  sound("titleMusic").play(page->hwnd(), -1);
  page->playSound(page->hwnd(), "explosion", 2);
  page->pauseAllSounds();
  EXPECT_EQ(sound("titleMusic").state(), PageSound::kPaused);
  EXPECT_EQ(sound("explosion").state(), PageSound::kPaused);
  EXPECT_FALSE(page->anySoundPlaying());
  runFor(1000);
  page->resumeAllSounds();
  EXPECT_EQ(sound("explosion").state(), PageSound::kPlaying);
  runFor(310);
  EXPECT_EQ(sound("explosion").state(), PageSound::kStopped);
  EXPECT_EQ(sound("titleMusic").state(), PageSound::kPlaying);  // still looping
  page->stopAllSounds();
  EXPECT_EQ(sound("titleMusic").state(), PageSound::kStopped);
  EXPECT_EQ(openDevices(), 0);
}

TEST_F(PageSounds, LosingActivationPausesAndRegainingItResumes) {
  sound("titleMusic").play(page->hwnd(), -1);
  page->setActive(true);
  wm().sendMessage(main->hwnd(), host::WM_ACTIVATE, host::WA_INACTIVE, 0);
  EXPECT_EQ(sound("titleMusic").state(), PageSound::kPaused);
  EXPECT_FALSE(page->isActive());
  wm().sendMessage(main->hwnd(), host::WM_ACTIVATE, host::WA_ACTIVE, 0);
  EXPECT_EQ(sound("titleMusic").state(), PageSound::kPlaying);
  EXPECT_TRUE(page->isActive());
  page->setActive(false);
}

TEST_F(PageSounds, ReplacingTheTemplateDropsTheSounds) {
  page->playSound(page->hwnd(), "explosion", 2);
  folder.write("next.properties", "tip=type:WaveSound, src:tip.wav\n");
  scene::TemplateFactory::loadTemplate(*page, folder.path() + "/", "next.properties", true);
  EXPECT_EQ(openDevices(), 0);
  EXPECT_EQ(page->findSound("explosion"), nullptr);
  EXPECT_EQ(page->soundFileCount(), 1);
  runFor(400);  // the dropped sound's completion never arrives
}

TEST_F(PageSounds, DestroyedPageClosesItsDevices) {
  page->playSound(page->hwnd(), "explosion", 2);
  sound("titleMusic").play(page->hwnd(), -1);
  sound("titleMusic").pause();
  main.reset();
  EXPECT_EQ(openDevices(), 0);
}

}  // namespace
}  // namespace media::testing
