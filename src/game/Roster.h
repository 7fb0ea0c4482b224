// Roster: the rooms and pilots the resource tree offers, and the team code that seats four
// pilots.
//
// Rooms are found by their menu pictures "level<n>_<Name>.gif" in the scenes folder, pilots by
// their portraits "<Name>_neutral.<ext>" in the characters folder; the order of each list gives
// the numbers the command line and the team code use.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace game {

// Every file matching "level*.gif" in `resourceFolder` + "scenes", each name cut at its first
// '.' after the first character, sorted ascending by character code: "level0_Living_Room".
std::vector<std::string> roomFiles(const std::string& resourceFolder);
// The room names of roomFiles: the text after the first '_', each '_' a blank ("Living Room").
// Index = room number.
std::vector<std::string> roomNames(const std::string& resourceFolder);
// Every file matching "*_neutral.*" in `resourceFolder` + "characters", cut as above, sorted
// descending by character code, each then cut at its first '_': the pilots' names. Index = the
// character number of the team code.
std::vector<std::string> characterNames(const std::string& resourceFolder);

// The pilots of the four slots: the units digit of `teamCode` is slot 0's character number,
// the tens slot 1's, the hundreds slot 2's and the thousands slot 3's (four digits are always
// read, so a code below 1000 seats character 0 in slot 3). Nothing for a negative code or a
// digit naming no pilot of `characters`.
std::optional<std::array<std::string, 4>> decodeTeam(int teamCode,
                                                     const std::vector<std::string>& characters);
// The team code of four slots' character numbers (slot 0 the units digit).
int encodeTeam(const std::array<int, 4>& characterOfSlot);

// The command lines the program starts itself with: a battle ("ARG:GameCanvas:room,team,
// driver,training"; room -1, no room chosen, is room 0) and the score entry after a won one.
std::string gameCommandLine(int roomIndex, int teamCode, int driverFlag, int training);
std::string scoreCommandLine(int score, int roomIndex, int year, int month, int day);

}  // namespace game
