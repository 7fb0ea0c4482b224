// Feeds arbitrary bytes to the "ARG:" command-line reader as a process's command line. Checks
// the form chosen against the argument's words, and that a game start's four numbers written
// back with gameCommandLine read as the same four numbers (a relaunch keeps what was asked).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/CommandLine.h"

namespace {

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "command line broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const std::optional<std::string> argument = app::findArgument(line);
  require(argument.has_value() == (line.find("ARG:") != std::string::npos), "the marker");
  const app::LaunchRequest request = app::parseLaunch(argument);
  if (!argument) {
    require(request.kind == app::LaunchKind::Cover, "no argument is the cover");
    return 0;
  }
  require(request.argument == *argument, "the argument is kept");
  const bool game = argument->find("GameCanvas") != std::string::npos;
  const bool score = !game && argument->find("scoreboard") != std::string::npos;
  switch (request.kind) {
    case app::LaunchKind::GameStart: {
      require(game, "a game start names GameCanvas");
      require(request.roomIndex != -1, "room -1 reads as 0");
      const app::LaunchRequest back = app::parseLaunch(app::findArgument(app::gameCommandLine(
          request.roomIndex, request.teamCode, request.driverFlag, request.training)));
      require(back.kind == app::LaunchKind::GameStart, "written back, still a game start");
      require(back.roomIndex == request.roomIndex && back.teamCode == request.teamCode &&
                  back.driverFlag == request.driverFlag && back.training == request.training,
              "written back, the same four numbers");
      break;
    }
    case app::LaunchKind::Score:
      require(score, "a score entry names scoreboard");
      require(request.templateName == "scoreboard.properties", "the scoreboard template");
      break;
    case app::LaunchKind::Template:
      require(!game && !score, "a template is neither game nor score");
      require(request.templateName == *argument + ".properties", "the template's name");
      break;
    case app::LaunchKind::Cover:
      require(false, "an argument is never the cover");
  }
  return 0;
}
