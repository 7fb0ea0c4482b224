#include "game/Analyzer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "game/HandModels.h"

namespace {

using engine3d::Face;
using engine3d::Vector3;
using game::Analyzer;
using game::AxisHit;
using game_test::HandModel;

Analyzer::Options gridOf(int x, int y, int z, int level = 0) {
  Analyzer::Options options;
  options.granularityX = x;
  options.granularityY = y;
  options.granularityZ = z;
  options.pathFinderLevel = level;
  return options;
}

bool holds(const std::vector<const Face*>& row, const Face* face) {
  return std::find(row.begin(), row.end(), face) != row.end();
}

// A floor (facing up) at y = 0 and a ceiling (facing down) at y = 4 over [-10, 10]^2.
std::unique_ptr<engine3d::Group3D> floorAndCeiling() {
  return HandModel()
      .object("ground")
      .level(0, -10, 10, -10, 10, true)
      .object("ceiling")
      .level(4, -10, 10, -10, 10, false)
      .take();
}

TEST(AnalyzerBuild, BoundsCellsAndBothInfoTextsOfASmallModel) {
  auto model = floorAndCeiling();
  auto grid = Analyzer::build(*model, "room", gridOf(4, 2, 4, 2));
  ASSERT_NE(grid, nullptr);
  // Box (-10, 0, -10)..(10, 4, 10) enlarged by 0.001 of (20, 4, 20) on each side, truncated to
  // 16.16: -10.02 * 65536 = -656670.7, 4.004 * 65536 = 262406.1, -0.004 * 65536 = -262.1.
  EXPECT_EQ(grid->minP(), (std::array<std::int32_t, 3>{-656670, -262, -656670}));
  EXPECT_EQ(grid->maxP(), (std::array<std::int32_t, 3>{656670, 262406, 656670}));
  EXPECT_EQ(grid->dims(), (std::array<std::int32_t, 3>{1313340, 262668, 1313340}));
  EXPECT_EQ(grid->cellSize(), (std::array<std::int32_t, 3>{328335, 131334, 328335}));
  // Each of the four triangles covers x and z cells 0..3 in one y cell (floor 0, ceiling 1):
  // 4 rows along x, 16 along y, 4 along z. The rows along y are shared by all four.
  // Rows: 8 + 16 + 8 = 32; listings: 4 x 24 = 96.
  EXPECT_EQ(grid->rowCount(), 32);
  EXPECT_EQ(grid->info(),
            "minP:(-10.0,-0.0,-10.0), maxP:(10.0,4.0,10.0), _dimX:20.0, _dimY:4.0, _dimZ:20.0, "
            "granuX:4, granuY:2, granuZ:4, CellNum:32, TrianglePerCell:3.0, ");
  // Level 2 joins 2 x 2 x 2 cells: a 2 x 1 x 2 grid. Every coarse cell holds 2 x 1 x 2 cells of
  // each triangle's box: 4 references per triangle, 16 in all.
  const game::PathFinder* finder = grid->pathFinder();
  ASSERT_NE(finder, nullptr);
  EXPECT_EQ(finder->info(), "dimX:2, dimY:1, dimZ:2, CellNum :4, TrianglePerCell:16.0");
  EXPECT_EQ(finder->content({1, 0, 0}), 16);
}

TEST(AnalyzerBuild, GranularityIsClampedAndThePathFinderLevelSetsItsSize) {
  auto model = floorAndCeiling();
  auto grid = Analyzer::build(*model, "room", gridOf(0, 5000, -3, 0));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->granularity(), (std::array<int, 3>{1, 1000, 1}));
  EXPECT_EQ(grid->pathFinder(), nullptr);

  auto game = Analyzer::build(*model, "room", gridOf(24, 12, 24, 2));
  ASSERT_NE(game->pathFinder(), nullptr);
  EXPECT_EQ(game->pathFinder()->dimX(), 12);
  EXPECT_EQ(game->pathFinder()->dimY(), 6);
  EXPECT_EQ(game->pathFinder()->dimZ(), 12);
  EXPECT_EQ(game->pathFinder()->shift(), 1);

