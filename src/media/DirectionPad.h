// StylusPad: the page's stylus direction pad. Dragging the stylus on free page space works as a
// four- or eight-way joystick: the direction from the press point to the stylus sets the arrow
// bits (up 1, down 2, left 4, right 8) of the page's keyState, and the drag is shown as a
// rubber band (a circle around the press point, one around the stylus, the line between),
// drawn by inverting pixels so that drawing it twice leaves the picture as it was.
//
// The page owns the pad (Canvas::setDirectionPad) and feeds it the stylus: press on a stylus
// down that hit no GUI sprite, move while dragging with the stylus down, release on a stylus up
// that released nothing; it calls draw() after each redraw while dragging.
#pragma once

#include <cstdint>

#include "host/Types.h"
#include "scene/Canvas.h"

namespace media {

class StylusPad : public scene::DirectionPad {
 public:
  // Modes: 0 draws the line only and never touches the keys; 1 knows the four straight
  // directions; any other value all eight.
  static constexpr int kLineOnly = 0;
  static constexpr int kFourWays = 1;
  static constexpr int kEightWays = 2;
  static constexpr int kNoSector = -1;
  // The arrow bits of the page's keyState; the other bits belong to the hardware keys.
  static constexpr uint32_t kDirectionMask = 15;

  // A pad for `canvas` (borrowed; it must outlive the pad) with a white pen of `penWidth`
  // pixels and `radius` in screen pixels (the dead zone and the circles' radius).
  StylusPad(scene::Canvas& canvas, int penWidth, int radius, int mode);
  ~StylusPad() override;
  StylusPad(const StylusPad&) = delete;
  StylusPad& operator=(const StylusPad&) = delete;

  // scene::DirectionPad, as the page calls it.
  bool dragging() const override { return dragging_; }
  void press(int x, int y) override { padPress(x, y); }
  // Follows the stylus only while dragging with the stylus down (MK_LBUTTON in `flags`).
  void move(int x, int y, uintptr_t flags) override;
  // Ends the drag: the arrow bits are released and the sector forgotten.
  void release(int x, int y) override;
  void draw() override { padDraw(); }

  // Starts a drag at (x, y) when enabled.
  void padPress(int x, int y);
  // The stylus is at (x, y): the sector follows it, the arrow bits are updated, and an inactive
  // page is redrawn at once (an active one redraws every frame anyway).
  void padMove(int x, int y);
  // Only when a sector is chosen: clears the arrow bits and, when `pressed`, sets the sector's.
  // With no sector the key state is left alone, except that a release always takes back the
  // bits this drag set.
  void padUpdateKeys(bool pressed);
  // Chooses the sector (unless line only), snaps the drawn end to it and draws the rubber band
  // inverted on the page's drawing context.
  void padDraw();

  // The sector of a drag by (dx, dy) (screen y grows downwards): -1 inside the dead zone
  // (|dx| < radius and |dy| < radius); otherwise the best of the first four directions (mode 1)
  // or of all eight: 0 right, 1 up, 2 left, 3 down, 4 up-right, 5 up-left, 6 down-left,
  // 7 down-right.
  static int sectorOf(int dx, int dy, int radius, int mode);
  // The arrow bits of a sector (0 for -1).
  static uint32_t keyBitsOf(int sector);
  // Where the band ends for the stylus at `end` in `sector`: straight sectors keep the start's
  // other coordinate, diagonals go out at 45 degrees.
  static host::Point snapped(host::Point start, host::Point end, int sector);

  // When false, presses never start a drag.
  bool enabled = true;

  int sector() const { return sector_; }
  int mode() const { return mode_; }
  int radius() const { return radius_; }
  host::Point start() const { return start_; }
  // The stylus position of the drag.
  host::Point end() const { return end_; }
  // The end of the band as last drawn (-100000, -100000 before the first drawing).
  host::Point lastDrawn() const { return lastDrawn_; }
  host::Hpen pen() const { return pen_; }

 private:
  void redraw();

  host::Point start_;
  host::Point end_;
  scene::Canvas& canvas_;
  bool dragging_ = false;
  int mode_;
  int radius_;
  int sector_ = kNoSector;
  host::Hpen pen_ = 0;
  host::Point lastDrawn_{-100000, -100000};
  // The arrow bits this drag put into the key state.
  bool holdingKeys_ = false;
};

// Gives `canvas` a new direction pad (replacing its old one): a white pen of `penWidth`,
// `radius` display-scaled, `mode` as StylusPad. Returns the pad, owned by the canvas.
StylusPad* enableDirectionPad(scene::Canvas& canvas, int penWidth, int radius, int mode);

}  // namespace media
