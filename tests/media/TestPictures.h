// Writers for the picture files the media tests decode, and a recorder for reported messages.
//
// The GIF writer carries its own LZW encoder so that tests can shape the code stream (where
// clear codes go, whether the table is allowed to fill up, whether an end code follows).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>

#include "media/ImageMessages.h"

namespace media::testing {

struct RecordedMessage {
  std::string caption;
  std::string text;
  MessageIcon icon;
};

// Collects every message reported while it lives.
class MessageRecorder {
 public:
  MessageRecorder()
      : scope_([this](std::string_view caption, std::string_view text, MessageIcon icon) {
          messages.push_back({std::string(caption), std::string(text), icon});
        }) {}
  std::vector<RecordedMessage> messages;
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
  }

 private:
  ScopedMessageReporter scope_;
};

// ---- GIF ----

class BitWriter {
 public:
  void put(int code, int size) {
    for (int i = 0; i < size; ++i) {
      if (bit_ == 0) bytes.push_back(0);
      if ((code >> i) & 1) bytes.back() |= static_cast<uint8_t>(1 << bit_);
      bit_ = (bit_ + 1) & 7;
    }
  }
  std::vector<uint8_t> bytes;

 private:
  int bit_ = 0;
};

struct LzwOptions {
  int minCodeSize = 8;
  bool initialClear = true;
  bool clearWhenFull = true;  // false: keep emitting 12-bit codes with a full table
  bool endCode = true;
  int clearEvery = 0;         // > 0: an extra clear code after every this many codes
  int* tableFills = nullptr;  // when set, counts the times the table reached 4096 entries
};

// The LZW code stream (before packing into sub-blocks) of `indices`.
inline std::vector<uint8_t> lzwEncode(const std::vector<uint8_t>& indices, LzwOptions o = {}) {
  const int clear = 1 << o.minCodeSize;
  const int end = clear + 1;
  BitWriter out;
  std::map<std::pair<int, int>, int> table;
  int next = clear + 2;
  int size = o.minCodeSize + 1;
  auto reset = [&] {
    table.clear();
    next = clear + 2;
    size = o.minCodeSize + 1;
  };
  // The width the decoder reads the next code with after a code that added no entry here: the
  // decoder adds one for it, which may widen the following code.
  auto decoderWidth = [&] { return next >= (1 << size) && size < 12 ? size + 1 : size; };
  if (o.initialClear) out.put(clear, size);
  if (indices.empty()) {
    if (o.endCode) out.put(end, size);
    return out.bytes;
  }
  int prefix = indices[0];
  int emitted = 0;
  for (size_t i = 1; i < indices.size(); ++i) {
    int c = indices[i];
    auto it = table.find({prefix, c});
    if (it != table.end()) {
      prefix = it->second;
      continue;
    }
    out.put(prefix, size);
    ++emitted;
    if (o.clearEvery > 0 && emitted % o.clearEvery == 0) {
      out.put(clear, decoderWidth());
      reset();
    } else if (next < 4096) {
      table[{prefix, c}] = next++;
      if (next > (1 << size) && size < 12) ++size;
      if (next == 4096 && o.tableFills) ++*o.tableFills;
      if (next == 4096 && o.clearWhenFull) {
        out.put(clear, size);
        reset();
      }
    }
    prefix = c;
  }
  out.put(prefix, size);
  if (o.endCode) out.put(end, decoderWidth());
  return out.bytes;
}

struct GifFrameDescription {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> indices;  // row-major, top to bottom (interlaced frames are reordered)
  bool interlaced = false;
  std::vector<uint32_t> localPalette;  // 0x00RRGGBB; empty: use the global table
  bool control = false;
  int disposal = 0;
  int delay = 0;  // hundredths of a second
  bool transparent = false;
  int transparentIndex = 0;
  LzwOptions lzw;
  // When set, these bytes are the image data instead of the encoded indices.
  std::vector<uint8_t> rawCodes;
  bool useRawCodes = false;
};

