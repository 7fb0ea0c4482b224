// The canvas's sound operations over stand-in sounds: registration (each file once), playSound
// and its modes, the all-sounds operations, pause on deactivation and release with the page.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "scene/CanvasFixture.h"
#include "scene/PageSound.h"
#include "scene/TemplateFactory.h"
#include "support/TempFolder.h"

namespace scene_test {
namespace {

using scene::PageSound;

// A sound that follows the state rules and logs every call as "<op>:<tag>".
class FakeSound : public PageSound {
 public:
  FakeSound(Log* log, std::string tag) : log_(log), tag_(std::move(tag)) {}
  ~FakeSound() override { log_->push_back("gone:" + tag_); }
  State state() const override { return state_; }
  void play(host::Hwnd, int loops) override {
    log_->push_back("play:" + tag_ + ":" + std::to_string(loops));
    state_ = kPlaying;
  }
  void playOnce(host::Hwnd window) override { play(window, 1); }
  void stop() override {
    log_->push_back("stop:" + tag_);
    if (state_ == kPlaying) state_ = kStopped;
  }
  void pause() override {
    log_->push_back("pause:" + tag_);
    if (state_ == kPlaying) state_ = kPaused;
  }
  void resume() override {
    log_->push_back("resume:" + tag_);
    if (state_ == kPaused) state_ = kPlaying;
  }

 private:
  Log* log_;
  std::string tag_;
  State state_ = kStopped;
};

class CanvasSound : public CanvasTest {
 protected:
  // A loader that makes a FakeSound tagged with the file name and records each path asked for.
  scene::SoundLoader loader() {
    return [this](const std::string& path) -> std::unique_ptr<PageSound> {
      loaded.push_back(path);
      if (path.find("broken") != std::string::npos) return nullptr;
      return std::make_unique<FakeSound>(&sounds, path.substr(path.find_last_of("\\/") + 1));
    };
  }
  // Loads an empty template from `folder` so that the page has that template folder.
  void setFolder(scene::Canvas& page, const std::string& folder) {
    files.write("empty.properties", "");
    scene::TemplateFactory::loadTemplate(page, folder, "empty.properties", true);
  }

  testing_support::TempFolder files;
  std::vector<std::string> loaded;
  Log sounds;
};

TEST_F(CanvasSound, EachFileIsMadeOnceAndNamesShareIt) {
  RecordingCanvas& page = makePage();
  setFolder(page, files.path());  // no separator at the end: one is put in
  page.registerSound("explosion", "boom.wav", loader());
  page.registerSound("canon", "boom.wav", loader());
  page.registerSound("tip", "tip.wav", loader());
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0], files.path() + "\\boom.wav");
  EXPECT_EQ(loaded[1], files.path() + "\\tip.wav");
  EXPECT_EQ(page.soundFileCount(), 2);
  EXPECT_EQ(page.waveSounds().count(), 3);
  EXPECT_NE(page.findSound("explosion"), nullptr);
  EXPECT_EQ(page.findSound("explosion"), page.findSound("canon"));
  EXPECT_NE(page.findSound("explosion"), page.findSound("tip"));
  EXPECT_EQ(page.findSound("Explosion"), nullptr);  // names are exact

  setFolder(page, files.path() + "/");
  page.registerSound("tip", "tip.wav", loader());
  EXPECT_EQ(loaded.back(), files.path() + "/tip.wav");  // no second separator
  page.registerSound("bad", "broken.wav", loader());
  EXPECT_EQ(page.findSound("bad"), nullptr);
}

TEST_F(CanvasSound, UnknownNameIsReported) {
  RecordingCanvas& page = makePage();
  page.playSound(page.hwnd(), "gameover", 0);
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].caption, "Error");
  EXPECT_EQ(boxes()[0].text, "Can not find the wave sound file: gameover.");
  EXPECT_EQ(boxes()[0].type, host::MB_OK | host::MB_ICONSTOP);
}

TEST_F(CanvasSound, ModesOfPlaySound) {
  RecordingCanvas& page = makePage();
  setFolder(page, files.path());
  page.registerSound("a", "a.wav", loader());
  page.registerSound("b", "b.wav", loader());
  page.registerSound("c", "c.wav", loader());

  page.playSound(page.hwnd(), "a", 5);  // any other mode: just plays
  EXPECT_EQ(sounds, (Log{"play:a.wav:1"}));
  sounds.clear();
  page.playSound(page.hwnd(), "a", 0);  // already playing: left alone, nothing stopped
  EXPECT_TRUE(sounds.empty());
  page.playSound(page.hwnd(), "b", 1);  // another sound plays: nothing
  EXPECT_TRUE(sounds.empty());
  EXPECT_TRUE(page.anySoundPlaying());
  page.playSound(page.hwnd(), "b", 0);  // stops every sound first, then plays
  EXPECT_EQ(sounds, (Log{"stop:a.wav", "stop:b.wav", "stop:c.wav", "play:b.wav:1"}));
  EXPECT_EQ(page.findSound("a")->state(), PageSound::kStopped);
  sounds.clear();
  page.findSound("b")->stop();
  EXPECT_FALSE(page.anySoundPlaying());
  page.playSound(page.hwnd(), "c", 1);  // silence: plays
  EXPECT_EQ(sounds, (Log{"stop:b.wav", "play:c.wav:1"}));
}

TEST_F(CanvasSound, AllSoundsOperationsVisitEachFileOnce) {
  RecordingCanvas& page = makePage();
  setFolder(page, files.path());
  page.registerSound("x", "a.wav", loader());
  page.registerSound("y", "a.wav", loader());
  page.registerSound("z", "b.wav", loader());
  page.pauseAllSounds();
  page.resumeAllSounds();
  page.stopAllSounds();
  EXPECT_EQ(sounds, (Log{"pause:a.wav", "pause:b.wav", "resume:a.wav", "resume:b.wav", "stop:a.wav",
                         "stop:b.wav"}));
}

TEST_F(CanvasSound, DeactivationPausesAndActivationResumes) {
  platform::Window main("Skirrow", 0, false);
  ASSERT_TRUE(main.create(0, 0, 240, 320));
  auto made = std::make_unique<scene::Canvas>("page", true, creators);
  scene::Canvas* page = made.get();
  ASSERT_TRUE(main.addChild(std::move(made), 0, 0, 240, 320));
  page->registerSound("music", "m.wav", loader());
  page->findSound("music")->play(page->hwnd(), -1);
  sounds.clear();
  wm().sendMessage(main.hwnd(), host::WM_ACTIVATE, host::WA_INACTIVE, 0);
  EXPECT_EQ(page->findSound("music")->state(), PageSound::kPaused);
  wm().sendMessage(main.hwnd(), host::WM_ACTIVATE, host::WA_ACTIVE, 0);
  EXPECT_EQ(page->findSound("music")->state(), PageSound::kPlaying);
  EXPECT_EQ(sounds, (Log{"pause:m.wav", "resume:m.wav"}));
}

TEST_F(CanvasSound, ReplacedTemplateAndDestroyedPageReleaseTheSounds) {
  RecordingCanvas& page = makePage();
  setFolder(page, files.path());
  page.registerSound("a", "a.wav", loader());
  setFolder(page, files.path());  // replace: the sounds go
  EXPECT_EQ(sounds, (Log{"gone:a.wav"}));
  EXPECT_EQ(page.findSound("a"), nullptr);
  EXPECT_EQ(page.soundFileCount(), 0);
  page.registerSound("b", "b.wav", loader());
  main_.reset();
  EXPECT_EQ(sounds.back(), "gone:b.wav");
}

}  // namespace
}  // namespace scene_test
