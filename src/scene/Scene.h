// Scene: one drawing layer of a page (a sprite layer, a 3D view or a layer of native controls),
// and SceneObject, the base of everything a scene holds.
//
// A scene is owned by its Canvas and owns its objects. The canvas draws scenes from the first
// (bottom) to the last. A scene draws through its content: the content delegate when one is
// installed, else its own drawContent(). A buffered scene draws into its own buffer, which the
// canvas then copies onto its back buffer (or hands to the draw delegate); an unbuffered one
// draws straight into the canvas back buffer. Sprite, 3D and native-control scenes are
// subclasses that override drawContent() and, when they keep their own kind of surface,
// createBuffer().
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/Types.h"
#include "platform/BackBuffer.h"

namespace scene {

class Canvas;
class Scene;

// A picture a scene draws into: where its pixels are and the context that draws on it.
struct DrawTarget {
  host::Hdc dc = 0;
  void* pixels = nullptr;  // top-down rows; null when only the context can be used
  int width = 0;
  int height = 0;
  int pitch = 0;  // bytes from one row to the next
  int bitsPerPixel = 16;
  host::Hbitmap bitmap = 0;  // the bitmap holding the pixels, when there is one
  bool valid() const { return dc != 0 || pixels != nullptr; }
};

// The view of a BackBuffer (16-bit RGB565) as a draw target; an empty target for null.
DrawTarget targetOf(const platform::BackBuffer* buffer);

// Something a scene holds: a sprite, a native control, a 3D group. Position and size are in
// pixels relative to the scene; `indexLabel` is the short text that type-to-tap matches.
class SceneObject {
 public:
  SceneObject() = default;
  explicit SceneObject(std::string_view name) : name(name) {}
  virtual ~SceneObject() = default;
  SceneObject(const SceneObject&) = delete;
  SceneObject& operator=(const SceneObject&) = delete;

  // True when (x, y), relative to the scene, lies on the object. The base tests its rectangle.
  virtual bool hitTest(int px, int py) const {
    return visible && px >= x && py >= y && px < x + width && py < y + height;
  }
  // The platform window of a native control; 0 for drawn objects.
  virtual host::Hwnd nativeWindow() const { return 0; }

  std::string name;
  std::string indexLabel;
  bool visible = true;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Called instead of copying a buffered scene onto the canvas.
struct SceneDrawDelegate {
  virtual ~SceneDrawDelegate() = default;
  virtual void drawScene(Scene& scene, const DrawTarget& canvasTarget) = 0;
};

// Replaces a scene's own drawing. `originX`, `originY` is where the scene's (0, 0) lies on
// `target` (0, 0 for its own buffer).
struct SceneContentDelegate {
  virtual ~SceneContentDelegate() = default;
  virtual void drawContent(Scene& scene, const DrawTarget& target, int originX, int originY,
                           float seconds) = 0;
};

class Scene {
 public:
  enum Type : int32_t { kSprite = 0, k3D = 2, kNative = 3 };
  static constexpr size_t kNameChars = 64;

  explicit Scene(Type type);
  virtual ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // Draws the scene's content into its own buffer (when buffered) or the canvas back buffer,
  // through the content delegate when one is installed. `seconds` is the frame time (0 for a
  // redraw without time passing).
  void render(float seconds);
  // The picture render() draws into: the own buffer (created on first use) when buffered, else
  // `target`. Invalid when neither exists.
  DrawTarget drawingTarget();
  // The own buffer's picture; invalid when there is none yet.
  virtual DrawTarget bufferTarget() const;
  // Whether the own buffer has the pixel format of the canvas back buffer.
  virtual bool bufferMatchesTarget() const { return useDeviceCompatibleBitmap; }

  // Takes ownership of `object` and appends it; returns it.
  SceneObject* addObject(std::unique_ptr<SceneObject> object);
  // Destroys `object` when the scene holds it.
  void removeObject(SceneObject* object);
  SceneObject* findObject(std::string_view objectName) const;
  const std::vector<std::unique_ptr<SceneObject>>& objects() const { return objects_; }
  // Top-most visible object (last to first) whose hitTest accepts (x, y), scene-relative.
  virtual SceneObject* hitTest(int px, int py) const;

  Type sceneType() const { return type_; }
  const std::string& name() const { return name_; }
  Canvas* canvas() const { return canvas_; }
  const DrawTarget& target() const { return target_; }

  void setDrawDelegate(SceneDrawDelegate* d) { drawDelegate_ = d; }
  SceneDrawDelegate* drawDelegate() const { return drawDelegate_; }
  void setContentDelegate(SceneContentDelegate* d) { contentDelegate_ = d; }
  SceneContentDelegate* contentDelegate() const { return contentDelegate_; }

  bool visible = true;
  bool buffered = false;
  int32_t transparentColor = 0;  // 0x00RRGGBB, -1 = opaque
  bool useDeviceCompatibleBitmap = true;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int32_t bkgColor = -1;

 protected:
  // The scene's own drawing (the content when no delegate replaces it). Nothing in the base.
  virtual void drawContent(const DrawTarget& target, int originX, int originY, float seconds) {}
  // Makes the own buffer: a display-format picture of the scene size, filled with
  // transparentColor. Subclasses with another kind of surface override it and bufferTarget().
  virtual bool createBuffer();

 private:
  friend class Canvas;
  void attach(Canvas* canvas, std::string_view name, const DrawTarget& target);

  Type type_;
  SceneDrawDelegate* drawDelegate_ = nullptr;
  SceneContentDelegate* contentDelegate_ = nullptr;
  std::vector<std::unique_ptr<SceneObject>> objects_;
  Canvas* canvas_ = nullptr;
  std::string name_;
  DrawTarget target_;
  std::unique_ptr<platform::BackBuffer> buffer_;
};

// Copies `source` onto `target` at (x, y), clipped, skipping pixels equal to `colorKey`
// (0x00RRGGBB; -1 copies every pixel). Both must be 16-bit RGB565 pixel pictures.
void copyPixels565(const DrawTarget& source, const DrawTarget& target, int x, int y, int width,
                   int height, int32_t colorKey);

}  // namespace scene
