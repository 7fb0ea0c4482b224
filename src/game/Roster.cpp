#include "game/Roster.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "platform/Files.h"

namespace game {

namespace {

// The files of `folder` matching `pattern`, each cut at its first '.' after the first character.
std::vector<std::string> cutNames(const std::string& folder, const char* pattern) {
  std::vector<std::string> names = platform::findFiles(folder, pattern);
  for (std::string& name : names) {
    const size_t dot = name.find('.', 1);
    if (dot != std::string::npos) name.resize(dot);
  }
  return names;
}

}  // namespace

std::vector<std::string> roomFiles(const std::string& resourceFolder) {
  std::vector<std::string> files = cutNames(resourceFolder + "scenes", "level*.gif");
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> roomNames(const std::string& resourceFolder) {
  std::vector<std::string> names = roomFiles(resourceFolder);
  for (std::string& name : names) {
    const size_t underscore = name.find('_');
    name = underscore == std::string::npos ? std::string() : name.substr(underscore + 1);
    std::replace(name.begin(), name.end(), '_', ' ');
  }
  return names;
}

std::vector<std::string> characterNames(const std::string& resourceFolder) {
  std::vector<std::string> names = cutNames(resourceFolder + "characters", "*_neutral.*");
  std::sort(names.begin(), names.end(), std::greater<>());
  for (std::string& name : names) name.resize(std::min(name.size(), name.find('_')));
  return names;
}

std::optional<std::array<std::string, 4>> decodeTeam(int teamCode,
                                                     const std::vector<std::string>& characters) {
  if (teamCode < 0) return std::nullopt;
  std::array<std::string, 4> team;
  int rest = teamCode;
  for (std::string& pilot : team) {
    const size_t character = static_cast<size_t>(rest % 10);
    rest /= 10;
    if (character >= characters.size()) return std::nullopt;
    pilot = characters[character];
  }
  return team;
}

int encodeTeam(const std::array<int, 4>& characterOfSlot) {
  int code = 0;
  int place = 1;
  for (int character : characterOfSlot) {
    code += character * place;
    place *= 10;
  }
  return code;
}

std::string gameCommandLine(int roomIndex, int teamCode, int driverFlag, int training) {
  char line[96];
  std::snprintf(line, sizeof line, "ARG:GameCanvas:%d,%d,%d,%d", roomIndex == -1 ? 0 : roomIndex,
                teamCode, driverFlag, training);
  return line;
}

std::string scoreCommandLine(int score, int roomIndex, int year, int month, int day) {
  char line[128];
  std::snprintf(line, sizeof line, "ARG:scoreboard /score:%d, room:%d, date:%04d/%02d/%02d", score,
                roomIndex, year, month, day);
  return line;
}

}  // namespace game
