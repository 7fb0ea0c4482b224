#include "media/Blit.h"

#include <algorithm>
#include <cstring>

namespace media {
namespace {

// Rectangles are clipped in 64 bits so that extreme coordinates cannot overflow.
struct Span {
  int64_t begin;
  int64_t end;  // exclusive
  bool empty() const { return end <= begin; }
};

Span clipSpan(int64_t start, int64_t length, int64_t limit) {
  return Span{std::max<int64_t>(start, 0), std::min<int64_t>(start + length, limit)};
}

template <typename Pixel>
void fillSpan(uint8_t* row, int64_t x0, int64_t x1, uint32_t pixel) {
  Pixel* p = reinterpret_cast<Pixel*>(row);
  std::fill(p + x0, p + x1, static_cast<Pixel>(pixel));
}

void fillSpan(Surface& s, int64_t y, int64_t x0, int64_t x1, uint32_t pixel) {
  if (s.bitsPerPixel() == 16)
    fillSpan<uint16_t>(s.row(static_cast<int>(y)), x0, x1, pixel);
  else
    fillSpan<uint32_t>(s.row(static_cast<int>(y)), x0, x1, pixel);
}

void fillColumn(Surface& s, int64_t x, int64_t y0, int64_t y1, uint32_t pixel) {
  for (int64_t y = y0; y < y1; ++y) fillSpan(s, y, x, x + 1, pixel);
}

// The whole pixel memory: one pixel written, then the filled part doubled with block copies.
// Rows are whole pixels apart (strides are multiples of 4), so the padding between rows takes
// the pattern too and never shifts it.
void fillWhole(Surface& s, uint32_t pixel) {
  uint8_t* bits = s.bits();
  const size_t total = static_cast<size_t>(s.imageSize());
  const size_t unit = static_cast<size_t>(s.bytesPerPixel());
  if (unit == 2) {
    uint16_t v = static_cast<uint16_t>(pixel);
    std::memcpy(bits, &v, unit);
  } else {
    std::memcpy(bits, &pixel, unit);
  }
  size_t filled = unit;
  while (filled < total) {
    size_t n = std::min(filled, total - filled);
    std::memcpy(bits + filled, bits, n);
    filled += n;
  }
}

template <typename Pixel>
void copyRowKeyed(Pixel* dst, const Pixel* src, int64_t n, Pixel key) {
  // Blocks of 16 are read whole before any pixel is written, as selects, so that the compiler
  // turns each block into a few masked blends without a run-time overlap check; the rest of the
  // row goes pixel by pixel.
  constexpr int kBlock = 16;
  int64_t i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    Pixel s[kBlock], d[kBlock];
    for (int j = 0; j < kBlock; ++j) s[j] = src[i + j];
    for (int j = 0; j < kBlock; ++j) d[j] = dst[i + j];
    for (int j = 0; j < kBlock; ++j) d[j] = s[j] != key ? s[j] : d[j];
    for (int j = 0; j < kBlock; ++j) dst[i + j] = d[j];
  }
  for (; i < n; ++i)
    if (src[i] != key) dst[i] = src[i];
}

template <typename Pixel>
void blitRows(Surface& dst, const Surface& src, int64_t x, int64_t y, int64_t srcX, int64_t srcY,
              int64_t w, int64_t h, bool keyed, uint32_t key) {
  // Rows run bottom-up when a Surface copies onto itself further down, so that no source row
  // is overwritten before it is read.
  const bool upward = &dst == &src && y > srcY;
  for (int64_t i = 0; i < h; ++i) {
    int64_t r = upward ? h - 1 - i : i;
    Pixel* d = reinterpret_cast<Pixel*>(dst.row(static_cast<int>(y + r))) + x;
    const Pixel* s = reinterpret_cast<const Pixel*>(src.row(static_cast<int>(srcY + r))) + srcX;
    if (keyed)
      copyRowKeyed(d, s, w, static_cast<Pixel>(key));
    else
      std::memmove(d, s, static_cast<size_t>(w) * sizeof(Pixel));
  }
}

template <typename Pixel>
void stretchRows(Surface& dst, const Surface& src, Span cols, Span rows, int64_t fx0, int64_t fy0,
                 int64_t stepX, int64_t stepY, bool keyed, uint32_t key) {
  const Pixel k = static_cast<Pixel>(key);
  int64_t fy = fy0;
  for (int64_t y = rows.begin; y < rows.end; ++y, fy += stepY) {
    const Pixel* s = reinterpret_cast<const Pixel*>(src.row(static_cast<int>(fy >> 12)));
    Pixel* d = reinterpret_cast<Pixel*>(dst.row(static_cast<int>(y)));
    int64_t fx = fx0;
    if (keyed) {
      for (int64_t x = cols.begin; x < cols.end; ++x, fx += stepX) {
        Pixel p = s[fx >> 12];
        if (p != k) d[x] = p;
      }
    } else {
      for (int64_t x = cols.begin; x < cols.end; ++x, fx += stepX) d[x] = s[fx >> 12];
    }
  }
}

// Narrows the destination span so that every source position it steps through,
// (f0 + i * step) >> 12, lies inside [0, limit); f0 moves along with the span's start.
void clipToSource(Span& span, int64_t& f0, int64_t step, int64_t limit) {
  while (!span.empty() && (f0 >> 12) < 0) {
    f0 += step;
    ++span.begin;
  }
  while (!span.empty() && ((f0 + (span.end - 1 - span.begin) * step) >> 12) >= limit) --span.end;
}

}  // namespace

