#include "host/Script.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
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
    std::vector<Timed> made;
    auto add = [&](ScriptAction a, std::uint32_t after = 0) {
      made.push_back({time + after, std::move(a)});
    };
    if (cmd == "key" || cmd == "vkey" || cmd == "button") {
      // key [down|up] NAME, vkey [down|up] CODE, button X [down|up]; without down or up a whole
      // press, which "hold MS" at the end stretches: the release comes MS later.
      std::vector<std::string> args(w.begin() + 2, w.end());
      std::optional<std::uint32_t> hold;
      if (args.size() >= 2 && lower(args[args.size() - 2]) == "hold") {
        int ms = 0;
        if (!parseInt(args.back(), ms) || ms < 0) return fail("hold needs milliseconds");
        hold = static_cast<std::uint32_t>(ms);
        args.resize(args.size() - 2);
      }
      const bool isButton = cmd == "button";
      if (args.empty() || args.size() > 2)
        return fail(isButton ? "button needs A, B, C or D" : cmd + " needs a key");
      const std::string& what = isButton ? args.front() : args.back();
      std::string mode = args.size() == 1 ? "press" : lower(isButton ? args.back() : args.front());
      if (mode != "down" && mode != "up" && mode != "press")
        return fail(cmd + " mode must be down or up");
      if (hold && mode != "press") return fail("hold goes with a whole press, not " + mode);
      std::optional<std::uint32_t> code;
      if (cmd == "key") {
        code = keyCodeFromName(what);
        if (!code) return fail("unknown key '" + what + "'");
      } else if (cmd == "vkey") {
        code = keyCodeFromNumber(what);
        if (!code) return fail("a virtual key code is a number from 1 to 255, not '" + what + "'");
      } else {
        std::string b = lower(what);
        if (b.size() != 1 || b[0] < 'a' || b[0] > 'd') return fail("button needs A, B, C or D");
        code = VK_APP1 + static_cast<std::uint32_t>(b[0] - 'a');
      }
      if (mode != "up") add(input(InputEvent::Kind::KeyDown, *code));
      if (mode != "down") add(input(InputEvent::Kind::KeyUp, *code), hold.value_or(0));
    } else if (cmd == "stylus" || cmd == "tap") {
      bool tap = cmd == "tap";
      std::size_t at = tap ? 2 : 3;
      int x = 0, y = 0;
      if (w.size() != at + 2 || !parseInt(w[at], x) || !parseInt(w[at + 1], y))
        return fail("stylus needs X Y");
      std::string mode = tap ? "tap" : lower(w[2]);
      if (mode == "down" || mode == "tap") add(input(InputEvent::Kind::StylusDown, 0, x, y));
      if (mode == "move") add(input(InputEvent::Kind::StylusMove, 0, x, y));
      if (mode == "up" || mode == "tap") add(input(InputEvent::Kind::StylusUp, 0, x, y));
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
        if (upper) add(input(InputEvent::Kind::KeyDown, VK_SHIFT));
        add(input(InputEvent::Kind::KeyDown, code));
        add(input(InputEvent::Kind::KeyUp, code));
        if (upper) add(input(InputEvent::Kind::KeyUp, VK_SHIFT));
      }
    } else if (cmd == "screenshot") {
      if (w.size() != 3) return fail("screenshot needs a path");
      ScriptAction a;
      a.kind = ScriptAction::Kind::Screenshot;
      a.path = w[2];
      add(a);
    } else if (cmd == "quit") {
      ScriptAction a;
      a.kind = ScriptAction::Kind::Quit;
      add(a);
    } else {
      return fail("unknown command '" + w[1] + "'");
    }
    for (Timed& a : made) player.actions_.push_back(std::move(a));
  }
  // A held key's release lies later than its line: actions run in time order, and those due at
  // the same time in the order they were written (a release counts as written on its line).
  std::stable_sort(player.actions_.begin(), player.actions_.end(),
                   [](const Timed& a, const Timed& b) { return a.time < b.time; });
  return player;
}

std::optional<ScriptPlayer> ScriptPlayer::load(const std::string& path, std::string* error) {
  std::error_code ignored;
  std::ifstream in(path);
  // A folder opens as a stream on Linux, and reads as nothing.
  if (!in || std::filesystem::is_directory(path, ignored)) {
    if (error) *error = "cannot be read";
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
