#include "engine3d/Material.h"

namespace engine3d {

void Material::attachTexture(std::shared_ptr<Texture> picture) {
  texture = std::move(picture);
  if (!texture) return;
  if (const auto key = texture->transparentColour()) {
    opacityMap = texture;
    alphaTest = true;
    colourKey = *key;
  }
}

std::string limitName(const std::string& name, int maxCharacters) {
  int characters = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    // Count lead bytes only, so a multi-byte character is never split.
    if ((static_cast<unsigned char>(name[i]) & 0xC0) != 0x80) {
      if (characters == maxCharacters) return name.substr(0, i);
      ++characters;
    }
  }
  return name;
}

}  // namespace engine3d
