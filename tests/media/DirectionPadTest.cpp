// The stylus direction pad: sectors, snapping, the page's arrow bits and the inverted band.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../scene/CanvasFixture.h"
#include "host/Gdi.h"
#include "host/Messages.h"
#include "media/DirectionPad.h"

namespace media::testing {
namespace {

using host::Point;

TEST(StylusPadSector, DeadZoneAndTheEightDirections) {
  // Inside the dead zone: both |dx| and |dy| below the radius.
  EXPECT_EQ(StylusPad::sectorOf(5, 5, 10, 2), -1);
  EXPECT_EQ(StylusPad::sectorOf(9, -9, 10, 2), -1);
  EXPECT_EQ(StylusPad::sectorOf(0, 0, 10, 2), -1);
  // Reaching the radius on one axis is enough.
  EXPECT_EQ(StylusPad::sectorOf(0, -10, 10, 2), 1);
  EXPECT_EQ(StylusPad::sectorOf(-10, 3, 10, 2), 2);
  EXPECT_EQ(StylusPad::sectorOf(30, -5, 10, 2), 0);
  EXPECT_EQ(StylusPad::sectorOf(20, -20, 10, 2), 4);
  EXPECT_EQ(StylusPad::sectorOf(0, 10, 10, 2), 3);
  EXPECT_EQ(StylusPad::sectorOf(-30, -20, 10, 2), 5);
  EXPECT_EQ(StylusPad::sectorOf(-20, 30, 10, 2), 6);
  EXPECT_EQ(StylusPad::sectorOf(30, 20, 10, 2), 7);
  // Just inside the straight sector: 1414 * 8 * 40 = 452480 beats 8000 * (40 + 16) = 448000.
  EXPECT_EQ(StylusPad::sectorOf(40, -16, 10, 2), 0);
  // Just past it: 8000 * (40 + 17) = 456000.
  EXPECT_EQ(StylusPad::sectorOf(40, -17, 10, 2), 4);
  // Any mode other than 1 knows all eight.
  EXPECT_EQ(StylusPad::sectorOf(20, -20, 10, 7), 4);
}

TEST(StylusPadSector, FourWayModeUsesOnlyTheStraightDirections) {
  // Right and up score the same: the first of them is kept.
  EXPECT_EQ(StylusPad::sectorOf(20, -20, 10, 1), 0);
  EXPECT_EQ(StylusPad::sectorOf(-20, 20, 10, 1), 2);
  EXPECT_EQ(StylusPad::sectorOf(-25, -30, 10, 1), 1);
  EXPECT_EQ(StylusPad::sectorOf(30, 20, 10, 1), 0);
  EXPECT_EQ(StylusPad::sectorOf(5, 5, 10, 1), -1);
}

TEST(StylusPadSector, KeyBitsOfTheSectors) {
  const uint32_t bits[8] = {8, 1, 4, 2, 9, 5, 6, 10};
  for (int s = 0; s < 8; ++s) EXPECT_EQ(StylusPad::keyBitsOf(s), bits[s]) << s;
  EXPECT_EQ(StylusPad::keyBitsOf(-1), 0u);
}

TEST(StylusPadSector, SnappingKeepsStraightLinesStraightAndDiagonalsAt45Degrees) {
  Point s{100, 100};
  auto at = [&](int dx, int dy, int sector) {
    Point p = StylusPad::snapped(s, {s.x + dx, s.y + dy}, sector);
    return std::vector<int>{p.x - s.x, p.y - s.y};
  };
  EXPECT_EQ(at(30, -5, 0), (std::vector<int>{30, 0}));
  EXPECT_EQ(at(-30, 7, 2), (std::vector<int>{-30, 0}));
  EXPECT_EQ(at(3, -40, 1), (std::vector<int>{0, -40}));
  EXPECT_EQ(at(-3, 40, 3), (std::vector<int>{0, 40}));
  // d is the larger of dx and dy, signs kept.
  EXPECT_EQ(at(20, -30, 4), (std::vector<int>{20, -20}));
  EXPECT_EQ(at(-30, -20, 5), (std::vector<int>{-20, -20}));
  EXPECT_EQ(at(-20, 30, 6), (std::vector<int>{-30, 30}));
  EXPECT_EQ(at(30, 20, 7), (std::vector<int>{30, 30}));
  EXPECT_EQ(at(7, 3, -1), (std::vector<int>{7, 3}));
}

class StylusPadTest : public scene_test::CanvasTest {
 protected:
  void TearDown() override {
    if (page_) page_->setActive(false);
    CanvasTest::TearDown();
  }
  scene_test::RecordingCanvas& page() {
    if (!page_) page_ = &makePage();
    return *page_;
  }
  // The stylus as the window procedure delivers it, both phases.
  void stylus(uint32_t message, uintptr_t flags, int x, int y) {
    page().onStylus(message, flags, x, y, 0);
    page().onStylus(message, flags, x, y, 1);
  }
  void down(int x, int y) { stylus(host::WM_LBUTTONDOWN, host::MK_LBUTTON, x, y); }
  void drag(int x, int y) { stylus(host::WM_MOUSEMOVE, host::MK_LBUTTON, x, y); }
  void up(int x, int y) { stylus(host::WM_LBUTTONUP, 0, x, y); }

