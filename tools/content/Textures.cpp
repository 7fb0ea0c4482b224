#include "Textures.h"

#include <cmath>

#include "Random.h"

namespace content {

namespace {

constexpr int kN = kTextureSize;

// Multiplies the picture by tiled noise so surfaces are not flat.
void mottle(Picture& p, uint32_t seed, int period, float amount) {
  for (int y = 0; y < kN; ++y)
    for (int x = 0; x < kN; ++x) {
      float n = tiledNoise(x * period / static_cast<float>(kN), y * period / static_cast<float>(kN),
                           period, seed);
      Rgba& px = p.at(x, y);
      float f = 1.0f + (n - 0.5f) * amount;
      px.r = static_cast<uint8_t>(std::min(255.0f, px.r * f));
      px.g = static_cast<uint8_t>(std::min(255.0f, px.g * f));
      px.b = static_cast<uint8_t>(std::min(255.0f, px.b * f));
    }
}

}  // namespace

Picture planks(uint32_t color, uint32_t seed) {
  Picture p(kN, kN, color);
  Random random(seed);
  const int rows = 8, h = kN / rows;
  for (int r = 0; r < rows; ++r) {
    int offset = random.between(0, kN - 1);
    float tone = random.range(0.82f, 1.12f);
    p.fillRect(0, r * h, kN, h, shade(color, tone));
    for (int x = 0; x < kN; ++x) {
      float grain = std::sin((x + offset) * 0.35f + std::sin(x * 0.05f + r) * 3.0f);
      for (int y = r * h + 1; y < (r + 1) * h - 1; ++y)
        if (std::fabs(grain + std::sin(y * 1.7f)) < 0.15f) p.blend(x, y, shade(color, 0.7f), 0.5f);
    }
    p.fillRect(0, r * h, kN, 1, shade(color, 0.45f));
    p.fillRect(offset, r * h, 1, h, shade(color, 0.5f));
  }
  p.grain(seed + 7, 0.04f);
  return p;
}

Picture tiles(uint32_t a, uint32_t b, int count) {
  Picture p(kN, kN, shade(a, 0.6f));
  const int s = kN / count;
  for (int j = 0; j < count; ++j)
    for (int i = 0; i < count; ++i) {
      uint32_t c = ((i + j) & 1) ? b : a;
      p.gradientRect(i * s + 1, j * s + 1, s - 2, s - 2, shade(c, 1.08f), shade(c, 0.94f));
    }
  p.grain(count, 0.03f);
  return p;
}

Picture carpet(uint32_t color, uint32_t seed) {
  Picture p(kN, kN, color);
  mottle(p, seed, 8, 0.25f);
  p.grain(seed, 0.12f);
  return p;
}

Picture stripes(uint32_t a, uint32_t b, int count) {
  Picture p(kN, kN, a);
  const int w = kN / count;
  for (int i = 0; i < count; ++i) {
    p.fillRect(i * w + w / 4, 0, w / 2, kN, b);
    p.fillRect(i * w + w / 4 - 1, 0, 1, kN, shade(b, 0.8f));
  }
  mottle(p, count, 4, 0.08f);
  p.grain(count + 3, 0.03f);
  return p;
}

Picture paint(uint32_t color, uint32_t seed) {
  Picture p(kN, kN, color);
  mottle(p, seed, 4, 0.12f);
  p.grain(seed, 0.03f);
  return p;
}

Picture concrete(uint32_t seed) {
  Picture p(kN, kN, rgb(150, 150, 145));
  mottle(p, seed, 8, 0.35f);
  mottle(p, seed + 1, 16, 0.15f);
  p.fillRect(0, 0, kN, 1, rgb(100, 100, 96));
  p.fillRect(0, 0, 1, kN, rgb(100, 100, 96));
  p.grain(seed, 0.08f);
  return p;
}

Picture ceilingPanels(uint32_t color) {
  Picture p(kN, kN, shade(color, 0.7f));
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) p.fillRect(i * 64 + 2, j * 64 + 2, 60, 60, color);
  p.grain(5, 0.05f);
  return p;
}

Picture fabric(uint32_t color, uint32_t seed) {
  Picture p(kN, kN, color);
  for (int y = 0; y < kN; ++y)
    for (int x = 0; x < kN; ++x)
      if (((x + y) & 3) == 0 || ((x - y) & 7) == 0) p.blend(x, y, shade(color, 0.8f), 0.6f);
  mottle(p, seed, 4, 0.1f);
  return p;
}

Picture wood(uint32_t color, uint32_t seed) {
  Picture p(kN, kN, color);
  for (int y = 0; y < kN; ++y)
    for (int x = 0; x < kN; ++x) {
      float n = tiledNoise(x / 32.0f, y / 4.0f, 4, seed);
      float ring = std::sin((y + n * 24.0f) * 0.6f);
      p.blend(x, y, shade(color, 0.72f), std::max(0.0f, ring) * 0.45f);
    }
  p.grain(seed, 0.03f);
  return p;
}

