// In-place text operations shared by the template parser, the archive layer and the pages.
//
// Text is UTF-8. A "set" is a string whose characters form a set; the sets the system uses
// are ASCII, so these operations work byte by byte without splitting a multi-byte character.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

inline constexpr std::string_view kBlanks = " \t";

// Each trim removes characters of `set` and returns how many it removed.
int trimRight(std::string& s, std::string_view set);
int trimLeft(std::string& s, std::string_view set);
int trim(std::string& s, std::string_view set);

void replaceChar(std::string& s, char from, char to);
// While the pair `ch ch` occurs, removes one of the two ("a\\\\b" -> "a\\b").
void collapseDoubled(std::string& s, char ch);
void removeChars(std::string& s, std::string_view set);
// Replaces every occurrence of `needle`; does nothing unless both have the same length.
void replaceSameLength(std::string& s, std::string_view needle, std::string_view replacement);

// Removes every ".." segment together with the segment before it ("a\b\..\c" -> "a\c").
// Both '\' and '/' separate segments; the separators that remain are left as they were.
void resolveDotDot(std::string& path);

// The first `ch` lies at an index below `n`.
bool hasCharBefore(std::string_view s, int n, char ch);
// The last `ch` lies fewer than `n` characters before the end.
bool hasCharAfterFromEnd(std::string_view s, int n, char ch);

// Cuts `s` at every character of `separators`. When `requiredChar` is not 0, a piece without it
// is glued, with its separator, onto the previous piece, and such a leading piece is dropped.
// Text without separators gives one piece; empty text gives none.
std::vector<std::string> split(std::string_view s, std::string_view separators,
                               char requiredChar = 0);

// Trims blanks and cuts at the first `separator`: the trimmed key and the trimmed value.
// Nothing when the separator is absent.
std::optional<std::pair<std::string, std::string>> splitKeyValue(std::string_view line,
                                                                 char separator);

// Number of characters (code points) in UTF-8 text.
size_t characterCount(std::string_view s);

}  // namespace platform
