// GlesRenderer::applyMaterial: the GL state of one material. Called only when the material
// differs from the one applied last, so consecutive meshes of one material share it.
#include <GLES/gl.h>

#include "engine3d/FixedPoint.h"
#include "engine3d/Material.h"
#include "engine3d/TexturePixels.h"
#include "engine3d/gles/GlesConvert.h"
#include "engine3d/gles/GlesRenderer.h"
#include "engine3d/gles/GlesTextures.h"

namespace engine3d {

namespace {

TexturePixels* pixelsOf(const std::shared_ptr<Texture>& texture) {
  return texture ? texture->texturePixels() : nullptr;
}

// A grey of the colour's brightness lifted by 100 per channel: a textured surface is tinted by
// the vertex colour under GL_MODULATE, and a plain luma would darken the texture too much.
Colour texturedColour(Colour c) {
  return addSaturate(luma(c), 0x646464u) & 0xFFFFFFu;
}

}  // namespace

void GlesRenderer::applyMaterial(const Material& material) {
  glMatrixMode(GL_TEXTURE);
  if (material.textureOffsetU != 0 || material.textureOffsetV != 0) {
    loadMatrixFixed(
        Matrix4::translationMatrix(Vector3(fixedToFloatValue(material.textureOffsetU),
                                           fixedToFloatValue(material.textureOffsetV), 0.0f)));
  } else {
    glLoadIdentity();
  }

  int mode = material.shadingMode;
  unlit = material.wire;
  lighting = !unlit && mode > 2;
  colour = material.colour;
  transparency = material.transparency;
  if (unlit) mode = kShadingUnlit;
  // Modes 1 and 3 ignore transparency.
  if (mode == kShadingUnlit || mode == kShadingLit) transparency = 0;
  texturing = !unlit && (material.texture || material.opacityMap || material.reflectionMap);

  glDisable(GL_ALPHA_TEST);
  if (transparency != 0 || (material.opacityMap && !material.alphaTest)) {
    glEnable(GL_BLEND);
    // Alpha counts transparency: the source weighs 1 - alpha, what lies behind alpha.
    glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
  } else {
    glDisable(GL_BLEND);
  }
  glShadeModel(material.flat ? GL_FLAT : GL_SMOOTH);
  if (material.twoSided)
    glDisable(GL_CULL_FACE);
  else
    glEnable(GL_CULL_FACE);
  // OpenGL ES takes material colours for GL_FRONT_AND_BACK only (GL_FRONT is an invalid enum
  // that leaves the default grey material in place); a one-sided material culls its back faces
  // instead, so the colours apply to what is drawn either way.
  constexpr GLenum face = GL_FRONT_AND_BACK;

  if (texturing) {
    glEnable(GL_TEXTURE_2D);
    glTexEnvx(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, lighting ? GL_MODULATE : GL_REPLACE);
    TexturePixels* texture = pixelsOf(material.texture);
    if (material.opacityMap) {
      TexturePixels* map = pixelsOf(material.opacityMap);
      std::uint32_t key = kNoKey;
      if (material.alphaTest) {
        glEnable(GL_ALPHA_TEST);
        key = material.colourKey;
      } else {
        glDisable(GL_ALPHA_TEST);
      }
      if (material.texture) {
        setAlphaChannel(texture, map, transparency, key, swapRedBlue);
      } else {
        setAlphaChannel(nullptr, map, transparency, key, swapRedBlue);
        uploadTexture(map, GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE,
                      linearTextureFilter);
        glTexEnvx(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_BLEND);
      }
      // The texture's alpha now carries the transparency; the colour's alpha must not add to it.
      transparency = 255;
    } else if (lighting) {
      if (transparency != 0) setAlphaChannel(texture, nullptr, transparency, kNoKey, swapRedBlue);
    } else if (transparency != 0 || (texture && !texture->opaque)) {
      // An alpha channel written for an earlier material is reset to this one's level.
      setAlphaChannel(texture, nullptr, transparency, kNoKey, swapRedBlue);
    }
    if (material.texture) {
      uploadTexture(texture, GL_RGBA, GL_RGBA, GL_UNSIGNED_BYTE, linearTextureFilter);
      colour = texturedColour(colour);
    } else if (material.reflectionMap) {
      // The reflection map itself is not bound: whatever texture is bound stays in use.
      colour = texturedColour(colour);
    }
  } else {
    glDisable(GL_TEXTURE_2D);
  }

  if (mode == kShadingLit) {
    static constexpr GLfixed kZero[4] = {0, 0, 0, 0};
    glMaterialxv(face, GL_AMBIENT_AND_DIFFUSE, toFixedColour(colour, transparency).data());
    glMaterialxv(face, GL_SPECULAR, kZero);
    glMaterialx(face, GL_SHININESS, 0);
    glMaterialxv(face, GL_EMISSION, kZero);
  } else if (mode == kShadingSpecular || mode == kShadingSelfIlluminated) {
    const std::uint32_t s = static_cast<std::uint32_t>(material.specularLevel) & 0xFFu;
    const Colour specular = rgb(s, s, s);
    Colour emission = 0;
    Colour diffuse = colour;
    if (mode == kShadingSelfIlluminated) {
      const Colour e = material.selfIllumination;
      emission = e;
      const int m = static_cast<int>(red(e) + green(e) + blue(e)) / 3;
      if (m != 0)
        diffuse = lerpColour(scaleColour(colour, static_cast<std::uint32_t>(255 - m)), e, 255 - m);
    }
    const int alpha = material.texture ? 255 : transparency;
    glMaterialxv(face, GL_AMBIENT_AND_DIFFUSE, toFixedColour(diffuse, alpha).data());
    glMaterialxv(face, GL_SPECULAR, toFixedColour(specular, 0).data());
    // An exponent of 100 (16.16): a tight highlight. The raw integer 100 would be read as
    // 100 / 65536, an exponent near 0 that turns every lit face the specular colour.
    glMaterialx(face, GL_SHININESS, intToFixed(100));
    glMaterialxv(face, GL_EMISSION, toFixedColour(emission, 0).data());
  }

  if (lighting) {
    glEnable(GL_LIGHTING);
  } else {
    glDisable(GL_LIGHTING);
    const auto c = toFixedColour(colour, transparency);
    glColor4x(c[0], c[1], c[2], c[3]);
  }
}

}  // namespace engine3d
