// GlesRenderer::drawOverlay: the scene's 2D drawing surface laid over the finished 3D frame.
#include <GLES/gl.h>

#include "engine3d/FixedPoint.h"
#include "engine3d/SceneView.h"
#include "engine3d/TexturePixels.h"
#include "engine3d/gles/GlesRenderer.h"
#include "engine3d/gles/GlesTextures.h"

namespace engine3d {

void GlesRenderer::drawOverlay() {
  if (!scene) return;
  TexturePixels* overlay = scene->drawingSurface();
  const int w = scene->width();
  const int h = scene->height();
  if (w <= 0 || h <= 0) return;
  makeCurrent();

  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  // Replaced, not combined: glOrthox multiplies the current matrix. y grows downwards, as in
  // the surface.
  glLoadIdentity();
  glOrthox(0, intToFixed(w), intToFixed(h), 0, -fixedOne, fixedOne);
  glViewport(scene->x(), viewportRow(scene->y(), h), w, h);

  glEnable(GL_TEXTURE_2D);
  const Colour key = scene->transparentColor();
  if (key != SceneView::kNoColour) {
    // keyToAlpha gave every pixel but the key's alpha 0.
    glEnable(GL_ALPHA_TEST);
    glAlphaFuncx(GL_EQUAL, 0);
  }
  if (overlay && !overlay->uploaded) keyToAlpha(*overlay, key);
  uploadTexture(overlay, GL_RGBA, GL_RGBA, GL_UNSIGNED_BYTE, linearTextureFilter);
  glTexEnvx(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);

  // Texture coordinates inset by half a texel so that each texel lands on its own pixel.
  const GLfixed u0 = fixedOne / (2 * w);
  const GLfixed u1 = fixedOne - u0;
  const GLfixed v0 = fixedOne / (2 * h);
  const GLfixed v1 = fixedOne - v0;
  // At depth 0, halfway between the planes of the orthographic box: at z = 1 the strip would lie
  // exactly on the near plane, where clipping may drop it (Mesa does).
  const GLfixed positions[12] = {
      0, 0, 0, intToFixed(w), 0, 0, 0, intToFixed(h), 0, intToFixed(w), intToFixed(h), 0};
  const GLfixed coordinates[8] = {u0, v0, u1, v0, u0, v1, u1, v1};
  glDisableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FIXED, 0, positions);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FIXED, 0, coordinates);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);

  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glFlush();
  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  // The material state of the next frame must be applied afresh.
  lastMaterial = nullptr;
}

}  // namespace engine3d
