#include "engine3d/soft/VexagraphRenderer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine3d/Camera.h"
#include "engine3d/FixedPoint.h"
#include "engine3d/Group3D.h"
#include "engine3d/Light.h"
#include "engine3d/Mesh.h"
#include "engine3d/RendererDrivers.h"
#include "engine3d/soft/SoftCamera.h"

namespace engine3d {

namespace {

constexpr const char* kDescription = "Vexagraph 2.0, Skirrow software renderer";
constexpr int kScreenLimitLow = -4096;
constexpr int kScreenLimitHigh = 4095;
// Room for the vertices one face can need at a time: three per split level and the near-plane
// clipper's two.
constexpr int kScratchVertices = VexagraphRenderer::kMaxSubdivisionDepth * 3 + 8;

std::int32_t wrap32(std::int64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

// trunc(f * scale) in 32 bits, saturating (a matrix element is never near the limits).
std::int32_t scaled(float f, float scale) {
  return truncateToInt(f * scale);
}

bool isOpaque(const Material& m) {
  return m.transparency == 0 && (!m.opacityMap || m.alphaTest);
}

const Material& defaultMaterial() {
  static const Material material;
  return material;
}

// The largest power of two not above n, less one: the wrap mask of a side of n texels (a
// power-of-two side gives n - 1, as texture sides are meant to be).
int wrapMask(int n) {
  if (n <= 0) return 0;
  int p = 1;
  while (p * 2 <= n) p *= 2;
  return p - 1;
}

// Per channel (or per RGB565 field) a * b, scaled back to the channel's range.
std::uint32_t multiplyColour(std::uint32_t a, std::uint32_t b, bool rgb565) {
  if (rgb565) {
    const std::uint32_t r = ((a >> 11) & 31) * ((b >> 11) & 31) >> 5;
    const std::uint32_t g = ((a >> 5) & 63) * ((b >> 5) & 63) >> 6;
    const std::uint32_t bl = (a & 31) * (b & 31) >> 5;
    return (r << 11) | (g << 5) | bl;
  }
  return mulColour(a, b);
}

}  // namespace

VexagraphRenderer::VexagraphRenderer(SceneView* drawnScene)
    : Renderer(kRendererSoftware, drawnScene), description_(kDescription) {
  if (scene) {
    depthWidth_ = std::max(scene->width(), 0);
    depthHeight_ = std::max(scene->height(), 0);
  }
  depth_.assign(static_cast<std::size_t>(depthWidth_) * depthHeight_, 0xFFFFFFFFu);
  const PixelTarget given = scene ? scene->drawTarget() : PixelTarget{};
  if (!given.valid() && depthWidth_ > 0 && depthHeight_ > 0)
    ownPixels_.assign(static_cast<std::size_t>(depthWidth_) * depthHeight_, 0);
  makeTargetCurrent();
  applyLights();
  reserveVertexPool(kScratchVertices);
}

VexagraphRenderer::~VexagraphRenderer() = default;

void VexagraphRenderer::applyLights() {
  lights_.clear();
  ambient_ = 0;
  if (scene) {
    ambient_ = scene->ambient();
    for (int i = 0; i < scene->lightCount(); ++i)
      if (const Light* light = scene->light(i)) lights_.push_back(*light);
  }
  buildLighting(lightingRotation_);
}

void VexagraphRenderer::buildLighting(const std::array<float, 9>& rotation) {
  lightingRotation_ = rotation;
  // The eye-space copies live in a member: assigning over them reuses their room (names
  // included), so relighting as the camera turns allocates nothing.
  std::vector<Light>& eyeLights = eyeLights_;
  eyeLights.assign(lights_.begin(), lights_.end());
  for (Light& light : eyeLights) {
    const Vector3 d = light.direction;
    light.direction = Vector3(rotation[0] * d.x + rotation[1] * d.y + rotation[2] * d.z,
                              rotation[3] * d.x + rotation[4] * d.y + rotation[5] * d.z,
                              rotation[6] * d.x + rotation[7] * d.y + rotation[8] * d.z);
  }
  lighting_.build(eyeLights, ambient_, colourDepth == 16);
  filler_.state.diffuseMap = lighting_.diffuse();
  filler_.state.specularMap = lighting_.specular();
}

std::int32_t VexagraphRenderer::depthAt(int x, int y) {
  if (x < 0 || y < 0 || x >= depthWidth_ || y >= depthHeight_) return -1;
  const std::int32_t depth = eyeDepthOfKey(depth_[static_cast<std::size_t>(y) * depthWidth_ + x]);
  return depth < 0 ? -1 : depth >> 16;
}

std::optional<std::string> VexagraphRenderer::describe() {
  return description_;
}

void VexagraphRenderer::makeTargetCurrent() {
  const PixelTarget given = scene ? scene->drawTarget() : PixelTarget{};
  if (given.valid()) {
    target_ = given;
  } else if (!ownPixels_.empty()) {
    target_ = {ownPixels_.data(), depthWidth_, depthHeight_, depthWidth_ * 4, 32};
  } else {
    target_ = {};
  }
  const int depthBefore = colourDepth;
  colourDepth = target_.valid() ? target_.bitsPerPixel : 32;
  RasterState& s = filler_.state;
  s.bits = static_cast<std::uint8_t*>(target_.bits);
  s.stride = target_.stride;
  s.width = target_.valid() ? std::min(target_.width, depthWidth_) : 0;
  s.height = target_.valid() ? std::min(target_.height, depthHeight_) : 0;
  s.bitsPerPixel = colourDepth;
  s.depth = depth_.data();
  s.depthStride = depthWidth_;
  // The light maps hold target-format cells: a target of another depth needs them rebuilt.
  if (depthBefore != 0 && depthBefore != colourDepth) {
    buildLighting(lightingRotation_);
    lastMaterial = nullptr;
  }
}

void VexagraphRenderer::clearBackground() {
  if (ownPixels_.empty() || !scene) return;
  std::fill(ownPixels_.begin(), ownPixels_.end(), scene->backgroundColour() & 0xFFFFFFu);
}

void VexagraphRenderer::resetFogAndDepth() {
  RasterState& s = filler_.state;
  bool copied = false;
  if (scene) {
    if (SceneView* provider = scene->zBufferProviderScene()) {
      const auto* other = dynamic_cast<const VexagraphRenderer*>(provider->renderer());
      if (other && other != this && other->depthWidth_ == depthWidth_ &&
          other->depthHeight_ == depthHeight_) {
        depth_ = other->depth_;
        copied = true;
      }
    }
  }
  if (!copied) std::fill(depth_.begin(), depth_.end(), 0xFFFFFFFFu);
  s.depth = depth_.data();

  const Fog* fog = scene ? scene->fog() : nullptr;
  s.sceneFog = fog != nullptr;
  if (fog) {
    s.fogColour = colourDepth == 16 ? toRgb565(fog->colour) : (fog->colour & 0xFFFFFFu);
    s.fogFront = fog->front;
    s.fogBack = fog->back;
    // Fog that starts where it ends has no ramp: everything beyond it is fog colour.
    s.fogScale = fog->back > fog->front ? 65536 / (fog->back - fog->front) : 0;
  }

  Camera* camera = scene ? scene->camera() : nullptr;
  if (camera) {
    camera->getViewport(viewportWidth_, viewportHeight_);
    centreX_ = viewportWidth_ / 2;
    centreY_ = viewportHeight_ / 2;
    focalLength_ = camera->focalLength();
  }
  s.depthWrite = true;
  previousOpaque_ = false;
  scratchTop_ = 0;
}

void VexagraphRenderer::finishFrame() {
  scratchTop_ = 0;
}

void VexagraphRenderer::loadMaterial(const Material& m) {
  RasterState& s = filler_.state;
  const bool rgb565 = colourDepth == 16;
  auto convert = [rgb565](Colour c) { return rgb565 ? toRgb565(c) : (c & 0xFFFFFFu); };
  s.mode = std::clamp(m.shadingMode, 1, 5);
  s.flatColour = convert(m.colour);
  materialColour_ = s.flatColour;

  s.texture = nullptr;
  s.textureWidth = s.textureHeight = s.textureMaskU = s.textureMaskV = 0;
  if (m.texture && m.texture->texels() && m.texture->width() > 0 && m.texture->height() > 0) {
    s.texture = m.texture->texels();
    s.textureWidth = m.texture->width();
    s.textureHeight = m.texture->height();
    s.textureMaskU = wrapMask(s.textureWidth);
    s.textureMaskV = wrapMask(s.textureHeight);
  }
  s.opacity = nullptr;
  s.opacityWidth = s.opacityMaskU = s.opacityMaskV = 0;
  int opacityHeight = 0;
  if (m.opacityMap && m.opacityMap->texels() && m.opacityMap->width() > 0 &&
      m.opacityMap->height() > 0) {
    s.opacity = m.opacityMap->texels();
    s.opacityWidth = m.opacityMap->width();
    opacityHeight = m.opacityMap->height();
    s.opacityMaskU = wrapMask(s.opacityWidth);
    s.opacityMaskV = wrapMask(opacityHeight);
  }
  // Texel coordinates follow the texture, or the opacity map when it is drawn alone.
  filler_.textureScaleU = s.texture ? s.textureWidth : s.opacityWidth;
  filler_.textureScaleV = s.texture ? s.textureHeight : opacityHeight;
  filler_.textureOffsetU = m.textureOffsetU;
  filler_.textureOffsetV = m.textureOffsetV;

  s.blendOpacity = s.opacity && !m.alphaTest;
  s.colourKey = convert(m.colourKey);
  s.transparency = m.transparency;
  s.specularLevel = m.specularLevel;
  s.flat = m.flat;
  s.selfIllumination = 0;
  s.reflection = nullptr;
  s.reflectionWidth = s.reflectionMaskU = s.reflectionMaskV = 0;
  if (s.mode == kShadingSelfIlluminated) {
    s.selfIllumination = convert(m.selfIllumination);
    const Texture* map = m.reflectionMap.get();
    if (map && map->texels() && map->width() > 0 && map->height() > 0) {
      s.reflection = map->texels();
      s.reflectionWidth = map->width();
      s.reflectionMaskU = std::min(wrapMask(map->width()), 255);
      s.reflectionMaskV = std::min(wrapMask(map->height()), 255);
    }
  }
  wire_ = m.wire;
  edgeMask_ = m.edgeMask;
  twoSided_ = m.twoSided;
  needsShading_ = s.mode >= kShadingLit && !m.flat;
}

void VexagraphRenderer::drawMesh(const DrawItem& item, const FaceSpans& spans) {
  if (!scene || !item.mesh || !target_.valid()) return;
  Mesh& mesh = *item.mesh;
  mesh_ = &mesh;
  const Material& material = mesh.material ? *mesh.material : defaultMaterial();
  RasterState& s = filler_.state;

  const bool opaque = isOpaque(material);
  if (previousOpaque_ && !opaque) s.depthWrite = false;
  previousOpaque_ = opaque;

  const Matrix4& m = item.modelView;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) transform_.rotation[i][j] = scaled(m.at(i, j), 65536.0f / 8.0f);
    transform_.translation[i] = scaled(m.at(i, 3), 65536.0f);
  }
  // Normals are lit in eye space; world-fixed lights need maps built for this view.
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) transform_.lighting[i][j] = transform_.rotation[i][j] >> 2;
  std::array<float, 9> view{1, 0, 0, 0, 1, 0, 0, 0, 1};
  if (!lightsInEyeSpace)
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) view[i * 3 + j] = frameView().at(i, j);
  if (view != lightingRotation_) buildLighting(view);

  if (lastMaterial != &material) {
    loadMaterial(material);
    lastMaterial = &material;
  }
  s.layerOffset = truncateToInt(65536.0f * mesh.depthLayer);
  s.fogOn = s.sceneFog && mesh.fogEnabled;

  for (Vertex& v : mesh.vertices) transformVertex(v);
  statistics_.verticesSubmitted += mesh.vertexCount();

  auto drawFace = [&](Face& face) {
    if (!mesh.validFace(face)) return;
    Vertex& a = mesh.vertices[face.index(0)];
    Vertex& b = mesh.vertices[face.index(1)];
    Vertex& c = mesh.vertices[face.index(2)];
    const int nearBits = classify(face, a, b, c);
    if (nearBits < 0) return;
    ++statistics_.trianglesDrawn;
    if (s.flat && s.mode >= kShadingLit) shadeFlatFace(face);
    if (nearBits == 0) {
      subdivide(face, a, b, c, 0);
      return;
    }
    if (wire_) return;  // clipped faces are not drawn as lines
    // The polygon left in front of the near plane: three or four corners.
    Vertex* corners[3] = {&a, &b, &c};
    Vertex* polygon[4];
    int count = 0;
    const int saved = scratchTop_;
    for (int i = 0; i < 3; ++i) {
      Vertex& p = *corners[i];
      Vertex& q = *corners[(i + 1) % 3];
      const bool pNear = (nearBits >> i) & 1;
      const bool qNear = (nearBits >> ((i + 1) % 3)) & 1;
      if (!pNear && count < 4) polygon[count++] = &p;
      if (pNear != qNear && count < 4) {
        Vertex* made = pNear ? clipEdge(q, p) : clipEdge(p, q);
        if (made) polygon[count++] = made;
      }
    }
    if (count >= 3) subdivide(face, *polygon[0], *polygon[1], *polygon[2], 0);
    if (count == 4) subdivide(face, *polygon[0], *polygon[2], *polygon[3], 0);
    scratchTop_ = saved;
  };
  for (int i = spans.first0; i < spans.end0; ++i) drawFace(mesh.faces[i]);
  for (int i = spans.first1; i < spans.end1; ++i) drawFace(mesh.faces[i]);
}

