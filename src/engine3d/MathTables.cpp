#include "engine3d/MathTables.h"

#include <cmath>
#include <numbers>

namespace engine3d {

namespace {

struct Tables {
  TrigTable sine;
  TrigTable cosine;
};

const Tables& tables() {
  // Filled once; the arguments are formed in double so that every entry is the float nearest
  // to the true value rather than carrying single-precision angle error.
  static const Tables instance = [] {
    Tables t;
    for (int i = 0; i < kTableSize; ++i) {
      const double angle = i * 2.0 * std::numbers::pi / kTableSize;
      t.sine[i] = static_cast<float>(std::sin(angle));
      t.cosine[i] = static_cast<float>(std::cos(angle));
    }
    return t;
  }();
  return instance;
}

}  // namespace

const TrigTable& sinTable() {
  return tables().sine;
}
const TrigTable& cosTable() {
  return tables().cosine;
}

void initMath() {
  tables();
}

}  // namespace engine3d
