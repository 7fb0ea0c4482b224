#include "media/GifDecoder.h"

#include <gtest/gtest.h>

#include <memory>

#include "media/TestPictures.h"

namespace media {
namespace {

using testing::BitWriter;
using testing::GifDescription;
using testing::GifFrameDescription;
using testing::LzwOptions;
using testing::makeGif;
using testing::MessageRecorder;

constexpr PixelLayout kRgb32{32, false};
constexpr PixelLayout kRgb16{16, false};

const std::vector<uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF,
                                        0x123456, 0xFFFFFF, 0x808080, 0xABCDEF};

std::vector<ImageFrame> decodeGif(const std::vector<uint8_t>& file, PixelLayout layout = kRgb32,
                                  bool stopAfterFirst = false, DecodeLimits limits = {}) {
  auto decoder = std::make_unique<GifDecoder>(DecodeOptions{layout, limits});
  return decoder->decode(file, "test.gif", stopAfterFirst);
}

// The frame's pixels as colours, row-major.
std::vector<uint32_t> colors(const PixelBuffer& b) {
  std::vector<uint32_t> out;
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) out.push_back(b.color(x, y));
  }
  return out;
}

std::vector<uint32_t> lookUp(const std::vector<uint8_t>& indices,
                             const std::vector<uint32_t>& palette) {
  std::vector<uint32_t> out;
  for (uint8_t i : indices) out.push_back(palette[i]);
  return out;
}

// A deterministic index sequence with little repetition, so the code table fills quickly.
std::vector<uint8_t> noise(size_t n, int colours, uint32_t seed = 1) {
  std::vector<uint8_t> out(n);
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    out[i] = static_cast<uint8_t>((seed >> 16) % colours);
  }
  return out;
}

GifFrameDescription frame(int w, int h, std::vector<uint8_t> indices, int minCodeSize = 3) {
  GifFrameDescription f;
  f.width = w;
  f.height = h;
  f.indices = std::move(indices);
  f.lzw.minCodeSize = minCodeSize;
  return f;
}

GifDescription oneFrame(int w, int h, std::vector<uint8_t> indices, int minCodeSize = 3) {
  GifDescription s;
  s.width = w;
  s.height = h;
  s.globalPalette = kPalette;
  s.frames.push_back(frame(w, h, std::move(indices), minCodeSize));
  return s;
}

TEST(GifDecoder, DecodesIntoEachPixelLayout) {
  GifDescription desc;
  desc.width = 2;
  desc.height = 1;
  desc.globalPalette = {0x123456, 0xFFFFFF};
  desc.frames.push_back(frame(2, 1, {0, 1}, 2));
  std::vector<uint8_t> file = makeGif(desc);

  struct Case {
    PixelLayout layout;
    uint32_t raw;
    int stride;
  };
  // 16 bits keep the top 5/6/5 bits: 0x12 -> 2, 0x34 -> 13, 0x56 -> 10.
  for (Case c : {Case{{32, false}, 0x123456, 8}, Case{{32, true}, 0x563412, 8},
                 Case{{16, false}, (2 << 11) | (13 << 5) | 10, 4},
                 Case{{16, true}, (10 << 11) | (13 << 5) | 2, 4}}) {
    MessageRecorder messages;
    std::vector<ImageFrame> frames = decodeGif(file, c.layout);
    ASSERT_EQ(frames.size(), 1u);
    const PixelBuffer& p = frames[0].pixels;
    EXPECT_EQ(p.stride, c.stride);
    EXPECT_EQ(p.rawPixel(0, 0), c.raw);
    EXPECT_EQ(p.color(1, 0), c.layout.bitsPerPixel == 16 ? 0xF8FCF8u : 0xFFFFFFu);
    EXPECT_TRUE(messages.messages.empty());
  }
}

