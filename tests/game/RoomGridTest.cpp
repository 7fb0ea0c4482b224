// The collision grid over real rooms of the built content, checked against answers worked out
// without it: every face of the room tried for every query, in double precision.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine3d/FixedPoint.h"
#include "game/Analyzer.h"
#include "game/ContentRooms.h"
#include "game/Level.h"

namespace {

using engine3d::Face;
using engine3d::Mesh;
using engine3d::Vector3;
using game::Analyzer;
using game::AxisHit;
using game::PathFinder;

struct Crossing {
  const Face* face;
  double at;        // where the line meets the face's plane, along the axis
  double distance;  // |p_a - at|
};

double axisOf(const Vector3& v, int axis) {
  return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

// Every face of `level` (outside the spawn markers) whose plane is not parallel to the axis and
// whose triangle the line through p along `axis` crosses. `nearEdge` is set when p lies within
// 1e-4 units of an edge of a face it may or may not cross: float and double may then disagree.
std::vector<Crossing> crossings(const engine3d::Group3D& level, const Vector3& p, int axis,
                                bool& nearEdge) {
  const int u = (axis + 1) % 3;
  const int v = (axis + 2) % 3;
  const double pu = axisOf(p, u), pv = axisOf(p, v), pa = axisOf(p, axis);
  std::vector<Crossing> found;
  nearEdge = false;
  for (const auto& mesh : level.meshes()) {
    if (mesh->name.find("dummy_") != std::string::npos) continue;
    for (const Face& face : mesh->faces) {
      const double n[3] = {-face.nx / 65536.0, -face.ny / 65536.0, -face.nz / 65536.0};
      if (std::fabs(n[axis]) < 1e-10) continue;
      double corner[3][3];
      for (int c = 0; c < 3; ++c) {
        const engine3d::Vertex& vx = mesh->vertices[static_cast<size_t>(face.index(c))];
        corner[c][0] = vx.x / 65536.0;
        corner[c][1] = vx.y / 65536.0;
        corner[c][2] = vx.z / 65536.0;
      }
      // Signed distances of (pu, pv) from the three edges.
      double side[3];
      for (int e = 0; e < 3; ++e) {
        const double* a = corner[e];
        const double* b = corner[(e + 1) % 3];
        const double eu = b[u] - a[u], ev = b[v] - a[v];
        const double length = std::sqrt(eu * eu + ev * ev);
        side[e] = length == 0 ? 0 : (eu * (pv - a[v]) - ev * (pu - a[u])) / length;
      }
      const bool inside = (side[0] >= 0 && side[1] >= 0 && side[2] >= 0) ||
                          (side[0] <= 0 && side[1] <= 0 && side[2] <= 0);
      for (double s : side)
        if (std::fabs(s) < 1e-4) nearEdge = true;
      if (!inside) continue;
      const double* a = corner[0];
      const double at = a[axis] - (n[u] * (pu - a[u]) + n[v] * (pv - a[v])) / n[axis];
      found.push_back({&face, at, std::fabs(pa - at)});
    }
  }
  return found;
}

class RoomGrid : public ::testing::TestWithParam<int> {};

TEST_P(RoomGrid, NearestHitsAgreeWithTryingEveryFace) {
  const int number = GetParam();
  auto level = game_test::contentRoom(number);
  ASSERT_NE(level, nullptr) << "room " << number << " (build the content first)";
  auto grid = game::analyzeLevel(*level);
  ASSERT_NE(grid, nullptr);
  float lo[3], hi[3];
  for (int k = 0; k < 3; ++k) {
    lo[k] = engine3d::fixedToFloatValue(grid->minP()[k]);
    hi[k] = engine3d::fixedToFloatValue(grid->maxP()[k]);
  }
  std::mt19937 random(1000u + static_cast<unsigned>(number));
  std::uniform_real_distribution<float> across[3] = {
      std::uniform_real_distribution<float>(lo[0], hi[0]),
      std::uniform_real_distribution<float>(lo[1], hi[1]),
      std::uniform_real_distribution<float>(lo[2], hi[2])};
  for (int axis = 0; axis < 3; ++axis) {
    int compared = 0, hits = 0, skipped = 0;
    for (int n = 0; n < 4000; ++n) {
      const Vector3 p(across[0](random), across[1](random), across[2](random));
      bool nearEdge = false;
      const std::vector<Crossing> expected = crossings(*level, p, axis, nearEdge);
      if (nearEdge) {
        ++skipped;
        continue;
      }
      ++compared;
      const AxisHit hit = grid->query(p, axis);
      if (expected.empty()) {
        EXPECT_FALSE(hit.hit()) << "room " << number << " axis " << axis << " at (" << p.x << ", "
                                << p.y << ", " << p.z << ") hit " << hit.object->name;
        continue;
      }
      double best = 1e300;
      for (const Crossing& c : expected) best = std::min(best, c.distance);
      ASSERT_TRUE(hit.hit()) << "room " << number << " axis " << axis << " at (" << p.x << ", "
                             << p.y << ", " << p.z << ")";
      ++hits;
      // The grid's face must be one of the nearest (faces lying on each other tie).
      const Crossing* match = nullptr;
      for (const Crossing& c : expected)
        if (c.face == hit.face && c.distance <= best + 1e-3) match = &c;
      ASSERT_NE(match, nullptr) << "room " << number << " axis " << axis << " at (" << p.x << ", "
                                << p.y << ", " << p.z << "): " << hit.object->name
                                << " is not the nearest face";
      EXPECT_NEAR(axisOf(hit.point, axis), match->at, 1e-3);
      for (int k = 0; k < 3; ++k)
        if (k != axis) {
          EXPECT_EQ(axisOf(hit.point, k), axisOf(p, k));
        }
      EXPECT_NEAR(axisOf(hit.offset, axis), axisOf(p, axis) - match->at, 1e-3);
    }
    // Rooms are boxes: most lines meet something, and edges are rare.
    EXPECT_GT(hits, compared / 2) << "room " << number << " axis " << axis;
    EXPECT_LT(skipped, 200) << "room " << number << " axis " << axis;
  }
}

TEST_P(RoomGrid, PathFinderCountsMatchEveryFineCellOfEveryFaceBox) {
  const int number = GetParam();
  auto level = game_test::contentRoom(number);
  ASSERT_NE(level, nullptr);
  auto grid = game::analyzeLevel(*level);
  const PathFinder& finder = *grid->pathFinder();
  ASSERT_EQ(finder.dimX(), 12);
  ASSERT_EQ(finder.dimY(), 6);
  ASSERT_EQ(finder.dimZ(), 12);
  // Visit every Analyzer cell of every face's box, one at a time.
  std::map<std::array<int, 3>, int> expected;
  for (const auto& mesh : level->meshes()) {
    if (mesh->name.find("dummy_") != std::string::npos) continue;
    for (const Face& face : mesh->faces) {
      int lo[3] = {1 << 30, 1 << 30, 1 << 30}, hi[3] = {-1, -1, -1};
      for (int c = 0; c < 3; ++c) {
        const engine3d::Vertex& v = mesh->vertices[static_cast<size_t>(face.index(c))];
        const int at[3] = {v.x, v.y, v.z};
        for (int k = 0; k < 3; ++k) {
          const int cell = (at[k] - grid->minP()[k]) / grid->cellSize()[k];
          lo[k] = std::min(lo[k], cell);
          hi[k] = std::max(hi[k], cell);
        }
      }
      for (int x = lo[0]; x <= hi[0]; ++x)
        for (int y = lo[1]; y <= hi[1]; ++y)
          for (int z = lo[2]; z <= hi[2]; ++z) ++expected[{x >> 1, y >> 1, z >> 1}];
    }
  }
  int occupied = 0;
  for (int i = 0; i < 12; ++i)
    for (int j = 0; j < 6; ++j)
      for (int k = 0; k < 12; ++k) {
        auto it = expected.find({i, j, k});
        const int count = it == expected.end() ? 0 : it->second;
        EXPECT_EQ(finder.content({i, j, k}), count) << i << "," << j << "," << k;
        occupied += count > 0;
      }
  // The room's shell alone fills every border cell.
  EXPECT_GE(occupied, 2 * 12 * 12 + 2 * 12 * 4 + 2 * 4 * 4);
}

INSTANTIATE_TEST_SUITE_P(LivingRoomAndWarehouse, RoomGrid, ::testing::Values(0, 4));

}  // namespace
