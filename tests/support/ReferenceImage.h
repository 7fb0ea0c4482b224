// Compares a picture with a stored reference PNG under tests/reference/.
//
// A pixel "differs" when any channel is more than `channelTolerance` from the reference; the
// comparison passes while at most `allowedShare` of the pixels differ (0 for exact pictures;
// text drawn by FreeType may move anti-aliased glyph edges slightly between builds). A failing
// picture is written beside the reference as NAME.png.actual.png for inspection. With
// SKIRROW_UPDATE_REFERENCES=1 the picture is written as the new reference instead.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "host/Png.h"

namespace testing_support {

// tests/reference/<name>.png
inline std::string referenceFile(const std::string& name) {
  return std::string(SKIRROW_TEST_DATA) + "/../reference/" + name + ".png";
}

inline ::testing::AssertionResult matchesReferenceFile(const host::RgbImage& image,
                                                       const std::string& path,
                                                       int channelTolerance, double allowedShare) {
  if (const char* update = std::getenv("SKIRROW_UPDATE_REFERENCES"); update && *update == '1') {
    if (!host::writePng(path, image))
      return ::testing::AssertionFailure() << "cannot write " << path;
    return ::testing::AssertionSuccess();
  }
  auto reference = host::readPng(path);
  if (!reference) return ::testing::AssertionFailure() << "missing reference " << path;
  if (reference->width != image.width || reference->height != image.height)
    return ::testing::AssertionFailure()
           << "size " << image.width << "x" << image.height << " differs from reference "
           << reference->width << "x" << reference->height;
  size_t far = 0;
  int worst = 0;
  for (size_t i = 0; i + 2 < image.rgb.size(); i += 3) {
    int d = 0;
    for (int c = 0; c < 3; ++c) d = std::max(d, std::abs(image.rgb[i + c] - reference->rgb[i + c]));
    worst = std::max(worst, d);
    if (d > channelTolerance) ++far;
  }
  size_t pixels = image.rgb.size() / 3;
  if (static_cast<double>(far) > allowedShare * static_cast<double>(pixels)) {
    host::writePng(path + ".actual.png", image);
    return ::testing::AssertionFailure()
           << far << " of " << pixels << " pixels differ by more than " << channelTolerance
           << " (worst " << worst << "); wrote " << path << ".actual.png";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace testing_support
