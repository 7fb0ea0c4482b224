#include <gtest/gtest.h>

#include <sys/wait.h>
#include <algorithm>
#include <cstdio>
#include <string>

#include "support/TempFolder.h"
#include "support/ToolRunner.h"

namespace {

using testing_support::readFile;
using testing_support::TempFolder;
using testing_support::ToolRun;

ToolRun tool(const std::string& args) {
  return testing_support::runTool(args);
}

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

// Each failure a content author meets is one plain line on stderr and exit code 1.
TEST(InspectTool, EveryFailureIsOnePlainLineAndExitCodeOne) {
  TempFolder dir;
  dir.write("folder.gif/inside", "x");
  // The built cover picture cut to 2,000 bytes.
  const std::string cover =
      testing_support::readFile(std::string(SKIRROW_BIN_DIR) + "/../resources/GUI/cover.jpg");
  ASSERT_GT(cover.size(), 2000u) << "build the content first";
  dir.write("photo.jpg", cover.substr(0, 2000));
  dir.write("picture.properties", std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13));
  dir.write("empty.properties", "# nothing on this screen\nvalue=1\n");
  const std::string d = "'" + dir.path() + "/";
  struct Case {
    std::string args;
    std::string line;  // the line expected, after "skirrow-tool: "
  };
  const Case cases[] = {
      {"image info " + d + "missing.gif'",
       "can not find the image '" + dir.path() + "/missing.gif'."},
      {"image info " + d + "missing'", dir.path() + "/missing is not a supported image."},
      {"image info " + d + "folder.gif'",
       "can not find the image '" + dir.path() + "/folder.gif'."},
      {"image export " + d + "missing.bmp' " + d + "'",
       "can not find the image '" + dir.path() + "/missing.bmp'."},
      {"template dump " + d + "picture.properties'",
       dir.path() + "/picture.properties is not a template: it holds binary data"},
      {"template dump " + d + "none.properties'",
       "cannot read template " + dir.path() + "/none.properties"},
      {"page render " + d + "picture.properties' " + d + "out.png'",
       dir.path() + "/picture.properties shows nothing: it holds no scene"},
      {"page render " + d + "empty.properties' " + d + "out.png'",
       dir.path() + "/empty.properties shows nothing: it holds no scene"},
      {"model info " + d + "none.3ds'", "cannot read 3DS model " + dir.path() + "/none.3ds"},
  };
  for (const Case& c : cases) {
    ToolRun run = tool(c.args);
    EXPECT_EQ(run.status, 1) << c.args;
    EXPECT_EQ(run.err, "skirrow-tool: " + c.line + "\n") << c.args;
  }
  // A JPEG the program complains about is reported, though it decodes (padded).
  ToolRun run = tool("image info " + d + "photo.jpg'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("frames: 1"), std::string::npos);
  EXPECT_EQ(run.err, "skirrow-tool: Error happened when loading image: " + dir.path() +
                         "/photo.jpg: Premature end of JPEG file\n");
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
  ToolRun missing = tool("archive extract '" + zip + "' missing '" + out + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "skirrow-tool: " + zip + " has no member 'missing'\n");
  EXPECT_EQ(tool("archive list '" + dir.path() + "/nothing.zip'").status, 1);
}

}  // namespace
