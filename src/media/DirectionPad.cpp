#include "media/DirectionPad.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "host/Gdi.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "media/SpriteGdi.h"
#include "platform/ProcessSwitches.h"

namespace media {
namespace {

host::Gdi& gdi() {
  return host::Host::get().gdi();
}

// Direction vectors of the sectors in thousandths, screen y pointing down; the straight ones
// are longer (1414) so that they win over a diagonal up to 22.5 degrees away.
struct Direction {
  int c;
  int s;
  uint32_t keys;
};
constexpr Direction kDirections[8] = {
    {1414, 0, 8},    {0, 1414, 1},     {-1414, 0, 4},     {0, -1414, 2},
    {1000, 1000, 9}, {-1000, 1000, 5}, {-1000, -1000, 6}, {1000, -1000, 10},
};
constexpr int kLowestScore = -14140;

}  // namespace

StylusPad::StylusPad(scene::Canvas& canvas, int penWidth, int radius, int mode)
    : canvas_(canvas), mode_(mode), radius_(radius) {
  pen_ = gdi().createPen(host::PS_SOLID, penWidth, host::rgb(255, 255, 255));
}

StylusPad::~StylusPad() {
  if (pen_) gdi().deleteObject(pen_);
}

int StylusPad::sectorOf(int dx, int dy, int radius, int mode) {
  if (std::abs(dx) < radius && std::abs(dy) < radius) return kNoSector;
  int count = mode == kFourWays ? 4 : 8;
  int best = kLowestScore;
  int sector = kNoSector;
  for (int i = 0; i < count; ++i) {
    int score = kDirections[i].c * 8 * dx - kDirections[i].s * 8 * dy;
    if (score > best) {  // the first of equal scores stays
      best = score;
      sector = i;
    }
  }
  return sector;
}

uint32_t StylusPad::keyBitsOf(int sector) {
  return sector >= 0 && sector < 8 ? kDirections[sector].keys : 0;
}

host::Point StylusPad::snapped(host::Point start, host::Point end, int sector) {
  int d = std::max(end.x - start.x, end.y - start.y);
  switch (sector) {
    case 0:
    case 2:
      return {end.x, start.y};
    case 1:
    case 3:
      return {start.x, end.y};
    case 4:
      return {start.x + d, start.y - d};
    case 5:
    case 7:
      return {start.x + d, start.y + d};
    case 6:
      return {start.x - d, start.y + d};
    default:
      return end;
  }
}

void StylusPad::padPress(int x, int y) {
  if (!enabled) return;
  start_ = end_ = {x, y};
  // A new drag starts with no direction: the last drag's must not steer its first move.
  sector_ = kNoSector;
  holdingKeys_ = false;
  dragging_ = true;
}

void StylusPad::move(int x, int y, uintptr_t flags) {
  if (!dragging_ || !(flags & host::MK_LBUTTON)) return;
  padMove(x, y);
}

void StylusPad::padMove(int x, int y) {
  end_ = {x, y};
  // The keys follow this position, not the one the last drawing saw.
  if (mode_ != kLineOnly) sector_ = sectorOf(end_.x - start_.x, end_.y - start_.y, radius_, mode_);
  padUpdateKeys(true);
  redraw();
}

void StylusPad::release(int, int) {
  dragging_ = false;
  padUpdateKeys(false);
  // The drag is over: a later release that ends no drag (a tap while the pad is disabled) must
  // not clear arrows held on the hardware keys.
  sector_ = kNoSector;
  redraw();
}

void StylusPad::redraw() {
  if (!canvas_.isActive()) canvas_.refresh();
}

void StylusPad::padUpdateKeys(bool pressed) {
  uint32_t state = canvas_.keyState();
  if (sector_ >= 0) {
    state &= ~kDirectionMask;
    if (pressed) state |= keyBitsOf(sector_);
    holdingKeys_ = pressed;
  } else if (!pressed && holdingKeys_) {
    // The stylus was lifted in the dead zone after steering: the direction must not stay held.
    state &= ~kDirectionMask;
    holdingKeys_ = false;
  } else {
    return;  // the word also carries the hardware keys: leave it as it is
  }
  canvas_.setKeyState(state);
}

void StylusPad::padDraw() {
  host::Point drawnEnd = end_;
  if (mode_ != kLineOnly) {
    sector_ = sectorOf(end_.x - start_.x, end_.y - start_.y, radius_, mode_);
    drawnEnd = snapped(start_, end_, sector_);
  }
  // The page's drawing context is asked for each time: the page makes a new back buffer (and
  // context) when it is moved or turned.
  host::Hdc dc = canvas_.drawDC();
  if (!dc) return;
  host::Gdi& g = gdi();
  int oldRop = g.setROP2(dc, host::R2_NOT);
  host::Hgdiobj oldPen = g.selectObject(dc, pen_);
  host::Hgdiobj oldBrush = g.selectObject(dc, g.stockObject(host::NULL_BRUSH));
  g.ellipse(dc, start_.x - radius_, start_.y - radius_, start_.x + radius_, start_.y + radius_);
  g.ellipse(dc, drawnEnd.x - radius_, drawnEnd.y - radius_, drawnEnd.x + radius_,
            drawnEnd.y + radius_);
  line(dc, start_.x, start_.y, drawnEnd.x, drawnEnd.y);
  if (oldBrush) g.selectObject(dc, oldBrush);
  if (oldPen) g.selectObject(dc, oldPen);
  g.setROP2(dc, oldRop);
  lastDrawn_ = drawnEnd;
}

StylusPad* enableDirectionPad(scene::Canvas& canvas, int penWidth, int radius, int mode) {
  auto pad = std::make_unique<StylusPad>(canvas, penWidth, platform::scaleInt(radius), mode);
  StylusPad* raw = pad.get();
  canvas.setDirectionPad(std::move(pad));
  return raw;
}

}  // namespace media
