#include "media/BmpReader.h"

#include <cstring>

#include "media/ImageMessages.h"

namespace media {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionBitFields = 3;

uint32_t u16(const uint8_t* p) {
  return p[0] | (p[1] << 8);
}
uint32_t u32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
}
int32_t i32(const uint8_t* p) {
  return static_cast<int32_t>(u32(p));
}

// One colour channel of a 16- or 32-bit pixel, described by its mask, widened to 8 bits the way
// the platform's blitter does: fewer bits are repeated downwards, more bits keep the top 8.
struct Channel {
  int shift = 0;
  int bits = 0;
  uint8_t expand[256];

  bool init(uint32_t mask) {
    if (mask == 0) return false;
    while (((mask >> shift) & 1) == 0) ++shift;
    uint32_t field = mask >> shift;
    if ((field & (field + 1)) != 0) return false;  // holes in the mask
    while (bits < 32 && ((field >> bits) & 1)) ++bits;
    int used = bits > 8 ? 8 : bits;
    for (uint32_t v = 0; v < (1u << used); ++v) {
      uint32_t out = 0;
      for (int s = 8 - used; s > -used; s -= used) out |= s >= 0 ? v << s : v >> -s;
      expand[v] = static_cast<uint8_t>(out);
    }
    return true;
  }
  uint32_t get(uint32_t pixel) const {
    uint32_t v = static_cast<uint32_t>((uint64_t{pixel} >> shift) & ((uint64_t{1} << bits) - 1));
    if (bits > 8) v >>= bits - 8;
    return expand[v];
  }
};

template <typename Pixel>
void convertRows(const uint8_t* pixels, int64_t srcStride, int width, int height, bool bottomUp,
                 int bitCount, const uint32_t* paletteRgb, const Channel* masks, PixelBuffer& out) {
  const PixelLayout layout = out.layout;
  uint32_t palettePixel[256];
  if (bitCount <= 8) {
    for (int i = 0; i < 256; ++i) palettePixel[i] = packColor(paletteRgb[i], layout);
  }
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = pixels + (bottomUp ? height - 1 - y : y) * srcStride;
    Pixel* dst = reinterpret_cast<Pixel*>(out.row(y));
    switch (bitCount) {
      case 1:
      case 4:
      case 8: {
        const int perByte = 8 / bitCount;
        const uint32_t indexMask = (1u << bitCount) - 1;
        for (int x = 0; x < width; ++x) {
          int shift = 8 - bitCount * (x % perByte + 1);  // leftmost pixel in the high bits
          uint32_t index = (src[x / perByte] >> shift) & indexMask;
          dst[x] = static_cast<Pixel>(palettePixel[index]);
        }
        break;
      }
      case 16:
        for (int x = 0; x < width; ++x) {
          uint32_t v = src[2 * x] | (src[2 * x + 1] << 8);
          dst[x] = static_cast<Pixel>(
              packPixel(masks[0].get(v), masks[1].get(v), masks[2].get(v), layout));
        }
        break;
      case 24:
        for (int x = 0; x < width; ++x) {
          const uint8_t* p = src + 3 * x;
          dst[x] = static_cast<Pixel>(packPixel(p[2], p[1], p[0], layout));
        }
        break;
      case 32:
        for (int x = 0; x < width; ++x) {
          uint32_t v = u32(src + 4 * x);
          dst[x] = static_cast<Pixel>(
              packPixel(masks[0].get(v), masks[1].get(v), masks[2].get(v), layout));
        }
        break;
    }
  }
}

}  // namespace