void VexagraphRenderer::transformVertex(Vertex& v) const {
  const std::int64_t x = v.x >> 9;
  const std::int64_t y = v.y >> 9;
  const std::int64_t z = v.z >> 9;
  for (int i = 0; i < 3; ++i) {
    const std::int32_t* r = transform_.rotation[i];
    v.work[vw::kEyeX + i] =
        wrap32(((x * r[0] + y * r[1] + z * r[2]) >> 4) + transform_.translation[i]);
  }
  project(v);
  v.work[vw::kDepth] = vw::kShadingPending;
}

void VexagraphRenderer::project(Vertex& v) const {
  const std::int32_t z = v.work[vw::kEyeZ];
  if (z < nearFixed()) {
    v.clipFlags = kOutNear;
    return;
  }
  // A near plane closer than 1/2048 unit would leave nothing to divide by.
  const std::int64_t divisor = std::max<std::int32_t>(z >> 5, 1);
  const std::int64_t px =
      (static_cast<std::int64_t>(v.work[vw::kEyeX] >> 5) * focalLength_) / divisor + centreX_;
  const std::int64_t py =
      centreY_ - (static_cast<std::int64_t>(v.work[vw::kEyeY] >> 5) * focalLength_) / divisor;
  const int sx = static_cast<int>(std::clamp<std::int64_t>(px, kScreenLimitLow, kScreenLimitHigh));
  const int sy = static_cast<int>(std::clamp<std::int64_t>(py, kScreenLimitLow, kScreenLimitHigh));
  v.work[vw::kScreenX] = sx;
  v.work[vw::kScreenY] = sy;
  std::int32_t out = 0;
  if (sx < 0) out |= kOutLeft;
  if (sx > viewportWidth_) out |= kOutRight;
  if (sy < 0) out |= kOutTop;
  if (sy > viewportHeight_) out |= kOutBottom;
  if (z > farFixed()) out |= kOutFar;
  v.clipFlags = out;
}

