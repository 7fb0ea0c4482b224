#include "game/Level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine3d/Model3dsLoader.h"
#include "game/ContentRooms.h"
#include "host/MessageBoxes.h"
#include "media/Creators3D.h"
#include "media/Runtime.h"
#include "platform/ResourceArchive.h"
#include "support/HeadlessHost.h"
#include "support/TempFolder.h"

namespace {

using engine3d::Vector3;
using game_test::contentRoom;

TEST(Level, RoomsFourAndSixAreTheLargeOnes) {
  const float expected[] = {50, 50, 50, 50, 80, 50, 80};
  for (int n = 0; n < 7; ++n) EXPECT_EQ(game::levelRadius(n), expected[n]) << n;
  EXPECT_EQ(game::levelRadius(7), 50);
  EXPECT_EQ(game::levelRadius(-4), 50);
}

TEST(Level, LoadedRoomsAreNormalisedUnlitCulledByMeshAndPrepared) {
  for (int number : {0, 4}) {
    auto level = contentRoom(number);
    ASSERT_NE(level, nullptr) << number;
    Vector3 lo, hi;
    ASSERT_TRUE(level->boundingBox(lo, hi));
    const Vector3 size = hi - lo;
    const float radius = game::levelRadius(number);
    EXPECT_NEAR(std::max({size.x, size.y, size.z}), 2 * radius, 1e-3) << number;
    EXPECT_NEAR(lo.x + hi.x, 0, 1e-3);
    EXPECT_NEAR(lo.y + hi.y, 0, 1e-3);
    EXPECT_NEAR(lo.z + hi.z, 0, 1e-3);
    EXPECT_EQ(level->cullingPolicy, engine3d::kCullMesh);
    for (const engine3d::Material* m : level->materials()) EXPECT_EQ(m->shadingMode, 1) << m->name;
    for (const auto& mesh : level->meshes()) {
      EXPECT_TRUE(mesh->prepared) << mesh->name;
      EXPECT_GT(mesh->radius, 0) << mesh->name;  // bounds for culling mesh by mesh
      for (const engine3d::Face& f : mesh->faces)
        EXPECT_GT(std::abs(f.nx) + std::abs(f.ny) + std::abs(f.nz), 60000) << mesh->name;
    }
    for (const char* part : {"ground", "ceiling", "wall", "dummy_t0", "dummy_t1"})
      EXPECT_NE(level->findMesh(part), nullptr) << part;
  }
}

TEST(Level, AMissingRoomIsNullAfterTheLoaderSaysSo) {
  testing_support::TempFolder empty;
  std::vector<std::string> messages;
  engine3d::ModelLoadOptions options;
  options.messages = [&](const engine3d::UserMessage& m) { messages.push_back(m.text); };
  EXPECT_EQ(game::loadLevel(empty.path() + "/", 50, options), nullptr);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind(engine3d::kMissingModelText, 0), 0u) << messages[0];

  messages.clear();
  empty.write("level.3ds", "this is no model");
  EXPECT_EQ(game::loadLevel(empty.path() + "/", 50, options), nullptr);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Error: " + empty.path() + "/level.3ds is not a valid 3DS file.");
}

TEST(Level, TheGameGridSkipsTheSpawnMarkers) {
  auto level = contentRoom(0);
  ASSERT_NE(level, nullptr);
  auto grid = game::analyzeLevel(*level);
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->granularity(), (std::array<int, 3>{24, 12, 24}));
  ASSERT_NE(grid->pathFinder(), nullptr);
  EXPECT_EQ(grid->pathFinder()->shift(), 1);
  // Straight down through each marker's middle the floor answers, never the marker.
  for (const char* name : {"dummy_t0", "dummy_t1"}) {
    const engine3d::Mesh* marker = level->findMesh(name);
    ASSERT_NE(marker, nullptr);
    Vector3 lo, hi;
    ASSERT_TRUE(marker->bounds(lo, hi));
    const Vector3 middle = (lo + hi) * 0.5f;
    for (int axis = 0; axis < 3; ++axis) {
      game::AxisHit hit = grid->query(middle, axis);
      ASSERT_TRUE(hit.hit()) << name << " axis " << axis;
      EXPECT_EQ(hit.object->name.find("dummy_"), std::string::npos) << name << " axis " << axis;
    }
    EXPECT_EQ(grid->query(middle, 1, game::Analyzer::kBelow).object->name, "ground");
  }
}

