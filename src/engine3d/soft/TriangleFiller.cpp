#include "engine3d/soft/TriangleFiller.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace engine3d {

namespace {

struct Corner {
  int x;
  int y;
  std::int32_t z, fz, u, v, lu, lv;
};

std::int32_t wrap32(std::int64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

// The edge from `top` to `bottom` (bottom.y > top.y): values at the top and per-row steps. The
// eye depth steps only for fogged faces, the one use of it.
void setUpEdge(const Corner& top, const Corner& bottom, bool fog, SpanValues& start,
               SpanValues& step) {
  const int dy = bottom.y - top.y;
  start.x = top.x * 65536;
  start.z = top.z;
  start.fz = top.fz;
  start.u = top.u;
  start.v = top.v;
  start.lu = top.lu;
  start.lv = top.lv;
  step.x = static_cast<std::int32_t>((static_cast<std::int64_t>(bottom.x - top.x) << 16) / dy);
  step.z = wrap32((static_cast<std::int64_t>(bottom.z) - top.z) / dy);
  if (fog) step.fz = wrap32((static_cast<std::int64_t>(bottom.fz) - top.fz) / dy);
  step.u = wrap32((static_cast<std::int64_t>(bottom.u) - top.u) / dy);
  step.v = wrap32((static_cast<std::int64_t>(bottom.v) - top.v) / dy);
  step.lu = wrap32((static_cast<std::int64_t>(bottom.lu) - top.lu) / dy);
  step.lv = wrap32((static_cast<std::int64_t>(bottom.lv) - top.lv) / dy);
}

void advance(SpanValues& values, const SpanValues& step, int rows) {
  values.x = wrap32(values.x + static_cast<std::int64_t>(step.x) * rows);
  values.z = wrap32(values.z + static_cast<std::int64_t>(step.z) * rows);
  values.fz = wrap32(values.fz + static_cast<std::int64_t>(step.fz) * rows);
  values.u = wrap32(values.u + static_cast<std::int64_t>(step.u) * rows);
  values.v = wrap32(values.v + static_cast<std::int64_t>(step.v) * rows);
  values.lu = wrap32(values.lu + static_cast<std::int64_t>(step.lu) * rows);
  values.lv = wrap32(values.lv + static_cast<std::int64_t>(step.lv) * rows);
}

}  // namespace

void TriangleFiller::fillTriangle(const Vertex& va, const Vertex& vb, const Vertex& vc) {
  const RasterState& s = state;
  Corner k[3];
  const Vertex* in[3] = {&va, &vb, &vc};
  for (int i = 0; i < 3; ++i) {
    const Vertex& v = *in[i];
    k[i].x = v.work[vw::kScreenX];
    k[i].y = v.work[vw::kScreenY];
    k[i].fz = wrap32(static_cast<std::int64_t>(v.work[vw::kEyeZ]) - s.layerOffset);
    k[i].u = wrap32((static_cast<std::int64_t>(v.u) + textureOffsetU) * textureScaleU);
    k[i].v = wrap32((static_cast<std::int64_t>(v.v) + textureOffsetV) * textureScaleV);
    k[i].lu = static_cast<std::int32_t>(static_cast<std::uint32_t>(v.work[vw::kLightU]) << 16);
    k[i].lv = static_cast<std::int32_t>(static_cast<std::uint32_t>(v.work[vw::kLightV]) << 16);
  }
  if (k[1].y < k[0].y) std::swap(k[0], k[1]);
  if (k[2].y < k[1].y) std::swap(k[1], k[2]);
  if (k[1].y < k[0].y) std::swap(k[0], k[1]);
  if (k[2].y == k[0].y) return;                   // no rows at all
  if (k[2].y <= 0 || k[0].y >= s.height) return;  // wholly above or below
  for (Corner& corner : k) corner.z = static_cast<std::int32_t>(depthKey(corner.fz));

  // The long edge 0-2 and the short edges 0-1 and 1-2.
  SpanValues longStart, longStep;
  const bool fog = s.fogOn;
  setUpEdge(k[0], k[2], fog, longStart, longStep);

  // Per-pixel gradients from the widest row, the one through the middle vertex.
  const int midRows = k[1].y - k[0].y;
  SpanValues atMid = longStart;
  advance(atMid, longStep, midRows);
  const std::int64_t width = static_cast<std::int64_t>(k[1].x) * 65536 - atMid.x;
  SpanValues perPixel;
  if (width != 0) {
    auto gradient = [width](std::int32_t mid, std::int32_t onLong) {
      return wrap32(((static_cast<std::int64_t>(mid) - onLong) * 65536) / width);
    };
    perPixel.z = gradient(k[1].z, atMid.z);
    if (fog) perPixel.fz = gradient(k[1].fz, atMid.fz);
    perPixel.u = gradient(k[1].u, atMid.u);
    perPixel.v = gradient(k[1].v, atMid.v);
    perPixel.lu = gradient(k[1].lu, atMid.lu);
    perPixel.lv = gradient(k[1].lv, atMid.lv);
  }
  const bool longIsLeft = width > 0;

  const HalfFiller fill = s.bitsPerPixel == 16 ? spanFiller16(s.mode, s.textured(), fog)
                                               : spanFiller32(s.mode, s.textured(), fog);

  // One half: rows [y0, y1) between the long edge (at its current values) and a short edge.
  auto half = [&](SpanValues& longEdge, const Corner& top, const Corner& bottom) {
    if (bottom.y == top.y) return;
    SpanValues shortStart, shortStep;
    setUpEdge(top, bottom, fog, shortStart, shortStep);
    int y = top.y;
    const int yEnd = std::min(bottom.y, s.height);
    SpanValues longEdgeHere = longEdge;
    if (y < 0) {
      advance(longEdgeHere, longStep, -y);
      advance(shortStart, shortStep, -y);
      y = 0;
    }
    if (y < yEnd) {
      if (longIsLeft) {
        std::int32_t rightX = shortStart.x;
        fill(s, longEdgeHere, longStep, rightX, shortStep.x, y, yEnd, perPixel);
      } else {
        std::int32_t rightX = longEdgeHere.x;
        fill(s, shortStart, shortStep, rightX, longStep.x, y, yEnd, perPixel);
      }
    }
  };
  half(longStart, k[0], k[1]);
  half(atMid, k[1], k[2]);
}

void TriangleFiller::drawLine(const Vertex& a, const Vertex& b) {
  const RasterState& s = state;
  if (a.clipFlags & b.clipFlags) return;
  const int dx = std::abs(b.work[vw::kScreenX] - a.work[vw::kScreenX]);
  const int dy = std::abs(b.work[vw::kScreenY] - a.work[vw::kScreenY]);
  const bool xMajor = dy < dx;
  // Major and minor coordinate of each end.
  auto major = [xMajor](const Vertex& v) {
    return xMajor ? v.work[vw::kScreenX] : v.work[vw::kScreenY];
  };
  auto minor = [xMajor](const Vertex& v) {
    return xMajor ? v.work[vw::kScreenY] : v.work[vw::kScreenX];
  };
  const Vertex* start = &a;
  const Vertex* end = &b;
  if (major(b) < major(a)) std::swap(start, end);
  const int steps = xMajor ? dx : dy;
  auto key = [&s](const Vertex& v) {
    return static_cast<std::int64_t>(
        depthKey(wrap32(static_cast<std::int64_t>(v.work[vw::kEyeZ]) - s.layerOffset)));
  };
  std::int32_t depthStep = 0;
  std::int32_t minorStep = 0;
  if (steps > 0) {
    depthStep = wrap32((key(*end) - key(*start)) / steps);
    minorStep = static_cast<std::int32_t>(
        (static_cast<std::int64_t>(minor(*end) - minor(*start)) << 16) / steps);
  }
  std::int32_t depth = wrap32(key(*start));
  std::int32_t m = minor(*start) * 65536;
  for (int i = major(*start), last = major(*end); i <= last; ++i) {
    const int x = xMajor ? i : (m >> 16);
    const int y = xMajor ? (m >> 16) : i;
    if (x >= 0 && x < s.width && y >= 0 && y < s.height) {
      std::uint32_t& stored = s.depth[static_cast<std::ptrdiff_t>(y) * s.depthStride + x];
      if (static_cast<std::uint32_t>(depth) < stored) {
        std::uint8_t* row = s.bits + static_cast<std::ptrdiff_t>(y) * s.stride;
        if (s.bitsPerPixel == 16)
          reinterpret_cast<std::uint16_t*>(row)[x] = static_cast<std::uint16_t>(s.flatColour);
        else
          reinterpret_cast<std::uint32_t*>(row)[x] = s.flatColour;
        stored = static_cast<std::uint32_t>(depth);
      }
    }
    depth = wrap32(static_cast<std::int64_t>(depth) + depthStep);
    m = wrap32(static_cast<std::int64_t>(m) + minorStep);
  }
}

}  // namespace engine3d
