// Wave-out audio of the device: PCM buffers played on opened devices, completion reported to a
// window as MM_WOM_DONE.
//
// The device offers one wave-out device (id 0, also reachable as WAVE_MAPPER) that may be opened
// many times at once: every open handle is a voice of its own and the host mixes them, so
// several sounds play together. A machine without a sound device reports no devices; its
// capability query fails with MMSYSERR_NODRIVER and every open fails the same way.
//
// Buffers (WaveHdr) belong to the caller. They are prepared, written (queued on the voice and
// played in order), and come back marked WHDR_DONE; with CALLBACK_WINDOW each finished buffer is
// posted to the callback window as MM_WOM_DONE (wParam = the handle, lParam = the header's
// address). A header with WHDR_BEGINLOOP | WHDR_ENDLOOP plays dwLoops times (0 counts as once)
// before it finishes. waveOutReset hands every queued buffer back at once (each one posted as
// finished) and clears a pause. waveOutClose drops the completions of that handle still waiting
// in the message queue, so a header freed after its device closed is never handed to a window.
//
// Time: the sdl backend plays in real time on its audio thread; the headless backend plays on
// the virtual clock, so a one-second sound finishes exactly one second of virtual time after
// it was written. Completions are posted while the window manager looks for messages.
//
// Return values are the platform's MMSYSERR_* / WAVERR_* codes (MMSYSERR_NOERROR = success).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Types.h"

namespace host {

class Host;
class WaveMixer;

using Hwaveout = std::uint32_t;

constexpr std::uint32_t WAVE_MAPPER = 0xFFFFFFFF;
constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

// waveOutOpen flags.
constexpr std::uint32_t CALLBACK_NULL = 0x00000000;
constexpr std::uint32_t CALLBACK_WINDOW = 0x00010000;
constexpr std::uint32_t WAVE_FORMAT_QUERY = 0x00000001;

// WaveHdr flags.
constexpr std::uint32_t WHDR_DONE = 0x01;
constexpr std::uint32_t WHDR_PREPARED = 0x02;
constexpr std::uint32_t WHDR_BEGINLOOP = 0x04;
constexpr std::uint32_t WHDR_ENDLOOP = 0x08;
constexpr std::uint32_t WHDR_INQUEUE = 0x10;

// Results.
constexpr std::uint32_t MMSYSERR_NOERROR = 0;
constexpr std::uint32_t MMSYSERR_ERROR = 1;
constexpr std::uint32_t MMSYSERR_BADDEVICEID = 2;
constexpr std::uint32_t MMSYSERR_ALLOCATED = 4;
constexpr std::uint32_t MMSYSERR_INVALHANDLE = 5;
constexpr std::uint32_t MMSYSERR_NODRIVER = 6;
constexpr std::uint32_t MMSYSERR_INVALFLAG = 10;
constexpr std::uint32_t MMSYSERR_INVALPARAM = 11;
constexpr std::uint32_t WAVERR_BADFORMAT = 32;
constexpr std::uint32_t WAVERR_STILLPLAYING = 33;
constexpr std::uint32_t WAVERR_UNPREPARED = 34;

// dwFormats bits of the capabilities: 11.025, 22.05 and 44.1 kHz, mono and stereo, 8 and 16 bit.
constexpr std::uint32_t kAllStandardFormats = 0x00000FFF;

struct WaveFormatEx {
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samplesPerSec = 0;
  std::uint32_t avgBytesPerSec = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint16_t cbSize = 0;
};

struct WaveHdr {
  std::uint8_t* data = nullptr;  // lpData
  std::uint32_t bufferLength = 0;
  std::uint32_t bytesRecorded = 0;
  std::uintptr_t user = 0;  // dwUser: the owner's own value
  std::uint32_t flags = 0;
  std::uint32_t loops = 0;
  WaveHdr* next = nullptr;  // used by the host while queued
  std::uintptr_t reserved = 0;
};

struct WaveOutCaps {
  std::uint16_t manufacturerId = 0;
  std::uint16_t productId = 0;
  std::uint32_t driverVersion = 0;
  std::string productName;
  std::uint32_t formats = 0;  // dwFormats
  std::uint16_t channels = 0;
  std::uint32_t support = 0;
};

// A format the devices play: PCM, 1 or 2 channels, 8 or 16 bits, 1 kHz to 192 kHz, and a block
// alignment of channels x bytes per sample.
bool isPlayableFormat(const WaveFormatEx& format);

class WaveOut {
 public:
  // `hasDevice` false: a machine without sound. Until setRealTime(true) the mixer is played by
  // service() along the host clock.
  WaveOut(Host& host, bool hasDevice);
  ~WaveOut();
  WaveOut(const WaveOut&) = delete;
  WaveOut& operator=(const WaveOut&) = delete;

