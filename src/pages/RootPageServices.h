// What the root page needs of the program around it: where the resources and the settings are,
// how to start the program again with another command line, the desktop's document opener and
// the race score table. The program fills it (app::programPages); tests fill it with their own.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pages {

// One record of the race score table as the scoreboard shows it.
struct ScoreRow {
  std::string track;  // the room's name
  std::string racer;  // the player's name
  std::string date;   // "%04d/%02d/%02d"
  int speed = 0;      // the score
};

// The table read back: its records in stored order, and whether it has a record added last.
struct ScoreTableView {
  std::vector<ScoreRow> rows;
  bool hasLatest = false;
};

struct RootPageServices {
  std::string resourceFolder;  // "...\resources\" (rooms in "scenes", pilots in "characters")
  std::string guiFolder;       // "...\resources\GUI\": the templates and the settings file
  std::string settingsFile;    // "gsetting.properties" or the VGA model's
  // Ends this process and starts the program again with `commandLine` (a battle).
  std::function<void(const std::string& commandLine)> relaunch;
  // Opens folder + file with the desktop's document handler; false when that cannot be asked.
  std::function<bool(std::string_view folder, std::string_view file)> openDocument;
  // Adds a record to the race score table (the vehicle empty, the time 0); false when it could
  // not be stored.
  std::function<bool(const ScoreRow& record)> addScore;
  // The race score table as stored.
  std::function<ScoreTableView()> readScores;
  // Opens the application buttons of the Game API for the key calibration (it needs them);
  // false when they cannot be opened.
  std::function<bool()> openButtons;
};

}  // namespace pages
