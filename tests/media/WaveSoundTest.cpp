// WaveSound on the headless host's virtual sound device: loading, playing once and looping,
// stop, pause and resume, the sound switch, a machine without sound, and completion through
// the window procedure.
#include "media/WaveSound.h"

#include <gtest/gtest.h>

#include <memory>

#include "host/MessageBoxes.h"
#include "host/WaveOut.h"
#include "media/SoundCreators.h"
#include "media/WaveBytes.h"
#include "platform/MessagePump.h"
#include "platform/ProcessSwitches.h"
#include "platform/Window.h"
#include "support/HeadlessHost.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

using scene::PageSound;

class WaveSoundTest : public testing_support::HeadlessHostTest {
 protected:
  void SetUp() override {
    HeadlessHostTest::SetUp();
    start();
  }
  void TearDown() override {
    window.reset();
    platform::setSoundEffectsEnabled(true);
    platform::setWaveDoneHook(nullptr);
    HeadlessHostTest::TearDown();
  }
  // A fresh window on the running host, with completions going to WaveSound.
  void start() {
    platform::setSoundEffectsEnabled(true);
    platform::setWaveDoneHook(&WaveSound::onWaveDone);
    window = std::make_unique<platform::Window>("sounds", 0, false);
    ASSERT_TRUE(window->create(0, 0, 240, 320));
    drain();
  }
  std::unique_ptr<WaveSound> load(const std::string& name, const std::string& bytes) {
    return WaveSound::loadWave(folder.write(name, bytes));
  }
  int openDevices() { return host::Host::get().waveOut().openCount(); }
  const std::vector<host::MessageBoxRecord>& boxes() {
    return host::Host::get().messageBoxes().records();
  }

  testing_support::TempFolder folder;
  std::unique_ptr<platform::Window> window;
};

TEST_F(WaveSoundTest, LoadsFormatAndSamples) {
  auto sound = load("a.wav", canonicalWave(2, 22050, 16, std::string(4000, '\x10')));
  EXPECT_EQ(sound->format().channels, 2);
  EXPECT_EQ(sound->format().samplesPerSec, 22050u);
  EXPECT_EQ(sound->format().bitsPerSample, 16);
  EXPECT_EQ(sound->dataLength(), 4000u);
  EXPECT_EQ(sound->state(), PageSound::kStopped);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(WaveSoundTest, PathWithDotDotIsResolved) {
  folder.write("snd/a.wav", toneMs(100));
  auto sound = WaveSound::loadWave(folder.path() + "/other/../snd/a.wav");
  EXPECT_EQ(sound->dataLength(), 1102u);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(WaveSoundTest, MissingOrForeignFileIsReportedAndSilent) {
  std::string missing = folder / "none.wav";
  auto sound = WaveSound::loadWave(missing);
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].caption, "File I/O Error");
  EXPECT_EQ(boxes()[0].text, "Unable to open wave file: \"" + missing + "\".");
  EXPECT_EQ(boxes()[0].type, host::MB_OK);
  EXPECT_EQ(sound->dataLength(), 0u);

  auto foreign = load("b.wav", "GIF89a and some more bytes than a header holds, surely");
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[1].text, "Unable to open wave file: \"" + (folder / "b.wav") + "\".");
  EXPECT_EQ(foreign->dataLength(), 0u);
}

TEST_F(WaveSoundTest, PlaysOnceAndStopsWhenTheWindowHearsItIsDone) {
  auto sound = load("a.wav", toneMs(500));
  sound->playOnce(window->hwnd());
  EXPECT_EQ(sound->state(), PageSound::kPlaying);
  EXPECT_EQ(openDevices(), 1);
  EXPECT_EQ(sound->header().user, reinterpret_cast<std::uintptr_t>(sound.get()));
  EXPECT_EQ(sound->header().flags & (host::WHDR_BEGINLOOP | host::WHDR_ENDLOOP), 0u);
  runFor(490);
  EXPECT_EQ(sound->state(), PageSound::kPlaying);
  runFor(20);
  EXPECT_EQ(sound->state(), PageSound::kStopped);
  EXPECT_EQ(openDevices(), 0);
}

TEST_F(WaveSoundTest, LoopsUntilStopped) {
  auto sound = load("a.wav", toneMs(50));
  sound->play(window->hwnd(), -1);
  EXPECT_EQ(sound->header().flags,
            host::WHDR_BEGINLOOP | host::WHDR_ENDLOOP | host::WHDR_PREPARED | host::WHDR_INQUEUE);
  EXPECT_EQ(sound->header().loops, 0xFFFFFFFFu);
  runFor(3000);
  EXPECT_EQ(sound->state(), PageSound::kPlaying);
  sound->stop();
  EXPECT_EQ(sound->state(), PageSound::kStopped);
  EXPECT_EQ(openDevices(), 0);
  runFor(100);
  EXPECT_EQ(sound->state(), PageSound::kStopped);
}

TEST_F(WaveSoundTest, LoopCountPlaysThatManyTimes) {
  auto sound = load("a.wav", toneMs(100));
  sound->play(window->hwnd(), 3);
  runFor(290);
  EXPECT_EQ(sound->state(), PageSound::kPlaying);
  runFor(20);
  EXPECT_EQ(sound->state(), PageSound::kStopped);
}

