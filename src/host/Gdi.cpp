#include "host/Gdi.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "host/FontEngine.h"
#include "host/GdiInternals.h"
#include "host/Host.h"
#include "host/Screen.h"
#include "host/WindowManager.h"

namespace host {

namespace {

std::optional<PixelFormat> formatOf(const BitmapInfo& info) {
  switch (info.bitCount) {
    case 1:
      return PixelFormat::Indexed1;
    case 4:
      return PixelFormat::Indexed4;
    case 8:
      return PixelFormat::Indexed8;
    case 16:
      if (info.compression == BI_RGB) return PixelFormat::Rgb555;
      if (info.compression == BI_BITFIELDS && info.redMask == 0xF800 && info.greenMask == 0x07E0 &&
          info.blueMask == 0x001F)
        return PixelFormat::Rgb565;
      if (info.compression == BI_BITFIELDS && info.redMask == 0x7C00 && info.greenMask == 0x03E0 &&
          info.blueMask == 0x001F)
        return PixelFormat::Rgb555;
      return std::nullopt;
    case 24:
      return info.compression == BI_RGB ? std::optional(PixelFormat::Bgr24) : std::nullopt;
    case 32:
      if (info.compression == BI_RGB ||
          (info.redMask == 0xFF0000 && info.greenMask == 0x00FF00 && info.blueMask == 0x0000FF))
        return PixelFormat::Xrgb32;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

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

Gdi::Gdi(Host& host) : host_(host), fonts_(std::make_unique<FontEngine>()) {
  auto makeStock = [&](int index, GdiObjectKind kind, ColorRef color, bool null) {
    auto o = std::make_unique<Object>();
    o->kind = kind;
    o->stock = true;
    o->color = color;
    o->null = null;
    if (kind == GdiObjectKind::Pen && null) o->penStyle = PS_NULL;
    if (kind == GdiObjectKind::Font) o->font.face = "Arial", o->font.height = 16;
    Hgdiobj h = nextHandle_++;
    objects_[h] = std::move(o);
    stock_[index] = h;
  };
  makeStock(WHITE_BRUSH, GdiObjectKind::Brush, rgb(255, 255, 255), false);
  makeStock(LTGRAY_BRUSH, GdiObjectKind::Brush, rgb(192, 192, 192), false);
  makeStock(GRAY_BRUSH, GdiObjectKind::Brush, rgb(128, 128, 128), false);
  makeStock(DKGRAY_BRUSH, GdiObjectKind::Brush, rgb(64, 64, 64), false);
  makeStock(BLACK_BRUSH, GdiObjectKind::Brush, rgb(0, 0, 0), false);
  makeStock(NULL_BRUSH, GdiObjectKind::Brush, 0, true);
  makeStock(WHITE_PEN, GdiObjectKind::Pen, rgb(255, 255, 255), false);
  makeStock(BLACK_PEN, GdiObjectKind::Pen, rgb(0, 0, 0), false);
  makeStock(NULL_PEN, GdiObjectKind::Pen, 0, true);
  makeStock(SYSTEM_FONT, GdiObjectKind::Font, 0, false);
  // The default bitmap of memory DCs: 1x1 monochrome.
  BitmapInfo mono;
  mono.width = 1;
  mono.height = 1;
  mono.bitCount = 1;
  mono.palette = {0x000000, 0xFFFFFF};
  Hbitmap h = createDibSection(mono, nullptr);
  objects_[h]->stock = true;
  stock_[-1] = h;
}

Gdi::~Gdi() = default;

Gdi::Object* Gdi::object(Hgdiobj handle) const {
  auto it = objects_.find(handle);
  return it == objects_.end() ? nullptr : it->second.get();
}

Gdi::DcData* Gdi::dcData(Hdc dc) const {
  auto it = dcs_.find(dc);
  return it == dcs_.end() ? nullptr : it->second.get();
}

Hdc Gdi::createWindowDc(Hwnd window) {
  auto d = std::make_unique<DcData>();
  d->window = window;
  d->pen = stock_[BLACK_PEN];
  d->brush = stock_[WHITE_BRUSH];
  d->font = stock_[SYSTEM_FONT];
  Hdc h = nextHandle_++;
  dcs_[h] = std::move(d);
  return h;
}

Hdc Gdi::createCompatibleDc(Hdc dc) {
  if (dc && !dcData(dc)) return 0;
  Hdc h = createWindowDc(0);
  DcData* d = dcData(h);
  d->bitmap = stock_[-1];
  object(d->bitmap)->selectedIn++;
  return h;
}

bool Gdi::deleteDc(Hdc dc) {
  DcData* d = dcData(dc);
  if (!d) return false;
  for (Hgdiobj h : {d->bitmap, d->pen, d->brush, d->font})
    if (Object* o = object(h)) o->selectedIn--;
  dcs_.erase(dc);
  return true;
}

bool Gdi::isDc(Hdc dc) const {
  return dcData(dc) != nullptr;
}

Hbitmap Gdi::createDibSection(const BitmapInfo& info, void** bits) {
  if (bits) *bits = nullptr;
  std::optional<PixelFormat> format = formatOf(info);
  if (!format || info.width <= 0 || info.height == 0) return 0;
  auto o = std::make_unique<Object>();
  o->kind = GdiObjectKind::Bitmap;
  int height = std::abs(info.height);
  o->rowBytes = ((info.bitCount * info.width + 31) / 32) * 4;
  o->storage.assign(static_cast<size_t>(o->rowBytes) * height, 0);
  if (info.bitCount <= 8) {
    o->palette = info.palette;
    o->palette.resize(static_cast<size_t>(1) << info.bitCount, 0);
  }
  o->dibHeight = info.height;
  if (info.bitCount == 16) {
    bool is565 = *format == PixelFormat::Rgb565;
    o->masks[0] = is565 ? 0xF800 : 0x7C00;
    o->masks[1] = is565 ? 0x07E0 : 0x03E0;
    o->masks[2] = 0x001F;
  } else if (info.bitCount >= 24) {
    o->masks[0] = 0xFF0000, o->masks[1] = 0x00FF00, o->masks[2] = 0x0000FF;
  }
  PixelSurface& s = o->surface;
  s.width = info.width;
  s.height = height;
  s.format = *format;
  s.palette = &o->palette;
  // Bottom-up DIBs keep their last row first in memory.
  if (info.height < 0) {
    s.top = o->storage.data();
    s.stride = o->rowBytes;
  } else {
    s.top = o->storage.data() + static_cast<size_t>(o->rowBytes) * (height - 1);
    s.stride = -o->rowBytes;
  }
  if (bits) *bits = o->storage.data();
  Hbitmap h = nextHandle_++;
  objects_[h] = std::move(o);
  return h;
}

Hbitmap Gdi::createCompatibleBitmap(Hdc dc, int width, int height) {
  BitmapInfo info;
  info.width = width;
  info.height = -height;
  info.bitCount = 16;
  info.compression = BI_BITFIELDS;
  info.redMask = 0xF800, info.greenMask = 0x07E0, info.blueMask = 0x001F;
  if (DcData* d = dcData(dc); d && !d->window) {
    const Object* b = object(d->bitmap);
    info.bitCount = bitsOf(b->surface.format);
    if (info.bitCount == 32) info.redMask = 0xFF0000, info.greenMask = 0xFF00, info.blueMask = 0xFF;
    if (info.bitCount == 24 || b->surface.format == PixelFormat::Rgb555) info.compression = BI_RGB;
    if (info.bitCount <= 8) info.palette = b->palette;
  }
  return createDibSection(info, nullptr);
}

Hpen Gdi::createPen(int style, int width, ColorRef color) {
  auto o = std::make_unique<Object>();
  o->kind = GdiObjectKind::Pen;
  o->penStyle = style;
  o->penWidth = std::max(1, width);
  o->color = color & 0xFFFFFF;
  o->null = style == PS_NULL;
  Hgdiobj h = nextHandle_++;
  objects_[h] = std::move(o);
  return h;
}

Hbrush Gdi::createSolidBrush(ColorRef color) {
  auto o = std::make_unique<Object>();
  o->kind = GdiObjectKind::Brush;
  o->color = color & 0xFFFFFF;
  Hgdiobj h = nextHandle_++;
  objects_[h] = std::move(o);
  return h;
}

Hfont Gdi::createFontIndirect(const LogFont& font) {
  auto o = std::make_unique<Object>();
  o->kind = GdiObjectKind::Font;
  o->font = font;
  if (o->font.face.size() > 31) o->font.face.resize(31);
  if (o->font.weight <= 0) o->font.weight = FW_NORMAL;
  Hgdiobj h = nextHandle_++;
  objects_[h] = std::move(o);
  return h;
}

Hgdiobj Gdi::stockObject(int index) {
  auto it = stock_.find(index);
  return it == stock_.end() || index < 0 ? 0 : it->second;
}

ColorRef Gdi::sysColor(int index) const {
  switch (index) {
    case COLOR_WINDOW:
      return rgb(255, 255, 255);
    case COLOR_WINDOWFRAME:
      return rgb(0, 0, 0);
    case COLOR_WINDOWTEXT:
      return rgb(0, 0, 0);
    case COLOR_BTNFACE:
      return rgb(192, 192, 192);
    case COLOR_BTNTEXT:
      return rgb(0, 0, 0);
    case COLOR_HIGHLIGHT:
      return rgb(0, 0, 128);
    case COLOR_HIGHLIGHTTEXT:
      return rgb(255, 255, 255);
    default:
      return rgb(128, 128, 128);
  }
}

Hbrush Gdi::sysColorBrush(int index) {
  auto it = sysBrushes_.find(index);
  if (it != sysBrushes_.end()) return it->second;
  Hbrush h = createSolidBrush(sysColor(index));
  objects_[h]->stock = true;
  sysBrushes_[index] = h;
  return h;
}

Hgdiobj Gdi::selectObject(Hdc dc, Hgdiobj handle) {
  DcData* d = dcData(dc);
  Object* o = object(handle);
  if (!d || !o) return 0;
  Hgdiobj* slot = nullptr;
  switch (o->kind) {
    case GdiObjectKind::Bitmap:
      // Only memory DCs hold bitmaps, and a bitmap lives in one DC at a time.
      if (d->window || (o->selectedIn > 0 && d->bitmap != handle && !o->stock)) return 0;
      slot = &d->bitmap;
      break;
    case GdiObjectKind::Pen:
      slot = &d->pen;
      break;
    case GdiObjectKind::Brush:
      slot = &d->brush;
      break;
    case GdiObjectKind::Font:
      slot = &d->font;
      break;
    default:
      return 0;
  }
  Hgdiobj previous = *slot;
  if (Object* p = object(previous)) p->selectedIn--;
  *slot = handle;
  o->selectedIn++;
  return previous;
}

Hgdiobj Gdi::currentObject(Hdc dc, GdiObjectKind kind) const {
  DcData* d = dcData(dc);
  if (!d) return 0;
  switch (kind) {
    case GdiObjectKind::Bitmap:
      return d->bitmap;
    case GdiObjectKind::Pen:
      return d->pen;
    case GdiObjectKind::Brush:
      return d->brush;
    case GdiObjectKind::Font:
      return d->font;
    default:
      return 0;
  }
}

bool Gdi::deleteObject(Hgdiobj handle) {
  Object* o = object(handle);
  if (!o) return false;
  if (o->stock) return true;
  if (o->selectedIn > 0) return false;
  objects_.erase(handle);
  return true;
}

GdiObjectKind Gdi::kindOf(Hgdiobj handle) const {
  Object* o = object(handle);
  return o ? o->kind : GdiObjectKind::None;
}

bool Gdi::getObject(Hbitmap bitmap, BitmapObject& out) const {
  Object* o = object(bitmap);
  if (!o || o->kind != GdiObjectKind::Bitmap) return false;
  out.width = o->surface.width;
  out.height = o->surface.height;
  out.widthBytes = o->rowBytes;
  out.bitsPerPixel = bitsOf(o->surface.format);
  out.bits = o->storage.data();
  out.dibHeight = o->dibHeight;
  std::copy(std::begin(o->masks), std::end(o->masks), out.masks);
  return true;
}

bool Gdi::getObject(Hfont font, LogFont& out) const {
  Object* o = object(font);
  if (!o || o->kind != GdiObjectKind::Font) return false;
  out = o->font;
  return true;
}

PixelSurface Gdi::surfaceOf(Hbitmap bitmap) const {
  Object* o = object(bitmap);
  return o && o->kind == GdiObjectKind::Bitmap ? o->surface : PixelSurface{};
}

ColorRef Gdi::setTextColor(Hdc dc, ColorRef color) {
  DcData* d = dcData(dc);
  if (!d) return kInvalidColor;
  return std::exchange(d->text, color & 0xFFFFFF);
}

ColorRef Gdi::setBkColor(Hdc dc, ColorRef color) {
  DcData* d = dcData(dc);
  if (!d) return kInvalidColor;
  return std::exchange(d->bk, color & 0xFFFFFF);
}

int Gdi::setBkMode(Hdc dc, int mode) {
  DcData* d = dcData(dc);
  if (!d || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(d->bkMode, mode);
}

int Gdi::setROP2(Hdc dc, int mode) {
  DcData* d = dcData(dc);
  if (!d || mode < 1 || mode > 16) return 0;
  return std::exchange(d->rop2, mode);
}

int Gdi::getDeviceCaps(Hdc dc, int index) const {
  DcData* d = dcData(dc);
  if (!d) return 0;
  bool window = d->window != 0;
  const Object* b = window ? nullptr : object(d->bitmap);
  switch (index) {
    case BITSPIXEL:
      return window ? host_.profile().displayDepth : bitsOf(b->surface.format);
    case HORZRES:
      return window ? host_.screen().width() : b->surface.width;
    case VERTRES:
      return window ? host_.screen().height() : b->surface.height;
    default:
      return 0;
  }
}

Gdi::Target Gdi::targetOf(Hdc dc) const {
  Target t;
  DcData* d = dcData(dc);
  if (!d) return t;
  if (d->window) {
    WindowManager& windows = host_.windows();
    if (!windows.isWindow(d->window)) return t;
    Screen& screen = host_.screen();
    t.surface.top = reinterpret_cast<std::uint8_t*>(screen.pixels());
    t.surface.width = screen.width();
    t.surface.height = screen.height();
    t.surface.stride = screen.stride();
    t.surface.format = PixelFormat::Rgb565;
    Rect r = windows.windowRect(d->window);
    t.originX = r.left;
    t.originY = r.top;
    t.clip = windows.visibleRegion(d->window);
    t.screen = true;
    return t;
  }
  const Object* b = object(d->bitmap);
  if (!b) return t;
  t.surface = b->surface;
  t.clip = {Rect{0, 0, b->surface.width, b->surface.height}};
  return t;
}

void Gdi::touched(const Target& t, const Rect& area) {
  if (t.screen) host_.screen().markDirty(area);
}

bool Gdi::bitBlt(Hdc dst, int x, int y, int width, int height, Hdc src, int srcX, int srcY,
                 std::uint32_t rop) {
  return stretchBlt(dst, x, y, width, height, src, srcX, srcY, width, height, rop);
}

namespace {

// Source column (or row) for each destination column of a scaled copy: the nearest source
// pixel to the destination pixel's centre; a negative size mirrors.
std::vector<int> sourceMap(int count, int srcStart, int srcSize, int dstSize) {
  std::vector<int> map(count);
  int absDst = std::abs(dstSize), absSrc = std::abs(srcSize);
  bool mirror = (dstSize < 0) != (srcSize < 0);
  for (int i = 0; i < count; ++i) {
    int k = mirror ? absDst - 1 - i : i;
    std::int64_t offset = (static_cast<std::int64_t>(2 * k + 1) * absSrc) / (2 * absDst);
    map[i] = srcStart + static_cast<int>(offset) - (srcSize < 0 ? absSrc : 0);
  }
  return map;
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
  std::vector<int> cols = needsSource
                              ? sourceMap(std::abs(width), srcX + from.originX, srcWidth, width)
                              : std::vector<int>(std::abs(width));
  std::vector<int> rows = needsSource
                              ? sourceMap(std::abs(height), srcY + from.originY, srcHeight, height)
                              : std::vector<int>(std::abs(height));
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
  std::vector<int> cols = sourceMap(width, srcX + from.originX, srcWidth, width);
  std::vector<int> rows = sourceMap(height, srcY + from.originY, srcHeight, height);
  for (const Rect& clip : to.clip) {
    Rect area = intersect(dstRect, clip);
    if (area.empty()) continue;
    for (int yy = area.top; yy < area.bottom; ++yy) {
      int sy = rows[yy - dstRect.top];
      if (sy < 0 || sy >= from.surface.height) continue;
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

bool inClip(const std::vector<Rect>& clip, int x, int y) {
  for (const Rect& r : clip)
    if (r.contains(x, y)) return true;
  return false;
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
  while (x != x1 || y != y1) {
    for (int oy = -half; oy < w - half; ++oy)
      for (int ox = -half; ox < w - half; ++ox) {
        int px = x + ox + t.originX, py = y + oy + t.originY;
        if (inClip(t.clip, px, py)) applyPen(t, d.rop2, color, px, py);
      }
    int e2 = 2 * err;
    if (e2 >= dy) err += dy, x += sx;
    if (e2 <= dx) err += dx, y += sy;
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
