// Renderer: the abstract 3D driver of a scene and the frame traversal every driver shares.
//
// A scene owns one renderer, made once by a driver table (RendererDrivers.h) for the driver
// type chosen before the page starts. The virtual operations come in this order: destructor,
// renderScene, applyLights, depthAt, describe, present. The driver-specific steps of a frame
// (making the target current, clearing, fog and depth reset, drawing one mesh, finishing) are
// protected hooks after them, so a driver only writes its drawing and the walk over groups,
// levels of detail, culling and the depth-sorted draw list is the same for every driver.
//
// The renderer borrows its scene, the scene's groups, meshes and materials; it owns nothing of
// them. Its draw list keeps its storage between frames, so a frame allocates nothing once the
// list has grown to the scene's size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine3d/Matrix4.h"
#include "engine3d/Vector3.h"
#include "engine3d/Vertex.h"

namespace engine3d {

class Group3D;
class Mesh;
class SceneView;
struct Material;

// Driver types. Any other value makes no renderer and no camera.
inline constexpr int kRendererSoftware = 0;
inline constexpr int kRendererGles = 1;

// Told the driver's error code when showing a frame fails.
class RendererErrorListener {
 public:
  virtual ~RendererErrorListener() = default;
  virtual void rendererError(int code) = 0;
};

// One entry of a frame's draw list: the mesh, the group that placed it (for a level of detail
// this is the drawing group, not the level's own group), its model-view matrix and depth key.
// The entry carries its own key and matrix because the level meshes shared by clones of a group
// can appear more than once in one frame.
struct DrawItem {
  Mesh* mesh = nullptr;
  Group3D* group = nullptr;
  Matrix4 modelView;
  std::int32_t sortKey = 0;
};

// The faces of a mesh to draw, as up to two half-open index ranges: [first0, end0) and then
// [first1, end1). The second range is empty unless the mesh's face range wraps.
struct FaceSpans {
  int first0 = 0;
  int end0 = 0;
  int first1 = 0;
  int end1 = 0;

  int count() const { return (end0 - first0) + (end1 - first1); }
};

// The faces a mesh draws. With both firstFace and lastFace >= 0: [firstFace, lastFace), and when
// lastFace < firstFace the range wraps, running from firstFace to the end and on from face 0 to
// lastFace. When either is negative, every face. Indices past the face count are clamped to it.
FaceSpans faceSpans(const Mesh& mesh);

// The draw-list order: sorts items[lo..hi] (inclusive) by sortKey, largest first, in place. The
// pivot is the mean of the two end keys; entries with equal keys end up in an order fixed by
// the partitioning, not their input order. Does nothing when hi <= lo.
void sortDrawList(DrawItem* items, int lo, int hi);

// True when the sphere of radius `r` about the eye-space point `c` lies wholly outside the view
// volume. Decided in 16.16 integers: the radius grows by a tenth, the depth is tested against
// nearFixed and farFixed, x against the horizontal half-angle tanHalfFov1024 / 1024 and y
// against the vertical one tanHalfFovY1024 / 1024 (Camera::tanHalfFovY1024).
bool sphereOutside(const Vector3& c, float r, std::int32_t nearFixed, std::int32_t farFixed,
                   std::int32_t tanHalfFov1024, std::int32_t tanHalfFovY1024);
// The same with one half-angle for x and y.
inline bool sphereOutside(const Vector3& c, float r, std::int32_t nearFixed, std::int32_t farFixed,
                          std::int32_t tanHalfFov1024) {
  return sphereOutside(c, r, nearFixed, farFixed, tanHalfFov1024, tanHalfFov1024);
}

// The radius the frame's culling gives a group or mesh of bounding radius `radius` and box
// extent `size`: the larger of the radius and half the box's diagonal. A bounding radius is
// half the box's longest side, which leaves the corners of a flat or cubic box (a room's floor
// and walls) outside its sphere; the box's own diagonal holds them.
float cullingRadius(float radius, const Vector3& size);

// What the last frame drew. The traversal counts groups and meshes; each driver counts the
// vertices it submitted and the triangles it drew.
struct RendererStatistics {
  int groupsDrawn = 0;        // groups that passed culling
  int meshesQueued = 0;       // draw-list entries
  int verticesSubmitted = 0;  // vertices handed to the driver's drawing
  int trianglesDrawn = 0;     // triangles the driver drew
};

class Renderer {
 public:
  virtual ~Renderer();
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // Draws one frame; `dt` is the frame's time step in seconds. A step greater than 0 counts a
  // new frame (frameCount) and advances animated textures; a step of 0 redraws the same frame.
  // The frame's counts are left in statistics(). A scene without a camera draws the background
  // only.
  virtual void renderScene(float dt);
  // (Re)loads the scene's ambient colour and lights into the driver.
  virtual void applyLights() = 0;
  // The depth stored for pixel (x, y) in whole eye-space units; -1 outside the scene's area.
  virtual std::int32_t depthAt(int x, int y) = 0;
  // A text naming the driver, or nothing when it cannot be made.
  virtual std::optional<std::string> describe() = 0;
  // Shows the finished frame; a failure goes to errorListener.
  virtual void present() = 0;

