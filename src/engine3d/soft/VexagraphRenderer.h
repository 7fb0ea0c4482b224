// VexagraphRenderer: the software renderer. It transforms, clips, lights and rasterizes the
// meshes of a scene in 16.16 integer arithmetic into a 16-bit (RGB565) or 32-bit (0x00RRGGBB)
// pixel target, keeping a 32-bit depth entry per pixel.
//
// Target: the scene's drawTarget() when it gives one (re-read every frame, so the pixels may
// move), clipped to the scene's size; otherwise a 32-bit buffer of the scene's size that the
// renderer owns and clears to the scene's background colour each frame; the finished frame
// stays there (target()) for the owner of the scene to show. The depth buffer is sized once,
// from the scene at creation.
//
// Texture coordinates, light-map coordinates and the fog's depth are affine in screen space:
// they are interpolated linearly across a triangle, so large triangles seen at a slant are
// drawn with bent textures; a mesh's subdivision question splits such faces. The depth test is
// exact (see depthKey in RasterState.h).
//
// Lighting: the light maps are indexed by eye-space normals (a face the camera sees has an
// inward normal pointing away from it, so one hemisphere of directions suffices). Lights fixed
// in the world are turned into eye space when the maps are built, and the maps are built again
// whenever the view's rotation differs from the one they were built for; lights fixed to the
// camera (lightsInEyeSpace) are taken as given.
//
// Depth entries hold depthKey(eye depth in 16.16 less trunc(65536 * the mesh's depth layer)),
// compared unsigned (smaller is nearer); each frame starts from the depth buffer of the scene's
// zBufferProviderScene() when that scene is drawn by a renderer of this kind with the same
// buffer size, else from 0xFFFFFFFF everywhere.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine3d/Light.h"
#include "engine3d/Renderer.h"
#include "engine3d/RendererDrivers.h"
#include "engine3d/SceneView.h"
#include "engine3d/soft/LightingUnit.h"
#include "engine3d/soft/TriangleFiller.h"

namespace engine3d {

class Camera;
class Mesh;
struct Face;

class VexagraphRenderer : public Renderer {
 public:
  // Subdivision stops at this split depth whatever the mesh's question answers, so that a
  // question that always says yes cannot recurse without end.
  static constexpr int kMaxSubdivisionDepth = 8;

  // `scene` is borrowed and may be null (then nothing is drawn and depthAt is -1 everywhere).
  explicit VexagraphRenderer(SceneView* scene);
  ~VexagraphRenderer() override;

  // Hands the scene's lights and ambient colour to the lighting unit (rebuilds its maps).
  void applyLights() override;
  // The whole eye-space units of the depth stored at (x, y), less the drawn mesh's depth layer
  // (-1 where nothing was drawn); -1 outside the scene.
  std::int32_t depthAt(int x, int y) override;
  // "Vexagraph 2.0, " followed by the maker line.
  std::optional<std::string> describe() override;
  // The frame is shown by the scene's own display path.
  void present() override {}

  // The pixels drawn into: the scene's target, or the renderer's own buffer.
  PixelTarget target() const { return target_; }
  bool ownsTarget() const { return !ownPixels_.empty(); }
  // The depth buffer, scene width x scene height entries, row by row.
  const std::vector<std::uint32_t>& depthBuffer() const { return depth_; }
  int depthWidth() const { return depthWidth_; }
  int depthHeight() const { return depthHeight_; }

 protected:
  void makeTargetCurrent() override;
  void clearBackground() override;
  void resetFogAndDepth() override;
  void drawMesh(const DrawItem& item, const FaceSpans& spans) override;
  void finishFrame() override;

 private:
  struct Transform {
    std::int32_t rotation[3][3];  // 1.0 = 8192
    std::int32_t translation[3];  // 16.16
    std::int32_t lighting[3][3];  // 1.0 = 2048
  };

  void loadMaterial(const Material& material);
  void transformVertex(Vertex& v) const;
  void project(Vertex& v) const;
  // Words 13..15 of a vertex whose shading is still pending.
  void shade(Vertex& v) const;
  void shadeCoordinates(Vertex& v) const;
  // Reject (-1) or the bits of the corners nearer than the near plane.
  int classify(const Face& face, Vertex& a, Vertex& b, Vertex& c) const;
  void shadeFlatFace(const Face& face);
  void subdivide(const Face& face, Vertex& a, Vertex& b, Vertex& c, int depth);
  void drawTriangle(Vertex& a, Vertex& b, Vertex& c);
  // The vertex where the edge a-b meets the near plane, or null when the edge is too short
  // along z to place one.
  Vertex* clipEdge(const Vertex& a, const Vertex& b);
  Vertex* takeScratch();
  // Builds the light maps for the view rotation `rotation` (row-major 3x3).
  void buildLighting(const std::array<float, 9>& rotation);

  std::vector<std::uint32_t> depth_;
  int depthWidth_ = 0;
  int depthHeight_ = 0;
  std::vector<std::uint32_t> ownPixels_;
  PixelTarget target_;
  LightingUnit lighting_;
  std::vector<Light> lights_;
  std::vector<Light> eyeLights_;  // lights_ turned into eye space by buildLighting
  Colour ambient_ = 0;
  std::array<float, 9> lightingRotation_{1, 0, 0, 0, 1, 0, 0, 0, 1};  // the maps were built for
  TriangleFiller filler_;
  std::string description_;

  // Per frame.
  int centreX_ = 0;
  int centreY_ = 0;
  int viewportWidth_ = 0;
  int viewportHeight_ = 0;
  std::int32_t focalLength_ = 0;
  bool previousOpaque_ = false;
  int scratchTop_ = 0;

  // Per mesh.
  Transform transform_{};
  const Mesh* mesh_ = nullptr;
  bool needsShading_ = false;
  bool wire_ = false;
  int edgeMask_ = 7;
  bool twoSided_ = false;
  Colour materialColour_ = 0;  // in the target's format
};

// The software renderer and its camera, as a driver table's kRendererSoftware entry.
RendererDriver softwareDriver();

}  // namespace engine3d
