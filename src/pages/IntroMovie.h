// IntroMovie: the intro's movie loop. The sprite "sptMovie" plays "video0.gif" .. "video6.gif"
// in turn, from the GUI folder, and starts over after the last.
//
// The movie listens to the frames of the picture it shows: when the picture reaches its last
// frame, the next movie (number (n + 1) mod 7) takes its place at the start of the next page
// frame (the picture that reported it cannot be released while it is telling), and the one
// before is released. The movie owns the picture it shows; the sprite only points at it.
#pragma once

#include <memory>
#include <string>

#include "media/Image.h"

namespace media {
class Sprite;
}

namespace pages {

class IntroMovie : public media::FrameListener {
 public:
  static constexpr int kMovies = 7;

  // Pictures come from `folder` (with its trailing separator).
  explicit IntroMovie(std::string folder);
  ~IntroMovie() override;
  IntroMovie(const IntroMovie&) = delete;
  IntroMovie& operator=(const IntroMovie&) = delete;

  // Shows "video0.gif" in `sprite` (null: nothing to show) and starts it.
  void start(media::Sprite* sprite);
  // Releases the picture and lets the sprite go (the screen is being left).
  void stop();
  // Once per page frame: the change the last frame of a movie asked for.
  void update();

  int number() const { return number_; }
  const media::Image* picture() const { return picture_.get(); }
  bool switchPending() const { return switchPending_; }

  void frameChanged(media::Image& image, int index) override;

 private:
  void show(int number);

  std::string folder_;
  media::Sprite* sprite_ = nullptr;
  std::unique_ptr<media::Image> picture_;
  int number_ = 0;
  bool switchPending_ = false;
};

}  // namespace pages
