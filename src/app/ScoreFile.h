// ScoreFile: the race score table, "racescore.txt", a template file in the GUI resource folder
// (the program passes platform::guiFolder(); tests pass a folder of their own).
//
// One property per record. The key is the record's place: "-1" for the record added last, then
// "0", "1", ... for the table, each room's records best first. The value is the item list
//   track:%s, racer:%s, vehicle:%s, date:%s, time:%8.3f, speed:%d
// so a written line reads, for example,
//   0=track:Sky Hall, racer:Ann, vehicle:, date:2007/03/09, time:   0.000, speed:1200
// The file is written from scratch each time, the "-1" line first. Each room keeps at most eight
// records.
//
// Texts survive the template format unchanged: the characters it would read differently ('%',
// ',', '{', '}', control characters, a '/' after a '/', blanks at either end) are written as
// "%XX" (two hexadecimal digits of the byte) and read back as the byte; every other text,
// dates and room names included, is written as it is. A text field is cut to kMaxTextChars
// characters when written, so that a record always fits on one template line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

struct ScoreRecord {
  std::string track;    // the room the score belongs to
  std::string racer;    // the player's name
  std::string vehicle;  // written empty by the scoreboard
  std::string date;     // "%04d/%02d/%02d"
  float time = 0.0f;    // written 0 by the scoreboard
  int32_t speed = -1;   // the score; the table ranks by it, highest first
};

struct ScoreTable {
  std::vector<ScoreRecord> records;   // in stored order ("0", "1", ...)
  std::optional<ScoreRecord> latest;  // the "-1" record, when there is one
};

inline constexpr const char* kScoreFileName = "racescore.txt";
inline constexpr int kRecordsPerTrack = 8;
inline constexpr size_t kMaxTextChars = 128;

// Reads `folder` + "racescore.txt" (through the resource archives when it is not on disk). A
// missing, empty or unreadable file gives an empty table. Records are the keys that are plain
// non-negative decimal numbers, in numeric order; a property that names none of the record's
// items is not a record. A missing text item reads as empty text, a missing time as 0 and a
// missing speed as -1; numbers read as decimal conversions do ("12abc" is 12, out-of-range
// values are clamped).
ScoreTable readScores(std::string_view folder);

// Writes `table` as the whole file: its latest record under "-1" (when it has one), then each
// record under its index. Returns whether the file was saved; a failed save leaves the old file
// as it was.
bool writeScores(std::string_view folder, const ScoreTable& table);

// Adds `record` to the table of `folder`: reads the table (its old latest record is dropped),
// appends the record, ranks its room (see rankTrack), drops that room's records beyond the
// eighth from the end of the list, and writes the table with `record` as the latest. Other
// rooms' records keep their places. False, with nothing written, when the file exists but cannot
// be read (it is not replaced by a table that lost its records), or when the save fails.
bool addScore(std::string_view folder, const ScoreRecord& record);

// The ranking walk: from the front, each record of `track` is compared with every later record of
// `track` and swapped with it when its speed is lower. The records of `track` end up in
// descending speed order in the places they occupy, an older record ahead of a newer one with the
// same speed; other records do not move.
void rankTrack(std::vector<ScoreRecord>& records, std::string_view track);

// Removes records of `track` from the end of the list while it holds more than `keep` of them.
void trimTrack(std::vector<ScoreRecord>& records, std::string_view track, int keep);

// The item list of `record` as the file holds it (without "key=").
std::string formatScoreRecord(const ScoreRecord& record);

// The text escape of the file: encodeScoreText cuts `text` to kMaxTextChars characters and
// escapes it; decodeScoreText turns every "%XX" back into its byte (a '%' without two
// hexadecimal digits after it stays as it is).
std::string encodeScoreText(std::string_view text);
std::string decodeScoreText(std::string_view text);

}  // namespace app
