// Template creators of the flat screen content: `SceneSprite`, `Sprite` (with its `number`
// copies) and `BitmapFont` objects of a page template.
#pragma once

#include "media/ImageCache.h"

namespace media {

// Installs the three creators in scene::TemplateFactory, replacing earlier ones.
void registerSpriteCreators();

// The cache the created sprites' and scenes' pictures are loaded through (names relative to the
// page's template folder). The pictures are shared by every page; they must be released with
// releaseSpriteImages() before the host ends, after the scenes using them are gone.
ImageCache& spriteImages();
void releaseSpriteImages();

}  // namespace media
