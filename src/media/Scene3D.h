// Scene3D: a page layer showing a 3D world, drawn by the renderer of the driver chosen when the
// page set it up.
//
// The scene owns its groups (each wrapped as a GroupObject, so that pages find models by name
// like any other object), its lights, its fog and the renderer and camera. The engine sees it
// through its SceneView: the groups in order, lights, fog, ambient colour, the pixels to draw
// into (the scene's own buffer when buffered, else its rectangle of the page's back buffer) and
// the scene whose depth buffer it shares.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine3d/Camera.h"
#include "engine3d/Group3D.h"
#include "engine3d/Light.h"
#include "engine3d/Renderer.h"
#include "engine3d/RendererDrivers.h"
#include "engine3d/SceneView.h"
#include "engine3d/TexturePixels.h"
#include "scene/Scene.h"

namespace media {

// One group placed in a 3D scene.
class GroupObject : public scene::SceneObject {
 public:
  GroupObject(std::string_view name, std::unique_ptr<engine3d::Group3D> group);
  engine3d::Group3D& group() const { return *group_; }

 private:
  std::unique_ptr<engine3d::Group3D> group_;
};

class Scene3D : public scene::Scene {
 public:
  static constexpr engine3d::Colour kDefaultAmbient = 0x404040;

  Scene3D();
  ~Scene3D() override;

  // Takes `group`, names it (the group's own name too) and appends it; returns it.
  engine3d::Group3D* addGroup(std::string_view name, std::unique_ptr<engine3d::Group3D> group);
  engine3d::Group3D* findGroup(std::string_view name) const;
  void addLight(const engine3d::Light& light) { lights_.push_back(light); }
  void setFog(const engine3d::Fog& fog) { fog_ = fog; }
  void setAmbient(engine3d::Colour colour) { ambient_ = colour; }
  // The name of the page's 3D scene whose depth buffer this one starts its frames from.
  void setZBufferProvider(std::string_view sceneName) { zBufferProvider_ = sceneName; }
  // Where the camera made by setUp3D looks from and at (the camera's defaults when not set).
  void setInitialView(const engine3d::Vector3& eye, const engine3d::Vector3& target) {
    initialView_ = {eye, target};
  }

  // The 3D set-up, once per scene: on a page with a window and without a renderer yet, makes
  // the renderer and camera of driver `type` from `drivers` (camera: 45 degrees, near 1, far
  // 10000, the scene's size) and prepares every mesh of every group and level, last group
  // first, with `computeBounds`; for OpenGL ES also their index arrays. False when no renderer
  // was made.
  bool setUp3D(const engine3d::RendererDrivers& drivers, int type, bool computeBounds);

  engine3d::Renderer* renderer() const { return renderer_.get(); }
  engine3d::Camera* camera() const { return camera_.get(); }
  engine3d::SceneView& view() { return view_; }
  const std::vector<engine3d::Light>& lights() const { return lights_; }

 protected:
  // One frame of the renderer (no time passing for a redraw).
  void drawContent(const scene::DrawTarget& target, int originX, int originY,
                   float seconds) override;

 private:
  // The engine's view of this scene (a member, not a base: the scene's width and height fields
  // would hide the view's functions of the same names).
  class View : public engine3d::SceneView {
   public:
    explicit View(Scene3D& scene) : scene_(scene) {}
    int groupCount() const override;
    engine3d::Group3D* group(int index) const override;
    engine3d::Camera* camera() const override { return scene_.camera_.get(); }
    int width() const override { return scene_.width; }
    int height() const override { return scene_.height; }
    engine3d::Colour ambient() const override { return scene_.ambient_; }
    int lightCount() const override { return static_cast<int>(scene_.lights_.size()); }
    const engine3d::Light* light(int index) const override;
    const engine3d::Fog* fog() const override { return scene_.fog_ ? &*scene_.fog_ : nullptr; }
    engine3d::PixelTarget drawTarget() const override;
    engine3d::Colour backgroundColour() const override;
    engine3d::Renderer* renderer() const override { return scene_.renderer_.get(); }
    engine3d::SceneView* zBufferProviderScene() const override;
    // Fills the scene's rectangle of the page with bkgColor (when it has one) before the
    // models are drawn, so a view that its models do not cover shows its colour.
    void drawBackgroundStep() override;
    int x() const override { return scene_.x; }
    int y() const override { return scene_.y; }
    std::uint32_t window() const override;
    bool offscreen() const override;
    engine3d::TexturePixels* drawingSurface() const override;
    engine3d::Colour bkgColor() const override;
    engine3d::Colour transparentColor() const override;

   private:
    Scene3D& scene_;
  };

  View view_{*this};
  // The drawing surface as a hardware driver binds it (kept so its texture name stays fixed).
  mutable engine3d::TexturePixels surfacePixels_;
  std::vector<engine3d::Light> lights_;
  std::optional<engine3d::Fog> fog_;
  engine3d::Colour ambient_ = kDefaultAmbient;
  std::string zBufferProvider_;
  std::optional<std::pair<engine3d::Vector3, engine3d::Vector3>> initialView_;
  std::unique_ptr<engine3d::Renderer> renderer_;
  std::unique_ptr<engine3d::Camera> camera_;
  // The picture of the frame being drawn and where the scene's (0, 0) lies on it.
  scene::DrawTarget frameTarget_;
  int frameX_ = 0;
  int frameY_ = 0;
};

}  // namespace media
