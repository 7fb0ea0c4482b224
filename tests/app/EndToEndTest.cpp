// Runs the real program headless, as a player's scripted session would.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/TempFolder.h"

namespace {

using testing_support::readFile;
using testing_support::TempFolder;

class EndToEnd : public ::testing::Test {
 protected:
  // Shell assignments every run gets: headless, its own runtime and documents folders.
  std::string environment(const std::string& profile) {
    return "SKIRROW_HOST=headless SKIRROW_DEVICE=" + profile + " XDG_RUNTIME_DIR='" + dir.path() +
           "' XDG_DOCUMENTS_DIR='" + dir.path() + "/docs' ";
  }

  // Runs skirrow with `script`; returns its exit status; stderr goes to stderr.txt.
  int run(const std::string& profile, const std::string& script, const std::string& args = "",
          const std::string& moreEnvironment = "") {
    std::string scriptPath = dir.write("script.txt", script);
    std::string command = environment(profile) + moreEnvironment + " SKIRROW_SCRIPT='" +
                          scriptPath + "' timeout 60 " + std::string(SKIRROW_BIN_DIR) +
                          "/skirrow " + args + " 2>'" + dir.path() + "/stderr.txt'";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string stderrText() { return readFile(dir / "stderr.txt"); }

  TempFolder dir;
};

TEST_F(EndToEnd, StartsShowsItsPageAndEndsCleanly) {
  std::string shot = dir / "shot.png";
  EXPECT_EQ(run("qvga", "200 screenshot " + shot + "\n300 quit\n"), 0);
  std::string png = readFile(shot);
  ASSERT_GE(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  // Width and height of the IHDR chunk, big-endian.
  auto be32 = [&](size_t at) {
    return (static_cast<unsigned char>(png[at]) << 24) |
           (static_cast<unsigned char>(png[at + 1]) << 16) |
           (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
  };
  EXPECT_EQ(be32(16), 240u);
  EXPECT_EQ(be32(20), 320u);
  // The temporary folder is gone at the end.
  EXPECT_FALSE(testing_support::exists(dir / "docs/Tarnwick.tmp"));
}

TEST_F(EndToEnd, LandscapeScreenEndsWithMinusOne) {
  EXPECT_EQ(run("landscape", "100 quit\n"), 255);
  EXPECT_NE(stderrText().find("can not run under landscape mode"), std::string::npos);
}

TEST_F(EndToEnd, LowMemoryAnsweredNoEndsWithZero) {
  std::string shot = dir / "never.png";
  EXPECT_EQ(run("qvga", "answer no\n100 screenshot " + shot + "\n200 quit\n", "",
                "SKIRROW_AVAILABLE_MEMORY=1048576"),
            0);
  EXPECT_NE(stderrText().find("Memory Warning"), std::string::npos);
  EXPECT_FALSE(testing_support::exists(shot));  // it ended before its window existed
}

TEST_F(EndToEnd, SecondInstanceBringsTheFirstToTheFrontAndEnds) {
  // The first instance runs until it is stopped.
  std::string first = environment("qvga") + "exec " + std::string(SKIRROW_BIN_DIR) +
                      "/skirrow 2>'" + dir.path() + "/first.txt'";
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::execl("/bin/sh", "sh", "-c", first.c_str(), nullptr);
    ::_exit(127);
  }
  // Give it time to create its window and listen for a second start.
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(run("qvga", ""), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  int status = 0;
  EXPECT_EQ(::waitpid(pid, &status, WNOHANG), 0) << "the first instance ended";
  ::kill(pid, SIGTERM);
  ::waitpid(pid, &status, 0);
}

}  // namespace
