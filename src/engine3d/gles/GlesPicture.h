// One picture of a few groups drawn by the OpenGL ES driver, off screen: what a content tool
// needs to show a model without a page, a canvas or a window.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "engine3d/Colour.h"
#include "engine3d/Group3D.h"
#include "engine3d/Light.h"
#include "engine3d/Vector3.h"
#include "host/Egl.h"
#include "host/Png.h"

namespace engine3d {

struct GlesPictureRequest {
  int width = 240;
  int height = 320;
  Vector3 eye{0.0f, 0.0f, -10.0f};
  Vector3 target{0.0f, 0.0f, 0.0f};
  // The camera's projection (degrees across the width, near and far distance); the defaults
  // are those of a scene's 3D set-up.
  float fov = 45.0f;
  float near = 1.0f;
  float far = 10000.0f;
  Colour background = 0x000000;  // the bitmap is filled with it before drawing
  Colour ambient = 0x303030;
  std::vector<Light> lights;
  std::optional<Fog> fog;
  host::EglNativeDisplay nativeDisplay = 1;  // what eglGetDisplay is asked for
};

// Draws one frame (time step 0) of `groups` into a 32-bit bitmap of the
// requested size in the running host (a pixmap scene: y mirrored in the projection, read back
// upright) and returns it as 8-bit RGB. The groups are prepared and dropped afterwards. Nothing
// when the size is not positive or the bitmap cannot be made. Like every OpenGL ES set-up, a
// machine without a working EGL display ends the process with exit code 1.
std::optional<host::RgbImage> renderGlesPicture(const GlesPictureRequest& request,
                                                std::vector<std::unique_ptr<Group3D>> groups);

}  // namespace engine3d
