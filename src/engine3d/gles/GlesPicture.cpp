#include "engine3d/gles/GlesPicture.h"

#include "engine3d/BitmapTarget.h"
#include "engine3d/StandaloneScene.h"
#include "engine3d/gles/GlesDriver.h"

namespace engine3d {

std::optional<host::RgbImage> renderGlesPicture(const GlesPictureRequest& request,
                                                std::vector<std::unique_ptr<Group3D>> groups) {
  if (request.width <= 0 || request.height <= 0) return std::nullopt;
  RendererDrivers drivers;
  drivers.add(kRendererGles, glesDriver(request.nativeDisplay));
  BitmapTarget target(request.width, request.height);
  if (!target.valid()) return std::nullopt;
  // An off-screen scene leaves the background to whoever owns the surface.
  target.fill(request.background & 0xFFFFFFu);
  {
    // The scene (and with it the renderer and its pixmap surface) ends before the bitmap.
    StandaloneScene scene(request.width, request.height);
    scene.offscreenTarget = &target.pixels();
    scene.background = request.background;
    scene.ambientColour = request.ambient;
    scene.lights = request.lights;
    if (request.fog) {
      scene.hasFog = true;
      scene.fogSettings = *request.fog;
    }
    for (auto& group : groups) scene.add(std::move(group));
    if (!scene.setUp(drivers, kRendererGles)) return std::nullopt;
    scene.cam().setPerspective(request.fov, request.near, request.far);
    scene.cam().setEye(request.eye);
    scene.cam().setTarget(request.target);
    scene.draw().renderScene(0.0f);
  }
  return target.picture();
}

}  // namespace engine3d
