// GIF decoder on arbitrary bytes: every frame, both depths, both red/blue orders.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "PictureChecks.h"
#include "media/GifDecoder.h"
#include "media/ImageMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    media::setMessageReporter([](std::string_view, std::string_view, media::MessageIcon) {});
    return true;
  }();
  (void)quiet;
  // Smaller limits than the program's keep each run fast; the checks are the same.
  media::DecodeLimits limits;
  limits.maxImagePixels = 1 << 20;
  limits.maxAnimationPixels = 1 << 22;
  const bool sixteen = size > 0 && (data[size - 1] & 1);
  const bool swap = size > 1 && (data[size - 2] & 1);
  media::PixelLayout layout{sixteen ? 16 : 32, swap};
  auto decoder = std::make_unique<media::GifDecoder>(media::DecodeOptions{layout, limits});
  std::vector<media::ImageFrame> frames =
      decoder->decode(std::span<const uint8_t>(data, size), "fuzz.gif");
  for (const media::ImageFrame& f : frames) checkPicture(f.pixels);
  return 0;
}
