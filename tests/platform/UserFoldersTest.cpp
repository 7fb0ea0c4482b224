#include "platform/UserFolders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Template.h"
#include "support/TempFolder.h"

namespace platform {
namespace {

using testing_support::exists;
using testing_support::readFile;
using testing_support::TempFolder;

unsigned modeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 0777u : 0u;
}

TEST(UserFolderMapping, PathsInsideTheInstalledTreeMapToTheSameRelativePath) {
  UserFolders folders("/opt/sk/lib/skirrow/bin/..", "/home/ann/.local/share/skirrow");
  EXPECT_TRUE(folders.redirects());
  EXPECT_EQ(folders.installedTree(), "/opt/sk/lib/skirrow/");
  EXPECT_EQ(folders.userTree(), "/home/ann/.local/share/skirrow/");
  // The program's own spelling: the executable folder, "..", then '\' separators.
  EXPECT_EQ(folders.userCopyOf("/opt/sk/lib/skirrow/bin/..\\resources\\GUI\\gsetting.properties"),
            "/home/ann/.local/share/skirrow/resources/GUI/gsetting.properties");
  EXPECT_EQ(folders.userCopyOf("/opt/sk/lib/skirrow//resources/./GUI/racescore.txt"),
            "/home/ann/.local/share/skirrow/resources/GUI/racescore.txt");
  // Outside the tree, a neighbour whose name merely starts the same, a path that climbs out,
  // and the tree itself: not redirected.
  EXPECT_EQ(folders.userCopyOf("/tmp/page.properties"), "");
  EXPECT_EQ(folders.userCopyOf("/opt/sk/lib/skirrow2/resources/x.properties"), "");
  EXPECT_EQ(folders.userCopyOf("/opt/sk/lib/skirrow/resources/../../elsewhere.txt"), "");
  EXPECT_EQ(folders.userCopyOf("/opt/sk/lib/skirrow/"), "");
  EXPECT_EQ(folders.userCopyOf("relative/resources/x.properties"), "");
}

TEST(UserFolderMapping, NoUserTreeOrOneInsideTheInstalledTreeMeansNoRedirection) {
  EXPECT_FALSE(UserFolders().redirects());
  EXPECT_EQ(UserFolders().userCopyOf("/opt/sk/resources/x"), "");
  EXPECT_FALSE(UserFolders("/opt/sk", "").redirects());
  // Saves "redirected" into the tree would be read back as the installed copies.
  UserFolders inside("/opt/sk", "/opt/sk/resources/user");
  EXPECT_FALSE(inside.redirects());
  EXPECT_EQ(inside.userCopyOf("/opt/sk/resources/GUI/x"), "");
}

TEST(UserFolderMapping, TheProgramIsPortableWhenTheMarkerLiesBesideIt) {
  TempFolder dir;
  dir.write("home/.keep", "");
  const char* oldData = std::getenv("XDG_DATA_HOME");
  std::string saved = oldData ? oldData : "";
  ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  std::filesystem::create_directories(dir / "tree/bin");
  UserFolders installed = UserFolders::forProgram(dir / "tree/bin/");
  EXPECT_TRUE(installed.redirects());
  EXPECT_EQ(installed.installedTree(), dir / "tree/");
  EXPECT_EQ(installed.userTree(), dir / "data/skirrow/");
  dir.write("tree/bin/skirrow.portable", "");
  EXPECT_FALSE(UserFolders::forProgram(dir / "tree/bin/").redirects());
  // A relative XDG_DATA_HOME is ignored, as the base-directory rules say: HOME's default counts.
  ::setenv("XDG_DATA_HOME", "relative/data", 1);
  const char* oldHome = std::getenv("HOME");
  std::string home = oldHome ? oldHome : "";
  ::setenv("HOME", (dir / "home").c_str(), 1);
  std::filesystem::remove(dir / "tree/bin/skirrow.portable");
  EXPECT_EQ(UserFolders::forProgram(dir / "tree/bin/").userTree(),
            dir / "home/.local/share/skirrow/");
  ::setenv("HOME", home.c_str(), 1);
  if (oldData)
    ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
  else
    ::unsetenv("XDG_DATA_HOME");
}

// Templates of an "installed" tree under a temporary folder, with the user's copies beside it.
class UserCopies : public ::testing::Test {
 protected:
  void SetUp() override {
    installedGui = dir.write("tree/resources/GUI/gsetting.properties",
                             "# settings\nsoundEffect=GUIType:checkboxGroup, selected:0\n");
    gui = dir / "tree/bin/..\\resources\\GUI\\";
    setUserFolders(UserFolders(dir / "tree", dir / "user/skirrow"));
    userCopy = dir / "user/skirrow/resources/GUI/gsetting.properties";
  }
  void TearDown() override { setUserFolders(UserFolders()); }

