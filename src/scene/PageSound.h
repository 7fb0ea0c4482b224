// PageSound: what the canvas needs of a sound its template declared. The sound itself (wave
// files played on wave-out) lives in the media subsystem; the canvas keeps its page's sounds
// through this interface so that the scene framework does not depend on media.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "host/Types.h"

namespace scene {

class PageSound {
 public:
  enum State { kStopped = 0, kPaused = 1, kPlaying = 2 };

  virtual ~PageSound() = default;
  virtual State state() const = 0;
  // Plays from the start: `loops` 1 once, any other value that many times (-1: until stopped).
  // Completion is reported to `window` (the window procedure hands it back to the sound).
  virtual void play(host::Hwnd window, int loops) = 0;
  virtual void playOnce(host::Hwnd window) = 0;
  // Only a playing sound stops; only a playing sound pauses; only a paused one resumes.
  virtual void stop() = 0;
  virtual void pause() = 0;
  virtual void resume() = 0;
};

// Makes the sound of a file (full path). Called once per file and page.
using SoundLoader = std::function<std::unique_ptr<PageSound>(const std::string& path)>;

}  // namespace scene
