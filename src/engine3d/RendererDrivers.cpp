#include "engine3d/RendererDrivers.h"

namespace engine3d {

namespace {

bool knownType(int type) {
  return type == kRendererSoftware || type == kRendererGles;
}

}  // namespace

bool RendererDrivers::add(int type, RendererDriver driver) {
  if (!knownType(type)) return false;
  drivers_[static_cast<std::size_t>(type)] = std::move(driver);
  return true;
}

bool RendererDrivers::has(int type) const {
  const RendererDriver* driver = driverOf(type);
  return driver && driver->makeRenderer;
}

const RendererDriver* RendererDrivers::driverOf(int type) const {
  return knownType(type) ? &drivers_[static_cast<std::size_t>(type)] : nullptr;
}

std::unique_ptr<Renderer> RendererDrivers::createRenderer(int type, SceneView* scene) const {
  const RendererDriver* driver = driverOf(type);
  if (!driver || !driver->makeRenderer) return nullptr;
  return driver->makeRenderer(scene);
}

std::unique_ptr<Camera> RendererDrivers::createCamera(int type, SceneView* scene, int width,
                                                      int height, float fov, float near, float far,
                                                      int mode) const {
  const RendererDriver* driver = driverOf(type);
  if (!driver || !driver->makeCamera) return nullptr;
  std::unique_ptr<Camera> camera = driver->makeCamera(scene, mode);
  if (!camera) return nullptr;
  camera->setViewport(width, height);
  camera->setPerspective(fov, near, far);
  return camera;
}

}  // namespace engine3d
