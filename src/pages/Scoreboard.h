// Scoreboard: the high-score screen after a won battle.
//
// The battle starts the program again with "ARG:scoreboard /score:%d, room:%d, date:%s"; the
// root page keeps the text after the first '/' (the record text) and loads
// "scoreboard.properties", which asks for the player's name on the input pad. Once the name is
// given, enter() stores the new record and fills the screen:
//   - "txtLevel" shows the room's name;
//   - the name ("unnamed" when empty) stays in "sptNewRecordPlayer", "sptNewRecordScore" shows
//     the score text as it came and "sptNewRecordDate" the date without its first two
//     characters ("07/03/09" for the ninth of March 2007);
//   - the record (track = room name, racer = name, score) is added to the score table, and the
//     table is read back: the rows of that room, in stored order (best first), fill "player%d",
//     "score%d" and "date%d" (n = 0..7).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/RootPageServices.h"

namespace pages {

struct ScoreboardObjects;

// The items of a record text: "score" (default 0), "room" (default 0) and "date".
struct RecordText {
  int score = 0;
  int room = 0;
  std::string scoreText;  // the "score" item as written
  std::string date;
};
RecordText parseRecordText(std::string_view text);

// `date` without its first two characters (empty when it is shorter).
std::string shortDate(std::string_view date);

// The name the record is stored under: `entered`, or "unnamed" when it is empty.
std::string playerName(std::string_view entered);

class Scoreboard {
 public:
  static constexpr int kRows = 8;
  static constexpr int kMaxNameChars = 10;
  static constexpr const char* kPrompt = "Please Input Your Name:";
  static constexpr const char* kUnnamed = "unnamed";

  // Stores the record of `recordText` under the name in "sptNewRecordPlayer" and fills the
  // screen as above. `rooms` gives the room's name (a room outside the list is stored without
  // one). Returns whether the record was stored.
  static bool enter(const ScoreboardObjects& objects, const RootPageServices& services,
                    const std::vector<std::string>& rooms, std::string_view recordText);
};

}  // namespace pages