  auto fine = Analyzer::build(*model, "room", gridOf(24, 12, 24, 1));
  EXPECT_EQ(fine->pathFinder()->dimY(), 12);
  auto coarse = Analyzer::build(*model, "room", gridOf(24, 12, 24, 5));
  EXPECT_EQ(coarse->pathFinder()->dimX(), 1);  // 24 >> 4
  EXPECT_EQ(coarse->pathFinder()->dimY(), 0);  // 12 >> 4: no cell is inside
  EXPECT_EQ(coarse->pathFinder()->content({0, 0, 0}), -1);
  auto deepest = Analyzer::build(*model, "room", gridOf(24, 12, 24, 40));
  EXPECT_EQ(deepest->pathFinder()->shift(), game::PathFinder::kMaxShift);
  EXPECT_EQ(Analyzer::build(*model, "room", gridOf(24, 12, 24, -1))->pathFinder(), nullptr);
}

TEST(AnalyzerBuild, NoIncludedObjectWithVerticesGivesNoGrid) {
  engine3d::Group3D empty;
  EXPECT_EQ(Analyzer::build(empty, "empty", gridOf(4, 4, 4)), nullptr);

  HandModel hollow;
  hollow.object("nothing");
  auto noVertices = hollow.take();
  EXPECT_EQ(Analyzer::build(*noVertices, "hollow", gridOf(4, 4, 4)), nullptr);

  auto model = floorAndCeiling();
  Analyzer::Options options = gridOf(4, 4, 4);
  options.include = "wall";
  EXPECT_EQ(Analyzer::build(*model, "room", options), nullptr);
  options.include = "g";   // "ground" and "ceiling" both contain it ...
  options.exclude = "in";  // ... but "ceiling" is excluded
  EXPECT_NE(Analyzer::build(*model, "room", options), nullptr);
}

TEST(AnalyzerBuild, IncludeAndExcludeChooseTheObjectsOfTheBoxAndTheRows) {
  auto model = floorAndCeiling();
  Analyzer::Options options = gridOf(4, 2, 4);
  options.exclude = "ceil";
  auto grid = Analyzer::build(*model, "room", options);
  ASSERT_NE(grid, nullptr);
  // Only the floor: the box is flat, so y has no size, no margin and a cell size of 0.
  EXPECT_EQ(grid->minP()[1], 0);
  EXPECT_EQ(grid->dims()[1], 0);
  EXPECT_EQ(grid->cellSize()[1], 0);
  AxisHit up = grid->query({1, 2, 1}, 1);
  ASSERT_TRUE(up.hit());
  EXPECT_EQ(up.object->name, "ground");
  EXPECT_EQ(grid->query({1, 2, 1}, 1, Analyzer::kAbove).face, nullptr);

  options.exclude.reset();
  options.include = "ceil";
  auto ceiling = Analyzer::build(*model, "room", options);
  AxisHit down = ceiling->query({1, 2, 1}, 1);
  ASSERT_TRUE(down.hit());
  EXPECT_EQ(down.object->name, "ceiling");
}

TEST(AnalyzerBuild, ProgressIsReportedAtEachStepAndAfterEachObject) {
  auto model = HandModel()
                   .object("a")
                   .level(0, 0, 1, 0, 1, true)
                   .object("b")
                   .level(1, 0, 1, 0, 1, true)
                   .object("skip")
                   .level(2, 0, 1, 0, 1, true)
                   .object("c")
                   .level(3, 0, 1, 0, 1, true)
                   .take();
  std::vector<int> percents;
  Analyzer::Options options = gridOf(4, 4, 4);
  options.exclude = "skip";
  options.progress = [&](std::string_view text, std::string_view name, int percent) {
    EXPECT_EQ(text, "Analyzing 3D Models");
    EXPECT_EQ(name, "hand.3ds");
    percents.push_back(percent);
  };
  ASSERT_NE(Analyzer::build(*model, "hand.3ds", options), nullptr);
  // Three included objects: 50 + 50 x 1 / 3, 50 + 50 x 2 / 3, 50 + 50 x 3 / 3, then the end.
  EXPECT_EQ(percents, (std::vector<int>{0, 25, 50, 66, 83, 100, 100}));
}

