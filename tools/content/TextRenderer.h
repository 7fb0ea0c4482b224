// TextRenderer: titles and labels drawn into pictures with FreeType from Liberation Sans.
//
// Sizes are pixel heights of the em square. Only printable ASCII and Latin-1 text is expected.
// A renderer that could not open its fonts draws nothing and measures 0 (ok() tells).
#pragma once

#include <cstdint>
#include <string_view>

#include "Picture.h"

namespace content {

enum class Align { kLeft, kCenter, kRight };

struct TextStyle {
  int size = 12;
  bool bold = false;
  uint32_t color = 0xFFFFFFFFu;
  // Drop shadow one pixel down and right when its alpha is not 0.
  uint32_t shadow = 0;
};

class TextRenderer {
 public:
  TextRenderer();
  ~TextRenderer();
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  // The shared renderer (fonts are opened once per run).
  static TextRenderer& get();

  bool ok() const { return faces_[0] != nullptr && faces_[1] != nullptr; }
  int measure(std::string_view text, const TextStyle& style);
  // Draws one line with its baseline at `baseline`, starting at x.
  void drawLine(Picture& target, int x, int baseline, std::string_view text,
                const TextStyle& style);
  // Draws one line vertically centred in the box and aligned inside it horizontally.
  void drawInBox(Picture& target, int x, int y, int w, int h, std::string_view text,
                 const TextStyle& style, Align align = Align::kCenter);
  // Word-wrapped text from the top of the box; returns the height used.
  int drawWrapped(Picture& target, int x, int y, int w, std::string_view text,
                  const TextStyle& style, Align align = Align::kLeft, float lineSpacing = 1.2f);

 private:
  void* library_ = nullptr;  // FT_Library
  void* faces_[2] = {};      // FT_Face regular, bold
  void render(Picture* target, int x, int baseline, std::string_view text, const TextStyle& style,
              int* advance);
};

}  // namespace content
