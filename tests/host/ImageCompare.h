// Compares pictures with the stored reference PNGs under tests/reference/host/.
//
// Tolerance: every channel of every pixel within 8 of the reference, except that up to 0.5% of
// the pixels may differ more (anti-aliased glyph edges move slightly between FreeType builds).
// With SKIRROW_UPDATE_REFERENCES=1 the pictures are written as the new references instead.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "host/Gdi.h"
#include "host/Host.h"
#include "host/Png.h"

namespace host::testing {

inline std::string referencePath(const std::string& name) {
  return std::string(SKIRROW_TEST_DATA) + "/../reference/host/" + name + ".png";
}

// The pixels of a bitmap as 8-bit RGB.
inline RgbImage pictureOf(Hbitmap bitmap) {
  PixelSurface s = Host::get().gdi().surfaceOf(bitmap);
  RgbImage image{s.width, s.height, {}};
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      std::uint32_t c = s.rgbAt(x, y);
      image.rgb.push_back(static_cast<std::uint8_t>(c >> 16));
      image.rgb.push_back(static_cast<std::uint8_t>(c >> 8));
      image.rgb.push_back(static_cast<std::uint8_t>(c));
    }
  return image;
}

inline ::testing::AssertionResult matchesReference(const RgbImage& image, const std::string& name) {
  std::string path = referencePath(name);
  if (const char* update = std::getenv("SKIRROW_UPDATE_REFERENCES"); update && *update == '1') {
    if (!writePng(path, image)) return ::testing::AssertionFailure() << "cannot write " << path;
    return ::testing::AssertionSuccess();
  }
  auto reference = readPng(path);
  if (!reference) return ::testing::AssertionFailure() << "missing reference " << path;
  if (reference->width != image.width || reference->height != image.height)
    return ::testing::AssertionFailure()
           << "size " << image.width << "x" << image.height << " differs from reference "
           << reference->width << "x" << reference->height;
  size_t far = 0;
  int worst = 0;
  for (size_t i = 0; i < image.rgb.size(); i += 3) {
    int d = 0;
    for (int c = 0; c < 3; ++c) d = std::max(d, std::abs(image.rgb[i + c] - reference->rgb[i + c]));
    worst = std::max(worst, d);
    if (d > 8) ++far;
  }
  size_t pixels = image.rgb.size() / 3;
  if (far * 200 > pixels) {
    writePng(path + ".actual.png", image);
    return ::testing::AssertionFailure()
           << far << " of " << pixels << " pixels differ by more than 8 (worst " << worst
           << "); wrote " << path << ".actual.png";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace host::testing
