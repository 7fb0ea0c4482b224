// Loading pictures from files: choosing the decoder by the file name and reading the bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "media/PixelBuffer.h"

namespace media {

enum class ImageKind { Jpeg, Gif, Bmp, Unsupported };

// The decoder a path calls for. The path is searched, case-sensitively and anywhere (not only at
// the end), for ".jpg", ".JPG", ".jpeg", ".JPEG", then ".gif", ".GIF", then ".bmp", ".BMP"; the
// first found decides. So "pic.jpg.bmp" is a JPEG and "pic.Gif" is unsupported.
ImageKind imageKindOf(std::string_view path);

// All bytes of the file at `path`, opened through the archive-aware opener (a file missing on
// disk is taken from its folder's resource archive), or nothing (with "can not find the image"
// reported) when it cannot be opened or read.
std::optional<std::vector<uint8_t>> readImageFile(std::string_view path);

// Decodes one picture held in memory, the decoder chosen by `path` as imageKindOf does; of a GIF
// only the first frame is decoded. An unsupported name is reported. Nothing when the picture
// could not be decoded (the decoder has reported why).
std::optional<ImageFrame> decodeImage(std::string_view path, std::span<const uint8_t> file,
                                      const DecodeOptions& options);

// Reads and decodes the single picture at `path` (first frame of a GIF). An unsupported name is
// reported before any file is opened.
std::optional<ImageFrame> loadImageFile(std::string_view path, const DecodeOptions& options);

// Every frame of the picture at `path`: all frames when the path contains ".gif" or ".GIF",
// otherwise the one picture loadImageFile gives. Empty when nothing could be decoded.
std::vector<ImageFrame> loadImageFrames(std::string_view path, const DecodeOptions& options);

}  // namespace media
