// The desktop's sound output: one SDL audio device playing the wave-out mixer, so every open
// wave-out handle is a voice of the same stream.
//
// SDL chooses its driver as usual ($SDL_AUDIODRIVER; on a machine without a sound card the
// default ALSA driver fails, and then there is no device). The stream is 44.1 kHz stereo 16-bit;
// SDL converts when the device wants something else.
#pragma once

#include <cstdint>
#include <memory>

namespace host {

class WaveMixer;

class SdlAudio {
 public:
  // Opens the default output and starts pulling `mixer` on SDL's audio thread. Null when the
  // machine has no usable sound device.
  static std::unique_ptr<SdlAudio> open(WaveMixer& mixer);
  // Stops the audio thread and closes the device; the mixer is not touched afterwards.
  ~SdlAudio();
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // The driver SDL picked ("alsa", "pulseaudio", "disk" ...).
  const char* driverName() const;

 private:
  SdlAudio(std::uint32_t device, WaveMixer& mixer) : device_(device), mixer_(mixer) {}
  static void pull(void* self, std::uint8_t* stream, int bytes);

  std::uint32_t device_;
  WaveMixer& mixer_;
};

}  // namespace host
