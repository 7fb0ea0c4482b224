#include "host/WaveMixer.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace host {

namespace {

constexpr std::uint64_t kOne = std::uint64_t{1} << 32;

// 16-bit value of sample `index` of channel `channel` in a buffer of `format`.
std::int32_t sampleAt(const WaveFormatEx& format, const std::uint8_t* data, std::uint32_t frame,
                      int channel) {
  const std::uint8_t* p = data + static_cast<size_t>(frame) * format.blockAlign;
  if (format.bitsPerSample == 8) return (static_cast<std::int32_t>(p[channel]) - 128) << 8;
  p += channel * 2;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

}  // namespace

// What the devices accept is what the mixer can read.
bool isPlayableFormat(const WaveFormatEx& f) {
  if (f.formatTag != WAVE_FORMAT_PCM) return false;
  if (f.channels != 1 && f.channels != 2) return false;
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
  if (f.samplesPerSec < 1000 || f.samplesPerSec > 192000) return false;
  return f.blockAlign == f.channels * (f.bitsPerSample / 8);
}

std::uint32_t WaveMixer::framesOf(const Voice& v, const WaveHdr* h) {
  if (!h->data || v.format.blockAlign == 0) return 0;
  return h->bufferLength / v.format.blockAlign;
}

std::uint32_t WaveMixer::passesOf(const WaveHdr* h) {
  // A loop plays dwLoops times; a loop count of 0 still plays the buffer once.
  if ((h->flags & (WHDR_BEGINLOOP | WHDR_ENDLOOP)) != (WHDR_BEGINLOOP | WHDR_ENDLOOP)) return 1;
  return std::max<std::uint32_t>(h->loops, 1);
}

void WaveMixer::addVoice(Hwaveout handle, const WaveFormatEx& format) {
  std::lock_guard<std::mutex> lock(mutex_);
  voices_[handle].format = format;
}

void WaveMixer::removeVoice(Hwaveout handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  voices_.erase(handle);
  // What the voice finished but nobody collected yet belongs to a handle that no longer exists.
  finished_.erase(std::remove_if(finished_.begin(), finished_.end(),
                                 [handle](const Finished& f) { return f.handle == handle; }),
                  finished_.end());
}

void WaveMixer::queue(Hwaveout handle, WaveHdr* header) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = voices_.find(handle);
  if (it == voices_.end()) return;
  header->flags = (header->flags & ~WHDR_DONE) | WHDR_INQUEUE;
  if (!it->second.queue.empty()) it->second.queue.back()->next = header;
  header->next = nullptr;
  it->second.queue.push_back(header);
}

void WaveMixer::setPaused(Hwaveout handle, bool paused) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = voices_.find(handle);
  if (it != voices_.end()) it->second.paused = paused;
}

bool WaveMixer::paused(Hwaveout handle) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = voices_.find(handle);
  return it != voices_.end() && it->second.paused;
}

std::vector<WaveHdr*> WaveMixer::reset(Hwaveout handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<WaveHdr*> out;
  auto it = voices_.find(handle);
  if (it == voices_.end()) return out;
  Voice& v = it->second;
  for (WaveHdr* h : v.queue) {
    h->flags = (h->flags & ~WHDR_INQUEUE) | WHDR_DONE;
    h->next = nullptr;
    out.push_back(h);
  }
  v.queue.clear();
  v.position = 0;
  v.played = 0;
  v.paused = false;
  return out;
}

bool WaveMixer::hasQueued(Hwaveout handle) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = voices_.find(handle);
  return it != voices_.end() && !it->second.queue.empty();
}

bool WaveMixer::isQueued(Hwaveout handle, const WaveHdr* header) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = voices_.find(handle);
  if (it == voices_.end()) return false;
  const auto& q = it->second.queue;
  return std::find(q.begin(), q.end(), header) != q.end();
}

std::uint32_t WaveMixer::flagsOf(const WaveHdr* header) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return header->flags;
}

