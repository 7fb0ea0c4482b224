#include "media/WaveFile.h"

#include <cstring>

namespace media {

namespace {

constexpr std::uint16_t kExtensible = 0xFFFE;

std::uint16_t u16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t u32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool isId(const std::uint8_t* p, const char* id) {
  return std::memcmp(p, id, 4) == 0;
}

// The format of a "fmt " chunk body; nullopt when it is not PCM.
std::optional<host::WaveFormatEx> formatOf(const std::uint8_t* body, std::size_t size) {
  if (size < 16) return std::nullopt;
  host::WaveFormatEx f;
  f.formatTag = u16(body);
  f.channels = u16(body + 2);
  f.samplesPerSec = u32(body + 4);
  f.avgBytesPerSec = u32(body + 8);
  f.blockAlign = u16(body + 12);
  f.bitsPerSample = u16(body + 14);
  f.cbSize = 0;
  if (f.formatTag == kExtensible) {
    // cbSize (2), valid bits (2), channel mask (4), then the sub-format GUID whose first two
    // bytes are the format tag.
    if (size < 40 || u16(body + 24) != host::WAVE_FORMAT_PCM) return std::nullopt;
    f.formatTag = host::WAVE_FORMAT_PCM;
  }
  if (f.formatTag != host::WAVE_FORMAT_PCM) return std::nullopt;
  return f;
}

}  // namespace

std::optional<WaveLayout> readWaveLayout(const std::uint8_t* bytes, std::size_t size) {
  if (!bytes || size < 12 || !isId(bytes, "RIFF") || !isId(bytes + 8, "WAVE")) return std::nullopt;
  std::optional<host::WaveFormatEx> format;
  std::optional<WaveLayout> layout;
  std::size_t at = 12;
  while (at + 8 <= size && !(format && layout)) {
    const std::uint8_t* header = bytes + at;
    std::size_t declared = u32(header + 4);
    std::size_t bodyAt = at + 8;
    std::size_t available = size - bodyAt;
    if (isId(header, "fmt ")) {
      if (declared > available) return std::nullopt;
      format = formatOf(bytes + bodyAt, declared);
      if (!format) return std::nullopt;
    } else if (isId(header, "data") && !layout) {
      layout = WaveLayout{};
      layout->dataOffset = bodyAt;
      layout->dataLength = declared < available ? declared : available;
    }
    if (declared > available) break;  // the file ends inside this chunk
    // Chunks start on even offsets: an odd body is followed by a pad byte.
    at = bodyAt + declared + (declared & 1);
  }
  if (!format || !layout) return std::nullopt;
  layout->format = *format;
  return layout;
}

}  // namespace media
