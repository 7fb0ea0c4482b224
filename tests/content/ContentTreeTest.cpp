// The built resource tree: deterministic, complete, and readable by the program's own
// template and archive readers.
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Builder.h"
#include "platform/Files.h"
#include "platform/ResourceArchive.h"
#include "platform/Template.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

fs::path makeTempFolder(const char* tag) {
  std::string pattern =
      (fs::temp_directory_path() / (std::string("content-") + tag + "-XXXXXX")).string();
  char* made = mkdtemp(pattern.data());
  return made ? fs::path(made) : fs::path();
}

class ContentTree : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new fs::path(makeTempFolder("tree"));
    std::string error;
    built_ = content::buildTree(root_->string(), &error);
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    fs::remove_all(*root_, ec);
    delete root_;
  }
  void SetUp() override { ASSERT_TRUE(built_); }

  static fs::path res(const std::string& relative) { return *root_ / "resources" / relative; }

  // Members of the archive `zip` inside `folder` (relative to resources/).
  static std::set<std::string> members(const std::string& folder, const std::string& zip) {
    platform::ResourceArchive archive(res(folder + "/" + zip).string());
    std::set<std::string> names;
    if (!archive.isOpen()) return names;
    for (const platform::ArchiveMember& m : archive.members()) names.insert(m.name);
    return names;
  }

  // True when `relative` (under resources/) is on disk or inside its folder's archive.
  static bool available(const std::string& relative) {
    if (fs::is_regular_file(res(relative))) return true;
    static const std::pair<const char*, const char*> archives[] = {{"GUI", "GUI.zip"},
                                                                   {"scenes", "scenes.zip"},
                                                                   {"chopper", "chopper.zip"},
                                                                   {"flyable", "flyable.zip"}};
    for (const auto& [folder, zip] : archives) {
      std::string prefix = std::string(folder) + "/";
      if (relative.compare(0, prefix.size(), prefix) == 0)
        return members(folder, zip).count(relative.substr(prefix.size())) != 0;
    }
    return false;
  }

  static fs::path* root_;
  static bool built_;
};

fs::path* ContentTree::root_ = nullptr;
bool ContentTree::built_ = false;

TEST_F(ContentTree, RebuildGivesIdenticalBytes) {
  fs::path second = makeTempFolder("again");
  std::string error;
  ASSERT_TRUE(content::buildTree(second.string(), &error)) << error;
  std::map<std::string, std::vector<uint8_t>> first, other;
  for (const auto& entry : fs::recursive_directory_iterator(*root_))
    if (entry.is_regular_file())
      first[fs::relative(entry.path(), *root_).string()] = readFile(entry.path());
  for (const auto& entry : fs::recursive_directory_iterator(second))
    if (entry.is_regular_file())
      other[fs::relative(entry.path(), second).string()] = readFile(entry.path());
  fs::remove_all(second);
  ASSERT_EQ(first.size(), other.size());
  for (const auto& [name, bytes] : first) {
    ASSERT_TRUE(other.count(name)) << name;
    EXPECT_TRUE(bytes == other[name]) << name << " differs between two runs";
  }
}

TEST_F(ContentTree, EveryTemplateParsesWithObjects) {
  int templates = 0;
  for (const auto& entry : fs::recursive_directory_iterator(*root_ / "resources")) {
    std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".properties" && name != "trainingtips_ppc.txt") continue;
    platform::Template t;
    ASSERT_TRUE(t.load(entry.path().parent_path().string() + "/", name)) << name;
    EXPECT_GT(t.count(), 0) << name;
    for (const std::string& key : t.keys()) {
      std::string value = *t.getRaw(key);
      // A nested list must yield at least one item, and a "type" item is never empty.
      if (value.find(':') == std::string::npos) continue;
      auto items = t.parseItems(value);
      EXPECT_FALSE(items.empty()) << name << ": " << key;
      for (const auto& [item, text] : items) {
        if (item == "type") {
          EXPECT_FALSE(text.empty()) << name << ": " << key;
        }
      }
    }
    ++templates;
  }
  EXPECT_GE(templates, 11);
}

