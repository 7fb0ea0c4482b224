// skirrow-tool validate: the built demo tree passes; copies of it with one fault each fail with
// a line that names the file and the fault.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "support/TempFolder.h"
#include "support/ToolRunner.h"

namespace fs = std::filesystem;

namespace {

using testing_support::TempFolder;

using testing_support::ToolRun;

ToolRun validate(const std::string& resources) {
  return testing_support::runTool("validate '" + resources + "'");
}

bool hasLine(const std::string& out, const std::string& line) {
  return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
}

bool hasLineStarting(const std::string& out, const std::string& start) {
  return ("\n" + out).find("\n" + start) != std::string::npos;
}

int lineCount(const std::string& out) {
  int lines = 0;
  for (char c : out) lines += c == '\n';
  return lines;
}

const fs::path& demoTree() {
  static const fs::path tree = fs::path(SKIRROW_BIN_DIR) / ".." / "resources";
  return tree;
}

// A private copy of the demo tree, for breaking one thing in it.
class BrokenTree : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::is_directory(demoTree() / "GUI")) GTEST_SKIP() << "demo tree not built";
    fs::copy(demoTree(), root(), fs::copy_options::recursive);
  }
  std::string root() const { return folder_.path() + "/resources"; }
  std::string file(const std::string& relative) const { return root() + "/" + relative; }

  // Removes `member` from `folder`'s archive, so the file is gone from the tree altogether.
  bool dropFromArchive(const std::string& folder, const std::string& member) const {
    std::string command = "cd '" + file(folder) + "' && zip -q -d '" + folder + ".zip' '" + member +
                          "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
  }

  TempFolder folder_;
};

TEST(ValidateTool, DemoTreePasses) {
  if (!fs::is_directory(demoTree() / "GUI")) GTEST_SKIP() << "demo tree not built";
  ToolRun run = validate(demoTree().string());
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(lineCount(run.out), 1) << run.out;
  EXPECT_NE(run.out.find("no problems"), std::string::npos) << run.out;
}

TEST(ValidateTool, MissingFolderIsAnError) {
  EXPECT_EQ(validate("/nonexistent/skirrow/resources").status, 1);
}

TEST_F(BrokenTree, DeletedTemplateIsReported) {
  if (std::system("command -v zip >/dev/null 2>&1") != 0) GTEST_SKIP() << "no zip command";
  fs::remove(file("GUI/MainMenu.properties"));
  ASSERT_TRUE(dropFromArchive("GUI", "MainMenu.properties"));
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(hasLine(run.out, "GUI/MainMenu.properties: missing template")) << run.out;
  EXPECT_NE(run.out.find("1 problem,"), std::string::npos) << run.out;
}

TEST_F(BrokenTree, TemplateOnDiskServedFromArchiveStillPasses) {
  // The archive keeps a copy, and the program reads through it: nothing is missing.
  fs::remove(file("GUI/MainMenu.properties"));
  EXPECT_EQ(validate(root()).status, 0);
}

TEST_F(BrokenTree, TemplateWithoutARequiredObjectIsReported) {
  const std::string path = file("GUI/TeamSetup.properties");
  std::ifstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  // Rename the key "btnReset" so that the page no longer finds it.
  const size_t at = text.find("\nbtnReset");
  ASSERT_NE(at, std::string::npos);
  text.replace(at + 1, 8, "btnRezet");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(hasLine(run.out, "GUI/TeamSetup.properties: template lacks the object \"btnReset\""))
      << run.out;
}

// Rewrites the template at `path`, keeping only the lines `keep` accepts and appending `extra`.
void rewrite(const std::string& path, const std::function<bool(const std::string&)>& keep,
             const std::string& extra = {}) {
  std::ifstream in(path);
  std::string text, line;
  while (std::getline(in, line))
    if (keep(line)) text += line + "\n";
  in.close();
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text << extra;
}

TEST_F(BrokenTree, AnObjectOfAnotherKindThanThePageBindsIsReported) {
  rewrite(
      file("GUI/TeamSetup.properties"),
      [](const std::string& line) { return line.rfind("btnReset=", 0) != 0; },
      "btnReset=type:SceneSprite\n");
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(hasLine(run.out,
                      "GUI/TeamSetup.properties: template's \"btnReset\" is a "
                      "SceneSprite, the page needs a Sprite"))
      << run.out;
  EXPECT_NE(run.out.find("1 problem,"), std::string::npos) << run.out;
}

TEST_F(BrokenTree, AFamilyMayBeOneObjectWithCopies) {
  const std::string path = file("GUI/scoreboard.properties");
  auto notAPlayerRow = [](const std::string& line) { return line.rfind("player", 0) != 0; };
  rewrite(path, notAPlayerRow, "player=type:Sprite, container:sceneGUI, number:8\n");
  ToolRun whole = validate(root());
  EXPECT_EQ(whole.status, 0) << whole.out;
  // Seven copies leave the last row missing.
  rewrite(path, notAPlayerRow, "player=type:Sprite, container:sceneGUI, number:7\n");
  ToolRun shortOne = validate(root());
  EXPECT_EQ(shortOne.status, 1);
  EXPECT_TRUE(
      hasLine(shortOne.out, "GUI/scoreboard.properties: template lacks the object \"player7\""))
      << shortOne.out;
  EXPECT_EQ(shortOne.out.find("\"player6\""), std::string::npos) << shortOne.out;
}

