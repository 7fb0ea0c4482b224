// Template: one ".properties" file held in memory as an ordered map from key to value text.
//
// Screens, objects, settings and menu state are all templates. A template keeps its lines'
// order, including empty and comment lines (stored under the pseudo-keys "_EMPTY_LINE_%d" and
// "_COMMENT_LINE_%d"), so that save() writes back what load() read, with the changes made.
//
// Line grammar (one line is at most kLineChars - 1 characters; a longer one continues as the
// next line): blanks trimmed at both ends; an empty line or one starting with '#' or '!' is kept
// as a pseudo-key; a trailing '\' continues the line with the next one; the text from the last
// "//" on is a comment; the key is cut at the first '='; "{name}" in a key is replaced by the
// value of key `name` at load time.
//
// Value forms, read only by the getters: plain text; a nested list of items ("a:1, b:2", an
// item's value may hold commas); a colour "(r;g;b)"; a vector "(x;y;z)". References "{name}" in
// a value are expanded when it is read, up to a nesting depth of 8, and the expanded text
// replaces the stored one.
//
// Files are UTF-8 both ways and are opened through openResource(), so a template that exists
// only inside a resource archive can be read. An installed program reads the user's saved copy
// first (platform/UserFolders.h); a copy that cannot be read, holds a NUL byte or is not UTF-8
// is passed over (with a line on stderr) for the installed one.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/HashMap.h"

namespace platform {

class Template {
 public:
  static constexpr size_t kLineChars = 2048;  // the line buffer, terminator included
  static constexpr int kMaxReferenceDepth = 8;
  static constexpr std::string_view kEmptyLinePrefix = "_EMPTY_LINE_";
  static constexpr std::string_view kCommentLinePrefix = "_COMMENT_LINE_";

  explicit Template(char keySeparator = '=', char itemSeparator = ',', char attrSeparator = ':');

  // Reads folder + name (a '\' is put between them unless the folder ends in one) into this
  // template, adding to what it holds. When `keyOrder` is given, every property key read is
  // appended to it. False when the file cannot be opened; an empty file loads as nothing.
  bool load(std::string_view folder, std::string_view name,
            std::vector<std::string>* keyOrder = nullptr);

  // Writes every line back to savePath(). The old file is replaced only once the new one is
  // written completely, so a failure leaves it intact. False when path() is empty or the file
  // cannot be written.
  bool save();
  // Where save() writes: the user's copy of path() when the program redirects its installed
  // tree (platform/UserFolders.h), else path() itself.
  std::string savePath() const;

  // Sets path() as load() does, without reading.
  void setPath(std::string_view folder, std::string_view name);
  const std::string& path() const { return path_; }

  bool contains(std::string_view key) { return getRaw(key) != nullptr; }

  // The expanded value of `key`, owned by the template (valid until the key changes), or null.
  const std::string* getRaw(std::string_view key);

  // The whole expanded value when `item` is empty, else the value of that item of its nested
  // list. Nothing when absent.
  std::optional<std::string> getString(std::string_view key, std::string_view item = {});
  // As getString, cut to at most `maxChars` characters; nothing when absent or empty.
  std::optional<std::string> getStringInto(std::string_view key, std::string_view item,
                                           size_t maxChars);
  // Decimal conversion that stops at the first non-digit ("12abc" is 12); `fallback` when the
  // text is absent or empty.
  int32_t getInt(std::string_view key, std::string_view item, int32_t fallback);
  bool getBool(std::string_view key, std::string_view item, bool fallback);
  float getFloat(std::string_view key, std::string_view item, float fallback);
  // "(r;g;b)" as 0x00RRGGBB; missing parts count 0.
  uint32_t getColor(std::string_view key, std::string_view item, uint32_t fallback);
  // "(x;y;z)"; missing parts count 0.
  std::array<float, 3> getVector(std::string_view key, std::string_view item,
                                 std::array<float, 3> fallback);

  // Stores `value` under `key`: a known key keeps its place, a new one goes last.
  void set(std::string_view key, std::string_view value);
  // Rewrites `key`'s nested list with item `item` set to `value` (appended when absent). Every
  // item is written as " name:value", joined with ','. Nothing happens when `key` is absent.
  void setItem(std::string_view key, std::string_view item, std::string_view value);

  // Number of real properties (pseudo-keys not counted), and their keys in order.
  int count() const { return entries_.count() - emptyCount_ - commentCount_; }
  std::vector<std::string> keys() const;
  // Every key in order, pseudo-keys included (what save() writes, line by line).
  const PtrVector<std::string>& allKeys() const { return entries_.keys(); }
  static bool isPseudoKey(std::string_view key);

  void clear();

  // Parses a nested list value into its items, in order, a repeated name keeping its last value.
  std::vector<std::pair<std::string, std::string>> parseItems(std::string_view value) const;
  static uint32_t parseColor(std::string_view text);
  static std::array<float, 3> parseVector(std::string_view text);

 private:
  void parse(std::string_view text, std::vector<std::string>* keyOrder);
  void storeLine(std::string line, std::vector<std::string>* keyOrder);
  std::string serialize() const;
  // Expands references in `value`; false when the depth limit or `budget` stopped it.
  bool expand(std::string& value, int depth, int& budget);
  std::optional<std::string> lookup(std::string_view key, std::string_view item);

  HashMap<std::string, std::string> entries_;
  std::string path_;
  int commentCount_ = 0;
  int emptyCount_ = 0;
  char keySeparator_;
  char itemSeparator_;
  char attrSeparator_;
};

}  // namespace platform
