// The pictures on the flyers' boxes: one per value, painted once when the battle is set up so
// that a re-spawn only swaps the box's texture.
#include <memory>
#include <string>

#include "engine3d/Texture.h"
#include "game/Flyable.h"
#include "media/BitmapFont.h"
#include "media/Blit.h"
#include "media/SpriteGdi.h"
#include "media/Surface.h"

namespace game {

namespace {

constexpr int kBoxSide = 128;

std::shared_ptr<engine3d::Texture> textureOf(const media::Surface& picture) {
  std::vector<std::uint32_t> pixels(static_cast<size_t>(picture.width() * picture.height()));
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      pixels[static_cast<size_t>(y * picture.width() + x)] = picture.getPixel(x, y);
  return std::make_shared<engine3d::PixelTexture>(picture.width(), picture.height(),
                                                  std::move(pixels));
}

}  // namespace

void paintFlyerBoxes(FlyerShared& shared, const std::string& folder,
                     const media::BitmapFont* font) {
  // Device depth throughout, the depth bitmap fonts are kept in, so that every copy is legal.
  std::unique_ptr<media::Surface> box = media::loadSurface(folder + "box.jpg", true, false);
  std::unique_ptr<media::Surface> cross = media::loadSurface(folder + "redcross.gif", true, false);
  for (size_t index = 0; index < shared.boxes.size(); ++index) {
    std::unique_ptr<media::Surface> picture = media::Surface::create(kBoxSide, kBoxSide, true);
    if (!picture) return;
    if (box)
      media::stretchBlit(*picture, *box, 0, 0, kBoxSide, kBoxSide, 0, 0, box->width(),
                         box->height());
    if (index == 0) {
      if (cross)
        media::blit(*picture, *cross, (kBoxSide - cross->width()) / 2,
                    (kBoxSide - cross->height()) / 2, 0, 0, cross->width(), cross->height(),
                    cross->transparent ? cross->transparentColor : media::kNoColorKey);
    } else if (font && font->canDraw()) {
      font->drawTextWrapped(media::PaintTarget::of(*picture), host::Rect{0, 20, kBoxSide, kBoxSide},
                            std::to_string(10 * index), 80, 1);
    }
    shared.boxes[index] = textureOf(*picture);
  }
}

}  // namespace game