struct GifDescription {
  int width = 0, height = 0;
  std::vector<uint32_t> globalPalette;  // empty: no global table
  int background = 0;
  std::vector<GifFrameDescription> frames;
  bool trailer = true;
  const char* signature = "GIF89a";
};

inline void putU16(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

// Size bits of a colour table with at least `n` entries (table holds 2^(bits + 1)).
inline int tableBits(size_t n) {
  int bits = 0;
  while ((size_t{2} << bits) < n) ++bits;
  return bits;
}

inline void putPalette(std::vector<uint8_t>& out, const std::vector<uint32_t>& palette) {
  size_t entries = size_t{2} << tableBits(palette.size());
  for (size_t i = 0; i < entries; ++i) {
    uint32_t c = i < palette.size() ? palette[i] : 0;
    out.push_back(static_cast<uint8_t>(c >> 16));
    out.push_back(static_cast<uint8_t>(c >> 8));
    out.push_back(static_cast<uint8_t>(c));
  }
}

inline std::vector<uint8_t> interlaceOrder(const std::vector<uint8_t>& indices, int width,
                                           int height) {
  std::vector<uint8_t> out;
  const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = start[pass]; y < height; y += step[pass]) {
      out.insert(out.end(), indices.begin() + y * width, indices.begin() + (y + 1) * width);
    }
  }
  return out;
}

inline std::vector<uint8_t> makeGif(const GifDescription& desc) {
  std::vector<uint8_t> out(desc.signature, desc.signature + 6);
  putU16(out, desc.width);
  putU16(out, desc.height);
  uint8_t packed = 0x70;
  if (!desc.globalPalette.empty()) packed |= 0x80 | tableBits(desc.globalPalette.size());
  out.push_back(packed);
  out.push_back(static_cast<uint8_t>(desc.background));
  out.push_back(0);
  if (!desc.globalPalette.empty()) putPalette(out, desc.globalPalette);
  for (const GifFrameDescription& f : desc.frames) {
    if (f.control) {
      out.insert(out.end(), {0x21, 0xF9, 4});
      out.push_back(static_cast<uint8_t>((f.disposal << 2) | (f.transparent ? 1 : 0)));
      putU16(out, f.delay);
      out.push_back(static_cast<uint8_t>(f.transparentIndex));
      out.push_back(0);
    }
    out.push_back(0x2C);
    putU16(out, f.left);
    putU16(out, f.top);
    putU16(out, f.width);
    putU16(out, f.height);
    uint8_t desc = f.interlaced ? 0x40 : 0;
    if (!f.localPalette.empty()) desc |= 0x80 | tableBits(f.localPalette.size());
    out.push_back(desc);
    if (!f.localPalette.empty()) putPalette(out, f.localPalette);
    out.push_back(static_cast<uint8_t>(f.lzw.minCodeSize));
    std::vector<uint8_t> codes =
        f.useRawCodes
            ? f.rawCodes
            : lzwEncode(f.interlaced ? interlaceOrder(f.indices, f.width, f.height) : f.indices,
                        f.lzw);
    for (size_t i = 0; i < codes.size(); i += 255) {
      size_t n = std::min<size_t>(255, codes.size() - i);
      out.push_back(static_cast<uint8_t>(n));
      out.insert(out.end(), codes.begin() + i, codes.begin() + i + n);
    }
    out.push_back(0);
  }
  if (desc.trailer) out.push_back(0x3B);
  return out;
}

// ---- BMP ----

struct BmpDescription {
  int width = 0;
  int height = 0;  // negative: top-down rows
  int bitCount = 24;
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  uint32_t compression = 0;
  std::vector<uint32_t> masks;  // written after the header when compression is 3
  bool zeroPixelOffset = false;
  int gapBeforePixels = 0;  // bytes between the palette and the pixels (offset points past them)
  uint32_t colorsUsed = 0;
};

