// The span-filler body shared by the 32-bit and 16-bit targets, written once over a pixel
// format. Each format supplies the same few colour operations on its own pixel layout, so the
// per-pixel steps are identical and the compiler specialises every combination of shading
// mode, texturing and fog into a loop without per-pixel branches on them.
//
// Included only by SpanFiller32.cpp and SpanFiller16.cpp.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine3d/soft/RasterState.h"

namespace engine3d::soft_detail {

template <class F, int Mode, bool Textured, bool Fog>
void fillHalf(const RasterState& s, SpanValues& left, const SpanValues& leftStep,
              std::int32_t& rightX, std::int32_t rightStepX, int y, int yEnd,
              const SpanValues& d) {
  using Pixel = typename F::Pixel;
  constexpr bool kLit = Mode >= 3;
  const bool smooth = kLit && !s.flat;
  const std::uint32_t key = s.colourKey;
  const int w = s.transparency;

  for (; y < yEnd; ++y) {
    int xs = left.x >> 16;
    const int xe = std::min(rightX >> 16, s.width);
    if (xe > xs && xe > 0) {
      std::int32_t z = left.z, u = left.u, v = left.v, lu = left.lu, lv = left.lv;
      if (xs < 0) {
        // The values are stepped in wrapping 32-bit arithmetic, like the filler's registers.
        const std::uint32_t n = static_cast<std::uint32_t>(-xs);
        z = static_cast<std::int32_t>(static_cast<std::uint32_t>(z) + n * d.z);
        u = static_cast<std::int32_t>(static_cast<std::uint32_t>(u) + n * d.u);
        v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v) + n * d.v);
        lu = static_cast<std::int32_t>(static_cast<std::uint32_t>(lu) + n * d.lu);
        lv = static_cast<std::int32_t>(static_cast<std::uint32_t>(lv) + n * d.lv);
        xs = 0;
      }
      Pixel* p = reinterpret_cast<Pixel*>(s.bits + static_cast<std::ptrdiff_t>(y) * s.stride) + xs;
      std::uint32_t* zp = s.depth + static_cast<std::ptrdiff_t>(y) * s.depthStride + xs;
      for (int x = xs; x < xe; ++x, ++p, ++zp) {
        const std::uint32_t depth = static_cast<std::uint32_t>(z);
        if (depth < *zp) {
          std::uint32_t opacity = 0xFFFFFFFFu;
          std::uint32_t texel = s.flatColour;
          bool keep = true;
          if constexpr (Textured) {
            const int iu = u >> 16;
            const int iv = v >> 16;
            if (s.texture)
              texel = F::fromTexel(
                  s.texture[(iu & s.textureMaskU) + (iv & s.textureMaskV) * s.textureWidth]);
            if (s.opacity) {
              opacity = F::fromTexel(
                  s.opacity[(iu & s.opacityMaskU) + (iv & s.opacityMaskV) * s.opacityWidth]);
              keep = opacity != key;
            }
          }
          if (keep) {
            std::uint32_t c;
            if constexpr (Mode == 1) {
              c = texel;
            } else if constexpr (Mode == 2) {
              c = texel;
              if (w != 0) c = F::blendDivide(c, *p, w);
            } else {
              const int cell = smooth ? ((lv >> 18) & 63) * 64 + ((lu >> 18) & 63) : s.faceCell;
              const std::uint32_t lightD = s.diffuseMap[cell];
              if (Textured && s.texture)
                c = F::multiply(lightD, texel);
              else
                c = s.flat ? s.faceColour : F::multiply(s.flatColour, lightD);
              if constexpr (Mode == 4) {
                if (w != 0) c = F::blendDivide(c, *p, w);
                c = F::addSaturate(c, F::scale(s.specularMap[cell], s.specularLevel));
              } else if constexpr (Mode == 5) {
                if (s.reflection) c = 0;
                c = F::addSaturate(c, s.selfIllumination);
                if (w != 0) c = F::blendShift(c, *p, w);
                std::uint32_t term;
                if (s.reflection) {
                  const int ru = s.flat ? s.faceLu : (lu >> 16);
                  const int rv = s.flat ? s.faceLv : (lv >> 16);
                  term = F::fromTexel(s.reflection[(ru & s.reflectionMaskU) +
                                                   (rv & s.reflectionMaskV) * s.reflectionWidth]);
                } else {
                  term = F::scale(s.specularMap[cell], s.specularLevel);
                }
                c = F::addSaturate(c, term);
              }
            }
            if constexpr (Fog) {
              const int zi = static_cast<std::int32_t>(depth) >> 16;
              if (zi > s.fogBack) {
                c = s.fogColour;
              } else if (zi >= s.fogFront) {
                const int a = ((s.fogBack - zi) * s.fogScale) >> 8;
                c = F::lerp(s.fogColour, c, a);
              }
            }
            if constexpr (Textured) {
              if (s.blendOpacity && opacity != F::kWhite)
                c = F::lerp(*p, c, F::opacityWeight(opacity));
            }
            *p = static_cast<Pixel>(c & F::kMask);
            if (s.depthWrite) *zp = depth;
          }
        }
        z += d.z;
        if constexpr (Textured) {
          u += d.u;
          v += d.v;
        }
        if constexpr (kLit) {
          lu += d.lu;
          lv += d.lv;
        }
      }
    }
    left.x += leftStep.x;
    left.z += leftStep.z;
    left.u += leftStep.u;
    left.v += leftStep.v;
    left.lu += leftStep.lu;
    left.lv += leftStep.lv;
    rightX += rightStepX;
  }
}

// The table of fillers of one format, indexed by [mode - 1][textured][fog].
template <class F>
HalfFiller pickFiller(int mode, bool textured, bool fog) {
  static constexpr HalfFiller kTable[5][2][2] = {
      {{fillHalf<F, 1, false, false>, fillHalf<F, 1, false, true>},
       {fillHalf<F, 1, true, false>, fillHalf<F, 1, true, true>}},
      {{fillHalf<F, 2, false, false>, fillHalf<F, 2, false, true>},
       {fillHalf<F, 2, true, false>, fillHalf<F, 2, true, true>}},
      {{fillHalf<F, 3, false, false>, fillHalf<F, 3, false, true>},
       {fillHalf<F, 3, true, false>, fillHalf<F, 3, true, true>}},
      {{fillHalf<F, 4, false, false>, fillHalf<F, 4, false, true>},
       {fillHalf<F, 4, true, false>, fillHalf<F, 4, true, true>}},
      {{fillHalf<F, 5, false, false>, fillHalf<F, 5, false, true>},
       {fillHalf<F, 5, true, false>, fillHalf<F, 5, true, true>}},
  };
  const int m = std::clamp(mode, 1, 5);
  return kTable[m - 1][textured ? 1 : 0][fog ? 1 : 0];
}

}  // namespace engine3d::soft_detail
