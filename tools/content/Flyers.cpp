// The bonus flyers, one model per kind, each carrying its "box": a butterfly (flapping wings),
// a bat (three wing poses shown in turn), a spinning saucer and a soap bubble.
//
// Models are built around a box of 1 x 1 x 1, since the game scales each flyer by its box.
#include <cmath>
#include <string>

#include "Builder.h"
#include "GifWriter.h"
#include "JpegWriter.h"
#include "ModelWriter.h"
#include "Random.h"
#include "Style.h"

namespace content {

namespace {

// The bubble is kept only inside flyable.zip, so loading it goes through the archive.
constexpr const char* kArchiveOnlyFlyer = "bubble";

void addBox(ModelDesc& m) {
  // The game paints the box's picture itself; the material only needs its own name.
  m.material({"mbox", 0xD6B478, "", "", false, 0.0f});
  m.material({"mcord", 0x404040, "", "", false, 0.0f});
  m.mesh("box", "mbox").box({-0.5f, -0.5f, -1.6f}, {0.5f, 0.5f, -0.6f}, 0.0f);
  // The string the box hangs from.
  MeshDesc& cord = m.mesh("cord", "mcord");
  cord.box({-0.03f, -0.03f, -0.6f}, {0.03f, 0.03f, 0.0f}, 0.0f);
}

ModelDesc butterfly(const std::string& skin) {
  ModelDesc m;
  m.material({"mskin", 0xFFFFFF, skin, "", true, 0.0f});
  addBox(m);
  m.mesh("body", "mskin").ellipsoid({0, 0, 0.1f}, {0.15f, 0.7f, 0.15f}, 4, 6);
  // Wings reach out along x from the body, their inner edges on the body's axis.
  m.mesh("wing_l", "mskin")
      .quadUv({0.1f, -0.8f, 0.1f}, {1.9f, -0.8f, 0.1f}, {1.9f, 0.8f, 0.1f}, {0.1f, 0.8f, 0.1f},
              {0.5f, 0.0f, 1.0f, 1.0f});
  m.mesh("wing_r", "mskin")
      .quadUv({-1.9f, -0.8f, 0.1f}, {-0.1f, -0.8f, 0.1f}, {-0.1f, 0.8f, 0.1f}, {-1.9f, 0.8f, 0.1f},
              {0.0f, 0.0f, 0.5f, 1.0f});
  return m;
}

ModelDesc bat(const std::string& skin) {
  ModelDesc m;
  m.material({"mskin", 0xFFFFFF, skin, "", true, 0.0f});
  addBox(m);
  m.mesh("body", "mskin").ellipsoid({0, 0, 0.1f}, {0.3f, 0.5f, 0.3f}, 4, 8);
  const float lift[3] = {0.7f, 0.0f, -0.6f};  // wings up, level, down
  for (int w = 0; w < 3; ++w) {
    MeshDesc& wing = m.mesh("wing" + std::to_string(w), "mskin");
    const float z = 0.1f, tip = z + lift[w];
    wing.quadUv({0.2f, -0.4f, z}, {1.8f, -0.3f, tip}, {1.8f, 0.4f, tip}, {0.2f, 0.5f, z},
                {0.5f, 0.0f, 1.0f, 1.0f});
    wing.quadUv({-1.8f, -0.3f, tip}, {-0.2f, -0.4f, z}, {-0.2f, 0.5f, z}, {-1.8f, 0.4f, tip},
                {0.0f, 0.0f, 0.5f, 1.0f});
  }
  return m;
}

ModelDesc ufo(const std::string& skin) {
  ModelDesc m;
  m.material({"mskin", 0xFFFFFF, skin, "", false, 0.0f});
  m.material({"mdome", 0xA0E0FF, "", "", false, 0.0f});
  addBox(m);
  m.mesh("body", "mskin").ellipsoid({0, 0, 0.2f}, {1.4f, 1.4f, 0.3f}, 6, 16);
  m.mesh("dome", "mdome").ellipsoid({0, 0, 0.45f}, {0.55f, 0.55f, 0.4f}, 5, 12);
  return m;
}

ModelDesc bubble(const std::string& skin) {
  ModelDesc m;
  m.material({"mskin", 0xFFFFFF, skin, "", false, 0.5f});
  addBox(m);
  m.mesh("body", "mskin").ellipsoid({0, 0, -0.8f}, {1.3f, 1.3f, 1.3f}, 8, 12);
  return m;
}

Picture butterflySkin(int variant) {
  const uint32_t colors[3] = {rgb(240, 130, 30), rgb(80, 160, 250), rgb(230, 90, 200)};
  Picture p(64, 64);
  const uint32_t c = colors[variant];
  // Left half: the right wing (mirrored on the other half), a body stripe down the middle.
  for (int side = 0; side < 2; ++side) {
    float dir = side == 0 ? -1.0f : 1.0f;
    float cx = 32 + dir * 14;
    p.ellipse(cx, 22, 15, 17, c);
    p.ellipse(cx, 46, 11, 13, shade(c, 0.8f));
    p.ellipse(cx + dir * 4, 20, 5, 5, rgb(255, 255, 255));
    p.ellipse(cx + dir * 4, 20, 2.5f, 2.5f, rgb(20, 20, 30));
    p.ring(cx, 22, 15, 2, rgb(30, 20, 20));
  }
  p.fillRect(30, 6, 4, 54, rgb(40, 30, 30));
  return p;
}

Picture batSkin(int variant) {
  Picture p(64, 64);
  const uint32_t c = variant == 0 ? rgb(70, 50, 90) : rgb(50, 60, 70);
  for (int side = 0; side < 2; ++side) {
    float x0 = side == 0 ? 2.0f : 62.0f, x1 = 32.0f;
    p.polygon({{x1, 10},
               {x0, 6},
               {x0 + (x1 - x0) * 0.2f, 40},
               {x0 + (x1 - x0) * 0.5f, 32},
               {x0 + (x1 - x0) * 0.7f, 50},
               {x1, 54}},
              c);
  }
  p.ellipse(32, 32, 8, 20, shade(c, 0.6f));
  p.ellipse(29, 18, 2, 2, rgb(255, 220, 60));
  p.ellipse(35, 18, 2, 2, rgb(255, 220, 60));
  return p;
}

Picture ufoSkin(int variant) {
  Picture p(64, 64, variant == 0 ? rgb(180, 190, 200) : rgb(120, 200, 120));
  for (int y = 0; y < 64; y += 8) p.fillRect(0, y, 64, 1, rgb(90, 90, 100));
  for (int x = 4; x < 64; x += 16) p.ellipse(static_cast<float>(x), 30, 3, 3, rgb(255, 230, 80));
  return p;
}

Picture bubbleSkin() {
  Picture p(64, 64);
  p.gradientRect(0, 0, 64, 64, rgb(200, 240, 255), rgb(230, 180, 255));
  for (int x = 0; x < 64; ++x)
    p.fillRect(x, 0, 1, 64,
               mix(rgb(160, 230, 255), rgb(255, 200, 240), 0.5f + 0.5f * std::sin(x * 0.3f)) &
                   0x60FFFFFFu);
  return p;
}

Picture boxFace() {
  Picture p(128, 128, rgb(214, 180, 120));
  p.gradientRect(0, 0, 128, 128, rgb(226, 196, 140), rgb(196, 160, 104));
  p.frameRect(0, 0, 128, 128, rgb(150, 110, 60), 6);
  p.fillRect(58, 0, 12, 20, rgb(240, 230, 200));  // tape
  p.grain(71, 0.05f);
  return p;
}

Picture redCross() {
  Picture p(64, 64);
  p.ellipse(32, 32, 30, 30, rgb(255, 255, 255));
  p.fillRect(24, 10, 16, 44, rgb(220, 30, 30));
  p.fillRect(10, 24, 44, 16, rgb(220, 30, 30));
  return p;
}

}  // namespace

void buildFlyers(Output& out) {
  const std::string root = std::string(kFlyableFolder) + "/";
  struct Kind {
    const char* name;
    int skins;
  };
  const Kind kinds[4] = {{"butterfly", 3}, {"bat", 2}, {"ufo", 2}, {"bubble", 1}};
  for (const Kind& kind : kinds) {
    const std::string name = kind.name;
    const Placement placement =
        name == kArchiveOnlyFlyer ? Placement::kArchiveOnly : Placement::kDiskAndArchive;
    const std::string firstSkin = name + "_0.gif";
    ModelDesc model = name == "butterfly" ? butterfly(firstSkin)
                      : name == "bat"     ? bat(firstSkin)
                      : name == "ufo"     ? ufo(firstSkin)
                                          : bubble(firstSkin);
    out.put(root + name + "/" + name + ".3ds", encode3ds(model), placement);
    for (int i = 0; i < kind.skins; ++i) {
      Picture skin = name == "butterfly" ? butterflySkin(i)
                     : name == "bat"     ? batSkin(i)
                     : name == "ufo"     ? ufoSkin(i)
                                         : bubbleSkin();
      out.put(root + name + "/" + name + "_" + std::to_string(i) + ".gif", encodeGif(skin),
              placement);
    }
  }
  out.put(root + "box.jpg", encodeJpeg(boxFace(), 90));
  out.put(root + "redcross.gif", encodeGif(redCross()));
}

}  // namespace content
