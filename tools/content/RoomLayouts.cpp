// The furniture of each room, in the room's own units: the floor spans x in [-L/2, L/2] and
// y in [-D/2, D/2]; a helicopter is about 4.4 units long once the level is scaled.
#include <map>

#include "Rooms.h"
#include "Style.h"
#include "Textures.h"

namespace content {

namespace {

class Layout {
 public:
  explicit Layout(RoomLayout& room) : room_(room) {}

  void texture(const std::string& material, Picture picture) {
    room_.textures.emplace_back(material, std::move(picture));
  }
  // Adds a box to piece `name` (created on first use with `material`).
  void box(const std::string& name, const std::string& material, Vec3 lo, Vec3 hi) {
    for (Piece& piece : room_.pieces)
      if (piece.name == name) {
        piece.boxes.emplace_back(lo, hi);
        return;
      }
    room_.pieces.push_back(Piece{name, material, {{lo, hi}}});
  }
  // A table: top of thickness 1.2 at height h on four legs.
  void table(const std::string& name, const std::string& material, float x0, float y0, float x1,
             float y1, float h) {
    box(name, material, {x0, y0, h - 1.2f}, {x1, y1, h});
    const float t = 1.2f;
    box(name, material, {x0 + 0.5f, y0 + 0.5f, 0}, {x0 + 0.5f + t, y0 + 0.5f + t, h - 1.2f});
    box(name, material, {x1 - 0.5f - t, y0 + 0.5f, 0}, {x1 - 0.5f, y0 + 0.5f + t, h - 1.2f});
    box(name, material, {x0 + 0.5f, y1 - 0.5f - t, 0}, {x0 + 0.5f + t, y1 - 0.5f, h - 1.2f});
    box(name, material, {x1 - 0.5f - t, y1 - 0.5f - t, 0}, {x1 - 0.5f, y1 - 0.5f, h - 1.2f});
  }
  // A door in the right-hand wall (x = L/2) from y0 to y0 + width, and a lamp under the
  // middle of the ceiling: every room has both.
  void doorAndLamp(float y0) {
    const float L = room_.length, H = room_.height, width = H * 0.38f;
    texture("door", door(rgb(150, 100, 60)));
    box("door", "door", {L / 2 - 0.5f, y0, 0}, {L / 2, y0 + width, H * 0.72f});
    texture("light", paint(rgb(255, 250, 220), 97));
    box("ceilinglight", "light", {-5, -5, H - 1.2f}, {5, 5, H});
  }
  // A chair centred at (x, y), its back on the side `backY` (+1 or -1).
  void chair(const std::string& name, const std::string& material, float x, float y, float backY) {
    table(name, material, x - 3, y - 3, x + 3, y + 3, 6);
    float by = backY > 0 ? y + 2.4f : y - 3.0f;
    box(name, material, {x - 3, by, 6}, {x + 3, by + 0.6f, 13});
  }

