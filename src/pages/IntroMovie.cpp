#include "pages/IntroMovie.h"

#include <cstdio>

#include "media/Sprite.h"

namespace pages {

IntroMovie::IntroMovie(std::string folder) : folder_(std::move(folder)) {}

IntroMovie::~IntroMovie() {
  stop();
}

void IntroMovie::start(media::Sprite* sprite) {
  stop();
  sprite_ = sprite;
  if (sprite_) show(0);
}

void IntroMovie::stop() {
  if (sprite_) sprite_->setImages(nullptr, nullptr);
  sprite_ = nullptr;
  if (picture_) picture_->setListener(nullptr);
  picture_.reset();
  switchPending_ = false;
}

void IntroMovie::show(int number) {
  char name[24];
  std::snprintf(name, sizeof name, "video%d.gif", number);
  auto next = std::make_unique<media::Image>(folder_ + name);
  next->setFrame(0);
  next->setListener(this);
  // The sprite keeps its place and size; the new movie is drawn into them.
  const int x = sprite_->x, y = sprite_->y, w = sprite_->width, h = sprite_->height;
  sprite_->setImages(next.get(), nullptr);
  sprite_->setPosition(x, y);
  sprite_->setSize(w, h);
  sprite_->animationEnabled = true;
  if (picture_) picture_->setListener(nullptr);
  picture_ = std::move(next);
  number_ = number;
  switchPending_ = false;
}

void IntroMovie::update() {
  if (switchPending_ && sprite_) show((number_ + 1) % kMovies);
}

void IntroMovie::frameChanged(media::Image& image, int index) {
  if (&image == picture_.get() && index >= image.frameCount() - 1) switchPending_ = true;
}

}  // namespace pages
