// skirrow-tool battle: its lines, its summaries, its determinism and its usage errors.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/ToolRunner.h"

namespace {

using testing_support::runTool;
using testing_support::ToolRun;

// The lines of `text` that do not start with `skip`.
std::vector<std::string> linesOf(const std::string& text, const std::string& skip = "#") {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(skip, 0) != 0) lines.push_back(line);
  return lines;
}

TEST(BattleTool, OneLinePerBattleThenTheRoomsSummary) {
  ToolRun run = runTool("battle --room 1 --battles 3 --seed 40");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 4u) << run.out;
  int won = 0, lost = 0, ties = 0, timeOuts = 0;
  double total = 0.0;
  for (int i = 0; i < 3; ++i) {
    std::istringstream line(lines[static_cast<size_t>(i)]);
    int room = -1, scoreA = -1, scoreB = -1, lostA = -1, lostB = -1, bullets = -1, flyers = -1;
    unsigned seed = 0;
    std::string outcome;
    double seconds = -1.0;
    line >> room >> seed >> outcome >> seconds >> scoreA >> scoreB >> lostA >> lostB >> bullets >>
        flyers;
    ASSERT_FALSE(line.fail()) << lines[static_cast<size_t>(i)];
    EXPECT_EQ(room, 1);
    EXPECT_EQ(seed, 40u + static_cast<unsigned>(i));
    // A battle ends when a side has lost both its helicopters (or the hour is up).
    if (outcome == "won") {
      ++won;
      EXPECT_EQ(lostB, 2);
    } else if (outcome == "lost") {
      ++lost;
      EXPECT_EQ(lostA, 2);
    } else if (outcome == "tie") {
      ++ties;
      EXPECT_EQ(lostA + lostB, 4);
    } else if (outcome == "time-out") {
      ++timeOuts;
      EXPECT_GE(seconds, 3590.0);
    } else {
      ADD_FAILURE() << "outcome " << outcome;
    }
    EXPECT_GT(seconds, 5.0);
    EXPECT_GT(bullets, 0);
    EXPECT_GE(flyers, 0);
    EXPECT_GE(scoreA, 0);
    EXPECT_GE(scoreB, 0);
    total += seconds;
  }
  std::ostringstream summary;
  summary << "summary 1 Kitchen 3 " << won << " " << lost << " " << ties << " " << timeOuts
          << " 0 ";
  EXPECT_EQ(lines[3].rfind(summary.str(), 0), 0u) << lines[3];
  EXPECT_NEAR(std::stod(lines[3].substr(summary.str().size())), total / 3.0, 0.06);
}

TEST(BattleTool, TheSameSeedGivesTheSameLinesAndAnotherSeedOthers) {
  const ToolRun first = runTool("battle --room 4 --battles 3 --seed 7 --skill 0");
  const ToolRun second = runTool("battle --room 4 --battles 3 --seed 7 --skill 0");
  const ToolRun other = runTool("battle --room 4 --battles 3 --seed 8 --skill 0");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, second.out);
  EXPECT_NE(linesOf(first.out, "summary"), linesOf(other.out, "summary"));
  EXPECT_EQ(linesOf(first.out).size(), 3u + 1);
}

TEST(BattleTool, MinutesCutABattleShortAndDrawingLeavesTheRulesAlone) {
  const ToolRun cut = runTool("battle --room 0 --minutes 1 --seed 3");
  ASSERT_EQ(cut.status, 0) << cut.err;
  EXPECT_EQ(linesOf(cut.out)[0].rfind("0 3 cut 60.0 ", 0), 0u) << cut.out;
  EXPECT_EQ(linesOf(cut.out)[1].rfind("summary 0 Living_Room 1 0 0 0 0 1 60.0", 0), 0u);
  // The software renderer draws every frame; what happens in the battle is the same.
  const ToolRun drawn = runTool("battle --room 0 --minutes 1 --seed 3 --draw soft");
  ASSERT_EQ(drawn.status, 0) << drawn.err;
  EXPECT_EQ(drawn.out, cut.out);
}

TEST(BattleTool, BadArgumentsAreUsageErrors) {
  for (const char* args :
       {"--room x", "--room 7", "--room -1", "--team 9999", "--team 12a", "--skill 3",
        "--battles 0", "--seed -4", "--seed 99999999999", "--minutes 0", "--draw paper",
        "--colour red", "--skill"}) {
    const ToolRun run = runTool(std::string("battle ") + args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.err.find("skirrow-tool: "), std::string::npos) << args;
    EXPECT_EQ(run.out, "") << args;
  }
}

}  // namespace