TEST(GifDecoder, ColourTables) {
  // No global table: indices are grey levels.
  GifDescription grey;
  grey.width = 3;
  grey.height = 1;
  grey.frames.push_back(frame(3, 1, {0, 1, 200}, 8));
  std::vector<ImageFrame> frames = decodeGif(makeGif(grey));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(colors(frames[0].pixels), (std::vector<uint32_t>{0x000000, 0x010101, 0xC8C8C8}));

  // A local table wins over the global one for its frame only.
  GifDescription local = oneFrame(2, 1, {1, 2});
  local.frames[0].localPalette = {0x111111, 0x222222, 0x333333};
  local.frames.push_back(frame(2, 1, {1, 2}));
  frames = decodeGif(makeGif(local));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(colors(frames[0].pixels), (std::vector<uint32_t>{0x222222, 0x333333}));
  EXPECT_EQ(colors(frames[1].pixels), (std::vector<uint32_t>{0xFF0000, 0x00FF00}));

  // Indices beyond a short table show black rather than reading past it.
  GifDescription small;
  small.width = 2;
  small.height = 1;
  small.globalPalette = {0xFFFFFF, 0xFFFFFF};
  small.frames.push_back(frame(2, 1, {1, 7}, 3));
  frames = decodeGif(makeGif(small));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(colors(frames[0].pixels), (std::vector<uint32_t>{0xFFFFFF, 0x000000}));
}

TEST(GifDecoder, InterlacedRowsLandInPlace) {
  for (int height : {1, 2, 3, 4, 5, 7, 8, 9, 16, 17, 30}) {
    std::vector<uint8_t> indices;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < 3; ++x) indices.push_back(static_cast<uint8_t>((y * 3 + x) % 8));
    }
    GifDescription desc = oneFrame(3, height, indices);
    desc.frames[0].interlaced = true;
    std::vector<ImageFrame> frames = decodeGif(makeGif(desc));
    ASSERT_EQ(frames.size(), 1u) << "height " << height;
    EXPECT_EQ(colors(frames[0].pixels), lookUp(indices, kPalette)) << "height " << height;
  }
}

std::vector<uint8_t> codeStream(std::initializer_list<std::pair<int, int>> codes) {
  BitWriter w;
  for (auto [code, size] : codes) w.put(code, size);
  return w.bytes;
}

GifDescription rawFrame(int w, int h, std::vector<uint8_t> codes, int minCodeSize = 2) {
  GifDescription s;
  s.width = w;
  s.height = h;
  s.globalPalette = kPalette;
  GifFrameDescription f = frame(w, h, {}, minCodeSize);
  f.rawCodes = std::move(codes);
  f.useRawCodes = true;
  s.frames.push_back(f);
  return s;
}

TEST(GifDecoderLzw, CodeBeingDefinedRepeatsPreviousStringAndItsFirstCharacter) {
  // clear, 1, then 6 and 7 each used while they are being defined: 1 | 1 1 | 1 1 1. Entry 7
  // makes the table reach 8 entries, so the end code is 4 bits wide.
  MessageRecorder messages;
  std::vector<ImageFrame> frames =
      decodeGif(makeGif(rawFrame(6, 1, codeStream({{4, 3}, {1, 3}, {6, 3}, {7, 3}, {5, 4}}))));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(colors(frames[0].pixels), std::vector<uint32_t>(6, kPalette[1]));
  EXPECT_TRUE(messages.messages.empty());

  // Mixed: 2 | 3 | 2 3 (entry 6) | 2 3 2 (entry 8, being defined).
  frames = decodeGif(
      makeGif(rawFrame(8, 1, codeStream({{4, 3}, {2, 3}, {3, 3}, {6, 3}, {8, 4}, {5, 4}}))));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(colors(frames[0].pixels), lookUp({2, 3, 2, 3, 2, 3, 2, 0}, kPalette));
}