Picture metal(uint32_t color, uint32_t seed) {
  Picture p(kN, kN, color);
  Random random(seed);
  for (int y = 0; y < kN; ++y) p.fillRect(0, y, kN, 1, shade(color, random.range(0.9f, 1.1f)));
  p.frameRect(0, 0, kN, kN, shade(color, 0.6f), 2);
  return p;
}

Picture books(uint32_t seed) {
  Picture p(kN, kN, rgb(90, 60, 36));
  Random random(seed);
  const uint32_t colors[6] = {rgb(160, 40, 40),  rgb(40, 80, 150),  rgb(40, 120, 60),
                              rgb(200, 160, 60), rgb(100, 50, 120), rgb(220, 220, 200)};
  for (int shelf = 0; shelf < 2; ++shelf) {
    int y0 = shelf * 64 + 6;
    int x = 2;
    while (x < kN - 4) {
      int w = random.between(5, 11);
      int h = random.between(40, 54);
      uint32_t c = colors[random.between(0, 5)];
      p.gradientRect(x, y0 + 56 - h, w - 1, h, shade(c, 1.15f), shade(c, 0.8f));
      p.fillRect(x, y0 + 56 - h + 6, w - 1, 2, shade(c, 1.4f));
      x += w;
    }
    p.fillRect(0, y0 + 56, kN, 4, rgb(70, 44, 24));
  }
  return p;
}

Picture crate(uint32_t seed) {
  Picture p = wood(rgb(190, 150, 90), seed);
  const uint32_t brace = rgb(130, 95, 50);
  p.frameRect(0, 0, kN, kN, brace, 12);
  p.line(10, 10, 118, 118, 12, brace);
  for (int i = 0; i < 4; ++i)
    p.ellipse(i < 2 ? 6 : 122, i % 2 ? 6 : 122, 2.5f, 2.5f, rgb(60, 60, 60));
  return p;
}

Picture blackboard(uint32_t seed) {
  Picture p(kN, kN, rgb(30, 70, 50));
  mottle(p, seed, 4, 0.2f);
  Random random(seed);
  for (int line = 0; line < 6; ++line) {
    float y = 20 + line * 16;
    float x = 14;
    while (x < 110) {
      float w = random.range(4, 14);
      p.line(x, y + random.range(-1, 1), x + w, y + random.range(-2, 2), 1.2f, 0xC0F0F0F0u);
      x += w + random.range(3, 7);
    }
  }
  p.frameRect(0, 0, kN, kN, rgb(150, 110, 60), 6);
  return p;
}

Picture window() {
  Picture p(kN, kN);
  p.gradientRect(0, 0, kN, kN, rgb(110, 170, 240), rgb(210, 235, 255));
  p.ellipse(40, 90, 30, 12, rgb(255, 255, 255));
  p.ellipse(60, 84, 24, 12, rgb(255, 255, 255));
  p.fillRect(0, 108, kN, 20, rgb(90, 150, 80));
  p.frameRect(0, 0, kN, kN, rgb(240, 240, 236), 8);
  p.fillRect(60, 0, 8, kN, rgb(240, 240, 236));
  p.fillRect(0, 60, kN, 8, rgb(240, 240, 236));
  return p;
}

Picture screen(uint32_t seed) {
  Picture p(kN, kN, rgb(20, 20, 24));
  p.gradientRect(8, 8, 112, 112, rgb(40, 120, 200), rgb(20, 40, 90));
  Random random(seed);
  for (int i = 0; i < 5; ++i)
    p.fillRect(16, 20 + i * 18, random.between(30, 90), 8, rgb(180, 220, 255) & 0xA0FFFFFFu);
  return p;
}

Picture gymFloor() {
  Picture p = planks(rgb(214, 170, 110), 77);
  p.fillRect(0, 62, kN, 4, rgb(220, 60, 40));
  p.ring(64, 64, 40, 4, rgb(40, 90, 200));
  return p;
}

Picture bedding(uint32_t color) {
  Picture p(kN, kN, color);
  for (int i = 0; i < kN; i += 32) {
    p.fillRect(i, 0, 2, kN, shade(color, 0.8f));
    p.fillRect(0, i, kN, 2, shade(color, 0.8f));
  }
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) p.ellipse(i * 32 + 16, j * 32 + 16, 6, 6, shade(color, 1.3f));
  mottle(p, 9, 4, 0.1f);
  return p;
}

Picture door(uint32_t color) {
  Picture p = wood(color, 91);
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) {
      int x = 16 + i * 52, y = 12 + j * 58;
      p.frameRect(x, y, 44, 48, shade(color, 0.6f), 3);
      p.frameRect(x + 3, y + 3, 38, 42, shade(color, 1.2f), 1);
    }
  p.frameRect(0, 0, kN, kN, shade(color, 0.5f), 4);
  p.ellipse(110, 64, 5, 5, rgb(220, 190, 90));
  return p;
}

uint32_t averageColor(const Picture& picture) {
  uint64_t r = 0, g = 0, b = 0, n = 0;
  for (const Rgba& p : picture.pixels()) r += p.r, g += p.g, b += p.b, ++n;
  if (!n) return rgb(0, 0, 0);
  return rgb(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

}  // namespace content
