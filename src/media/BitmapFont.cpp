#include "media/BitmapFont.h"

#include "media/Blit.h"

namespace media {

namespace {

// Decodes UTF-8 into single bytes: code points below 256 as themselves, others as '?'. A broken
// sequence gives one '?' per stray byte.
std::string toSingleBytes(std::string_view text, size_t limit) {
  std::string out;
  size_t i = 0;
  while (i < text.size() && out.size() < limit) {
    auto c = static_cast<unsigned char>(text[i]);
    uint32_t cp = '?';
    size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4;
    }
    if (len > 1) {
      bool ok = i + len <= text.size();
      cp = c & (0x7F >> len);
      for (size_t k = 1; ok && k < len; ++k) {
        auto cc = static_cast<unsigned char>(text[i + k]);
        ok = (cc & 0xC0) == 0x80;
        cp = (cp << 6) | (cc & 0x3F);
      }
      if (!ok) {
        cp = '?';
        len = 1;
      }
    }
    out.push_back(static_cast<char>(cp < 256 ? cp : '?'));
    i += len;
  }
  return out;
}

}  // namespace

BitmapFont::BitmapFont(std::string_view path, int columns, int rows, int caseConversion,
                       int startCode, uint32_t keyColor)
    : picture_(loadSurface(path, true, false)) {
  init(columns, rows, caseConversion, startCode, keyColor);
}

BitmapFont::BitmapFont(std::unique_ptr<Surface> picture, int columns, int rows, int caseConversion,
                       int startCode, uint32_t keyColor)
    : picture_(std::move(picture)) {
  init(columns, rows, caseConversion, startCode, keyColor);
}

BitmapFont::~BitmapFont() = default;

void BitmapFont::init(int columns, int rows, int caseConversion, int startCode, uint32_t keyColor) {
  columns_ = columns;
  rows_ = rows;
  caseConversion_ = caseConversion;
  startCode_ = startCode;
  keyColor_ = keyColor;
  if (columns_ < 1 || rows_ < 1) return;  // cannot draw: glyphCount stays 0
  glyphCount_ = columns_ * rows_;
  if (picture_) {
    cellWidth_ = picture_->width() / columns_;
    cellHeight_ = picture_->height() / rows_;
    if (picture_->transparent) keyColor_ = picture_->transparentColor;
  }
}

void BitmapFont::setBufferSize(int n) {
  if (n >= 0) bufferSize_ = n;
}

std::string BitmapFont::convert(std::string_view text) const {
  std::string bytes = toSingleBytes(text, static_cast<size_t>(bufferSize_));
  for (char& c : bytes) {
    if (caseConversion_ == kUpper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (caseConversion_ == kLower && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return bytes;
}

int BitmapFont::glyphWidth(int height) const {
  if (height == 0 || cellHeight_ == 0) return cellWidth_;
  return cellWidth_ * height / cellHeight_;
}

int BitmapFont::glyphHeight(int height) const {
  return height == 0 ? cellHeight_ : height;
}

int BitmapFont::glyphIndex(char c) const {
  // Bytes are taken as signed, so characters above 127 fall below startCode.
  int index = static_cast<signed char>(c) - startCode_;
  return index < 0 || index >= glyphCount_ ? 0 : index;
}

void BitmapFont::drawBytes(const PaintTarget& target, int x, int y, const char* bytes, int count,
                           int height) const {
  if (!canDraw() || !target.valid()) return;
  int gw = glyphWidth(height);
  int gh = glyphHeight(height);
  bool unscaled = gw == cellWidth_ && gh == cellHeight_;
  bool ownLoops = target.surface && target.surface->bitsPerPixel() == picture_->bitsPerPixel();
  for (int i = 0; i < count; ++i, x += gw) {
    if (bytes[i] == ' ') continue;
    int index = glyphIndex(bytes[i]);
    int sx = cellWidth_ * (index % columns_);
    int sy = cellHeight_ * (index / columns_);
    if (ownLoops) {
      if (unscaled)
        blit(*target.surface, *picture_, x, y, sx, sy, cellWidth_, cellHeight_, keyColor_);
      else
        stretchBlit(*target.surface, *picture_, x, y, gw, gh, sx, sy, cellWidth_, cellHeight_,
                    keyColor_);
    } else if (target.dc) {
      picture_->transparentBlt(target.dc, x, y, gw, gh, keyColor_, sx, sy, cellWidth_, cellHeight_);
    }
  }
}

void BitmapFont::drawText(const PaintTarget& target, int x, int y, std::string_view text,
                          int height) const {
  std::string bytes = convert(text);
  drawBytes(target, x, y, bytes.data(), static_cast<int>(bytes.size()), height);
}

std::vector<BitmapFont::Line> BitmapFont::layoutWrapped(const host::Rect& rect,
                                                        std::string_view text, int height,
                                                        int alignment) const {
  std::vector<Line> lines;
  std::string b = convert(text);
  int n = static_cast<int>(b.size());
  int gw = glyphWidth(height);
  int gh = glyphHeight(height);
  int top = rect.top;
  int i = 0;
  while (i < n) {
    if (top >= rect.bottom) break;
    int start = i;
    int end = n;
    int next = n;
    int width = 0;
    for (int j = start; j < n; ++j) {
      if (b[j] == '\n' && j + 1 < n && b[j + 1] == '\r') {
        end = j;
        next = j + 2;
        break;
      }
      width += gw;
      if (rect.left + width > rect.right) {
        int k = j;
        while (k > start && static_cast<unsigned char>(b[k]) >= 33) --k;
        if (k > start) {
          end = next = k + 1;
        } else {
          // No blank to break at: the word is split; a glyph wider than the whole rectangle
          // still takes a line of its own so that the layout moves on.
          end = next = j > start ? j : j + 1;
        }
        break;
      }
    }
    int count = end - start;
    int x = rect.left;
    int free = rect.right - count * gw - rect.left;
    if (alignment == 1) x += free / 2;
    if (alignment == 2) x += free;
    lines.push_back({start, count, x, top});
    top += gh;
    i = next;
  }
  return lines;
}

void BitmapFont::drawTextWrapped(const PaintTarget& target, const host::Rect& rect,
                                 std::string_view text, int height, int alignment) const {
  if (!canDraw()) return;
  std::string b = convert(text);
  for (const Line& l : layoutWrapped(rect, text, height, alignment))
    drawBytes(target, l.x, l.y, b.data() + l.start, l.count, height);
}

}  // namespace media
