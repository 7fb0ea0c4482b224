// SceneView: what a renderer and a camera read from the 3D scene they belong to.
//
// The 3D scene lives above the engine; it implements this interface so that the engine's
// renderers can walk it without depending on the page and canvas code. The scene owns its
// groups, lights and fog; the renderer only borrows them for the length of a call.
#pragma once

#include "engine3d/Colour.h"

namespace engine3d {

class Camera;
class Group3D;
struct Fog;
struct Light;

class SceneView {
 public:
  virtual ~SceneView() = default;

  // The groups in drawing order; group(i) for 0 <= i < groupCount() is never null.
  virtual int groupCount() const = 0;
  virtual Group3D* group(int index) const = 0;
  // The scene's camera, or null before it has one (a frame then draws no groups).
  virtual Camera* camera() const = 0;
  // Size of the scene's area in pixels.
  virtual int width() const = 0;
  virtual int height() const = 0;

  // The scene's own background step, run after the driver has cleared the frame.
  virtual void drawBackgroundStep() {}

  // Lighting and fog, read by the drivers' applyLights and fog set-up.
  virtual Colour ambient() const { return 0; }
  virtual int lightCount() const { return 0; }
  virtual const Light* light(int /*index*/) const { return nullptr; }
  virtual const Fog* fog() const { return nullptr; }  // null when the scene has no fog
};

}  // namespace engine3d
