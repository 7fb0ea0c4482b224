// Style: the colour scheme and the cast shared by every part of the content.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "Picture.h"

namespace content {

// Night-blue panels, warm orange accents (the loading bar's own colour), white text.
inline constexpr uint32_t kInk = rgb(12, 20, 36);
inline constexpr uint32_t kPanel = rgb(24, 38, 64);
inline constexpr uint32_t kPanelLight = rgb(44, 66, 104);
inline constexpr uint32_t kAccent = rgb(250, 90, 4);
inline constexpr uint32_t kAccentLight = rgb(255, 170, 60);
inline constexpr uint32_t kTeal = rgb(40, 200, 190);
inline constexpr uint32_t kText = rgb(240, 244, 250);
inline constexpr uint32_t kTextDim = rgb(150, 170, 200);
inline constexpr uint32_t kGood = rgb(70, 220, 90);
inline constexpr uint32_t kBad = rgb(240, 60, 50);

struct Pilot {
  std::string_view name;
  uint32_t color;  // helicopter paint
  uint32_t trim;   // stripes and rotor hub
  std::string_view motto;
};

// The four pilots. The program lists characters in descending name order; the team code's
// character indexes follow that order.
inline constexpr std::array<Pilot, 4> kPilots = {{
    {"Vega", rgb(214, 48, 44), rgb(250, 220, 80), "Fast hands and a red tail."},
    {"Rook", rgb(60, 150, 70), rgb(230, 230, 220), "Slow to anger. Hard to shake."},
    {"Nova", rgb(40, 110, 220), rgb(250, 250, 255), "Lives for the loop-the-loop."},
    {"Juno", rgb(236, 176, 30), rgb(40, 40, 48), "Never misses twice."},
}};

struct Room {
  int level;
  std::string_view name;  // shown in the menu; '_' in file names
  bool large;
};

inline constexpr std::array<Room, 7> kRooms = {{
    {0, "Living Room", false},
    {1, "Kitchen", false},
    {2, "Study", false},
    {3, "Bedroom", false},
    {4, "Warehouse", true},
    {5, "Classroom", false},
    {6, "Gym Hall", true},
}};

}  // namespace content
