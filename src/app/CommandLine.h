// The "ARG:" protocol: which page a process shows is chosen by its command line, and a process
// that hands over to another page family starts the program again with a new one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "game/Roster.h"

namespace app {

enum class LaunchKind {
  Cover,      // no "ARG:": the root page loads "cover.properties"
  GameStart,  // "ARG:GameCanvas:room,team,driver,training"
  Score,      // "ARG:scoreboard /score:..., room:..., date:..."
  Template,   // "ARG:W": the root page loads "W.properties"
};

struct LaunchRequest {
  LaunchKind kind = LaunchKind::Cover;
  std::string argument;      // the text after the first "ARG:"
  std::string templateName;  // Cover, Score and Template: the template to load
  // GameStart: the four numbers (0 where the command line has none; a room of -1 reads as 0).
  int roomIndex = 0;
  int teamCode = 0;
  int driverFlag = 0;  // 1 = OpenGL ES wanted
  int training = 0;
  std::string scoreText;  // Score: the items after the first '/'
};

// The text after the first "ARG:" (case-sensitive, anywhere in the line); nothing when absent.
std::optional<std::string> findArgument(std::string_view commandLine);

// Reads the argument: "GameCanvas" anywhere makes a game start, else "scoreboard" a score entry,
// else the argument names a template.
LaunchRequest parseLaunch(const std::optional<std::string>& argument);

// The command lines this program starts itself with (written by the game, which starts them).
using game::gameCommandLine;
using game::scoreCommandLine;
inline constexpr const char* kIntroCommandLine = "ARG:intro";

}  // namespace app