void VexagraphRenderer::shade(Vertex& v) const {
  v.work[vw::kDepth] = v.work[vw::kEyeZ] >> 16;
  if (needsShading_) shadeCoordinates(v);
}

void VexagraphRenderer::shadeCoordinates(Vertex& v) const {
  for (int row = 0; row < 2; ++row) {
    const std::int32_t* l = transform_.lighting[row];
    const std::int64_t dot =
        (static_cast<std::int64_t>(v.nx) * l[0] + static_cast<std::int64_t>(v.ny) * l[1] +
         static_cast<std::int64_t>(v.nz) * l[2]) >>
        11;
    v.work[vw::kLightU + row] = wrap32(127 + ((127 * dot) >> 16));
  }
}

int VexagraphRenderer::classify(const Face& face, Vertex& a, Vertex& b, Vertex& c) const {
  if (a.clipFlags & b.clipFlags & c.clipFlags) return -1;
  if (!twoSided_) {
    const std::int64_t n[3] = {face.nx >> 5, face.ny >> 5, face.nz >> 5};
    std::int64_t dot = 0;
    for (int i = 0; i < 3; ++i) {
      const std::int32_t* r = transform_.rotation[i];
      const std::int64_t turned = n[0] * r[0] + n[1] * r[1] + n[2] * r[2];
      dot += turned * (a.work[vw::kEyeX + i] >> 5);
    }
    if (dot <= 0) return -1;
  }
  for (Vertex* v : {&a, &b, &c})
    if (v->work[vw::kDepth] == vw::kShadingPending) shade(*v);
  return (a.clipFlags == kOutNear ? 1 : 0) | (b.clipFlags == kOutNear ? 2 : 0) |
         (c.clipFlags == kOutNear ? 4 : 0);
}

