// BMP reader on arbitrary bytes, at both depths.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "PictureChecks.h"
#include "media/BmpReader.h"
#include "media/ImageMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    media::setMessageReporter([](std::string_view, std::string_view, media::MessageIcon) {});
    return true;
  }();
  (void)quiet;
  media::DecodeLimits limits;
  limits.maxImagePixels = 1 << 20;
  for (int bits : {16, 32}) {
    media::BmpReader reader(media::DecodeOptions{media::PixelLayout{bits, false}, limits});
    std::optional<media::PixelBuffer> picture =
        reader.read(std::span<const uint8_t>(data, size), "fuzz.bmp");
    if (picture) checkPicture(*picture);
  }
  return 0;
}
