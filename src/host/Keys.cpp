#include "host/Keys.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace host {

std::optional<std::uint32_t> keyCodeFromName(std::string_view name) {
  std::string upper;
  for (char c : name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper.empty()) return std::nullopt;
  if (upper.size() == 1 && std::isalnum(static_cast<unsigned char>(upper[0])))
    return static_cast<std::uint32_t>(upper[0]);
  struct Named {
    const char* name;
    std::uint32_t code;
  };
  static constexpr Named kNames[] = {
      {"LEFT", VK_LEFT},      {"UP", VK_UP},         {"RIGHT", VK_RIGHT},   {"DOWN", VK_DOWN},
      {"ENTER", VK_RETURN},   {"RETURN", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE},
      {"BACKSPACE", VK_BACK}, {"DELETE", VK_DELETE}, {"HOME", VK_HOME},     {"END", VK_END},
      {"PAGEUP", VK_PRIOR},   {"PAGEDOWN", VK_NEXT}, {"INSERT", VK_INSERT}, {"SPACE", VK_SPACE},
      {"TAB", VK_TAB},        {"SHIFT", VK_SHIFT},   {"ACTION", VK_ACTION}, {"APP1", VK_APP1},
      {"APP2", VK_APP2},      {"APP3", VK_APP3},     {"APP4", VK_APP4},     {"A-BUTTON", VK_APP1},
      {"B-BUTTON", VK_APP2},  {"C-BUTTON", VK_APP3}, {"D-BUTTON", VK_APP4},
  };
  for (const Named& n : kNames)
    if (upper == n.name) return n.code;
  if (upper[0] == 'F' && upper.size() <= 3) {
    int n = std::atoi(upper.c_str() + 1);
    if (n >= 1 && n <= 12) return VK_F1 + static_cast<std::uint32_t>(n - 1);
  }
  return keyCodeFromNumber(upper);
}

std::optional<std::uint32_t> keyCodeFromNumber(std::string_view text) {
  std::string digits(text);
  if (digits.empty() || !std::isdigit(static_cast<unsigned char>(digits[0]))) return std::nullopt;
  // Base 16 after "0x", else 10: a leading zero does not mean octal here.
  bool hex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
  char* end = nullptr;
  unsigned long value = std::strtoul(digits.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
  if (*end != '\0' || value == 0 || value > 255) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::uint32_t characterOfKey(std::uint32_t virtualKey, bool shift) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return shift ? virtualKey : virtualKey + 32;
  if (virtualKey >= '0' && virtualKey <= '9') return virtualKey;
  switch (virtualKey) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return '\r';
    case VK_BACK:
      return 8;
    case VK_ESCAPE:
      return 27;
    case VK_TAB:
      return 9;
    default:
      return 0;
  }
}

}  // namespace host
