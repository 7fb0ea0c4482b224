// A font whose glyphs are cells cut from one picture: `columns` x `rows` cells of equal size,
// cell i holding character startCode + i. Text is converted to single bytes (Latin-1; other
// characters become '?'), optionally upper- or lower-cased, and drawn glyph by glyph with the
// picture's colour key.
//
// A font whose picture could not be loaded, or with fewer than one column or row, draws nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/Types.h"
#include "media/SpriteGdi.h"
#include "media/Surface.h"
#include "scene/Canvas.h"

namespace media {

class BitmapFont : public scene::PageResource {
 public:
  enum CaseConversion : int { kNone = 0, kUpper = 1, kLower = 2 };
  static constexpr int kDefaultBufferSize = 256;

  // Loads the picture at `path` with the display depth, red and blue as stored. The picture's
  // own transparency key, when it has one, replaces `keyColor` (0x00RRGGBB).
  BitmapFont(std::string_view path, int columns, int rows, int caseConversion, int startCode,
             uint32_t keyColor);
  // The same on a picture already made (taken over).
  BitmapFont(std::unique_ptr<Surface> picture, int columns, int rows, int caseConversion,
             int startCode, uint32_t keyColor);
  ~BitmapFont() override;

  bool canDraw() const { return picture_ && glyphCount_ > 0 && cellWidth_ > 0 && cellHeight_ > 0; }
  int columns() const { return columns_; }
  int rows() const { return rows_; }
  int startCode() const { return startCode_; }
  int caseConversion() const { return caseConversion_; }
  uint32_t keyColor() const { return keyColor_; }
  int glyphCount() const { return glyphCount_; }
  int cellWidth() const { return cellWidth_; }
  int cellHeight() const { return cellHeight_; }
  const Surface* picture() const { return picture_.get(); }
  int bufferSize() const { return bufferSize_; }
  // Longer texts are cut to `n` bytes (n >= 0; a negative n is ignored).
  void setBufferSize(int n);

  // The bytes a text is drawn from: converted, cut to bufferSize() and case-converted.
  std::string convert(std::string_view text) const;
  // Glyph size for a text height: the cell size for 0, else `height` high and proportionally
  // wide (integer division).
  int glyphWidth(int height) const;
  int glyphHeight(int height) const;
  // The cell index byte `c` draws (0 for anything outside the glyph range).
  int glyphIndex(char c) const;

  // One line from (x, y); every byte, a space too, advances by the glyph width.
  void drawText(const PaintTarget& target, int x, int y, std::string_view text, int height) const;

  // One laid-out line of wrapped text: `count` bytes of convert()'s result from `start`, drawn
  // from (x, y).
  struct Line {
    int start = 0;
    int count = 0;
    int x = 0;
    int y = 0;
  };
  // Breaks `text` into lines inside `rect` (see drawTextWrapped). `alignment` 0 left, 1 centre,
  // 2 right.
  std::vector<Line> layoutWrapped(const host::Rect& rect, std::string_view text, int height,
                                  int alignment) const;
  // Lines start at rect.top, one glyph height apart, and stop once a line would start at or
  // below rect.bottom. A line ends at the text's end, at a line feed + carriage return pair
  // (consumed) or before the glyph that would cross rect.right; then it is cut just after the
  // last blank or control byte (value below 33) after the line start, or, in a word longer than
  // the line, right before that glyph.
  void drawTextWrapped(const PaintTarget& target, const host::Rect& rect, std::string_view text,
                       int height, int alignment) const;

 private:
  void init(int columns, int rows, int caseConversion, int startCode, uint32_t keyColor);
  void drawBytes(const PaintTarget& target, int x, int y, const char* bytes, int count,
                 int height) const;

  int columns_ = 0;
  int rows_ = 0;
  int startCode_ = 32;
  int caseConversion_ = kUpper;
  uint32_t keyColor_ = 0;
  int glyphCount_ = 0;
  int cellWidth_ = 0;
  int cellHeight_ = 0;
  std::unique_ptr<Surface> picture_;
  int bufferSize_ = kDefaultBufferSize;
};

}  // namespace media
