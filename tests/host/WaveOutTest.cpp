// Wave-out on the headless host: devices, formats, buffers played on the virtual clock, loops,
// pause, reset and close, completion posted to the callback window, and the mixed stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "HostFixture.h"
#include "host/System.h"
#include "host/WaveMixer.h"
#include "host/WaveOut.h"
#include "host/sdl/SdlAudio.h"

namespace host::testing {
namespace {

WaveFormatEx pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  WaveFormatEx f;
  f.formatTag = WAVE_FORMAT_PCM;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = bits;
  f.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
  f.avgBytesPerSec = rate * f.blockAlign;
  return f;
}

// 16-bit samples as little-endian bytes.
std::vector<std::uint8_t> samples16(const std::vector<std::int16_t>& values) {
  std::vector<std::uint8_t> out;
  for (std::int16_t v : values) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  }
  return out;
}

class WaveOutTest : public HostTest {
 protected:
  WaveOut& waveOut() { return Host::get().waveOut(); }

  // Runs the queue for `ms` of virtual time, dispatching everything.
  void runFor(std::uint32_t ms) {
    std::uint32_t end = tickCount() + ms;
    Message m;
    while (tickCount() < end) {
      if (wm().peekMessage(m, true)) {
        if (m.message == WM_QUIT) break;
        wm().dispatchMessage(m);
      } else {
        sleepMs(1);
      }
    }
  }

  std::vector<Received> doneMessages() const {
    std::vector<Received> out;
    for (const Received& r : log)
      if (r.message == MM_WOM_DONE) out.push_back(r);
    return out;
  }

