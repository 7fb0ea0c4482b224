// Installs the OpenGL ES driver (GlesRenderer and GlesCamera) as the renderer factory's
// kRendererGles driver. Called once at start-up by programs that offer OpenGL ES.
#pragma once

namespace engine3d {

void registerGlesDriver();

}  // namespace engine3d
