// The combat helicopter and its effects: the model with its named parts, one skin per pilot,
// the bullet, the muzzle spark, bullet marks and smoke puffs.
//
// The model is built in its final size (about 4.4 units nose to tail, the radius the game
// normalises it to), nose towards -y, rotor mast up (+z). It is kept low (1.32 units from the
// skids to the rotor, about 1.22 once the game has sized it): a landed helicopter stands half
// its height above the floor and must stay within the 0.66 units at which it feels the floor,
// or it would lift off again at once.
#include <cmath>
#include <string>

#include "Builder.h"
#include "GifWriter.h"
#include "JpegWriter.h"
#include "ModelWriter.h"
#include "Random.h"
#include "Style.h"
#include "TextRenderer.h"

namespace content {

namespace {

std::string folder() {
  return std::string(kChopperFolder) + "/";
}

// A blade or bar: a box from `a` to `b` in the xy plane, `width` wide and `thick` high, at z.
void bar(MeshDesc& mesh, float ax, float ay, float bx, float by, float z, float width,
         float thick) {
  const size_t first = mesh.points.size();
  float length = std::hypot(bx - ax, by - ay);
  mesh.box({-length / 2, -width / 2, z - thick / 2}, {length / 2, width / 2, z + thick / 2}, 0.0f);
  MeshDesc tmp;
  tmp.points.assign(mesh.points.begin() + static_cast<long>(first), mesh.points.end());
  tmp.rotateZ({0, 0, 0}, std::atan2(by - ay, bx - ax));
  tmp.translate({(ax + bx) / 2, (ay + by) / 2, 0});
  std::copy(tmp.points.begin(), tmp.points.end(), mesh.points.begin() + static_cast<long>(first));
}

ModelDesc helicopter() {
  ModelDesc m;
  m.material({"mbody", 0xFFFFFF, "chopper_Vega.jpg", "", false, 0.0f});
  m.material({"mglass", 0x9CD8F8, "", "", false, 0.0f});
  m.material({"mdark", 0x303038, "", "", false, 0.0f});
  m.material({"mrotor", 0x202028, "", "", true, 0.0f});
  m.material({"mdash", 0xFFFFFF, "dashboard.jpg", "", true, 0.0f});
  m.material({"mhud", 0xFFFFFF, "hud.gif", "", true, 0.0f});
  m.material({"mspark", 0xFFFFFF, "spark.gif", "", true, 0.0f});

  m.mesh("body", "mbody").ellipsoid({0, -0.5f, 0}, {0.7f, 1.3f, 0.55f}, 8, 14);
  MeshDesc& tail = m.mesh("body_ds", "mbody");
  tail.box({-0.16f, 0.55f, -0.05f}, {0.16f, 2.2f, 0.25f}, 0.0f);
  tail.box({-0.05f, 1.85f, 0.25f}, {0.05f, 2.25f, 0.7f}, 0.0f);
  tail.box({-0.55f, 1.7f, 0.05f}, {0.55f, 1.95f, 0.12f}, 0.0f);
  m.mesh("windowL", "mglass").ellipsoid({0.56f, -1.05f, 0.14f}, {0.2f, 0.5f, 0.26f}, 4, 8);
  m.mesh("windowR", "mglass").ellipsoid({-0.56f, -1.05f, 0.14f}, {0.2f, 0.5f, 0.26f}, 4, 8);
  MeshDesc& skids = m.mesh("skids", "mdark");
  for (float x : {-0.5f, 0.5f}) {
    skids.box({x - 0.04f, -1.3f, -0.62f}, {x + 0.04f, 0.7f, -0.56f}, 0.0f);
    skids.box({x - 0.03f, -0.9f, -0.56f}, {x + 0.03f, -0.84f, -0.4f}, 0.0f);
    skids.box({x - 0.03f, 0.2f, -0.56f}, {x + 0.03f, 0.26f, -0.4f}, 0.0f);
  }
  MeshDesc& gun = m.mesh("gun", "mdark");
  gun.box({-0.05f, -2.0f, -0.42f}, {0.05f, -1.5f, -0.32f}, 0.0f);
  MeshDesc& mast = m.mesh("mast", "mdark");
  mast.cylinder({0, -0.4f, 0.5f}, 0.09f, 0.07f, 0.15f, 8);

  MeshDesc& rotor = m.mesh("rotor1", "mrotor");
  rotor.cylinder({0, -0.4f, 0.62f}, 0.14f, 0.14f, 0.06f, 8);
  bar(rotor, -2.0f, -0.4f, 2.0f, -0.4f, 0.67f, 0.16f, 0.03f);
  bar(rotor, 0, -2.4f, 0, 1.6f, 0.675f, 0.16f, 0.03f);

  // The tail rotor spins about x: its blades lie in the y-z plane beside the fin.
  MeshDesc& tailRotor = m.mesh("rotor2", "mrotor");
  const float tx = 0.1f, ty = 2.05f, tz = 0.45f, r = 0.25f;
  tailRotor.box({tx - 0.02f, ty - r, tz - 0.04f}, {tx + 0.02f, ty + r, tz + 0.04f}, 0.0f);
  tailRotor.box({tx - 0.02f, ty - 0.04f, tz - r}, {tx + 0.02f, ty + 0.04f, tz + r}, 0.0f);

  // Cockpit view parts, hidden until the game shows them: the instrument panel and the
  // gun sight, flat and facing the pilot (+y), around the model's centre.
  MeshDesc& dash = m.mesh("dashboard", "mdash");
  dash.quad({0.15f, 0.0f, -0.06f}, {-0.15f, 0.0f, -0.06f}, {-0.15f, 0.0f, 0.06f},
            {0.15f, 0.0f, 0.06f});
  MeshDesc& hud = m.mesh("hud", "mhud");
  hud.quad({0.06f, 0.0f, -0.06f}, {-0.06f, 0.0f, -0.06f}, {-0.06f, 0.0f, 0.06f},
           {0.06f, 0.0f, 0.06f});
  MeshDesc& spark = m.mesh("spark", "mspark");
  const float sy = -2.2f, sz = -0.37f, s = 0.3f;
  spark.quad({-s, sy, sz - s}, {s, sy, sz - s}, {s, sy, sz + s}, {-s, sy, sz + s});
  spark.quad({0, sy - s, sz - s}, {0, sy + s, sz - s}, {0, sy + s, sz + s}, {0, sy - s, sz + s});
  return m;
}

// Skin: columns run around the body, rows from its belly (bottom) to its back (top).
Picture skin(const Pilot& pilot, int index) {
  Picture p(256, 128, pilot.color);
  p.gradientRect(0, 0, 256, 128, shade(pilot.color, 1.15f), shade(pilot.color, 0.75f));
  p.fillRect(0, 96, 256, 32, shade(pilot.color, 0.55f));  // belly
  p.fillRect(0, 58, 256, 10, pilot.trim);                 // belt line
  p.fillRect(0, 70, 256, 3, pilot.trim);
  // Number roundels on both flanks.
  for (float cx : {64.0f, 192.0f}) {
    p.ellipse(cx, 36, 17, 17, pilot.trim);
    p.ellipse(cx, 36, 13, 13, rgb(250, 250, 250));
    TextRenderer::get().drawInBox(p, static_cast<int>(cx) - 12, 24, 24, 24,
                                  std::to_string(index + 1), TextStyle{18, true, pilot.color, 0});
  }
  // Panel lines and rivets.
  for (int x = 0; x < 256; x += 32) p.fillRect(x, 0, 1, 96, shade(pilot.color, 0.6f));
  for (int x = 8; x < 256; x += 16)
    p.ellipse(static_cast<float>(x), 80, 1.2f, 1.2f, shade(pilot.color, 0.5f));
  p.grain(static_cast<uint32_t>(index) + 300, 0.04f);
  return p;
}

Picture dashboard() {
  Picture p(128, 64, rgb(40, 42, 50));
  p.gradientRect(0, 0, 128, 64, rgb(60, 64, 74), rgb(24, 26, 32));
  const char* labels[4] = {"SPD", "ALT", "HDG", "FUEL"};
  for (int i = 0; i < 4; ++i) {
    float cx = 16 + i * 32.0f;
    p.ellipse(cx, 30, 13, 13, rgb(230, 230, 220));
    p.ellipse(cx, 30, 11, 11, rgb(16, 18, 22));
    for (int t = 0; t < 8; ++t) {
      float a = t * 0.785f;
      p.line(cx + 8 * std::cos(a), 30 + 8 * std::sin(a), cx + 10 * std::cos(a),
             30 + 10 * std::sin(a), 1, rgb(230, 230, 220));
    }
    float a = -2.2f + i * 0.9f;
    p.line(cx, 30, cx + 8 * std::cos(a), 30 + 8 * std::sin(a), 1.6f, kAccent);
    TextRenderer::get().drawInBox(p, static_cast<int>(cx) - 14, 46, 28, 12, labels[i],
                                  TextStyle{8, true, rgb(200, 220, 200), 0});
  }
  return p;
}

Picture gunSight() {
  Picture p(64, 64);
  const uint32_t green = rgb(90, 255, 110);
  p.ring(32, 32, 20, 2.5f, green);
  p.fillRect(31, 4, 2, 16, green);
  p.fillRect(31, 44, 2, 16, green);
  p.fillRect(4, 31, 16, 2, green);
  p.fillRect(44, 31, 16, 2, green);
  p.ellipse(32, 32, 2, 2, green);
  return p;
}

Picture sparkPicture() {
  Picture p(64, 64);
  for (int i = 0; i < 8; ++i) {
    float a = i * 0.785f + 0.2f, len = i % 2 ? 18.0f : 30.0f;
    p.line(32, 32, 32 + len * std::cos(a), 32 + len * std::sin(a), i % 2 ? 4.0f : 6.0f,
           rgb(255, 200, 60));
  }
  p.ellipse(32, 32, 12, 12, rgb(255, 240, 150));
  p.ellipse(32, 32, 6, 6, rgb(255, 255, 255));
  return p;
}

// Bullet marks and smoke are their own opacity maps: bright is solid, black is clear.
Picture bulletMark() {
  Picture p(32, 32, rgb(0, 0, 0));
  Random random(5);
  for (int i = 0; i < 7; ++i) {
    float a = random.range(0, 6.28f), len = random.range(7, 14);
    p.line(16, 16, 16 + len * std::cos(a), 16 + len * std::sin(a), 1.5f, rgb(200, 196, 186));
  }
  p.ellipse(16, 16, 6, 6, rgb(150, 146, 140));
  p.ellipse(16, 16, 3, 3, rgb(70, 66, 60));
  // The darkest centre must stay visible: lift it above the clear key.
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      Rgba& c = p.at(x, y);
      if (c.r + c.g + c.b < 30) c = Rgba{0, 0, 0, 0};
    }
  return p;
}

Picture fume(int index) {
  Picture p(64, 64, rgb(0, 0, 0));
  Random random(static_cast<uint32_t>(40 + index));
  for (int i = 0; i < 6 + index * 2; ++i) {
    float x = 32 + random.range(-10, 10), y = 32 + random.range(-10, 10);
    float r = random.range(8, 16);
    for (int k = 6; k >= 1; --k)
      p.ellipse(x, y, r * k / 6.0f, r * k / 6.0f, (static_cast<uint32_t>(40) << 24) | 0xFFFFFFu);
  }
  return p;
}

ModelDesc bullet() {
  ModelDesc m;
  m.material({"mtracer", 0xFFDC50, "", "", false, 0.0f});
  m.mesh("bullet", "mtracer").ellipsoid({0, 0, 0}, {0.25f, 1.0f, 0.25f}, 4, 6);
  return m;
}

}  // namespace

void buildChopper(Output& out) {
  const std::string dir = folder();
  out.put(dir + "chopper_LOD.3ds", encode3ds(helicopter()));
  for (size_t i = 0; i < kPilots.size(); ++i)
    out.put(dir + "chopper_" + std::string(kPilots[i].name) + ".jpg",
            encodeJpeg(skin(kPilots[i], static_cast<int>(i)), 88));
  out.put(dir + "dashboard.jpg", encodeJpeg(dashboard(), 90));
  out.put(dir + "hud.gif", encodeGif(gunSight()));
  out.put(dir + "spark.gif", encodeGif(sparkPicture()));
  out.put(dir + "bullet.3ds", encode3ds(bullet()));
  out.put(dir + "BulletMark.gif", encodeGif(bulletMark()));
  for (int i = 0; i < 3; ++i)
    out.put(dir + "fume" + std::to_string(i) + ".jpg", encodeJpeg(fume(i), 90));
}

}  // namespace content
