#include "WavWriter.h"

#include <algorithm>
#include <cmath>

namespace content {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v)), out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF), put16(out, v >> 16);
}
void tag(std::vector<uint8_t>& out, const char* t) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
}

}  // namespace

std::vector<uint8_t> encodeWav(const std::vector<float>& samples, int sampleRate) {
  const uint32_t dataSize = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataSize);
  tag(out, "RIFF"), put32(out, 36 + dataSize), tag(out, "WAVE");
  tag(out, "fmt "), put32(out, 16), put16(out, 1), put16(out, 1);
  put32(out, static_cast<uint32_t>(sampleRate)), put32(out, static_cast<uint32_t>(sampleRate) * 2);
  put16(out, 2), put16(out, 16);
  tag(out, "data"), put32(out, dataSize);
  for (float s : samples) {
    int v = static_cast<int>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
    put16(out, static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(v))));
  }
  return out;
}

}  // namespace content
