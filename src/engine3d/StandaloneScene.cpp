#include "engine3d/StandaloneScene.h"

namespace engine3d {

bool StandaloneScene::setUp(const RendererDrivers& drivers, int type) {
  renderer_ = drivers.createRenderer(type, this);
  if (!renderer_) return false;
  camera_ = drivers.createCamera(type, this, width_, height_, 45.0f, 1.0f, 10000.0f, 0);
  if (!camera_) return false;
  for (auto& group : groups_) {
    group->prepare(true);
    group->buildIndexArrays();
  }
  return true;
}

Group3D& StandaloneScene::add(std::unique_ptr<Group3D> group) {
  groups_.push_back(std::move(group));
  if (renderer_) {
    groups_.back()->prepare(true);
    groups_.back()->buildIndexArrays();
  }
  return *groups_.back();
}

}  // namespace engine3d
