#include "app/ProgramOptions.h"

#include <gtest/gtest.h>

namespace app {
namespace {

OptionResult read(const std::vector<std::string>& args) {
  return readProgramOptions(args, "skirrow-cl", "1.2.3", "Common-Lite");
}

TEST(ProgramOptions, TheArgProtocolAndPlainWordsRunTheProgram) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"ARG:intro"},
           {"xyz", "ARG:MainMenu"},
           {"ARG:GameCanvas:3,1203,1,0"},
           // A relaunch passes its whole line as one argument; a date or a name may hold "--".
           {"ARG:scoreboard /score:900, room:2, date:2026/12/07 --help"},
           {"--ARG:intro"},
           {"--", "-", "-h"},
       }) {
    OptionResult r = read(args);
    EXPECT_EQ(r.action, OptionAction::Run) << (args.empty() ? "" : args[0]);
    EXPECT_EQ(r.text, "");
  }
}

TEST(ProgramOptions, HelpAndVersionPrintAndEndWithZero) {
  OptionResult help = read({"ARG:intro", "--help"});
  EXPECT_EQ(help.action, OptionAction::Help);
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.text.rfind("usage: skirrow-cl [ARG:page]\n", 0), 0u) << help.text;
  for (const char* expected :
       {"ARG:intro", "ARG:GameCanvas:room,team,gl,train",
        "ARG:scoreboard /score:N, room:R, date:YYYY/MM/DD", "SKIRROW_HOST", "SKIRROW_DEVICE",
        "SKIRROW_SCRIPT", "SKIRROW_FONT_DIR", "XDG_DATA_HOME", "skirrow-cl(6)"})
    EXPECT_NE(help.text.find(expected), std::string::npos) << expected;
  // Every line fits a terminal of 80 columns.
  size_t start = 0;
  for (size_t end; (end = help.text.find('\n', start)) != std::string::npos; start = end + 1)
    EXPECT_LE(end - start, 80u) << help.text.substr(start, end - start);

  OptionResult version = read({"--version"});
  EXPECT_EQ(version.action, OptionAction::Version);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.text, "skirrow-cl 1.2.3 (Common-Lite build)\n");
}

TEST(ProgramOptions, TheFirstOptionDecidesAndAnUnknownOneIsAnError) {
  OptionResult bad = read({"--versoin", "--help"});
  EXPECT_EQ(bad.action, OptionAction::Error);
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_EQ(bad.text, "skirrow-cl: unknown option '--versoin' (try --help)\n");
  EXPECT_EQ(read({"--help=all"}).action, OptionAction::Error);
  EXPECT_EQ(read({"--version", "--bogus"}).action, OptionAction::Version);
}

}  // namespace
}  // namespace app
