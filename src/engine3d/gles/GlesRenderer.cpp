#include "engine3d/gles/GlesRenderer.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine3d/FixedPoint.h"
#include "engine3d/Light.h"
#include "engine3d/Material.h"
#include "engine3d/Mesh.h"
#include "engine3d/SceneView.h"
#include "engine3d/TexturePixels.h"
#include "engine3d/gles/GlesConvert.h"
#include "engine3d/gles/GlesTextures.h"
#include "host/Host.h"

namespace engine3d {

namespace {

bool isOpaque(const Material* material) {
  if (!material) return true;
  return material->transparency == 0 && (!material->opacityMap || material->alphaTest);
}

int displayDepth() {
  return host::Host::get().profile().displayDepth;
}

}  // namespace

void GlesRenderer::fatal() {
  std::exit(1);
}

void GlesRenderer::check(bool ok) {
  if (!ok || host::eglGetError() != host::kEglSuccess) fatal();
}

GlesRenderer::GlesRenderer(SceneView* drawnScene, host::EglNativeDisplay nativeDisplay)
    : Renderer(kRendererGles, drawnScene) {
  holdPresent = false;
  offscreen = scene && scene->offscreen();
  TexturePixels* target = scene ? scene->drawingSurface() : nullptr;
  colourDepth = offscreen ? (target ? target->bitsPerPixel : 0) : displayDepth();

  display = host::eglGetDisplay(nativeDisplay);
  if (display == host::kEglNoDisplay) fatal();
  check(host::eglInitialize(display, nullptr, nullptr));

  // clang-format off
  const host::EglInt attributes[] = {
      host::kEglLevel,            0,
      host::kEglSampleBuffers,    0,
      host::kEglNativeRenderable, offscreen ? 1 : 0,
      host::kEglDepthSize,        16,
      host::kEglSurfaceType,      offscreen ? host::kEglPixmapBit : host::kEglWindowBit,
      host::kEglNone};
  // clang-format on
  host::EglConfig config = nullptr;
  host::EglInt count = 0;
  check(host::eglChooseConfig(display, attributes, &config, 1, &count) && count > 0);

  if (offscreen)
    surface = host::eglCreatePixmapSurface(display, config, target ? target->bitmap : 0, nullptr);
  else
    surface = host::eglCreateWindowSurface(display, config, scene ? scene->window() : 0, nullptr);
  check(surface != host::kEglNoSurface);
  host::EglInt height = 0;
  host::eglQuerySurface(display, surface, host::kEglHeight, &height);
  surfaceHeight_ = height;

  context = host::eglCreateContext(display, config, host::kEglNoContext, nullptr);
  check(context != host::kEglNoContext);
  host::eglMakeCurrent(display, surface, surface, context);

  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glAlphaFuncx(GL_LESS, floatToFixed(0.5f));
  glFrontFace(offscreen ? GL_CW : GL_CCW);
  glCullFace(GL_BACK);
  glDisable(GL_NORMALIZE);
  // Dithering only pays where the target has fewer than 8 bits per channel.
  if (colourDepth < 24) glEnable(GL_DITHER);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  GLint lights = 0;
  glGetIntegerv(GL_MAX_LIGHTS, &lights);
  maxLights = lights;
  glLightModelx(GL_LIGHT_MODEL_TWO_SIDE, 0);

  applyLights();
}

GlesRenderer::~GlesRenderer() {
  host::eglMakeCurrent(display, host::kEglNoSurface, host::kEglNoSurface, host::kEglNoContext);
  host::eglDestroyContext(display, context);
  host::eglDestroySurface(display, surface);
  host::eglTerminate(display);
}

void GlesRenderer::makeCurrent() {
  host::eglMakeCurrent(display, surface, surface, context);
}

void GlesRenderer::applyLights() {
  makeCurrent();
  const Colour ambient = scene ? scene->ambient() : 0;
  glLightModelxv(GL_LIGHT_MODEL_AMBIENT, toFixedColour(ambient, 0).data());
  const int lights = scene ? scene->lightCount() : 0;
  static constexpr GLfixed kNoAmbient[4] = {0, 0, 0, fixedOne};
  for (int i = 0; i < lights; ++i) {
    const GLenum id = static_cast<GLenum>(GL_LIGHT0 + i);
    const Light* light = scene->light(i);
    if (i >= maxLights) {
      glDisable(id);
      continue;
    }
    if (!light) continue;
    if (lightsInEyeSpace) glLightxv(id, GL_POSITION, toFixedVector(light->direction, 0).data());
    glLightxv(id, GL_AMBIENT, kNoAmbient);
    glLightxv(id, GL_DIFFUSE, toFixedColour(light->diffuse, 0).data());
    glLightxv(id, GL_SPECULAR, toFixedColour(light->specular, 0).data());
    glEnable(id);
  }
}

std::int32_t GlesRenderer::depthAt(int x, int y) {
  if (!scene || x < 0 || y < 0 || x >= scene->width() || y >= scene->height()) return -1;
  return 0;
}

std::optional<std::string> GlesRenderer::describe() {
  makeCurrent();
  const char* vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (!vendor || !version) return std::nullopt;
  const char* prefix = std::strstr(version, "OpenGL") ? "" : "OpenGL";
  return std::string(prefix) + " " + version + ", " + vendor;
}

void GlesRenderer::present() {
  if (!host::eglSwapBuffers(display, surface) && errorListener)
    errorListener->rendererError(host::eglGetError());
}

int GlesRenderer::viewportRow(int sceneY, int height) const {
  return offscreen ? sceneY : surfaceHeight_ - sceneY - height;
}

void GlesRenderer::releaseTexture(TexturePixels& pixels) {
  makeCurrent();
  engine3d::releaseTexture(pixels);
}

void GlesRenderer::makeTargetCurrent() {
  makeCurrent();
  previousOpaque_ = true;
}

void GlesRenderer::clearBackground() {
  if (!scene || offscreen || scene->hasBkgTexture()) return;
  const Colour background = scene->bkgColor();
  if (background == SceneView::kNoColour) return;
  const auto c = toFixedColour(background, 0);
  glClearColorx(c[0], c[1], c[2], c[3]);
  glClear(GL_COLOR_BUFFER_BIT);
}

void GlesRenderer::resetFogAndDepth() {
  // A pixmap scene draws over its bitmap: the page's layers and the scene's background step
  // went into it natively, and GL must see them before it draws.
  if (offscreen) host::eglWaitNative(host::kEglCoreNativeEngine);
  if (const Fog* fog = scene ? scene->fog() : nullptr) {
    glFogx(GL_FOG_MODE, GL_LINEAR);
    glFogxv(GL_FOG_COLOR, toFixedColour(fog->colour, 0).data());
    // Fog distances are whole eye-space units, like every other distance of the scene.
    glFogx(GL_FOG_START, intToFixed(fog->front));
    glFogx(GL_FOG_END, intToFixed(fog->back));
  }
  // A depth buffer shared with another scene keeps what that scene drew.
  if (!scene || !scene->zBufferProviderScene()) glClear(GL_DEPTH_BUFFER_BIT);
  glDepthMask(GL_TRUE);
}

void GlesRenderer::drawMesh(const DrawItem& item, const FaceSpans& spans) {
  Mesh& mesh = *item.mesh;
  // Transparent meshes come last in the list; from the first of them on, depth writes stay
  // off so that they do not hide each other.
  const bool opaque = isOpaque(mesh.material);
  if (previousOpaque_ && !opaque) glDepthMask(GL_FALSE);
  previousOpaque_ = opaque;
  setUpMesh(mesh, item.modelView);
  if (mesh.material && mesh.material != lastMaterial) {
    lastMaterial = mesh.material;
    applyMaterial(*mesh.material);
  }
  // GL lights per vertex: a flat material's mesh has no vertex normals of its own (the flat
  // shade model then takes each face's colour from its last vertex).
  if (lighting) mesh.ensureVertexNormals();
  drawFaces(mesh, spans);
}

void GlesRenderer::sendLightPositions() {
  const int lights = scene ? std::min(scene->lightCount(), maxLights) : 0;
  for (int i = 0; i < lights; ++i)
    if (const Light* light = scene->light(i))
      glLightxv(static_cast<GLenum>(GL_LIGHT0 + i), GL_POSITION,
                toFixedVector(light->direction, 0).data());
}

void GlesRenderer::setUpMesh(const Mesh& mesh, const Matrix4& modelView) {
  glMatrixMode(GL_MODELVIEW);
  if (!lightsInEyeSpace) {
    // Positions are transformed by the model-view matrix current when they are sent: with the
    // view matrix loaded, the directions stay fixed in the world.
    loadMatrixFixed(frameView());
    sendLightPositions();
  }
  loadMatrixFixed(modelView);
  if (scene && scene->fog() && mesh.fogEnabled)
    glEnable(GL_FOG);
  else
    glDisable(GL_FOG);
  const float d = mesh.depthLayer * 0.1f;
  const float nearRange = std::max(0.0f, 0.1f - d);
  const float farRange = 1.0f - d;
  glDepthRangex(floatToFixed(nearRange), floatToFixed(farRange));
}

void GlesRenderer::drawFaces(Mesh& mesh, const FaceSpans& spans) {
  if (mesh.indexArray.size() != mesh.faces.size() * 3) mesh.buildIndexArray();
  const auto* base = reinterpret_cast<const std::uint8_t*>(mesh.vertices.data());
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FIXED, sizeof(Vertex), base + offsetof(Vertex, x));
  if (texturing) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FIXED, sizeof(Vertex), base + offsetof(Vertex, u));
  } else {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  if (lighting) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FIXED, sizeof(Vertex), base + offsetof(Vertex, nx));
  } else {
    glDisableClientState(GL_NORMAL_ARRAY);
  }
  statistics_.verticesSubmitted += mesh.vertexCount();
  const std::uint16_t* indices = mesh.indexArray.data();
  if (spans.end0 > spans.first0)
    glDrawElements(GL_TRIANGLES, (spans.end0 - spans.first0) * 3, GL_UNSIGNED_SHORT,
                   indices + spans.first0 * 3);
  if (spans.end1 > spans.first1)
    glDrawElements(GL_TRIANGLES, (spans.end1 - spans.first1) * 3, GL_UNSIGNED_SHORT,
                   indices + spans.first1 * 3);
  statistics_.trianglesDrawn += spans.count();
}

void GlesRenderer::finishFrame() {
  glDepthMask(GL_TRUE);
  glFlush();
  if (offscreen) {
    // The frame belongs in the drawing surface's bitmap before the scene's own blit reads it.
    host::eglWaitGL();
    return;
  }
  if (!holdPresent) present();
}

}  // namespace engine3d
