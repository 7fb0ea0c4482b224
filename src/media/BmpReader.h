// Reader for Windows bitmap files (BITMAPINFOHEADER, uncompressed or with bit-field masks).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "media/PixelBuffer.h"

namespace media {

class BmpReader {
 public:
  explicit BmpReader(DecodeOptions options) : options_(options) {}

  // Reads the bitmap held in `file` (`name` names it in messages) and converts it to the
  // options' depth, top-down. Bitmaps keep red and blue in place whatever the layout asks for:
  // the result's layout never has swapRedBlue set.
  //
  // Accepted: 1, 4 and 8 bits with a palette; 16 bits (5-5-5 unless bit-field masks say
  // otherwise); 24 bits; 32 bits (8-8-8 unless masks say otherwise); rows bottom-up (positive
  // height) or top-down (negative height). The image-size field is not trusted.
  //
  // A short or malformed header, palette or pixel area (a damaged or cut file), and a
  // well-formed file in a form that cannot be shown (compressed, unknown depth, bad masks, a side
  // not positive, more pixels than the limit), are reported as "not a valid BMP image" and give
  // nothing.
  std::optional<PixelBuffer> read(std::span<const uint8_t> file, std::string_view name);

 private:
  DecodeOptions options_;
};

}  // namespace media
