#include "Widgets.h"

#include <cmath>
#include <vector>

#include "Random.h"
#include "Style.h"
#include "TextRenderer.h"

namespace content {

Picture buttonFace(int w, int h, std::string_view label, ButtonKind kind, bool bright,
                   int textSize) {
  uint32_t top = kPanelLight, bottom = kPanel, border = kTextDim, text = kText;
  switch (kind) {
    case ButtonKind::kPrimary:
      top = rgb(255, 140, 40), bottom = rgb(210, 70, 0), border = rgb(255, 200, 120);
      break;
    case ButtonKind::kSecondary:
      break;
    case ButtonKind::kTab:
      top = rgb(30, 120, 130), bottom = rgb(16, 70, 80), border = kTeal;
      break;
    case ButtonKind::kDanger:
      top = rgb(170, 40, 40), bottom = rgb(110, 20, 24), border = rgb(240, 120, 110);
      break;
  }
  if (bright) std::swap(top, bottom), border = kText;
  // Opaque corners in the night colour: faces sit on dark panels and need no transparency.
  Picture face(w, h, kInk);
  face.roundRect(0, 0, static_cast<float>(w), static_cast<float>(h), 4, border);
  Picture inner(w, h);
  inner.gradientRect(0, 0, w, h, top, bottom);
  for (int y = 1; y < h - 1; ++y)
    for (int x = 1; x < w - 1; ++x) {
      bool corner = (x < 3 || x > w - 4) && (y < 3 || y > h - 4);
      if (!corner) face.at(x, y) = inner.at(x, y);
    }
  face.fillRect(2, 1, w - 4, 1, shade(top, 1.25f));
  TextStyle style{textSize, true, text, 0x80000000u};
  TextRenderer::get().drawInBox(face, bright ? 1 : 0, bright ? 1 : 0, w, h, label, style);
  return face;
}

Picture arrowButton(int size, bool left, bool bright) {
  Picture face(size, size, kInk);
  float c = size / 2.0f;
  face.ellipse(c, c, c - 0.5f, c - 0.5f, bright ? kText : kAccentLight);
  face.ellipse(c, c, c - 2.0f, c - 2.0f, bright ? kAccentLight : kAccent);
  float s = size * 0.22f;
  float dir = left ? -1.0f : 1.0f;
  face.polygon({{c + dir * s * 1.2f, c},
                {c - dir * s * 0.8f, c - s * 1.3f},
                {c - dir * s * 0.8f, c + s * 1.3f}},
               kText);
  return face;
}

Picture radioFace(int w, int h, bool checked) {
  Picture face(w, h);
  float c = h / 2.0f;
  face.ellipse(c, c, c - 1.5f, c - 1.5f, kTextDim);
  face.ellipse(c, c, c - 3.0f, c - 3.0f, kInk);
  if (checked) face.ellipse(c, c, c - 5.0f, c - 5.0f, kAccent);
  return face;
}

Picture screenBackground(int w, int h, uint32_t seed) {
  Picture bg(w, h);
  bg.gradientRect(0, 0, w, h, rgb(8, 14, 30), rgb(30, 46, 80));
  for (int x = 0; x < w; x += 16) bg.fillRect(x, 0, 1, h, rgb(255, 255, 255) & 0x0AFFFFFFu);
  for (int y = 0; y < h; y += 16) bg.fillRect(0, y, w, 1, rgb(255, 255, 255) & 0x0AFFFFFFu);
  Random random(seed);
  for (int i = 0; i < w * h / 900; ++i) {
    float x = random.range(0, static_cast<float>(w)), y = random.range(0, h * 0.6f);
    bg.ellipse(x, y, 0.8f, 0.8f, mix(kText, 0, random.range(0.2f, 0.7f)) | 0xFF000000u);
  }
  for (int y = h * 2 / 3; y < h; ++y) {
    float t = static_cast<float>(y - h * 2 / 3) / (h / 3.0f);
    bg.fillRect(0, y, w, 1, (static_cast<uint32_t>(t * 40) << 24) | (kAccent & 0xFFFFFF));
  }
  bg.grain(seed + 1, 0.03f);
  return bg;
}

void panel(Picture& target, int x, int y, int w, int h, uint32_t fill) {
  if (!fill) fill = (0xD0u << 24) | (kInk & 0xFFFFFF);
  target.roundRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                   static_cast<float>(h), 6, rgb(90, 120, 170));
  target.roundRect(x + 1.0f, y + 1.0f, w - 2.0f, h - 2.0f, 5, kInk);
  target.roundRect(x + 1.0f, y + 1.0f, w - 2.0f, h - 2.0f, 5, fill);
}

