// BmpWriter: uncompressed 24-bit Windows bitmaps (BITMAPINFOHEADER, bottom-up rows padded to
// four bytes), alpha ignored.
#pragma once

#include <cstdint>
#include <vector>

#include "Picture.h"

namespace content {

std::vector<uint8_t> encodeBmp(const Picture& picture);

}  // namespace content
