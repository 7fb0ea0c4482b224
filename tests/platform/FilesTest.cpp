#include <gtest/gtest.h>

#include <cstdlib>

#include "host/Files.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

namespace platform {
namespace {

using testing_support::exists;
using testing_support::readFile;
using testing_support::TempFolder;

TEST(MakeFolders, CreatesEachMissingLevelFromTheGivenIndex) {
  TempFolder dir;
  std::string base = dir.path() + "/";
  EXPECT_TRUE(makeFolders(base + "a\\b/c/", base.size()));
  EXPECT_EQ(host::pathKind(base + "a/b/c"), host::PathKind::Folder);
  EXPECT_TRUE(makeFolders(base + "a/b/c", base.size()));  // exists already
  dir.write("file", "f");
  EXPECT_FALSE(makeFolders(base + "file/sub", base.size()));
  EXPECT_FALSE(makeFolders("", 0));
}

TEST(FileServices, ExistenceFoldersAndDeletion) {
  TempFolder dir;
  dir.write("f.txt", "f");
  dir.write("g.txt", "g");
  dir.write("sub/h.txt", "h");
  EXPECT_TRUE(fileExists(dir / "f.txt"));
  EXPECT_FALSE(fileExists(dir / "sub"));  // a folder is not a file
  EXPECT_FALSE(ensureFolder(dir / "f.txt"));
  EXPECT_EQ(readFile(dir / "f.txt"), "f");
  EXPECT_TRUE(ensureFolder(dir / "sub"));
  EXPECT_TRUE(ensureFolder(dir / "new"));
  EXPECT_EQ(host::pathKind(dir / "new"), host::PathKind::Folder);
  deleteFilesIn(dir.path());
  EXPECT_FALSE(exists(dir / "f.txt"));
  EXPECT_FALSE(exists(dir / "g.txt"));
  EXPECT_TRUE(exists(dir / "sub/h.txt"));
}

TEST(FileServices, FindFilesMatchesWildcardsWithoutRegardToCase) {
  EXPECT_TRUE(matchesPattern("level0_Living_Room.gif", "level*.gif"));
  EXPECT_TRUE(matchesPattern("LEVEL12.GIF", "level*.gif"));
  EXPECT_FALSE(matchesPattern("level0.gif.bak", "level*.gif"));
  EXPECT_FALSE(matchesPattern("alevel0.gif", "level*.gif"));
  EXPECT_TRUE(matchesPattern("Juno_neutral.gif", "*_neutral.*"));
  EXPECT_TRUE(matchesPattern("a_neutral_neutral.x", "*_neutral.*"));
  EXPECT_FALSE(matchesPattern("Juno_happy.gif", "*_neutral.*"));
  EXPECT_TRUE(matchesPattern("ab", "a?"));
  EXPECT_FALSE(matchesPattern("a", "a?"));
  EXPECT_TRUE(matchesPattern("", "*"));

  TempFolder dir;
  dir.write("level1_b.gif", "");
  dir.write("level0_a.gif", "");
  dir.write("other.gif", "");
  dir.write("level9.gif/inner", "");  // a folder of a matching name is no match
  EXPECT_EQ(findFiles(dir.path(), "level*.gif"),
            (std::vector<std::string>{"level0_a.gif", "level1_b.gif"}));
  EXPECT_TRUE(findFiles(dir.path() + "/missing", "*").empty());
}

TEST(DisplayPath, ResolvedWithForwardSlashes) {
  // The GUI folder as the program builds it, and a file in it.
  EXPECT_EQ(displayPath("/opt/skirrow/bin/..\\resources\\GUI\\x.properties"),
            "/opt/skirrow/resources/GUI/x.properties");
  EXPECT_EQ(displayPath("/opt/skirrow/bin/..\\resources\\GUI\\"), "/opt/skirrow/resources/GUI/");
  // Doubled separators and "." folders go; several ".." climb as many folders.
  EXPECT_EQ(displayPath("a\\\\b/./c//d"), "a/b/c/d");
  EXPECT_EQ(displayPath("/a/b/c/../../d"), "/a/d");
  // The ".." that lead a relative path stay; above the root there is only the root.
  EXPECT_EQ(displayPath("..\\..\\x.gif"), "../../x.gif");
  EXPECT_EQ(displayPath("a/../../x.gif"), "../x.gif");
  EXPECT_EQ(displayPath("/../x"), "/x");
  // Names with dots are names.
  EXPECT_EQ(displayPath("./.hidden/..x/a.b"), ".hidden/..x/a.b");
  EXPECT_EQ(displayPath(""), "");
  EXPECT_EQ(displayPath("/"), "/");
}

TEST(FileServices, ModuleAndSpecialFolders) {
  std::string folder = getModuleFolder();
  std::string name = getModuleFileName();
  EXPECT_EQ(name, "platform_tests");
  EXPECT_EQ(folder + name, host::modulePath());
  EXPECT_EQ(folder.back(), '/');

  TempFolder dir;
  std::string docs = dir / "My Documents";
  ::setenv("XDG_DOCUMENTS_DIR", docs.c_str(), 1);
  EXPECT_EQ(getSpecialFolder(kDocumentsFolder), docs);
  EXPECT_EQ(host::pathKind(docs), host::PathKind::Folder);
  ::unsetenv("XDG_DOCUMENTS_DIR");
  EXPECT_EQ(getSpecialFolder(99), "");
}

}  // namespace
}  // namespace platform