void titleText(Picture& target, int y, std::string_view text, int size) {
  TextStyle style{size, true, kText, 0xC0000000u};
  TextRenderer::get().drawInBox(target, 0, y, target.width(), size + 8, text, style);
  int width = TextRenderer::get().measure(text, style);
  target.fillRect((target.width() - width) / 2, y + size + 8, width, 2, kAccent);
}

void drawHelicopter(Picture& target, float cx, float cy, float length, uint32_t body, uint32_t trim,
                    float rotorPhase, bool facingLeft, float tilt) {
  const float s = length / 100.0f;
  const float dir = facingLeft ? -1.0f : 1.0f;
  const float ct = std::cos(tilt), st = std::sin(tilt);
  // Model space: nose at +x, up is -y (picture rows grow downwards).
  auto P = [&](float x, float y) {
    float rx = x * ct - y * st, ry = x * st + y * ct;
    return Point2{cx + dir * rx * s, cy + ry * s};
  };
  uint32_t dark = shade(body, 0.6f);
  // Tail boom and fin.
  target.polygon({P(-10, -6), P(-48, -4), P(-50, 2), P(-10, 8)}, dark);
  target.polygon({P(-44, -4), P(-54, -20), P(-49, -20), P(-38, -4)}, body);
  target.ellipse(P(-50, -2).x, P(-50, -2).y, 6 * s, 6 * s, 0x60C8D0E0u);
  // Skids.
  target.line(P(-20, 22).x, P(-20, 22).y, P(24, 22).x, P(24, 22).y, 2.2f * s, rgb(60, 60, 70));
  target.line(P(-8, 14).x, P(-8, 14).y, P(-10, 22).x, P(-10, 22).y, 1.6f * s, rgb(60, 60, 70));
  target.line(P(12, 14).x, P(12, 14).y, P(14, 22).x, P(14, 22).y, 1.6f * s, rgb(60, 60, 70));
  // Cabin.
  std::vector<Point2> cabin;
  for (int i = 0; i < 24; ++i) {
    float a = 6.2831853f * i / 24;
    cabin.push_back(P(4 + 26 * std::cos(a), 2 + 14 * std::sin(a)));
  }
  target.polygon(cabin, body);
  target.polygon({P(-14, 2), P(26, 2), P(24, 6), P(-16, 6)}, trim);
  // Canopy.
  std::vector<Point2> glass;
  for (int i = 0; i <= 12; ++i) {
    float a = 3.14159265f * (1.0f + i / 12.0f);
    glass.push_back(P(14 + 14 * std::cos(a) * 0.9f + 6, -1 + 11 * std::sin(a)));
  }
  target.polygon(glass, rgb(150, 220, 255));
  target.polygon({P(14, -9), P(22, -6), P(16, -4)}, 0xC0FFFFFFu);
  // Mast and rotor blur.
  target.line(P(2, -12).x, P(2, -12).y, P(2, -19).x, P(2, -19).y, 2.5f * s, rgb(70, 70, 80));
  float blade = 46 * std::cos(rotorPhase * 6.2831853f);
  target.ellipse(P(2, -20).x, P(2, -20).y, 46 * s, 2.2f * s, 0x50DDE6F0u);
  target.line(P(2 - blade, -20).x, P(2 - blade, -20).y, P(2 + blade, -20).x, P(2 + blade, -20).y,
              2.4f * s, rgb(40, 40, 48));
  target.ellipse(P(2, -20).x, P(2, -20).y, 3 * s, 2 * s, trim);
}

}  // namespace content
