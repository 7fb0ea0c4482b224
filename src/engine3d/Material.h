// Material: how a mesh is coloured, lit and textured.
//
// Plain record read by both renderers. Textures are shared (see Texture.h); copying a material
// shares its textures.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine3d/Colour.h"
#include "engine3d/Texture.h"

namespace engine3d {

// Shading modes (Material::shadingMode, the template's detailLevel).
inline constexpr int kShadingUnlit = 1;             // unlit, transparency ignored
inline constexpr int kShadingUnlitTransparent = 2;  // unlit with transparency
inline constexpr int kShadingLit = 3;               // diffuse lighting, transparency ignored
inline constexpr int kShadingSpecular = 4;          // lit with specular
inline constexpr int kShadingSelfIlluminated = 5;   // lit, specular and self-illumination

// Bits of Material::edgeMask: the edges drawn for wire materials.
inline constexpr int kEdgeBC = 1;
inline constexpr int kEdgeCA = 2;
inline constexpr int kEdgeAB = 4;

struct Material {
  Colour colour = 0x969696;
  Colour selfIllumination = 0;
  int transparency = 0;  // 0 = opaque .. 255 = fully transparent
  std::shared_ptr<Texture> texture;
  std::shared_ptr<Texture> opacityMap;  // grey level: white is opaque
  bool alphaTest = false;
  Colour colourKey = 0;
  std::int32_t textureOffsetU = 0;  // 16.16
  std::int32_t textureOffsetV = 0;  // 16.16
  int shadingMode = kShadingLit;
  std::string name;  // at most kMaxNameLength characters
  bool twoSided = false;
  int specularLevel = 255;  // 0..255
  bool flat = false;
  bool wire = false;
  int edgeMask = kEdgeBC | kEdgeCA | kEdgeAB;
  std::shared_ptr<Texture> reflectionMap;

  // File names of the maps as the model file gives them ("" when absent), kept for tools and
  // diagnostics whether or not the picture could be loaded.
  std::string textureName;
  std::string opacityMapName;
  std::string reflectionMapName;

  static constexpr int kMaxNameLength = 64;

  // Sets the texture. A texture whose current frame has a colour key also becomes the opacity
  // map, with the alpha test on and the key as colourKey, so colour-keyed pictures are
  // alpha-tested without further set-up. A null texture only clears `texture`.
  void attachTexture(std::shared_ptr<Texture> picture);
};

// `name` cut to at most `maxCharacters` UTF-8 characters.
std::string limitName(const std::string& name, int maxCharacters);

}  // namespace engine3d