std::optional<PixelBuffer> BmpReader::read(std::span<const uint8_t> file, std::string_view name) {
  const uint8_t* data = file.data();
  const size_t size = file.size();

  // Structure: a file that is short or inconsistent here is damaged (or no bitmap at all); the
  // user is told which file it was, as for one that cannot become a picture.
  auto invalid = [&]() -> std::optional<PixelBuffer> {
    reportInvalidBmp(name);
    return std::nullopt;
  };
  if (size < kFileHeaderSize + kInfoHeaderSize) return invalid();
  if (u16(data) != 0x4D42 || u16(data + 6) != 0 || u16(data + 8) != 0) return invalid();
  const uint32_t pixelOffset = u32(data + 10);
  const uint8_t* info = data + kFileHeaderSize;
  if (u32(info) != kInfoHeaderSize) return invalid();
  const int32_t width = i32(info + 4);
  const int32_t height = i32(info + 8);
  const uint32_t bitCount = u16(info + 14);
  const uint32_t compression = u32(info + 16);
  const uint32_t colorsUsed = u32(info + 32) & 0xFFFF;

  size_t pos = kFileHeaderSize + kInfoHeaderSize;
  uint32_t maskValues[3] = {};
  if (compression == kCompressionBitFields) {
    if (size - pos < 12) return invalid();
    for (int i = 0; i < 3; ++i) maskValues[i] = u32(data + pos + 4 * i);
    pos += 12;
  }
  uint64_t tableBytes = 0;
  if (colorsUsed != 0) {
    tableBytes = uint64_t{colorsUsed} * 4;
  } else if (bitCount <= 8) {
    tableBytes = (uint64_t{1} << bitCount) * 4;
  }
  if (size - pos < tableBytes) return invalid();
  const uint8_t* table = data + pos;
  pos += tableBytes;

  const int64_t absHeight = height < 0 ? -int64_t{height} : int64_t{height};
  const int64_t srcStride = PixelBuffer::strideFor(width, static_cast<int>(bitCount));
  if (pixelOffset != 0) pos = pixelOffset;
  if (pos > size) return invalid();
  const uint64_t available = size - pos;
  if (srcStride < 0 ||
      (srcStride > 0 && static_cast<uint64_t>(absHeight) > available / srcStride)) {
    return invalid();
  }
  const uint8_t* pixels = data + pos;

  // Form: a readable file that still cannot become a picture is worth telling the user about.
  bool valid = width > 0 && height != 0;
  switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      valid = valid && compression == kCompressionRgb;
      break;
    case 16:
    case 32:
      valid = valid && (compression == kCompressionRgb || compression == kCompressionBitFields);
      break;
    default:
      valid = false;
  }
  if (valid && compression == kCompressionRgb) {
    if (bitCount == 16) {
      maskValues[0] = 0x7C00, maskValues[1] = 0x03E0, maskValues[2] = 0x001F;
    } else {
      maskValues[0] = 0xFF0000, maskValues[1] = 0x00FF00, maskValues[2] = 0x0000FF;
    }
  }
  Channel masks[3];
  if (valid && (bitCount == 16 || bitCount == 32)) {
    for (int i = 0; i < 3; ++i) valid = valid && masks[i].init(maskValues[i]);
  }
  std::optional<PixelBuffer> out;
  if (valid) {
    PixelLayout layout{options_.layout.bitsPerPixel, false};
    out = PixelBuffer::create(width, static_cast<int>(absHeight), layout,
                              options_.limits.maxImagePixels);
  }
  if (!out) {
    reportInvalidBmp(name);
    return std::nullopt;
  }

  uint32_t paletteRgb[256] = {};  // indices past the palette show black
  const uint64_t paletteEntries = tableBytes / 4 < 256 ? tableBytes / 4 : 256;
  for (uint64_t i = 0; i < paletteEntries; ++i) {
    const uint8_t* q = table + 4 * i;  // B, G, R, reserved
    paletteRgb[i] = (q[2] << 16) | (q[1] << 8) | q[0];
  }
  const bool bottomUp = height > 0;
  if (out->bitsPerPixel() == 16) {
    convertRows<uint16_t>(pixels, srcStride, width, out->height, bottomUp, bitCount, paletteRgb,
                          masks, *out);
  } else {
    convertRows<uint32_t>(pixels, srcStride, width, out->height, bottomUp, bitCount, paletteRgb,
                          masks, *out);
  }
  return out;
}

}  // namespace media
