#include "media/SceneSprite.h"

#include <string>

#include "host/Host.h"
#include "media/Blit.h"
#include "platform/ProcessSwitches.h"
#include "scene/Canvas.h"

namespace media {

namespace {

host::Gdi& gdi() {
  return host::Host::get().gdi();
}

// At most `chars` characters (bytes of UTF-8 text; a cut never splits a character).
std::string cut(std::string_view text, size_t chars) {
  if (text.size() <= chars) return std::string(text);
  size_t n = chars;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return std::string(text.substr(0, n));
}

}  // namespace

SceneSprite::SceneSprite(int px, int py, int w, int h, int32_t bkg, Image* texture)
    : Scene(kSprite), bkgTexture(texture), indexTextSize(platform::scaleInt(kIndexTextSize)) {
  x = px;
  y = py;
  width = w;
  height = h;
  bkgColor = bkg;
}

SceneSprite::~SceneSprite() {
  if (indexFont_) gdi().deleteObject(indexFont_);
}

Sprite* SceneSprite::addSprite(std::unique_ptr<Sprite> sprite, std::string_view spriteName) {
  if (!sprite) return nullptr;
  sprite->name = cut(spriteName, kNameChars);
  return static_cast<Sprite*>(addObject(std::move(sprite)));
}

Sprite* SceneSprite::addSprite(std::unique_ptr<Sprite> sprite, std::string_view spriteName,
                               std::string_view label) {
  if (!sprite) return nullptr;
  sprite->indexLabel = cut(label, kIndexLabelChars);
  return addSprite(std::move(sprite), spriteName);
}

Sprite* SceneSprite::spriteAt(int i) const {
  if (i < 0 || i >= count()) return nullptr;
  return dynamic_cast<Sprite*>(objects()[i].get());
}

Sprite* SceneSprite::findSprite(std::string_view spriteName) const {
  for (const auto& o : objects())
    if (o->name == spriteName)
      if (auto* s = dynamic_cast<Sprite*>(o.get())) return s;
  return nullptr;
}

bool SceneSprite::removeSprite(std::string_view spriteName) {
  Sprite* s = findSprite(spriteName);
  if (!s) return false;
  removeObject(s);
  return true;
}

bool SceneSprite::removeAt(int i) {
  if (i < 0 || i >= count()) return false;
  removeObject(objects()[i].get());
  return true;
}

void SceneSprite::clear() {
  while (count() > 0) removeObject(objects().back().get());
}

scene::SceneObject* SceneSprite::hitTest(int px, int py) const {
  for (auto it = objects().rbegin(); it != objects().rend(); ++it) {
    auto* s = dynamic_cast<Sprite*>(it->get());
    if (s && s->hitTest(px, py)) return s;
  }
  return nullptr;
}

bool SceneSprite::hasBackground() const {
  return (bkgTexture && bkgTexture->currentSurface()) || bkgColor != -1;
}

bool SceneSprite::createBuffer() {
  buffer_ = Surface::create(width, height, useDeviceCompatibleBitmap);
  if (!buffer_) return false;
  if (!hasBackground())
    fill(*buffer_, static_cast<uint32_t>(transparentColor < 0 ? 0 : transparentColor), 0, 0, -1, -1,
         true);
  gdi().setBkMode(buffer_->dc(), host::TRANSPARENT);
  return true;
}

scene::DrawTarget SceneSprite::bufferTarget() const {
  scene::DrawTarget t;
  if (!buffer_) return t;
  t.dc = buffer_->dc();
  t.pixels = const_cast<uint8_t*>(buffer_->bits());
  t.width = buffer_->width();
  t.height = buffer_->height();
  t.pitch = buffer_->stride();
  t.bitsPerPixel = buffer_->bitsPerPixel();
  t.bitmap = buffer_->bitmap();
  return t;
}

bool SceneSprite::bufferMatchesTarget() const {
  // The canvas copies 16-bit RGB565 pixels straight; anything else goes through the context.
  return buffer_ && buffer_->bitsPerPixel() == 16 && !buffer_->layout().swapRedBlue;
}

Surface* SceneSprite::drawingSurface() {
  if (!buffered) {
    buffer_.reset();
    return explicitTarget_;
  }
  if (!buffer_) createBuffer();
  return buffer_.get();
}

void SceneSprite::beginFrame(bool clearBuffer, float seconds) {
  if (!buffered) return;
  Surface* s = drawingSurface();
  if (!s) return;
  if (clearBuffer && !hasBackground())
    fill(*s, static_cast<uint32_t>(transparentColor < 0 ? 0 : transparentColor), 0, 0, -1, -1,
         true);
  if (visible) render(seconds);
}

void SceneSprite::paintBackground(const PaintTarget& target, int ox, int oy) {
  const Surface* frame = bkgTexture ? bkgTexture->currentSurface() : nullptr;
  if (!target.surface) {
    // An unbuffered scene drawing on the canvas back buffer reaches it only by its context.
    if (!target.dc) return;
    if (frame) {
      if (frame->transparent)
        frame->transparentBlt(target.dc, ox, oy, width, height, frame->transparentColor);
      else
        frame->stretchBlt(target.dc, ox, oy, width, height, host::SRCCOPY);
    } else if (bkgColor != -1) {
      fillRect(target.dc, host::Rect{ox, oy, ox + width, oy + height},
               static_cast<uint32_t>(bkgColor));
    }
    return;
  }
  Surface& dst = *target.surface;
  if (frame) {
    uint32_t key = frame->transparent ? frame->transparentColor : kNoColorKey;
    if (frame->width() == width && frame->height() == height)
      blit(dst, *frame, ox, oy, 0, 0, -1, -1, key);
    else
      stretchBlit(dst, *frame, ox, oy, width, height, 0, 0, -1, -1, key);
  } else if (bkgColor != -1) {
    fill(dst, static_cast<uint32_t>(bkgColor), ox, oy, width, height, true);
  }
}

void SceneSprite::drawContent(const scene::DrawTarget& target, int ox, int oy, float seconds) {
  Surface* s = drawingSurface();
  PaintTarget paint = s ? PaintTarget::of(*s) : PaintTarget::ofDc(target.dc);
  drawFrame(paint, ox, oy, seconds);
}

void SceneSprite::drawFrame(const PaintTarget& target, int ox, int oy, float seconds) {
  if (seconds > 0) ++frameCounter_;
  paintBackground(target, ox, oy);
  if (!target.valid()) return;
  for (const auto& o : objects()) {
    auto* s = dynamic_cast<Sprite*>(o.get());
    if (s && s->visible) s->draw(target, ox + s->x, oy + s->y, seconds, frameCounter_);
  }
  if (canvas() && canvas()->typeToTap && target.dc) drawIndexLabels(target.dc, ox, oy);
}

void SceneSprite::drawIndexLabels(host::Hdc dc, int ox, int oy) {
  if (!indexFont_) indexFont_ = createFont(indexTextSize, host::FW_NORMAL, false, false, "");
  host::ColorRef oldColor = gdi().setTextColor(dc, 0);
  int oldMode = gdi().setBkMode(dc, host::TRANSPARENT);
  host::Hgdiobj oldFont = gdi().selectObject(dc, indexFont_);
  for (const auto& o : objects()) {
    auto* s = dynamic_cast<Sprite*>(o.get());
    if (!s || !s->visible || s->indexLabel.empty()) continue;
    int lx = ox + s->x - 6 * static_cast<int>(s->indexLabel.size()) + indexTextOffsetX + 4;
    int ly = oy + s->y + indexTextOffsetY;
    gdi().setTextColor(dc, 0);
    textOut(dc, lx + 1, ly + 1, s->indexLabel);
    gdi().setTextColor(dc, gdiColor(indexTextColor));
    textOut(dc, lx, ly, s->indexLabel);
  }
  gdi().setTextColor(dc, oldColor);
  gdi().setBkMode(dc, oldMode);
  if (oldFont) gdi().selectObject(dc, oldFont);
}

}  // namespace media
