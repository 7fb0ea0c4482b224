// GDI of the device: device contexts, bitmaps (DIB sections), pens, brushes, fonts, blits,
// shapes and text. Colours passed in and out are ColorRef (0x00BBGGRR, red low).
//
// Window DCs draw into the device screen, clipped to what of the window is visible; memory
// DCs draw into the bitmap selected into them (a new memory DC holds a 1x1 monochrome bitmap).
// Blits between different formats convert every pixel (palettes, 16, 24 and 32 bits, top-down
// and bottom-up). Pens are solid (or null) and drawn square for widths above 1. Text is
// rendered with anti-aliasing by FreeType (FontEngine.h) and is UTF-8.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/PixelSurface.h"
#include "host/Types.h"

namespace host {

class Host;
class FontEngine;

// Bitmap compression values.
constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;

// Raster operations.
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCPAINT = 0x00EE0086;
constexpr std::uint32_t SRCAND = 0x008800C6;
constexpr std::uint32_t SRCINVERT = 0x00660046;
constexpr std::uint32_t DSTINVERT = 0x00550009;
constexpr std::uint32_t PATCOPY = 0x00F00021;
constexpr std::uint32_t BLACKNESS = 0x00000042;
constexpr std::uint32_t WHITENESS = 0x00FF0062;

// Mix modes (setROP2).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOP = 11;
constexpr int R2_COPYPEN = 13;
constexpr int R2_WHITE = 16;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;

// extTextOut options.
constexpr std::uint32_t ETO_OPAQUE = 0x0002;
constexpr std::uint32_t ETO_CLIPPED = 0x0004;

// drawText formats.
constexpr std::uint32_t DT_LEFT = 0x0000;
constexpr std::uint32_t DT_CENTER = 0x0001;
constexpr std::uint32_t DT_RIGHT = 0x0002;
constexpr std::uint32_t DT_VCENTER = 0x0004;
constexpr std::uint32_t DT_BOTTOM = 0x0008;
constexpr std::uint32_t DT_WORDBREAK = 0x0010;
constexpr std::uint32_t DT_SINGLELINE = 0x0020;
constexpr std::uint32_t DT_NOCLIP = 0x0100;
constexpr std::uint32_t DT_CALCRECT = 0x0400;

// getDeviceCaps indices.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;

// Font weights.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// Description of a DIB: a negative height means top-down rows. 16- and 32-bit DIBs with
// BI_BITFIELDS must use the masks F800/07E0/001F or FF0000/00FF00/0000FF; 16-bit BI_RGB is
// 5-5-5. Indexed formats (1, 4, 8 bits) take their palette as 0x00RRGGBB entries.
struct BitmapInfo {
  int width = 0;
  int height = 0;
  int bitCount = 16;
  std::uint32_t compression = BI_RGB;
  std::uint32_t redMask = 0;
  std::uint32_t greenMask = 0;
  std::uint32_t blueMask = 0;
  std::vector<std::uint32_t> palette;
};

// A top-down DIB of `bitsPerPixel` 16 (RGB565) or 32 (0x00RRGGBB) described with bit fields,
// the layouts the drawing code works in.
BitmapInfo topDownBitmapInfo(int width, int height, int bitsPerPixel);

// getObject of a bitmap.
struct BitmapObject {
  int width = 0;
  int height = 0;      // positive
  int widthBytes = 0;  // stride, multiple of 4
  int bitsPerPixel = 0;
  void* bits = nullptr;  // the top-down or bottom-up memory as laid out by the DIB
  int dibHeight = 0;     // signed height as created (negative = top-down)
  std::uint32_t masks[3] = {0, 0, 0};
};

struct LogFont {
  int height = 0;
  int width = 0;
  int weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::string face;  // at most 31 characters are kept
};

struct TextMetrics {
  int height = 0;
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int averageCharWidth = 0;
  int maxCharWidth = 0;
  int weight = 0;
  bool italic = false;
  bool underlined = false;
};

struct Size {
  int cx = 0;
  int cy = 0;
};

enum class GdiObjectKind { None, Bitmap, Pen, Brush, Font };

class Gdi {
 public:
  explicit Gdi(Host& host);
  ~Gdi();
  Gdi(const Gdi&) = delete;
  Gdi& operator=(const Gdi&) = delete;

  // Device contexts; the caller deletes them with deleteDc.
  Hdc createWindowDc(Hwnd window);
  // A DC over the whole device screen, drawing on top of every window.
  Hdc createScreenDc();
  Hdc createCompatibleDc(Hdc dc);
  bool deleteDc(Hdc dc);
  bool isDc(Hdc dc) const;

