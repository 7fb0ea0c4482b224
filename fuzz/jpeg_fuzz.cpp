// JPEG reader on arbitrary bytes: fatal library errors must come back as "nothing loaded".
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "PictureChecks.h"
#include "media/ImageMessages.h"
#include "media/JpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    media::setMessageReporter([](std::string_view, std::string_view, media::MessageIcon) {});
    return true;
  }();
  (void)quiet;
  media::DecodeLimits limits;
  limits.maxImagePixels = 1 << 20;
  const bool sixteen = size > 0 && (data[size - 1] & 1);
  media::JpegReader reader(
      media::DecodeOptions{media::PixelLayout{sixteen ? 16 : 32, false}, limits});
  std::optional<media::PixelBuffer> picture =
      reader.read(std::span<const uint8_t>(data, size), "fuzz.jpg");
  if (picture) checkPicture(*picture);
  return 0;
}
