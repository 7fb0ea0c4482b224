// Text half of Gdi: fonts, measuring, ExtTextOut and DrawText.
#include <algorithm>

#include "host/FontEngine.h"
#include "host/Gdi.h"
#include "host/GdiInternals.h"
#include "host/Host.h"

namespace host {

struct Gdi::FontState {
  FontRequest request;
  FontMetrics metrics;
  bool underline = false;
  bool valid = false;
};

Gdi::FontState Gdi::fontOf(Hdc dc) {
  FontState f;
  LogFont font;
  if (!getObject(currentObject(dc, GdiObjectKind::Font), font)) return f;
  f.request.height = font.height;
  f.request.weight = font.weight;
  f.request.italic = font.italic;
  f.underline = font.underline;
  f.metrics = fonts_->metrics(f.request);
  f.valid = fonts_->ready();
  return f;
}

namespace {

int advanceOf(FontEngine& fonts, const FontRequest& font, std::uint32_t cp) {
  return fonts.glyph(font, cp).advance;
}

int widthOf(FontEngine& fonts, const FontRequest& font, const std::uint32_t* text, size_t from,
            size_t to) {
  int w = 0;
  for (size_t i = from; i < to; ++i) w += advanceOf(fonts, font, text[i]);
  return w;
}

}  // namespace

bool Gdi::getTextExtentExPoint(Hdc dc, std::string_view text, int maxExtent, int* fit,
                               std::vector<int>* extents, Size& size) {
  if (!isDc(dc)) return false;
  FontState f = fontOf(dc);
  decodeUtf8(text, codePoints_);
  const std::vector<std::uint32_t>& cps = codePoints_;
  int x = 0, fitted = 0;
  if (extents) extents->clear();
  for (std::uint32_t cp : cps) {
    x += advanceOf(*fonts_, f.request, cp);
    if (extents) extents->push_back(x);
    if (maxExtent < 0 || x <= maxExtent) ++fitted;
  }
  if (fit) *fit = fitted;
  size = {x, f.metrics.height};
  return true;
}

bool Gdi::getTextMetrics(Hdc dc, TextMetrics& metrics) {
  if (!isDc(dc)) return false;
  FontState f = fontOf(dc);
  LogFont font;
  getObject(currentObject(dc, GdiObjectKind::Font), font);
  metrics.height = f.metrics.height;
  metrics.ascent = f.metrics.ascent;
  metrics.descent = f.metrics.descent;
  metrics.internalLeading = f.metrics.internalLeading;
  metrics.externalLeading = f.metrics.externalLeading;
  metrics.averageCharWidth = f.metrics.averageCharWidth;
  metrics.maxCharWidth = f.metrics.maxCharWidth;
  metrics.weight = font.weight;
  metrics.italic = font.italic;
  metrics.underlined = font.underline;
  return true;
}

bool Gdi::extTextOut(Hdc dc, int x, int y, std::uint32_t options, const Rect* rect,
                     std::string_view text) {
  if (!dcData(dc)) return false;
  decodeUtf8(text, codePoints_);
  return drawCodePoints(dc, x, y, options, rect, codePoints_.data(), codePoints_.size());
}

bool Gdi::drawCodePoints(Hdc dc, int x, int y, std::uint32_t options, const Rect* rect,
                         const std::uint32_t* cps, std::size_t count) {
  DcData* d = dcData(dc);
  if (!d) return false;
  Target t = targetOf(dc);
  if (!t.valid()) return true;
  FontState f = fontOf(dc);
  ClipRects& clip = t.clip;
  if (rect && (options & ETO_CLIPPED)) {
    Rect limit = offsetRect(*rect, t.originX, t.originY);
    for (Rect& r : clip) r = intersect(r, limit);
  }
  std::uint32_t bk = swapRedBlue(d->bk);
  auto fillArea = [&](const Rect& area) {
    Rect onSurface = offsetRect(area, t.originX, t.originY);
    for (const Rect& c : clip) {
      Rect a = intersect(onSurface, c);
      for (int yy = a.top; yy < a.bottom; ++yy)
        for (int xx = a.left; xx < a.right; ++xx) t.surface.setRgb(xx, yy, bk);
    }
  };
  if (rect && (options & ETO_OPAQUE)) fillArea(*rect);
  int width = widthOf(*fonts_, f.request, cps, 0, count);
  if (d->bkMode == OPAQUE) fillArea({x, y, x + width, y + f.metrics.height});
  std::uint32_t color = swapRedBlue(d->text);
  int cr = (color >> 16) & 0xFF, cg = (color >> 8) & 0xFF, cb = color & 0xFF;
  int penX = x + t.originX;
  int baseline = y + t.originY + f.metrics.ascent;
  for (std::size_t i = 0; i < count; ++i) {
    const Glyph& g = fonts_->glyph(f.request, cps[i]);
    for (int gy = 0; gy < g.rows; ++gy)
      for (int gx = 0; gx < g.width; ++gx) {
        int a = g.coverage[static_cast<size_t>(gy) * g.width + gx];
        if (!a) continue;
        int sx = penX + g.left + gx, sy = baseline - g.top + gy;
        if (!clip.contains(sx, sy)) continue;
        std::uint32_t under = a == 255 ? 0 : t.surface.rgbAt(sx, sy);
        // Coverage blends the text colour over what is there (anti-aliased edges).
        auto mix = [&](int fg, int bgc) { return (fg * a + bgc * (255 - a) + 127) / 255; };
        int r = mix(cr, (under >> 16) & 0xFF), gg = mix(cg, (under >> 8) & 0xFF),
            b = mix(cb, under & 0xFF);
        t.surface.setRgb(sx, sy, (static_cast<std::uint32_t>(r) << 16) | (gg << 8) | b);
      }
    penX += g.advance;
  }
  if (f.underline) {
    int thickness = std::max(1, f.metrics.height / 14);
    int uy = baseline + std::max(1, f.metrics.descent / 2);
    for (int yy = uy; yy < uy + thickness; ++yy)
      for (int xx = x + t.originX; xx < penX; ++xx) {
        if (clip.contains(xx, yy)) t.surface.setRgb(xx, yy, color);
      }
  }
  touched(t, offsetRect({x, y, x + width, y + f.metrics.height}, t.originX, t.originY));
  return true;
}

int Gdi::drawText(Hdc dc, std::string_view text, Rect& rect, std::uint32_t format) {
  if (!isDc(dc)) return 0;
  FontState f = fontOf(dc);
  // Its own buffers: each line is drawn through the code-point buffer of extTextOut.
  decodeUtf8(text, lineCodePoints_);
  const std::vector<std::uint32_t>& cps = lineCodePoints_;
  int available = rect.width();
  int lineHeight = f.metrics.height;

  // Break into lines: [begin, end) ranges of code points, without the breaking characters.
  using Line = TextLine;
  std::vector<Line>& lines = lines_;
  lines.clear();
  bool single = format & DT_SINGLELINE;
  bool wrap = (format & DT_WORDBREAK) && !single;
  size_t start = 0;
  for (size_t i = 0; i <= cps.size(); ++i) {
    bool hardBreak = i == cps.size() || (!single && cps[i] == '\n');
    if (!hardBreak) continue;
    size_t end = i;
    if (end > start && cps[end - 1] == '\r') --end;
    // Within one hard line, wrap between words when asked.
    size_t pos = start;
    do {
      size_t lineEnd = end;
      if (wrap && widthOf(*fonts_, f.request, cps.data(), pos, end) > available) {
        size_t lastSpace = std::string::npos;
        int w = 0;
        for (size_t k = pos; k < end; ++k) {
          if (cps[k] == ' ') lastSpace = k;
          w += advanceOf(*fonts_, f.request, cps[k]);
          if (w > available) break;
        }
        if (lastSpace != std::string::npos && lastSpace > pos) {
          lineEnd = lastSpace;
        } else {
          // A word wider than the rectangle stays whole on its own line.
          lineEnd = pos;
          while (lineEnd < end && cps[lineEnd] != ' ') ++lineEnd;
        }
      }
      size_t next = lineEnd;
      while (wrap && lineEnd > pos && cps[lineEnd - 1] == ' ') --lineEnd;
      lines.push_back({pos, lineEnd});
      while (wrap && next < end && cps[next] == ' ') ++next;
      pos = next;
    } while (pos < end);
    start = i + 1;
  }

  int totalHeight = static_cast<int>(lines.size()) * lineHeight;
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const Line& l : lines)
      widest = std::max(widest, widthOf(*fonts_, f.request, cps.data(), l.begin, l.end));
    rect.right = rect.left + widest;
    rect.bottom = rect.top + totalHeight;
    return totalHeight;
  }
  int y = rect.top;
  if (single && (format & DT_VCENTER)) y = rect.top + (rect.height() - lineHeight) / 2;
  if (single && (format & DT_BOTTOM)) y = rect.bottom - lineHeight;
  std::uint32_t options = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
  for (const Line& l : lines) {
    int w = widthOf(*fonts_, f.request, cps.data(), l.begin, l.end);
    int x = rect.left;
    if (format & DT_CENTER)
      x = rect.left + (available - w) / 2;
    else if (format & DT_RIGHT)
      x = rect.right - w;
    drawCodePoints(dc, x, y, options, &rect, cps.data() + l.begin, l.end - l.begin);
    y += lineHeight;
  }
  return totalHeight;
}

}  // namespace host