void WaveMixer::finishHead(Hwaveout handle, Voice& v) {
  WaveHdr* h = v.queue.front();
  v.queue.pop_front();
  h->flags = (h->flags & ~WHDR_INQUEUE) | WHDR_DONE;
  h->next = nullptr;
  v.position = 0;
  v.played = 0;
  finished_.push_back({handle, h});
}

bool WaveMixer::settleHead(Hwaveout handle, Voice& v) {
  while (!v.queue.empty()) {
    WaveHdr* h = v.queue.front();
    std::uint64_t frames = framesOf(v, h);
    if (frames == 0) {
      // An empty buffer has nothing to loop over: it is done at once.
      finishHead(handle, v);
      continue;
    }
    if (v.position < frames * kOne) return true;
    v.position -= frames * kOne;
    if (++v.played < passesOf(h)) continue;
    std::uint64_t carry = v.position;
    finishHead(handle, v);
    v.position = carry;  // the next buffer starts where this one overran
  }
  v.position = 0;
  return false;
}

void WaveMixer::mixVoice(Hwaveout handle, Voice& v, std::int32_t* sum, int frames) {
  const std::uint64_t step = (static_cast<std::uint64_t>(v.format.samplesPerSec) << 32) / kRate;
  const bool stereo = v.format.channels == 2;
  for (int i = 0; i < frames; ++i) {
    if (!settleHead(handle, v)) return;
    const WaveHdr* h = v.queue.front();
    auto frame = static_cast<std::uint32_t>(v.position >> 32);
    std::int32_t left = sampleAt(v.format, h->data, frame, 0);
    std::int32_t right = stereo ? sampleAt(v.format, h->data, frame, 1) : left;
    sum[2 * i] += left;
    sum[2 * i + 1] += right;
    v.position += step;
  }
  settleHead(handle, v);
}

void WaveMixer::mix(std::int16_t* out, int frames) {
  std::lock_guard<std::mutex> lock(mutex_);
  sum_.assign(static_cast<size_t>(std::max(frames, 0)) * kChannels, 0);
  for (auto& [handle, voice] : voices_) {
    if (voice.paused) continue;
    mixVoice(handle, voice, sum_.data(), frames);
  }
  for (size_t i = 0; i < sum_.size(); ++i)
    out[i] = static_cast<std::int16_t>(std::clamp<std::int32_t>(sum_[i], -32768, 32767));
  if (capture_) captured_.insert(captured_.end(), out, out + sum_.size());
}

std::vector<WaveMixer::Finished> WaveMixer::takeFinished() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<Finished> out;
  out.swap(finished_);
  return out;
}

std::optional<std::uint64_t> WaveMixer::framesUntilNextCompletion() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<std::uint64_t> best;
  for (const auto& [handle, v] : voices_) {
    if (v.paused || v.queue.empty()) continue;
    const WaveHdr* h = v.queue.front();
    std::uint64_t frames = framesOf(v, h);
    std::uint64_t step = (static_cast<std::uint64_t>(v.format.samplesPerSec) << 32) / kRate;
    std::uint64_t out = 0;
    if (frames > 0 && step > 0) {
      std::uint32_t passesLeft = passesOf(h) - v.played;
      // A loop that plays for hours is as good as endless; keep the sum inside 64 bits.
      if (passesLeft > 1024) passesLeft = 1024;
      long double remaining = static_cast<long double>(frames) * kOne * passesLeft -
                              static_cast<long double>(v.position);
      long double steps = remaining / static_cast<long double>(step);
      out = static_cast<std::uint64_t>(steps);
      if (static_cast<long double>(out) < steps) ++out;
    }
    if (!best || out < *best) best = out;
  }
  return best;
}

bool WaveMixer::anyPlaying() const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [handle, v] : voices_)
    if (!v.paused && !v.queue.empty()) return true;
  return false;
}

void WaveMixer::setCapture(bool capture) {
  std::lock_guard<std::mutex> lock(mutex_);
  capture_ = capture;
  captured_.clear();
}

bool WaveMixer::capturing() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return capture_;
}

std::vector<std::int16_t> WaveMixer::captured() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return captured_;
}

}  // namespace host
