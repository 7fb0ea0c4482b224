#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/Files.h"
#include "platform/ResourceArchive.h"
#include "platform/Template.h"
#include "support/TempFolder.h"

namespace platform {
namespace {

using testing_support::exists;
using testing_support::readFile;
using testing_support::TempFolder;

struct Member {
  std::string name;
  std::string data;
  bool deflate = true;
};

// Writes a zip archive with minizip's writer.
void writeZip(const std::string& path, const std::vector<Member>& members) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  for (const Member& m : members) {
    zip_fileinfo info{};
    ASSERT_EQ(zipOpenNewFileInZip64(zip, m.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                    m.deflate ? Z_DEFLATED : 0, m.deflate ? 6 : 0, 0),
              ZIP_OK);
    ASSERT_EQ(zipWriteInFileInZip(zip, m.data.data(), static_cast<unsigned>(m.data.size())),
              ZIP_OK);
    ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
  }
  ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

std::string readAll(std::FILE* f) {
  std::string out;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) out.append(buffer, n);
  return out;
}

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scenes = dir.path() + "/resources/scenes/";
    temp = dir.path() + "/docs/Skirrow.tmp";
    std::filesystem::create_directories(scenes);
    std::filesystem::create_directories(dir.path() + "/docs");  // the documents folder exists
  }
  void TearDown() override { releaseArchives(); }

  TempFolder dir;
  std::string scenes;
  std::string temp;
};

TEST_F(ArchiveTest, MissingFileIsExtractedToTheTemporaryFolderAndDeletedOnClose) {
  std::string big(100000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 31 / 7);
  writeZip(scenes + "scenes.zip",
           {{"Level_1/room.3ds", big, true}, {"plain.txt", "stored", false}});
  setTempFolder(temp);
  registerArchive("scenes.zip", dir.path() + "/resources/bin/..\\scenes");
  ASSERT_EQ(registeredArchiveCount(), 1);

  ResourceStream stream = openResource(scenes + "Level_1\\room.3ds", "rb");
  ASSERT_TRUE(stream);
  std::string copy = temp + "/Level_1_room.3ds";
  EXPECT_TRUE(exists(copy));
  EXPECT_EQ(readAll(stream.get()), big);
  EXPECT_EQ(closeResource(std::move(stream)), 0);
  EXPECT_FALSE(exists(copy));

  ResourceStream stored = openResource(scenes + "plain.txt", "r");
  ASSERT_TRUE(stored);
  EXPECT_EQ(readAll(stored.get()), "stored");
}

TEST_F(ArchiveTest, FilesOnDiskWinAndMissingMembersGiveNull) {
  writeZip(scenes + "scenes.zip", {{"a.txt", "from zip"}});
  registerArchive("scenes.zip", scenes);
  dir.write("resources/scenes/a.txt", "on disk");
  ResourceStream a = openResource(scenes + "a.txt", "r");
  ASSERT_TRUE(a);
  EXPECT_EQ(readAll(a.get()), "on disk");
  EXPECT_FALSE(openResource(scenes + "b.txt", "r"));
  EXPECT_FALSE(openResource(dir.path() + "/elsewhere/a.txt", "r"));
}

TEST_F(ArchiveTest, MemberNamesMatchWithoutRegardToCase) {
  writeZip(scenes + "scenes.zip", {{"Data/Models/Big.BIN", "x"}, {"\xC3\x89T\xC3\x89.txt", "e"}});
  setTempFolder(temp);
  registerArchive("scenes.zip", scenes);
  EXPECT_TRUE(fileExists(scenes + "DATA/models/big.bin"));
  EXPECT_TRUE(fileExists(scenes + "\xC3\xA9t\xC3\xA9.TXT"));  // "été" for "ÉTÉ"
  EXPECT_TRUE(std::filesystem::is_empty(temp));               // fileExists deletes its copy
}

TEST_F(ArchiveTest, TheArchiveRegisteredLastWins) {
  std::string other = dir.path() + "/other.zip";
  writeZip(scenes + "scenes.zip", {{"x.txt", "first"}, {"only-first.txt", "1"}});
  writeZip(scenes + "patch.zip", {{"x.txt", "second"}});
  setTempFolder(temp);
  registerArchive("scenes.zip", scenes);
  registerArchive("patch.zip", scenes);
  ResourceStream x = openResource(scenes + "x.txt", "r");
  ASSERT_TRUE(x);
  EXPECT_EQ(readAll(x.get()), "second");
  ResourceStream fallback = openResource(scenes + "only-first.txt", "r");
  ASSERT_TRUE(fallback);
  EXPECT_EQ(readAll(fallback.get()), "1");

  unregisterArchive("patch.zip");
  EXPECT_EQ(registeredArchiveCount(), 1);
  ResourceStream again = openResource(scenes + "x.txt", "r");
  ASSERT_TRUE(again);
  EXPECT_EQ(readAll(again.get()), "first");
}

