#include "Picture.h"

#include <algorithm>
#include <cmath>

#include "Random.h"

namespace content {

namespace {

Rgba unpack(uint32_t c) {
  return Rgba{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c),
              static_cast<uint8_t>(c >> 24)};
}

uint8_t clampByte(float v) {
  return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f);
}

}  // namespace

uint32_t shade(uint32_t color, float f) {
  Rgba c = unpack(color);
  auto ch = [f](uint8_t v) -> uint32_t {
    float out = f <= 1.0f ? v * f : v + (255.0f - v) * (f - 1.0f);
    return clampByte(out);
  };
  return (color & 0xFF000000u) | (ch(c.r) << 16) | (ch(c.g) << 8) | ch(c.b);
}

uint32_t mix(uint32_t a, uint32_t b, float t) {
  Rgba x = unpack(a), y = unpack(b);
  auto m = [t](uint8_t p, uint8_t q) -> uint32_t { return clampByte(p + (q - p) * t); };
  return (m(x.a, y.a) << 24) | (m(x.r, y.r) << 16) | (m(x.g, y.g) << 8) | m(x.b, y.b);
}

Picture::Picture(int width, int height, uint32_t fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, unpack(fill)) {}

void Picture::blend(int x, int y, uint32_t color, float coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0.0f) return;
  Rgba s = unpack(color);
  float a = std::min(coverage, 1.0f) * s.a / 255.0f;
  Rgba& d = at(x, y);
  float da = d.a / 255.0f;
  float oa = a + da * (1.0f - a);
  if (oa <= 0.0f) return;
  auto ch = [&](uint8_t sv, uint8_t dv) { return clampByte((sv * a + dv * da * (1.0f - a)) / oa); };
  d = Rgba{ch(s.r, d.r), ch(s.g, d.g), ch(s.b, d.b), clampByte(oa * 255.0f)};
}

void Picture::set(int x, int y, uint32_t color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  at(x, y) = unpack(color);
}

void Picture::fill(uint32_t color) {
  std::fill(pixels_.begin(), pixels_.end(), unpack(color));
}

void Picture::fillRect(int x, int y, int w, int h, uint32_t color) {
  for (int j = std::max(y, 0); j < std::min(y + h, height_); ++j)
    for (int i = std::max(x, 0); i < std::min(x + w, width_); ++i) blend(i, j, color);
}

void Picture::frameRect(int x, int y, int w, int h, uint32_t color, int thickness) {
  fillRect(x, y, w, thickness, color);
  fillRect(x, y + h - thickness, w, thickness, color);
  fillRect(x, y + thickness, thickness, h - 2 * thickness, color);
  fillRect(x + w - thickness, y + thickness, thickness, h - 2 * thickness, color);
}

void Picture::gradientRect(int x, int y, int w, int h, uint32_t top, uint32_t bottom) {
  for (int j = 0; j < h; ++j) {
    uint32_t c = mix(top, bottom, h > 1 ? static_cast<float>(j) / (h - 1) : 0.0f);
    fillRect(x, y + j, w, 1, c);
  }
}

void Picture::roundRect(float x, float y, float w, float h, float radius, uint32_t color) {
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  int x1 = static_cast<int>(std::ceil(x + w)), y1 = static_cast<int>(std::ceil(y + h));
  for (int j = y0; j < y1; ++j) {
    for (int i = x0; i < x1; ++i) {
      float px = i + 0.5f, py = j + 0.5f;
      // Distance outside the rounded shape, measured against the inset rectangle.
      float qx = std::max(std::max(x + radius - px, px - (x + w - radius)), 0.0f);
      float qy = std::max(std::max(y + radius - py, py - (y + h - radius)), 0.0f);
      float d = std::sqrt(qx * qx + qy * qy) - radius;
      float cov = std::clamp(0.5f - d, 0.0f, 1.0f);
      float edge = std::min({px - x, x + w - px, py - y, y + h - py}) + 0.5f;
      cov = std::min(cov, std::clamp(edge, 0.0f, 1.0f));
      blend(i, j, color, cov);
    }
  }
}

void Picture::ellipse(float cx, float cy, float rx, float ry, uint32_t color) {
  for (int j = static_cast<int>(cy - ry - 1); j <= static_cast<int>(cy + ry + 1); ++j) {
    for (int i = static_cast<int>(cx - rx - 1); i <= static_cast<int>(cx + rx + 1); ++i) {
      float dx = (i + 0.5f - cx) / rx, dy = (j + 0.5f - cy) / ry;
      float d = (std::sqrt(dx * dx + dy * dy) - 1.0f) * std::min(rx, ry);
      blend(i, j, color, std::clamp(0.5f - d, 0.0f, 1.0f));
    }
  }
}