  std::vector<uint16_t> pixels() {
    platform::BackBuffer* b = page().backBuffer();
    std::vector<uint16_t> out;
    for (int y = 0; y < b->height(); ++y) {
      auto* row = reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(b->pixels()) +
                                                    y * b->pitch());
      out.insert(out.end(), row, row + b->width());
    }
    return out;
  }
  uint16_t pixel(int x, int y) {
    platform::BackBuffer* b = page().backBuffer();
    return reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(b->pixels()) +
                                             y * b->pitch())[x];
  }
  void fill(uint16_t value) {
    platform::BackBuffer* b = page().backBuffer();
    for (int y = 0; y < b->height(); ++y) {
      auto* row =
          reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(b->pixels()) + y * b->pitch());
      std::fill(row, row + b->width(), value);
    }
  }

  scene_test::RecordingCanvas* page_ = nullptr;
};

TEST_F(StylusPadTest, EnablingMakesAScaledPadAndReplacesTheOldOne) {
  platform::setScreenScale(2.0f);
  StylusPad* first = enableDirectionPad(page(), 1, 10, 2);
  ASSERT_EQ(page().directionPad(), first);
  EXPECT_EQ(first->radius(), 20);
  EXPECT_EQ(first->mode(), 2);
  EXPECT_TRUE(first->enabled);
  EXPECT_FALSE(first->dragging());
  EXPECT_EQ(first->sector(), -1);
  EXPECT_EQ(first->lastDrawn().x, -100000);
  EXPECT_EQ(first->lastDrawn().y, -100000);
  EXPECT_EQ(host::Host::get().gdi().kindOf(first->pen()), host::GdiObjectKind::Pen);
  StylusPad* second = enableDirectionPad(page(), 2, 5, 1);
  EXPECT_EQ(page().directionPad(), second);
  EXPECT_EQ(second->radius(), 10);
}

TEST_F(StylusPadTest, DragRightSetsTheRightBit) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  down(100, 100);
  ASSERT_TRUE(pad->dragging());
  EXPECT_EQ(pad->start().x, 100);
  EXPECT_EQ(pad->end().y, 100);
  drag(130, 95);
  EXPECT_EQ(pad->sector(), 0);
  EXPECT_EQ(page().keyState(), 8u);
  EXPECT_EQ(pad->end().x, 130);
  EXPECT_EQ(pad->end().y, 95);
}

TEST_F(StylusPadTest, DeadZoneLeavesTheKeyStateAlone) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  // A hardware arrow and an application button are held.
  page().setKeyState(0x2004);
  down(100, 100);
  drag(105, 105);
  EXPECT_EQ(pad->sector(), -1);
  EXPECT_EQ(page().keyState(), 0x2004u);
  up(105, 105);
  EXPECT_FALSE(pad->dragging());
  EXPECT_EQ(page().keyState(), 0x2004u);
}

TEST_F(StylusPadTest, DiagonalSetsBothBitsAndKeepsTheOthers) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  page().setKeyState(0x2000 | 2);
  down(100, 100);
  drag(120, 80);
  EXPECT_EQ(pad->sector(), 4);
  EXPECT_EQ(page().keyState(), 0x2000u | 9u);
  drag(80, 120);
  EXPECT_EQ(pad->sector(), 6);
  EXPECT_EQ(page().keyState(), 0x2000u | 6u);
  // Release clears the arrow bits only.
  up(80, 120);
  EXPECT_EQ(page().keyState(), 0x2000u);
}

TEST_F(StylusPadTest, FourWayModeNeverSetsTwoArrows) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 1);
  down(100, 100);
  drag(120, 80);
  EXPECT_EQ(pad->sector(), 0);
  EXPECT_EQ(page().keyState(), 8u);
  drag(75, 70);
  EXPECT_EQ(pad->sector(), 1);
  EXPECT_EQ(page().keyState(), 1u);
}

