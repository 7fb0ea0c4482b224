// The wave file reader: the canonical layout, chunks of other tools, and what is not a wave file.
#include "media/WaveFile.h"

#include <gtest/gtest.h>

#include "media/WaveBytes.h"

namespace media::testing {
namespace {

std::optional<WaveLayout> layoutOf(const std::string& bytes) {
  return readWaveLayout(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(WaveFile, CanonicalHeaderGivesFormatAndSamplesFrom44) {
  std::string file = canonicalWave(2, 22050, 16, std::string(400, 'x'));
  ASSERT_EQ(file.size(), 444u);
  auto layout = layoutOf(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->format.formatTag, 1);
  EXPECT_EQ(layout->format.channels, 2);
  EXPECT_EQ(layout->format.samplesPerSec, 22050u);
  EXPECT_EQ(layout->format.avgBytesPerSec, 88200u);
  EXPECT_EQ(layout->format.blockAlign, 4);
  EXPECT_EQ(layout->format.bitsPerSample, 16);
  EXPECT_EQ(layout->format.cbSize, 0);
  EXPECT_EQ(layout->dataOffset, 44u);
  EXPECT_EQ(layout->dataLength, 400u);  // file length - 44
}

TEST(WaveFile, HeaderOnlyFileIsAnEmptySound) {
  auto layout = layoutOf(canonicalWave(1, 11025, 8, ""));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->dataOffset, 44u);
  EXPECT_EQ(layout->dataLength, 0u);
}

TEST(WaveFile, SkipsChunksOfOtherToolsWithTheirPadding) {
  // A "fmt " of 18 bytes (with cbSize), an odd "LIST" followed by its pad byte, a "fact".
  std::string fmt = fmtBody(1, 1, 8000, 8);
  putU16(fmt, 0);
  std::string list =
      chunk("LIST", std::string("INFOISFT\x05\0\0\0Lavf\0", 17));  // 17 bytes: padded
  std::string fact = chunk("fact", std::string("\x10\0\0\0", 4));
  std::string file = riff(chunk("fmt ", fmt) + list + fact + chunk("data", "abcdef"));
  auto layout = layoutOf(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->format.samplesPerSec, 8000u);
  EXPECT_EQ(layout->dataLength, 6u);
  EXPECT_EQ(file.substr(layout->dataOffset, layout->dataLength), "abcdef");
}

TEST(WaveFile, ChunksAfterTheSamplesAreNotSamples) {
  std::string file = canonicalWave(1, 11025, 8, "12345678") + chunk("LIST", "INFOjunk");
  auto layout = layoutOf(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->dataOffset, 44u);
  EXPECT_EQ(layout->dataLength, 8u);
}

TEST(WaveFile, FormatAfterTheSamplesIsFound) {
  std::string file = riff(chunk("data", "abcd") + chunk("fmt ", fmtBody(1, 1, 11025, 8)));
  auto layout = layoutOf(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->dataOffset, 20u);
  EXPECT_EQ(layout->dataLength, 4u);
}

TEST(WaveFile, FileCutShortPlaysWhatIsLeft) {
  std::string file = riff(chunk("fmt ", fmtBody(1, 1, 11025, 8))) + "data";
  putU32(file, 1000);
  file += std::string(100, 'z');
  auto layout = layoutOf(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->dataLength, 100u);
  // A streaming writer's "unknown" size reads as the rest of the file, too.
  std::string streamed = riff(chunk("fmt ", fmtBody(1, 1, 11025, 8))) + "data";
  putU32(streamed, 0xFFFFFFFF);
  streamed += std::string(10, 'z');
  ASSERT_TRUE(layoutOf(streamed));
  EXPECT_EQ(layoutOf(streamed)->dataLength, 10u);
}

TEST(WaveFile, ExtensiblePcmCountsAsPcm) {
  std::string fmt = fmtBody(0xFFFE, 2, 44100, 16);
  putU16(fmt, 22);                 // cbSize
  putU16(fmt, 16);                 // valid bits
  putU32(fmt, 3);                  // channel mask
  putU16(fmt, 1);                  // sub-format: PCM ...
  fmt += std::string(14, '\x01');  // ... rest of the GUID
  auto layout = layoutOf(riff(chunk("fmt ", fmt) + chunk("data", "abcd")));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->format.formatTag, 1);
  EXPECT_EQ(layout->format.channels, 2);

  std::string floatFmt = fmtBody(0xFFFE, 2, 44100, 32);
  putU16(floatFmt, 22);
  putU16(floatFmt, 32);
  putU32(floatFmt, 3);
  putU16(floatFmt, 3);  // IEEE float
  floatFmt += std::string(14, '\x01');
  EXPECT_FALSE(layoutOf(riff(chunk("fmt ", floatFmt) + chunk("data", "abcd"))));
}

TEST(WaveFile, WhatIsNotAPcmWaveFileIsRefused) {
  const std::string fmt = chunk("fmt ", fmtBody(1, 1, 11025, 8));
  const std::string data = chunk("data", "abcd");
  EXPECT_FALSE(layoutOf(""));
  EXPECT_FALSE(layoutOf("RIFF"));
  EXPECT_FALSE(layoutOf(riff("").substr(0, 11)));
  std::string rifx = riff(fmt + data);
  rifx[3] = 'X';
  EXPECT_FALSE(layoutOf(rifx));
  std::string avi = riff(fmt + data);
  avi.replace(8, 4, "AVI ");
  EXPECT_FALSE(layoutOf(avi));
  EXPECT_FALSE(layoutOf(riff(fmt)));                                             // no samples
  EXPECT_FALSE(layoutOf(riff(data)));                                            // no format
  EXPECT_FALSE(layoutOf(riff(chunk("fmt ", fmtBody(3, 1, 11025, 32)) + data)));  // float
  EXPECT_FALSE(layoutOf(riff(chunk("fmt ", fmtBody(2, 1, 11025, 4)) + data)));   // ADPCM
  EXPECT_FALSE(layoutOf(riff(chunk("fmt ", fmtBody(1, 1, 11025, 8).substr(0, 14)) + data)));
  // A "fmt " that claims more than the file holds.
  std::string cut = riff(chunk("fmt ", fmtBody(1, 1, 11025, 8), 400));
  EXPECT_FALSE(layoutOf(cut));
}

}  // namespace
}  // namespace media::testing
