#include "engine3d/Light.h"

#include "engine3d/Material.h"

namespace engine3d {

Light Light::make(const std::string& name, const Vector3& direction, Colour colour) {
  Light light;
  light.name = limitName(name, Material::kMaxNameLength);
  light.diffuse = colour;
  light.specular = colour;
  light.direction = normalized(direction);
  return light;
}

int Light::specularExponent() const {
  constexpr int kMaxExponent = 100;
  if (shininess <= 0) return kMaxExponent;
  const int exponent = 4096 / shininess;
  return exponent < kMaxExponent ? exponent : kMaxExponent;
}

}  // namespace engine3d
