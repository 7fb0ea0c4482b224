// The OpenGL ES driver (GlesRenderer and GlesCamera) as a driver table's kRendererGles entry,
// for programs that offer OpenGL ES.
#pragma once

#include "engine3d/RendererDrivers.h"
#include "host/Egl.h"

namespace engine3d {

// Its renderers ask eglGetDisplay for `nativeDisplay`: 1 in the Common build, 0
// (EGL_DEFAULT_DISPLAY) in the Common-Lite build.
RendererDriver glesDriver(host::EglNativeDisplay nativeDisplay);

}  // namespace engine3d
