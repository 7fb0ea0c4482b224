#include "media/Sprite.h"

#include "host/Host.h"
#include "media/Blit.h"

namespace media {

Sprite::Sprite(int px, int py, int w, int h) {
  x = px;
  y = py;
  width = w;
  height = h;
  clipW = w;
  clipH = h;
}

void Sprite::setText(std::string_view text, bool reallocate) {
  int needed = static_cast<int>(text.size()) + 1;
  if (reallocate || needed > textCapacity_) textCapacity_ = needed;
  text_.clear();
  text_.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    bool pair = i + 1 < text.size();
    if (pair && text[i] == '\\' && text[i + 1] == 'n') {
      text_ += "\n\r";
      ++i;
    } else if (pair && text[i] == '^' && text[i + 1] == 'c') {
      text_ += ": ";
      ++i;
    } else {
      text_.push_back(text[i]);
    }
  }
}

void Sprite::setImages(Image* normal, Image* bright, int cx, int cy, int cw, int ch) {
  normalImage = normal;
  brightImage = bright;
  Image* sizing = normal ? normal : bright;
  const Surface* frame = sizing ? sizing->currentSurface() : nullptr;
  int fw = frame ? frame->width() : 0;
  int fh = frame ? frame->height() : 0;
  if (frame && (width < 0 || height < 0)) {
    width = fw;
    height = fh;
  }
  if (cx >= 0 && cy >= 0 && cw >= 0 && ch >= 0) {
    clipX = cx;
    clipY = cy;
    clipW = cw;
    clipH = ch;
  } else {
    clipX = 0;
    clipY = 0;
    clipW = fw;
    clipH = fh;
  }
}

void Sprite::fitImagesToSize() {
  for (Image* image : {normalImage, brightImage}) {
    if (!image || !image->currentSurface()) continue;
    if (image->width() == width && image->height() == height) continue;
    image->resize(width, height);
  }
  setImages(normalImage, brightImage);
}

std::unique_ptr<Sprite> Sprite::clone() const {
  auto copy = std::make_unique<Sprite>(x, y, width, height);
  copy->name = name;
  copy->indexLabel = indexLabel;
  copy->visible = visible;
  copy->elementKind = elementKind;
  copy->status = status;
  copy->homePosition = homePosition;
  copy->persistent = persistent;
  copy->normalImage = normalImage;
  copy->brightImage = brightImage;
  copy->clipX = clipX;
  copy->clipY = clipY;
  copy->clipW = clipW;
  copy->clipH = clipH;
  copy->animationEnabled = animationEnabled;
  copy->color = color;
  copy->brightColor = brightColor;
  copy->frameColor = frameColor;
  copy->textSize = textSize;
  copy->textWeight = textWeight;
  copy->textColor = textColor;
  copy->textAlignment = textAlignment;
  copy->textItalic = textItalic;
  copy->textUnderline = textUnderline;
  copy->textOffsetX = textOffsetX;
  copy->textOffsetY = textOffsetY;
  copy->textFormatted = textFormatted;
  copy->guiKind = guiKind;
  copy->normalFont = normalFont;
  copy->brightFont = brightFont;
  copy->linkText = linkText;
  copy->fontFace = fontFace;
  copy->textCapacity_ = textCapacity_;
  copy->text_ = text_;
  return copy;
}

bool Sprite::hitTest(int px, int py) const {
  return visible && guiKind != kPlain && px >= x && px <= x + width && py >= y && py <= y + height;
}

void Sprite::drawPicture(const PaintTarget& target, Image& picture, int px, int py, float dt,
                         uint32_t frameNumber) {
  if (animationEnabled && picture.animated() && picture.lastAdvanceStamp != frameNumber) {
    picture.advance(dt);
    picture.lastAdvanceStamp = frameNumber;
  }
  Surface* frame = picture.currentSurface();
  if (!frame) return;
  bool sameSize = width == clipW && height == clipH;
  bool ownLoops = target.surface && target.surface->bitsPerPixel() == frame->bitsPerPixel();
  uint32_t key = frame->transparent ? frame->transparentColor : kNoColorKey;
  if (ownLoops) {
    if (sameSize)
      blit(*target.surface, *frame, px, py, clipX, clipY, clipW, clipH, key);
    else
      stretchBlit(*target.surface, *frame, px, py, width, height, clipX, clipY, clipW, clipH, key);
    return;
  }
  if (!target.dc) return;
  if (frame->transparent) {
    if (key == kNoColorKey)
      frame->bitBlt(target.dc, px, py, host::SRCCOPY);
    else
      frame->transparentBlt(target.dc, px, py, width, height, key, clipX, clipY, clipW, clipH);
  } else if (sameSize) {
    frame->bitBlt(target.dc, px, py, host::SRCCOPY);
  } else {
    frame->stretchBlt(target.dc, px, py, width, height, host::SRCCOPY, clipX, clipY, clipW, clipH);
  }
}

void Sprite::drawText(const PaintTarget& target, int px, int py) {
  int size = textSize ? textSize : kDefaultTextSize;
  host::Rect rect;
  rect.left = px + textOffsetX + 1;
  rect.top = py + textOffsetY;
  rect.right = px + textOffsetX + width - 2;
  rect.bottom = rect.top + height;
  BitmapFont* font = status == 0 ? normalFont : brightFont;
  if (font) {
    if (textFormatted)
      font->drawTextWrapped(target, rect, text_, size, textAlignment);
    else
      font->drawText(target, rect.left, rect.top, text_, size);
    return;
  }
  if (!target.dc) return;
  host::Host::get().gdi().setTextColor(target.dc, gdiColor(textColor));
  // The font stays selected for the next sprite, which usually wants the same one.
  selectFont(target.dc, size, textWeight, textItalic, textUnderline, fontFace);
  if (textFormatted) {
    uint32_t format = textAlignment == kCenter  ? host::DT_CENTER
                      : textAlignment == kRight ? host::DT_RIGHT
                                                : host::DT_LEFT;
    drawTextInRect(target.dc, rect, text_, format);
  } else {
    textOut(target.dc, rect.left, rect.top, text_);
  }
}

void Sprite::draw(const PaintTarget& target, int px, int py, float dt, uint32_t frameNumber) {
  if (!target.valid()) return;
  Image* picture = status != 0 ? brightImage : normalImage;
  if (picture && picture->currentSurface()) {
    drawPicture(target, *picture, px, py, dt, frameNumber);
  } else {
    uint32_t fillColor = status == 0 ? color : status == 1 ? brightColor : kNoColor;
    if (fillColor != kNoColor) {
      if (target.surface)
        fill(*target.surface, fillColor, px, py, width, height, true);
      else
        fillRect(target.dc, host::Rect{px, py, px + width, py + height}, fillColor);
    }
  }
  if (frameColor != kNoColor) {
    if (target.surface) {
      fill(*target.surface, frameColor, px - 1, py - 1, width + 2, height + 2, false);
    } else {
      host::Gdi& gdi = host::Host::get().gdi();
      host::Hpen pen = gdi.createPen(host::PS_SOLID, 1, gdiColor(frameColor));
      host::Hgdiobj oldPen = gdi.selectObject(target.dc, pen);
      host::Hgdiobj oldBrush = gdi.selectObject(target.dc, gdi.stockObject(host::NULL_BRUSH));
      gdi.rectangle(target.dc, px - 1, py - 1, px + width + 1, py + height + 1);
      gdi.selectObject(target.dc, oldBrush);
      gdi.selectObject(target.dc, oldPen);
      gdi.deleteObject(pen);
    }
  }
  if (!text_.empty()) drawText(target, px, py);
}

}  // namespace media
