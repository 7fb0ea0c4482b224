#include "engine3d/Renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "engine3d/Camera.h"
#include "engine3d/FixedPoint.h"
#include "engine3d/Group3D.h"
#include "engine3d/Mesh.h"
#include "engine3d/SceneView.h"

namespace engine3d {

namespace {

constexpr std::size_t kDrawListCapacity = 256;
constexpr int kVertexPoolStep = 256;

// Opaque meshes are drawn first and nearest first; everything else afterwards, farthest first,
// so that blending sees what lies behind it.
bool isOpaque(const Material* material) {
  if (!material) return true;
  return material->transparency == 0 && (!material->opacityMap || material->alphaTest);
}

// trunc(v), saturated to the 32-bit range (NaN gives 0).
std::int64_t truncateDouble(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<std::int64_t>(v);
}

}  // namespace

FaceSpans faceSpans(const Mesh& mesh) {
  const int count = mesh.faceCount();
  FaceSpans spans;
  if (mesh.firstFace < 0 || mesh.lastFace < 0) {
    spans.end0 = count;
    return spans;
  }
  const int first = std::min<int>(mesh.firstFace, count);
  const int last = std::min<int>(mesh.lastFace, count);
  spans.first0 = first;
  if (last >= first) {
    spans.end0 = last;
  } else {
    spans.end0 = count;
    spans.end1 = last;
  }
  return spans;
}

void sortDrawList(DrawItem* items, int lo, int hi) {
  while (lo < hi) {
    // The mean of the end keys, formed in 64 bits so that large keys cannot overflow; the
    // shift rounds toward minus infinity like the 32-bit arithmetic shift.
    const std::int32_t pivot = static_cast<std::int32_t>(
        (static_cast<std::int64_t>(items[lo].sortKey) + items[hi].sortKey) >> 1);
    int i = lo;
    int j = hi;
    do {
      while (items[i].sortKey > pivot) ++i;
      while (items[j].sortKey < pivot) --j;
      if (i > j) break;
      std::swap(items[i], items[j]);
      ++i;
      --j;
    } while (j >= i);
    if (lo < j) sortDrawList(items, lo, j);
    lo = i;
  }
}

bool sphereOutside(const Vector3& c, float r, std::int32_t nearFixed, std::int32_t farFixed,
                   std::int32_t tanHalfFov1024, std::int32_t tanHalfFovY1024) {
  // 64-bit sums and products give the 32-bit results wherever those do not overflow, and stay
  // defined where they would.
  const std::int64_t radius = truncateDouble(65536.0 * static_cast<double>(r) * 1.1);
  const std::int64_t z = floatToFixed(c.z);
  if (z > farFixed + radius || z < nearFixed - radius) return true;
  const std::int64_t x = floatToFixed(c.x);
  const std::int64_t y = floatToFixed(c.y);
  const std::int64_t depth = std::llabs(z + radius) >> 10;
  return std::llabs(x) - radius > static_cast<std::int64_t>(tanHalfFov1024) * depth ||
         std::llabs(y) - radius > static_cast<std::int64_t>(tanHalfFovY1024) * depth;
}

float cullingRadius(float radius, const Vector3& size) {
  return std::max(radius, 0.5f * size.length());
}

Renderer::Renderer(int rendererType, SceneView* drawnScene)
    : type(rendererType), scene(drawnScene) {
  drawList_.reserve(kDrawListCapacity);
}

Renderer::~Renderer() = default;

bool Renderer::sphereOutside(const Vector3& c, float r) const {
  return engine3d::sphereOutside(c, r, nearFixed_, farFixed_, tanHalfFov1024_, tanHalfFovY1024_);
}

void Renderer::reserveVertexPool(int count) {
  if (count <= vertexPoolSize()) return;
  const int steps = (count - vertexPoolSize() + kVertexPoolStep - 1) / kVertexPoolStep;
  vertexPool_.resize(vertexPool_.size() + static_cast<std::size_t>(steps) * kVertexPoolStep);
}

void Renderer::renderScene(float dt) {
  makeTargetCurrent();
  if (dt > 0.0f) ++frameCount_;
  lastMaterial = nullptr;
  clearBackground();
  if (scene) scene->drawBackgroundStep();
  resetFogAndDepth();

  statistics_ = {};
  drawList_.clear();

  Camera* camera = scene ? scene->camera() : nullptr;
  if (camera) {
    float fov = 0.0f;
    float near = 0.0f;
    float far = 0.0f;
    camera->getPerspective(fov, near, far);
    view_ = camera->viewMatrix();
    tanHalfFov1024_ = camera->tanHalfFov1024();
    // A portrait view reaches further up and down than sideways.
    tanHalfFovY1024_ = camera->tanHalfFovY1024();
    const int groups = scene->groupCount();
    for (int index = 0; index < groups; ++index) {
      Group3D& group = *scene->group(index);
      if (!group.visible) continue;
      group.animateTextures(dt, frameCount_);
      nearFixed_ = floatToFixed(near);
      farFixed_ = floatToFixed(far);
      queueGroup(group);
    }
  }

  statistics_.meshesQueued = static_cast<int>(drawList_.size());
  if (!drawList_.empty()) sortDrawList(drawList_.data(), 0, statistics_.meshesQueued - 1);
  for (const DrawItem& item : drawList_) drawMesh(item, faceSpans(*item.mesh));
  drawList_.clear();
  finishFrame();
}

void Renderer::queueGroup(Group3D& group) {
  group.worldMatrix = group.localMatrix;
  mul(group.modelViewMatrix, view_, group.worldMatrix);
  group.applyBillboard(view_);
  const Vector3 e = group.modelViewMatrix.translation();
  if (group.cullingPolicy == kCullGroup &&
      sphereOutside(e, cullingRadius(group.radius, group.size)))
    return;
  ++statistics_.groupsDrawn;

  const auto* levels = group.lodLists();
  if (levels && !levels->empty()) {
    const int level = truncateToInt(std::fabs(e.z / group.lodDistance())) - 1;
    if (level >= 0) {
      const int last = static_cast<int>(levels->size()) - 1;
      for (Mesh* mesh : (*levels)[std::min(level, last)])
        if (mesh) queueMesh(group, *mesh);
      return;
    }
  }
  for (const auto& mesh : group.meshes()) queueMesh(group, *mesh);
}

void Renderer::queueMesh(Group3D& group, Mesh& mesh) {
  if (!mesh.visible) return;
  DrawItem item;
  item.mesh = &mesh;
  item.group = &group;
  mul(item.modelView, group.modelViewMatrix, mesh.localMatrix);
  const Vector3 c = item.modelView.transformPoint(mesh.centre);
  std::int32_t key = truncateToInt(c.z * 10.0f);
  // Wrapping arithmetic: only depths far beyond any far plane come near the limits.
  if (isOpaque(mesh.material))
    key = static_cast<std::int32_t>(65536u - static_cast<std::uint32_t>(key));
  if (group.cullingPolicy == kCullMesh && sphereOutside(c, cullingRadius(mesh.radius, mesh.size)))
    return;
  item.sortKey = key;
  mesh.sortKey = key;
  drawList_.push_back(item);
}

}  // namespace engine3d
