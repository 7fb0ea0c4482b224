// BMP reader on arbitrary bytes, both pixel depths.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

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
    if (picture) {
      uint32_t sum = 0;
      for (uint8_t b : picture->pixels) sum += b;
      if (sum == 0xFFFFFFFF) return 1;
    }
  }
  return 0;
}
