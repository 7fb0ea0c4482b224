#include "platform/Template.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

#include "host/Files.h"
#include "platform/Files.h"
#include "platform/ResourceArchive.h"
#include "platform/Text.h"
#include "platform/UserFolders.h"

namespace platform {

namespace {

// Substitutions one fetch may make in all, across every nesting level: a value whose references
// fan out (each naming another value full of references) must not take exponential time.
constexpr int kSubstitutionBudget = 4096;
// A value grown past this by expansion stops expanding.
constexpr size_t kMaxExpandedBytes = 64 * 1024;

// Reads lines the way the platform's text-mode line read does: up to and including '\n', at most
// `maxChars` characters, "\r\n" read as "\n".
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);  // a UTF-8 mark
  }

  bool read(std::string& out, size_t maxChars) {
    out.clear();
    size_t chars = 0;
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      bool lead = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
      if (lead && chars == maxChars) break;
      ++pos_;
      if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') continue;
      chars += lead;
      out.push_back(c);
      if (c == '\n') break;
    }
    return !out.empty();
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// Decimal conversion as the C library's: leading white space, a sign, digits up to the first
// other character; out-of-range values are clamped.
int32_t parseDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int32_t>(value);
}

float parseFloat(std::string_view text) {
  std::string copy(text);
  return std::strtof(copy.c_str(), nullptr);
}

// The three ';'-separated parts of "(a;b;c)", parentheses and blanks trimmed; missing parts "".
std::array<std::string, 3> tripleParts(std::string_view text) {
  std::string body(text);
  trim(body, " \t()");
  std::vector<std::string> parts = split(body, ";");
  std::array<std::string, 3> out;
  for (size_t i = 0; i < 3 && i < parts.size(); ++i) out[i] = parts[i];
  return out;
}

std::string folderJoin(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path.push_back('\\');
  path.append(name);
  resolveDotDot(path);
  return path;
}

}  // namespace

Template::Template(char keySeparator, char itemSeparator, char attrSeparator)
    : keySeparator_(keySeparator), itemSeparator_(itemSeparator), attrSeparator_(attrSeparator) {}

bool Template::isPseudoKey(std::string_view key) {
  return key.find(kCommentLinePrefix) != std::string_view::npos ||
         key.find(kEmptyLinePrefix) != std::string_view::npos;
}

void Template::setPath(std::string_view folder, std::string_view name) {
  path_ = folderJoin(folder, name);
}

namespace {

bool readAll(std::FILE* stream, std::string& text) {
  char block[8192];
  for (size_t n; (n = std::fread(block, 1, sizeof block, stream)) > 0;) text.append(block, n);
  return !std::ferror(stream);
}

// A saved copy is text the program wrote: UTF-8 without NUL bytes. Anything else was damaged
// after the save (saves are atomic) and is not worth reading.
bool looksLikeSavedText(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c == 0) return false;
    if (c < 0x80) {
      ++i;
      continue;
    }
    int follow = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (follow < 0 || c < 0xC2 || c > 0xF4 || i + static_cast<size_t>(follow) >= text.size())
      return false;
    for (int k = 1; k <= follow; ++k)
      if ((static_cast<unsigned char>(text[i + static_cast<size_t>(k)]) & 0xC0) != 0x80)
        return false;
    i += static_cast<size_t>(follow) + 1;
  }
  return true;
}

// Reads the user's saved copy of `path` into `text`. False when there is none, or when it cannot
// be read or is damaged (said on stderr): the installed copy is read instead.
bool readUserCopy(const std::string& path, std::string& text) {
  std::string copy = userFolders().userCopyOf(path);
  if (copy.empty() || host::pathKind(copy) == host::PathKind::None) return false;
  std::FILE* stream = host::openFile(copy, "rb");
  bool good = stream && readAll(stream, text) && looksLikeSavedText(text);
  if (stream) std::fclose(stream);
  if (good) return true;
  text.clear();
  std::fprintf(stderr, "skirrow: %s cannot be read or is damaged; using the installed %s\n",
               displayPath(copy).c_str(), displayPath(path).c_str());
  return false;
}

}  // namespace

bool Template::load(std::string_view folder, std::string_view name,
                    std::vector<std::string>* keyOrder) {
  setPath(folder, name);
  std::string text;
  if (!readUserCopy(path_, text)) {
    ResourceStream stream = openResource(path_, "r");
    if (!stream) return false;
    readAll(stream.get(), text);
  }
  parse(text, keyOrder);
  return true;
}

std::string Template::savePath() const {
  std::string copy = userFolders().userCopyOf(path_);
  return copy.empty() ? path_ : copy;
}