void VexagraphRenderer::shadeFlatFace(const Face& face) {
  RasterState& s = filler_.state;
  std::int32_t turned[2];
  for (int row = 0; row < 2; ++row) {
    const std::int32_t* l = transform_.lighting[row];
    turned[row] = wrap32((static_cast<std::int64_t>(face.nx) * l[0] +
                          static_cast<std::int64_t>(face.ny) * l[1] +
                          static_cast<std::int64_t>(face.nz) * l[2]) >>
                         11);
  }
  const int x =
      std::clamp(static_cast<int>((static_cast<std::int64_t>(turned[0]) * 31) >> 16), -32, 31);
  const int y =
      std::clamp(static_cast<int>((static_cast<std::int64_t>(turned[1]) * 31) >> 16), -32, 31);
  s.faceCell = y * 64 + x + 2080;
  s.faceColour = multiplyColour(s.diffuseMap[s.faceCell], materialColour_, colourDepth == 16);
  s.faceLu = wrap32(127 + ((127 * static_cast<std::int64_t>(turned[0])) >> 16));
  s.faceLv = wrap32(127 + ((127 * static_cast<std::int64_t>(turned[1])) >> 16));
}

Vertex* VexagraphRenderer::takeScratch() {
  if (scratchTop_ >= vertexPoolSize()) return nullptr;
  return &vertexPool()[scratchTop_++];
}

