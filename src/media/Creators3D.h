// Template creators of 3D content: `Scene3D`, `Group3D` and `Chip3D` (with `number` copies),
// `Fog`, `Light` and `LOD` objects of a page template.
#pragma once

#include "engine3d/ModelCache.h"

namespace media {

// Installs the five creators in scene::TemplateFactory, replacing earlier ones.
void register3DCreators();

// The cache models of page templates are loaded through (model files relative to the page's
// template folder; map pictures through the shared texture loader; the loader's messages as
// message boxes). Shared by every page; release3DContent() empties it and the shared textures,
// before the host ends and after the scenes using them are gone.
engine3d::ModelCache& pageModels();
void release3DContent();

}  // namespace media
