// The software renderer's reference scenes, each a function that fills a SoftScene: every
// shading mode, textures with colour keys and opacity maps, transparency, fog, wire faces,
// near-plane clipping, subdivision and depth layers. The camera sits at the origin looking down
// +z, so eye space and world space coincide. Both drivers' picture tests draw them.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "SoftScene.h"
#include "engine3d/SubdivisionQuestion.h"

namespace engine3d::soft_test {

inline constexpr int kSize = 96;

inline Light keyLight() {
  // Travelling down, right and away from the viewer: it lights the upper left of what faces
  // the camera.
  return Light::make("key", Vector3(0.4f, -0.6f, 0.7f), 0xFFFFFF);
}

inline void placeAt(Group3D& group, const Vector3& position, float yaw, float pitch = 0.0f) {
  Matrix4 m = Matrix4::rotationY(yaw);
  mulInPlace(m, Matrix4::rotationX(pitch));
  m.setTranslation(position);
  group.localMatrix = m;
}

inline std::shared_ptr<PixelTexture> stripes() {
  std::vector<std::uint32_t> p(64 * 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      p[y * 64 + x] = ((x / 8) & 1) ? 0xF0E0A0 : (((y / 16) & 1) ? 0x3060C0 : 0xC03030);
  return std::make_shared<PixelTexture>(64, 64, std::move(p));
}

// A sphere of the given material in front of the camera, lit by the key light.
inline void litSphere(SoftScene& scene, const std::function<void(Material&)>& set) {
  scene.lights.push_back(keyLight());
  scene.ambientColour = 0x202020;
  scene.background = 0x102030;
  Group3D& g = scene.addGroup({0, 0, 6});
  Material& m = addMaterial(g, "m", kShadingLit, 0xC08040);
  set(m);
  addSphere(g, "ball", m, 2.0f);
}

// The lit sphere of litSphere() turned by `yaw` about the vertical with (when `turnLight`) its
// light, seen by a camera standing 6 units from it on the side `yaw` turns the original
// camera to.
inline void turnedLitSphere(SoftScene& scene, float yaw, bool turnLight) {
  const Matrix4 turn = Matrix4::rotationY(yaw);
  const Vector3 d = keyLight().direction;
  const Vector3 direction = turnLight ? Vector3(turn.at(0, 0) * d.x + turn.at(0, 2) * d.z, d.y,
                                                turn.at(2, 0) * d.x + turn.at(2, 2) * d.z)
                                      : d;
  scene.lights.push_back(Light::make("key", direction, 0xFFFFFF));
  scene.ambientColour = 0x202020;
  scene.background = 0x102030;
  Group3D& g = scene.addGroup();
  g.localMatrix = turn;  // the sphere turns too, so that its facets face the camera alike
  g.localMatrix.setTranslation({0, 0, 6});
  addSphere(g, "ball", addMaterial(g, "m", kShadingLit, 0xC08040), 2.0f);
  // The original camera stands at (0, 0, 0), 6 units in front of the sphere along -z.
  const Vector3 eye(-6.0f * turn.at(0, 2), 0.0f, 6.0f - 6.0f * turn.at(2, 2));
  scene.cam().setEye(eye.x, eye.y, eye.z);
  scene.cam().setTarget(0, 0, 6);
}

// Splits every face three times deep.
inline SubdivisionQuestion* splitThrice() {
  class SplitThrice : public SubdivisionQuestion {
   public:
    bool shouldSplit(const Face&, int depth, const ProjectedCorner (&)[3]) override {
      return depth < 3;
    }
  };
  static SplitThrice question;
  return &question;
}

inline const std::vector<std::pair<std::string, std::function<void(SoftScene&)>>>& scenes() {
  static const std::vector<std::pair<std::string, std::function<void(SoftScene&)>>> all = {
      {"lit_smooth", [](SoftScene& s) { litSphere(s, [](Material&) {}); }},
      {"lit_flat", [](SoftScene& s) { litSphere(s, [](Material& m) { m.flat = true; }); }},
      {"highlight",
       [](SoftScene& s) {
         litSphere(s, [](Material& m) {
           m.shadingMode = kShadingSpecular;
           m.specularLevel = 200;
         });
       }},
      {"self_illuminated",
       [](SoftScene& s) {
         litSphere(s, [](Material& m) {
           m.shadingMode = kShadingSelfIlluminated;
           m.selfIllumination = 0x300000;
         });
       }},
      {"reflection",
       [](SoftScene& s) {
         litSphere(s, [](Material& m) {
           m.shadingMode = kShadingSelfIlluminated;
           m.selfIllumination = 0x101010;
           m.reflectionMap = checker(256, 32, 0xE0E0FF, 0x204080);
         });
       }},
      {"lit_textured",
       [](SoftScene& s) { litSphere(s, [](Material& m) { m.texture = stripes(); }); }},
      {"unlit_textured",
       [](SoftScene& s) {
         Group3D& g = s.addGroup();
         placeAt(g, {0, 0, 8}, 0.6f, 0.3f);
         Material& m = addMaterial(g, "m", kShadingUnlit, 0xFFFFFF);
         m.texture = stripes();
         addQuad(g, "q", m, 3, 3, 0, 2);
       }},
      {"colour_key",
       [](SoftScene& s) {
         Group3D& g = s.addGroup();
         Material& back = addMaterial(g, "back", kShadingUnlit, 0xA03020);
         addQuad(g, "back", back, 10, 10, 12);
         Material& m = addMaterial(g, "m", kShadingUnlit, 0xFFFFFF);
         m.attachTexture(checker(16, 4, 0xFF00FF, 0x40F040, Colour{0xFF00FF}));
         addQuad(g, "front", m, 2.5f, 2.5f, 8);
       }},
      {"opacity_map",
       [](SoftScene& s) {
         Group3D& g = s.addGroup();
         Material& back = addMaterial(g, "back", kShadingUnlit, 0xFFFFFF);
         back.texture = checker(8, 1, 0x202020, 0xE0E0E0);
         addQuad(g, "back", back, 4, 4, 12);
         Material& m = addMaterial(g, "m", kShadingUnlit, 0xFFFFFF);
         std::vector<std::uint32_t> ramp(16 * 16);
         for (int y = 0; y < 16; ++y)
           for (int x = 0; x < 16; ++x) ramp[y * 16 + x] = (x * 17) * 0x010101u;
         m.texture = checker(16, 16, 0xFF8000, 0xFF8000);
         m.opacityMap = std::make_shared<PixelTexture>(16, 16, std::move(ramp));
         m.colourKey = 0x000000;  // the fully transparent column is skipped by the key
         addQuad(g, "front", m, 2.5f, 2.5f, 8);
       }},
      {"transparency",
       [](SoftScene& s) {
         s.lights.push_back(keyLight());
         s.ambientColour = 0x303030;
         Group3D& g = s.addGroup();
         Material& back = addMaterial(g, "back", kShadingUnlit, 0xFFFFFF);
         back.texture = stripes();
         addQuad(g, "back", back, 5, 5, 12);
         Material& glass = addMaterial(g, "glass", kShadingUnlitTransparent, 0x2040FF);
         glass.transparency = 100;
         Mesh& left = addQuad(g, "left", glass, 1.5f, 2.5f, 8);
         left.localMatrix.setTranslation({-1.7f, 0, 0});
         Material& lit = addMaterial(g, "lit", kShadingSpecular, 0x40FF40);
         lit.transparency = 160;
         Mesh& right = addQuad(g, "right", lit, 1.5f, 2.5f, 8);
         right.localMatrix.setTranslation({1.7f, 0, 0});
       }},
      {"fog",
       [](SoftScene& s) {
         s.fogSetting = Fog{10, 40, 0xB0C0D0};
         s.background = 0xB0C0D0;
         s.lights.push_back(Light::make("sun", Vector3(0, -1, 0.3f), 0xFFFFFF));
         s.ambientColour = 0x202020;
         Group3D& g = s.addGroup();
         Material& m = addMaterial(g, "floor", kShadingLit, 0xFFFFFF);
         m.texture = checker(16, 8, 0x30A030, 0x207020);
         // Depth is interpolated in screen space like everything else: the long floor is split
         // so that its fog follows the distance.
         addFloor(g, "floor", m, 20, -2, 2, 60, 12).subdivision = splitThrice();
         for (int i = 0; i < 4; ++i) {
           Group3D& pillar = s.addGroup({-3.0f + 2.0f * i, 0, 8.0f + 9.0f * i});
           Material& pm = addMaterial(pillar, "p", kShadingLit, 0xD06040);
           addSphere(pillar, "p", pm, 1.0f, 8, 10);
         }
       }},
      {"wire",
       [](SoftScene& s) {
         Group3D& g = s.addGroup({0, 0, 6});
         Material& m = addMaterial(g, "m", kShadingUnlit, 0xFFFF40);
         m.wire = true;
         addSphere(g, "ball", m, 2.0f, 6, 8);
         Group3D& h = s.addGroup({0, 0, 7});
         Material& n = addMaterial(h, "n", kShadingUnlit, 0x40FFFF);
         n.wire = true;
         n.edgeMask = kEdgeAB;
         addQuad(h, "q", n, 3.5f, 3.5f);
       }},
      {"near_clip",
       [](SoftScene& s) {
         Group3D& g = s.addGroup();
         Material& m = addMaterial(g, "floor", kShadingUnlit, 0xFFFFFF);
         m.texture = stripes();
         addFloor(g, "floor", m, 3, -1, -10, 30, 4);
         Group3D& w = s.addGroup();
         placeAt(w, {2.5f, 0, 0}, 1.2f);
         Material& wm = addMaterial(w, "wall", kShadingUnlit, 0xFFFFFF);
         wm.texture = checker(16, 4, 0x804020, 0xF0C080);
         addQuad(w, "wall", wm, 12, 3, 0, 6);
       }},
      {"subdivided",
       [](SoftScene& s) {
         Group3D& g = s.addGroup();
         Material& m = addMaterial(g, "floor", kShadingUnlit, 0xFFFFFF);
         m.texture = stripes();
         addFloor(g, "floor", m, 6, -1.5f, 1.2f, 20, 3).subdivision = splitThrice();
       }},
      {"not_subdivided",
       [](SoftScene& s) {
         Group3D& g = s.addGroup();
         Material& m = addMaterial(g, "floor", kShadingUnlit, 0xFFFFFF);
         m.texture = stripes();
         addFloor(g, "floor", m, 6, -1.5f, 1.2f, 20, 3);
       }},
      {"depth_layers",
       [](SoftScene& s) {
         Group3D& g = s.addGroup();
         placeAt(g, {0, 0, 10}, 0.5f);
         Material& wall = addMaterial(g, "wall", kShadingUnlit, 0x808080);
         Material& decal = addMaterial(g, "decal", kShadingUnlit, 0xFF2020);
         // The decal is drawn first and lies in the wall's plane; its layer keeps it in front.
         Mesh& d = addQuad(g, "decal", decal, 1.5f, 1.5f);
         d.depthLayer = 0.5f;
         addQuad(g, "wall", wall, 4, 3);
       }},
  };
  return all;
}

inline const std::function<void(SoftScene&)>& sceneNamed(const std::string& name) {
  for (const auto& entry : scenes())
    if (entry.first == name) return entry.second;
  throw std::logic_error("no scene " + name);
}

}  // namespace engine3d::soft_test