  // The mixer every voice plays into; the backend's audio thread pulls from it in real time.
  WaveMixer& mixer() { return *mixer_; }
  // True once a backend thread plays the mixer (sdl); false: played along the virtual clock.
  void setRealTime(bool realTime) { realTime_ = realTime; }

  std::uint32_t numDevs() const { return hasDevice_ ? 1 : 0; }
  std::uint32_t getDevCaps(std::uint32_t deviceId, WaveOutCaps& caps) const;
  // Opens a voice. With WAVE_FORMAT_QUERY only checks the format (no handle). `callback` is the
  // window (CALLBACK_WINDOW) or ignored (CALLBACK_NULL); `instance` is kept for the caller.
  std::uint32_t open(Hwaveout* handle, std::uint32_t deviceId, const WaveFormatEx& format,
                     std::uintptr_t callback, std::uintptr_t instance, std::uint32_t flags);
  std::uint32_t close(Hwaveout handle);
  std::uint32_t prepareHeader(Hwaveout handle, WaveHdr* header);
  std::uint32_t unprepareHeader(Hwaveout handle, WaveHdr* header);
  std::uint32_t write(Hwaveout handle, WaveHdr* header);
  std::uint32_t pause(Hwaveout handle);
  std::uint32_t restart(Hwaveout handle);
  std::uint32_t reset(Hwaveout handle);

  // Open handles (for tests and diagnostics).
  int openCount() const { return static_cast<int>(voices_.size()); }
  bool isOpen(Hwaveout handle) const { return voices_.count(handle) != 0; }

  // Plays the mixer up to the host clock (virtual clock only) and posts the buffers that
  // finished. Called by the window manager whenever it looks for messages.
  void service();
  // Milliseconds until the next buffer finishes at the present pace; nullopt when nothing is
  // playing. The window manager wakes up for it.
  std::optional<std::uint32_t> msUntilNextCompletion() const;

 private:
  struct Voice {
    std::uintptr_t callback = 0;
    std::uintptr_t instance = 0;
    std::uint32_t flags = 0;
  };
  Voice* find(Hwaveout handle);
  void postFinished();

  Host& host_;
  bool hasDevice_;
  bool realTime_ = false;
  std::unique_ptr<WaveMixer> mixer_;
  std::map<Hwaveout, Voice> voices_;
  Hwaveout nextHandle_ = 1;
  std::uint32_t clockStart_ = 0;
  std::uint64_t mixedFrames_ = 0;
};

// The platform's entry points, on the running host.
std::uint32_t waveOutGetNumDevs();
std::uint32_t waveOutGetDevCaps(std::uint32_t deviceId, WaveOutCaps& caps);
std::uint32_t waveOutOpen(Hwaveout* handle, std::uint32_t deviceId, const WaveFormatEx& format,
                          std::uintptr_t callback, std::uintptr_t instance, std::uint32_t flags);
std::uint32_t waveOutClose(Hwaveout handle);
std::uint32_t waveOutPrepareHeader(Hwaveout handle, WaveHdr* header);
std::uint32_t waveOutUnprepareHeader(Hwaveout handle, WaveHdr* header);
std::uint32_t waveOutWrite(Hwaveout handle, WaveHdr* header);
std::uint32_t waveOutPause(Hwaveout handle);
std::uint32_t waveOutRestart(Hwaveout handle);
std::uint32_t waveOutReset(Hwaveout handle);

}  // namespace host
