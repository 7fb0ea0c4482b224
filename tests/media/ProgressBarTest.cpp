// The loading progress bar: its geometry, its pixels, the stored picture under
// tests/reference/media/, and the copy to the screen from a buffered page.
//
// With SKIRROW_UPDATE_REFERENCES=1 the picture is written as the new reference instead.
#include "media/ProgressBar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "host/Gdi.h"
#include "host/ImageCompare.h"
#include "host/Png.h"
#include "host/Screen.h"
#include "platform/Window.h"
#include "scene/Canvas.h"
#include "scene/CreatorTable.h"
#include "support/HeadlessHost.h"

namespace media::testing {
namespace {

constexpr host::ColorRef kOrange = host::rgb(250, 90, 4);
constexpr host::ColorRef kBackground = host::rgb(40, 64, 96);

class ProgressBar : public testing_support::HeadlessHostTest {
 protected:
  host::Gdi& gdi() { return host::Host::get().gdi(); }

  // A 16-bit 5-6-5 picture of `w` x `h` filled with kBackground, selected into a memory DC.
  host::Hdc picture(int w, int h) {
    host::BitmapInfo info;
    info.width = w;
    info.height = -h;
    info.bitCount = 16;
    info.compression = host::BI_BITFIELDS;
    info.redMask = 0xF800, info.greenMask = 0x07E0, info.blueMask = 0x001F;
    bitmap = gdi().createDibSection(info, nullptr);
    host::Hdc dc = gdi().createCompatibleDc(0);
    gdi().selectObject(dc, bitmap);
    host::Hbrush brush = gdi().createSolidBrush(kBackground);
    gdi().fillRect(dc, {0, 0, w, h}, brush);
    gdi().deleteObject(brush);
    return dc;
  }

  // What `color` reads back as from a 5-6-5 picture.
  host::ColorRef in565(host::ColorRef color) {
    host::Hdc dc = picture(1, 1);
    gdi().setPixel(dc, 0, 0, color);
    return gdi().getPixel(dc, 0, 0);
  }

