// GlesRenderer: the Renderer that draws a scene through OpenGL ES 1.x and EGL.
//
// It uses only the fixed-point GL entry points and GL_FIXED arrays, so it runs on the
// Common-Lite profile too. Vertex arrays point straight into each mesh's own 68-byte Vertex
// records (positions at byte 0, texture coordinates at 12, normals at 20) and are never copied;
// textures are uploaded once and then only bound.
//
// Target: a window scene draws into an EGL window surface over the scene's canvas window and
// shows a frame with present() (eglSwapBuffers); an off-screen scene (a buffered canvas window)
// draws into a pixmap surface over its drawing surface's bitmap, which holds the frame once the
// frame is finished. Pixmap memory is top-down, so off-screen scenes mirror y in the projection
// and wind front faces clockwise.
//
// Set-up is all-or-nothing: any failing EGL step ends the process with exit code 1, without a
// message, because a device that offered OpenGL ES but cannot start it has nothing to fall back
// to at that point (the choice of driver was made before the page started).
//
// Alpha counts transparency: 0 opaque, 255 fully transparent (see GlesTextures.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine3d/Colour.h"
#include "engine3d/Renderer.h"
#include "host/Egl.h"

namespace engine3d {

class SceneView;
struct Material;
struct TexturePixels;

class GlesRenderer : public Renderer {
 public:
  // Sets up EGL for `scene` (borrowed) and the initial GL state, then loads the lights. EGL's
  // display is eglGetDisplay(nativeDisplay): 1 in the Common build (the default), 0
  // (EGL_DEFAULT_DISPLAY) in the Common-Lite build. Ends the process with exit code 1 when EGL
  // cannot be set up.
  explicit GlesRenderer(SceneView* scene, host::EglNativeDisplay nativeDisplay = 1);
  // Releases the context, the surface and the display.
  ~GlesRenderer() override;

  void applyLights() override;
  // 0 inside the scene's area, -1 outside: the driver reads no depth back.
  std::int32_t depthAt(int x, int y) override;
  // "OpenGL <version>, <vendor>"; when the version text already names OpenGL the prefix is
  // empty, so the text starts with a blank. Nothing when GL gives no version or vendor.
  std::optional<std::string> describe() override;
  // eglSwapBuffers; a failure is passed to errorListener with the EGL error code.
  void present() override;

  // Lays the scene's drawing surface over the whole scene area as a texture, keyed by the
  // scene's transparentColor (pixels of that colour stay see-through). For pages that draw 2D
  // over the 3D frame and present it themselves (with holdPresent set).
  void drawOverlay();

  // Makes this renderer's surface and context current (every GL operation does this first).
  void makeCurrent();
  // Applies `material`'s GL state (shading, culling, blending, textures, colours, lighting).
  void applyMaterial(const Material& material);
  // Deletes the GL texture of `pixels` (current context first) and clears its uploaded flag.
  void releaseTexture(TexturePixels& pixels);
  // The viewport row (from the bottom) where a scene area starting `sceneY` pixels down and
  // `height` high begins: sceneY when off-screen, else window height - sceneY - height.
  int viewportRow(int sceneY, int height) const;
  // Height of the surface drawn into, pixels.
  int surfaceHeight() const { return surfaceHeight_; }

  // Set by the page: filter textures linearly (a VGA device with a fast GPU) instead of
  // nearest.
  bool linearTextureFilter = false;
  // The process's swapRedBlue switch: colour keys are compared in red-low order when set (the
  // OpenGL ES page always sets it before loading pictures).
  bool swapRedBlue = true;

  host::EglDisplay display = host::kEglNoDisplay;
  host::EglSurface surface = host::kEglNoSurface;
  host::EglContext context = host::kEglNoContext;
  int maxLights = 0;
  // State of the material applied last.
  bool texturing = false;  // texture-coordinate array on
  bool lighting = false;   // normal array on
  bool unlit = false;      // the material's wire flag
  Colour colour = 0;       // after the texture adjustment
  int transparency = 0;    // 0..255, 0 opaque

 protected:
  void makeTargetCurrent() override;
  void clearBackground() override;
  void resetFogAndDepth() override;
  void drawMesh(const DrawItem& item, const FaceSpans& spans) override;
  void finishFrame() override;

 private:
  [[noreturn]] static void fatal();
  void check(bool ok);
  void setUpMesh(const Mesh& mesh, const Matrix4& modelView);
  void drawFaces(Mesh& mesh, const FaceSpans& spans);
  void sendLightPositions();

  int surfaceHeight_ = 0;
  bool previousOpaque_ = true;
};

}  // namespace engine3d
