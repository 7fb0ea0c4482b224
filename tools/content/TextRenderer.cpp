#include "TextRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>
#include <vector>

namespace content {

TextRenderer::TextRenderer() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return;
  library_ = library;
  const char* names[2] = {SKIRROW_FONT_DIR "/LiberationSans-Regular.ttf",
                          SKIRROW_FONT_DIR "/LiberationSans-Bold.ttf"};
  for (int i = 0; i < 2; ++i) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, names[i], 0, &face) == 0) faces_[i] = face;
  }
}

TextRenderer::~TextRenderer() {
  for (void* face : faces_)
    if (face) FT_Done_Face(static_cast<FT_Face>(face));
  if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

TextRenderer& TextRenderer::get() {
  static TextRenderer renderer;
  return renderer;
}

void TextRenderer::render(Picture* target, int x, int baseline, std::string_view text,
                          const TextStyle& style, int* advance) {
  FT_Face face = static_cast<FT_Face>(faces_[style.bold ? 1 : 0]);
  *advance = 0;
  if (!face) return;
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(style.size));
  int pen = 0;
  FT_UInt previous = 0;
  for (unsigned char ch : text) {
    FT_UInt glyph = FT_Get_Char_Index(face, ch);
    if (previous && glyph && FT_HAS_KERNING(face)) {
      FT_Vector kern;
      FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
      pen += static_cast<int>(kern.x >> 6);
    }
    if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0) continue;
    FT_GlyphSlot slot = face->glyph;
    if (target) {
      const FT_Bitmap& bm = slot->bitmap;
      int left = x + pen + slot->bitmap_left;
      int top = baseline - slot->bitmap_top;
      for (unsigned row = 0; row < bm.rows; ++row)
        for (unsigned col = 0; col < bm.width; ++col) {
          unsigned char a = bm.buffer[row * bm.pitch + col];
          if (!a) continue;
          target->blend(left + static_cast<int>(col), top + static_cast<int>(row), style.color,
                        a / 255.0f);
        }
    }
    pen += static_cast<int>(slot->advance.x >> 6);
    previous = glyph;
  }
  *advance = pen;
}

int TextRenderer::measure(std::string_view text, const TextStyle& style) {
  int advance = 0;
  render(nullptr, 0, 0, text, style, &advance);
  return advance;
}

void TextRenderer::drawLine(Picture& target, int x, int baseline, std::string_view text,
                            const TextStyle& style) {
  int advance = 0;
  if (style.shadow >> 24) {
    TextStyle shadow = style;
    shadow.color = style.shadow;
    render(&target, x + 1, baseline + 1, text, shadow, &advance);
  }
  render(&target, x, baseline, text, style, &advance);
}

void TextRenderer::drawInBox(Picture& target, int x, int y, int w, int h, std::string_view text,
                             const TextStyle& style, Align align) {
  int width = measure(text, style);
  int left = x;
  if (align == Align::kCenter) left = x + (w - width) / 2;
  if (align == Align::kRight) left = x + w - width;
  // Cap height of Liberation Sans is about 0.72 em: centre that band in the box.
  int capHeight = style.size * 72 / 100;
  int baseline = y + (h + capHeight) / 2;
  drawLine(target, left, baseline, text, style);
}

int TextRenderer::drawWrapped(Picture& target, int x, int y, int w, std::string_view text,
                              const TextStyle& style, Align align, float lineSpacing) {
  int lineHeight = static_cast<int>(style.size * lineSpacing + 0.5f);
  int baseline = y + style.size;
  std::string line;
  auto flush = [&]() {
    int width = measure(line, style);
    int left = x;
    if (align == Align::kCenter) left = x + (w - width) / 2;
    if (align == Align::kRight) left = x + w - width;
    drawLine(target, left, baseline, line, style);
    baseline += lineHeight;
    line.clear();
  };
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\n') {
      flush();
      ++i;
      continue;
    }
    size_t end = text.find_first_of(" \n", i);
    if (end == std::string_view::npos) end = text.size();
    std::string word(text.substr(i, end - i));
    std::string candidate = line.empty() ? word : line + " " + word;
    if (!line.empty() && measure(candidate, style) > w) {
      flush();
      line = word;
    } else {
      line = candidate;
    }
    i = end;
    if (i < text.size() && text[i] == ' ') ++i;
  }
  if (!line.empty()) flush();
  return baseline - style.size - y;
}

}  // namespace content
