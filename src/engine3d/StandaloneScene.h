// StandaloneScene: a SceneView that owns its groups, lights, fog, camera and renderer, for
// programs that draw 3D without a page and canvas (tools, tests, benchmarks).
//
// Its target is whatever the caller sets: a host window (window()) or, with `offscreenTarget`,
// a drawing surface whose GDI bitmap the renderer draws into. The renderer and camera are made
// by setUp through a driver table, in the order a page's scene set-up uses: renderer
// first, then the camera (which may load its state into the renderer's context).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine3d/Camera.h"
#include "engine3d/Group3D.h"
#include "engine3d/Light.h"
#include "engine3d/Renderer.h"
#include "engine3d/RendererDrivers.h"
#include "engine3d/SceneView.h"
#include "engine3d/TexturePixels.h"

namespace engine3d {

class StandaloneScene : public SceneView {
 public:
  StandaloneScene(int width, int height) : width_(width), height_(height) {}
  // The renderer goes first: it may still use the groups' textures as it ends.
  ~StandaloneScene() override {
    renderer_.reset();
    camera_.reset();
  }

  // Makes renderer and camera of driver `type` from `drivers` (fov 45, near 1, far 10000,
  // mode 0), prepares every group's meshes and builds their index arrays. False when the
  // driver made nothing.
  bool setUp(const RendererDrivers& drivers, int type);

  // Adds a group (prepared at setUp, or now when setUp already ran); returns it.
  Group3D& add(std::unique_ptr<Group3D> group);

  int groupCount() const override { return static_cast<int>(groups_.size()); }
  Group3D* group(int index) const override { return groups_[index].get(); }
  Camera* camera() const override { return camera_.get(); }
  Renderer* renderer() const override { return renderer_.get(); }
  int width() const override { return width_; }
  int height() const override { return height_; }
  Colour ambient() const override { return ambientColour; }
  int lightCount() const override { return static_cast<int>(lights.size()); }
  const Light* light(int index) const override { return &lights[index]; }
  const Fog* fog() const override { return hasFog ? &fogSettings : nullptr; }
  int x() const override { return left; }
  int y() const override { return top; }
  std::uint32_t window() const override { return windowHandle; }
  bool offscreen() const override { return offscreenTarget != nullptr; }
  TexturePixels* drawingSurface() const override {
    return offscreenTarget ? offscreenTarget : overlay;
  }
  Colour bkgColor() const override { return background; }
  SceneView* zBufferProviderScene() const override { return depthProvider; }
  Colour transparentColor() const override { return key; }

  Camera& cam() { return *camera_; }
  Renderer& draw() { return *renderer_; }

  Colour ambientColour = 0x202020;
  std::vector<Light> lights;
  bool hasFog = false;
  Fog fogSettings;
  int left = 0;
  int top = 0;
  std::uint32_t windowHandle = 0;
  TexturePixels* offscreenTarget = nullptr;  // not owned
  TexturePixels* overlay = nullptr;          // not owned: the 2D layer of a window scene
  Colour background = 0x000000;
  SceneView* depthProvider = nullptr;  // not owned: the scene whose depth buffer this one keeps
  Colour key = kNoColour;

 private:
  int width_;
  int height_;
  std::vector<std::unique_ptr<Group3D>> groups_;
  std::unique_ptr<Renderer> renderer_;
  std::unique_ptr<Camera> camera_;
};

}  // namespace engine3d
