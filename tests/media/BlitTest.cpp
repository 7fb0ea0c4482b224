#include "media/Blit.h"

#include <gtest/gtest.h>

#include "media/SurfaceFixture.h"
#include "media/TintFilter.h"

namespace media {
namespace {

using Blits = testing::SurfaceTest;
using testing::fillRaw;
using testing::make;
using testing::numberPixels;
using testing::raw;
using testing::setRaw;

constexpr uint32_t kBackground = 0x7777;

// What an unscaled copy must leave at (dx, dy): the source pixel that lands there when it lies in
// the asked source rectangle and inside the source, else the background. Written per pixel,
// independently of the clipping arithmetic of the blitter.
uint32_t expectedCopy(const Surface& src, int dx, int dy, int x, int y, int srcX, int srcY,
                      int srcW, int srcH) {
  int sx = dx - x + srcX, sy = dy - y + srcY;
  bool inRect = sx >= srcX && sx < srcX + srcW && sy >= srcY && sy < srcY + srcH;
  bool inSource = sx >= 0 && sy >= 0 && sx < src.width() && sy < src.height();
  return inRect && inSource ? 0x100u * (sy + 1) + sx + 1 : kBackground;
}

TEST_F(Blits, UnkeyedCopyClipsAtEveryEdgeInBothDepths) {
  struct Case {
    int x, y, srcX, srcY, srcW, srcH;
  };
  const Case cases[] = {
      {1, 1, 0, 0, 3, 3},    // inside
      {-1, -1, 0, 0, 3, 3},  // off the left and top
      {3, 3, 0, 0, 3, 3},    // off the right and bottom
      {-2, 3, 0, 0, 3, 3},   // left and bottom
      {3, -2, 0, 0, 3, 3},   // right and top
      {0, 0, -1, -1, 3, 3},  // source rectangle starting outside the source
      {1, 0, 1, 1, 5, 5},    // source rectangle reaching past the source
      {-5, 0, 0, 0, 3, 3},   // entirely off the left
      {0, 4, 0, 0, 3, 3},    // entirely below
      {0, 0, 1, 0, 2, -1},   // negative height: the whole source
  };
  for (int bits : {16, 32}) {
    for (const Case& c : cases) {
      auto src = make(3, 3, bits);
      auto dst = make(4, 4, bits);
      numberPixels(*src);
      fillRaw(*dst, kBackground);
      EXPECT_TRUE(blit(*dst, *src, c.x, c.y, c.srcX, c.srcY, c.srcW, c.srcH));
      int srcX = c.srcX, srcY = c.srcY, srcW = c.srcW, srcH = c.srcH;
      if (srcW < 0 || srcH < 0) srcX = srcY = 0, srcW = 3, srcH = 3;
      for (int dy = 0; dy < 4; ++dy)
        for (int dx = 0; dx < 4; ++dx)
          ASSERT_EQ(raw(*dst, dx, dy), expectedCopy(*src, dx, dy, c.x, c.y, srcX, srcY, srcW, srcH))
              << bits << " bits, case x=" << c.x << " y=" << c.y << " srcX=" << c.srcX << ", pixel "
              << dx << "," << dy;
    }
  }
}

TEST_F(Blits, KeyOnSixteenBitsMatchesEveryColourWithTheSameRgb565) {
  auto src = make(4, 1, 16);
  auto dst = make(4, 1, 16);
  // 0xFF00FF and 0xFC03F8 both reduce to RGB565 0xF81F; 0xF000F0 reduces to 0xF01E.
  src->setPixel(0, 0, 0xFF00FF);
  src->setPixel(1, 0, 0xFC03F8);
  src->setPixel(2, 0, 0xF000F0);
  src->setPixel(3, 0, 0x00FF00);
  fillRaw(*dst, kBackground);
  blit(*dst, *src, 0, 0, 0, 0, -1, -1, 0xFF00FF);
  EXPECT_EQ(raw(*dst, 0, 0), kBackground);
  EXPECT_EQ(raw(*dst, 1, 0), kBackground);
  EXPECT_EQ(raw(*dst, 2, 0), 0xF01Eu);
  EXPECT_EQ(raw(*dst, 3, 0), 0x07E0u);
}

TEST_F(Blits, KeyedRowsLongerThanABlockSkipEveryKeyPixel) {
  for (int bits : {16, 32}) {
    const int width = 37;  // two whole blocks of 16 and a tail
    auto src = make(width, 2, bits);
    auto dst = make(width + 3, 2, bits);
    numberPixels(*src);
    for (int x = 0; x < width; x += 3) src->setPixel(x, 1, 0x00FF00);
    fillRaw(*dst, kBackground);
    blit(*dst, *src, 2, 0, 0, 0, -1, -1, 0x00FF00);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < width + 3; ++x) {
        const int sx = x - 2;
        uint32_t expected = kBackground;
        if (sx >= 0 && sx < width && !(y == 1 && sx % 3 == 0)) expected = 0x100u * (y + 1) + sx + 1;
        ASSERT_EQ(raw(*dst, x, y), expected) << bits << " bits at " << x << "," << y;
      }
  }
}

TEST_F(Blits, KeyOnThirtyTwoBitsMatchesOnlyThatColour) {
  auto src = make(3, 1, 32);
  auto dst = make(3, 1, 32);
  src->setPixel(0, 0, 0xFF00FF);
  src->setPixel(1, 0, 0xFC03F8);
  src->setPixel(2, 0, 0x123456);
  fillRaw(*dst, kBackground);
  blit(*dst, *src, 0, 0, 0, 0, -1, -1, 0xFF00FF);
  EXPECT_EQ(raw(*dst, 0, 0), kBackground);
  EXPECT_EQ(raw(*dst, 1, 0), 0xFC03F8u);
  EXPECT_EQ(raw(*dst, 2, 0), 0x123456u);
}

TEST_F(Blits, KeyOnSwappedSurfacesIsComparedInTheSwappedLayout) {
  for (int bits : {16, 32}) {
    auto src = make(2, 1, bits, true);
    auto dst = make(2, 1, bits, true);
    src->setPixel(0, 0, 0xFF0000);  // stored with red in the blue place
    src->setPixel(1, 0, 0x0000FF);
    fillRaw(*dst, kBackground);
    blit(*dst, *src, 0, 0, 0, 0, -1, -1, 0xFF0000);
    EXPECT_EQ(raw(*dst, 0, 0), kBackground) << bits;
    EXPECT_EQ(raw(*dst, 1, 0), bits == 16 ? 0xF800u : 0xFF0000u) << bits;
  }
}

TEST_F(Blits, NoKeyCopiesEvenWhitePixels) {
  for (int bits : {16, 32}) {
    auto src = make(2, 1, bits);
    auto dst = make(2, 1, bits);
    src->setPixel(0, 0, 0xFFFFFF);
    src->setPixel(1, 0, 0x000000);
    fillRaw(*dst, kBackground);
    blit(*dst, *src, 0, 0, 0, 0, -1, -1, kNoColorKey);
    EXPECT_EQ(raw(*dst, 0, 0), bits == 16 ? 0xFFFFu : 0xFFFFFFu) << bits;
    EXPECT_EQ(raw(*dst, 1, 0), 0u) << bits;
  }
}

TEST_F(Blits, DifferentDepthsDrawNothing) {
  auto src = make(2, 2, 16);
  auto dst = make(2, 2, 32);
  numberPixels(*src);
  fillRaw(*dst, kBackground);
  EXPECT_FALSE(blit(*dst, *src, 0, 0, 0, 0, -1, -1));
  EXPECT_FALSE(stretchBlit(*dst, *src, 0, 0, -1, -1, 0, 0, -1, -1));
  EXPECT_EQ(raw(*dst, 0, 0), kBackground);
  EXPECT_EQ(raw(*dst, 1, 1), kBackground);
}

TEST_F(Blits, CopyOntoItselfDownwardReadsRowsBeforeOverwritingThem) {
  auto s = make(2, 4, 32);
  numberPixels(*s);
  blit(*s, *s, 0, 1, 0, 0, 2, 3);
  for (int y = 1; y < 4; ++y) EXPECT_EQ(raw(*s, 0, y), 0x100u * y + 1) << y;
}

// Source columns a stretched row reads, one per destination column.
std::vector<uint32_t> rowOf(const Surface& s, int y) {
  std::vector<uint32_t> out;
  for (int x = 0; x < s.width(); ++x) out.push_back(testing::raw(s, x, y) & 0xFF);
  return out;
}

TEST_F(Blits, StretchPicksSourceColumnsByTwentyTwelveSteps) {
  for (int bits : {16, 32}) {
    auto src = make(3, 1, bits);
    numberPixels(*src);  // low byte: column + 1
    // Widening 3 to 5: step = 3 * 4096 / 5 = 2457; i * 2457 >> 12 = 0, 0, 1, 1, 2.
    auto wide = make(5, 1, bits);
    stretchBlit(*wide, *src, 0, 0, 5, 1, 0, 0, 3, 1);
    EXPECT_EQ(rowOf(*wide, 0), (std::vector<uint32_t>{1, 1, 2, 2, 3})) << bits;
    // Narrowing 3 to 2: step = 6144; columns 0 and 1.
    auto narrow = make(2, 1, bits);
    stretchBlit(*narrow, *src, 0, 0, 2, 1, 0, 0, 3, 1);
    EXPECT_EQ(rowOf(*narrow, 0), (std::vector<uint32_t>{1, 2})) << bits;
  }
}

TEST_F(Blits, StretchScalesRowsLikeColumns) {
  auto src = make(2, 2, 32);
  numberPixels(*src);
  auto dst = make(4, 4, 32);
  stretchBlit(*dst, *src, 0, 0, -1, -1, 0, 0, -1, -1);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(raw(*dst, x, y), 0x100u * (y / 2 + 1) + x / 2 + 1);
}

TEST_F(Blits, StretchOnePixelCases) {
  auto src = make(4, 1, 16);
  numberPixels(*src);
  // One destination pixel takes the first source pixel of the rectangle.
  auto one = make(3, 1, 16);
  fillRaw(*one, kBackground);
  stretchBlit(*one, *src, 1, 0, 1, 1, 2, 0, 2, 1);
  EXPECT_EQ(rowOf(*one, 0), (std::vector<uint32_t>{0x77, 3, 0x77}));
  // One source pixel fills the whole destination.
  auto wide = make(4, 1, 16);
  stretchBlit(*wide, *src, 0, 0, 4, 1, 3, 0, 1, 1);
  EXPECT_EQ(rowOf(*wide, 0), (std::vector<uint32_t>{4, 4, 4, 4}));
}

TEST_F(Blits, StretchClippedAtTheLeftAdvancesTheSource) {
  auto src = make(3, 1, 32);
  numberPixels(*src);
  auto dst = make(4, 1, 32);
  // Unclipped, 3 -> 6 (step 2048) would read columns 0 0 1 1 2 2; two are cut off on the left.
  stretchBlit(*dst, *src, -2, 0, 6, 1, 0, 0, 3, 1);
  EXPECT_EQ(rowOf(*dst, 0), (std::vector<uint32_t>{2, 2, 3, 3}));
  // At the top the same: 1 -> 4 rows of a 2-row source (step 2048), one row cut off.
  auto tall = make(2, 2, 32);
  numberPixels(*tall);
  auto column = make(1, 3, 32);
  stretchBlit(*column, *tall, 0, -1, 1, 4, 0, 0, 1, 2);
  EXPECT_EQ(raw(*column, 0, 0) >> 8, 1u);
  EXPECT_EQ(raw(*column, 0, 1) >> 8, 2u);
  EXPECT_EQ(raw(*column, 0, 2) >> 8, 2u);
}

TEST_F(Blits, StretchNeverReadsOutsideTheSource) {
  auto src = make(2, 2, 32);
  numberPixels(*src);
  auto dst = make(4, 1, 32);
  fillRaw(*dst, kBackground);
  // A source rectangle of 4 columns from column -1: columns -1 and 2 do not exist.
  stretchBlit(*dst, *src, 0, 0, 4, 1, -1, 0, 4, 1);
  EXPECT_EQ(rowOf(*dst, 0), (std::vector<uint32_t>{0x77, 1, 2, 0x77}));
}

TEST_F(Blits, StretchClipsAtEveryEdgeLikeAPerPixelModel) {
  // The model walks every destination pixel of the full rectangle, clipped or not, and finds its
  // source pixel from the unclipped start: (srcX * 4096 + i * step) >> 12.
  struct Case {
    int x, y, w, h, srcX, srcY, srcW, srcH;
  };
  const Case cases[] = {
      {-3, -2, 9, 7, 0, 0, 4, 3}, {2, 1, 9, 7, 0, 0, 4, 3},     {-1, 3, 3, 2, 1, 1, 3, 2},
      {4, -4, 5, 9, 0, 0, 4, 3},  {-7, -7, 20, 20, 0, 0, 4, 3}, {1, 1, 3, 3, -2, -1, 6, 5},
      {0, 0, 6, 5, 2, 1, 5, 5},   {5, 0, 2, 2, 0, 0, 4, 3},     {-2, 0, 2, 5, 0, 0, 4, 3},
  };
  for (int bits : {16, 32}) {
    for (const Case& c : cases) {
      auto src = make(4, 3, bits);
      auto dst = make(6, 5, bits);
      numberPixels(*src);
      fillRaw(*dst, kBackground);
      stretchBlit(*dst, *src, c.x, c.y, c.w, c.h, c.srcX, c.srcY, c.srcW, c.srcH);
      const int64_t stepX = int64_t{c.srcW} * 4096 / c.w, stepY = int64_t{c.srcH} * 4096 / c.h;
      for (int dy = 0; dy < 5; ++dy)
        for (int dx = 0; dx < 6; ++dx) {
          const int i = dx - c.x, j = dy - c.y;
          uint32_t expected = kBackground;
          if (i >= 0 && i < c.w && j >= 0 && j < c.h) {
            const int64_t sx = (int64_t{c.srcX} * 4096 + i * stepX) >> 12;
            const int64_t sy = (int64_t{c.srcY} * 4096 + j * stepY) >> 12;
            if (sx >= 0 && sx < 4 && sy >= 0 && sy < 3) expected = 0x100u * (sy + 1) + sx + 1;
          }
          ASSERT_EQ(raw(*dst, dx, dy), expected)
              << bits << " bits, case x=" << c.x << " y=" << c.y << " w=" << c.w
              << " srcX=" << c.srcX << ", pixel " << dx << "," << dy;
        }
    }
  }
}

TEST_F(Blits, StretchWithKeySkipsKeyPixels) {
  auto src = make(2, 1, 16);
  src->setPixel(0, 0, 0x00FF00);
  src->setPixel(1, 0, 0xFF00FF);
  auto dst = make(4, 1, 16);
  fillRaw(*dst, kBackground);
  stretchBlit(*dst, *src, 0, 0, 4, 1, 0, 0, 2, 1, 0xFF00FF);
  EXPECT_EQ(raw(*dst, 0, 0), 0x07E0u);
  EXPECT_EQ(raw(*dst, 1, 0), 0x07E0u);
  EXPECT_EQ(raw(*dst, 2, 0), kBackground);
  EXPECT_EQ(raw(*dst, 3, 0), kBackground);
}

TEST_F(Blits, SolidFillClipsAndCoversOddWidthRows) {
  for (int bits : {16, 32}) {
    auto s = make(5, 4, bits);
    fillRaw(*s, kBackground);
    fill(*s, 0xFFFFFF, -2, 2, 4, 9, true);  // columns 0-1, rows 2-3 remain after clipping
    const uint32_t white = bits == 16 ? 0xFFFF : 0xFFFFFF;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(raw(*s, x, y), x < 2 && y >= 2 ? white : kBackground) << x << "," << y;
    // The whole Surface (negative size), odd width: every pixel of every row.
    fill(*s, 0x0000FF, 3, 3, -1, 0, true);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(raw(*s, x, y), bits == 16 ? 0x001Fu : 0xFFu);
  }
}

TEST_F(Blits, OutlineDrawsOnlyTheEdgesInsideTheSurface) {
  struct Case {
    int x, y, w, h;
  };
  for (Case c : {Case{1, 1, 3, 3}, Case{-1, 1, 4, 3}, Case{2, -1, 5, 3}, Case{0, 0, 6, 5},
                 Case{1, 1, 1, 1}, Case{1, 2, 3, 1}, Case{-3, -3, 2, 2}}) {
    auto s = make(5, 4, 16);
    fillRaw(*s, 0);
    fill(*s, 0xFFFFFF, c.x, c.y, c.w, c.h, false);
    const int r = c.x + c.w - 1, b = c.y + c.h - 1;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) {
        bool inside = x >= c.x && x <= r && y >= c.y && y <= b;
        bool edge = inside && (x == c.x || x == r || y == c.y || y == b);
        EXPECT_EQ(raw(*s, x, y), edge ? 0xFFFFu : 0u) << "rect " << c.x << "," << c.y << " " << c.w
                                                      << "x" << c.h << " pixel " << x << "," << y;
      }
  }
}

