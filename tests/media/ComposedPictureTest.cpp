// A picture drawn with every pixel operation, compared with the stored references under
// tests/reference/media/.
//
// Tolerance: every channel of every pixel within 2 of the reference (the operations are exact
// integer code; the margin only absorbs a PNG tool that rounds). With
// SKIRROW_UPDATE_REFERENCES=1 the pictures are written as the new references instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "host/Png.h"
#include "media/Blit.h"
#include "media/SurfaceFixture.h"
#include "media/TintFilter.h"
#include "support/ReferenceImage.h"

namespace media {
namespace {

using Composed = testing::SurfaceTest;

constexpr int kTolerance = 2;

host::RgbImage pictureOf(const Surface& s) {
  host::RgbImage image{s.width(), s.height(), {}};
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) {
      uint32_t c = s.getPixel(x, y);
      image.rgb.push_back(static_cast<uint8_t>(c >> 16));
      image.rgb.push_back(static_cast<uint8_t>(c >> 8));
      image.rgb.push_back(static_cast<uint8_t>(c));
    }
  return image;
}

::testing::AssertionResult matchesReference(const host::RgbImage& image, const std::string& name) {
  return testing_support::matchesReferenceFile(image, testing_support::referenceFile("media/" + name),
                                               kTolerance, 0.0);
}

// A 12 x 12 sprite: magenta (the key) around a white-framed yellow square with a blue centre.
std::unique_ptr<Surface> sprite(int bits) {
  auto s = Surface::create(12, 12, PixelLayout{bits, false}, true);
  fill(*s, 0xFF00FF, 0, 0, -1, -1, true);
  fill(*s, 0xFFD020, 2, 2, 8, 8, true);
  fill(*s, 0xFFFFFF, 2, 2, 8, 8, false);
  fill(*s, 0x2080FF, 5, 4, 3, 4, true);
  return s;
}

void compose(Surface& dst) {
  const int bits = dst.bitsPerPixel();
  fill(dst, 0x203040, 0, 0, -1, -1, true);
  auto spr = sprite(bits);
  blit(dst, *spr, 4, 4, 0, 0, -1, -1, 0xFF00FF);    // keyed
  blit(dst, *spr, 18, 4, 0, 0, -1, -1);             // unkeyed: the magenta shows
  blit(dst, *spr, -6, 30, 0, 0, -1, -1, 0xFF00FF);  // clipped at the left
  blit(dst, *spr, 58, 40, 2, 2, 10, 10);            // part of it, clipped right and bottom
  stretchBlit(dst, *spr, 33, 3, 28, 20, 0, 0, -1, -1, 0xFF00FF);  // enlarged
  stretchBlit(dst, *spr, 20, 30, 7, 5, 0, 0, -1, -1);             // shrunk, unkeyed
  fill(dst, 0x00FF00, 2, 26, 30, 20, false);
  fill(dst, 0xFF4000, -3, 45, 80, 10, false);  // only its top edge is inside

  // A gradient panel faded halfway toward red.
  auto panel = Surface::create(16, 16, PixelLayout{bits, false}, true);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) panel->setPixel(x, y, (x * 16u) << 16 | (y * 16u) << 8 | 0x80);
  TintFilter(0xFF0000, 128).apply(*panel);
  blit(dst, *panel, 40, 26, 0, 0, -1, -1);
}

TEST_F(Composed, SixteenBitPictureMatchesReference) {
  auto dst = Surface::create(64, 48, PixelLayout{16, false}, true);
  compose(*dst);
  EXPECT_TRUE(matchesReference(pictureOf(*dst), "composed16"));
}

TEST_F(Composed, ThirtyTwoBitPictureMatchesReference) {
  auto dst = Surface::create(64, 48, PixelLayout{32, false}, true);
  compose(*dst);
  EXPECT_TRUE(matchesReference(pictureOf(*dst), "composed32"));
}

}  // namespace
}  // namespace media