TEST(AnalyzerBuild, TheFaceFilterAndBrokenFacesKeepFacesOutOfTheRows) {
  HandModel hand;
  hand.object("ground").level(0, -10, 10, -10, 10, true);
  hand.object("dummy_t0").level(2, -1, 1, -1, 1, true).brokenFace();
  auto model = hand.take();
  Analyzer::Options options = gridOf(4, 4, 4);
  options.filter = [](const engine3d::Mesh& object, const engine3d::Face&) {
    return object.name.find("dummy_") == std::string::npos;
  };
  auto grid = Analyzer::build(*model, "room", options);
  ASSERT_NE(grid, nullptr);
  // The marker still counts for the box (it is an included object) ...
  EXPECT_EQ(grid->maxP()[1], 131203);  // 2.002 x 65536
  // ... but its faces are in no row: the floor answers from above the marker.
  AxisHit hit = grid->query({0, 5, 0}, 1);
  ASSERT_TRUE(hit.hit());
  EXPECT_EQ(hit.object->name, "ground");

  // Unfiltered, the marker answers first; the broken face is still skipped.
  auto all = Analyzer::build(*model, "room", gridOf(4, 4, 4));
  EXPECT_EQ(all->query({0, 5, 0}, 1).object->name, "dummy_t0");
  int listed = 0;
  for (int x = 0; x < 4; ++x)
    for (int z = 0; z < 4; ++z) listed += static_cast<int>(all->row(x, -1, z).size());
  // Cells of 5.01 units: the floor's two triangles in all 16 rows, the marker's in 2 x 2.
  EXPECT_EQ(listed, 16 * 2 + 4 * 2);
}

TEST(AnalyzerRows, AFaceSpanningSeveralCellsIsInEveryRowOfItsBox) {
  // A slanted triangle inside a larger box (a floor spans the whole grid).
  HandModel hand;
  hand.object("floor").level(0, 0, 20, 0, 10, true);
  hand.object("ramp").triangle({2.5f, 1, 1.5f}, {11, 7, 3}, {6, 9, 8.5f});
  auto model = hand.take();
  auto grid = Analyzer::build(*model, "room", gridOf(8, 10, 8));
  ASSERT_NE(grid, nullptr);
  const Face* ramp = &model->findMesh("ramp")->faces[0];
  // Cells: x 20.04 / 8 = 2.505 wide, y 9.018 / 10 = 0.9018, z 10.02 / 8 = 1.2525 (from -0.02,
  // -0.009, -0.01). Corners: x 2.5, 11, 6 -> cells 1, 4, 2; y 1, 7, 9 -> 1, 7, 9; z 1.5, 3,
  // 8.5 -> 1, 2, 6.
  const int x0 = 1, x1 = 4, y0 = 1, y1 = 9, z0 = 1, z1 = 6;
  for (int y = 0; y < 10; ++y)
    for (int z = 0; z < 8; ++z)
      EXPECT_EQ(holds(grid->row(-1, y, z), ramp), y >= y0 && y <= y1 && z >= z0 && z <= z1)
          << "row (-1, " << y << ", " << z << ")";
  for (int x = 0; x < 8; ++x)
    for (int z = 0; z < 8; ++z)
      EXPECT_EQ(holds(grid->row(x, -1, z), ramp), x >= x0 && x <= x1 && z >= z0 && z <= z1)
          << "row (" << x << ", -1, " << z << ")";
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 10; ++y)
      EXPECT_EQ(holds(grid->row(x, y, -1), ramp), x >= x0 && x <= x1 && y >= y0 && y <= y1)
          << "row (" << x << ", " << y << ", -1)";
}

