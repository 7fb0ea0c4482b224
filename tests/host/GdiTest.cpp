#include "host/Gdi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "HostFixture.h"
#include "ImageCompare.h"
#include "host/Screen.h"

namespace host::testing {
namespace {

class GdiTest : public HostTest {
 protected:
  Gdi& gdi() { return Host::get().gdi(); }

  // A memory DC over a new DIB; both are released by the test's host shutdown.
  Hdc canvas(int width, int height, int bits, Hbitmap* bitmap = nullptr, bool topDown = true) {
    BitmapInfo info;
    info.width = width;
    info.height = topDown ? -height : height;
    info.bitCount = bits;
    if (bits == 16) {
      info.compression = BI_BITFIELDS;
      info.redMask = 0xF800, info.greenMask = 0x07E0, info.blueMask = 0x001F;
    }
    if (bits == 32) {
      info.compression = BI_BITFIELDS;
      info.redMask = 0xFF0000, info.greenMask = 0xFF00, info.blueMask = 0xFF;
    }
    if (bits <= 8)
      for (int i = 0; i < (1 << bits); ++i)
        info.palette.push_back(i == 1   ? 0xFF0000u
                               : i == 2 ? 0x0000FFu
                                        : i * 0x010101u * (255 / ((1 << bits) - 1)));
    Hbitmap b = gdi().createDibSection(info, nullptr);
    EXPECT_NE(b, 0u);
    Hdc dc = gdi().createCompatibleDc(0);
    gdi().selectObject(dc, b);
    if (bitmap) *bitmap = b;
    return dc;
  }

  void fill(Hdc dc, const Rect& r, ColorRef color) {
    Hbrush brush = gdi().createSolidBrush(color);
    gdi().fillRect(dc, r, brush);
    gdi().deleteObject(brush);
  }