 private:
  RoomLayout& room_;
};

void livingRoom(RoomLayout& r, Layout& l) {
  l.texture("floor", planks(rgb(170, 110, 60), 1));
  l.texture("wall", stripes(rgb(236, 224, 196), rgb(214, 196, 160), 4));
  l.texture("ceiling", paint(rgb(245, 242, 235), 2));
  l.texture("sofa", fabric(rgb(170, 40, 50), 3));
  l.texture("wood", wood(rgb(120, 70, 36), 4));
  l.texture("rug", carpet(rgb(40, 90, 120), 5));
  l.texture("books", books(6));
  l.texture("tv", screen(7));
  l.texture("window", window());
  l.texture("lamp", fabric(rgb(250, 230, 170), 8));
  l.box("rug", "rug", {-28, -18, 0}, {28, 18, 0.4f});
  l.box("sofa", "sofa", {-26, 22, 0}, {26, 34, 9});
  l.box("sofa", "sofa", {-26, 30, 9}, {26, 34, 20});
  l.box("sofa", "sofa", {-30, 20, 0}, {-26, 34, 14});
  l.box("sofa", "sofa", {26, 20, 0}, {30, 34, 14});
  l.table("coffeetable", "wood", -12, -4, 12, 8, 8);
  l.box("tvstand", "wood", {-49.5f, -16, 0}, {-41, 16, 10});
  l.box("tv", "tv", {-48, -13, 10}, {-46, 13, 25});
  l.box("bookshelf", "books", {43, -32, 0}, {49.5f, -4, 30});
  l.box("lamp", "wood", {38, 24, 0}, {40, 26, 22});
  l.box("lamp", "wood", {35, 21, 0}, {43, 29, 1});
  l.box("lampshade", "lamp", {35, 21, 22}, {43, 29, 28});
  l.box("window", "window", {-22, 34.5f, 22}, {10, 35, 37});
  l.doorAndLamp(6.0f);
  r.flyers =
      "butterfly=type:0, textureNum:3, maxSpeed:6, wave:0.6, alphaTest:1\n"
      "ufo=type:2, textureNum:2, maxSpeed:8, wave:0.3\n";
}

void kitchen(RoomLayout& r, Layout& l) {
  l.texture("floor", tiles(rgb(230, 230, 225), rgb(60, 60, 70), 4));
  l.texture("wall", tiles(rgb(200, 225, 235), rgb(225, 240, 245), 8));
  l.texture("ceiling", paint(rgb(250, 250, 250), 12));
  l.texture("counter", wood(rgb(200, 170, 120), 13));
  l.texture("steel", metal(rgb(200, 205, 210), 14));
  l.texture("fridge", metal(rgb(240, 240, 240), 15));
  l.texture("table", wood(rgb(150, 90, 50), 16));
  l.texture("window", window());
  l.box("counter", "counter", {-50, 27, 0}, {18, 35, 15});
  l.box("worktop", "steel", {-50, 26, 15}, {18, 35, 16});
  l.box("cupboards", "counter", {-50, 30, 26}, {10, 35, 36});
  l.box("fridge", "fridge", {26, 24, 0}, {42, 35, 33});
  l.table("table", "table", -14, -14, 14, 6, 12);
  l.chair("chair0", "table", -8, -19, -1);
  l.chair("chair1", "table", 8, -19, -1);
  l.chair("chair2", "table", -8, 11, 1);
  l.chair("chair3", "table", 8, 11, 1);
  l.box("window", "window", {-50, -20, 16}, {-49.5f, 6, 32});
  l.doorAndLamp(-10.0f);
  r.flyers =
      "bat=type:1, textureNum:2, maxSpeed:9, wave:0.4\n"
      "butterfly=type:0, textureNum:3, maxSpeed:6, wave:0.6, alphaTest:1\n"
      "bubble=type:6, textureNum:1, maxSpeed:4, wave:0.8\n";
}

void study(RoomLayout& r, Layout& l) {
  l.texture("floor", carpet(rgb(60, 100, 60), 21));
  l.texture("wall", paint(rgb(200, 190, 160), 22));
  l.texture("ceiling", ceilingPanels(rgb(236, 236, 230)));
  l.texture("desk", wood(rgb(100, 60, 30), 23));
  l.texture("books", books(24));
  l.texture("monitor", screen(25));
  l.texture("cabinet", metal(rgb(110, 120, 130), 26));
  l.texture("globe", fabric(rgb(60, 120, 200), 27));
  l.table("desk", "desk", -20, 18, 20, 34, 13);
  l.box("monitor", "monitor", {-6, 28, 13}, {6, 30, 22});
  l.chair("chair", "desk", 0, 12, -1);
  l.box("shelf0", "books", {-49.5f, -30, 0}, {-43, 0, 32});
  l.box("shelf1", "books", {-49.5f, 4, 0}, {-43, 34, 32});
  l.box("cabinet", "cabinet", {40, 24, 0}, {49.5f, 34, 18});
  l.box("globestand", "desk", {36, -26, 0}, {38, -24, 10});
  l.box("globe", "globe", {33, -29, 10}, {41, -21, 18});
  l.doorAndLamp(-10.0f);
  r.flyers =
      "ufo=type:2, textureNum:2, maxSpeed:8, wave:0.3\n"
      "bat=type:1, textureNum:2, maxSpeed:9, wave:0.4\n";
}

void bedroom(RoomLayout& r, Layout& l) {
  l.texture("floor", carpet(rgb(70, 90, 160), 31));
  l.texture("wall", stripes(rgb(246, 214, 220), rgb(236, 190, 200), 5));
  l.texture("ceiling", paint(rgb(250, 246, 246), 32));
  l.texture("bed", bedding(rgb(250, 200, 80)));
  l.texture("wood", wood(rgb(190, 140, 90), 33));
  l.texture("pillow", fabric(rgb(250, 250, 250), 34));
  l.texture("rug", carpet(rgb(200, 80, 90), 35));
  l.texture("window", window());
  l.box("bedframe", "wood", {-30, 6, 0}, {0, 35, 6});
  l.box("bedframe", "wood", {-30, 33, 6}, {0, 35, 16});
  l.box("bed", "bed", {-29, 7, 6}, {-1, 33, 10});
  l.box("pillow", "pillow", {-26, 27, 10}, {-4, 32, 12});
  l.box("nightstand", "wood", {4, 26, 0}, {12, 34, 10});
  l.box("wardrobe", "wood", {30, 20, 0}, {49.5f, 35, 34});
  l.box("rug", "rug", {-20, -26, 0}, {20, 0, 0.4f});
  l.box("desk", "wood", {-49.5f, -30, 12}, {-38, -8, 13.5f});
  l.box("desk", "wood", {-49.5f, -30, 0}, {-38, -29, 12});
  l.box("desk", "wood", {-49.5f, -9, 0}, {-38, -8, 12});
  l.box("window", "window", {-49.5f, -2, 16}, {-49, 22, 32});
  l.doorAndLamp(-10.0f);
  r.flyers =
      "butterfly=type:0, textureNum:3, maxSpeed:6, wave:0.6, alphaTest:1\n"
      "bubble=type:6, textureNum:1, maxSpeed:4, wave:0.8\n";
}

void warehouse(RoomLayout& r, Layout& l) {
  r.length = 140, r.depth = 100, r.height = 50;
  l.texture("floor", concrete(41));
  l.texture("wall", stripes(rgb(150, 160, 170), rgb(120, 130, 140), 8));
  l.texture("ceiling", ceilingPanels(rgb(90, 95, 100)));
  l.texture("crate", crate(42));
  l.texture("rack", metal(rgb(230, 120, 30), 43));
  l.texture("pillar", concrete(44));
  l.texture("barrel", metal(rgb(40, 110, 170), 45));
  for (int i = 0; i < 2; ++i) {
    float x = i == 0 ? -20.0f : 20.0f;
    l.box("pillar" + std::to_string(i), "pillar", {x - 2.5f, -2.5f, 0}, {x + 2.5f, 2.5f, 50});
  }
  for (int i = 0; i < 3; ++i) {
    float x = -60 + i * 22.0f;
    std::string rack = "rack" + std::to_string(i);
    l.box(rack, "rack", {x, 38, 0}, {x + 18, 49.5f, 1});
    l.box(rack, "rack", {x, 38, 14}, {x + 18, 49.5f, 15});
    l.box(rack, "rack", {x, 38, 28}, {x + 18, 49.5f, 29});
    l.box(rack, "rack", {x, 38, 0}, {x + 1, 39, 30});
    l.box(rack, "rack", {x + 17, 38, 0}, {x + 18, 39, 30});
    l.box("shelfcrates" + std::to_string(i), "crate", {x + 2, 40, 1}, {x + 10, 48, 9});
    l.box("shelfcrates" + std::to_string(i), "crate", {x + 6, 40, 15}, {x + 15, 48, 24});
  }
  l.box("cratestack0", "crate", {30, -40, 0}, {40, -30, 10});
  l.box("cratestack0", "crate", {40, -40, 0}, {50, -30, 10});
  l.box("cratestack0", "crate", {34, -38, 10}, {44, -28, 20});
  l.box("cratestack1", "crate", {-50, -44, 0}, {-38, -32, 12});
  l.box("cratestack1", "crate", {-48, -42, 12}, {-40, -34, 20});
  l.box("cratestack2", "crate", {52, 20, 0}, {64, 32, 12});
  for (int i = 0; i < 3; ++i) {
    float x = 0 + i * 7.0f;
    l.box("barrels", "barrel", {x, -46, 0}, {x + 6, -40, 10});
  }
  l.doorAndLamp(-12.0f);
  r.flyers =
      "ufo=type:2, textureNum:2, maxSpeed:10, wave:0.3\n"
      "bat=type:1, textureNum:2, maxSpeed:11, wave:0.4\n"
      "bubble=type:6, textureNum:1, maxSpeed:5, wave:0.8\n"
      "butterfly=type:0, textureNum:3, maxSpeed:7, wave:0.6, alphaTest:1\n";
}

void classroom(RoomLayout& r, Layout& l) {
  l.texture("floor", planks(rgb(200, 160, 110), 51));
  l.texture("wall", paint(rgb(240, 220, 150), 52));
  l.texture("ceiling", ceilingPanels(rgb(240, 240, 240)));
  l.texture("board", blackboard(53));
  l.texture("desk", wood(rgb(210, 170, 110), 54));
  l.texture("books", books(55));
  l.texture("window", window());
  l.box("blackboard", "board", {-30, 34.5f, 12}, {30, 35, 30});
  l.table("teacherdesk", "desk", -12, 20, 12, 28, 13);
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 3; ++col) {
      int n = row * 3 + col;
      float x = -30 + col * 24.0f, y = -8 - row * 18.0f;
      l.table("desk" + std::to_string(n), "desk", x - 7, y, x + 7, y + 7, 11);
      l.chair("chair" + std::to_string(n), "desk", x, y - 5, -1);
    }
  l.box("bookshelf", "books", {43, -10, 0}, {49.5f, 20, 26});
  l.box("window0", "window", {-50, -30, 14}, {-49.5f, -10, 32});
  l.box("window1", "window", {-50, 0, 14}, {-49.5f, 20, 32});
  l.doorAndLamp(-32.0f);
  r.flyers =
      "butterfly=type:0, textureNum:3, maxSpeed:6, wave:0.6, alphaTest:1\n"
      "bat=type:1, textureNum:2, maxSpeed:9, wave:0.4\n";
}

void gymHall(RoomLayout& r, Layout& l) {
  r.length = 140, r.depth = 100, r.height = 50;
  l.texture("floor", gymFloor());
  l.texture("wall", paint(rgb(220, 230, 240), 61));
  l.texture("ceiling", ceilingPanels(rgb(200, 205, 210)));
  l.texture("board", paint(rgb(250, 250, 250), 62));
  l.texture("pole", metal(rgb(60, 60, 70), 63));
  l.texture("bench", wood(rgb(180, 130, 70), 64));
  l.texture("mat", fabric(rgb(40, 80, 170), 65));
  l.texture("bars", wood(rgb(200, 160, 100), 66));
  l.texture("vault", fabric(rgb(190, 60, 40), 67));
  for (int side = 0; side < 2; ++side) {
    float s = side == 0 ? -1.0f : 1.0f;
    std::string n = std::to_string(side);
    l.box("hoopstand" + n, "pole", {s * 69.5f - 1, -1, 0}, {s * 69.5f + 1, 1, 36});
    l.box("backboard" + n, "board", {s * 66.0f - 0.5f, -8, 30}, {s * 66.0f + 0.5f, 8, 40});
    l.box("hoop" + n, "vault", {s * 62.0f - 3, -3, 31}, {s * 62.0f + 3, 3, 31.6f});
  }
  l.box("bench0", "bench", {-40, 44, 0}, {0, 49.5f, 6});
  l.box("bench1", "bench", {10, -49.5f, 0}, {50, -44, 6});
  l.box("mats", "mat", {-30, -40, 0}, {-6, -24, 1.6f});
  l.box("mats", "mat", {20, 20, 0}, {44, 36, 1.6f});
  for (int i = 0; i < 6; ++i) {
    float x = 14 + i * 6.0f;
    l.box("wallbars", "bars", {x, 48, 0}, {x + 1, 49.5f, 34});
  }
  for (int j = 0; j < 6; ++j)
    l.box("wallbars", "bars", {14, 48.3f, 4.0f + j * 5.5f}, {45, 49, 4.8f + j * 5.5f});
  l.box("vaultbox", "vault", {-6, -6, 0}, {6, 6, 10});
  l.doorAndLamp(-34.0f);
  r.flyers =
      "bubble=type:6, textureNum:1, maxSpeed:5, wave:0.8\n"
      "ufo=type:2, textureNum:2, maxSpeed:10, wave:0.3\n"
      "bat=type:1, textureNum:2, maxSpeed:11, wave:0.4\n"
      "butterfly=type:0, textureNum:3, maxSpeed:7, wave:0.6, alphaTest:1\n";
}

}  // namespace

RoomLayout roomLayout(int level) {
  RoomLayout room;
  Layout layout(room);
  switch (level) {
    case 0:
      livingRoom(room, layout);
      break;
    case 1:
      kitchen(room, layout);
      break;
    case 2:
      study(room, layout);
      break;
    case 3:
      bedroom(room, layout);
      break;
    case 4:
      warehouse(room, layout);
      break;
    case 5:
      classroom(room, layout);
      break;
    default:
      gymHall(room, layout);
      break;
  }
  return room;
}

}  // namespace content
