#include "game/PathFinder.h"

#include <gtest/gtest.h>

#include "game/Analyzer.h"
#include "game/HandModels.h"

namespace {

using engine3d::Vector3;
using game::Analyzer;
using game::PathFinder;
using game_test::HandModel;

// A room centred on the origin as loaded levels are: a floor at y = -2 over [-10, 10]^2, a
// ceiling at y = 2 and a small block of two squares at x, z in [6, 9], y -1 and 0: the coarse
// cells under the block hold more.
std::unique_ptr<Analyzer> gridOf(const engine3d::Group3D& model, int x, int y, int z, int level) {
  Analyzer::Options options;
  options.granularityX = x;
  options.granularityY = y;
  options.granularityZ = z;
  options.pathFinderLevel = level;
  return Analyzer::build(model, "room", options);
}

std::unique_ptr<engine3d::Group3D> room() {
  return HandModel()
      .object("ground")
      .level(-2, -10, 10, -10, 10, true)
      .object("ceiling")
      .level(2, -10, 10, -10, 10, false)
      .object("block")
      .level(-1, 6, 9, 6, 9, false)
      .level(0, 6, 9, 6, 9, true)
      .take();
}

TEST(PathFinder, ContentIsMinusOneOutsideOnEverySideAndCountsInside) {
  auto model = room();
  auto grid = gridOf(*model, 4, 2, 4, 2);
  const PathFinder& f = *grid->pathFinder();
  ASSERT_EQ(f.dimX(), 2);
  ASSERT_EQ(f.dimY(), 1);
  ASSERT_EQ(f.dimZ(), 2);
  for (PathFinder::Cell outside :
       {PathFinder::Cell{-1, 0, 0}, PathFinder::Cell{2, 0, 0}, PathFinder::Cell{0, -1, 0},
        PathFinder::Cell{0, 1, 0}, PathFinder::Cell{0, 0, -1}, PathFinder::Cell{0, 0, 2}})
    EXPECT_EQ(f.content(outside), -1) << outside.i << "," << outside.j << "," << outside.k;
  // Floor and ceiling: four triangles, each covering 2 x 1 x 2 fine cells of every coarse cell.
  // The block's squares each cover the single fine cell x, z = 3 (6..9 in cells of 5.01 from
  // -10.02) in one y cell: one reference each, in coarse cell (1, 0, 1) only.
  EXPECT_EQ(f.content({0, 0, 0}), 16);
  EXPECT_EQ(f.content({1, 0, 0}), 16);
  EXPECT_EQ(f.content({1, 0, 1}), 16 + 4);
  EXPECT_EQ(f.info(), "dimX:2, dimY:1, dimZ:2, CellNum :4, TrianglePerCell:17.0");
}

TEST(PathFinder, CellsCountEveryFineCellOfAFaceBoxThatFallsIntoThem) {
  auto model = room();
  // 8 x 4 x 8 fine cells, level 2: 4 x 2 x 4 coarse cells of 2 x 2 x 2.
  auto grid = gridOf(*model, 8, 4, 8, 2);
  const PathFinder& f = *grid->pathFinder();
  // Fine cells are 2.505 wide in x and z: the block (6..9) covers fine cells 6 and 7, coarse 3;
  // y cells are 1.002 high from -2.004: y -1 and 0 are fine cells 1 and 2, coarse 0 and 1.
  // Each square covers 2 x 1 x 2 fine cells in its coarse cell: two triangles, 4 each.
  // The floor's triangles cover all fine x and z cells in fine y cell 0, so each coarse cell
  // of row y 0 gets 2 x 1 x 2 per triangle, 8 for the floor; the ceiling (fine y 3) gives the
  // same to row y 1.
  EXPECT_EQ(f.content({0, 0, 0}), 8);
  EXPECT_EQ(f.content({2, 1, 1}), 8);
  EXPECT_EQ(f.content({3, 0, 3}), 8 + 8);  // floor and the block's lower square
  EXPECT_EQ(f.content({3, 1, 3}), 8 + 8);  // ceiling and the upper square
  EXPECT_EQ(f.content({3, 1, 2}), 8);
}

TEST(PathFinder, CentreAndCellOfAgree) {
  auto model = room();
  auto grid = gridOf(*model, 24, 12, 24, 2);
  const PathFinder& f = *grid->pathFinder();
  for (int i = 0; i < f.dimX(); ++i)
    for (int j = 0; j < f.dimY(); ++j)
      for (int k = 0; k < f.dimZ(); ++k) {
        const PathFinder::Cell c{i, j, k};
        EXPECT_EQ(f.cellOf(f.centreOf(c)), c) << i << "," << j << "," << k;
      }
}

TEST(PathFinder, CentreOfACellByHand) {
  auto model = room();
  // x: cell size 1313340 / 4 = 328335, dims / 2 = 656670; y: 131334 and 131334.
  auto game = gridOf(*model, 4, 2, 4, 2);
  // Level 2, two fine cells a side: 328335 x (1 x 2) + 328335 - 656670 = 328335.
  EXPECT_EQ(game->pathFinder()->centreOf({1, 0, 0}),
            Vector3(328335 / 65536.0f, 0.0f, -328335 / 65536.0f));
  // Level 1, one fine cell a side: the middle of the cell, 328335 x 2 + 164167 - 656670.
  auto fine = gridOf(*model, 4, 2, 4, 1);
  EXPECT_EQ(fine->pathFinder()->centreOf({2, 1, 0}),
            Vector3(164167 / 65536.0f, 65667 / 65536.0f, -492503 / 65536.0f));
}

TEST(PathFinder, CellOfAPointOutsideTheLevel) {
  auto model = room();
  auto grid = gridOf(*model, 4, 2, 4, 2);
  const PathFinder& f = *grid->pathFinder();
  // Less than one fine cell below minP truncates toward zero, into cell 0 ...
  EXPECT_EQ(f.cellOf({-10.5f, 0, 0}).i, 0);
  // ... one or more below is outside, and blocked.
  const PathFinder::Cell below = f.cellOf({-16, 0, 0});
  EXPECT_EQ(below.i, -1);
  EXPECT_EQ(f.content(below), -1);
  EXPECT_EQ(f.cellOf({12, 0, 0}).i, 2);  // fine cell 4: past the last coarse cell
  // Far away in any direction does not overflow.
  const PathFinder::Cell far = f.cellOf({3e38f, -3e38f, 1e20f});
  EXPECT_GT(far.i, 2);
  EXPECT_LT(far.j, 0);
  EXPECT_EQ(f.content(far), -1);
}

}  // namespace
