#include "media/Image.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include "host/Host.h"
#include "host/MessageBoxes.h"
#include "host/Messages.h"
#include "host/WindowManager.h"
#include "media/ImageCache.h"
#include "media/SurfaceFixture.h"
#include "media/TestPictures.h"
#include "platform/ResourceArchive.h"
#include "support/TempFolder.h"

namespace media {
namespace {

using testing::MessageRecorder;
using testing_support::TempFolder;

class Images : public testing::SurfaceTest {
 protected:
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return folder_.write(name, std::string(bytes.begin(), bytes.end()));
  }
  TempFolder folder_;
};

const std::vector<uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

// A GIF of w x h whose frame i is filled with palette index (i % 3) + 1 and stays up delays[i]
// hundredths of a second. A frame's key (when `keyed`) is palette entry 3, blue.
std::vector<uint8_t> filledGif(int w, int h, const std::vector<int>& delays, bool keyed = false) {
  testing::GifDescription desc;
  desc.width = w;
  desc.height = h;
  desc.globalPalette = kPalette;
  for (size_t i = 0; i < delays.size(); ++i) {
    testing::GifFrameDescription f;
    f.width = w;
    f.height = h;
    f.indices.assign(static_cast<size_t>(w) * h, static_cast<uint8_t>(i % 3 + 1));
    f.control = true;
    f.delay = delays[i];
    f.transparent = keyed;
    f.transparentIndex = 3;
    desc.frames.push_back(f);
  }
  return testing::makeGif(desc);
}

// A still GIF whose pixel (x, y) has palette index indexAt(x, y).
std::vector<uint8_t> patternGif(int w, int h, const std::function<uint8_t(int, int)>& indexAt) {
  testing::GifDescription desc;
  desc.width = w;
  desc.height = h;
  desc.globalPalette = kPalette;
  testing::GifFrameDescription f;
  f.width = w;
  f.height = h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) f.indices.push_back(indexAt(x, y));
  desc.frames.push_back(f);
  return testing::makeGif(desc);
}

class Listener : public FrameListener {
 public:
  void frameChanged(Image& image, int index) override {
    EXPECT_EQ(image.currentIndex(), index);
    heard.push_back(index);
  }
  std::vector<int> heard;
};

TEST(PowerOfTwo, NearestAndPaddedExponents) {
  struct Case {
    int n, nearest, padded;
  };
  // 2^k: nearest takes the closer power (ties go down), padded the next power up.
  for (Case c : {Case{96, 6, 7}, Case{100, 7, 7}, Case{1, 0, 0}, Case{0, 0, 0}, Case{2, 1, 1},
                 Case{3, 1, 2}, Case{5, 2, 3}, Case{6, 2, 3}, Case{7, 3, 3}, Case{64, 6, 6},
                 Case{65, 6, 7}, Case{480, 9, 9}, Case{640, 9, 10}}) {
    EXPECT_EQ(Image::powerOfTwoExponent(c.n, false), c.nearest) << c.n;
    EXPECT_EQ(Image::powerOfTwoExponent(c.n, true), c.padded) << c.n;
  }
}

TEST_F(Images, AnimatedGifCarriesDelaysAndSteps) {
  Image image(write("anim.gif", filledGif(2, 2, {10, 20, 30})));
  ASSERT_EQ(image.frameCount(), 3);
  EXPECT_TRUE(image.animated());
  EXPECT_TRUE(image.looping());
  EXPECT_EQ(image.fileName(), "anim.gif");
  EXPECT_FLOAT_EQ(image.frameDelay(0), 0.1f);
  EXPECT_FLOAT_EQ(image.frameDelay(1), 0.2f);
  EXPECT_FLOAT_EQ(image.frameDelay(2), 0.3f);
  EXPECT_EQ(image.frameDelay(3), 0.0f);
  EXPECT_EQ(image.frameDelay(-1), 0.0f);
  EXPECT_EQ(image.currentSurface()->getPixel(0, 0), 0xF80000u);  // 16-bit red, shifted back

  Listener listener;
  image.setListener(&listener);
  image.advance(0.1f);  // not strictly more than frame 0's 0.1 s
  EXPECT_EQ(image.currentIndex(), 0);
  image.advance(0.01f);
  EXPECT_EQ(image.currentIndex(), 1);
  EXPECT_EQ(image.elapsed(), 0.0f);
  EXPECT_EQ(image.currentSurface()->getPixel(0, 0), 0x00FC00u);
  image.advance(0.15f);  // frame 1 waits 0.2 s
  EXPECT_EQ(image.currentIndex(), 1);
  image.advance(0.1f);
  EXPECT_EQ(image.currentIndex(), 2);
  image.advance(0.31f);  // past the last frame: back to 0
  EXPECT_EQ(image.currentIndex(), 0);
  image.advance(-1.0f);  // a negative step moves at once
  EXPECT_EQ(image.currentIndex(), 1);
  EXPECT_EQ(listener.heard, (std::vector<int>{1, 2, 0, 1}));

  image.setLooping(false);
  image.advance(-1.0f);
  image.advance(-1.0f);
  EXPECT_EQ(image.currentIndex(), 2);  // stays on the last frame

  image.setFrame(-5);
  EXPECT_EQ(image.currentIndex(), 0);
  image.setFrame(99);
  EXPECT_EQ(image.currentIndex(), 2);
  EXPECT_EQ(image.currentSurface(), image.surfaceAt(2));
}

