#include "host/Script.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/Keys.h"
#include "host/MessageBoxes.h"

namespace host {

namespace {

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  std::string w;
  while (in >> w) out.push_back(w);
  return out;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool parseInt(const std::string& s, int& out) {
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end) return false;
  out = static_cast<int>(v);
  return true;
}

ScriptAction input(InputEvent::Kind kind, std::uint32_t key, int x = 0, int y = 0) {
  ScriptAction a;
  a.kind = ScriptAction::Kind::Input;
  a.input.kind = kind;
  a.input.key = key;
  a.input.x = x;
  a.input.y = y;
  return a;
}

}  // namespace

std::optional<ScriptResume> parseScriptResume(std::string_view text) {
  if (text.empty()) return std::nullopt;
  ScriptResume r;
  int found = 0;
  std::string s(text);
  std::istringstream in(s);
  std::string item;
  while (std::getline(in, item, ';')) {
    auto eq = item.find('=');
    if (eq == std::string::npos) return std::nullopt;
    std::string key = item.substr(0, eq);
    char* end = nullptr;
    unsigned long long v = std::strtoull(item.c_str() + eq + 1, &end, 10);
    if (*end) return std::nullopt;
    if (key == "next")
      r.next = v, found |= 1;
    else if (key == "answers")
      r.answers = v, found |= 2;
    else if (key == "clock")
      r.clock = static_cast<std::uint32_t>(v), found |= 4;
  }
  if (found != 7) return std::nullopt;
  return r;
}