TEST_F(ArchiveTest, ArchivesMadeByTheZipCommandAreRead) {
  if (std::system("command -v zip >/dev/null 2>&1") != 0) GTEST_SKIP() << "no zip command";
  dir.write("src/Level_2/Wall.JPG", std::string(5000, 'w'));
  dir.write("src/notes.txt", "n");
  std::string cmd = "cd '" + dir.path() + "/src' && zip -q -r '" + scenes +
                    "scenes.zip' . && zip -q -0 '" + scenes + "scenes.zip' notes.txt";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  registerArchive("scenes.zip", scenes);
  ResourceStream wall = openResource(scenes + "level_2/wall.jpg", "rb");
  ASSERT_TRUE(wall);
  EXPECT_EQ(readAll(wall.get()), std::string(5000, 'w'));
}

TEST_F(ArchiveTest, WritingAnArchiveOnlyResourceWritesTheTemporaryCopy) {
  writeZip(scenes + "scenes.zip", {{"menu.properties", "a=1\n"}});
  setTempFolder(temp);
  registerArchive("scenes.zip", scenes);
  Template t;
  ASSERT_TRUE(t.load(scenes, "menu.properties"));
  EXPECT_FALSE(exists(temp + "/menu.properties"));  // the read copy is gone after loading
  t.set("b", "2");
  // The folder exists on disk, so the save creates the file there.
  ASSERT_TRUE(t.save());
  EXPECT_EQ(readFile(scenes + "menu.properties"), "a=1\nb=2\n");

  // A resource whose folder exists only as an archive path: the copy in the temporary folder is
  // written and kept until the folder is emptied.
  std::filesystem::remove(scenes + "menu.properties");
  ResourceStream w = openResource(scenes + "sub\\..\\menu.properties", "w");
  EXPECT_TRUE(w);  // plain open succeeds: the folder exists
  w.reset();
  std::filesystem::remove(scenes + "menu.properties");
  ResourceStream v = ResourceStream(openFromArchives(scenes + "menu.properties", "w"));
  ASSERT_TRUE(v);
  std::fputs("changed", v.get());
  EXPECT_EQ(closeResource(std::move(v)), 0);
  EXPECT_EQ(readFile(temp + "/menu.properties"), "changed");
}

TEST_F(ArchiveTest, DoubledBackslashesAreCollapsedBeforeTheArchiveLookUp) {
  writeZip(scenes + "scenes.zip", {{"Level_1/room.3ds", "room"}});
  setTempFolder(temp);
  registerArchive("scenes.zip", scenes);
  EXPECT_TRUE(openResource(scenes + "Level_1\\\\room.3ds", "rb"));
}

TEST_F(ArchiveTest, BrokenArchivesAreSkippedAtRegistration) {
  dir.write("resources/scenes/garbage.zip", "PK\x03\x04 this is not a zip at all");
  registerArchive("garbage.zip", scenes);
  registerArchive("missing.zip", scenes);
  EXPECT_EQ(registeredArchiveCount(), 0);

  writeZip(scenes + "good.zip", {{"a.txt", std::string(20000, 'a')}});
  std::string bytes = readFile(scenes + "good.zip");
  dir.write("resources/scenes/truncated.zip", bytes.substr(0, bytes.size() / 2));
  registerArchive("truncated.zip", scenes);
  EXPECT_EQ(registeredArchiveCount(), 0);
}

TEST_F(ArchiveTest, DamagedMemberDataYieldsNoStreamAndNoLeftovers) {
  std::string data(30000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * i) >> 3);
  writeZip(scenes + "scenes.zip", {{"a.bin", data, true}, {"b.bin", data, false}});
  std::string bytes = readFile(scenes + "scenes.zip");
  // Flip bytes inside both members' data (the local headers are 30 + 5 bytes long).
  bytes[30 + 5 + 100] ^= 0x5A;
  size_t second = bytes.find("b.bin");
  bytes[second + 5 + 100] ^= 0x5A;
  dir.write("resources/scenes/scenes.zip", bytes);
  setTempFolder(temp);
  registerArchive("scenes.zip", scenes);
  EXPECT_FALSE(openResource(scenes + "a.bin", "rb"));
  EXPECT_FALSE(openResource(scenes + "b.bin", "rb"));
  for (auto& entry : std::filesystem::directory_iterator(temp)) ADD_FAILURE() << entry.path();
}

