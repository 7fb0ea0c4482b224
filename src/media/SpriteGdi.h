// The GDI routines the 2D screen elements share: fills, text metrics and output, lines, text
// extents and the font choice that keeps one font selected in a device context from one
// element to the next.
//
// Colours handed in are 0x00RRGGBB; they are turned into GDI colours (red in the low byte)
// here. Every routine needs the running host.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/Gdi.h"
#include "host/Types.h"
#include "media/Surface.h"

namespace media {

// Where a sprite or a bitmap font draws: a Surface (then the program's own pixel loops are
// used when depths allow it, and `dc` is the Surface's context) or only a device context.
struct PaintTarget {
  Surface* surface = nullptr;
  host::Hdc dc = 0;

  static PaintTarget of(Surface& s) { return {&s, s.dc()}; }
  static PaintTarget ofDc(host::Hdc dc) { return {nullptr, dc}; }
  bool valid() const { return surface != nullptr || dc != 0; }
};

// 0x00RRGGBB as a GDI colour.
constexpr host::ColorRef gdiColor(uint32_t rgb) {
  return host::rgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Fills `rect`. White and black use the stock brushes, any other colour a temporary one.
void fillRect(host::Hdc dc, const host::Rect& rect, uint32_t color);
// Line height (tmHeight + tmExternalLeading) of the selected font, also stored in
// `*lineHeight`; `*avgCharWidth` gets the average character width. Either may be null.
int textMetrics(host::Hdc dc, int* avgCharWidth, int* lineHeight);
// One line of text with its cell's top-left at (x, y), no options.
bool textOut(host::Hdc dc, int x, int y, std::string_view text);
// Text laid out in `rect` with word wrap added to `format`.
int drawTextInRect(host::Hdc dc, host::Rect rect, std::string_view text, uint32_t format);
// A straight line from (x1, y1) to (x2, y2) with the selected pen.
bool line(host::Hdc dc, int x1, int y1, int x2, int y2);
// Size of `text` in the selected font; cx = cy = -1 (and false) when it cannot be measured.
bool textExtent(host::Hdc dc, std::string_view text, int* cx, int* cy);
// A font of cell height `height` (Swiss family, ANSI set, face cut to 31 characters, "Arial"
// when empty). When the platform cannot make it the stock system font is returned, so the
// result is always selectable. The caller deletes it (deleting a stock font does nothing).
host::Hfont createFont(int height, int weight, bool italic, bool underline, std::string_view face);
// Whether the font selected in `dc` (returned in `*current`, may be null) has exactly this
// height, weight, italic, underline and face (empty face meaning "Arial").
bool fontMatches(host::Hdc dc, int height, int weight, bool italic, bool underline,
                 std::string_view face, host::Hfont* current);
// Makes sure `dc` has that font selected: nothing when the selected one already matches,
// otherwise a new font is selected and the one it replaces deleted. Keeping the font from one
// call to the next spares creating a font per sprite and frame.
void selectFont(host::Hdc dc, int height, int weight, bool italic, bool underline,
                std::string_view face);

}  // namespace media
