// RendererDrivers: the driver table through which a scene gets the renderer and camera of the
// driver type it was given.
//
// The drivers (OpenGL ES and the software renderer) are targets of their own that the engine
// core does not link; a program adds the drivers it offers to its table once at start-up (the
// program's runtime owns the table) and scenes are set up through it. A type without a driver
// in the table makes nothing, which leaves the scene without 3D output, exactly as an unknown
// type does. Several tables may live side by side: each test or tool session has its own.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "engine3d/Camera.h"
#include "engine3d/Renderer.h"

namespace engine3d {

class SceneView;

// A driver's constructors. The renderer maker gets the borrowed scene; the camera maker the
// borrowed scene and the follow camera's control mode, and returns a camera with the base
// defaults (createCamera sets viewport and perspective afterwards).
using RendererMaker = std::function<std::unique_ptr<Renderer>(SceneView* scene)>;
using CameraMaker = std::function<std::unique_ptr<Camera>(SceneView* scene, int mode)>;

struct RendererDriver {
  RendererMaker makeRenderer;
  CameraMaker makeCamera;
};

class RendererDrivers {
 public:
  // Installs (or, with empty makers, removes) the driver of `type`, replacing an earlier one.
  // False, and nothing changed, for a type other than kRendererSoftware or kRendererGles.
  bool add(int type, RendererDriver driver);
  // Removes the driver of `type`; nothing for an unknown type.
  void remove(int type) { add(type, {}); }
  // True when `type` has a renderer maker.
  bool has(int type) const;

  // The renderer of driver `type` for `scene`, or null when the type is unknown or has no
  // driver. The caller owns the result.
  std::unique_ptr<Renderer> createRenderer(int type, SceneView* scene) const;

  // The camera of driver `type`: made with the base defaults and `mode`, then given
  // setViewport(width, height) and then setPerspective(fov, near, far), in that order. Null
  // when the type is unknown or has no driver. The caller owns the result.
  std::unique_ptr<Camera> createCamera(int type, SceneView* scene, int width, int height, float fov,
                                       float near, float far, int mode) const;

 private:
  const RendererDriver* driverOf(int type) const;

  std::array<RendererDriver, 2> drivers_;  // indexed by type
};

}  // namespace engine3d
