// Finding "Arial"'s stand-in: the override folder, fontconfig, and a machine without fonts.
#include "host/FontLocator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/FontEngine.h"
#include "support/TempFolder.h"

namespace host::testing {
namespace {

using testing_support::TempFolder;

// Only fontconfig: no folder of our own, no fallback.
FontSources fontconfigOnly() {
  FontSources s;
  s.fallbackFolder.clear();
  return s;
}

int inkOf(const Glyph& g) {
  int ink = 0;
  for (std::uint8_t c : g.coverage) ink += c > 128;
  return ink;
}

TEST(FontLocatorTest, FontconfigAloneFindsEveryStyleAndTextIsDrawn) {
  std::vector<std::string> notes;
  FontEngine fonts(fontconfigOnly(), [&](const std::string& t) { notes.push_back(t); });
  for (bool bold : {false, true})
    for (bool italic : {false, true}) {
      const std::string& file = fonts.fontFile(bold, italic);
      EXPECT_FALSE(file.empty()) << bold << italic;
      EXPECT_TRUE(std::filesystem::exists(file)) << file;
    }
  // The bold and italic files are other files than the regular one.
  EXPECT_NE(fonts.fontFile(true, false), fonts.fontFile(false, false));
  EXPECT_NE(fonts.fontFile(false, true), fonts.fontFile(false, false));
  const Glyph& a = fonts.glyph(FontRequest{-16, 400, false}, 'A');
  EXPECT_GT(a.advance, 0);
  EXPECT_GT(inkOf(a), 10);
  EXPECT_TRUE(notes.empty());
}

TEST(FontLocatorTest, TheFontFolderOverridesAndAMissingStyleIsSaidOnce) {
  TempFolder dir;
  FontLocator desktop(fontconfigOnly());
  const std::string regular = desktop.file(false, false);
  ASSERT_FALSE(regular.empty());
  std::filesystem::copy_file(regular, dir / "LiberationSans-Regular.ttf");

  FontSources sources = fontconfigOnly();
  sources.folder = dir.path();
  std::vector<std::string> notes;
  FontLocator locator(sources, [&](const std::string& t) { notes.push_back(t); });
  EXPECT_EQ(locator.file(false, false), dir / "LiberationSans-Regular.ttf");
  EXPECT_TRUE(notes.empty());
  // The folder has no bold or italic files: those come from fontconfig, with one note.
  EXPECT_EQ(locator.file(true, false), desktop.file(true, false));
  EXPECT_EQ(locator.file(false, true), desktop.file(false, true));
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], "SKIRROW_FONT_DIR=" + dir.path() +
                          " holds no LiberationSans-Bold.ttf; looking for \"Arial\" elsewhere");
}

TEST(FontLocatorTest, NoFontAnywhereIsSaidOnceAndTextDrawsNothing) {
  TempFolder dir;
  // A fontconfig configuration that knows no font folder at all.
  std::string config =
      dir.write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
  FontSources sources;
  sources.folder = dir.path();  // holds no fonts either
  sources.fontconfigFile = config;
  sources.fallbackFolder = dir.path();
  std::vector<std::string> notes;
  FontEngine fonts(sources, [&](const std::string& t) { notes.push_back(t); });
  for (bool bold : {false, true})
    for (bool italic : {false, true}) EXPECT_TRUE(fonts.fontFile(bold, italic).empty());
  EXPECT_EQ(fonts.metrics(FontRequest{}).height, 0);
  EXPECT_TRUE(fonts.glyph(FontRequest{}, 'A').coverage.empty());
  ASSERT_EQ(notes.size(), 2u);  // the empty folder, then that nothing was found: once each
  EXPECT_EQ(notes[1],
            "no font found for \"Arial\" (install fonts-liberation, or set SKIRROW_FONT_DIR to a "
            "folder holding LiberationSans-Regular.ttf): text will not be drawn");
}

}  // namespace
}  // namespace host::testing
