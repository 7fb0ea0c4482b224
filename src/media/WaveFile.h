// The wave file reader: finds the PCM format and the samples in the bytes of a RIFF/WAVE file.
//
// The file is walked chunk by chunk after the 12-byte "RIFF" <size> "WAVE" header: "fmt " gives
// the format, "data" the samples, and every other chunk ("LIST", "fact", "cue " ...) is skipped
// (chunks are padded to an even length). So files written by common tools read as well as the
// canonical 44-byte layout ("fmt " of 16 bytes at 12, "data" at 36, samples from 44), which
// gives exactly what its header says.
//
// The format is taken as the file states it (the playing device decides whether it can play
// it); cbSize is always 0. WAVE_FORMAT_EXTENSIBLE with the PCM sub-format counts as PCM. The
// samples are the data chunk's declared length, cut to what the file holds (a file cut short
// plays what is left); bytes after the data chunk are never played as samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "host/WaveOut.h"

namespace media {

struct WaveLayout {
  host::WaveFormatEx format;
  std::size_t dataOffset = 0;  // first sample byte in the file
  std::size_t dataLength = 0;  // sample bytes
};

// nullopt when the bytes are not a RIFF/WAVE file with a PCM "fmt " chunk and a "data" chunk.
std::optional<WaveLayout> readWaveLayout(const std::uint8_t* bytes, std::size_t size);

}  // namespace media