Vertex* VexagraphRenderer::clipEdge(const Vertex& a, const Vertex& b) {
  const std::int64_t za = a.work[vw::kEyeZ];
  const std::int64_t zb = b.work[vw::kEyeZ];
  if (zb == za || std::llabs(zb - za) < 65536 / 16) return nullptr;
  Vertex* made = takeScratch();
  if (!made) return nullptr;
  const std::int64_t t = ((static_cast<std::int64_t>(nearFixed()) - za) << 5) / (zb - za);
  auto along = [t](std::int32_t from, std::int32_t to) {
    return wrap32(from + (((static_cast<std::int64_t>(to) - from) * t) >> 5));
  };
  *made = Vertex{};
  made->work[vw::kEyeX] = along(a.work[vw::kEyeX], b.work[vw::kEyeX]);
  made->work[vw::kEyeY] = along(a.work[vw::kEyeY], b.work[vw::kEyeY]);
  made->work[vw::kEyeZ] = nearFixed();
  made->u = along(a.u, b.u);
  made->v = along(a.v, b.v);
  if (needsShading_) {
    made->nx = along(a.nx, b.nx);
    made->ny = along(a.ny, b.ny);
    made->nz = along(a.nz, b.nz);
  }
  project(*made);
  made->clipFlags = kOutGenerated;
  shade(*made);
  return made;
}

