#include "media/WaveSound.h"

#include <cstdio>
#include <string>

#include "host/MessageBoxes.h"
#include "media/WaveFile.h"
#include "platform/Files.h"
#include "platform/ProcessSwitches.h"
#include "platform/Text.h"

namespace media {

namespace {

constexpr std::uint32_t kLoopFlags = host::WHDR_BEGINLOOP | host::WHDR_ENDLOOP;

void reportUnreadable(std::string_view path) {
  std::string text = "Unable to open wave file: \"" + platform::displayPath(path) + "\".";
  host::messageBox(0, text, "File I/O Error", host::MB_OK);
}

bool readAll(std::FILE* stream, std::vector<std::uint8_t>& out) {
  std::uint8_t chunk[16384];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, stream)) > 0)
    out.insert(out.end(), chunk, chunk + n);
  return !std::ferror(stream);
}

bool gatesOpen() {
  return waveDeviceUsable() && platform::soundEffectsEnabled();
}

}  // namespace

bool waveDeviceUsable() {
  host::WaveOutCaps caps;
  return host::waveOutGetDevCaps(host::WAVE_MAPPER, caps) == host::MMSYSERR_NOERROR &&
         caps.formats != 0;
}

std::unique_ptr<WaveSound> WaveSound::loadWave(std::string_view path) {
  std::unique_ptr<WaveSound> sound(new WaveSound());
  std::string resolved(path);
  platform::resolveDotDot(resolved);
  std::vector<std::uint8_t> bytes;
  {
    platform::ResourceStream stream = platform::openResource(resolved, "rb");
    if (!stream || !readAll(stream.get(), bytes)) {
      reportUnreadable(resolved);
      return sound;
    }
  }
  std::optional<WaveLayout> layout = readWaveLayout(bytes.data(), bytes.size());
  if (!layout) {
    // Not a wave file we can read: better silence than noise.
    reportUnreadable(resolved);
    return sound;
  }
  sound->format_ = layout->format;
  sound->data_.assign(
      bytes.begin() + static_cast<std::ptrdiff_t>(layout->dataOffset),
      bytes.begin() + static_cast<std::ptrdiff_t>(layout->dataOffset + layout->dataLength));
  return sound;
}

WaveSound::WaveSound(const host::WaveFormatEx& format, std::vector<std::uint8_t> samples)
    : format_(format), data_(std::move(samples)) {
  format_.cbSize = 0;
}

WaveSound::~WaveSound() {
  // Whatever the state, the device must not outlive the buffer it plays from.
  closeDevice();
}

void WaveSound::closeDevice() {
  if (!device_) return;
  host::waveOutReset(device_);
  host::waveOutUnprepareHeader(device_, &header_);
  host::waveOutClose(device_);
  device_ = 0;
}

void WaveSound::play(host::Hwnd window, int loops) {
  if (!gatesOpen()) return;
  // A paused sound still holds its device with this very header queued on it; the header can
  // only be reused once that device is closed.
  if (state_ != kStopped) {
    state_ = kStopped;
    closeDevice();
  }
  const std::uint32_t devices = host::waveOutGetNumDevs();
  std::uint32_t result = host::MMSYSERR_NODRIVER;
  host::Hwaveout opened = 0;
  for (std::uint32_t id = 0; id < devices; ++id) {
    result = host::waveOutOpen(&opened, id, format_, window, reinterpret_cast<std::uintptr_t>(this),
                               host::CALLBACK_WINDOW);
    if (result == host::MMSYSERR_NOERROR) break;
  }
  lastPlayResult_ = result;
  if (result != host::MMSYSERR_NOERROR) return;
  device_ = opened;
  header_ = host::WaveHdr{};
  header_.data = data_.empty() ? nullptr : data_.data();
  header_.bufferLength = static_cast<std::uint32_t>(data_.size());
  header_.user = reinterpret_cast<std::uintptr_t>(this);
  if (loops != 1) {
    header_.flags = kLoopFlags;
    header_.loops = static_cast<std::uint32_t>(loops);
  }
  host::waveOutPrepareHeader(device_, &header_);
  host::waveOutWrite(device_, &header_);
  state_ = kPlaying;
}

void WaveSound::stop() {
  if (state_ != kPlaying) return;
  state_ = kStopped;
  closeDevice();
}

void WaveSound::pause() {
  if (!gatesOpen() || state_ != kPlaying) return;
  host::waveOutPause(device_);
  state_ = kPaused;
}

void WaveSound::resume() {
  if (!gatesOpen() || state_ != kPaused) return;
  host::waveOutRestart(device_);
  state_ = kPlaying;
}

void WaveSound::onWaveDone(std::uintptr_t device, std::intptr_t header) {
  auto* finished = reinterpret_cast<host::WaveHdr*>(header);
  if (!finished || !finished->user) return;
  auto* sound = reinterpret_cast<WaveSound*>(finished->user);
  // Only the header of the device the sound holds now counts (a closed device's completions
  // never arrive, but a completion must name the current device to be believed).
  if (&sound->header_ != finished || sound->device_ != device) return;
  if (sound->state_ == kStopped) return;
  sound->state_ = kStopped;
  sound->closeDevice();
}

}  // namespace media
