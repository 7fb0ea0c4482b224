// The stored button mapping: its text form, reading odd values, the settings template it lives
// in, and a page translating its keys through it before anything else.
#include "media/KeyMapping.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../scene/CanvasFixture.h"
#include "host/Keys.h"
#include "platform/UserFolders.h"
#include "support/TempFolder.h"

namespace media::testing {
namespace {

using testing_support::readFile;

// map[from] for each code, or -1 when the map does not hold it.
std::vector<int64_t> lookUp(const scene::KeyMap* map, std::vector<uint32_t> codes) {
  std::vector<int64_t> out;
  for (uint32_t code : codes) {
    const uint32_t* to = map ? map->get(std::to_string(code)) : nullptr;
    out.push_back(to ? static_cast<int64_t>(*to) : -1);
  }
  return out;
}

TEST(KeyMapping, PairsAreWrittenColonSeparatedAndCommaJoined) {
  EXPECT_EQ(formatKeyMapping({{200, 195}, {201, 196}, {202, 196}}), "200:195,201:196,202:196");
  EXPECT_EQ(formatKeyMapping({{7, 193}}), "7:193");
  EXPECT_EQ(formatKeyMapping({}), "");
}

TEST(KeyMapping, ReadingTakesDecimalNumbersAndSkipsIncompleteEntries) {
  std::unique_ptr<scene::KeyMap> map =
      parseKeyMapping("200,201:194,:195,202:,, 0203 : 196 ,12abc:193,204:195:9");
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(lookUp(map.get(), {200, 201, 202, 203, 12, 204}),
            (std::vector<int64_t>{-1, 194, -1, 196, 193, 195}));
  EXPECT_EQ(map->count(), 4);
}

TEST(KeyMapping, CodesOutsideTheKeyRangeAndLaterDuplicates) {
  std::unique_ptr<scene::KeyMap> map =
      parseKeyMapping("-5:193,70000:193,200:-1,201:99999999999,65535:194,210:193,210:195");
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(lookUp(map.get(), {200, 201, 65535, 210}), (std::vector<int64_t>{-1, -1, 194, 195}));
  EXPECT_EQ(map->count(), 2);
}

TEST(KeyMapping, AnEmptyValueIsNoMap) {
  EXPECT_EQ(parseKeyMapping(""), nullptr);
}

class KeyMappingStore : public ::testing::Test {
 protected:
  std::string dir() const { return folder.path() + "/"; }
  testing_support::TempFolder folder;
};

TEST_F(KeyMappingStore, AbsentEmptyAndFilledProperties) {
  EXPECT_FALSE(hasMapping(dir(), "gsetting.properties"));  // no file
  EXPECT_EQ(loadMapping(dir(), "gsetting.properties"), nullptr);
  folder.write("gsetting.properties", "soundEffect=selected:0\n");
  EXPECT_FALSE(hasMapping(dir(), "gsetting.properties"));
  folder.write("gsetting.properties", "PocketPCKeyMapping=\n");
  EXPECT_TRUE(hasMapping(dir(), "gsetting.properties"));  // calibrated, standard codes
  EXPECT_EQ(loadMapping(dir(), "gsetting.properties"), nullptr);
  folder.write("gsetting.properties", "PocketPCKeyMapping=200:193,201:194\n");
  EXPECT_EQ(lookUp(loadMapping(dir(), "gsetting.properties").get(), {200, 201, 202}),
            (std::vector<int64_t>{193, 194, -1}));
}

TEST_F(KeyMappingStore, SavingKeepsTheRestOfTheSettings) {
  folder.write("gsetting.properties",
               "# Settings\n"
               "soundEffect=selected:1\n"
               "PocketPCKeyMapping=1:2\n"
               "\n"
               "driverType=selected:0\n");
  ASSERT_TRUE(saveMapping(dir(), "gsetting.properties", {{200, 195}}));
  EXPECT_EQ(readFile(folder / "gsetting.properties"),
            "# Settings\n"
            "soundEffect=selected:1\n"
            "PocketPCKeyMapping=200:195\n"
            "\n"
            "driverType=selected:0\n");
  // A missing template is created; one that cannot be read is left alone.
  ASSERT_TRUE(saveMapping(dir(), "new.properties", {}));
  EXPECT_EQ(readFile(folder / "new.properties"), "PocketPCKeyMapping=\n");
  std::filesystem::create_directory(folder / "odd.properties");
  EXPECT_FALSE(saveMapping(dir(), "odd.properties", {{1, 2}}));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "odd.properties"));
}

TEST_F(KeyMappingStore, AnInstalledProgramsCalibrationGoesToTheUsersSettings) {
  const std::string installed = folder.write("tree/resources/GUI/gsetting.properties",
                                             "soundEffect=selected:1\n");
  const std::string gui = folder / "tree/bin/..\\resources\\GUI\\";
  platform::setUserFolders(platform::UserFolders(folder / "tree", folder / "user"));
  ASSERT_TRUE(saveMapping(gui, "gsetting.properties", {{200, 193}}));
  EXPECT_EQ(readFile(installed), "soundEffect=selected:1\n");
  EXPECT_EQ(readFile(folder / "user/resources/GUI/gsetting.properties"),
            "soundEffect=selected:1\nPocketPCKeyMapping=200:193\n");
  EXPECT_EQ(lookUp(loadMapping(gui, "gsetting.properties").get(), {200}),
            (std::vector<int64_t>{193}));
  // Without installed settings, a user's copy that cannot be read is not replaced either.
  std::filesystem::remove(installed);
  const std::string damaged = std::string("soundEffect=selected:1\nPocketPC") + std::string(4, '\0');
  folder.write("user/resources/GUI/gsetting.properties", damaged);
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(saveMapping(gui, "gsetting.properties", {{1, 2}}));
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(readFile(folder / "user/resources/GUI/gsetting.properties"), damaged);
  platform::setUserFolders(platform::UserFolders());
}

class TranslatedPage : public scene_test::CanvasTest {
 protected:
  void key(uint32_t message, uint32_t code) { wm().sendMessage(page->hwnd(), message, code, 0); }
  testing_support::TempFolder folder;
  scene_test::RecordingCanvas* page = nullptr;
};

TEST_F(TranslatedPage, StoredPairsTranslateBeforeEverythingElse) {
  page = &makePage();
  folder.write("gsetting.properties", "PocketPCKeyMapping=200:193,201:194\n");
  ASSERT_TRUE(applyMapping(*page, folder.path() + "/", "gsetting.properties"));
  key(host::WM_KEYDOWN, 200);
  EXPECT_EQ(page->keyState(), scene::Canvas::kKeyApp1);
  key(host::WM_KEYDOWN, 201);
  EXPECT_EQ(page->keyState(), scene::Canvas::kKeyApp1 | scene::Canvas::kKeyApp2);
  key(host::WM_KEYUP, 200);
  EXPECT_EQ(page->lastKeyUp(), host::VK_APP1);
  EXPECT_EQ(page->keyState(), scene::Canvas::kKeyApp2);
  key(host::WM_KEYUP, 202);  // not in the map: unchanged
  EXPECT_EQ(page->lastKeyUp(), 202u);
  EXPECT_EQ(page->translateKey(201), host::VK_APP2);

  // Settings without a mapping take the page's map away again.
  folder.write("gsetting.properties", "PocketPCKeyMapping=\n");
  EXPECT_FALSE(applyMapping(*page, folder.path() + "/", "gsetting.properties"));
  EXPECT_EQ(page->keyMap(), nullptr);
  EXPECT_EQ(page->translateKey(200), 200u);
}

}  // namespace
}  // namespace media::testing
