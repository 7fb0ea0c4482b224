// Drawing half of Gdi: blits, fills, shapes and pixels.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "host/Gdi.h"
#include "host/GdiInternals.h"
#include "host/Host.h"
#include "host/Screen.h"

namespace host {

namespace {

std::uint32_t applyRop(std::uint32_t rop, std::uint32_t src, std::uint32_t dst,
                       std::uint32_t pattern) {
  switch (rop) {
    case SRCPAINT:
      return src | dst;
    case SRCAND:
      return src & dst;
    case SRCINVERT:
      return src ^ dst;
    case DSTINVERT:
      return ~dst & 0xFFFFFF;
    case PATCOPY:
      return pattern;
    case BLACKNESS:
      return 0;
    case WHITENESS:
      return 0xFFFFFF;
    default:
      return src;
  }
}

}  // namespace

bool Gdi::bitBlt(Hdc dst, int x, int y, int width, int height, Hdc src, int srcX, int srcY,
                 std::uint32_t rop) {
  return stretchBlt(dst, x, y, width, height, src, srcX, srcY, width, height, rop);
}

namespace {

// Source column (or row) for each destination column of a scaled copy: the nearest source
// pixel to the destination pixel's centre; a negative size mirrors.
void sourceMap(int count, int srcStart, int srcSize, int dstSize, std::vector<int>& map) {
  map.resize(count);
  int absDst = std::abs(dstSize), absSrc = std::abs(srcSize);
  bool mirror = (dstSize < 0) != (srcSize < 0);
  for (int i = 0; i < count; ++i) {
    int k = mirror ? absDst - 1 - i : i;
    std::int64_t offset = (static_cast<std::int64_t>(2 * k + 1) * absSrc) / (2 * absDst);
    map[i] = srcStart + static_cast<int>(offset) - (srcSize < 0 ? absSrc : 0);
  }
}

// Row conversion between the two formats frames travel in (32-bit surfaces onto the 16-bit
// screen and back), as plain loops the compiler vectorises. False for other pairs.
bool convertRow(const PixelSurface& from, const PixelSurface& to, int dstY, int srcY, int x0,
                int x1, int srcX0, int srcRight) {
  bool down = from.format == PixelFormat::Xrgb32 && to.format == PixelFormat::Rgb565;
  bool up = from.format == PixelFormat::Rgb565 && to.format == PixelFormat::Xrgb32;
  if (!down && !up) return false;
  if (srcX0 < 0) x0 += -srcX0, srcX0 = 0;
  if (srcX0 + (x1 - x0) > srcRight) x1 = x0 + std::max(0, srcRight - srcX0);
  int n = x1 - x0;
  if (n <= 0) return true;
  if (down) {
    const auto* in = reinterpret_cast<const std::uint32_t*>(from.row(srcY)) + srcX0;
    auto* out = reinterpret_cast<std::uint16_t*>(to.row(dstY)) + x0;
    for (int i = 0; i < n; ++i) {
      std::uint32_t p = in[i];
      out[i] = static_cast<std::uint16_t>(((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) |
                                          ((p >> 3) & 0x001F));
    }
  } else {
    const auto* in = reinterpret_cast<const std::uint16_t*>(from.row(srcY)) + srcX0;
    auto* out = reinterpret_cast<std::uint32_t*>(to.row(dstY)) + x0;
    for (int i = 0; i < n; ++i) {
      std::uint32_t p = in[i];
      std::uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
      out[i] = (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
    }
  }
  return true;
}

}  // namespace

bool Gdi::stretchBlt(Hdc dst, int x, int y, int width, int height, Hdc src, int srcX, int srcY,
                     int srcWidth, int srcHeight, std::uint32_t rop) {
  Target to = targetOf(dst);
  if (!dcData(dst)) return false;
  bool needsSource = rop != BLACKNESS && rop != WHITENESS && rop != DSTINVERT && rop != PATCOPY;
  Target from;
  if (needsSource) {
    from = targetOf(src);
    if (!from.surface.top) return false;
  }
  if (!to.valid() || width == 0 || height == 0) return true;
  if (needsSource && (srcWidth == 0 || srcHeight == 0)) return true;
  std::uint32_t pattern = 0;
  if (Object* brush = object(dcData(dst)->brush)) pattern = swapRedBlue(brush->color);
  // Normalise a mirrored destination to a positive rectangle; the map carries the mirroring.
  int left = width < 0 ? x + width : x, top = height < 0 ? y + height : y;
  Rect dstRect{left + to.originX, top + to.originY, left + to.originX + std::abs(width),
               top + to.originY + std::abs(height)};
  std::vector<int>& cols = columnMap_;
  std::vector<int>& rows = rowMap_;
  if (needsSource) {
    sourceMap(std::abs(width), srcX + from.originX, srcWidth, width, cols);
    sourceMap(std::abs(height), srcY + from.originY, srcHeight, height, rows);
  } else {
    cols.assign(std::abs(width), 0);
    rows.assign(std::abs(height), 0);
  }
  // The source may be read only where it is itself visible (a window DC) or exists.
  Rect srcBounds{0, 0, from.surface.width, from.surface.height};
  bool sameFormat =
      needsSource && from.surface.format == to.surface.format &&
      from.surface.format != PixelFormat::Indexed1 &&
      from.surface.format != PixelFormat::Indexed4 &&
      (bitsOf(from.surface.format) > 8 || *from.surface.palette == *to.surface.palette);
  bool unscaled =
      needsSource && srcWidth == width && srcHeight == height && width > 0 && height > 0;
  int bytesPerPixel = bitsOf(to.surface.format) / 8;
  for (const Rect& clip : to.clip) {
    Rect area = intersect(dstRect, clip);
    if (area.empty()) continue;
    for (int yy = area.top; yy < area.bottom; ++yy) {
      int sy = needsSource ? rows[yy - dstRect.top] : 0;
      if (needsSource && (sy < srcBounds.top || sy >= srcBounds.bottom)) continue;
      if (rop == SRCCOPY && unscaled && sameFormat && bytesPerPixel > 0) {
        // Equal formats copy whole row spans.
        int x0 = area.left, x1 = area.right;
        int s0 = cols[x0 - dstRect.left];
        if (s0 < 0) x0 += -s0, s0 = 0;
        if (s0 + (x1 - x0) > srcBounds.right) x1 = x0 + std::max(0, srcBounds.right - s0);
        if (x1 > x0)
          std::memmove(to.surface.row(yy) + x0 * bytesPerPixel,
                       from.surface.row(sy) + s0 * bytesPerPixel,
                       static_cast<size_t>(x1 - x0) * bytesPerPixel);
        continue;
      }
      if (rop == SRCCOPY && unscaled &&
          convertRow(from.surface, to.surface, yy, sy, area.left, area.right,
                     cols[area.left - dstRect.left], srcBounds.right))
        continue;
      if (rop == SRCCOPY && sameFormat && (bytesPerPixel == 2 || bytesPerPixel == 4)) {
        // Scaled copies between equal formats move raw pixels: no colour round trip.
        std::uint8_t* out = to.surface.row(yy);
        const std::uint8_t* in = from.surface.row(sy);
        for (int xx = area.left; xx < area.right; ++xx) {
          int sx = cols[xx - dstRect.left];
          if (sx < srcBounds.left || sx >= srcBounds.right) continue;
          std::memcpy(out + xx * bytesPerPixel, in + sx * bytesPerPixel, bytesPerPixel);
        }
        continue;
      }
      for (int xx = area.left; xx < area.right; ++xx) {
        std::uint32_t s = 0;
        if (needsSource) {
          int sx = cols[xx - dstRect.left];
          if (sx < srcBounds.left || sx >= srcBounds.right) continue;
          s = from.surface.rgbAt(sx, sy);
        }
        if (rop == SRCCOPY) {
          to.surface.setRgb(xx, yy, s);
        } else if (rop == DSTINVERT) {
          to.surface.setRaw(xx, yy, ~to.surface.raw(xx, yy) & to.surface.rawMask());
        } else {
          to.surface.setRgb(xx, yy, applyRop(rop, s, to.surface.rgbAt(xx, yy), pattern));
        }
      }
    }
    touched(to, area);
  }
  return true;
}

bool Gdi::transparentImage(Hdc dst, int x, int y, int width, int height, Hdc src, int srcX,
                           int srcY, int srcWidth, int srcHeight, ColorRef key) {
  Target to = targetOf(dst);
  Target from = targetOf(src);
  if (!dcData(dst) || !from.surface.top) return false;
  if (!to.valid() || width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return true;
  // The key is compared in the source's own format, as the device's 16-bit pixels would be.
  std::uint32_t keyRaw = from.surface.rawOfRgb(swapRedBlue(key & 0xFFFFFF));
  bool indexed = bitsOf(from.surface.format) <= 8;
  std::uint32_t keyRgb = swapRedBlue(key & 0xFFFFFF);
  Rect dstRect{x + to.originX, y + to.originY, x + to.originX + width, y + to.originY + height};
  std::vector<int>& cols = columnMap_;
  std::vector<int>& rows = rowMap_;
  sourceMap(width, srcX + from.originX, srcWidth, width, cols);
  sourceMap(height, srcY + from.originY, srcHeight, height, rows);
  // Equal 16- or 32-bit formats compare and copy raw pixels (the key is raw already).
  int bytesPerPixel = bitsOf(to.surface.format) / 8;
  bool sameFormat = !indexed && from.surface.format == to.surface.format &&
                    (bytesPerPixel == 2 || bytesPerPixel == 4);
  for (const Rect& clip : to.clip) {
    Rect area = intersect(dstRect, clip);
    if (area.empty()) continue;
    for (int yy = area.top; yy < area.bottom; ++yy) {
      int sy = rows[yy - dstRect.top];
      if (sy < 0 || sy >= from.surface.height) continue;
      if (sameFormat) {
        std::uint8_t* out = to.surface.row(yy);
        const std::uint8_t* in = from.surface.row(sy);
        for (int xx = area.left; xx < area.right; ++xx) {
          int sx = cols[xx - dstRect.left];
          if (sx < 0 || sx >= from.surface.width) continue;
          if (bytesPerPixel == 2) {
            std::uint16_t v;
            std::memcpy(&v, in + sx * 2, 2);
            if (v != keyRaw) std::memcpy(out + xx * 2, &v, 2);
          } else {
            std::uint32_t v;
            std::memcpy(&v, in + sx * 4, 4);
            if (v != keyRaw) std::memcpy(out + xx * 4, &v, 4);
          }
        }
        continue;
      }
      for (int xx = area.left; xx < area.right; ++xx) {
        int sx = cols[xx - dstRect.left];
        if (sx < 0 || sx >= from.surface.width) continue;
        std::uint32_t raw = from.surface.raw(sx, sy);
        std::uint32_t color = from.surface.rgbOfRaw(raw);
        if (indexed ? color == keyRgb : raw == keyRaw) continue;
        to.surface.setRgb(xx, yy, color);
      }
    }
    touched(to, area);
  }
  return true;
}

bool Gdi::fillRect(Hdc dc, const Rect& rect, Hbrush brush) {
  Object* b = object(brush);
  if (!dcData(dc) || !b || b->kind != GdiObjectKind::Brush) return false;
  if (b->null) return true;
  Target t = targetOf(dc);
  std::uint32_t raw = t.surface.rawOfRgb(swapRedBlue(b->color));
  for (const Rect& clip : t.clip) {
    Rect area = intersect(offsetRect(rect, t.originX, t.originY), clip);
    if (area.empty()) continue;
    for (int yy = area.top; yy < area.bottom; ++yy) {
      if (t.surface.format == PixelFormat::Rgb565) {
        auto* row = reinterpret_cast<std::uint16_t*>(t.surface.row(yy));
        std::fill(row + area.left, row + area.right, static_cast<std::uint16_t>(raw));
      } else {
        for (int xx = area.left; xx < area.right; ++xx) t.surface.setRaw(xx, yy, raw);
      }
    }
    touched(t, area);
  }
  return true;
}

void Gdi::applyPen(const Target& t, int rop2, std::uint32_t rgbColor, int x, int y) {
  // x, y in surface coordinates, already clipped.
  const PixelSurface& s = t.surface;
  switch (rop2) {
    case R2_NOP:
      return;
    case R2_NOT:
      s.setRaw(x, y, ~s.raw(x, y) & s.rawMask());
      return;
    case R2_BLACK:
      s.setRgb(x, y, 0);
      return;
    case R2_WHITE:
      s.setRgb(x, y, 0xFFFFFF);
      return;
    case R2_NOTCOPYPEN:
      s.setRgb(x, y, ~rgbColor & 0xFFFFFF);
      return;
    case R2_XORPEN:
      s.setRaw(x, y, s.raw(x, y) ^ s.rawOfRgb(rgbColor));
      return;
    default:
      s.setRgb(x, y, rgbColor);
      return;
  }
}

namespace {

bool inClip(const ClipRects& clip, int x, int y) {
  return clip.contains(x, y);
}

}  // namespace

bool Gdi::rectangle(Hdc dc, int left, int top, int right, int bottom) {
  DcData* d = dcData(dc);
  if (!d) return false;
  Target t = targetOf(dc);
  if (!t.valid()) return true;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  Object* pen = object(d->pen);
  Object* brush = object(d->brush);
  bool outline = pen && !pen->null;
  int w = outline ? pen->penWidth : 0;
  std::uint32_t penColor = outline ? swapRedBlue(pen->color) : 0;
  std::uint32_t brushColor = brush && !brush->null ? swapRedBlue(brush->color) : 0;
  bool fill = brush && !brush->null;
  Rect box = offsetRect({left, top, right, bottom}, t.originX, t.originY);
  for (int yy = box.top; yy < box.bottom; ++yy)
    for (int xx = box.left; xx < box.right; ++xx) {
      if (!inClip(t.clip, xx, yy)) continue;
      bool edge = outline && (xx < box.left + w || xx >= box.right - w || yy < box.top + w ||
                              yy >= box.bottom - w);
      if (edge)
        applyPen(t, d->rop2, penColor, xx, yy);
      else if (fill)
        applyPen(t, d->rop2, brushColor, xx, yy);
    }
  touched(t, box);
  return true;
}

bool Gdi::ellipse(Hdc dc, int left, int top, int right, int bottom) {
  DcData* d = dcData(dc);
  if (!d) return false;
  Target t = targetOf(dc);
  if (!t.valid()) return true;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  int w = right - left, h = bottom - top;
  if (w <= 0 || h <= 0) return true;
  // Span of the ellipse on each row: pixels whose centre lies inside it.
  double a = w / 2.0, b = h / 2.0, cx = left + a, cy = top + b;
  std::vector<int> from(h), to(h);
  for (int r = 0; r < h; ++r) {
    double dy = (top + r + 0.5 - cy) / b;
    double half = dy * dy >= 1 ? 0 : a * std::sqrt(1 - dy * dy);
    from[r] = static_cast<int>(std::ceil(cx - half - 0.5));
    to[r] = static_cast<int>(std::floor(cx + half - 0.5));  // inclusive
    if (to[r] < from[r]) {  // the thinnest rows still get their middle pixel
      from[r] = to[r] = static_cast<int>(std::floor(cx - 0.5 + 0.5));
    }
  }
  auto inside = [&](int r, int x) { return r >= 0 && r < h && x >= from[r] && x <= to[r]; };
  Object* pen = object(d->pen);
  Object* brush = object(d->brush);
  bool outline = pen && !pen->null;
  bool fill = brush && !brush->null;
  std::uint32_t penColor = outline ? swapRedBlue(pen->color) : 0;
  std::uint32_t brushColor = fill ? swapRedBlue(brush->color) : 0;
  for (int r = 0; r < h; ++r)
    for (int x = from[r]; x <= to[r]; ++x) {
      bool edge = !inside(r - 1, x) || !inside(r + 1, x) || !inside(r, x - 1) || !inside(r, x + 1);
      int sx = x + t.originX, sy = top + r + t.originY;
      if (!inClip(t.clip, sx, sy)) continue;
      if (edge && outline)
        applyPen(t, d->rop2, penColor, sx, sy);
      else if (fill || (edge && !outline && fill))
        applyPen(t, d->rop2, brushColor, sx, sy);
    }
  touched(t, offsetRect({left, top, right, bottom}, t.originX, t.originY));
  return true;
}

void Gdi::drawLine(const Target& t, DcData& d, int x0, int y0, int x1, int y1) {
  Object* pen = object(d.pen);
  if (!pen || pen->null) return;
  std::uint32_t color = swapRedBlue(pen->color);
  int w = pen->penWidth, half = (w - 1) / 2;
  int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  int x = x0, y = y0;
  // The squares of a wide pen overlap from one step to the next. Mixes such as R2_NOT and
  // R2_XORPEN must still reach each pixel of the stroke once, so those pixels are gathered first.
  std::vector<Point> stroke;
  while (x != x1 || y != y1) {
    for (int oy = -half; oy < w - half; ++oy)
      for (int ox = -half; ox < w - half; ++ox) {
        int px = x + ox + t.originX, py = y + oy + t.originY;
        if (!inClip(t.clip, px, py)) continue;
        if (w == 1)
          applyPen(t, d.rop2, color, px, py);
        else
          stroke.push_back({px, py});
      }
    int e2 = 2 * err;
    if (e2 >= dy) err += dy, x += sx;
    if (e2 <= dx) err += dx, y += sy;
  }
  if (!stroke.empty()) {
    auto before = [](const Point& a, const Point& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; };
    auto same = [](const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; };
    std::sort(stroke.begin(), stroke.end(), before);
    stroke.erase(std::unique(stroke.begin(), stroke.end(), same), stroke.end());
    for (const Point& p : stroke) applyPen(t, d.rop2, color, p.x, p.y);
  }
  Rect box{std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + w,
           std::max(y0, y1) + w};
  touched(t, offsetRect(box, t.originX, t.originY));
}

bool Gdi::polyline(Hdc dc, const Point* points, int count) {
  DcData* d = dcData(dc);
  if (!d || !points || count < 2) return false;
  Target t = targetOf(dc);
  if (!t.valid()) return true;
  for (int i = 0; i + 1 < count; ++i)
    drawLine(t, *d, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
  return true;
}

ColorRef Gdi::getPixel(Hdc dc, int x, int y) const {
  Target t = targetOf(dc);
  int sx = x + t.originX, sy = y + t.originY;
  if (!t.surface.top || !inClip(t.clip, sx, sy)) return kInvalidColor;
  return swapRedBlue(t.surface.rgbAt(sx, sy));
}

ColorRef Gdi::setPixel(Hdc dc, int x, int y, ColorRef color) {
  Target t = targetOf(dc);
  int sx = x + t.originX, sy = y + t.originY;
  if (!t.surface.top || !inClip(t.clip, sx, sy)) return kInvalidColor;
  t.surface.setRgb(sx, sy, swapRedBlue(color & 0xFFFFFF));
  touched(t, {sx, sy, sx + 1, sy + 1});
  return swapRedBlue(t.surface.rgbAt(sx, sy));
}

}  // namespace host
