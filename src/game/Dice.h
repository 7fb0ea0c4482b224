// Dice: the one random source of a battle.
//
// Every coin toss, random integer and random float of the game rules comes from the battle's own
// Dice, never from the C library's generator or the engine's shared one, so that a battle played
// twice from the same seed is the same battle. The draws are those of the handheld's run time
// (15-bit, see engine3d::Random): the game's scaling by 3.051851e-5 assumes a largest draw of
// 32767.
#pragma once

#include <cstdint>

#include "engine3d/Random.h"

namespace game {

class Dice {
 public:
  explicit Dice(std::uint32_t seed = 1) : random_(seed) {}

  void seed(std::uint32_t seed) { random_.seed(seed); }

  // A random integer in [lo, hi]: draw x 3.051851e-5 x (hi - lo) + lo, rounded half away from
  // zero, so both ends occur about half as often as the values between them.
  int integer(int lo, int hi) { return random_.randomInt(lo, hi); }
  // A random float in [lo, hi]: the same without rounding.
  float real(float lo, float hi) { return random_.randomFloat(lo, hi); }
  // The coin toss: a random integer in [0, 100]; heads when it is below 50.
  bool heads() { return integer(0, 100) < 50; }

 private:
  engine3d::Random random_;
};

// The seed of a battle: `SKIRROW_SEED` when it is set to a number; otherwise `fixedSeed` when the
// run must repeat itself (headless and scripted runs), else the millisecond clock.
std::uint32_t battleSeed(bool repeatable, std::uint32_t fixedSeed = 1);

}  // namespace game
