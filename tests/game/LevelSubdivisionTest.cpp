// The battle page's answer to the software renderer's split question, rule by rule.
#include "game/LevelSubdivision.h"

#include <gtest/gtest.h>

namespace game::testing {
namespace {

using engine3d::ProjectedCorner;

class LevelSubdivisionTest : public ::testing::Test {
 protected:
  void SetUp() override { question.setUp(&ceiling, &ground, &wall, 45, 15); }
  engine3d::Face faceOf(engine3d::Mesh& mesh) {
    engine3d::Face f;
    f.owner = &mesh;
    return f;
  }
  bool ask(engine3d::Mesh& mesh, int depth, const ProjectedCorner (&c)[3]) {
    engine3d::Face f = faceOf(mesh);
    return question.shouldSplit(f, depth, c);
  }
  engine3d::Mesh ceiling, ground, wall, sofa;
  LevelSubdivision question;
};

// Large on the screen (60 across, 60 down), near (depths add to 60), deep (spread 40).
constexpr ProjectedCorner kNearBig[3] = {{0, 0, 10}, {30, 30, 30}, {0, 30, 20}};

TEST_F(LevelSubdivisionTest, FloorsAndCeilingsSplitOnceWhateverTheirShape) {
  const ProjectedCorner tiny[3] = {{0, 0, 500}, {1, 0, 500}, {0, 1, 500}};
  EXPECT_TRUE(ask(ground, 0, tiny));
  EXPECT_TRUE(ask(ceiling, 0, tiny));
  EXPECT_FALSE(ask(ground, 1, kNearBig));
}

TEST_F(LevelSubdivisionTest, FurnitureSplitsOnlyWhenNearLargeAndDeep) {
  EXPECT_TRUE(ask(sofa, 0, kNearBig));
  EXPECT_FALSE(ask(sofa, 1, kNearBig)) << "never twice";
  // Depths adding to more than 100: too far.
  const ProjectedCorner far[3] = {{0, 0, 30}, {30, 30, 50}, {0, 30, 40}};
  EXPECT_FALSE(ask(sofa, 0, far));
  // 44 across (the sum of the three x differences): too narrow; 44 down: too flat.
  const ProjectedCorner narrow[3] = {{0, 0, 10}, {22, 30, 30}, {0, 30, 20}};
  EXPECT_FALSE(ask(sofa, 0, narrow));
  const ProjectedCorner flat[3] = {{0, 0, 10}, {30, 22, 30}, {0, 22, 20}};
  EXPECT_FALSE(ask(sofa, 0, flat));
  // Depths spread by 15 in all: not deep enough (it must exceed 15).
  const ProjectedCorner shallow[3] = {{0, 0, 10}, {30, 30, 17}, {0, 30, 14}};
  EXPECT_FALSE(ask(sofa, 0, shallow));
}

TEST_F(LevelSubdivisionTest, WallsSkipTheNearAndSizeRules) {
  const ProjectedCorner farDeep[3] = {{0, 0, 100}, {3, 3, 130}, {0, 3, 120}};
  EXPECT_TRUE(ask(wall, 0, farDeep));
  EXPECT_FALSE(ask(sofa, 0, farDeep));
  const ProjectedCorner farFlat[3] = {{0, 0, 100}, {3, 3, 105}, {0, 3, 103}};
  EXPECT_FALSE(ask(wall, 0, farFlat));
}

}  // namespace
}  // namespace game::testing
