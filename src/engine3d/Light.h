// Light and Fog: the lighting and fog settings of a 3D scene.
#pragma once

#include <string>

#include "engine3d/Colour.h"
#include "engine3d/Vector3.h"

namespace engine3d {

// A directional light. The OpenGL ES driver uses the colours and the direction; the software
// renderer also the specular strength and shininess.
struct Light {
  static constexpr int kDefaultSpecularStrength = 320;  // in 1/255: 320 means 1.255
  static constexpr int kDefaultShininess = 120;

  Colour diffuse = 0xFFFFFF;
  Colour specular = 0xFFFFFF;
  int specularStrength = kDefaultSpecularStrength;
  int shininess = kDefaultShininess;  // the specular exponent is min(4096 / shininess, 100)
  Vector3 direction{0.0f, -1.0f, 0.0f};
  std::string name;  // at most 64 characters

  // A light as a template creates it: `colour` for both colours, the default strength and
  // shininess, `direction` normalised (a zero vector stays zero).
  static Light make(const std::string& name, const Vector3& direction, Colour colour);

  // The exponent the software renderer raises the specular term to: 4096 / shininess (integer
  // division), at most 100; 100 for a shininess of 0 or less.
  int specularExponent() const;
};

// Linear fog from `front` to `back` (eye depth) in `colour`. A scene has at most one.
struct Fog {
  int front = 100;
  int back = 200;
  Colour colour = 0xFFFFFF;
};

}  // namespace engine3d
