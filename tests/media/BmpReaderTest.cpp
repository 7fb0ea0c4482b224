#include "media/BmpReader.h"

#include <gtest/gtest.h>

#include "media/TestPictures.h"

namespace media {
namespace {

using testing::BmpDescription;
using testing::makeBmp;
using testing::MessageRecorder;

constexpr PixelLayout kRgb32{32, false};
constexpr PixelLayout kRgb16{16, false};

std::optional<PixelBuffer> readBmp(const std::vector<uint8_t>& file, PixelLayout layout = kRgb32,
                                   DecodeLimits limits = {}) {
  return BmpReader(DecodeOptions{layout, limits}).read(file, "test.bmp");
}

// A picture whose every pixel differs from its neighbours: rows and columns cannot be mixed up
// without a test noticing.
uint32_t pattern(int x, int y) {
  return (uint32_t(x * 37 + y * 11) & 0xFF) << 16 | (y * 53 & 0xFF) << 8 | (x * 29 & 0xFF);
}

TEST(BmpReader, PalettedDepths) {
  const std::vector<uint32_t> palette = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0xFF0000,
                                         0x00FF00, 0x0000FF, 0x111111, 0x222222, 0x333333, 0x444444,
                                         0x555555, 0x666666, 0x777777, 0x888888};
  for (int bits : {1, 4, 8}) {
    const int colours = 1 << std::min(bits, 4);
    // Widths that end rows mid-byte and need row padding.
    for (int width : {1, 3, 7, 9, 17}) {
      BmpDescription desc;
      desc.width = width;
      desc.height = 5;
      desc.bitCount = bits;
      desc.palette.assign(palette.begin(), palette.begin() + colours);
      if (bits == 8) desc.palette.resize(256, 0x010203);
      auto index = [&](int x, int y) { return uint32_t(x * 3 + y * 5) % colours; };
      std::optional<PixelBuffer> p = readBmp(makeBmp(desc, index));
      ASSERT_TRUE(p) << bits << " bits, width " << width;
      ASSERT_EQ(p->width, width);
      ASSERT_EQ(p->height, 5);
      for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < width; ++x) {
          ASSERT_EQ(p->color(x, y), palette[index(x, y)]) << bits << " bits " << x << "," << y;
        }
      }
    }
  }
}

TEST(BmpReader, ShortPalettesAndColoursUsed) {
  // Eight colours declared in an 8-bit file: later indices show black.
  BmpDescription desc;
  desc.width = 4;
  desc.height = 1;
  desc.bitCount = 8;
  desc.palette = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x808080, 0x404040, 0x202020, 0x101010};
  desc.colorsUsed = 8;
  std::optional<PixelBuffer> p =
      readBmp(makeBmp(desc, [](int x, int) { return x == 3 ? 200u : uint32_t(x); }));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->color(0, 0), 0x0000FFu);
  EXPECT_EQ(p->color(2, 0), 0xFF0000u);
  EXPECT_EQ(p->color(3, 0), 0u);
}

