#include "GifWriter.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <map>

namespace content {

namespace {

struct Bin {
  uint32_t count = 0;
  uint64_t r = 0, g = 0, b = 0;
};

struct Box {
  std::vector<int> bins;  // 15-bit bin indices
  uint64_t weight = 0;
};

int binOf(const Rgba& p) {
  return ((p.r >> 3) << 10) | ((p.g >> 3) << 5) | (p.b >> 3);
}
int channel(int bin, int c) {
  return (bin >> (10 - 5 * c)) & 31;
}

// Median cut over 5-bit bins: split the heaviest-ranged box at its weighted median until
// `maxColors` boxes exist; each palette colour is the mean of the real colours it covers.
std::vector<Rgba> medianCut(const std::vector<Bin>& bins, int maxColors) {
  std::vector<Box> boxes(1);
  for (int i = 0; i < static_cast<int>(bins.size()); ++i)
    if (bins[i].count) boxes[0].bins.push_back(i), boxes[0].weight += bins[i].count;
  while (static_cast<int>(boxes.size()) < maxColors) {
    int best = -1, bestChannel = 0;
    uint64_t bestScore = 0;
    for (int i = 0; i < static_cast<int>(boxes.size()); ++i) {
      if (boxes[i].bins.size() < 2) continue;
      for (int c = 0; c < 3; ++c) {
        int lo = 31, hi = 0;
        for (int bin : boxes[i].bins)
          lo = std::min(lo, channel(bin, c)), hi = std::max(hi, channel(bin, c));
        uint64_t score = static_cast<uint64_t>(hi - lo) * (boxes[i].weight + 1);
        if (hi > lo && score > bestScore) bestScore = score, best = i, bestChannel = c;
      }
    }
    if (best < 0) break;
    Box& box = boxes[best];
    std::sort(box.bins.begin(), box.bins.end(), [&](int a, int b) {
      int ca = channel(a, bestChannel), cb = channel(b, bestChannel);
      return ca != cb ? ca < cb : a < b;
    });
    uint64_t half = box.weight / 2, running = 0;
    size_t cut = 1;
    for (size_t i = 0; i + 1 < box.bins.size(); ++i) {
      running += bins[box.bins[i]].count;
      cut = i + 1;
      if (running >= half) break;
    }
    Box other;
    other.bins.assign(box.bins.begin() + static_cast<long>(cut), box.bins.end());
    box.bins.resize(cut);
    box.weight = 0;
    for (int bin : box.bins) box.weight += bins[bin].count;
    for (int bin : other.bins) other.weight += bins[bin].count;
    boxes.push_back(std::move(other));
  }
  std::vector<Rgba> palette;
  for (const Box& box : boxes) {
    uint64_t n = 0, r = 0, g = 0, b = 0;
    for (int bin : box.bins)
      n += bins[bin].count, r += bins[bin].r, g += bins[bin].g, b += bins[bin].b;
    if (n)
      palette.push_back(Rgba{static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n),
                             static_cast<uint8_t>(b / n), 255});
  }
  return palette;
}

int outputToVector(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

}  // namespace

std::vector<uint8_t> encodeGif(const std::vector<GifFrame>& frames) {
  if (frames.empty()) return {};
  const int width = frames[0].picture.width(), height = frames[0].picture.height();
  bool transparent = false;
  std::map<uint32_t, int> exact;
  std::vector<Bin> bins(32768);
  for (const GifFrame& frame : frames) {
    if (frame.picture.width() != width || frame.picture.height() != height) return {};
    for (const Rgba& p : frame.picture.pixels()) {
      if (p.a < 128) {
        transparent = true;
        continue;
      }
      if (exact.size() <= 256) exact[(p.r << 16) | (p.g << 8) | p.b] = 0;
      Bin& bin = bins[binOf(p)];
      ++bin.count, bin.r += p.r, bin.g += p.g, bin.b += p.b;
    }
  }
  const int maxColors = transparent ? 255 : 256;
  std::vector<Rgba> palette;
  if (static_cast<int>(exact.size()) <= maxColors) {
    for (auto& [color, index] : exact) {
      index = static_cast<int>(palette.size());
      palette.push_back(Rgba{static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8),
                             static_cast<uint8_t>(color), 255});
    }
  } else {
    palette = medianCut(bins, maxColors);
    exact.clear();
  }
  if (palette.empty()) palette.push_back(Rgba{0, 0, 0, 255});
  const int transparentIndex = transparent ? static_cast<int>(palette.size()) : -1;
  int tableSize = 2;
  while (tableSize < static_cast<int>(palette.size()) + (transparent ? 1 : 0)) tableSize *= 2;

  std::vector<int> nearest(32768, -1);
  auto indexOf = [&](const Rgba& p) -> int {
    if (p.a < 128) return transparentIndex;
    if (!exact.empty()) return exact[(p.r << 16) | (p.g << 8) | p.b];
    int bin = binOf(p);
    if (nearest[bin] < 0) {
      int best = 0;
      long bestDistance = -1;
      for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
        long dr = palette[i].r - p.r, dg = palette[i].g - p.g, db = palette[i].b - p.b;
        long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDistance < 0 || d < bestDistance) bestDistance = d, best = i;
      }
      nearest[bin] = best;
    }
    return nearest[bin];
  };

  std::vector<uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, outputToVector, &error);
  if (!gif) return {};
  EGifSetGifVersion(gif, true);
  std::vector<GifColorType> colors(static_cast<size_t>(tableSize), GifColorType{0, 0, 0});
  for (size_t i = 0; i < palette.size(); ++i)
    colors[i] = {palette[i].r, palette[i].g, palette[i].b};
  ColorMapObject* map = GifMakeMapObject(tableSize, colors.data());
  bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK;
  if (ok && frames.size() > 1) {
    const unsigned char loop[3] = {1, 0, 0};
    ok = EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, loop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
  }
  std::vector<GifPixelType> row(static_cast<size_t>(width));
  for (size_t f = 0; ok && f < frames.size(); ++f) {
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = static_cast<int>(frames[f].disposal);
    gcb.UserInputFlag = false;
    gcb.DelayTime = frames.size() > 1 ? frames[f].delayCs : 0;
    gcb.TransparentColor = transparentIndex;
    GifByteType extension[4];
    size_t length = EGifGCBToExtension(&gcb, extension);
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
             GIF_OK &&
         EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < height; ++y) {
      for (int x = 0; x < width; ++x)
        row[static_cast<size_t>(x)] =
            static_cast<GifPixelType>(indexOf(frames[f].picture.at(x, y)));
      ok = EGifPutLine(gif, row.data(), width) == GIF_OK;
    }
  }
  GifFreeMapObject(map);
  if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  return ok ? out : std::vector<uint8_t>{};
}

std::vector<uint8_t> encodeGif(const Picture& picture) {
  return encodeGif(std::vector<GifFrame>{GifFrame{picture, 0, Disposal::kNone}});
}

}  // namespace content
