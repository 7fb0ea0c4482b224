#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/ResourceArchive.h"
#include "support/TempFolder.h"
#include "support/ToolRunner.h"

namespace {

using testing_support::runTool;
using testing_support::TempFolder;
using testing_support::ToolRun;

std::string scenes() {
  return std::string(SKIRROW_BIN_DIR) + "/../resources/scenes/";
}

std::string room(int number) {
  return scenes() + "level" + std::to_string(number) + "/level.3ds";
}

// The text after `label` up to the end of its line.
std::string lineAfter(const std::string& out, const std::string& label) {
  const size_t at = out.find(label);
  if (at == std::string::npos) return "";
  const size_t start = at + label.size();
  return out.substr(start, out.find('\n', start) - start);
}

TEST(LevelTool, InfoPrintsBothGridTextsAndTheFreeCells) {
  ToolRun run = runTool("level info '" + room(0) + "'");
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out.rfind("level " + room(0) + ", radius 50\n", 0), 0u) << run.out;
  // The living room is 100 x 40 x 70 after normalising to 50, enlarged by a thousandth.
  EXPECT_EQ(lineAfter(run.out, "Analyzer Info:\n")
                .rfind("minP:(-50.1,-20.0,-35.1), maxP:(50.1,20.0,35.1), _dimX:100.2, _dimY:40.1, "
                       "_dimZ:70.1, granuX:24, granuY:12, granuZ:24, CellNum:",
                       0),
            0u)
      << run.out;
  // Every row of a 24 x 12 x 24 grid crosses some wall of a closed room.
  EXPECT_NE(run.out.find("CellNum:1152, TrianglePerCell:"), std::string::npos);
  EXPECT_EQ(
      lineAfter(run.out, "PathFinder Info:\n").rfind("dimX:12, dimY:6, dimZ:12, CellNum :", 0), 0u);
  const std::string free = lineAfter(run.out, "free cells: ");
  ASSERT_FALSE(free.empty());
  // At most the 10 x 4 x 10 interior cells.
  EXPECT_GT(std::stoi(free), 0);
  EXPECT_LE(std::stoi(free), 400);
}

TEST(LevelTool, TheRoomFolderChoosesTheRadiusUnlessOneIsGiven) {
  TempFolder dir;
  std::filesystem::create_directories(dir / "room");
  std::filesystem::copy_file(room(4), dir / "room/level.3ds");
  const std::string copy = dir / "room/level.3ds";

  ToolRun warehouse = runTool("level info '" + room(4) + "'");
  ASSERT_EQ(warehouse.status, 0);
  EXPECT_NE(warehouse.out.find(", radius 80\n"), std::string::npos);
  EXPECT_NE(warehouse.out.find("minP:(-80.2,"), std::string::npos) << warehouse.out;
  ToolRun elsewhere = runTool("level info '" + copy + "'");
  ASSERT_EQ(elsewhere.status, 0);
  EXPECT_NE(elsewhere.out.find("minP:(-50.1,"), std::string::npos) << elsewhere.out;
  ToolRun given = runTool("level info '" + copy + "' --radius 80");
  ASSERT_EQ(given.status, 0);
  EXPECT_EQ(given.out.substr(given.out.find('\n')), warehouse.out.substr(warehouse.out.find('\n')));
}

TEST(LevelTool, RoomSixFromTheArchiveIsALargeRoom) {
  TempFolder dir;
  platform::ResourceArchive archive(scenes() + "scenes.zip");
  ASSERT_TRUE(archive.isOpen());
  ASSERT_EQ(archive.extractMember("level6/level.3ds", dir.path() + "/", true).code,
            platform::kExtractOk);
  ToolRun run = runTool("level info '" + dir.path() + "/level6/level.3ds'");
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find(", radius 80\n"), std::string::npos);
  EXPECT_NE(run.out.find("granuX:24, granuY:12, granuZ:24"), std::string::npos);
}

TEST(LevelTool, QueryFindsTheFloorTheWallAndTheCeiling) {
  // The living room spans y -20..20 and x -50..50.
  ToolRun down = runTool("level query '" + room(0) + "' 45 -19 30 y");
  ASSERT_EQ(down.status, 0);
  EXPECT_EQ(down.out.rfind("object ground, face ", 0), 0u) << down.out;
  EXPECT_NE(down.out.find("point  (45.0000, -20.0000, 30.0000)\n"), std::string::npos) << down.out;
  EXPECT_NE(down.out.find("normal (0.0000, 1.0000, 0.0000)\n"), std::string::npos);
  EXPECT_NE(down.out.find("offset (0.0000, 1.0000, 0.0000)\n"), std::string::npos);

  ToolRun up = runTool("level query '" + room(0) + "' 45 19.5 30 1");
  ASSERT_EQ(up.status, 0);
  EXPECT_EQ(up.out.rfind("object ceiling", 0), 0u) << up.out;
  EXPECT_NE(up.out.find("offset (0.0000, -0.5000, 0.0000)\n"), std::string::npos) << up.out;

  ToolRun across = runTool("level query '" + room(0) + "' 45 -19 30 x");
  ASSERT_EQ(across.status, 0);
  EXPECT_EQ(across.out.rfind("object wall", 0), 0u) << across.out;
  EXPECT_NE(across.out.find("point  (50.0000, -19.0000, 30.0000)\n"), std::string::npos);
  EXPECT_NE(across.out.find("normal (-1.0000, 0.0000, 0.0000)\n"), std::string::npos);
}

TEST(LevelTool, QueryOutsideTheRoomHitsNothing) {
  ToolRun run = runTool("level query '" + room(0) + "' 500 500 500 y");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "no hit\n");
}

TEST(LevelTool, FailuresAndUsage) {
  TempFolder dir;
  EXPECT_EQ(runTool("level info '" + dir.path() + "/level.3ds'").status, 1);
  EXPECT_EQ(runTool("level info '" + dir.write("level.3ds", "not a model") + "'").status, 1);
  EXPECT_EQ(runTool("level query '" + dir.path() + "/level.3ds' 0 0 0 y").status, 1);
  EXPECT_EQ(runTool("level").status, 2);
  EXPECT_EQ(runTool("level info").status, 2);
  EXPECT_EQ(runTool("level info '" + room(0) + "' extra").status, 2);
  EXPECT_EQ(runTool("level info '" + room(0) + "' --radius").status, 2);
  EXPECT_EQ(runTool("level info '" + room(0) + "' --radius 0").status, 2);
  EXPECT_EQ(runTool("level info '" + room(0) + "' --radius ten").status, 2);
  EXPECT_EQ(runTool("level query '" + room(0) + "' 0 0 0 w").status, 2);
  EXPECT_EQ(runTool("level query '" + room(0) + "' 0 zero 0 y").status, 2);
  EXPECT_EQ(runTool("level query '" + room(0) + "' 0 0 y").status, 2);
  EXPECT_EQ(runTool("level list '" + room(0) + "'").status, 2);
}

TEST(LevelTool, AFailureIsOneLineOnStandardError) {
  TempFolder dir;
  const std::string bad = dir.write("level.3ds", "not a model");
  const std::string command =
      std::string(SKIRROW_BIN_DIR) + "/skirrow-tool level info '" + bad + "' 2>&1 >/dev/null";
  std::string err;
  if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[512];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) err.append(buffer, n);
    ::pclose(pipe);
  }
  EXPECT_EQ(err,
            "skirrow-tool: " + bad + " is not a valid 3DS file.\n");
}

}  // namespace
