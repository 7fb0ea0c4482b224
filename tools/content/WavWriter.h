// WavWriter: PCM WAVE files with the canonical 44-byte header (RIFF, "fmt " of 16 bytes, then
// "data" at byte 36 and the samples at byte 44), the only layout the program's reader accepts.
#pragma once

#include <cstdint>
#include <vector>

namespace content {

inline constexpr int kSampleRate = 22050;

// Mono 16-bit samples at `sampleRate`; values outside [-1, 1] are clipped.
std::vector<uint8_t> encodeWav(const std::vector<float>& samples, int sampleRate = kSampleRate);

}  // namespace content
