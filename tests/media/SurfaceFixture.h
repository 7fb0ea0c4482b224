// A fresh headless host per test with the picture switches at their start values, and small
// helpers to make Surfaces and read their stored pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "media/PixelFormat.h"
#include "media/Surface.h"
#include "support/HeadlessHost.h"

namespace media::testing {

// Helpers usable anywhere in the media tests.
inline std::unique_ptr<Surface> make(int w, int h, int bits, bool swap = false) {
  auto s = Surface::create(w, h, PixelLayout{bits, swap}, true);
  EXPECT_NE(s, nullptr);
  return s;
}

// The stored value of pixel (x, y), read straight from memory.
inline uint32_t raw(const Surface& s, int x, int y) {
  const uint8_t* p = s.row(y) + x * s.bytesPerPixel();
  if (s.bitsPerPixel() == 16) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
  }
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline void setRaw(Surface& s, int x, int y, uint32_t value) {
  uint8_t* p = s.row(y) + x * s.bytesPerPixel();
  if (s.bitsPerPixel() == 16) {
    uint16_t v = static_cast<uint16_t>(value);
    std::memcpy(p, &v, 2);
  } else {
    std::memcpy(p, &value, 4);
  }
}
// Every pixel gets a value of its own: 0x100 * (y + 1) + x + 1 (fits both depths).
inline void numberPixels(Surface& s) {
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) setRaw(s, x, y, 0x100u * (y + 1) + x + 1);
}
inline void fillRaw(Surface& s, uint32_t value) {
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) setRaw(s, x, y, value);
}

class SurfaceTest : public testing_support::HeadlessHostTest {
 protected:
  void SetUp() override {
    HeadlessHostTest::SetUp();
    resetSwitches();
  }
  void TearDown() override {
    resetSwitches();
    HeadlessHostTest::TearDown();
  }
  static void resetSwitches() {
    setUseDeviceDepth(true);
    setSwapRedBlue(false);
    setDisplayDepth(0);  // asked from the host again
  }
};

}  // namespace media::testing