  Hfont font(int height, int weight = FW_NORMAL, bool italic = false, bool underline = false) {
    LogFont lf;
    lf.height = height;
    lf.weight = weight;
    lf.italic = italic;
    lf.underline = underline;
    lf.face = "Arial";
    return gdi().createFontIndirect(lf);
  }
};

constexpr ColorRef kMagenta = rgb(255, 0, 255);

TEST_F(GdiTest, DibSectionReportsItsLayout) {
  BitmapInfo info;
  info.width = 3;
  info.height = -2;
  info.bitCount = 16;
  info.compression = BI_BITFIELDS;
  info.redMask = 0xF800, info.greenMask = 0x07E0, info.blueMask = 0x001F;
  void* bits = nullptr;
  Hbitmap b = gdi().createDibSection(info, &bits);
  ASSERT_NE(b, 0u);
  BitmapObject object;
  ASSERT_TRUE(gdi().getObject(b, object));
  EXPECT_EQ(object.width, 3);
  EXPECT_EQ(object.height, 2);
  EXPECT_EQ(object.widthBytes, 8);  // rows padded to four bytes
  EXPECT_EQ(object.bitsPerPixel, 16);
  EXPECT_EQ(object.dibHeight, -2);
  EXPECT_EQ(object.bits, bits);
  EXPECT_EQ(object.masks[0], 0xF800u);
  // Unsupported masks are refused rather than drawn wrongly.
  info.redMask = 0x001F, info.blueMask = 0xF800;
  EXPECT_EQ(gdi().createDibSection(info, nullptr), 0u);
}

TEST_F(GdiTest, BottomUpAndPalettedSourcesConvertOnBlit) {
  Hbitmap bottomUp;
  Hdc src = canvas(2, 2, 24, &bottomUp, false);
  BitmapObject object;
  gdi().getObject(bottomUp, object);
  auto* bytes = static_cast<std::uint8_t*>(object.bits);
  // The first row in memory is the bottom row: B, G, R.
  bytes[0] = 0, bytes[1] = 0, bytes[2] = 255;
  Hdc dst = canvas(2, 2, 16);
  ASSERT_TRUE(gdi().bitBlt(dst, 0, 0, 2, 2, src, 0, 0, SRCCOPY));
  EXPECT_EQ(gdi().getPixel(dst, 0, 1), rgb(255, 0, 0));
  EXPECT_EQ(gdi().getPixel(dst, 0, 0), rgb(0, 0, 0));

  Hdc indexed = canvas(2, 1, 4);
  gdi().setPixel(indexed, 1, 0, rgb(255, 0, 0));  // nearest palette entry: 1 (pure red)
  Hdc wide = canvas(2, 1, 32);
  gdi().bitBlt(wide, 0, 0, 2, 1, indexed, 0, 0, SRCCOPY);
  EXPECT_EQ(gdi().getPixel(wide, 1, 0), rgb(255, 0, 0));
  // 16-bit keeps 5-6-5 bits: a mid grey comes back with its low bits replicated.
  Hdc narrow = canvas(1, 1, 16);
  gdi().setPixel(narrow, 0, 0, rgb(100, 100, 100));
  EXPECT_EQ(gdi().getPixel(narrow, 0, 0), rgb(99, 101, 99));
}

TEST_F(GdiTest, ThirtyTwoBitFramesKeepTheTopBitsOnTheSixteenBitScreen) {
  Hbitmap wide;
  Hdc src = canvas(3, 1, 32, &wide);
  BitmapObject object;
  gdi().getObject(wide, object);
  auto* words = static_cast<std::uint32_t*>(object.bits);
  words[0] = 0x00FFFFFF;
  words[1] = 0x00070307;  // below one 5-6-5 step: becomes black
  words[2] = 0x00F8FC08;
  Hbitmap narrow;
  Hdc dst = canvas(3, 1, 16, &narrow);
  ASSERT_TRUE(gdi().bitBlt(dst, 0, 0, 3, 1, src, 0, 0, SRCCOPY));
  auto* out = reinterpret_cast<const std::uint16_t*>(gdi().surfaceOf(narrow).top);
  EXPECT_EQ(out[0], 0xFFFF);
  EXPECT_EQ(out[1], 0x0000);
  EXPECT_EQ(out[2], 0xFFE1);
}

TEST_F(GdiTest, BlitWithAndWithoutColourKey) {
  Hdc src = canvas(40, 40, 16);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) gdi().setPixel(src, x, y, rgb(x * 6, y * 6, 128));
  fill(src, {10, 10, 30, 30}, kMagenta);
  fill(src, {15, 15, 25, 25}, rgb(255, 255, 0));
  Hbitmap out;
  Hdc dst = canvas(100, 50, 32, &out);
  fill(dst, {0, 0, 100, 50}, rgb(40, 40, 40));
  ASSERT_TRUE(gdi().bitBlt(dst, 2, 5, 40, 40, src, 0, 0, SRCCOPY));
  ASSERT_TRUE(gdi().transparentImage(dst, 55, 5, 40, 40, src, 0, 0, 40, 40, kMagenta));
  EXPECT_EQ(gdi().getPixel(dst, 2 + 12, 5 + 12), kMagenta);
  EXPECT_EQ(gdi().getPixel(dst, 55 + 12, 5 + 12), rgb(40, 40, 40));
  EXPECT_EQ(gdi().getPixel(dst, 55 + 20, 5 + 20), rgb(255, 255, 0));
  EXPECT_TRUE(matchesReference(pictureOf(out), "blit_key"));
}

TEST_F(GdiTest, BlitIsClippedAtEveryEdge) {
  Hdc src = canvas(10, 10, 16);
  fill(src, {0, 0, 10, 10}, rgb(255, 0, 0));
  Hdc dst = canvas(8, 8, 16);
  EXPECT_TRUE(gdi().bitBlt(dst, -5, -5, 10, 10, src, 0, 0, SRCCOPY));
  EXPECT_TRUE(gdi().bitBlt(dst, 6, 6, 10, 10, src, 0, 0, SRCCOPY));
  EXPECT_EQ(gdi().getPixel(dst, 4, 4), rgb(255, 0, 0));
  EXPECT_EQ(gdi().getPixel(dst, 5, 5), rgb(0, 0, 0));
  EXPECT_EQ(gdi().getPixel(dst, 7, 7), rgb(255, 0, 0));
  // Source rectangles beyond the source leave the destination alone.
  fill(dst, {0, 0, 8, 8}, rgb(0, 0, 0));
  EXPECT_TRUE(gdi().bitBlt(dst, 0, 0, 8, 8, src, 8, 8, SRCCOPY));
  EXPECT_EQ(gdi().getPixel(dst, 1, 1), rgb(255, 0, 0));
  EXPECT_EQ(gdi().getPixel(dst, 2, 2), rgb(0, 0, 0));
}

TEST_F(GdiTest, StretchScalesAndMirrors) {
  Hdc src = canvas(4, 4, 8);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      gdi().setPixel(src, x, y, (x + y) % 2 ? rgb(255, 0, 0) : rgb(0, 0, 255));
  gdi().setPixel(src, 0, 0, rgb(255, 255, 255));
  Hbitmap out;
  Hdc dst = canvas(140, 50, 16, &out);
  ASSERT_TRUE(gdi().stretchBlt(dst, 0, 0, 64, 48, src, 0, 0, 4, 4, SRCCOPY));
  ASSERT_TRUE(gdi().stretchBlt(dst, 139, 0, -64, 48, src, 0, 0, 4, 4, SRCCOPY));
  // Every source pixel becomes a 16x12 block.
  EXPECT_EQ(gdi().getPixel(dst, 15, 11), rgb(255, 255, 255));
  EXPECT_EQ(gdi().getPixel(dst, 16, 11), rgb(255, 0, 0));
  EXPECT_EQ(gdi().getPixel(dst, 15, 12), rgb(255, 0, 0));
  // The mirrored copy has the white corner on its right.
  EXPECT_EQ(gdi().getPixel(dst, 139 - 1, 0), rgb(255, 255, 255));
  EXPECT_EQ(gdi().getPixel(dst, 139 - 16, 0), rgb(255, 255, 255));
  EXPECT_EQ(gdi().getPixel(dst, 139 - 17, 0), rgb(255, 0, 0));
  EXPECT_TRUE(matchesReference(pictureOf(out), "stretch"));
}

TEST_F(GdiTest, NotMixModeDrawnTwiceRestoresThePicture) {
  Hbitmap out;
  Hdc dc = canvas(80, 60, 16, &out);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) gdi().setPixel(dc, x, y, rgb(x * 3, y * 4, 90));
  PixelSurface s = gdi().surfaceOf(out);
  std::vector<std::uint8_t> before(s.top, s.top + 80 * 2 * 60);
  gdi().selectObject(dc, gdi().stockObject(NULL_BRUSH));
  gdi().setROP2(dc, R2_NOT);
  Point line[] = {{5, 55}, {40, 5}, {75, 55}, {5, 30}};
  auto drawAll = [&] {
    gdi().rectangle(dc, 10, 10, 70, 50);
    gdi().ellipse(dc, 20, 15, 60, 45);
    gdi().polyline(dc, line, 4);
  };
  drawAll();
  EXPECT_TRUE(matchesReference(pictureOf(out), "rop2_not_once"));
  EXPECT_NE(std::memcmp(before.data(), s.top, before.size()), 0);
  drawAll();
  EXPECT_EQ(std::memcmp(before.data(), s.top, before.size()), 0);
}

