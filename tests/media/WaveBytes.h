// Wave files for the tests, built byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media::testing {

inline void putU16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

inline void putU32(std::string& s, std::uint32_t v) {
  putU16(s, v & 0xFFFF);
  putU16(s, v >> 16);
}

// A chunk: id, declared size (the body's size unless given), body, and a pad byte after an odd
// body.
inline std::string chunk(const std::string& id, const std::string& body,
                         std::uint32_t declared = 0xFFFFFFFF) {
  std::string s = id;
  putU32(s, declared == 0xFFFFFFFF ? static_cast<std::uint32_t>(body.size()) : declared);
  s += body;
  if (body.size() & 1) s.push_back('\0');
  return s;
}

inline std::string fmtBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                           std::uint16_t bits) {
  std::string s;
  std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
  putU16(s, tag);
  putU16(s, channels);
  putU32(s, rate);
  putU32(s, rate * align);
  putU16(s, align);
  putU16(s, bits);
  return s;
}

// "RIFF" <size> "WAVE" followed by the chunks.
inline std::string riff(const std::string& chunks) {
  std::string s = "RIFF";
  putU32(s, static_cast<std::uint32_t>(4 + chunks.size()));
  return s + "WAVE" + chunks;
}

// The canonical 44-byte layout: "fmt " (16 bytes) at 12, "data" at 36, samples at 44.
inline std::string canonicalWave(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                                 const std::string& samples) {
  return riff(chunk("fmt ", fmtBody(1, channels, rate, bits)) + chunk("data", samples));
}

// `ms` milliseconds of 8-bit mono at 11025 Hz, one value throughout.
inline std::string toneMs(int ms, std::uint8_t value = 200) {
  return canonicalWave(
      1, 11025, 8, std::string(static_cast<size_t>(11025 * ms / 1000), static_cast<char>(value)));
}

}  // namespace media::testing
