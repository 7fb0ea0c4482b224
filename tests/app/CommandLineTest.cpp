#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(CommandLine, TheArgumentIsEverythingAfterTheFirstArgMarker) {
  EXPECT_EQ(findArgument("xyz ARG:MainMenu"), std::optional<std::string>("MainMenu"));
  EXPECT_EQ(findArgument("ARG:intro ARG:other"), std::optional<std::string>("intro ARG:other"));
  EXPECT_EQ(findArgument("arg:intro"), std::nullopt);  // case-sensitive
  EXPECT_EQ(findArgument(""), std::nullopt);
}

TEST(CommandLine, FormsAreChosenInTheirOrder) {
  EXPECT_EQ(parseLaunch(std::nullopt).templateName, "cover.properties");
  LaunchRequest intro = parseLaunch(findArgument("ARG:intro"));
  EXPECT_EQ(intro.kind, LaunchKind::Template);
  EXPECT_EQ(intro.templateName, "intro.properties");
  EXPECT_EQ(parseLaunch(findArgument("xyz ARG:MainMenu")).templateName, "MainMenu.properties");
  // "GameCanvas" wins over "scoreboard" wherever it stands.
  EXPECT_EQ(parseLaunch(std::string("scoreboard GameCanvas:1,2,3,4")).kind, LaunchKind::GameStart);
}

TEST(CommandLine, GameStartReadsFourNumbersAfterTheFirstColon) {
  LaunchRequest r = parseLaunch(findArgument("ARG:GameCanvas:3,1203,1,0"));
  EXPECT_EQ(r.kind, LaunchKind::GameStart);
  EXPECT_EQ(r.roomIndex, 3);
  EXPECT_EQ(r.teamCode, 1203);
  EXPECT_EQ(r.driverFlag, 1);
  EXPECT_EQ(r.training, 0);
}

TEST(CommandLine, GameStartWithMissingOrBadFieldsLeavesThemZero) {
  LaunchRequest few = parseLaunch(std::string("GameCanvas:5,77"));
  EXPECT_EQ(few.roomIndex, 5);
  EXPECT_EQ(few.teamCode, 77);
  EXPECT_EQ(few.driverFlag, 0);
  EXPECT_EQ(few.training, 0);
  LaunchRequest junk = parseLaunch(std::string("GameCanvas:x,1,1,1"));
  EXPECT_EQ(junk.roomIndex, 0);
  EXPECT_EQ(junk.teamCode, 0);  // reading stops at the first bad field
  LaunchRequest none = parseLaunch(std::string("GameCanvas"));
  EXPECT_EQ(none.roomIndex, 0);
  LaunchRequest minus = parseLaunch(std::string("GameCanvas:-1,12,0,1"));
  EXPECT_EQ(minus.roomIndex, 0);
  EXPECT_EQ(minus.training, 1);
}

TEST(CommandLine, NumbersBeyondIntAreClampedAndReadingGoesOn) {
  LaunchRequest huge = parseLaunch(std::string("GameCanvas:99999999999999999999,-99999999999999999999,2147483647,-2147483648"));
  EXPECT_EQ(huge.roomIndex, 2147483647);
  EXPECT_EQ(huge.teamCode, -2147483647 - 1);
  EXPECT_EQ(huge.driverFlag, 2147483647);
  EXPECT_EQ(huge.training, -2147483647 - 1);
  // Just past int on a machine whose long is wider: clamped too, not wrapped.
  LaunchRequest past = parseLaunch(std::string("GameCanvas:2147483648,-2147483649,4294967297"));
  EXPECT_EQ(past.roomIndex, 2147483647);
  EXPECT_EQ(past.teamCode, -2147483647 - 1);
  EXPECT_EQ(past.driverFlag, 2147483647);
  // Leading blanks and signs read as "%d" reads them.
  LaunchRequest signs = parseLaunch(std::string("GameCanvas: +4, -7,\t3,x"));
  EXPECT_EQ(signs.roomIndex, 4);
  EXPECT_EQ(signs.teamCode, -7);
  EXPECT_EQ(signs.driverFlag, 3);
  EXPECT_EQ(signs.training, 0);
}

TEST(CommandLine, ScoreFormKeepsTheItemsAfterTheFirstSlash) {
  LaunchRequest r = parseLaunch(findArgument(scoreCommandLine(4200, 3, 2026, 12, 7)));
  EXPECT_EQ(r.kind, LaunchKind::Score);
  EXPECT_EQ(r.templateName, "scoreboard.properties");
  EXPECT_EQ(r.scoreText, "score:4200, room:3, date:2026/12/07");
  EXPECT_EQ(parseLaunch(std::string("scoreboard")).scoreText, "");
}

TEST(CommandLine, BuiltCommandLines) {
  EXPECT_EQ(gameCommandLine(-1, 1203, 1, 0), "ARG:GameCanvas:0,1203,1,0");
  EXPECT_EQ(gameCommandLine(6, 2211, 0, 1), "ARG:GameCanvas:6,2211,0,1");
  EXPECT_EQ(scoreCommandLine(15, 0, 2027, 1, 2),
            "ARG:scoreboard /score:15, room:0, date:2027/01/02");
}

}  // namespace
}  // namespace app