TEST(GifDecoderLzw, UndefinedCodesDropTheFrameButKeepTheOthers) {
  struct Case {
    const char* what;
    std::vector<uint8_t> codes;
  };
  const Case cases[] = {
      {"code past the one being defined", codeStream({{4, 3}, {1, 3}, {7, 3}, {5, 3}})},
      {"table code right after a clear", codeStream({{4, 3}, {6, 3}, {5, 3}})},
      {"table code right after a clear mid-stream",
       codeStream({{4, 3}, {1, 3}, {2, 3}, {4, 3}, {6, 3}})},
  };
  for (const Case& c : cases) {
    MessageRecorder messages;
    GifDescription desc = rawFrame(4, 1, c.codes);
    desc.frames.push_back(frame(4, 1, {3, 3, 3, 3}));
    std::vector<ImageFrame> frames = decodeGif(makeGif(desc));
    ASSERT_EQ(frames.size(), 1u) << c.what;
    EXPECT_EQ(colors(frames[0].pixels), std::vector<uint32_t>(4, kPalette[3])) << c.what;
    ASSERT_EQ(messages.messages.size(), 1u) << c.what;
    EXPECT_EQ(messages.messages[0].caption, "Error");
    EXPECT_EQ(messages.messages[0].text, "Image File Corrupt: test.gif");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
  }
}

TEST(GifDecoderLzw, MinimumCodeSizeOutsideOneToEightIsCorrupt) {
  for (int size : {0, 9, 11, 12, 255}) {
    MessageRecorder messages;
    GifDescription desc = rawFrame(2, 1, {0xFF, 0xFF, 0xFF, 0xFF}, size);
    EXPECT_TRUE(decodeGif(makeGif(desc)).empty()) << size;
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Image File Corrupt: test.gif",
                                        "Premature End Of Image File: test.gif"}));
  }
}

TEST(GifDecoderLzw, FullTablesWithAndWithoutClearCodes) {
  // Enough noise that the table fills several times: once with a clear code each time it is
  // full, once with the encoder carrying on with 12-bit codes and no new entries.
  for (int colours : {4, 256}) {
    const int minCodeSize = colours == 4 ? 2 : 8;
    const int width = 256, height = colours == 4 ? 200 : 80;
    std::vector<uint8_t> indices = noise(size_t(width) * height, colours);
    std::vector<uint32_t> palette(256);
    for (int i = 0; i < 256; ++i) palette[i] = uint32_t(i) * 0x010203u & 0xFFFFFF;
    for (bool clearWhenFull : {true, false}) {
      int fills = 0;
      GifDescription desc;
      desc.width = width;
      desc.height = height;
      desc.globalPalette = palette;
      GifFrameDescription f = frame(width, height, indices, minCodeSize);
      f.lzw.clearWhenFull = clearWhenFull;
      f.lzw.tableFills = &fills;
      desc.frames.push_back(f);
      std::vector<uint8_t> file = makeGif(desc);
      EXPECT_GE(fills, clearWhenFull ? 2 : 1);
      MessageRecorder messages;
      std::vector<ImageFrame> frames = decodeGif(file);
      ASSERT_EQ(frames.size(), 1u) << colours << " " << clearWhenFull;
      EXPECT_EQ(colors(frames[0].pixels), lookUp(indices, palette))
          << colours << " colours, clear when full " << clearWhenFull;
      EXPECT_TRUE(messages.messages.empty());
    }
  }
}

TEST(GifDecoderLzw, EveryLengthAcrossCodeSizeSteps) {
  // Each length ends the stream at a different point of the table, so the final code and the
  // end code are read at every width from 3 to 12 bits, including where the width just grew.
  std::vector<uint8_t> all = noise(5000, 4, 7);
  for (size_t n = 1; n <= all.size(); n += (n < 700 ? 1 : 37)) {
    std::vector<uint8_t> indices(all.begin(), all.begin() + n);
    GifDescription desc = oneFrame(static_cast<int>(n), 1, indices, 2);
    std::vector<ImageFrame> frames = decodeGif(makeGif(desc));
    ASSERT_EQ(frames.size(), 1u) << n;
    ASSERT_EQ(colors(frames[0].pixels), lookUp(indices, kPalette)) << n;
  }
}

