// PngWriter: 8-bit RGBA PNG files (colour type 6, no interlace, filter 0 on every row), for the
// desktop icons. The pixels are deflated with zlib at its best compression, so the same picture
// always gives the same bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "Picture.h"

namespace content {

std::vector<uint8_t> encodePng(const Picture& picture);

}  // namespace content
