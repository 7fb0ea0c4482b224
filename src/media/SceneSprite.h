// SceneSprite: the scene of flat screen content. Each frame it paints its background (colour or
// picture) and then its sprites in list order, the first at the bottom; with the page's
// type-to-tap mode it also writes each sprite's index label beside it.
//
// A buffered SceneSprite draws into a Surface of its own (made on first use, of the display
// depth when `useDeviceCompatibleBitmap` is set, else 32 bits), which the canvas composes onto
// its back buffer. An unbuffered one draws onto the Surface given with setTarget(), or else
// through the device context of the canvas back buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "media/Image.h"
#include "media/Sprite.h"
#include "media/SpriteGdi.h"
#include "media/Surface.h"
#include "scene/Scene.h"

namespace media {

class SceneSprite : public scene::Scene {
 public:
  static constexpr size_t kIndexLabelChars = 4;
  static constexpr int kIndexTextSize = 12;

  // `bkgColor` 0x00RRGGBB or -1 for none; `bkgTexture` may be null (it is not owned).
  SceneSprite(int x, int y, int width, int height, int32_t bkgColor = -1,
              Image* bkgTexture = nullptr);
  ~SceneSprite() override;

  // Takes `sprite`, names it (at most 64 characters) and appends it on top; returns it.
  Sprite* addSprite(std::unique_ptr<Sprite> sprite, std::string_view name);
  // The same with an index label of at most 4 characters.
  Sprite* addSprite(std::unique_ptr<Sprite> sprite, std::string_view name,
                    std::string_view indexLabel);
  // The first sprite named exactly `name`; null when none.
  Sprite* findSprite(std::string_view name) const;
  // Destroys the first sprite named `name`; false when none.
  bool removeSprite(std::string_view name);
  // Destroys object i; false out of range.
  bool removeAt(int i);
  void clear();
  int count() const { return static_cast<int>(objects().size()); }
  // Sprite i; null out of range or when object i is not a Sprite.
  Sprite* spriteAt(int i) const;

  // The topmost visible GUI sprite (button, checkbox, link, edit box) whose rectangle, edges
  // included, holds the scene-relative point; null when none. Plain sprites never take the
  // stylus.
  scene::SceneObject* hitTest(int px, int py) const override;

  // A Surface to draw on when unbuffered, in place of the canvas back buffer. Not owned.
  void setTarget(Surface* surface) { explicitTarget_ = surface; }
  Surface* targetSurface() const { return explicitTarget_; }
  // The Surface the scene draws on: its own buffer (made on first use) when buffered, else the
  // setTarget() Surface (null when none). An own buffer left over from buffered days is dropped.
  Surface* drawingSurface();
  // Buffered scenes only: with `clear` and neither background picture nor colour the own
  // buffer is filled with transparentColor; then a visible scene draws a frame of `seconds`.
  void beginFrame(bool clear, float seconds);
  // The background at the scene origin on `target` (origin (0, 0) when buffered): the
  // picture's current frame copied (same size) or stretched over the scene, with its key, or
  // else the scene rectangle filled with bkgColor.
  void paintBackground(const PaintTarget& target, int originX, int originY);

  // Number of frames drawn with time passing.
  uint32_t frameCounter() const { return frameCounter_; }

  Image* bkgTexture = nullptr;
  int indexTextOffsetX = 0;
  int indexTextOffsetY = 0;
  uint32_t indexTextColor = 0xFFFF00;
  // Cell height of the index label font (display-scaled at construction).
  int indexTextSize;

  scene::DrawTarget bufferTarget() const override;
  bool bufferMatchesTarget() const override;

 protected:
  void drawContent(const scene::DrawTarget& target, int originX, int originY,
                   float seconds) override;
  bool createBuffer() override;

 private:
  void drawFrame(const PaintTarget& target, int originX, int originY, float seconds);
  void drawIndexLabels(host::Hdc dc, int originX, int originY);
  bool hasBackground() const;

  std::unique_ptr<Surface> buffer_;
  Surface* explicitTarget_ = nullptr;
  host::Hfont indexFont_ = 0;
  uint32_t frameCounter_ = 0;
};

}  // namespace media