TEST(BmpReader, DirectColourDepthsAndMasks) {
  struct Case {
    const char* what;
    int bits;
    uint32_t compression;
    std::vector<uint32_t> masks;
    std::function<uint32_t(uint32_t)> store;   // 0x00RRGGBB -> stored word
    std::function<uint32_t(uint32_t)> expect;  // 0x00RRGGBB -> colour read back
  };
  auto keep = [](uint32_t c) { return c; };
  // Widening repeats the top bits downwards: 5 bits 0b10101 -> 0b10101101.
  auto widen = [](uint32_t v, int bits) {
    uint32_t out = 0;
    for (int s = 8 - bits; s > -bits; s -= bits) out |= s >= 0 ? v << s : v >> -s;
    return out & 0xFF;
  };
  auto via555 = [&](uint32_t c) {
    return widen((c >> 19) & 31, 5) << 16 | widen((c >> 11) & 31, 5) << 8 | widen((c >> 3) & 31, 5);
  };
  auto via565 = [&](uint32_t c) {
    return widen((c >> 19) & 31, 5) << 16 | widen((c >> 10) & 63, 6) << 8 | widen((c >> 3) & 31, 5);
  };
  const Case cases[] = {
      {"24 bits", 24, 0, {}, keep, keep},
      {"32 bits, alpha byte ignored", 32, 0, {}, [](uint32_t c) { return c | 0xAB000000u; }, keep},
      {"16 bits default 5-5-5",
       16,
       0,
       {},
       [](uint32_t c) { return ((c >> 19) & 31) << 10 | ((c >> 11) & 31) << 5 | ((c >> 3) & 31); },
       via555},
      {"16 bits masks 5-6-5",
       16,
       3,
       {0xF800, 0x07E0, 0x001F},
       [](uint32_t c) { return ((c >> 19) & 31) << 11 | ((c >> 10) & 63) << 5 | ((c >> 3) & 31); },
       via565},
      {"32 bits masks blue high",
       32,
       3,
       {0x000000FF, 0x0000FF00, 0x00FF0000},
       [](uint32_t c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16); },
       keep},
      {"32 bits masks 10-10-10",
       32,
       3,
       {0x3FF00000, 0x000FFC00, 0x000003FF},
       [](uint32_t c) {
         return ((c >> 16) & 0xFF) << 22 | ((c >> 8) & 0xFF) << 12 | (c & 0xFF) << 2 | 3;
       },
       keep},
  };
  for (const Case& c : cases) {
    for (int height : {4, -4}) {
      BmpDescription desc;
      desc.width = 5;
      desc.height = height;
      desc.bitCount = c.bits;
      desc.compression = c.compression;
      desc.masks = c.masks;
      std::optional<PixelBuffer> p =
          readBmp(makeBmp(desc, [&](int x, int y) { return c.store(pattern(x, y)); }));
      ASSERT_TRUE(p) << c.what << " height " << height;
      for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
          ASSERT_EQ(p->color(x, y), c.expect(pattern(x, y)))
              << c.what << " height " << height << " at " << x << "," << y;
        }
      }
      EXPECT_EQ(p->row(0)[3], 0) << "the fourth byte of a 32-bit pixel is 0";
    }
  }
}

TEST(BmpReader, ConvertsToSixteenBitsAndIgnoresRedBlueSwap) {
  BmpDescription desc;
  desc.width = 3;
  desc.height = 2;
  desc.bitCount = 24;
  std::vector<uint8_t> file =
      makeBmp(desc, [](int x, int y) { return x == 0 ? 0x123456u : 0xFF0000u; });
  for (bool swap : {false, true}) {
    std::optional<PixelBuffer> p = readBmp(file, {16, swap});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->bitsPerPixel(), 16);
    EXPECT_FALSE(p->layout.swapRedBlue);
    EXPECT_EQ(p->stride, 8);
    EXPECT_EQ(p->rawPixel(0, 1), uint32_t((2 << 11) | (13 << 5) | 10));
    EXPECT_EQ(p->rawPixel(1, 0), 0xF800u);
  }
  // A 5-6-5 file read at 16 bits keeps its pixel words unchanged.
  BmpDescription w565;
  w565.width = 2;
  w565.height = 1;
  w565.bitCount = 16;
  w565.compression = 3;
  w565.masks = {0xF800, 0x07E0, 0x001F};
  std::optional<PixelBuffer> p =
      readBmp(makeBmp(w565, [](int x, int) { return x ? 0x1234u : 0xFFFFu; }), kRgb16);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->rawPixel(0, 0), 0xFFFFu);
  EXPECT_EQ(p->rawPixel(1, 0), 0x1234u);
}

TEST(BmpReader, PixelOffsetIsHonouredAndSizeFieldIgnored) {
  BmpDescription desc;
  desc.width = 2;
  desc.height = 2;
  desc.bitCount = 24;
  desc.gapBeforePixels = 10;
  std::optional<PixelBuffer> p = readBmp(makeBmp(desc, pattern));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->color(1, 1), pattern(1, 1));

  // Offset 0: the pixels follow the palette.
  BmpDescription zero;
  zero.width = 2;
  zero.height = 2;
  zero.bitCount = 8;
  zero.palette = {0x111111, 0x222222};
  zero.colorsUsed = 2;
  zero.zeroPixelOffset = true;
  p = readBmp(makeBmp(zero, [](int x, int y) { return uint32_t(x ^ y); }));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->color(0, 0), 0x111111u);
  EXPECT_EQ(p->color(1, 0), 0x222222u);
}

std::vector<uint8_t> smallBmp() {
  BmpDescription desc;
  desc.width = 3;
  desc.height = 3;
  desc.bitCount = 8;
  desc.palette = {0x112233, 0x445566, 0x778899, 0xAABBCC};
  desc.colorsUsed = 4;
  return makeBmp(desc, [](int x, int y) { return uint32_t(x + y) % 4; });
}

