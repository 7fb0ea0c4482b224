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
#include "support/ReferenceImage.h"

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
  return testing_support::matchesReferenceFile(image, referencePath(name), 8, 0.005);
}

}  // namespace host::testing
