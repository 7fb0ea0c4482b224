// The scoreboard's reading of the record text and its table, with a score table of the test's.
#include "pages/Scoreboard.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "media/Sprite.h"
#include "pages/RootScreens.h"

namespace pages {
namespace {

TEST(RecordText, ReadsTheItemsOfTheScoreboardArgument) {
  RecordText r = parseRecordText("score:32400, room:2, date:2007/03/09");
  EXPECT_EQ(r.score, 32400);
  EXPECT_EQ(r.scoreText, "32400");
  EXPECT_EQ(r.room, 2);
  EXPECT_EQ(r.date, "2007/03/09");
  // Missing items: score and room 0, no date; the score text is shown as it came.
  RecordText empty = parseRecordText("");
  EXPECT_EQ(empty.score, 0);
  EXPECT_EQ(empty.room, 0);
  EXPECT_EQ(empty.date, "");
  EXPECT_EQ(parseRecordText("room:5, score:12abc").scoreText, "12abc");
  EXPECT_EQ(parseRecordText("room:5, score:12abc").score, 12);
}

TEST(RecordText, TheShortDateDropsTheCenturyAndAnEmptyNameIsUnnamed) {
  EXPECT_EQ(shortDate("2007/03/09"), "07/03/09");
  EXPECT_EQ(shortDate("20"), "");
  EXPECT_EQ(shortDate(""), "");
  EXPECT_EQ(playerName(""), "unnamed");
  EXPECT_EQ(playerName("Ann"), "Ann");
}

class ScoreboardTable : public ::testing::Test {
 protected:
  void SetUp() override {
    auto make = [this] {
      owned.push_back(std::make_unique<media::Sprite>(0, 0, 50, 16));
      return owned.back().get();
    };
    o.newPlayer = make();
    o.newScore = make();
    o.newDate = make();
    o.level = make();
    for (int n = 0; n < 8; ++n) {
      o.players[n] = make();
      o.scores[n] = make();
      o.dates[n] = make();
    }
    services.addScore = [this](const ScoreRow& row) {
      added.push_back(row);
      table.hasLatest = true;
      return true;
    };
    services.readScores = [this] { return table; };
  }
  std::vector<std::unique_ptr<media::Sprite>> owned;
  ScoreboardObjects o;
  RootPageServices services;
  std::vector<ScoreRow> added;
  ScoreTableView table;
  const std::vector<std::string> rooms{"Living Room", "Kitchen"};
};

TEST_F(ScoreboardTable, ShowsAtMostEightRowsOfTheRoomAndNothingWithoutALatestRecord) {
  for (int i = 0; i < 10; ++i) table.rows.push_back({"Kitchen", "P" + std::to_string(i), "2001/01/01", 100 - i});
  table.rows.insert(table.rows.begin() + 3, {"Living Room", "Other", "2001/01/01", 5000});
  o.newPlayer->setText("Zoe");
  EXPECT_TRUE(Scoreboard::enter(o, services, rooms, "score:7, room:1, date:2001/02/03"));
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0].track, "Kitchen");
  EXPECT_EQ(added[0].racer, "Zoe");
  EXPECT_EQ(o.players[2]->text(), "P2");
  EXPECT_EQ(o.players[3]->text(), "P3");  // the other room's record is skipped, not shown
  EXPECT_EQ(o.players[7]->text(), "P7");
  EXPECT_EQ(o.scores[7]->text(), "93");
  EXPECT_EQ(o.dates[7]->text(), "01/01/01");

  // A table that says no record was added last shows no rows.
  ScoreboardTable::table.hasLatest = false;
  services.addScore = [](const ScoreRow&) { return false; };
  for (auto* p : o.players) p->setText("");
  EXPECT_FALSE(Scoreboard::enter(o, services, rooms, "score:7, room:1, date:2001/02/03"));
  EXPECT_EQ(o.players[0]->text(), "");
  // A room the list does not know is stored without a name.
  services.addScore = [this](const ScoreRow& row) {
    added.push_back(row);
    return true;
  };
  Scoreboard::enter(o, services, rooms, "score:7, room:9, date:2001/02/03");
  EXPECT_EQ(added.back().track, "");
  EXPECT_EQ(o.level->text(), "");
}

}  // namespace
}  // namespace pages
