#include "host/WaveOut.h"

#include <algorithm>
#include <vector>

#include "host/Backend.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "host/WaveMixer.h"
#include "host/WindowManager.h"

namespace host {

namespace {

// Enough voices for every sound of a busy page; a further open is refused as on a device whose
// mixer is full.
constexpr int kMaxVoices = 32;

}  // namespace

WaveOut::WaveOut(Host& host, bool hasDevice)
    : host_(host), hasDevice_(hasDevice), mixer_(std::make_unique<WaveMixer>()) {
  clockStart_ = host_.backend().now();
}

WaveOut::~WaveOut() = default;

WaveOut::Voice* WaveOut::find(Hwaveout handle) {
  auto it = voices_.find(handle);
  return it == voices_.end() ? nullptr : &it->second;
}

std::uint32_t WaveOut::getDevCaps(std::uint32_t deviceId, WaveOutCaps& caps) const {
  if (!hasDevice_) return MMSYSERR_NODRIVER;
  if (deviceId != 0 && deviceId != WAVE_MAPPER) return MMSYSERR_BADDEVICEID;
  caps = WaveOutCaps{};
  caps.manufacturerId = 1;
  caps.productId = 1;
  caps.driverVersion = 0x0100;
  caps.productName = deviceId == WAVE_MAPPER ? "Wave Mapper" : "Skirrow Audio";
  caps.formats = kAllStandardFormats;
  caps.channels = 2;
  return MMSYSERR_NOERROR;
}

std::uint32_t WaveOut::open(Hwaveout* handle, std::uint32_t deviceId, const WaveFormatEx& format,
                            std::uintptr_t callback, std::uintptr_t instance, std::uint32_t flags) {
  if (!hasDevice_) return MMSYSERR_NODRIVER;
  if (deviceId != 0 && deviceId != WAVE_MAPPER) return MMSYSERR_BADDEVICEID;
  const std::uint32_t callbackKind = flags & ~WAVE_FORMAT_QUERY;
  if (callbackKind != CALLBACK_NULL && callbackKind != CALLBACK_WINDOW) return MMSYSERR_INVALFLAG;
  if (!isPlayableFormat(format)) return WAVERR_BADFORMAT;
  if (flags & WAVE_FORMAT_QUERY) return MMSYSERR_NOERROR;
  if (!handle) return MMSYSERR_INVALPARAM;
  if (callbackKind == CALLBACK_WINDOW && callback &&
      !host_.windows().isWindow(static_cast<Hwnd>(callback)))
    return MMSYSERR_INVALPARAM;
  if (static_cast<int>(voices_.size()) >= kMaxVoices) return MMSYSERR_ALLOCATED;
  // Handles are never reused, so a stale one simply stops working.
  Hwaveout h = nextHandle_++;
  voices_[h] = Voice{callback, instance, callbackKind};
  mixer_->addVoice(h, format);
  *handle = h;
  return MMSYSERR_NOERROR;
}

std::uint32_t WaveOut::close(Hwaveout handle) {
  if (!find(handle)) return MMSYSERR_INVALHANDLE;
  if (mixer_->hasQueued(handle)) return WAVERR_STILLPLAYING;
  // Completions of this handle that the mixer still holds, or that wait in the message queue,
  // name a handle that is about to die.
  mixer_->removeVoice(handle);
  voices_.erase(handle);
  host_.windows().removePosted(
      [handle](const Message& m) { return m.message == MM_WOM_DONE && m.wParam == handle; });
  return MMSYSERR_NOERROR;
}

std::uint32_t WaveOut::prepareHeader(Hwaveout handle, WaveHdr* header) {
  if (!find(handle)) return MMSYSERR_INVALHANDLE;
  if (!header || (!header->data && header->bufferLength)) return MMSYSERR_INVALPARAM;
  header->flags |= WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

std::uint32_t WaveOut::unprepareHeader(Hwaveout handle, WaveHdr* header) {
  if (!find(handle)) return MMSYSERR_INVALHANDLE;
  if (!header) return MMSYSERR_INVALPARAM;
  if (mixer_->isQueued(handle, header)) return WAVERR_STILLPLAYING;
  header->flags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

std::uint32_t WaveOut::write(Hwaveout handle, WaveHdr* header) {
  if (!find(handle)) return MMSYSERR_INVALHANDLE;
  if (!header) return MMSYSERR_INVALPARAM;
  const std::uint32_t flags = mixer_->flagsOf(header);
  if (!(flags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  if (flags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  // Bring the virtual stream up to now first, so the new buffer starts playing now rather than
  // at the last time the mixer was played.
  service();
  mixer_->queue(handle, header);
  return MMSYSERR_NOERROR;
}

std::uint32_t WaveOut::pause(Hwaveout handle) {
  if (!find(handle)) return MMSYSERR_INVALHANDLE;
  service();
  mixer_->setPaused(handle, true);
  return MMSYSERR_NOERROR;
}

std::uint32_t WaveOut::restart(Hwaveout handle) {
  if (!find(handle)) return MMSYSERR_INVALHANDLE;
  service();
  mixer_->setPaused(handle, false);
  return MMSYSERR_NOERROR;
}

std::uint32_t WaveOut::reset(Hwaveout handle) {
  Voice* v = find(handle);
  if (!v) return MMSYSERR_INVALHANDLE;
  service();
  for (WaveHdr* h : mixer_->reset(handle))
    if (v->flags == CALLBACK_WINDOW && v->callback)
      host_.windows().postMessage(static_cast<Hwnd>(v->callback), MM_WOM_DONE, handle,
                                  reinterpret_cast<std::intptr_t>(h));
  return MMSYSERR_NOERROR;
}

void WaveOut::service() {
  if (!hasDevice_) return;
  if (!realTime_) {
    // The virtual device has played exactly as many frames as the clock allows since it began.
    std::uint64_t elapsedMs = host_.backend().now() - clockStart_;
    std::uint64_t due = elapsedMs * WaveMixer::kRate / 1000;
    std::uint64_t left = due > mixedFrames_ ? due - mixedFrames_ : 0;
    if (!mixer_->anyPlaying() && !mixer_->capturing()) {
      // Silence needs no mixing; only the position moves on.
      mixedFrames_ += left;
      left = 0;
    }
    std::vector<std::int16_t> scratch;
    do {
      int chunk = static_cast<int>(std::min<std::uint64_t>(left, 4096));
      scratch.resize(static_cast<size_t>(chunk) * WaveMixer::kChannels);
      mixer_->mix(scratch.data(), chunk);
      left -= static_cast<std::uint64_t>(chunk);
      mixedFrames_ += static_cast<std::uint64_t>(chunk);
    } while (left > 0);
  }
  postFinished();
}

void WaveOut::postFinished() {
  for (const WaveMixer::Finished& f : mixer_->takeFinished()) {
    Voice* v = find(f.handle);
    if (!v || v->flags != CALLBACK_WINDOW || !v->callback) continue;
    host_.windows().postMessage(static_cast<Hwnd>(v->callback), MM_WOM_DONE, f.handle,
                                reinterpret_cast<std::intptr_t>(f.header));
  }
}

std::optional<std::uint32_t> WaveOut::msUntilNextCompletion() const {
  if (!hasDevice_) return std::nullopt;
  std::optional<std::uint64_t> frames = mixer_->framesUntilNextCompletion();
  if (!frames) return std::nullopt;
  std::uint64_t ms = (*frames * 1000 + WaveMixer::kRate - 1) / WaveMixer::kRate;
  // A real-time device plays ahead of what the queue shows; looking again soon is cheap.
  if (realTime_) ms = std::min<std::uint64_t>(ms, 10);
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(ms, 0xFFFFFFu));
}

std::uint32_t waveOutGetNumDevs() {
  return Host::get().waveOut().numDevs();
}
std::uint32_t waveOutGetDevCaps(std::uint32_t deviceId, WaveOutCaps& caps) {
  return Host::get().waveOut().getDevCaps(deviceId, caps);
}
std::uint32_t waveOutOpen(Hwaveout* handle, std::uint32_t deviceId, const WaveFormatEx& format,
                          std::uintptr_t callback, std::uintptr_t instance, std::uint32_t flags) {
  return Host::get().waveOut().open(handle, deviceId, format, callback, instance, flags);
}
std::uint32_t waveOutClose(Hwaveout handle) {
  return Host::get().waveOut().close(handle);
}
std::uint32_t waveOutPrepareHeader(Hwaveout handle, WaveHdr* header) {
  return Host::get().waveOut().prepareHeader(handle, header);
}
std::uint32_t waveOutUnprepareHeader(Hwaveout handle, WaveHdr* header) {
  return Host::get().waveOut().unprepareHeader(handle, header);
}
std::uint32_t waveOutWrite(Hwaveout handle, WaveHdr* header) {
  return Host::get().waveOut().write(handle, header);
}
std::uint32_t waveOutPause(Hwaveout handle) {
  return Host::get().waveOut().pause(handle);
}
std::uint32_t waveOutRestart(Hwaveout handle) {
  return Host::get().waveOut().restart(handle);
}
std::uint32_t waveOutReset(Hwaveout handle) {
  return Host::get().waveOut().reset(handle);
}

}  // namespace host
