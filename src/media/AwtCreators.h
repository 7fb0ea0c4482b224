// Template creators of the native-control layer: `SceneAWT` and `AWTComponent` objects of a
// page template.
#pragma once

#include "scene/CreatorTable.h"

namespace media {

// Installs the two creators in `table`, replacing earlier ones.
void registerAwtCreators(scene::CreatorTable& table);

}  // namespace media
