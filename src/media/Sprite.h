// Sprite: a rectangle of flat screen content in a SceneSprite. Depending on its status it shows
// its normal or bright picture (clipped to a source rectangle, keyed, scaled to the sprite) or a
// plain colour, then an optional one-pixel frame, then its text with a bitmap font or a GDI
// font.
//
// Position and size (the SceneObject fields) are pixels relative to the scene. The sprite owns
// its texts; its Images belong to an ImageCache and its bitmap fonts to the page, and both must
// outlive it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "media/BitmapFont.h"
#include "media/Image.h"
#include "media/SpriteGdi.h"
#include "scene/Scene.h"

namespace media {

class Sprite : public scene::SceneObject {
 public:
  // "No colour" for color, brightColor and frameColor.
  static constexpr uint32_t kNoColor = 0xFFFFFFFF;
  static constexpr int kDefaultTextSize = 16;
  static constexpr int kInitialTextCapacity = 5;
  enum GuiKind : int32_t {
    kPlain = 0,
    kButton = 1,
    kCheckbox = 2,
    kHyperlink = 3,
    kTiplink = 4,
    kEditbox = 5
  };
  enum Alignment : int32_t { kLeft = 0, kCenter = 1, kRight = 2 };

  // Visible, normal status, no pictures, the clip the whole size, no colours, empty text.
  Sprite(int x, int y, int width, int height);
  ~Sprite() override = default;

  // Stores a copy of `text`. Then each backslash followed by 'n' becomes a line feed followed by
  // a carriage return (the line break bitmap fonts look for) and each "^c" becomes ": ", since
  // template values cannot hold a colon. The capacity is replaced by length + 1 when
  // `reallocate` is set or the text does not fit.
  void setText(std::string_view text, bool reallocate = false);
  const std::string& text() const { return text_; }
  int textCapacity() const { return textCapacity_; }
  void setFontFace(std::string_view face) { fontFace = std::string(face); }
  void setPosition(int px, int py) {
    x = px;
    y = py;
  }
  void setSize(int w, int h) {
    width = w;
    height = h;
  }

  // Attaches the pictures (either may be null). A negative width or height takes the size of
  // the current frame of the normal picture (of the bright one without a normal one). The clip
  // is (clipX, clipY, clipW, clipH) when all four are >= 0, else that whole frame.
  void setImages(Image* normal, Image* bright, int clipX = -1, int clipY = -1, int clipW = -1,
                 int clipH = -1);
  // Stretches each picture whose size differs from the sprite's to the sprite's size, then
  // attaches them again with the whole picture as clip. The Images are shared through their
  // cache, so every user sees the change.
  void fitImagesToSize();
  // A new sprite with every field copied; pictures and fonts are shared.
  std::unique_ptr<Sprite> clone() const;

  // Visible sprites with a GUI kind take the stylus; edges included.
  bool hitTest(int px, int py) const override;

  // Draws the sprite with its top-left at (px, py) of `target`. `dt` advances an animated
  // picture, at most once per `frameNumber` however many sprites share it.
  void draw(const PaintTarget& target, int px, int py, float dt, uint32_t frameNumber);

  int32_t elementKind = 0;
  int32_t status = 0;
  uint32_t homePosition = 0;
  bool persistent = false;
  Image* normalImage = nullptr;
  Image* brightImage = nullptr;
  int clipX = 0;
  int clipY = 0;
  int clipW = 0;
  int clipH = 0;
  // Animated pictures play only when set.
  bool animationEnabled = true;
  uint32_t color = kNoColor;
  uint32_t brightColor = kNoColor;
  uint32_t frameColor = kNoColor;
  int32_t textSize = 0;  // 0 means kDefaultTextSize
  int32_t textWeight = 400;
  uint32_t textColor = 0;
  int32_t textAlignment = kLeft;
  bool textItalic = false;
  bool textUnderline = false;
  int32_t textOffsetX = 0;
  int32_t textOffsetY = 0;
  bool textFormatted = true;
  int32_t guiKind = kPlain;
  BitmapFont* normalFont = nullptr;
  BitmapFont* brightFont = nullptr;
  std::string linkText;
  std::string fontFace;

 private:
  void drawPicture(const PaintTarget& target, Image& picture, int px, int py, float dt,
                   uint32_t frameNumber);
  void drawText(const PaintTarget& target, int px, int py);

  int textCapacity_ = kInitialTextCapacity;
  std::string text_;
};

}  // namespace media
