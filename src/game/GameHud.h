// GameHud: the battle page's head-up display.
//
// The console picture (the template's console with each pilot's icon and a frame around each
// health bar, painted once), the radar map (the room's "map<n>.jpg" with a square per
// helicopter, redrawn on refresh), the health bars' widths and the score texts; and, drawn over
// each finished frame, the enemy markers and the optional info line. The HUD owns the pictures
// it gives the sprites; the sprites stay the page's.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "host/Types.h"

namespace engine3d {
class Camera;
}
namespace media {
class Image;
class Sprite;
class Surface;
}  // namespace media

namespace game {

class Battle;
struct GameCanvasObjects;

class GameHud {
 public:
  GameHud();
  ~GameHud();
  GameHud(const GameHud&) = delete;
  GameHud& operator=(const GameHud&) = delete;

  // Paints the console and prepares the radar for the battle in `levelFolder` (map picture
  // "map<level>.jpg"); the pilots' icons come from `charactersFolder` ("<name>_chopper.gif").
  void setUp(const GameCanvasObjects& objects, const Battle& battle, const std::string& levelFolder,
             const std::string& charactersFolder);
  // Gives the speed button the pictures of `style`: 1 "vmode.bmp" / "hmode.bmp", 0
  // "autospeedmode.bmp" / "maxspeedmode.bmp" (from `guiFolder`).
  void showControlStyle(const GameCanvasObjects& objects, int style, const std::string& guiFolder);
  // The radar squares (grey wrecks, red enemies, green team A, an outline round the viewed
  // helicopter), the health bars and the scores.
  void refresh(const GameCanvasObjects& objects, const Battle& battle);

  // Over the finished frame on `dc`: a hollow yellow square round each living enemy the camera
  // sees inside the 3D view at (viewX, viewY), and when `info` holds text, that line in white at
  // the top left.
  void drawOverlay(host::Hdc dc, Battle& battle, int viewX, int viewY, const char* info);

  // The radar's picture (for tests).
  const media::Image* radar() const { return map_.get(); }

 private:
  std::unique_ptr<media::Image> console_;
  std::unique_ptr<media::Image> map_;
  std::unique_ptr<media::Surface> mapBase_;
  std::array<std::unique_ptr<media::Image>, 4> speedPictures_;
  std::array<int, 4> fullWidth_{};
  float scaleX_ = 0.0f;
  float scaleZ_ = 0.0f;
};

}  // namespace game
