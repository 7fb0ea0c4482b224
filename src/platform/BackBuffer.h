// BackBuffer: the off-screen picture a buffered window draws into before showing it.
//
// A device-independent bitmap in the display's 16-bit 5-6-5 format with rows top-down, and a
// memory drawing context that has it selected. Owned by its window.
#pragma once

#include <cstdint>
#include <memory>

#include "host/Types.h"

namespace platform {

class BackBuffer {
 public:
  // Null when the size is not positive or the bitmap cannot be made.
  static std::unique_ptr<BackBuffer> create(int width, int height);
  ~BackBuffer();
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;

  host::Hdc dc() const { return dc_; }
  host::Hbitmap bitmap() const { return bitmap_; }
  uint16_t* pixels() const { return pixels_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Bytes from one row to the next.
  int pitch() const { return pitch_; }

  // Copies the whole picture to (0, 0) of `dc`.
  void present(host::Hdc dc) const;

 private:
  BackBuffer() = default;
  host::Hdc dc_ = 0;
  host::Hbitmap bitmap_ = 0;
  host::Hgdiobj previous_ = 0;
  uint16_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int pitch_ = 0;
};

}  // namespace platform