  // Opens a voice for `window`, prepares `h` over `data` and writes it.
  Hwaveout play(Hwnd window, const WaveFormatEx& f, std::vector<std::uint8_t>& data, WaveHdr& h) {
    Hwaveout out = 0;
    EXPECT_EQ(waveOutOpen(&out, 0, f, window, 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    h.data = data.data();
    h.bufferLength = static_cast<std::uint32_t>(data.size());
    EXPECT_EQ(waveOutPrepareHeader(out, &h), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutWrite(out, &h), MMSYSERR_NOERROR);
    return out;
  }
};

TEST_F(WaveOutTest, OneDeviceWithStereoCapabilities) {
  EXPECT_EQ(waveOutGetNumDevs(), 1u);
  WaveOutCaps caps;
  ASSERT_EQ(waveOutGetDevCaps(WAVE_MAPPER, caps), MMSYSERR_NOERROR);
  EXPECT_NE(caps.formats, 0u);
  EXPECT_EQ(caps.channels, 2);
  ASSERT_EQ(waveOutGetDevCaps(0, caps), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutGetDevCaps(1, caps), MMSYSERR_BADDEVICEID);
}

TEST_F(WaveOutTest, MachineWithoutSoundHasNoDevice) {
  HostConfig config;
  config.backend = BackendKind::Headless;
  config.profile = *findProfile("qvga");
  config.audioDevice = false;
  Host::restart(config);
  registerRecorder();
  EXPECT_EQ(waveOutGetNumDevs(), 0u);
  WaveOutCaps caps;
  EXPECT_EQ(waveOutGetDevCaps(WAVE_MAPPER, caps), MMSYSERR_NODRIVER);
  Hwaveout h = 0;
  EXPECT_EQ(waveOutOpen(&h, 0, pcm(1, 11025, 8), topLevel("w"), 0, CALLBACK_WINDOW),
            MMSYSERR_NODRIVER);
  EXPECT_EQ(h, 0u);
}

TEST_F(WaveOutTest, FormatCheck) {
  EXPECT_TRUE(isPlayableFormat(pcm(1, 11025, 8)));
  EXPECT_TRUE(isPlayableFormat(pcm(2, 44100, 16)));
  WaveFormatEx f = pcm(2, 22050, 16);
  f.formatTag = 3;  // floating point
  EXPECT_FALSE(isPlayableFormat(f));
  f = pcm(2, 22050, 16);
  f.blockAlign = 2;
  EXPECT_FALSE(isPlayableFormat(f));
  EXPECT_FALSE(isPlayableFormat(pcm(3, 22050, 16)));
  EXPECT_FALSE(isPlayableFormat(pcm(1, 22050, 12)));
  EXPECT_FALSE(isPlayableFormat(pcm(1, 0, 8)));

  Hwaveout h = 0;
  EXPECT_EQ(waveOutOpen(&h, 0, pcm(1, 0, 8), 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
  // A query checks the format only: nothing is opened.
  EXPECT_EQ(waveOutOpen(nullptr, 0, pcm(1, 8000, 8), 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOut().openCount(), 0);
  EXPECT_EQ(waveOutOpen(&h, 0, pcm(1, 8000, 8), 0, 0, 0x00050000), MMSYSERR_INVALFLAG);
}

TEST_F(WaveOutTest, BufferFinishesAfterItsLengthOfVirtualTime) {
  Hwnd w = topLevel("w");
  drain();
  log.clear();
  std::vector<std::uint8_t> data(11025, 200);  // one second, 8-bit mono
  WaveHdr h;
  WaveHdr unprepared;
  Hwaveout out = play(w, pcm(1, 11025, 8), data, h);
  EXPECT_EQ(waveOutWrite(out, &unprepared), WAVERR_UNPREPARED);
  EXPECT_EQ(waveOutWrite(out, &h), WAVERR_STILLPLAYING);  // queued already
  EXPECT_NE(h.flags & WHDR_INQUEUE, 0u);
  EXPECT_EQ(waveOutUnprepareHeader(out, &h), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveOutClose(out), WAVERR_STILLPLAYING);
  runFor(995);
  EXPECT_TRUE(doneMessages().empty());
  runFor(10);
  auto done = doneMessages();
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].window, w);
  EXPECT_EQ(done[0].wParam, out);
  EXPECT_EQ(done[0].lParam, reinterpret_cast<std::intptr_t>(&h));
  EXPECT_NE(h.flags & WHDR_DONE, 0u);
  EXPECT_EQ(h.flags & WHDR_INQUEUE, 0u);
  EXPECT_EQ(waveOutUnprepareHeader(out, &h), MMSYSERR_NOERROR);
  EXPECT_EQ(h.flags & WHDR_PREPARED, 0u);
  EXPECT_EQ(waveOutClose(out), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutPause(out), MMSYSERR_INVALHANDLE);
}

TEST_F(WaveOutTest, GetMessageWakesForTheCompletion) {
  Hwnd w = topLevel("w");
  drain();
  std::vector<std::uint8_t> data(2205, 128);  // 200 ms at 11025 Hz
  WaveHdr h;
  play(w, pcm(1, 11025, 8), data, h);
  std::uint32_t start = tickCount();
  Message m;
  while (wm().getMessage(m) && m.message != MM_WOM_DONE) wm().dispatchMessage(m);
  EXPECT_EQ(m.message, MM_WOM_DONE);
  std::uint32_t took = tickCount() - start;
  EXPECT_GE(took, 199u);
  EXPECT_LE(took, 202u);
}

TEST_F(WaveOutTest, LoopingBufferPlaysItsLoopCount) {
  Hwnd w = topLevel("w");
  drain();
  log.clear();
  std::vector<std::uint8_t> data(1103, 128);  // 100 ms
  WaveHdr h;
  h.flags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
  h.loops = 3;
  play(w, pcm(1, 11025, 8), data, h);
  runFor(295);
  EXPECT_TRUE(doneMessages().empty());
  runFor(10);
  EXPECT_EQ(doneMessages().size(), 1u);
}

TEST_F(WaveOutTest, EndlessLoopPlaysUntilReset) {
  Hwnd w = topLevel("w");
  drain();
  log.clear();
  std::vector<std::uint8_t> data(110, 128);  // 10 ms
  WaveHdr h;
  h.flags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
  h.loops = 0xFFFFFFFF;
  Hwaveout out = play(w, pcm(1, 11025, 8), data, h);
  runFor(5000);
  EXPECT_TRUE(doneMessages().empty());
  EXPECT_EQ(waveOutReset(out), MMSYSERR_NOERROR);
  EXPECT_NE(h.flags & WHDR_DONE, 0u);
  drain();
  EXPECT_EQ(doneMessages().size(), 1u);
}

TEST_F(WaveOutTest, PauseHoldsThePlacePositionAndRestartGoesOn) {
  Hwnd w = topLevel("w");
  drain();
  log.clear();
  std::vector<std::uint8_t> data(2205, 128);  // 200 ms
  WaveHdr h;
  Hwaveout out = play(w, pcm(1, 11025, 8), data, h);
  runFor(100);
  EXPECT_EQ(waveOutPause(out), MMSYSERR_NOERROR);
  runFor(1000);
  EXPECT_TRUE(doneMessages().empty());
  EXPECT_EQ(waveOutRestart(out), MMSYSERR_NOERROR);
  runFor(95);
  EXPECT_TRUE(doneMessages().empty());
  runFor(10);
  EXPECT_EQ(doneMessages().size(), 1u);
}

TEST_F(WaveOutTest, CloseDropsCompletionsStillQueued) {
  Hwnd w = topLevel("w");
  drain();
  log.clear();
  std::vector<std::uint8_t> data(11025, 128);
  WaveHdr h;
  Hwaveout out = play(w, pcm(1, 11025, 8), data, h);
  runFor(10);
  ASSERT_EQ(waveOutReset(out), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutUnprepareHeader(out, &h), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutClose(out), MMSYSERR_NOERROR);
  drain();
  runFor(2000);
  EXPECT_TRUE(doneMessages().empty());
  EXPECT_EQ(waveOut().openCount(), 0);
}

TEST_F(WaveOutTest, EmptyBufferFinishesAtOnce) {
  Hwnd w = topLevel("w");
  drain();
  log.clear();
  std::vector<std::uint8_t> data;
  WaveHdr h;
  h.flags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
  h.loops = 0xFFFFFFFF;  // nothing to loop over
  play(w, pcm(2, 22050, 16), data, h);
  drain();
  EXPECT_EQ(doneMessages().size(), 1u);
}

TEST_F(WaveOutTest, BuffersOfOneVoicePlayInOrder) {
  Hwnd w = topLevel("w");
  drain();
  log.clear();
  std::vector<std::uint8_t> a(1103, 128), b(2205, 128);  // 100 ms, 200 ms
  WaveHdr ha, hb;
  Hwaveout out = play(w, pcm(1, 11025, 8), a, ha);
  hb.data = b.data();
  hb.bufferLength = static_cast<std::uint32_t>(b.size());
  waveOutPrepareHeader(out, &hb);
  waveOutWrite(out, &hb);
  runFor(105);
  auto done = doneMessages();
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].lParam, reinterpret_cast<std::intptr_t>(&ha));
  runFor(200);
  done = doneMessages();
  ASSERT_EQ(done.size(), 2u);
  EXPECT_EQ(done[1].lParam, reinterpret_cast<std::intptr_t>(&hb));
}

TEST_F(WaveOutTest, VoicesAreMixedIntoOneStream) {
  Hwnd w = topLevel("w");
  drain();
  waveOut().mixer().setCapture(true);
  // 44.1 kHz so that one source frame is one output frame.
  std::vector<std::uint8_t> mono = samples16(std::vector<std::int16_t>(441, 1000));
  std::vector<std::int16_t> lr;
  for (int i = 0; i < 441; ++i) lr.insert(lr.end(), {2000, -3000});
  std::vector<std::uint8_t> stereo = samples16(lr);
  std::vector<std::uint8_t> eight(441, 192);  // 8-bit: (192 - 128) << 8 = 16384
  WaveHdr h1, h2, h3;
  play(w, pcm(1, 44100, 16), mono, h1);
  play(w, pcm(2, 44100, 16), stereo, h2);
  play(w, pcm(1, 44100, 8), eight, h3);
  runFor(20);
  std::vector<std::int16_t> out = waveOut().mixer().captured();
  ASSERT_GE(out.size(), 2u * 441);
  size_t mixed = 0;
  for (size_t i = 0; i + 1 < out.size(); i += 2)
    if (out[i] == 1000 + 2000 + 16384 && out[i + 1] == 1000 - 3000 + 16384) ++mixed;
  EXPECT_EQ(mixed, 441u);
}

TEST_F(WaveOutTest, MixClampsAndStepsThroughOtherRates) {
  Hwnd w = topLevel("w");
  drain();
  waveOut().mixer().setCapture(true);
  std::vector<std::uint8_t> loud = samples16(std::vector<std::int16_t>(100, 30000));
  std::vector<std::uint8_t> loud2 = loud;
  WaveHdr h1, h2;
  // 22050 Hz: each source frame lasts two output frames.
  play(w, pcm(1, 22050, 16), loud, h1);
  play(w, pcm(1, 22050, 16), loud2, h2);
  runFor(20);
  std::vector<std::int16_t> out = waveOut().mixer().captured();
  size_t clamped = 0, other = 0;
  for (std::int16_t s : out) {
    if (s == 32767)
      ++clamped;
    else if (s != 0)
      ++other;
  }
  EXPECT_EQ(clamped, 2u * 200);  // both channels of 200 output frames
  EXPECT_EQ(other, 0u);
}

// The desktop path without a sound card: SDL's disk driver writes exactly the stream it pulls.
TEST(SdlAudioTest, PullsTheMixerIntoTheDevice) {
  std::string file = "/tmp/skirrow-audio-" + std::to_string(::getpid()) + ".raw";
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  ::setenv("SDL_DISKAUDIODELAY", "0", 1);
  WaveMixer mixer;
  WaveHdr h;
  std::vector<std::uint8_t> data = samples16(std::vector<std::int16_t>(4410, 1234));
  h.data = data.data();
  h.bufferLength = static_cast<std::uint32_t>(data.size());
  mixer.addVoice(7, pcm(1, 44100, 16));
  mixer.queue(7, &h);
  {
    std::unique_ptr<SdlAudio> audio = SdlAudio::open(mixer);
    ASSERT_NE(audio, nullptr);
    EXPECT_STREQ(audio->driverName(), "disk");
    std::vector<WaveMixer::Finished> finished;
    for (int i = 0; i < 2000 && finished.empty(); ++i) {
      finished = mixer.takeFinished();
      if (finished.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].handle, 7u);
    EXPECT_EQ(finished[0].header, &h);
  }
  ::unsetenv("SDL_AUDIODRIVER");
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(file.c_str());
  ASSERT_GE(bytes.size(), 4410u * 4);
  size_t frames = 0;
  for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
    std::int16_t l, r;
    std::memcpy(&l, &bytes[i], 2);
    std::memcpy(&r, &bytes[i + 2], 2);
    if (l == 1234 && r == 1234) ++frames;
  }
  EXPECT_EQ(frames, 4410u);
}

