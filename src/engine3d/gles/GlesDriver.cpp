#include "engine3d/gles/GlesDriver.h"

#include <memory>

#include "engine3d/RendererFactory.h"
#include "engine3d/gles/GlesCamera.h"
#include "engine3d/gles/GlesRenderer.h"

namespace engine3d {

namespace {

std::unique_ptr<Renderer> makeRenderer(SceneView* scene) {
  return std::make_unique<GlesRenderer>(scene);
}

std::unique_ptr<Camera> makeCamera(SceneView* scene, int mode) {
  return std::make_unique<GlesCamera>(scene, mode);
}

}  // namespace

void registerGlesDriver() {
  registerRendererDriver(kRendererGles, RendererDriver{makeRenderer, makeCamera});
}

}  // namespace engine3d
