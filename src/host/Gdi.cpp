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

}  // namespace

Gdi::Gdi(Host& host) : host_(host), fonts_(std::make_unique<FontEngine>()) {
  spareObjects_.reserve(kSpareObjects);
  spareNodes_.reserve(kSpareObjects);
  for (auto& region : regionScratch_) region.reserve(16);
  auto makeStock = [&](int index, GdiObjectKind kind, ColorRef color, bool null) {
    auto o = makeObject();
    o->kind = kind;
    o->stock = true;
    o->color = color;
    o->null = null;
    if (kind == GdiObjectKind::Pen && null) o->penStyle = PS_NULL;
    if (kind == GdiObjectKind::Font) o->font.face = "Arial", o->font.height = 16;
    Hgdiobj h = adopt(std::move(o));
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

// Pens, brushes and fonts are made and deleted around single drawing calls, many times a
// frame; deleted objects and their map entries are kept for the next ones so that drawing
// allocates nothing.
std::unique_ptr<Gdi::Object> Gdi::makeObject() {
  if (spareObjects_.empty()) return std::make_unique<Object>();
  std::unique_ptr<Object> o = std::move(spareObjects_.back());
  spareObjects_.pop_back();
  return o;
}

Hgdiobj Gdi::adopt(std::unique_ptr<Object> o) {
  Hgdiobj h = nextHandle_++;
  if (spareNodes_.empty()) {
    objects_[h] = std::move(o);
    return h;
  }
  auto node = std::move(spareNodes_.back());
  spareNodes_.pop_back();
  node.key() = h;
  node.mapped() = std::move(o);
  objects_.insert(std::move(node));
  return h;
}

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

Hdc Gdi::createScreenDc() {
  Hdc h = createWindowDc(0);
  dcData(h)->screen = true;
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
  auto o = makeObject();
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
  Hbitmap h = adopt(std::move(o));
  return h;
}

BitmapInfo topDownBitmapInfo(int width, int height, int bitsPerPixel) {
  BitmapInfo info;
  info.width = width;
  info.height = -height;
  info.bitCount = bitsPerPixel;
  info.compression = BI_BITFIELDS;
  if (bitsPerPixel == 32)
    info.redMask = 0xFF0000, info.greenMask = 0x00FF00, info.blueMask = 0x0000FF;
  else
    info.redMask = 0xF800, info.greenMask = 0x07E0, info.blueMask = 0x001F;
  return info;
}

Hbitmap Gdi::createCompatibleBitmap(Hdc dc, int width, int height) {
  BitmapInfo info = topDownBitmapInfo(width, height, 16);
  if (DcData* d = dcData(dc); d && !d->window && !d->screen) {
    const Object* b = object(d->bitmap);
    info = topDownBitmapInfo(width, height, bitsOf(b->surface.format));
    if (info.bitCount == 24 || b->surface.format == PixelFormat::Rgb555) info.compression = BI_RGB;
    if (info.bitCount <= 8) info.palette = b->palette;
  }
  return createDibSection(info, nullptr);
}

Hpen Gdi::createPen(int style, int width, ColorRef color) {
  auto o = makeObject();
  o->kind = GdiObjectKind::Pen;
  o->penStyle = style;
  o->penWidth = std::max(1, width);
  o->color = color & 0xFFFFFF;
  o->null = style == PS_NULL;
  Hgdiobj h = adopt(std::move(o));
  return h;
}

Hbrush Gdi::createSolidBrush(ColorRef color) {
  auto o = makeObject();
  o->kind = GdiObjectKind::Brush;
  o->color = color & 0xFFFFFF;
  Hgdiobj h = adopt(std::move(o));
  return h;
}

Hfont Gdi::createFontIndirect(const LogFont& font) {
  auto o = makeObject();
  o->kind = GdiObjectKind::Font;
  o->font = font;
  if (o->font.face.size() > 31) o->font.face.resize(31);
  if (o->font.weight <= 0) o->font.weight = FW_NORMAL;
  Hgdiobj h = adopt(std::move(o));
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
      if (d->window || d->screen || (o->selectedIn > 0 && d->bitmap != handle && !o->stock))
        return 0;
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
  auto node = objects_.extract(handle);
  if (spareObjects_.size() < kSpareObjects && !o->storage.capacity()) {
    *o = Object{};
    spareObjects_.push_back(std::move(node.mapped()));
    spareNodes_.push_back(std::move(node));
  }
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
  bool window = d->window != 0 || d->screen;
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
  if (d->window || d->screen) {
    WindowManager& windows = host_.windows();
    if (d->window && !windows.isWindow(d->window)) return t;
    Screen& screen = host_.screen();
    t.surface.top = reinterpret_cast<std::uint8_t*>(screen.pixels());
    t.surface.width = screen.width();
    t.surface.height = screen.height();
    t.surface.stride = screen.stride();
    t.surface.format = PixelFormat::Rgb565;
    t.screen = true;
    if (d->screen) {
      t.clip.assign(Rect{0, 0, screen.width(), screen.height()});
      return t;
    }
    Rect r = windows.windowRect(d->window);
    t.originX = r.left;
    t.originY = r.top;
    windows.visibleRegion(d->window, regionScratch_[0], regionScratch_[1]);
    t.clip.assign(regionScratch_[0]);
    return t;
  }
  const Object* b = object(d->bitmap);
  if (!b) return t;
  t.surface = b->surface;
  t.clip.assign(Rect{0, 0, b->surface.width, b->surface.height});
  return t;
}

void Gdi::touched(const Target& t, const Rect& area) {
  if (t.screen) host_.screen().markDirty(area);
}

}  // namespace host