TEST(GifDecoderLzw, ClearCodesAnywhere) {
  std::vector<uint8_t> indices = noise(3000, 8, 3);
  for (int every : {1, 2, 7, 100, 1000}) {
    GifDescription desc = oneFrame(100, 30, indices);
    desc.frames[0].lzw.clearEvery = every;
    std::vector<ImageFrame> frames = decodeGif(makeGif(desc));
    ASSERT_EQ(frames.size(), 1u) << every;
    EXPECT_EQ(colors(frames[0].pixels), lookUp(indices, kPalette)) << every;
  }
  // A stream that does not begin with a clear code starts in the same state.
  GifDescription desc = oneFrame(100, 30, indices);
  desc.frames[0].lzw.initialClear = false;
  std::vector<ImageFrame> frames = decodeGif(makeGif(desc));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(colors(frames[0].pixels), lookUp(indices, kPalette));
}

TEST(GifDecoderLzw, StreamsEndingEarlyKeepWhatWasDecoded) {
  std::vector<uint8_t> five = {1, 2, 3, 4, 5};
  std::vector<uint32_t> expected = lookUp(five, kPalette);
  expected.resize(16, 0);  // the rest of the first frame stays cleared

  // An end code after 5 of 16 pixels.
  GifDescription early = oneFrame(4, 4, five);
  early.frames[0].width = 4;
  MessageRecorder messages;
  std::vector<ImageFrame> frames = decodeGif(makeGif(early));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(colors(frames[0].pixels), expected);

  // No end code at all, the data simply stops.
  GifDescription noEnd = early;
  noEnd.frames[0].lzw.endCode = false;
  frames = decodeGif(makeGif(noEnd));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(colors(frames[0].pixels), expected);

  // No data at all.
  GifDescription empty = rawFrame(4, 4, {});
  frames = decodeGif(makeGif(empty));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(colors(frames[0].pixels), std::vector<uint32_t>(16, 0));
  EXPECT_TRUE(messages.messages.empty());

  // More codes than the frame has pixels: the surplus is ignored.
  GifDescription surplus = oneFrame(2, 2, {1, 2, 3, 4, 5, 6, 7, 1, 2});
  surplus.frames[0].width = 2;
  surplus.frames[0].height = 2;
  surplus.width = 3;
  surplus.height = 3;
  frames = decodeGif(makeGif(surplus));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(
      colors(frames[0].pixels),
      (std::vector<uint32_t>{kPalette[1], kPalette[2], 0, kPalette[3], kPalette[4], 0, 0, 0, 0}));
}

// Three frames on a 4x4 screen: a full frame, a 2x2 square at (1, 1), a pixel at (0, 0).
GifDescription threeFrames(int disposal1, int disposal2, bool thirdTransparent) {
  GifDescription s;
  s.width = 4;
  s.height = 4;
  s.globalPalette = kPalette;
  s.background = 4;
  GifFrameDescription f1 = frame(4, 4, std::vector<uint8_t>(16, 1));
  f1.control = true;
  f1.disposal = disposal1;
  f1.delay = 10;
  GifFrameDescription f2 = frame(2, 2, {2, 2, 2, 3});
  f2.left = f2.top = 1;
  f2.control = true;
  f2.disposal = disposal2;
  f2.delay = 20;
  f2.transparent = true;
  f2.transparentIndex = 3;
  GifFrameDescription f3 = frame(1, 1, {7});
  f3.control = true;
  f3.delay = 30;
  f3.transparent = thirdTransparent;
  f3.transparentIndex = 6;
  s.frames = {f1, f2, f3};
  return s;
}