void setU32(std::vector<uint8_t>& f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(BmpReader, MalformedOrCutStructureGivesNothingAndNamesTheFile) {
  const std::vector<uint8_t> good = smallBmp();
  ASSERT_TRUE(readBmp(good));
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> spoil;
  };
  const Case cases[] = {
      {"wrong type", [](auto& f) { f[0] = 'X'; }},
      {"reserved word set", [](auto& f) { f[6] = 1; }},
      {"second reserved word set", [](auto& f) { f[9] = 1; }},
      {"info header of another size", [](auto& f) { setU32(f, 14, 108); }},
      {"pixel offset past the end", [](auto& f) { setU32(f, 10, 0xFFFFFFF0u); }},
      {"pixel offset leaving too few bytes",
       [](auto& f) { setU32(f, 10, uint32_t(f.size() - 5)); }},
      {"colours used beyond the file", [](auto& f) { setU32(f, 46, 0xFFFF); }},
      {"height beyond the file", [](auto& f) { setU32(f, 22, 0x7FFFFFFF); }},
      {"most negative height", [](auto& f) { setU32(f, 22, 0x80000000u); }},
      {"width beyond the file", [](auto& f) { setU32(f, 18, 0x7FFFFFFF); }},
      {"bit count beyond the file", [](auto& f) { f[28] = 0xFF, f[29] = 0xFF; }},
  };
  // Each damaged file gives nothing and is named to the user once.
  auto namedOnce = [](const MessageRecorder& messages) {
    return messages.messages.size() == 1 &&
           messages.messages[0].text == "Error: test.bmp is not a valid BMP image.";
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = good;
    c.spoil(file);
    MessageRecorder messages;
    EXPECT_FALSE(readBmp(file)) << c.what;
    EXPECT_TRUE(namedOnce(messages)) << c.what;
  }
  // Cut at every length.
  for (size_t n = 0; n < good.size(); ++n) {
    MessageRecorder messages;
    EXPECT_FALSE(readBmp(std::vector<uint8_t>(good.begin(), good.begin() + n))) << n;
    EXPECT_TRUE(namedOnce(messages)) << n;
  }
}

TEST(BmpReader, UnshowableFormsAreReported) {
  const std::vector<uint8_t> good = smallBmp();
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> spoil;
  };
  const Case cases[] = {
      {"zero width", [](auto& f) { setU32(f, 18, 0); }},
      {"negative width", [](auto& f) { setU32(f, 18, uint32_t(-3)); }},
      {"zero height", [](auto& f) { setU32(f, 22, 0); }},
      {"run-length compression", [](auto& f) { setU32(f, 30, 1); }},
      {"bit fields on 8 bits", [](auto& f) { setU32(f, 30, 3); }},
      {"unknown compression", [](auto& f) { setU32(f, 30, 77); }},
      {"2 bits per pixel", [](auto& f) { f[28] = 2; }},
      {"0 bits per pixel", [](auto& f) { f[28] = 0; }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = good;
    c.spoil(file);
    MessageRecorder messages;
    EXPECT_FALSE(readBmp(file)) << c.what;
    ASSERT_EQ(messages.messages.size(), 1u) << c.what;
    EXPECT_EQ(messages.messages[0].caption, "Error");
    EXPECT_EQ(messages.messages[0].text, "Error: test.bmp is not a valid BMP image.");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
  }
  // Masks that are empty or have holes.
  for (std::vector<uint32_t> masks :
       {std::vector<uint32_t>{0xF800, 0x07E0, 0}, std::vector<uint32_t>{0xF801, 0x07E0, 0x001E}}) {
    BmpDescription desc;
    desc.width = 2;
    desc.height = 2;
    desc.bitCount = 16;
    desc.compression = 3;
    desc.masks = masks;
    MessageRecorder messages;
    EXPECT_FALSE(readBmp(makeBmp(desc, pattern)));
    EXPECT_EQ(messages.messages.size(), 1u);
  }
  // More pixels than the limit allows, although the data is all there.
  DecodeLimits limits;
  limits.maxImagePixels = 8;
  MessageRecorder messages;
  EXPECT_FALSE(readBmp(good, kRgb32, limits));
  EXPECT_EQ(messages.messages.size(), 1u);
}

}  // namespace
}  // namespace media
