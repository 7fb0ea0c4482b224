// Checks every fuzz harness applies to a decoded picture: its geometry must describe exactly the
// memory it owns, so that any consumer indexing by (x, y) stays inside.
#pragma once

#include <cstdlib>

#include "media/PixelBuffer.h"

inline void checkPicture(const media::PixelBuffer& p) {
  const int bytes = p.bytesPerPixel();
  const bool ok = (bytes == 2 || bytes == 4) && p.width > 0 && p.height > 0 && p.stride % 4 == 0 &&
                  p.stride >= p.width * bytes &&
                  p.pixels.size() == static_cast<size_t>(p.stride) * p.height;
  if (!ok) std::abort();
  // Reading the corners goes through the same row arithmetic every user of the buffer does.
  volatile uint32_t sink = p.rawPixel(0, 0) ^ p.rawPixel(p.width - 1, p.height - 1);
  (void)sink;
}