TEST_F(GdiTest, ShapesUsePenAndBrush) {
  Hbitmap out;
  Hdc dc = canvas(120, 80, 32, &out);
  fill(dc, {0, 0, 120, 80}, rgb(255, 255, 255));
  Hpen pen = gdi().createPen(PS_SOLID, 1, rgb(0, 0, 160));
  Hbrush brush = gdi().createSolidBrush(rgb(120, 200, 120));
  gdi().selectObject(dc, pen);
  gdi().selectObject(dc, brush);
  gdi().rectangle(dc, 5, 5, 55, 35);
  gdi().ellipse(dc, 60, 5, 115, 45);
  Hpen thick = gdi().createPen(PS_SOLID, 3, rgb(200, 0, 0));
  gdi().selectObject(dc, thick);
  Point zigzag[] = {{5, 75}, {30, 50}, {55, 75}, {80, 50}, {115, 75}};
  gdi().polyline(dc, zigzag, 5);
  // Rectangle: outline on the first and last row and column, brush inside.
  EXPECT_EQ(gdi().getPixel(dc, 5, 5), rgb(0, 0, 160));
  EXPECT_EQ(gdi().getPixel(dc, 54, 34), rgb(0, 0, 160));
  EXPECT_EQ(gdi().getPixel(dc, 55, 35), rgb(255, 255, 255));
  EXPECT_EQ(gdi().getPixel(dc, 30, 20), rgb(120, 200, 120));
  // Ellipse touches its box in the middle of each side, not in the corners.
  EXPECT_EQ(gdi().getPixel(dc, 61, 6), rgb(255, 255, 255));
  EXPECT_EQ(gdi().getPixel(dc, 87, 25), rgb(120, 200, 120));
  EXPECT_FALSE(gdi().deleteObject(thick));  // still selected
  gdi().selectObject(dc, gdi().stockObject(BLACK_PEN));
  EXPECT_TRUE(gdi().deleteObject(thick));
  EXPECT_TRUE(matchesReference(pictureOf(out), "shapes"));
}

