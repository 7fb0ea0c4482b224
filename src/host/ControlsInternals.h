// Private records of Controls, shared by its source files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/Controls.h"
#include "host/Gdi.h"

namespace host {

struct Controls::State {
  Kind kind = Kind::Static;
  Hfont font = 0;
  // Buttons.
  bool pressed = false;
  int check = 0;
  // Edits: the text as code points (the window text holds the same as UTF-8).
  std::vector<std::uint32_t> text;
  std::size_t caret = 0;
  std::size_t limit = 0x7FFFFFFE;
  int scrollX = 0;
  int firstLine = 0;
  // Lists and combo boxes.
  std::vector<std::string> items;
  std::vector<std::intptr_t> data;
  int selected = -1;
  int top = 0;
  bool dropped = false;
  int closedHeight = 0;
};

namespace controls {

// Rows a drop-down list shows while open.
constexpr int kDroppedRows = 6;

// A line of an edit: code points [begin, end), the breaking character included.
struct Line {
  std::size_t begin;
  std::size_t end;
};

// Pixel width of code points [b, e) in the DC's font.
int widthOf(Gdi& gdi, Hdc dc, const std::vector<std::uint32_t>& text, std::size_t b, std::size_t e);
// Lines of an edit's text: hard breaks at '\n' and, with `wrapWidth` > 0, between words.
std::vector<Line> layoutLines(Gdi& gdi, Hdc dc, const std::vector<std::uint32_t>& text,
                              int wrapWidth);
// The line holding the caret.
std::size_t lineOfCaret(const std::vector<Line>& lines, std::size_t caret);
// The character index in [b, e] nearest to pixel offset x from the start of b.
std::size_t indexAt(Gdi& gdi, Hdc dc, const std::vector<std::uint32_t>& text, std::size_t b,
                    std::size_t e, int x);

}  // namespace controls
}  // namespace host
