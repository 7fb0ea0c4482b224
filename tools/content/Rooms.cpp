#include "Rooms.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "Builder.h"
#include "GifWriter.h"
#include "JpegWriter.h"
#include "Random.h"
#include "Style.h"
#include "TextRenderer.h"
#include "Textures.h"
#include "Widgets.h"

namespace content {

namespace {

// Level 6 lives only inside scenes.zip, so the program's archive path is exercised.
constexpr int kArchiveOnlyLevel = 6;

// A grid of quads from `origin` along `u` and `v` (unit axes; u x v is the visible side), one
// texture repeat per cell so no coordinate leaves [0, 1].
void grid(MeshDesc& mesh, Vec3 origin, Vec3 u, Vec3 v, float lengthU, float lengthV, float cell) {
  int nu = std::max(1, static_cast<int>(std::ceil(lengthU / cell - 0.01f)));
  int nv = std::max(1, static_cast<int>(std::ceil(lengthV / cell - 0.01f)));
  for (int j = 0; j < nv; ++j)
    for (int i = 0; i < nu; ++i) {
      float u0 = i * cell, u1 = std::min(lengthU, (i + 1) * cell);
      float v0 = j * cell, v1 = std::min(lengthV, (j + 1) * cell);
      Vec3 a = origin + u * u0 + v * v0, b = origin + u * u1 + v * v0;
      Vec3 c = origin + u * u1 + v * v1, d = origin + u * u0 + v * v1;
      mesh.quadUv(a, b, c, d, {0.0f, 0.0f, (u1 - u0) / cell, (v1 - v0) / cell});
    }
}

void marker(ModelDesc& model, const std::string& name, Vec3 at) {
  MeshDesc& m = model.mesh(name, "marker");
  Vec3 a = at + Vec3{0, 0, 1}, b = at + Vec3{-0.8f, -0.5f, -0.4f},
       c = at + Vec3{0.8f, -0.5f, -0.4f}, d = at + Vec3{0, 0.9f, -0.4f};
  m.triangle(a, b, c), m.triangle(a, c, d), m.triangle(a, d, b), m.triangle(b, d, c);
}

ModelDesc roomModel(const RoomLayout& room) {
  ModelDesc model;
  for (const auto& [name, picture] : room.textures)
    model.material(MaterialDesc{"m" + name, 0xE8E8E8, name + ".jpg", "", false, 0.0f});
  model.material(MaterialDesc{"marker", 0xFF00FF, "", "", false, 0.0f});
  const float L = room.length, D = room.depth, H = room.height;
  const float cell = L > 120 ? 17.5f : 12.5f;
  grid(model.mesh("ground", "mfloor"), {-L / 2, -D / 2, 0}, {1, 0, 0}, {0, 1, 0}, L, D, cell);
  grid(model.mesh("ceiling", "mceiling"), {-L / 2, -D / 2, H}, {0, 1, 0}, {1, 0, 0}, D, L, cell);
  MeshDesc& wall = model.mesh("wall", "mwall");
  const float wallCell = H / 2;
  grid(wall, {L / 2, -D / 2, 0}, {-1, 0, 0}, {0, 0, 1}, L, H, wallCell);  // front, faces +y
  grid(wall, {-L / 2, D / 2, 0}, {1, 0, 0}, {0, 0, 1}, L, H, wallCell);   // back, faces -y
  grid(wall, {-L / 2, -D / 2, 0}, {0, 1, 0}, {0, 0, 1}, D, H, wallCell);  // left, faces +x
  grid(wall, {L / 2, D / 2, 0}, {0, -1, 0}, {0, 0, 1}, D, H, wallCell);   // right, faces -x
  marker(model, "dummy_t0", {-0.35f * L, 0, 0.45f * H});
  marker(model, "dummy_t1", {0.35f * L, 0, 0.45f * H});
  for (const Piece& piece : room.pieces) {
    MeshDesc& mesh = model.mesh(piece.name, "m" + piece.material);
    for (const auto& [lo, hi] : piece.boxes) mesh.box(lo, hi, 0.0f, false, lo.z > 0.01f);
  }
  return model;
}

uint32_t colorOf(const RoomLayout& room, const std::string& material) {
  for (const auto& [name, picture] : room.textures)
    if (name == material) return averageColor(picture);
  return rgb(128, 128, 128);
}

// Oblique view from the front and above: depth recedes up and to the right.
Picture preview(const RoomLayout& room, const std::string& title) {
  const int W = 180, H = 135;
  Picture p(W, H, kInk);
  const float L = room.length, D = room.depth, Z = room.height;
  const float k = 0.45f, cosA = 0.8f, sinA = 0.6f;
  const float s = std::min((W - 12) / (L + D * k * cosA), (H - 26) / (Z + D * k * sinA));
  const float ox = 6, oy = H - 20;
  auto P = [&](float x, float y, float z) {
    float yy = y + D / 2;
    return Point2{ox + (x + L / 2) * s + yy * k * cosA * s, oy - z * s - yy * k * sinA * s};
  };
  uint32_t floor = colorOf(room, "floor"), wall = colorOf(room, "wall");
  p.polygon({P(-L / 2, -D / 2, 0), P(L / 2, -D / 2, 0), P(L / 2, D / 2, 0), P(-L / 2, D / 2, 0)},
            floor);
  p.polygon({P(-L / 2, D / 2, 0), P(L / 2, D / 2, 0), P(L / 2, D / 2, Z), P(-L / 2, D / 2, Z)},
            shade(wall, 0.95f));
  p.polygon({P(-L / 2, -D / 2, 0), P(-L / 2, D / 2, 0), P(-L / 2, D / 2, Z), P(-L / 2, -D / 2, Z)},
            shade(wall, 0.8f));
  struct Solid {
    Vec3 lo, hi;
    uint32_t color;
  };
  std::vector<Solid> solids;
  // The front and right walls and the ceiling are cut away: leave out what hangs on them.
  for (const Piece& piece : room.pieces)
    for (const auto& [lo, hi] : piece.boxes)
      if (lo.z < 0.9f * Z && lo.x < L / 2 - 1.0f)
        solids.push_back({lo, hi, colorOf(room, piece.material)});
  std::stable_sort(solids.begin(), solids.end(), [](const Solid& a, const Solid& b) {
    if (a.hi.y != b.hi.y) return a.hi.y > b.hi.y;
    return a.lo.z < b.lo.z;
  });
  for (const Solid& b : solids) {
    const Vec3 lo = b.lo, hi = b.hi;
    p.polygon({P(hi.x, lo.y, lo.z), P(hi.x, hi.y, lo.z), P(hi.x, hi.y, hi.z), P(hi.x, lo.y, hi.z)},
              shade(b.color, 0.7f));
    p.polygon({P(lo.x, lo.y, hi.z), P(hi.x, lo.y, hi.z), P(hi.x, hi.y, hi.z), P(lo.x, hi.y, hi.z)},
              shade(b.color, 1.15f));
    p.polygon({P(lo.x, lo.y, lo.z), P(hi.x, lo.y, lo.z), P(hi.x, lo.y, hi.z), P(lo.x, lo.y, hi.z)},
              b.color);
  }
  // A helicopter hovering in the middle of the room, for scale.
  Point2 h = P(0, -D / 4, Z * 0.5f);
  drawHelicopter(p, h.x, h.y, 4.4f * s * 2.5f, kPilots[0].color, kPilots[0].trim, 0.2f);
  p.fillRect(0, H - 18, W, 18, 0xC0000000u);
  TextRenderer::get().drawInBox(p, 0, H - 18, W, 18, title,
                                TextStyle{12, true, kText, 0xFF000000u});
  p.frameRect(0, 0, W, H, kPanelLight);
  return p;
}

// Top view for the radar: world x grows to the left of the picture, world y downwards.
Picture radarMap(const RoomLayout& room) {
  const int N = 128;
  Picture p(N, N, rgb(0, 40, 0));
  const float L = room.length, D = room.depth, Z = room.height;
  auto px = [&](float x) { return (L / 2 - x) / L * N; };
  auto py = [&](float y) { return (y + D / 2) / D * N; };
  for (int i = 0; i < N; i += 16) {
    p.fillRect(i, 0, 1, N, rgb(0, 70, 0));
    p.fillRect(0, i, N, 1, rgb(0, 70, 0));
  }
  for (const Piece& piece : room.pieces)
    for (const auto& [lo, hi] : piece.boxes) {
      if (hi.z < 1.0f) continue;  // rugs and mats are no obstacle
      float t = std::min(1.0f, hi.z / Z);
      int x0 = static_cast<int>(px(hi.x)), x1 = static_cast<int>(std::ceil(px(lo.x)));
      int y0 = static_cast<int>(py(lo.y)), y1 = static_cast<int>(std::ceil(py(hi.y)));
      p.fillRect(x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0),
                 mix(rgb(0, 110, 0), rgb(140, 255, 140), t));
    }
  p.frameRect(0, 0, N, N, rgb(120, 255, 120), 2);
  return p;
}

Picture explosionSheet() {
  // 16 frames, 4 x 4, read row by row: a fireball that swells, glows and fades to smoke.
  // Black is clear: the sheet is its own opacity map.
  Picture sheet(256, 256, rgb(0, 0, 0));
  Random random(99);
  for (int f = 0; f < 16; ++f) {
    const float t = f / 15.0f;
    const float cx = (f % 4) * 64 + 32.0f, cy = (f / 4) * 64 + 32.0f;
    const float radius = 8 + 22 * std::sqrt(t);
    const float heat = std::max(0.0f, 1.0f - t * 1.2f);
    // The last frames dim towards black, which the sheet's opacity reads as clear.
    const float fade = t > 0.6f ? (1.0f - t) / 0.4f : 1.0f;
    for (int blob = 0; blob < 9; ++blob) {
      float a = random.range(0, 6.283f), d = random.range(0, radius * 0.5f);
      float r = radius * random.range(0.45f, 0.7f);
      uint32_t outer = shade(mix(rgb(90, 80, 70), rgb(230, 80, 10), heat), 0.25f + 0.75f * fade);
      sheet.ellipse(cx + d * std::cos(a), cy + d * std::sin(a), r, r, outer & 0xB0FFFFFFu);
    }
    sheet.ellipse(
        cx, cy, radius * 0.55f, radius * 0.55f,
        shade(mix(rgb(60, 55, 50), rgb(255, 220, 120), heat), 0.25f + 0.75f * fade) & 0xD0FFFFFFu);
    if (heat > 0.3f) sheet.ellipse(cx, cy, radius * 0.25f, radius * 0.25f, rgb(255, 255, 220));
  }
  return sheet;
}

std::string fileName(std::string_view roomName) {
  std::string out(roomName);
  std::replace(out.begin(), out.end(), ' ', '_');
  return out;
}

}  // namespace

void buildRooms(Output& out) {
  const std::string scenes = std::string(kScenesFolder) + "/";
  for (const Room& room : kRooms) {
    RoomLayout layout = roomLayout(room.level);
    const std::string level = "level" + std::to_string(room.level);
    const Placement placement =
        room.level == kArchiveOnlyLevel ? Placement::kArchiveOnly : Placement::kDiskAndArchive;
    const std::string folder = scenes + level + "/";
    out.put(folder + "level.3ds", encode3ds(roomModel(layout)), placement);
    for (const auto& [name, picture] : layout.textures)
      out.put(folder + name + ".jpg", encodeJpeg(picture, 85), placement);
    out.put(folder + "map" + std::to_string(room.level) + ".jpg", encodeJpeg(radarMap(layout), 90),
            placement);
    out.putText(folder + "flyable.properties", layout.flyers, placement);
    out.put(scenes + level + "_" + fileName(room.name) + ".gif",
            encodeGif(preview(layout, std::string(room.name))));
  }
  out.put(scenes + "explosion.jpg", encodeJpeg(explosionSheet(), 90));
}

}  // namespace content