inline void putU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// `value(x, y)` gives each pixel as stored: the palette index, the 16- or 32-bit word, or the
// 24-bit 0xRRGGBB; y counts from the top of the picture.
inline std::vector<uint8_t> makeBmp(const BmpDescription& s,
                                    const std::function<uint32_t(int, int)>& value) {
  const int absHeight = s.height < 0 ? -s.height : s.height;
  const int stride = ((s.bitCount * s.width + 31) / 32) * 4;
  std::vector<uint8_t> head;
  size_t tableBytes = s.palette.size() * 4 + (s.compression == 3 ? 12 : 0);
  uint32_t offset =
      s.zeroPixelOffset ? 0 : static_cast<uint32_t>(54 + tableBytes + s.gapBeforePixels);
  head.push_back('B');
  head.push_back('M');
  putU32(head, static_cast<uint32_t>(54 + tableBytes + s.gapBeforePixels + stride * absHeight));
  putU32(head, 0);
  putU32(head, offset);
  putU32(head, 40);
  putU32(head, static_cast<uint32_t>(s.width));
  putU32(head, static_cast<uint32_t>(s.height));
  putU16(head, 1);
  putU16(head, s.bitCount);
  putU32(head, s.compression);
  putU32(head, 0);  // image size: left 0, readers must not need it
  putU32(head, 2835);
  putU32(head, 2835);
  putU32(head, s.colorsUsed);
  putU32(head, 0);
  if (s.compression == 3) {
    for (uint32_t m : s.masks) putU32(head, m);
  }
  for (uint32_t c : s.palette) putU32(head, c);
  head.insert(head.end(), s.gapBeforePixels, 0xEE);
  for (int fileRow = 0; fileRow < absHeight; ++fileRow) {
    int y = s.height > 0 ? absHeight - 1 - fileRow : fileRow;
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < s.width; ++x) {
      uint32_t v = value(x, y);
      switch (s.bitCount) {
        case 1:
        case 4:
        case 8: {
          int perByte = 8 / s.bitCount;
          int shift = 8 - s.bitCount * (x % perByte + 1);
          row[x / perByte] |= static_cast<uint8_t>(v << shift);
          break;
        }
        case 16:
          row[2 * x] = static_cast<uint8_t>(v);
          row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
          break;
        case 24:
          row[3 * x] = static_cast<uint8_t>(v);
          row[3 * x + 1] = static_cast<uint8_t>(v >> 8);
          row[3 * x + 2] = static_cast<uint8_t>(v >> 16);
          break;
        case 32:
          for (int i = 0; i < 4; ++i) row[4 * x + i] = static_cast<uint8_t>(v >> (8 * i));
          break;
      }
    }
    head.insert(head.end(), row.begin(), row.end());
  }
  return head;
}

// The bytes of a 24-bit BMP file of one colour (0x00RRGGBB), as a file's contents.
inline std::string solidBmpFile(int w, int h, uint32_t rgb) {
  BmpDescription d;
  d.width = w;
  d.height = h;
  std::vector<uint8_t> bytes = makeBmp(d, [rgb](int, int) { return rgb; });
  return std::string(bytes.begin(), bytes.end());
}

// ---- JPEG ----

// A JPEG written by the system's JPEG library. `rgb(x, y)` gives 0x00RRGGBB; with one component
// the red channel is taken as the grey level.
inline std::vector<uint8_t> makeJpeg(int width, int height, int components, int quality,
                                     const std::function<uint32_t(int, int)>& rgb,
                                     bool progressive = false) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * components);
  while (cinfo.next_scanline < cinfo.image_height) {
    int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < width; ++x) {
      uint32_t c = rgb(x, y);
      if (components == 1) {
        row[x] = static_cast<uint8_t>(c >> 16);
      } else {
        row[3 * x] = static_cast<uint8_t>(c >> 16);
        row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(c);
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

}  // namespace media::testing