void Template::parse(std::string_view text, std::vector<std::string>* keyOrder) {
  LineReader reader(text);
  std::string line;
  std::string next;
  while (reader.read(line, kLineChars - 1)) {
    trim(line, kBlanks);  // a line end is not a blank, so "  \n" keeps its "\n"
    if (!line.empty() && line[0] == '\n') {
      entries_.put(std::string(kEmptyLinePrefix) + std::to_string(emptyCount_++), "\n");
      continue;
    }
    if (!line.empty() && (line[0] == '#' || line[0] == '!')) {
      entries_.put(std::string(kCommentLinePrefix) + std::to_string(commentCount_++), line);
      continue;
    }
    if (!line.empty() && line.back() == '\n') line.pop_back();
    // A trailing '\' is replaced by the next line, as long as the line buffer has room.
    while (!line.empty() && line.back() == '\\') {
      size_t used = characterCount(line);
      if (used >= kLineChars - 1) break;
      if (!reader.read(next, kLineChars - used)) break;  // end of file: the '\' stays
      trimLeft(next, kBlanks);
      if (!next.empty() && next.back() == '\n') next.pop_back();
      line.pop_back();
      line += next;
    }
    storeLine(std::move(line), keyOrder);
    line.clear();
  }
}

void Template::storeLine(std::string line, std::vector<std::string>* keyOrder) {
  size_t comment = line.rfind("//");
  if (comment != std::string::npos) line.resize(comment);
  auto pair = splitKeyValue(line, keySeparator_);
  if (!pair) return;
  auto& [key, value] = *pair;
  // "{name}" in a key stands for the value of key `name` (empty while it is unknown).
  size_t open = key.find('{');
  size_t close = open == std::string::npos ? open : key.find('}', open + 1);
  if (close != std::string::npos) {
    std::string name = key.substr(open + 1, close - open - 1);
    const std::string* other = getRaw(name);
    key = key.substr(0, open) + (other ? *other : std::string()) + key.substr(close + 1);
  }
  entries_.put(key, std::move(value));
  if (keyOrder) keyOrder->push_back(key);
}

bool Template::expand(std::string& value, int depth, int& budget) {
  if (depth >= kMaxReferenceDepth) return false;
  while (true) {
    size_t open = value.find('{');
    if (open == std::string::npos) return true;
    size_t close = value.find('}', open + 1);
    if (close == std::string::npos) return true;
    const std::string* stored = entries_.get(value.substr(open + 1, close - open - 1));
    if (!stored) return true;
    if (--budget < 0 || value.size() > kMaxExpandedBytes) return false;
    std::string replacement = *stored;
    bool complete = expand(replacement, depth + 1, budget);
    value.replace(open, close - open + 1, replacement);
    // An unfinished inner expansion would only produce the same reference again.
    if (!complete) return false;
  }
}

const std::string* Template::getRaw(std::string_view key) {
  std::string* stored = entries_.get(std::string(key));
  if (!stored || stored->find('{') == std::string::npos) return stored;
  // Expanding reads other entries only, so `stored` stays valid; the result replaces it.
  int budget = kSubstitutionBudget;
  std::string expanded = *stored;
  expand(expanded, 0, budget);
  *stored = std::move(expanded);
  return stored;
}

std::vector<std::pair<std::string, std::string>> Template::parseItems(
    std::string_view value) const {
  std::vector<std::pair<std::string, std::string>> items;
  for (const std::string& piece : split(value, std::string(1, itemSeparator_), attrSeparator_)) {
    auto pair = splitKeyValue(piece, attrSeparator_);
    if (!pair) continue;
    auto known = std::find_if(items.begin(), items.end(),
                              [&](const auto& item) { return item.first == pair->first; });
    if (known != items.end())
      known->second = std::move(pair->second);
    else
      items.push_back(std::move(*pair));
  }
  return items;
}

std::optional<std::string> Template::lookup(std::string_view key, std::string_view item) {
  const std::string* value = getRaw(key);
  if (!value) return std::nullopt;
  if (item.empty()) return *value;
  for (auto& [name, itemValue] : parseItems(*value))
    if (name == item) return std::move(itemValue);
  return std::nullopt;
}

std::optional<std::string> Template::getString(std::string_view key, std::string_view item) {
  return lookup(key, item);
}

std::optional<std::string> Template::getStringInto(std::string_view key, std::string_view item,
                                                   size_t maxChars) {
  std::optional<std::string> text = lookup(key, item);
  if (!text || text->empty()) return std::nullopt;
  size_t chars = 0;
  for (size_t i = 0; i < text->size(); ++i) {
    if ((static_cast<unsigned char>((*text)[i]) & 0xC0) != 0x80 && chars++ == maxChars) {
      text->resize(i);
      break;
    }
  }
  return text;
}

