// The program's own pixel loops on Surfaces: rectangle fills, unscaled and scaled copies with a
// colour key.
//
// Everything clips against the Surfaces involved; nothing is written outside them. A width or
// height below 0 stands for the whole Surface (fill) or the whole source (blits), starting at
// (0, 0). Colours and keys are 0x00RRGGBB; a key of kNoColorKey copies every pixel, any other
// key skips the source pixels that hold it in the Surface's own layout (so on a 16-bit Surface
// every colour that reduces to the same RGB565 value is skipped).
#pragma once

#include <cstdint>

#include "media/Surface.h"

namespace media {

// Fills the rectangle (x, y, w, h) with `color` when `solid`, otherwise draws its 1-pixel
// outline: each of the four edges that lies inside the Surface is drawn, clipped to it.
void fill(Surface& surface, uint32_t color, int x, int y, int w, int h, bool solid);

// Copies the source rectangle (srcX, srcY, srcW, srcH) unscaled to (x, y) of `dst`, clipped to
// both Surfaces. Without a key whole row spans are copied. False (nothing drawn) when the two
// Surfaces differ in depth.
bool blit(Surface& dst, const Surface& src, int x, int y, int srcX, int srcY, int srcW, int srcH,
          uint32_t key = kNoColorKey);

// Scales the source rectangle (srcX, srcY, srcW, srcH) onto the destination rectangle
// (x, y, w, h), nearest neighbour in 20.12 fixed point: destination column i reads source
// column srcX + ((i * ((srcW << 12) / w)) >> 12), and rows the same way. A destination that
// starts left of or above `dst` starts its source as far on as the clipped pixels would have
// stepped it. Source columns and rows outside `src` are not read (their destination pixels stay).
// False (nothing drawn) when the depths differ.
bool stretchBlit(Surface& dst, const Surface& src, int x, int y, int w, int h, int srcX, int srcY,
                 int srcW, int srcH, uint32_t key = kNoColorKey);

}  // namespace media