  int soundSetting() {
    Template t;
    EXPECT_TRUE(t.load(gui, "gsetting.properties"));
    return t.getInt("soundEffect", "selected", -1);
  }

  TempFolder dir;
  std::string installedGui;
  std::string gui;
  std::string userCopy;
};

TEST_F(UserCopies, ASaveGoesToTheUsersCopyAndTheInstalledFileStaysAsItWas) {
  const std::string installedText = readFile(installedGui);
  Template t;
  ASSERT_TRUE(t.load(gui, "gsetting.properties"));
  t.setItem("soundEffect", "selected", "1");
  EXPECT_EQ(t.savePath(), userCopy);
  ASSERT_TRUE(t.save());  // the user's folders are made on the way
  EXPECT_EQ(readFile(installedGui), installedText);
  EXPECT_EQ(readFile(userCopy), "# settings\nsoundEffect= GUIType:checkboxGroup, selected:1\n");
  EXPECT_FALSE(exists(userCopy + ".saving"));
  EXPECT_EQ(soundSetting(), 1);
  // Without redirection the same load sees the installed file again.
  setUserFolders(UserFolders());
  EXPECT_EQ(soundSetting(), 0);
}

TEST_F(UserCopies, TheUsersCopyWinsAndAFileOnlyTheUserHasIsFound) {
  dir.write("user/skirrow/resources/GUI/gsetting.properties",
            "soundEffect=GUIType:checkboxGroup, selected:1\n");
  EXPECT_EQ(soundSetting(), 1);
  // A file the installed tree lacks (the score file before any game) is read from the user's.
  dir.write("user/skirrow/resources/GUI/racescore.txt", "0=track:Den, speed:7\n");
  Template scores;
  ASSERT_TRUE(scores.load(gui, "racescore.txt"));
  EXPECT_EQ(scores.getInt("0", "speed", -1), 7);
  // An empty copy is a valid save (a table emptied): it is read, not passed over.
  dir.write("user/skirrow/resources/GUI/gsetting.properties", "");
  EXPECT_EQ(soundSetting(), -1);
}

TEST_F(UserCopies, ADamagedCopyIsPassedOverForTheInstalledOneAndTheNextSaveReplacesIt) {
  for (const std::string& damage :
       {std::string("soundEffect=GUIType:checkboxGroup, sel") + std::string(3, '\0'),
        std::string("soundEffect=selected:\xC3\x28\n"),
        std::string("\xFF\xFE\x00s\x00o\x00u\x00n\x00", 10), std::string("truncated \xE2\x82")}) {
    dir.write("user/skirrow/resources/GUI/gsetting.properties", damage);
    testing::internal::CaptureStderr();
    EXPECT_EQ(soundSetting(), 0) << damage;
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("gsetting.properties cannot be read or is damaged"), std::string::npos)
        << said;
  }
  // Valid UTF-8 beyond ASCII is text.
  dir.write("user/skirrow/resources/GUI/gsetting.properties",
            "title=Pilot \xC3\x85sa \xE2\x9C\x88 \xF0\x9F\x9A\x81\nsoundEffect=selected:1\n");
  EXPECT_EQ(soundSetting(), 1);

