// skirrow-tool page render: a screen template drawn on a headless device and written as a PNG.
#include <gtest/gtest.h>

#include <string>

#include "host/Png.h"
#include "support/TempFolder.h"
#include "support/ToolRunner.h"

namespace {

using testing_support::runTool;
using testing_support::TempFolder;

// Pixel (x, y) of a picture as 0xRRGGBB.
uint32_t at(const host::RgbImage& image, int x, int y) {
  const uint8_t* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
  return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

class PageTool : public ::testing::Test {
 protected:
  void SetUp() override {
    // Two scenes: a green half-width panel with a red 20 x 10 sprite at (10, 10) over a blue page.
    folder.write("screen.properties",
                 "back=type:SceneSprite, bkgColor:(0;0;255)\n"
                 "panel=type:SceneSprite, width:50%, height:100, bkgColor:(0;255;0), buffered:1\n"
                 "box=type:Sprite, container:panel, x:10, y:10, width:20, height:10, "
                 "color:(255;0;0)\n");
  }
  TempFolder folder;
};

TEST_F(PageTool, RendersATemplateAtTheDesignWidth) {
  std::string out = folder.path() + "/out.png";
  auto run = runTool("page render " + folder.path() + "/screen.properties " + out);
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("240x320, 2 scenes"), std::string::npos) << run.out;
  auto png = host::readPng(out);
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, 240);
  EXPECT_EQ(at(*png, 15, 15), 0xFF0000u);    // the sprite
  EXPECT_EQ(at(*png, 100, 50), 0x00FF00u);  // the panel, 120 wide
  EXPECT_EQ(at(*png, 125, 50), 0x0000FFu);  // the page
}

TEST_F(PageTool, AVgaProfileScalesPositionsAndSizes) {
  std::string out = folder.path() + "/vga.png";
  auto run = runTool("page render " + folder.path() + "/screen.properties " + out +
                     " --profile vga");
  ASSERT_EQ(run.status, 0);
  auto png = host::readPng(out);
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, 480);
  EXPECT_EQ(at(*png, 21, 21), 0xFF0000u);  // x:10 became 20, so (21, 21) is inside
  EXPECT_EQ(at(*png, 19, 21), 0x00FF00u);
  EXPECT_EQ(at(*png, 59, 39), 0xFF0000u);  // 20 x 10 became 40 x 20
  EXPECT_EQ(at(*png, 61, 39), 0x00FF00u);
  EXPECT_EQ(at(*png, 200, 190), 0x00FF00u);  // height 100 scaled to 200, 50% of 480 is 240
  EXPECT_EQ(at(*png, 200, 201), 0x0000FFu);
  EXPECT_EQ(at(*png, 241, 100), 0x0000FFu);
}

TEST_F(PageTool, BadInputIsReported) {
  EXPECT_EQ(runTool("page render " + folder.path() + "/missing.properties x.png").status, 1);
  EXPECT_EQ(runTool("page render " + folder.path() + "/screen.properties x.png --profile nope")
                .status,
            2);
  EXPECT_EQ(runTool("page render onlyone").status, 2);
  EXPECT_EQ(runTool("page").status, 2);
}

}  // namespace
