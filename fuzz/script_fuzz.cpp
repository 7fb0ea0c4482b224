// Feeds arbitrary bytes to the session script parser and to the relaunch state reader. A script
// that parses is played to its end: its actions come in time order, every one exactly once, and
// the state handed to a child reads back and resumes where the parent stood. A script that does
// not parse says which line and why.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "host/Script.h"

namespace {

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "script player broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)host::parseScriptResume(text);

  std::string error;
  std::optional<host::ScriptPlayer> player = host::ScriptPlayer::parse(text, &error);
  if (!player) {
    require(error.rfind("line ", 0) == 0 && error.find(": ") != std::string::npos,
            "a failure names its line");
    return 0;
  }
  host::ScriptPlayer child = *player;
  const std::size_t total = player->actionCount();
  std::size_t taken = 0;
  std::uint32_t last = 0;
  std::size_t answers = 0;
  while (std::optional<std::uint32_t> when = player->nextTime()) {
    require(*when >= last, "actions in time order");
    last = *when;
    const std::size_t due = player->takeDue(*when).size();
    require(due > 0, "an action is due at its own time");
    taken += due;
    // Half-way through, a child started now takes over from the same place.
    if (taken * 2 >= total && taken - due < (total + 1) / 2) {
      if (player->takeAnswer()) ++answers;
      std::optional<host::ScriptResume> state =
          host::parseScriptResume(player->stateForChild(*when));
      require(state && state->next == taken && state->answers == answers && state->clock == *when,
              "the state reads back");
      child.resume(*state);
      require(child.nextTime() == player->nextTime(), "the child goes on where the parent was");
    }
  }
  require(taken == total, "every action once");
  require(player->takeDue(UINT32_MAX).empty(), "nothing left");
  return 0;
}