TEST(AnalyzerQuery, APointOutsideTheGridReadsTheBorderRow) {
  auto model = floorAndCeiling();
  auto grid = Analyzer::build(*model, "room", gridOf(4, 2, 4));
  // Along y from far outside in x and z: the border cells, -1 on the query's own axis.
  EXPECT_EQ(grid->rowOf({-500, 2, 700}, 1), (std::array<int, 3>{0, -1, 3}));
  EXPECT_EQ(grid->rowOf({10.5f, 9, -10.5f}, 2), (std::array<int, 3>{3, 1, -1}));
  // Just below minP truncates toward zero into cell 0; so does far below, by the clamp.
  EXPECT_EQ(grid->rowOf({0, -0.1f, 0}, 0), (std::array<int, 3>{-1, 0, 2}));
  EXPECT_EQ(grid->rowOf({0, -3, 0}, 0), (std::array<int, 3>{-1, 0, 2}));
  const float huge = std::numeric_limits<float>::max();
  EXPECT_EQ(grid->rowOf({huge, -huge, huge}, 1), (std::array<int, 3>{3, -1, 3}));
  EXPECT_EQ(grid->rowOf({std::nanf(""), 0, -INFINITY}, 1), (std::array<int, 3>{2, -1, 0}));
  // The border row is asked, but its faces are not on the line: no hit, and no trouble.
  EXPECT_FALSE(grid->query({-500, 2, 700}, 1).hit());
  EXPECT_FALSE(grid->query({huge, huge, huge}, 0).hit());
  // Outside along the query's own axis needs no clamp: the floor is found from far above.
  AxisHit fromAbove = grid->query({3, 1000, -2}, 1, Analyzer::kBelow);
  ASSERT_TRUE(fromAbove.hit());
  EXPECT_EQ(fromAbove.object->name, "ground");
}

TEST(AnalyzerQuery, AVerticalFaceNeverAnswersAQueryAlongY) {
  HandModel hand;
  hand.object("wall")
      .triangle({0, 0, -5}, {0, 4, -5}, {0, 0, 5})
      .triangle({0, 4, -5}, {0, 4, 5}, {0, 0, 5});
  hand.object("ground").level(-1, -5, 5, -5, 5, true);
  auto model = hand.take();
  auto grid = Analyzer::build(*model, "room", gridOf(6, 6, 6));
  // On the wall's plane the line along y lies in the wall; only the ground may answer.
  for (int mode : {Analyzer::kAbove, Analyzer::kBelow, Analyzer::kNearest}) {
    for (float z : {-4.0f, 0.0f, 2.5f}) {
      AxisHit hit = grid->query({0, 2, z}, 1, mode);
      if (hit.hit()) {
        EXPECT_EQ(hit.object->name, "ground") << "mode " << mode << " z " << z;
      }
    }
  }
  EXPECT_EQ(grid->query({0, 2, 0}, 1, Analyzer::kAbove).face, nullptr);
  // Along x the wall answers, its normal along x.
  AxisHit across = grid->query({-3, 2, 1}, 0);
  ASSERT_TRUE(across.hit());
  EXPECT_EQ(across.object->name, "wall");
  EXPECT_NEAR(std::fabs(across.normal.x), 1.0f, 1e-4f);
  EXPECT_FLOAT_EQ(across.point.x, 0.0f);
  EXPECT_FLOAT_EQ(across.offset.x, -3.0f);
}