TEST_F(WaveSoundTest, PauseKeepsThePlaceAndOnlyAPlayingSoundStops) {
  auto sound = load("a.wav", toneMs(200));
  sound->resume();  // not paused: nothing
  EXPECT_EQ(sound->state(), PageSound::kStopped);
  sound->playOnce(window->hwnd());
  runFor(100);
  sound->pause();
  EXPECT_EQ(sound->state(), PageSound::kPaused);
  sound->pause();
  EXPECT_EQ(sound->state(), PageSound::kPaused);
  sound->stop();  // a paused sound stays paused
  EXPECT_EQ(sound->state(), PageSound::kPaused);
  EXPECT_EQ(openDevices(), 1);
  runFor(1000);
  EXPECT_EQ(sound->state(), PageSound::kPaused);
  sound->resume();
  EXPECT_EQ(sound->state(), PageSound::kPlaying);
  runFor(90);
  EXPECT_EQ(sound->state(), PageSound::kPlaying);
  runFor(20);
  EXPECT_EQ(sound->state(), PageSound::kStopped);
}

TEST_F(WaveSoundTest, SwitchOffLeavesEverySoundAlone) {
  auto playing = load("a.wav", toneMs(1000));
  auto paused = load("b.wav", toneMs(1000));
  playing->playOnce(window->hwnd());
  paused->playOnce(window->hwnd());
  paused->pause();
  platform::setSoundEffectsEnabled(false);
  auto quiet = load("c.wav", toneMs(1000));
  quiet->playOnce(window->hwnd());
  EXPECT_EQ(quiet->state(), PageSound::kStopped);
  playing->pause();
  EXPECT_EQ(playing->state(), PageSound::kPlaying);
  paused->resume();
  EXPECT_EQ(paused->state(), PageSound::kPaused);
  playing->play(window->hwnd(), -1);
  EXPECT_EQ(playing->header().loops, 0u);  // not restarted as a loop
  EXPECT_EQ(openDevices(), 2);
}

TEST_F(WaveSoundTest, MachineWithoutSoundPlaysNothing) {
  window.reset();
  host::HostConfig config;
  config.backend = host::BackendKind::Headless;
  config.profile = *host::findProfile("qvga");
  config.audioDevice = false;
  host::Host::restart(config);
  start();
  EXPECT_FALSE(waveDeviceUsable());
  auto sound = load("a.wav", toneMs(100));
  sound->playOnce(window->hwnd());
  EXPECT_EQ(sound->state(), PageSound::kStopped);
  EXPECT_EQ(openDevices(), 0);
}

TEST_F(WaveSoundTest, HeaderOnlyFilePlaysAndCompletesAtOnce) {
  auto sound = load("empty.wav", canonicalWave(1, 11025, 8, ""));
  EXPECT_EQ(sound->dataLength(), 0u);
  sound->playOnce(window->hwnd());
  EXPECT_EQ(sound->state(), PageSound::kPlaying);
  drain();
  EXPECT_EQ(sound->state(), PageSound::kStopped);
  EXPECT_EQ(openDevices(), 0);
}

TEST_F(WaveSoundTest, PlayingAgainStartsOverOnOneDevice) {
  auto sound = load("a.wav", toneMs(300));
  sound->playOnce(window->hwnd());
  runFor(200);
  sound->playOnce(window->hwnd());
  EXPECT_EQ(openDevices(), 1);
  runFor(250);
  EXPECT_EQ(sound->state(), PageSound::kPlaying);  // 300 ms from the second start
  runFor(60);
  EXPECT_EQ(sound->state(), PageSound::kStopped);

  // A paused sound played again gives its old device back first.
  sound->playOnce(window->hwnd());
  sound->pause();
  sound->playOnce(window->hwnd());
  EXPECT_EQ(sound->state(), PageSound::kPlaying);
  EXPECT_EQ(openDevices(), 1);
}

TEST_F(WaveSoundTest, CompletionOfAnEarlierPlayDoesNotStopTheReplay) {
  auto sound = load("a.wav", toneMs(100));
  sound->playOnce(window->hwnd());
  host::sleepMs(150);
  wm().pumpInput();  // the completion is posted, not yet handled
  sound->playOnce(window->hwnd());
  drain();
  EXPECT_EQ(sound->state(), PageSound::kPlaying);
  runFor(110);
  EXPECT_EQ(sound->state(), PageSound::kStopped);
}

TEST_F(WaveSoundTest, SeveralSoundsPlayAtOnce) {
  auto a = load("a.wav", toneMs(100));
  auto b = load("b.wav", toneMs(300));
  a->playOnce(window->hwnd());
  b->playOnce(window->hwnd());
  EXPECT_EQ(openDevices(), 2);
  runFor(150);
  EXPECT_EQ(a->state(), PageSound::kStopped);
  EXPECT_EQ(b->state(), PageSound::kPlaying);
}

TEST_F(WaveSoundTest, FormatNoDeviceAcceptsPlaysNothingQuietly) {
  auto sound = load("a.wav", canonicalWave(1, 11025, 24, std::string(300, 'x')));
  sound->playOnce(window->hwnd());
  EXPECT_EQ(sound->state(), PageSound::kStopped);
  EXPECT_EQ(sound->lastPlayResult(), host::WAVERR_BADFORMAT);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(WaveSoundTest, DestroyingASoundClosesItsDevice) {
  auto sound = load("a.wav", toneMs(300));
  sound->playOnce(window->hwnd());
  sound->pause();
  sound.reset();
  EXPECT_EQ(openDevices(), 0);
  runFor(500);  // nothing arrives for the sound that is gone
}

}  // namespace
}  // namespace media::testing