TEST_F(GdiTest, FontHeightsFollowThePlatformRules) {
  Hdc dc = canvas(10, 10, 16);
  TextMetrics cell, em;
  gdi().selectObject(dc, font(20));
  ASSERT_TRUE(gdi().getTextMetrics(dc, cell));
  EXPECT_EQ(cell.height, 20);  // positive: the cell height
  EXPECT_EQ(cell.ascent + cell.descent, 20);
  EXPECT_GT(cell.internalLeading, 0);
  gdi().selectObject(dc, font(-20));
  ASSERT_TRUE(gdi().getTextMetrics(dc, em));
  EXPECT_EQ(em.height - em.internalLeading, 20);  // negative: the character height
  EXPECT_GT(em.height, 20);

  Size regular, bold;
  gdi().selectObject(dc, font(16));
  gdi().getTextExtentExPoint(dc, "Helicopter", -1, nullptr, nullptr, regular);
  gdi().selectObject(dc, font(16, FW_BOLD));
  gdi().getTextExtentExPoint(dc, "Helicopter", -1, nullptr, nullptr, bold);
  EXPECT_GT(bold.cx, regular.cx);
  EXPECT_EQ(bold.cy, 16);

  int fit = 0;
  std::vector<int> extents;
  Size size;
  gdi().selectObject(dc, font(16));
  ASSERT_TRUE(gdi().getTextExtentExPoint(dc, "WWWW", 40, &fit, &extents, size));
  ASSERT_EQ(extents.size(), 4u);
  EXPECT_EQ(extents[3], size.cx);
  EXPECT_EQ(fit, static_cast<int>(
                     std::count_if(extents.begin(), extents.end(), [](int e) { return e <= 40; })));
  EXPECT_LT(fit, 4);

  LogFont back;
  LogFont long_;
  long_.face = std::string(40, 'x');
  ASSERT_TRUE(gdi().getObject(gdi().createFontIndirect(long_), back));
  EXPECT_EQ(back.face.size(), 31u);
}