TEST_F(Blits, PixelsReadBackWidenedByShifting) {
  auto s16 = make(2, 1, 16);
  s16->setPixel(0, 0, 0xFFFFFF);
  s16->setPixel(1, 0, 0x123456);
  EXPECT_EQ(raw(*s16, 0, 0), 0xFFFFu);
  EXPECT_EQ(s16->getPixel(0, 0), 0xF8FCF8u);
  EXPECT_EQ(raw(*s16, 1, 0), (0x12u >> 3 << 11) | (0x34u >> 2 << 5) | (0x56u >> 3));
  EXPECT_EQ(s16->getPixel(1, 0), 0x103450u);
  auto swapped = make(1, 1, 16, true);
  swapped->setPixel(0, 0, 0xFF0000);
  EXPECT_EQ(raw(*swapped, 0, 0), 0x001Fu);
  EXPECT_EQ(swapped->getPixel(0, 0), 0xF80000u);
  auto s32 = make(1, 1, 32, true);
  s32->setPixel(0, 0, 0x123456);
  EXPECT_EQ(raw(*s32, 0, 0), 0x563412u);
  EXPECT_EQ(s32->getPixel(0, 0), 0x123456u);
  // Outside: nothing written, 0 read, no address.
  s16->setPixel(2, 0, 0xFFFFFF);
  s16->setPixel(-1, 0, 0xFFFFFF);
  EXPECT_EQ(s16->getPixel(2, 0), 0u);
  EXPECT_EQ(s16->pixelAddress(0, 1), nullptr);
  EXPECT_EQ(s16->pixelAddress(1, 0), s16->bits() + 2);
}

