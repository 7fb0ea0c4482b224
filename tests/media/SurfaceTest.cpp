#include "media/Surface.h"

#include <gtest/gtest.h>

#include "host/Gdi.h"
#include "host/Host.h"
#include "media/Blit.h"
#include "media/SurfaceFixture.h"
#include "media/TestPictures.h"
#include "support/TempFolder.h"

namespace media {
namespace {

using Surfaces = testing::SurfaceTest;
using testing::make;

host::Gdi& gdi() {
  return host::Host::get().gdi();
}

TEST_F(Surfaces, DepthFollowsTheSwitchesAndTheDisplay) {
  auto device = Surface::create(3, 2, true);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->bitsPerPixel(), 16);  // the qvga device is RGB565
  EXPECT_EQ(device->bytesPerPixel(), 2);
  EXPECT_EQ(device->stride(), 8);  // ((16 * 3 + 31) / 32) * 4
  EXPECT_EQ(device->imageSize(), 16);
  EXPECT_TRUE(device->useDeviceDepth());
  auto full = Surface::create(-3, -2, false);  // sides taken as absolute values
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(full->bitsPerPixel(), 32);
  EXPECT_EQ(full->width(), 3);
  EXPECT_EQ(full->height(), 2);
  EXPECT_EQ(full->stride(), 12);
  EXPECT_FALSE(full->useDeviceDepth());
  EXPECT_EQ(Surface::create(0, 5, true), nullptr);
  // A fresh Surface is cleared, opaque, not uploaded, without key or delay.
  EXPECT_EQ(full->getPixel(2, 1), 0u);
  EXPECT_TRUE(full->opaque);
  EXPECT_FALSE(full->uploaded);
  EXPECT_FALSE(full->transparent);
  EXPECT_EQ(full->delay, 0.0f);
}

TEST_F(Surfaces, DisplayDepthIsAskedOnceFromTheHost) {
  host::HostConfig config;
  config.backend = host::BackendKind::Headless;
  config.profile = *host::findProfile("qvga");
  config.profile.displayDepth = 24;
  host::Host::restart(config);
  setDisplayDepth(0);
  EXPECT_EQ(displayDepth(), 32);
  auto s = Surface::create(2, 2, true);
  EXPECT_EQ(s->bitsPerPixel(), 32);
  s.reset();
  // Cached: a later change of the host does not reach pictures until the value is dropped.
  config.profile.displayDepth = 8;
  host::Host::restart(config);
  EXPECT_EQ(displayDepth(), 32);
  setDisplayDepth(0);
  EXPECT_EQ(displayDepth(), 16);
}

TEST_F(Surfaces, OwnsItsBitmapAndMemoryContext) {
  auto s = Surface::create(4, 4, true);
  ASSERT_NE(s, nullptr);
  const host::Hdc dc = s->dc();
  const host::Hbitmap bitmap = s->bitmap();
  EXPECT_TRUE(gdi().isDc(dc));
  EXPECT_EQ(gdi().currentObject(dc, host::GdiObjectKind::Bitmap), bitmap);
  host::BitmapObject object;
  ASSERT_TRUE(gdi().getObject(bitmap, object));
  EXPECT_EQ(object.bits, s->bits());
  EXPECT_LT(object.dibHeight, 0);  // top-down
  EXPECT_EQ(object.masks[0], 0xF800u);
  s.reset();
  EXPECT_FALSE(gdi().isDc(dc));
  EXPECT_EQ(gdi().kindOf(bitmap), host::GdiObjectKind::None);
}

TEST_F(Surfaces, FromFrameAndCopyKeepPixelsKeyAndDelay) {
  auto pixels = PixelBuffer::create(3, 2, PixelLayout{32, false});
  ASSERT_TRUE(pixels);
  ImageFrame frame{std::move(*pixels), true, 0x00FF00, 0.25f};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      uint32_t v = 0x10101u * (y * 3 + x + 1);
      std::memcpy(frame.pixels.row(y) + x * 4, &v, 4);
    }
  auto s = Surface::fromFrame(frame, false);
  ASSERT_NE(s, nullptr);
  auto c = s->copy();
  ASSERT_NE(c, nullptr);
  for (const Surface* t : {s.get(), c.get()}) {
    EXPECT_EQ(t->width(), 3);
    EXPECT_EQ(t->bitsPerPixel(), 32);
    EXPECT_TRUE(t->transparent);
    EXPECT_EQ(t->transparentColor, 0x00FF00u);
    EXPECT_EQ(t->delay, 0.25f);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(t->getPixel(x, y), 0x10101u * (y * 3 + x + 1));
  }
  EXPECT_NE(c->bits(), s->bits());
  c->setPixel(0, 0, 0xFFFFFF);
  EXPECT_EQ(s->getPixel(0, 0), 0x10101u);
  ImageFrame empty;
  EXPECT_EQ(Surface::fromFrame(empty, true), nullptr);
}