TEST_F(GdiTest, FontsOfSeveralSizesAndStyles) {
  Hbitmap out;
  Hdc dc = canvas(200, 150, 16, &out);
  fill(dc, {0, 0, 200, 150}, rgb(20, 30, 60));
  gdi().setTextColor(dc, rgb(255, 255, 255));
  gdi().setBkMode(dc, TRANSPARENT);
  struct Line {
    int height, weight;
    bool italic, underline;
    const char* text;
  } lines[] = {
      {10, FW_NORMAL, false, false, "Small 10 px"}, {14, FW_NORMAL, false, false, "Regular 14 px"},
      {16, FW_BOLD, false, false, "Bold 16 px"},    {18, FW_NORMAL, true, false, "Italic 18 px"},
      {20, FW_NORMAL, false, true, "Underline 20"}, {28, FW_BOLD, true, false, "Big 28"}};
  int y = 2;
  for (const Line& l : lines) {
    Hfont f = font(l.height, l.weight, l.italic, l.underline);
    Hfont old = gdi().selectObject(dc, f);
    ASSERT_TRUE(gdi().extTextOut(dc, 4, y, 0, nullptr, l.text));
    gdi().selectObject(dc, old);
    gdi().deleteObject(f);
    y += l.height + 2;
  }
  // Opaque mode paints the cell behind the text.
  gdi().setBkMode(dc, OPAQUE);
  gdi().setBkColor(dc, rgb(250, 200, 0));
  gdi().setTextColor(dc, rgb(0, 0, 0));
  gdi().selectObject(dc, font(12));
  gdi().extTextOut(dc, 120, 2, 0, nullptr, "Opaque");
  EXPECT_EQ(gdi().getPixel(dc, 120, 2), rgb(255, 203, 0));
  EXPECT_TRUE(matchesReference(pictureOf(out), "fonts"));
}

TEST_F(GdiTest, DrawTextWrapsWordsInThreeAlignments) {
  Hbitmap out;
  Hdc dc = canvas(240, 180, 16, &out);
  fill(dc, {0, 0, 240, 180}, rgb(255, 255, 255));
  gdi().setTextColor(dc, rgb(0, 0, 0));
  gdi().setBkMode(dc, TRANSPARENT);
  gdi().selectObject(dc, font(14));
  const char* text = "The quick brown helicopter jumps over the lazy tower";
  std::uint32_t aligns[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  int heights[3] = {};
  for (int i = 0; i < 3; ++i) {
    Rect r{10, 5 + i * 58, 150, 5 + i * 58 + 56};
    Hbrush frame = gdi().createSolidBrush(rgb(230, 230, 250));
    gdi().fillRect(dc, r, frame);
    gdi().deleteObject(frame);
    heights[i] = gdi().drawText(dc, text, r, aligns[i] | DT_WORDBREAK);
  }
  EXPECT_EQ(heights[0], heights[1]);
  EXPECT_EQ(heights[0], 3 * 14);  // three lines of the cell height
  Rect measure{0, 0, 140, 0};
  EXPECT_EQ(gdi().drawText(dc, text, measure, DT_WORDBREAK | DT_CALCRECT), 42);
  EXPECT_LE(measure.right, 140);
  Rect single{0, 0, 50, 20};
  EXPECT_EQ(gdi().drawText(dc, "one\ntwo", single, DT_CALCRECT), 28);
  EXPECT_EQ(gdi().drawText(dc, "one\ntwo", single, DT_CALCRECT | DT_SINGLELINE), 14);
  EXPECT_TRUE(matchesReference(pictureOf(out), "drawtext_align"));
}

TEST_F(GdiTest, WindowDcDrawsIntoScreenAtWindowPlaceAndIsClipped) {
  Hwnd top = topLevel("main");
  drain();
  Hwnd c = wm().createWindow(0, "REC", "c", WS_CHILD | WS_VISIBLE, 50, 60, 40, 30, top, 1, nullptr);
  drain();
  Hdc dc = wm().getDC(c);
  fill(dc, {-10, -10, 100, 100}, rgb(255, 0, 0));
  wm().releaseDC(c, dc);
  Screen& screen = Host::get().screen();
  EXPECT_EQ(screen.pixels()[60 * 240 + 50], pack565(255, 0, 0));
  EXPECT_EQ(screen.pixels()[89 * 240 + 89], pack565(255, 0, 0));
  EXPECT_NE(screen.pixels()[59 * 240 + 50], pack565(255, 0, 0));
  EXPECT_NE(screen.pixels()[60 * 240 + 90], pack565(255, 0, 0));
  EXPECT_EQ(gdi().getDeviceCaps(wm().getDC(top), BITSPIXEL), 16);
  // A window DC does not draw over a child lying on it.
  Hdc parentDc = wm().getDC(top);
  fill(parentDc, {0, 0, 240, 320}, rgb(0, 0, 255));
  EXPECT_EQ(screen.pixels()[70 * 240 + 60], pack565(255, 0, 0));
  EXPECT_EQ(screen.pixels()[0], pack565(0, 0, 255));
}

// A window under many children has a visible region of more rectangles than are kept inline
// (the region spills to the heap): every uncovered pixel is still drawn, no covered one.
TEST_F(GdiTest, AWindowUnderManyChildrenIsDrawnExactlyAroundThem) {
  Hwnd top = topLevel("main");
  drain();
  std::vector<Rect> children;
  for (int i = 0; i < 6; ++i) {
    Rect r{10 + i * 35, 20 + i * 40, 10 + i * 35 + 20, 20 + i * 40 + 25};
    children.push_back(r);
    wm().createWindow(0, "REC", "c", WS_CHILD | WS_VISIBLE, r.left, r.top, r.width(), r.height(),
                      top, 10 + i, nullptr);
  }
  drain();
  ASSERT_GT(wm().visibleRegion(top).size(), 8u);
  Screen& screen = Host::get().screen();
  for (int i = 0; i < 240 * 320; ++i) screen.pixels()[i] = 0;
  Hdc dc = wm().getDC(top);
  fill(dc, {0, 0, 240, 320}, rgb(0, 0, 255));
  wm().releaseDC(top, dc);
  int wrong = 0;
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 240; ++x) {
      bool covered = false;
      for (const Rect& r : children) covered = covered || r.contains(x, y);
      const std::uint16_t expected = covered ? 0 : pack565(0, 0, 255);
      wrong += screen.pixels()[y * 240 + x] != expected;
    }
  EXPECT_EQ(wrong, 0);
}