TEST(GifDecoder, DisposalPreparesEachFrameFromThePreviousOne) {
  const uint32_t R = kPalette[1], G = kPalette[2], B = kPalette[3], K = kPalette[7];
  const uint32_t bg = kPalette[4], grey = kPalette[6];
  MessageRecorder messages;

  // 1 keeps the previous frame under the next; 2 fills with the background colour.
  std::vector<ImageFrame> frames = decodeGif(makeGif(threeFrames(1, 2, false)));
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(colors(frames[0].pixels), std::vector<uint32_t>(16, R));
  EXPECT_EQ(colors(frames[1].pixels),
            (std::vector<uint32_t>{R, R, R, R, R, G, G, R, R, G, B, R, R, R, R, R}));
  std::vector<uint32_t> third(16, bg);
  third[0] = K;
  EXPECT_EQ(colors(frames[2].pixels), third);

  // 2 with a transparent index in the new frame's control block fills with that colour.
  frames = decodeGif(makeGif(threeFrames(1, 2, true)));
  ASSERT_EQ(frames.size(), 3u);
  third.assign(16, grey);
  third[0] = K;
  EXPECT_EQ(colors(frames[2].pixels), third);

  // 0 and 3 start from a cleared canvas.
  frames = decodeGif(makeGif(threeFrames(0, 3, false)));
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(colors(frames[1].pixels),
            (std::vector<uint32_t>{0, 0, 0, 0, 0, G, G, 0, 0, G, B, 0, 0, 0, 0, 0}));
  third.assign(16, 0);
  third[0] = K;
  EXPECT_EQ(colors(frames[2].pixels), third);
  EXPECT_TRUE(messages.messages.empty());
}

TEST(GifDecoder, DelaysAndTransparencyKeys) {
  std::vector<ImageFrame> frames = decodeGif(makeGif(threeFrames(1, 1, false)), {16, true});
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_FLOAT_EQ(frames[0].delay, 0.1f);
  EXPECT_FLOAT_EQ(frames[1].delay, 0.2f);
  EXPECT_FLOAT_EQ(frames[2].delay, 0.3f);
  EXPECT_FALSE(frames[0].transparent);
  EXPECT_TRUE(frames[1].transparent);
  // The key is a colour value whatever the pixel layout, and the transparent index is drawn.
  EXPECT_EQ(frames[1].transparentColor, kPalette[3]);
  EXPECT_EQ(frames[1].pixels.color(2, 2), 0x0000F8u);  // 0x0000FF narrowed to 5 bits of blue
  EXPECT_FALSE(frames[2].transparent);

  // A frame without its own control block has no delay and no key.
  GifDescription desc = threeFrames(1, 1, false);
  desc.frames[1].control = false;
  frames = decodeGif(makeGif(desc));
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[1].delay, 0.0f);
  EXPECT_FALSE(frames[1].transparent);
}

TEST(GifDecoder, StopsAfterTheFirstFrameWhenAsked) {
  std::vector<ImageFrame> frames = decodeGif(makeGif(threeFrames(1, 1, false)), kRgb32, true);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].pixels.color(3, 3), kPalette[1]);
}

TEST(GifDecoder, FramesReachingOutsideTheScreenAreClipped) {
  // A 16-bit 5x3 screen has 2 padding bytes per row, which must stay zero as well.
  struct Case {
    int left, top, width, height;
  };
  for (Case c : {Case{3, 1, 4, 4}, Case{0, 2, 9, 9}, Case{4, 0, 1, 3}, Case{5, 0, 3, 3},
                 Case{0, 3, 2, 2}, Case{65535, 65535, 2, 2}, Case{2, 1, 65535, 1}}) {
    GifDescription desc;
    desc.width = 5;
    desc.height = 3;
    desc.globalPalette = kPalette;
    GifFrameDescription f =
        frame(c.width, c.height,
              std::vector<uint8_t>(std::min(size_t(c.width) * c.height, size_t(64)), 5));
    f.left = c.left;
    f.top = c.top;
    desc.frames.push_back(f);
    MessageRecorder messages;
    std::vector<ImageFrame> frames = decodeGif(makeGif(desc), kRgb16);
    ASSERT_EQ(frames.size(), 1u);
    const PixelBuffer& p = frames[0].pixels;
    ASSERT_EQ(p.stride, 12);
    const size_t limit = std::min(size_t(c.width) * c.height, size_t(64));
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        int fx = x - c.left, fy = y - c.top;
        bool inside = fx >= 0 && fy >= 0 && fx < c.width && fy < c.height &&
                      size_t(fy) * c.width + fx < limit;
        EXPECT_EQ(p.color(x, y), inside ? 0xF8FCF8u : 0u) << x << "," << y;
      }
      EXPECT_EQ(p.row(y)[10], 0);
      EXPECT_EQ(p.row(y)[11], 0);
    }
    EXPECT_TRUE(messages.messages.empty());
  }
}

