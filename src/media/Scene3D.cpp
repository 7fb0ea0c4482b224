#include "media/Scene3D.h"

#include <algorithm>

#include "engine3d/Colour.h"
#include "engine3d/Mesh.h"
#include "scene/Canvas.h"

namespace media {

GroupObject::GroupObject(std::string_view name, std::unique_ptr<engine3d::Group3D> group)
    : SceneObject(name), group_(std::move(group)) {
  group_->name = std::string(name);
}

Scene3D::Scene3D() : Scene(k3D) {}

// The renderer and camera borrow the view; they go first.
Scene3D::~Scene3D() {
  renderer_.reset();
  camera_.reset();
}

engine3d::Group3D* Scene3D::addGroup(std::string_view name,
                                     std::unique_ptr<engine3d::Group3D> group) {
  if (!group) return nullptr;
  auto* object =
      static_cast<GroupObject*>(addObject(std::make_unique<GroupObject>(name, std::move(group))));
  return &object->group();
}

engine3d::Group3D* Scene3D::findGroup(std::string_view name) const {
  auto* object = dynamic_cast<GroupObject*>(findObject(name));
  return object ? &object->group() : nullptr;
}

bool Scene3D::setUp3D(const engine3d::RendererDrivers& drivers, int type, bool computeBounds) {
  if (renderer_) return true;
  if (!canvas() || !canvas()->hwnd()) return false;
  renderer_ = drivers.createRenderer(type, &view_);
  if (!renderer_) return false;
  camera_ = drivers.createCamera(type, &view_, width, height, 45.0f, 1.0f, 10000.0f, 0);
  if (camera_ && initialView_) {
    camera_->setEye(initialView_->first);
    camera_->setTarget(initialView_->second);
  }
  const auto& held = objects();
  for (auto it = held.rbegin(); it != held.rend(); ++it) {
    auto* object = dynamic_cast<GroupObject*>(it->get());
    if (!object) continue;
    engine3d::Group3D& group = object->group();
    group.prepare(computeBounds);
    if (type == engine3d::kRendererGles) group.buildIndexArrays();
  }
  return true;
}

void Scene3D::drawContent(const scene::DrawTarget& target, int originX, int originY,
                          float seconds) {
  if (!renderer_) return;
  frameTarget_ = target;
  frameX_ = originX;
  frameY_ = originY;
  renderer_->renderScene(seconds > 0.0f ? seconds : 0.0f);
  frameTarget_ = {};
}

int Scene3D::View::groupCount() const {
  return static_cast<int>(scene_.objects().size());
}

engine3d::Group3D* Scene3D::View::group(int index) const {
  return &static_cast<GroupObject*>(scene_.objects()[static_cast<size_t>(index)].get())->group();
}

const engine3d::Light* Scene3D::View::light(int index) const {
  if (index < 0 || index >= lightCount()) return nullptr;
  return &scene_.lights_[static_cast<size_t>(index)];
}

engine3d::PixelTarget Scene3D::View::drawTarget() const {
  const scene::DrawTarget& t = scene_.frameTarget_;
  engine3d::PixelTarget p;
  int x = scene_.frameX_, y = scene_.frameY_;
  if (!t.pixels || x < 0 || y < 0 || x >= t.width || y >= t.height) return p;
  p.bits = static_cast<std::uint8_t*>(t.pixels) + static_cast<std::ptrdiff_t>(y) * t.pitch +
           x * (t.bitsPerPixel / 8);
  p.width = std::min(scene_.width, t.width - x);
  p.height = std::min(scene_.height, t.height - y);
  p.stride = t.pitch;
  p.bitsPerPixel = t.bitsPerPixel;
  return p;
}

void Scene3D::View::drawBackgroundStep() {
  if (scene_.bkgColor < 0) return;
  engine3d::PixelTarget t = drawTarget();
  if (!t.valid()) return;  // the renderer's own buffer, which it clears itself
  const auto rgb = static_cast<std::uint32_t>(scene_.bkgColor) & 0xFFFFFF;
  const auto c565 = static_cast<std::uint16_t>(engine3d::toRgb565(rgb));
  for (int y = 0; y < t.height; ++y) {
    auto* row = static_cast<std::uint8_t*>(t.bits) + static_cast<std::ptrdiff_t>(y) * t.stride;
    if (t.bitsPerPixel == 16)
      std::fill_n(reinterpret_cast<std::uint16_t*>(row), t.width, c565);
    else
      std::fill_n(reinterpret_cast<std::uint32_t*>(row), t.width, rgb);
  }
}

std::uint32_t Scene3D::View::window() const {
  return scene_.canvas() ? static_cast<std::uint32_t>(scene_.canvas()->hwnd()) : 0;
}

bool Scene3D::View::offscreen() const {
  return scene_.canvas() && scene_.canvas()->buffered();
}

engine3d::TexturePixels* Scene3D::View::drawingSurface() const {
  // The own buffer when buffered, else the page's back buffer (the whole of it: a hardware
  // driver places the scene with x() and y()).
  scene::DrawTarget t = scene_.buffered ? scene_.bufferTarget() : scene_.target();
  if (!t.pixels) return nullptr;
  engine3d::TexturePixels& p = scene_.surfacePixels_;
  p.bits = static_cast<std::uint8_t*>(t.pixels);
  p.width = t.width;
  p.height = t.height;
  p.stride = t.pitch;
  p.bitsPerPixel = t.bitsPerPixel;
  p.bitmap = static_cast<std::uint32_t>(t.bitmap);
  return &p;
}

engine3d::Colour Scene3D::View::bkgColor() const {
  return scene_.bkgColor >= 0 ? static_cast<engine3d::Colour>(scene_.bkgColor)
                              : engine3d::SceneView::kNoColour;
}

engine3d::Colour Scene3D::View::transparentColor() const {
  return scene_.transparentColor >= 0 ? static_cast<engine3d::Colour>(scene_.transparentColor)
                                      : engine3d::SceneView::kNoColour;
}

engine3d::Colour Scene3D::View::backgroundColour() const {
  return scene_.bkgColor >= 0 ? static_cast<engine3d::Colour>(scene_.bkgColor) : 0;
}

engine3d::SceneView* Scene3D::View::zBufferProviderScene() const {
  if (scene_.zBufferProvider_.empty() || !scene_.canvas()) return nullptr;
  auto* provider = dynamic_cast<Scene3D*>(scene_.canvas()->findScene(scene_.zBufferProvider_));
  return provider && provider != &scene_ ? &provider->view_ : nullptr;
}

}  // namespace media
