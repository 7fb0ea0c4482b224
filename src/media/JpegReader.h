// JPEG pictures through the system's JPEG library (baseline and progressive, colour or grey).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "media/PixelBuffer.h"

namespace media {

class JpegReader {
 public:
  explicit JpegReader(DecodeOptions options) : options_(options) {}

  // Decodes the JPEG held in `file` (`name` names it in messages) one scanline at a time into a
  // picture of the options' layout. Grey pictures come out grey in the same layout.
  //
  // The library's messages go through the message seam as "Error happened when loading image:"
  // with the name, then the library's text: only the first warning of a picture is shown (a
  // truncated file is a warning: it still decodes, its missing rows padded by the library). A
  // fatal library error is shown the same way and gives nothing; so does a picture larger than
  // the limits allow.
  std::optional<PixelBuffer> read(std::span<const uint8_t> file, std::string_view name);

 private:
  DecodeOptions options_;
};

}  // namespace media
