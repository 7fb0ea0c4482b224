#include "app/ScoreFile.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "host/Files.h"
#include "platform/Template.h"

namespace app {
namespace {

constexpr const char* kLatestKey = "-1";
constexpr const char* kFields[] = {"track", "racer", "vehicle", "date", "time", "speed"};

// "0", "1", ... "2147483647": the keys that name a place in the table. "01" or "+1" would name a
// place twice, so only the plain form counts.
std::optional<int> placeOf(std::string_view key) {
  if (key.empty() || key.size() > 10 || (key.size() > 1 && key[0] == '0')) return std::nullopt;
  long long n = 0;
  for (char c : key) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n > 2147483647LL) return std::nullopt;
  return static_cast<int>(n);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void putEscaped(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out.push_back('%');
  out.push_back(kHex[byte >> 4]);
  out.push_back(kHex[byte & 15]);
}

// The first `maxChars` characters of UTF-8 text.
std::string_view firstChars(std::string_view text, size_t maxChars) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == maxChars)
      return text.substr(0, i);
  }
  return text;
}

std::optional<ScoreRecord> recordAt(platform::Template& file, const std::string& key) {
  const std::string* value = file.getRaw(key);
  if (!value) return std::nullopt;
  // A line that names none of the record's items is not a record (a stray "3=oops").
  bool named = false;
  for (const auto& item : file.parseItems(*value))
    for (const char* field : kFields) named = named || item.first == field;
  if (!named) return std::nullopt;
  auto text = [&](const char* item) {
    return decodeScoreText(file.getString(key, item).value_or(""));
  };
  ScoreRecord r;
  r.track = text("track");
  r.racer = text("racer");
  r.vehicle = text("vehicle");
  r.date = text("date");
  r.time = file.getFloat(key, "time", 0.0f);
  r.speed = file.getInt(key, "speed", -1);
  return r;
}

// Reads the table into `table`; false when the file could not be opened. `path` is the file's.
bool loadScores(std::string_view folder, ScoreTable& table, std::string& path) {
  platform::Template file('=', ',', ':');
  bool loaded = file.load(folder, kScoreFileName);
  // The file a save would replace: for an installed program, the user's copy.
  path = file.savePath();
  if (!loaded) return false;
  std::vector<std::pair<int, std::string>> places;
  for (const std::string& key : file.keys())
    if (std::optional<int> place = placeOf(key)) places.emplace_back(*place, key);
  std::sort(places.begin(), places.end());
  for (const auto& [place, key] : places)
    if (std::optional<ScoreRecord> r = recordAt(file, key)) table.records.push_back(std::move(*r));
  table.latest = recordAt(file, kLatestKey);
  return true;
}

}  // namespace

std::string encodeScoreText(std::string_view text) {
  text = firstChars(text, kMaxTextChars);
  // The template trims blanks around an item's value: blanks at either end are escaped.
  size_t lead = 0;
  while (lead < text.size() && text[lead] == ' ') ++lead;
  size_t tail = text.size();
  while (tail > lead && text[tail - 1] == ' ') --tail;
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    // ',' would end the item, '{' start a reference, "//" a comment, a control character the
    // line; '%' is the escape itself.
    bool escape = c < 0x20 || c == 0x7F || c == '%' || c == ',' || c == '{' || c == '}' ||
                  (c == ' ' && (i < lead || i >= tail)) ||
                  (c == '/' && !out.empty() && out.back() == '/');
    if (escape)
      putEscaped(out, c);
    else
      out.push_back(static_cast<char>(c));
  }
  return out;
}

std::string decodeScoreText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 &&
        hexDigit(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::string formatScoreRecord(const ScoreRecord& record) {
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, ", time:%8.3f, speed:%d", static_cast<double>(record.time),
                static_cast<int>(record.speed));
  return "track:" + encodeScoreText(record.track) + ", racer:" + encodeScoreText(record.racer) +
         ", vehicle:" + encodeScoreText(record.vehicle) + ", date:" + encodeScoreText(record.date) +
         numbers;
}

ScoreTable readScores(std::string_view folder) {
  ScoreTable table;
  std::string path;
  loadScores(folder, table, path);
  return table;
}

bool writeScores(std::string_view folder, const ScoreTable& table) {
  platform::Template file('=', ',', ':');
  file.setPath(folder, kScoreFileName);
  if (table.latest) file.set(kLatestKey, formatScoreRecord(*table.latest));
  for (size_t i = 0; i < table.records.size(); ++i)
    file.set(std::to_string(i), formatScoreRecord(table.records[i]));
  return file.save();
}

void rankTrack(std::vector<ScoreRecord>& records, std::string_view track) {
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].track != track) continue;
    for (size_t j = i + 1; j < records.size(); ++j)
      if (records[j].track == track && records[i].speed < records[j].speed)
        std::swap(records[i], records[j]);
  }
}

void trimTrack(std::vector<ScoreRecord>& records, std::string_view track, int keep) {
  int held = static_cast<int>(std::count_if(records.begin(), records.end(),
                                            [&](const auto& r) { return r.track == track; }));
  for (size_t i = records.size(); i-- > 0 && held > keep;) {
    if (records[i].track != track) continue;
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(i));
    --held;
  }
}

bool addScore(std::string_view folder, const ScoreRecord& record) {
  ScoreTable table;
  std::string path;
  // A missing file starts a new table, but one that is there and cannot be read must not be
  // replaced by a table holding only the new record.
  if (!loadScores(folder, table, path) && host::pathKind(path) != host::PathKind::None)
    return false;
  table.records.push_back(record);
  rankTrack(table.records, record.track);
  trimTrack(table.records, record.track, kRecordsPerTrack);
  table.latest = record;
  return writeScores(folder, table);
}

}  // namespace app
