#include "media/GifDecoder.h"

#include <algorithm>
#include <cstring>

#include "media/ImageMessages.h"

namespace media {
namespace {

constexpr int kMaxCodes = 4096;  // 12-bit codes
constexpr int kMaxCodeSize = 12;

// Sequential reads over the file bytes; every read either succeeds whole or reports the end.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

  bool atEnd() const { return pos_ >= data_.size(); }
  // The next byte, or -1 at the end.
  int byte() { return pos_ < data_.size() ? data_[pos_++] : -1; }
  bool read(uint8_t* out, size_t n) {
    if (data_.size() - pos_ < n) {
      pos_ = data_.size();
      return false;
    }
    std::memcpy(out, data_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  // Skips data sub-blocks up to and including the zero-length terminator. False at the end.
  bool skipSubBlocks() {
    for (;;) {
      int length = byte();
      if (length < 0) return false;
      if (length == 0) return true;
      if (data_.size() - pos_ < static_cast<size_t>(length)) {
        pos_ = data_.size();
        return false;
      }
      pos_ += length;
    }
  }
  // Appends the data of consecutive sub-blocks to `out`; a block cut short by the end of the
  // file contributes what is there.
  void appendSubBlocks(std::vector<uint8_t>& out) {
    // Measure first so the buffer grows once.
    size_t total = 0;
    size_t p = pos_;
    while (p < data_.size() && data_[p] != 0) {
      size_t length = data_[p];
      total += std::min(length, data_.size() - p - 1);
      p += 1 + length;
    }
    out.reserve(out.size() + total);
    for (;;) {
      int length = byte();
      if (length <= 0) return;
      size_t n = std::min(static_cast<size_t>(length), data_.size() - pos_);
      out.insert(out.end(), data_.begin() + pos_, data_.begin() + pos_ + n);
      pos_ += n;
    }
  }

 private:
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

int u16(const uint8_t* p) {
  return p[0] | (p[1] << 8);
}

struct Palette {
  uint32_t rgb[256] = {};  // 0x00RRGGBB; entries past the file's table stay black
};

// A colour table of 2^((packed & 7) + 1) R, G, B triples. False when the file ends inside it.
bool readPalette(ByteReader& in, int packed, Palette& palette) {
  const int entries = 1 << ((packed & 7) + 1);
  uint8_t rgb[256 * 3];
  if (!in.read(rgb, entries * 3)) return false;
  for (int i = 0; i < entries; ++i) {
    palette.rgb[i] = (rgb[i * 3] << 16) | (rgb[i * 3 + 1] << 8) | rgb[i * 3 + 2];
  }
  return true;
}

void fillBuffer(PixelBuffer& buffer, uint32_t pixel) {
  for (int y = 0; y < buffer.height; ++y) {
    uint8_t* row = buffer.row(y);
    if (buffer.bitsPerPixel() == 16) {
      auto* p = reinterpret_cast<uint16_t*>(row);
      std::fill(p, p + buffer.width, static_cast<uint16_t>(pixel));
    } else {
      auto* p = reinterpret_cast<uint32_t*>(row);
      std::fill(p, p + buffer.width, pixel);
    }
  }
}

}  // namespace

std::vector<ImageFrame> GifDecoder::decode(std::span<const uint8_t> file, std::string_view name,
                                           bool stopAfterFirst) {
  std::vector<ImageFrame> frames;
  ByteReader in(file);
  const PixelLayout layout = options_.layout;

  // A wrong signature is reported but not fatal: the rest may still be a usable GIF.
  if (file.size() < 3 || std::memcmp(file.data(), "GIF", 3) != 0) reportInvalidImage(name);
  uint8_t header[6];
  const bool haveHeader = in.read(header, sizeof header);

  uint8_t screen[7];
  if (!haveHeader || !in.read(screen, sizeof screen)) {
    reportPrematureEnd(name);
    return frames;
  }
  const int screenWidth = u16(screen);
  const int screenHeight = u16(screen + 2);
  const int backgroundIndex = screen[5];

  Palette global;
  if (screen[4] & 0x80) {
    if (!readPalette(in, screen[4], global)) {
      reportPrematureEnd(name);
      return frames;
    }
  } else {
    // Without a global table the indices are grey levels.
    for (int i = 0; i < 256; ++i) global.rgb[i] = i * 0x010101u;
  }
  if (in.atEnd()) {
    reportPrematureEnd(name);
    return frames;
  }

  bool controlPending = false;
  int controlPacked = 0;  // persists: the last control block's disposal applies to the next frame
  int delay = 0;
  int transparentIndex = 0;
  int previousDisposal = 0;
  int64_t pixelsHeld = 0;
  const int64_t screenPixels = int64_t{screenWidth} * screenHeight;

  bool complete = false;  // the trailer was reached (or the one frame wanted was read)
  bool stoppedByLimit = false;
  while (!(stopAfterFirst && !frames.empty())) {
    int introducer = in.byte();
    if (introducer == 0x3B) complete = true;
    if (introducer < 0 || introducer == 0x3B) break;
    if (introducer == 0x21) {
      int label = in.byte();
      if (label < 0) break;
      if (label == 0xF9) {
        // Graphic control: size byte (4), packed, delay, transparent index, then the rest of the
        // block if a writer made it longer.
        int size = in.byte();
        if (size < 0) break;
        uint8_t control[4] = {};
        size_t take = std::min(size, 4);
        if (!in.read(control, take)) break;
        if (size > 4) {
          // Skip the surplus of this block, then its following sub-blocks.
          uint8_t skip[255];
          if (!in.read(skip, size - 4)) break;
        }
        if (!in.skipSubBlocks()) break;
        controlPacked = control[0];
        delay = u16(control + 1);
        transparentIndex = control[3];
        controlPending = true;
      } else if (!in.skipSubBlocks()) {
        break;
      }
      continue;
    }
    if (introducer != 0x2C) continue;  // stray bytes between blocks are ignored

    uint8_t descriptor[9];
    if (!in.read(descriptor, sizeof descriptor)) break;
    FrameRect rect{u16(descriptor), u16(descriptor + 2), u16(descriptor + 4), u16(descriptor + 6),
                   (descriptor[8] & 0x40) != 0};
    Palette local;
    const Palette* active = &global;
    if (descriptor[8] & 0x80) {
      if (!readPalette(in, descriptor[8], local)) break;
      active = &local;
    }
    int minCodeSize = in.byte();
    if (minCodeSize < 0) break;
    codeBuffer_.clear();
    in.appendSubBlocks(codeBuffer_);
    // Codes are fetched 4 bytes at a time; the zero tail keeps the last fetches inside.
    codeBuffer_.insert(codeBuffer_.end(), 4, 0);

    // The canvas is the logical screen: refuse sizes no real picture has, rather than
    // attempting the allocation.
    if (screenPixels <= 0 || screenPixels > options_.limits.maxImagePixels ||
        pixelsHeld + screenPixels > options_.limits.maxAnimationPixels) {
      reportImageCorrupt(name);
      stoppedByLimit = true;
      break;
    }
    std::optional<PixelBuffer> canvas =
        PixelBuffer::create(screenWidth, screenHeight, layout, options_.limits.maxImagePixels);
    if (!canvas) {
      reportImageCorrupt(name);
      stoppedByLimit = true;
      break;
    }
    if (!frames.empty()) {
      if (previousDisposal == 1) {
        canvas->pixels = frames.back().pixels.pixels;
      } else if (previousDisposal == 2) {
        bool transparent = controlPending && (controlPacked & 1);
        uint32_t rgb = global.rgb[transparent ? transparentIndex : backgroundIndex];
        fillBuffer(*canvas, packColor(rgb, layout));
      }
    }
    previousDisposal = (controlPacked >> 2) & 7;

    ImageFrame frame;
    if (controlPending) {
      // Scaled in double and rounded once, so that 10 hundredths is exactly 0.1f: a frame shown
      // for 0.1 s must not be left after 0.1 s of animation time.
      frame.delay = static_cast<float>(delay * 0.01);
      frame.transparent = (controlPacked & 1) != 0;
      if (frame.transparent) frame.transparentColor = active->rgb[transparentIndex];
    }
    controlPending = false;

    uint32_t pixelOfIndex[256];
    for (int i = 0; i < 256; ++i) pixelOfIndex[i] = packColor(active->rgb[i], layout);

    if (decodeImageData(minCodeSize, rect, pixelOfIndex, *canvas)) {
      frame.pixels = std::move(*canvas);
      frames.push_back(std::move(frame));
      pixelsHeld += screenPixels;
    } else {
      reportImageCorrupt(name);
    }
  }

  if (stopAfterFirst && !frames.empty()) complete = true;
  // A file that stops before its trailer has lost what followed: the frames read so far are
  // kept, and the damage is said as for a file with none (a stop at the limits was said).
  if (frames.empty() || (!complete && !stoppedByLimit)) reportPrematureEnd(name);
  return frames;
}

bool GifDecoder::decodeImageData(int minCodeSize, const FrameRect& rect,
                                 const uint32_t* pixelOfIndex, PixelBuffer& canvas) {
  // Codes of minCodeSize + 1 bits must leave room for the clear and end codes within 12 bits,
  // and literals must be colour indices (at most 8 bits).
  if (minCodeSize < 1 || minCodeSize > 8) return false;
  if (canvas.bitsPerPixel() == 16)
    return decodeLzw<uint16_t>(minCodeSize, rect, pixelOfIndex, canvas);
  return decodeLzw<uint32_t>(minCodeSize, rect, pixelOfIndex, canvas);
}

template <typename Pixel>
bool GifDecoder::decodeLzw(int minCodeSize, const FrameRect& rect, const uint32_t* pixelOfIndex,
                           PixelBuffer& canvas) {
  const int clearCode = 1 << minCodeSize;
  const int endCode = clearCode + 1;
  const int firstFree = clearCode + 2;
  int nextFree = firstFree;
  int codeSize = minCodeSize + 1;
  int previous = clearCode;
  int previousFirst = 0;

  const uint8_t* codes = codeBuffer_.data();
  const uint64_t bitEnd = uint64_t{codeBuffer_.size() - 4} * 8;
  uint64_t bitPos = 0;

  // Output position inside the frame rectangle and the clipped view of the canvas.
  static constexpr int kPassStart[4] = {0, 4, 2, 1};
  static constexpr int kPassStep[4] = {8, 8, 4, 2};
  int64_t remaining = int64_t{rect.width} * rect.height;
  const int visibleColumns = std::clamp(canvas.width - rect.left, 0, rect.width);
  int x = 0;
  int row = 0;
  int pass = 0;
  auto rowPointer = [&](int r) -> Pixel* {
    int y = rect.top + r;
    if (r >= rect.height || y >= canvas.height || visibleColumns == 0) return nullptr;
    return reinterpret_cast<Pixel*>(canvas.row(y)) + rect.left;
  };
  Pixel* out = rowPointer(0);

  while (remaining > 0) {
    if (bitPos + codeSize > bitEnd) break;  // the data ran out: keep what was decoded
    const uint8_t* p = codes + (bitPos >> 3);
    uint32_t word = p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
    int code = (word >> (bitPos & 7)) & ((1u << codeSize) - 1);
    bitPos += codeSize;

    if (code == endCode) break;
    if (code == clearCode) {
      nextFree = firstFree;
      codeSize = minCodeSize + 1;
      previous = clearCode;
      continue;
    }

    int sp = 0;
    int c = code;
    if (code >= nextFree) {
      // Only the code being defined may be used before its definition: it stands for the
      // previous string plus that string's first character.
      if (code > nextFree || previous == clearCode) return false;
      stack_[sp++] = static_cast<uint8_t>(previousFirst);
      c = previous;
    }
    while (c >= firstFree) {
      if (sp >= kMaxCodes) return false;
      stack_[sp++] = suffix_[c];
      c = prefix_[c];
    }
    // Chains end in a literal; a clear or end code here means the table is inconsistent.
    if (c >= clearCode) return false;
    stack_[sp++] = static_cast<uint8_t>(c);
    const int first = c;

    // A full table stays as it is until the next clear code; the encoder keeps 12-bit codes.
    if (previous != clearCode && nextFree < kMaxCodes) {
      prefix_[nextFree] = static_cast<uint16_t>(previous);
      suffix_[nextFree] = static_cast<uint8_t>(first);
      ++nextFree;
      if (nextFree >= (1 << codeSize) && codeSize < kMaxCodeSize) ++codeSize;
    }
    previous = code;
    previousFirst = first;

    while (sp > 0 && remaining > 0) {
      uint8_t index = stack_[--sp];
      if (out != nullptr && x < visibleColumns) out[x] = static_cast<Pixel>(pixelOfIndex[index]);
      --remaining;
      if (++x == rect.width) {
        x = 0;
        if (rect.interlaced) {
          row += kPassStep[pass];
          while (row >= rect.height && pass < 3) row = kPassStart[++pass];
        } else {
          ++row;
        }
        out = rowPointer(row);
      }
    }
  }
  return true;
}

}  // namespace media