TEST_F(Images, StillPicturesNeitherStepNorTell) {
  Image image(write("still.gif", filledGif(2, 2, {50})));
  ASSERT_EQ(image.frameCount(), 1);
  EXPECT_FALSE(image.animated());
  EXPECT_EQ(image.frameDelay(0), 0.0f);  // still pictures have no delay to wait
  Listener listener;
  image.setListener(&listener);
  image.advance(10.0f);
  image.advance(-1.0f);
  image.setFrame(3);
  EXPECT_EQ(image.currentIndex(), 0);
  EXPECT_TRUE(listener.heard.empty());
}

TEST_F(Images, MissingFileGivesAnEmptyImageAndOneMessage) {
  MessageRecorder messages;
  Image image(folder_ / "none.gif");
  EXPECT_EQ(image.frameCount(), 0);
  EXPECT_EQ(image.currentSurface(), nullptr);
  EXPECT_EQ(image.width(), 0);
  image.advance(-1.0f);
  image.setFrame(2);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].caption, "Exception");
}

TEST_F(Images, MessagesBecomeHostMessageBoxesWithoutAReporter) {
  Image missing(folder_ / "none.bmp");
  Image unknown(folder_ / "pic.png");
  const auto& boxes = host::Host::get().messageBoxes().records();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "Exception");
  EXPECT_EQ(boxes[0].text, "Error: can not find the image '" + (folder_ / "none.bmp") + "'.");
  EXPECT_EQ(boxes[0].type, host::MB_OK | host::MB_ICONEXCLAMATION);
  EXPECT_EQ(boxes[0].owner, 0u);
  EXPECT_EQ(boxes[1].caption, "Error");
  EXPECT_EQ(boxes[1].text, "Error: " + (folder_ / "pic.png") + " is not a supported image.");
}

TEST_F(Images, JpegLibraryMessagesBelongToTheActiveWindow) {
  host::WindowClass main;
  main.name = "MAIN";
  main.proc = [](host::Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
    return host::Host::get().windows().defWindowProc(w, m, wp, lp);
  };
  ASSERT_TRUE(wm().registerClass(main));
  host::Hwnd window =
      wm().createWindow(0, "MAIN", "Skirrow", host::WS_VISIBLE, 0, 0, 240, 320, 0, 0, nullptr);
  ASSERT_NE(window, 0u);
  ASSERT_EQ(wm().activeWindow(), window);
  const std::string path = write("broken.jpg", {0xFF, 0xD8, 0xFF, 0x00, 'n', 'o', 'p', 'e'});
  Image image(path);
  EXPECT_EQ(image.frameCount(), 0);
  // A warning (the data ends early) and the fatal error (no picture in it): both boxes belong to
  // the active window and carry the error icon.
  const auto& boxes = host::Host::get().messageBoxes().records();
  ASSERT_EQ(boxes.size(), 2u);
  for (const host::MessageBoxRecord& box : boxes) {
    EXPECT_EQ(box.owner, window);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.type, host::MB_OK | host::MB_ICONERROR);
    EXPECT_EQ(box.text.rfind("Error happened when loading image:\n" + path + "\n", 0), 0u)
        << box.text;
  }
}

