#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <string>

#include "engine3d/ChunkWriter.h"
#include "support/TempFolder.h"

namespace {

using engine3d_test::ChunkWriter;
using testing_support::TempFolder;

struct ModelToolRun {
  int status = -1;
  std::string out;
};

ModelToolRun modelTool(const std::string& args) {
  const std::string command =
      std::string(SKIRROW_BIN_DIR) + "/skirrow-tool model " + args + " 2>/dev/null";
  ModelToolRun run;
  if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return run;
}

TEST(ModelTool, InfoListsObjectsMaterialsAndNormalisedBounds) {
  ChunkWriter w;
  w.begin(0x4D4D).begin(0x3D3D);
  w.begin(0xAFFF).begin(0xA000).str("paint").end().colour24(0xA020, 200, 100, 50);
  w.begin(0xA200).begin(0x0030).u16(100).end().begin(0xA300).str("skin.gif").end().end();
  w.end();
  // File (x, y, z) is engine (-x, z, -y): the box is x -2..0, y 0..4, z 0.
  w.begin(0x4000).str("body").begin(0x4100).vertices({0, 0, 0, 2, 0, 0, 0, 0, 4});
  w.begin(0x4120).faces({0, 1, 2}).begin(0x4130).str("paint").u16(1).u16(0).end().end();
  w.end().end();
  w.begin(0x4000).str("empty").begin(0x4100).end().end();
  w.end().end();
  TempFolder dir;
  const std::string file = dir.write("m.3ds", w.text());

  ModelToolRun run = modelTool("info '" + file + "' 2");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("objects: 2 (3 vertices, 1 faces)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("body"), std::string::npos);
  EXPECT_NE(run.out.find("material paint"), std::string::npos);
  EXPECT_NE(run.out.find("colour 0xC86432"), std::string::npos);
  EXPECT_NE(run.out.find("texture skin.gif  opacity -"), std::string::npos);
  // Radius 2 over the longest side (4): scale 1 about (-1, 2, 0).
  EXPECT_NE(run.out.find("min   (-1.0000, -2.0000, 0.0000)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("max   (1.0000, 2.0000, 0.0000)"), std::string::npos);
}

TEST(ModelTool, FailuresAndUsage) {
  TempFolder dir;
  EXPECT_EQ(modelTool("info '" + dir.path() + "/missing.3ds'").status, 1);
  EXPECT_EQ(modelTool("info '" + dir.write("bad.3ds", "not a model") + "'").status, 1);
  EXPECT_EQ(modelTool("info").status, 2);
  EXPECT_EQ(modelTool("info x.3ds -1").status, 2);
  EXPECT_EQ(modelTool("list").status, 2);
}

}  // namespace
