#include "host/sdl/SdlAudio.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>

#include "host/WaveMixer.h"

namespace host {
namespace {

// ALSA's library prints its own lines on stderr for every failed step of opening a device (six
// of them on a machine without a sound card) before SDL gives up; the program says it once in
// its own words instead. SDL loads the library at run time, and so does this: the same loaded
// library then carries the quiet handler.
extern "C" void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsaMessages() {
  using SetHandler = int (*)(void (*)(const char*, int, const char*, int, const char*, ...));
  void* alsa = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
  if (!alsa) return;  // no ALSA here: nothing to quieten
  // The library stays loaded for the life of the process, and with it the handler.
  if (auto set = reinterpret_cast<SetHandler>(::dlsym(alsa, "snd_lib_error_set_handler")))
    set(quietAlsa);
}

void sayNoSound(const char* why) {
  std::fprintf(stderr,
               "skirrow: no sound device could be opened (%s); the program runs without sound\n",
               why);
}

}  // namespace

std::unique_ptr<SdlAudio> SdlAudio::open(WaveMixer& mixer) {
  silenceAlsaMessages();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    sayNoSound(SDL_GetError());
    return nullptr;
  }
  std::unique_ptr<SdlAudio> audio(new SdlAudio(0, mixer));
  SDL_AudioSpec want{};
  want.freq = WaveMixer::kRate;
  want.format = AUDIO_S16SYS;
  want.channels = WaveMixer::kChannels;
  // About 23 ms per pull: short enough that a finished sound is reported promptly.
  want.samples = 1024;
  want.callback = [](void* self, Uint8* stream, int bytes) { pull(self, stream, bytes); };
  want.userdata = audio.get();
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts our stream to whatever the device plays.
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device == 0) {
    sayNoSound(SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  audio->device_ = device;
  SDL_PauseAudioDevice(device, 0);
  return audio;
}

SdlAudio::~SdlAudio() {
  // Closing waits for the audio thread, so no pull runs after this.
  SDL_CloseAudioDevice(device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

const char* SdlAudio::driverName() const {
  const char* name = SDL_GetCurrentAudioDriver();
  return name ? name : "";
}

void SdlAudio::pull(void* self, std::uint8_t* stream, int bytes) {
  auto* audio = static_cast<SdlAudio*>(self);
  int frames = bytes / static_cast<int>(sizeof(std::int16_t) * WaveMixer::kChannels);
  audio->mixer_.mix(reinterpret_cast<std::int16_t*>(stream), frames);
}

}  // namespace host
