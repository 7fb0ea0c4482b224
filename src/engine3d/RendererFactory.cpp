#include "engine3d/RendererFactory.h"

#include <array>

namespace engine3d {

namespace {

// The registered drivers, indexed by type. Filled at start-up and only read afterwards.
std::array<RendererDriver, 2>& drivers() {
  static std::array<RendererDriver, 2> table;
  return table;
}

const RendererDriver* driverOf(int type) {
  if (type != kRendererSoftware && type != kRendererGles) return nullptr;
  return &drivers()[static_cast<std::size_t>(type)];
}

}  // namespace

bool registerRendererDriver(int type, RendererDriver driver) {
  if (type != kRendererSoftware && type != kRendererGles) return false;
  drivers()[static_cast<std::size_t>(type)] = driver;
  return true;
}

std::unique_ptr<Renderer> createRenderer(int type, SceneView* scene) {
  const RendererDriver* driver = driverOf(type);
  if (!driver || !driver->makeRenderer) return nullptr;
  return driver->makeRenderer(scene);
}

std::unique_ptr<Camera> createCamera(int type, SceneView* scene, int width, int height, float fov,
                                     float near, float far, int mode) {
  const RendererDriver* driver = driverOf(type);
  if (!driver || !driver->makeCamera) return nullptr;
  std::unique_ptr<Camera> camera = driver->makeCamera(scene, mode);
  if (!camera) return nullptr;
  camera->setViewport(width, height);
  camera->setPerspective(fov, near, far);
  return camera;
}

}  // namespace engine3d
