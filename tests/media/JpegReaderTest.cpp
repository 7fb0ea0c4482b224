#include "media/JpegReader.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "media/TestPictures.h"

namespace media {
namespace {

using testing::makeJpeg;
using testing::MessageRecorder;

constexpr PixelLayout kRgb32{32, false};

std::optional<PixelBuffer> readJpeg(const std::vector<uint8_t>& file, PixelLayout layout = kRgb32,
                                    DecodeLimits limits = {}) {
  return JpegReader(DecodeOptions{layout, limits}).read(file, "test.jpg");
}

// Four flat 8x8 quadrants: each block compresses to its colour almost exactly.
uint32_t quadrants(int x, int y) {
  static const uint32_t kColours[4] = {0xC01020, 0x20C040, 0x3040C0, 0xE0E0E0};
  return kColours[(y / 8 % 2) * 2 + x / 8 % 2];
}

void expectNear(uint32_t actual, uint32_t expected, int tolerance, const std::string& where) {
  for (int shift : {16, 8, 0}) {
    int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
    EXPECT_LE(std::abs(a - e), tolerance)
        << where << std::hex << " got " << actual << " want " << expected;
  }
}

TEST(JpegReader, DecodesColourAndGreyIntoEachLayout) {
  for (bool progressive : {false, true}) {
    std::vector<uint8_t> colour = makeJpeg(16, 16, 3, 100, quadrants, progressive);
    for (PixelLayout layout : {PixelLayout{32, false}, PixelLayout{32, true},
                               PixelLayout{16, false}, PixelLayout{16, true}}) {
      MessageRecorder messages;
      std::optional<PixelBuffer> p = readJpeg(colour, layout);
      ASSERT_TRUE(p);
      EXPECT_EQ(p->width, 16);
      EXPECT_EQ(p->height, 16);
      EXPECT_EQ(p->layout.bitsPerPixel, layout.bitsPerPixel);
      EXPECT_EQ(p->layout.swapRedBlue, layout.swapRedBlue);
      const int tolerance = layout.bitsPerPixel == 16 ? 10 : 3;
      for (auto [x, y] : {std::pair{3, 3}, std::pair{12, 3}, std::pair{3, 12}, std::pair{12, 12}}) {
        expectNear(p->color(x, y), quadrants(x, y), tolerance,
                   std::to_string(x) + "," + std::to_string(y));
      }
      EXPECT_TRUE(messages.messages.empty());
    }
  }
  // In the swapped 32-bit layout red sits in the low byte.
  std::optional<PixelBuffer> p =
      readJpeg(makeJpeg(8, 8, 3, 100, [](int, int) { return 0xFF0000u; }), {32, true});
  ASSERT_TRUE(p);
  EXPECT_GE(p->row(0)[0], 0xF8);
  EXPECT_LE(p->row(0)[2], 0x08);

  std::optional<PixelBuffer> grey =
      readJpeg(makeJpeg(8, 8, 1, 100, [](int x, int) { return x < 4 ? 0x404040u : 0xC0C0C0u; }));
  ASSERT_TRUE(grey);
  uint32_t dark = grey->color(1, 1);
  EXPECT_EQ(dark >> 16, dark & 0xFF);
  expectNear(dark, 0x404040, 4, "grey");
}

TEST(JpegReader, FatalLibraryErrorsAreReportedAndLoadNothing) {
  std::vector<uint8_t> good = makeJpeg(16, 16, 3, 90, quadrants);
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    const char* libraryText;
  };
  std::vector<uint8_t> badSof = good;
  // Find the frame header and give it 0 components.
  for (size_t i = 0; i + 9 < badSof.size(); ++i) {
    if (badSof[i] == 0xFF && badSof[i + 1] == 0xC0) {
      badSof[i + 9] = 0;
      break;
    }
  }
  const Case cases[] = {
      {"not a JPEG", {'B', 'M', 1, 2, 3, 4, 5, 6}, "Not a JPEG file: starts with 0x42 0x4d"},
      {"empty", {}, "Empty input file"},
      {"header cut off", std::vector<uint8_t>(good.begin(), good.begin() + 30), nullptr},
      {"bad frame header", badSof, nullptr},
  };
  for (const Case& c : cases) {
    MessageRecorder messages;
    EXPECT_FALSE(readJpeg(c.file)) << c.what;
    // A warning may come first (data ran out); the fatal error is the last message.
    ASSERT_GE(messages.messages.size(), 1u) << c.what;
    ASSERT_LE(messages.messages.size(), 2u) << c.what;
    const std::string prefix = "Error happened when loading image:\ntest.jpg\n";
    for (const auto& m : messages.messages) {
      EXPECT_EQ(m.caption, "Error");
      EXPECT_EQ(m.icon, MessageIcon::Error);
      ASSERT_EQ(m.text.substr(0, prefix.size()), prefix) << c.what;
      EXPECT_GT(m.text.size(), prefix.size()) << c.what << ": the library's text follows";
    }
    if (c.libraryText) {
      EXPECT_EQ(messages.messages.back().text.substr(prefix.size()), c.libraryText);
    }
  }
}

TEST(JpegReader, TruncatedDataIsAWarningShownOnce) {
  std::vector<uint8_t> good =
      makeJpeg(64, 64, 3, 90, [](int x, int y) { return (x * 4) << 16 | (y * 4) << 8; });
  std::vector<uint8_t> cut(good.begin(), good.begin() + good.size() * 2 / 3);
  MessageRecorder messages;
  std::optional<PixelBuffer> p = readJpeg(cut);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->height, 64);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text,
            "Error happened when loading image:\ntest.jpg\nPremature end of JPEG file");
  // The rows that were present decode as usual.
  expectNear(p->color(8, 8), 0x202000, 6, "top rows");
}

TEST(JpegReader, EveryTruncationIsSafe) {
  std::vector<uint8_t> good = makeJpeg(24, 16, 3, 75, quadrants, true);
  for (size_t n = 0; n < good.size(); ++n) {
    MessageRecorder messages;
    std::optional<PixelBuffer> p = readJpeg(std::vector<uint8_t>(good.begin(), good.begin() + n));
    if (p) {
      EXPECT_EQ(p->width, 24);
      EXPECT_EQ(p->height, 16);
    }
    EXPECT_FALSE(messages.messages.empty()) << n;
  }
}

TEST(JpegReader, PicturesBeyondTheLimitAreRefused) {
  DecodeLimits limits;
  limits.maxImagePixels = 255;
  MessageRecorder messages;
  EXPECT_FALSE(readJpeg(makeJpeg(16, 16, 3, 90, quadrants), kRgb32, limits));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text,
            "Error happened when loading image:\ntest.jpg\nImage of 16x16 pixels is too large");
  limits.maxImagePixels = 256;
  EXPECT_TRUE(readJpeg(makeJpeg(16, 16, 3, 90, quadrants), kRgb32, limits));
}

}  // namespace
}  // namespace media
