// The progress bar a page shows while it loads: a 16-pixel bar across the middle of the page,
// filled in steps of 8 pixels, with a one-line caption.
#pragma once

#include <string_view>

#include "host/Types.h"

namespace scene {
class Canvas;
}

namespace media {

// Where the bar goes in a `width` x `height` area: left, top, bar width, filled width (pixels).
struct ProgressGeometry {
  int x = 0;
  int y = 0;
  int barWidth = 0;
  int filled = 0;
};

// Bar width = 3/4 of `width` rounded down to a multiple of 8, centred; top = (height - 16) / 2;
// filled = barWidth x min(percent, 100) / 100 rounded down to a multiple of 8 (a negative
// percent fills nothing).
ProgressGeometry progressGeometry(int width, int height, int percent);

// Draws the bar on `dc` over a `width` x `height` area: the unfilled part black, the filled part
// rgb(250, 90, 4), a white outline, and `text` clipped to the bar 5 pixels in from either end,
// black shadow at (x + 6, y + 1) under white at (x + 5, y), with the DC's font. The DC's pen,
// brush, text colour and background mode are put back afterwards.
void drawProgress(host::Hdc dc, int width, int height, std::string_view text, int percent);

// Draws the bar on the page's drawing context over its client area, then shows the bar's
// rectangle on the screen at once (a buffered page copies it from its back buffer).
void drawProgress(scene::Canvas& canvas, std::string_view text, int percent);

}  // namespace media