TEST_F(Images, PaddedPowerOfTwoKeepsThePictureInTheCorner) {
  // 6 x 3, index = column % 3 + 1 (red, green, blue, red, green, blue); key blue, delay 0.
  Image image(write("pad.gif", filledGif(6, 3, {0, 0}, true)), true, true);
  ASSERT_EQ(image.frameCount(), 2);
  EXPECT_EQ(image.width(), 8);
  EXPECT_EQ(image.height(), 4);
  EXPECT_EQ(image.decodedWidth(), 6);
  EXPECT_EQ(image.decodedHeight(), 3);
  EXPECT_EQ(image.widthExponent(), 3);
  EXPECT_EQ(image.heightExponent(), 2);
  for (int i = 0; i < 2; ++i) {
    Surface* frame = image.surfaceAt(i);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->width(), 8);
    EXPECT_TRUE(frame->transparent);
    EXPECT_EQ(frame->transparentColor, 0x0000FFu);
    const uint32_t colour = i == 0 ? 0xF80000u : 0x00FC00u;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x)
        EXPECT_EQ(frame->getPixel(x, y), x < 6 && y < 3 ? colour : 0u) << i << ":" << x << "," << y;
  }
}

TEST_F(Images, NearestPowerOfTwoStretchesThePicture) {
  // Column x has index x % 3 + 1, row y adds nothing: colours by column.
  Image image(write("near.gif", patternGif(6, 3, [](int x, int) { return x % 3 + 1; })), true,
              false);
  ASSERT_EQ(image.frameCount(), 1);
  // 6 -> 4 (tie of 4 and 8 goes down), 3 -> 2.
  EXPECT_EQ(image.width(), 4);
  EXPECT_EQ(image.height(), 2);
  EXPECT_EQ(image.widthExponent(), 2);
  EXPECT_EQ(image.heightExponent(), 1);
  // step 6 * 4096 / 4 = 6144: columns 0, 1, 3, 4 -> red, green, red, green.
  const uint32_t expected[4] = {0xF80000, 0x00FC00, 0xF80000, 0x00FC00};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(image.currentSurface()->getPixel(x, y), expected[x]);
  // Already a power of two: nothing is replaced.
  Image square(write("sq.gif", patternGif(4, 2, [](int, int) { return 1; })), true, false);
  EXPECT_EQ(square.width(), 4);
  EXPECT_EQ(square.widthExponent(), 2);
}

TEST_F(Images, OnlyTexturePicturesAreSwapped) {
  const std::string path = write("red.gif", filledGif(1, 1, {0}));
  setUseDeviceDepth(false);
  setSwapRedBlue(true);
  Image plain(path);
  Image texture(path, true, false);
  ASSERT_EQ(plain.frameCount(), 1);
  ASSERT_EQ(texture.frameCount(), 1);
  EXPECT_EQ(plain.currentSurface()->bitsPerPixel(), 32);
  EXPECT_FALSE(plain.currentSurface()->layout().swapRedBlue);
  EXPECT_TRUE(texture.currentSurface()->layout().swapRedBlue);
  EXPECT_EQ(testing::raw(*plain.currentSurface(), 0, 0), 0xFF0000u);
  EXPECT_EQ(testing::raw(*texture.currentSurface(), 0, 0), 0x0000FFu);
  EXPECT_FALSE(texture.currentSurface()->useDeviceDepth());
}

TEST_F(Images, FilledImageRoundsToTheNearestPowers) {
  Image image(5, 3, 0x123456, true);
  EXPECT_EQ(image.width(), 4);
  EXPECT_EQ(image.height(), 2);
  EXPECT_EQ(image.decodedWidth(), 5);
  EXPECT_EQ(image.fileName(), "");
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(image.currentSurface()->getPixel(x, y), 0x103450u);
  Image plain(5, 3, 0xFFFFFF, false);
  EXPECT_EQ(plain.width(), 5);
  EXPECT_EQ(plain.currentSurface()->getPixel(4, 2), 0xF8FCF8u);
}

TEST_F(Images, CopyIsDeep) {
  Image image(write("copy.gif", filledGif(2, 2, {10, 20}, true)));
  image.setFrame(1);
  Image copy(image);
  ASSERT_EQ(copy.frameCount(), 2);
  EXPECT_EQ(copy.fileName(), "copy.gif");
  EXPECT_EQ(copy.currentIndex(), 1);
  EXPECT_TRUE(copy.animated());
  EXPECT_FLOAT_EQ(copy.frameDelay(1), 0.2f);
  EXPECT_TRUE(copy.surfaceAt(0)->transparent);
  EXPECT_NE(copy.surfaceAt(0), image.surfaceAt(0));
  copy.surfaceAt(0)->setPixel(0, 0, 0xFFFFFF);
  EXPECT_EQ(image.surfaceAt(0)->getPixel(0, 0), 0xF80000u);
  EXPECT_EQ(copy.surfaceAt(1)->getPixel(1, 1), 0x00FC00u);
}