  // True when the sphere lies outside the view volume of the current frame (see the free
  // function; near, far and the half-angles are those of the frame being drawn).
  bool sphereOutside(const Vector3& c, float r) const;

  // The draw list of the frame being drawn (empty between frames).
  const std::vector<DrawItem>& drawList() const { return drawList_; }
  // The view matrix of the frame being drawn.
  const Matrix4& frameView() const { return view_; }
  // What the last frame drew.
  const RendererStatistics& statistics() const { return statistics_; }
  // Frames drawn with dt > 0 so far; only grows.
  std::uint32_t frameCount() const { return frameCount_; }

  int type;
  SceneView* scene;               // not owned, may be null
  bool offscreen = false;         // output goes to the scene's drawing surface
  bool lightsInEyeSpace = false;  // lights fixed to the camera rather than the world
  bool holdPresent = false;       // when set, a frame does not call present()
  RendererErrorListener* errorListener = nullptr;  // not owned, may be null
  int colourDepth = 0;                             // bits per pixel of the target

 protected:
  // `scene` is borrowed and may be null.
  Renderer(int type, SceneView* scene);

  // The camera's near and far distances of the frame being drawn, 16.16.
  std::int32_t nearFixed() const { return nearFixed_; }
  std::int32_t farFixed() const { return farFixed_; }

  // The driver's steps of a frame, in the order renderScene calls them.
  virtual void makeTargetCurrent() {}
  // Colour clear or background image; the scene's own background step follows.
  virtual void clearBackground() {}
  virtual void resetFogAndDepth() {}
  // Draws `spans` of item.mesh with item.modelView.
  virtual void drawMesh(const DrawItem& item, const FaceSpans& spans) = 0;
  virtual void finishFrame() {}

  // Scratch vertices for a clipping driver: grows by 256 vertices at a time until it holds at
  // least `count`, and keeps its storage from then on.
  void reserveVertexPool(int count);
  Vertex* vertexPool() { return vertexPool_.data(); }
  int vertexPoolSize() const { return static_cast<int>(vertexPool_.size()); }

  // The driver's counts of the frame being drawn (the traversal resets them).
  RendererStatistics statistics_;
  // The material a driver applied last; the traversal clears it at the start of every frame,
  // and a driver clears it when its applied state is lost.
  const Material* lastMaterial = nullptr;

 private:
  void queueGroup(Group3D& group);
  void queueMesh(Group3D& group, Mesh& mesh);

  std::uint32_t frameCount_ = 0;
  std::vector<Vertex> vertexPool_;
  std::int32_t nearFixed_ = 0;
  std::int32_t farFixed_ = 0;
  std::vector<DrawItem> drawList_;
  Matrix4 view_;
  std::int32_t tanHalfFov1024_ = 0;
  std::int32_t tanHalfFovY1024_ = 0;
};

}  // namespace engine3d
