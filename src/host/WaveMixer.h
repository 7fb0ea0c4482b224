// The mixer behind wave-out: every open wave-out handle is a voice with its queue of buffers, and
// all voices are mixed into one 44.1 kHz stereo 16-bit stream.
//
// The mixer is pulled: whoever plays the stream (the sdl audio thread, or the host along the
// virtual clock) asks for the next frames with mix(). Voices advance only while they are mixed,
// so a paused voice keeps its place. A buffer that has played (all its loops) is marked
// WHDR_DONE, leaves its queue and is listed for takeFinished(); the wave-out layer posts it to
// the voice's window. Every operation takes the mixer's lock, so the audio thread and the UI
// thread may call in at any time.
//
// Sample conversion: 8-bit samples are unsigned (128 = silence), 16-bit signed little-endian; a
// mono voice is heard on both sides; other rates are stepped through at their own pace (nearest
// sample). Voices add up and the sum is clamped to the 16-bit range.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "host/WaveOut.h"

namespace host {

class WaveMixer {
 public:
  static constexpr int kRate = 44100;
  static constexpr int kChannels = 2;

  struct Finished {
    Hwaveout handle = 0;
    WaveHdr* header = nullptr;
  };

  void addVoice(Hwaveout handle, const WaveFormatEx& format);
  void removeVoice(Hwaveout handle);
  // Appends a buffer to the voice's queue: WHDR_INQUEUE set, WHDR_DONE cleared.
  void queue(Hwaveout handle, WaveHdr* header);
  void setPaused(Hwaveout handle, bool paused);
  bool paused(Hwaveout handle) const;
  // Takes every queued buffer back (marked done, in queue order) and clears the pause.
  std::vector<WaveHdr*> reset(Hwaveout handle);
  bool hasQueued(Hwaveout handle) const;
  bool isQueued(Hwaveout handle, const WaveHdr* header) const;
  // The header's flags, read under the lock (the audio thread writes them while it plays).
  std::uint32_t flagsOf(const WaveHdr* header) const;

  // Writes the next `frames` frames (interleaved left, right) into `out`. Buffers without any
  // frame finish here even when `frames` is 0.
  void mix(std::int16_t* out, int frames);
  // Buffers finished since the last call, in the order they finished.
  std::vector<Finished> takeFinished();
  // Output frames until the first playing voice finishes its current buffer; nullopt when no
  // voice is playing.
  std::optional<std::uint64_t> framesUntilNextCompletion() const;
  bool anyPlaying() const;

  // Keeps a copy of everything mixed from now on (tests look at the stream).
  void setCapture(bool capture);
  bool capturing() const;
  std::vector<std::int16_t> captured() const;

 private:
  struct Voice {
    WaveFormatEx format;
    std::deque<WaveHdr*> queue;
    std::uint64_t position = 0;  // source frames in 32.32 fixed point into the head buffer
    std::uint32_t played = 0;    // completed passes of the head buffer
    bool paused = false;
  };
  static std::uint32_t framesOf(const Voice& v, const WaveHdr* h);
  static std::uint32_t passesOf(const WaveHdr* h);
  void finishHead(Hwaveout handle, Voice& v);
  // Drops finished passes at the head of the queue; true while a buffer with frames is left.
  bool settleHead(Hwaveout handle, Voice& v);
  void mixVoice(Hwaveout handle, Voice& v, std::int32_t* sum, int frames);

  mutable std::mutex mutex_;
  std::map<Hwaveout, Voice> voices_;
  std::vector<Finished> finished_;
  std::vector<std::int32_t> sum_;
  bool capture_ = false;
  std::vector<std::int16_t> captured_;
};

}  // namespace host