void Picture::ring(float cx, float cy, float r, float thickness, uint32_t color) {
  for (int j = static_cast<int>(cy - r - 1); j <= static_cast<int>(cy + r + 1); ++j) {
    for (int i = static_cast<int>(cx - r - 1); i <= static_cast<int>(cx + r + 1); ++i) {
      float d = std::hypot(i + 0.5f - cx, j + 0.5f - cy);
      float cov = std::clamp(thickness / 2 + 0.5f - std::fabs(d - (r - thickness / 2)), 0.0f, 1.0f);
      blend(i, j, color, cov);
    }
  }
}

void Picture::line(float x0, float y0, float x1, float y1, float width, uint32_t color) {
  float dx = x1 - x0, dy = y1 - y0;
  float len2 = dx * dx + dy * dy;
  int minX = static_cast<int>(std::min(x0, x1) - width - 1);
  int maxX = static_cast<int>(std::max(x0, x1) + width + 1);
  int minY = static_cast<int>(std::min(y0, y1) - width - 1);
  int maxY = static_cast<int>(std::max(y0, y1) + width + 1);
  for (int j = minY; j <= maxY; ++j) {
    for (int i = minX; i <= maxX; ++i) {
      float px = i + 0.5f - x0, py = j + 0.5f - y0;
      float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
      float d = std::hypot(px - t * dx, py - t * dy);
      blend(i, j, color, std::clamp(width / 2 + 0.5f - d, 0.0f, 1.0f));
    }
  }
}

void Picture::polygon(const std::vector<Point2>& points, uint32_t color) {
  if (points.size() < 3) return;
  float minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
  for (const Point2& p : points) {
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  auto inside = [&](float px, float py) {
    bool in = false;
    for (size_t a = 0, b = points.size() - 1; a < points.size(); b = a++) {
      const Point2& p = points[a];
      const Point2& q = points[b];
      if ((p.y > py) != (q.y > py) && px < (q.x - p.x) * (py - p.y) / (q.y - p.y) + p.x) in = !in;
    }
    return in;
  };
  for (int j = static_cast<int>(std::floor(minY)); j <= static_cast<int>(maxY); ++j) {
    for (int i = static_cast<int>(std::floor(minX)); i <= static_cast<int>(maxX); ++i) {
      int hits = 0;
      for (int s = 0; s < 16; ++s)
        hits += inside(i + (s % 4 + 0.5f) / 4.0f, j + (s / 4 + 0.5f) / 4.0f) ? 1 : 0;
      if (hits) blend(i, j, color, hits / 16.0f);
    }
  }
}

void Picture::draw(const Picture& src, int x, int y) {
  for (int j = 0; j < src.height(); ++j)
    for (int i = 0; i < src.width(); ++i) {
      Rgba s = src.at(i, j);
      if (s.a == 0) continue;
      blend(x + i, y + j, (static_cast<uint32_t>(s.a) << 24) | (s.r << 16) | (s.g << 8) | s.b);
    }
}

void Picture::drawScaled(const Picture& src, int x, int y, int w, int h) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      Rgba s = src.at(i * src.width() / w, j * src.height() / h);
      if (s.a == 0) continue;
      blend(x + i, y + j, (static_cast<uint32_t>(s.a) << 24) | (s.r << 16) | (s.g << 8) | s.b);
    }
}

void Picture::grain(uint32_t seed, float amount) {
  Random random(seed);
  for (Rgba& p : pixels_) {
    float f = 1.0f + (random.unit() - 0.5f) * 2.0f * amount;
    p.r = clampByte(p.r * f), p.g = clampByte(p.g * f), p.b = clampByte(p.b * f);
  }
}

Picture Picture::downsample(int factor) const {
  Picture out(width_ / factor, height_ / factor);
  for (int j = 0; j < out.height(); ++j)
    for (int i = 0; i < out.width(); ++i) {
      float r = 0, g = 0, b = 0, a = 0;
      for (int v = 0; v < factor; ++v)
        for (int u = 0; u < factor; ++u) {
          Rgba p = at(i * factor + u, j * factor + v);
          r += p.r * p.a, g += p.g * p.a, b += p.b * p.a, a += p.a;
        }
      Rgba& o = out.at(i, j);
      if (a > 0)
        o = Rgba{clampByte(r / a), clampByte(g / a), clampByte(b / a),
                 clampByte(a / (factor * factor))};
    }
  return out;
}

}  // namespace content
