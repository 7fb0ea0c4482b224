#include "scene/Scene.h"

#include <algorithm>
#include <cstring>

namespace scene {
namespace {

uint16_t to565(uint32_t rgb) {
  uint32_t r = (rgb >> 16) & 0xFF;
  uint32_t g = (rgb >> 8) & 0xFF;
  uint32_t b = rgb & 0xFF;
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

}  // namespace

DrawTarget targetOf(const platform::BackBuffer* buffer) {
  DrawTarget t;
  if (!buffer) return t;
  t.dc = buffer->dc();
  t.pixels = buffer->pixels();
  t.width = buffer->width();
  t.height = buffer->height();
  t.pitch = buffer->pitch();
  t.bitsPerPixel = 16;
  t.bitmap = buffer->bitmap();
  return t;
}

void copyPixels565(const DrawTarget& source, const DrawTarget& target, int x, int y, int width,
                   int height, int32_t colorKey) {
  if (!source.pixels || !target.pixels || source.bitsPerPixel != 16 || target.bitsPerPixel != 16)
    return;
  // Clip against the source picture first, then against the target.
  int sx = 0, sy = 0;
  width = std::min(width, source.width);
  height = std::min(height, source.height);
  if (x < 0) {
    sx = -x;
    width += x;
    x = 0;
  }
  if (y < 0) {
    sy = -y;
    height += y;
    y = 0;
  }
  width = std::min(width, target.width - x);
  height = std::min(height, target.height - y);
  if (width <= 0 || height <= 0) return;

  const auto* src = static_cast<const uint8_t*>(source.pixels);
  auto* dst = static_cast<uint8_t*>(target.pixels);
  for (int row = 0; row < height; ++row) {
    const auto* s = reinterpret_cast<const uint16_t*>(src + (sy + row) * source.pitch) + sx;
    auto* d = reinterpret_cast<uint16_t*>(dst + (y + row) * target.pitch) + x;
    if (colorKey < 0) {
      std::memcpy(d, s, static_cast<size_t>(width) * 2);
    } else {
      uint16_t key = to565(static_cast<uint32_t>(colorKey));
      for (int i = 0; i < width; ++i)
        if (s[i] != key) d[i] = s[i];
    }
  }
}

Scene::Scene(Type type) : type_(type) {}

Scene::~Scene() = default;

void Scene::attach(Canvas* canvas, std::string_view name, const DrawTarget& target) {
  canvas_ = canvas;
  name_ = std::string(name.substr(0, kNameChars));
  // Native controls draw themselves as windows: they get no picture to draw into.
  if (type_ == kNative) return;
  target_ = target;
  if (buffered && !bufferTarget().valid()) createBuffer();
}

bool Scene::createBuffer() {
  buffer_ = platform::BackBuffer::create(width, height);
  if (!buffer_) return false;
  uint16_t fill = to565(static_cast<uint32_t>(transparentColor < 0 ? 0 : transparentColor));
  for (int row = 0; row < buffer_->height(); ++row) {
    auto* p = reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(buffer_->pixels()) +
                                          row * buffer_->pitch());
    std::fill(p, p + buffer_->width(), fill);
  }
  return true;
}

DrawTarget Scene::bufferTarget() const {
  return targetOf(buffer_.get());
}

DrawTarget Scene::drawingTarget() {
  if (!buffered) return target_;
  if (!bufferTarget().valid()) createBuffer();
  return bufferTarget();
}

void Scene::render(float seconds) {
  DrawTarget t = drawingTarget();
  int ox = buffered ? 0 : x;
  int oy = buffered ? 0 : y;
  if (contentDelegate_)
    contentDelegate_->drawContent(*this, t, ox, oy, seconds);
  else
    drawContent(t, ox, oy, seconds);
}

SceneObject* Scene::addObject(std::unique_ptr<SceneObject> object) {
  if (!object) return nullptr;
  objects_.push_back(std::move(object));
  return objects_.back().get();
}

void Scene::removeObject(SceneObject* object) {
  auto it = std::find_if(objects_.begin(), objects_.end(),
                         [object](const auto& owned) { return owned.get() == object; });
  if (it != objects_.end()) objects_.erase(it);
}

SceneObject* Scene::findObject(std::string_view objectName) const {
  for (const auto& object : objects_)
    if (object->name == objectName) return object.get();
  return nullptr;
}

SceneObject* Scene::hitTest(int px, int py) const {
  for (auto it = objects_.rbegin(); it != objects_.rend(); ++it)
    if ((*it)->visible && (*it)->hitTest(px, py)) return it->get();
  return nullptr;
}

}  // namespace scene