TEST_F(ArchiveTest, MemberNamesCannotReachOutsideTheTarget) {
  writeZip(scenes + "evil.zip", {{"../escape.txt", "1"},
                                 {"..\\..\\escape2.txt", "2"},
                                 {"/abs/escape3.txt", "3"},
                                 {"C:\\escape4.txt", "4"},
                                 {"..", "5"},
                                 {std::string(256, 'n'), "6"},
                                 {std::string(255, 'm'), "7"}});
  ResourceArchive archive(scenes + "evil.zip");
  ASSERT_TRUE(archive.isOpen());
  std::string target = dir.path() + "/target/";
  std::filesystem::create_directories(target);
  std::map<std::string, int> codes;
  for (const ArchiveMember& m : archive.members())
    codes[m.name] = archive.extractMember(m.name, target, false).code;
  for (const ArchiveMember& m : archive.members())
    (void)archive.extractMember(m.name, target, true);
  EXPECT_EQ(codes[".."], kExtractBadName);
  EXPECT_EQ(codes[std::string(256, 'n')], kExtractBadName);
  EXPECT_EQ(codes[std::string(255, 'm')], kExtractOk);
  // Everything written lies directly in the target folder; nothing appeared beside it.
  for (auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
    std::string p = entry.path().string();
    if (entry.is_regular_file()) {
      EXPECT_TRUE(p.rfind(target, 0) == 0 || p == scenes + "evil.zip") << p;
      EXPECT_EQ(p.find(".extracting"), std::string::npos) << p;
    }
  }
  EXPECT_TRUE(exists(target + ".._escape.txt"));
  EXPECT_TRUE(exists(target + "_abs_escape3.txt"));
}

TEST_F(ArchiveTest, KeepFoldersCreatesTheMemberFolders) {
  writeZip(scenes + "scenes.zip", {{"a/b/c.txt", "deep"}});
  ResourceArchive archive(scenes + "scenes.zip");
  std::string target = dir.path() + "/out/";
  std::filesystem::create_directories(target);
  ExtractResult r = archive.extractMember("A/B/C.TXT", target, true);
  ASSERT_EQ(r.code, kExtractOk);
  EXPECT_EQ(r.path, target + "A/B/C.TXT");  // written under the name asked for
  EXPECT_EQ(readFile(r.path), "deep");
  EXPECT_EQ(archive.extractMember("nothing", target, true).code, kExtractNotFound);
}

TEST_F(ArchiveTest, TempFolderIsEmptiedAtStartAndRemovedAtRelease) {
  dir.write("docs/Skirrow.tmp/stale.txt", "old");
  dir.write("docs/Skirrow.tmp/keep/inner.txt", "sub-folders stay");
  setTempFolder(temp + "\\");
  EXPECT_EQ(getTempFolder(), temp + "/");
  EXPECT_FALSE(exists(temp + "/stale.txt"));
  EXPECT_TRUE(exists(temp + "/keep/inner.txt"));
  std::filesystem::remove_all(temp + "/keep");

  writeZip(scenes + "scenes.zip", {{"w.txt", "w"}});
  registerArchive("scenes.zip", scenes);
  ResourceStream kept = ResourceStream(openFromArchives(scenes + "w.txt", "w"));
  ASSERT_TRUE(kept);
  kept.reset();
  ASSERT_TRUE(exists(temp + "/w.txt"));
  releaseArchives();
  EXPECT_FALSE(exists(temp));
  EXPECT_EQ(getTempFolder(), "");
  EXPECT_EQ(registeredArchiveCount(), 0);
}

TEST_F(ArchiveTest, WithoutATempFolderMembersAreExtractedBesideTheArchive) {
  writeZip(scenes + "scenes.zip", {{"sub/x.txt", "x"}});
  registerArchive("scenes.zip", scenes);
  ResourceStream x = openResource(scenes + "sub/x.txt", "r");
  ASSERT_TRUE(x);
  EXPECT_TRUE(exists(scenes + "sub_x.txt"));
  x.reset();
  EXPECT_FALSE(exists(scenes + "sub_x.txt"));
}

}  // namespace
}  // namespace platform
