#include "media/ImageLoader.h"

#include <cstdio>
#include <memory>

#include "media/BmpReader.h"
#include "media/GifDecoder.h"
#include "media/ImageMessages.h"
#include "media/JpegReader.h"
#include "platform/Files.h"

namespace media {
namespace {

bool contains(std::string_view path, std::string_view part) {
  return path.find(part) != std::string_view::npos;
}

bool isGifPath(std::string_view path) {
  return contains(path, ".gif") || contains(path, ".GIF");
}

}  // namespace

ImageKind imageKindOf(std::string_view path) {
  for (std::string_view ending : {".jpg", ".JPG", ".jpeg", ".JPEG"}) {
    if (contains(path, ending)) return ImageKind::Jpeg;
  }
  if (isGifPath(path)) return ImageKind::Gif;
  if (contains(path, ".bmp") || contains(path, ".BMP")) return ImageKind::Bmp;
  return ImageKind::Unsupported;
}

std::optional<std::vector<uint8_t>> readImageFile(std::string_view path) {
  // Pictures missing on disk are found inside the resource archives as well; closing the
  // stream deletes the extracted copy.
  platform::ResourceStream file = platform::openResource(path, "rb");
  if (!file) {
    reportCannotFindImage(path);
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  uint8_t chunk[64 * 1024];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  if (std::ferror(file.get())) {
    reportCannotFindImage(path);
    return std::nullopt;
  }
  return bytes;
}

std::optional<ImageFrame> decodeImage(std::string_view path, std::span<const uint8_t> file,
                                      const DecodeOptions& options) {
  switch (imageKindOf(path)) {
    case ImageKind::Jpeg: {
      std::optional<PixelBuffer> pixels = JpegReader(options).read(file, path);
      if (!pixels) return std::nullopt;
      return ImageFrame{std::move(*pixels)};
    }
    case ImageKind::Gif: {
      auto decoder = std::make_unique<GifDecoder>(options);  // its LZW tables are large
      std::vector<ImageFrame> frames = decoder->decode(file, path, /*stopAfterFirst=*/true);
      if (frames.empty()) return std::nullopt;
      return std::move(frames.front());
    }
    case ImageKind::Bmp: {
      std::optional<PixelBuffer> pixels = BmpReader(options).read(file, path);
      if (!pixels) return std::nullopt;
      return ImageFrame{std::move(*pixels)};
    }
    case ImageKind::Unsupported:
      break;
  }
  reportUnsupportedImage(path);
  return std::nullopt;
}

std::optional<ImageFrame> loadImageFile(std::string_view path, const DecodeOptions& options) {
  if (imageKindOf(path) == ImageKind::Unsupported) {
    reportUnsupportedImage(path);
    return std::nullopt;
  }
  std::optional<std::vector<uint8_t>> bytes = readImageFile(path);
  if (!bytes) return std::nullopt;
  return decodeImage(path, *bytes, options);
}

std::vector<ImageFrame> loadImageFrames(std::string_view path, const DecodeOptions& options) {
  std::vector<ImageFrame> frames;
  if (isGifPath(path)) {
    std::optional<std::vector<uint8_t>> bytes = readImageFile(path);
    if (!bytes) return frames;
    auto decoder = std::make_unique<GifDecoder>(options);
    return decoder->decode(*bytes, path);
  }
  std::optional<ImageFrame> frame = loadImageFile(path, options);
  if (frame) frames.push_back(std::move(*frame));
  return frames;
}

}  // namespace media
