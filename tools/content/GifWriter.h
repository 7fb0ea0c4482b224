// GifWriter: encodes pictures as GIF89a files through giflib.
//
// All frames share one global palette of at most 256 colours, chosen by median cut over every
// frame (exact when the pictures use few colours). Pixels with alpha below 128 become the
// transparent index; an animation loops for ever.
#pragma once

#include <cstdint>
#include <vector>

#include "Picture.h"

namespace content {

enum class Disposal { kNone = 1, kBackground = 2 };

struct GifFrame {
  Picture picture;   // every frame has the size of the first
  int delayCs = 10;  // hundredths of a second
  Disposal disposal = Disposal::kNone;
};

// The file bytes; empty when giflib refused (no frames, mismatched sizes).
std::vector<uint8_t> encodeGif(const std::vector<GifFrame>& frames);
std::vector<uint8_t> encodeGif(const Picture& picture);

}  // namespace content
