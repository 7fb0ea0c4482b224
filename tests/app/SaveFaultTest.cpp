// Saves under faults: a child process saves in a loop and is killed with SIGKILL at random
// moments, again and again; another saves with a file-size limit (a full disk). Each saved file
// the program keeps (the score table, the key mapping in the settings, a page's template) must
// afterwards hold either its old or its new content, whole, and load.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/ScoreFile.h"
#include "media/KeyMapping.h"
#include "platform/Template.h"
#include "support/TempFolder.h"

namespace app {
namespace {

using testing_support::readFile;
using testing_support::TempFolder;

constexpr int kVersions = 6;
constexpr int kKills = 120;

// One kind of saved file: how version `v` of it is saved into `folder`, and its file name.
struct SavedFile {
  std::string name;
  std::function<bool(const std::string& folder, int version)> save;
};

ScoreTable scoreVersion(int v) {
  ScoreTable table;
  // Versions differ in length as well as in content: a cut-off file cannot pass for another.
  for (int i = 0; i <= v * 3; ++i) {
    ScoreRecord r;
    r.track = i % 2 ? "Living Room" : "Kitchen";
    r.racer = "pilot" + std::to_string(v) + "_" + std::to_string(i);
    r.date = "2026/12/0" + std::to_string(1 + v % 9);
    r.speed = 1000 * v + i;
    table.records.push_back(r);
  }
  table.latest = table.records.back();
  return table;
}

std::vector<SavedFile> savedFiles() {
  return {
      {kScoreFileName,
       [](const std::string& folder, int v) { return writeScores(folder + "/", scoreVersion(v)); }},
      {"gsetting.properties",
       [](const std::string& folder, int v) {
         std::vector<media::KeyPair> pairs;
         for (int i = 0; i <= v * 4; ++i)
           pairs.push_back({static_cast<uint32_t>(100 + i), static_cast<uint32_t>(37 + v)});
         return media::saveMapping(folder + "/", "gsetting.properties", pairs);
       }},
      {"options.properties",
       [](const std::string& folder, int v) {
         // As a page saves its template: loaded, one item changed, saved.
         platform::Template page;
         page.load(folder + "/", "options.properties");
         page.setItem("soundEffect", "selected", std::to_string(v));
         page.set("note", std::string(static_cast<size_t>(40 * v), 'x'));
         return page.save();
       }},
  };
}

class SaveFault : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    file_ = savedFiles()[static_cast<size_t>(GetParam())];
    // A page's template is there before the page saves it.
    if (file_.name == "options.properties")
      for (const TempFolder* f : {&versionsFolder_, &folder_})
        f->write(file_.name, "# options\nsoundEffect=selected:1\nnote=\n");
    // The content of every version as a whole save writes it, in a folder of their own; the
    // time one save takes spaces the kills.
    const auto begin = std::chrono::steady_clock::now();
    for (int v = 0; v < kVersions; ++v) {
      ASSERT_TRUE(file_.save(versionsFolder_.path(), v));
      versions_.push_back(readFile(versionsFolder_ / file_.name));
    }
    saveMicroseconds_ = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - begin)
                            .count() /
                        kVersions;
    for (int v = 1; v < kVersions; ++v) ASSERT_NE(versions_[v], versions_[v - 1]);
  }

  // The index of the version the file holds; -1 when it holds none of them whole.
  int versionOnDisk() const {
    const std::string now = readFile(folder_ / file_.name);
    auto found = std::find(versions_.begin(), versions_.end(), now);
    return found == versions_.end() ? -1 : static_cast<int>(found - versions_.begin());
  }

  SavedFile file_;
  TempFolder versionsFolder_;
  TempFolder folder_;
  std::vector<std::string> versions_;
  long saveMicroseconds_ = 0;
};

TEST_P(SaveFault, AProgramKilledAtAnyMomentOfASaveLeavesAWholeVersion) {
  ASSERT_TRUE(file_.save(folder_.path(), 0));
  std::mt19937 random(17u + static_cast<unsigned>(GetParam()));
  std::set<int> seen;
  int last = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Saves the versions after the one on disk in turn, for ever: each save starts from
      // what a whole earlier save left, as the program does.
      for (int v = last % (kVersions - 1) + 1;; v = v % (kVersions - 1) + 1)
        file_.save(folder_.path(), v);
    }
    // Killed within the first few saves (the fork itself takes a while): the moments spread
    // over every phase of one.
    const long span = 3 * saveMicroseconds_ + 1000;
    const long microseconds = static_cast<long>(random() % static_cast<unsigned long>(span));
    timespec pause{0, microseconds * 1000};
    ::nanosleep(&pause, nullptr);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    last = versionOnDisk();
    ASSERT_GE(last, 0) << "after kill " << kill << " the file holds no whole version";
    seen.insert(last);
  }
  // The kills fell both before and after saves completed.
  EXPECT_GT(seen.size(), 2u);
  // And the file goes on working: a save after all of that is whole.
  ASSERT_TRUE(file_.save(folder_.path(), 1));
  EXPECT_EQ(versionOnDisk(), 1);
}

TEST_P(SaveFault, AFullDiskFailsTheSaveAndKeepsTheOldVersion) {
  ASSERT_TRUE(file_.save(folder_.path(), 1));
  for (bool ignoreSignal : {true, false}) {
    SCOPED_TRACE(ignoreSignal ? "the write fails" : "the write kills the program");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Room for less than the next version: the save runs out of disk half-way.
      const rlim_t room = static_cast<rlim_t>(versions_[kVersions - 1].size() / 2);
      rlimit limit{room, room};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      if (ignoreSignal) ::signal(SIGXFSZ, SIG_IGN);
      ::_exit(file_.save(folder_.path(), kVersions - 1) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (ignoreSignal) {
      ASSERT_TRUE(WIFEXITED(status));
      EXPECT_EQ(WEXITSTATUS(status), 1) << "the failed save was reported as done";
    } else {
      ASSERT_TRUE(WIFSIGNALED(status));
      EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    }
    EXPECT_EQ(versionOnDisk(), 1);
  }
}

std::string faultName(const ::testing::TestParamInfo<int>& info) {
  const char* names[] = {"ScoreTable", "KeyMapping", "PageTemplate"};
  return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(EverySavedFile, SaveFault, ::testing::Range(0, 3), faultName);

}  // namespace
}  // namespace app
