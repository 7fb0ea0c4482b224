#include "game/Dice.h"

#include <chrono>
#include <cstdlib>
#include <string>

namespace game {

std::uint32_t battleSeed(bool repeatable, std::uint32_t fixedSeed) {
  if (const char* chosen = std::getenv("SKIRROW_SEED")) {
    char* end = nullptr;
    unsigned long value = std::strtoul(chosen, &end, 10);
    if (end != chosen && *end == '\0') return static_cast<std::uint32_t>(value);
  }
  if (repeatable) return fixedSeed;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

}  // namespace game
