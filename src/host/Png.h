// PNG files of 8-bit RGB pictures (screenshots, reference images).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, top-down
};

// Writes `image` as an 8-bit RGB PNG, creating missing parent folders. False on any failure.
bool writePng(const std::string& path, const RgbImage& image);
// Reads a PNG of any colour type as 8-bit RGB (alpha dropped). nullopt when unreadable.
std::optional<RgbImage> readPng(const std::string& path);

}  // namespace host
