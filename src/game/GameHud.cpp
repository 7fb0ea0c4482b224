#include "game/GameHud.h"

#include <cstdio>
#include <cstring>

#include "engine3d/Camera.h"
#include "game/Battle.h"
#include "game/Effects.h"
#include "game/GameCanvas.h"
#include "host/Gdi.h"
#include "host/Host.h"
#include "media/Blit.h"
#include "media/Image.h"
#include "media/Scene3D.h"
#include "media/SceneSprite.h"
#include "media/Sprite.h"
#include "media/SpriteGdi.h"
#include "media/Surface.h"
#include "platform/ProcessSwitches.h"

namespace game {

namespace {

constexpr std::uint32_t kFrameGrey = 0x404040;  // round each health bar
constexpr std::uint32_t kMapFrame = 0x004000;   // round the radar
constexpr std::uint32_t kWreck = 0x808080;
constexpr std::uint32_t kEnemy = 0xFF0000;
constexpr std::uint32_t kTeamA = 0x00FF00;
constexpr std::uint32_t kMarker = 0xFFFF00;

// The picture a sprite shows now, as a Surface to paint on; null when it has none.
media::Surface* pictureOf(media::Image* image) {
  return image ? image->currentSurface() : nullptr;
}

}  // namespace

GameHud::GameHud() = default;
GameHud::~GameHud() = default;

void GameHud::setUp(const GameCanvasObjects& o, const Battle& battle,
                    const std::string& levelFolder, const std::string& charactersFolder) {
  // The console: a picture of its own at the sprite's size on the screen, the template's
  // picture stretched over it, with the icons and frames painted in display units.
  if (o.console) {
    console_ = std::make_unique<media::Image>(o.console->width, o.console->height, 0, false);
    media::Surface* base = pictureOf(o.console->normalImage);
    media::Surface* own = pictureOf(console_.get());
    if (base && own && base->bitsPerPixel() == own->bitsPerPixel())
      media::stretchBlit(*own, *base, 0, 0, own->width(), own->height(), 0, 0, base->width(),
                         base->height());
    o.console->setImages(console_.get(), nullptr);
  }
  media::Surface* console = pictureOf(console_.get());
  const int unit28 = platform::scaleInt(28);
  const int unit30 = platform::scaleInt(30);
  for (int slot = 0; slot < kHelicopters; ++slot) {
    media::Sprite* bar = o.health[static_cast<size_t>(slot)];
    if (!bar) continue;
    fullWidth_[static_cast<size_t>(slot)] = bar->width;
    if (!console || !o.console) continue;
    const int x = bar->x - o.console->x;
    const int y = bar->y - o.console->y;
    const std::string icon =
        charactersFolder + battle.settings().characters[static_cast<size_t>(slot)] + "_chopper.gif";
    if (std::unique_ptr<media::Surface> picture = media::loadSurface(icon, true, false)) {
      const std::uint32_t key =
          picture->transparent ? picture->transparentColor : media::kNoColorKey;
      if (picture->bitsPerPixel() == console->bitsPerPixel())
        media::stretchBlit(*console, *picture, x, y - unit30, unit28, unit28, 0, 0,
                           picture->width(), picture->height(), key);
    }
    media::fill(*console, kFrameGrey, x - 1, y - 1, bar->width + 2, bar->height + 2, false);
  }

  // The radar: the room's map stretched over a picture of the sprite's size, framed; kept as the
  // base every refresh starts from.
  if (o.map) {
    map_ = std::make_unique<media::Image>(o.map->width, o.map->height, 0, false);
    media::Surface* picture = pictureOf(map_.get());
    if (picture) {
      char name[32];
      std::snprintf(name, sizeof name, "map%d.jpg", battle.settings().level);
      if (std::unique_ptr<media::Surface> room =
              media::loadSurface(levelFolder + name, true, false);
          room && room->bitsPerPixel() == picture->bitsPerPixel())
        media::stretchBlit(*picture, *room, 0, 0, picture->width(), picture->height(), 0, 0,
                           room->width(), room->height());
      media::fill(*picture, kMapFrame, 0, 0, picture->width(), picture->height(), false);
      mapBase_ = picture->copy();
    }
    o.map->setImages(map_.get(), nullptr);
    const engine3d::Vector3& e = battle.extent();
    scaleX_ = e.x > 0.0f ? static_cast<float>(o.map->width) / e.x : 0.0f;
    scaleZ_ = e.z > 0.0f ? static_cast<float>(o.map->height) / e.z : 0.0f;
  }
}

void GameHud::showControlStyle(const GameCanvasObjects& o, int style,
                               const std::string& guiFolder) {
  if (!o.speedControl) return;
  const char* names[2][2] = {{"autospeedmode.bmp", "maxspeedmode.bmp"}, {"vmode.bmp", "hmode.bmp"}};
  const int row = style == 1 ? 1 : 0;
  for (int i = 0; i < 2; ++i) {
    auto& picture = speedPictures_[static_cast<size_t>(2 * row + i)];
    if (!picture) picture = std::make_unique<media::Image>(guiFolder + names[row][i]);
  }
  o.speedControl->setImages(speedPictures_[static_cast<size_t>(2 * row)].get(),
                            speedPictures_[static_cast<size_t>(2 * row + 1)].get());
}

void GameHud::refresh(const GameCanvasObjects& o, const Battle& battle) {
  media::Surface* picture = pictureOf(map_.get());
  if (picture && mapBase_) {
    std::memcpy(picture->bits(), mapBase_->bits(), static_cast<size_t>(picture->imageSize()));
    const int u = platform::scaleInt(1);
    const float cx = static_cast<float>(picture->width()) / 2.0f;
    const float cy = static_cast<float>(picture->height()) / 2.0f;
    for (int slot = 0; slot < kHelicopters; ++slot) {
      const Gunship& ship = battle.gunship(slot);
      const int x = static_cast<int>(cx + ship.position.x * scaleX_);
      const int y = static_cast<int>(cy - ship.position.z * scaleZ_);
      const std::uint32_t colour = ship.dead ? kWreck : ship.enemy() ? kEnemy : kTeamA;
      media::fill(*picture, colour, x - u, y - u, 2 * u + 1, 2 * u + 1, true);
      if (slot == battle.viewedSlot())
        media::fill(*picture, kWreck, x - 2 * u - 1, y - 2 * u - 1, 4 * u + 3, 4 * u + 3, false);
    }
  }
  for (int slot = 0; slot < kHelicopters; ++slot)
    if (media::Sprite* bar = o.health[static_cast<size_t>(slot)])
      bar->setSize(battle.gunship(slot).health * fullWidth_[static_cast<size_t>(slot)] / 100,
                   bar->height);
  char text[16];
  for (int team = 0; team < 2; ++team) {
    if (media::Sprite* score = o.scores[static_cast<size_t>(team)]) {
      std::snprintf(text, sizeof text, "%d", battle.score(team));
      score->setText(text);
    }
  }
}

void GameHud::drawOverlay(host::Hdc dc, Battle& battle, int viewX, int viewY, const char* info) {
  host::Gdi& gdi = host::Host::get().gdi();
  engine3d::Camera* camera = battle.camera().camera();
  if (camera) {
    int width = 0, height = 0;
    camera->getViewport(width, height);
    const int half = platform::scaleInt(5);
    host::Hpen pen = gdi.createPen(host::PS_SOLID, 1, media::gdiColor(kMarker));
    host::Hgdiobj oldPen = gdi.selectObject(dc, pen);
    host::Hgdiobj oldBrush = gdi.selectObject(dc, gdi.stockObject(host::NULL_BRUSH));
    for (int slot = 2; slot < kHelicopters; ++slot) {
      const Gunship& enemy = battle.gunship(slot);
      if (enemy.dead) continue;
      float x = 0.0f, y = 0.0f;
      if (!projectToScreen(*camera, enemy.position, x, y)) continue;
      if (!(x > 0.0f && y > 0.0f && x < static_cast<float>(width) &&
            y < static_cast<float>(height)))
        continue;
      const int px = viewX + static_cast<int>(x);
      const int py = viewY + static_cast<int>(y);
      gdi.rectangle(dc, px - half, py - half, px + half + 1, py + half + 1);
    }
    gdi.selectObject(dc, oldBrush);
    gdi.selectObject(dc, oldPen);
    gdi.deleteObject(pen);
  }
  if (info) {
    const int oldMode = gdi.setBkMode(dc, host::TRANSPARENT);
    const host::ColorRef oldColour = gdi.setTextColor(dc, media::gdiColor(0xFFFFFF));
    gdi.extTextOut(dc, 0, 0, 0, nullptr, info);
    gdi.setTextColor(dc, oldColour);
    gdi.setBkMode(dc, oldMode);
  }
}

}  // namespace game
