// Texture upload and the alpha channels the OpenGL ES driver writes into pictures.
//
// Alpha counts transparency (0 opaque, 255 fully transparent), matching the driver's blend
// function (GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA) and its alpha test (alpha below one half
// passes). The routines change pixel memory in place and so leave a picture alone once it has
// been uploaded: after that the pixels GL holds are the ones that count.
#pragma once

#include <cstdint>

#include "engine3d/TexturePixels.h"

namespace engine3d {

inline constexpr std::uint32_t kNoKey = 0xFFFFFFFFu;

// Binds `pixels` as GL_TEXTURE_2D under its name and, unless it is already uploaded, uploads
// it with glTexImage2D(internalFormat, width, height, format, type) and nearest or (with
// `linearFilter`) linear filtering, then marks it uploaded. A picture that is not 32 bits per
// pixel cannot be uploaded: the user is told "OpenGL Requires 32-bit pixamap." (caption
// "Error") and the process ends with exit code 1. Null binds the default texture (name 0),
// which has no image, so drawing with it is untextured. Needs a current context.
void uploadTexture(TexturePixels* pixels, int internalFormat, int format, int type,
                   bool linearFilter);

// Deletes the GL texture of `pixels` and clears `uploaded`. Needs a current context.
void releaseTexture(TexturePixels& pixels);

// Writes alpha into 32-bit pixels; nothing for a picture already uploaded or below 32 bits.
//  - texture only: every pixel's alpha = level;
//  - opacity map only: the map becomes a luminance-alpha picture in place, 16 bits per pixel,
//    rows half the former stride apart: luminance 0, alpha 255 - (grey x (255 - level) >> 8);
//  - both (sizes and depths must be equal, else nothing is written): with key != kNoKey the
//    texture's alpha is 255 where the map's colour equals the key (in red-low order when
//    `swapRedBlue`) and 0 elsewhere; with kNoKey it is 255 - (grey x (255 - level) >> 8) of
//    the map's pixel, so white map pixels are opaque and black ones transparent.
// The target (the texture, else the map) is no longer `opaque` afterwards.
void setAlphaChannel(TexturePixels* texture, TexturePixels* opacityMap, int level,
                     std::uint32_t key, bool swapRedBlue);

// For 32-bit pictures: pixels whose colour (low 24 bits) differs from the key's get red and
// blue exchanged and alpha 0; pixels of the key colour keep their colour and get alpha 255.
void keyToAlpha(TexturePixels& surface, std::uint32_t key);

}  // namespace engine3d