int32_t Template::getInt(std::string_view key, std::string_view item, int32_t fallback) {
  std::optional<std::string> text = lookup(key, item);
  return text && !text->empty() ? parseDecimal(*text) : fallback;
}

bool Template::getBool(std::string_view key, std::string_view item, bool fallback) {
  std::optional<std::string> text = lookup(key, item);
  return text && !text->empty() ? parseDecimal(*text) != 0 : fallback;
}

float Template::getFloat(std::string_view key, std::string_view item, float fallback) {
  std::optional<std::string> text = lookup(key, item);
  return text && !text->empty() ? parseFloat(*text) : fallback;
}

uint32_t Template::parseColor(std::string_view text) {
  auto parts = tripleParts(text);
  uint32_t r = static_cast<uint32_t>(parseDecimal(parts[0]));
  uint32_t g = static_cast<uint32_t>(parseDecimal(parts[1]));
  uint32_t b = static_cast<uint32_t>(parseDecimal(parts[2]));
  return r * 65536u + g * 256u + b;
}

std::array<float, 3> Template::parseVector(std::string_view text) {
  auto parts = tripleParts(text);
  return {parseFloat(parts[0]), parseFloat(parts[1]), parseFloat(parts[2])};
}

uint32_t Template::getColor(std::string_view key, std::string_view item, uint32_t fallback) {
  std::optional<std::string> text = lookup(key, item);
  return text && !text->empty() ? parseColor(*text) : fallback;
}

std::array<float, 3> Template::getVector(std::string_view key, std::string_view item,
                                         std::array<float, 3> fallback) {
  std::optional<std::string> text = lookup(key, item);
  return text && !text->empty() ? parseVector(*text) : fallback;
}

void Template::set(std::string_view key, std::string_view value) {
  entries_.put(std::string(key), std::string(value));
}

void Template::setItem(std::string_view key, std::string_view item, std::string_view value) {
  const std::string* current = getRaw(key);
  if (!current) return;
  std::string rebuilt;
  bool found = false;
  for (auto& [name, itemValue] : parseItems(*current)) {
    if (!rebuilt.empty()) rebuilt.push_back(itemSeparator_);
    bool match = name == item;
    found |= match;
    rebuilt += " " + name + attrSeparator_ + (match ? std::string(value) : itemValue);
  }
  if (!found)
    rebuilt += std::string(1, itemSeparator_) + " " + std::string(item) + attrSeparator_ +
               std::string(value);
  set(key, rebuilt);
}

std::vector<std::string> Template::keys() const {
  std::vector<std::string> out;
  for (const std::string& key : entries_.keys())
    if (!isPseudoKey(key)) out.push_back(key);
  return out;
}

void Template::clear() {
  entries_.clear();
  commentCount_ = 0;
  emptyCount_ = 0;
}

std::string Template::serialize() const {
  std::string text;
  for (const std::string& key : entries_.keys()) {
    const std::string& value = *entries_.get(key);
    if (!isPseudoKey(key)) {
      text += key + "=" + value + "\n";
      continue;
    }
    text += value;
    // A comment read from a last line without a line end must not swallow the line after it.
    if (value.empty() || value.back() != '\n') text.push_back('\n');
  }
  return text;
}

bool Template::save() {
  if (path_.empty()) return false;
  std::string text = serialize();
  // An installed program saves into the user's copy, creating its folders the first time.
  const std::string userCopy = userFolders().userCopyOf(path_);
  const std::string& target = userCopy.empty() ? path_ : userCopy;
  size_t cut = target.find_last_of("\\/");
  if (!userCopy.empty() && !makeFolders(target.substr(0, cut), 1)) return false;
  if (!host::isWritableOrAbsent(target) || host::pathKind(target) == host::PathKind::Folder)
    return false;
  // Write a sibling file and rename it over the old one: a crash or a full disk half-way
  // through leaves the old settings as they were.
  std::string sibling = target + ".saving";
  if (std::FILE* out = host::openFile(sibling, "w")) {
    bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    ok = host::syncFile(out) && ok;
    ok = std::fclose(out) == 0 && ok;
    if (ok && host::renamePath(sibling, target)) return true;
    host::removeFile(sibling);
    return false;
  }
  if (!userCopy.empty() ||
      (cut != std::string::npos && host::pathKind(target.substr(0, cut)) == host::PathKind::Folder))
    return false;
  // No such folder on disk: the template lives in a resource archive; write its extracted copy.
  ResourceStream stream = openResource(path_, "w");
  if (!stream) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), stream.get()) == text.size();
  return closeResource(std::move(stream)) == 0 && ok;
}

}  // namespace platform
