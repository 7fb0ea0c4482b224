#include "media/KeyMapping.h"

#include <cstdlib>
#include <optional>

#include "host/Files.h"
#include "platform/Template.h"
#include "platform/Text.h"

namespace media {
namespace {

constexpr long kMaxKeyCode = 0xFFFF;

// The pieces of `text` between `separator`s, empty ones left out.
std::vector<std::string_view> tokens(std::string_view text, char separator) {
  std::vector<std::string_view> out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

// Decimal conversion as the C library's: blanks, a sign, digits up to the first other character.
// Nothing when the result is no key code.
std::optional<uint32_t> keyCode(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kMaxKeyCode) return std::nullopt;
  }
  if (negative && value != 0) return std::nullopt;
  return static_cast<uint32_t>(value);
}

}  // namespace

std::string formatKeyMapping(const std::vector<KeyPair>& pairs) {
  std::string text;
  for (size_t i = 0; i < pairs.size(); ++i) {
    text += std::to_string(pairs[i].deviceCode) + ":" + std::to_string(pairs[i].standardCode);
    if (i + 1 < pairs.size()) text.push_back(',');
  }
  return text;
}

std::unique_ptr<scene::KeyMap> parseKeyMapping(std::string_view value) {
  if (value.empty()) return nullptr;
  auto map = std::make_unique<scene::KeyMap>();
  for (std::string_view entry : tokens(value, ',')) {
    std::vector<std::string_view> parts = tokens(entry, ':');
    if (parts.size() < 2) continue;
    std::optional<uint32_t> from = keyCode(parts[0]);
    std::optional<uint32_t> to = keyCode(parts[1]);
    // The canvas looks codes up by their decimal text, so the key is written the same way.
    if (from && to) map->put(std::to_string(*from), *to);
  }
  return map;
}

std::unique_ptr<scene::KeyMap> loadMapping(std::string_view folder, std::string_view templateName) {
  platform::Template settings('=', ',', ':');
  if (!settings.load(folder, templateName)) return nullptr;
  const std::string* value = settings.getRaw(kKeyMappingProperty);
  return value ? parseKeyMapping(*value) : nullptr;
}

bool hasMapping(std::string_view folder, std::string_view templateName) {
  platform::Template settings('=', ',', ':');
  return settings.load(folder, templateName) && settings.contains(kKeyMappingProperty);
}

bool saveMapping(std::string_view folder, std::string_view templateName,
                 const std::vector<KeyPair>& pairs) {
  platform::Template settings('=', ',', ':');
  // Settings that exist but cannot be read must not be replaced by a file holding only this
  // (the file a save replaces: an installed program's is the user's copy).
  if (!settings.load(folder, templateName) &&
      host::pathKind(settings.savePath()) != host::PathKind::None)
    return false;
  settings.set(kKeyMappingProperty, formatKeyMapping(pairs));
  return settings.save();
}

bool applyMapping(scene::Canvas& page, std::string_view folder, std::string_view templateName) {
  std::unique_ptr<scene::KeyMap> map = loadMapping(folder, templateName);
  bool installed = map != nullptr;
  page.setKeyMap(std::move(map));
  return installed;
}

}  // namespace media