void VexagraphRenderer::subdivide(const Face& face, Vertex& a, Vertex& b, Vertex& c, int depth) {
  SubdivisionQuestion* question = mesh_ ? mesh_->subdivision : nullptr;
  auto corner = [](const Vertex& v) {
    return ProjectedCorner{v.work[vw::kScreenX], v.work[vw::kScreenY], v.work[vw::kDepth]};
  };
  const ProjectedCorner corners[3] = {corner(a), corner(b), corner(c)};
  if (!question || depth >= kMaxSubdivisionDepth || !question->shouldSplit(face, depth, corners)) {
    drawTriangle(a, b, c);
    return;
  }
  const int saved = scratchTop_;
  auto midpoint = [this](const Vertex& p, const Vertex& q) -> Vertex* {
    Vertex* m = takeScratch();
    if (!m) return nullptr;
    auto half = [](std::int32_t x, std::int32_t y) {
      return wrap32((static_cast<std::int64_t>(x) + y) >> 1);
    };
    *m = Vertex{};
    m->u = half(p.u, q.u);
    m->v = half(p.v, q.v);
    m->nx = half(p.nx, q.nx);
    m->ny = half(p.ny, q.ny);
    m->nz = half(p.nz, q.nz);
    for (int w = vw::kEyeX; w <= vw::kEyeZ; ++w) m->work[w] = half(p.work[w], q.work[w]);
    m->work[vw::kLightU] = half(p.work[vw::kLightU], q.work[vw::kLightU]);
    m->work[vw::kLightV] = half(p.work[vw::kLightV], q.work[vw::kLightV]);
    project(*m);
    m->work[vw::kDepth] = m->work[vw::kEyeZ] >> 16;
    return m;
  };
  Vertex* ab = midpoint(a, b);
  Vertex* bc = midpoint(b, c);
  Vertex* ca = midpoint(c, a);
  if (!ab || !bc || !ca) {
    scratchTop_ = saved;
    drawTriangle(a, b, c);
    return;
  }
  subdivide(face, a, *ab, *ca, depth + 1);
  subdivide(face, b, *bc, *ab, depth + 1);
  subdivide(face, c, *ca, *bc, depth + 1);
  subdivide(face, *ab, *bc, *ca, depth + 1);
  scratchTop_ = saved;
}

void VexagraphRenderer::drawTriangle(Vertex& a, Vertex& b, Vertex& c) {
  // Parts of a split face can lie wholly beyond one screen edge even when the face did not.
  if (a.clipFlags & b.clipFlags & c.clipFlags) return;
  const bool nearCorner =
      a.clipFlags == kOutNear || b.clipFlags == kOutNear || c.clipFlags == kOutNear;
  if (wire_) {
    if (nearCorner) return;
    if (edgeMask_ & kEdgeBC) filler_.drawLine(b, c);
    if (edgeMask_ & kEdgeCA) filler_.drawLine(c, a);
    if (edgeMask_ & kEdgeAB) filler_.drawLine(a, b);
    return;
  }
  // Split parts of a face crossing the near plane were clipped before splitting; a corner
  // still nearer than the plane has no screen position to fill from.
  if (nearCorner) return;
  filler_.fillTriangle(a, b, c);
}

namespace {

std::unique_ptr<Renderer> makeSoftRenderer(SceneView* scene) {
  return std::make_unique<VexagraphRenderer>(scene);
}

std::unique_ptr<Camera> makeSoftCamera(SceneView* scene, int mode) {
  return std::make_unique<SoftCamera>(scene, mode);
}

}  // namespace

RendererDriver softwareDriver() {
  return RendererDriver{makeSoftRenderer, makeSoftCamera};
}

}  // namespace engine3d
