#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <string>

#include "support/TempFolder.h"
#include "support/ToolRunner.h"

namespace {

using testing_support::readFile;
using testing_support::TempFolder;
using testing_support::ToolRun;

ToolRun tool(const std::string& args) { return testing_support::runTool(args); }

TEST(InspectTool, TemplateDumpShowsExpandedValuesAndKeptLines) {
  TempFolder dir;
  std::string file = dir.write("m.properties",
                               "# menu\n\nbase=GUI\n{base}Title = Main // c\n"
                               "ref={base}/x\n");
  ToolRun run = tool("template dump '" + file + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "(_COMMENT_LINE_0) # menu\\n\n(_EMPTY_LINE_0) \\n\nbase=GUI\nGUITitle=Main\n"
            "ref=GUI/x\n# 3 properties, 5 lines\n");
}

TEST(InspectTool, TemplateSetChangesAndSaves) {
  TempFolder dir;
  std::string file = dir.write("s.properties", "# s\ngrp=GUIType:checkboxGroup, selected:0\n");
  EXPECT_EQ(tool("template set '" + file + "' grp selected 2").status, 0);
  EXPECT_EQ(tool("template set '" + file + "' volume 7").status, 0);
  // The second load trims the blank that the item rewrite put after "=".
  EXPECT_EQ(readFile(file), "# s\ngrp=GUIType:checkboxGroup, selected:2\nvolume=7\n");
  EXPECT_EQ(tool("template set '" + file + "' nokey item 1").status, 1);
  EXPECT_EQ(tool("template set '" + dir.path() + "/none.properties' a 1").status, 1);
  EXPECT_EQ(tool("template frobnicate").status, 2);
}

TEST(InspectTool, ArchiveListAndExtract) {
  if (std::system("command -v zip >/dev/null 2>&1") != 0) GTEST_SKIP() << "no zip command";
  TempFolder dir;
  dir.write("src/Level_1/Room.3ds", "room");
  std::string zip = dir / "scenes.zip";
  ASSERT_EQ(std::system(("cd '" + dir.path() + "/src' && zip -q -r '" + zip + "' Level_1").c_str()),
            0);
  ToolRun list = tool("archive list '" + zip + "'");
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.out.find("Level_1/Room.3ds"), std::string::npos);
  std::string out = dir / "out";
  ASSERT_EQ(std::system(("mkdir '" + out + "'").c_str()), 0);
  ToolRun extract = tool("archive extract '" + zip + "' level_1/room.3ds '" + out + "'");
  EXPECT_EQ(extract.status, 0);
  EXPECT_EQ(readFile(out + "/level_1_room.3ds"), "room");
  EXPECT_EQ(tool("archive extract '" + zip + "' missing '" + out + "'").status, 1);
  EXPECT_EQ(tool("archive list '" + dir.path() + "/nothing.zip'").status, 1);
}

}  // namespace
