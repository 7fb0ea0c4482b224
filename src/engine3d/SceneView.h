// SceneView: what a renderer and a camera read from the 3D scene they belong to.
//
// The 3D scene lives above the engine; it implements this interface so that the engine's
// renderers can walk it without depending on the page and canvas code. The scene owns its
// groups, lights and fog; the renderer only borrows them for the length of a call.
#pragma once

#include <cstdint>

#include "engine3d/Colour.h"

namespace engine3d {

class Camera;
class Group3D;
class Renderer;
struct TexturePixels;
struct Fog;
struct Light;

// Pixels a software driver draws into: `bits` is the scene's top-left pixel, rows are `stride`
// bytes apart, and each pixel is 16 bits (RGB565) or 32 bits (0x00RRGGBB). A target without
// bits, or of another depth, is no target.
struct PixelTarget {
  void* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes from one row to the next
  int bitsPerPixel = 0;

  bool valid() const {
    return bits && width > 0 && height > 0 && (bitsPerPixel == 16 || bitsPerPixel == 32);
  }
};

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

  // The pixels a software driver draws the scene into; no target (the default) makes the driver
  // draw into a 32-bit buffer of its own.
  virtual PixelTarget drawTarget() const { return {}; }
  // The colour a driver clears its own buffer to when the scene gives it no target.
  virtual Colour backgroundColour() const { return 0; }
  // The scene's renderer (null when it has none), and the scene whose depth buffer this one
  // starts each frame from (null for none), so that scenes drawn over each other share depth.
  virtual Renderer* renderer() const { return nullptr; }
  virtual SceneView* zBufferProviderScene() const { return nullptr; }

  // Where and over what a hardware driver draws (the OpenGL ES driver's camera also reaches its
  // renderer's context through renderer()).
  // Top-left corner of the scene's area in its canvas window, pixels, y down.
  virtual int x() const { return 0; }
  virtual int y() const { return 0; }
  // The host window handle of the canvas window (0: none).
  virtual std::uint32_t window() const { return 0; }
  // True when the canvas window is buffered: 3D output then goes into drawingSurface().
  virtual bool offscreen() const { return false; }
  // The scene's drawing surface (its own buffer or the canvas back buffer), null when none.
  virtual TexturePixels* drawingSurface() const { return nullptr; }
  // Background fill colour of a window scene, kNoColour for none; whether a background picture
  // is set (either leaves the colour clear out).
  virtual Colour bkgColor() const { return kNoColour; }
  virtual bool hasBkgTexture() const { return false; }
  // Key colour used when the scene's surface is laid over the canvas, kNoColour for none.
  virtual Colour transparentColor() const { return kNoColour; }

  static constexpr Colour kNoColour = 0xFFFFFFFFu;
};

}  // namespace engine3d