TEST_F(Images, CacheLoadsEachNameOncePerOwner) {
  write("a.gif", filledGif(2, 2, {0}));
  write("b.gif", filledGif(3, 3, {0}));
  ImageCache canvas, page;
  bool cached = true;
  Image* first = canvas.get(folder_.path(), "a.gif", false, false, &cached);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(cached);
  EXPECT_EQ(first->frameCount(), 1);
  // The file is gone, yet the cache answers without touching it: no message, same Image.
  std::filesystem::remove(folder_ / "a.gif");
  MessageRecorder messages;
  EXPECT_EQ(canvas.get(folder_.path() + "\\", "a.gif", false, false, &cached), first);
  EXPECT_TRUE(cached);
  EXPECT_TRUE(messages.messages.empty());
  // Another owner loads its own (and now finds no file).
  Image* other = page.get(folder_.path(), "a.gif", false, false, &cached);
  EXPECT_NE(other, first);
  EXPECT_FALSE(cached);
  EXPECT_EQ(other->frameCount(), 0);
  EXPECT_EQ(messages.messages.size(), 1u);
  // Names are exact.
  EXPECT_FALSE(canvas.contains("A.gif"));
  Image* b = canvas.get(folder_.path() + "/", "b.gif");
  EXPECT_EQ(b->width(), 3);
  EXPECT_EQ(canvas.size(), 2);

  EXPECT_TRUE(canvas.removeImage(b));
  EXPECT_FALSE(canvas.removeImage(b));
  EXPECT_FALSE(canvas.removeImage(other));
  canvas.remove("a.gif");
  EXPECT_EQ(canvas.size(), 0);
  page.clear();
  EXPECT_EQ(page.size(), 0);
}

void writeZip(const std::string& path,
              const std::vector<std::pair<std::string, std::vector<uint8_t>>>& members) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  for (const auto& [name, data] : members) {
    zip_fileinfo info{};
    ASSERT_EQ(zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                    Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0),
              ZIP_OK);
    ASSERT_EQ(zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())), ZIP_OK);
    ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
  }
  ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

TEST_F(Images, PicturesAreFoundInsideTheFolderArchive) {
  const std::string gui = folder_.path() + "/GUI/";
  std::filesystem::create_directories(gui);
  testing::BmpDescription bmp;
  bmp.width = 2;
  bmp.height = 2;
  bmp.bitCount = 24;
  writeZip(gui + "GUI.zip", {{"Sprites/Anim.GIF", filledGif(2, 1, {10, 40})},
                             {"face.bmp", testing::makeBmp(bmp, [](int x, int y) {
                                return x == 1 && y == 0 ? 0x00FF00u : 0x0000FFu;
                              })}});
  platform::setTempFolder(folder_.path() + "/tmp");
  platform::registerArchive("GUI.zip", gui);
  {
    MessageRecorder messages;
    // Member names are matched without regard to case; the member's folder is part of the name.
    Image anim(gui + "sprites/anim.gif");
    ASSERT_EQ(anim.frameCount(), 2);
    EXPECT_FLOAT_EQ(anim.frameDelay(1), 0.4f);
    EXPECT_EQ(anim.surfaceAt(1)->getPixel(1, 0), 0x00FC00u);
    ImageCache cache;
    Image* face = cache.get(folder_.path() + "\\GUI", "face.bmp");
    ASSERT_EQ(face->frameCount(), 1);
    EXPECT_EQ(face->currentSurface()->getPixel(1, 0), 0x00FC00u);
    EXPECT_EQ(face->currentSurface()->getPixel(0, 1), 0x0000F8u);
    EXPECT_TRUE(messages.messages.empty());
    // The extracted copies are deleted once read.
    EXPECT_TRUE(!std::filesystem::exists(folder_.path() + "/tmp") ||
                std::filesystem::is_empty(folder_.path() + "/tmp"));
  }
  platform::releaseArchives();
}

}  // namespace
}  // namespace media
