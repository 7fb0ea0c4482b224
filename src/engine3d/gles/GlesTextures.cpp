#include "engine3d/gles/GlesTextures.h"

#include <GLES/gl.h>

#include <cstdlib>

#include "host/MessageBoxes.h"

namespace engine3d {

namespace {

std::uint32_t* row32(TexturePixels& p, int y) {
  return reinterpret_cast<std::uint32_t*>(p.bits + static_cast<std::ptrdiff_t>(y) * p.stride);
}

std::uint32_t greyOf(std::uint32_t p) {
  return ((p & 0xFFu) + ((p >> 8) & 0xFFu) + ((p >> 16) & 0xFFu)) / 3;
}

// Transparency from a map pixel's brightness: white gives 255 - (255 x (255 - level) >> 8).
std::uint32_t alphaFromGrey(std::uint32_t p, int level) {
  return 255u - ((greyOf(p) * static_cast<std::uint32_t>(255 - level)) >> 8);
}

bool writable(const TexturePixels* p) {
  return p && p->bits && !p->uploaded && p->bitsPerPixel >= 32;
}

}  // namespace

void uploadTexture(TexturePixels* pixels, int internalFormat, int format, int type,
                   bool linearFilter) {
  glBindTexture(GL_TEXTURE_2D, pixels ? pixels->name : 0);
  if (!pixels || pixels->uploaded) return;
  if (pixels->bitsPerPixel != 32) {
    host::messageBox(0, "OpenGL Requires 32-bit pixamap.", "Error", host::MB_OK);
    std::exit(1);
  }
  const GLfixed filter = linearFilter ? GL_LINEAR : GL_NEAREST;
  glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, pixels->width, pixels->height, 0,
               static_cast<GLenum>(format), static_cast<GLenum>(type), pixels->bits);
  pixels->uploaded = true;
}

void releaseTexture(TexturePixels& pixels) {
  const GLuint name = pixels.name;
  glDeleteTextures(1, &name);
  pixels.uploaded = false;
}

void setAlphaChannel(TexturePixels* texture, TexturePixels* opacityMap, int level,
                     std::uint32_t key, bool swapRedBlue) {
  if (texture && !opacityMap) {
    if (!writable(texture)) return;
    const std::uint32_t alpha = static_cast<std::uint32_t>(level & 0xFF) << 24;
    for (int y = 0; y < texture->height; ++y) {
      std::uint32_t* p = row32(*texture, y);
      for (int x = 0; x < texture->width; ++x) p[x] = (p[x] & 0xFFFFFFu) | alpha;
    }
    texture->opaque = false;
    return;
  }
  if (!texture && opacityMap) {
    if (!writable(opacityMap)) return;
    // In place: each output row starts at half the input row's offset, and every pixel is read
    // before anything is written over it.
    const int outStride = opacityMap->stride / 2;
    for (int y = 0; y < opacityMap->height; ++y) {
      const std::uint32_t* in = row32(*opacityMap, y);
      auto* out = reinterpret_cast<std::uint16_t*>(opacityMap->bits +
                                                   static_cast<std::ptrdiff_t>(y) * outStride);
      for (int x = 0; x < opacityMap->width; ++x)
        out[x] = static_cast<std::uint16_t>(alphaFromGrey(in[x], level) << 8);
    }
    opacityMap->opaque = false;
    return;
  }
  if (!texture || !opacityMap || !writable(texture)) return;
  if (opacityMap->bits && texture->width == opacityMap->width &&
      texture->height == opacityMap->height && texture->bitsPerPixel == opacityMap->bitsPerPixel) {
    std::uint32_t colourKey = key;
    if (key != kNoKey && swapRedBlue)
      colourKey = ((key & 0xFFu) << 16) | (key & 0xFF00u) | ((key >> 16) & 0xFFu);
    for (int y = 0; y < texture->height; ++y) {
      std::uint32_t* t = row32(*texture, y);
      const std::uint32_t* m = row32(*opacityMap, y);
      for (int x = 0; x < texture->width; ++x) {
        // The map may be the texture itself (a colour-keyed picture): compare colours only,
        // never the alpha byte written a moment ago.
        const std::uint32_t mapPixel = m[x];
        std::uint32_t alpha;
        if (key != kNoKey)
          alpha = (mapPixel & 0xFFFFFFu) == (colourKey & 0xFFFFFFu) ? 255u : 0u;
        else
          alpha = alphaFromGrey(mapPixel, level);
        t[x] = (t[x] & 0xFFFFFFu) | (alpha << 24);
      }
    }
  }
  texture->opaque = false;
}

void keyToAlpha(TexturePixels& surface, std::uint32_t key) {
  if (!surface.bits || surface.bitsPerPixel != 32) return;
  const std::uint32_t colourKey = key & 0xFFFFFFu;
  for (int y = 0; y < surface.height; ++y) {
    std::uint32_t* p = row32(surface, y);
    for (int x = 0; x < surface.width; ++x) {
      const std::uint32_t c = p[x] & 0xFFFFFFu;
      if (c != colourKey)
        p[x] = ((c & 0xFFu) << 16) | (c & 0xFF00u) | (c >> 16);
      else
        p[x] = c | 0xFF000000u;
    }
  }
}

}  // namespace engine3d
