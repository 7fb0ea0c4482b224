#include "app/CommandLine.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace app {

namespace {

// Reads up to four ','-separated decimal numbers as "%d,%d,%d,%d" reads them (leading blanks and
// a sign allowed): it stops at the first field that is not a number, leaving the rest as they
// were. A number beyond int's range is clamped to INT_MIN or INT_MAX rather than left to
// sscanf, whose behaviour on overflow is undefined.
int readNumbers(std::string_view text, int* out, int count) {
  std::string copy(text);
  const char* p = copy.c_str();
  int read = 0;
  for (; read < count; ++read) {
    if (read > 0) {
      if (*p != ',') break;
      ++p;
    }
    char* end = nullptr;
    const long value = std::strtol(p, &end, 10);
    if (end == p) break;
    out[read] = static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
    p = end;
  }
  return read;
}

}  // namespace

std::optional<std::string> findArgument(std::string_view commandLine) {
  size_t at = commandLine.find("ARG:");
  if (at == std::string_view::npos) return std::nullopt;
  return std::string(commandLine.substr(at + 4));
}

LaunchRequest parseLaunch(const std::optional<std::string>& argument) {
  LaunchRequest request;
  if (!argument) {
    request.templateName = "cover.properties";
    return request;
  }
  request.argument = *argument;
  const std::string& text = *argument;
  if (text.find("GameCanvas") != std::string::npos) {
    request.kind = LaunchKind::GameStart;
    size_t colon = text.find(':');
    int numbers[4] = {0, 0, 0, 0};
    if (colon != std::string::npos)
      readNumbers(std::string_view(text).substr(colon + 1), numbers, 4);
    request.roomIndex = numbers[0] == -1 ? 0 : numbers[0];
    request.teamCode = numbers[1];
    request.driverFlag = numbers[2];
    request.training = numbers[3];
  } else if (text.find("scoreboard") != std::string::npos) {
    request.kind = LaunchKind::Score;
    size_t slash = text.find('/');
    request.scoreText = slash == std::string::npos ? std::string() : text.substr(slash + 1);
    request.templateName = "scoreboard.properties";
  } else {
    request.kind = LaunchKind::Template;
    request.templateName = text + ".properties";
  }
  return request;
}

}  // namespace app
