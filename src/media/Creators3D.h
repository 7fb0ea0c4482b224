// Template creators of 3D content: `Scene3D`, `Group3D` and `Chip3D` (with `number` copies),
// `Fog`, `Light` and `LOD` objects of a page template.
#pragma once

#include "engine3d/Model3dsLoader.h"
#include "engine3d/ModelCache.h"
#include "media/ImageTexture.h"
#include "scene/CreatorTable.h"

namespace media {

// Installs the five creators in `table`, replacing earlier ones. Group models are loaded
// through `models` (files relative to the page's template folder) and chip pictures through
// `textures`; both must outlive every page built with the table.
void register3DCreators(scene::CreatorTable& table, engine3d::ModelCache& models,
                        TextureStore& textures);

// The options page models load with: map pictures through `textures` (which must outlive the
// options' users), the loader's messages as message boxes.
engine3d::ModelLoadOptions pageModelOptions(TextureStore& textures);

}  // namespace media
