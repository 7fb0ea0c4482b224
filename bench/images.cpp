// Decoder throughput on a generated VGA picture: our GIF decoder against giflib, our JPEG reader
// against bare libjpeg scanline reading. Items are pixels.
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <jpeglib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "media/GifDecoder.h"
#include "media/JpegReader.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 640;

// Smooth rings over a fine checker: long runs and short repeats, as in drawn game art.
uint8_t indexAt(int x, int y) {
  int dx = x - kWidth / 2, dy = y - kHeight / 3;
  return static_cast<uint8_t>(((dx * dx + dy * dy) >> 9) + (((x >> 3) ^ (y >> 3)) & 3));
}

uint32_t colourOf(uint8_t i) {
  return (i * 0x9E3779B1u) >> 8 & 0xFFFFFF;
}

int appendToVector(GifFileType* gif, const GifByteType* bytes, int n) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + n);
  return n;
}

const std::vector<uint8_t>& gifFile() {
  static const std::vector<uint8_t> file = [] {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendToVector, &error);
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i) {
      uint32_t c = colourOf(static_cast<uint8_t>(i));
      colours[i] = {static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                    static_cast<GifByteType>(c)};
    }
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
    std::vector<GifPixelType> row(kWidth);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) row[x] = indexAt(x, y);
      EGifPutLine(gif, row.data(), kWidth);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
  }();
  return file;
}

const std::vector<uint8_t>& jpegFile() {
  static const std::vector<uint8_t> file = [] {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(kWidth * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
      int y = static_cast<int>(cinfo.next_scanline);
      for (int x = 0; x < kWidth; ++x) {
        uint32_t c = colourOf(indexAt(x, y));
        row[3 * x] = c >> 16, row[3 * x + 1] = c >> 8, row[3 * x + 2] = c;
      }
      JSAMPROW rows[1] = {row.data()};
      jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
  }();
  return file;
}

void setPixels(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

void gifDecode(benchmark::State& state) {
  media::PixelLayout layout{static_cast<int>(state.range(0)), false};
  auto decoder = std::make_unique<media::GifDecoder>(media::DecodeOptions{layout, {}});
  const std::vector<uint8_t>& file = gifFile();
  for (auto _ : state) {
    std::vector<media::ImageFrame> frames = decoder->decode(file, "bench.gif");
    benchmark::DoNotOptimize(frames.data());
  }
  setPixels(state);
}
BENCHMARK(gifDecode)->Arg(16)->Arg(32);

struct MemoryInput {
  const std::vector<uint8_t>* file;
  size_t pos;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int n) {
  auto* in = static_cast<MemoryInput*>(gif->UserData);
  size_t take = std::min(static_cast<size_t>(n), in->file->size() - in->pos);
  std::memcpy(out, in->file->data() + in->pos, take);
  in->pos += take;
  return static_cast<int>(take);
}

// giflib decoding the same file to 8-bit indices (no colour conversion).
void giflibSlurp(benchmark::State& state) {
  const std::vector<uint8_t>& file = gifFile();
  for (auto _ : state) {
    MemoryInput in{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&in, readFromMemory, &error);
    DGifSlurp(gif);
    benchmark::DoNotOptimize(gif->SavedImages);
    DGifCloseFile(gif, &error);
  }
  setPixels(state);
}
BENCHMARK(giflibSlurp);

void jpegDecode(benchmark::State& state) {
  media::PixelLayout layout{static_cast<int>(state.range(0)), false};
  media::JpegReader reader(media::DecodeOptions{layout, {}});
  const std::vector<uint8_t>& file = jpegFile();
  for (auto _ : state) {
    std::optional<media::PixelBuffer> picture = reader.read(file, "bench.jpg");
    benchmark::DoNotOptimize(picture->pixels.data());
  }
  setPixels(state);
}
BENCHMARK(jpegDecode)->Arg(16)->Arg(32);

// libjpeg alone: scanlines into one row buffer, nothing kept.
void libjpegScanlines(benchmark::State& state) {
  const std::vector<uint8_t>& file = jpegFile();
  std::vector<uint8_t> row(kWidth * 3);
  for (auto _ : state) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), file.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    JSAMPROW rows[1] = {row.data()};
    while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, rows, 1);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(row.data());
  }
  setPixels(state);
}
BENCHMARK(libjpegScanlines);

}  // namespace