std::optional<ScriptPlayer> ScriptPlayer::parse(std::string_view text, std::string* error) {
  ScriptPlayer player;
  std::istringstream in{std::string(text)};
  std::string line;
  int lineNumber = 0;
  std::uint32_t previous = 0;
  auto fail = [&](const std::string& why) -> std::optional<ScriptPlayer> {
    if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
    return std::nullopt;
  };
  while (std::getline(in, line)) {
    ++lineNumber;
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::vector<std::string> w = words(line);
    if (w.empty()) continue;
    if (lower(w[0]) == "answer") {
      if (w.size() != 2) return fail("answer needs one word");
      std::optional<int> id = answerFromName(lower(w[1]));
      if (!id) return fail("unknown answer '" + w[1] + "'");
      player.answers_.push_back(*id);
      continue;
    }
    int t = 0;
    bool relative = w[0][0] == '+';
    if (!parseInt(relative ? w[0].substr(1) : w[0], t) || t < 0) return fail("bad time");
    std::uint32_t time =
        relative ? previous + static_cast<std::uint32_t>(t) : static_cast<std::uint32_t>(t);
    if (time < previous) return fail("time goes backwards");
    previous = time;
    if (w.size() < 2) return fail("missing command");
    std::string cmd = lower(w[1]);
    std::vector<ScriptAction> made;
    if (cmd == "key") {
      std::string mode = w.size() == 4 ? lower(w[2]) : "press";
      if (w.size() != 3 && w.size() != 4) return fail("key needs a name");
      auto code = keyCodeFromName(w.back());
      if (!code) return fail("unknown key '" + w.back() + "'");
      if (mode == "down" || mode == "press")
        made.push_back(input(InputEvent::Kind::KeyDown, *code));
      if (mode == "up" || mode == "press") made.push_back(input(InputEvent::Kind::KeyUp, *code));
      if (made.empty()) return fail("key mode must be down or up");
    } else if (cmd == "button") {
      if (w.size() != 3 && w.size() != 4) return fail("button needs A, B, C or D");
      std::string b = lower(w[2]);
      if (b.size() != 1 || b[0] < 'a' || b[0] > 'd') return fail("button needs A, B, C or D");
      std::uint32_t code = VK_APP1 + static_cast<std::uint32_t>(b[0] - 'a');
      std::string mode = w.size() == 4 ? lower(w[3]) : "press";
      if (mode == "down" || mode == "press") made.push_back(input(InputEvent::Kind::KeyDown, code));
      if (mode == "up" || mode == "press") made.push_back(input(InputEvent::Kind::KeyUp, code));
      if (made.empty()) return fail("button mode must be down or up");
    } else if (cmd == "stylus" || cmd == "tap") {
      bool tap = cmd == "tap";
      std::size_t at = tap ? 2 : 3;
      int x = 0, y = 0;
      if (w.size() != at + 2 || !parseInt(w[at], x) || !parseInt(w[at + 1], y))
        return fail("stylus needs X Y");
      std::string mode = tap ? "tap" : lower(w[2]);
      if (mode == "down" || mode == "tap")
        made.push_back(input(InputEvent::Kind::StylusDown, 0, x, y));
      if (mode == "move") made.push_back(input(InputEvent::Kind::StylusMove, 0, x, y));
      if (mode == "up" || mode == "tap") made.push_back(input(InputEvent::Kind::StylusUp, 0, x, y));
      if (made.empty()) return fail("stylus mode must be down, move or up");
    } else if (cmd == "type") {
      // The rest of the line, typed key by key; capitals are typed with Shift held.
      std::size_t at = line.find(w[1]) + w[1].size();
      while (at < line.size() && line[at] == ' ') ++at;
      std::string text = line.substr(at);
      while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
      if (text.empty()) return fail("type needs text");
      for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (!std::isalnum(u) && c != ' ') return fail(std::string("cannot type '") + c + "'");
        bool upper = std::isupper(u);
        std::uint32_t code = c == ' ' ? VK_SPACE : static_cast<std::uint32_t>(std::toupper(u));
        if (upper) made.push_back(input(InputEvent::Kind::KeyDown, VK_SHIFT));
        made.push_back(input(InputEvent::Kind::KeyDown, code));
        made.push_back(input(InputEvent::Kind::KeyUp, code));
        if (upper) made.push_back(input(InputEvent::Kind::KeyUp, VK_SHIFT));
      }
    } else if (cmd == "screenshot") {
      if (w.size() != 3) return fail("screenshot needs a path");
      ScriptAction a;
      a.kind = ScriptAction::Kind::Screenshot;
      a.path = w[2];
      made.push_back(a);
    } else if (cmd == "quit") {
      ScriptAction a;
      a.kind = ScriptAction::Kind::Quit;
      made.push_back(a);
    } else {
      return fail("unknown command '" + w[1] + "'");
    }
    for (ScriptAction& a : made) player.actions_.push_back({time, std::move(a)});
  }
  return player;
}

std::optional<ScriptPlayer> ScriptPlayer::load(const std::string& path, std::string* error) {
  std::ifstream in(path);
  if (!in) {
    if (error) *error = "cannot read " + path;
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  return parse(text.str(), error);
}

void ScriptPlayer::resume(const ScriptResume& state) {
  next_ = std::min(state.next, actions_.size());
  nextAnswer_ = std::min(state.answers, answers_.size());
}

std::optional<std::uint32_t> ScriptPlayer::nextTime() const {
  if (next_ >= actions_.size()) return std::nullopt;
  return actions_[next_].time;
}

std::vector<ScriptAction> ScriptPlayer::takeDue(std::uint32_t now) {
  std::vector<ScriptAction> due;
  while (next_ < actions_.size() && actions_[next_].time <= now)
    due.push_back(actions_[next_++].action);
  return due;
}

std::optional<int> ScriptPlayer::takeAnswer() {
  if (nextAnswer_ >= answers_.size()) return std::nullopt;
  return answers_[nextAnswer_++];
}

std::string ScriptPlayer::stateForChild(std::uint32_t now) const {
  return "next=" + std::to_string(next_) + ";answers=" + std::to_string(nextAnswer_) +
         ";clock=" + std::to_string(now);
}

}  // namespace host