TEST_F(Surfaces, GdiFormsDrawOntoOtherContexts) {
  auto src = make(4, 1, 32);
  for (int x = 0; x < 4; ++x) src->setPixel(x, 0, 0x10u * (x + 1));  // blue 0x10 .. 0x40
  auto dst = make(4, 1, 32);

  // bitBlt copies the whole Surface size from (srcX, srcY).
  EXPECT_TRUE(src->bitBlt(dst->dc(), 1, 0, host::SRCCOPY));
  EXPECT_EQ(dst->getPixel(0, 0), 0u);
  EXPECT_EQ(dst->getPixel(1, 0), 0x10u);
  EXPECT_EQ(dst->getPixel(3, 0), 0x30u);

  // stretchBlt with a negative destination width mirrors; negative source values: whole Surface.
  EXPECT_TRUE(src->stretchBlt(dst->dc(), 4, 0, -4, 1, host::SRCCOPY));
  EXPECT_EQ(dst->getPixel(0, 0), 0x40u);
  EXPECT_EQ(dst->getPixel(1, 0), 0x30u);
  EXPECT_EQ(dst->getPixel(2, 0), 0x20u);
  EXPECT_EQ(dst->getPixel(3, 0), 0x10u);
  // Widened 2 -> 4 from column 2.
  EXPECT_TRUE(src->stretchBlt(dst->dc(), 0, 0, 4, 1, host::SRCCOPY, 2, 0, 2, 1));
  EXPECT_EQ(dst->getPixel(0, 0), 0x30u);
  EXPECT_EQ(dst->getPixel(3, 0), 0x40u);

  // transparentBlt skips the key, given as 0x00RRGGBB.
  src->setPixel(1, 0, 0xFF00FF);
  fill(*dst, 0x123456, 0, 0, -1, -1, true);
  EXPECT_TRUE(src->transparentBlt(dst->dc(), 0, 0, 4, 1, 0xFF00FF));
  EXPECT_EQ(dst->getPixel(0, 0), 0x10u);
  EXPECT_EQ(dst->getPixel(1, 0), 0x123456u);
  EXPECT_EQ(dst->getPixel(2, 0), 0x30u);
}

TEST_F(Surfaces, SixteenBitSurfacesLookRightToGdi) {
  auto s = make(1, 1, 16);
  s->setPixel(0, 0, 0xFF0000);
  EXPECT_EQ(gdi().getPixel(s->dc(), 0, 0), host::rgb(255, 0, 0));
}

TEST_F(Surfaces, LoadSurfaceTakesTheFirstFrameInTheAskedLayout) {
  testing_support::TempFolder dir;
  testing::GifDescription desc;
  desc.width = 2;
  desc.height = 1;
  desc.globalPalette = {0x000000, 0xFF0000, 0x0000FF};
  for (uint8_t index : {1, 2}) {
    testing::GifFrameDescription f;
    f.width = 2;
    f.height = 1;
    f.indices = {index, 0};
    f.control = true;
    f.delay = 7;
    desc.frames.push_back(f);
  }
  std::vector<uint8_t> gif = testing::makeGif(desc);
  const std::string path = dir.write("two.gif", std::string(gif.begin(), gif.end()));

  auto device = loadSurface(path, true, false);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->bitsPerPixel(), 16);
  EXPECT_EQ(testing::raw(*device, 0, 0), 0xF800u);  // frame 0: red
  EXPECT_FLOAT_EQ(device->delay, 0.07f);
  auto swapped = loadSurface(path, false, true);
  ASSERT_NE(swapped, nullptr);
  EXPECT_EQ(swapped->bitsPerPixel(), 32);
  EXPECT_TRUE(swapped->layout().swapRedBlue);
  EXPECT_EQ(testing::raw(*swapped, 0, 0), 0x0000FFu);

  testing::MessageRecorder messages;
  EXPECT_EQ(loadSurface(dir / "two.png", true, false), nullptr);
  EXPECT_EQ(loadSurface(dir / "none.bmp", true, false), nullptr);
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(messages.messages[0].caption, "Error");
  EXPECT_EQ(messages.messages[1].caption, "Exception");
}

}  // namespace
}  // namespace media
