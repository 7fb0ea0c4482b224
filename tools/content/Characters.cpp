// Pilot portraits (neutral and happy) and the small helicopter icons of the HUD.
#include <cmath>
#include <string>

#include "Builder.h"
#include "GifWriter.h"
#include "Style.h"
#include "Widgets.h"

namespace content {

namespace {

const uint32_t kSkin[4] = {rgb(240, 200, 170), rgb(200, 150, 110), rgb(250, 215, 185),
                           rgb(150, 100, 70)};

// Drawn at twice the size and shrunk, for smooth edges.
Picture portrait(int index, bool happy) {
  const Pilot& pilot = kPilots[static_cast<size_t>(index)];
  const uint32_t skin = kSkin[index];
  Picture p(128, 128, kInk);
  p.gradientRect(0, 0, 128, 128, shade(pilot.color, 0.45f), shade(pilot.color, 0.2f));
  p.ellipse(64, 64, 60, 60, shade(pilot.color, happy ? 0.9f : 0.7f) & 0x60FFFFFFu);
  // Shoulders in a flight suit.
  p.ellipse(64, 132, 54, 34, rgb(50, 60, 70));
  p.polygon({{50, 100}, {78, 100}, {64, 118}}, pilot.trim);
  // Neck, face, then the helmet's crown over the top of the head.
  p.fillRect(54, 86, 20, 18, shade(skin, 0.85f));
  p.ellipse(64, 52, 34, 28, pilot.color);
  p.ellipse(64, 68, 27, 30, skin);
  Picture crown(128, 128);
  crown.ellipse(64, 52, 34, 28, pilot.color);
  for (int y = 0; y < 52; ++y)
    for (int x = 0; x < 128; ++x)
      if (crown.at(x, y).a) p.at(x, y) = crown.at(x, y);
  p.fillRect(61, 24, 6, 26, pilot.trim);
  p.ellipse(31, 62, 7, 12, shade(pilot.color, 0.8f));
  p.ellipse(97, 62, 7, 12, shade(pilot.color, 0.8f));
  p.roundRect(38, 40, 52, 12, 6, rgb(40, 40, 50));
  p.ellipse(52, 46, 9, 5, rgb(130, 210, 250));
  p.ellipse(76, 46, 9, 5, rgb(130, 210, 250));
  // Eyes: closed arcs when happy.
  for (float ex : {52.0f, 76.0f}) {
    if (happy) {
      p.line(ex - 5, 66, ex, 62, 2.4f, rgb(40, 30, 30));
      p.line(ex, 62, ex + 5, 66, 2.4f, rgb(40, 30, 30));
    } else {
      p.ellipse(ex, 65, 4, 4.5f, rgb(255, 255, 255));
      p.ellipse(ex, 65.5f, 2.4f, 2.8f, rgb(40, 30, 30));
    }
    p.line(ex - 6, 57, ex + 5, happy ? 55 : 57, 2, shade(skin, 0.5f));
  }
  // Per pilot details.
  if (index == 1) p.roundRect(50, 78, 28, 6, 3, rgb(90, 60, 40));  // moustache
  if (index == 3) p.ring(52, 65, 8, 2, rgb(30, 30, 30)), p.ring(76, 65, 8, 2, rgb(30, 30, 30));
  if (index == 2) p.ellipse(96, 84, 8, 16, rgb(240, 200, 90));  // ponytail
  if (index == 0)
    p.ellipse(44, 76, 3, 2, rgb(230, 120, 110)), p.ellipse(84, 76, 3, 2, rgb(230, 120, 110));
  // Mouth.
  if (happy) {
    std::vector<Point2> smile;
    for (int i = 0; i <= 10; ++i) {
      float a = 3.14159f * i / 10;
      smile.push_back({64 - 12 * std::cos(a), 82 + 9 * std::sin(a)});
    }
    p.polygon(smile, rgb(120, 30, 30));
    p.fillRect(54, 82, 20, 3, rgb(255, 255, 255));
  } else {
    p.line(56, 86, 72, 86, 2.4f, rgb(120, 50, 50));
  }
  p.frameRect(0, 0, 128, 128, shade(pilot.color, happy ? 1.4f : 1.0f), happy ? 6 : 3);
  return p.downsample(2);
}

Picture chopperIcon(int index) {
  const Pilot& pilot = kPilots[static_cast<size_t>(index)];
  Picture p(64, 64, kInk);
  p.roundRect(0, 0, 64, 64, 10, shade(pilot.color, 0.35f));
  drawHelicopter(p, 32, 36, 56, pilot.color, pilot.trim, 0.15f);
  return p.downsample(2);
}

}  // namespace

void buildCharacters(Output& out) {
  const std::string folder = std::string(kCharactersFolder) + "/";
  for (int i = 0; i < 4; ++i) {
    const std::string name(kPilots[static_cast<size_t>(i)].name);
    out.put(folder + name + "_neutral.gif", encodeGif(portrait(i, false)), Placement::kDiskOnly);
    out.put(folder + name + "_happy.gif", encodeGif(portrait(i, true)), Placement::kDiskOnly);
    out.put(folder + name + "_chopper.gif", encodeGif(chopperIcon(i)), Placement::kDiskOnly);
  }
}

}  // namespace content
