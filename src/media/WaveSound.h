// WaveSound: one wave file held in memory and played as a single wave-out buffer, once or
// looping, on a wave-out device of its own (so several sounds play at the same time).
//
// States: stopped (0) -> play -> playing (2) -> pause -> paused (1) -> resume -> playing;
// playing -> stop, or the end of the buffer (MM_WOM_DONE through the window procedure) ->
// stopped. Playing, pausing and resuming do nothing on a machine without a usable wave-out
// device (the capabilities of WAVE_MAPPER cannot be read or list no format) or while the
// process-wide sound-effects switch is off.
//
// Ownership: the sound owns its samples and its device. The buffer header holds the sound's
// address (dwUser), which is how a completion finds its sound; destroying a sound closes its
// device first, and a closed device's completions never reach a window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/Types.h"
#include "host/WaveOut.h"
#include "scene/PageSound.h"

namespace media {

// True when wave-out can play: the capabilities of WAVE_MAPPER can be read and list a format.
bool waveDeviceUsable();

class WaveSound : public scene::PageSound {
 public:
  // Reads the wave file at `path` ("\..\" segments resolved; resource archives searched). A
  // file that cannot be opened, or that is not a RIFF/WAVE PCM file, shows "Unable to open wave
  // file: \"<path>\"." (caption "File I/O Error", plain OK box); the sound is still returned,
  // without samples, and plays silence.
  static std::unique_ptr<WaveSound> loadWave(std::string_view path);
  // A sound over samples in `format` (already read).
  WaveSound(const host::WaveFormatEx& format, std::vector<std::uint8_t> samples);
  ~WaveSound() override;
  WaveSound(const WaveSound&) = delete;
  WaveSound& operator=(const WaveSound&) = delete;

  State state() const override { return state_; }
  // Plays the whole buffer: `loops` 1 once, any other value looping that many times (-1 is as
  // good as for ever). A sound that still holds a device (playing or paused) is stopped first.
  // Tries each wave-out device in turn with CALLBACK_WINDOW to `window`; when none accepts the
  // format nothing plays and lastPlayResult() tells the last device's answer.
  void play(host::Hwnd window, int loops) override;
  void playOnce(host::Hwnd window) override { play(window, 1); }
  // Playing only: reset, unprepare and close the device; stopped.
  void stop() override;
  // Playing only: the device pauses; paused.
  void pause() override;
  // Paused only: the device goes on; playing.
  void resume() override;

  // The completion of the window procedure (MM_WOM_DONE with the device and the header): a
  // sound that is not stopped becomes stopped and gives its device back.
  static void onWaveDone(std::uintptr_t device, std::intptr_t header);

  const host::WaveFormatEx& format() const { return format_; }
  std::uint32_t dataLength() const { return static_cast<std::uint32_t>(data_.size()); }
  host::Hwaveout device() const { return device_; }
  const host::WaveHdr& header() const { return header_; }
  std::uint32_t lastPlayResult() const { return lastPlayResult_; }

 private:
  WaveSound() = default;
  void closeDevice();

  host::WaveHdr header_;
  host::WaveFormatEx format_;
  host::Hwaveout device_ = 0;
  std::vector<std::uint8_t> data_;
  State state_ = kStopped;
  std::uint32_t lastPlayResult_ = host::MMSYSERR_NOERROR;
};

}  // namespace media