// Object names the program looks up, per template.
TEST_F(ContentTree, TemplatesHoldTheNamesTheProgramLooksUp) {
  const std::map<std::string, std::vector<std::string>> required = {
      {"cover.properties", {}},
      {"intro.properties",
       {"introScene", "sptMovie", "cmdKeyCalibration", "cmdEnterTraining", "titleMusic"}},
      {"MainMenu.properties",
       {"txtTitle", "btnNextRoom", "btnLastRoom", "sptPreview", "txtRoomName", "cmdQuitGame",
        "cmdGSetting", "cmdManual", "cmdExit", "soundEffect", "sceneSelected"}},
      {"TeamSetup.properties",
       {"txtCombination", "spticon0", "spticon3", "sptbigicon0", "sptbigicon3", "sptRacer0",
        "sptRacer3", "btnReset"}},
      {"back.properties", {"scenePrompt", "titleMusic"}},
      {"scoreboard.properties",
       {"sceneGUI", "sptNewRecordPlayer", "sptNewRecordScore", "sptNewRecordDate", "txtLevel",
        "player0", "player7", "score0", "score7", "date0", "date7", "scoreboard"}},
      {"messagebox.properties",
       {"sceneMessageBox", "sptMessage", "sptMessageContext", "btnOk", "btnYes", "btnNo"}},
      {"GameCanvas.properties",
       {"scene3D",      "sceneGUI",      "sceneHelp",       "sceneTraining", "sptHelpCard",
        "sptScore0",    "sptScore1",     "txtAutoDemo",     "sptConsoleBKG", "sptMap",
        "sptHealth0",   "sptHealth1",    "sptHealth2",      "sptHealth3",    "txtTraining",
        "sptTipTitile", "sptTipContent", "btnSpeedControl", "cmdInfo",       "autoDemo",
        "cmdCamera",    "cmdTeammate",   "cmdOpenHelp",     "cmdQuitGame",   "btnNextTip",
        "btnLastTip",   "canon",         "remotecanon",     "engine",        "explosion",
        "tip",          "gameover",      "collision0",      "collision1",    "collision2",
        "fontGreen"}},
      {"gsetting.properties", {"soundEffect", "driverType", "skillLevel", "controlStyle"}},
      {"gsetting_2700G.properties", {"soundEffect", "driverType", "skillLevel", "controlStyle"}},
  };
  const fs::path gui = res("GUI");
  for (const auto& [file, names] : required) {
    platform::Template t;
    ASSERT_TRUE(t.load(gui.string() + "/", file)) << file;
    for (const std::string& name : names) EXPECT_TRUE(t.contains(name)) << file << ": " << name;
    // Commands are matched by substring: some object must carry each command word.
    std::vector<std::string> keys = t.keys();
    auto carries = [&](const std::string& word) {
      for (const std::string& k : keys)
        if (k.find(word) != std::string::npos) return true;
      return false;
    };
    if (file == "MainMenu.properties") {
      for (const char* word : {"EnterTraining", "EnterGame", "EnterTeamSetup", "rdoSound"}) {
        EXPECT_TRUE(carries(word)) << word;
      }
    }
    if (file == "TeamSetup.properties") {
      EXPECT_TRUE(carries("StartGame"));
    }
  }
}

TEST_F(ContentTree, ScreenFilesAndPicturesReferencedByTemplatesExist) {
  const fs::path gui = res("GUI");
  for (const auto& entry : fs::directory_iterator(gui)) {
    if (entry.path().extension() != ".properties") continue;
    platform::Template t;
    t.set("MSG_GRID_PIC", "msgGrid.bmp");
    t.set("USE_DEV_COMPT_BMP", "1");
    ASSERT_TRUE(t.load(gui.string() + "/", entry.path().filename().string()));
    for (const std::string& key : t.keys()) {
      for (const char* item : {"texture", "bright", "bkgTexture", "src", "bitmap", "href"}) {
        auto file = t.getString(key, item);
        if (!file || file->empty() || file->find("..") != std::string::npos) continue;
        EXPECT_TRUE(available("GUI/" + *file))
            << entry.path().filename() << ": " << key << " " << item << " " << *file;
      }
    }
  }
  for (const char* name : {"video0.gif",          "video1.gif",
                           "video2.gif",          "video3.gif",
                           "video4.gif",          "video5.gif",
                           "video6.gif",          "msgGrid.bmp",
                           "msgGrid_smp.bmp",     "control_ppc.gif",
                           "vmode.bmp",           "hmode.bmp",
                           "autospeedmode.bmp",   "maxspeedmode.bmp",
                           "inputpad.gif",        "keypadBtn.gif",
                           "keypadBtnBig.gif",    "trainingtips_ppc.txt",
                           "gsetting.properties", "gsetting_2700G.properties"})
    EXPECT_TRUE(available(std::string("GUI/") + name)) << name;
  EXPECT_TRUE(fs::is_regular_file(*root_ / "manual" / "index.htm"));
}

TEST_F(ContentTree, TrainingTipsCoverBothControlStyles) {
  platform::Template t;
  ASSERT_TRUE(t.load(res("GUI").string() + "/", "trainingtips_ppc.txt"));
  int tips = 0;
  bool maxSpeed = false, attack = false;
  for (const std::string& key : t.keys()) {
    if (t.getRaw(key)->find("type:Tip") == std::string::npos) continue;
    ++tips;
    auto content = t.getString(key, "content");
    ASSERT_TRUE(content.has_value()) << key;
    EXPECT_LE(content->size(), 255u) << key;
    maxSpeed |= key.find("at MAX Speed") != std::string::npos;
    attack |= key.find("Attack (b)") != std::string::npos;
  }
  EXPECT_GE(tips, 12);
  EXPECT_TRUE(maxSpeed);
  EXPECT_TRUE(attack);
}