TEST_F(StylusPadTest, LineOnlyModeNeverTouchesTheKeys) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 0);
  page().setKeyState(8);
  down(100, 100);
  drag(60, 100);
  EXPECT_EQ(pad->sector(), -1);
  EXPECT_EQ(page().keyState(), 8u);
  // Nothing is snapped either.
  drag(60, 107);
  EXPECT_EQ(pad->lastDrawn().x, 60);
  EXPECT_EQ(pad->lastDrawn().y, 107);
  up(60, 107);
  EXPECT_EQ(page().keyState(), 8u);
}

TEST_F(StylusPadTest, DrawnBandIsSnappedButTheStylusPointIsKept) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  down(100, 100);
  drag(120, 70);  // up-right; d = max(20, -30) = 20
  EXPECT_EQ(pad->sector(), 4);
  EXPECT_EQ(pad->lastDrawn().x, 120);
  EXPECT_EQ(pad->lastDrawn().y, 80);
  EXPECT_EQ(pad->end().x, 120);
  EXPECT_EQ(pad->end().y, 70);
  // Drawing again sees the same stylus point, so the choice does not drift.
  pad->draw();
  EXPECT_EQ(pad->sector(), 4);
  EXPECT_EQ(pad->lastDrawn().y, 80);
  drag(130, 95);
  EXPECT_EQ(pad->lastDrawn().x, 130);
  EXPECT_EQ(pad->lastDrawn().y, 100);
  drag(70, 80);  // up-left; d = max(-30, -20) = -20
  EXPECT_EQ(pad->sector(), 5);
  EXPECT_EQ(pad->lastDrawn().x, 80);
  EXPECT_EQ(pad->lastDrawn().y, 80);
}

TEST_F(StylusPadTest, ADiagonalSnappedIntoTheDeadZoneKeepsItsDirection) {
  // (5, -12) is up-right by a hair; its 45-degree end (5, -5) lies in the dead zone.
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  down(100, 100);
  drag(105, 88);
  EXPECT_EQ(pad->sector(), 4);
  pad->draw();
  pad->draw();
  EXPECT_EQ(pad->sector(), 4);
  EXPECT_EQ(page().keyState(), 9u);
  up(105, 88);
  EXPECT_EQ(page().keyState(), 0u);
}

TEST_F(StylusPadTest, LiftingInTheDeadZoneStillReleasesTheArrow) {
  enableDirectionPad(page(), 1, 10, 2);
  page().setKeyState(0x4000);
  down(100, 100);
  drag(140, 100);
  EXPECT_EQ(page().keyState(), 0x4008u);
  drag(102, 101);  // back in the dead zone: the direction is held
  EXPECT_EQ(page().keyState(), 0x4008u);
  up(102, 101);
  EXPECT_EQ(page().keyState(), 0x4000u);
}

TEST_F(StylusPadTest, ANewDragDoesNotStartWithTheLastDirection) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  down(100, 100);
  drag(140, 100);
  up(140, 100);
  EXPECT_EQ(page().keyState(), 0u);
  down(50, 50);
  EXPECT_EQ(pad->sector(), -1);
  drag(52, 50);
  EXPECT_EQ(page().keyState(), 0u);
}

TEST_F(StylusPadTest, TapsAfterADragLeaveHardwareArrowsAlone) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  down(100, 100);
  drag(140, 100);
  up(140, 100);
  EXPECT_EQ(pad->sector(), -1);
  // The right arrow is now held on the keypad; taps on free space must not release it.
  page().setKeyState(8);
  down(60, 60);
  up(60, 60);
  EXPECT_EQ(page().keyState(), 8u);
  pad->enabled = false;
  down(60, 60);
  up(60, 60);
  EXPECT_EQ(page().keyState(), 8u);
}

TEST_F(StylusPadTest, MovesWithoutTheStylusDownAreNotFollowed) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  down(100, 100);
  stylus(host::WM_MOUSEMOVE, 0, 150, 100);
  EXPECT_EQ(pad->end().x, 100);
  EXPECT_EQ(page().keyState(), 0u);
}

TEST_F(StylusPadTest, DisabledPadNeverDrags) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  pad->enabled = false;
  down(100, 100);
  EXPECT_FALSE(pad->dragging());
  drag(140, 100);
  EXPECT_EQ(page().keyState(), 0u);
}