TEST(GifDecoder, RefusesScreensBeyondTheLimits) {
  for (auto [w, h] : {std::pair{65535, 65535}, std::pair{0, 10}, std::pair{10, 0}}) {
    GifDescription desc = oneFrame(2, 1, {1, 2});
    desc.width = w;
    desc.height = h;
    MessageRecorder messages;
    EXPECT_TRUE(decodeGif(makeGif(desc)).empty()) << w << "x" << h;
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Image File Corrupt: test.gif",
                                        "Premature End Of Image File: test.gif"}));
  }
  // The animation budget stops decoding once the frames would hold too many pixels.
  GifDescription desc = threeFrames(1, 1, false);
  MessageRecorder messages;
  DecodeLimits limits;
  limits.maxAnimationPixels = 40;  // two 4x4 frames fit, the third does not
  std::vector<ImageFrame> frames = decodeGif(makeGif(desc), kRgb32, false, limits);
  EXPECT_EQ(frames.size(), 2u);
  EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Image File Corrupt: test.gif"}));
}

TEST(GifDecoder, SignatureExtensionsAndStrayBytes) {
  GifDescription desc = oneFrame(2, 1, {1, 2});
  desc.signature = "JIF89a";
  std::vector<uint8_t> file = makeGif(desc);
  // A comment and an application extension with several sub-blocks, and a stray byte, before
  // the image.
  std::vector<uint8_t> extras = {0x21, 0xFE, 3,   'a', 'b', 'c', 0,   0x21, 0xFF,
                                 11,   'N',  'E', 'T', 'S', 'C', 'A', 'P',  'E',
                                 '2',  '.',  '0', 3,   1,   0,   0,   0,    0x00};
  file.insert(file.begin() + 13 + 24, extras.begin(), extras.end());
  MessageRecorder messages;
  std::vector<ImageFrame> frames = decodeGif(file);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(colors(frames[0].pixels), lookUp({1, 2}, kPalette));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].caption, "Error");
  EXPECT_EQ(messages.messages[0].text, "Error: test.gif is not a valid image.");
}

TEST(GifDecoder, TruncatedFiles) {
  GifDescription desc = threeFrames(1, 2, false);
  std::vector<uint8_t> file = makeGif(desc);
  const size_t headerAndTable = 13 + 8 * 3;
  for (size_t n = 0; n < file.size(); ++n) {
    std::vector<uint8_t> cut(file.begin(), file.begin() + n);
    MessageRecorder messages;
    std::vector<ImageFrame> frames = decodeGif(cut);
    EXPECT_LE(frames.size(), 3u);
    if (n <= headerAndTable) EXPECT_TRUE(frames.empty()) << n;
    // Cut anywhere, even after its last frame: the file is named as ending early, and the
    // frames before the cut are kept.
    ASSERT_FALSE(messages.messages.empty()) << n;
    EXPECT_EQ(messages.messages.back().text, "Premature End Of Image File: test.gif") << n;
    for (const ImageFrame& f : frames) {
      EXPECT_EQ(f.pixels.width, 4);
      EXPECT_EQ(f.pixels.height, 4);
    }
  }
  // Cut inside the last frame's data: the first two frames survive intact.
  std::vector<uint8_t> cut(file.begin(), file.end() - 3);
  std::vector<ImageFrame> frames = decodeGif(cut);
  ASSERT_GE(frames.size(), 2u);
  EXPECT_EQ(colors(frames[0].pixels), std::vector<uint32_t>(16, kPalette[1]));
}

}  // namespace
}  // namespace media
