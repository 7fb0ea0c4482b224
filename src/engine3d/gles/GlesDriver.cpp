#include "engine3d/gles/GlesDriver.h"

#include <memory>

#include "engine3d/gles/GlesCamera.h"
#include "engine3d/gles/GlesRenderer.h"

namespace engine3d {

RendererDriver glesDriver(host::EglNativeDisplay nativeDisplay) {
  RendererDriver driver;
  driver.makeRenderer = [nativeDisplay](SceneView* scene) -> std::unique_ptr<Renderer> {
    return std::make_unique<GlesRenderer>(scene, nativeDisplay);
  };
  driver.makeCamera = [](SceneView* scene, int mode) -> std::unique_ptr<Camera> {
    return std::make_unique<GlesCamera>(scene, mode);
  };
  return driver;
}

}  // namespace engine3d
