#include "pages/Scoreboard.h"

#include "media/Sprite.h"
#include "pages/RootScreens.h"
#include "platform/Template.h"

namespace pages {

RecordText parseRecordText(std::string_view text) {
  // The record text is one nested list, read as a template value is.
  platform::Template holder('=', ',', ':');
  holder.set("record", text);
  RecordText record;
  record.score = holder.getInt("record", "score", 0);
  record.room = holder.getInt("record", "room", 0);
  record.scoreText = holder.getString("record", "score").value_or("");
  record.date = holder.getString("record", "date").value_or("");
  return record;
}

std::string shortDate(std::string_view date) {
  return date.size() > 2 ? std::string(date.substr(2)) : std::string();
}

std::string playerName(std::string_view entered) {
  return entered.empty() ? std::string(Scoreboard::kUnnamed) : std::string(entered);
}

bool Scoreboard::enter(const ScoreboardObjects& o, const RootPageServices& services,
                       const std::vector<std::string>& rooms, std::string_view recordText) {
  const RecordText record = parseRecordText(recordText);
  const bool known = record.room >= 0 && record.room < static_cast<int>(rooms.size());
  ScoreRow row;
  row.track = known ? rooms[static_cast<size_t>(record.room)] : std::string();
  if (o.level) o.level->setText(row.track, true);
  row.racer = playerName(o.newPlayer ? o.newPlayer->text() : std::string());
  if (o.newPlayer) o.newPlayer->setText(row.racer, true);
  if (o.newScore) o.newScore->setText(record.scoreText, true);
  if (o.newDate) o.newDate->setText(shortDate(record.date), true);
  row.date = record.date;
  row.speed = record.score;
  const bool stored = services.addScore && services.addScore(row);

  if (!services.readScores) return stored;
  const ScoreTableView table = services.readScores();
  if (!table.hasLatest || table.rows.empty()) return stored;
  int n = 0;
  for (const ScoreRow& stored_row : table.rows) {
    if (stored_row.track != row.track) continue;
    if (n >= kRows) break;
    if (o.players[n]) o.players[n]->setText(stored_row.racer, true);
    if (o.scores[n]) o.scores[n]->setText(std::to_string(stored_row.speed), true);
    if (o.dates[n]) o.dates[n]->setText(shortDate(stored_row.date), true);
    ++n;
  }
  return stored;
}

}  // namespace pages