  dir.write("user/skirrow/resources/GUI/gsetting.properties", std::string("\0\0\0", 3));
  Template t;
  testing::internal::CaptureStderr();
  ASSERT_TRUE(t.load(gui, "gsetting.properties"));
  testing::internal::GetCapturedStderr();
  t.setItem("soundEffect", "selected", "1");
  ASSERT_TRUE(t.save());
  EXPECT_EQ(soundSetting(), 1);
}

TEST_F(UserCopies, ACopyThatCannotBeReplacedFailsTheSaveAndLeavesTheInstalledFile) {
  // A folder where the user's copy belongs: reading falls back, saving reports failure.
  std::filesystem::create_directories(userCopy);
  testing::internal::CaptureStderr();
  EXPECT_EQ(soundSetting(), 0);
  Template t;
  ASSERT_TRUE(t.load(gui, "gsetting.properties"));
  testing::internal::GetCapturedStderr();
  t.setItem("soundEffect", "selected", "1");
  EXPECT_FALSE(t.save());
  EXPECT_TRUE(std::filesystem::is_directory(userCopy));
  EXPECT_EQ(readFile(installedGui).find("selected:1"), std::string::npos);
  // A file where one of the user's folders belongs.
  std::filesystem::remove_all(dir / "user");
  dir.write("user/skirrow/resources", "not a folder");
  EXPECT_FALSE(t.save());
}

TEST_F(UserCopies, PathsOutsideTheTreeAreReadAndWrittenWhereTheyAreNamed) {
  dir.write("elsewhere/page.properties", "a=1\n");
  Template t;
  ASSERT_TRUE(t.load(dir / "elsewhere/", "page.properties"));
  t.set("a", "2");
  EXPECT_EQ(t.savePath(), t.path());
  ASSERT_TRUE(t.save());
  EXPECT_EQ(readFile(dir / "elsewhere/page.properties"), "a=2\n");
  EXPECT_FALSE(exists(dir / "user"));
}

TEST(PrivateTempFolder, OnePrivateFolderPerProcessAndCrashedProcessesFoldersGo) {
  TempFolder dir;
  const std::string root = dir / "cache/skirrow";
  // A crashed process's folder: a child that has ended, so its id is free.
  pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  ::waitpid(gone, nullptr, 0);
  dir.write("cache/skirrow/" + std::to_string(gone) + "/GUI_cover.gif", "stale");
  // A living process's folder (this one's parent) and entries that are not process folders.
  dir.write("cache/skirrow/" + std::to_string(::getppid()) + "/in-use.gif", "busy");
  dir.write("cache/skirrow/notes/keep.txt", "mine");
  dir.write("cache/skirrow/12345678901/keep.txt", "a name too long for a process id");

  const std::string mine = preparePrivateTempFolder(dir / "cache/skirrow/", 4242424);
  EXPECT_EQ(mine, root + "/4242424/");
  EXPECT_EQ(modeOf(root), 0700u);
  EXPECT_EQ(modeOf(root + "/4242424"), 0700u);
  EXPECT_FALSE(exists(root + "/" + std::to_string(gone)));
  EXPECT_TRUE(exists(root + "/" + std::to_string(::getppid()) + "/in-use.gif"));
  EXPECT_TRUE(exists(root + "/notes/keep.txt"));
  EXPECT_TRUE(exists(root + "/12345678901/keep.txt"));

  // Two processes never share a folder; an existing root is narrowed to 0700.
  ::chmod(root.c_str(), 0755);
  const std::string other = preparePrivateTempFolder(root, 4242425);
  EXPECT_EQ(other, root + "/4242425/");
  EXPECT_NE(other, mine);
  EXPECT_EQ(modeOf(root), 0700u);

  // The root goes at the end only once it is empty.
  removeCacheRootIfEmpty(root);
  EXPECT_TRUE(exists(root + "/4242425"));
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  removeCacheRootIfEmpty(root + "/");
  EXPECT_FALSE(exists(root));

  // A file where the root belongs: no folder, and "" says so.
  dir.write("blocked/skirrow", "a file");
  EXPECT_EQ(preparePrivateTempFolder(dir / "blocked/skirrow", 7), "");
  EXPECT_EQ(preparePrivateTempFolder("", 7), "");
}

}  // namespace
}  // namespace platform
