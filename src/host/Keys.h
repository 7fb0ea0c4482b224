// Virtual key codes with the platform's values, and how keys are named and typed.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace host {

constexpr std::uint32_t VK_BACK = 0x08;
constexpr std::uint32_t VK_TAB = 0x09;
constexpr std::uint32_t VK_RETURN = 0x0D;
constexpr std::uint32_t VK_SHIFT = 0x10;
constexpr std::uint32_t VK_CONTROL = 0x11;
constexpr std::uint32_t VK_ESCAPE = 0x1B;
constexpr std::uint32_t VK_SPACE = 0x20;
constexpr std::uint32_t VK_PRIOR = 0x21;  // page up
constexpr std::uint32_t VK_NEXT = 0x22;   // page down
constexpr std::uint32_t VK_END = 0x23;
constexpr std::uint32_t VK_HOME = 0x24;
constexpr std::uint32_t VK_LEFT = 0x25;
constexpr std::uint32_t VK_UP = 0x26;
constexpr std::uint32_t VK_RIGHT = 0x27;
constexpr std::uint32_t VK_DOWN = 0x28;
constexpr std::uint32_t VK_INSERT = 0x2D;
constexpr std::uint32_t VK_DELETE = 0x2E;
constexpr std::uint32_t VK_F1 = 0x70;      // F1..F12 = 0x70..0x7B
constexpr std::uint32_t VK_ACTION = 0x86;  // the joystick's centre press
// The four application buttons A, B, C, D.
constexpr std::uint32_t VK_APP1 = 0xC1;
constexpr std::uint32_t VK_APP2 = 0xC2;
constexpr std::uint32_t VK_APP3 = 0xC3;
constexpr std::uint32_t VK_APP4 = 0xC4;
// Letters and digits use their upper-case ASCII code ('A' = 0x41, '0' = 0x30).

// The virtual key of a key name: "LEFT", "UP", "ENTER", "ESCAPE", "BACKSPACE", "DELETE", "HOME",
// "END", "PAGEUP", "PAGEDOWN", "INSERT", "SPACE", "TAB", "SHIFT", "ACTION", "F1".."F12",
// "APP1".."APP4" (or "A-BUTTON".."D-BUTTON"), a single letter or digit, or a number ("0x25",
// "37"). Names are case-insensitive. nullopt for an unknown name.
std::optional<std::uint32_t> keyCodeFromName(std::string_view name);
// A virtual key code written as a number, decimal ("193") or hexadecimal ("0xC1"), from 1 to
// 255; nullopt for anything else. Unlike a key name, "7" is code 7, not the key '7'.
std::optional<std::uint32_t> keyCodeFromNumber(std::string_view text);

// The character a key types (WM_CHAR), 0 when it types none: letters (upper case with shift),
// digits, space, Enter ('\r'), Backspace (8), Escape (27), Tab (9).
std::uint32_t characterOfKey(std::uint32_t virtualKey, bool shift);

}  // namespace host
