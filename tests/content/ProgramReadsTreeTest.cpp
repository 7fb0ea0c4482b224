// A freshly built tree read by the program's own readers: `skirrow-tool validate` decodes every
// picture of it (on disk and inside the archives) with the program's decoders, loads every model
// with its 3DS loader and checks every name the pages look up. This suite does not link the
// program's media code, so it runs the tool, which does.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "Builder.h"

namespace fs = std::filesystem;

namespace {

// skirrow-tool beside this test in the build tree ("bin/" of the build folder), or "".
std::string toolPath() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) return {};
  for (fs::path folder = self.parent_path(); !folder.empty() && folder != folder.root_path();
       folder = folder.parent_path()) {
    const fs::path candidate = folder / "bin" / "skirrow-tool";
    if (fs::is_regular_file(candidate)) return candidate.string();
  }
  return {};
}

TEST(ProgramReadsTree, FreshTreePassesValidateWithTheProgramsDecoders) {
  const std::string tool = toolPath();
  if (tool.empty()) GTEST_SKIP() << "skirrow-tool not built";
  std::string pattern = (fs::temp_directory_path() / "content-validate-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const fs::path root(pattern);
  std::string error;
  ASSERT_TRUE(content::buildTree(root.string(), &error)) << error;

  const std::string command = "'" + tool + "' validate '" + (root / "resources").string() + "'";
  std::string out;
  int status = -1;
  if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int raw = ::pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  fs::remove_all(root);
  EXPECT_EQ(status, 0) << out;
  // The summary counts the files read: every picture, sound, model and template of the tree.
  EXPECT_NE(out.find("no problems"), std::string::npos) << out;
}

}  // namespace
