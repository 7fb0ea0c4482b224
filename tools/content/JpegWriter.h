// JpegWriter: baseline JPEG through libjpeg (interface 62), alpha ignored.
#pragma once

#include <cstdint>
#include <vector>

#include "Picture.h"

namespace content {

// The file bytes at `quality` (1..100); 4:2:0 chroma, no progressive scan, no comment marker.
std::vector<uint8_t> encodeJpeg(const Picture& picture, int quality = 88);

}  // namespace content