TEST_F(Blits, TintMovesEachChannelByTheFlooredFraction) {
  auto s = make(3, 1, 32);
  setRaw(*s, 0, 0, 0xAA804020);  // top byte must survive
  setRaw(*s, 1, 0, 0x00FF0000);
  setRaw(*s, 2, 0, 0x000000FF);
  TintFilter(0xFF0000, 64).apply(*s);
  // r: 0x80 + (127 * 64 >> 8) = 128 + 31; g: 64 + (-64 * 64 >> 8) = 48; b: 32 + (-2048 >> 8) = 24.
  EXPECT_EQ(raw(*s, 0, 0), 0xAA9F3018u);
  EXPECT_EQ(raw(*s, 1, 0), 0x00FF0000u);
  // b: 255 + (-255 * 64 >> 8) = 255 - 64 (floor of -63.75); r: 0 + (255 * 64 >> 8) = 63.
  EXPECT_EQ(raw(*s, 2, 0), 0x003F00BFu);

  // One step of 1/256 moves a channel down by one but not up.
  setRaw(*s, 0, 0, 0x00FF00);
  TintFilter(0x0000FF, 1).apply(*s);
  EXPECT_EQ(raw(*s, 0, 0), 0x00FE00u);
}

TEST_F(Blits, TintOnSixteenBitsWorksPerField) {
  auto s = make(2, 1, 16);
  setRaw(*s, 0, 0, (16u << 11) | (32u << 5) | 8u);
  setRaw(*s, 1, 0, 0xFFFF);
  TintFilter tint(0xFFFFFF, 128);
  tint.apply(*s);
  // Toward (31, 63, 31): 16 + (15 * 128 >> 8) = 23, 32 + (31 * 128 >> 8) = 47, 8 + 11 = 19.
  EXPECT_EQ(raw(*s, 0, 0), (23u << 11) | (47u << 5) | 19u);
  EXPECT_EQ(raw(*s, 1, 0), 0xFFFFu);
  // Toward black by the full amount gives black; amounts are clamped.
  tint.setColor(0);
  tint.setAmount(1000);
  EXPECT_EQ(tint.amount(), 256);
  tint.apply(*s);
  EXPECT_EQ(raw(*s, 0, 0), 0u);
  EXPECT_EQ(raw(*s, 1, 0), 0u);
}

}  // namespace
}  // namespace media
