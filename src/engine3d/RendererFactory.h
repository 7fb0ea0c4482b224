// The driver seam: how a scene gets the renderer and camera of the driver type it was given.
//
// The drivers (OpenGL ES and the software renderer) live in their own files and register
// themselves here at program start-up; the engine core does not depend on them. A type without
// a registered driver makes nothing, which leaves the scene without 3D output, exactly as an
// unknown type does.
#pragma once

#include <memory>

#include "engine3d/Camera.h"
#include "engine3d/Renderer.h"

namespace engine3d {

class SceneView;

// A driver's constructors. The renderer factory gets the borrowed scene; the camera factory the
// borrowed scene and the follow camera's control mode, and returns a camera with the base
// defaults (createCamera sets viewport and perspective afterwards).
using RendererMaker = std::unique_ptr<Renderer> (*)(SceneView* scene);
using CameraMaker = std::unique_ptr<Camera> (*)(SceneView* scene, int mode);

struct RendererDriver {
  RendererMaker makeRenderer = nullptr;
  CameraMaker makeCamera = nullptr;
};

// Installs (or, with null makers, removes) the driver of `type`, replacing an earlier one.
// False, and nothing changed, for a type other than kRendererSoftware or kRendererGles.
// Registration belongs to start-up, before any scene is set up; it is not thread-safe.
bool registerRendererDriver(int type, RendererDriver driver);

// The renderer of driver `type` for `scene`, or null when the type is unknown or has no
// registered driver. The caller owns the result.
std::unique_ptr<Renderer> createRenderer(int type, SceneView* scene);

// The camera of driver `type`: made with the base defaults and `mode`, then given
// setViewport(width, height) and then setPerspective(fov, near, far), in that order. Null when
// the type is unknown or has no registered driver. The caller owns the result.
std::unique_ptr<Camera> createCamera(int type, SceneView* scene, int width, int height, float fov,
                                     float near, float far, int mode);

}  // namespace engine3d
