// The race score table: the file's exact lines, ranking within a room, eight records per room,
// the latest record, damaged files, texts the template format would misread, and a save that
// fails or is cut off half-way.
#include "app/ScoreFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/UserFolders.h"
#include "support/TempFolder.h"

namespace app {
namespace {

using testing_support::readFile;
using testing_support::TempFolder;

ScoreRecord record(std::string track, std::string racer, int32_t speed,
                   std::string date = "2007/03/09") {
  ScoreRecord r;
  r.track = std::move(track);
  r.racer = std::move(racer);
  r.date = std::move(date);
  r.speed = speed;
  return r;
}

// "racer:speed" of each record of `track`, in stored order.
std::vector<std::string> roomOf(const ScoreTable& table, const std::string& track) {
  std::vector<std::string> out;
  for (const ScoreRecord& r : table.records)
    if (r.track == track) out.push_back(r.racer + ":" + std::to_string(r.speed));
  return out;
}

class ScoreFile : public ::testing::Test {
 protected:
  std::string dir() const { return folder.path() + "/"; }
  std::string file() const { return folder / kScoreFileName; }
  void add(const ScoreRecord& r) { ASSERT_TRUE(addScore(dir(), r)); }
  TempFolder folder;
};

TEST_F(ScoreFile, AMissingOrEmptyFileIsAnEmptyTable) {
  ScoreTable none = readScores(dir());
  EXPECT_TRUE(none.records.empty());
  EXPECT_FALSE(none.latest);
  folder.write(kScoreFileName, "");
  ScoreTable empty = readScores(dir());
  EXPECT_TRUE(empty.records.empty());
  EXPECT_FALSE(empty.latest);
}

TEST_F(ScoreFile, AddingToNoFileWritesTheLatestLineFirstInTheExactFormat) {
  add(record("Sky Hall", "Ann", 1200));
  EXPECT_EQ(readFile(file()),
            "-1=track:Sky Hall, racer:Ann, vehicle:, date:2007/03/09, time:   0.000, speed:1200\n"
            "0=track:Sky Hall, racer:Ann, vehicle:, date:2007/03/09, time:   0.000, speed:1200\n");
}

TEST_F(ScoreFile, TheFileIsWrittenFromScratch) {
  folder.write(kScoreFileName,
               "# kept by hand\n"
               "\n"
               "0 = track:A, racer:Old, vehicle:, date:2006/01/01, time:0, speed:5\n");
  add(record("A", "New", 9));
  EXPECT_EQ(readFile(file()),
            "-1=track:A, racer:New, vehicle:, date:2007/03/09, time:   0.000, speed:9\n"
            "0=track:A, racer:New, vehicle:, date:2007/03/09, time:   0.000, speed:9\n"
            "1=track:A, racer:Old, vehicle:, date:2006/01/01, time:   0.000, speed:5\n");
}

TEST_F(ScoreFile, TimeUsesThreeDecimalsInEightColumnsAndEveryFieldReadsBack) {
  ScoreRecord r = record("Dock", "Bo", -40, "2010/12/31");
  r.vehicle = "Hornet";
  r.time = 12.3456f;
  ScoreTable table;
  table.records.push_back(r);
  r.time = 12345.5f;
  table.latest = r;
  ASSERT_TRUE(writeScores(dir(), table));
  EXPECT_EQ(readFile(file()),
            "-1=track:Dock, racer:Bo, vehicle:Hornet, date:2010/12/31, time:12345.500, speed:-40\n"
            "0=track:Dock, racer:Bo, vehicle:Hornet, date:2010/12/31, time:  12.346, speed:-40\n");
  ScoreTable back = readScores(dir());
  ASSERT_EQ(back.records.size(), 1u);
  ASSERT_TRUE(back.latest);
  EXPECT_EQ(back.records[0].vehicle, "Hornet");
  EXPECT_EQ(back.records[0].date, "2010/12/31");
  EXPECT_FLOAT_EQ(back.records[0].time, 12.346f);
  EXPECT_EQ(back.records[0].speed, -40);
  EXPECT_FLOAT_EQ(back.latest->time, 12345.5f);
}

TEST_F(ScoreFile, ARoomIsRankedBestFirstAndAnEqualScoreGoesBehind) {
  add(record("A", "p500", 500));
  add(record("A", "p900", 900));
  add(record("A", "p700", 700));
  add(record("A", "q700", 700));
  ScoreTable t = readScores(dir());
  EXPECT_EQ(roomOf(t, "A"),
            (std::vector<std::string>{"p900:900", "p700:700", "q700:700", "p500:500"}));
  ASSERT_TRUE(t.latest);
  EXPECT_EQ(t.latest->racer, "q700");
}

TEST_F(ScoreFile, ANinthLowerScoreSurvivesOnlyAsTheLatestRecord) {
  for (int i = 1; i <= 8; ++i) add(record("A", "p" + std::to_string(i), i * 100));
  add(record("A", "low", 50));
  ScoreTable t = readScores(dir());
  ASSERT_EQ(t.records.size(), 8u);
  EXPECT_EQ(roomOf(t, "A").back(), "p1:100");
  ASSERT_TRUE(t.latest);
  EXPECT_EQ(t.latest->racer, "low");
  EXPECT_EQ(t.latest->speed, 50);
  // A ninth better score pushes the lowest out.
  add(record("A", "top", 850));
  t = readScores(dir());
  ASSERT_EQ(t.records.size(), 8u);
  EXPECT_EQ(roomOf(t, "A").front(), "top:850");
  EXPECT_EQ(roomOf(t, "A").back(), "p2:200");
}

TEST_F(ScoreFile, OtherRoomsAreNeverReorderedOrRemoved) {
  // Room B holds ten records out of order (edited by hand); room A is interleaved with it.
  std::string text;
  int speedsB[10] = {3, 9, 1, 7, 5, 8, 2, 6, 4, 10};
  int line = 0;
  for (int i = 0; i < 10; ++i) {
    text += std::to_string(line++) + "=track:B, racer:b" + std::to_string(i) +
            ", speed:" + std::to_string(speedsB[i]) + "\n";
    if (i % 3 == 0)
      text += std::to_string(line++) + "=track:A, racer:a" + std::to_string(i) +
              ", speed:" + std::to_string(100 - i) + "\n";
  }
  folder.write(kScoreFileName, text);
  std::vector<std::string> before = roomOf(readScores(dir()), "B");
  ASSERT_EQ(before.size(), 10u);
  for (int i = 0; i < 8; ++i) add(record("A", "n" + std::to_string(i), 95 + i));
  ScoreTable after = readScores(dir());
  EXPECT_EQ(roomOf(after, "B"), before);
  EXPECT_EQ(roomOf(after, "A").size(), 8u);
  EXPECT_EQ(roomOf(after, "A").front(), "n7:102");
}

TEST_F(ScoreFile, TheRankingWalkMovesOnlyThatRoomsPlaces) {
  std::vector<ScoreRecord> list = {record("A", "a1", 1), record("B", "b5", 5),
                                   record("A", "a3", 3), record("B", "b1", 1),
                                   record("A", "a2", 2), record("A", "a3b", 3)};
  rankTrack(list, "A");
  std::vector<std::string> order;
  for (const auto& r : list) order.push_back(r.racer);
  EXPECT_EQ(order, (std::vector<std::string>{"a3", "b5", "a3b", "b1", "a2", "a1"}));
  trimTrack(list, "A", 2);
  order.clear();
  for (const auto& r : list) order.push_back(r.racer);
  EXPECT_EQ(order, (std::vector<std::string>{"a3", "b5", "a3b", "b1"}));
}

TEST_F(ScoreFile, GarbageLinesAreNotRecordsAndDoNotDisturbTheRest) {
  folder.write(kScoreFileName,
               "!bang comment\n"
               "this line has no separator\n"
               "0=track:A, racer:Ann, speed:300\n"
               "3=oops\n"
               "x=track:Q, racer:Nope, speed:1\n"
               "01=track:Q, racer:Twice, speed:1\n"
               "\x01\xFF\xFE=\x80\x81\n"
               "1=track:B, racer:Bob\n"
               "2=racer:NoRoom, speed:99999999999\n"
               "-7=track:A, racer:Neg, speed:1\n");
  ScoreTable t = readScores(dir());
  ASSERT_EQ(t.records.size(), 3u);
  EXPECT_EQ(t.records[0].racer, "Ann");
  // A missing speed is -1, a missing text is empty, a huge one is clamped.
  EXPECT_EQ(t.records[1].speed, -1);
  EXPECT_EQ(t.records[1].vehicle, "");
  EXPECT_EQ(t.records[1].date, "");
  EXPECT_EQ(t.records[2].track, "");
  EXPECT_EQ(t.records[2].speed, INT_MAX);
  EXPECT_FALSE(t.latest);
  add(record("B", "Cy", 10));
  ScoreTable after = readScores(dir());
  EXPECT_EQ(roomOf(after, "A"), (std::vector<std::string>{"Ann:300"}));
  EXPECT_EQ(roomOf(after, "B"), (std::vector<std::string>{"Cy:10", "Bob:-1"}));
  EXPECT_EQ(roomOf(after, ""), (std::vector<std::string>{"NoRoom:" + std::to_string(INT_MAX)}));
}

TEST_F(ScoreFile, RecordsAfterAGapInTheNumbersAreStillRead) {
  folder.write(kScoreFileName,
               "7=track:A, racer:seven, speed:1\n"
               "0=track:A, racer:zero, speed:3\n"
               "2=track:A, racer:two, speed:2\n");
  ScoreTable t = readScores(dir());
  EXPECT_EQ(roomOf(t, "A"), (std::vector<std::string>{"zero:3", "two:2", "seven:1"}));
}

TEST_F(ScoreFile, TextsTheTemplateWouldMisreadComeBackUnchanged) {
  const std::vector<std::string> names = {
      "a, speed:5", "x:y",  "e=mc2", "{0}",    "http://x",  " lead",       "trail ",
      "two\nlines", "100%", "%41",   "back\\", "tab\there", "caf\xC3\xA9", "///"};
  // Two rooms of seven, so that every name stays in the table.
  const std::string rooms[2] = {"Room, {1} //x", " Hall%20{0}"};
  for (size_t i = 0; i < names.size(); ++i) {
    ScoreRecord r = record(rooms[i % 2], names[i], static_cast<int32_t>(i), "20//07/" + names[i]);
    r.vehicle = names[i];
    add(r);
  }
  ScoreTable t = readScores(dir());
  ASSERT_EQ(t.records.size(), names.size());
  for (const ScoreRecord& r : t.records) {
    ASSERT_TRUE(r.speed >= 0 && r.speed < static_cast<int32_t>(names.size())) << r.speed;
    const std::string& name = names[static_cast<size_t>(r.speed)];
    EXPECT_EQ(r.racer, name);
    EXPECT_EQ(r.vehicle, name);
    EXPECT_EQ(r.date, "20//07/" + name);
    EXPECT_EQ(r.track, rooms[r.speed % 2]);
  }
  ASSERT_TRUE(t.latest);
  EXPECT_EQ(t.latest->racer, names.back());
  // One line per record and the latest: no text broke a line.
  std::string text = readFile(file());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 15);
}

TEST_F(ScoreFile, EscapingRoundTripsEveryByteAndLeavesPlainTextAlone) {
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  all.push_back('\0');
  for (size_t at = 0; at < all.size(); at += 100) {
    std::string piece = all.substr(at, 100);
    EXPECT_EQ(decodeScoreText(encodeScoreText(piece)), piece);
  }
  EXPECT_EQ(encodeScoreText("Sky Hall 2007/03/09 a:b=c"), "Sky Hall 2007/03/09 a:b=c");
  EXPECT_EQ(encodeScoreText(" a,b "), "%20a%2Cb%20");
  // A '%' that starts no escape stays as it is.
  EXPECT_EQ(decodeScoreText("50% off %4 %zz %"), "50% off %4 %zz %");
}

TEST_F(ScoreFile, ALongTextIsCutAtACharacterBoundary) {
  std::string longName;
  for (int i = 0; i < 200; ++i) longName += "\xC3\xA9";  // two bytes each
  add(record("A", longName, 1));
  ScoreTable t = readScores(dir());
  ASSERT_EQ(t.records.size(), 1u);
  EXPECT_EQ(t.records[0].racer, longName.substr(0, 2 * kMaxTextChars));
}

TEST_F(ScoreFile, AFileThatCannotBeReadIsNotReplaced) {
  // A folder in the file's place cannot be read (nor written).
  std::filesystem::create_directory(file());
  EXPECT_FALSE(addScore(dir(), record("A", "Ann", 1)));
  EXPECT_TRUE(std::filesystem::is_directory(file()));
}

TEST_F(ScoreFile, AnInstalledProgramKeepsItsScoresInTheUsersCopy) {
  const std::string gui = folder / "tree/bin/..\\resources\\GUI\\";
  const std::string userFile = folder / "user/resources/GUI/racescore.txt";
  folder.write("tree/resources/GUI/readme.txt", "the installed GUI folder");
  platform::setUserFolders(platform::UserFolders(folder / "tree", folder / "user"));
  EXPECT_TRUE(addScore(gui, record("A", "Ann", 5)));
  EXPECT_TRUE(addScore(gui, record("A", "Bob", 9)));
  EXPECT_FALSE(testing_support::exists(folder / "tree/resources/GUI/racescore.txt"));
  EXPECT_EQ(roomOf(readScores(gui), "A"), (std::vector<std::string>{"Bob:9", "Ann:5"}));
  EXPECT_NE(readFile(userFile).find("racer:Bob"), std::string::npos);
  // A user's table that cannot be read is not replaced by one holding only the new record.
  folder.write("user/resources/GUI/racescore.txt", std::string("0=track:A, racer:Ann\0\0", 22));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(addScore(gui, record("A", "Cy", 1)));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(readFile(userFile).size(), 22u);
  platform::setUserFolders(platform::UserFolders());
}

// Runs `body` in a child process limited to files of `maxBytes`; returns the wait status.
template <typename Body>
int inChildWithFileLimit(rlim_t maxBytes, bool ignoreSignal, Body body) {
  pid_t child = ::fork();
  if (child == 0) {
    rlimit limit{maxBytes, maxBytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    if (ignoreSignal) ::signal(SIGXFSZ, SIG_IGN);
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return status;
}

class ScoreFileSave : public ScoreFile {
 protected:
  void SetUp() override {
    for (int i = 0; i < 8; ++i) add(record("A", "p" + std::to_string(i), 10 * i));
    before = readFile(file());
    ASSERT_GT(before.size(), 400u);
  }
  std::vector<std::string> leftovers() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder.path()))
      names.push_back(e.path().filename().string());
    return names;
  }
  std::string before;
};

TEST_F(ScoreFileSave, AFullDiskFailsTheSaveAndKeepsTheOldTable) {
  int status =
      inChildWithFileLimit(200, true, [&] { return addScore(dir(), record("A", "x", 99)); });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);  // the save reported its failure
  EXPECT_EQ(readFile(file()), before);
  EXPECT_EQ(leftovers(), std::vector<std::string>{kScoreFileName});
}

TEST_F(ScoreFileSave, AProgramKilledHalfWayLeavesTheOldTable) {
  // Without the signal ignored, the write past the limit kills the child in the middle of it.
  int status =
      inChildWithFileLimit(200, false, [&] { return addScore(dir(), record("A", "x", 99)); });
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
  EXPECT_EQ(readFile(file()), before);
  // The next save works and ranks the new record in.
  add(record("A", "y", 75));
  EXPECT_EQ(roomOf(readScores(dir()), "A").front(), "y:75");
}

}  // namespace
}  // namespace app