TEST_F(GdiTest, ScreenDcGivesTheDisplayFormat) {
  Hdc screen = wm().getDC(0);
  ASSERT_NE(screen, 0u);
  EXPECT_EQ(gdi().getDeviceCaps(screen, BITSPIXEL), 16);
  EXPECT_EQ(gdi().getDeviceCaps(screen, HORZRES), 240);
  // The display depth test of the image loader: a 1x1 bitmap compatible with the screen.
  BitmapObject object;
  ASSERT_TRUE(gdi().getObject(gdi().createCompatibleBitmap(screen, 1, 1), object));
  EXPECT_EQ(object.bitsPerPixel, 16);
  EXPECT_EQ(object.masks[1], 0x07E0u);
  gdi().setPixel(screen, 239, 319, rgb(255, 255, 255));
  EXPECT_EQ(Host::get().screen().pixels()[319 * 240 + 239], 0xFFFF);
  EXPECT_TRUE(wm().releaseDC(0, screen));
}

TEST_F(GdiTest, ScreenshotRoundTripsThroughPng) {
  Screen& screen = Host::get().screen();
  screen.pixels()[0] = pack565(255, 255, 255);
  screen.pixels()[1] = pack565(255, 0, 0);
  std::string path = "/tmp/skirrow-shot-" + std::to_string(::getpid()) + "/a/b.png";
  ASSERT_TRUE(screen.writePng(path));
  auto back = readPng(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 240);
  EXPECT_EQ(back->height, 320);
  EXPECT_EQ(back->rgb[0], 255);  // full white stays full white
  EXPECT_EQ(back->rgb[3], 255);
  EXPECT_EQ(back->rgb[4], 0);
}

}  // namespace
}  // namespace host::testing
