#include "engine3d/ScalarMath.h"

namespace engine3d {

std::uint32_t isqrt(std::uint32_t n) {
  // Classic digit-by-digit root: each step brings down two bits of n and decides one bit of the
  // root. The remainder stays below 2^19, so nothing overflows even for n = 2^32 - 1.
  std::uint32_t root = 0;
  std::uint32_t remainder = 0;
  for (int step = 0; step < 16; ++step) {
    remainder = (remainder << 2) | (n >> 30);
    n <<= 2;
    root <<= 1;
    const std::uint32_t trial = (root << 1) | 1u;
    if (remainder >= trial) {
      remainder -= trial;
      root |= 1u;
    }
  }
  return root;
}

int log2Ceil(std::uint32_t n) {
  int k = 0;
  // 64-bit so that n above 2^31 terminates at k = 32.
  while ((std::uint64_t{1} << k) < n) ++k;
  return k;
}

int log2Nearest(std::uint32_t n) {
  const int k = log2Ceil(n);
  if (k == 0) return 0;
  const std::uint64_t upper = std::uint64_t{1} << k;
  const std::uint64_t lower = upper >> 1;
  // Strictly nearer to the upper power wins; a tie keeps the smaller one.
  return (upper - n) < (n - lower) ? k : k - 1;
}

}  // namespace engine3d