  // Objects; the caller deletes them with deleteObject (stock objects ignore deletion).
  // A DIB section: `bits` (optional) receives its pixel memory, owned by the bitmap.
  Hbitmap createDibSection(const BitmapInfo& info, void** bits);
  // A top-down bitmap in the format of `dc` (the display's 16-bit format for window DCs and 0).
  Hbitmap createCompatibleBitmap(Hdc dc, int width, int height);
  Hpen createPen(int style, int width, ColorRef color);
  Hbrush createSolidBrush(ColorRef color);
  Hfont createFontIndirect(const LogFont& font);
  Hgdiobj stockObject(int index);
  Hbrush sysColorBrush(int index);
  ColorRef sysColor(int index) const;
  // Selects into a DC; returns the object it replaces, 0 on failure (a bitmap that is
  // selected elsewhere or whose format a DC cannot hold).
  Hgdiobj selectObject(Hdc dc, Hgdiobj object);
  Hgdiobj currentObject(Hdc dc, GdiObjectKind kind) const;
  // False for a dead handle or an object that is still selected into a DC.
  bool deleteObject(Hgdiobj object);
  GdiObjectKind kindOf(Hgdiobj object) const;
  bool getObject(Hbitmap bitmap, BitmapObject& out) const;
  bool getObject(Hfont font, LogFont& out) const;
  // Pixel view of a bitmap (tests and the screen path use it); null surface for non-bitmaps.
  PixelSurface surfaceOf(Hbitmap bitmap) const;

  // DC state; each returns the previous value.
  ColorRef setTextColor(Hdc dc, ColorRef color);
  ColorRef setBkColor(Hdc dc, ColorRef color);
  int setBkMode(Hdc dc, int mode);
  int setROP2(Hdc dc, int mode);
  int getDeviceCaps(Hdc dc, int index) const;

  // Blits. Source and destination rectangles are clipped to their surfaces.
  bool bitBlt(Hdc dst, int x, int y, int width, int height, Hdc src, int srcX, int srcY,
              std::uint32_t rop);
  // Nearest-neighbour scaling; negative sizes mirror.
  bool stretchBlt(Hdc dst, int x, int y, int width, int height, Hdc src, int srcX, int srcY,
                  int srcWidth, int srcHeight, std::uint32_t rop);
  // Scaled copy that skips source pixels of colour `key` (compared in the source's format).
  bool transparentImage(Hdc dst, int x, int y, int width, int height, Hdc src, int srcX, int srcY,
                        int srcWidth, int srcHeight, ColorRef key);

  // Shapes with the selected pen and brush and the mix mode.
  bool fillRect(Hdc dc, const Rect& rect, Hbrush brush);
  bool rectangle(Hdc dc, int left, int top, int right, int bottom);
  bool ellipse(Hdc dc, int left, int top, int right, int bottom);
  // Lines through the points; the last point itself is not drawn.
  bool polyline(Hdc dc, const Point* points, int count);
  ColorRef getPixel(Hdc dc, int x, int y) const;
  ColorRef setPixel(Hdc dc, int x, int y, ColorRef color);

  // Text with the selected font: (x, y) is the top-left of the text cell.
  bool extTextOut(Hdc dc, int x, int y, std::uint32_t options, const Rect* rect,
                  std::string_view text);
  // Returns the height of the drawn text; with DT_CALCRECT only measures and sets `rect`'s
  // right and bottom. Lines break at '\n' and, with DT_WORDBREAK, between words.
  int drawText(Hdc dc, std::string_view text, Rect& rect, std::uint32_t format);
  // Size of the text; `fit` (optional) gets how many characters fit in `maxExtent` (when
  // >= 0), `extents` (optional) the right edge of each character.
  bool getTextExtentExPoint(Hdc dc, std::string_view text, int maxExtent, int* fit,
                            std::vector<int>* extents, Size& size);
  bool getTextMetrics(Hdc dc, TextMetrics& metrics);

 private:
  struct Object;
  struct DcData;
  struct Target;

  std::unique_ptr<Object> makeObject();
  Hgdiobj adopt(std::unique_ptr<Object> object);
  Object* object(Hgdiobj handle) const;
  DcData* dcData(Hdc dc) const;
  Target targetOf(Hdc dc) const;
  void touched(const Target& t, const Rect& area);
  void applyPen(const Target& t, int rop2, std::uint32_t rgb, int x, int y);
  void drawLine(const Target& t, DcData& d, int x0, int y0, int x1, int y1);
  struct FontState;
  FontState fontOf(Hdc dc);
  // ExtTextOut of text already decoded.
  bool drawCodePoints(Hdc dc, int x, int y, std::uint32_t options, const Rect* rect,
                      const std::uint32_t* codePoints, std::size_t count);

  Host& host_;
  std::unique_ptr<FontEngine> fonts_;
  std::map<Hgdiobj, std::unique_ptr<Object>> objects_;
  std::map<Hdc, std::unique_ptr<DcData>> dcs_;
  std::map<int, Hgdiobj> stock_;
  std::map<int, Hgdiobj> sysBrushes_;
  std::uint32_t nextHandle_ = 1;
  // Deleted pens, brushes and fonts and their map entries, kept for reuse (see makeObject).
  static constexpr std::size_t kSpareObjects = 32;
  std::vector<std::unique_ptr<Object>> spareObjects_;
  std::vector<decltype(objects_)::node_type> spareNodes_;
  // Working space of the drawing calls, kept so that a frame allocates nothing: a window's
  // visible region, the source columns and rows of a copy, the code points of a text.
  mutable std::vector<Rect> regionScratch_[2];
  std::vector<int> columnMap_, rowMap_;
  std::vector<std::uint32_t> codePoints_, lineCodePoints_;
  struct TextLine {
    std::size_t begin, end;
  };
  std::vector<TextLine> lines_;
};

}  // namespace host
