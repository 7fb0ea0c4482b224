// The program's desktop icon, at every size a desktop's icon theme asks for: a helicopter in
// side view on the menus' dark tile, under its orange rotor. Each size is drawn at four times
// its size and shrunk, so that the small ones stay smooth.
#include <string>

#include "Builder.h"
#include "PngWriter.h"
#include "Style.h"

namespace content {

namespace {

Picture icon(int size) {
  constexpr int kOver = 4;
  const float s = static_cast<float>(size * kOver);
  Picture p(size * kOver, size * kOver, 0x00000000u);
  auto at = [s](float f) { return f * s; };
  const uint32_t light = rgb(240, 244, 250);
  // The tile: a dark rim around a lighter face, rounded like the menus' panels.
  p.roundRect(at(0.03f), at(0.03f), at(0.94f), at(0.94f), at(0.2f), kInk);
  p.roundRect(at(0.07f), at(0.07f), at(0.86f), at(0.86f), at(0.17f), rgb(30, 48, 80));
  p.ring(at(0.5f), at(0.54f), at(0.3f), at(0.025f), rgb(44, 66, 104));
  // Tail boom and fin first: the body covers the boom's root.
  p.line(at(0.42f), at(0.52f), at(0.84f), at(0.45f), at(0.06f), light);
  p.polygon({{at(0.80f), at(0.33f)},
             {at(0.87f), at(0.33f)},
             {at(0.86f), at(0.49f)},
             {at(0.79f), at(0.47f)}},
            light);
  p.ellipse(at(0.40f), at(0.55f), at(0.22f), at(0.13f), light);
  p.ellipse(at(0.30f), at(0.52f), at(0.09f), at(0.07f), rgb(40, 200, 190));
  // Mast, skids and struts.
  p.line(at(0.42f), at(0.44f), at(0.42f), at(0.34f), at(0.04f), light);
  p.line(at(0.24f), at(0.77f), at(0.60f), at(0.77f), at(0.04f), light);
  p.line(at(0.32f), at(0.66f), at(0.30f), at(0.77f), at(0.035f), light);
  p.line(at(0.50f), at(0.66f), at(0.52f), at(0.77f), at(0.035f), light);
  // The rotor, in the game's accent colour.
  p.line(at(0.10f), at(0.32f), at(0.76f), at(0.32f), at(0.05f), kAccent);
  p.ellipse(at(0.42f), at(0.32f), at(0.04f), at(0.04f), kAccentLight);
  return p.downsample(kOver);
}

}  // namespace

void buildIcons(Output& out) {
  for (int size : kIconSizes) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    out.put(std::string(kIconsFolder) + "/" + name + "/apps/skirrow.png", encodePng(icon(size)),
            Placement::kDiskOnly);
  }
}

}  // namespace content