TEST_F(StylusPadTest, BandIsInvertedAndDrawingItTwiceErasesIt) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  fill(0x1234);
  std::vector<uint16_t> before = pixels();
  down(100, 100);
  EXPECT_EQ(pixels(), before);
  // The page is not running frames: the move redraws it at once, band included. It has no
  // scenes, so the ground stays and only the band changes it.
  drag(150, 103);
  const uint16_t inverted = static_cast<uint16_t>(~0x1234);
  EXPECT_EQ(pixel(100, 90), inverted);       // top of the circle around the press
  EXPECT_EQ(pixel(90, 100), inverted);       // its left
  EXPECT_EQ(pixel(150, 90), inverted);       // top of the circle around the (snapped) end
  EXPECT_EQ(pixel(160 - 1, 100), inverted);  // its right
  EXPECT_EQ(pixel(125, 100), inverted);      // the line, snapped to the press row
  EXPECT_EQ(pixel(125, 103), 0x1234);        // not where the stylus is
  EXPECT_EQ(pixel(20, 20), 0x1234);
  EXPECT_NE(pixels(), before);
  pad->draw();
  EXPECT_EQ(pixels(), before);
}

TEST_F(StylusPadTest, WidePenBandIsVisibleAndErasable) {
  StylusPad* pad = enableDirectionPad(page(), 2, 10, 2);
  fill(0x0841);
  std::vector<uint16_t> before = pixels();
  down(100, 100);
  drag(160, 100);
  const uint16_t inverted = static_cast<uint16_t>(~0x0841);
  // A two-pixel pen inverts each pixel of its stroke once.
  EXPECT_EQ(pixel(130, 100), inverted);
  pad->draw();
  EXPECT_EQ(pixels(), before);
}

TEST_F(StylusPadTest, WidePenInvertsEachPixelOfItsStrokeOnce) {
  fill(0);
  host::Gdi& gdi = host::Host::get().gdi();
  host::Hdc dc = page().drawDC();
  host::Hpen pen = gdi.createPen(host::PS_SOLID, 2, host::rgb(255, 255, 255));
  host::Hgdiobj oldPen = gdi.selectObject(dc, pen);
  int oldRop = gdi.setROP2(dc, host::R2_NOT);
  host::Point points[2] = {{10, 50}, {60, 50}};
  ASSERT_TRUE(gdi.polyline(dc, points, 2));
  gdi.setROP2(dc, oldRop);
  gdi.selectObject(dc, oldPen);
  gdi.deleteObject(pen);
  // Fifty steps of a 2 x 2 square: columns 10 to 60, rows 50 and 51, each inverted once.
  int inverted = 0, elsewhere = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      if (pixel(x, y) != 0xFFFF) continue;
      if (x >= 10 && x <= 60 && y >= 50 && y <= 51)
        ++inverted;
      else
        ++elsewhere;
    }
  EXPECT_EQ(inverted, 102);
  EXPECT_EQ(elsewhere, 0);
}

TEST_F(StylusPadTest, ActivePageIsNotRedrawnByTheMove) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  fill(0x1234);
  std::vector<uint16_t> before = pixels();
  page().setActive(true);
  down(100, 100);
  drag(150, 100);
  EXPECT_EQ(page().keyState(), 8u);
  EXPECT_EQ(pixels(), before);
  up(150, 100);
  EXPECT_EQ(pixels(), before);
  EXPECT_FALSE(pad->dragging());
}

TEST_F(StylusPadTest, ReleaseRedrawsAnInactivePageWithoutTheBand) {
  StylusPad* pad = enableDirectionPad(page(), 1, 10, 2);
  auto ground =
      std::make_unique<scene_test::RecordingScene>(scene::Scene::kSprite, &log, "ground", 0x1234);
  ground->width = page().clientWidth();
  ground->height = page().clientHeight();
  page().addScene("ground", std::move(ground));
  auto draws = [&] { return std::count(log.begin(), log.end(), std::string("draw:ground")); };
  down(100, 100);
  log.clear();
  drag(150, 100);
  // Redrawn at once: the ground, then the band over it.
  EXPECT_EQ(draws(), 1);
  EXPECT_EQ(pixel(125, 100), static_cast<uint16_t>(~0x1234));
  log.clear();
  up(150, 100);
  EXPECT_FALSE(pad->dragging());
  EXPECT_EQ(draws(), 1);
  EXPECT_EQ(pixel(125, 100), 0x1234);
  EXPECT_EQ(pixel(100, 90), 0x1234);
}

}  // namespace
}  // namespace media::testing