class StackOfFaces : public ::testing::Test {
 protected:
  // Up-facing floors at y = 0 and 2, down-facing ceilings at y = 1, 5 and 8.
  void SetUp() override {
    HandModel hand;
    hand.object("up0").level(0, -5, 5, -5, 5, true);
    hand.object("down1").level(1, -5, 5, -5, 5, false);
    hand.object("up2").level(2, -5, 5, -5, 5, true);
    hand.object("down5").level(5, -5, 5, -5, 5, false);
    hand.object("down8").level(8, -5, 5, -5, 5, false);
    model = hand.take();
    grid = Analyzer::build(*model, "stack", gridOf(3, 3, 3));
    ASSERT_NE(grid, nullptr);
  }
  std::string at(float y, int mode) const {
    AxisHit hit = grid->query({1, y, -2}, 1, mode);
    return hit.hit() ? hit.object->name : "none";
  }

  std::unique_ptr<engine3d::Group3D> model;
  std::unique_ptr<Analyzer> grid;
};

TEST_F(StackOfFaces, BelowTakesTheHighestUpFacingFaceAtOrBelowThePoint) {
  EXPECT_EQ(at(1.4f, Analyzer::kBelow), "up0");  // down1 is nearer but faces the other way
  EXPECT_EQ(at(3, Analyzer::kBelow), "up2");
  EXPECT_EQ(at(2, Analyzer::kBelow), "up2");  // on the face counts
  EXPECT_EQ(at(9, Analyzer::kBelow), "up2");
  EXPECT_EQ(at(-0.5f, Analyzer::kBelow), "none");
}

TEST_F(StackOfFaces, AboveTakesTheLowestDownFacingFaceAtOrAboveThePoint) {
  EXPECT_EQ(at(-3, Analyzer::kAbove), "down1");
  EXPECT_EQ(at(1.5f, Analyzer::kAbove), "down5");  // up2 is nearer but faces the other way
  EXPECT_EQ(at(5, Analyzer::kAbove), "down5");
  EXPECT_EQ(at(6, Analyzer::kAbove), "down8");
  EXPECT_EQ(at(8.5f, Analyzer::kAbove), "none");
}

TEST_F(StackOfFaces, NearestTakesTheClosestFaceEitherWayWithItsPointNormalAndOffset) {
  EXPECT_EQ(at(1.4f, Analyzer::kNearest), "down1");
  EXPECT_EQ(at(3, Analyzer::kNearest), "up2");
  EXPECT_EQ(at(4, Analyzer::kNearest), "down5");
  EXPECT_EQ(at(12, Analyzer::kNearest), "down8");
  AxisHit hit = grid->query({1, 3, -2}, 1);
  EXPECT_EQ(hit.point, Vector3(1, 2, -2));
  EXPECT_EQ(hit.offset, Vector3(0, 1, 0));
  EXPECT_FLOAT_EQ(hit.squaredDistance(), 1.0f);
  // The stored normal of an up-facing square points down; the hit carries it negated.
  EXPECT_EQ(hit.face->ny, -65536);
  EXPECT_EQ(hit.normal, Vector3(0, 1, 0));
  AxisHit ceiling = grid->query({1, 4, -2}, 1);
  EXPECT_EQ(ceiling.normal, Vector3(0, -1, 0));
  EXPECT_EQ(ceiling.offset, Vector3(0, -1, 0));
}

TEST_F(StackOfFaces, AxisOrModeOutOfRangeHitsNothingAndTwoSidedComesFromTheMaterial) {
  EXPECT_FALSE(grid->query({1, 3, -2}, 3).hit());
  EXPECT_FALSE(grid->query({1, 3, -2}, -1).hit());
  EXPECT_FALSE(grid->query({1, 3, -2}, 1, 3).hit());
  EXPECT_FALSE(grid->query({1, 3, -2}, 1, -1).hit());
  AxisHit none;
  EXPECT_FALSE(none.twoSided());
  EXPECT_EQ(none.squaredDistance(), 0.0f);
  AxisHit hit = grid->query({1, 3, -2}, 1);
  EXPECT_FALSE(hit.twoSided());
  model->findMesh("up2")->material->twoSided = true;
  EXPECT_TRUE(hit.twoSided());
}

}  // namespace