TEST_F(ContentTree, CharactersHaveAllThreePictures) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(res("characters"))) {
    std::string file = entry.path().filename().string();
    auto cut = file.find("_neutral.");
    if (cut != std::string::npos) names.insert(file.substr(0, cut));
  }
  EXPECT_GE(names.size(), 4u);
  for (const std::string& name : names) {
    EXPECT_TRUE(fs::exists(res("characters/" + name + "_happy.gif"))) << name;
    EXPECT_TRUE(fs::exists(res("characters/" + name + "_chopper.gif"))) << name;
    EXPECT_TRUE(available("chopper/chopper_" + name + ".jpg")) << name;
  }
}

TEST_F(ContentTree, ArchivesHoldEveryFileOfTheirFolder) {
  const std::pair<const char*, const char*> archives[] = {{"GUI", "GUI.zip"},
                                                          {"scenes", "scenes.zip"},
                                                          {"chopper", "chopper.zip"},
                                                          {"flyable", "flyable.zip"}};
  for (const auto& [folder, zip] : archives) {
    platform::ResourceArchive archive(res(std::string(folder) + "/" + zip).string());
    ASSERT_TRUE(archive.isOpen()) << zip;
    std::set<std::string> inside = members(folder, zip);
    for (const auto& entry : fs::recursive_directory_iterator(res(folder))) {
      if (!entry.is_regular_file() || entry.path().filename() == zip) continue;
      std::string name = fs::relative(entry.path(), res(folder)).generic_string();
      EXPECT_TRUE(inside.count(name)) << zip << " lacks " << name;
    }
  }
}

TEST_F(ContentTree, SomeFilesExistOnlyInsideArchivesAndCanBeOpened) {
  int onlyInScenes = 0, onlyInFlyable = 0;
  for (const std::string& name : members("scenes", "scenes.zip"))
    if (!fs::exists(res("scenes/" + name))) ++onlyInScenes;
  for (const std::string& name : members("flyable", "flyable.zip"))
    if (!fs::exists(res("flyable/" + name))) ++onlyInFlyable;
  EXPECT_GT(onlyInScenes, 0);
  EXPECT_GT(onlyInFlyable, 0);

  // Through the program's own opener: a room template that exists only in scenes.zip.
  fs::path temp = makeTempFolder("extract");
  platform::setTempFolder(temp.string());
  platform::registerArchive("scenes.zip", res("scenes").string());
  bool found = false;
  for (const std::string& name : members("scenes", "scenes.zip")) {
    if (fs::exists(res("scenes/" + name)) || name.find("flyable.properties") == std::string::npos)
      continue;
    std::string folder = res("scenes/" + name).parent_path().string() + "/";
    platform::Template t;
    EXPECT_TRUE(t.load(folder, "flyable.properties")) << name;
    EXPECT_GT(t.count(), 0) << name;
    found = true;
  }
  platform::releaseArchives();
  fs::remove_all(temp);
  EXPECT_TRUE(found);
}

TEST_F(ContentTree, WavesHaveTheCanonicalHeader) {
  int waves = 0;
  for (const auto& entry : fs::recursive_directory_iterator(res(""))) {
    if (entry.path().extension() != ".wav") continue;
    std::vector<uint8_t> b = readFile(entry.path());
    ASSERT_GT(b.size(), 44u);
    auto u32 = [&](size_t at) {
      return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
             uint32_t(b[at + 3]) << 24;
    };
    auto u16 = [&](size_t at) { return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8; };
    std::string name = entry.path().filename().string();
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF") << name;
    EXPECT_EQ(u32(4), b.size() - 8) << name;
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ") << name;
    EXPECT_EQ(u32(16), 16u) << name;
    EXPECT_EQ(u16(20), 1u) << name;  // PCM
    EXPECT_EQ(u32(28), u32(24) * u16(32)) << name;
    EXPECT_EQ(u16(32), u16(22) * u16(34) / 8) << name;
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data") << name;
    EXPECT_EQ(u32(40), b.size() - 44) << name;
    ++waves;
  }
  EXPECT_GE(waves, 11);
}

// Looped sounds: the step from the last sample back to the first is no bigger than the steps
// inside the sound, so the loop seam makes no click.
TEST_F(ContentTree, LoopedSoundsJoinWithoutAClick) {
  for (const char* name : {"engine.wav", "title.wav", "scoreboard.wav"}) {
    std::vector<uint8_t> b = readFile(res(std::string("GUI/") + name));
    ASSERT_GT(b.size(), 48u) << name;
    std::vector<int> samples;
    for (size_t i = 44; i + 1 < b.size(); i += 2)
      samples.push_back(static_cast<int16_t>(b[i] | b[i + 1] << 8));
    int largestStep = 0;
    for (size_t i = 1; i < samples.size(); ++i)
      largestStep = std::max(largestStep, std::abs(samples[i] - samples[i - 1]));
    int seam = std::abs(samples.front() - samples.back());
    EXPECT_LE(seam, largestStep) << name;
    EXPECT_LT(seam, 4096) << name;
  }
}

}  // namespace
