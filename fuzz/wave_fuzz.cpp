// Wave file reader on arbitrary bytes; what it finds is then played through the mixer, so the
// sample reading sees the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "host/WaveMixer.h"
#include "host/WaveOut.h"
#include "media/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<media::WaveLayout> layout = media::readWaveLayout(data, size);
  if (!layout) return 0;
  // The samples must lie inside the file, and only PCM is ever reported.
  if (layout->format.formatTag != host::WAVE_FORMAT_PCM || layout->format.cbSize != 0 ||
      layout->dataOffset > size || layout->dataLength > size - layout->dataOffset)
    std::abort();
  if (!host::isPlayableFormat(layout->format)) return 0;
  // The mixer reads the samples in place, as wave-out plays a buffer from the caller's memory.
  std::vector<uint8_t> samples(data + layout->dataOffset,
                               data + layout->dataOffset + layout->dataLength);
  host::WaveHdr header;
  header.data = samples.empty() ? nullptr : samples.data();
  header.bufferLength = static_cast<uint32_t>(samples.size());
  header.flags = host::WHDR_BEGINLOOP | host::WHDR_ENDLOOP;
  header.loops = 2;
  host::WaveMixer mixer;
  mixer.addVoice(1, layout->format);
  mixer.queue(1, &header);
  int16_t out[2 * 512];
  for (int i = 0; i < 8 && mixer.anyPlaying(); ++i) mixer.mix(out, 512);
  return 0;
}
