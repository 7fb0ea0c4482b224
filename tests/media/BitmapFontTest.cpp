// Bitmap fonts: glyph choice, case conversion, cutting, line breaking and drawing into a Surface.
#include "media/BitmapFont.h"

#include <gtest/gtest.h>

#include "SurfaceFixture.h"
#include "TestPictures.h"
#include "media/Blit.h"

namespace media::testing {
namespace {

// White as an RGB565 pixel reads back.
constexpr uint32_t kWhite565 = 0xF8FCF8;
constexpr int kCols = 16, kRows = 6, kCellW = 4, kCellH = 5;

// Cell (c, r) is filled with a colour naming it; its top-left pixel is black, the key.
uint32_t cellColor(int c, int r) {
  return (uint32_t(c * 16) << 16) | (uint32_t(r * 32) << 8) | 0x80;
}

std::unique_ptr<Surface> fontPicture() {
  auto p = make(kCols * kCellW, kRows * kCellH, 16);
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) {
      fill(*p, cellColor(c, r), c * kCellW, r * kCellH, kCellW, kCellH, true);
      p->setPixel(c * kCellW, r * kCellH, 0);
    }
  return p;
}

class BitmapFontTest : public SurfaceTest {
 protected:
  BitmapFont font() { return BitmapFont(fontPicture(), kCols, kRows, BitmapFont::kUpper, 32, 0); }
  // The text of each laid-out line.
  static std::vector<std::string> lines(const BitmapFont& f, const host::Rect& r,
                                        const std::string& text, int height = 0) {
    std::string bytes = f.convert(text);
    std::vector<std::string> out;
    for (const auto& l : f.layoutWrapped(r, text, height, 0))
      out.push_back(bytes.substr(l.start, l.count));
    return out;
  }
};

TEST_F(BitmapFontTest, GeometryAndGlyphChoice) {
  BitmapFont f = font();
  EXPECT_TRUE(f.canDraw());
  EXPECT_EQ(f.glyphCount(), 96);
  EXPECT_EQ(f.cellWidth(), 4);
  EXPECT_EQ(f.cellHeight(), 5);
  // "A" (65) with start code 32 is cell 33: column 1, row 2.
  EXPECT_EQ(f.glyphIndex('A'), 33);
  EXPECT_EQ(f.glyphIndex(' '), 0);
  EXPECT_EQ(f.glyphIndex('\x7f'), 95);
  EXPECT_EQ(f.glyphIndex('\x1f'), 0);                   // below the start code
  EXPECT_EQ(f.glyphIndex(static_cast<char>(0xE9)), 0);  // negative as a signed byte
  // Height 10 doubles the cell: width 4 * 10 / 5.
  EXPECT_EQ(f.glyphWidth(10), 8);
  EXPECT_EQ(f.glyphWidth(7), 5);  // 28 / 5 rounds down
  EXPECT_EQ(f.glyphWidth(0), 4);
  EXPECT_EQ(f.glyphHeight(0), 5);
}

TEST_F(BitmapFontTest, ConversionCasesAndCutting) {
  BitmapFont up = font();
  EXPECT_EQ(up.convert("Score: 1"), "SCORE: 1");
  EXPECT_EQ(up.convert("caf\xc3\xa9"), "CAF\xe9");  // UTF-8 e-acute to one Latin-1 byte
  EXPECT_EQ(up.convert("\xe2\x82\xac"), "?");       // no single byte for the euro sign
  BitmapFont low(fontPicture(), kCols, kRows, BitmapFont::kLower, 32, 0);
  EXPECT_EQ(low.convert("AbC"), "abc");
  BitmapFont none(fontPicture(), kCols, kRows, BitmapFont::kNone, 32, 0);
  EXPECT_EQ(none.convert("AbC"), "AbC");
  up.setBufferSize(3);
  EXPECT_EQ(up.convert("ABCDEF"), "ABC");
  up.setBufferSize(-1);
  EXPECT_EQ(up.bufferSize(), 3);
}

TEST_F(BitmapFontTest, DrawsTheRightCellWithTheKeyAndAdvancesOverSpaces) {
  BitmapFont f = font();
  auto target = make(40, 20, 16);
  fill(*target, 0xFFFFFF, 0, 0, -1, -1, true);
  f.drawText(PaintTarget::of(*target), 2, 3, "a a", 0);
  // 'A' is cell (1, 2); its top-left pixel is the key and leaves the white.
  EXPECT_EQ(target->getPixel(2, 3), kWhite565);
  EXPECT_EQ(target->getPixel(3, 3), cellColor(1, 2));
  EXPECT_EQ(target->getPixel(5, 7), cellColor(1, 2));
  // The space draws nothing but takes a glyph's width; the second A starts at 2 + 2 * 4.
  EXPECT_EQ(target->getPixel(7, 4), kWhite565);
  EXPECT_EQ(target->getPixel(11, 4), cellColor(1, 2));
  EXPECT_EQ(target->getPixel(14, 4), kWhite565);
}

TEST_F(BitmapFontTest, ScaledGlyphsAreStretched) {
  BitmapFont f = font();
  auto target = make(40, 20, 16);
  f.drawText(PaintTarget::of(*target), 0, 0, "A", 10);  // 8 x 10
  EXPECT_EQ(target->getPixel(2, 0), cellColor(1, 2));
  EXPECT_EQ(target->getPixel(7, 9), cellColor(1, 2));
  EXPECT_EQ(target->getPixel(8, 0), 0u);
}

TEST_F(BitmapFontTest, WrapsAfterTheBlankAndSplitsLongWords) {
  BitmapFont f = font();
  host::Rect six{10, 0, 10 + 6 * kCellW, 100};
  EXPECT_EQ(lines(f, six, "ABCD EFGH"), (std::vector<std::string>{"ABCD ", "EFGH"}));
  EXPECT_EQ(lines(f, six, "ABCDEFGH"), (std::vector<std::string>{"ABCDEF", "GH"}));
  // A blank exactly at the overflow stays at the end of the first line.
  EXPECT_EQ(lines(f, six, "ABCDEF GH"), (std::vector<std::string>{"ABCDEF ", "GH"}));
  // A line feed + carriage return pair ends the line and is not drawn.
  host::Rect wide{0, 0, 100, 100};
  EXPECT_EQ(lines(f, wide, "Score: line1\n\rline2"),
            (std::vector<std::string>{"SCORE: LINE1", "LINE2"}));
  // Lines go one glyph height apart, at most while they start above the bottom.
  auto laid = f.layoutWrapped(host::Rect{0, 7, 8, 7 + 2 * kCellH}, "AB CD EF", 0, 0);
  ASSERT_EQ(laid.size(), 2u);
  EXPECT_EQ(laid[0].y, 7);
  EXPECT_EQ(laid[1].y, 12);
  // Scaled glyphs are 8 wide: a 24-pixel rectangle takes 3 of them.
  EXPECT_EQ(lines(f, host::Rect{0, 0, 24, 100}, "ABCDE", 10),
            (std::vector<std::string>{"ABC", "DE"}));
}

TEST_F(BitmapFontTest, AlignmentSharesTheFreeWidth) {
  BitmapFont f = font();
  host::Rect r{10, 0, 50, 20};  // 40 wide, "AB" takes 8: 32 free
  EXPECT_EQ(f.layoutWrapped(r, "AB", 0, 0)[0].x, 10);
  EXPECT_EQ(f.layoutWrapped(r, "AB", 0, 1)[0].x, 26);
  EXPECT_EQ(f.layoutWrapped(r, "AB", 0, 2)[0].x, 42);
}

TEST_F(BitmapFontTest, WrappedTextIsDrawnOnItsLines) {
  BitmapFont f = font();
  auto target = make(40, 20, 16);
  f.drawTextWrapped(PaintTarget::of(*target), host::Rect{0, 0, 8, 20}, "A B", 0, 0);
  EXPECT_EQ(target->getPixel(1, 1), cellColor(1, 2));  // "A " on the first line
  EXPECT_EQ(target->getPixel(1, 6), cellColor(2, 2));  // "B" = cell 34 on the second
}

TEST_F(BitmapFontTest, FontsThatCannotDrawNeverCrash) {
  MessageRecorder messages;
  auto target = make(10, 10, 16);
  BitmapFont missing("/nonexistent/skirrow/font.bmp", 16, 6, 1, 32, 0);
  EXPECT_FALSE(missing.canDraw());
  BitmapFont zero(fontPicture(), 0, 0, 1, 32, 0);
  EXPECT_FALSE(zero.canDraw());
  EXPECT_EQ(zero.glyphCount(), 0);
  for (BitmapFont* f : {&missing, &zero}) {
    f->drawText(PaintTarget::of(*target), 0, 0, "ABC", 0);
    f->drawText(PaintTarget::of(*target), 0, 0, "ABC", 12);
    f->drawTextWrapped(PaintTarget::of(*target), host::Rect{0, 0, 10, 10}, "AB CD", 12, 1);
    f->layoutWrapped(host::Rect{0, 0, 10, 10}, "AB CD", 12, 1);
  }
  EXPECT_EQ(target->getPixel(0, 0), 0u);
}

}  // namespace
}  // namespace media::testing