// A device that cannot be opened is said once, in the program's words: ALSA's own lines (six on
// a machine without a sound card) stay out of the terminal.
TEST(SdlAudioTest, ADeviceThatCannotBeOpenedIsSaidOnce) {
  ::setenv("SDL_AUDIODRIVER", "alsa", 1);
  ::setenv("AUDIODEV", "skirrow-no-such-device", 1);
  WaveMixer mixer;
  ::testing::internal::CaptureStderr();
  std::unique_ptr<SdlAudio> audio = SdlAudio::open(mixer);
  std::string said = ::testing::internal::GetCapturedStderr();
  ::unsetenv("SDL_AUDIODRIVER");
  ::unsetenv("AUDIODEV");
  if (audio) GTEST_SKIP() << "this machine's ALSA opened a device of that name";
  EXPECT_EQ(said.find("ALSA lib"), std::string::npos) << said;
  EXPECT_EQ(said.rfind("skirrow: no sound device could be opened (", 0), 0u) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

// The whole desktop path: the sdl backend starts its audio device, wave-out plays in real time
// and the completion still arrives as a message. No display or sound card is needed: SDL's
// dummy video and disk audio drivers stand in.
TEST_F(WaveOutTest, DesktopBackendPlaysInRealTime) {
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  std::string file = "/tmp/skirrow-audio-host-" + std::to_string(::getpid()) + ".raw";
  ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  ::unsetenv("SDL_DISKAUDIODELAY");  // paced like a real device
  HostConfig config;
  config.backend = BackendKind::Sdl;
  config.profile = *findProfile("qvga");
  Host& host = Host::restart(config);
  ::unsetenv("SDL_VIDEODRIVER");
  ::unsetenv("SDL_AUDIODRIVER");
  if (std::string(host.backend().name()) != "sdl") GTEST_SKIP() << "SDL could not start here";
  registerRecorder();
  ASSERT_EQ(waveOutGetNumDevs(), 1u);
  Hwnd w = topLevel("w");
  std::vector<std::uint8_t> data(2205, 200);  // 200 ms at 11025 Hz
  WaveHdr h;
  auto start = std::chrono::steady_clock::now();
  play(w, pcm(1, 11025, 8), data, h);
  Message m;
  while (wm().getMessage(m) && m.message != MM_WOM_DONE) {
    wm().dispatchMessage(m);
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(5)) break;
  }
  auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
  RecordProperty("completionMs", static_cast<int>(took));
  EXPECT_EQ(m.message, MM_WOM_DONE);
  EXPECT_GE(took, 150);  // real time, not at once
  EXPECT_LT(took, 1500);
  Host::shutdown();
  std::remove(file.c_str());
}

}  // namespace
}  // namespace host::testing