void fill(Surface& surface, uint32_t color, int x, int y, int w, int h, bool solid) {
  if (w < 0 || h < 0) {
    x = y = 0;
    w = surface.width();
    h = surface.height();
  }
  if (w == 0 || h == 0) return;
  const uint32_t pixel = surface.pixelOf(color);
  const int64_t width = surface.width(), height = surface.height();

  if (solid) {
    Span cols = clipSpan(x, w, width);
    Span rows = clipSpan(y, h, height);
    if (cols.empty() || rows.empty()) return;
    if (cols.begin == 0 && rows.begin == 0 && cols.end == width && rows.end == height) {
      fillWhole(surface, pixel);
      return;
    }
    // The first row is filled pixel by pixel, the others copied from it.
    fillSpan(surface, rows.begin, cols.begin, cols.end, pixel);
    const size_t offset = static_cast<size_t>(cols.begin) * surface.bytesPerPixel();
    const size_t bytes = static_cast<size_t>(cols.end - cols.begin) * surface.bytesPerPixel();
    const uint8_t* first = surface.row(static_cast<int>(rows.begin)) + offset;
    for (int64_t r = rows.begin + 1; r < rows.end; ++r)
      std::memcpy(surface.row(static_cast<int>(r)) + offset, first, bytes);
    return;
  }

  const int64_t left = x, top = y;
  const int64_t right = left + w - 1, bottom = top + h - 1;
  Span cols = clipSpan(left, w, width);
  if (!cols.empty()) {
    if (top >= 0 && top < height) fillSpan(surface, top, cols.begin, cols.end, pixel);
    if (bottom != top && bottom >= 0 && bottom < height)
      fillSpan(surface, bottom, cols.begin, cols.end, pixel);
  }
  // The side edges between the top and bottom rows.
  Span rows = clipSpan(top + 1, h - 2, height);
  if (rows.empty()) return;
  if (left >= 0 && left < width) fillColumn(surface, left, rows.begin, rows.end, pixel);
  if (right != left && right >= 0 && right < width)
    fillColumn(surface, right, rows.begin, rows.end, pixel);
}

bool blit(Surface& dst, const Surface& src, int x, int y, int srcX, int srcY, int srcW, int srcH,
          uint32_t key) {
  if (dst.bitsPerPixel() != src.bitsPerPixel()) return false;
  if (srcW < 0 || srcH < 0) {
    srcX = srcY = 0;
    srcW = src.width();
    srcH = src.height();
  }
  int64_t dx = x, dy = y, sx = srcX, sy = srcY, w = srcW, h = srcH;
  // Clip to the source, moving the destination along with it ...
  if (sx < 0) dx -= sx, w += sx, sx = 0;
  if (sy < 0) dy -= sy, h += sy, sy = 0;
  w = std::min<int64_t>(w, src.width() - sx);
  h = std::min<int64_t>(h, src.height() - sy);
  // ... then to the destination, moving the source along.
  if (dx < 0) sx -= dx, w += dx, dx = 0;
  if (dy < 0) sy -= dy, h += dy, dy = 0;
  w = std::min<int64_t>(w, dst.width() - dx);
  h = std::min<int64_t>(h, dst.height() - dy);
  if (w <= 0 || h <= 0) return true;

  const bool keyed = key != kNoColorKey;
  const uint32_t keyPixel = keyed ? src.pixelOf(key) : 0;
  if (dst.bitsPerPixel() == 16)
    blitRows<uint16_t>(dst, src, dx, dy, sx, sy, w, h, keyed, keyPixel);
  else
    blitRows<uint32_t>(dst, src, dx, dy, sx, sy, w, h, keyed, keyPixel);
  return true;
}

bool stretchBlit(Surface& dst, const Surface& src, int x, int y, int w, int h, int srcX, int srcY,
                 int srcW, int srcH, uint32_t key) {
  if (dst.bitsPerPixel() != src.bitsPerPixel()) return false;
  if (w < 0 || h < 0) {
    x = y = 0;
    w = dst.width();
    h = dst.height();
  }
  if (srcW < 0 || srcH < 0) {
    srcX = srcY = 0;
    srcW = src.width();
    srcH = src.height();
  }
  if (w == 0 || h == 0 || srcW == 0 || srcH == 0) return true;

  const int64_t stepX = (int64_t{srcW} * 4096) / w;
  const int64_t stepY = (int64_t{srcH} * 4096) / h;
  int64_t fx0 = int64_t{srcX} * 4096;
  int64_t fy0 = int64_t{srcY} * 4096;
  Span cols{x, int64_t{x} + w};
  Span rows{y, int64_t{y} + h};
  // A destination starting off the Surface starts its source as far on as the clipped
  // pixels would have stepped it.
  if (cols.begin < 0) fx0 += -cols.begin * stepX, cols.begin = 0;
  if (rows.begin < 0) fy0 += -rows.begin * stepY, rows.begin = 0;
  cols.end = std::min<int64_t>(cols.end, dst.width());
  rows.end = std::min<int64_t>(rows.end, dst.height());
  clipToSource(cols, fx0, stepX, src.width());
  clipToSource(rows, fy0, stepY, src.height());
  if (cols.empty() || rows.empty()) return true;

  const bool keyed = key != kNoColorKey;
  const uint32_t keyPixel = keyed ? src.pixelOf(key) : 0;
  if (dst.bitsPerPixel() == 16)
    stretchRows<uint16_t>(dst, src, cols, rows, fx0, fy0, stepX, stepY, keyed, keyPixel);
  else
    stretchRows<uint32_t>(dst, src, cols, rows, fx0, fy0, stepX, stepY, keyed, keyPixel);
  return true;
}

}  // namespace media