TEST(Level, FreeCellsAreTheEmptyInteriorCellsInOrder) {
  for (int number : {0, 4}) {
    auto level = contentRoom(number);
    ASSERT_NE(level, nullptr);
    auto grid = game::analyzeLevel(*level);
    const game::PathFinder& finder = *grid->pathFinder();
    const std::vector<int> cells = game::freeCells(finder);
    ASSERT_FALSE(cells.empty()) << number;
    EXPECT_TRUE(std::is_sorted(cells.begin(), cells.end()));
    EXPECT_EQ(std::adjacent_find(cells.begin(), cells.end()), cells.end());
    int interiorFree = 0;
    for (int i = 0; i < finder.dimX(); ++i)
      for (int j = 0; j < finder.dimY(); ++j)
        for (int k = 0; k < finder.dimZ(); ++k) {
          const int packed = i << 16 | j << 8 | k;
          const bool listed = std::binary_search(cells.begin(), cells.end(), packed);
          const bool interior = i >= 1 && i <= finder.dimX() - 2 && j >= 1 &&
                                j <= finder.dimY() - 2 && k >= 1 && k <= finder.dimZ() - 2;
          const bool free = finder.content({i, j, k}) == 0;
          EXPECT_EQ(listed, interior && free) << i << "," << j << "," << k;
          interiorFree += interior && free;
        }
    EXPECT_EQ(static_cast<int>(cells.size()), interiorFree);
  }
}

TEST(Level, FreeCellsOfASmallGridComeInIThenJThenKOrder) {
  // A grid of 4 x 4 x 4 coarse cells over an empty box: its 2 x 2 x 2 interior is all free.
  auto model = std::make_unique<engine3d::Group3D>();
  auto* mesh = model->addMesh("corners", std::make_unique<engine3d::Mesh>());
  mesh->addVertex(-4, -4, -4, 0, 0);
  mesh->addVertex(4, 4, 4, 0, 0);
  model->prepare(true);
  game::Analyzer::Options options;
  options.granularityX = options.granularityY = options.granularityZ = 8;
  auto grid = game::Analyzer::build(*model, "box", options);
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(game::freeCells(*grid->pathFinder()),
            (std::vector<int>{0x010101, 0x010102, 0x010201, 0x010202, 0x020101, 0x020102, 0x020201,
                              0x020202}));
}

// The battle's own path: the room folder under the resource folder, the archive standing in
// for what is not on disk, pictures through the program's texture loader.
class LevelFromArchive : public testing_support::HeadlessHostTest {
 protected:
  void SetUp() override {
    HeadlessHostTest::SetUp();
    runtime = std::make_unique<media::Runtime>();
  }
  void TearDown() override {
    runtime.reset();
    platform::releaseArchives();
    HeadlessHostTest::TearDown();
  }
  testing_support::TempFolder temp;
  std::unique_ptr<media::Runtime> runtime;
};

TEST_F(LevelFromArchive, RoomSixComesFromScenesZipWithItsPictures) {
  const std::string scenes = game_test::scenesFolder();
  ASSERT_FALSE(testing_support::exists(scenes + "level6/level.3ds")) << "room 6 is archive-only";
  platform::setTempFolder(temp.path() + "/");
  platform::registerArchive("scenes.zip", scenes);
  auto level = game::loadLevel(scenes + "level6\\", game::levelRadius(6),
                               media::pageModelOptions(runtime->textures()));
  ASSERT_NE(level, nullptr);
  EXPECT_TRUE(host::Host::get().messageBoxes().records().empty());
  Vector3 lo, hi;
  ASSERT_TRUE(level->boundingBox(lo, hi));
  EXPECT_NEAR(std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z}), 160, 1e-3);
  int textured = 0;
  for (const engine3d::Material* m : level->materials()) {
    if (m->textureName.empty()) continue;
    EXPECT_NE(m->texture, nullptr) << m->name << " " << m->textureName;
    ++textured;
  }
  EXPECT_GT(textured, 0);
  auto grid = game::analyzeLevel(*level);
  ASSERT_NE(grid, nullptr);
  EXPECT_FALSE(game::freeCells(*grid->pathFinder()).empty());
}

}  // namespace
