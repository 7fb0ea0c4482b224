// Feeds arbitrary bytes to the score table reader as "racescore.txt", writes what it read back,
// then adds a score as the scoreboard does. Checks that nothing read is lost or changed by the
// writing (texts, scores, and times as far as three decimals hold them), that a written table
// reads back exactly, and that adding ranks only its own room and keeps it to eight records.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "app/ScoreFile.h"

namespace {

const std::string& workFolder() {
  static const std::string folder = makeScratchFolder("scorefile");
  return folder;
}

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "score file round trip broken: %s\n", what);
  std::abort();
}

// The text as the writer keeps it: its first kMaxTextChars characters.
std::string kept(const std::string& text) {
  return app::decodeScoreText(app::encodeScoreText(text));
}

bool sameTime(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  if (std::isinf(a) || std::isinf(b)) return a == b;
  // "%8.3f" keeps three decimals: the value read back lies within half a thousandth of the one
  // written, plus the float's own rounding of that decimal.
  return std::fabs(a - b) <= 0.0005f + std::fabs(a) * 1e-6f;
}

void requireSameRecord(const app::ScoreRecord& read, const app::ScoreRecord& back, bool exact) {
  require(kept(read.track) == back.track, "track");
  require(kept(read.racer) == back.racer, "racer");
  require(kept(read.vehicle) == back.vehicle, "vehicle");
  require(kept(read.date) == back.date, "date");
  require(read.speed == back.speed, "speed");
  if (exact)
    require(app::formatScoreRecord(read) == app::formatScoreRecord(back), "written line");
  else
    require(sameTime(read.time, back.time), "time");
}

void requireSameTable(const app::ScoreTable& a, const app::ScoreTable& b, bool exact) {
  require(a.records.size() == b.records.size(), "record count");
  for (size_t i = 0; i < a.records.size(); ++i)
    requireSameRecord(a.records[i], b.records[i], exact);
  require(a.latest.has_value() == b.latest.has_value(), "latest record");
  if (a.latest) requireSameRecord(*a.latest, *b.latest, exact);
}

std::vector<const app::ScoreRecord*> roomOf(const app::ScoreTable& t, const std::string& track) {
  std::vector<const app::ScoreRecord*> out;
  for (const app::ScoreRecord& r : t.records)
    if (r.track == track) out.push_back(&r);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = workFolder();
  std::string file = folder + app::kScoreFileName;
  if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  app::ScoreTable read = app::readScores(folder);
  require(app::writeScores(folder, read), "save");
  app::ScoreTable once = app::readScores(folder);
  requireSameTable(read, once, false);
  require(app::writeScores(folder, once), "second save");
  requireSameTable(once, app::readScores(folder), true);

  // The scoreboard's addition, into the first record's room (or a room of its own).
  app::ScoreRecord added;
  added.track = once.records.empty() ? std::string("Fuzz Hall") : once.records.front().track;
  added.racer = "fuzz";
  added.date = "2007/03/09";
  added.speed = size > 0 ? static_cast<int32_t>(data[0]) * 1000 - 100000 : 0;
  require(app::addScore(folder, added), "add");
  app::ScoreTable after = app::readScores(folder);
  require(after.latest && after.latest->racer == "fuzz" && after.latest->speed == added.speed,
          "added record is the latest");
  std::vector<const app::ScoreRecord*> before = roomOf(once, added.track);
  std::vector<const app::ScoreRecord*> room = roomOf(after, added.track);
  require(room.size() == std::min<size_t>(before.size() + 1, app::kRecordsPerTrack),
          "eight records per room");
  for (size_t i = 1; i < room.size(); ++i) require(room[i - 1]->speed >= room[i]->speed, "ranked");
  // Every other room keeps its records in their order.
  std::vector<const app::ScoreRecord*> othersBefore, othersAfter;
  for (const app::ScoreRecord& r : once.records)
    if (r.track != added.track) othersBefore.push_back(&r);
  for (const app::ScoreRecord& r : after.records)
    if (r.track != added.track) othersAfter.push_back(&r);
  require(othersBefore.size() == othersAfter.size(), "other rooms keep their records");
  for (size_t i = 0; i < othersBefore.size(); ++i)
    requireSameRecord(*othersBefore[i], *othersAfter[i], true);
  return 0;
}
