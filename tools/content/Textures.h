// Textures: tileable 128 x 128 surface pictures for rooms, furniture and models.
#pragma once

#include <cstdint>

#include "Picture.h"

namespace content {

inline constexpr int kTextureSize = 128;

Picture planks(uint32_t color, uint32_t seed);       // wooden floor boards
Picture tiles(uint32_t a, uint32_t b, int count);    // checker tiles with grout
Picture carpet(uint32_t color, uint32_t seed);       // soft speckled pile
Picture stripes(uint32_t a, uint32_t b, int count);  // striped wallpaper
Picture paint(uint32_t color, uint32_t seed);        // plain painted plaster
Picture concrete(uint32_t seed);                     // grey concrete with stains
Picture ceilingPanels(uint32_t color);               // suspended ceiling squares
Picture fabric(uint32_t color, uint32_t seed);       // woven upholstery
Picture wood(uint32_t color, uint32_t seed);         // grain for furniture
Picture metal(uint32_t color, uint32_t seed);        // brushed metal
Picture books(uint32_t seed);                        // shelves of coloured spines
Picture crate(uint32_t seed);                        // wooden crate with braces
Picture blackboard(uint32_t seed);                   // chalkboard with scribbles
Picture window();                                    // a framed window onto the sky
Picture screen(uint32_t seed);                       // a glowing TV or monitor
Picture gymFloor();                                  // sports hall boards with lines
Picture bedding(uint32_t color);                     // quilted bed cover
Picture door(uint32_t color);                        // a panelled door with its handle

// The mean colour of a picture (used for previews and maps).
uint32_t averageColor(const Picture& picture);

}  // namespace content
