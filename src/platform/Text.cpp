#include "platform/Text.h"

namespace platform {

int trimRight(std::string& s, std::string_view set) {
  size_t keep = s.find_last_not_of(set);
  keep = keep == std::string::npos ? 0 : keep + 1;
  int removed = static_cast<int>(s.size() - keep);
  s.resize(keep);
  return removed;
}

int trimLeft(std::string& s, std::string_view set) {
  size_t first = s.find_first_not_of(set);
  if (first == std::string::npos) first = s.size();
  s.erase(0, first);
  return static_cast<int>(first);
}

int trim(std::string& s, std::string_view set) {
  return trimRight(s, set) + trimLeft(s, set);
}

void replaceChar(std::string& s, char from, char to) {
  for (char& c : s)
    if (c == from) c = to;
}

void collapseDoubled(std::string& s, char ch) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (!(c == ch && !out.empty() && out.back() == ch)) out.push_back(c);
  s = std::move(out);
}

void removeChars(std::string& s, std::string_view set) {
  std::erase_if(s, [set](char c) { return set.find(c) != std::string_view::npos; });
}

void replaceSameLength(std::string& s, std::string_view needle, std::string_view replacement) {
  if (needle.empty() || needle.size() != replacement.size()) return;
  for (size_t at = s.find(needle); at != std::string::npos; at = s.find(needle, at + needle.size()))
    s.replace(at, needle.size(), replacement);
}

namespace {
bool isSeparator(char c) {
  return c == '\\' || c == '/';
}
}  // namespace

void resolveDotDot(std::string& path) {
  // Find "<sep>..<sep>" from the start, cut from the start of the segment before it (just after
  // the previous separator, or the start of the text) through the ".." and its trailing
  // separator, and look again from the start.
  size_t i = 0;
  while (i + 4 <= path.size()) {
    if (isSeparator(path[i]) && path[i + 1] == '.' && path[i + 2] == '.' &&
        isSeparator(path[i + 3])) {
      size_t segment = i;
      while (segment > 0 && !isSeparator(path[segment - 1])) --segment;
      path.erase(segment, i + 4 - segment);
      i = 0;
    } else {
      ++i;
    }
  }
}

bool hasCharBefore(std::string_view s, int n, char ch) {
  size_t at = s.find(ch);
  return at != std::string_view::npos && static_cast<long>(at) < n;
}

bool hasCharAfterFromEnd(std::string_view s, int n, char ch) {
  size_t at = s.rfind(ch);
  return at != std::string_view::npos && static_cast<long>(s.size() - at) <= n;
}

std::vector<std::string> split(std::string_view s, std::string_view separators, char requiredChar) {
  std::vector<std::string> pieces;
  if (s.empty()) return pieces;
  size_t start = 0;
  while (true) {
    size_t end = s.find_first_of(separators, start);
    std::string_view piece = s.substr(start, end == std::string_view::npos ? s.npos : end - start);
    bool glue = requiredChar != 0 && piece.find(requiredChar) == std::string_view::npos;
    if (!glue) {
      pieces.emplace_back(piece);
    } else if (!pieces.empty()) {
      pieces.back().push_back(s[start - 1]);
      pieces.back().append(piece);
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return pieces;
}

std::optional<std::pair<std::string, std::string>> splitKeyValue(std::string_view line,
                                                                 char separator) {
  size_t at = line.find(separator);
  if (at == std::string_view::npos) return std::nullopt;
  std::string key(line.substr(0, at));
  std::string value(line.substr(at + 1));
  trim(key, kBlanks);
  trim(value, kBlanks);
  return std::make_pair(std::move(key), std::move(value));
}

size_t characterCount(std::string_view s) {
  size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

}  // namespace platform
