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

// Interpolated values step in wrapping 32-bit arithmetic, like the filler's registers: a depth
// key near the top of its range may pass 2^31 on a slanted span that is clipped later anyway.
inline void stepWrapping(std::int32_t& value, std::int32_t delta) {
  value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                    static_cast<std::uint32_t>(delta));
}

template <class F, int Mode, bool Textured, bool Fog>
void fillHalf(const RasterState& s, SpanValues& left, const SpanValues& leftStep,
              std::int32_t& rightX, std::int32_t rightStepX, int y, int yEnd, const SpanValues& d) {
  using Pixel = typename F::Pixel;
  constexpr bool kLit = Mode >= 3;
  // Everything fixed for the triangle is copied into locals first: the depth and colour
  // stores inside the loop could otherwise alias the state and force a reload per pixel.
  const bool smooth = kLit && !s.flat;
  const std::uint32_t key = s.colourKey;
  const int w = s.transparency;
  const std::uint32_t* const texture = s.texture;
  const int textureMaskU = s.textureMaskU;
  const int textureMaskV = s.textureMaskV;
  const int textureWidth = s.textureWidth;
  const std::uint32_t* const opacityMap = s.opacity;
  const int opacityMaskU = s.opacityMaskU;
  const int opacityMaskV = s.opacityMaskV;
  const int opacityWidth = s.opacityWidth;
  const bool blendOpacity = s.blendOpacity;
  const std::uint32_t flatColour = s.flatColour;
  const std::uint32_t* const diffuseMap = s.diffuseMap;
  const std::uint32_t* const specularMap = s.specularMap;
  const int specularLevel = s.specularLevel;
  const int faceCell = s.faceCell;
  const std::uint32_t faceColour = s.faceColour;
  const bool flat = s.flat;
  const std::uint32_t selfIllumination = s.selfIllumination;
  const std::uint32_t* const reflection = s.reflection;
  const int reflectionMaskU = s.reflectionMaskU;
  const int reflectionMaskV = s.reflectionMaskV;
  const int reflectionWidth = s.reflectionWidth;
  const int faceLu = s.faceLu;
  const int faceLv = s.faceLv;
  const std::uint32_t fogColour = s.fogColour;
  const int fogFront = s.fogFront;
  const int fogBack = s.fogBack;
  const int fogScale = s.fogScale;
  const bool depthWrite = s.depthWrite;
  const int width = s.width;
  std::uint8_t* const bits = s.bits;
  const std::ptrdiff_t stride = s.stride;
  std::uint32_t* const depthBuffer = s.depth;
  const std::ptrdiff_t depthStride = s.depthStride;
  const std::int32_t dz = d.z, dfz = d.fz, du = d.u, dv = d.v, dlu = d.lu, dlv = d.lv;

  for (; y < yEnd; ++y) {
    int xs = left.x >> 16;
    const int xe = std::min(rightX >> 16, width);
    if (xe > xs && xe > 0) {
      std::int32_t z = left.z, fz = left.fz, u = left.u, v = left.v, lu = left.lu, lv = left.lv;
      if (xs < 0) {
        // The values are stepped in wrapping 32-bit arithmetic, like the filler's registers.
        const std::uint32_t n = static_cast<std::uint32_t>(-xs);
        z = static_cast<std::int32_t>(static_cast<std::uint32_t>(z) + n * dz);
        fz = static_cast<std::int32_t>(static_cast<std::uint32_t>(fz) + n * dfz);
        u = static_cast<std::int32_t>(static_cast<std::uint32_t>(u) + n * du);
        v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v) + n * dv);
        lu = static_cast<std::int32_t>(static_cast<std::uint32_t>(lu) + n * dlu);
        lv = static_cast<std::int32_t>(static_cast<std::uint32_t>(lv) + n * dlv);
        xs = 0;
      }
      Pixel* p = reinterpret_cast<Pixel*>(bits + y * stride) + xs;
      std::uint32_t* zp = depthBuffer + y * depthStride + xs;
      for (int x = xs; x < xe; ++x, ++p, ++zp) {
        const std::uint32_t depth = static_cast<std::uint32_t>(z);
        if (depth < *zp) {
          std::uint32_t opacity = 0xFFFFFFFFu;
          std::uint32_t texel = flatColour;
          bool keep = true;
          if constexpr (Textured) {
            const int iu = u >> 16;
            const int iv = v >> 16;
            if (texture)
              texel =
                  F::fromTexel(texture[(iu & textureMaskU) + (iv & textureMaskV) * textureWidth]);
            if (opacityMap) {
              opacity = F::fromTexel(
                  opacityMap[(iu & opacityMaskU) + (iv & opacityMaskV) * opacityWidth]);
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
              const int cell = smooth ? ((lv >> 18) & 63) * 64 + ((lu >> 18) & 63) : faceCell;
              const std::uint32_t lightD = diffuseMap[cell];
              if (Textured && texture)
                c = F::multiply(lightD, texel);
              else
                c = flat ? faceColour : F::multiply(flatColour, lightD);
              if constexpr (Mode == 4) {
                if (w != 0) c = F::blendDivide(c, *p, w);
                c = F::addSaturate(c, F::scale(specularMap[cell], specularLevel));
              } else if constexpr (Mode == 5) {
                if (reflection) c = 0;
                c = F::addSaturate(c, selfIllumination);
                if (w != 0) c = F::blendShift(c, *p, w);
                std::uint32_t term;
                if (reflection) {
                  const int ru = flat ? faceLu : (lu >> 16);
                  const int rv = flat ? faceLv : (lv >> 16);
                  term = F::fromTexel(reflection[(ru & reflectionMaskU) +
                                                 (rv & reflectionMaskV) * reflectionWidth]);
                } else {
                  term = F::scale(specularMap[cell], specularLevel);
                }
                c = F::addSaturate(c, term);
              }
            }
            if constexpr (Fog) {
              const int zi = fz >> 16;
              if (zi > fogBack) {
                c = fogColour;
              } else if (zi >= fogFront) {
                const int a = ((fogBack - zi) * fogScale) >> 8;
                c = F::lerp(fogColour, c, a);
              }
            }
            if constexpr (Textured) {
              if (blendOpacity && opacity != F::kWhite)
                c = F::lerp(*p, c, F::opacityWeight(opacity));
            }
            *p = static_cast<Pixel>(c & F::kMask);
            if (depthWrite) *zp = depth;
          }
        }
        stepWrapping(z, dz);
        if constexpr (Fog) stepWrapping(fz, dfz);
        if constexpr (Textured) {
          stepWrapping(u, du);
          stepWrapping(v, dv);
        }
        if constexpr (kLit) {
          stepWrapping(lu, dlu);
          stepWrapping(lv, dlv);
        }
      }
    }
    stepWrapping(left.x, leftStep.x);
    stepWrapping(left.z, leftStep.z);
    stepWrapping(left.fz, leftStep.fz);
    stepWrapping(left.u, leftStep.u);
    stepWrapping(left.v, leftStep.v);
    stepWrapping(left.lu, leftStep.lu);
    stepWrapping(left.lv, leftStep.lv);
    stepWrapping(rightX, rightStepX);
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