  host::Hbitmap bitmap = 0;
};

TEST_F(ProgressBar, Geometry) {
  ProgressGeometry g = progressGeometry(240, 320, 10);
  EXPECT_EQ(g.barWidth, 176);  // 180 down to a multiple of 8
  EXPECT_EQ(g.x, 32);
  EXPECT_EQ(g.y, 152);
  EXPECT_EQ(g.filled, 16);  // 17.6 -> 17 -> 16
  EXPECT_EQ(progressGeometry(240, 320, 150).filled, 176);
  EXPECT_EQ(progressGeometry(240, 320, 100).filled, 176);
  EXPECT_EQ(progressGeometry(240, 320, 0).filled, 0);
  EXPECT_EQ(progressGeometry(240, 320, -20).filled, 0);
  EXPECT_EQ(progressGeometry(240, 320, 4).filled, 0);  // 7 pixels: not one step yet
  ProgressGeometry vga = progressGeometry(480, 640, 50);
  EXPECT_EQ(vga.barWidth, 360);
  EXPECT_EQ(vga.x, 60);
  EXPECT_EQ(vga.y, 312);
  EXPECT_EQ(vga.filled, 180 & ~7);
  EXPECT_EQ(progressGeometry(250, 20, 0).barWidth, 184);  // 187 down to 184
  EXPECT_EQ(progressGeometry(250, 20, 0).x, 33);
}

TEST_F(ProgressBar, PixelsOfTheBar) {
  const host::ColorRef orange = in565(kOrange);
  host::Hdc dc = picture(240, 64);
  drawProgress(dc, 240, 64, "", 10);
  // Bar from x 32 to 208, y 24 to 40; filled 16 pixels.
  EXPECT_EQ(gdi().getPixel(dc, 32, 30), host::rgb(255, 255, 255));   // outline, left
  EXPECT_EQ(gdi().getPixel(dc, 207, 30), host::rgb(255, 255, 255));  // outline, right
  EXPECT_EQ(gdi().getPixel(dc, 100, 24), host::rgb(255, 255, 255));  // outline, top
  EXPECT_EQ(gdi().getPixel(dc, 100, 39), host::rgb(255, 255, 255));  // outline, bottom
  EXPECT_EQ(gdi().getPixel(dc, 33, 30), orange);
  EXPECT_EQ(gdi().getPixel(dc, 47, 30), orange);
  EXPECT_EQ(gdi().getPixel(dc, 48, 30), host::rgb(0, 0, 0));
  EXPECT_EQ(gdi().getPixel(dc, 206, 38), host::rgb(0, 0, 0));
  // Nothing outside the bar.
  EXPECT_EQ(gdi().getPixel(dc, 31, 30), gdi().getPixel(dc, 0, 0));
  EXPECT_EQ(gdi().getPixel(dc, 208, 30), gdi().getPixel(dc, 0, 0));
  EXPECT_EQ(gdi().getPixel(dc, 100, 23), gdi().getPixel(dc, 0, 0));
  EXPECT_EQ(gdi().getPixel(dc, 100, 40), gdi().getPixel(dc, 0, 0));
  EXPECT_EQ(gdi().getPixel(dc, 0, 0), in565(kBackground));
  // The DC keeps its own pen and mode.
  EXPECT_EQ(gdi().currentObject(dc, host::GdiObjectKind::Pen),
            gdi().currentObject(gdi().createCompatibleDc(0), host::GdiObjectKind::Pen));
}

TEST_F(ProgressBar, TextStaysInsideTheBar) {
  const host::ColorRef orange = in565(kOrange);
  const host::ColorRef background = in565(kBackground);
  host::Hdc dc = picture(240, 64);
  drawProgress(dc, 240, 64, "Load a name far too long to fit into the bar at all", 100);
  bool white = false;
  for (int x = 38; x < 200; ++x)
    for (int y = 25; y < 39; ++y)
      if (gdi().getPixel(dc, x, y) == host::rgb(255, 255, 255)) white = true;
  EXPECT_TRUE(white);  // the caption is drawn
  for (int y = 0; y < 64; ++y) {
    // Left of the clip the bar shows only its outline and fill.
    EXPECT_EQ(gdi().getPixel(dc, 34, y), y == 24 || y == 39 ? host::rgb(255, 255, 255)
                                         : y > 24 && y < 39 ? orange
                                                            : background)
        << y;
    EXPECT_EQ(gdi().getPixel(dc, 204, y), y == 24 || y == 39 ? host::rgb(255, 255, 255)
                                          : y > 24 && y < 39 ? orange
                                                             : background)
        << y;
  }
}

TEST_F(ProgressBar, MatchesTheStoredPicture) {
  host::Hdc dc = picture(240, 64);
  drawProgress(dc, 240, 64, "Load sceneGUI", 40);
  host::RgbImage image = host::testing::pictureOf(bitmap);
  const std::string path = std::string(SKIRROW_TEST_DATA) + "/../reference/media/progress.png";
  if (const char* update = std::getenv("SKIRROW_UPDATE_REFERENCES"); update && *update == '1') {
    ASSERT_TRUE(host::writePng(path, image));
    return;
  }
  auto reference = host::readPng(path);
  ASSERT_TRUE(reference) << "missing " << path;
  ASSERT_EQ(reference->width, image.width);
  ASSERT_EQ(reference->height, image.height);
  // Exact shapes; glyph edges may move a little between FreeType builds.
  size_t far = 0;
  for (size_t i = 0; i < image.rgb.size(); ++i)
    if (std::abs(image.rgb[i] - reference->rgb[i]) > 8) ++far;
  if (far * 200 > image.rgb.size()) host::writePng(path + ".actual.png", image);
  EXPECT_LE(far * 200, image.rgb.size()) << far << " channel values differ";
}

TEST_F(ProgressBar, BufferedPageShowsTheBarOnTheScreen) {
  scene::CreatorTable nothing;  // outlives the page: the page is made with it
  platform::Window main("Skirrow", 0, false);
  ASSERT_TRUE(main.create(0, 0, 240, 320));
  auto made = std::make_unique<scene::Canvas>("page", true, nothing);
  scene::Canvas* page = made.get();
  ASSERT_TRUE(main.addChild(std::move(made), 0, 0, 240, 320));
  drain();
  drawProgress(*page, "Load", 50);
  const std::uint16_t* screen = host::Host::get().screen().pixels();
  // Filled 88 pixels from x 32: orange up to 119, black from 120; rows 152 to 167. The caption
  // "Load" covers x 37 to about 60.
  EXPECT_EQ(screen[160 * 240 + 100], 0xFAC0);
  EXPECT_EQ(screen[160 * 240 + 119], 0xFAC0);
  EXPECT_EQ(screen[160 * 240 + 121], 0x0000);
  EXPECT_EQ(screen[152 * 240 + 100], 0xFFFF);
  // The back buffer holds the same bar.
  EXPECT_EQ(page->backBuffer()->pixels()[160 * 240 + 100], 0xFAC0);
}

}  // namespace
}  // namespace media::testing
