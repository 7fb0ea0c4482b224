#include "media/DialogParts.h"

#include "media/Runtime.h"

#include "media/Image.h"
#include "media/SceneSprite.h"
#include "media/SpriteCreators.h"
#include "platform/ProcessSwitches.h"

namespace media {

using platform::scaleInt;

uint32_t homeOf(const Sprite& sprite) {
  return (static_cast<uint32_t>(sprite.x) << 16) | (static_cast<uint32_t>(sprite.y) & 0xFFFF);
}

void goHome(Sprite& sprite, int offset) {
  sprite.x = static_cast<int>(sprite.homePosition >> 16) + offset;
  sprite.y = static_cast<int>(sprite.homePosition & 0xFFFF) + offset;
}

Image* dialogPicture(Runtime& runtime, std::string_view directory, std::string_view name) {
  if (name.empty()) return nullptr;
  Image* image = runtime.spriteImages().get(directory, name);
  return image && image->currentSurface() ? image : nullptr;
}

SceneSprite* addDialogScene(scene::Canvas& canvas, std::string_view sceneName, Image* background,
                            std::string_view frameName, uint32_t textColor) {
  const bool dark = isDarkColor(textColor);
  const int w = scaleInt(230), h = scaleInt(200);
  auto owned = std::make_unique<SceneSprite>((canvas.clientWidth() - w) / 2,
                                             (canvas.clientHeight() - h) / 2, w, h, 0, background);
  owned->indexTextOffsetX = scaleInt(10);
  owned->indexTextOffsetY = scaleInt(-10);
  owned->visible = false;
  auto* scene = static_cast<SceneSprite*>(canvas.addScene(sceneName, std::move(owned)));
  if (!background) {
    auto frame = std::make_unique<Sprite>(0, 0, w, h);
    frame->frameColor = dark ? invertColor(0xFFFFFF) : 0xFFFFFF;
    scene->addSprite(std::move(frame), frameName);
    scene->bkgColor = static_cast<int32_t>(dark ? invertColor(0x3C3C3C) : 0x3C3C3C);
  }
  return scene;
}

std::unique_ptr<Sprite> commandKey(int x, int y, int w, int h, std::string_view label,
                                   Image* bigKey, uint32_t textColor, int textOffsetY) {
  const bool dark = isDarkColor(textColor);
  auto shade = [dark](uint32_t c) { return dark ? invertColor(c) : c; };
  auto k = std::make_unique<Sprite>(scaleInt(x), scaleInt(y), scaleInt(w), scaleInt(h));
  if (bigKey) {
    k->setImages(bigKey, bigKey);
    k->setSize(scaleInt(w), scaleInt(h));
  } else {
    k->color = shade(0x5A503C);
    k->brightColor = shade(0x32281E);
    k->frameColor = shade(0x000000);
  }
  k->setText(label);
  k->textSize = scaleInt(16);
  k->textOffsetY = scaleInt(textOffsetY);
  k->textAlignment = Sprite::kCenter;
  k->textColor = invertColor(textColor);
  k->guiKind = Sprite::kButton;
  k->homePosition = homeOf(*k);
  return k;
}

}  // namespace media
