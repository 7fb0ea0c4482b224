#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <string>

#include "host/Png.h"
#include "media/TestPictures.h"
#include "support/TempFolder.h"
#include "support/ToolRunner.h"

namespace {

using testing_support::TempFolder;
using testing_support::ToolRun;

ToolRun tool(const std::string& args) { return testing_support::runTool(args); }

const std::vector<uint32_t> kPalette = {0x000000, 0xFF2040, 0x10E070, 0x3050FF};

// 4 x 3 animation: frame 0 is the whole screen in a pattern of indices 1-3; frame 1 redraws only
// the 2 x 2 rectangle at (1, 1) with index 3 and keeps the rest (disposal 1 on frame 0); frame 2
// has a key and a long delay.
std::vector<uint8_t> animation() {
  media::testing::GifDescription desc;
  desc.width = 4;
  desc.height = 3;
  desc.globalPalette = kPalette;
  media::testing::GifFrameDescription a;
  a.width = 4;
  a.height = 3;
  for (int i = 0; i < 12; ++i) a.indices.push_back(static_cast<uint8_t>(i % 3 + 1));
  a.control = true;
  a.disposal = 1;
  a.delay = 10;
  media::testing::GifFrameDescription b;
  b.left = b.top = 1;
  b.width = b.height = 2;
  b.indices.assign(4, 3);
  b.control = true;
  b.delay = 25;
  media::testing::GifFrameDescription c;
  c.width = 4;
  c.height = 3;
  c.indices.assign(12, 1);
  c.control = true;
  c.delay = 150;
  c.transparent = true;
  c.transparentIndex = 2;
  desc.frames = {a, b, c};
  return media::testing::makeGif(desc);
}

// The colour the program shows at (x, y) of frame f, worked out from the description above.
uint32_t expectedColour(int f, int x, int y) {
  if (f == 2) return kPalette[1];
  if (f == 1 && x >= 1 && x <= 2 && y >= 1) return kPalette[3];
  return kPalette[(y * 4 + x) % 3 + 1];
}

std::string writeAnimation(const TempFolder& dir) {
  std::vector<uint8_t> bytes = animation();
  return dir.write("walk.gif", std::string(bytes.begin(), bytes.end()));
}

TEST(ImageTool, InfoListsFormatSizeFramesDelaysAndKeys) {
  TempFolder dir;
  std::string file = writeAnimation(dir);
  ToolRun run = tool("image info '" + file + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "file: " + file +
                         "\nformat: GIF\nsize: 4x3\ndepth: 16\nframes: 3\n"
                         "frame 0: delay 0.10 s, key none\n"
                         "frame 1: delay 0.25 s, key none\n"
                         "frame 2: delay 1.50 s, key #10E070\n");
  EXPECT_NE(tool("image info --depth 32 '" + file + "'").out.find("depth: 32\n"),
            std::string::npos);
  EXPECT_EQ(tool("image info '" + dir.path() + "/none.gif'").status, 1);
  EXPECT_EQ(tool("image info '" + dir.path() + "/walk.png'").status, 1);
  EXPECT_EQ(tool("image info").status, 2);
  EXPECT_EQ(tool("image info --depth 24 '" + file + "'").status, 2);
}

TEST(ImageTool, ExportWritesEveryFrameAsDecoded) {
  TempFolder dir;
  std::string file = writeAnimation(dir);
  for (int depth : {32, 16}) {
    std::string out = dir / ("out" + std::to_string(depth));
    ToolRun run =
        tool("image export --depth " + std::to_string(depth) + " '" + file + "' '" + out + "'");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, out + "/walk_000.png\n" + out + "/walk_001.png\n" + out + "/walk_002.png\n");
    for (int f = 0; f < 3; ++f) {
      char name[32];
      std::snprintf(name, sizeof name, "/walk_%03d.png", f);
      auto png = host::readPng(out + name);
      ASSERT_TRUE(png) << name;
      ASSERT_EQ(png->width, 4);
      ASSERT_EQ(png->height, 3);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
          uint32_t c = expectedColour(f, x, y);
          int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
          // At 16 bits the program keeps the top 5, 6 and 5 bits and reads them back shifted.
          if (depth == 16) r &= 0xF8, g &= 0xFC, b &= 0xF8;
          const uint8_t* p = &png->rgb[(y * 4 + x) * 3];
          EXPECT_EQ(p[0], r) << depth << " frame " << f << " at " << x << "," << y;
          EXPECT_EQ(p[1], g) << depth << " frame " << f << " at " << x << "," << y;
          EXPECT_EQ(p[2], b) << depth << " frame " << f << " at " << x << "," << y;
        }
    }
  }
  EXPECT_EQ(tool("image export '" + dir.path() + "/none.bmp' '" + dir.path() + "'").status, 1);
}

}  // namespace
