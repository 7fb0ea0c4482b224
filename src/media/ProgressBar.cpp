#include "media/ProgressBar.h"

#include <algorithm>

#include "host/Gdi.h"
#include "host/Host.h"
#include "scene/Canvas.h"

namespace media {

namespace {

constexpr int kBarHeight = 16;
constexpr host::ColorRef kProgressColor = host::rgb(250, 90, 4);

}  // namespace

ProgressGeometry progressGeometry(int width, int height, int percent) {
  ProgressGeometry g;
  g.barWidth = (3 * width / 4) & ~7;
  g.x = (width - g.barWidth) / 2;
  g.y = (height - kBarHeight) / 2;
  int p = std::clamp(percent, 0, 100);
  g.filled = (g.barWidth * p / 100) & ~7;
  return g;
}

void drawProgress(host::Hdc dc, int width, int height, std::string_view text, int percent) {
  host::Gdi& gdi = host::Host::get().gdi();
  const ProgressGeometry g = progressGeometry(width, height, percent);
  const int right = g.x + g.barWidth;
  const int bottom = g.y + kBarHeight;

  host::Hgdiobj oldPen = gdi.selectObject(dc, gdi.stockObject(host::WHITE_PEN));
  gdi.fillRect(dc, {g.x + g.filled, g.y, right, bottom},
               static_cast<host::Hbrush>(gdi.stockObject(host::BLACK_BRUSH)));
  if (g.filled > 0) {
    host::Hbrush fill = gdi.createSolidBrush(kProgressColor);
    gdi.fillRect(dc, {g.x, g.y, g.x + g.filled, bottom}, fill);
    gdi.deleteObject(fill);
  }
  host::Hgdiobj oldBrush = gdi.selectObject(dc, gdi.stockObject(host::NULL_BRUSH));
  gdi.rectangle(dc, g.x, g.y, right, bottom);

  int oldMode = gdi.setBkMode(dc, host::TRANSPARENT);
  host::ColorRef oldColor = gdi.setTextColor(dc, host::rgb(0, 0, 0));
  const host::Rect clip{g.x + 5, g.y, right - 5, bottom};
  // A dark copy one pixel down and right keeps the caption readable on the orange part.
  gdi.extTextOut(dc, g.x + 6, g.y + 1, host::ETO_CLIPPED, &clip, text);
  gdi.setTextColor(dc, host::rgb(255, 255, 255));
  gdi.extTextOut(dc, g.x + 5, g.y, host::ETO_CLIPPED, &clip, text);
  gdi.setTextColor(dc, oldColor);
  gdi.setBkMode(dc, oldMode);
  if (oldBrush) gdi.selectObject(dc, oldBrush);
  if (oldPen) gdi.selectObject(dc, oldPen);
}

void drawProgress(scene::Canvas& canvas, std::string_view text, int percent) {
  if (!canvas.hwnd()) return;
  const int width = canvas.clientWidth();
  const int height = canvas.clientHeight();
  drawProgress(canvas.drawDC(), width, height, text, percent);
  if (canvas.drawDC() == canvas.windowDC()) return;  // drawn on the screen already
  const ProgressGeometry g = progressGeometry(width, height, percent);
  host::Host::get().gdi().bitBlt(canvas.windowDC(), g.x, g.y, g.barWidth, kBarHeight,
                                 canvas.drawDC(), g.x, g.y, host::SRCCOPY);
}

}  // namespace media
