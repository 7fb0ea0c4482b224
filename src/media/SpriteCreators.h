// Template creators of the flat screen content: `SceneSprite`, `Sprite` (with its `number`
// copies) and `BitmapFont` objects of a page template.
#pragma once

#include "media/ImageCache.h"
#include "scene/CreatorTable.h"

namespace media {

// Installs the three creators in `table`, replacing earlier ones. The sprites' and scenes'
// pictures are loaded through `images` (names relative to the page's template folder), which
// must outlive every page built with the table.
void registerSpriteCreators(scene::CreatorTable& table, ImageCache& images);

}  // namespace media
