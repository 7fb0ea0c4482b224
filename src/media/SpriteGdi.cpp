#include "media/SpriteGdi.h"

#include <string>

#include "host/Host.h"

namespace media {

namespace {

host::Gdi& gdi() {
  return host::Host::get().gdi();
}

constexpr std::string_view kDefaultFace = "Arial";
constexpr size_t kFaceChars = 31;

std::string faceOrDefault(std::string_view face) {
  std::string f(face.empty() ? kDefaultFace : face);
  if (f.size() > kFaceChars) f.resize(kFaceChars);
  return f;
}

}  // namespace

void fillRect(host::Hdc dc, const host::Rect& rect, uint32_t color) {
  if (color == 0xFFFFFF) {
    gdi().fillRect(dc, rect, gdi().stockObject(host::WHITE_BRUSH));
  } else if (color == 0) {
    gdi().fillRect(dc, rect, gdi().stockObject(host::BLACK_BRUSH));
  } else {
    host::Hbrush brush = gdi().createSolidBrush(gdiColor(color));
    gdi().fillRect(dc, rect, brush);
    gdi().deleteObject(brush);
  }
}

int textMetrics(host::Hdc dc, int* avgCharWidth, int* lineHeight) {
  host::TextMetrics tm;
  gdi().getTextMetrics(dc, tm);
  int h = tm.height + tm.externalLeading;
  if (avgCharWidth) *avgCharWidth = tm.averageCharWidth;
  if (lineHeight) *lineHeight = h;
  return h;
}

bool textOut(host::Hdc dc, int x, int y, std::string_view text) {
  return gdi().extTextOut(dc, x, y, 0, nullptr, text);
}

int drawTextInRect(host::Hdc dc, host::Rect rect, std::string_view text, uint32_t format) {
  return gdi().drawText(dc, text, rect, format | host::DT_WORDBREAK);
}

bool line(host::Hdc dc, int x1, int y1, int x2, int y2) {
  host::Point points[2] = {{x1, y1}, {x2, y2}};
  return gdi().polyline(dc, points, 2);
}

bool textExtent(host::Hdc dc, std::string_view text, int* cx, int* cy) {
  host::Size size;
  bool ok = gdi().getTextExtentExPoint(dc, text, -1, nullptr, nullptr, size);
  if (!ok) size = {-1, -1};
  if (cx) *cx = size.cx;
  if (cy) *cy = size.cy;
  return ok;
}

host::Hfont createFont(int height, int weight, bool italic, bool underline, std::string_view face) {
  host::LogFont lf;
  lf.height = height;
  lf.width = 0;
  lf.weight = weight;
  lf.italic = italic;
  lf.underline = underline;
  lf.strikeOut = false;
  lf.face = faceOrDefault(face);
  host::Hfont font = gdi().createFontIndirect(lf);
  if (!font) font = gdi().stockObject(host::SYSTEM_FONT);
  return font;
}

bool fontMatches(host::Hdc dc, int height, int weight, bool italic, bool underline,
                 std::string_view face, host::Hfont* current) {
  host::Hfont font = gdi().currentObject(dc, host::GdiObjectKind::Font);
  if (current) *current = font;
  host::LogFont lf;
  if (!font || !gdi().getObject(font, lf)) return false;
  return lf.height == height && lf.weight == weight && lf.italic == italic &&
         lf.underline == underline && lf.face == faceOrDefault(face);
}

void selectFont(host::Hdc dc, int height, int weight, bool italic, bool underline,
                std::string_view face) {
  if (fontMatches(dc, height, weight, italic, underline, face, nullptr)) return;
  host::Hfont font = createFont(height, weight, italic, underline, face);
  host::Hgdiobj old = gdi().selectObject(dc, font);
  if (old && old != font) gdi().deleteObject(old);
}

}  // namespace media
