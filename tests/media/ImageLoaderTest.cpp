#include "media/ImageLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "media/TestPictures.h"

namespace media {
namespace {

using testing::MessageRecorder;

const DecodeOptions kOptions{PixelLayout{32, false}, DecodeLimits{}};

TEST(ImageLoader, DecoderIsChosenByTheFirstEndingFound) {
  struct Case {
    const char* path;
    ImageKind kind;
  };
  for (Case c : {Case{"pic.jpg", ImageKind::Jpeg}, Case{"PIC.JPG", ImageKind::Jpeg},
                 Case{"pic.jpeg", ImageKind::Jpeg}, Case{"pic.JPEG", ImageKind::Jpeg},
                 Case{"pic.gif", ImageKind::Gif}, Case{"pic.GIF", ImageKind::Gif},
                 Case{"pic.bmp", ImageKind::Bmp}, Case{"pic.BMP", ImageKind::Bmp},
                 Case{"pic.jpg.bmp", ImageKind::Jpeg}, Case{"pic.bmp.gif", ImageKind::Gif},
                 Case{"maps.gif\\road.bmp", ImageKind::Gif},
                 Case{"pic.Gif", ImageKind::Unsupported}, Case{"pic.Jpg", ImageKind::Unsupported},
                 Case{"pic.png", ImageKind::Unsupported}, Case{"", ImageKind::Unsupported}}) {
    EXPECT_EQ(imageKindOf(c.path), c.kind) << c.path;
  }
}

class ImageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("media_loader_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::filesystem::path p = dir_ / name;
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return p.string();
  }

  std::filesystem::path dir_;
};

std::vector<uint8_t> threeFrameGif() {
  testing::GifDescription desc;
  desc.width = 2;
  desc.height = 2;
  desc.globalPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  for (uint8_t i = 1; i <= 3; ++i) {
    testing::GifFrameDescription f;
    f.width = f.height = 2;
    f.indices.assign(4, i);
    f.lzw.minCodeSize = 2;
    f.control = true;
    f.delay = i * 10;
    desc.frames.push_back(f);
  }
  return testing::makeGif(desc);
}

std::vector<uint8_t> tinyBmp() {
  testing::BmpDescription desc;
  desc.width = 2;
  desc.height = 2;
  desc.bitCount = 24;
  return testing::makeBmp(desc, [](int x, int y) { return x == y ? 0x00FF00u : 0x0000FFu; });
}

TEST_F(ImageFiles, LoadsEachFormatFromAFile) {
  MessageRecorder messages;
  std::string gif = write("anim.gif", threeFrameGif());
  std::optional<ImageFrame> first = loadImageFile(gif, kOptions);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->pixels.color(0, 0), 0xFF0000u);
  EXPECT_FLOAT_EQ(first->delay, 0.1f);
  std::vector<ImageFrame> frames = loadImageFrames(gif, kOptions);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[2].pixels.color(1, 1), 0x0000FFu);

  std::optional<ImageFrame> bmp = loadImageFile(write("tiny.bmp", tinyBmp()), kOptions);
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->pixels.color(1, 1), 0x00FF00u);
  EXPECT_EQ(bmp->pixels.color(1, 0), 0x0000FFu);
  EXPECT_EQ(loadImageFrames(write("tiny2.bmp", tinyBmp()), kOptions).size(), 1u);

  std::optional<ImageFrame> jpeg = loadImageFile(
      write("flat.jpg", testing::makeJpeg(8, 8, 3, 95, [](int, int) { return 0x808080u; })),
      kOptions);
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->pixels.width, 8);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ImageFiles, BackslashPathsAreFound) {
  std::string path = write("tiny.bmp", tinyBmp());
  std::replace(path.begin(), path.end(), '/', '\\');
  MessageRecorder messages;
  EXPECT_TRUE(loadImageFile(path, kOptions));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ImageFiles, FailuresAreReportedWithTheirCaptionAndIcon) {
  {
    MessageRecorder messages;
    std::string missing = (dir_ / "missing.bmp").string();
    EXPECT_FALSE(loadImageFile(missing, kOptions));
    EXPECT_TRUE(loadImageFrames((dir_ / "missing.gif").string(), kOptions).empty());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].caption, "Exception");
    EXPECT_EQ(messages.messages[0].text, "Error: can not find the image '" + missing + "'.");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
  }
  {
    // The name decides before the file is opened: nothing about a missing file.
    MessageRecorder messages;
    EXPECT_FALSE(loadImageFile("nowhere/pic.Gif", kOptions));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Error");
    EXPECT_EQ(messages.messages[0].text, "Error: nowhere/pic.Gif is not a supported image.");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
  }
  {
    // A bitmap named .jpg.bmp goes to the JPEG decoder, which rejects it and the program
    // carries on.
    MessageRecorder messages;
    std::string path = write("pic.jpg.bmp", tinyBmp());
    EXPECT_FALSE(loadImageFile(path, kOptions));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages.messages[0].text, "Error happened when loading image:\n" + path +
                                             "\nNot a JPEG file: starts with 0x42 0x4d");
  }
  {
    MessageRecorder messages;
    EXPECT_FALSE(decodeImage("x.gif", std::vector<uint8_t>{'G', 'I', 'F'}, kOptions));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Premature End Of Image File: x.gif"}));
  }
  {
    // A path built the device's way is shown resolved, with '/'.
    MessageRecorder messages;
    std::string built = dir_.string() + "\\sub\\..\\.\\missing.bmp";
    EXPECT_FALSE(loadImageFile(built, kOptions));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "Error: can not find the image '" + (dir_ / "missing.bmp").string() + "'.");
  }
}

TEST(PixelSwitches, DepthFollowsTheDisplayAndTheSwitches) {
  const bool savedDevice = useDeviceDepth(), savedSwap = swapRedBlue();
  const int savedDepth = displayDepth();
  struct Case {
    int display, expected;
  };
  for (Case c :
       {Case{1, 16}, Case{8, 16}, Case{16, 16}, Case{18, 16}, Case{24, 32}, Case{32, 32}}) {
    setDisplayDepth(c.display);
    EXPECT_EQ(pictureDepth(true), c.expected) << c.display;
    EXPECT_EQ(pictureDepth(false), 32) << c.display;
  }
  setDisplayDepth(16);
  setUseDeviceDepth(true);
  setSwapRedBlue(false);
  EXPECT_EQ(currentLayout().bitsPerPixel, 16);
  EXPECT_FALSE(currentLayout().swapRedBlue);
  // The set-up the 3D driver uses.
  setUseDeviceDepth(false);
  setSwapRedBlue(true);
  EXPECT_EQ(currentLayout().bitsPerPixel, 32);
  EXPECT_TRUE(currentLayout().swapRedBlue);
  setUseDeviceDepth(savedDevice);
  setSwapRedBlue(savedSwap);
  setDisplayDepth(savedDepth);
}

}  // namespace
}  // namespace media