TEST_F(BrokenTree, AMissingPropertyAndCommandAreReported) {
  rewrite(file("GUI/MainMenu.properties"), [](const std::string& line) {
    return line.rfind("sceneSelected=", 0) != 0 && line.rfind("cmdEnterTeamSetup=", 0) != 0;
  });
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(
      hasLine(run.out, "GUI/MainMenu.properties: template lacks the property \"sceneSelected\""))
      << run.out;
  EXPECT_TRUE(hasLine(run.out,
                      "GUI/MainMenu.properties: template has no object whose name carries "
                      "\"EnterTeamSetup\""))
      << run.out;
}

TEST_F(BrokenTree, CorruptPictureIsReported) {
  // The copy on disk is read before the archive's, so the corrupt one is what the program sees.
  std::ofstream(file("GUI/vmode.bmp"), std::ios::binary | std::ios::trunc)
      << "BM this is not a bitmap";
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(hasLineStarting(run.out, "GUI/vmode.bmp: picture does not decode")) << run.out;
  EXPECT_EQ(run.out.find("GUI/hmode.bmp"), std::string::npos) << run.out;
}

TEST_F(BrokenTree, PicturesCutShortAreReportedAsTheProgramWouldSayIt) {
  // A JPEG cut to 2,000 bytes decodes padded, with the library's complaint; an animated GIF cut
  // after its first frames keeps those. The program tells its user of both; so does validate.
  auto cut = [&](const std::string& relative, size_t keep) {
    std::string whole = testing_support::readFile(file(relative));
    ASSERT_GT(whole.size(), keep);
    std::ofstream(file(relative), std::ios::binary | std::ios::trunc) << whole.substr(0, keep);
  };
  cut("GUI/cover.jpg", 2000);
  const size_t movie = fs::file_size(file("GUI/video0.gif"));
  cut("GUI/video0.gif", movie / 12);
  ToolRun info = testing_support::runTool("image info '" + file("GUI/video0.gif") + "'");
  EXPECT_NE(info.out.find("frames: 1\n"), std::string::npos) << info.out;  // 1 of 12 left
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(hasLineStarting(run.out,
                              "GUI/cover.jpg: picture is damaged: Error happened when "
                              "loading image: " +
                                  fs::weakly_canonical(file("GUI/cover.jpg")).string() +
                                  ": Premature end of JPEG file"))
      << run.out;
  EXPECT_TRUE(hasLine(run.out, "GUI/video0.gif: picture is damaged: Premature End Of Image File: " +
                                   fs::weakly_canonical(file("GUI/video0.gif")).string()))
      << run.out;
}

TEST_F(BrokenTree, AModelCutOffIsReported) {
  const std::string model = "chopper/chopper_LOD.3ds";
  std::string whole = testing_support::readFile(file(model));
  std::ofstream(file(model), std::ios::binary | std::ios::trunc)
      << whole.substr(0, whole.size() / 2);
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(hasLineStarting(run.out, model + ": model is damaged: the 3DS file '")) << run.out;
}

TEST_F(BrokenTree, PictureNoTemplateNamesIsStillDecoded) {
  std::ofstream(file("chopper/extra.gif"), std::ios::binary | std::ios::trunc) << "GIF89a";
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(hasLineStarting(run.out, "chopper/extra.gif: picture does not decode")) << run.out;
}

TEST_F(BrokenTree, ModelMissingAPartIsReported) {
  const std::string path = file("chopper/chopper_LOD.3ds");
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  // Object names are zero-terminated in the file: renaming in place keeps every chunk's size.
  const std::string name("rotor2\0", 7);
  const size_t at = bytes.find(name);
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, name.size(), std::string("rotorX\0", 7));
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(hasLine(run.out, "chopper/chopper_LOD.3ds: model lacks the part \"rotor2\""))
      << run.out;
  EXPECT_EQ(run.out.find("rotor1"), std::string::npos) << run.out;
}

TEST_F(BrokenTree, RoomOnlyInsideTheArchiveIsChecked) {
  if (std::system("command -v zip >/dev/null 2>&1") != 0) GTEST_SKIP() << "no zip command";
  // Find a room whose level model exists only inside scenes.zip, and take it out of there.
  std::string member;
  for (int level = 0; level < 7 && member.empty(); ++level) {
    std::string relative = "level" + std::to_string(level) + "/level.3ds";
    if (!fs::exists(file("scenes/" + relative))) member = relative;
  }
  if (member.empty()) GTEST_SKIP() << "every room is on disk";
  ASSERT_TRUE(dropFromArchive("scenes", member));
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(hasLine(run.out, "scenes/" + member + ": missing model")) << run.out;
}

TEST_F(BrokenTree, SoundWithABadHeaderIsReported) {
  const std::string path = file("GUI/canon.wav");
  ASSERT_TRUE(fs::exists(path));
  std::fstream wave(path, std::ios::binary | std::ios::in | std::ios::out);
  wave.seekp(36);
  wave.write("junk", 4);  // where the data chunk must start
  wave.close();
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(hasLineStarting(run.out, "GUI/canon.wav: sound is not a canonical PCM WAV"))
      << run.out;
}

TEST_F(BrokenTree, UnreadableArchiveIsReported) {
  std::ofstream(file("flyable/flyable.zip"), std::ios::binary | std::ios::trunc) << "not a zip";
  ToolRun run = validate(root());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(hasLine(run.out, "flyable/flyable.zip: archive does not open")) << run.out;
}

}  // namespace
